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

export declare function QXPlayer_constructor(): PlayerHandle;
export declare function QXPlayer_globalInit(): void;
export declare function QXPlayer_getVersion(): string;
export declare function QXPlayer_checkAndRemoveCache(directory: string, size: number, ratio: number): void;
export declare function QXPlayer_initPlayer(player: PlayerHandle): boolean;
export declare function QXPlayer_initPlayerWithShortAudioMode(player: PlayerHandle): boolean;
export declare function QXPlayer_initPlayerWithRender(player: PlayerHandle, render: QXPlayerRender): boolean;
export declare function QXPlayer_setOutputYuv(player: PlayerHandle, enable: boolean): void;
export declare function QXPlayer_setDataSources(player: PlayerHandle, sources: QXPlayerDataSource[], flag?: boolean): void;
export declare function QXPlayer_setDataSource(player: PlayerHandle, source: QXPlayerDataSource, flag?: boolean): void;
export declare function QXPlayer_setSubtitles(player: PlayerHandle, subtitles: QXPlayerDataSource[]): void;
export declare function QXPlayer_setOptions(player: PlayerHandle, options: QXPlayerOptions): void;
export declare function QXPlayer_setCallback(player: PlayerHandle, callback: QXPlayerCallback): void;
export declare function QXPlayer_prepare(player: PlayerHandle): boolean;
export declare function QXPlayer_play(player: PlayerHandle): boolean;
export declare function QXPlayer_pause(player: PlayerHandle): boolean;
export declare function QXPlayer_seekTo(player: PlayerHandle, positionMs: number, extra?: number): boolean;
export declare function QXPlayer_seekToSegment(player: PlayerHandle, segment: number, positionMs: number, extra?: number): boolean;
export declare function QXPlayer_destroy(player: PlayerHandle): boolean;
export declare function QXPlayer_setMute(player: PlayerHandle, mute: boolean): boolean;
export declare function QXPlayer_setBlind(player: PlayerHandle, blind: boolean): boolean;
export declare function QXPlayer_setPlayRate(player: PlayerHandle, rate: number): boolean;
export declare function QXPlayer_setLooping(player: PlayerHandle, looping: boolean): boolean;
export declare function QXPlayer_setVolume(player: PlayerHandle, left: number, right: number): boolean;
export declare function QXPlayer_setLazyLoad(player: PlayerHandle, lazyLoad: boolean): boolean;
export declare function QXPlayer_isPlaying(player: PlayerHandle): boolean;
export declare function QXPlayer_getVideoWidth(player: PlayerHandle): number;
export declare function QXPlayer_getVideoHeight(player: PlayerHandle): number;
export declare function QXPlayer_getVideoSarNum(player: PlayerHandle): number;
export declare function QXPlayer_getVideoSarDen(player: PlayerHandle): number;
export declare function QXPlayer_getVideoRotate(player: PlayerHandle): number;
export declare function QXPlayer_getVideoFPS(player: PlayerHandle): number;
export declare function QXPlayer_getDuration(player: PlayerHandle): number;
export declare function QXPlayer_getCurrentPosition(player: PlayerHandle): number;
export declare function QXPlayer_getPlayablePosition(player: PlayerHandle): number;
export declare function QXPlayer_getIOSpeedInBytesPerSecond(player: PlayerHandle): number;
export declare function QXPlayer_getSegmentNum(player: PlayerHandle): number;
export declare function QXPlayer_getCurrentIndex(player: PlayerHandle): number;
export declare function QXPlayer_getSegmentDuration(player: PlayerHandle, index: number): number;
export declare function QXPlayer_insertSegment(player: PlayerHandle, segment: QXPlayerDataSource, index: number): void;
export declare function QXPlayer_deleteSegment(player: PlayerHandle, index: number): void;
export declare function QXPlayer_setSegmentAutoPlay(player: PlayerHandle, autoPlay: boolean): boolean;
export declare function QXPlayer_markVideoPoint(player: PlayerHandle, point: Partial<QXPlayerVideoPoint>): boolean;
export declare function QXPlayer_getId(player: PlayerHandle): number;
export declare function QXPlayer_getPlaybackStatus(player: PlayerHandle): QXPlayerPlaybackStatus | undefined;
/** 0 detaches the player's data source. */
export declare function QXPlayer_setExternalDataSource(player: PlayerHandle, source: DataSourceHandle | 0): void;

export declare function QXPlayer_downloader_setCacheDirectory(directory: string, size: number): void;
export declare function QXPlayer_downloader_addDownload(request: QXDownloadRequest): void;
export declare function QXPlayer_downloader_removeResourceWithUrl(url: string): void;
export declare function QXPlayer_downloader_removeResourceWithId(id: string): void;
export declare function QXPlayer_downloader_pause(): void;
export declare function QXPlayer_downloader_resume(): void;
export declare function QXPlayer_downloader_isPaused(): boolean;

export declare function QXPlayer_downloaderV2_init(config: { maxParallelDownloads?: number; userId?: string }): boolean;
export declare function QXPlayer_downloaderV2_destroy(): void;
export declare function QXPlayer_downloaderV2_isInitialized(): boolean;
export declare function QXPlayer_downloaderV2_addDownloadRequest(request: QXDownloadRequest): void;
export declare function QXPlayer_downloaderV2_pause(request: QXDownloadRequest): void;
export declare function QXPlayer_downloaderV2_resume(request: QXDownloadRequest): void;
export declare function QXPlayer_downloaderV2_clearTask(request: QXDownloadRequest): void;
export declare function QXPlayer_downloaderV2_remove(request: QXDownloadRequest): void;
export declare function QXPlayer_downloaderV2_pauseAll(): void;
export declare function QXPlayer_downloaderV2_resumeAll(): void;
export declare function QXPlayer_downloaderV2_clearAllTemporaryTask(): void;
export declare function QXPlayer_downloaderV2_removeAll(): void;
export declare function QXPlayer_downloaderV2_removeTemporaryCache(): void;
export declare function QXPlayer_downloaderV2_getDownloadStatus(callback: (statuses: QXDownloadStatus[]) => void): void;
export declare function QXPlayer_downloaderV2_getTemporaryCacheSize(callback: (bytes: number) => void): void;
/** 0 without a V2 downloader. */
export declare function QXPlayer_downloaderV2_addDownloadListener(request: QXDownloadRequest, listener: QXDownloadListener): DownloadListenerHandle | 0;
export declare function QXPlayer_downloaderV2_removeDownloadListener(request: QXDownloadRequest, handle: DownloadListenerHandle): void;
export declare function QXPlayer_downloaderV2_releaseDownloadListener(handle: DownloadListenerHandle): void;

export declare function QXPlayer_preloader_preload(source: QXPlayerDataSource): void;

export declare function QXPlayerExternalDataSource_constructor(): DataSourceHandle;
export declare function QXPlayerExternalDataSource_pushData(source: DataSourceHandle, data: QXExternalData): number;
export declare function QXPlayerExternalDataSource_destroy(source: DataSourceHandle): void;
