'use strict';
// Video frames from engine sinks to the renderers' onVideoFrame: the frame
// object, Buffer reuse, the copy and update optimisations, and removal.
const test = require('node:test');
const assert = require('node:assert');
const { addon, sim, fresh, waitFor, settle, callbacks } = require('./live-helpers');

const COPY = 'enableElectronFrameCopyOptimize';
const UPDATE = 'enableElectronFrameUpdateOptimize20260407';

// A renderer object that keeps each frame as delivered: the Buffer itself
// (to compare identities) and a snapshot of its bytes at delivery.
function renderer() {
  const frames = [];
  const object = {
    onVideoFrame(frame) {
      frames.push({ frame, keys: Object.keys(frame), pixels: Buffer.from(frame.buffer) });
    },
  };
  return { object, frames };
}

function liveClass(flags = {}) {
  sim.setSourceFlags(flags);
  sim.setAutoConnect(false);
  addon.engineSdk_onAppInit(callbacks(), '5.1.0');
  assert.strictEqual(addon.engineSdk_createLivePlayEngine(callbacks()), 0);
  assert.strictEqual(addon.engineSdk_connectLivePlayEngine({ room_id: 1 }), 0);
}

// Receives user 7's track 1 (renderer id 141) into a new renderer.
function receiving(flags) {
  liveClass(flags);
  const r = renderer();
  assert.strictEqual(addon.livePlayEngine_videoStartReceive({ userId: 7, type: 1 }, r.object), 0);
  return r;
}

const SINK = 'sink:7:1';
const push = (w, h, seed, sink = SINK) => assert.ok(sim.pushFrame(sink, w, h, seed), `no sink ${sink}`);
const dropLines = () => sim.logLines().filter((l) => l.text.startsWith('frameUpdateOptimize drop frame'));

test.describe('frame objects', () => {
  test.beforeEach(fresh);

  test('a frame carries the stream, its size and its pixels', async () => {
    const { frames } = receiving();
    push(4, 2, 11);
    await waitFor(() => frames.length === 1);
    const [{ frame, keys, pixels }] = frames;
    assert.deepStrictEqual(keys, ['userId', 'videoTrackType', 'width', 'height', 'buffer']);
    assert.deepStrictEqual([frame.userId, frame.videoTrackType, frame.width, frame.height], [7, 1, 4, 2]);
    assert.ok(Buffer.isBuffer(frame.buffer));
    assert.deepStrictEqual(pixels, sim.pattern(4, 2, 11));

    // A subscribed stream names its business type instead.
    const r = renderer();
    assert.strictEqual(addon.livePlayEngine_subscribeVideo({ bizType: 3, userId: 42 }, r.object), 0);
    push(2, 2, 5, 'sink:42:3');
    await waitFor(() => r.frames.length === 1);
    assert.deepStrictEqual(r.frames[0].keys, ['userId', 'bizType', 'width', 'height', 'buffer']);
    assert.deepStrictEqual([r.frames[0].frame.userId, r.frames[0].frame.bizType], [42, 3]);
  });

  test('a stream started again while its renderer exists keeps the first object', async () => {
    const first = receiving();
    const second = renderer();
    assert.strictEqual(addon.livePlayEngine_videoStartReceive({ userId: 7, type: 1 }, second.object), 0);
    push(2, 1, 1);
    await waitFor(() => first.frames.length === 1);
    await settle();
    assert.strictEqual(second.frames.length, 0);
  });

  test('queued items of a renderer all deliver its newest frame', async () => {
    const { frames } = receiving();
    // pushFrame blocks JavaScript: all three are queued before any delivery.
    push(3, 3, 1);
    push(3, 3, 2);
    push(3, 3, 3);
    await waitFor(() => frames.length === 3);
    for (const f of frames) assert.deepStrictEqual(f.pixels, sim.pattern(3, 3, 3));
  });
});

