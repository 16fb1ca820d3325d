// Declarations of the QX recording groups: the camera record engine class
// (QXCameraRecordEngine_*), the native video source its preview can draw
// into (QXVideoFromNativeSource_*), and the video thumbnail tool
// (videoThumbnailTool_*).
//
// QXCameraRecordEngine_* and QXVideoFromNativeSource_* never throw: a call
// they refuse writes "<export> invalid arguments" as an error line (tag
// "QXCameraRecordEngine") and answers -1. Their records are read strictly: a
// key of another type is refused the same way.
import type { ResultCode } from '../index';
import type { Handle } from './handles';

/** A camera record engine. */
export type CameraRecordEngineHandle = Handle<'camera record engine'>;
/** A native video source: preview frames as ABGR pixels. */
export type NativeVideoSourceHandle = Handle<'native video source'>;
/** A thumbnail tool. */
export type ThumbnailToolHandle = Handle<'thumbnail tool'>;

// ---- camera record engine -------------------------------------------------------------

/** How the engine records; `rootDir` and `recordMode` are required. */
export interface QXCameraRecordEngineConfig {
  /** Where recordings and their segments go. */
  rootDir: string;
  recordMode: number;
  pauseWithSegment?: boolean;
  audioDeviceStartPlayout?: boolean;
  audioDeviceEnableBuildInAec?: boolean;
  enableInsertPictureWhenCloseCamera?: boolean;
  insertPicturePathWhenCloseCamera?: string;
}

/** What getNativeHandler() answers: the handle of a live native video source. */
export interface NativeSourceHolder {
  getNativeHandler(): NativeVideoSourceHandle | number;
}

/** A render object whose preview frames go to a native video source. */
export interface QXViewRender {
  nativeSource: NativeSourceHolder;
}

/** The preview: to `viewRender`'s native source, else to the native surface `surfaceId`, else nowhere. */
export interface QXCameraPreviewConfig {
  cameraDeviceId?: string;
  previewWidth?: number;
  previewHeight?: number;
  previewFps?: number;
  surfaceId?: string;
  viewRender?: QXViewRender;
}

/** A recording; keys left out keep the engine's defaults. */
export interface QXCameraRecordConfig {
  /** The file of the recording; empty or left out: one of the engine's choice under rootDir. */
  fileOutPath?: string;
  encWidth?: number;
  encHeight?: number;
  encFps?: number;
  encVideoBitrate?: number;
  encVideoGopSize?: number;
  encAudioBitrate?: number;
}

export interface QXCameraSwitchConfig {
  isFront: boolean;
}

export interface QXCameraDevice {
  deviceId: string;
  deviceName: string;
  deviceType: number;
  isFront: boolean;
}

/**
 * Events of a camera record engine, given to QXCameraRecordEngine_registerRecordListener. A method
 * left out is skipped with the line "<method> callback is empty".
 */
export interface QXCameraRecordListener {
  onPreviewStarted?(): void;
  onCameraSwitched?(device: QXCameraDevice): void;
  onPreviewStopped?(): void;
  onSegmentDeleted?(): void;
  onMergeProgress?(progress: number): void;
  onRecordStarted?(): void;
  /** The recording's file; empty when it was not kept. */
  onRecordStopped?(path: string): void;
  onRecordPaused?(): void;
  onRecordResumed?(): void;
  onError?(level: number, code: number, message: string): void;
}

export interface QXPicture {
  width: number;
  height: number;
  /** 0: a picture; otherwise the engine's code and no bytes. */
  errorCode: number;
  type: number;
  /** A copy of the picture's bytes (4-byte pixels). */
  data: ArrayBuffer;
}

/** A picture request: its size (0 or left out: the preview's) and the object its result reaches, once. */
export interface QXPictureRequest {
  picWidth?: number;
  picHeight?: number;
  /** Non-zero: rows mirrored. */
  needMirror?: number;
  onTakePictureResult(picture: QXPicture): void;
}

