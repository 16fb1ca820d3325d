'use strict';
// Refusal texts and failure values of the streaming exports, as the
// contract words them (test/refusals.test.js says what each field means).
module.exports = {
  // What an export logs when its engine is absent.
  missing: { text: 'streaming engine is not created yet.', tag: 'EngineAddon', severity: 12 },
  rows: {
    streamingEngine_prepareAsync: { message: 'Expected arguments : urls, render', failure: -1, absent: -1 },
    streamingEngine_sendUserData: { message: 'Expected arguments : data', failure: -1, absent: -1 },
    streamingEngine_sendRadioData: { message: 'Expected arguments : data', failure: -1, absent: -1 },
    streamingEngine_mute: { message: 'Expected arguments : mute', failure: -1, absent: -1 },
    streamingEngine_isMute: { message: null, absent: false },
    streamingEngine_pause: { message: null, absent: -1 },
    streamingEngine_start: { message: null, absent: -1 },
  },
};
