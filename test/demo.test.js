'use strict';
const test = require('node:test');
const assert = require('node:assert');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { spawnSync } = require('child_process');

test('the demo class runs to the end and leaves one picture per renderer', () => {
  const out = fs.mkdtempSync(path.join(os.tmpdir(), 'lumen-demo-'));
  const run = spawnSync(process.execPath, [path.join(__dirname, '..', 'demo', 'live_class.js')], {
    env: { ...process.env, DEMO_SECONDS: '2', DEMO_OUT: out },
    encoding: 'utf8',
    timeout: 60000,
  });
  assert.strictEqual(run.status, 0, run.stderr);
  assert.match(run.stdout, /class\.onMediaConnected/);
  assert.match(run.stdout, /class\.onCommandConnected/);
  assert.match(run.stdout, /leave: 0/);
  // The scheduler look-up at connect went to the demo's local server and back.
  assert.match(run.stdout, /engine got the answer of http:\/\/127\.0\.0\.1:\d+\/v1\/schedule\?roomId=20261205&userId=256: ok 200 \{"roomId":20261205/);
  const files = fs.readdirSync(out).sort();
  assert.deepStrictEqual(files, ['local-camera.png', 'student-1002.png', 'teacher-1001.png']);
  const pictures = files.map((f) => fs.readFileSync(path.join(out, f)));
  for (const png of pictures) {
    assert.strictEqual(png.subarray(1, 4).toString(), 'PNG');
    assert.strictEqual(png.readUInt32BE(16), 640);
    assert.strictEqual(png.readUInt32BE(20), 360);
  }
  // Each user's stream looks different.
  assert.notDeepStrictEqual(pictures[1], pictures[2]);
  fs.rmSync(out, { recursive: true, force: true });
});
