'use strict';
// Shared by the measurement processes: the add-on, the control module, the
// bench-only add-on, and a live class set up as the app sets one up.
const path = require('path');
const { buildDir, addonPath } = require('../scripts/binary');

const sim = require('../sim');
const bench = require(path.join(buildDir(), 'lumen_engine_bench.node'));

const COPY = 'enableElectronFrameCopyOptimize';
const UPDATE = 'enableElectronFrameUpdateOptimize20260407';

let addon = null;
// Loaded only by measurements of the add-on: the typical add-on's runs do not
// carry it in their process.
function loadAddon() {
  if (!addon) addon = require('..');
  return addon;
}

// Switches are read when a renderer is created: set them first.
function liveClass(flags = {}, callbacks = {}) {
  const a = loadAddon();
  sim.setSourceFlags({ [COPY]: false, [UPDATE]: false, ...flags });
  sim.setAutoConnect(false);
  a.engineSdk_onAppInit({}, '5.1.0');
  if (a.engineSdk_createLivePlayEngine(callbacks) !== 0) throw new Error('createLivePlayEngine failed');
  if (a.engineSdk_connectLivePlayEngine({ room_id: 1 }) !== 0) throw new Error('connectLivePlayEngine failed');
  return a;
}

// Renderer i shows user i + 1's camera (track type 1).
const sinkName = (i) => `sink:${i + 1}:1`;
const rendererId = (i) => (i + 1) * 20 + 1;

const now = () => Number(process.hrtime.bigint()) / 1e6; // ms
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

function emit(result) {
  process.stdout.write(`RESULT ${JSON.stringify(result)}\n`);
}

module.exports = { sim, bench, addonPath, loadAddon, liveClass, sinkName, rendererId, now, sleep, emit, COPY, UPDATE };
