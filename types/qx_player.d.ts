// The QXPlayer_* group: players held by handle, their renderer, downloads,
// the key preloader and external data sources. Handles are positive integer
// numbers, never reused; a number that is not a live object of the export's
// kind gets the export's neutral answer (false, 0, undefined or -1).
import type { Handle } from './handles';

export type PlayerHandle = Handle<'player'>;
export type DataSourceHandle = Handle<'external data source'>;
export type DownloadListenerHandle = Handle<'download listener'>;

/** Every key optional; absent keys keep the library's defaults. */
export interface QXPlayerDataSource {
  sourceId?: string;
  url?: string;
  cache_dir?: string;
  urlPrefixes?: string[];
  /** Host groups; duplicates inside a group collapse. */
  equivalentHosts?: string[][];
  clipStartMs?: number;
  clipEndMs?: number;
  presetMediaMine?: number;
  ioScheme?: number;
  cache?: unknown;
  isLive?: unknown;
  startAtPositionMs?: number;
  hlsStartSegmentIndex?: number;
  hlsPresetStartTimeMs?: number;
  keyServer?: string;
  httpProxyServer?: string;
}

/** A data source as the status reports it (`cacheDir`, not `cache_dir`). */
export interface QXPlayerStatusDataSource {
  url: string;
  sourceId: string;
  cacheDir: string;
  urlPrefixes: string[];
  equivalentHosts: string[][];
  clipStartMs: number;
  clipEndMs: number;
  presetMediaMine: number;
  ioScheme: number;
  cache: boolean;
  isLive: boolean;
  startAtPositionMs: number;
  hlsStartSegmentIndex: number;
  hlsPresetStartTimeMs: number;
  keyServer: string;
  httpProxyServer: string;
}

export interface QXPlayerOptions {
  disableVideo?: boolean;
  disableAudio?: boolean;
  mute?: boolean;
  blind?: boolean;
  playRate?: number;
  looping?: boolean;
  leftVolume?: number;
  rightVolume?: number;
  startOnPrepared?: boolean;
  accurateSeek?: boolean;
  hardwareDecodeAVC?: boolean;
  readyToPlayBufferMs?: number;
  bufferSizeBytes?: number;
  bufferingEndThresholdMs?: number;
  masterClockType?: number;
  showInfo?: boolean;
  showHudInfo?: boolean;
  lazyLoad?: boolean;
  segmentAutoPlay?: boolean;
  stepOnPrepared?: boolean;
  seekAfterCompleteAutoStart?: boolean;
  audioSendOut?: boolean;
  videoSendOut?: boolean;
  bizInfo?: { bizType?: number; userId?: number; groupId?: number };
  usePrepared?: boolean;
  enableFadeIn?: boolean;
  pauseAtEndOfSegment?: boolean;
  useH265First?: boolean;
}

export interface QXPlayerVideoPoint {
  segmentIndex: number;
  pos: number;
  autoPause: boolean;
  useVideo: boolean;
}

export interface QXPlayerPlaybackStatus {
  state: number;
  currentPositionMs: number;
  playablePositionMs: number;
  videoParams: { width: number; height: number; sarNum: number; sarDen: number; rotate: number; fps: number; bitRate: number }[];
  playingSegmentIndex: number;
  loadingSegmentIndex: number;
  durations: number[];
  datasources: QXPlayerStatusDataSource[];
  errorInfo: { what: number; extra: number; msg: string };
  buffering: boolean;
  bufferingPercent: number;
  seeking: boolean;
  firstVideoFrameRendered: boolean;
  firstAudioFrameRendered: boolean;
  ioSpeedBytesPerSecond: number;
  playRate: number;
}

