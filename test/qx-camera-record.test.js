'use strict';
// The camera record engine class and native video sources through the
// stand-in: lines of the refusals that never throw, the engine's answers and
// events, pictures, preview frames as ABGR pixels, getNativeHandler()
// numbers, and what stays allocated while the engine may still call it.
const test = require('node:test');
const assert = require('node:assert/strict');
const path = require('node:path');
const fs = require('node:fs');
const { execFileSync } = require('node:child_process');
const { addon, sim, waitFor, settle, freshRecording, noting, names, lines, opsOf, argsOf, tempDir } = require('./recording-helpers');
const { root, underAsan } = require('./helpers');

const TAG = 'QXCameraRecordEngine';
const errorsOf = (tag) => sim.logLines().filter((l) => l.tag === tag && l.severity === 12).map((l) => l.text);

function camera(t, config = {}) {
  const h = addon.QXCameraRecordEngine_create({ rootDir: tempDir(t), recordMode: 0, ...config });
  assert.ok(Number.isSafeInteger(h) && h > 2 ** 32, String(h));
  t.after(() => addon.QXCameraRecordEngine_destroy(h));
  return h;
}

function source(t, listener) {
  const h = addon.QXVideoFromNativeSource_create(listener);
  assert.ok(Number.isSafeInteger(h) && h > 2 ** 32, String(h));
  t.after(() => addon.QXVideoFromNativeSource_destroy(h));
  return h;
}

const view = (fn) => ({ viewRender: { nativeSource: { getNativeHandler: fn } } });
// The n-th camera engine since the reset holds its sink and its callback under these names.
const sinkOf = (n) => `sink:qxCamera:${n}`;
const eventsOf = (n) => `QXCameraRecordEngineCallback:${n}`;

test('create: invalid arguments, a failing InitRecord, and what create hands the engine', async (t) => {
  freshRecording();
  assert.equal(addon.QXCameraRecordEngine_create({ rootDir: '/r', recordMode: 0 }, 1), -1);
  assert.equal(addon.QXCameraRecordEngine_create({ recordMode: 0 }), -1);
  assert.equal(addon.QXCameraRecordEngine_create({ rootDir: '/r' }), -1);
  assert.equal(addon.QXCameraRecordEngine_create({ rootDir: 5, recordMode: 0 }), -1);
  assert.equal(addon.QXCameraRecordEngine_create({ rootDir: '/r', recordMode: 0, pauseWithSegment: 'yes' }), -1);
  assert.equal(addon.QXCameraRecordEngine_create({ get rootDir() { throw new Error('getter'); }, recordMode: 0 }), -1);
  assert.deepEqual(errorsOf(TAG), Array(6).fill('QXCameraRecordEngine_create invalid arguments'));
  assert.deepEqual(opsOf(/QXCameraRecordEngineInterface/), [], 'nothing reached the engine');

  sim.script('korin.QXCameraRecordEngineInterface.InitRecord', -100603, 1);
  sim.clearLogLines();
  assert.equal(addon.QXCameraRecordEngine_create({ rootDir: '/r', recordMode: 0 }), 0);
  assert.deepEqual(opsOf(/QXCameraRecordEngineInterface/), ['CreateCameraRecordEngine', 'InitRecord', 'DestroyCameraRecordEngine']);
  assert.equal(sim.objects().qxCameraRecordEngines || 0, 0, 'nothing left');
  assert.deepEqual(errorsOf(TAG), ['QXCameraRecordEngine_create failed, ret-100603']);

  sim.script('korin.QXCameraRecordEngineInterface.CreateCameraRecordEngine', false, 1);
  sim.clearLogLines();
  assert.equal(addon.QXCameraRecordEngine_create({ rootDir: '/r', recordMode: 0 }), 0);
  assert.deepEqual(errorsOf('QXCameraRecordEngineAddon'), ['InitRecord failed, inner_engine_ is nullptr']);

  sim.clearJournal();
  const h = camera(t, { rootDir: '/lessons', recordMode: 3, pauseWithSegment: true, insertPicturePathWhenCloseCamera: '/p.png' });
  const [config] = argsOf('korin.QXCameraRecordEngineInterface.CreateCameraRecordEngine')[0];
  assert.equal(config.root_path, '/lessons');
  assert.equal(config.record_mode, 3);
  assert.equal(config.pause_with_segment, true);
  assert.equal(config.insert_picture_path_when_close_camera, '/p.png');
  assert.equal(config.audio_device_need_start_playout, false, 'absent keys keep the default');
  const second = addon.QXCameraRecordEngine_create({ rootDir: '/lessons', recordMode: 0 });
  assert.notEqual(second, h, 'every engine its own number');
  assert.equal(addon.QXCameraRecordEngine_destroy(second), 0);
});

