'use strict';
// Camera record engines, native video sources and thumbnail tools for the
// export fuzzer.
const os = require('node:os');

module.exports = {
  'camera record engine': {
    made: ['QXCameraRecordEngine_create'],
    create: (addon) => addon.QXCameraRecordEngine_create({ rootDir: os.tmpdir(), recordMode: 0 }),
    destroy: (addon, handle) => addon.QXCameraRecordEngine_destroy(handle),
  },
  'native video source': {
    made: ['QXVideoFromNativeSource_create'],
    create: (addon) => addon.QXVideoFromNativeSource_create({ onNativeFrame() {} }),
    destroy: (addon, handle) => addon.QXVideoFromNativeSource_destroy(handle),
  },
  'thumbnail tool': {
    made: ['videoThumbnailTool_create'],
    create: (addon) => addon.videoThumbnailTool_create(),
    destroy: (addon, handle) => addon.videoThumbnailTool_release(handle),
  },
};