/** Methods are looked up at delivery; a missing one skips the event. */
export interface QXPlayerCallback {
  OnPlayerV2Error?(what: number, extra: number): void;
  OnPrepared?(): void;
  OnCompleted?(): void;
  OnBufferStarted?(reason: number): void;
  OnBufferingUpdated?(percent: number): void;
  OnBufferingEnd?(reason: number): void;
  OnVideoSizeChanged?(width: number, height: number, sarNum: number, sarDen: number): void;
  OnFirstVideoFrameRendered?(): void;
  OnFirstAudioFrameRendered?(): void;
  OnInfo?(what: number, extra: number, text: string): void;
  OnSeekCompleted?(positionMs: number, extra: number): void;
  OnTotalDurationChanged?(durationMs: number, segmentCount: number): void;
  OnCurrentSegmentChanged?(segmentIndex: number): void;
  OnSegmentCompleted?(segmentIndex: number): void;
  OnVideoPointHit?(point: QXPlayerVideoPoint): void;
  OnSubtitle?(subtitle: { text: string; show: boolean }): void;
  OnSubtitleFailed?(error: number): void;
}

export interface QXPlayerRenderFrame {
  width: number;
  height: number;
  /** Always 0: rotation is applied to the pixels. */
  rotation: 0;
  /** Reused for frames of one size: consume it before returning. */
  buffer: ArrayBuffer;
  format: 'abgr' | 'i420';
  alphaType: number;
}

export interface QXPlayerRender {
  OnVideoRenderFrame(frame: QXPlayerRenderFrame): void;
}

export interface QXDownloadRequest {
  sourceId?: string;
  url?: string;
  urlPrefixes?: string[];
  position?: number;
  length?: number;
  enableEvicted?: boolean;
  preferWidth?: number;
  preferHeight?: number;
  preferH265?: boolean;
  keyServer?: string;
}

export interface QXDownloadStatus {
  request: Required<QXDownloadRequest>;
  downloadSize: number;
  totalSize: number;
  state: number;
  error: number;
  downloadSpeed: number;
}

export interface QXDownloadListener {
  onDownloadStatusChanged(status: QXDownloadStatus): void;
}

export interface QXExternalData {
  type?: number;
  seekPosition?: number;
  /** The bytes (a typed array, Buffer, DataView or ArrayBuffer); `bytes` is read when `data` is absent. */
  data?: ArrayBufferView | ArrayBuffer;
  bytes?: ArrayBufferView | ArrayBuffer;
}

/**
 * Creates a player core: its handle for the other QXPlayer_ exports, or 0 when none was made.
 * Destroy it with QXPlayer_destroy.
 */
export declare function QXPlayer_constructor(): PlayerHandle;
/** Initialises the player library once per process. */
export declare function QXPlayer_globalInit(): void;
/** The player library's version. */
export declare function QXPlayer_getVersion(): string;
/**
 * Trims the player cache in directory to size bytes, keeping the ratio given. Throws "invalid
 * arguments" unless called with at least (string, number, number).
 */
export declare function QXPlayer_checkAndRemoveCache(directory: string, size: number, ratio: number): void;
/**
 * Initialises a player for video and audio. Throws "Expected arguments: player_ptr" unless called
 * with at least (number). A stale, destroyed or forged player handle gets the neutral answer and a
 * log line.
 */
export declare function QXPlayer_initPlayer(player: PlayerHandle): boolean;
/**
 * Initialises a player for short audio clips. Throws "Expected arguments: player_ptr" unless called
 * with at least (number). A stale, destroyed or forged player handle gets the neutral answer and a
 * log line.
 */
export declare function QXPlayer_initPlayerWithShortAudioMode(player: PlayerHandle): boolean;
/**
 * Initialises a player that draws its video to the render object. Throws "Expected arguments:
 * player_ptr, render" unless called with at least (number, object). A stale, destroyed or forged
 * player handle gets the neutral answer and a log line.
 */
export declare function QXPlayer_initPlayerWithRender(player: PlayerHandle, render: QXPlayerRender): boolean;
/**
 * Whether the player outputs YUV pictures. Throws "Expected arguments: player_ptr, enable" unless
 * called with at least (number, boolean). A stale, destroyed or forged player handle gets the
 * neutral answer and a log line.
 */
export declare function QXPlayer_setOutputYuv(player: PlayerHandle, enable: boolean): void;
/**
 * Sets the player's media as a list of segments. Throws "Expected arguments: player_ptr,
 * datasources" unless called with at least (number, array). A stale, destroyed or forged player
 * handle gets the neutral answer and a log line.
 */
export declare function QXPlayer_setDataSources(player: PlayerHandle, sources: QXPlayerDataSource[], flag?: boolean): void;
/**
 * Sets the player's media. Throws "Expected arguments: pos, player_ptr" unless called with at least
 * (number, object). A stale, destroyed or forged player handle gets the neutral answer and a log
 * line.
 */
