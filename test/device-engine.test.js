'use strict';
const test = require('node:test');
const assert = require('node:assert');
const { addon, sim, fresh, waitFor, startClass, callbacks } = require('./live-helpers');

const d = (name) => addon[`deviceEngine_${name}`];
const opsOf = (re) => sim.journal(re).map((e) => e.op);
const lines = (text) => sim.logLines().filter((l) => l.text.includes(text));
const NEW_ENGINE_FLAGS = {
  'enableUsingAudioEngineRecording_StartRecordingMicrophone4.57.0': true,
  'enableUsingAudioEngineRecording_StartRecordingMicrophoneTimeout4.57.0': true,
  'enableUsingAudioEngineRecording_StartRecordingMicrophoneWithSpeakerData4.54.0': true,
  'enableUsingAudioEngine4.54.0': true,
};
const MACHINE = {
  cameras: [
    { name: 'Front camera', guid: 'cam-0', transportType: 3, formats: [
      { width: 640, height: 480, fps: 30, pixelFormat: 2 },
      { width: 1280, height: 720, fps: 30, pixelFormat: 10 },
      { width: 320, height: 240, fps: 15, pixelFormat: 99 },
      { width: 1920, height: 1080, fps: 30, pixelFormat: 12 },
    ] },
  ],
  microphones: [{ name: 'Mic A', guid: 'mic-a' }, { name: 'Mic B', guid: 'mic-b', isDefault: true, transportType: 7 }],
  speakers: [{ name: 'Speaker', guid: 'spk-0' }],
  windows: [{ id: 2 ** 33 + 5, title: 'Slides', width: 800, height: 600, posX: 10, posY: 20, minimized: true }],
  screens: [{ id: 1, title: 'Screen 1' }],
};

function freshMachine() {
  fresh();
  sim.setDevices(MACHINE);
}

