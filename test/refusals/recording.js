'use strict';
// Refusal texts and failure values of the recording exports, as the contract
// words them (test/refusals.test.js says what each field means).
const NO_PARAMETER = 'Invalid arguments, no need parameter !';
const NO_EDITOR = 'media track editor engine is not created';

module.exports = {
  // What a screen recorder export logs when there is none; the camera
  // recorder's exports log lines of their own, the editor's throw.
  missing: { text: 'screen record engine is not created yet.', tag: 'EngineAddon', severity: 12 },
  rows: {
    screenRecordEngine_createScreenCapture: { message: 'Expected 3 arguments: callback, params, sdk_version', failure: -1 },
    screenRecordEngine_destroyScreenCapture: { message: null, absent: -1, logs: null },
    screenRecordEngine_startScreenRecord: { message: 'Expected 1 arguments : params', failure: -1, absent: -1 },
    screenRecordEngine_pauseScreenRecord: { message: null, absent: -1 },
    screenRecordEngine_resumeScreenRecord: { message: null, absent: -1 },
    screenRecordEngine_stopScreenRecord: { message: 'Expected 1 arguments : bool', failure: -1, absent: -1 },
    screenRecordEngine_newScreenAudioDataReady: { message: 'Expected 1 arguments', failure: -1, absent: -1, args: [new ArrayBuffer(4)] },
    screenRecordEngine_getSupportedCapApiList: { message: 'Expected 1 arguments, 1st parameter to be string', failure: -1, absent: [], logs: null },
    screenRecordEngine_getWindowsList: { message: NO_PARAMETER, failure: -1 },
    screenRecordEngine_deleteLastSegment: { message: NO_PARAMETER, failure: -1, absent: -1 },
    screenRecordEngine_getRecordDurationMs: { message: NO_PARAMETER, failure: -1, absent: -1 },

    cameraRecordEngine_createCameraRecorder: { message: 'Expected 3 arguments: callback, params, sdk_version', failure: -1 },
    cameraRecordEngine_destroyCameraRecorder: { message: 'Expected 0 arguments', failure: -1, absent: -1, logs: null },
    cameraRecordEngine_startRecord: { message: 'Expected 2 arguments: config, callback', failure: -1, absent: -1, logs: null },
    cameraRecordEngine_stopRecord: { message: 'Expected 1 arguments: need_save', failure: -1, absent: -1, logs: null },
    cameraRecordEngine_startPreview: { message: 'Expected 1 arguments: config, callback', failure: -1, absent: -1, logs: null },
    cameraRecordEngine_stopPreview: { message: 'Expected 0 arguments', failure: -1, absent: -1, logs: null },

    mediaTrackEditorEngine_createMediaTrackEditor: { message: null },
    mediaTrackEditorEngine_destroyMediaTrackEditor: { message: null, absent: -1, logs: null },
    mediaTrackEditorEngine_mediaTrackInsert: { message: 'Expected 2 arguments: path, pos', failure: -1, absentThrows: NO_EDITOR, logs: null },
    mediaTrackEditorEngine_mediaTrackDelete: { message: 'Expected 2 arguments: startPos, endPos', failure: -1, absentThrows: NO_EDITOR, logs: null },
    mediaTrackEditorEngine_mediaTrackAppend: { message: 'Expected 1 arguments: path', failure: -1, absentThrows: NO_EDITOR, logs: null },
    mediaTrackEditorEngine_mediaTrackReplace: { message: 'Expected 3 arguments: path, startPos, endPos', failure: -1, absentThrows: NO_EDITOR, logs: null },
    mediaTrackEditorEngine_getMediaTrackDuration: { message: null, absentThrows: NO_EDITOR, logs: null },
    mediaTrackEditorEngine_mediaTrackExport: { message: 'Expected 2 arguments: path, callback', failure: -1, absentThrows: NO_EDITOR, logs: null },
    mediaTrackEditorEngine_mediaTrackExportWithSegInfo: { message: 'Expected 2 arguments: path, callback', failure: -1, absentThrows: NO_EDITOR, logs: null },
  },
};