export declare function QXPlayer_setDataSource(player: PlayerHandle, source: QXPlayerDataSource, flag?: boolean): void;
/**
 * Sets the player's subtitle sources. Throws "Expected arguments: player_ptr, subtitles" unless
 * called with at least (number, array). A stale, destroyed or forged player handle gets the neutral
 * answer and a log line.
 */
export declare function QXPlayer_setSubtitles(player: PlayerHandle, subtitles: QXPlayerDataSource[]): void;
/**
 * Sets the player's options. Throws "Expected arguments: player_ptr, options" unless called with at
 * least (number, object). A stale, destroyed or forged player handle gets the neutral answer and a
 * log line.
 */
export declare function QXPlayer_setOptions(player: PlayerHandle, options: QXPlayerOptions): void;
/**
 * Sets the object whose methods (OnPrepared, ...) receive the player's events. Throws "Expected
 * arguments: player_ptr, callback" unless called with at least (number, callbacks object). A stale,
 * destroyed or forged player handle gets the neutral answer and a log line.
 */
export declare function QXPlayer_setCallback(player: PlayerHandle, callback: QXPlayerCallback): void;
/**
 * Prepares the media; OnPrepared follows. Throws "Expected arguments: player_ptr" unless called
 * with at least (number). A stale, destroyed or forged player handle gets the neutral answer and a
 * log line.
 */
export declare function QXPlayer_prepare(player: PlayerHandle): boolean;
/**
 * Plays. Throws "Expected arguments: player_ptr" unless called with at least (number). A stale,
 * destroyed or forged player handle gets the neutral answer and a log line.
 */
export declare function QXPlayer_play(player: PlayerHandle): boolean;
/**
 * Pauses. Throws "Expected arguments: player_ptr" unless called with at least (number). A stale,
 * destroyed or forged player handle gets the neutral answer and a log line.
 */
export declare function QXPlayer_pause(player: PlayerHandle): boolean;
/**
 * Seeks to positionMs. Throws "Expected arguments: player_ptr, pos" unless called with at least
 * (number, number). A stale, destroyed or forged player handle gets the neutral answer and a log
 * line.
 */
export declare function QXPlayer_seekTo(player: PlayerHandle, positionMs: number, extra?: number): boolean;
/**
 * Seeks to positionMs within segment number segment. Throws "Expected arguments: player_ptr,
 * segment, pos" unless called with at least (number, number, number). A stale, destroyed or forged
 * player handle gets the neutral answer and a log line.
 */
export declare function QXPlayer_seekToSegment(player: PlayerHandle, segment: number, positionMs: number, extra?: number): boolean;
/**
 * Stops and destroys the player; its handle is stale afterwards and no later event is delivered.
 * Throws "Expected arguments: player_ptr" unless called with at least (number). A stale, destroyed
 * or forged player handle gets the neutral answer and a log line.
 */
export declare function QXPlayer_destroy(player: PlayerHandle): boolean;
/**
 * Mutes or unmutes the player. Throws "Expected arguments: player_ptr, mute" unless called with at
 * least (number, boolean). A stale, destroyed or forged player handle gets the neutral answer and a
 * log line.
 */
export declare function QXPlayer_setMute(player: PlayerHandle, mute: boolean): boolean;
/**
 * Whether the player skips decoding video. Throws "Expected arguments: player_ptr, blind" unless
 * called with at least (number, boolean). A stale, destroyed or forged player handle gets the
 * neutral answer and a log line.
 */
export declare function QXPlayer_setBlind(player: PlayerHandle, blind: boolean): boolean;
/**
 * Sets the playback rate. Throws "Expected arguments: player_ptr, rate" unless called with at least
 * (number, number). A stale, destroyed or forged player handle gets the neutral answer and a log
 * line.
 */
export declare function QXPlayer_setPlayRate(player: PlayerHandle, rate: number): boolean;
/**
 * Whether the player starts again at the end. Throws "Expected 2 arguments" unless called with at
 * least (number, any value). A stale, destroyed or forged player handle gets the neutral answer and
 * a log line.
 */
