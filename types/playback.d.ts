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

/**
 * -1 when the current engine has a media player wrapper already. Throws "Expected arguments :
 * callback" unless called with at least (callbacks object).
 */
export declare function mediaPlayerEngine_registerMediaPlayerCallback(callback: MediaPlayerCallbacks): ResultCode;
/**
 * The player id, or -1 when the engine refused the file (no renderer is kept then). Throws
 * "Expected arguments : file, sendout, playout, info" unless called with at least (string, boolean,
 * boolean, object).
 */
export declare function mediaPlayerEngine_prepareAsync(
  file: string,
  sendout: boolean,
  playout: boolean,
  info: VideoTrackInfo,
  render?: VideoRenderer<PlayerVideoFrame>,
): number;
/**
 * Played out locally, not sent; `id` is read as an int32 stream id. Throws "Expected arguments:
 * path, prefix, id, info" unless called with at least (string, array, any value, object).
 */
export declare function MediaPlayerEngine_prepareAsyncWithPrefixs(
  path: string,
  prefix: ReadonlyArray<string>,
  id: unknown,
  info: VideoTrackInfo,
  render?: VideoRenderer<PlayerVideoFrame>,
): number;
/**
 * Starts or resumes player id. Throws "Expected arguments: id" unless called with at least
 * (number).
 */
export declare function mediaPlayerEngine_start(id: number): ResultCode;
/** Pauses player id. Throws "Expected arguments: id" unless called with at least (number). */
export declare function mediaPlayerEngine_pause(id: number): ResultCode;
/**
 * Whether player id starts again at the end. Throws "Expected arguments: id, loop" unless called
 * with at least (number, boolean).
 */
export declare function mediaPlayerEngine_setLooping(id: number, loop: boolean): ResultCode;
/**
 * Sets the playback speed of player id. Throws "Expected arguments: id, speed" unless called with
 * at least (number, number).
 */
export declare function mediaPlayerEngine_setSpeed(id: number, speed: number): ResultCode;
/**
 * Sets the volume of player id, reached after delay. Throws "Expected arguments: id, volume, delay"
 * unless called with at least (number, number, number).
 */
export declare function mediaPlayerEngine_setVolume(id: number, volume: number, delay: number): ResultCode;
/**
 * Seeks player id to positionMs (mode: the engine's seek mode). Throws "Expected arguments: id"
 * unless called with at least (number, number, number).
 */
export declare function mediaPlayerEngine_seekTo(id: number, positionMs: number, mode: number): ResultCode;
/**
 * Milliseconds, or -1 without an engine. Throws "Expected arguments: id" unless called with at
 * least (number).
 */
export declare function mediaPlayerEngine_getCurrentPositionMs(id: number): number;
/**
 * The duration of player id's media in milliseconds. Throws "Expected arguments: id" unless called
 * with at least (number).
 */
export declare function mediaPlayerEngine_getDurationMs(id: number): number;
/**
 * Destroys player id and releases its renderer. Throws "Expected arguments: id" unless called with
 * at least (number).
 */
export declare function mediaPlayerEngine_destroy(id: number): ResultCode;
/**
 * Plays a short sound file once at the given speed and volume. Throws "Expected 3 arguments:file,
 * speed, volum" unless called with at least (string, number, number).
 */
export declare function mediaPlayerEngine_ringBell(file: string, speed: number, volume: number): ResultCode;

// ---- replayEngine_*: a recorded class fed by packets -----------------------------------

/** Plays the recorded class. */
export declare function replayEngine_play(): ResultCode;
/** Pauses the recorded class. */
export declare function replayEngine_pause(): ResultCode;
/** -1 without an engine call for a speed that is not a number; passed as a 32-bit float. */
export declare function replayEngine_setPlaySpeed(speed: number): ResultCode;
/**
 * Exactly the viewed bytes, for the duration of the call. Throws "Expected 2 arguments: array,
 * packetInfo" unless called with at least (typed array or Buffer, object).
 */
export declare function replayEngine_receivePacket(data: TypedArray, packetInfo: ReplayPacketInfo): ResultCode;
/** Asks the engine to reset its playback state (before packets from a new position). */
export declare function replayEngine_requestReset(): ResultCode;
/** Confirms a requested reset. */
export declare function replayEngine_confirmReset(): ResultCode;
/**
 * Hands the engine the stream information bytes of the recording. Throws "Expected arguments:
 * array" unless called with at least (typed array or Buffer).
 */
export declare function replayEngine_setStreamInfo(info: TypedArray): ResultCode;
/**
 * The renderer (user id × 20 + stream type) is registered and enabled even without an engine.
 * Throws "Expected 3 arguments: userId, stream type, callback" unless called with at least (number,
 * number, callbacks object).
 */
