'use strict';
// screenRecordEngine_* through the stand-in: both recorders, their records,
// audio sources, failures, events and lifetime.
const test = require('node:test');
const assert = require('node:assert/strict');
const {
  addon, sim, waitFor, settle, destroyRecorders, freshRecording, noting, names, lines, opsOf, argsOf, tempDir,
} = require('./recording-helpers');

const s = (name) => addon[`screenRecordEngine_${name}`];
const NEWER = { enableNewScreenRecordEngine20250807: true };
const AUDIO_RECORDING = { 'enableUsingAudioEngineRecording_ScreenRecord4.57.0': true, 'enableUsingAudioEngine4.54.0': true };
const newerOp = (m) => `korin.QXScreenRecordEngineInterface.${m}`;
const classicOp = (m) => `record_engine.RecordEngineInterface.${m}`;

test('without a recorder', async (t) => {
  t.beforeEach(() => freshRecording());

  await t.test('every export but create and the lists logs its line and answers -1', () => {
    const calls = [['destroyScreenCapture'], ['startScreenRecord', {}], ['pauseScreenRecord'], ['resumeScreenRecord'],
      ['stopScreenRecord', true], ['newScreenAudioDataReady', new ArrayBuffer(4)], ['deleteLastSegment'],
      ['getRecordDurationMs']];
    for (const [name, ...args] of calls.slice(1)) assert.equal(s(name)(...args), -1, name);
    const missing = lines('screen record engine is not created yet.');
    assert.equal(missing.length, calls.length - 1);
    assert.ok(missing.every((l) => l.tag === 'EngineAddon' && l.severity === 12));
    assert.equal(s('destroyScreenCapture')(), -1);
    assert.deepEqual(sim.journal(/RecordEngineInterface\.(?!GetSupported)/), []);
  });

  await t.test('the lists need none', () => {
    sim.setDevices({ windows: [{ id: 2 ** 33 + 1, title: 'Whiteboard', width: 800, height: 600 }] });
    assert.deepEqual(s('getWindowsList')(), [{ id: 2 ** 33 + 1, title: 'Whiteboard' }]);
    assert.deepEqual(s('getSupportedCapApiList')('screen'), [1, 2, 3]);
    assert.deepEqual(s('getSupportedCapApiList')('window'), [1, 3]);
    assert.deepEqual(s('getSupportedCapApiList')('camera'), []);
    assert.deepEqual(argsOf(classicOp('GetSupportedCapApiList')), [[0], [1]]);
    assert.throws(() => s('getWindowsList')(1), { message: 'Invalid arguments, no need parameter !' });
  });
});