// Both copy modes must hand JavaScript the same Buffers and the same pixels.
for (const copy of [false, true]) {
  test.describe(`Buffer reuse with the copy optimisation ${copy ? 'on' : 'off'}`, () => {
    test.beforeEach(fresh);

    test('same size: the same Buffer, rewritten; a new size: a new Buffer of width x height x 4', async () => {
      const { frames } = receiving({ [COPY]: copy });
      const sizes = [[4, 2], [4, 2], [8, 4], [8, 4], [4, 2], [4, 2]];
      for (const [i, [w, h]] of sizes.entries()) {
        push(w, h, 100 + i);
        await waitFor(() => frames.length === i + 1);
      }
      const buffers = frames.map((f) => f.frame.buffer);
      assert.strictEqual(buffers[1], buffers[0]);
      assert.notStrictEqual(buffers[2], buffers[1]);
      assert.strictEqual(buffers[3], buffers[2]);
      assert.notStrictEqual(buffers[4], buffers[3]);
      assert.strictEqual(buffers[5], buffers[4]);
      assert.deepStrictEqual(buffers.map((b) => b.length), [32, 32, 128, 128, 32, 32]);
      for (const [i, [w, h]] of sizes.entries()) assert.deepStrictEqual(frames[i].pixels, sim.pattern(w, h, 100 + i), `frame ${i}`);
    });

    test('size changes between deliveries still deliver the newest pixels', async () => {
      const { frames } = receiving({ [COPY]: copy });
      push(4, 2, 1);
      await waitFor(() => frames.length === 1);
      // A larger size twice, then back, all before JavaScript runs again.
      push(16, 8, 2);
      push(16, 8, 3);
      await waitFor(() => frames.length === 3);
      // Away and back to the size of the current Buffer.
      push(4, 2, 4);
      push(16, 8, 5);
      await waitFor(() => frames.length === 5);
      assert.deepStrictEqual(frames[1].pixels, sim.pattern(16, 8, 3));
      assert.deepStrictEqual(frames[2].pixels, sim.pattern(16, 8, 3));
      assert.deepStrictEqual(frames[3].pixels, sim.pattern(16, 8, 5));
      assert.deepStrictEqual(frames[4].pixels, sim.pattern(16, 8, 5));
    });
  });
}

test.describe('memory the engine writes into', () => {
  test.beforeEach(fresh);

  test('with the copy optimisation the Buffer lies over a SharedArrayBuffer, only a genuine one', async () => {
    const plain = receiving({});
    push(4, 2, 1);
    await waitFor(() => plain.frames.length === 1);
    assert.ok(plain.frames[0].frame.buffer.buffer instanceof ArrayBuffer);
    fresh();

    const { frames } = receiving({ [COPY]: true });
    push(4, 2, 1);
    push(4, 2, 2);
    await waitFor(() => frames.length === 2);
    push(4, 2, 3);
    await waitFor(() => frames.length === 3);
    assert.ok(frames[2].frame.buffer.buffer instanceof SharedArrayBuffer);
    assert.deepStrictEqual(frames[2].pixels, sim.pattern(4, 2, 3));

    // A replaced Buffer.from answering a Buffer over memory JavaScript may
    // transfer is not written into: the renderer falls back to copying.
    const from = Buffer.from;
    Buffer.from = (x, ...rest) => from.call(Buffer, x instanceof SharedArrayBuffer ? new ArrayBuffer(x.byteLength) : x, ...rest);
    try {
      push(8, 2, 4);
      await waitFor(() => frames.length === 4);
      push(8, 2, 5);
      await waitFor(() => frames.length === 5);
    } finally {
      Buffer.from = from;
    }
    assert.ok(frames[4].frame.buffer.buffer instanceof ArrayBuffer);
    assert.deepStrictEqual(frames[4].pixels, sim.pattern(8, 2, 5));
    const kept = structuredClone(frames[4].frame.buffer.buffer, { transfer: [frames[4].frame.buffer.buffer] });
    push(8, 2, 6);
    await waitFor(() => frames.length === 6);
    assert.deepStrictEqual(Buffer.from(kept), sim.pattern(8, 2, 5), 'the engine wrote into transferred memory');
    assert.deepStrictEqual(frames[5].pixels, sim.pattern(8, 2, 6));
  });
});

