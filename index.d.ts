// Declarations of the lumen_engine_addon module object: the flat export
// functions, the records they read and the callback objects they call.
//
// Records are read by coercion: a missing key reads as 0, false or "", so
// their keys are optional unless leaving one out throws. Callback objects are
// the opposite: a method the add-on calls and does not find becomes an
// 'uncaughtException', so every method it may call is required.
//
// Layout: shared types, records, callback interfaces, then the exports group
// by group in registration order. docs/typescript.md says how to add a group.

/// <reference types="node" />

// ---- shared types -----------------------------------------------------------------

import type { HttpRequest, HttpRequestCallback } from './types/services';
import type { DeviceCachedInfo } from './types/device';
import type { ReplayEngineEvents, StreamingEvents } from './types/playback';

/**
 * A result code. 0 is success; -1 is what the add-on answers by itself (no
 * engine, or the engine interface is missing); other values are the engine's
 * own, passed through unchanged (-2 not implemented, -3 invalid parameter,
 * -4 engine uncreated or destroyed, -5 duplicate action, -6 lack of pre
 * action, -7 engine not ready).
 */
export type ResultCode = number;

/** What the add-on answers by itself: 0 done, -1 not done. */
export type Done = 0 | -1;

/** Any typed array; a Buffer is one. Its viewed bytes are copied when read. */
export type TypedArray =
  | Int8Array
  | Uint8Array
  | Uint8ClampedArray
  | Int16Array
  | Uint16Array
  | Int32Array
  | Uint32Array
  | Float32Array
  | Float64Array
  | BigInt64Array
  | BigUint64Array;

/** User ids, each coerced to a number and read as a 64-bit integer. */
export type UserIdList = ReadonlyArray<number>;

/** The main engine that exists: 0 live play, 1 replay, 2 local, 4 streaming, 5 live replay, -1 none. */
export type EngineType = -1 | 0 | 1 | 2 | 4 | 5;

// ---- records read from JavaScript ---------------------------------------------

/** A stream by business type, user and group. Numbers are read as int32. */
export interface BizInfo {
  bizType?: number;
  userId?: number;
  groupId?: number;
  /** Read by truthiness when present and neither undefined nor null. */
  collect?: boolean;
}

/** A video track. type, userId and groupId are int32; the ssrcs are int64. */
export interface VideoTrackInfo {
  type?: number;
  userId?: number;
  ssrc?: number;
  ssrcFec?: number;
  ssrcNack?: number;
  groupId?: number;
  collect?: boolean;
}

/** An audio track. type, userId and groupId are int32; ssrc is int64. */
export interface AudioTrackInfo {
  type?: number;
  userId?: number;
  ssrc?: number;
  groupId?: number;
  collect?: boolean;
}

/** The command client configuration; also the streaming engine's config. */
export interface CommandClientConfig {
  /** int32, widened to 64 bits. */
  room_id?: number;
  /** int32, widened to 64 bits. */
  user_id?: number;
  team_id?: number;
  disable_radio?: boolean;
  user_type?: number;
  app_type?: number;
  app_version?: string;
  sdk_version?: string;
  signature?: string;
  persistentCookie?: string;
  sessionCookie?: string;
  /** Bytes; anything but a typed array reads as none. */
  feature?: TypedArray;
  /** Bytes; anything but a typed array reads as none. */
  authExtension?: TypedArray;
  scheduler_host?: string;
}

/**
 * The room ticket of a connect: the room configuration and the command client
 * configuration are both read from it. The room's SDK version is always the
 * one given to engineSdk_onAppInit.
 */
export interface LiveRoomTicket extends CommandClientConfig {
  engine_parameters?: string;
  network_type?: number;
}

