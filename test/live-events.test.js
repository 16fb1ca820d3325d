'use strict';
// Engine events of a live class reaching the JavaScript callback objects:
// methods, argument conversion, priority, analytics and the holders of the
// recording, voice-activity and live client objects.
const test = require('node:test');
const assert = require('node:assert');
const { addon, sim, fresh, waitFor, settle, callbacks } = require('./live-helpers');

// A callbacks object that records every on... call as [method, ...args].
function recorder() {
  const calls = [];
  const target = {};
  const object = new Proxy(target, {
    get: (t, key) =>
      typeof key === 'string' && /^[oO]n[A-Z]/.test(key) ? (...args) => calls.push([key, ...args]) : undefined,
  });
  return { object, calls };
}

// A connected class whose connection reports the tests fire themselves.
function connectedClass(rec = recorder()) {
  addon.engineSdk_onAppInit(callbacks(), '5.1.0');
  assert.strictEqual(addon.engineSdk_createLivePlayEngine(rec.object), 0);
  sim.setAutoConnect(false);
  assert.strictEqual(addon.engineSdk_connectLivePlayEngine({ room_id: 9 }), 0);
  return rec;
}

const tallied = (url) => sim.tally().filter((t) => t.url === url);

test.describe('live play events', () => {
  test.beforeEach(fresh);

  test('connection events overtake the ordinary events still queued; each queue keeps its order', async () => {
    const { calls } = connectedClass();
    // sim.fire blocks JavaScript until the engine thread has posted, so all
    // of these are queued before the first delivery.
    for (let i = 0; i < 40; i++) sim.fire('LivePlayEngineCallback.OnServerTimestampOffset', [i], 0);
    sim.fire('LivePlayEngineCallback.OnRadioChannelConnected', [], 3);
    sim.fire('LivePlayEngineCallback.OnMediaReconnecting', [], 1);
    sim.fire('CommandClientCallback.OnCommandConnected', [], 2);
    sim.fire('CommandClientCallback.OnCommandReconnecting', ['lost'], 1);
    sim.fire('LivePlayEngineCallback.OnMediaConnected', [], 2);
    await waitFor(() => calls.length === 45);
    assert.deepStrictEqual(calls.slice(0, 4), [
      ['onMediaReconnecting'],
      ['onCommandConnected'],
      ['onCommandReconnecting', 'lost'],
      ['onMediaConnected'],
    ]);
    assert.deepStrictEqual(
      calls.slice(4),
      [...Array.from({ length: 40 }, (_, i) => ['onServerTimestampOffset', i]), ['onRadioChannelConnected']],
    );
  });

  test('onEnterRoom posted by the background connect overtakes the ordinary events still queued', async () => {
    const rec = recorder();
    addon.engineSdk_onAppInit(callbacks(), '5.1.0');
    assert.strictEqual(addon.engineSdk_createLivePlayEngine(rec.object), 0);
    sim.setAutoConnect(false);
    // The connect waits on its own thread while the JavaScript thread queues ordinary events.
    sim.delayCalls('tavel.LivePlayEngine.Connect', 20000, 1);
    assert.strictEqual(addon.engineSdk_connectLivePlayEngineAndConfigDevice({ room_id: 9 }, '/audio', {}), 0);
    const spinUntil = (predicate, what) => {
      const end = Date.now() + 20000;
      while (!predicate()) if (Date.now() > end) throw new Error(`timed out waiting for ${what}`);
    };
    spinUntil(() => sim.journal('tavel.LivePlayEngine.Connect').length === 1, 'the connect');
    for (let i = 0; i < 40; i++) sim.fire('LivePlayEngineCallback.OnServerTimestampOffset', [i], 0);
    sim.releaseDelayed('tavel.LivePlayEngine.Connect');
    // Still without yielding: the thread reports the device settings it applied, then posts onEnterRoom.
    spinUntil(() => sim.tally().some((t) => t.url === 'sdk/statistics/timeConsuming/deviceSetting'), 'the settings');
    // What is left of the thread's work is one post; a second covers a busy machine.
    const end = Date.now() + 1000;
    while (Date.now() < end);
    await waitFor(() => rec.calls.length === 41);
    assert.deepStrictEqual(rec.calls, [['onEnterRoom', true], ...Array.from({ length: 40 }, (_, i) => ['onServerTimestampOffset', i])]);
  });

  test('arguments arrive converted, in the engine\'s order, on the method of the table', async () => {
    const { calls } = connectedClass();
    const bytes = Buffer.from([0, 1, 2, 250, 255]);
    // [firer, arguments, expected call]
    const cases = [
      ['OnMediaConnecting', [], ['onMediaConnecting']],
      ['OnMediaDisconnected', [true, -1, 2, 3], ['onMediaDisconnected', true, -1, 2, 3]],
      ['OnAudioSharedConnectionStateChanged', [4], ['onAudioSharedConnectionStateChanged', 4]],
      ['OnVideoSharedConnectionStateChanged', [5], ['onVideoSharedConnectionStateChanged', 5]],
      ['OnServerTimestampOffset', [-(2 ** 40) - 3], ['onServerTimestampOffset', -(2 ** 40) - 3]],
      ['OnRadioChannelConnecting', [], ['onRadioChannelConnecting']],
      ['OnRadioMessage', [bytes], ['onRadioMessage', bytes, 5]],
      ['OnUserData', [bytes, 3], ['onUserData', bytes.subarray(0, 3), 3]],
      ['OnNoSpeechTimeoutEvent', [], ['onNoSpeechTimeoutEvent']],
      ['OnAudioInputNoVoiceWarning', [], ['onAudioInputNoVoiceWarning']],
      ['OnRecordingDataException', [6], ['onRecordingDataException', 6]],
      ['OnPlayoutDataException', [7], ['onPlayoutDataException', 7]],
      ['OnLoopbackDataException', [8], ['onLoopbackDataException', 8]],
      ['OnDeviceError', [1, 2, 3], ['onDeviceError', 1, 2, 3]],
      ['OnDeviceEvent', [4, 5, 6], ['onDeviceEvent', 4, 5, 6]],
      ['OnAudioOutputDeviceChanged', [9], ['onAudioOutputDeviceChanged', 9]],
      ['OnDefaultAudioInputDeviceChanged', ['{0.0.1}', 'Mikrofon – ü'], ['onDefaultAudioInputDeviceChanged', '{0.0.1}', 'Mikrofon – ü']],
      ['OnDefaultAudioOutputDeviceChanged', ['id-2', null], ['onDefaultAudioOutputDeviceChanged', 'id-2', '']],
      ['OnVideoFrameReceived', [42, 3], ['onVideoFrameReceived', 42, 3]],
      ['OnAIStickerReady', [false], ['onAIStickerReady', false]],
      ['OnAIStickerError', [-12], ['onAIStickerError', -12]],
    ];
    for (const [name, args] of cases) assert.ok(sim.fire(`LivePlayEngineCallback.${name}`, args), name);
    await waitFor(() => calls.length === cases.length);
    assert.deepStrictEqual(calls, cases.map((c) => c[2]));
    // Byte payloads are copies: a new Buffer per event.
    assert.notStrictEqual(calls[6][1].buffer, bytes.buffer);
  });

  test('a burst of queued events longer than one batch reaches each method by name, in order', async () => {
    const calls = [];
    const object = {
      onServerTimestampOffset: (v) => calls.push(['offset', v]),
      onAudioInputDeviceChanged: (v) => {
        calls.push(['input', v]);
        // Methods are looked up on every event: a replacement takes over at once.
        if (v === 301) object.onAudioInputDeviceChanged = (w) => calls.push(['input2', w]);
      },
      onRecordingDataException: (v) => calls.push(['recording', v]),
    };
    connectedClass({ object, calls: [] });
    const firers = ['OnServerTimestampOffset', 'OnAudioInputDeviceChanged', 'OnRecordingDataException'];
    const expected = [];
    for (let i = 0; i < 900; i++) {
      sim.fire(`LivePlayEngineCallback.${firers[i % 3]}`, [i], i % 2);
      const name = ['offset', i % 3 === 1 && i > 301 ? 'input2' : 'input', 'recording'][i % 3];
      expected.push([name, i]);
    }
    await waitFor(() => calls.length === 900);
    assert.deepStrictEqual(calls, expected);
  });

  test('the beauty manager hears readiness before JavaScript does', async () => {
    const seen = [];
    const logged = () => sim.logLines().filter((l) => l.text.startsWith('BeautyManager::SetBeautyReady'));
    // The log is read at the moment JavaScript is called.
    connectedClass({
      object: callbacks({
        onBeautyReady: (ready) => seen.push(['ready', ready, logged().map((l) => l.text)]),
        onBeautyError: (code) => seen.push(['error', code]),
      }),
    });
    sim.clearLogLines();
    sim.fire('LivePlayEngineCallback.OnBeautyReady', [true]);
    sim.fire('LivePlayEngineCallback.OnBeautyReady', [false]);
    sim.fire('LivePlayEngineCallback.OnBeautyError', [3]);
    await waitFor(() => seen.length === 3);
    assert.deepStrictEqual(seen, [
      ['ready', true, ['BeautyManager::SetBeautyReady, SetBeautyReady ready:1']],
      ['ready', false, ['BeautyManager::SetBeautyReady, SetBeautyReady ready:1', 'BeautyManager::SetBeautyReady, SetBeautyReady ready:0']],
      ['error', 3],
    ]);
    const [line] = logged();
    assert.strictEqual(line.severity, 9);
    assert.strictEqual(line.tag, '');
    assert.match(line.file, /^src\/beauty\//);
  });
});

test.describe('command disconnection', () => {
  test.beforeEach(fresh);

  test('no message becomes ""; OnDisconnected is reported on the engine thread, the item\'s own on delivery', async () => {
    const { calls } = connectedClass();
    sim.fire('CommandClientCallback.OnCommandDisconnected', [4, -5, null, 6]);
    // Still queued: only the engine thread's report exists.
    assert.strictEqual(tallied('sdk/event/OnDisconnected').length, 1);
    assert.strictEqual(tallied('sdk/event/CmdClientOnDisconnectedCallbackItem').length, 0);
    await waitFor(() => calls.length === 1);
    assert.deepStrictEqual(calls[0], ['onCommandDisconnected', 4, -5, '', 6]);
    const [item] = tallied('sdk/event/CmdClientOnDisconnectedCallbackItem');
    assert.deepStrictEqual([item.count, item.flag], [1, 0]);
    const [engine] = tallied('sdk/event/OnDisconnected');
    assert.deepStrictEqual([engine.count, engine.flag], [1, 0]);

    sim.fire('CommandClientCallback.OnCommandDisconnected', [1, 2, 'bye ✓', 3]);
    await waitFor(() => calls.length === 2);
    assert.deepStrictEqual(calls[1], ['onCommandDisconnected', 1, 2, 'bye ✓', 3]);
    // The switch is off: nothing was destroyed.
    assert.strictEqual(addon.engineSdk_currentEngineType(), 0);
    assert.deepStrictEqual(tallied('sdk/event/AutoDestroyLiveEngine'), []);
  });

  test('the relay engine of a live replay leaves by itself through its own path', async () => {
    sim.setSourceFlags({ enableAutoLeaveRoom4660: true });
    addon.engineSdk_onAppInit(callbacks(), '5.1.0');
    const rec = recorder();
    assert.strictEqual(addon.engineSdk_createLiveReplayEngine(callbacks(), '/media/x', rec.object, '5.1.0'), 0);
    assert.strictEqual(addon.engineSdk_connectLivePlayEngine({ room_id: 3 }), 0);
    const has = (m) => rec.calls.some((c) => c[0] === m);
    await waitFor(() => has('onMediaConnected') && has('onCommandConnected'));
    sim.fire('CommandClientCallback.OnCommandDisconnected', [1, 2, 'gone', 3]);
    await waitFor(() => addon.engineSdk_currentEngineType() === -1);
    assert.strictEqual(tallied('sdk/event/AutoDestroyLiveRelayEngine').length, 1);
    assert.deepStrictEqual(tallied('sdk/event/AutoDestroyLiveEngine'), []);
  });
});

test.describe('microphone recording', () => {
  test.beforeEach(fresh);

  function recording() {
    connectedClass();
    const rec = recorder();
    assert.strictEqual(addon.livePlayEngine_audioStartRecording({}, rec.object, []), 0);
    return rec;
  }

  test('data arrives as a Buffer of exactly the length, plus the length and the codec\'s integer', async () => {
    const { calls } = recording();
    const pcm = Buffer.from(Array.from({ length: 320 }, (_, i) => i & 0xff));
    sim.fire('MicrophoneRecordingCallback.OnAudioRecordingStart', []);
    sim.fire('MicrophoneRecordingCallback.OnMicrophoneRecordedPcmData', [pcm]);
    sim.fire('MicrophoneRecordingCallback.OnMicrophoneRecordedAacData', [pcm, 7, 44100]);
    sim.fire('MicrophoneRecordingCallback.OnMicrophoneRecordedOpusData', [pcm, 1, 48000]);
    sim.fire('MicrophoneRecordingCallback.OnMicrophoneRecordedIsacData', [pcm, 2, 16000]);
    sim.fire('MicrophoneRecordingCallback.OnAudioRecordingStop', []);
    await waitFor(() => calls.length === 6);
    assert.deepStrictEqual(calls, [
      ['onAudioRecordingStart'],
      ['onMicrophoneRecordedPcmData', pcm, 320],
      ['onMicrophoneRecordedAacData', pcm.subarray(0, 7), 7, 44100],
      ['onMicrophoneRecordedOpusData', pcm.subarray(0, 1), 1, 48000],
      ['onMicrophoneRecordedIsacData', pcm.subarray(0, 2), 2, 16000],
      ['onAudioRecordingStop'],
    ]);
    for (const c of calls.slice(1, 5)) assert.ok(Buffer.isBuffer(c[1]) && c[1].length === c[2]);
  });

  test('absent data or a length that is not positive is not posted at all', async () => {
    const { calls } = recording();
    sim.fire('MicrophoneRecordingCallback.OnMicrophoneRecordedPcmData', [Buffer.from([1, 2]), 0]);
    sim.fire('MicrophoneRecordingCallback.OnMicrophoneRecordedPcmData', [Buffer.from([1, 2]), -3]);
    sim.fire('MicrophoneRecordingCallback.OnMicrophoneRecordedAacData', [null, 4, 44100]);
    sim.fire('MicrophoneRecordingCallback.OnMicrophoneRecordedOpusData', [Buffer.alloc(0), null, 1]);
    sim.fire('MicrophoneRecordingCallback.OnMicrophoneRecordedIsacData', [null, 0, 1]);
    // A marker behind them: once it is delivered, anything posted before it was too.
    sim.fire('MicrophoneRecordingCallback.OnMicrophoneRecordedPcmData', [Buffer.from([9])]);
    await waitFor(() => calls.length >= 1);
    await settle();
    assert.deepStrictEqual(calls, [['onMicrophoneRecordedPcmData', Buffer.from([9]), 1]]);
  });

  test('stopping the recording drops its data still queued, not its other events', async () => {
    const { calls } = recording();
    sim.fire('MicrophoneRecordingCallback.OnAudioRecordingStart', []);
    for (let i = 0; i < 5; i++) sim.fire('MicrophoneRecordingCallback.OnMicrophoneRecordedPcmData', [Buffer.from([i])]);
    assert.strictEqual(addon.livePlayEngine_audioStopRecording({}), 0);
    await settle();
    assert.deepStrictEqual(calls, [['onAudioRecordingStart']]);
  });
});

test.describe('voice activity', () => {
  test.beforeEach(fresh);

  test('each holder gets its own changes; unregistering the local one drops its queued changes only', async () => {
    connectedClass();
    const local = recorder();
    const remote = recorder();
    const ssrc = recorder();
    assert.strictEqual(addon.livePlayEngine_registerLocalVadCallback(local.object), 0);
    assert.strictEqual(addon.livePlayEngine_registerRemoteVadCallbackBiz({ bizType: 3, userId: 42 }, remote.object), 0);
    assert.strictEqual(addon.livePlayEngine_registerRemoteVadCallback(77, ssrc.object), 0);
    sim.fire('VadCallback.local.OnAudioVadStatusChange', [1]);
    sim.fire('VadCallback.biz:3:42:0:0.OnAudioVadStatusChange', [2]);
    sim.fire('VadCallback.ssrc:77.OnAudioVadStatusChange', [3]);
    await waitFor(() => local.calls.length + remote.calls.length + ssrc.calls.length === 3);
    assert.deepStrictEqual([local.calls, remote.calls, ssrc.calls], [
      [['onAudioVadStatusChange', 1]],
      [['onAudioVadStatusChange', 2]],
      [['onAudioVadStatusChange', 3]],
    ]);

    sim.fire('VadCallback.local.OnAudioVadStatusChange', [0]);
    sim.fire('VadCallback.ssrc:77.OnAudioVadStatusChange', [0]);
    assert.strictEqual(addon.livePlayEngine_unregisterLocalVadCallback(), 0);
    await waitFor(() => ssrc.calls.length === 2);
    await settle();
    assert.strictEqual(local.calls.length, 1);
  });
});
