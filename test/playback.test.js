'use strict';
// The classic playback groups through the stand-in: packets and their bytes,
// the replay renderers and their stop order, media players and their
// renderers, streaming prepare and events, pushed audio.
const test = require('node:test');
const assert = require('node:assert');
const v8 = require('v8');
const vm = require('vm');
const path = require('path');
const { execFileSync } = require('child_process');
const { addon, sim, fresh, waitFor, settle, callbacks } = require('./live-helpers');
const { videoPacket, checksum } = require('../demo/replay_packets');

v8.setFlagsFromString('--expose-gc');
const gc = vm.runInNewContext('gc');

const op = (name) => sim.journal().filter((e) => e.op === name);
const bytesOf = (view) => Buffer.from(view.buffer, view.byteOffset, view.byteLength);
const errors = (text) => sim.logLines().filter((l) => l.tag === 'EngineAddon' && l.text === text && l.severity === 12);

function renderer() {
  const frames = [];
  return { frames, object: { onVideoFrame: (f) => frames.push({ ...f, pixels: Buffer.from(f.buffer) }) } };
}

// Whether `make()`'s object can be collected once `after` ran: the add-on
// keeps no reference to it then.
async function collectable(make) {
  let collected = false;
  const registry = new FinalizationRegistry(() => { collected = true; });
  (() => registry.register(make(), 'object'))();
  for (let i = 0; i < 20 && !collected; i++) {
    gc();
    await settle();
  }
  return collected;
}

function replaying() {
  fresh();
  assert.strictEqual(addon.engineSdk_createReplayEngine(callbacks(), '/tmp/recorded'), 0);
  sim.clearJournal();
}

test('replayEngine_receivePacket', async (t) => {
  t.beforeEach(replaying);

  await t.test('passes exactly the bytes a view covers, whatever its element size and offset', () => {
    const backing = new ArrayBuffer(64);
    new Uint8Array(backing).forEach((_, i, a) => { a[i] = i * 7 + 3; });
    const views = [new Uint16Array(backing, 6, 5), new Float64Array(backing, 16, 3), new Uint8Array(backing, 63, 1),
      Buffer.from(backing, 5, 9)];
    for (const view of views) {
      assert.strictEqual(addon.replayEngine_receivePacket(view, { isAudio: 1, isRtp: 'yes' }), 0);
    }
    assert.deepStrictEqual(op('tavel.ReplayEngine.ReceivePacket').map((e) => e.args),
      views.map((v) => [{ size: v.byteLength, checksum: checksum(bytesOf(v)) }, { is_audio: true, is_rtp: true }]));
  });

  await t.test('each flag comes from its own key; false, 0, \'\', null and NaN reach the engine as false', () => {
    const cases = [
      [{ isAudio: true, isRtp: false }, { is_audio: true, is_rtp: false }],
      [{ isAudio: false, isRtp: true }, { is_audio: false, is_rtp: true }],
      ...[false, 0, '', null, NaN].map((falsy) => [{ isAudio: 1, isRtp: falsy }, { is_audio: true, is_rtp: false }]),
      ...[false, 0, '', null, NaN].map((falsy) => [{ isAudio: falsy, isRtp: 'x' }, { is_audio: false, is_rtp: true }]),
    ];
    for (const [info] of cases) assert.strictEqual(addon.replayEngine_receivePacket(new Uint8Array(1), info), 0);
    assert.deepStrictEqual(op('tavel.ReplayEngine.ReceivePacket').map((e) => e.args[1]), cases.map(([, flags]) => flags));
  });

  await t.test('an empty view and an empty record: an empty range, both flags false', () => {
    assert.strictEqual(addon.replayEngine_receivePacket(new Int32Array(0), {}), 0);
    assert.deepStrictEqual(op('tavel.ReplayEngine.ReceivePacket')[0].args,
      [{ size: 0, checksum: checksum([]) }, { is_audio: false, is_rtp: false }]);
  });

  await t.test('a number as packetInfo is refused before the engine', () => {
    assert.throws(() => addon.replayEngine_receivePacket(new Uint8Array(4), 5),
      { message: 'Expected 2 arguments: array, packetInfo' });
    assert.strictEqual(op('tavel.ReplayEngine.ReceivePacket').length, 0);
  });

  await t.test('the engine answer is passed through; setStreamInfo passes its bytes the same way', () => {
    sim.script('tavel.ReplayEngine.ReceivePacket', -12);
    assert.strictEqual(addon.replayEngine_receivePacket(new Uint8Array(3), {}), -12);
    const info = new Uint32Array([1, 2, 3]).subarray(1);
    assert.strictEqual(addon.replayEngine_setStreamInfo(info), 0);
    assert.deepStrictEqual(op('tavel.ReplayEngine.SetStreamInfo')[0].args,
      [{ size: 8, checksum: checksum(bytesOf(info)) }]);
  });
});