/** The user configuration of engineSdk_setUserConfig. */
export interface UserConfig {
  /**
   * Read strictly: anything but a boolean (a missing key too) counts as false
   * and the call throws a TypeError after it has completed.
   */
  isTestEnvironment: boolean;
  /** uint32. */
  userType?: number;
  networkType?: number;
  appVersion?: string;
  appType?: number;
  productId?: number;
  schedulerHost?: string;
  /** The network prober's user type (int32). */
  getUserType?: number;
}

/**
 * Microphone recording statistics, written into the caller's object only when
 * the stop returned 0; otherwise the object is left untouched.
 */
export interface RecordingMicrophoneInfo {
  encodedRecordedMs?: number;
  encodedVoiceActivityMs?: number;
  encodedNonZeroSampleCount?: number;
  pcmRecordedSampleCount?: number;
  pcmRecordedSampleMax?: number;
  recordingStartTimeMs?: number;
  startDuringInterruption?: boolean;
  interruptionAfterStart?: boolean;
  errorCode?: number;
  hint?: number;
}

/** The answer of livePlayEngine_getMicrophoneSendMute. */
export interface MicrophoneSendMute {
  errorCode: ResultCode;
  mute: boolean;
}

// ---- callback interfaces implemented by JavaScript ------------------------------
// Methods run on the JavaScript thread, in the order the engine reported the
// events (connection events ahead of ordinary ones); their results are ignored.

/** One field of an engine log record. */
export interface LogField {
  key: string;
  value: string;
}

/** The executor of log_start: handed every engine log record. */
export interface LogExecutor {
  /**
   * One call per record, its fields in the record's order. Lines written
   * while this runs (its own, or failure lines) reach no JavaScript executor.
   */
  log(message: string, fields: LogField[]): void;
}

/** The live client object given to engineSdk_onAppInit. */
export interface LiveClient {
  /** The engine stored bytes in its cache: persist them for engineSdk_loadCache. */
  onWriteCache(key: string, value: Buffer): void;
  /** The engine removed a cache entry. */
  onDeleteCache(key: string): void;
  /** Without it the engine's HTTP requests are never completed. */
  executeHttpRequest?(request: HttpRequest, callback: HttpRequestCallback, value: number): void;
}

/** The events of the live play engine and of its command client. */
export interface LivePlayEngineCallbacks {
  /** After engineSdk_connectLivePlayEngineAndConfigDevice: whether entering the room succeeded. */
  onEnterRoom(result: boolean): void;
  onMediaConnecting(): void;
  /**
   * Once this and onCommandConnected have come, a command disconnection leaves
   * the room by itself when the source flag "enableAutoLeaveRoom4660" is on.
   */
  onMediaConnected(): void;
  onMediaReconnecting(): void;
  onMediaDisconnected(byUser: boolean, code: number, subCode: number, extra: number): void;
  onAudioSharedConnectionStateChanged(state: number): void;
  onVideoSharedConnectionStateChanged(state: number): void;
  onCommandConnecting(): void;
  onCommandConnected(): void;
  onCommandReconnecting(reason: string): void;
  /** `reason` is "" when the engine gave none. */
  onCommandDisconnected(code: number, subCode: number, reason: string, extra: number): void;
  onServerTimestampOffset(offset: number): void;
  onRadioChannelConnecting(): void;
  onRadioChannelConnected(): void;
  onRadioMessage(data: Buffer, length: number): void;
  onUserData(data: Buffer, length: number): void;
  onNoSpeechTimeoutEvent(): void;
  onAudioInputNoVoiceWarning(): void;
  onRecordingDataException(code: number): void;
  onPlayoutDataException(code: number): void;
  onLoopbackDataException(code: number): void;
  onDeviceError(type: number, code: number, extra: number): void;
  onDeviceEvent(type: number, code: number, extra: number): void;
  onAudioInputDeviceChanged(state: number): void;
  onAudioOutputDeviceChanged(state: number): void;
  onVideoInputDeviceChanged(state: number): void;
  onDefaultAudioInputDeviceChanged(id: string, name: string): void;
  onDefaultAudioOutputDeviceChanged(id: string, name: string): void;
  onVideoFrameReceived(userId: number, trackType: number): void;
  onBeautyReady(ready: boolean): void;
  onBeautyError(code: number): void;
  onAIStickerReady(ready: boolean): void;
  onAIStickerError(code: number): void;
}

