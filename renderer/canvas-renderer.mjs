// Draws the video frames of lumen_engine_addon's renderers on a <canvas>, in
// an Electron window or any page. A frame is what onVideoFrame hands over
// (width, height, 4-byte pixels with rows packed, in the engine's B, G, R, A
// order), or the same moved to the page (a MessagePort message, a socket).
// No dependencies.

const BYTES_PER_PIXEL = 4;
const MAX_SIDE = 16384;

// Chromium keeps at most 16 live WebGL contexts per renderer process and
// takes the oldest away from a page that asks for more, so canvases beyond
// this many use the 2D path instead.
let webglLimit = 8;
let webglInUse = 0;

/** Sets how many canvases may draw with WebGL at once; the ones after use 2D. */
export function setWebGLContextLimit(n) {
  if (!Number.isInteger(n) || n < 0) throw new RangeError(`WebGL context limit must be a non-negative integer, got ${n}`);
  webglLimit = n;
}

/** Canvases of this page drawing with WebGL now. */
export function webglContextsInUse() {
  return webglInUse;
}

/**
 * The largest rectangle with the frame's aspect ratio centred in an area of
 * width × height: integer pixels, at least 1 × 1.
 */
export function fitRect(frameWidth, frameHeight, width, height) {
  const scale = Math.min(width / frameWidth, height / frameHeight);
  const w = Math.max(1, Math.min(width, Math.round(frameWidth * scale)));
  const h = Math.max(1, Math.min(height, Math.round(frameHeight * scale)));
  return { x: Math.floor((width - w) / 2), y: Math.floor((height - h) / 2), width: w, height: h };
}

/** Frames counted over a sliding window: the rate of the last windowMs. */
export class FpsMeter {
  constructor(windowMs = 1000, capacity = 1024) {
    if (!(windowMs > 0)) throw new RangeError(`fps window must be positive, got ${windowMs}`);
    this.windowMs = windowMs;
    this.times = new Float64Array(capacity);
    this.next = 0;
    this.stored = 0;
  }

  tick(now) {
    this.times[this.next] = now;
    this.next = (this.next + 1) % this.times.length;
    this.stored = Math.min(this.stored + 1, this.times.length);
  }

  value(now) {
    let n = 0;
    for (let i = 1; i <= this.stored; i++) {
      const t = this.times[(this.next - i + this.times.length) % this.times.length];
      if (t <= now - this.windowMs) break;
      n++;
    }
    return (n * 1000) / this.windowMs;
  }
}

/**
 * The frame's pixels as bytes: checks the size against its width and height
 * and throws a TypeError or RangeError saying what is wrong.
 */
export function framePixels(frame) {
  if (frame === null || typeof frame !== 'object') throw new TypeError('frame must be an object with width, height and buffer');
  const { width, height } = frame;
  for (const [key, v] of [['width', width], ['height', height]]) {
    if (!Number.isInteger(v) || v < 1 || v > MAX_SIDE) throw new RangeError(`frame ${key} must be an integer 1..${MAX_SIDE}, got ${v}`);
  }
  const source = frame.buffer !== undefined ? frame.buffer : frame.pixels;
  let bytes;
  if (ArrayBuffer.isView(source)) bytes = new Uint8Array(source.buffer, source.byteOffset, source.byteLength);
  else if (source instanceof ArrayBuffer || (typeof SharedArrayBuffer === 'function' && source instanceof SharedArrayBuffer)) {
    bytes = new Uint8Array(source);
  } else {
    throw new TypeError('frame.buffer must be an ArrayBuffer or a view of one');
  }
  const needed = width * height * BYTES_PER_PIXEL;
  if (bytes.length < needed) {
    throw new RangeError(`frame.buffer holds ${bytes.length} bytes; ${width}x${height} needs ${needed}`);
  }
  return bytes.length === needed ? bytes : bytes.subarray(0, needed);
}

/**
 * Copies width × height pixels into RGBA order with alpha 255: from B, G, R,
 * A ('bgra', the engine's order) or R, G, B, A ('rgba').
 */