test('replayEngine_setPlaySpeed', async (t) => {
  t.beforeEach(replaying);

  await t.test('refuses what is not a number with -1, quietly and without an engine call', () => {
    assert.strictEqual(addon.replayEngine_setPlaySpeed(), -1);
    assert.strictEqual(addon.replayEngine_setPlaySpeed('2'), -1);
    assert.strictEqual(addon.replayEngine_setPlaySpeed({ valueOf: () => 2 }), -1);
    assert.strictEqual(op('tavel.ReplayEngine.SetPlaySpeed').length, 0);
  });

  await t.test('passes the speed as a 32-bit float', () => {
    assert.strictEqual(addon.replayEngine_setPlaySpeed(1.5), 0);
    assert.strictEqual(addon.replayEngine_setPlaySpeed(0.1), 0);
    assert.deepStrictEqual(op('tavel.ReplayEngine.SetPlaySpeed').map((e) => e.args[0]), [1.5, Math.fround(0.1)]);
  });
});

test('replay without an engine', async (t) => {
  t.beforeEach(() => fresh());

  await t.test('every export that reaches the engine answers -1 with the line, none throws', () => {
    assert.strictEqual(addon.replayEngine_play(), -1);
    assert.strictEqual(addon.replayEngine_audioStartPlay(3), -1);
    assert.strictEqual(errors('Replay engine is not created yet.').length, 2);
  });

  await t.test("a video start registers and enables the renderer; a stop without engine leaves it", async () => {
    const kept = renderer();
    assert.strictEqual(addon.replayEngine_videoStartPlay(3, 1, kept.object), -1);
    assert.strictEqual(addon.replayEngine_videoStopPlay(3, 1), -1);
    assert.strictEqual(addon.engineSdk_createReplayEngine(callbacks(), '/tmp/r'), 0);
    const later = renderer();
    assert.strictEqual(addon.replayEngine_videoStartPlay(3, 1, later.object), 0);
    assert.ok(sim.pushFrame('sink:3:1:replay', 4, 2, 1));
    await waitFor(() => kept.frames.length === 1, 5000, 'a frame for the renderer registered first');
    assert.strictEqual(later.frames.length, 0);
  });

  await t.test('the live replay engine is driven through its own replay interface', () => {
    assert.strictEqual(addon.engineSdk_createLiveReplayEngine(callbacks(), '/tmp/r', callbacks(), ''), 0);
    sim.clearJournal();
    assert.strictEqual(addon.replayEngine_pause(), 0);
    assert.deepStrictEqual(sim.journal().map((e) => e.op), ['tavel.ReplayEngine.Pause']);
  });
});

