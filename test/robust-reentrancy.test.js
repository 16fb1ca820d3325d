'use strict';
// JavaScript that calls back into the module while a handler is converting
// its arguments or while a frame is being delivered: every handler finishes
// against an engine that stays alive until it returns, or answers -1.
const test = require('node:test');
const assert = require('node:assert/strict');
const { addon, sim, fresh, waitFor, settle, ops, startClass, callbacks } = require('./live-helpers');
const { runFixture, lastJson } = require('./helpers');

function connectedClass() {
  fresh();
  sim.setAutoConnect(false);
  startClass();
  assert.equal(addon.engineSdk_connectLivePlayEngine({ room_id: 1 }), 0);
}

// An info record whose userId getter runs `action` first.
function infoDoing(action) {
  return { type: 1, get userId() { action(); return 7; } };
}

const engineOpsAfterDelete = () => {
  const all = sim.journal();
  const del = all.findIndex((e) => e.op === 'tavel.LiveEngine.Delete');
  assert.ok(del >= 0, 'the engine was deleted');
  return all.slice(del + 1).filter((e) => e.op.startsWith('tavel.LivePlayEngine.')).map((e) => e.op);
};

test.describe('a getter leaves the room while the handler converts', () => {
  test.beforeEach(connectedClass);

  // Each export whose first argument is a record, with admissible rest.
  const calls = {
    audioStartSend: (i) => [i], audioStopSend: (i) => [i], audioStartReceive: (i) => [i, true],
    audioStartSendToGroup: (i) => [i, [1]], videoStartReceive: (i) => [i, {}], videoStopReceive: (i) => [i],
    videoStartCapture: (i) => [i, {}], videoStartCaptureHD: (i) => [i, {}], videoStopCapture: (i) => [i],
    videoStartCaptureAndSendToGroup: (i) => [i, {}, [1]], audioStartRecording: (i) => [i, {}, [1]],
    audioStopRecording: (i) => [i], startCameraAndPublish: (i) => [i, {}], subscribeVideo: (i) => [i, {}],
    unsubscribeVideo: (i) => [i], startMicAndPublish: (i) => [i, true, {}], stopMicAndUnpublish: (i) => [i, {}],
    subscribeAudio: (i) => [i, true], startGroupAudio: (i) => [i, [1], true], stopGroupAudio: (i) => [i],
    registerRemoteVadCallbackBiz: (i) => [i, {}], getRemoteVadStatusBiz: (i) => [i],
  };
  for (const [name, args] of Object.entries(calls)) {
    test(`livePlayEngine_${name} answers -1 and reaches no deleted engine`, () => {
      const result = addon[`livePlayEngine_${name}`](...args(infoDoing(() => addon.engineSdk_leaveLiveRoom())));
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