test('engine choice per row: module, live engine, neither', async (t) => {
  t.beforeEach(freshMachine);

  await t.test('neither: the exact line and value of each form, and the throwing exports', () => {
    assert.deepStrictEqual(d('getSpeakerVolume')(), { volume: 0, errorCode: -1 });
    assert.deepStrictEqual(d('getSpeakerVolume')(0), { volume: 0, errorCode: -1 });
    const full = lines('Live device engine is not created yet.');
    assert.equal(full.length, 2);
    assert.equal(full[0].tag, 'EngineAddon');
    assert.equal(full[0].severity, 12);
    assert.equal(full[0].file, 'src/addon/device_engine_addon');
    sim.clearLogLines();
    assert.deepStrictEqual(d('getSpeechInputLevel')(), { level: 0, errorCode: -1 });
    assert.equal(d('setSystemOutputMute')(true), -1);
    const bare = sim.logLines().filter((l) => l.text === 'Live device engine is not created yet');
    assert.equal(bare.length, 2);
    assert.equal(bare[0].tag, '');
    sim.clearLogLines();
    assert.equal(d('enableStaticFrameDetector')({ enableDetect: true }), -1);
    assert.equal(sim.logLines().filter((l) => l.text === 'Device engine is not created yet.' && l.severity === 9).length, 1);
    for (const [name, args] of [['installLoopbackDevice', ['a', 'b', {}]], ['cancelInstallLoopbackDevice', []], ['restartCoreAudioService', ['a', {}]]]) {
      assert.throws(() => d(name)(...args), { message: 'Live device engine is not created yet.' });
    }
    assert.equal(d('isLoopbackDeviceExist')(), false);
    assert.equal(d('isAudioRecording')(), -1);
    assert.equal(d('getNumOfCaptureDevices')(), -1);
    assert.deepStrictEqual(opsOf(/LiveDeviceEngine\.(?!GetInterface)/), []);
  });

  await t.test('no handle reaches the live device engine; a module handle reaches the module only', () => {
    startClass();
    assert.equal(d('isLoopbackDeviceExist')(), true);
    assert.equal(d('cancelInstallLoopbackDevice')(), -1);
    assert.equal(d('installLoopbackDevice')('a', 'b', () => {}), 0);
    sim.clearJournal();
    assert.equal(d('setSpeakerVolume')(33), 0);
    assert.deepStrictEqual(d('getSpeakerVolume')(0), { volume: 33, errorCode: 0 });
    assert.deepStrictEqual(opsOf(/Device/), ['tavel.LiveDeviceEngine.SetSpeakerVolume', 'tavel.LiveDeviceEngine.GetSpeakerVolume']);
    const h = d('createDeviceModule')({}, 'param');
    sim.clearJournal();
    assert.equal(d('setSpeakerVolume')(70, h), 0);
    assert.deepStrictEqual(d('getSpeakerVolume')(h), { volume: 70, errorCode: 0 });
    assert.equal(d('setOutputChannelMute')(5, true, h), 0);
    assert.deepStrictEqual(sim.journal(/Device/).map((e) => [e.op, e.args]), [
      ['tavel.DeviceEngine.SetSpeakerVolume', [70]],
      ['tavel.DeviceEngine.GetSpeakerVolume', [true]],
      ['tavel.DeviceEngine.SetOutputChannelMute', [5, true]],
    ]);
    // Live-only rows ignore what follows their arguments.
    sim.clearJournal();
    assert.equal(d('setOutputChannelVolumeBiz')({ bizType: 1, userId: 2 }, 40), 0);
    assert.deepStrictEqual(opsOf(/Device/), ['tavel.LiveDeviceEngine.SetOutputChannelVolumeBiz']);
    d('destroyDeviceModule')(h);
  });

  await t.test('a module with the new audio device: audio rows reach it, AGC and camera rows answer -1', () => {
    sim.setSourceFlags({ ...NEW_ENGINE_FLAGS, 'QXDeviceModuleUseNewAudioDevice4.57.0': true });
    const h = d('createDeviceModule')({}, 'p');
    assert.ok(lines('using new audio device').length === 1);
    assert.deepStrictEqual(d('getMicVolume')(h), { volume: 50, errorCode: 0 });
    assert.deepStrictEqual(d('getAgcStatus')(h), { enable: false, errorCode: -1 });
    assert.equal(d('setAgcStatus')(true, h), -1);
    assert.equal(d('getNumOfCaptureDevices')(h), -1);
    assert.deepStrictEqual(d('getNumOfRecordingDevices')(h), { devices: 2, errorCode: 0 });
    assert.deepStrictEqual(opsOf(/AudioDeviceInterface\.(Get|Set)/), ['korin.AudioDeviceInterface.GetMicVolume', 'korin.AudioDeviceInterface.GetNumOfRecordingDevices']);
    d('destroyDeviceModule')(h);
  });

  await t.test('a module created while one of the five flags is off uses the classic engine', () => {
    sim.setSourceFlags({ ...NEW_ENGINE_FLAGS });
    const h = d('createDeviceModule')({}, 'engine-params');
    assert.deepStrictEqual(sim.journal('tavel.DeviceEngine.Create')[0].args[0].engine_params, 'engine-params');
    assert.deepStrictEqual(opsOf(/CreateAudioDevice/), []);
    assert.deepStrictEqual(d('getAgcStatus')(h), { enable: false, errorCode: 0 });
    d('destroyDeviceModule')(h);
  });
});