/**
 * Creates a camera record engine and initialises its recording. 0 when the engine could not be made
 * or its initialisation failed (nothing is left of it); -1 with the line
 * "QXCameraRecordEngine_create invalid arguments" unless called with exactly (object) whose `rootDir` is a
 * string and `recordMode` a number.
 */
export declare function QXCameraRecordEngine_create(config: QXCameraRecordEngineConfig): CameraRecordEngineHandle | 0 | -1;
/**
 * Ends the recording's initialisation and destroys the engine; the handle is stale afterwards and no
 * later event is delivered. Answers the engine's code. "QXCameraRecordEngine_destroy invalid arguments"
 * unless called with exactly (number); "QXCameraRecordEngine_destroy record engine is null" for 0.
 */
export declare function QXCameraRecordEngine_destroy(handle: CameraRecordEngineHandle): ResultCode;
/**
 * Starts the camera and its preview. -1 with "StartCamera failed, viewRender is not a valid QXVideoSink"
 * when `viewRender` is given and its getNativeHandler() answers anything but a live native video source
 * (or throws). "QXCameraRecordEngine_startPreview invalid arguments" unless called with exactly (number,
 * object); "QXCameraRecordEngine_startPreview record_engine is null" for 0.
 */
export declare function QXCameraRecordEngine_startPreview(handle: CameraRecordEngineHandle, config: QXCameraPreviewConfig): ResultCode;
/** Stops the camera. "QXCameraRecordEngine_stopPreview invalid arguments" unless called with exactly (number). */
export declare function QXCameraRecordEngine_stopPreview(handle: CameraRecordEngineHandle): ResultCode;
/** Starts a recording. "QXCameraRecordEngine_startRecord invalid arguments" unless called with exactly (number, object). */
export declare function QXCameraRecordEngine_startRecord(handle: CameraRecordEngineHandle, config: QXCameraRecordConfig): ResultCode;
/**
 * Stops the recording; `save` keeps it (onRecordStopped names its file). "QXCameraRecordEngine_stopRecord
 * invalid arguments" unless called with exactly (number, boolean).
 */
export declare function QXCameraRecordEngine_stopRecord(handle: CameraRecordEngineHandle, save: boolean): ResultCode;
/** Pauses the recording. "QXCameraRecordEngine_pauseRecord invalid arguments" unless called with exactly (number). */
export declare function QXCameraRecordEngine_pauseRecord(handle: CameraRecordEngineHandle): ResultCode;
/** Resumes the recording. "QXCameraRecordEngine_resumeRecord invalid arguments" unless called with exactly (number). */
export declare function QXCameraRecordEngine_resumeRecord(handle: CameraRecordEngineHandle): ResultCode;
/**
 * Events go to `listener` from now on; the one before hears nothing more. Answers 0.
 * "QXCameraRecordEngine_registerRecordListener invalid arguments" unless called with exactly (number, object).
 */
export declare function QXCameraRecordEngine_registerRecordListener(handle: CameraRecordEngineHandle, listener: QXCameraRecordListener): ResultCode;
/** Drops the last segment. "QXCameraRecordEngine_deleteLastSegment invalid arguments" unless called with exactly (number). */
export declare function QXCameraRecordEngine_deleteLastSegment(handle: CameraRecordEngineHandle): ResultCode;
/** Drops every segment. "QXCameraRecordEngine_deleteAllSegment invalid arguments" unless called with exactly (number). */
export declare function QXCameraRecordEngine_deleteAllSegment(handle: CameraRecordEngineHandle): ResultCode;
/**
 * Takes a picture; its result reaches `request.onTakePictureResult` once.
 * "QXCameraRecordEngine_takePicture invalid arguments" unless called with exactly (number, object).
 */
export declare function QXCameraRecordEngine_takePicture(handle: CameraRecordEngineHandle, request: QXPictureRequest): ResultCode;
/**
 * The recording's length in milliseconds (-1 for a handle that is no live engine).
 * "QXCameraRecordEngine_getRecordDurationMs invalid arguments" unless called with exactly (number).
 */