export function copyToRgba(src, dst, pixelFormat = 'bgra') {
  const n = dst.length >> 2;
  if (src.length < n * 4) throw new RangeError(`source holds ${src.length} bytes, ${n * 4} needed`);
  const swap = pixelFormat === 'bgra';
  if (src.byteOffset % 4 === 0 && dst.byteOffset % 4 === 0) {
    // Four bytes at a time; typed arrays are little-endian on every platform Chromium runs on.
    const s = new Uint32Array(src.buffer, src.byteOffset, n);
    const d = new Uint32Array(dst.buffer, dst.byteOffset, n);
    if (swap) {
      for (let i = 0; i < n; i++) {
        const v = s[i];
        d[i] = (v & 0x0000ff00) | ((v >>> 16) & 0xff) | ((v & 0xff) << 16) | 0xff000000;
      }
    } else {
      for (let i = 0; i < n; i++) d[i] = s[i] | 0xff000000;
    }
    return;
  }
  const r = swap ? 2 : 0;
  const b = swap ? 0 : 2;
  for (let i = 0; i < n * 4; i += 4) {
    dst[i] = src[i + r];
    dst[i + 1] = src[i + 1];
    dst[i + 2] = src[i + b];
    dst[i + 3] = 255;
  }
}

const VERTEX_SHADER = `
attribute vec2 position;
varying vec2 uv;
void main() {
  uv = vec2((position.x + 1.0) * 0.5, (1.0 - position.y) * 0.5);
  gl_Position = vec4(position, 0.0, 1.0);
}`;

const fragmentShader = (swizzle) => `
precision mediump float;
varying vec2 uv;
uniform sampler2D frame;
void main() {
  gl_FragColor = vec4(texture2D(frame, uv).${swizzle}, 1.0);
}`;

// One texture per canvas, its storage kept while frames keep their size.
class WebGLBackend {
  constructor(canvas, gl, pixelFormat) {
    this.canvas = canvas;
    this.gl = gl;
    this.pixelFormat = pixelFormat;
    this.lost = false;
    this.onLost = (e) => {
      e.preventDefault(); // lets the browser restore it
      this.lost = true;
    };
    this.onRestored = () => {
      this.setup();
      this.lost = false;
    };
    canvas.addEventListener('webglcontextlost', this.onLost);
    canvas.addEventListener('webglcontextrestored', this.onRestored);
    this.setup();
  }

  setup() {
    const { gl } = this;
    const compile = (type, text) => {
      const shader = gl.createShader(type);
      gl.shaderSource(shader, text);
      gl.compileShader(shader);
      if (!gl.getShaderParameter(shader, gl.COMPILE_STATUS) && !gl.isContextLost()) {
        throw new Error(`canvas renderer: shader did not compile: ${gl.getShaderInfoLog(shader)}`);
      }
      return shader;
    };
    const program = gl.createProgram();
    gl.attachShader(program, compile(gl.VERTEX_SHADER, VERTEX_SHADER));
    gl.attachShader(program, compile(gl.FRAGMENT_SHADER, fragmentShader(this.pixelFormat === 'bgra' ? 'bgr' : 'rgb')));
    gl.linkProgram(program);
    gl.useProgram(program);
    const quad = gl.createBuffer();
    gl.bindBuffer(gl.ARRAY_BUFFER, quad);
    gl.bufferData(gl.ARRAY_BUFFER, new Float32Array([-1, -1, 1, -1, -1, 1, 1, 1]), gl.STATIC_DRAW);
    const position = gl.getAttribLocation(program, 'position');
    gl.enableVertexAttribArray(position);
    gl.vertexAttribPointer(position, 2, gl.FLOAT, false, 0, 0);
    this.texture = gl.createTexture();
    gl.bindTexture(gl.TEXTURE_2D, this.texture);
    // Frames of any size: no mipmaps, edges clamped.
    gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MIN_FILTER, gl.LINEAR);
    gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MAG_FILTER, gl.LINEAR);
    gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_WRAP_S, gl.CLAMP_TO_EDGE);
    gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_WRAP_T, gl.CLAMP_TO_EDGE);
    gl.pixelStorei(gl.UNPACK_ALIGNMENT, 4);
    this.textureWidth = 0;
    this.textureHeight = 0;
    this.maxSide = gl.getParameter(gl.MAX_TEXTURE_SIZE);
  }

  upload(width, height, pixels) {
    if (this.lost) return false;
    const { gl } = this;
    if (width > this.maxSide || height > this.maxSide) {
      throw new RangeError(`frame ${width}x${height} is larger than this WebGL's ${this.maxSide} pixel textures`);
    }
    if (width !== this.textureWidth || height !== this.textureHeight) {
      gl.texImage2D(gl.TEXTURE_2D, 0, gl.RGBA, width, height, 0, gl.RGBA, gl.UNSIGNED_BYTE, pixels);
      this.textureWidth = width;
      this.textureHeight = height;
    } else {
      gl.texSubImage2D(gl.TEXTURE_2D, 0, 0, 0, width, height, gl.RGBA, gl.UNSIGNED_BYTE, pixels);
    }
    return true;
  }

  paint(rect, background) {
    if (this.lost || !this.textureWidth) return false;
    const { gl, canvas } = this;
    gl.viewport(0, 0, canvas.width, canvas.height);
    gl.clearColor(background[0], background[1], background[2], 1);
    gl.clear(gl.COLOR_BUFFER_BIT);
    // GL counts rows from the bottom.
    gl.viewport(rect.x, canvas.height - rect.y - rect.height, rect.width, rect.height);
    gl.drawArrays(gl.TRIANGLE_STRIP, 0, 4);
    return true;
  }

  // The drawing buffer is only readable within the task that drew it.
  snapshot(rect, background) {
    const { gl, canvas } = this;
    const data = new Uint8ClampedArray(canvas.width * canvas.height * 4);
    if (!this.paint(rect, background)) return data;
    gl.readPixels(0, 0, canvas.width, canvas.height, gl.RGBA, gl.UNSIGNED_BYTE, data);
    const row = canvas.width * 4;
    const swap = new Uint8ClampedArray(row);
    for (let top = 0, bottom = canvas.height - 1; top < bottom; top++, bottom--) {
      swap.set(data.subarray(top * row, top * row + row));
      data.copyWithin(top * row, bottom * row, bottom * row + row);
      data.set(swap, bottom * row);
    }
    return data;
  }

  destroy() {
    this.canvas.removeEventListener('webglcontextlost', this.onLost);
    this.canvas.removeEventListener('webglcontextrestored', this.onRestored);
    if (!this.lost) this.gl.deleteTexture(this.texture);
    // Frees the context now rather than at garbage collection.
    const lose = this.gl.getExtension('WEBGL_lose_context');
    if (lose) lose.loseContext();
  }
}

