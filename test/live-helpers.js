'use strict';
// Shared set-up of the live class tests: a fresh simulation and no engine.
const addon = require('..');
const sim = require('../sim');

function destroyAll() {
  addon.engineSdk_leaveLiveRoom();
  addon.engineSdk_destroyLiveReplayEngine();
  addon.engineSdk_destroyLocalEngine();
  addon.engineSdk_destroyReplayEngine();
  addon.engineSdk_destroyStreamingEngine();
}

function fresh() {
  destroyAll();
  sim.reset();
}

// Waits (keeping the loop alive) until predicate() holds.
async function waitFor(predicate, ms = 3000) {
  const end = Date.now() + ms;
  while (!predicate()) {
    if (Date.now() > end) throw new Error('timed out waiting');
    await new Promise((r) => setTimeout(r, 5));
  }
}

// Lets every item already queued be delivered.
const settle = () => new Promise((r) => setTimeout(r, 30));

const ops = (prefix) => sim.journal().filter((e) => e.op.startsWith(prefix));

// A callbacks object that answers every on... method it does not define with
// a no-op, as an app that implements all of them would.
function callbacks(methods = {}) {
  return new Proxy(methods, {
    get: (target, key) => (key in target ? target[key] : typeof key === 'string' && /^[oO]n[A-Z]/.test(key) ? () => {} : undefined),
  });
}

function startClass(methods = {}) {
  addon.engineSdk_onAppInit(callbacks(), '5.1.0');
  addon.engineSdk_setUserConfig({ isTestEnvironment: false, userType: 1, appVersion: '1.0', schedulerHost: 'sched' });
  if (addon.engineSdk_createLivePlayEngine(callbacks(methods)) !== 0) throw new Error('create failed');
}

module.exports = { addon, sim, fresh, destroyAll, waitFor, settle, ops, startClass, callbacks };
