'use strict';
// A lesson recorded from the stand-in screen on the newer screen recorder:
// three seconds, a pause of two, three more; the recorder's events as they
// come; then a thumbnail every second of the recording, saved side by side
// as demo/out/recording-strip.png (or in DEMO_OUT). The paused seconds are
// not in the recording, so they are not in the strip either.
const fs = require('fs');
const os = require('os');
const path = require('path');
const addon = require('..');
// The stand-in's control module: here it plays the recorder's clock. An app
// on the real engine drops the `sim` lines and waits instead.
const sim = require('../sim');
const { encodeBgra } = require('./png');

const out = process.env.DEMO_OUT || path.join(__dirname, 'out');
const say = (line) => console.log(`recording: ${line}`);
const until = (test, what) => new Promise((resolve, reject) => {
  const deadline = Date.now() + 10000;
  const poll = () => (test() ? resolve() : Date.now() > deadline ? reject(new Error(`no ${what}`)) : setTimeout(poll, 5));
  poll();
});

const THUMB = { width: 96, height: 54 };

async function main() {
  const root = fs.mkdtempSync(path.join(os.tmpdir(), 'lumen-demo-recording-'));
  sim.setSourceFlags({ enableNewScreenRecordEngine20250807: true });
  sim.recordingClock({ manual: true });
  let file = null;
  const events = {
    onRecordStarted: () => say('event onRecordStarted'),
    onFirstFrameReady: () => say('event onFirstFrameReady'),
    onRecordPaused: () => say('event onRecordPaused'),
    onRecordResumed: () => say('event onRecordResumed'),
    onRecordStopped: (p) => { say(`event onRecordStopped ${path.basename(p)}`); file = p; },
    onErrorStatus: (e) => say(`event onErrorStatus ${e.errorCode} ${e.message}`),
    onCaptureApiChanged: (c) => say(`event onCaptureApiChanged ${c.api_type}`),
    onSegmentDeleted: () => say('event onSegmentDeleted'),
    onMergeProgress: (p) => say(`event onMergeProgress ${p}`),
  };
  say(`create: ${addon.screenRecordEngine_createScreenCapture(events, '{}', '1.0.0')}`);
  say(`start: ${addon.screenRecordEngine_startScreenRecord({ rootDir: root, targetWidth: 1280, targetHeight: 720, videoFps: 10 })}`);
  sim.advanceRecordingClock(3000);
  say(`pause: ${addon.screenRecordEngine_pauseScreenRecord()}`);
  sim.advanceRecordingClock(2000);
  say(`resume: ${addon.screenRecordEngine_resumeScreenRecord()}`);
  sim.advanceRecordingClock(3000);
  say(`duration: ${addon.screenRecordEngine_getRecordDurationMs()} ms`);
  say(`stop: ${addon.screenRecordEngine_stopScreenRecord(true)}`);
  await until(() => file !== null, 'onRecordStopped');
  say(`destroy: ${addon.screenRecordEngine_destroyScreenCapture()}`);

  const tool = addon.videoThumbnailTool_create();
  say(`thumbnails of ${path.basename(file)}: ${addon.videoThumbnailTool_setMediaPath(tool, file)}`);
  const thumbs = [];
  const strip = { onThumbnailReady: (t) => thumbs.push(t) };
  say(`request: ${addon.videoThumbnailTool_getVideoThumbnails(tool, { ...THUMB, durationMs: 1000 }, strip)}`);
  await until(() => thumbs.length === 6, 'six thumbnails');
  addon.videoThumbnailTool_release(tool);
  thumbs.sort((a, b) => a.positionMs - b.positionMs);
  for (const t of thumbs) say(`thumbnail at ${t.positionMs} ms shows ${sim.readRecordedTime(t.buffer)} ms`);

  // Side by side, each thumbnail's rows without their padding.
  const width = THUMB.width * thumbs.length;
  const pixels = Buffer.alloc(width * THUMB.height * 4);
  thumbs.forEach((t, i) => {
    for (let y = 0; y < t.height; y++) t.buffer.copy(pixels, (y * width + i * t.width) * 4, y * t.stride, y * t.stride + t.width * 4);
  });
  fs.mkdirSync(out, { recursive: true });
  const png = path.join(out, 'recording-strip.png');
  fs.writeFileSync(png, encodeBgra(width, THUMB.height, pixels));
  fs.rmSync(root, { recursive: true, force: true });
  say(`saved ${path.relative(process.cwd(), png)} (${width}x${THUMB.height}, ${thumbs.length} thumbnails)`);
}

main().catch((err) => {
  console.error(err);
  process.exitCode = 1;
});
