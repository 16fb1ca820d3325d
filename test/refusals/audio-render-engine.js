'use strict';
// Refusal texts and failure values of the audio render exports, as the
// contract words them (test/refusals.test.js says what each field means).
module.exports = {
  // What an export logs when its engine is absent.
  missing: { text: 'Audio render engine is not created yet.', tag: 'EngineAddon', severity: 12 },
  rows: {
    audioRenderEngine_init: { message: 'Expected arguments : sample_rate, channels and audio_format', failure: -1, absent: -1 },
    audioRenderEngine_start: { message: null, absent: -1 },
    audioRenderEngine_stop: { message: null, absent: -1 },
    audioRenderEngine_release: { message: null, absent: -1 },
    audioRenderEngine_getSpaceCanPushInBytes: { message: null, absent: -1 },
    audioRenderEngine_pushAudioData: { message: 'Expected 1st parameter to be data', failure: -1, absent: -1 },
    audioRenderEngine_clearPushedAudioData: { message: null, absent: -1 },
  },
};