test('handles: 0, stale and forged numbers each get their line and -1, the engine untouched', async (t) => {
  freshRecording();
  const h = camera(t);
  addon.QXCameraRecordEngine_destroy(h);
  const other = camera(t);  // made between the destroy and the stale number's use
  sim.clearLogLines();
  sim.clearJournal();
  assert.equal(addon.QXCameraRecordEngine_stopRecord(0, true), -1);
  assert.equal(addon.QXCameraRecordEngine_destroy(0), -1);
  assert.equal(addon.QXCameraRecordEngine_pauseRecord(h), -1);
  assert.equal(addon.QXCameraRecordEngine_getRecordDurationMs(12345), -1);
  assert.equal(addon.QXVideoFromNativeSource_destroy(0), -1);
  assert.equal(addon.QXVideoFromNativeSource_destroy(other), -1, 'a camera is no native source');
  assert.deepEqual(sim.logLines().map((l) => l.text), [
    'QXCameraRecordEngine_stopRecord record_engine is null',
    'QXCameraRecordEngine_destroy record engine is null',
    'QXCameraRecordEngine_pauseRecord: not a live camera record engine handle',
    'QXCameraRecordEngine_getRecordDurationMs: not a live camera record engine handle',
    'QXVideoFromNativeSource_destroy native source is null',
    'QXVideoFromNativeSource_destroy: not a live native video source handle',
  ]);
  assert.deepEqual(sim.journal(), []);
  assert.equal(addon.QXCameraRecordEngine_getRecordDurationMs(other), 0, 'the new engine is untouched');
});

