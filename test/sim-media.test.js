'use strict';
// The stand-in engine's synthetic media and control answers that the add-on's
// own tests rely on without checking.
const test = require('node:test');
const assert = require('node:assert');
const sim = require('../sim');

const pixel = (buf, width, x, y) => [...buf.subarray((y * width + x) * 4, (y * width + x) * 4 + 4)];
const alphaOpaque = (buf) => buf.every((b, i) => i % 4 !== 3 || b === 255);

test.describe('frame patterns', () => {
  test('a seed fixes the still pattern; other seeds give other pictures', () => {
    const a = sim.pattern(33, 7, 5);
    assert.strictEqual(a.length, 33 * 7 * 4);
    assert.deepStrictEqual(sim.pattern(33, 7, 5), a);
    for (const seed of [0, 1, 6, 256, -5]) assert.notDeepStrictEqual(sim.pattern(33, 7, seed), a, `seed ${seed}`);
    assert.ok(alphaOpaque(a));
  });

  test('the moving test pattern is deterministic, opaque and moves its square', () => {
    const [w, h] = [160, 90];
    const f0 = sim.testPattern(w, h, 42, 0);
    assert.deepStrictEqual(sim.testPattern(w, h, 42, 0), f0);
    assert.ok(alphaOpaque(f0));
    const f5 = sim.testPattern(w, h, 42, 5);
    assert.notDeepStrictEqual(f5, f0, 'the square moved');
    // Outside the square's row band nothing changes between frames.
    assert.deepStrictEqual(f5.subarray(0, w * 4), f0.subarray(0, w * 4));
    assert.deepStrictEqual(f5.subarray((h - 1) * w * 4), f0.subarray((h - 1) * w * 4));
  });

  test('each user has a colour of its own', () => {
    const [w, h] = [64, 32];
    const colours = new Set();
    for (let user = 0; user < 40; user++) colours.add(pixel(sim.testPattern(w, h, user, 0), w, 0, h - 1).join());
    assert.strictEqual(colours.size, 40);
  });
});

test.describe('control answers without an engine object', () => {
  test.beforeEach(() => sim.reset());

  test('frames for a sink nobody holds are not delivered', async () => {
    assert.strictEqual(sim.pushFrame('sink:1:1', 4, 4, 0), false);
    assert.strictEqual(await sim.pushFrames('sink:1:1', 4, 4, 50, 4), 0);
    assert.deepStrictEqual(sim.videoStats(), {});
    // Only sink names address sinks.
    assert.strictEqual(sim.pushFrame('LivePlayEngineCallback.OnMediaConnected', 4, 4, 0), false);
  });

  test('frame sizes outside 1..8192 are refused', () => {
    for (const [w, h] of [[0, 4], [4, -1], [8193, 1]]) {
      assert.throws(() => sim.pushFrame('sink:1:1', w, h, 0), RangeError);
      assert.throws(() => sim.pattern(w, h, 0), RangeError);
    }
  });

  test('a cache read without a live client answers null', () => {
    assert.strictEqual(sim.cacheGet('key', 16), null);
  });

  test('recording statistics are distinct and non-zero until set, and reset restores them', () => {
    const defaults = sim.setRecordingInfo();
    const numbers = Object.values(defaults).filter((v) => typeof v === 'number');
    assert.strictEqual(numbers.length, 8);
    assert.ok(numbers.every((v) => v !== 0));
    assert.strictEqual(new Set(numbers).size, numbers.length);
    assert.ok(defaults.encodedRecordedMs > 2 ** 32, 'a 64-bit field carries more than 32 bits');
    assert.notStrictEqual(defaults.startDuringInterruption, defaults.interruptionAfterStart);

    const changed = sim.setRecordingInfo({ hint: 4, interruptionAfterStart: true });
    assert.deepStrictEqual(changed, { ...defaults, hint: 4, interruptionAfterStart: true });
    sim.reset();
    assert.deepStrictEqual(sim.setRecordingInfo(), defaults);
  });
});
