'use strict';
// Refusal texts and failure values of the AI agent exports, as the
// contract words them (test/refusals.test.js says what each field means).
module.exports = {
  rows: {
    QXAIAgent_createInstance: { message: 'Expected arguments: config, callback', failure: -1 },
    QXAIAgent_destroyInstance: { message: 'Expected arguments: agent_ptr', failure: -1 },
    QXAIAgent_start: { message: 'Expected arguments: agent_ptr', failure: -1 },
    QXAIAgent_stop: { message: 'Expected arguments: agent_ptr', failure: -1 },
    QXAIAgent_startListening: { message: 'Expected arguments: agent_ptr', failure: -1 },
    QXAIAgent_startListeningWithProvider: { message: 'Expected arguments: agent_ptr, handler', failure: -1 },
    QXAIAgent_stopListening: { message: 'Expected arguments: agent_ptr', failure: -1 },
    QXAIAgent_setMicrophoneSendMute: { message: 'Expected arguments: agent_ptr, mute', failure: -1 },
    QXAIAgent_setAIPlayoutMute: { message: 'Expected arguments: agent_ptr, mute', failure: -1 },
    QXAIAgent_sendMessage: { message: 'Expected arguments: agent_ptr, message', failure: -1 },
    QXAIAgent_getConnectionState: { message: 'Expected arguments: agent_ptr', failure: -1 },
    QXAIAgent_getServerClockDiffMs: { message: 'Expected arguments: agent_ptr', failure: -1 },
    QXAIAgent_registerActionCallback: { message: 'Expected arguments: agent_ptr, callback', failure: -1 },
    QXAIAgent_unRegisterActionCallback: { message: 'Expected arguments: agent_ptr', failure: -1 },
    QXAIAgent_registerAIAgentAudioPlayStatusCallback: { message: 'Expected arguments: agent_ptr, callback', failure: -1 },
    QXAIAgent_unRegisterAIAgentAudioPlayStatusCallback: { message: 'Expected arguments: agent_ptr', failure: -1 },
    QXAIAgent_getUserAudioLevel: { message: 'Expected arguments: agent_ptr', failure: -1 },
    QXAIAgent_getAIAudioLevel: { message: 'Expected arguments: agent_ptr', failure: -1 },
    QXAIAgent_publishCamera: { message: 'Expected arguments: agent_ptr, config', failure: -1 },
    QXAIAgent_unpublishCamera: { message: 'Expected arguments: agent_ptr', failure: -1 },
  },
};