test('a recording: configs as the engine gets them, events with their arguments, failures logged', async (t) => {
  freshRecording();
  const h = camera(t);
  const calls = [];
  assert.equal(addon.QXCameraRecordEngine_registerRecordListener(h, noting(calls)), 0);
  assert.equal(addon.QXCameraRecordEngine_startPreview(h, { cameraDeviceId: 'cam', previewWidth: 64, previewHeight: 48, previewFps: 15 }), 0);
  assert.deepEqual(argsOf('korin.QXCameraRecordEngineInterface.StartCamera')[0][0],
    { camera_device_id: 'cam', preview_width: 64, preview_height: 48, preview_fps: 15, sink: null });
  assert.equal(addon.QXCameraRecordEngine_switchCamera(h, { isFront: false }), 0);
  assert.equal(addon.QXCameraRecordEngine_startRecord(h, { encWidth: 320, encHeight: 180, encFps: 10, encVideoBitrate: 5 }), 0);
  const [record] = argsOf('korin.QXCameraRecordEngineInterface.StartRecord')[0];
  assert.deepEqual([record.enc_width, record.enc_height, record.enc_fps, record.enc_video_bitrate, record.enc_audio_bitrate], [320, 180, 10, 5, 0]);
  sim.advanceRecordingClock(3000);
  assert.equal(addon.QXCameraRecordEngine_pauseRecord(h), 0);
  sim.advanceRecordingClock(2000);
  assert.equal(addon.QXCameraRecordEngine_resumeRecord(h), 0);
  sim.advanceRecordingClock(1000);
  assert.equal(addon.QXCameraRecordEngine_getRecordDurationMs(h), 4000);
  assert.equal(addon.QXCameraRecordEngine_stopRecord(h, true), 0);
  assert.equal(addon.QXCameraRecordEngine_stopPreview(h), 0);
  await waitFor(() => calls.length >= 7, 5000, 'events');
  sim.fire(`${eventsOf(1)}.OnError`, [2, -7, 'camera lost']);
  sim.fire(`${eventsOf(1)}.OnMergeProgress`, [55]);
  await waitFor(() => calls.length >= 9, 5000, 'fired events');
  assert.deepEqual(names(calls), ['onPreviewStarted', 'onCameraSwitched', 'onRecordStarted', 'onRecordPaused', 'onRecordResumed',
    'onRecordStopped', 'onPreviewStopped', 'onError', 'onMergeProgress']);
  assert.deepEqual(calls[1][1], { deviceId: 'back-guid', deviceName: 'Back Camera', deviceType: 1, isFront: false });
  assert.match(calls[5][1], /qxcamera-1\.seg$/);
  assert.deepEqual(sim.readSegment(calls[5][1]).spans, [{ startMs: 0, endMs: 3000 }, { startMs: 5000, endMs: 6000 }]);
  assert.deepEqual(calls.slice(7), [['onError', 2, -7, 'camera lost'], ['onMergeProgress', 55]]);

  // Engine failures: logged and answered; switchCamera and the duration without a line.
  sim.clearLogLines();
  assert.equal(addon.QXCameraRecordEngine_pauseRecord(h), -100604);
  sim.script('korin.QXCameraRecordEngineInterface.SwitchCamera', -9, 1);
  assert.equal(addon.QXCameraRecordEngine_switchCamera(h, { isFront: true }), -9);
  assert.deepEqual(errorsOf(TAG), ['QXCameraRecordEngine_pauseRecord failed, ret-100604']);
  // Records of the wrong shape: refused by their line, never thrown.
  assert.equal(addon.QXCameraRecordEngine_startRecord(h, { encWidth: '320' }), -1);
  assert.equal(addon.QXCameraRecordEngine_switchCamera(h, { isFront: 1 }), -1);
  assert.equal(addon.QXCameraRecordEngine_startPreview(h, { previewFps: {} }), -1);
  assert.deepEqual(errorsOf(TAG).slice(1), ['QXCameraRecordEngine_startRecord invalid arguments',
    'QXCameraRecordEngine_switchCamera invalid arguments', 'QXCameraRecordEngine_startPreview invalid arguments']);
});

test('a missing listener method is a line; a second listener replaces the first', async (t) => {
  freshRecording();
  const h = camera(t);
  const first = [];
  addon.QXCameraRecordEngine_registerRecordListener(h, { onRecordStarted: () => first.push('started') });
  sim.fire(`${eventsOf(1)}.OnRecordPaused`, []);
  sim.fire(`${eventsOf(1)}.OnRecordStarted`, []);
  await waitFor(() => first.length === 1, 5000, 'the first listener');
  assert.equal(lines('onRecordPaused callback is empty').length, 1);
  const second = [];
  addon.QXCameraRecordEngine_registerRecordListener(h, noting(second));
  sim.fire(`${eventsOf(1)}.OnRecordStarted`, []);
  sim.fire(`${eventsOf(1)}.OnSegmentDeleted`, []);
  await waitFor(() => second.length === 2, 5000, 'the second listener');
  await settle();
  assert.deepEqual(first, ['started']);
  assert.deepEqual(names(second), ['onRecordStarted', 'onSegmentDeleted']);
  assert.deepEqual(opsOf(/SetCallback/), ['SetCallback', 'SetCallback']);
});

