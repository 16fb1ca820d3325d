// The canvas renderer as a window's script imports it, fed with the frames
// the add-on's renderers receive (moved to the page as they are).
import { CanvasRenderer, createCanvasRenderer, fitRect, setWebGLContextLimit, webglContextsInUse } from 'lumen_engine_addon/renderer';
import type { CanvasFrame, CanvasSnapshot, FrameRect } from 'lumen_engine_addon/renderer';
import type { TrackVideoFrame, VideoRenderer } from 'lumen_engine_addon';

declare const canvas: HTMLCanvasElement;
declare const port: MessagePort;

const renderer = new CanvasRenderer(canvas, { backend: 'auto', pixelFormat: 'bgra', background: [0, 0, 0], fpsWindowMs: 500 });
const backend: 'webgl' | '2d' = renderer.backend;

// The add-on's frame object is a drawable frame as it is.
const direct: VideoRenderer<TrackVideoFrame> = { onVideoFrame: (frame) => void renderer.draw(frame) };

// What a MessagePort carries: the pixels as an ArrayBuffer.
port.onmessage = (e: MessageEvent<{ width: number; height: number; pixels: ArrayBuffer }>) => {
  const drawn: boolean = renderer.draw(e.data);
  const rate: number = renderer.fps;
  void [drawn, rate];
};

const frame: CanvasFrame = { width: 2, height: 1, buffer: new Uint8Array(8) };
const snap: CanvasSnapshot = createCanvasRenderer(canvas).snapshot();
const rect: FrameRect | null = renderer.frameRect;
const fitted: FrameRect = fitRect(640, 360, 300, 300);
setWebGLContextLimit(4);
const inUse: number = webglContextsInUse();
void [backend, direct, frame, snap, rect, fitted, inUse];

// @ts-expect-error no such backend
new CanvasRenderer(canvas, { backend: 'gpu' });
// @ts-expect-error no such pixel order
new CanvasRenderer(canvas, { pixelFormat: 'argb' });
// @ts-expect-error a frame needs its size
renderer.draw({ buffer: new Uint8Array(4) });
// @ts-expect-error read-only
renderer.backend = '2d';
