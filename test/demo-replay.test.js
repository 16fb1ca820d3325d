'use strict';
const test = require('node:test');
const assert = require('node:assert');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { decodeRgba } = require('../demo/png');
const { spawnSync } = require('child_process');
const { recordedClass } = require('../demo/replay_packets');

const rgbaOf = (png) => decodeRgba(png).rgba;

test('npm run demo:replay plays the generated class and saves its last replayed frame', () => {
  const out = fs.mkdtempSync(path.join(os.tmpdir(), 'lumen-replay-'));
  const run = spawnSync(process.execPath, [path.join(__dirname, '..', 'demo', 'replay.js')], {
    env: { ...process.env, DEMO_OUT: out },
    encoding: 'utf8',
    timeout: 60000,
  });
  assert.strictEqual(run.status, 0, run.stderr);
  assert.match(run.stdout, /replay: packets fed: 24 of 24/);
  assert.match(run.stdout, /replay: destroy: 0/);
  const png = fs.readFileSync(path.join(out, 'replay-1001.png'));
  // The picture is the last whiteboard frame of the recording, pixel for pixel.
  const recorded = recordedClass();
  const last = recorded.packets.at(-1).data.subarray(20);
  const bgra = rgbaOf(png);
  for (let i = 0; i < bgra.length; i += 4) [bgra[i], bgra[i + 2]] = [bgra[i + 2], bgra[i]];
  assert.deepStrictEqual(bgra, last);
  fs.rmSync(out, { recursive: true, force: true });
});