test('pictures: the bytes the engine took, once, to the object given; a failure carries none', async (t) => {
  freshRecording();
  const h = camera(t);
  addon.QXCameraRecordEngine_startPreview(h, { previewWidth: 40, previewHeight: 30 });
  const got = [];
  assert.equal(addon.QXCameraRecordEngine_takePicture(h, { picWidth: 8, picHeight: 4, needMirror: 1, onTakePictureResult: (p) => got.push(p) }), 0);
  assert.equal(addon.QXCameraRecordEngine_takePicture(h, { onTakePictureResult: (p) => got.push(p) }), 0);
  await waitFor(() => got.length === 2, 5000, 'pictures');
  const byWidth = Object.fromEntries(got.map((p) => [p.width, p]));
  assert.ok(byWidth[8].data instanceof ArrayBuffer);
  assert.deepEqual(Buffer.from(byWidth[8].data), Buffer.from(sim.cameraPicture(8, 4, true)));
  assert.deepEqual([byWidth[40].height, byWidth[40].errorCode, byWidth[40].type], [30, 0, 1]);
  assert.deepEqual(Buffer.from(byWidth[40].data), Buffer.from(sim.cameraPicture(40, 30, false)));
  sim.setRecordingTiming({ pictureDelayMs: -1 });
  const failed = [];
  addon.QXCameraRecordEngine_takePicture(h, { onTakePictureResult: (p) => failed.push(p) });
  sim.fire('QXTakePictureCallback:3.OnTakePictureResult', [-5]);
  await waitFor(() => failed.length === 1, 5000, 'the failed picture');
  assert.equal(failed[0].errorCode, -5);
  assert.equal(failed[0].data.byteLength, 0);
  await settle();
  assert.equal(got.length, 2, 'each object heard once');
});

test('native source: ABGR pixels from BGRA and I420 frames, the newest only, a failed conversion dropped', async (t) => {
  freshRecording();
  const h = camera(t);
  const frames = [];
  const s = source(t, { onNativeFrame: (f) => frames.push(f) });
  assert.equal(addon.QXCameraRecordEngine_startPreview(h, view(() => s)), 0);
  const [w, hh] = [34, 20];
  const expected = sim.abgrOf(w, hh, 7);
  assert.ok(sim.pushFrame(sinkOf(1), w, hh, 7));
  await waitFor(() => frames.length === 1, 5000, 'a BGRA frame');
  assert.ok(sim.pushFrame(sinkOf(1), w, hh, 7, 'i420'));
  await waitFor(() => frames.length === 2, 5000, 'an I420 frame');
  for (const [f, type] of [[frames[0], 2], [frames[1], 1]]) {
    assert.deepEqual([f.width, f.height, f.bufferType, f.dataBuffer.byteLength], [w, hh, type, w * hh * 4]);
    assert.deepEqual(Buffer.from(f.dataBuffer), expected, `from format ${type}`);
  }
  // R, G, B of a pixel inside a flat area of the pattern: the BGRA source's B, G, R.
  const pattern = sim.pattern(w, hh, 7);
  const at = (2 * w + 2) * 4;
  const abgr = Buffer.from(frames[0].dataBuffer);
  for (let c = 0; c < 3; c++) assert.ok(Math.abs(abgr[at + c] - pattern[at + 2 - c]) <= 6, `channel ${c}`);

  // JavaScript busy: five frames, one delivery of the newest.
  frames.length = 0;
  for (let seed = 1; seed <= 5; seed++) sim.pushFrame(sinkOf(1), w, hh, seed);
  await waitFor(() => frames.length === 1, 5000, 'the newest frame');
  await settle();
  assert.equal(frames.length, 1);
  assert.deepEqual(Buffer.from(frames[0].dataBuffer), sim.abgrOf(w, hh, 5));

  sim.script('korin.ConvertToI420', false, 1);
  sim.clearLogLines();
  sim.pushFrame(sinkOf(1), w, hh, 9);
  await waitFor(() => lines('Failed to convert video frame to I420').length === 1, 5000, 'the failed conversion');
  sim.pushFrame(sinkOf(1), w, hh, 9, 'i420');  // I420 needs no conversion
  await waitFor(() => frames.length === 2, 5000, 'the I420 frame after a failed conversion');
  assert.equal(lines('Failed to convert video frame to I420').length, 1);
  assert.equal(frames[1].bufferType, 1);

  const quiet = source(t, {});
  assert.equal(addon.QXCameraRecordEngine_stopPreview(h), 0);
  assert.equal(addon.QXCameraRecordEngine_startPreview(h, view(() => quiet)), 0);
  sim.pushFrame(sinkOf(1), 4, 4, 1);
  await waitFor(() => lines('OnFrame callback is empty').length === 1, 5000, 'the missing method line');
});

