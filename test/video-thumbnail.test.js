'use strict';
// The thumbnail tool through the stand-in: positions, the engine's row
// layout, request defaults, overlapping requests, refusals and release
// with thumbnails on their way.
const test = require('node:test');
const assert = require('node:assert/strict');
const path = require('node:path');
const { addon, sim, waitFor, settle, freshRecording, lines, argsOf, tempDir } = require('./recording-helpers');

const errors = () => sim.logLines().filter((l) => l.severity === 12).map(({ tag, text }) => `${tag}: ${text}`);

// A tool on a 10 s segment file whose seconds 3 to 5 were paused.
function toolOn(t) {
  const media = path.join(tempDir(t), 'lesson.seg');
  assert.ok(sim.writeSegment(media, { width: 320, height: 180, fps: 10, spans: [{ startMs: 0, endMs: 3000 }, { startMs: 5000, endMs: 12000 }] }));
  const tool = addon.videoThumbnailTool_create();
  assert.ok(Number.isSafeInteger(tool) && tool > 2 ** 32, String(tool));
  t.after(() => addon.videoThumbnailTool_release(tool));
  assert.equal(addon.videoThumbnailTool_setMediaPath(tool, media), 0);
  return tool;
}

test('positions are truncated toward zero; the buffer is the engine\'s rows, padding and all', async (t) => {
  freshRecording();
  sim.setRecordingTiming({ thumbnailIntervalMs: -1 });
  const tool = toolOn(t);
  const got = [];
  assert.equal(addon.videoThumbnailTool_getVideoThumbnails(tool, { width: 30, height: 6 }, { onThumbnailReady: (x) => got.push(x) }), 0);
  for (const us of [1999, -1999, 2000, 3000999]) sim.fire('QXVideoThumbnailToolCallback:1.OnThumbnailReady', [us]);
  await waitFor(() => got.length === 4, 5000, 'thumbnails');
  assert.deepEqual(got.map((x) => x.positionMs), [1, -1, 2, 3000]);
  const stride = sim.thumbnailStride(30);
  assert.ok(stride > 30 * 4, 'rows are padded');
  for (const x of got) {
    assert.deepEqual([x.width, x.height, x.stride, x.buffer.length], [30, 6, stride, stride * 6]);
    assert.ok(Buffer.isBuffer(x.buffer));
    assert.ok(x.buffer.subarray(30 * 4, stride).every((b) => b === 0xee), 'the padding of the first row');
  }
  // Position 3000 of the recording shows its 5 s mark: the paused seconds are not in it.
  assert.equal(sim.readRecordedTime(got[3].buffer), 5000);
  assert.deepEqual(got[0].buffer, sim.drawRecordedTime(30, 6, 0).buffer);
});

test('a request reads only the keys it has; the engine\'s defaults stay', async (t) => {
  freshRecording();
  sim.setRecordingTiming({ thumbnailIntervalMs: -1 });
  const tool = toolOn(t);
  addon.videoThumbnailTool_getVideoThumbnails(tool, { width: 64 }, {});
  addon.videoThumbnailTool_getVideoThumbnails(tool, { width: 64, height: 36, durationMs: 250 }, {});
  const requests = argsOf('korin.QXVideoThumbnailToolsInterface.GetVideoThumbnails').map((a) => a[0]);
  assert.deepEqual(requests, [{ width: 64, height: 90, duration_ms: 1000 }, { width: 64, height: 36, duration_ms: 250 }]);
  assert.throws(() => addon.videoThumbnailTool_getVideoThumbnails(tool, { durationMs: '250' }, {}), TypeError);
  assert.equal(argsOf('korin.QXVideoThumbnailToolsInterface.GetVideoThumbnails').length, 2, 'refused before the engine');
});

test('overlapping requests each reach their own object, from the seek position on', async (t) => {
  freshRecording();
  const tool = toolOn(t);
  assert.equal(addon.videoThumbnailTool_seekTo(tool, 6000), 0);
  const a = [];
  const b = [];
  sim.setRecordingTiming({ thumbnailIntervalMs: 2 });
  addon.videoThumbnailTool_getVideoThumbnails(tool, { width: 16, height: 9, durationMs: 1000 }, { onThumbnailReady: (x) => a.push(x.positionMs) });
  addon.videoThumbnailTool_getVideoThumbnails(tool, { width: 16, height: 9, durationMs: 2000 }, { onThumbnailReady: (x) => b.push(x.positionMs) });
  await waitFor(() => a.length === 4 && b.length === 2, 5000, 'both requests');
  await settle();
  assert.deepEqual(a, [6000, 7000, 8000, 9000]);
  assert.deepEqual(b, [6000, 8000]);
});

