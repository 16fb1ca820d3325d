// The live class beyond media (livePlayEngine_* communication, supervision,
// detection, screen share, camera recording) and the beauty manager
// (beautyEngine_*). Re-exported by index.d.ts.
/// <reference types="node" />
import type { ResultCode, Done, TypedArray, VideoTrackInfo, VideoRenderer, TrackVideoFrame } from '../index';

// ---- records read from JavaScript ------------------------------------------------------

/** Written in place: the keys are set after the engine call, whatever it answers. */
export interface CommandNetworkCondition {
  isConnected?: boolean;
  rtt?: number;
}

/** Written in place; "lossRateE2E" only by the by-user query, and only when the object already has it. */
export interface MediaNetworkCondition {
  isConnected?: boolean;
  isStuck?: boolean;
  rtt?: number;
  jitter?: number;
  lossRate?: number;
  lossRateE2E?: number;
}

export interface PingNetworkCondition {
  rtt?: number;
  lossRate?: number;
}

export interface HandActionCheckConfig {
  modelPath?: string;
  resizeSize?: number;
  threshold?: number;
  delayFrames?: number;
  delayThreshold?: number;
}

/** Keys are read only when present. "screenId" wins over "windowId"; "captureType" 0 selects capture API type 3 unless "captureApiType" is given. */
export interface ScreenShareConfig {
  captureType?: number;
  captureApiType?: number;
  windowId?: number;
  screenId?: number;
  excludeWindList?: number[];
  callback?: ScreenShareCallback;
}

/** Keys are read only when present; defaults false, false, 30, 100. */
export interface LiveStaticFrameDetectorConfig {
  enableDetect?: boolean;
  alwaysDetect?: boolean;
  validDetectCnt?: number;
  accuracy?: number;
  callback?: StaticFrameDetectorCallback;
}

export interface FaceInfo {
  faceId?: number;
  action?: number;
  leftEyePosX?: number;
  leftEyePosY?: number;
  rightEyePosX?: number;
  rightEyePosY?: number;
  mouthPosX?: number;
  mouthPosY?: number;
  eyesPosX?: number;
  eyesPosY?: number;
  nosePosX?: number;
  nosePosY?: number;
  eyeDistance?: number;
  yaw?: number;
  pitch?: number;
  roll?: number;
}

export interface LiveFaceDetectResult {
  faceLeft: number;
  faceTop: number;
  faceRight: number;
  faceBottom: number;
  score: number;
  yaw: number;
  pitch: number;
  roll: number;
  eyeDistance: number;
  id: number;
  action: number;
  picWidth: number;
  picHeight: number;
}

export interface CameraVideoRecordConfig {
  rootPathDir?: string;
  videoBitrateKbps?: number;
  onRecordCompleteCallback?: CameraVideoRecordCallback;
}

export interface BeautyParam {
  cheekDegree?: number;
  eyeDegree?: number;
  smoothDegree?: number;
  whitenDegree?: number;
}

export interface BeautyManagerConfig {
  beautyEnable?: boolean;
  aistickerEnable?: boolean;
  tryOnError?: boolean;
  /** A missing key reads as 0, like every key here: no initialisation at all. */
  tryTimesMax?: number;
  tryTimeout?: number;
  beautyParam?: BeautyParam;
  stickerPath?: string;
  colorFilterPath?: string;
}

export interface BeautyConfig {
  resourcePath?: string;
}

// ---- callback interfaces ---------------------------------------------------------------

export interface HandActionCallback {
  /** The current hand action (item type 102). */
  onHandAction(action: number, score: number): void;
}

export interface CollectLiveDataCallback {
  /** Dropped when still queued as the collection stops. */
  OnCollectLiveData(data: Buffer): void;
  OnCollectError(error: number): void;
}

export interface ScreenShareCallback {
  onScreenShareStateChanged(state: number, code: number): void;
}

export interface StaticFrameDetectorCallback {
  onDetectStatusCallback(isStatic: boolean, changed: boolean): void;
}

export interface CameraVideoRecordCallback {
  onRecordComplete(code: number, path: string): void;
}

// ---- livePlayEngine_*: communication, supervision, detection, screen share -------------