test('replay video', async (t) => {
  t.beforeEach(replaying);
  const W = 8, H = 4;
  const pixels = (seed) => Uint8Array.from({ length: W * H * 4 }, (_, i) => (i * 31 + seed) & 0xff);

  await t.test('replayed frames reach the renderer while played, and stop with the stop', async () => {
    const r = renderer();
    assert.strictEqual(addon.replayEngine_videoStartPlay(5, 2, r.object), 0);
    addon.replayEngine_receivePacket(videoPacket(5, 2, W, H, 0, pixels(1)), {});
    await settle();
    assert.strictEqual(r.frames.length, 0, 'nothing before play');
    assert.strictEqual(addon.replayEngine_play(), 0);
    addon.replayEngine_receivePacket(videoPacket(5, 2, W, H, 1, pixels(2)), { isAudio: false });
    await waitFor(() => r.frames.length === 1, 5000, 'the replayed frame');
    const f = r.frames[0];
    assert.deepStrictEqual([f.userId, f.videoTrackType, f.width, f.height], [5, 2, W, H]);
    assert.deepStrictEqual(f.pixels, Buffer.from(pixels(2)));
    addon.replayEngine_receivePacket(videoPacket(5, 2, W, H, 2, pixels(3)), { isAudio: true });
    addon.replayEngine_receivePacket(videoPacket(6, 2, W, H, 2, pixels(3)), {});
    assert.strictEqual(addon.replayEngine_videoStopPlay(5, 2), 0);
    addon.replayEngine_receivePacket(videoPacket(5, 2, W, H, 3, pixels(4)), {});
    sim.waitIdle();
    await settle();
    assert.strictEqual(r.frames.length, 1, 'audio, other users and packets after the stop make no frame');
  });

  await t.test('renderer ids are user id x 20 + type: colliding streams share the first renderer', async () => {
    const first = renderer();
    const second = renderer();
    const biz = renderer();
    assert.strictEqual(addon.replayEngine_videoStartPlay(1, 0, first.object), 0);
    assert.strictEqual(addon.replayEngine_videoStartPlay(0, 20, second.object), 0);
    assert.strictEqual(addon.replayEngine_videoStartPlayBiz({ userId: 0, bizType: 20 }, biz.object), 0);
    assert.ok(sim.pushFrame('sink:0:20:replay', 2, 2, 9));
    await waitFor(() => first.frames.length === 1, 5000, 'the shared renderer');
    assert.deepStrictEqual([first.frames[0].userId, first.frames[0].videoTrackType], [1, 0]);
    assert.strictEqual(second.frames.length + biz.frames.length, 0);
  });

  await t.test('a stop calls the engine, then removes the renderer; the engine may still feed it', async () => {
    const r = renderer();
    addon.replayEngine_videoStartPlay(1, 0, r.object);
    addon.replayEngine_videoStartPlay(0, 20, renderer().object);
    sim.script('tavel.ReplayEngine.VideoStopPlay', -9);
    assert.strictEqual(addon.replayEngine_videoStopPlay(1, 0), -9, "the engine's answer");
    assert.deepStrictEqual(op('tavel.ReplayEngine.VideoStopPlay').map((e) => e.args), [[1, 0]]);
    // Still held by the engine for the other stream: ignored, and alive until the engine goes.
    for (let i = 0; i < 5; i++) assert.ok(sim.pushFrame('sink:0:20:replay', 2, 2, i));
    await settle();
    assert.strictEqual(r.frames.length, 0);
    const again = renderer();
    assert.strictEqual(addon.replayEngine_videoStartPlay(1, 0, again.object), 0);
    assert.ok(sim.pushFrame('sink:1:0:replay', 2, 2, 1));
    await waitFor(() => again.frames.length === 1, 5000, 'a new renderer for the id');
    assert.strictEqual(addon.engineSdk_destroyReplayEngine(), 0);
    assert.ok(!sim.pushFrame('sink:0:20:replay', 2, 2, 1), 'the engine let go of its sinks');
  });

  await t.test('a stop by business type removes that renderer', async () => {
    const r = renderer();
    assert.strictEqual(addon.replayEngine_videoStartPlayBiz({ userId: 4, bizType: 3 }, r.object), 0);
    assert.ok(sim.pushFrame('sink:4:3:replay', 2, 2, 1));
    await waitFor(() => r.frames.length === 1, 5000, 'a biz frame');
    assert.strictEqual(r.frames[0].bizType, 3);
    assert.strictEqual(addon.replayEngine_videoStopPlayBiz({ userId: 4, bizType: 3 }), 0);
    assert.deepStrictEqual(op('tavel.ReplayEngine.VideoStopPlayBiz')[0].args[0],
      { biz_type: 3, user_id: 4, group_id: 0, collect: false });
    assert.ok(!sim.pushFrame('sink:4:3:replay', 2, 2, 2));
  });

  await t.test('audio start by user passes true; the voice adjust forms pass their numbers', () => {
    addon.replayEngine_audioStartPlay(12.9);
    addon.replayEngine_setReplayVoiceAdjustParameters(2 ** 32 + 5, -3);
    addon.replayEngine_setReplayVoiceAdjustParametersBiz({ bizType: 1, userId: 2 }, 7);
    assert.deepStrictEqual(op('tavel.ReplayEngine.AudioStartPlay')[0].args, [12, true]);
    assert.deepStrictEqual(op('tavel.ReplayEngine.SetVoiceAdjustParameters')[0].args, [5, -3]);
    assert.deepStrictEqual(op('tavel.ReplayEngine.SetVoiceAdjustParametersBiz')[0].args[1], 7);
  });
});

