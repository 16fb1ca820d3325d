'use strict';
// Refusal texts and failure values of the engine SDK exports, as the
// contract words them (test/refusals.test.js says what each field means).
module.exports = {
  rows: {
    engineSdk_onAppInit: { message: 'Expected arguments : live client, sdk version', failure: undefined },
    engineSdk_loadCache: { message: 'Expected arguments : key, value', failure: undefined },
    engineSdk_setUserConfig: { message: 'Expected arguments : engineParams', failure: undefined },
    engineSdk_onNetworkTypeChanged: { message: 'Expected arguments : network type', failure: undefined },
    engineSdk_createLocalEngine: { message: 'Expected arguments : callback, userId', failure: -1 },
    engineSdk_destroyLocalEngine: { message: null, absent: -1 },
    engineSdk_createLivePlayEngine: { message: 'Expected arguments : callbacks', failure: -1 },
    engineSdk_connectLivePlayEngine: { message: 'Expected arguments : ticket', failure: -1, absentThrows: 'Live play engine is not created yet' },
    engineSdk_connectLivePlayEngineAndConfigDevice: { message: 'Expected arguments: config, audioParamPath, deviceCachedInfo', failure: -1, absentThrows: 'Live play engine is not created yet' },
    engineSdk_leaveLiveRoom: { message: null, absent: -1 },
    engineSdk_createReplayEngine: { message: 'Expected arguments : callback', failure: -1 },
    engineSdk_destroyReplayEngine: { message: null, absent: -1 },
    engineSdk_getPlatform: { message: null },
    engineSdk_isTestEnvironment: { message: null },
    engineSdk_createStreamingEngine: { message: 'Expected arguments : config, callback, engine_params', failure: -1 },
    engineSdk_destroyStreamingEngine: { message: null, absent: -1 },
    engineSdk_initDumpManager: { message: 'Expected arguments : engineParams', failure: undefined },
    engineSdk_initThreadMonitor: { message: 'Expected 0 arguments ', failure: undefined },
    engineSdk_updateSourceFlag: { message: 'Expected arguments : engineParams', failure: undefined },
    engineSdk_setOutRoomParameters: { message: 'Expected arguments : engineParams', failure: undefined },
    engineSdk_createLiveReplayEngine: { message: 'CreateLiveReplayEngine: invalid arguments', failure: -1 },
    engineSdk_destroyLiveReplayEngine: { message: null, absent: 0 },
    engineSdk_openReplayMedia: { message: null, absentThrows: 'Live replay engine is not created yet.' },
    engineSdk_updateEngineParams: { message: 'Expected arguments : engineParamsType, engineParams', failure: undefined },
    engineSdk_getSourceFlag: { message: null },
    engineSdk_setEngineGlobalCacheFolder: { message: 'Expected arguments : cache folder', failure: -1 },
    engineSdk_currentEngineType: { message: null, absent: -1 },
  },
};
