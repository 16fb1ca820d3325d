'use strict';
// Values that cannot be coerced, in every place the module coerces: each call
// ends with a value or with the coercion's own exception, and the module goes
// on working. A failure here used to end the process.
const test = require('node:test');
const assert = require('node:assert/strict');
const { addon, sim, fresh, ops, startClass } = require('./live-helpers');

const SENTINEL = new Error('thrown by the caller');
const revoked = Proxy.revocable({}, {});
revoked.revoke();

// Each coerces to nothing: to a number, a string, or either.
const HOSTILE = {
  symbol: () => Symbol('s'),
  bigint: () => 2n ** 64n,
  'throwing valueOf and toString': () => ({ valueOf() { throw SENTINEL; }, toString() { throw SENTINEL; } }),
  'valueOf answering a symbol': () => ({ valueOf: () => Symbol('v'), toString: () => Symbol('t') }),
  'object without a prototype': () => Object.create(null),
  'revoked proxy': () => revoked.proxy,
  'throwing getter': () => SENTINEL, // placed as a getter, not a value (below)
};

// A record whose every field the module may read is `h`.
const RECORD_KEYS = [
  'type', 'userId', 'bizType', 'groupId', 'ssrc', 'ssrcFec', 'ssrcNack', 'collect',
  'room_id', 'user_id', 'team_id', 'disable_radio', 'user_type', 'app_type', 'app_version', 'sdk_version',
  'engine_parameters', 'signature', 'network_type', 'scheduler_host', 'persistentCookie', 'sessionCookie',
  'feature', 'authExtension',
  'isTestEnvironment', 'userType', 'networkType', 'appVersion', 'appType', 'productId', 'schedulerHost', 'getUserType',
];
function record(kind) {
  const o = {};
  for (const k of RECORD_KEYS) {
    if (kind === 'throwing getter') Object.defineProperty(o, k, { get() { throw SENTINEL; }, enumerable: true });
    else o[k] = HOSTILE[kind]();
  }
  return o;
}
function list(kind) {
  if (kind !== 'throwing getter') return [1, HOSTILE[kind](), 2];
  const a = [1, 0, 2];
  Object.defineProperty(a, 1, { get() { throw SENTINEL; } });
  return a;
}
const bare = (kind) => (kind === 'throwing getter' ? record(kind) : HOSTILE[kind]());

const { describeExports, admittedArgs } = require('./exports');
const LIVE_ROWS = describeExports(addon).filter((d) => d.group === 'livePlayEngine');

function hostileCalls(kind) {
  const calls = [];
  for (const d of LIVE_ROWS) {
    calls.push([d.name, admittedArgs(d, { o: () => record(kind), c: () => record(kind), w: () => record(kind), a: () => list(kind) })]);
  }
  calls.push(['engineSdk_setUserConfig', [record(kind)]]);
  calls.push(['engineSdk_onNetworkTypeChanged', [1]]);
  calls.push(['log_setSdkVersion', [bare(kind)]]);
  calls.push(['log_addEpisodeId', [bare(kind), bare(kind)]]);
  calls.push(['engineSdk_createLocalEngine', [record(kind), 1, 'text']]);
  return calls;
}

// The only ways a call may end.
function outcome(name, args) {
  try {
    const value = addon[name](...args);
    assert.ok(['number', 'undefined', 'object', 'boolean', 'string'].includes(typeof value), `${name} answered ${typeof value}`);
    return 'value';
  } catch (err) {
    assert.ok(err === SENTINEL || err instanceof TypeError || err instanceof RangeError, `${name} threw ${err && err.stack}`);
    return err === SENTINEL ? 'sentinel' : err.constructor.name;
  }
}

// Proof that the module still works and no exception was left behind.
function stillWorks() {
  sim.clearJournal();
  assert.equal(addon.livePlayEngine_audioStartSend({ userId: 5, type: 1 }), 0);
  const [send] = ops('tavel.LivePlayEngine.AudioStartSend');
  assert.equal(send.args[0].user_id, 5);
}

test.describe('values that cannot be coerced', () => {
  test.beforeEach(() => {
    fresh();
    sim.setAutoConnect(false);
    startClass();
    assert.equal(addon.engineSdk_connectLivePlayEngine({ room_id: 1 }), 0);
  });

  for (const kind of Object.keys(HOSTILE)) {
    test(`${kind}: every call ends with a value or an exception, and the module goes on`, () => {
      const seen = new Set();
      for (const [name, args] of hostileCalls(kind)) seen.add(outcome(name, args));
      // Each kind is refused by the coercion at least once, not silently read.
      assert.ok(seen.has('TypeError') || seen.has('sentinel'), [...seen].join());
      stillWorks();
    });
  }

  test('a ticket of hostile fields connects, and a streaming config of them starts', () => {
    for (const kind of Object.keys(HOSTILE)) {
      addon.engineSdk_leaveLiveRoom();
      assert.equal(addon.engineSdk_createLivePlayEngine({}), 0);
      outcome('engineSdk_connectLivePlayEngine', [record(kind)]);
      addon.engineSdk_leaveLiveRoom();
      outcome('engineSdk_createStreamingEngine', [record(kind), {}, 'params']);
      addon.engineSdk_destroyStreamingEngine();
    }
    assert.equal(addon.engineSdk_createLivePlayEngine({}), 0);
    assert.equal(addon.engineSdk_connectLivePlayEngine({ room_id: 1 }), 0);
    stillWorks();
  });
});

test.describe('lists', () => {
  test.beforeEach(() => {
    fresh();
    sim.setAutoConnect(false);
    startClass();
  });

  test('a list longer than 2^20 elements is refused with a RangeError before anything is read', () => {
    const huge = [];
    huge.length = 2 ** 32 - 1;
    Object.defineProperty(huge, 0, { get() { throw SENTINEL; } });
    assert.throws(() => addon.livePlayEngine_audioStartSendToGroup({ userId: 1 }, huge), RangeError);
    const [send] = ops('tavel.LivePlayEngine.AudioStartSendToGroup');
    assert.deepEqual(send.args[1], []);
  });

  test('100,000 elements, holes and a throwing element are read up to the first failure', () => {
    const many = Array.from({ length: 100000 }, (_, i) => i);
    assert.equal(addon.livePlayEngine_audioStartSendToGroup({ userId: 1 }, many), 0);
    const sparse = [1, , 3]; // eslint-disable-line no-sparse-arrays
    assert.equal(addon.livePlayEngine_audioStartSendToGroup({ userId: 1 }, sparse), 0);
    const failing = [4, 5, 6];
    Object.defineProperty(failing, 1, { get() { throw SENTINEL; } });
    assert.throws(() => addon.livePlayEngine_audioStartSendToGroup({ userId: 1 }, failing), (e) => e === SENTINEL);
    const lists = ops('tavel.LivePlayEngine.AudioStartSendToGroup').map((e) => e.args[1]);
    assert.equal(lists[0].length, 100000);
    assert.equal(lists[0][99999], 99999);
    assert.deepEqual(lists.slice(1), [[1, 0, 3], [4]]);
  });
});