test('the newer recorder', async (t) => {
  t.beforeEach(() => freshRecording(NEWER));
  t.afterEach(destroyRecorders);

  await t.test('is made by each start; its initialisation does nothing else', () => {
    assert.equal(s('createScreenCapture')(noting(), 'params', '5.1.0'), 0);
    assert.deepEqual(opsOf(/RecordEngineInterface|DeviceEngine|AudioRecording/), ['createNewRecordEngine']);
    assert.equal(s('createScreenCapture')(noting(), 'params', '5.1.0'), -1, 'a second create');
    assert.equal(lines('create screen record engine failed: it is created already').length, 1);
    assert.equal(s('startScreenRecord')({}), 0);
    assert.equal(s('startScreenRecord')({}), 0);
    assert.deepEqual(opsOf(/QXScreenRecordEngineInterface\.(Create|Destroy)/),
      ['CreateScreenRecordEngine', 'DestroyScreenRecordEngine', 'CreateScreenRecordEngine']);
    assert.deepEqual(sim.objects().screenRecordEngines, 1);
  });

  await t.test('reads its three records over their defaults', () => {
    s('createScreenCapture')(noting(), '', '');
    assert.equal(s('startScreenRecord')({}), 0);
    const [engine] = argsOf(newerOp('CreateScreenRecordEngine')).at(-1);
    assert.deepEqual(
      [engine.root_path, engine.audio_device_enable_builtin_aec, engine.audio_device_need_start_playout,
        engine.enable_audio_aec, engine.audio_capture_always_on, engine.record_audio_mode],
      ['', false, true, true, true, -1]);
    const [media] = argsOf(newerOp('StartRecord')).at(-1);
    assert.deepEqual(
      [media.video_enc_width, media.video_enc_height, media.video_enc_fps, media.video_enc_bitrate, media.video_gop_size,
        media.video_gop_size_in_ms, media.video_encode_level, media.audio_enc_bitrate, media.audio_sample_rate,
        media.audio_channel_num, media.file_output_path, media.enable_surface_encoder],
      [1280, 720, 30, 1000000, 30, -1, 'fast', 64000, 16000, 1, '', false]);

    const detect = () => {};
    assert.equal(s('startScreenRecord')({
      rootDir: '/rec', enableAec: false, enableAudioMix: true, audioCaptureAlwaysOn: false, targetWidth: 640,
      targetHeight: 360, videoFps: '12', videoBitrate: 500000, audioSampleRate: 48000, audioChannels: 2,
      videoEncodeLevel: 'slow', windId: 2 ** 33 + 7, excludeWindList: [2 ** 33, 5], updateWhenDirty: 1,
      frameDetectorCfg: { enableDetect: true, alwaysDetect: true, validDetectCnt: 9, accuracy: 7, callbackWithResult: detect },
    }), 0);
    const [engine2] = argsOf(newerOp('CreateScreenRecordEngine')).at(-1);
    assert.deepEqual(
      [engine2.root_path, engine2.enable_audio_aec, engine2.enable_audio_mix, engine2.audio_capture_always_on],
      ['/rec', false, true, false]);
    // The detector's fields that this recorder does not read keep their defaults.
    assert.deepEqual(engine2.frame_detector,
      { enable_detect: true, always_detect: false, valid_detect_cnt: 30, accuracy: 7, detect_interval_ms: 0, result_callback: true });
    const [capture] = argsOf(newerOp('StartCapture')).at(-1);
    assert.deepEqual(
      [capture.width, capture.height, capture.frame_rate, capture.window_or_screen_id, capture.exclude_window_list,
        capture.update_when_dirty],
      [640, 360, 12, 2 ** 33 + 7, [2 ** 33, 5], true]);
    const [media2] = argsOf(newerOp('StartRecord')).at(-1);
    assert.deepEqual(
      [media2.video_enc_width, media2.video_enc_fps, media2.video_enc_bitrate, media2.audio_sample_rate,
        media2.audio_channel_num, media2.video_encode_level],
      [640, 12, 500000, 48000, 1, 'slow']);
  });

  await t.test('a failed InitRecord answers -1, a failed StartCapture its code; neither leaves an engine', () => {
    s('createScreenCapture')(noting(), '', '');
    sim.script(newerOp('InitRecord'), -7, 1);
    assert.equal(s('startScreenRecord')({}), -1);
    assert.equal(lines('ScreenRecordEngineImpl::startRecordUseNewEngine() InitRecord failed')[0].severity, 12);
    assert.equal(sim.objects().screenRecordEngines, 0);
    assert.equal(s('pauseScreenRecord')(), -1);
    assert.equal(lines('ScreenRecordEngineImpl::pauseRecordUseNewEngine failed, inner_engine_ is null').length, 1);
    assert.equal(s('deleteLastSegment')(), -1);
    assert.equal(lines('ScreenRecordEngineImpl::deleteLastSegment() inner_engine_ is null').length, 1);

    sim.script(newerOp('StartCapture'), -9, 1);
    assert.equal(s('startScreenRecord')({}), -9);
    assert.equal(lines('ScreenRecordEngineImpl::startRecordUseNewEngine() StartCapture failed').length, 1);
    assert.equal(sim.objects().screenRecordEngines, 0);
    assert.deepEqual(sim.journal(newerOp('StartRecord')), []);
    assert.equal(s('stopScreenRecord')(true), -1);
    assert.equal(lines('ScreenRecordEngineImpl::stopRecordUseNewEngine failed, inner_engine_ is null').length, 1);
  });

  await t.test('a recording with a pause, a dropped take, and one more after its stop', async (tt) => {
    const dir = tempDir(tt);
    const calls = [];
    s('createScreenCapture')(noting(calls), '', '');
    assert.equal(s('startScreenRecord')({ rootDir: dir, videoFps: 10 }), 0);
    sim.advanceRecordingClock(3000);
    assert.equal(s('pauseScreenRecord')(), 0);
    sim.advanceRecordingClock(2000);
    assert.equal(s('resumeScreenRecord')(), 0);
    sim.advanceRecordingClock(1000);
    assert.equal(s('deleteLastSegment')(), 0);
    sim.advanceRecordingClock(3000);
    assert.equal(s('getRecordDurationMs')(), 6000);
    assert.equal(s('stopScreenRecord')(true), 0);
    await waitFor(() => names(calls).includes('onRecordStopped'));
    assert.deepEqual(names(calls),
      ['onRecordStarted', 'onFirstFrameReady', 'onRecordPaused', 'onRecordResumed', 'onSegmentDeleted', 'onRecordStopped']);
    const file = calls.at(-1)[1];
    assert.equal(file, `${dir}/screen-1.seg`);
    // The paused seconds and the dropped take are not in the recording.
    assert.deepEqual(sim.readSegment(file).spans, [{ startMs: 0, endMs: 3000 }, { startMs: 6000, endMs: 9000 }]);

    calls.length = 0;
    assert.equal(s('startScreenRecord')({ rootDir: dir }), 0);
    assert.equal(s('stopScreenRecord')(false), 0);
    await waitFor(() => names(calls).includes('onRecordStopped'));
    assert.deepEqual(calls.at(-1), ['onRecordStopped', ''], 'a recording not kept has no file');
  });

  await t.test('pause and resume failures are logged with their code', () => {
    s('createScreenCapture')(noting(), '', '');
    s('startScreenRecord')({});
    sim.script(newerOp('PauseRecord'), -4, 1);
    assert.equal(s('pauseScreenRecord')(), -4);
    assert.equal(lines('ScreenRecordEngineImpl::pauseRecordUseNewEngine failed, ret:-4').length, 1);
    assert.equal(s('resumeScreenRecord')(), -100604, 'never paused');
    assert.equal(lines('ScreenRecordEngineImpl::resumeRecordUseNewEngine failed, ret:-100604').length, 1);
  });

  await t.test('events carry their arguments and their delivery lines', async () => {
    const calls = [];
    s('createScreenCapture')(noting(calls), '', '');
    s('startScreenRecord')({});
    await waitFor(() => calls.length === 2);
    calls.length = 0;
    assert.ok(sim.fire('QXScreenRecordEngineCallback.OnError', [2, -5, 'disk full']));
    assert.ok(sim.fire('QXScreenRecordEngineCallback.OnScreenCaptureApiChanged', [3]));
    assert.ok(sim.fire('QXScreenRecordEngineCallback.OnMergeProgress', [40]));
    assert.ok(sim.fire('QXScreenRecordEngineCallback.OnRecordStopped', ['/rec/x.seg']));
    await waitFor(() => calls.length === 4);
    assert.deepEqual(calls, [
      ['onErrorStatus', { errorCode: -5, message: 'disk full' }],
      ['onCaptureApiChanged', { api_type: 3 }],
      ['onMergeProgress', 40],
      ['onRecordStopped', '/rec/x.seg'],
    ]);
    assert.equal(lines('OnError called with level: 2, code: -5, message: disk full')[0].tag, 'RecordEngineCallbackBridge');
    assert.equal(lines('onRecordError code: -5 message: disk full')[0].tag, 'ScreenRecordEngineCallback');
    assert.equal(lines('onCaptureApiChanged :3').length, 1);
  });

  await t.test('frame detector results reach a function, or an object\'s onDetectResultCallback', async () => {
    s('createScreenCapture')(noting(), '', '');
    const got = [];
    s('startScreenRecord')({ frameDetectorCfg: { callbackWithResult: (r) => got.push(['function', r]) } });
    assert.ok(sim.fire('RecordFrameDetector.OnResult', [true, false, true, false, 0xff00ff]));
    s('startScreenRecord')({ frameDetectorCfg: { callbackWithResult: { onDetectResultCallback: (r) => got.push(['object', r]) } } });
    assert.ok(sim.fire('RecordFrameDetector.OnResult', [false, true, false, true, 7]));
    await waitFor(() => got.length === 2);
    assert.deepEqual(got, [
      ['function', { isStatic: true, isBlack: false, isGreen: true, isSolid: false, solidColor: 0xff00ff }],
      ['object', { isStatic: false, isBlack: true, isGreen: false, isSolid: true, solidColor: 7 }],
    ]);
  });

  await t.test('nothing is delivered after destroy, queued or not', async () => {
    const calls = [];
    s('createScreenCapture')(noting(calls), '', '');
    s('startScreenRecord')({});
    await waitFor(() => calls.length === 2);
    calls.length = 0;
    // Queued while JavaScript is busy here.
    for (let i = 0; i < 3; i++) assert.ok(sim.fire('QXScreenRecordEngineCallback.OnMergeProgress', [i]));
    assert.equal(s('destroyScreenCapture')(), 0);
    assert.deepEqual(sim.held().filter((n) => /ScreenRecordEngineCallback|FrameDetector/.test(n)), []);
    assert.deepEqual(sim.objects().screenRecordEngines, 0);
    assert.deepEqual(sim.objects().recordEngines, 0);
    await settle();
    assert.deepEqual(calls, []);
  });
});

