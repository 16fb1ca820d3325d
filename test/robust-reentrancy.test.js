'use strict';
// JavaScript that calls back into the module while a handler is converting
// its arguments or while a frame is being delivered: every handler finishes
// against an engine that stays alive until it returns, or answers -1.
const test = require('node:test');
const assert = require('node:assert/strict');
const { addon, sim, fresh, waitFor, settle, ops, startClass, callbacks } = require('./live-helpers');
const { runFixture, lastJson } = require('./helpers');
const { describeExports, admittedArgs } = require('./exports');

function connectedClass() {
  fresh();
  sim.setAutoConnect(false);
  startClass();
  assert.equal(addon.engineSdk_connectLivePlayEngine({ room_id: 1 }), 0);
}

// An info record whose userId getter runs `action` first; the configs of
// the live class features read it through their first key.
function infoDoing(action) {
  const doing = (value) => () => { action(); return value; };
  return Object.defineProperties({ type: 1 }, {
    userId: { get: doing(7), enumerable: true },
    modelPath: { get: doing('/m'), enumerable: true },
    enableDetect: { get: doing(true), enumerable: true },
    rootPathDir: { get: doing('/rec'), enumerable: true },
  });
}

const engineOpsAfterDelete = () => {
  const all = sim.journal();
  const del = all.findIndex((e) => e.op === 'tavel.LiveEngine.Delete');
  assert.ok(del >= 0, 'the engine was deleted');
  return all.slice(del + 1).filter((e) => e.op.startsWith('tavel.LivePlayEngine.')).map((e) => e.op);
};

test.describe('a getter leaves the room while the handler converts', () => {
  test.beforeEach(connectedClass);

  // Each export whose first argument is a record it reads, with admissible rest.
  const rows = describeExports(addon).filter((d) => d.group === 'livePlayEngine' && d.types[0] === 'o');
  for (const d of rows) {
    test(`${d.name} answers -1 and reaches no deleted engine`, () => {
      const info = infoDoing(() => addon.engineSdk_leaveLiveRoom());
      const result = addon[d.name](...admittedArgs(d, { o: (i) => (i === 0 ? info : {}) }));
      assert.equal(result, -1);
      assert.deepEqual(engineOpsAfterDelete(), []);
    });
  }

  test('connecting: a ticket getter that leaves makes the connect answer -1', () => {
    for (const exportName of ['engineSdk_connectLivePlayEngine', 'engineSdk_connectLivePlayEngineAndConfigDevice']) {
      addon.engineSdk_leaveLiveRoom();
      assert.equal(addon.engineSdk_createLivePlayEngine(callbacks()), 0);
      sim.clearJournal();
      const ticket = { get room_id() { addon.engineSdk_leaveLiveRoom(); return 1; } };
      const args = exportName.endsWith('Device') ? [ticket, 'path', {}] : [ticket];
      assert.equal(addon[exportName](...args), -1, exportName);
      assert.deepEqual(engineOpsAfterDelete(), []);
      sim.waitIdle();
      assert.equal(sim.objects().commandClients ?? 0, 0);
    }
  });

  test('connecting: a ticket getter that connects first leaves one connection, not two', () => {
    addon.engineSdk_leaveLiveRoom();
    assert.equal(addon.engineSdk_createLivePlayEngine(callbacks()), 0);
    sim.clearJournal();
    let inner;
    const ticket = { room_id: 2, get user_id() { inner ??= addon.engineSdk_connectLivePlayEngine({ room_id: 3 }); return 9; } };
    assert.equal(addon.engineSdk_connectLivePlayEngine(ticket), -1);
    assert.equal(inner, 0);
    assert.equal(sim.objects().commandClients, 1);
    assert.deepEqual(ops('tavel.LivePlayEngine.SetRoomId').map((e) => e.args[0]), [3]);
    assert.equal(addon.engineSdk_leaveLiveRoom(), 0);
    assert.equal(sim.objects().commandClients ?? 0, 0);
  });

  test('a streaming config getter that destroys or creates engines', () => {
    addon.engineSdk_leaveLiveRoom();
    const destroying = { get room_id() { addon.engineSdk_destroyStreamingEngine(); return 1; } };
    assert.equal(addon.engineSdk_createStreamingEngine(destroying, {}, 'p'), 0);
    assert.equal(addon.engineSdk_currentEngineType(), 4);
    assert.equal(addon.engineSdk_destroyStreamingEngine(), 0);

    const creating = { get room_id() { addon.engineSdk_createLivePlayEngine({}); return 1; } };
    assert.equal(addon.engineSdk_createStreamingEngine(creating, {}, 'p'), -1);
    assert.equal(addon.engineSdk_currentEngineType(), 0);
  });
});