/** Callbacks of the local engine; no method is called on them yet. */
export type LocalEngineCallbacks = object;
/** Callbacks of the replay engine: its events (types/playback.d.ts). */
export type ReplayEngineCallbacks = ReplayEngineEvents;
/** Callbacks of the streaming engine: its events (types/playback.d.ts). */
export type StreamingEngineCallbacks = StreamingEvents;

/** What every frame carries. */
export interface VideoFrameBase {
  userId: number;
  width: number;
  height: number;
  /**
   * width × height × 4 bytes, rows packed, in the engine's pixel layout. The
   * same Buffer comes again, overwritten, while the size stays the same; with
   * the copy optimisation it lies over a SharedArrayBuffer and cannot be
   * transferred.
   */
  buffer: Buffer;
}

/** A frame of a renderer made from a track: receive, capture, camera data (user 0, type 0). */
export interface TrackVideoFrame extends VideoFrameBase {
  videoTrackType: number;
}

/** A frame of a renderer made from a business type: subscribe, camera and publish. */
export interface BizVideoFrame extends VideoFrameBase {
  bizType: number;
}

export type VideoFrame = TrackVideoFrame | BizVideoFrame;

/**
 * A renderer: handed the newest frame of its stream. Streams whose renderer
 * ids (user id × 20 + type) collide share the renderer registered first.
 */
export interface VideoRenderer<F extends VideoFrame = VideoFrame> {
  onVideoFrame(frame: F): void;
}

/** The microphone recording callback; data events come only with data. */
export interface MicrophoneRecordingCallback {
  onAudioRecordingStart(): void;
  onAudioRecordingStop(): void;
  onMicrophoneRecordedPcmData(data: Buffer, length: number): void;
  onMicrophoneRecordedAacData(data: Buffer, length: number, sampleRate: number): void;
  onMicrophoneRecordedOpusData(data: Buffer, length: number, sampleRate: number): void;
  onMicrophoneRecordedIsacData(data: Buffer, length: number, sampleRate: number): void;
}

/** Voice activity of the local user or of one remote stream. */
export interface VadCallback {
  onAudioVadStatusChange(status: number): void;
}

// ---- engineSdk_*: start-up, switches, main engines ---------------------------------
// At most one main engine (live play, replay, local, streaming, live replay)
// exists at a time: a create while one exists answers -1.

/**
 * Creates the engine's live client; a second call replaces it. Throws "Expected arguments : live
 * client, sdk version" unless called with at least (callbacks object, string).
 */
export function engineSdk_onAppInit(liveClient: LiveClient, sdkVersion: string): void;
/**
 * Fills the engine's cache, e.g. with what onWriteCache persisted. Throws "Expected arguments :
 * key, value" unless called with at least (string, typed array or Buffer).
 */
export function engineSdk_loadCache(key: string, value: TypedArray): void;
/**
 * Stores the user configuration the engines and the command client read; call it after
 * engineSdk_onAppInit and before creating an engine. Throws "Expected arguments : engineParams"
 * unless called with at least (object).
 */
export function engineSdk_setUserConfig(config: UserConfig): void;
/**
 * Tells the engine that the network type changed (the engine's own numbering). Throws "Expected
 * arguments : network type" unless called with at least (number).
 */
export function engineSdk_onNetworkTypeChanged(networkType: number): void;
/**
 * Creates the local engine (no room) with its callbacks object; the engine's result, -1 when
 * another main engine exists. Throws "Expected arguments : callback, userId" unless called with at
 * least (callbacks object, number, string).
 */