test('getNativeHandler: only a live native source is a sink; anything else leaves the engine untouched', async (t) => {
  freshRecording();
  const h = camera(t);
  const stale = addon.QXVideoFromNativeSource_create({});
  addon.QXVideoFromNativeSource_destroy(stale);
  const live = source(t, {});  // made between the destroy and the stale number's use
  const bad = [
    view(() => stale), view(() => live + 1), view(() => 0), view(() => 1.5), view(() => String(live)), view(() => h),
    view(() => { throw new Error('no sink'); }), { viewRender: {} }, { viewRender: { nativeSource: {} } },
    { viewRender: { nativeSource: { getNativeHandler: 7 } } }, { viewRender: 3 },
  ];
  for (const config of bad) {
    sim.clearLogLines();
    sim.clearJournal();
    assert.equal(addon.QXCameraRecordEngine_startPreview(h, config), -1);
    assert.deepEqual(errorsOf(TAG), ['StartCamera failed, viewRender is not a valid QXVideoSink']);
    assert.deepEqual(sim.journal(), [], 'the engine was not called');
  }
  // A handler that destroys its engine, or the source it is about to name.
  const doomed = camera(t);
  sim.clearJournal();
  assert.equal(addon.QXCameraRecordEngine_startPreview(doomed, view(() => { addon.QXCameraRecordEngine_destroy(doomed); return live; })), -1);
  assert.deepEqual(opsOf(/StartCamera/), []);
  assert.equal(lines('QXCameraRecordEngine_startPreview: not a live camera record engine handle').length, 1);
  const brief = addon.QXVideoFromNativeSource_create({});
  assert.equal(addon.QXCameraRecordEngine_startPreview(h, view(() => { addon.QXVideoFromNativeSource_destroy(brief); return brief; })), -1);
  assert.deepEqual(opsOf(/StartCamera/), []);
  assert.equal(addon.QXCameraRecordEngine_startPreview(h, view(() => live)), 0);
});

test('a native source destroyed while previewing hears nothing more and stays allocated until its engine goes', async (t) => {
  freshRecording();
  const h = addon.QXCameraRecordEngine_create({ rootDir: tempDir(t), recordMode: 0 });
  const frames = [];
  const s = addon.QXVideoFromNativeSource_create({ onNativeFrame: (f) => frames.push(f) });
  addon.QXCameraRecordEngine_startPreview(h, view(() => s));
  sim.pushFrame(sinkOf(1), 8, 8, 1);
  await waitFor(() => frames.length === 1, 5000, 'a frame');
  sim.clearLogLines();
  assert.equal(addon.QXVideoFromNativeSource_destroy(s), 0);
  assert.ok(sim.pushFrame(sinkOf(1), 8, 8, 2), 'the engine still draws into it');
  await settle();
  assert.equal(frames.length, 1);
  assert.equal(lines('QXVideoFromNativeSourceAddon destroyed').length, 0, 'freed under the engine');
  source(t, {});  // made between the destroy and the old number's use
  assert.equal(addon.QXVideoFromNativeSource_destroy(s), -1, 'its number is stale');
  assert.equal(lines('QXVideoFromNativeSource_destroy: not a live native video source handle').length, 1);
  addon.QXCameraRecordEngine_destroy(h);
  assert.deepEqual(sim.logLines().map((l) => l.text).filter((x) => /destroyed$/.test(x)),
    ['QXCameraRecordEngineAddon destroyed', 'QXVideoFromNativeSourceAddon destroyed']);
});