export declare function replayEngine_videoStartPlay(
  userId: number,
  streamType: number,
  callback: VideoRenderer<TrackVideoFrame>,
): ResultCode;
/**
 * Plays a user's video by business identity to the renderer. Throws "Expected arguments: bizInfo,
 * callback" unless called with at least (object, callbacks object).
 */
export declare function replayEngine_videoStartPlayBiz(bizInfo: BizInfo, callback: VideoRenderer<BizVideoFrame>): ResultCode;
/**
 * Stops playing a user's video stream. Throws "Expected 2 arguments： userID, stream type" unless
 * called with at least (number, number).
 */
export declare function replayEngine_videoStopPlay(userId: number, streamType: number): ResultCode;
/**
 * Stops playing a user's video by business identity. Throws "Expected arguments: bizInfo" unless
 * called with at least (object).
 */
export declare function replayEngine_videoStopPlayBiz(bizInfo: BizInfo): ResultCode;
/**
 * Plays a user's audio. Throws "Expected arg index 0 to be user id" unless called with at least
 * (number).
 */
export declare function replayEngine_audioStartPlay(userId: number): ResultCode;
/**
 * Stops playing a user's audio. Throws "Expected arg index 0 to be user id" unless called with at
 * least (number).
 */
export declare function replayEngine_audioStopPlay(userId: number): ResultCode;
/**
 * Plays a user's audio by business identity. Throws "Expected arg index 0 to be BizInfo" unless
 * called with at least (object).
 */
export declare function replayEngine_audioStartPlayBiz(bizInfo: BizInfo): ResultCode;
/**
 * Stops playing a user's audio by business identity. Throws "Expected arg index 0 to be BizInfo"
 * unless called with at least (object).
 */
export declare function replayEngine_audioStopPlayBiz(bizInfo: BizInfo): ResultCode;
/**
 * Sets the voice adjustment of a user's audio. Throws "Expected 2 arguments: userId, stream type"
 * unless called with at least (number, number).
 */
export declare function replayEngine_setReplayVoiceAdjustParameters(userId: number, second: number): ResultCode;
/**
 * Sets the voice adjustment of a user's audio by business identity. Throws "Expected 2 arguments:
 * bizInfo, pos" unless called with at least (object, number).
 */
export declare function replayEngine_setReplayVoiceAdjustParametersBiz(bizInfo: BizInfo, pos: number): ResultCode;

// ---- streamingEngine_*: a stream from a URL list ----------------------------------------

/**
 * Once per engine: a second prepare answers -1. Throws "Expected arguments : urls, render" unless
 * called with at least (array, callbacks object).
 */
export declare function streamingEngine_prepareAsync(
  urls: ReadonlyArray<string>,
  render: VideoRenderer<PlayerVideoFrame>,
): ResultCode;
/**
 * Sends user data bytes on the stream. Throws "Expected arguments : data" unless called with at
 * least (bytes).
 */
export declare function streamingEngine_sendUserData(data: Bytes): ResultCode;
/**
 * Sends radio data bytes on the stream. Throws "Expected arguments : data" unless called with at
 * least (bytes).
 */
export declare function streamingEngine_sendRadioData(data: Bytes): ResultCode;
/**
 * Mutes or unmutes the stream's playback. Throws "Expected arguments : mute" only when the count
 * differs from (boolean) and no argument has its type.
 */
export declare function streamingEngine_mute(mute: boolean): ResultCode;
/** False without an engine. */
export declare function streamingEngine_isMute(): boolean;
/** Pauses the stream. */
export declare function streamingEngine_pause(): ResultCode;
/** Starts or resumes the stream. */
export declare function streamingEngine_start(): ResultCode;

// ---- audioRenderEngine_*: PCM pushed by JavaScript ----------------------------------------

/**
 * Initialises the audio renderer with the format of the data to come. Throws "Expected arguments :
 * sample_rate, channels and audio_format" unless called with at least (number, number, number).
 */
export declare function audioRenderEngine_init(sample_rate: number, channels: number, audio_format: number): ResultCode;
/** Starts playing pushed audio. */
export declare function audioRenderEngine_start(): ResultCode;
/** Stops playing. */
export declare function audioRenderEngine_stop(): ResultCode;
/** Releases the audio renderer. */
export declare function audioRenderEngine_release(): ResultCode;
/** Free bytes in the engine's buffer, or -1 without an engine. */
export declare function audioRenderEngine_getSpaceCanPushInBytes(): number;
/**
 * Queues audio bytes to be played (at most audioRenderEngine_getSpaceCanPushInBytes). Throws
 * "Expected 1st parameter to be data" unless called with at least (bytes).
 */
export declare function audioRenderEngine_pushAudioData(data: Bytes): ResultCode;
/** Drops pushed audio not yet played. */
export declare function audioRenderEngine_clearPushedAudioData(): ResultCode;
