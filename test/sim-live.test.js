'use strict';
// The stand-in engine's live-class behaviour as the add-on meets it: what a
// root holds and releases, how a connect reports itself, and the synthetic
// video and microphone.
const test = require('node:test');
const assert = require('node:assert');
const addon = require('..');
const sim = require('../sim');

async function waitFor(predicate, ms = 3000) {
  const end = Date.now() + ms;
  while (!predicate()) {
    if (Date.now() > end) throw new Error('timed out waiting');
    await new Promise((r) => setTimeout(r, 5));
  }
}
const settle = () => new Promise((r) => setTimeout(r, 30));

function freshClass(callbacks = {}) {
  addon.engineSdk_leaveLiveRoom();
  sim.reset();
  addon.engineSdk_onAppInit({ onWriteCache() {}, onDeleteCache() {} }, '9.9.9');
  assert.strictEqual(addon.engineSdk_createLivePlayEngine(callbacks), 0);
}

test.afterEach(() => {
  addon.engineSdk_leaveLiveRoom();
  sim.reset();
});

test.describe('engine root', () => {
  test('deleting the root releases every sink and callback it held', async () => {
    freshClass();
    const frames = [];
    const renderer = { onVideoFrame: (f) => frames.push(Buffer.from(f.buffer)) };
    assert.strictEqual(addon.livePlayEngine_videoStartReceive({ userId: 7, type: 2 }, renderer), 0);
    assert.strictEqual(addon.livePlayEngine_registerLocalVadCallback({}), 0);
    assert.deepStrictEqual(sim.sinks(), ['sink:7:2']);
    assert.ok(sim.held().includes('VadCallback.local.OnAudioVadStatusChange'));
    assert.strictEqual(sim.objects().roots, 1);

    assert.strictEqual(sim.pushFrame('sink:7:2', 8, 4, 3), true);
    await waitFor(() => frames.length === 1);
    assert.deepStrictEqual(frames[0], sim.pattern(8, 4, 3));

    addon.engineSdk_leaveLiveRoom();
    assert.deepStrictEqual(sim.sinks(), []);
    assert.deepStrictEqual(sim.held().filter((n) => /^(LivePlayEngineCallback|VadCallback|DeviceEventCallback)\./.test(n)), []);
    assert.strictEqual(sim.pushFrame('sink:7:2', 8, 4, 3), false);
    assert.strictEqual(sim.objects().roots, 0);
  });

  test('a sink is held only while its receive succeeded and until stopped', () => {
    freshClass();
    sim.script('tavel.LivePlayEngine.VideoStartReceive', -2, 1);
    assert.strictEqual(addon.livePlayEngine_videoStartReceive({ userId: 3, type: 1 }, { onVideoFrame() {} }), -2);
    assert.deepStrictEqual(sim.sinks(), []);
    assert.strictEqual(addon.livePlayEngine_videoStartReceive({ userId: 3, type: 1 }, { onVideoFrame() {} }), 0);
    assert.deepStrictEqual(sim.sinks(), ['sink:3:1']);
    addon.livePlayEngine_videoStopReceive({ userId: 3, type: 1 });
    assert.deepStrictEqual(sim.sinks(), []);
  });
});

test.describe('connecting', () => {
  const names = ['onMediaConnecting', 'onMediaConnected', 'onCommandConnecting', 'onCommandConnected'];
  const recorder = (seen) => Object.fromEntries(names.map((n) => [n, () => seen.push(n)]));

  test('a connect reports media, then command connection, on its own', async () => {
    const seen = [];
    freshClass(recorder(seen));
    assert.strictEqual(addon.engineSdk_connectLivePlayEngine({ room_id: 1, user_id: 2 }), 0);
    sim.waitIdle();
    await waitFor(() => seen.length === 4);
    assert.ok(seen.indexOf('onMediaConnecting') < seen.indexOf('onMediaConnected'));
    assert.ok(seen.indexOf('onCommandConnecting') < seen.indexOf('onCommandConnected'));
  });

  test('nothing is reported with auto connect off or after a failed connect', async () => {
    const seen = [];
    freshClass(recorder(seen));
    sim.script('tavel.LivePlayEngine.Connect', -5, 1);
    assert.strictEqual(addon.engineSdk_connectLivePlayEngine({ room_id: 1 }), -5);
    addon.engineSdk_leaveLiveRoom();
    assert.strictEqual(addon.engineSdk_createLivePlayEngine(recorder(seen)), 0);
    sim.setAutoConnect(false);
    assert.strictEqual(addon.engineSdk_connectLivePlayEngine({ room_id: 1 }), 0);
    sim.waitIdle();
    await settle();
    assert.deepStrictEqual(seen, []);
  });
});

