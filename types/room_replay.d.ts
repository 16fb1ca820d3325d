// The QXReplay_* and QXReplay_downloader_* groups: a recorded class replayed
// in a room (play, pause, seek, rate, chosen users' video and audio, the
// class's user and radio data), and the downloaders of replays. Rooms and
// downloaders are held by handle: positive integer numbers, never reused; a
// number that is not a live object of the export's kind gets the export's
// neutral answer (undefined, false or 0) and a log line. Records are read
// strictly: a key given with another type throws a TypeError and the export
// does nothing more; an absent key keeps its default.
import type { Handle } from './handles';

export type ReplayRoomHandle = Handle<'replay room'>;
export type ReplayDownloaderHandle = Handle<'replay downloader'>;

/** The recorded class room to enter. Absent keys are empty, 0 or false. */
export interface QXReplayRoomInfo {
  host?: string;
  /** 64-bit: values above 2^32 are kept exactly up to 2^53. */
  roomId: number;
  signature?: string;
  businessId?: string;
  isAdmin?: boolean;
  isSlim?: boolean;
  /** The class is still going on. */
  live?: boolean;
  /** Where play begins, in milliseconds. */
  timeToPlayMs?: number;
  forceFlushMetaInfo?: boolean;
}

/** A stream of the room: a user's video or audio. */
export interface QXReplayBizInfo {
  bizType: number;
  /** 64-bit. */
  userId: number;
  groupId: number;
}

/** A piece of the room's data at its play time, with a copy of its bytes. */
export interface QXReplayChunk {
  /** The chunk's play time in milliseconds. */
  npt: number;
  data: ArrayBuffer;
}

export interface QXReplayState {
  roomId: number;
  live: boolean;
  timeToPlayMs: number;
  /** The engine's: 0 idle, 1 entering, 2 paused, 3 playing, 4 completed, 5 failed. */
  state: number;
  seeking: boolean;
  buffering: boolean;
  playRate: number;
  positionMs: number;
  /** 0 until the class's meta is resolved. */
  durationMs: number;
  videoStreams: QXReplayBizInfo[];
  audioStreams: QXReplayBizInfo[];
  error: { errorCode: number; subCode: number };
}

/**
 * The room's events, on the JavaScript thread in the order the engine sent
 * them. Methods are looked up at delivery: a missing one (undefined or null)
 * skips the event. For each kind of chunk event the `...WithChunkData`
 * method is asked for first: when the listener has it, it gets chunk objects
 * and the plain method is not called; otherwise the plain method gets each
 * chunk's bytes alone.
 */
export interface QXReplayListener {
  onMetaResolved?(): void;
  onError?(errorCode: number, subCode: number): void;
  /** The room's state where play begins. */
  onSnapshot?(chunks: ArrayBuffer[]): void;
  onSnapshotWithChunkData?(chunks: QXReplayChunk[]): void;
  onUserData?(chunks: ArrayBuffer[]): void;
  onUserDataWithChunkData?(chunks: QXReplayChunk[]): void;
  onRadioMessage?(chunks: ArrayBuffer[]): void;
  onRadioMessageWithChunkData?(chunks: QXReplayChunk[]): void;
  onBufferStarted?(): void;
  onBufferEnded?(): void;
  onCompleted?(): void;
}

export interface QXReplayRenderFrame {
  width: number;
  height: number;
  /** Always 0. */
  rotation: 0;
  /**
   * The pixels, reused for frames of one size: consume them before returning. "abgr": width ×
   * height × 4 bytes (R, G, B, A in memory). "i420" (rooms made with the source flag
   * replayVideoRefactor20251118 off): the Y plane, then U, then V, rows packed, chroma planes of
   * ceil(width / 2) × ceil(height / 2).
   */
  buffer: ArrayBuffer;
  format: 'abgr' | 'i420';
}

/** Receives a stream's newest frame; frames that came while JavaScript was busy are skipped. */
export interface QXReplayRender {
  OnVideoRenderFrame(frame: QXReplayRenderFrame): void;
}

export interface QXReplayActionStatus {
  actionType: number;
  durationMs: number;
  extraData: string;
}

/** What a received audio stream's speaker does. */
export interface QXReplayActionStatusListener {
  onActionStatus(status: QXReplayActionStatus): void;
}

