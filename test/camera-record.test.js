'use strict';
// cameraRecordEngine_* through the stand-in: creation and its configuration,
// preview frames and their end, recordings, and events shared by type with
// the device modules.
const test = require('node:test');
const assert = require('node:assert/strict');
const {
  addon, sim, waitFor, settle, destroyRecorders, freshRecording, noting, names, lines, argsOf, tempDir,
} = require('./recording-helpers');

const c = (name) => addon[`cameraRecordEngine_${name}`];
const op = (m) => `record_engine.CameraRecordEngineInterface.${m}`;

test('camera recorder: creation and refusals', async (t) => {
  t.beforeEach(() => freshRecording());
  t.afterEach(destroyRecorders);

  await t.test('without one each export logs its own line and answers -1', () => {
    const calls = [['startRecord', { rootDir: '/r' }, {}, 'startRecord() engine is null'],
      ['stopRecord', true, 'stopRecord() engine is null'], ['startPreview', { cameraGUID: 'g' }, {}, 'startPreview() engine is null'],
      ['stopPreview', 'stopPreview() engine is null']];
    for (const call of calls) {
      const text = call.pop();
      assert.equal(c(call[0])(...call.slice(1)), -1, call[0]);
      const [line] = lines(text);
      assert.ok(line, text);
      assert.equal(line.tag, 'CameraRecordEngineImpl');
    }
    assert.equal(c('destroyCameraRecorder')(), -1);
    assert.deepEqual(sim.journal(/CameraRecordEngineInterface/), []);
  });

  await t.test('the configuration and the initialisation\'s strings; a second create is refused', () => {
    assert.equal(c('createCameraRecorder')(noting(), {
      recordMode: '2', placeHolderImagePath: 'C:/pictures/away.png', engineParams: '{"a":1}', sdkVersion: '5.1.0',
    }), 0);
    assert.deepEqual(argsOf(op('createNewCameraRecordEngine')), [[{ record_mode: 2, place_holder_image_path: 'C:/pictures/away.png' }]]);
    assert.deepEqual(argsOf(op('init')), [['{"a":1}', '5.1.0']]);
    assert.equal(c('createCameraRecorder')(noting(), {}), -1);
    assert.equal(lines('CreateCameraRecordEngine already created ').length, 1);
    assert.equal(sim.objects().cameraRecordEngines, 1);
    destroyRecorders();

    // Absent keys keep the engine's defaults; the initialisation gets empty strings.
    sim.clearJournal();
    sim.script(op('init'), -6, 1);
    assert.equal(c('createCameraRecorder')(noting(), {}), -6);
    assert.deepEqual(argsOf(op('createNewCameraRecordEngine')), [[{ record_mode: 0, place_holder_image_path: '' }]]);
    assert.deepEqual(argsOf(op('init')), [['', '']]);
  });

  await t.test('an engine that cannot be made: -1, and the recorder stays until destroyed', () => {
    sim.script(op('createNewCameraRecordEngine'), false, 1);
    assert.equal(c('createCameraRecorder')(noting(), {}), -1);
    assert.equal(c('startPreview')({ cameraGUID: 'g' }, {}), -1);
    assert.equal(lines('startPreview() engine_ is null').length, 1);
    assert.equal(c('createCameraRecorder')(noting(), {}), -1);
    assert.equal(c('destroyCameraRecorder')(), 0);
    assert.equal(c('createCameraRecorder')(noting(), {}), 0);
  });

  await t.test('its messages as written', () => {
    assert.throws(() => c('createCameraRecorder')({}), { message: 'Expected 3 arguments: callback, params, sdk_version' });
    assert.throws(() => c('startPreview')({}), { message: 'Expected 1 arguments: config, callback' });
    assert.throws(() => c('stopPreview')(1), { message: 'Expected 0 arguments' });
    assert.throws(() => c('destroyCameraRecorder')(1), { message: 'Expected 0 arguments' });
    assert.throws(() => c('stopRecord')('yes'), { message: 'Expected 1 arguments: need_save' });
    assert.throws(() => c('startRecord')({}), { message: 'Expected 2 arguments: config, callback' });
  });
});