export function engineSdk_createLocalEngine(callbacks: LocalEngineCallbacks, userId: number, text: string): ResultCode;
/** Destroys the local engine: 0, or -1 when there is none. */
export function engineSdk_destroyLocalEngine(): Done;
/**
 * Creates the live play engine of a class with its callbacks object, which the add-on keeps until
 * the engine is destroyed: 0, or -1 when a main engine (live play, replay, local, streaming, live
 * replay) exists. Throws "Expected arguments : callbacks" unless called with at least (callbacks
 * object).
 */
export function engineSdk_createLivePlayEngine(callbacks: LivePlayEngineCallbacks): Done;
/**
 * Throws "Live play engine is not created yet" without one; -1 when already connected. Throws
 * "Expected arguments : ticket" unless called with at least (object).
 */
export function engineSdk_connectLivePlayEngine(ticket: LiveRoomTicket): ResultCode;
/**
 * Connects in the background, then configures the devices and calls onEnterRoom. 0 once started; -1
 * when already connected. Throws "Live play engine is not created yet" without an engine. Throws
 * "Expected arguments: config, audioParamPath, deviceCachedInfo" unless called with exactly
 * (object, string, object).
 */
export function engineSdk_connectLivePlayEngineAndConfigDevice(
  config: LiveRoomTicket,
  audioParamPath: string,
  deviceCachedInfo: DeviceCachedInfo,
): Done;
/** Destroys the live play engine: 0, or -1 when there was none or the disconnect failed. */
export function engineSdk_leaveLiveRoom(): Done;
/**
 * Creates the replay engine with its callbacks object and opens the recorded media at mediaPath:
 * the open's result, or -1 when a main engine exists. Throws "Expected arguments : callback" unless
 * called with at least (callbacks object, string).
 */
export function engineSdk_createReplayEngine(callbacks: ReplayEngineCallbacks, mediaPath: string): ResultCode;
/** Destroys the replay engine: 0, or -1 when there is none. */
export function engineSdk_destroyReplayEngine(): Done;
/** "win_<major>.<minor>" on Windows. */
export function engineSdk_getPlatform(): string;
/** The test-environment flag of the user configuration. */
export function engineSdk_isTestEnvironment(): boolean;
/**
 * Creates the streaming engine for a stream, with its callbacks object and the engine parameters:
 * the engine's result, -1 when a main engine exists. Throws "Expected arguments : config, callback,
 * engine_params" only when the count differs from (object, callbacks object, string) and no
 * argument has its type.
 */
export function engineSdk_createStreamingEngine(
  config: CommandClientConfig,
  callbacks: StreamingEngineCallbacks,
  engineParams: string,
): ResultCode;
/** Destroys the streaming engine: 0, or -1 when there is none. */
export function engineSdk_destroyStreamingEngine(): Done;
/**
 * Passed to the media dump in order; `value` is read as int64. Throws "Expected arguments :
 * engineParams" unless called with at least (number, string, string, string, string, boolean).
 */
export function engineSdk_initDumpManager(
  value: number,
  text1: string,
  text2: string,
  text3: string,
  text4: string,
  flag: boolean,
): void;
/**
 * Takes no argument: any argument throws. Throws "Expected 0 arguments " when given any argument.
 */
export function engineSdk_initThreadMonitor(): void;
/**
 * Switches as one flat JSON object: {"key": true, ...}. Throws "Expected arguments : engineParams"
 * unless called with at least (string).
 */
export function engineSdk_updateSourceFlag(flags: string): void;
/**
 * Hands the live client the parameters it uses outside a room; nothing before engineSdk_onAppInit.
 * Throws "Expected arguments : engineParams" unless called with at least (string).
 */
export function engineSdk_setOutRoomParameters(parameters: string): void;
/**
 * `unused` is required and not read. Throws "CreateLiveReplayEngine: invalid arguments" unless
 * called with at least (callbacks object, string, callbacks object, string).
 */