// putImageData on a canvas of the frame's size, scaled onto the visible one.
class Canvas2DBackend {
  constructor(canvas, ctx, pixelFormat) {
    this.canvas = canvas;
    this.ctx = ctx;
    this.pixelFormat = pixelFormat;
    this.image = null;
    this.staging = null;
  }

  upload(width, height, pixels) {
    if (!this.image || this.image.width !== width || this.image.height !== height) {
      this.image = new ImageData(width, height);
      const doc = this.canvas.ownerDocument;
      this.staging = typeof OffscreenCanvas === 'function' ? new OffscreenCanvas(width, height) : doc.createElement('canvas');
      this.staging.width = width;
      this.staging.height = height;
      this.stagingCtx = this.staging.getContext('2d');
    }
    copyToRgba(pixels, this.image.data, this.pixelFormat);
    this.stagingCtx.putImageData(this.image, 0, 0);
    return true;
  }

  paint(rect, background) {
    if (!this.image) return false;
    const { ctx, canvas } = this;
    ctx.fillStyle = `rgb(${background.map((c) => Math.round(c * 255)).join(',')})`;
    ctx.fillRect(0, 0, canvas.width, canvas.height);
    ctx.imageSmoothingEnabled = true;
    ctx.drawImage(this.staging, rect.x, rect.y, rect.width, rect.height);
    return true;
  }

  snapshot(rect, background) {
    this.paint(rect, background);
    return this.ctx.getImageData(0, 0, this.canvas.width, this.canvas.height).data;
  }

  destroy() {
    this.image = null;
    this.staging = null;
  }
}

const DEFAULT_CONTEXT = {
  alpha: false,
  antialias: false,
  depth: false,
  stencil: false,
  preserveDrawingBuffer: false,
  powerPreference: 'low-power',
};

/**
 * A renderer drawing frames on one canvas. Options:
 *   backend       'auto' (WebGL when the canvas gives a context within the
 *                 page's limit, else 2D), 'webgl' (throws without it), '2d'
 *   pixelFormat   'bgra' (the engine's order, default) or 'rgba'
 *   background    [r, g, b] in 0..1 around the picture (default black)
 *   autoSize      the canvas' pixel size follows its CSS size × devicePixelRatio (default true)
 *   fpsWindowMs   the window of the drawn-fps figure (default 1000)
 *   now           the clock, () => milliseconds (default performance.now)
 */