export declare function QXPlayer_setLooping(player: PlayerHandle, looping: boolean): boolean;
/**
 * Sets the left and right volume. Throws "Expected arguments: player_ptr, left, right" unless
 * called with at least (number, number, number). A stale, destroyed or forged player handle gets
 * the neutral answer and a log line.
 */
export declare function QXPlayer_setVolume(player: PlayerHandle, left: number, right: number): boolean;
/**
 * Whether the player loads its media lazily. Throws "Expected arguments: player_ptr, lazyLoad"
 * unless called with at least (number, boolean). A stale, destroyed or forged player handle gets
 * the neutral answer and a log line.
 */
export declare function QXPlayer_setLazyLoad(player: PlayerHandle, lazyLoad: boolean): boolean;
/**
 * Whether the player is playing. Throws "Expected arguments: player_ptr" unless called with at
 * least (number). A stale, destroyed or forged player handle gets the neutral answer and a log
 * line.
 */
export declare function QXPlayer_isPlaying(player: PlayerHandle): boolean;
/**
 * The video's width. Throws "Expected arguments: player_ptr" unless called with at least (number).
 * A stale, destroyed or forged player handle gets the neutral answer and a log line.
 */
export declare function QXPlayer_getVideoWidth(player: PlayerHandle): number;
/**
 * The video's height. Throws "Expected arguments: player_ptr" unless called with at least (number).
 * A stale, destroyed or forged player handle gets the neutral answer and a log line.
 */
export declare function QXPlayer_getVideoHeight(player: PlayerHandle): number;
/**
 * The numerator of the video's sample aspect ratio. Throws "Expected arguments: player_ptr" unless
 * called with at least (number). A stale, destroyed or forged player handle gets the neutral answer
 * and a log line.
 */
export declare function QXPlayer_getVideoSarNum(player: PlayerHandle): number;
/**
 * The denominator of the video's sample aspect ratio. Throws "Expected arguments: player_ptr"
 * unless called with at least (number). A stale, destroyed or forged player handle gets the neutral
 * answer and a log line.
 */
export declare function QXPlayer_getVideoSarDen(player: PlayerHandle): number;
/**
 * The video's rotation in degrees. Throws "Expected arguments: player_ptr" unless called with at
 * least (number). A stale, destroyed or forged player handle gets the neutral answer and a log
 * line.
 */
export declare function QXPlayer_getVideoRotate(player: PlayerHandle): number;
/**
 * The video's frame rate. Throws "Expected arguments: player_ptr" unless called with at least
 * (number). A stale, destroyed or forged player handle gets the neutral answer and a log line.
 */
export declare function QXPlayer_getVideoFPS(player: PlayerHandle): number;
/**
 * The media's duration in milliseconds. Throws "Expected arguments: player_ptr" unless called with
 * at least (number). A stale, destroyed or forged player handle gets the neutral answer and a log
 * line.
 */
export declare function QXPlayer_getDuration(player: PlayerHandle): number;
/**
 * The playing position in milliseconds. Throws "Expected arguments: player_ptr" unless called with
 * at least (number). A stale, destroyed or forged player handle gets the neutral answer and a log
 * line.
 */
export declare function QXPlayer_getCurrentPosition(player: PlayerHandle): number;
/**
 * How far the media is loaded, in milliseconds. Throws "Expected arguments: player_ptr" unless
 * called with at least (number). A stale, destroyed or forged player handle gets the neutral answer
 * and a log line.
 */
export declare function QXPlayer_getPlayablePosition(player: PlayerHandle): number;
/**
 * The loading speed in bytes a second. Throws "Expected arguments: player_ptr" unless called with
 * at least (number). A stale, destroyed or forged player handle gets the neutral answer and a log
 * line.
 */
export declare function QXPlayer_getIOSpeedInBytesPerSecond(player: PlayerHandle): number;
/**
 * How many segments the media has. Throws "Expected arguments: player_ptr" unless called with at
 * least (number). A stale, destroyed or forged player handle gets the neutral answer and a log
 * line.
 */
export declare function QXPlayer_getSegmentNum(player: PlayerHandle): number;
/**
 * The index of the segment playing. Throws "Expected arguments: player_ptr" unless called with at
 * least (number). A stale, destroyed or forged player handle gets the neutral answer and a log
 * line.
 */
