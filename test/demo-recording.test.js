'use strict';
const test = require('node:test');
const assert = require('node:assert');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { decodeRgba: decode } = require('../demo/png');
const { spawnSync } = require('child_process');


test('npm run demo:recording records with a pause, prints the events and saves a strip without the paused seconds', () => {
  const out = fs.mkdtempSync(path.join(os.tmpdir(), 'lumen-recording-demo-'));
  const run = spawnSync(process.execPath, [path.join(__dirname, '..', 'demo', 'recording.js')], {
    env: { ...process.env, DEMO_OUT: out },
    encoding: 'utf8',
    timeout: 60000,
  });
  assert.strictEqual(run.status, 0, run.stderr);
  const events = run.stdout.split('\n').filter((l) => l.startsWith('recording: event ')).map((l) => l.split(' ')[2]);
  assert.deepStrictEqual(events, ['onRecordStarted', 'onFirstFrameReady', 'onRecordPaused', 'onRecordResumed', 'onRecordStopped']);
  assert.match(run.stdout, /recording: duration: 6000 ms/);

  // Each thumbnail carries the recorded time it shows in its first pixel
  // (B + G * 256 + R * 65536): one a second of the recording, 3 s and 4 s missing.
  const { width, height, rgba } = decode(fs.readFileSync(path.join(out, 'recording-strip.png')));
  assert.strictEqual(height, 54);
  assert.strictEqual(width % 96, 0);
  const shown = [];
  for (let x = 0; x < width; x += 96) {
    const p = x * 4;
    shown.push(rgba[p + 2] + rgba[p + 1] * 256 + rgba[p] * 65536);
  }
  assert.deepStrictEqual(shown, [0, 1000, 2000, 5000, 6000, 7000]);
  // The thumbnails differ: a strip of one picture repeated would not.
  assert.notDeepStrictEqual(rgba.subarray(4 * 10, 4 * 20), rgba.subarray(4 * (96 * 3 + 10), 4 * (96 * 3 + 20)));
  fs.rmSync(out, { recursive: true, force: true });
});
