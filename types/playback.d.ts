// Declarations of the classic playback groups: the packet-fed replay engine,
// media players, streaming playback and pushed audio.
import type {
  BizInfo,
  BizVideoFrame,
  ResultCode,
  TrackVideoFrame,
  TypedArray,
  VideoFrameBase,
  VideoRenderer,
  VideoTrackInfo,
} from '../index';

/** Bytes passed to the engine for the duration of the call, without a copy. */
export type Bytes = ArrayBuffer | TypedArray | DataView;

/** What a recorded packet carries; each key is coerced to a boolean (missing: false). */
export interface ReplayPacketInfo {
  isAudio?: unknown;
  isRtp?: unknown;
}

/** Events of the replay engine, given to engineSdk_createReplayEngine or engineSdk_createLiveReplayEngine. */
export interface ReplayEngineEvents {
  onReplayOpened?(result: number): void;
}

/** Events of the media players of the current engine. */
export interface MediaPlayerCallbacks {
  onPrepared(playerId: number): void;
  onInfo(playerId: number, what: number, extra: number): void;
  onError(playerId: number, code: number, extra: number): void;
  onSeekComplete(playerId: number): void;
  onCompletion(playerId: number): void;
  onDecodingOneFrameElapsed(playerId: number, elapsedMs: number): void;
  onOpenFileFailed(playerId: number, file: string): void;
  onBellCompletion(file: string): void;
}

/** Events of the streaming engine, given to engineSdk_createStreamingEngine. */
export interface StreamingEvents {
  onBufferingBegin(): void;
  onBufferingEnd(): void;
  onFrameReceived(width: number, height: number): void;
  onError(code: number, message: string): void;
}

/** A frame of a media player's or a stream's own renderer: user 0, track type 0. */
export type PlayerVideoFrame = VideoFrameBase & { videoTrackType: number };

// ---- mediaPlayerEngine_*: local media files and URL lists -----------------------------

/** -1 when the current engine has a media player wrapper already. */
export declare function mediaPlayerEngine_registerMediaPlayerCallback(callback: MediaPlayerCallbacks): ResultCode;
/** The player id, or -1 when the engine refused the file (no renderer is kept then). */
export declare function mediaPlayerEngine_prepareAsync(
  file: string,
  sendout: boolean,
  playout: boolean,
  info: VideoTrackInfo,
  render?: VideoRenderer<PlayerVideoFrame>,
): number;
/** Played out locally, not sent; `id` is read as an int32 stream id. */
export declare function MediaPlayerEngine_prepareAsyncWithPrefixs(
  path: string,
  prefix: ReadonlyArray<string>,
  id: unknown,
  info: VideoTrackInfo,
  render?: VideoRenderer<PlayerVideoFrame>,
): number;
export declare function mediaPlayerEngine_start(id: number): ResultCode;
export declare function mediaPlayerEngine_pause(id: number): ResultCode;
export declare function mediaPlayerEngine_setLooping(id: number, loop: boolean): ResultCode;
export declare function mediaPlayerEngine_setSpeed(id: number, speed: number): ResultCode;
export declare function mediaPlayerEngine_setVolume(id: number, volume: number, delay: number): ResultCode;
export declare function mediaPlayerEngine_seekTo(id: number, positionMs: number, mode: number): ResultCode;
/** Milliseconds, or -1 without an engine. */
export declare function mediaPlayerEngine_getCurrentPositionMs(id: number): number;
export declare function mediaPlayerEngine_getDurationMs(id: number): number;
export declare function mediaPlayerEngine_destroy(id: number): ResultCode;
export declare function mediaPlayerEngine_ringBell(file: string, speed: number, volume: number): ResultCode;

// ---- replayEngine_*: a recorded class fed by packets -----------------------------------

export declare function replayEngine_play(): ResultCode;
export declare function replayEngine_pause(): ResultCode;
/** -1 without an engine call for a speed that is not a number; passed as a 32-bit float. */
export declare function replayEngine_setPlaySpeed(speed: number): ResultCode;
/** Exactly the viewed bytes, for the duration of the call. */
export declare function replayEngine_receivePacket(data: TypedArray, packetInfo: ReplayPacketInfo): ResultCode;
export declare function replayEngine_requestReset(): ResultCode;
export declare function replayEngine_confirmReset(): ResultCode;
export declare function replayEngine_setStreamInfo(info: TypedArray): ResultCode;
/** The renderer (user id × 20 + stream type) is registered and enabled even without an engine. */
export declare function replayEngine_videoStartPlay(
  userId: number,
  streamType: number,
  callback: VideoRenderer<TrackVideoFrame>,
): ResultCode;
export declare function replayEngine_videoStartPlayBiz(bizInfo: BizInfo, callback: VideoRenderer<BizVideoFrame>): ResultCode;
export declare function replayEngine_videoStopPlay(userId: number, streamType: number): ResultCode;
export declare function replayEngine_videoStopPlayBiz(bizInfo: BizInfo): ResultCode;
export declare function replayEngine_audioStartPlay(userId: number): ResultCode;
export declare function replayEngine_audioStopPlay(userId: number): ResultCode;
export declare function replayEngine_audioStartPlayBiz(bizInfo: BizInfo): ResultCode;
export declare function replayEngine_audioStopPlayBiz(bizInfo: BizInfo): ResultCode;
export declare function replayEngine_setReplayVoiceAdjustParameters(userId: number, second: number): ResultCode;
export declare function replayEngine_setReplayVoiceAdjustParametersBiz(bizInfo: BizInfo, pos: number): ResultCode;

// ---- streamingEngine_*: a stream from a URL list ----------------------------------------

/** Once per engine: a second prepare answers -1. */
export declare function streamingEngine_prepareAsync(
  urls: ReadonlyArray<string>,
  render: VideoRenderer<PlayerVideoFrame>,
): ResultCode;
export declare function streamingEngine_sendUserData(data: Bytes): ResultCode;
export declare function streamingEngine_sendRadioData(data: Bytes): ResultCode;
export declare function streamingEngine_mute(mute: boolean): ResultCode;
/** False without an engine. */
export declare function streamingEngine_isMute(): boolean;
export declare function streamingEngine_pause(): ResultCode;
export declare function streamingEngine_start(): ResultCode;

// ---- audioRenderEngine_*: PCM pushed by JavaScript ----------------------------------------

export declare function audioRenderEngine_init(sample_rate: number, channels: number, audio_format: number): ResultCode;
export declare function audioRenderEngine_start(): ResultCode;
export declare function audioRenderEngine_stop(): ResultCode;
export declare function audioRenderEngine_release(): ResultCode;
/** Free bytes in the engine's buffer, or -1 without an engine. */
export declare function audioRenderEngine_getSpaceCanPushInBytes(): number;
export declare function audioRenderEngine_pushAudioData(data: Bytes): ResultCode;
export declare function audioRenderEngine_clearPushedAudioData(): ResultCode;
