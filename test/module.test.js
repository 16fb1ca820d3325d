'use strict';
const test = require('node:test');
const assert = require('node:assert/strict');
const addon = require('..');
const sim = require('../sim');

// Every export of the module in registration order, group by group. A new
// group adds its rows at its place in the order.
const EXPORT_GROUPS = [
  {
    group: 'engineSdk',
    names: [
      'engineSdk_onAppInit',
      'engineSdk_loadCache',
      'engineSdk_setUserConfig',
      'engineSdk_onNetworkTypeChanged',
      'engineSdk_createLocalEngine',
      'engineSdk_destroyLocalEngine',
      'engineSdk_createLivePlayEngine',
      'engineSdk_connectLivePlayEngine',
      'engineSdk_connectLivePlayEngineAndConfigDevice',
      'engineSdk_leaveLiveRoom',
      'engineSdk_createReplayEngine',
      'engineSdk_destroyReplayEngine',
      'engineSdk_getPlatform',
      'engineSdk_isTestEnvironment',
      'engineSdk_createStreamingEngine',
      'engineSdk_destroyStreamingEngine',
      'engineSdk_initDumpManager',
      'engineSdk_initThreadMonitor',
      'engineSdk_updateSourceFlag',
      'engineSdk_setOutRoomParameters',
      'engineSdk_createLiveReplayEngine',
      'engineSdk_destroyLiveReplayEngine',
      'engineSdk_openReplayMedia',
      'engineSdk_updateEngineParams',
      'engineSdk_getSourceFlag',
      'engineSdk_setEngineGlobalCacheFolder',
      'engineSdk_currentEngineType',
    ],
  },
  {
    group: 'livePlayEngine',
    names: [
      'livePlayEngine_audioStartSend',
      'livePlayEngine_audioStartSendToGroup',
      'livePlayEngine_audioStopSend',
      'livePlayEngine_audioStartReceive',
      'livePlayEngine_audioStopReceive',
      'livePlayEngine_videoStartReceive',
      'livePlayEngine_videoStopReceive',
      'livePlayEngine_videoStartCapture',
      'livePlayEngine_videoStartCaptureWithAISticker',
      'livePlayEngine_videoStartCaptureAndSendToGroup',
      'livePlayEngine_videoStartCaptureHD',
      'livePlayEngine_videoStopCapture',
      'livePlayEngine_videoStopCaptureHD',
      'livePlayEngine_setCaptureRotation',
      'livePlayEngine_registerCameraDataCallback',
      'livePlayEngine_unregisterCameraDataCallback',
      'livePlayEngine_audioStartRecording',
      'livePlayEngine_audioStopRecording',
      'livePlayEngine_audioStartRecordAndSend',
      'livePlayEngine_audioStopRecordAndSend',
      'livePlayEngine_audioStartRepeatRecording',
      'livePlayEngine_audioStopRepeatRecording',
      'livePlayEngine_setMicrophoneSendMute',
      'livePlayEngine_getMicrophoneSendMute',
      'livePlayEngine_registerLocalVadCallback',
      'livePlayEngine_unregisterLocalVadCallback',
      'livePlayEngine_getLocalVadStatus',
      'livePlayEngine_registerRemoteVadCallback',
      'livePlayEngine_registerRemoteVadCallbackBiz',
      'livePlayEngine_unregisterRemoteVadCallback',
      'livePlayEngine_unregisterRemoteVadCallbackBiz',
      'livePlayEngine_getRemoteVadStatus',
      'livePlayEngine_getRemoteVadStatusBiz',
      'livePlayEngine_setRxVoiceAdjustParameters',
      'livePlayEngine_setRxVoiceAdjustParametersBiz',
      'livePlayEngine_startCameraAndPublish',
      'livePlayEngine_stopCameraAndUnpublish',
      'livePlayEngine_subscribeVideo',
      'livePlayEngine_unsubscribeVideo',
      'livePlayEngine_startMicAndPublish',
      'livePlayEngine_stopMicAndUnpublish',
      'livePlayEngine_subscribeAudio',
      'livePlayEngine_unsubscribeAudio',
      'livePlayEngine_startGroupAudio',
      'livePlayEngine_publishGroupAudio',
      'livePlayEngine_unpblishGroupAudio',
      'livePlayEngine_stopGroupAudio',
    ],
  },
  {
    group: 'log',
    names: [
      'log_start',
      'log_logMessage',
      'log_addEpisodeId',
      'log_removeEpisodeId',
      'log_setSdkVersion',
    ],
  },
  {
    group: 'engineTest',
    names: [
      'engineTest_executeOpenglTest',
    ],
  },
];
const EXPORTS = EXPORT_GROUPS.flatMap((g) => g.names);

test('module object', async (t) => {
  await t.test('carries exactly the built exports, in registration order', () => {
    assert.deepEqual(Object.keys(addon), EXPORTS);
  });

  await t.test('every export is a function', () => {
    for (const name of EXPORTS) assert.equal(typeof addon[name], 'function', name);
  });

  await t.test('loading calls nothing in the engine', () => {
    assert.deepEqual(sim.journal(), []);
  });
});

test('engineTest_executeOpenglTest', async (t) => {
  t.beforeEach(() => sim.reset());

  await t.test("returns the engine's integer whatever it is given", () => {
    sim.script('tavel.EngineTest.ExecuteOpenglTest', 7);
    assert.equal(addon.engineTest_executeOpenglTest(), 7);
    sim.script('tavel.EngineTest.ExecuteOpenglTest', -3);
    assert.equal(addon.engineTest_executeOpenglTest('ignored', 42, { a: 1 }, () => {}), -3);
    assert.deepEqual(
      sim.journal().map((e) => e.op),
      ['tavel.EngineTest.ExecuteOpenglTest', 'tavel.EngineTest.ExecuteOpenglTest'],
    );
    assert.deepEqual(sim.journal()[1].args, []);
  });

  await t.test('returns 0 when the engine reports success', () => {
    assert.equal(addon.engineTest_executeOpenglTest(undefined), 0);
  });
});
