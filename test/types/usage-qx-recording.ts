// How an app records from the camera with the camera record engine class,
// draws its preview from a native video source and finds places by
// thumbnails, type-checked against the declarations (never run).
import * as addon from 'lumen_engine_addon';
import type {
  CameraRecordEngineHandle,
  NativeSourceHolder,
  NativeVideoSourceHandle,
  QXCameraDevice,
  QXCameraRecordListener,
  QXNativeFrame,
  QXNativeSourceListener,
  QXPicture,
  QXPictureRequest,
  Thumbnail,
  ThumbnailCallbacks,
  ThumbnailToolHandle,
} from 'lumen_engine_addon';

const frames: QXNativeSourceListener = {
  onNativeFrame(frame: QXNativeFrame) {
    const pixels = new Uint8Array(frame.dataBuffer);
    void [pixels.length === frame.width * frame.height * 4, frame.bufferType];
  },
};
const source = addon.QXVideoFromNativeSource_create(frames);

const events: QXCameraRecordListener = {
  onPreviewStarted() {},
  onCameraSwitched(device: QXCameraDevice) { void [device.deviceId, device.deviceName, device.deviceType, device.isFront]; },
  onPreviewStopped() {},
  onSegmentDeleted() {},
  onMergeProgress(progress: number) { void progress; },
  onRecordStarted() {},
  onRecordStopped(path: string) { void path; },
  onRecordPaused() {},
  onRecordResumed() {},
  onError(level: number, code: number, message: string) { void [level, code, message]; },
};

const created = addon.QXCameraRecordEngine_create({ rootDir: '/tmp/lessons', recordMode: 0, pauseWithSegment: true });
if (created > 0 && source > 0) {
  const camera = created as CameraRecordEngineHandle;
  const sink = source as NativeVideoSourceHandle;
  addon.QXCameraRecordEngine_registerRecordListener(camera, events);
  const holder: NativeSourceHolder = { getNativeHandler: () => sink };
  addon.QXCameraRecordEngine_startPreview(camera, {
    cameraDeviceId: 'cam-1', previewWidth: 640, previewHeight: 360, previewFps: 30, viewRender: { nativeSource: holder },
  });
  addon.QXCameraRecordEngine_startPreview(camera, { cameraDeviceId: 'cam-1', surfaceId: 'preview-surface' });
  addon.QXCameraRecordEngine_switchCamera(camera, { isFront: false });
  addon.QXCameraRecordEngine_startRecord(camera, { fileOutPath: '', encWidth: 640, encHeight: 360, encFps: 30 });
  addon.QXCameraRecordEngine_pauseRecord(camera);
  addon.QXCameraRecordEngine_resumeRecord(camera);
  addon.QXCameraRecordEngine_deleteLastSegment(camera);
  addon.QXCameraRecordEngine_deleteAllSegment(camera);
  const request: QXPictureRequest = {
    picWidth: 320, needMirror: 1,
    onTakePictureResult(picture: QXPicture) { void [picture.width, picture.height, picture.errorCode, picture.type, picture.data.byteLength]; },
  };
  addon.QXCameraRecordEngine_takePicture(camera, request);
  const ms: number = addon.QXCameraRecordEngine_getRecordDurationMs(camera);
  void ms;
  addon.QXCameraRecordEngine_stopRecord(camera, true);
  addon.QXCameraRecordEngine_stopPreview(camera);
  addon.QXCameraRecordEngine_destroy(camera);
  addon.QXVideoFromNativeSource_destroy(sink);
  // @ts-expect-error a native video source is no camera record engine
  addon.QXCameraRecordEngine_stopPreview(sink);
  // @ts-expect-error rootDir is required
  addon.QXCameraRecordEngine_create({ recordMode: 0 });
}

const strip: ThumbnailCallbacks = {
  onThumbnailReady(t: Thumbnail) { void [t.width, t.height, t.stride, t.positionMs, t.buffer.length]; },
};
const made = addon.videoThumbnailTool_create();
if (made !== 0) {
  const tool: ThumbnailToolHandle = made;
  addon.videoThumbnailTool_setMediaPath(tool, '/tmp/lessons/qxcamera-1.seg');
  addon.videoThumbnailTool_seekTo(tool, 0);
  addon.videoThumbnailTool_getVideoThumbnails(tool, { width: 160, height: 90, durationMs: 1000 }, strip);
  addon.videoThumbnailTool_getVideoThumbnails(tool, {}, strip);
  // @ts-expect-error the media path is a string
  addon.videoThumbnailTool_setMediaPath(tool, 3);
  addon.videoThumbnailTool_release(tool);
}