test('device module handles', async (t) => {
  t.beforeEach(freshMachine);

  await t.test('stale, forged, fractional, negative and huge handles are refused with the export named', () => {
    startClass();
    const h = d('createDeviceModule')({}, 'p');
    d('destroyDeviceModule')(h);
    sim.clearJournal();
    for (const bad of [h, h + 8, h + 0.5, -h, 2 ** 60, -1]) {
      assert.deepStrictEqual(d('getMicVolume')(bad), { volume: 0, errorCode: -1 });
      assert.equal(d('setMicVolume')(10, bad), -1);
      assert.equal(d('stopRecordingMicrophone')({}, bad), -1);
    }
    assert.deepStrictEqual(opsOf(/Device/), []);
    assert.ok(lines('deviceEngine_getMicVolume: not a live device module handle').length >= 6);
    d('destroyDeviceModule')(h); // twice: nothing happens
    assert.equal(d('setMicVolume')(10, 0), 0); // 0 is the live engine
  });

  await t.test('destroy order: observer off, clean-ups, engine, then the recording', () => {
    const h = d('createDeviceModule')({}, 'p');
    assert.equal(d('startRecordingMicrophone')({ onAudioRecordingStart() {} }, true, h), 0);
    sim.clearJournal();
    d('destroyDeviceModule')(h);
    assert.deepStrictEqual(sim.journal().map((e) => e.op), [
      'tavel.DeviceEngine.RegisterObserver',
      'tavel.DeviceEngine.Release',
      'tavel.DeviceEngine.Reset',
      'tavel.DeviceEngine.Destroy',
      'korin.AudioRecording.Destroy',
    ]);
    assert.deepStrictEqual(sim.journal()[0].args, [null]);
  });

  await t.test('a new-engine module recording is stopped when the module goes', () => {
    sim.setSourceFlags({ ...NEW_ENGINE_FLAGS, 'QXDeviceModuleUseNewAudioDevice4.57.0': true });
    const h = d('createDeviceModule')({}, 'p');
    assert.equal(d('startRecordingMicrophoneForASR')({}, h), 0);
    sim.clearJournal();
    d('destroyDeviceModule')(h);
    assert.deepStrictEqual(opsOf(/korin/), ['korin.AudioDeviceInterface.RegisterEventListener',
      'korin.AudioRecording.StopRecording', 'korin.AudioRecording.StopMicrophoneDevice', 'korin.AudioRecording.Destroy']);
  });
});

test('getters, lists and formats', async (t) => {
  t.beforeEach(freshMachine);

  await t.test('device information: normal path, default index, fallback path, out of range', () => {
    startClass();
    assert.deepStrictEqual(d('getRecordingDeviceName')(1), { name: 'Mic B', guid: 'mic-b', transportType: 7, errorCode: 0 });
    assert.deepStrictEqual(d('getDefaultRecordDeviceName')(), { name: 'Mic B', guid: 'mic-b', transportType: 7, errorCode: 0 });
    assert.deepStrictEqual(sim.journal('tavel.LiveDeviceEngine.GetDeviceInfo').at(-1).args, [2, -2]);
    assert.equal(d('getCaptureDeviceName')(5).errorCode, -3);
    assert.ok(lines('DeviceEngine_GetRecordingDeviceName index:1 name: Mic B guid: mic-b transportType: 7 code: 0').length);
    sim.setSourceFlags({ DISABLE_GET_DEVICE_INFO: true });
    assert.deepStrictEqual(d('getCaptureDeviceName')(0), { name: 'Front camera', guid: 'cam-0', transportType: 0, errorCode: 0 });
    assert.deepStrictEqual(opsOf(/GetCaptureDeviceName/), ['tavel.LiveDeviceEngine.GetCaptureDeviceName']);
  });

  await t.test('names longer than the engine buffers are cut, never overflow', () => {
    startClass();
    sim.setDevices({ microphones: [{ name: 'n'.repeat(1000), guid: 'g'.repeat(300) }] });
    const info = d('getRecordingDeviceName')(0);
    assert.equal(info.name.length, 255);
    assert.equal(info.guid.length, 255);
    assert.equal(d('setRecordingDevice')('x'.repeat(5000)), 0);
    assert.equal(sim.journal('tavel.LiveDeviceEngine.SetRecordingDevice')[0].args[0].length, 255);
  });

  await t.test('counts, capture count and format list with the pixel-format names', () => {
    startClass();
    assert.deepStrictEqual(d('getNumOfPlayoutDevices')(), { devices: 1, errorCode: 0 });
    assert.equal(d('getNumOfCaptureDevices')(), 1);
    const list = d('getCaptureDeviceFormatList')('cam-0');
    assert.equal(list.errorCode, 0);
    assert.deepStrictEqual(list.formats.map((f) => f.videoColorSpace), ['kIYUV', 'Unknown', 'Unknown', 'MJPEG']);
    assert.deepStrictEqual(list.formats[0], { width: 640, height: 480, fps: 30, videoColorSpace: 'kIYUV' });
    assert.deepStrictEqual(d('getCaptureDeviceFormatList')('nope'), { formats: [], errorCode: -3 });
  });

  await t.test('pixel format round trip: what is written is not always what is read', () => {
    startClass();
    for (const [name, value] of [['kIYUV', 0], ['IYUV', 2], ['MJPEG', 12], ['Unknown', 0], ['BGRA', 15]]) {
      sim.clearJournal();
      d('setCaptureDeviceInfo')('cam-0', { width: 1, height: 2, fps: 3, videoColorSpace: name });
      assert.deepStrictEqual(sim.journal('tavel.LiveDeviceEngine.SetCaptureDevice')[0].args,
        ['cam-0', { width: 1, height: 2, fps: 3, pixel_format: value }]);
    }
    assert.equal(d('setCaptureDeviceInfo')('missing', {}), -1);
  });

  await t.test('windows and screens', () => {
    assert.deepStrictEqual(d('getWindowsList')(), [{ id: 2 ** 33 + 5, title: 'Slides', width: 800, height: 600 }]);
    assert.deepStrictEqual(d('getScreenList')(), [{ id: 1, title: 'Screen 1' }]);
    // Only the low 32 bits of the id reach the engine.
    assert.equal(d('getWindowStatus')(2 ** 33 + 5).unfound, true);
    assert.deepStrictEqual(sim.journal('record_engine.RecordEngineInterface.GetWindowStatus')[0].args, [5]);
    assert.equal(d('getWindowStatus')(), undefined);
    assert.equal(lines('DeviceEngine_getWindowStatus: Invalid arguments').length, 1);
    assert.throws(() => d('getScreenList')(1), { message: 'Invalid arguments' });
  });

  await t.test('platform checks', () => {
    assert.equal(d('IsAeroEnabled')(), true);
    sim.setPlatform({ winVersion: 4, aero: false });
    assert.equal(d('IsAeroEnabled')(), false);
    sim.setPlatform({ winVersion: 5, aero: false });
    assert.equal(d('IsAeroEnabled')(), true);
    assert.equal(d('setElectronVersion')(28), undefined);
    assert.equal(sim.setPlatform().electronVersion, 28);
  });
});