export function engineSdk_createLiveReplayEngine(
  replayCallbacks: ReplayEngineCallbacks,
  mediaPath: string,
  liveCallbacks: LivePlayEngineCallbacks,
  unused: string,
): Done;
/** Always 0. */
export function engineSdk_destroyLiveReplayEngine(): 0;
/** Throws "Live replay engine is not created yet." without one. */
export function engineSdk_openReplayMedia(): ResultCode;
/**
 * Types 1 and 2 reach the engine; any other does nothing. Throws "Expected arguments :
 * engineParamsType, engineParams" unless called with at least (number, string).
 */
export function engineSdk_updateEngineParams(type: number, params: string): void;
/** False for a missing or non-string key (no error). */
export function engineSdk_getSourceFlag(key: string): boolean;
/**
 * Sets the folder the engine caches into (UTF-8 path): 0. Throws "Expected arguments : cache
 * folder" unless called with at least (string).
 */
export function engineSdk_setEngineGlobalCacheFolder(folder: string): 0;
/**
 * Which main engine exists: 0 live play, 1 replay, 2 local, 4 streaming, 5 live replay, -1 none.
 */
export function engineSdk_currentEngineType(): EngineType;

// ---- livePlayEngine_*: media of the live class ----------------------------------------
// The current live play engine is the live replay engine's when one exists.
// Without an engine every export answers -1 and throws nothing.

/**
 * Starts sending the microphone as the given audio track. Throws "Expected 1 parameter: info"
 * unless called with at least (object).
 */
export function livePlayEngine_audioStartSend(info: AudioTrackInfo): ResultCode;
/**
 * Starts sending the microphone to the listed users only. Throws "Expected 2 parameter: info,
 * userlist" unless called with at least (object, array).
 */
export function livePlayEngine_audioStartSendToGroup(info: AudioTrackInfo, users: UserIdList): ResultCode;
/**
 * Stops sending the given audio track. Throws "Expected 1st parameter to be info" unless called
 * with at least (object).
 */
export function livePlayEngine_audioStopSend(info: AudioTrackInfo): ResultCode;
/**
 * Starts receiving a user's audio track; play: whether it is played out. Throws "Expected 2
 * arguments: info ,bool." unless called with at least (object, boolean).
 */
export function livePlayEngine_audioStartReceive(info: AudioTrackInfo, play: boolean): ResultCode;
/**
 * Stops receiving a user's audio track. Throws "Expected arg index 0 to be info." unless called
 * with at least (object).
 */
export function livePlayEngine_audioStopReceive(info: AudioTrackInfo): ResultCode;
/**
 * The renderer of user id × 20 + type; stopping the receive releases it. Throws "Expected 2
 * arguments: info, callback." unless called with at least (object, callbacks object).
 */
export function livePlayEngine_videoStartReceive(info: VideoTrackInfo, renderer: VideoRenderer<TrackVideoFrame>): ResultCode;
/**
 * Stops receiving a video track; its renderer gets no more frames. Throws "Expected 1st parameter
 * to be info" unless called with at least (object).
 */
export function livePlayEngine_videoStopReceive(info: VideoTrackInfo): ResultCode;
/**
 * Captures the local camera (user 256) and sends it: 0, or -1 when capture or send failed. Throws
 * "Expected 2 arguments: info, callback" unless called with at least (object, callbacks object).
 */
export function livePlayEngine_videoStartCapture(info: VideoTrackInfo, renderer: VideoRenderer<TrackVideoFrame>): Done;
/**
 * Captures the local camera with the AI sticker applied, to the renderer: 0, or -1 when capture
 * failed. Throws "Expected 2 arguments: info, callback" unless called with at least (object,
 * callbacks object).
 */