/**
 * Elements are int32, widened. Throws "Expected 1st parameter to be student list" unless called
 * with at least (array).
 */
export function livePlayEngine_setStudentListInClass(students: number[]): ResultCode;
/**
 * The command client's answer: 1 sent, 0 not; -1 without a command client. Only the bytes the view
 * covers are sent. Throws "Expected 1st parameter to be data" unless called with at least (typed
 * array or Buffer).
 */
export function livePlayEngine_sendUserData(data: TypedArray): 1 | 0 | -1;
/**
 * 0 when the command client sent it, else -1. Throws "Expected 1 parameter: data" unless called
 * with at least (typed array or Buffer).
 */
export function livePlayEngine_sendRadioData(data: TypedArray): Done;
/** Moves the group audio to another server. */
export function livePlayEngine_switchGroupServer(): ResultCode;
/** Synchronises the engine's clock with the server: 0, or -1. */
export function livePlayEngine_syncClock(): Done;
/**
 * Starts a communication (a call among the listed users) under communicationId. Throws "Expected 2
 * arguments: communicationId, groupUsers" unless called with at least (number, array).
 */
export function livePlayEngine_startCommunication(communicationId: number, groupUsers: number[], flag?: boolean): ResultCode;
/**
 * Stops the communication communicationId. Throws "Expected 1 arguments: communicationId" unless
 * called with at least (number).
 */
export function livePlayEngine_stopCommunication(communicationId: number): ResultCode;
/**
 * Starts supervising a student's video track; frames reach the view. Throws "Expected 2 arguments:
 * info, view" unless called with at least (object, callbacks object).
 */
export function livePlayEngine_startSupervising(info: VideoTrackInfo, view: VideoRenderer<TrackVideoFrame>): ResultCode;
/**
 * Stops supervising a video track. Throws "Expected 1 arguments: info." unless called with at least
 * (object).
 */
export function livePlayEngine_stopSupervising(info: VideoTrackInfo): ResultCode;
/**
 * Starts detecting hand actions in the local camera; results reach the callback. Throws "Expected 2
 * arguments: config, callback" unless called with at least (object, callbacks object).
 */
export function livePlayEngine_startHandActionCheck(config: HandActionCheckConfig, callback: HandActionCallback): ResultCode;
/** Stops detecting hand actions. */
export function livePlayEngine_stopHandActionCheck(): ResultCode;
/**
 * -1 while a collection runs. Throws "Expected 3 arguments：value, value, callback" unless called
 * with at least (number, number, callbacks object).
 */
export function livePlayEngine_startCollectLiveData(first: number, second: number, callback: CollectLiveDataCallback): ResultCode;
/** Stops collecting live data for the collection callback. */
export function livePlayEngine_stopCollectLiveData(): ResultCode;
/**
 * Writes the command channel's network condition into the given object: 0, or -1 without a command
 * client. Throws "Expected 1 arguments: net condition" unless called with at least (object to write
 * into).
 */
export function livePlayEngine_getCommandNetworkCondition(condition: CommandNetworkCondition): Done;
/**
 * Writes the media channel's network condition into the given object. Throws "Expected 1st
 * parameter to be net condition" unless called with at least (object to write into).
 */
export function livePlayEngine_getMediaNetworkCondition(condition: MediaNetworkCondition): ResultCode;
/**
 * Writes the network condition of one user's media into the given object. Throws "Expected 2
 * arguments" unless called with at least (number, object to write into).
 */
export function livePlayEngine_getMediaNetworkConditionByUser(userId: number, condition: MediaNetworkCondition): ResultCode;
/**
 * Writes the sending side's network condition into the given object. Throws "Expected 1st parameter
 * to be net condition" unless called with at least (object to write into).
 */
export function livePlayEngine_getSenderMediaNetworkCondition(condition: MediaNetworkCondition): ResultCode;
/**
 * Writes the ping measurements into the given object. Throws "Expected 1 arguments" unless called
 * with at least (object to write into).
 */