test('microphone recording', async (t) => {
  t.beforeEach(freshMachine);

  await t.test('classic path: engine call by export, one at a time, statistics on stop', () => {
    startClass();
    assert.equal(d('startRecordingMicrophone')({}, true), 0);
    assert.equal(d('startRecordingMicrophone')({}, false), -1);
    assert.equal(d('isAudioRecording')(), true);
    sim.setRecordingInfo({ encodedRecordedMs: 1200, startDuringInterruption: true, hint: 4 });
    const info = {};
    assert.equal(d('stopRecordingMicrophone')(info), 0);
    assert.equal(info.encodedRecordedMs, 1200);
    assert.equal(info.startDuringInterruption, true);
    assert.equal(info.hint, 4);
    assert.equal(d('stopRecordingMicrophone')({}), -1);
    assert.equal(d('startRecordingMicrophoneTimeout')({}, 3000), 0);
    const start = sim.journal('tavel.LiveDeviceEngine.StartRecordingMicrophone');
    assert.deepStrictEqual(start[0].args, ['ptr', true]);
    assert.deepStrictEqual(start[1].args[0], { sink: 'ptr', mode: 1, sample_rate: 16000, channels: 1, timeout_ms: 3000 });
    assert.equal(d('stopRecordingMicrophone')({}), 0);
    assert.equal(d('startRecordingMicrophoneWithSpeakerData')({}), 0);
    assert.deepStrictEqual(sim.journal('tavel.LiveDeviceEngine.StartRecordingMicrophone')[2].args[0].mode, 4);
  });

  await t.test('new engine by flags: masks, scene, second start refused, statistics layout', () => {
    startClass();
    sim.setSourceFlags(NEW_ENGINE_FLAGS);
    assert.equal(d('startRecordingMicrophone')({}, true), 0);
    assert.equal(d('startRecordingMicrophone')({}, true), -1);
    assert.equal(lines('StartMicrophoneDeviceAndRecording failed,recording is already started').length, 1);
    assert.deepStrictEqual(opsOf(/LiveDeviceEngine\.StartRecording/), []);
    const param = sim.journal('korin.AudioRecording.StartRecording')[0].args[0];
    assert.equal(param.processing_mask, 31);
    assert.equal(param.scene, 'StartRecordingMicrophone');
    assert.equal(param.bit_rate, 64000);
    assert.equal(param.timeout_ms, -1);
    assert.equal(param.reserved1, -1);
    sim.setRecordingInfo({ encodedRecordedMs: 9, pcmRecordedSampleMax: 77, startDuringInterruption: true, interruptionAfterStart: true });
    const info = {};
    assert.equal(d('stopRecordingMicrophone')(info), 0);
    assert.deepStrictEqual([info.encodedRecordedMs, info.pcmRecordedSampleMax, info.startDuringInterruption, info.interruptionAfterStart], [9, 77, false, false]);
    assert.equal(d('startRecordingMicrophone')({}, false), 0);
    assert.equal(sim.journal('korin.AudioRecording.StartRecording')[1].args[0].processing_mask, 22);
    d('stopRecordingMicrophone')({});
    assert.equal(d('startRecordingMicrophoneWithSpeakerData')({}), 0);
    const speaker = sim.journal('korin.AudioRecording.StartRecording')[2].args[0];
    assert.deepStrictEqual([speaker.mode, speaker.bit_rate, speaker.scene, speaker.processing_mask], [4, 128000, '', 0]);
  });

  await t.test('one flag of the pair off keeps the classic call', () => {
    startClass();
    sim.setSourceFlags({ 'enableUsingAudioEngineRecording_StartRecordingMicrophone4.57.0': true });
    assert.equal(d('startRecordingMicrophone')({}, true), 0);
    assert.equal(opsOf(/korin.AudioRecording.Start/).length, 0);
  });

  await t.test('for speech recognition: module only, mask by flag', () => {
    startClass();
    assert.equal(d('startRecordingMicrophoneForASR')({}, 0), -1);
    const h = d('createDeviceModule')({}, 'p');
    assert.equal(d('startRecordingMicrophoneForASR')({}, h), 0);
    assert.equal(sim.journal('korin.AudioRecording.StartRecording').at(-1).args[0].processing_mask, 29);
    d('stopRecordingMicrophone')({}, h);
    sim.setSourceFlags({ enableAnsDspOnlyForAsr20250303: true });
    assert.equal(d('startRecordingMicrophoneForASR')({}, h), 0);
    assert.equal(sim.journal('korin.AudioRecording.StartRecording').at(-1).args[0].processing_mask, 13);
    d('destroyDeviceModule')(h);
  });

  await t.test('recorded data reaches the callback; nothing after stop', async () => {
    startClass();
    const got = [];
    d('startRecordingMicrophone')({ onMicrophoneRecordedPcmData: (b, n) => got.push(n) }, true);
    sim.fire('DeviceRecordingSink.OnMicrophoneRecordedPcmData', [Buffer.alloc(6)]);
    await waitFor(() => got.length === 1);
    sim.fire('DeviceRecordingSink.OnMicrophoneRecordedPcmData', [Buffer.alloc(6)]);
    d('stopRecordingMicrophone')({});
    await new Promise((r) => setTimeout(r, 30));
    assert.deepStrictEqual(got, [6]);
  });
});

