'use strict';
// Renderer lifetimes when streams share a renderer id (user id x 20 + type
// collides: user 0 track 20 and user 1 track 0 are both renderer 20). The
// engine may still hold the shared renderer for one stream after the other
// stopped; it must stay allocated until the engine is gone. The faults these
// tests catch are uses after free: they fail under AddressSanitizer.
const test = require('node:test');
const assert = require('node:assert/strict');
const v8 = require('node:v8');
const vm = require('node:vm');
const { addon, sim, fresh, waitFor, settle, startClass } = require('./live-helpers');

v8.setFlagsFromString('--expose-gc');
const gc = vm.runInNewContext('gc');

function connectedClass() {
  fresh();
  sim.setAutoConnect(false);
  startClass();
  assert.equal(addon.engineSdk_connectLivePlayEngine({ room_id: 1 }), 0);
}

test.describe('streams that share a renderer id', () => {
  test.beforeEach(connectedClass);

  test('stopping one stream leaves the renderer the engine holds for the other', async () => {
    assert.equal(addon.livePlayEngine_videoStartReceive({ userId: 0, type: 20 }, { onVideoFrame() {} }), 0);
    assert.equal(addon.livePlayEngine_videoStartReceive({ userId: 1, type: 0 }, { onVideoFrame() {} }), 0);
    assert.equal(addon.livePlayEngine_videoStopReceive({ userId: 1, type: 0 }), 0);
    await settle();
    // The engine still calls the other stream's sink.
    for (let seed = 0; seed < 5; seed++) assert.equal(sim.pushFrame('sink:0:20', 4, 2, seed), true);
    assert.equal(addon.engineSdk_leaveLiveRoom(), 0);
  });

  test('a subscription and a received track of the same numbers', async () => {
    assert.equal(addon.livePlayEngine_videoStartReceive({ userId: 3, type: 2 }, { onVideoFrame() {} }), 0);
    assert.equal(addon.livePlayEngine_subscribeVideo({ userId: 0, bizType: 62 }, { onVideoFrame() {} }), 0);
    assert.equal(addon.livePlayEngine_unsubscribeVideo({ userId: 0, bizType: 62 }), 0);
    await settle();
    assert.equal(sim.pushFrame('sink:3:2', 4, 2, 1), true);
    assert.equal(sim.pushFrame('sink:0:62', 4, 2, 1), false);
  });

  test('the capture and a received track of the local user', async () => {
    assert.equal(addon.livePlayEngine_videoStartCapture({ type: 1 }, { onVideoFrame() {} }), 0);
    assert.equal(addon.livePlayEngine_videoStartReceive({ userId: 256, type: 1 }, { onVideoFrame() {} }), 0);
    assert.equal(addon.livePlayEngine_videoStopReceive({ userId: 256, type: 1 }), 0);
    await settle();
    assert.equal(sim.pushFrame('sink:local:1', 4, 2, 1), true);
  });

  test('a stopped renderer lets go of its JavaScript object even while the engine keeps it', async () => {
    let collected = false;
    const registry = new FinalizationRegistry(() => { collected = true; });
    (() => {
      const object = { onVideoFrame() {} };
      registry.register(object, 'renderer');
      assert.equal(addon.livePlayEngine_videoStartReceive({ userId: 0, type: 20 }, object), 0);
      assert.equal(addon.livePlayEngine_videoStartReceive({ userId: 1, type: 0 }, object), 0);
    })();
    assert.equal(addon.livePlayEngine_videoStopReceive({ userId: 1, type: 0 }), 0);
    await waitFor(() => {
      gc();
      return collected;
    }, 5000);
    assert.equal(sim.pushFrame('sink:0:20', 4, 2, 1), true);
  });
});