test.describe('a second onAppInit while engines use the live client', () => {
  test.beforeEach(connectedClass);

  test('the old client lives until the last engine that used it is gone', () => {
    const before = sim.objects();
    addon.engineSdk_onAppInit(callbacks(), '5.2.0');
    assert.equal(sim.objects().liveClients, before.liveClients + 1);
    assert.equal(addon.livePlayEngine_audioStartSend({ userId: 1 }), 0);
    assert.equal(addon.engineSdk_leaveLiveRoom(), 0);
    assert.deepEqual(ops('lumen.LiveClient.DestroyCommandClient').length, 1);
    assert.equal(sim.objects().liveClients, before.liveClients);
    assert.equal(sim.objects().commandClients ?? 0, 0);
  });

  test('while engine threads report analytics through the handler it replaces', async () => {
    const flood = sim.fireMany('TallyHandler.OnTallyEvent', ['sdk/event/fuzz', true], 200000, 4);
    for (let i = 0; i < 200; i++) addon.engineSdk_onAppInit(callbacks(), `5.${i}`);
    await flood;
    assert.ok(sim.tally().some((e) => e.url === 'sdk/event/fuzz'));
  });

  test('from a ticket getter during connect', () => {
    addon.engineSdk_leaveLiveRoom();
    assert.equal(addon.engineSdk_createLivePlayEngine(callbacks()), 0);
    const ticket = { get room_id() { addon.engineSdk_onAppInit(callbacks(), '5.3.0'); return 1; } };
    assert.equal(addon.engineSdk_connectLivePlayEngine(ticket), 0);
    assert.equal(addon.engineSdk_leaveLiveRoom(), 0);
    assert.equal(sim.objects().commandClients ?? 0, 0);
    assert.equal(sim.objects().liveClients, 1);
  });
});

test.describe('calls from inside onVideoFrame', () => {
  const receive = (object) => assert.equal(addon.livePlayEngine_videoStartReceive({ userId: 7, type: 1 }, object), 0);
  const push = (seed, w = 4, h = 2) => sim.pushFrame('sink:7:1', w, h, seed);

  test.beforeEach(connectedClass);

  test('releasing the renderer: its queued frames deliver nothing more', async () => {
    const widths = [];
    receive({ onVideoFrame: (f) => { widths.push(f.width); addon.livePlayEngine_videoStopReceive({ userId: 7, type: 1 }); } });
    push(1);
    push(2);
    push(3);
    await waitFor(() => widths.length > 0);
    await settle();
    assert.deepEqual(widths, [4]);
    assert.equal(push(4), false);
  });

  test('leaving the room', async () => {
    let calls = 0;
    receive({ onVideoFrame: () => { calls++; assert.equal(addon.engineSdk_leaveLiveRoom(), 0); } });
    push(1);
    push(2);
    await waitFor(() => calls > 0);
    await settle();
    assert.equal(calls, 1);
    assert.equal(sim.objects().roots ?? 0, 0);
  });

  test('starting the same stream again with another object, then frames of another size', async () => {
    const second = [];
    let first = 0;
    const other = { onVideoFrame: (f) => second.push(f.buffer.length) };
    receive({ onVideoFrame: () => { first++; addon.livePlayEngine_videoStopReceive({ userId: 7, type: 1 }); receive(other); } });
    push(1);
    await waitFor(() => first === 1);
    push(2, 8, 4);
    await waitFor(() => second.length === 1);
    assert.deepEqual(second, [128]);
  });
});

