'use strict';
// AI agents for the export fuzzer.
const config = { userId: 1, agentId: 2, signature: 'fuzz', authExtension: '', noTimeout: false };

module.exports = {
  agent: {
    made: ['QXAIAgent_createInstance'],
    create: (addon) => addon.QXAIAgent_createInstance(config, {}),
    destroy: (addon, handle) => addon.QXAIAgent_destroyInstance(handle),
  },
};