test.describe('the update optimisation', () => {
  test.beforeEach(fresh);

  test('a frame is dropped while two items of its renderer are queued; every 30th drop is logged', async () => {
    const { frames } = receiving({ [UPDATE]: true });
    push(2, 2, 1);
    push(2, 2, 2);
    push(2, 2, 3);
    const [first] = dropLines();
    assert.strictEqual(first.text, 'frameUpdateOptimize drop frame, rendererId:141 itemType:0 droppedFrameCount:0 timeDiffSec:-1');
    assert.strictEqual(first.severity, 10);
    // Drops 1 to 29 are silent, the 30th writes the next line.
    for (let seed = 4; seed < 33; seed++) push(2, 2, seed);
    assert.strictEqual(dropLines().length, 1);
    push(2, 2, 33);
    const lines = dropLines();
    assert.strictEqual(lines.length, 2);
    assert.match(lines[1].text, /^frameUpdateOptimize drop frame, rendererId:141 itemType:0 droppedFrameCount:30 timeDiffSec:\d+$/);
    await waitFor(() => frames.length === 2);
    await settle();
    assert.strictEqual(frames.length, 2);
    // Dropped frames still update the picture the queued items deliver.
    for (const f of frames) assert.deepStrictEqual(f.pixels, sim.pattern(2, 2, 33));
    // Delivered: the renderer may queue again.
    push(2, 2, 34);
    await waitFor(() => frames.length === 3);
  });

  test('renderer 0 is never subject to dropping', async () => {
    liveClass({ [UPDATE]: true });
    const r = renderer();
    assert.strictEqual(addon.livePlayEngine_videoStartReceive({ userId: 0, type: 0 }, r.object), 0);
    for (let seed = 0; seed < 5; seed++) push(2, 2, seed, 'sink:0:0');
    await waitFor(() => r.frames.length === 5);
    assert.deepStrictEqual(dropLines(), []);
  });

  test('the switches are read when the renderer is created', async () => {
    const { frames } = receiving({});
    sim.setSourceFlags({ [UPDATE]: true, [COPY]: true });
    for (let seed = 0; seed < 4; seed++) push(2, 2, seed);
    await waitFor(() => frames.length === 4);
    assert.deepStrictEqual(dropLines(), []);
  });

  test('the camera data callback is never dropped and carries no stream', async () => {
    liveClass({ [UPDATE]: true });
    const r = renderer();
    assert.strictEqual(addon.livePlayEngine_registerCameraDataCallback(r.object), 0);
    for (let seed = 0; seed < 4; seed++) push(2, 1, seed, 'sink:camera');
    await waitFor(() => r.frames.length === 4);
    assert.deepStrictEqual(dropLines(), []);
    assert.deepStrictEqual([r.frames[0].frame.userId, r.frames[0].frame.videoTrackType], [0, 0]);
    assert.deepStrictEqual(r.frames[3].pixels, sim.pattern(2, 1, 3));

    // Unregistered, its queued frames deliver nothing.
    push(2, 1, 4, 'sink:camera');
    assert.strictEqual(addon.livePlayEngine_unregisterCameraDataCallback(), 0);
    await settle();
    assert.strictEqual(r.frames.length, 4);
  });
});

test.describe('removal', () => {
  test.beforeEach(fresh);

  test('frames queued before the stream stops deliver nothing; a new renderer gets the next ones', async () => {
    const old = receiving();
    push(2, 2, 1);
    push(2, 2, 2);
    assert.strictEqual(addon.livePlayEngine_videoStopReceive({ userId: 7, type: 1 }), 0);
    await settle();
    assert.strictEqual(old.frames.length, 0);

    const next = renderer();
    assert.strictEqual(addon.livePlayEngine_videoStartReceive({ userId: 7, type: 1 }, next.object), 0);
    push(2, 2, 3);
    await waitFor(() => next.frames.length === 1);
    await settle();
    assert.strictEqual(old.frames.length, 0);
    assert.deepStrictEqual(next.frames[0].pixels, sim.pattern(2, 2, 3));
  });
});

// Without the copy optimisation JavaScript gets a private copy: a flood from
// several engine threads must never show a picture mixed from two frames.
for (const update of [false, true]) {
  test(`a flood from eight threads delivers only whole frames (update optimisation ${update ? 'on' : 'off'})`, async () => {
    fresh();
    const [w, h] = [320, 180];
    const patterns = Array.from({ length: 8 }, (_, t) => sim.pattern(w, h, t));
    liveClass({ [UPDATE]: update });
    let delivered = 0;
    let torn = 0;
    const object = {
      onVideoFrame({ buffer }) {
        delivered++;
        if (!patterns.some((p) => p.equals(buffer))) torn++;
      },
    };
    assert.strictEqual(addon.livePlayEngine_videoStartReceive({ userId: 7, type: 1 }, object), 0);
    assert.strictEqual(await sim.pushFrames(SINK, w, h, 800, 8), 800);
    await waitFor(() => delivered > 0);
    await settle();
    if (!update) assert.strictEqual(delivered, 800);
    assert.strictEqual(torn, 0, `${torn} of ${delivered} frames mixed two pictures`);
  });
}