test.describe('synthetic media', () => {
  test('the video producer sends every sink its own user colour', async () => {
    freshClass();
    const last = {};
    for (const user of [3, 4]) {
      const renderer = { onVideoFrame: (f) => (last[user] = Buffer.from(f.buffer)) };
      assert.strictEqual(addon.livePlayEngine_videoStartReceive({ userId: user, type: 1 }, renderer), 0);
    }
    sim.startVideo({ width: 32, height: 16, fps: 60 });
    await waitFor(() => last[3] && last[4]);
    sim.stopVideo();
    const band = (buf) => [...buf.subarray((15 * 32) * 4, (15 * 32) * 4 + 4)];
    for (const user of [3, 4]) {
      assert.strictEqual(last[user].length, 32 * 16 * 4);
      assert.deepStrictEqual(band(last[user]), band(sim.testPattern(32, 16, user, 0)));
    }
    assert.notDeepStrictEqual(band(last[3]), band(last[4]));
    assert.ok(sim.videoStats()['sink:3:1'] >= 1);
  });

  test('a sink named in startVideo gets its own size and rate, the others the common ones', async () => {
    freshClass();
    const size = {};
    for (const user of [3, 4]) {
      const renderer = { onVideoFrame: (f) => (size[user] = [f.width, f.height, Buffer.from(f.buffer)]) };
      assert.strictEqual(addon.livePlayEngine_videoStartReceive({ userId: user, type: 1 }, renderer), 0);
    }
    sim.startVideo({ width: 32, height: 16, fps: 10, sinks: { 'sink:3:1': { width: 48, height: 24, fps: 60 } } });
    await waitFor(() => (sim.videoStats()['sink:4:1'] || 0) >= 5);
    sim.stopVideo();
    await waitFor(() => size[3] && size[4]);
    assert.deepStrictEqual(size[3].slice(0, 2), [48, 24]);
    assert.deepStrictEqual(size[4].slice(0, 2), [32, 16]);
    // The user's band, in each sink's own size.
    const band = (buf, w, h) => [...buf.subarray((h - 1) * w * 4, (h - 1) * w * 4 + 4)];
    assert.deepStrictEqual(band(size[3][2], 48, 24), band(sim.testPattern(48, 24, 3, 0), 48, 24));
    const stats = sim.videoStats();
    assert.ok(stats['sink:3:1'] >= 3 * stats['sink:4:1'], JSON.stringify(stats));
  });

  test('leaving while the producer floods every sink ends its frames at once', async () => {
    for (let round = 0; round < 5; round++) {
      freshClass();
      for (let user = 1; user <= 4; user++) addon.livePlayEngine_videoStartReceive({ userId: user, type: 1 }, { onVideoFrame() {} });
      sim.startVideo({ width: 320, height: 180, fps: 240 });
      await waitFor(() => Object.keys(sim.videoStats()).length === 4);
      addon.engineSdk_leaveLiveRoom();
      const after = sim.videoStats();
      await settle();
      assert.deepStrictEqual(sim.videoStats(), after);
      assert.deepStrictEqual(sim.sinks(), []);
      sim.stopVideo();
    }
  });

  test('the microphone starts once, sends 10 ms sine chunks in phase and stops with the recording', async () => {
    freshClass();
    const events = [];
    const recording = {
      onAudioRecordingStart: () => events.push('start'),
      onMicrophoneRecordedPcmData: (buf, len) => events.push({ pcm: Buffer.from(buf), len }),
      onAudioRecordingStop: () => events.push('stop'),
    };
    assert.strictEqual(addon.livePlayEngine_audioStartRecording({}, recording, []), 0);
    sim.startAudio({ intervalMs: 2 });
    await waitFor(() => events.length >= 4);
    assert.strictEqual(addon.livePlayEngine_audioStopRecording({}), 0);
    sim.waitIdle();
    await settle();
    const heard = events.length;
    await settle();
    assert.strictEqual(events.length, heard, 'nothing after the stop');
    sim.stopAudio();

    assert.strictEqual(events[0], 'start');
    assert.strictEqual(events.filter((e) => e === 'start').length, 1);
    assert.strictEqual(events[events.length - 1], 'stop');
    const sine = (i) => Math.round(8000 * Math.sin((2 * Math.PI * 440 * (i % 16000)) / 16000)) | 0;
    const chunks = events.filter((e) => e.pcm);
    assert.ok(chunks.length >= 2);
    // A stop drops only chunks still queued, so those heard are the first ones.
    chunks.forEach(({ pcm, len }, k) => {
      assert.strictEqual(len, 320);
      for (let i = 0; i < 160; i++) assert.strictEqual(pcm.readInt16LE(2 * i), sine(160 * k + i), `chunk ${k} sample ${i}`);
    });
  });
});
