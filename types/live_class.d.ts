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

/** Elements are int32, widened. */
export function livePlayEngine_setStudentListInClass(students: number[]): ResultCode;
/** The command client's answer: 1 sent, 0 not; -1 without a command client. Only the bytes the view covers are sent. */
export function livePlayEngine_sendUserData(data: TypedArray): 1 | 0 | -1;
/** 0 when the command client sent it, else -1. */
export function livePlayEngine_sendRadioData(data: TypedArray): Done;
export function livePlayEngine_switchGroupServer(): ResultCode;
export function livePlayEngine_syncClock(): Done;
export function livePlayEngine_startCommunication(communicationId: number, groupUsers: number[], flag?: boolean): ResultCode;
export function livePlayEngine_stopCommunication(communicationId: number): ResultCode;
export function livePlayEngine_startSupervising(info: VideoTrackInfo, view: VideoRenderer<TrackVideoFrame>): ResultCode;
export function livePlayEngine_stopSupervising(info: VideoTrackInfo): ResultCode;
export function livePlayEngine_startHandActionCheck(config: HandActionCheckConfig, callback: HandActionCallback): ResultCode;
export function livePlayEngine_stopHandActionCheck(): ResultCode;
/** -1 while a collection runs. */
export function livePlayEngine_startCollectLiveData(first: number, second: number, callback: CollectLiveDataCallback): ResultCode;
export function livePlayEngine_stopCollectLiveData(): ResultCode;
export function livePlayEngine_getCommandNetworkCondition(condition: CommandNetworkCondition): Done;
export function livePlayEngine_getMediaNetworkCondition(condition: MediaNetworkCondition): ResultCode;
export function livePlayEngine_getMediaNetworkConditionByUser(userId: number, condition: MediaNetworkCondition): ResultCode;
export function livePlayEngine_getSenderMediaNetworkCondition(condition: MediaNetworkCondition): ResultCode;
export function livePlayEngine_getPingNetworkCondition(condition: PingNetworkCondition): ResultCode;
export function livePlayEngine_setAIStickerPath(path: string): ResultCode;
export function livePlayEngine_setAIStickerEnable(enable: boolean): ResultCode;
/** 0 when the beauty manager's AI-sticker state allows it. */
export function livePlayEngine_isAIStickerAvailable(): Done;
export function livePlayEngine_startScreenShare(info: VideoTrackInfo, config: ScreenShareConfig): ResultCode;
export function livePlayEngine_stopScreenShare(): ResultCode;
export function livePlayEngine_enableStaticFrameDetector(config: LiveStaticFrameDetectorConfig): ResultCode;
export function livePlayEngine_updateFaceInfo(faces: FaceInfo[]): ResultCode;
/** null, not -1, without a live play engine. */
export function livePlayEngine_getFaceDetectResult(): LiveFaceDetectResult | null;
export function livePlayEngine_startCameraVideoRecord(config: CameraVideoRecordConfig): ResultCode;
export function livePlayEngine_stopCameraVideoRecord(flag: boolean): ResultCode;

// ---- beautyEngine_* ----------------------------------------------------------------------

export function beautyEngine_applyBeautyManagerConfig(config: BeautyManagerConfig): 0;
export function beautyEngine_syncCurrentState(): void;
export function beautyEngine_setBeautyConfig(config: BeautyConfig): 0;
/** -1 (the value still remembered for initialising) until the engine is ready. */
export function beautyEngine_enableBeauty(enable: boolean): Done;
/** The setters store and apply only when the state check passes; -1 keeps the earlier value. */
export function beautyEngine_setBeautyParam(param: BeautyParam): Done;
export function beautyEngine_setStickerPath(path: string): Done;
export function beautyEngine_setColorFilterPath(path: string): Done;
export function beautyEngine_setBackgroundBlur(enabled: boolean): Done;
export function beautyEngine_setVirtualBackground(path: string): Done;