test('observers', async (t) => {
  t.beforeEach(freshMachine);

  await t.test('registering the same kind twice answers -1 and keeps the first; kinds are separate', async () => {
    startClass();
    const seen = [];
    assert.equal(d('registerDeviceErrorCallback')({ onDeviceError: (...a) => seen.push(['first', ...a]) }), 0);
    assert.equal(d('registerDeviceErrorCallback')({ onDeviceError: () => seen.push(['second']) }), -1);
    assert.equal(lines('DeviceEngineImpl::RegisterDeviceErrorCallback: already registered').length, 1);
    assert.equal(d('registerDeviceEventCallback')({ onDeviceEvent: (...a) => seen.push(['event', ...a]) }), 0);
    assert.equal(d('registerAudioDeviceDataExceptionCallback')({ onPlayoutDataException: (c) => seen.push(['playout', c]) }), 0);
    sim.fire('DeviceErrorObserver.OnDeviceError', [1, 2, 3]);
    sim.fire('DeviceEventCallback.OnDeviceEvent', [4, 5, 6]);
    sim.fire('AudioDeviceDataExceptionObserver.OnPlayoutDataException', [9]);
    await waitFor(() => seen.length === 3);
    assert.deepStrictEqual(seen, [['first', 1, 2, 3], ['event', 4, 5, 6], ['playout', 9]]);
    assert.equal(d('unregisterDeviceErrorCallback')(), 0);
    assert.equal(d('unregisterDeviceErrorCallback')(), 0);
    assert.equal(sim.fire('DeviceErrorObserver.OnDeviceError', [1, 2, 3]), false);
    assert.equal(d('registerDeviceErrorCallback')({}), 0);
  });

  await t.test('an engine refusal empties the slot', () => {
    startClass();
    sim.script('tavel.LiveDeviceEngine.RegisterDeviceEventCallback', -5);
    assert.equal(d('registerDeviceEventCallback')({}), -1);
    sim.script('tavel.LiveDeviceEngine.RegisterDeviceEventCallback', 0);
    assert.equal(d('registerDeviceEventCallback')({}), 0);
  });
});

