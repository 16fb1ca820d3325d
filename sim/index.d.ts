// Declarations of the stand-in engine's control module,
// require('lumen_engine_addon/sim'): tests and demos play the engine's and the
// server's part through it. It exists only in builds against the stand-in
// engine; loading it from a build against the real engine throws.
// docs/sim.md and the pages it links describe each function.

/// <reference types="node" />

/** A value a held callback is fired with, or a scripted answer. */
export type SimValue = number | boolean | string | ArrayBufferView;

/** One call the add-on made into the engine. */
export interface JournalEntry {
  seq: number;
  /** `<namespace>.<Interface>.<Method>`, e.g. "tavel.LivePlayEngine.Connect". */
  op: string;
  args: unknown[];
}

export interface LogLine {
  file: string;
  line: number;
  severity: number;
  tag: string;
  text: string;
}

export interface TallyEntry {
  url: string;
  strValues: Record<string, string>;
  numValues: Record<string, number>;
  count: number;
  flag: number;
}

export interface HttpRequestSpec {
  url?: string;
  method?: number;
  type?: number;
  headers?: ReadonlyArray<{ name: string; value: string }>;
  body?: string | Buffer | null;
  value?: number;
}

export interface HttpCompletion {
  id: number;
  url: string;
  type: number;
  value: number;
  ok: boolean;
  message: string;
  statusCode: number;
  headers: Array<{ name: string; value: string }>;
  body: Buffer;
}

export interface SimDevice {
  name?: string;
  guid?: string;
  transportType?: number;
  isDefault?: boolean;
}

export interface SimMachine {
  cameras?: ReadonlyArray<SimDevice & { formats?: ReadonlyArray<{ width: number; height: number; fps: number; pixelFormat: number }> }>;
  microphones?: ReadonlyArray<SimDevice>;
  speakers?: ReadonlyArray<SimDevice>;
  windows?: ReadonlyArray<{
    id: number;
    title?: string;
    width?: number;
    height?: number;
    posX?: number;
    posY?: number;
    minimized?: boolean;
    onScreen?: boolean;
    scalingFactor?: number;
  }>;
  screens?: ReadonlyArray<{ id: number; title?: string }>;
}

/** Player video frames: what a playing core draws. */
export interface SimPlayerVideo {
  width?: number;
  height?: number;
  rotation?: number;
  fps?: number;
  alphaType?: number;
}

// ---- journal, scripts and switches (docs/sim.md) -----------------------------------------

/** The calls made so far, oldest first; `filter` an op (exact) or a RegExp. */
export declare function journal(filter?: string | RegExp): JournalEntry[];
export declare function clearJournal(): void;
/** Every call of `op` answers `value`, `times` times (negative: for ever; 0 removes the script). */
export declare function script(op: string, value: SimValue, times?: number): void;
/** The value the next call of `op` would get (uses one of its times), or undefined. */
export declare function scripted(op: string): SimValue | undefined;
/** Sets engine source flags without journalling: an object or its JSON text. */
export declare function setSourceFlags(flags: Record<string, boolean | number | string> | string): void;
/** Every switch set so far. */
export declare function flags(): Record<string, boolean>;
/** Each call of `op` returns after `ms` milliseconds or once released. */
export declare function delayCalls(op: string, ms: number, times?: number): void;
/** Lets waiting calls of `op` (or of every op) return and removes the delay. */
export declare function releaseDelayed(op?: string): void;
/** Stops the producers, waits for the engine threads and clears every record of the simulation. */
export declare function reset(): void;
/** Engine objects alive, by kind ({ roots, liveClients, players, aiAgents, ... }). */
export declare function objects(): Record<string, number>;

// ---- engine threads and held callbacks ----------------------------------------------------