test('surface sinks: one per surface preview, kept until the engine goes', async (t) => {
  freshRecording();
  const h = addon.QXCameraRecordEngine_create({ rootDir: tempDir(t), recordMode: 0 });
  assert.equal(addon.QXCameraRecordEngine_startPreview(h, { surfaceId: 'a' }), 0);
  sim.pushFrame(sinkOf(1), 4, 4, 1);
  assert.equal(addon.QXCameraRecordEngine_stopPreview(h), 0);
  assert.equal(addon.QXCameraRecordEngine_startPreview(h, { surfaceId: 'b' }), 0);
  sim.pushFrame(sinkOf(1), 4, 4, 1);
  assert.deepEqual(sim.surfaces(), { a: 1, b: 1 });
  assert.equal(sim.objects().surfaceSinks, 2, 'the replaced sink is kept');
  sim.script('korin.QXSurfaceRenderSinkInterface.Create', false, 1);
  addon.QXCameraRecordEngine_stopPreview(h);
  assert.equal(addon.QXCameraRecordEngine_startPreview(h, { surfaceId: 'c' }), -1);
  addon.QXCameraRecordEngine_destroy(h);
  assert.equal(sim.objects().surfaceSinks || 0, 0);
  const ops = opsOf(/QXSurfaceRenderSinkInterface|DestroyCameraRecordEngine/);
  assert.deepEqual(ops.slice(-3), ['DestroyCameraRecordEngine', 'Destroy', 'Destroy'], 'the engine goes first');
});

test('korin::QXCameraRecordEngineAddon is a public symbol of the module', { skip: process.platform !== 'linux' }, () => {
  let out;
  try {
    out = execFileSync('nm', ['-DC', '--defined-only', path.join(root, 'build', 'Release', 'lumen_engine_addon.node')], { encoding: 'utf8' });
  } catch {
    return;  // no binutils
  }
  for (const member of ['QXCameraRecordEngineAddon(napi_env__*, korin::RecordEngineConfig const&)', '~QXCameraRecordEngineAddon()',
    'StartCamera(', 'TakePicture(', 'RegisterEngineCallback(napi_value__*)', 'GetRecordDurationMs()']) {
    assert.ok(out.includes(`korin::QXCameraRecordEngineAddon::${member}`), member);
  }
  assert.ok(fs.existsSync(path.join(root, 'src', 'QXRecordEngine', 'qx_camera_record_engine_addon.h')));
});

test('leaks: 1,000 engines with sources, pictures and listeners come and go', async (t) => {
  freshRecording();
  const dir = tempDir(t);
  const round = async (n) => {
    for (let i = 0; i < n; i++) {
      const h = addon.QXCameraRecordEngine_create({ rootDir: dir, recordMode: 0 });
      const s = addon.QXVideoFromNativeSource_create({ onNativeFrame() {} });
      addon.QXCameraRecordEngine_registerRecordListener(h, {});
      addon.QXCameraRecordEngine_registerRecordListener(h, {});
      addon.QXCameraRecordEngine_startPreview(h, view(() => s));
      addon.QXCameraRecordEngine_takePicture(h, { picWidth: 4, picHeight: 4, onTakePictureResult() {} });
      addon.QXVideoFromNativeSource_destroy(s);
      addon.QXCameraRecordEngine_destroy(h);
    }
    await settle();
  };
  await round(300);
  global.gc?.();
  const before = process.memoryUsage().rss;
  await round(1000);
  global.gc?.();
  const grown = (process.memoryUsage().rss - before) / 2 ** 20;
  t.diagnostic(`RSS growth over 1,000 rounds: ${grown.toFixed(1)} MB`);
  assert.equal(sim.objects().qxCameraRecordEngines || 0, 0);
  assert.equal(sim.objects().surfaceSinks || 0, 0);
  // Under the sanitizer build freed memory is held in quarantine: RSS says nothing there.
  if (!underAsan()) assert.ok(grown < 40, `RSS grew ${grown.toFixed(1)} MB`);
});