test('cached device settings after connecting', async (t) => {
  t.beforeEach(freshMachine);
  const connect = (cached) => {
    startClass();
    assert.equal(addon.engineSdk_connectLivePlayEngineAndConfigDevice({ room_id: 1, user_id: 2 }, '/params', cached), 0);
    return waitFor(() => sim.tally().some((e) => e.url === 'sdk/statistics/timeConsuming/deviceSetting'));
  };

  await t.test('applied in order on the connect thread after the connect, with the analytics event', async () => {
    await connect({
      currentPlayoutDeviceV2: { isDefault: true, guid: 'spk-0' },
      currentRecordDeviceV2: { isDefault: false, guid: 'mic-b' },
      currentCaptureDeviceV2: { name: 'Front camera', guid: 'cam-0' },
      currentCaptureFormat: { width: 640, height: 480, fps: 30, videoColorSpace: 'I420' },
      speakerVolume: 80, micVolume2: 40, agcStatus2: false,
    });
    const seq = sim.journal().map((e) => e.op);
    const after = seq.slice(seq.indexOf('tavel.LivePlayEngine.Connect'));
    assert.deepStrictEqual(after.filter((o) => o.startsWith('tavel.LiveDeviceEngine.')), [
      'tavel.LiveDeviceEngine.SetAudioParameterPath',
      'tavel.LiveDeviceEngine.SetDefaultPlayoutDevice',
      'tavel.LiveDeviceEngine.SetRecordingDevice',
      'tavel.LiveDeviceEngine.SetAgcStatus',
      'tavel.LiveDeviceEngine.SetSpeakerVolume',
      'tavel.LiveDeviceEngine.SetMicVolume',
      'tavel.LiveDeviceEngine.GetCaptureDeviceIndex',
      'tavel.LiveDeviceEngine.SetCaptureDevice',
    ]);
    assert.deepStrictEqual(sim.journal('tavel.LiveDeviceEngine.SetMicVolume')[0].args, [40]);
    const entry = sim.tally().find((e) => e.url === 'sdk/statistics/timeConsuming/deviceSetting');
    assert.equal(entry.strValues.name, 'settingDeviceWithCachedInfo');
    assert.equal(typeof entry.numValues.time, 'number');
  });

  await t.test('automatic gain control on, or micVolume2 -1: the microphone volume is never set', async () => {
    await connect({ micVolume2: 40, agcStatus2: true, speakerVolume: 10 });
    assert.deepStrictEqual(sim.journal('tavel.LiveDeviceEngine.SetAgcStatus')[0].args, [true]);
    assert.deepStrictEqual(opsOf('tavel.LiveDeviceEngine.SetMicVolume'), []);
    freshMachine();
    await connect({ micVolume2: -1, agcStatus2: false });
    assert.deepStrictEqual(opsOf('tavel.LiveDeviceEngine.SetMicVolume'), []);
    assert.deepStrictEqual(opsOf(/SetCaptureDevice|SetPlayoutDevice|SetRecordingDevice/), []);
  });

  await t.test('a failed connect applies nothing', async () => {
    startClass();
    sim.script('tavel.LivePlayEngine.Connect', -2);
    addon.engineSdk_connectLivePlayEngineAndConfigDevice({ room_id: 1 }, '/p', { speakerVolume: 3 });
    await waitFor(() => sim.journal('tavel.LivePlayEngine.Connect').length === 1);
    await new Promise((r) => setTimeout(r, 50));
    assert.deepStrictEqual(opsOf('tavel.LiveDeviceEngine.SetSpeakerVolume'), []);
  });
});
