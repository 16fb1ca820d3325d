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
 * Makes the recorder (the source flag "enableNewScreenRecordEngine20250807" chooses which,
 * once) and initialises it: its code; -1 while one exists. Throws "Expected 3 arguments:
 * callback, params, sdk_version" unless called with at least (object, string, string).
 */
export declare function screenRecordEngine_createScreenCapture(
  callback: ScreenRecordEvents,
  params: string,
  sdkVersion: string,
): ResultCode;
/**
 * Starts a recording; the newer recorder is made anew by each start. Throws "Expected 1
 * arguments : params" unless called with at least (object).
 */
export declare function screenRecordEngine_startScreenRecord(params: ScreenRecordParams): ResultCode;
/** Pauses the recording; the microphone's gain control is held unless the source flag keeps it on. */
export declare function screenRecordEngine_pauseScreenRecord(): ResultCode;
/** Resumes the recording. */
export declare function screenRecordEngine_resumeScreenRecord(): ResultCode;
/**
 * Exactly the bytes the ArrayBuffer or Int8Array views. Throws "Expected 1 arguments" unless
 * called with exactly one argument, and "Expected arguments: arraybuffer or int8array" for any
 * other kind of value.
 */
export declare function screenRecordEngine_newScreenAudioDataReady(data: Int8Array | ArrayBuffer): ResultCode;
/**
 * Stops the recording; `save` keeps what was recorded. Throws "Expected 1 arguments : bool"
 * unless called with at least (boolean).
 */
export declare function screenRecordEngine_stopScreenRecord(save: boolean): ResultCode;
/**
 * Drops the last segment: the newer recorder only, -1 on the classic one. Throws "Invalid
 * arguments, no need parameter !" when given any argument.
 */
export declare function screenRecordEngine_deleteLastSegment(): ResultCode;
/**
 * Milliseconds recorded; -1 without a recorder. Throws "Invalid arguments, no need parameter !"
 * when given any argument.
 */
export declare function screenRecordEngine_getRecordDurationMs(): number;
/**
 * The capture interfaces for a source type, "screen" or "window" (any other has none); needs
 * no recorder. Throws "Expected 1 arguments, 1st parameter to be string" unless called with at
 * least (string).
 */
export declare function screenRecordEngine_getSupportedCapApiList(type: string): number[];
/**
 * The windows that can be recorded; needs no recorder. Throws "Invalid arguments, no need
 * parameter !" when given any argument.
 */
export declare function screenRecordEngine_getWindowsList(): RecordableWindow[];
/** 0, or -1 without a recorder; its queued events are dropped. */
export declare function screenRecordEngine_destroyScreenCapture(): ResultCode;

// ---- cameraRecordEngine_*: the camera, with a preview -------------------------------------

/**
 * Makes the recorder and initialises it: the initialisation's code; -1 while one exists, or
 * when no engine could be made. Throws "Expected 3 arguments: callback, params, sdk_version"
 * unless called with at least (object, object).
 */
export declare function cameraRecordEngine_createCameraRecorder(
  callback: CameraRecorderEvents,
  params: CameraRecorderParams,
): ResultCode;
/**
 * Preview frames go to `callback.onVideoFrame` (user 0, track type 0) until
 * cameraRecordEngine_stopPreview. Throws "Expected 1 arguments: config, callback" unless called
 * with at least (object, object).
 */
export declare function cameraRecordEngine_startPreview(
  config: CameraPreviewConfig,
  callback: VideoRenderer<TrackVideoFrame>,
): ResultCode;
/**
 * Starts a recording whose events go to `callback`. Throws "Expected 2 arguments: config,
 * callback" unless called with at least (object, object).
 */
export declare function cameraRecordEngine_startRecord(config: CameraRecordConfig, callback: CameraRecordingEvents): ResultCode;
/**
 * Stops the recording; `needSave` keeps the file. Throws "Expected 1 arguments: need_save"
 * unless called with at least (boolean).
 */
export declare function cameraRecordEngine_stopRecord(needSave: boolean): ResultCode;
/**
 * Stops the preview: no frame is delivered once it returned, queued or not. Throws "Expected 0
 * arguments" when given any argument.
 */
export declare function cameraRecordEngine_stopPreview(): ResultCode;
/**
 * 0, or -1 without a recorder; its queued events go, the device modules' stay. Throws "Expected
 * 0 arguments" when given any argument.
 */
export declare function cameraRecordEngine_destroyCameraRecorder(): ResultCode;

// ---- mediaTrackEditorEngine_*: recorded media cut, joined and exported --------------------
// Every export but create and destroy throws "media track editor engine is not created" without an editor.

/** Makes the editor: its code; -100606 while one exists. */
export declare function mediaTrackEditorEngine_createMediaTrackEditor(): ResultCode;
/**
 * Inserts the media at `pos` milliseconds. Throws "Expected 2 arguments: path, pos" unless
 * called with at least (string, number).
 */
export declare function mediaTrackEditorEngine_mediaTrackInsert(path: string, pos: number): ResultCode;
/**
 * Cuts the range, in milliseconds. Throws "Expected 2 arguments: startPos, endPos" unless called
 * with at least (number, number).
 */
export declare function mediaTrackEditorEngine_mediaTrackDelete(startPos: number, endPos: number): ResultCode;
/** Appends the media. Throws "Expected 1 arguments: path" unless called with at least (string). */
export declare function mediaTrackEditorEngine_mediaTrackAppend(path: string): ResultCode;
/**
 * Replaces the range, in milliseconds, by the media. Throws "Expected 3 arguments: path,
 * startPos, endPos" unless called with at least (string, number, number).
 */
export declare function mediaTrackEditorEngine_mediaTrackReplace(path: string, startPos: number, endPos: number): ResultCode;
/** The track's duration in milliseconds. */
export declare function mediaTrackEditorEngine_getMediaTrackDuration(): number;
/**
 * Exports the track to `path`; the export's progress and end go to `callback`, and nothing more
 * of an earlier export. Throws "Expected 2 arguments: path, callback" unless called with at least
 * (string, object).
 */
export declare function mediaTrackEditorEngine_mediaTrackExport(path: string, callback: ExportStatusCallbacks): ResultCode;
/**
 * The same, with the segments of the exported track at its end. Throws "Expected 2 arguments:
 * path, callback" unless called with at least (string, object).
 */
export declare function mediaTrackEditorEngine_mediaTrackExportWithSegInfo(
  path: string,
  callback: ExportWithSegmentsCallbacks,
): ResultCode;
/** Releases the editor: 0, or -1 without one. */
export declare function mediaTrackEditorEngine_destroyMediaTrackEditor(): ResultCode;
