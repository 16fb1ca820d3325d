'use strict';
// Refusal texts and failure values of the camera record engine class, the
// native video source and the thumbnail tool, as the contract words them
// (test/refusals.test.js says what each field means). The first two groups
// never throw: `refusal: 'log'` rows write their message as an error line
// under `tag` and answer the failure value.
const logged = (name) => ({ message: `${name} invalid arguments`, failure: -1, refusal: 'log', tag: 'QXCameraRecordEngine' });

const camera = ['create', 'destroy', 'startPreview', 'stopPreview', 'startRecord', 'stopRecord', 'pauseRecord',
  'resumeRecord', 'registerRecordListener', 'deleteLastSegment', 'deleteAllSegment', 'takePicture',
  'getRecordDurationMs', 'switchCamera'];

module.exports = {
  rows: {
    ...Object.fromEntries(camera.map((m) => [`QXCameraRecordEngine_${m}`, logged(`QXCameraRecordEngine_${m}`)])),
    QXVideoFromNativeSource_create: logged('QXVideoFromNativeSource_create'),
    QXVideoFromNativeSource_destroy: logged('QXVideoFromNativeSource_destroy'),
    videoThumbnailTool_create: { message: null, failure: -1 },
    videoThumbnailTool_setMediaPath: { message: 'Expected 2  arguments: handler, media_path', failure: -1 },
    videoThumbnailTool_seekTo: { message: 'Expected 2 arguments: handler, position', failure: -1 },
    videoThumbnailTool_getVideoThumbnails: { message: 'Expected 3 arguments: handler, config, callback', failure: -1 },
    videoThumbnailTool_release: { message: 'Expected 1 arguments: handler', failure: -1 },
  },
};