test('refusals and failures: their messages and lines, two blanks where they stand', async (t) => {
  freshRecording();
  const tool = toolOn(t);
  assert.throws(() => addon.videoThumbnailTool_setMediaPath(tool, 3), { message: 'Expected 2  arguments: handler, media_path' });
  assert.throws(() => addon.videoThumbnailTool_seekTo(tool), { message: 'Expected 2 arguments: handler, position' });
  assert.throws(() => addon.videoThumbnailTool_release('x'), { message: 'Expected 1 arguments: handler' });
  sim.clearLogLines();
  assert.equal(addon.videoThumbnailTool_setMediaPath(0, '/x'), -1);
  assert.equal(addon.videoThumbnailTool_seekTo(0, 1), -1);
  assert.equal(addon.videoThumbnailTool_getVideoThumbnails(0, {}, {}), -1);
  assert.equal(addon.videoThumbnailTool_release(0), -1);
  assert.equal(addon.videoThumbnailTool_setMediaPath(tool, '/no/such.seg'), -100602);
  assert.equal(addon.videoThumbnailTool_seekTo(tool, 99999999), -100601);
  sim.script('korin.QXVideoThumbnailToolsInterface.GetVideoThumbnails', -4, 1);
  assert.equal(addon.videoThumbnailTool_getVideoThumbnails(tool, {}, {}), -4);
  assert.deepEqual(errors(), [
    'VideoThumbnailTool: VideoThumbnailTool_setMediaPath handler is null',
    'VideoThumbnailTool: VideoThumbnailTool_seekTo handler is null',
    'VideoThumbnailTool: VideoThumbnailTool_getVideoThumbnails handler is null',
    'VideoThumbnailTool: VideoThumbnailTool_release handler is null',
    'QXVideoThumbnailToolWrapper: QXVideoThumbnailToolWrapper::Init() init failed, ret:-100602',
    'VideoThumbnailTool: VideoThumbnailTool_setMediaPath init failed, ret:-100602',
    'QXVideoThumbnailToolWrapper: QXVideoThumbnailToolWrapper::SeekTo() seek failed, ret:-100601',
    'VideoThumbnailTool: VideoThumbnailTool_seekTo failed, ret  :-100601',
    'QXVideoThumbnailToolWrapper: QXVideoThumbnailToolWrapper::GetVideoThumbnails() get thumbnail failed, ret:-4',
    'VideoThumbnailTool: VideoThumbnailTool_getVideoThumbnails failed, ret  :-4',
  ]);
  // No tool from the library: the wrapper's lines, -1.
  sim.script('korin.QXVideoThumbnailToolsInterface.Create', false, 1);
  const empty = addon.videoThumbnailTool_create();
  sim.clearLogLines();
  assert.equal(addon.videoThumbnailTool_seekTo(empty, 0), -1);
  assert.equal(lines('QXVideoThumbnailToolWrapper::SeekTo() tool_interface_ is null').length, 1);
  assert.equal(addon.videoThumbnailTool_release(empty), 0);
});

test('release with thumbnails on their way: the tool goes first, nothing arrives afterwards', async (t) => {
  freshRecording();
  const tool = toolOn(t);
  const got = [];
  sim.setRecordingTiming({ thumbnailIntervalMs: 1 });
  addon.videoThumbnailTool_getVideoThumbnails(tool, { width: 8, height: 8, durationMs: 1 }, { onThumbnailReady: () => got.push(1) });
  addon.videoThumbnailTool_getVideoThumbnails(tool, { width: 8, height: 8, durationMs: 2 }, { onThumbnailReady: () => got.push(2) });
  await waitFor(() => got.length > 5, 5000, 'thumbnails flowing');
  assert.equal(addon.videoThumbnailTool_release(tool), 0);
  const at = got.length;
  assert.equal(sim.objects().thumbnailTools || 0, 0);
  await settle();
  await settle();
  assert.equal(got.length, at);
  const next = toolOn(t);  // made between the release and the old number's use
  sim.clearLogLines();
  assert.equal(addon.videoThumbnailTool_seekTo(tool, 0), -1, 'its number is stale');
  assert.deepEqual(sim.logLines().map((l) => l.text), ['videoThumbnailTool_seekTo: not a live thumbnail tool handle']);
  assert.equal(addon.videoThumbnailTool_seekTo(next, 0), 0, 'the new tool answers for itself');
});
