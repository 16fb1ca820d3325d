'use strict';
// The stand-in's segment files and thumbnail tool, through the control
// module: what a recording's pictures show is what the recording holds.
const test = require('node:test');
const assert = require('node:assert/strict');
const fs = require('fs');
const path = require('path');
const { sim, tempDir } = require('./recording-helpers');

// 3 s, a pause of 2 s, 3 s more.
const PAUSED = { width: 64, height: 36, fps: 30, spans: [{ startMs: 0, endMs: 3000 }, { startMs: 5000, endMs: 8000 }] };

test('a segment file maps each position to the recorded time of the frame shown there', (t) => {
  sim.reset();
  const file = path.join(tempDir(t), 'a.seg');
  assert.equal(sim.writeSegment(file, PAUSED), true);
  assert.deepEqual(sim.readSegment(file), { ...PAUSED, durationMs: 6000 });
  const shown = [0, 33, 34, 2999, 3000, 5999, 6000, -5].map((p) => sim.recordedTimeAt(PAUSED, p));
  // Frames every 33.3 ms; the pause is not in the recording; positions are clamped into it.
  assert.deepEqual(shown, [0, 0, 33, 2966, 5000, 7966, 7966, 0]);
  assert.equal(sim.recordedTimeAt({ fps: 0, spans: [{ startMs: 100, endMs: 200 }] }, 50), 150);
  assert.equal(sim.recordedTimeAt({ fps: 30, spans: [] }, 0), -1);

  fs.writeFileSync(file, 'lumen-standin-segment 1\nspan 9 3\n');
  assert.equal(sim.readSegment(file), null, 'a span that ends before it starts');
  fs.writeFileSync(file, 'a recording of another kind\n');
  assert.equal(sim.readSegment(file), null);
});

test('thumbnails', async (t) => {
  sim.reset();
  const dir = tempDir(t);
  const file = path.join(dir, 'paused.seg');
  sim.writeSegment(file, PAUSED);

  await t.test('a strip of a recording with a pause skips the paused seconds', () => {
    const strip = sim.thumbnailsOf(file, { width: 40, height: 20 });
    assert.deepEqual(strip.map((th) => th.timestampUs), [0, 1e6, 2e6, 3e6, 4e6, 5e6], 'one a second: the default');
    assert.deepEqual(strip.map((th) => sim.readRecordedTime(th.buffer)), [0, 1000, 2000, 5000, 6000, 7000]);
    // Each is exactly the picture of its recorded time.
    for (const th of strip) assert.deepEqual(th.buffer, sim.drawRecordedTime(40, 20, sim.readRecordedTime(th.buffer)).buffer);
  });

  await t.test('rows are padded past their pixels', () => {
    const [th] = sim.thumbnailsOf(file, { width: 10, height: 3, durationMs: 10000 });
    assert.equal(th.stride, sim.thumbnailStride(10));
    assert.ok(th.stride > 40);
    assert.equal(th.buffer.length, th.stride * 3);
    for (let row = 0; row < 3; row++) {
      const pixels = th.buffer.subarray(row * th.stride, row * th.stride + 40);
      const padding = th.buffer.subarray(row * th.stride + 40, (row + 1) * th.stride);
      assert.ok(pixels.every((b, i) => i % 4 !== 3 || b === 255), 'opaque pixels');
      assert.ok(padding.every((b) => b === 0xee), `row ${row} padding`);
    }
  });

  await t.test('from a seek position, at the request\'s own interval', () => {
    const strip = sim.thumbnailsOf(file, { width: 8, height: 8, durationMs: 1500, seekMs: 2500 });
    assert.deepEqual(strip.map((th) => [th.timestampUs / 1000, sim.readRecordedTime(th.buffer)]),
      [[2500, 2500], [4000, 6000], [5500, 7500]]);
  });

  await t.test('a file that is no recording, and a bad request, answer their codes', () => {
    assert.equal(sim.thumbnailsOf(path.join(dir, 'none.seg')), -100602);
    assert.equal(sim.thumbnailsOf(file, { seekMs: 7000 }), -100601);
    assert.equal(sim.thumbnailsOf(file, { width: 0 }), -100601);
    assert.equal(sim.objects().thumbnailTools, 0);
  });
});
