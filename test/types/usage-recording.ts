// How an app records a lesson from the screen or the camera, drops a take,
// cuts and exports it, type-checked against the declarations (never run).
import * as addon from 'lumen_engine_addon';
import type {
  CameraPreviewConfig,
  CameraRecordConfig,
  CameraRecorderEvents,
  CameraRecorderParams,
  CameraRecordingEvents,
  CaptureApiChange,
  ExportSegmentInfo,
  ExportSegments,
  ExportStatus,
  ExportStatusCallbacks,
  ExportWithSegmentsCallbacks,
  FrameDetectResult,
  FrameDetectResultCallbacks,
  RecordableWindow,
  ScreenRecordError,
  ScreenRecordEvents,
  ScreenRecordParams,
  TrackVideoFrame,
  VideoRenderer,
} from 'lumen_engine_addon';

const lessonDir = 'C:/Users/teacher/AppData/Roaming/classroom/recordings';
const takes: string[] = [];
const status: string[] = [];

// ---- the screen, with the teacher's microphone -------------------------------------------

const screenEvents: ScreenRecordEvents = {
  onRecordStarted() { status.push('recording'); },
  onRecordPaused() { status.push('paused'); },
  onRecordResumed() { status.push('recording'); },
  onRecordStopped(path) { if (path) takes.push(path); },
  onErrorStatus(error: ScreenRecordError) { status.push(`error ${error.errorCode}: ${error.message}`); },
  onCaptureApiChanged(change: CaptureApiChange) { status.push(`capture api ${change.api_type}`); },
  onSegmentDeleted() { status.push('last take dropped'); },
  onMergeProgress(progress) { status.push(`merging ${progress}%`); },
  onFirstFrameReady() { status.push('first frame'); },
};
if (addon.screenRecordEngine_createScreenCapture(screenEvents, '{"scene":"lesson"}', '5.1.0') !== 0) {
  console.log('no screen recorder');
}

const windows: RecordableWindow[] = addon.screenRecordEngine_getWindowsList();
const whiteboard = windows.find((w) => /whiteboard/i.test(w.title));
const apis: number[] = addon.screenRecordEngine_getSupportedCapApiList(whiteboard ? 'window' : 'screen');

// A blank or frozen picture is worth a warning; two ways to be told.
const warnOnFrozen = (result: FrameDetectResult) => {
  if (result.isStatic || result.isBlack || result.isSolid) status.push(`picture looks wrong (${result.solidColor})`);
};
const detectorObject: FrameDetectResultCallbacks = { onDetectResultCallback: warnOnFrozen };

const params: ScreenRecordParams = {
  rootDir: lessonDir,
  windId: whiteboard ? whiteboard.id : 0,
  captureSourceType: whiteboard ? 1 : 0,
  captureApiType: apis[0] ?? 0,
  targetWidth: 1920,
  targetHeight: 1080,
  videoFps: 15,
  videoBitrate: 2_000_000,
  enableAec: true,
  excludeWindList: windows.filter((w) => w.title === 'Classroom toolbar').map((w) => w.id),
  frameDetectorCfg: { enableDetect: true, detectIntervalMs: 2000, callbackWithResult: warnOnFrozen },
};
addon.screenRecordEngine_startScreenRecord(params);
addon.screenRecordEngine_startScreenRecord({ ...params, frameDetectorCfg: { callbackWithResult: detectorObject } });

// The teacher's own sound, pushed while recording.
const pcm = new Int8Array(640);
addon.screenRecordEngine_newScreenAudioDataReady(pcm);
addon.screenRecordEngine_newScreenAudioDataReady(pcm.buffer);
// @ts-expect-error only an ArrayBuffer or an Int8Array is taken
addon.screenRecordEngine_newScreenAudioDataReady(new Uint8Array(640));

