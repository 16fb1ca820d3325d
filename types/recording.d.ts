// Declarations of the classic recording groups: the screen recorder, the
// camera recorder with its preview, and the media track editor.
import type { ResultCode, TrackVideoFrame, VideoRenderer } from '../index';

// ---- screen recorder ------------------------------------------------------------------

export interface ScreenRecordError {
  errorCode: number;
  message: string;
}

export interface CaptureApiChange {
  api_type: number;
}

/** Events of the screen recorder, given to screenRecordEngine_createScreenCapture. */
export interface ScreenRecordEvents {
  onRecordStarted(): void;
  onRecordPaused(): void;
  onRecordResumed(): void;
  /** The recording's file; empty when it was not kept. */
  onRecordStopped(path: string): void;
  onErrorStatus(error: ScreenRecordError): void;
  onCaptureApiChanged(change: CaptureApiChange): void;
  /** The newer recorder only: after screenRecordEngine_deleteLastSegment. */
  onSegmentDeleted(): void;
  onMergeProgress(progress: number): void;
  onFirstFrameReady(): void;
}

/** What the frame detector of a recording found in the captured picture. */
export interface FrameDetectResult {
  isStatic: boolean;
  isBlack: boolean;
  isGreen: boolean;
  isSolid: boolean;
  solidColor: number;
}

export interface FrameDetectResultCallbacks {
  onDetectResultCallback(result: FrameDetectResult): void;
}

/** The recording's frame detector; `alwaysDetect` and `validDetectCnt` reach the classic recorder only. */
export interface ScreenFrameDetectorConfig {
  enableDetect?: boolean;
  alwaysDetect?: boolean;
  validDetectCnt?: number;
  accuracy?: number;
  detectIntervalMs?: number;
  /** A function called with each result, or an object whose onDetectResultCallback is. */
  callbackWithResult?: ((result: FrameDetectResult) => void) | FrameDetectResultCallbacks;
}

/**
 * A recording. Every key is optional; an absent one keeps its default (the
 * newer recorder: echo cancellation on, 1280 × 720 at 30 fps, 1,000,000 bit/s,
 * GOP 30, "fast", audio 64,000 bit/s at 16,000 Hz, one channel).
 * The classic recorder reads every key but the last four; the newer one every
 * key but `audioChannels` and the detector's `alwaysDetect` and `validDetectCnt`.
 */
export interface ScreenRecordParams {
  cropTopOffset?: number;
  cropLeftOffset?: number;
  cropWidth?: number;
  cropHeight?: number;
  targetWidth?: number;
  targetHeight?: number;
  /** The window (captureSourceType 1) or screen (0) to capture. */
  windId?: number;
  /** Where the recording's files go. */
  rootDir?: string;
  videoFps?: number;
  videoBitrate?: number;
  videoGopSize?: number;
  enableAec?: boolean;
  /** Classic recorder: records through the newer audio engine, which mixes the sound played. */
  enableAudioMix?: boolean;
  audioSampleRate?: number;
  audioChannels?: number;
  audioBitrate?: number;
  videoEncodeLevel?: string;
  captureSourceType?: number;
  captureSourceTitle?: string;
  needCaptureMouse?: boolean;
  captureApiType?: number;
  excludeWindList?: number[];
  frameDetectorCfg?: ScreenFrameDetectorConfig;
  audioDeviceNeedStartPlayout?: boolean;
  pauseWithSegment?: boolean;
  audioCaptureAlwaysOn?: boolean;
  updateWhenDirty?: boolean;
}

export interface RecordableWindow {
  id: number;
  title: string;
}

// ---- camera recorder ----------------------------------------------------------------------

/** The recorder's configuration; `engineParams` and `sdkVersion` go to its initialisation. */
export interface CameraRecorderParams {
  recordMode?: number;
  placeHolderImagePath?: string;
  engineParams?: string;
  sdkVersion?: string;
}

/** Events of the camera recorder, given to cameraRecordEngine_createCameraRecorder (item type 107). */
export interface CameraRecorderEvents {
  onPreviewStarted(): void;
  onPreviewStopped(): void;
  onCameraError(code: number, message: string): void;
  onRecordProgress(durationMs: number): void;
}

/** Events of one recording, given to cameraRecordEngine_startRecord (item type 111). */
export interface CameraRecordingEvents {
  onRecordStarted(): void;
  /** The recording's file; empty when it was not kept. */
  onRecordStopped(path: string): void;
  onRecordError(code: number, message: string): void;
}

export interface CameraPreviewConfig {
  cameraGUID: string;
  previewWidth?: number;
  previewHeight?: number;
  previewFps?: number;
  scaleMode?: number;
}

export interface CameraRecordConfig {
  /** Where the recording's file goes. */
  rootDir: string;
  recordWidth?: number;
  recordHeight?: number;
  scaleMode?: number;
  recordVideoBitrate?: number;
  recordAudioBitrate?: number;
}

