'use strict';
const test = require('node:test');
const assert = require('node:assert/strict');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { spawnSync } = require('child_process');
const sim = require('../sim');
const { decodeRgba } = require('../demo/png');

test('npm run demo:room-replay replays the class and saves the teacher before and after the seek to the middle', () => {
  const out = fs.mkdtempSync(path.join(os.tmpdir(), 'lumen-room-replay-'));
  const run = spawnSync(process.execPath, [path.join(__dirname, '..', 'demo', 'room_replay.js')], {
    env: { ...process.env, DEMO_OUT: out },
    encoding: 'utf8',
    timeout: 60000,
  });
  assert.equal(run.status, 0, run.stderr);
  const lines = run.stdout.split('\n');
  // Chunks as they came, in play order, with their bytes.
  const userData = lines.filter((l) => l.startsWith('room replay: user data @')).map((l) => Number(/@(\d+)/.exec(l)[1]));
  assert.ok(userData.length >= 4, run.stdout);
  assert.deepEqual(userData.slice(0, 3), [500, 1500, 2500]);
  assert.ok(lines.includes('room replay: user data @500: user-data npt=500..'));
  assert.ok(lines.includes('room replay: radio message: radio npt=2000..'));
  assert.ok(lines.some((l) => /^room replay: snapshot @0: snapshot room=1099511627779 npt=0 part=1/.test(l)));
  assert.ok(lines.includes('room replay: fetched radio messages 0 to 30000 ms: @2000 @7000 @12000 @17000 @22000 @27000'));
  assert.ok(lines.some((l) => /^room replay: teacher action \d/.test(l)) && lines.some((l) => /^room replay: student action \d/.test(l)));
  // After the seek, play goes on from the middle at 2x.
  assert.ok(lines.indexOf('room replay: sought to 30000 ms') < lines.indexOf('room replay: user data @30500: user-data npt=30500..'));
  assert.match(run.stdout, /state 3 at 3\d{4} of 60000 ms, rate 2; frames shown: teacher \d+, student [1-9]/);
  assert.match(run.stdout, /room replay: left/);

  const position = (name) => {
    const { width, height, rgba } = decodeRgba(fs.readFileSync(path.join(out, `room-replay-teacher-${name}-seek.png`)));
    assert.deepEqual([width, height], [640, 360]);
    const seen = sim.readReplayFrame(rgba, width, height);
    // Pixel for pixel the teacher's picture at that position.
    const expected = sim.replayPictureAbgr(width, height, { positionMs: seen.positionMs, durationMs: 60000, frame: seen.frame });
    assert.ok(Buffer.from(expected).equals(rgba), `${name}: the teacher's picture`);
    return seen.positionMs;
  };
  const before = position('before');
  const after = position('after');
  assert.ok(before > 1000 && before < 10000, `before the seek: ${before} ms`);
  assert.ok(after >= 30000 && after < 40000, `after the seek: ${after} ms`);
  fs.rmSync(out, { recursive: true, force: true });
});