test('camera recorder: preview and recording', async (t) => {
  t.beforeEach(() => freshRecording());
  t.afterEach(destroyRecorders);

  await t.test('preview frames reach onVideoFrame of the preview\'s object until stopPreview', async () => {
    const events = [];
    c('createCameraRecorder')(noting(events), {});
    const frames = [];
    assert.equal(c('startPreview')({ cameraGUID: 'usb-1', previewWidth: 320, previewFps: 15 },
      { onVideoFrame: (f) => frames.push({ ...f, bytes: Buffer.from(f.buffer) }) }), 0);
    assert.deepEqual(argsOf(op('startPreview')),
      [[{ camera_guid: 'usb-1', preview_width: 320, preview_height: 480, preview_fps: 15, scale_mode: 0 }]]);
    assert.ok(sim.pushFrame('sink:cameraRecorder', 8, 4, 3));
    await waitFor(() => frames.length === 1);
    assert.deepEqual(
      [frames[0].userId, frames[0].videoTrackType, frames[0].width, frames[0].height], [0, 0, 8, 4]);
    assert.deepEqual(frames[0].bytes, sim.pattern(8, 4, 3));
    await waitFor(() => names(events).includes('onPreviewStarted'));
    assert.equal(c('stopPreview')(), 0);
    await waitFor(() => names(events).includes('onPreviewStopped'));
    assert.equal(sim.pushFrame('sink:cameraRecorder', 8, 4, 3), false, 'the engine let go of the sink');
  });

  await t.test('no frame is delivered once stopPreview returned, while frames flow', async () => {
    c('createCameraRecorder')(noting(), {});
    let delivered = 0;
    c('startPreview')({ cameraGUID: 'g' }, { onVideoFrame() { delivered++; } });
    const flood = sim.pushFrames('sink:cameraRecorder', 64, 36, 4000, 4);
    await waitFor(() => delivered > 20);
    assert.equal(c('stopPreview')(), 0);
    const atStop = delivered;
    await flood;
    await settle();
    assert.equal(delivered, atStop);
  });

  await t.test('a preview after a stop goes to its own object only', async () => {
    c('createCameraRecorder')(noting(), {});
    const seen = [];
    c('startPreview')({ cameraGUID: 'g' }, { onVideoFrame: () => seen.push('first') });
    c('stopPreview')();
    c('startPreview')({ cameraGUID: 'g' }, { onVideoFrame: () => seen.push('second') });
    assert.ok(sim.pushFrame('sink:cameraRecorder', 4, 2, 1));
    await waitFor(() => seen.length === 1);
    await settle();
    assert.deepEqual(seen, ['second']);
  });

  await t.test('a recording\'s start, stop and error reach the object given with it', async (tt) => {
    const dir = tempDir(tt);
    const events = [];
    c('createCameraRecorder')(noting(events), {});
    const first = [];
    assert.equal(c('startRecord')({ rootDir: dir, recordWidth: 1280, recordAudioBitrate: 96000 }, noting(first)), 0);
    assert.deepEqual(argsOf(op('startRecord'))[0][0],
      { output_dir: dir, record_width: 1280, record_height: 480, scale_mode: 0, video_bitrate: 800000, audio_bitrate: 96000 });
    sim.advanceRecordingClock(1500);
    await waitFor(() => first.length === 1);
    assert.ok(sim.fire('CameraRecordCallback.OnRecordError', [-3, 'disk slow']));
    assert.ok(sim.fire('CameraRecordEngineCallback.OnRecordProgress', [1500]));
    assert.equal(c('stopRecord')(true), 0);
    await waitFor(() => names(first).includes('onRecordStopped'));
    assert.deepEqual(first, [['onRecordStarted'], ['onRecordError', -3, 'disk slow'], ['onRecordStopped', `${dir}/camera-1.seg`]]);
    assert.deepEqual(sim.readSegment(first[2][1]).spans, [{ startMs: 0, endMs: 1500 }]);
    assert.deepEqual(events, [['onRecordProgress', 1500]]);

    // The next recording's events go to its own object only.
    const second = [];
    assert.equal(c('startRecord')({ rootDir: dir }, noting(second)), 0);
    assert.equal(c('stopRecord')(false), 0);
    await waitFor(() => names(second).includes('onRecordStopped'));
    assert.deepEqual(second, [['onRecordStarted'], ['onRecordStopped', '']]);
    assert.equal(first.length, 3);
  });
});