export function livePlayEngine_videoStartCaptureWithAISticker(
  info: VideoTrackInfo,
  renderer: VideoRenderer<TrackVideoFrame>,
): Done;
/**
 * Captures the local camera to the renderer and sends it to the listed users: 0, or -1 when capture
 * or send failed. Throws "Expected 3 arguments: info, callback, userlist" unless called with at
 * least (object, callbacks object, array).
 */
export function livePlayEngine_videoStartCaptureAndSendToGroup(
  info: VideoTrackInfo,
  renderer: VideoRenderer<TrackVideoFrame>,
  users: UserIdList,
): Done;
/**
 * Captures the local camera in high definition to the renderer: 0, or -1 when capture failed.
 * Throws "Expected 2 arguments: info, callback" unless called with at least (object, callbacks
 * object).
 */
export function livePlayEngine_videoStartCaptureHD(info: VideoTrackInfo, renderer: VideoRenderer<TrackVideoFrame>): Done;
/**
 * Stops capturing and sending the local camera track: 0, or -1. Throws "Expected 1 arguments: info"
 * unless called with at least (object).
 */
export function livePlayEngine_videoStopCapture(info: VideoTrackInfo): Done;
/**
 * Stops the high-definition capture: 0, or -1. Throws "Expected 1 arguments: info" unless called
 * with at least (object).
 */
export function livePlayEngine_videoStopCaptureHD(info: VideoTrackInfo): Done;
/**
 * Rotates the captured camera picture (degrees, the engine's values). Throws "Expected 1 arguments:
 * rotate" unless called with at least (number).
 */
export function livePlayEngine_setCaptureRotation(rotation: number): ResultCode;
/**
 * Camera frames come to `renderer` as user 0, type 0. `option` is read only when given. -1 when one
 * is registered already. Throws "Expected at least 1 arguments: callback" unless called with at
 * least (callbacks object).
 */
export function livePlayEngine_registerCameraDataCallback(renderer: VideoRenderer<TrackVideoFrame>, option?: number): Done;
/** Stops delivering raw camera frames to the callback registered before. */
export function livePlayEngine_unregisterCameraDataCallback(): ResultCode;
/**
 * One recording at a time across the recording starts: a second answers -1. Throws "Expected 3
 * arguments: info, callback, groupUsers" unless called with at least (object, callbacks object,
 * array).
 */
export function livePlayEngine_audioStartRecording(
  info: AudioTrackInfo,
  callback: MicrophoneRecordingCallback,
  groupUsers: UserIdList,
): ResultCode;
/**
 * Stops the microphone recording of the given track. Throws "Expected 1 arguments: info" unless
 * called with at least (object).
 */
export function livePlayEngine_audioStopRecording(info: AudioTrackInfo): ResultCode;
/** Starts recording the microphone and sending it. */
export function livePlayEngine_audioStartRecordAndSend(): ResultCode;
/**
 * Writes the statistics into `recordingInfo` when the stop returned 0. Throws "Expected 1
 * arguments, recodingInfo" unless called with at least (object to write into).
 */
export function livePlayEngine_audioStopRecordAndSend(recordingInfo: RecordingMicrophoneInfo): ResultCode;
/**
 * Starts a repeat (practice) recording of the microphone; its data and state reach the callback.
 * Throws "Expected 2 arguments: AudioTrackInfo, callback" unless called with at least (object,
 * callbacks object).
 */
export function livePlayEngine_audioStartRepeatRecording(info: AudioTrackInfo, callback: MicrophoneRecordingCallback): ResultCode;
/**
 * Writes the statistics into `recordingInfo` when the stop returned 0. Throws "Expected 2
 * arguments: AudioTrackInfo, callback" unless called with at least (object, object to write into).
 */
export function livePlayEngine_audioStopRepeatRecording(info: AudioTrackInfo, recordingInfo: RecordingMicrophoneInfo): ResultCode;
/**
 * Mutes or unmutes what is sent from the microphone, keeping the capture running. Throws "Expected
 * 1 arguments: mute" unless called with at least (boolean).
 */
