// Declarations of lumen_engine_addon/renderer: draws the frames of the
// add-on's renderers on a <canvas> in a page (an Electron window).
/// <reference lib="dom" />

/** Pixel bytes: what onVideoFrame hands over (a Buffer), or the same moved to the page. */
export type FramePixels = ArrayBuffer | SharedArrayBuffer | ArrayBufferView;

/**
 * A frame as the add-on's onVideoFrame hands it over, or as moved to the
 * page: width × height pixels of 4 bytes, rows packed. Only the first
 * width × height × 4 bytes are read; fewer throw a RangeError.
 */
export interface CanvasFrame {
  width: number;
  height: number;
  /** The add-on's key. */
  buffer?: FramePixels;
  /** Read when there is no `buffer`. */
  pixels?: FramePixels;
}

/** 'bgra': B, G, R, A, the engine's order. */
export type PixelFormat = 'bgra' | 'rgba';

export interface CanvasRendererOptions {
  /**
   * 'auto' (default): WebGL when the canvas gives a context and fewer than
   * the page's limit are in use (setWebGLContextLimit), else 2D. 'webgl'
   * throws when there is none.
   */
  backend?: 'auto' | 'webgl' | '2d';
  /** Default 'bgra'. */
  pixelFormat?: PixelFormat;
  /** Colour around the picture, each 0..1. Default black. */
  background?: [number, number, number];
  /** The canvas' pixel size follows its CSS size × devicePixelRatio. Default true. */
  autoSize?: boolean;
  /** The window of the drawn-fps figure. Default 1000. */
  fpsWindowMs?: number;
  /** Merged over the renderer's WebGL context attributes. */
  contextAttributes?: WebGLContextAttributes;
  /** The clock in milliseconds. Default performance.now. */
  now?: () => number;
}

export interface FrameRect {
  x: number;
  y: number;
  width: number;
  height: number;
}

export interface CanvasSnapshot {
  width: number;
  height: number;
  /** RGBA, rows from the top. */
  data: Uint8ClampedArray;
}

export class CanvasRenderer {
  constructor(canvas: HTMLCanvasElement | OffscreenCanvas, options?: CanvasRendererOptions);
  readonly canvas: HTMLCanvasElement | OffscreenCanvas;
  /** The path this canvas draws with, fixed at construction. */
  readonly backend: 'webgl' | '2d';
  /** Frames drawn since construction. */
  readonly framesDrawn: number;
  /** The size of the last frame drawn; 0 before the first. */
  readonly frameWidth: number;
  readonly frameHeight: number;
  /** Frames drawn over the last fps window, per second. */
  readonly fps: number;
  /** Where the picture lies on the canvas, in canvas pixels; null before the first frame. */
  readonly frameRect: FrameRect | null;
  /**
   * Draws the frame now, scaled with its aspect ratio kept. The pixels are
   * read during the call only. False when nothing could be drawn (a lost
   * WebGL context not restored yet). Throws a TypeError or RangeError for a
   * malformed frame.
   */
  draw(frame: CanvasFrame): boolean;
  /** The canvas as drawn. */
  snapshot(): CanvasSnapshot;
  /** Releases the context and the pixels; later draws throw. */
  destroy(): void;
}

export function createCanvasRenderer(canvas: HTMLCanvasElement | OffscreenCanvas, options?: CanvasRendererOptions): CanvasRenderer;

/** How many canvases of the page may use WebGL at once (default 8); later ones use 2D. */
export function setWebGLContextLimit(n: number): void;
export function webglContextsInUse(): number;

/** The largest rectangle with the frame's aspect ratio centred in width × height. */
export function fitRect(frameWidth: number, frameHeight: number, width: number, height: number): FrameRect;

/** Checks a frame and answers its first width × height × 4 bytes. */
export function framePixels(frame: CanvasFrame): Uint8Array;

/** Copies dst.length / 4 pixels into RGBA with alpha 255. */
export function copyToRgba(src: Uint8Array, dst: Uint8Array | Uint8ClampedArray, pixelFormat?: PixelFormat): void;

/** Counts ticks over a sliding window. */
export class FpsMeter {
  constructor(windowMs?: number, capacity?: number);
  tick(now: number): void;
  /** Ticks within (now - windowMs, now], per second. */
  value(now: number): number;
}