export interface QXReplayDownloadRoomInfo {
  /** 64-bit. */
  roomId: number;
  businessId?: string;
  isSlim?: boolean;
  isAdmin?: boolean;
}

export interface QXReplayDownloadSpan {
  startNpt: number;
  endNpt: number;
}

export interface QXReplayDownloadRequest {
  host?: string;
  roomInfo: QXReplayDownloadRoomInfo;
  signature?: string;
  enableEvicted?: boolean;
  /** The parts to download; none: startNpt to endNpt. */
  spans?: QXReplayDownloadSpan[];
  startNpt?: number;
  endNpt?: number;
}

/** A download as the downloader reports it: every key present. */
export interface QXReplayDownloadStatus {
  request: {
    host: string;
    roomInfo: Required<QXReplayDownloadRoomInfo>;
    signature: string;
    enableEvicted: boolean;
    spans: QXReplayDownloadSpan[];
    startNpt: number;
    endNpt: number;
  };
  downloadSize: number;
  totalSize: number;
  /** The downloader's: 0 waiting, 1 downloading, 2 paused, 3 completed, 4 failed. */
  state: number;
  error: number;
}

/** Absent keys keep the downloader's defaults. */
export interface QXReplayDownloaderConfig {
  maxParallelDownloads?: number;
  /** 64-bit. */
  userId?: number;
}

/**
 * Enters a replay room: creates its engine with the listener, and enters the room described. Answers
 * the room's handle, or 0 when no engine could be made (nothing is left allocated). Leave it with
 * QXReplay_leaveRoom. Throws "Expected arguments: roomInfo, listener" unless called with at least
 * (object, callbacks object).
 */
export declare function QXReplay_enterRoom(roomInfo: QXReplayRoomInfo, listener: QXReplayListener): ReplayRoomHandle | 0;
/**
 * Leaves the room: its engine is destroyed first, then nothing more reaches JavaScript, and
 * completions still owed are never called. The handle is stale afterwards. Throws "Expected
 * arguments: nativeEngine" unless called with at least (number). A stale, destroyed or forged room
 * handle gets the neutral answer and a log line.
 */
export declare function QXReplay_leaveRoom(nativeEngine: ReplayRoomHandle): void;
/**
 * Plays (before the meta is resolved: play begins with it). Throws "Expected arguments:
 * nativeEngine" unless called with at least (number). A stale, destroyed or forged room handle gets
 * the neutral answer and a log line.
 */
export declare function QXReplay_play(nativeEngine: ReplayRoomHandle): void;
/**
 * Pauses. Throws "Expected arguments: nativeEngine" unless called with at least (number). A stale,
 * destroyed or forged room handle gets the neutral answer and a log line.
 */
export declare function QXReplay_pause(nativeEngine: ReplayRoomHandle): void;
/**
 * Seeks to pos (milliseconds); callback is called once, without arguments, when the engine has
 * sought, after the events sent before it. A seek the engine refuses, or one still owed when the room
 * is left, never calls it. Throws "Expected arguments: nativeEngine, pos, callback" unless called
 * with at least (number, number, function). A stale, destroyed or forged room handle gets the
 * neutral answer and a log line.
 */
export declare function QXReplay_seekTo(nativeEngine: ReplayRoomHandle, pos: number, callback: () => void): void;
/**
 * Receives a stream's video: its newest frame reaches render.OnVideoRenderFrame. A stream received
 * again keeps its output, drawn to the new render object. listener has no role. Throws "Expected
 * arguments: nativeEngine, bizInfo, render, listener" unless called with at least (number, object,
 * callbacks object, object). A stale, destroyed or forged room handle gets the neutral answer and a
 * log line.
 */
export declare function QXReplay_videoStartReceive(nativeEngine: ReplayRoomHandle, bizInfo: QXReplayBizInfo,
  render: QXReplayRender, listener: object): void;
/**
 * Stops a stream's video: no frame reaches its render object afterwards. Throws "Expected arguments:
 * nativeEngine, bizInfo" unless called with at least (number, object). A stale, destroyed or forged
 * room handle gets the neutral answer and a log line.
 */