export class CanvasRenderer {
  constructor(canvas, options = {}) {
    if (!canvas || typeof canvas.getContext !== 'function') throw new TypeError('CanvasRenderer needs a canvas element');
    const { backend = 'auto', pixelFormat = 'bgra', background = [0, 0, 0], autoSize = true, fpsWindowMs = 1000 } = options;
    if (!['auto', 'webgl', '2d'].includes(backend)) throw new TypeError(`backend must be 'auto', 'webgl' or '2d', got ${backend}`);
    if (pixelFormat !== 'bgra' && pixelFormat !== 'rgba') throw new TypeError(`pixelFormat must be 'bgra' or 'rgba', got ${pixelFormat}`);
    this.canvas = canvas;
    this.background = background;
    this.autoSize = autoSize;
    this.now = options.now || (() => performance.now());
    this.meter = new FpsMeter(fpsWindowMs);
    this.framesDrawn = 0;
    this.frameWidth = 0;
    this.frameHeight = 0;
    this.rect = null;
    this.impl = null;
    if (backend !== '2d' && (backend === 'webgl' || webglInUse < webglLimit)) {
      const gl = canvas.getContext('webgl', { ...DEFAULT_CONTEXT, ...options.contextAttributes });
      if (gl) {
        this.impl = new WebGLBackend(canvas, gl, pixelFormat);
        webglInUse++;
      } else if (backend === 'webgl') {
        throw new Error('canvas renderer: this canvas gives no WebGL context');
      }
    }
    if (!this.impl) {
      const ctx = canvas.getContext('2d', { alpha: false });
      if (!ctx) throw new Error('canvas renderer: this canvas gives neither a WebGL nor a 2D context');
      this.impl = new Canvas2DBackend(canvas, ctx, pixelFormat);
    }
    this.backend = this.impl instanceof WebGLBackend ? 'webgl' : '2d';
  }

  /**
   * Draws the frame now, scaled to fit the canvas with its aspect ratio kept.
   * The pixels are read during the call only. False when nothing could be
   * drawn (a WebGL context lost and not yet restored).
   */
  draw(frame) {
    if (!this.impl) throw new Error('canvas renderer: draw after destroy');
    const pixels = framePixels(frame);
    this.fitCanvas();
    if (!this.impl.upload(frame.width, frame.height, pixels)) return false;
    this.frameWidth = frame.width;
    this.frameHeight = frame.height;
    this.rect = fitRect(frame.width, frame.height, this.canvas.width, this.canvas.height);
    if (!this.impl.paint(this.rect, this.background)) return false;
    this.framesDrawn++;
    this.meter.tick(this.now());
    return true;
  }

  /** Frames drawn over the last fps window, per second. */
  get fps() {
    return this.meter.value(this.now());
  }

  /** Where the picture lies on the canvas, in canvas pixels; null before the first frame. */
  get frameRect() {
    return this.rect && { ...this.rect };
  }

  /** The canvas as drawn: RGBA, rows from the top, canvas.width × canvas.height. */
  snapshot() {
    if (!this.impl) throw new Error('canvas renderer: snapshot after destroy');
    const { width, height } = this.canvas;
    const data = this.rect ? this.impl.snapshot(this.rect, this.background) : new Uint8ClampedArray(width * height * 4);
    return { width, height, data };
  }

  /** Lets go of the context and the pixels; the canvas keeps what it shows. */
  destroy() {
    if (!this.impl) return;
    if (this.backend === 'webgl') webglInUse--;
    this.impl.destroy();
    this.impl = null;
  }

  fitCanvas() {
    const c = this.canvas;
    if (!this.autoSize || !c.clientWidth || !c.clientHeight) return;
    const ratio = (c.ownerDocument && c.ownerDocument.defaultView && c.ownerDocument.defaultView.devicePixelRatio) || 1;
    const w = Math.max(1, Math.round(c.clientWidth * ratio));
    const h = Math.max(1, Math.round(c.clientHeight * ratio));
    if (c.width !== w || c.height !== h) {
      c.width = w;
      c.height = h;
    }
  }
}

/** new CanvasRenderer(canvas, options). */
export function createCanvasRenderer(canvas, options) {
  return new CanvasRenderer(canvas, options);
}
