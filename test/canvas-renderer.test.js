'use strict';
// The canvas renderer module outside a browser: geometry, frame checks, pixel
// order, the fps figure, and the WebGL path against a recording context. The
// drawing itself is checked in a real browser (live-page-browser.test.js).
const test = require('node:test');
const assert = require('node:assert');
const path = require('path');
const { pathToFileURL } = require('url');

let R;
test.before(async () => {
  R = await import(pathToFileURL(path.join(__dirname, '..', 'renderer', 'canvas-renderer.mjs')));
});

test('fitRect: the largest rectangle of the frame\'s aspect ratio, centred, at least a pixel', () => {
  assert.deepStrictEqual(R.fitRect(640, 360, 300, 300), { x: 0, y: 65, width: 300, height: 169 });
  assert.deepStrictEqual(R.fitRect(160, 90, 400, 90), { x: 120, y: 0, width: 160, height: 90 });
  assert.deepStrictEqual(R.fitRect(1920, 1080, 320, 180), { x: 0, y: 0, width: 320, height: 180 });
  assert.deepStrictEqual(R.fitRect(4000, 10, 3, 3), { x: 0, y: 1, width: 3, height: 1 });
});

test.describe('framePixels', () => {
  test('reads exactly the first width x height x 4 bytes of the view it is given, whatever holds them', () => {
    const memory = Buffer.alloc(64, 7);
    memory.fill(1, 8, 16);
    assert.deepStrictEqual([...R.framePixels({ width: 2, height: 1, buffer: memory.subarray(8, 24) })], [1, 1, 1, 1, 1, 1, 1, 1]);
    const shared = new SharedArrayBuffer(4);
    new Uint8Array(shared).set([9, 8, 7, 6]);
    assert.deepStrictEqual([...R.framePixels({ width: 1, height: 1, pixels: shared })], [9, 8, 7, 6]);
    assert.strictEqual(R.framePixels({ width: 1, height: 2, buffer: new ArrayBuffer(8) }).length, 8);
  });
  test('refuses a short buffer, sizes that are not positive integers, and missing pixels', () => {
    assert.throws(() => R.framePixels({ width: 4, height: 4, buffer: Buffer.alloc(63) }),
      (e) => e instanceof RangeError && /63 bytes; 4x4 needs 64/.test(e.message));
    for (const [width, height] of [[0, 1], [1, -1], [1.5, 1], ['2', 1], [1, 16385]]) {
      assert.throws(() => R.framePixels({ width, height, buffer: Buffer.alloc(64) }), RangeError, `${width}x${height}`);
    }
    assert.throws(() => R.framePixels({ width: 1, height: 1, buffer: [0, 0, 0, 0] }), TypeError);
    assert.throws(() => R.framePixels(null), TypeError);
  });
});

test.describe('copyToRgba', () => {
  test('turns the engine order into RGBA, keeps RGBA, alpha 255 either way', () => {
    const bgra = Uint8Array.from([10, 20, 30, 0, 40, 50, 60, 128]);
    const dst = new Uint8ClampedArray(8);
    R.copyToRgba(bgra, dst);
    assert.deepStrictEqual([...dst], [30, 20, 10, 255, 60, 50, 40, 255]);
    R.copyToRgba(bgra, dst, 'rgba');
    assert.deepStrictEqual([...dst], [10, 20, 30, 255, 40, 50, 60, 255]);
    assert.throws(() => R.copyToRgba(new Uint8Array(4), new Uint8ClampedArray(8)), RangeError);
  });
  test('unaligned source bytes give the same picture as aligned ones', () => {
    const pixels = Uint8Array.from({ length: 4 * 333 }, (_, i) => (i * 37 + 11) & 255);
    const aligned = new Uint8ClampedArray(pixels.length);
    R.copyToRgba(pixels, aligned);
    const odd = new Uint8Array(pixels.length + 1);
    odd.set(pixels, 1);
    const unaligned = new Uint8ClampedArray(pixels.length);
    R.copyToRgba(odd.subarray(1), unaligned);
    assert.deepStrictEqual(unaligned, aligned);
    assert.deepStrictEqual([...aligned.subarray(0, 4)], [pixels[2], pixels[1], pixels[0], 255]);
  });
});

test('FpsMeter: the frames of the last window, per second; 0 once a window has passed without one', () => {
  const m = new R.FpsMeter(500);
  for (let i = 0; i < 40; i++) m.tick(i * 25); // 40 fps for a second
  assert.strictEqual(m.value(975), 40);
  assert.strictEqual(m.value(1225), 20); // the last 250 ms of frames are left
  assert.strictEqual(m.value(975 + 500), 0);
});

// A WebGL context that records every call; enough of one for the renderer.
function recordingCanvas({ lost = false } = {}) {
  const calls = [];
  const listeners = {};
  let contextLost = lost;
  const gl = new Proxy({}, {
    get(target, key) {
      if (typeof key !== 'string') return undefined;
      if (/^[A-Z_0-9]+$/.test(key)) return key; // constants: their own names
      if (key === 'getParameter') return (p) => (p === 'MAX_TEXTURE_SIZE' ? 4096 : 0);
      if (key === 'getShaderParameter') return () => true;
      if (key === 'isContextLost') return () => contextLost;
      if (key === 'getExtension') return () => ({ loseContext: () => calls.push(['loseContext']) });
      return (...args) => {
        calls.push([key, ...args]);
        return { handle: calls.length };
      };
    },
  });
  const canvas = {
    width: 300,
    height: 200,
    getContext: (kind) => (kind === 'webgl' ? gl : null),
    addEventListener: (type, fn) => (listeners[type] = fn),
    removeEventListener: (type) => delete listeners[type],
  };
  const fire = (type) => {
    contextLost = type === 'webglcontextlost';
    listeners[type]({ preventDefault() {} });
  };
  return { canvas, calls, fire };
}

