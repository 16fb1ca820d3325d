'use strict';
// The player scene of npm start: a stand-in file played through a player,
// and a rendered, rotated frame saved as a PNG.
const test = require('node:test');
const assert = require('node:assert');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { spawnSync } = require('child_process');

test('the player demo saves a rotated frame', () => {
  const out = fs.mkdtempSync(path.join(os.tmpdir(), 'lumen-player-demo-'));
  const run = spawnSync(process.execPath, [path.join(__dirname, '..', 'demo', 'player.js')], {
    env: { ...process.env, DEMO_SECONDS: '1', DEMO_OUT: out },
    encoding: 'utf8',
    timeout: 60000,
  });
  assert.strictEqual(run.status, 0, run.stderr);
  assert.match(run.stdout, /player\.OnPrepared/);
  const png = fs.readFileSync(path.join(out, 'player-rotated.png'));
  assert.strictEqual(png.subarray(1, 4).toString(), 'PNG');
  // 640x360 video on its side: the frame is 360 wide and 640 high.
  assert.strictEqual(png.readUInt32BE(16), 360);
  assert.strictEqual(png.readUInt32BE(20), 640);
  fs.rmSync(out, { recursive: true, force: true });
});