// The pixel Buffer belongs to JavaScript once delivered: transferring its
// ArrayBuffer elsewhere must neither crash the next delivery nor let the
// engine write into memory JavaScript now owns. With the copy optimisation
// the engine writes into the Buffer itself, whose memory is then a
// SharedArrayBuffer: a transfer is refused instead.
for (const copy of [false, true]) {
  test(`a renderer whose Buffer was transferred away (copy optimisation ${copy ? 'on' : 'off'})`, async () => {
    connectedClass();
    sim.setSourceFlags({ enableElectronFrameCopyOptimize: copy });
    const frames = [];
    let kept = null;
    let refused = null;
    assert.equal(addon.livePlayEngine_videoStartReceive({ userId: 7, type: 1 }, {
      onVideoFrame(f) {
        frames.push({ length: f.buffer.length, pixels: Buffer.from(f.buffer) });
        if (kept) return;
        try {
          kept = structuredClone(f.buffer.buffer, { transfer: [f.buffer.buffer] });
        } catch (err) {
          refused = err;
          kept = Buffer.from(f.buffer);
        }
      },
    }), 0);
    sim.pushFrame('sink:7:1', 4, 2, 1);
    await waitFor(() => frames.length === 1);
    const snapshot = Buffer.from(kept);
    for (const seed of [2, 3]) {
      sim.pushFrame('sink:7:1', 4, 2, seed);
      await waitFor(() => frames.length === seed);
    }
    assert.deepEqual(Buffer.from(kept), snapshot, 'the engine wrote into the transferred memory');
    assert.equal(refused instanceof Error, copy, `transfer ${refused ? 'refused' : 'allowed'}`);
    assert.deepEqual(frames.map((f) => f.length), [32, 32, 32]);
    assert.deepEqual(frames[2].pixels, sim.pattern(4, 2, 3));
  });
}

test('a setter on Object.prototype that re-enters while a frame object is built', async () => {
  const run = await runFixture('robust-frame-setter.js', [], 30000);
  assert.equal(run.signal, null, `killed by ${run.signal} (a hang ends in SIGKILL)\n${run.stderr}`);
  assert.equal(run.code, 0, run.stderr);
  assert.deepEqual(lastJson(run.stdout), { inSetter: 1, frames: [4] });
});

test('a typed array detached by a later getter was already copied; one detached before reads as empty', () => {
  fresh();
  startClass();
  const feature = new Uint8Array([1, 2, 3]);
  const detached = new Uint8Array(new ArrayBuffer(8), 2, 4);
  structuredClone(detached.buffer, { transfer: [detached.buffer] });
  const ticket = {
    room_id: 1,
    feature,
    get authExtension() { structuredClone(feature.buffer, { transfer: [feature.buffer] }); return detached; },
  };
  assert.equal(addon.engineSdk_connectLivePlayEngine(ticket), 0);
  assert.equal(feature.length, 0, 'detached meanwhile');
  const [create] = ops('lumen.LiveClient.CreateCommandClient');
  assert.deepEqual([create.args[0].features, create.args[0].auth_extension], [[1, 2, 3], []]);
});

test.describe('log executors whose deliveries write lines', () => {
  const run = async (mode) => {
    const r = await runFixture('robust-log-feedback.js', [mode], 20000);
    assert.equal(r.signal, null, `killed by ${r.signal} (a hang ends in SIGKILL)\n${r.stderr}`);
    assert.equal(r.code, 0, r.stderr);
    return lastJson(r.stdout);
  };

  test('lines the log methods write reach no executor', async () => {
    const records = ['record #0:0', 'record #0:1', 'record #0:2'];
    assert.deepEqual(await run('relog'), { uncaught: 0, got: { a: records, b: records } });
  });

  test("nor do lines the SDK executor's onLogMessage and a log executor write", async () => {
    const records = ['record #0:0', 'record #0:1', 'record #0:2'];
    assert.deepEqual(await run('mixed'), { uncaught: 0, got: { a: records, b: records } });
  });

  test('failure lines of two executors whose lookups throw', async () => {
    assert.deepEqual(await run('trap'), { uncaught: 6, got: { a: [], b: [] } });
  });
});