export declare function QXCameraRecordEngine_getRecordDurationMs(handle: CameraRecordEngineHandle): number;
/** Switches to the front or back camera. "QXCameraRecordEngine_switchCamera invalid arguments" unless called with exactly (number, object). */
export declare function QXCameraRecordEngine_switchCamera(handle: CameraRecordEngineHandle, config: QXCameraSwitchConfig): ResultCode;

// ---- native video source --------------------------------------------------------------

/** One preview frame. */
export interface QXNativeFrame {
  width: number;
  height: number;
  /** width * height pixels of 4 bytes, R, G, B, A. */
  dataBuffer: ArrayBuffer;
  /** The pixel format the engine handed the frame over in (1 I420, 2 BGRA). */
  bufferType: number;
}

/**
 * Frames of a native video source; only the newest waits while JavaScript is busy. Without the method
 * each frame logs "OnFrame callback is empty".
 */
export interface QXNativeSourceListener {
  onNativeFrame?(frame: QXNativeFrame): void;
}

/**
 * Creates a native video source; give its handle to QXCameraRecordEngine_startPreview through a
 * viewRender's getNativeHandler(). "QXVideoFromNativeSource_create invalid arguments" unless called with
 * exactly (object).
 */
export declare function QXVideoFromNativeSource_create(listener: QXNativeSourceListener): NativeVideoSourceHandle | 0 | -1;
/**
 * Destroys it: nothing more reaches its listener, even while a camera still draws into it. 0 when done.
 * "QXVideoFromNativeSource_destroy invalid arguments" unless called with exactly (number);
 * "QXVideoFromNativeSource_destroy native source is null" for 0.
 */
export declare function QXVideoFromNativeSource_destroy(handle: NativeVideoSourceHandle): Done;

// ---- thumbnails -----------------------------------------------------------------------

/** Thumbnails of width x height, one every durationMs of the media (the engine's defaults: 160 x 90, 1000). */
export interface ThumbnailRequest {
  width?: number;
  height?: number;
  durationMs?: number;
}

export interface Thumbnail {
  width: number;
  height: number;
  /** Bytes between the starts of two rows (padding included). */
  stride: number;
  /** Where in the media, in milliseconds (truncated toward zero). */
  positionMs: number;
  /** stride * height bytes of 4-byte pixels, B, G, R, A. */
  buffer: Buffer;
}

/** The thumbnails of one request; a request whose object lacks the method delivers nothing. */
export interface ThumbnailCallbacks {
  onThumbnailReady?(thumbnail: Thumbnail): void;
}

/** Opens a thumbnail tool. */
export declare function videoThumbnailTool_create(): ThumbnailToolHandle | 0;
/**
 * Opens a media file. Throws "Expected 2  arguments: handler, media_path" unless called with (number,
 * string); -1 with "VideoThumbnailTool_setMediaPath handler is null" for 0.
 */
export declare function videoThumbnailTool_setMediaPath(handler: ThumbnailToolHandle, media_path: string): ResultCode;
/** Where thumbnails start, in milliseconds. Throws "Expected 2 arguments: handler, position" unless called with (number, number). */
export declare function videoThumbnailTool_seekTo(handler: ThumbnailToolHandle, position: number): ResultCode;
/**
 * Asks for thumbnails; each reaches `callback.onThumbnailReady`, also while later requests run. Throws
 * "Expected 3 arguments: handler, config, callback" unless called with (number, object, object), and a
 * TypeError for a request key that is no number.
 */
export declare function videoThumbnailTool_getVideoThumbnails(handler: ThumbnailToolHandle, config: ThumbnailRequest, callback: ThumbnailCallbacks): ResultCode;
/**
 * Closes the tool; thumbnails on their way are dropped. 0 when done. Throws "Expected 1 arguments: handler"
 * unless called with (number); -1 with "VideoThumbnailTool_release handler is null" for 0.
 */
export declare function videoThumbnailTool_release(handler: ThumbnailToolHandle): Done;

type Done = 0 | -1;