test('media players', async (t) => {
  t.beforeEach(() => {
    fresh();
    assert.strictEqual(addon.engineSdk_createLivePlayEngine(callbacks()), 0);
  });

  await t.test('need a registered callback object; a second registration answers -1', () => {
    assert.strictEqual(addon.mediaPlayerEngine_start(1), -1);
    assert.strictEqual(errors('Player engine is not created yet.').length, 1);
    assert.strictEqual(addon.mediaPlayerEngine_registerMediaPlayerCallback(callbacks()), 0);
    assert.strictEqual(addon.mediaPlayerEngine_registerMediaPlayerCallback(callbacks()), -1);
    assert.strictEqual(op('tavel.MediaPlayerEngine.RegisterCallback').length, 1);
  });

  await t.test('a failed prepare answers -1 and keeps no renderer', async () => {
    addon.mediaPlayerEngine_registerMediaPlayerCallback(callbacks());
    const missing = path.join(__dirname, 'no-such-file.mp4');
    assert.ok(await collectable(() => {
      const view = renderer().object;
      assert.strictEqual(addon.mediaPlayerEngine_prepareAsync(missing, true, false, { type: 3, userId: 9 }, view), -1);
      return view;
    }));
    assert.deepStrictEqual(sim.sinks().filter((s) => s.endsWith(':player')), []);
  });

  await t.test('a prepared player renders until its destroy, which lets go of the renderer', async () => {
    const events = [];
    addon.mediaPlayerEngine_registerMediaPlayerCallback(callbacks({ onPrepared: (id) => events.push(id) }));
    const r = renderer();
    let id;
    const released = collectable(() => {
      const view = { onVideoFrame: (f) => r.object.onVideoFrame(f) };
      id = addon.mediaPlayerEngine_prepareAsync(__filename, true, false, { type: 3, userId: 9, ssrc: 2 ** 33 }, view);
      return view;
    });
    assert.strictEqual(id, 1);
    const prepare = op('tavel.MediaPlayerEngine.PrepareAsync')[0].args;
    assert.deepStrictEqual(prepare.slice(0, 4), [__filename, [], '', -1]);
    assert.deepStrictEqual(prepare.slice(5, 7), [true, false]);
    assert.strictEqual(prepare[7].ssrc, 2 ** 33);
    sim.fire('MediaPlayerCallback.OnPrepared', [id]);
    assert.ok(sim.pushFrame(`sink:1280:${id}:player`, 4, 4, 1));
    await waitFor(() => events.length === 1 && r.frames.length === 1, 5000, 'onPrepared and a frame');
    assert.strictEqual(addon.mediaPlayerEngine_destroy(id), 0);
    assert.strictEqual(await released, true);
  });

  await t.test('the prefix form reads its list and id, and plays out without sending', () => {
    addon.mediaPlayerEngine_registerMediaPlayerCallback(callbacks());
    assert.strictEqual(addon.MediaPlayerEngine_prepareAsyncWithPrefixs('a.m3u8', ['https://x/', 5], '7', {}), 1);
    const args = op('tavel.MediaPlayerEngine.PrepareAsync')[0].args;
    assert.deepStrictEqual([args[0], args[1], args[3], args[5], args[6]], ['a.m3u8', ['https://x/', '5'], 7, false, true]);
  });

  await t.test('positions are 64-bit; the prepare line goes to standard output', () => {
    addon.mediaPlayerEngine_registerMediaPlayerCallback(callbacks());
    sim.script('tavel.MediaPlayerEngine.GetDurationMs', 123456);
    assert.strictEqual(addon.mediaPlayerEngine_getDurationMs(1), 123456);
    const out = execFileSync(process.execPath, ['-e', `
      const a = require(${JSON.stringify(path.join(__dirname, '..'))});
      a.engineSdk_createLivePlayEngine({});
      a.mediaPlayerEngine_registerMediaPlayerCallback({});
      a.mediaPlayerEngine_prepareAsync('/media/één.mp4', false, true, {});`], { encoding: 'utf8' });
    assert.strictEqual(out, 'prepare_async, filename_utf8=/media/één.mp4\n');
  });
});