test.describe('the WebGL path', () => {
  const frame = (w, h) => ({ width: w, height: h, buffer: Buffer.alloc(w * h * 4) });
  const named = (calls, name) => calls.filter((c) => c[0] === name);

  test('one texture whose storage is made again only when the frame size changes', () => {
    const { canvas, calls } = recordingCanvas();
    const r = new R.CanvasRenderer(canvas);
    assert.strictEqual(r.backend, 'webgl');
    for (const [w, h] of [[160, 90], [160, 90], [160, 90], [320, 180], [320, 180]]) assert.strictEqual(r.draw(frame(w, h)), true);
    assert.strictEqual(named(calls, 'createTexture').length, 1);
    assert.deepStrictEqual(named(calls, 'texImage2D').map((c) => [c[4], c[5]]), [[160, 90], [320, 180]]);
    assert.strictEqual(named(calls, 'texSubImage2D').length, 3);
    assert.strictEqual(r.framesDrawn, 5);
    r.destroy();
  });

  test('the picture is placed by fitRect, counted from the bottom as GL does', () => {
    const { canvas, calls } = recordingCanvas();
    canvas.width = 400;
    canvas.height = 400;
    const r = new R.CanvasRenderer(canvas);
    r.draw(frame(320, 90)); // 400 x 113 at y 143 from the top
    assert.deepStrictEqual(r.frameRect, { x: 0, y: 143, width: 400, height: 113 });
    assert.deepStrictEqual(named(calls, 'viewport').at(-1).slice(1), [0, 400 - 143 - 113, 400, 113]);
    r.destroy();
  });

  test('the swizzle follows the pixel format', () => {
    const sources = (format) => {
      const { canvas, calls } = recordingCanvas();
      new R.CanvasRenderer(canvas, { pixelFormat: format }).destroy();
      return named(calls, 'shaderSource').map((c) => c[2]).join('\n');
    };
    assert.match(sources('bgra'), /\.bgr, 1\.0\)/);
    assert.match(sources('rgba'), /\.rgb, 1\.0\)/);
  });

  test('a lost context draws nothing until it is restored, then makes its texture again', () => {
    const { canvas, calls, fire } = recordingCanvas();
    const r = new R.CanvasRenderer(canvas);
    assert.strictEqual(r.draw(frame(8, 8)), true);
    fire('webglcontextlost');
    assert.strictEqual(r.draw(frame(8, 8)), false);
    assert.strictEqual(r.framesDrawn, 1);
    fire('webglcontextrestored');
    assert.strictEqual(r.draw(frame(8, 8)), true);
    assert.strictEqual(named(calls, 'createTexture').length, 2);
    assert.strictEqual(named(calls, 'texImage2D').length, 2);
    r.destroy();
  });

  test('a frame larger than the textures the context takes is a RangeError', () => {
    const { canvas } = recordingCanvas();
    const r = new R.CanvasRenderer(canvas);
    assert.throws(() => r.draw(frame(4097, 1)), /larger than this WebGL's 4096 pixel textures/);
    r.destroy();
  });

  test('beyond the page limit canvases use 2D; destroying one frees its place and its context', () => {
    R.setWebGLContextLimit(2);
    try {
      const made = [recordingCanvas(), recordingCanvas(), recordingCanvas()];
      // The third canvas would need a 2D context; this one has none.
      made[2].canvas.getContext = (kind) => (kind === '2d' ? { kind: '2d' } : assert.fail('asked for WebGL'));
      const [a, b, c] = made.map((m) => new R.CanvasRenderer(m.canvas));
      assert.deepStrictEqual([a.backend, b.backend, c.backend], ['webgl', 'webgl', '2d']);
      assert.strictEqual(R.webglContextsInUse(), 2);
      a.destroy();
      assert.deepStrictEqual(named(made[0].calls, 'loseContext').length, 1);
      assert.strictEqual(R.webglContextsInUse(), 1);
      assert.strictEqual(new R.CanvasRenderer(recordingCanvas().canvas).backend, 'webgl');
      b.destroy();
    } finally {
      R.setWebGLContextLimit(8);
    }
  });

  test('refusals: no canvas, unknown options, WebGL asked for and missing, draw after destroy', () => {
    assert.throws(() => new R.CanvasRenderer({}), TypeError);
    assert.throws(() => new R.CanvasRenderer(recordingCanvas().canvas, { backend: 'gpu' }), TypeError);
    assert.throws(() => new R.CanvasRenderer(recordingCanvas().canvas, { pixelFormat: 'argb' }), TypeError);
    const none = { getContext: () => null };
    assert.throws(() => new R.CanvasRenderer(none, { backend: 'webgl' }), /gives no WebGL context/);
    assert.throws(() => new R.CanvasRenderer(none), /neither a WebGL nor a 2D context/);
    assert.throws(() => R.setWebGLContextLimit(-1), RangeError);
    const r = new R.CanvasRenderer(recordingCanvas().canvas);
    r.destroy();
    assert.throws(() => r.draw(frame(1, 1)), /draw after destroy/);
  });
});