/** Names of the callbacks the add-on handed to the engine, held now. */
export declare function held(): string[];
/** Runs a held callback on engine thread `thread` (0 to 7) and returns once it ran; false when none is held. */
export declare function fire(name: string, args?: ReadonlyArray<SimValue>, thread?: number): boolean;
/** `count` firings over `threads` engine threads; resolves when all have run. */
export declare function fireMany(name: string, args: ReadonlyArray<SimValue>, count?: number, threads?: number): Promise<void>;
/** Fires once on an engine thread after `delayMs`; nothing keeps the event loop alive meanwhile. */
export declare function fireAfter(name: string, args: ReadonlyArray<SimValue>, delayMs: number): void;
/**
 * Setters and removers return without waiting for a firing in progress of what they dropped (each
 * firing then lingers 100 us before its call); an object's destruction still waits. Off after `reset()`.
 */
export declare function setNoWait(on: boolean): void;
/** Blocks until every engine thread has run all it was given. */
export declare function waitIdle(): void;

// ---- live class (docs/sim-live.md) ----------------------------------------------------------

/** Connects report themselves (the default) after `delayMs`, or not at all. */
export declare function setAutoConnect(on: boolean, options?: { delayMs?: number }): void;
/** The held video sink names ("sink:<userId>:<type>", "sink:local:<trackType>", ...). */
export declare function sinks(): string[];
/**
 * One frame of `pattern(width, height, seed)` to a sink, on an engine thread, in a pixel buffer of
 * `format` (4-byte 'bgra' by default, or 'i420'); false without that sink.
 */
export declare function pushFrame(name: string, width: number, height: number, seed: number, format?: 'bgra' | 'i420'): boolean;
/** The ABGR pixels `pattern(width, height, seed)` makes through the engine's conversions (to I420, then to ABGR). */
export declare function abgrOf(width: number, height: number, seed: number): Buffer | null;
/** A flood of frames from up to 8 engine threads; resolves to the frames delivered. */
export declare function pushFrames(name: string, width: number, height: number, count: number, threads?: number): Promise<number>;
/** The moving test picture to every held sink until stopVideo(). */
export declare function startVideo(options?: { width?: number; height?: number; fps?: number }): void;
export declare function stopVideo(): void;
/** Frames delivered per sink since the last reset. */
export declare function videoStats(): Record<string, number>;
/** The still picture a seed fixes: width × height × 4 bytes, B, G, R, A. */
export declare function pattern(width: number, height: number, seed: number): Buffer;
/** Colour bars, the user's band and a moving square. */
export declare function testPattern(width: number, height: number, userId: number, frame: number): Buffer;
/** 10 ms of microphone PCM to the recording callback every `intervalMs`. */
export declare function startAudio(options?: { intervalMs?: number }): void;
export declare function stopAudio(): void;
export declare function audioStats(): { starts: number; chunks: number; stops: number };
/** The statistics a stopped microphone recording reports (merged; no argument: read). */
export declare function setRecordingInfo(info?: Record<string, number | boolean>): Record<string, number | boolean>;
/** The live client's cache provider Get, on an engine thread; null without one. */
export declare function cacheGet(key: string, capacity: number): { size: number; bytes: Buffer } | null;

// ---- devices (docs/sim-devices.md) ----------------------------------------------------------

/** The machine's devices, windows and screens; each list given replaces that kind. */
export declare function setDevices(machine: SimMachine): void;
export declare function setPlatform(platform: { aero?: boolean; winVersion?: number }): { electronVersion: string };

// ---- playback (docs/sim-player.md) ----------------------------------------------------------

/** Ids of the player cores alive. */
export declare function players(): number[];
export declare function setPlayerVideo(video?: SimPlayerVideo): void;
/** Draws frames into a core's renderer; answers how many were drawn. */
export declare function drawPlayerFrames(id: number, frames?: SimPlayerVideo & { first?: number; count?: number }): number;
/** Frames the core's render thread has drawn since it last started playing; 0 for no such core. */
export declare function playerFramesRendered(id: number): number;
/** Frame `index` as I420 planes. */
export declare function playerPicture(width: number, height: number, index: number): Buffer;
/** Frame `index` converted to ABGR, unrotated. */
export declare function playerPictureAbgr(width: number, height: number, index: number): Buffer;
/** The bytes pushed into a core's external data source since the last read; null without one. */
export declare function readPlayerData(id: number): Buffer | null;