export declare function QXPlayer_getCurrentIndex(player: PlayerHandle): number;
/**
 * The duration of segment index in milliseconds. Throws "Expected arguments: player_ptr, duration"
 * unless called with at least (number, number). A stale, destroyed or forged player handle gets the
 * neutral answer and a log line.
 */
export declare function QXPlayer_getSegmentDuration(player: PlayerHandle, index: number): number;
/**
 * Inserts a segment at index. Throws "Expected arguments: player_ptr, segment, index" unless called
 * with at least (number, object, number). A stale, destroyed or forged player handle gets the
 * neutral answer and a log line.
 */
export declare function QXPlayer_insertSegment(player: PlayerHandle, segment: QXPlayerDataSource, index: number): void;
/**
 * Removes segment index. Throws "Expected arguments: id, playerPtr" unless called with at least
 * (number, number). A stale, destroyed or forged player handle gets the neutral answer and a log
 * line.
 */
export declare function QXPlayer_deleteSegment(player: PlayerHandle, index: number): void;
/**
 * Whether the next segment plays on by itself. Throws "Expected arguments: id, auto play" unless
 * called with at least (number, boolean). A stale, destroyed or forged player handle gets the
 * neutral answer and a log line.
 */
export declare function QXPlayer_setSegmentAutoPlay(player: PlayerHandle, autoPlay: boolean): boolean;
/**
 * Marks a point of the video. Throws "Expected arguments: id, object" unless called with at least
 * (number, object). A stale, destroyed or forged player handle gets the neutral answer and a log
 * line.
 */
export declare function QXPlayer_markVideoPoint(player: PlayerHandle, point: Partial<QXPlayerVideoPoint>): boolean;
/**
 * The player core's own id. Throws "invalid arguments." unless called with at least (number). A
 * stale, destroyed or forged player handle gets the neutral answer and a log line.
 */
export declare function QXPlayer_getId(player: PlayerHandle): number;
/**
 * The playback status (state, bit rate, error, buffering, sources), or undefined for a stale
 * handle. Throws "Expected arguments: player_ptr" unless called with at least (number). A stale,
 * destroyed or forged player handle gets the neutral answer and a log line.
 */
export declare function QXPlayer_getPlaybackStatus(player: PlayerHandle): QXPlayerPlaybackStatus | undefined;
/**
 * Makes the player read from an external data source, which stays alive while the player reads it.
 * Throws "Expected arguments: player_ptr, ds_ptr" unless called with at least (number, number). A
 * stale, destroyed or forged player handle gets the neutral answer and a log line. 0 detaches the
 * player's data source.
 */
export declare function QXPlayer_setExternalDataSource(player: PlayerHandle, source: DataSourceHandle | 0): void;

/**
 * Sets the downloader's cache folder and its size limit. Throws "Expected 2 arguments" unless
 * called with at least (string, number).
 */
export declare function QXPlayer_downloader_setCacheDirectory(directory: string, size: number): void;
/** Queues a download. Throws "Expected 1 arguments" unless called with at least (object). */
export declare function QXPlayer_downloader_addDownload(request: QXDownloadRequest): void;
/**
 * Removes the downloaded resource with this URL. Throws "Expected 1 arguments" unless called with
 * at least (string).
 */
export declare function QXPlayer_downloader_removeResourceWithUrl(url: string): void;
/**
 * Removes the downloaded resource with this id. Throws "Expected 1 arguments" unless called with at
 * least (string).
 */
export declare function QXPlayer_downloader_removeResourceWithId(id: string): void;
/** Pauses every download. */
export declare function QXPlayer_downloader_pause(): void;
/** Resumes the downloads. */
export declare function QXPlayer_downloader_resume(): void;
/** Whether the downloads are paused. */
export declare function QXPlayer_downloader_isPaused(): boolean;

/**
 * Initialises the second downloader. Throws "Expected 1 argument: config" unless called with at
 * least (object).
 */