test('the classic recorder', async (t) => {
  t.beforeEach(() => freshRecording());
  t.afterEach(destroyRecorders);

  await t.test('its audio source: a device engine from the ticket, or the audio recording when both flags are on', () => {
    assert.equal(s('createScreenCapture')(noting(), 'engine-params', '5.1.0'), 0);
    assert.deepEqual(argsOf('tavel.DeviceEngine.Create'), [[{ engine_params: 'engine-params', sdk_version: '5.1.0', value: 0 }]]);
    assert.deepEqual(opsOf(classicOp('setCallback')), ['setCallback']);
    assert.equal(s('startScreenRecord')({ enableAec: true, rootDir: '/rec', targetWidth: 800, windId: 9 }), 0);
    assert.deepEqual(argsOf('tavel.DeviceEngine.StartRecordingMicrophone'), [['ptr', true]]);
    const [params] = argsOf(classicOp('startRecord'))[0];
    assert.deepEqual([params.root_dir, params.target_width, params.wind_id, params.enable_aec], ['/rec', 800, 9, true]);
    destroyRecorders();

    sim.clearJournal();
    sim.setSourceFlags({ 'enableUsingAudioEngineRecording_ScreenRecord4.57.0': true });
    s('createScreenCapture')(noting(), '', '');
    assert.deepEqual(opsOf(/^(tavel\.DeviceEngine|korin\.AudioRecording)\.Create$/), ['Create'], 'one flag: the device engine');
    assert.equal(sim.journal('korin.AudioRecording.Create').length, 0);
    destroyRecorders();

    sim.clearJournal();
    sim.setSourceFlags(AUDIO_RECORDING);
    s('createScreenCapture')(noting(), '', '');
    assert.equal(lines('using new audio engine').length, 1);
    assert.equal(sim.journal('tavel.DeviceEngine.Create').length, 0);
    assert.equal(s('startScreenRecord')({ enableAec: false }), 0);
    assert.deepEqual(argsOf('korin.AudioRecording.SetSceneName'), [['ScreenRecorder']]);
    const [param] = argsOf('korin.AudioRecording.StartRecording')[0];
    assert.deepEqual([param.scene, param.processing_mask], ['ScreenRecorder', 22]);
  });

  await t.test('audio mix moves a device engine\'s recording to the audio recording', () => {
    s('createScreenCapture')(noting(), '', '');
    assert.equal(s('startScreenRecord')({ enableAudioMix: true }), 0);
    assert.equal(lines('audio mix mode only support new audio engine, switch to new audio engine, this should not happen')[0].severity, 10);
    assert.deepEqual(opsOf(/^(tavel\.DeviceEngine\.(Destroy|StartRecordingMicrophone)|korin\.AudioRecording\.(Create|StartRecording))$/),
      ['Destroy', 'Create', 'StartRecording']);
  });

  await t.test('pause and resume switch processing module 2, unless the flag keeps it on', () => {
    s('createScreenCapture')(noting(), '', '');
    s('startScreenRecord')({});
    assert.equal(s('pauseScreenRecord')(), 0);
    assert.equal(s('resumeScreenRecord')(), 0);
    assert.deepEqual(argsOf('tavel.DeviceEngine.SetAudioProcessingBypass'), [[2, true], [2, false]]);
    assert.deepEqual(opsOf(/RecordEngineInterface\.(pause|resume)Record/), ['pauseRecord', 'resumeRecord']);
    destroyRecorders();

    sim.clearJournal();
    sim.setSourceFlags({ ...AUDIO_RECORDING, enableAGCWhenPauseScreenRecord: true });
    s('createScreenCapture')(noting(), '', '');
    s('startScreenRecord')({});
    s('pauseScreenRecord')();
    s('resumeScreenRecord')();
    assert.deepEqual(sim.journal(/SetAudioProcessingBypass/), []);
  });

  await t.test('a failed microphone start takes the device engine away; the recording starts without audio', () => {
    s('createScreenCapture')(noting(), '', '');
    sim.script('tavel.DeviceEngine.StartRecordingMicrophone', -2, 1);
    assert.equal(s('startScreenRecord')({}), 0);
    assert.equal(lines('StartRecordingMicrophone failed  ret:-2')[0].severity, 12);
    assert.equal(sim.journal('tavel.DeviceEngine.Destroy').length, 1);
    s('pauseScreenRecord')();
    assert.deepEqual(sim.journal(/SetAudioProcessingBypass/), [], 'no audio source to switch');
  });

  await t.test('a stop stops the microphone it started, so that the next start finds it free', () => {
    sim.setSourceFlags(AUDIO_RECORDING);
    s('createScreenCapture')(noting(), '', '');
    for (let i = 0; i < 2; i++) {
      assert.equal(s('startScreenRecord')({}), 0);
      assert.equal(s('stopScreenRecord')(true), 0);
    }
    assert.deepEqual(opsOf(/korin\.AudioRecording\.(Start|Stop)/),
      ['StartMicrophoneDevice', 'StartRecording', 'StopRecording', 'StopMicrophoneDevice',
        'StartMicrophoneDevice', 'StartRecording', 'StopRecording', 'StopMicrophoneDevice']);
    assert.deepEqual(opsOf(/RecordEngineInterface\.(start|stop)Record/), ['startRecord', 'stopRecord', 'startRecord', 'stopRecord']);
  });

  await t.test('the microphone\'s PCM and pushed audio reach the recorder, exactly the bytes viewed', () => {
    s('createScreenCapture')(noting(), '', '');
    s('startScreenRecord')({});
    assert.ok(sim.fire('DeviceRecordingSink.OnMicrophoneRecordedPcmData', [Buffer.alloc(320)]));
    const bytes = new ArrayBuffer(64);
    assert.equal(s('newScreenAudioDataReady')(bytes), 0);
    assert.equal(s('newScreenAudioDataReady')(new Int8Array(bytes, 8, 20)), 0);
    assert.deepEqual(argsOf(classicOp('inputAudioData')), [[320], [64], [20]]);
    for (const wrong of [new Uint8Array(4), Buffer.alloc(4), new DataView(bytes), 'pcm']) {
      assert.throws(() => s('newScreenAudioDataReady')(wrong), { message: 'Expected arguments: arraybuffer or int8array' });
    }
    assert.throws(() => s('newScreenAudioDataReady')(), { message: 'Expected 1 arguments' });
    assert.equal(sim.journal(classicOp('inputAudioData')).length, 3);
  });

  await t.test('segments cannot be deleted', () => {
    s('createScreenCapture')(noting(), '', '');
    s('startScreenRecord')({});
    assert.equal(s('deleteLastSegment')(), -1);
    assert.equal(
      lines('ScreenRecordEngineImpl::deleteLastSegment() deleteLastSegment is not supported in old record engine').length, 1);
  });
});