// ---- services (docs/sim-services.md) --------------------------------------------------------

/** One engine request through the app's HTTP executor; its id, or null when none is held. */
export declare function httpRequest(request?: HttpRequestSpec, options?: { thread?: number }): number | null;
/** `count` requests over engine threads; resolves once all were issued. */
export declare function httpRequests(request: HttpRequestSpec, count: number, threads?: number): Promise<void>;
export declare function httpCompletions(): HttpCompletion[];
export declare function httpIssued(): number;
/** Reads of the AI agent's audio provider so far. */
export declare function agentAudio(): {
  pulls: number;
  failures: number;
  sampleRate: number;
  channels: number;
  frames: number;
  samples: Int16Array;
};
export declare function setProbeResult(result: { isConnected?: boolean; rtt?: number; lossRate?: number }): void;
export declare function setFaceResult(face: Partial<Record<
  'faceLeft' | 'faceRight' | 'faceTop' | 'faceBottom' | 'score' | 'yaw' | 'pitch' | 'eyeDistance' | 'id' | 'action' | 'picWidth' | 'picHeight',
  number
>>): void;

// ---- logging and analytics (docs/sim.md) ----------------------------------------------------

/** Engine threads write `count` lines each; resolves when all are written. */
export declare function writeLogs(severity?: number, tag?: string, text?: string, count?: number, threads?: number): Promise<void>;
export declare function logLines(): LogLine[];
export declare function clearLogLines(): void;
export declare function logMessagesBuilt(): number;
/** Sets the engine's minimum log severity when given one; answers the current one. */
export declare function minSeverity(severity?: number): number;
/** Analytics entries posted so far, oldest first. */
export declare function tally(): TallyEntry[];

// ---- room replay (docs/sim-room-replay.md) -----------------------------------------------

export interface ReplayClass {
  durationMs: number;
  fps: number;
  bufferMs: number;
  enterDelayMs: number;
  teacher: { width: number; height: number };
  student: { width: number; height: number };
}

export interface ReplayCompletions {
  hold: boolean;
  delayMs: number;
  times: number;
  afterLeave: boolean;
}

/** A recorded chunk of the class: user data, a radio message or a snapshot part. */
export interface ReplayChunk {
  npt: number;
  data: Buffer;
}

/** Which stream of the class a picture shows, and when. */
export interface ReplayPictureOptions {
  role?: 'teacher' | 'student' | number;
  positionMs?: number;
  durationMs?: number;
  frame?: number;
}

/** Merges into the recorded class (clamped); answers the whole. */
export declare function setReplayClass(partial: Partial<Omit<ReplayClass, 'teacher' | 'student'>> & {
  teacher?: Partial<ReplayClass['teacher']>;
  student?: Partial<ReplayClass['student']>;
}): ReplayClass;
/** Merges into the rules of how rooms call their completions; answers the whole. */
export declare function setReplayCompletions(partial: Partial<ReplayCompletions>): ReplayCompletions;
/** Real time (false) or manual time; answers the clock's time. */
export declare function setReplayClock(manual: boolean): number;
/** Moves manual time on and returns once every room has stepped to it; answers the new time. */
export declare function advanceReplayClock(ms: number): number;
/** Each room alive: its state, mute, streams and completions. */
export declare function replayRooms(): Array<Record<string, unknown>>;
/** Each downloader alive: its configuration, downloads and queries. */
export declare function replayDownloaders(): Array<Record<string, unknown>>;
/** What the class holds: user data or radio chunks (start <= npt < end), or the snapshot at start. */
export declare function replayChunks(kind: 'user' | 'radio' | 'snapshot', start: number, end?: number,
  durationMs?: number, roomId?: number): ReplayChunk[];