addon.screenRecordEngine_pauseScreenRecord();
addon.screenRecordEngine_resumeScreenRecord();
if (addon.screenRecordEngine_getRecordDurationMs() < 3000) addon.screenRecordEngine_deleteLastSegment();
addon.screenRecordEngine_stopScreenRecord(true);
// @ts-expect-error stopping says whether to keep the recording
addon.screenRecordEngine_stopScreenRecord();
// @ts-expect-error the SDK version is a string
addon.screenRecordEngine_createScreenCapture(screenEvents, '{}', 5);
addon.screenRecordEngine_destroyScreenCapture();

// ---- the camera, previewed in the side panel ------------------------------------------------

let lastPreview: TrackVideoFrame | undefined;
const preview: VideoRenderer<TrackVideoFrame> = {
  onVideoFrame(frame) { lastPreview = frame; },
};
const cameraEvents: CameraRecorderEvents = {
  onPreviewStarted() { status.push('camera on'); },
  onPreviewStopped() { status.push('camera off'); },
  onCameraError(code, message) { status.push(`camera error ${code}: ${message}`); },
  onRecordProgress(durationMs) { status.push(`${Math.round(durationMs / 1000)} s recorded`); },
};
const recorderParams: CameraRecorderParams = { recordMode: 1, engineParams: '{}', sdkVersion: '5.1.0' };
addon.cameraRecordEngine_createCameraRecorder(cameraEvents, recorderParams);

const previewConfig: CameraPreviewConfig = { cameraGUID: 'usb-cam-01', previewWidth: 640, previewHeight: 360, previewFps: 15 };
addon.cameraRecordEngine_startPreview(previewConfig, preview);
// @ts-expect-error the camera is named by its GUID
addon.cameraRecordEngine_startPreview({ previewWidth: 640 }, preview);

const recording: CameraRecordingEvents = {
  onRecordStarted() { status.push('camera recording'); },
  onRecordStopped(path) { if (path) takes.push(path); },
  onRecordError(code, message) { status.push(`camera recording failed ${code}: ${message}`); },
};
const recordConfig: CameraRecordConfig = { rootDir: lessonDir, recordWidth: 1280, recordHeight: 720, recordVideoBitrate: 1_500_000 };
addon.cameraRecordEngine_startRecord(recordConfig, recording);
addon.cameraRecordEngine_stopRecord(true);
addon.cameraRecordEngine_stopPreview();
addon.cameraRecordEngine_destroyCameraRecorder();
console.log(lastPreview?.width, lastPreview?.buffer.length);

// ---- one lesson out of the takes --------------------------------------------------------------

addon.mediaTrackEditorEngine_createMediaTrackEditor();
for (const take of takes) addon.mediaTrackEditorEngine_mediaTrackAppend(take);
addon.mediaTrackEditorEngine_mediaTrackInsert(`${lessonDir}/intro.seg`, 0);
addon.mediaTrackEditorEngine_mediaTrackDelete(60_000, 75_000);
addon.mediaTrackEditorEngine_mediaTrackReplace(`${lessonDir}/retake.seg`, 120_000, 150_000);
// @ts-expect-error positions are numbers of milliseconds
addon.mediaTrackEditorEngine_mediaTrackDelete('1:00', '1:15');
const totalMs: number = addon.mediaTrackEditorEngine_getMediaTrackDuration();

const quick: ExportStatusCallbacks = {
  exportProgress(progress) { status.push(`export ${progress}%`); },
  exportFinished(result: ExportStatus) { status.push(`exported: ${result.errorCode} ${result.message}`); },
};
addon.mediaTrackEditorEngine_mediaTrackExport(`${lessonDir}/preview.seg`, quick);

const chapters: ExportSegmentInfo[] = [];
const withChapters: ExportWithSegmentsCallbacks = {
  exportProgress(progress) { status.push(`export ${progress}%`); },
  exportFinished(result: ExportStatus, segments: ExportSegments) {
    if (result.errorCode === 0 && segments.durationMs === totalMs) chapters.push(...segments.segmentInfos);
  },
};
addon.mediaTrackEditorEngine_mediaTrackExportWithSegInfo(`${lessonDir}/lesson.seg`, withChapters);
addon.mediaTrackEditorEngine_destroyMediaTrackEditor();
console.log(status.length, chapters.map((c) => c.endTimeMs - c.startTimeMs));