// ---- media track editor -------------------------------------------------------------------

export interface ExportStatus {
  errorCode: number;
  message: string;
}

export interface ExportSegmentInfo {
  startTimeMs: number;
  endTimeMs: number;
}

/** Where each piece of an exported track lies in it, in the editor's order. */
export interface ExportSegments {
  durationMs: number;
  segmentInfos: ExportSegmentInfo[];
}

/** Progress and end of an export; replaced by the next export, whose start drops what is queued of this one. */
export interface ExportStatusCallbacks {
  exportProgress(progress: number): void;
  exportFinished(status: ExportStatus): void;
}

export interface ExportWithSegmentsCallbacks {
  exportProgress(progress: number): void;
  exportFinished(status: ExportStatus, segments: ExportSegments): void;
}

// ---- screenRecordEngine_*: the screen or a window, with the microphone --------------------

/**
 * Makes the recorder (the source flag "enableNewScreenRecordEngine20250807"
 * chooses which, once) and initialises it: its code; -1 while one exists.
 */
export declare function screenRecordEngine_createScreenCapture(
  callback: ScreenRecordEvents,
  params: string,
  sdkVersion: string,
): ResultCode;
export declare function screenRecordEngine_startScreenRecord(params: ScreenRecordParams): ResultCode;
export declare function screenRecordEngine_pauseScreenRecord(): ResultCode;
export declare function screenRecordEngine_resumeScreenRecord(): ResultCode;
/** Exactly the bytes the ArrayBuffer or Int8Array views; any other kind throws. */
export declare function screenRecordEngine_newScreenAudioDataReady(data: Int8Array | ArrayBuffer): ResultCode;
/** `save`: keep what was recorded. */
export declare function screenRecordEngine_stopScreenRecord(save: boolean): ResultCode;
/** The newer recorder only; -1 on the classic one. */
export declare function screenRecordEngine_deleteLastSegment(): ResultCode;
/** Milliseconds recorded; -1 without a recorder. */
export declare function screenRecordEngine_getRecordDurationMs(): number;
/** Needs no recorder. `type` is "screen" or "window"; any other has none. */
export declare function screenRecordEngine_getSupportedCapApiList(type: string): number[];
/** Needs no recorder. */
export declare function screenRecordEngine_getWindowsList(): RecordableWindow[];
/** 0, or -1 without a recorder; its queued events are dropped. */
export declare function screenRecordEngine_destroyScreenCapture(): ResultCode;

// ---- cameraRecordEngine_*: the camera, with a preview -------------------------------------

/** The initialisation's code; -1 while one exists, or when no engine could be made. */
export declare function cameraRecordEngine_createCameraRecorder(
  callback: CameraRecorderEvents,
  params: CameraRecorderParams,
): ResultCode;
/** Preview frames go to `callback.onVideoFrame` (user 0, track type 0) until cameraRecordEngine_stopPreview. */
export declare function cameraRecordEngine_startPreview(
  config: CameraPreviewConfig,
  callback: VideoRenderer<TrackVideoFrame>,
): ResultCode;
export declare function cameraRecordEngine_startRecord(config: CameraRecordConfig, callback: CameraRecordingEvents): ResultCode;
/** `needSave`: keep the file. */
export declare function cameraRecordEngine_stopRecord(needSave: boolean): ResultCode;
/** No frame is delivered once it returned, queued or not. */
export declare function cameraRecordEngine_stopPreview(): ResultCode;
/** 0, or -1 without a recorder; its queued events go, the device modules' stay. */
export declare function cameraRecordEngine_destroyCameraRecorder(): ResultCode;

// ---- mediaTrackEditorEngine_*: recorded media cut, joined and exported --------------------
// Every export but create and destroy throws "media track editor engine is not created" without an editor.

/** The editor's code; -100606 while one exists. */
export declare function mediaTrackEditorEngine_createMediaTrackEditor(): ResultCode;
/** Positions in milliseconds. */
export declare function mediaTrackEditorEngine_mediaTrackInsert(path: string, pos: number): ResultCode;
export declare function mediaTrackEditorEngine_mediaTrackDelete(startPos: number, endPos: number): ResultCode;
export declare function mediaTrackEditorEngine_mediaTrackAppend(path: string): ResultCode;
export declare function mediaTrackEditorEngine_mediaTrackReplace(path: string, startPos: number, endPos: number): ResultCode;
/** Milliseconds. */
export declare function mediaTrackEditorEngine_getMediaTrackDuration(): number;
export declare function mediaTrackEditorEngine_mediaTrackExport(path: string, callback: ExportStatusCallbacks): ResultCode;
export declare function mediaTrackEditorEngine_mediaTrackExportWithSegInfo(
  path: string,
  callback: ExportWithSegmentsCallbacks,
): ResultCode;
/** 0, or -1 without an editor. */
export declare function mediaTrackEditorEngine_destroyMediaTrackEditor(): ResultCode;