/** A replay frame as packed I420 planes. */
export declare function replayPicture(width: number, height: number, options?: ReplayPictureOptions): Buffer;
/** A replay frame converted to ABGR. */
export declare function replayPictureAbgr(width: number, height: number, options?: ReplayPictureOptions): Buffer;
/** The play position and frame number a converted replay frame shows. */
export declare function readReplayFrame(abgr: Uint8Array, width: number, height: number): { positionMs: number; frame: number };
/** What the engine reads for a source flag, defaults included. */
export declare function sourceFlag(key: string): boolean;
/** Drives a room-replay engine of the stand-in's own tests: 'create' answers a probe id; other ops act on one. */
export declare function probeReplay(op: string, ...args: unknown[]): unknown;
/** Drives a replay downloader of the stand-in's own tests ('create' answers a probe id). */
export declare function probeDownloader(op: string, ...args: unknown[]): unknown;
/** What a probe's callbacks and completions received, each a copy. */
export declare function probeEvents(id: number): Array<{ event: string; tag?: number; chunks?: ReplayChunk[]; [key: string]: unknown }>;
/** Each stream's frame count and newest frame of a probe. */
export declare function probeFrames(id: number): unknown;

// ---- recorders (docs/sim-recording.md) ----------------------------------------------------

/** Recorded time spans, in ms from the start of a recording. */
export interface SimSpan {
  startMs: number;
  endMs: number;
}

/** A recording as its segment file holds it. */
export interface SimSegment {
  width: number;
  height: number;
  fps: number;
  spans: SimSpan[];
}

/** How the recorders' own work is paced, in ms (-1: held for its firer). */
export interface SimRecordingTiming {
  exportStepMs: number;
  thumbnailIntervalMs: number;
  pictureDelayMs: number;
}

/** A thumbnail: 4-byte pixels in rows of `stride` bytes. */
export interface SimThumbnail {
  width: number;
  height: number;
  stride: number;
  buffer: Buffer;
}

/** Switches the recorders' clock to manual time (or back) when given; answers its time in ms. */
export declare function recordingClock(options?: { manual?: boolean }): number;
/** Moves a manual clock on; answers its time. */
export declare function advanceRecordingClock(ms: number): number;
/** Merges into the recorders' timing; answers the whole. */
export declare function setRecordingTiming(partial: Partial<SimRecordingTiming>): SimRecordingTiming;
/** The segment file at `path`, or null when it is none. */
export declare function readSegment(path: string): (SimSegment & { durationMs: number }) | null;
/** Writes a segment file at an absolute path; true once written. */
export declare function writeSegment(path: string, segment: Partial<SimSegment>): boolean;
/** The recorded time shown at a position (-1 for an empty recording). */
export declare function recordedTimeAt(segment: Partial<SimSegment>, positionMs: number): number;
/** The thumbnail of a recorded time. */
export declare function drawRecordedTime(width: number, height: number, ms: number): SimThumbnail;
/** The ms a thumbnail's pixel at `offset` carries; null past the end. */
export declare function readRecordedTime(bytes: ArrayBufferView, offset?: number): number | null;
/** Bytes between a thumbnail's rows. */
export declare function thumbnailStride(width: number): number;
/** Frames drawn per surface a surface sink was made for. */
export declare function surfaces(): Record<string, number>;
/** The bytes a taken picture carries. */
export declare function cameraPicture(width: number, height: number, mirror?: boolean): Buffer;
/** A thumbnail tool run on a file: its thumbnails in the order made, or the failing call's code. */
export declare function thumbnailsOf(path: string, request?: { width?: number; height?: number; durationMs?: number; seekMs?: number }):
  Array<SimThumbnail & { timestampUs: number }> | number;