export function livePlayEngine_getPingNetworkCondition(condition: PingNetworkCondition): ResultCode;
/** Sets the AI sticker resource path of the camera. */
export function livePlayEngine_setAIStickerPath(path: string): ResultCode;
/** Switches the camera's AI sticker on or off. */
export function livePlayEngine_setAIStickerEnable(enable: boolean): ResultCode;
/** 0 when the beauty manager's AI-sticker state allows it. */
export function livePlayEngine_isAIStickerAvailable(): Done;
/**
 * Shares the screen or a window as the given video track; its state reaches the config's callback.
 * Throws "Expected 2 arguments: info, callback" unless called with at least (object, object).
 */
export function livePlayEngine_startScreenShare(info: VideoTrackInfo, config: ScreenShareConfig): ResultCode;
/** Stops sharing the screen. */
export function livePlayEngine_stopScreenShare(): ResultCode;
/**
 * Configures the detector of a frozen (static) camera picture; its reports reach the config's
 * callback. Throws "Expected arg index 0 to be bizinfo." unless called with at least (object).
 */
export function livePlayEngine_enableStaticFrameDetector(config: LiveStaticFrameDetectorConfig): ResultCode;
/**
 * Hands the engine the faces found in the current picture. Throws "Expected arg be array." unless
 * called with at least (array).
 */
export function livePlayEngine_updateFaceInfo(faces: FaceInfo[]): ResultCode;
/** null, not -1, without a live play engine. */
export function livePlayEngine_getFaceDetectResult(): LiveFaceDetectResult | null;
/**
 * Starts recording the camera to files as configured; completion reaches the config's callback.
 * Throws "Expected 1 argument: config" unless called with at least (object).
 */
export function livePlayEngine_startCameraVideoRecord(config: CameraVideoRecordConfig): ResultCode;
/**
 * Stops the camera recording. Throws "Expected 1 argument: config" unless called with at least
 * (boolean).
 */
export function livePlayEngine_stopCameraVideoRecord(flag: boolean): ResultCode;

// ---- beautyEngine_* ----------------------------------------------------------------------

/**
 * Replaces the beauty manager's whole configuration (enables, retries, degrees, paths); a degree
 * left out reads as 0. Touches no engine: 0. Throws "Expect parameters:BeautyManagerConfig" unless
 * called with at least (object).
 */
export function beautyEngine_applyBeautyManagerConfig(config: BeautyManagerConfig): 0;
/**
 * Applies the wanted beauty and AI-sticker state to the current engine, initialising beauty when it
 * is not ready.
 */
export function beautyEngine_syncCurrentState(): void;
/**
 * Stores the beauty resource path, handed to the engine before every initialisation: 0. Throws
 * "Expect parameters: BeautyConfig" unless called with at least (object).
 */
export function beautyEngine_setBeautyConfig(config: BeautyConfig): 0;
/**
 * -1 (the value still remembered for initialising) until the engine is ready. Throws "Expect
 * parameters: enable" unless called with at least (boolean).
 */
export function beautyEngine_enableBeauty(enable: boolean): Done;
/**
 * The setters store and apply only when the state check passes; -1 keeps the earlier value. Throws
 * "Expect parameters: BeautyParam" unless called with at least (object).
 */
export function beautyEngine_setBeautyParam(param: BeautyParam): Done;
/**
 * Sets the sticker: 0 once stored and applied, -1 (nothing stored) when beauty is off or not ready
 * or there is no engine. Throws "Expect parameters: sticker path" unless called with at least
 * (string).
 */
export function beautyEngine_setStickerPath(path: string): Done;
/**
 * Sets the colour filter: 0 once stored and applied, -1 (nothing stored) when beauty is off or not
 * ready or there is no engine. Throws "Expect parameters: color filter path" unless called with at
 * least (string).
 */
export function beautyEngine_setColorFilterPath(path: string): Done;
/**
 * Blurs the camera's background or stops: 0 when applied, -1 when beauty is off or not ready or
 * there is no engine. Not stored. Throws "Expect parameters: enabled" unless called with at least
 * (boolean).
 */
export function beautyEngine_setBackgroundBlur(enabled: boolean): Done;
/**
 * Sets the camera's virtual background picture: 0 when applied, -1 when beauty is off or not ready
 * or there is no engine. Not stored. Throws "Expect parameters: color filter path" unless called
 * with at least (string).
 */
export function beautyEngine_setVirtualBackground(path: string): Done;