export function livePlayEngine_setMicrophoneSendMute(mute: boolean): ResultCode;
/**
 * -1 without an engine; otherwise the engine's code and the mute state. Throws "Expected 0
 * arguments" when given any argument.
 */
export function livePlayEngine_getMicrophoneSendMute(): MicrophoneSendMute | -1;
/**
 * Replaces the local voice activity callback. Throws "Expected 1 arguments: callabck" unless called
 * with at least (callbacks object).
 */
export function livePlayEngine_registerLocalVadCallback(callback: VadCallback): ResultCode;
/**
 * Stops the local voice-activity reports; queued ones are dropped. Throws "Expected 0 arguments"
 * when given any argument.
 */
export function livePlayEngine_unregisterLocalVadCallback(): ResultCode;
/**
 * The local voice-activity state, as the engine reports it. Throws "Expected 0 arguments" when
 * given any argument.
 */
export function livePlayEngine_getLocalVadStatus(): ResultCode;
/**
 * `ssrc` is read as int32. Throws "Expected 1 arguments: ssrc, callabck" unless called with at
 * least (number, callbacks object).
 */
export function livePlayEngine_registerRemoteVadCallback(ssrc: number, callback: VadCallback): ResultCode;
/**
 * Reports a remote stream's voice activity, found by business identity, to the callback. Throws
 * "Expected 1 arguments: bizinfo, callabck" unless called with at least (object, callbacks object).
 */
export function livePlayEngine_registerRemoteVadCallbackBiz(info: BizInfo, callback: VadCallback): ResultCode;
/**
 * Stops the voice-activity reports of the stream with this ssrc. Throws "Expected 1 arguments:
 * ssrc" unless called with at least (number).
 */
export function livePlayEngine_unregisterRemoteVadCallback(ssrc: number): ResultCode;
/**
 * Stops the voice-activity reports of the stream with this business identity. Throws "Expected 1
 * arguments: biz_info" unless called with at least (object).
 */
export function livePlayEngine_unregisterRemoteVadCallbackBiz(info: BizInfo): ResultCode;
/**
 * The voice-activity state of the stream with this ssrc. Throws "Expected 1 arguments: ssrc" unless
 * called with at least (number).
 */
export function livePlayEngine_getRemoteVadStatus(ssrc: number): ResultCode;
/**
 * The voice-activity state of the stream with this business identity. Throws "Expected 1 arguments:
 * bizinfo" unless called with at least (object).
 */
export function livePlayEngine_getRemoteVadStatusBiz(info: BizInfo): ResultCode;
/**
 * Both read as uint32. Throws "Expected 2 arguments: userId, position(number)" unless called with
 * at least (number, number).
 */
export function livePlayEngine_setRxVoiceAdjustParameters(userId: number, position: number): ResultCode;
/**
 * Sets the voice adjustment of a received stream (by business identity) to position. Throws
 * "Expected 2 arguments: BizInfo, position(number)" unless called with at least (object, number).
 */
export function livePlayEngine_setRxVoiceAdjustParametersBiz(info: BizInfo, position: number): ResultCode;
/**
 * Opens the camera for a business type, publishes it and draws it to the renderer. Throws "Expected
 * 2 arguments: info, callback" unless called with at least (object, callbacks object).
 */
export function livePlayEngine_startCameraAndPublish(info: BizInfo, renderer: VideoRenderer<BizVideoFrame>): ResultCode;
/**
 * Stops publishing the camera of a business type and closes it. Throws "Expected 1 arguments: info"
 * unless called with at least (object).
 */
export function livePlayEngine_stopCameraAndUnpublish(info: BizInfo): ResultCode;
/**
 * Subscribes to a user's video of a business type; frames reach the renderer. Throws "Expected 2
 * arguments: info, callback." unless called with at least (object, callbacks object).
 */