export declare function QXPlayer_downloaderV2_init(config: { maxParallelDownloads?: number; userId?: string }): boolean;
/** Destroys the second downloader. */
export declare function QXPlayer_downloaderV2_destroy(): void;
/** Whether the second downloader is initialised. */
export declare function QXPlayer_downloaderV2_isInitialized(): boolean;
/**
 * Queues a download request. Throws "Expected 1 argument: request" unless called with at least
 * (object).
 */
export declare function QXPlayer_downloaderV2_addDownloadRequest(request: QXDownloadRequest): void;
/**
 * Pauses one download. Throws "Expected 1 argument: request" unless called with at least (object).
 */
export declare function QXPlayer_downloaderV2_pause(request: QXDownloadRequest): void;
/**
 * Resumes one download. Throws "Expected 1 argument: request" unless called with at least (object).
 */
export declare function QXPlayer_downloaderV2_resume(request: QXDownloadRequest): void;
/**
 * Clears one download's task. Throws "Expected 1 argument: request" unless called with at least
 * (object).
 */
export declare function QXPlayer_downloaderV2_clearTask(request: QXDownloadRequest): void;
/**
 * Removes one download and its data. Throws "Expected 1 argument: request" unless called with at
 * least (object).
 */
export declare function QXPlayer_downloaderV2_remove(request: QXDownloadRequest): void;
/** Pauses every download. */
export declare function QXPlayer_downloaderV2_pauseAll(): void;
/** Resumes every download. */
export declare function QXPlayer_downloaderV2_resumeAll(): void;
/** Clears every temporary task. */
export declare function QXPlayer_downloaderV2_clearAllTemporaryTask(): void;
/** Removes every download and its data. */
export declare function QXPlayer_downloaderV2_removeAll(): void;
/** Removes the temporary cache. */
export declare function QXPlayer_downloaderV2_removeTemporaryCache(): void;
/**
 * Hands the status of every download to the callback, later, on the JavaScript thread. Throws
 * "Expected 1 argument: callback" unless called with at least (function).
 */
export declare function QXPlayer_downloaderV2_getDownloadStatus(callback: (statuses: QXDownloadStatus[]) => void): void;
/**
 * Hands the temporary cache's size in bytes to the callback, later, on the JavaScript thread.
 * Throws "Expected 1 argument: callback" unless called with at least (function).
 */
export declare function QXPlayer_downloaderV2_getTemporaryCacheSize(callback: (bytes: number) => void): void;
/**
 * Reports one download's progress to the listener: the listener's handle, or 0. Throws "Expected 2
 * arguments: request, listener" unless called with at least (object, callbacks object).
 */
export declare function QXPlayer_downloaderV2_addDownloadListener(request: QXDownloadRequest, listener: QXDownloadListener): DownloadListenerHandle | 0;
/**
 * Stops the listener's reports for the request. Throws "Expected 2 arguments: request, handle"
 * unless called with at least (object, number).
 */
export declare function QXPlayer_downloaderV2_removeDownloadListener(request: QXDownloadRequest, handle: DownloadListenerHandle): void;
/**
 * Releases the listener; its handle is stale afterwards. Throws "Expected 1 argument: handle"
 * unless called with at least (number). A stale, destroyed or forged download listener handle gets
 * the neutral answer and a log line.
 */
export declare function QXPlayer_downloaderV2_releaseDownloadListener(handle: DownloadListenerHandle): void;

/**
 * Preloads the start of a media source. Throws "Expected 1 arguments" unless called with at least
 * (object).
 */
export declare function QXPlayer_preloader_preload(source: QXPlayerDataSource): void;

/** Creates an external data source JavaScript feeds: its handle, or 0. */
export declare function QXPlayerExternalDataSource_constructor(): DataSourceHandle;
/**
 * Pushes bytes (or the end) into the external data source. Throws "Expected arguments: ds_ptr,
 * data" unless called with at least (number, object). A stale, destroyed or forged external data
 * source handle gets the neutral answer and a log line.
 */
export declare function QXPlayerExternalDataSource_pushData(source: DataSourceHandle, data: QXExternalData): number;
/**
 * Destroys the external data source; a player reading it keeps it until it lets go. Throws
 * "Expected arguments: ds_ptr" unless called with at least (number). A stale, destroyed or forged
 * external data source handle gets the neutral answer and a log line.
 */
export declare function QXPlayerExternalDataSource_destroy(source: DataSourceHandle): void;