test('streaming', async (t) => {
  t.beforeEach(() => fresh());

  await t.test('a second prepare is refused with its line, without an engine call', () => {
    assert.strictEqual(addon.engineSdk_createStreamingEngine({}, callbacks(), ''), 0);
    assert.strictEqual(addon.streamingEngine_prepareAsync(['https://a/1.flv', 'https://b/1.flv'], renderer().object), 0);
    assert.strictEqual(addon.streamingEngine_prepareAsync(['https://c/1.flv'], renderer().object), -1);
    assert.deepStrictEqual(op('tavel.StreamingEngine.PrepareAsync').map((e) => e.args[0]),
      [['https://a/1.flv', 'https://b/1.flv']]);
    assert.strictEqual(sim.logLines().filter((l) => l.tag === 'StreamingEngine' &&
      l.text === 'prepare fail, already prepared').length, 1);
  });

  await t.test('events arrive through the adapter passed at start', async () => {
    const seen = [];
    addon.engineSdk_createStreamingEngine({}, callbacks({
      onBufferingBegin: () => seen.push('begin'),
      onFrameReceived: (w, h) => seen.push(`frame ${w}x${h}`),
      onError: (code, text) => seen.push(`error ${code} ${text}`),
    }), '');
    const adapter = op('tavel.StreamingEngine.Start')[0].args[3];
    assert.strictEqual(adapter, 'ptr');
    sim.fire('StreamingEngineCallback.OnBufferingBegin', []);
    sim.fire('StreamingEngineCallback.OnFrameReceived', [640, 360]);
    sim.fire('StreamingEngineCallback.OnError', [-3, 'gone']);
    await waitFor(() => seen.length === 3, 5000, 'three events');
    assert.deepStrictEqual(seen, ['begin', 'frame 640x360', 'error -3 gone']);
  });

  await t.test('mute state, and false without an engine', () => {
    assert.strictEqual(addon.streamingEngine_isMute(), false);
    assert.strictEqual(errors('streaming engine is not created yet.').length, 1);
    addon.engineSdk_createStreamingEngine({}, callbacks(), '');
    assert.strictEqual(addon.streamingEngine_mute(1), 0);
    assert.strictEqual(addon.streamingEngine_isMute(), true);
    const data = new Float32Array([1, 2, 3]).subarray(1);
    assert.strictEqual(addon.streamingEngine_sendUserData(data), 0);
    assert.deepStrictEqual(op('tavel.StreamingEngine.SendUserData')[0].args, [{ size: 8, checksum: checksum(bytesOf(data)) }]);
  });
});

test('audioRenderEngine_pushAudioData', async (t) => {
  t.beforeEach(() => {
    fresh();
    addon.engineSdk_createLocalEngine(callbacks(), 1, 'x');
    sim.clearJournal();
  });

  await t.test('each accepted kind of bytes reaches the engine intact', () => {
    const backing = new ArrayBuffer(40);
    new Uint8Array(backing).forEach((_, i, a) => { a[i] = 255 - i * 5; });
    const inputs = [backing, new Uint8Array(backing, 3, 7), new Int16Array(backing, 4, 6), new Float32Array(backing, 8, 2),
      new BigInt64Array(backing, 8, 4), Buffer.from(backing, 1, 11), new DataView(backing, 2, 9)];
    for (const data of inputs) assert.strictEqual(addon.audioRenderEngine_pushAudioData(data), 0);
    const expected = inputs.map((d) => (d instanceof ArrayBuffer ? Buffer.from(d) : bytesOf(d)));
    assert.deepStrictEqual(op('tavel.AudioRenderEngine.PushAudioData').map((e) => e.args[0]),
      expected.map((b) => ({ size: b.length, checksum: checksum(b) })));
  });

  await t.test('a string is refused with its message and reaches nothing', () => {
    assert.throws(() => addon.audioRenderEngine_pushAudioData('pcm'), { message: 'Expected 1st parameter to be data' });
    assert.throws(() => addon.audioRenderEngine_pushAudioData([1, 2]), { message: 'Expected 1st parameter to be data' });
    assert.strictEqual(op('tavel.AudioRenderEngine.PushAudioData').length, 0);
  });

  await t.test('init passes the format record; free space follows the pushes; no engine answers -1', () => {
    assert.strictEqual(addon.audioRenderEngine_init(48000, 2.5, 1), 0);
    assert.deepStrictEqual(op('tavel.AudioRenderEngine.Init')[0].args, [{ sample_rate: 48000, channels: 2, audio_format: 1 }]);
    const free = addon.audioRenderEngine_getSpaceCanPushInBytes();
    addon.audioRenderEngine_pushAudioData(new Uint8Array(100));
    assert.strictEqual(addon.audioRenderEngine_getSpaceCanPushInBytes(), free - 100);
    addon.engineSdk_destroyLocalEngine();
    assert.strictEqual(addon.audioRenderEngine_start(), -1);
    assert.strictEqual(errors('Audio render engine is not created yet.').length, 1);
  });
});