export function livePlayEngine_subscribeVideo(info: BizInfo, renderer: VideoRenderer<BizVideoFrame>): ResultCode;
/**
 * Ends a video subscription; its renderer gets no more frames. Throws "Expected 1st parameter to be
 * info" unless called with at least (object).
 */
export function livePlayEngine_unsubscribeVideo(info: BizInfo): ResultCode;
/**
 * Opens the microphone for a business type and publishes it (send: whether it is sent); recording
 * data and state reach the callback. Throws "Expected 3 arguments" unless called with at least
 * (object, boolean, callbacks object).
 */
export function livePlayEngine_startMicAndPublish(info: BizInfo, send: boolean, callback: MicrophoneRecordingCallback): ResultCode;
/**
 * Writes the statistics into `recordingInfo` when the stop returned 0. Throws "Expected 2
 * parameters: BizInfo, RecordingMicrophoneInfo" unless called with at least (object, object to
 * write into).
 */
export function livePlayEngine_stopMicAndUnpublish(info: BizInfo, recordingInfo: RecordingMicrophoneInfo): ResultCode;
/**
 * Subscribes to a user's audio of a business type; play: whether it is played out. Throws "Expected
 * 2 arguments: info ,bool." unless called with at least (object, boolean).
 */
export function livePlayEngine_subscribeAudio(info: BizInfo, play: boolean): ResultCode;
/**
 * Ends an audio subscription. Throws "Expected arg index 0 to be info." unless called with at least
 * (object).
 */
export function livePlayEngine_unsubscribeAudio(info: BizInfo): ResultCode;
/**
 * Starts group audio with the listed users; send: whether this user sends. Throws "Expected 3 args:
 * bizinfo, array of int64_t, bool." unless called with at least (object, array, boolean).
 */
export function livePlayEngine_startGroupAudio(info: BizInfo, users: UserIdList, send: boolean): ResultCode;
/** Publishes this user's audio to the running group audio. */
export function livePlayEngine_publishGroupAudio(): ResultCode;
/** Spelled so. */
export function livePlayEngine_unpblishGroupAudio(): ResultCode;
/**
 * Stops the group audio of a business identity. Throws "Expected arg index 0 to be bizinfo." unless
 * called with at least (object).
 */
export function livePlayEngine_stopGroupAudio(info: BizInfo): ResultCode;

// ---- log_*: the engine's logging -------------------------------------------------------

/**
 * Adds a sink that hands every record to `executor.log`; `logPath` is not used. Exactly 2
 * arguments. Throws "Expected arguments : executor, log_path" unless called with exactly (callbacks
 * object, string).
 */
export function log_start(executor: LogExecutor, logPath: string): void;
/**
 * Levels: 1 error, 2 warning, 4 verbose, any other info. Throws "Expected arguments : level, tag,
 * msg" unless called with at least (number, string, string).
 */
export function log_logMessage(level: number, tag: string, msg: string): void;
/**
 * `episodeId` is read as int64. Throws "Expected arguments : roomType, episodeId" only with fewer
 * arguments than (string, number) and none of its type.
 */
export function log_addEpisodeId(roomType: string, episodeId: number): void;
/** Removes the episode id from later log records. */
export function log_removeEpisodeId(): void;
/**
 * Any value, coerced to a string. Throws "Expected arguments : sdkVersion" unless called with at
 * least (any value).
 */
export function log_setSdkVersion(sdkVersion: string): void;

// ---- engineTest_* --------------------------------------------------------------------

/** The engine's answer; arguments are ignored. */
export function engineTest_executeOpenglTest(): ResultCode;

// ---- groups declared in files of their own -----------------------------------------

export * from './types/handles';
export * from './types/qx_player';
export * from './types/services';
export * from './types/device';
export * from './types/live_class';
export * from './types/playback';
export * from './types/recording';
export * from './types/qx_recording';
export * from './types/room_replay';
