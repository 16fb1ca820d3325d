'use strict';
// Refusal texts and failure values of the replay engine exports, as the
// contract words them (test/refusals.test.js says what each field means).
module.exports = {
  // What an export logs when its engine is absent.
  missing: { text: 'Replay engine is not created yet.', tag: 'EngineAddon', severity: 12 },
  rows: {
    replayEngine_play: { message: null, absent: -1 },
    replayEngine_pause: { message: null, absent: -1 },
    replayEngine_setPlaySpeed: { message: null, absent: -1, args: [1.5] },
    replayEngine_receivePacket: { message: 'Expected 2 arguments: array, packetInfo', failure: -1, absent: -1 },
    replayEngine_requestReset: { message: null, absent: -1 },
    replayEngine_confirmReset: { message: null, absent: -1 },
    replayEngine_setStreamInfo: { message: 'Expected arguments: array', failure: -1, absent: -1 },
    replayEngine_videoStartPlay: { message: 'Expected 3 arguments: userId, stream type, callback', failure: -1, absent: -1 },
    replayEngine_videoStartPlayBiz: { message: 'Expected arguments: bizInfo, callback', failure: -1, absent: -1 },
    replayEngine_videoStopPlay: { message: 'Expected 2 arguments： userID, stream type', failure: -1, absent: -1 },
    replayEngine_videoStopPlayBiz: { message: 'Expected arguments: bizInfo', failure: -1, absent: -1 },
    replayEngine_audioStartPlay: { message: 'Expected arg index 0 to be user id', failure: -1, absent: -1 },
    replayEngine_audioStopPlay: { message: 'Expected arg index 0 to be user id', failure: -1, absent: -1 },
    replayEngine_audioStartPlayBiz: { message: 'Expected arg index 0 to be BizInfo', failure: -1, absent: -1 },
    replayEngine_audioStopPlayBiz: { message: 'Expected arg index 0 to be BizInfo', failure: -1, absent: -1 },
    replayEngine_setReplayVoiceAdjustParameters: { message: 'Expected 2 arguments: userId, stream type', failure: -1, absent: -1 },
    replayEngine_setReplayVoiceAdjustParametersBiz: { message: 'Expected 2 arguments: bizInfo, pos', failure: -1, absent: -1 },
  },
};