export declare function QXReplay_videoStopReceive(nativeEngine: ReplayRoomHandle, bizInfo: QXReplayBizInfo): void;
/**
 * Receives a stream's audio; with a listener, its action statuses reach listener.onActionStatus
 * (received again, the new listener replaces the old). Throws "Expected arguments: nativeEngine,
 * bizInfo" unless called with at least (number, object). A stale, destroyed or forged room handle
 * gets the neutral answer and a log line.
 */
export declare function QXReplay_audioStartReceive(nativeEngine: ReplayRoomHandle, bizInfo: QXReplayBizInfo,
  listener?: QXReplayActionStatusListener): void;
/**
 * Stops a stream's audio and its action statuses. Throws "Expected arguments: nativeEngine, bizInfo"
 * unless called with at least (number, object). A stale, destroyed or forged room handle gets the
 * neutral answer and a log line.
 */
export declare function QXReplay_audioStopReceive(nativeEngine: ReplayRoomHandle, bizInfo: QXReplayBizInfo): void;
/**
 * Sets the play rate (1 is real time). Throws "Expected arguments: nativeEngine, playRate" unless
 * called with at least (number, number). A stale, destroyed or forged room handle gets the neutral
 * answer and a log line.
 */
export declare function QXReplay_setPlayRate(nativeEngine: ReplayRoomHandle, playRate: number): void;
/**
 * Mutes or unmutes the room's audio. Throws "Expected arguments: nativeEngine, mute" unless called
 * with at least (number, boolean). A stale, destroyed or forged room handle gets the neutral answer
 * and a log line.
 */
export declare function QXReplay_setMute(nativeEngine: ReplayRoomHandle, mute: boolean): void;
/**
 * The room's state, or false for a stale, destroyed or forged room handle (with a log line). Throws
 * "Expected arguments: nativeEngine" unless called with at least (number).
 */
export declare function QXReplay_getState(nativeEngine: ReplayRoomHandle): QXReplayState | false;
/** Does nothing, whatever it is given. */
export declare function QXReplay_setSpatialAudioPosition(...args: unknown[]): void;
/**
 * Fetches the class's user data with start <= npt < end: callback gets its chunks once, in play
 * order. A fetch the engine refuses, or one still owed when the room is left, never calls it.
 * Throws "wrong arguments" unless called with at least (number, number, number, function). A stale,
 * destroyed or forged room handle gets the neutral answer and a log line.
 */
export declare function QXReplay_fetchUserData(nativeEngine: ReplayRoomHandle, start: number, end: number,
  callback: (chunks: QXReplayChunk[]) => void): void;
/**
 * Fetches the class's radio messages with start <= npt < end, answered as QXReplay_fetchUserData
 * is. Throws "wrong arguments" unless called with at least (number, number, number, function). A
 * stale, destroyed or forged room handle gets the neutral answer and a log line.
 */
export declare function QXReplay_fetchRadioData(nativeEngine: ReplayRoomHandle, start: number, end: number,
  callback: (chunks: QXReplayChunk[]) => void): void;
/**
 * How loud a received stream's speaker is now, 0 (silent) to 100. Never throws: bad arguments, a
 * stale, destroyed or forged room handle, or a stream whose keys have other types answer 0 (with a
 * log line).
 */
export declare function QXReplay_getSpeechOutputLevel(nativeEngine: ReplayRoomHandle, bizInfo: QXReplayBizInfo): number;

/**
 * Where downloaded replays are kept, and how many bytes they may take. Throws "wrong arguments"
 * unless called with at least (string, number).
 */
export declare function QXReplay_downloader_setCacheDirectory(directory: string, size: number): void;
/**
 * Creates and initialises a downloader: its handle, or 0 when none could be made or it would not
 * initialise. Destroy it with QXReplay_downloader_destroy. Throws "wrong arguments" unless called
 * with at least (object).
 */
export declare function QXReplay_downloader_init(config: QXReplayDownloaderConfig): ReplayDownloaderHandle | 0;
/**
 * Destroys the downloader: answers it gave before still reach their callbacks, queries it never
 * answered are dropped uncalled. The handle is stale afterwards. Throws "wrong arguments" unless
 * called with at least (number). A stale, destroyed or forged downloader handle gets the neutral
 * answer and a log line.
 */
export declare function QXReplay_downloader_destroy(handle: ReplayDownloaderHandle): void;
/**
 * Whether the downloader is initialised (false for a stale, destroyed or forged handle, with a log
 * line). Throws "wrong arguments" unless called with at least (number).
 */