test('a start refused while recording leaves the recording\'s own object in place', async (t) => {
  freshRecording();
  t.after(destroyRecorders);
  c('createCameraRecorder')(noting(), {});
  const running = [];
  const refused = [];
  assert.equal(c('startRecord')({ rootDir: '' }, noting(running)), 0);
  assert.equal(c('startRecord')({ rootDir: '' }, noting(refused)), -100604);
  // Its object is gone by now: the engine must not have kept it.
  assert.equal(c('stopRecord')(false), 0);
  await waitFor(() => names(running).includes('onRecordStopped'));
  assert.deepEqual(names(running), ['onRecordStarted', 'onRecordStopped']);
  assert.deepEqual(refused, []);
});

test('device modules and the camera recorder share an item type, not their events', async (t) => {
  t.beforeEach(() => freshRecording());
  t.afterEach(destroyRecorders);

  const queueBoth = () => {
    // Fired while JavaScript is busy here: both are queued when one goes.
    assert.ok(sim.fire('DeviceEngineObserver.OnAudioInputDeviceChanged', [1]));
    assert.ok(sim.fire('CameraRecordEngineCallback.OnCameraError', [-1, 'unplugged']));
    assert.ok(sim.fire('DeviceEngineObserver.OnAudioInputDeviceChanged', [2]));
    assert.ok(sim.fire('CameraRecordEngineCallback.OnCameraError', [-2, 'busy']));
  };

  await t.test('destroying the camera recorder keeps the module\'s queued events', async () => {
    const module = [];
    const camera = [];
    const handle = addon.deviceEngine_createDeviceModule(noting(module), '');
    c('createCameraRecorder')(noting(camera), {});
    queueBoth();
    assert.equal(c('destroyCameraRecorder')(), 0);
    await waitFor(() => module.length === 2);
    await settle();
    assert.deepEqual(module, [['onAudioInputDeviceChanged', 1], ['onAudioInputDeviceChanged', 2]]);
    assert.deepEqual(camera, []);
    addon.deviceEngine_destroyDeviceModule(handle);
  });

  await t.test('destroying the module keeps the camera recorder\'s queued events', async () => {
    const module = [];
    const camera = [];
    const handle = addon.deviceEngine_createDeviceModule(noting(module), '');
    c('createCameraRecorder')(noting(camera), {});
    queueBoth();
    addon.deviceEngine_destroyDeviceModule(handle);
    await waitFor(() => camera.length === 2);
    await settle();
    assert.deepEqual(camera, [['onCameraError', -1, 'unplugged'], ['onCameraError', -2, 'busy']]);
    assert.deepEqual(module, []);
  });

  await t.test('destroying one module keeps another module\'s queued events', async () => {
    const kept = [];
    const gone = [];
    const first = addon.deviceEngine_createDeviceModule(noting(gone), '');
    assert.ok(sim.fire('DeviceEngineObserver.OnAudioOutputDeviceChanged', [5]));
    // The second module's observer is the one the stand-in holds from here on.
    const second = addon.deviceEngine_createDeviceModule(noting(kept), '');
    assert.ok(sim.fire('DeviceEngineObserver.OnAudioOutputDeviceChanged', [6]));
    addon.deviceEngine_destroyDeviceModule(first);
    await waitFor(() => kept.length === 1);
    await settle();
    assert.deepEqual(kept, [['onAudioOutputDeviceChanged', 6]]);
    assert.deepEqual(gone, []);
    addon.deviceEngine_destroyDeviceModule(second);
  });
});