export declare function QXReplay_downloader_isInitialized(handle: ReplayDownloaderHandle): boolean;
/**
 * Starts downloading a room's replay; a request for a room already there replaces it. Throws "wrong
 * arguments" unless called with at least (number, object). A stale, destroyed or forged downloader
 * handle gets the neutral answer and a log line.
 */
export declare function QXReplay_downloader_addDownloadRequest(handle: ReplayDownloaderHandle,
  request: QXReplayDownloadRequest): void;
/**
 * Pauses a room's download. Throws "wrong arguments" unless called with at least (number, object). A
 * stale, destroyed or forged downloader handle gets the neutral answer and a log line.
 */
export declare function QXReplay_downloader_pause(handle: ReplayDownloaderHandle, roomInfo: QXReplayDownloadRoomInfo): void;
/**
 * Resumes a room's download. Throws "wrong arguments" unless called with at least (number, object).
 * A stale, destroyed or forged downloader handle gets the neutral answer and a log line.
 */
export declare function QXReplay_downloader_resume(handle: ReplayDownloaderHandle, roomInfo: QXReplayDownloadRoomInfo): void;
/**
 * Pauses every download. Throws "wrong arguments" unless called with at least (number). A stale,
 * destroyed or forged downloader handle gets the neutral answer and a log line.
 */
export declare function QXReplay_downloader_pauseAll(handle: ReplayDownloaderHandle): void;
/**
 * Resumes every download. Throws "wrong arguments" unless called with at least (number). A stale,
 * destroyed or forged downloader handle gets the neutral answer and a log line.
 */
export declare function QXReplay_downloader_resumeAll(handle: ReplayDownloaderHandle): void;
/**
 * Removes a room's download (room id and business id); deleteFiles: its files too. Throws "wrong
 * arguments" unless called with at least (number, object, boolean). A stale, destroyed or forged
 * downloader handle gets the neutral answer and a log line.
 */
export declare function QXReplay_downloader_remove(handle: ReplayDownloaderHandle, roomInfo: QXReplayDownloadRoomInfo,
  deleteFiles: boolean): void;
/**
 * Removes every download of the room's id, whatever its business. Throws "wrong arguments" unless
 * called with at least (number, object, boolean). A stale, destroyed or forged downloader handle
 * gets the neutral answer and a log line.
 */
export declare function QXReplay_downloader_removeWithRoomId(handle: ReplayDownloaderHandle,
  roomInfo: QXReplayDownloadRoomInfo, deleteFiles: boolean): void;
/**
 * Removes every download. Throws "wrong arguments" unless called with at least (number, boolean). A
 * stale, destroyed or forged downloader handle gets the neutral answer and a log line.
 */
export declare function QXReplay_downloader_removeAll(handle: ReplayDownloaderHandle, deleteFiles: boolean): void;
/**
 * Asks for every download's status: callback gets them once, when the downloader answers. Throws
 * "wrong arguments" unless called with at least (number, function). A stale, destroyed or forged
 * downloader handle gets the neutral answer and a log line.
 */
export declare function QXReplay_downloader_getDownloadStatus(handle: ReplayDownloaderHandle,
  callback: (statuses: QXReplayDownloadStatus[]) => void): void;
/**
 * Asks for the size of the temporary cache in bytes: callback gets it once, when the downloader
 * answers. Throws "wrong arguments" unless called with at least (number, function). A stale,
 * destroyed or forged downloader handle gets the neutral answer and a log line.
 */
export declare function QXReplay_downloader_getTemporaryCacheSize(handle: ReplayDownloaderHandle,
  callback: (bytes: number) => void): void;
/**
 * The size of the temporary cache in bytes, now (0 for a stale, destroyed or forged handle, with a
 * log line). Throws "wrong arguments" unless called with at least (number).
 */
export declare function QXReplay_downloader_getTemporaryCacheSizeSync(handle: ReplayDownloaderHandle): number;
/**
 * Removes the temporary cache; force: also what a download still uses. Throws "wrong arguments"
 * unless called with at least (number, boolean). A stale, destroyed or forged downloader handle gets
 * the neutral answer and a log line.
 */
export declare function QXReplay_downloader_removeTemporaryCache(handle: ReplayDownloaderHandle, force: boolean): void;

// Only what is exported above leaves this file.
export {};
