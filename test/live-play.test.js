'use strict';
const test = require('node:test');
const assert = require('node:assert');
const { addon, sim, fresh, ops, startClass } = require('./live-helpers');

// Export → the message a call without arguments throws (null: admitted).
const LIVE_PLAY = {
  audioStartSend: 'Expected 1 parameter: info',
  audioStartSendToGroup: 'Expected 2 parameter: info, userlist',
  audioStopSend: 'Expected 1st parameter to be info',
  audioStartReceive: 'Expected 2 arguments: info ,bool.',
  audioStopReceive: 'Expected arg index 0 to be info.',
  videoStartReceive: 'Expected 2 arguments: info, callback.',
  videoStopReceive: 'Expected 1st parameter to be info',
  videoStartCapture: 'Expected 2 arguments: info, callback',
  videoStartCaptureWithAISticker: 'Expected 2 arguments: info, callback',
  videoStartCaptureAndSendToGroup: 'Expected 3 arguments: info, callback, userlist',
  videoStartCaptureHD: 'Expected 2 arguments: info, callback',
  videoStopCapture: 'Expected 1 arguments: info',
  videoStopCaptureHD: 'Expected 1 arguments: info',
  setCaptureRotation: 'Expected 1 arguments: rotate',
  registerCameraDataCallback: 'Expected at least 1 arguments: callback',
  unregisterCameraDataCallback: null,
  audioStartRecording: 'Expected 3 arguments: info, callback, groupUsers',
  audioStopRecording: 'Expected 1 arguments: info',
  audioStartRecordAndSend: null,
  audioStopRecordAndSend: 'Expected 1 arguments, recodingInfo',
  audioStartRepeatRecording: 'Expected 2 arguments: AudioTrackInfo, callback',
  audioStopRepeatRecording: 'Expected 2 arguments: AudioTrackInfo, callback',
  setMicrophoneSendMute: 'Expected 1 arguments: mute',
  getMicrophoneSendMute: null,
  registerLocalVadCallback: 'Expected 1 arguments: callabck',
  unregisterLocalVadCallback: null,
  getLocalVadStatus: null,
  registerRemoteVadCallback: 'Expected 1 arguments: ssrc, callabck',
  registerRemoteVadCallbackBiz: 'Expected 1 arguments: bizinfo, callabck',
  unregisterRemoteVadCallback: 'Expected 1 arguments: ssrc',
  unregisterRemoteVadCallbackBiz: 'Expected 1 arguments: biz_info',
  getRemoteVadStatus: 'Expected 1 arguments: ssrc',
  getRemoteVadStatusBiz: 'Expected 1 arguments: bizinfo',
  setRxVoiceAdjustParameters: 'Expected 2 arguments: userId, position(number)',
  setRxVoiceAdjustParametersBiz: 'Expected 2 arguments: BizInfo, position(number)',
  startCameraAndPublish: 'Expected 2 arguments: info, callback',
  stopCameraAndUnpublish: 'Expected 1 arguments: info',
  subscribeVideo: 'Expected 2 arguments: info, callback.',
  unsubscribeVideo: 'Expected 1st parameter to be info',
  startMicAndPublish: 'Expected 3 arguments',
  stopMicAndUnpublish: 'Expected 2 parameters: BizInfo, RecordingMicrophoneInfo',
  subscribeAudio: 'Expected 2 arguments: info ,bool.',
  unsubscribeAudio: 'Expected arg index 0 to be info.',
  startGroupAudio: 'Expected 3 args: bizinfo, array of int64_t, bool.',
  publishGroupAudio: null,
  unpblishGroupAudio: null,
  stopGroupAudio: 'Expected arg index 0 to be bizinfo.',
  setStudentListInClass: 'Expected 1st parameter to be student list',
  sendUserData: 'Expected 1st parameter to be data',
  sendRadioData: 'Expected 1 parameter: data',
  switchGroupServer: null,
  syncClock: null,
  startCommunication: 'Expected 2 arguments: communicationId, groupUsers',
  stopCommunication: 'Expected 1 arguments: communicationId',
  startSupervising: 'Expected 2 arguments: info, view',
  stopSupervising: 'Expected 1 arguments: info.',
  startHandActionCheck: 'Expected 2 arguments: config, callback',
  stopHandActionCheck: null,
  startCollectLiveData: 'Expected 3 arguments：value, value, callback',
  stopCollectLiveData: null,
  getCommandNetworkCondition: 'Expected 1 arguments: net condition',
  getMediaNetworkCondition: 'Expected 1st parameter to be net condition',
  getMediaNetworkConditionByUser: 'Expected 2 arguments',
  getSenderMediaNetworkCondition: 'Expected 1st parameter to be net condition',
  getPingNetworkCondition: 'Expected 1 arguments',
  setAIStickerPath: null,
  setAIStickerEnable: null,
  isAIStickerAvailable: null,
  startScreenShare: 'Expected 2 arguments: info, callback',
  stopScreenShare: null,
  enableStaticFrameDetector: 'Expected arg index 0 to be bizinfo.',
  updateFaceInfo: 'Expected arg be array.',
  getFaceDetectResult: null,
  startCameraVideoRecord: 'Expected 1 argument: config',
  stopCameraVideoRecord: 'Expected 1 argument: config',
};

const { describeExports, admittedArgs } = require('./exports');
const ROWS = Object.fromEntries(describeExports(addon).map((d) => [d.name, d]));
// Arguments that every export of the table admits.
const validArgs = (name) => admittedArgs(ROWS[`livePlayEngine_${name}`]);

test('the live play group has its 75 exports', () => {
  const names = Object.keys(addon).filter((k) => k.startsWith('livePlayEngine_'));
  assert.deepStrictEqual(names.sort(), Object.keys(LIVE_PLAY).map((n) => `livePlayEngine_${n}`).sort());
});

test.describe('without an engine', () => {
  test.beforeEach(fresh);

  test('refused calls throw the export\'s message and reach nothing', () => {
    for (const [name, message] of Object.entries(LIVE_PLAY)) {
      if (message === null) continue;
      assert.throws(() => addon[`livePlayEngine_${name}`](), { message }, name);
    }
    // Wrong types with the right count are refused too.
    assert.throws(() => addon.livePlayEngine_setMicrophoneSendMute(1), { message: 'Expected 1 arguments: mute' });
    assert.throws(() => addon.livePlayEngine_startGroupAudio({}, {}, true), { message: 'Expected 3 args: bizinfo, array of int64_t, bool.' });
    assert.throws(() => addon.livePlayEngine_getMicrophoneSendMute(1), { message: 'Expected 0 arguments' });
    assert.deepStrictEqual(sim.journal(), []);
  });

  test('every admitted call answers -1, raises nothing and logs the missing engine', () => {
    sim.clearLogLines();
    for (const name of Object.keys(LIVE_PLAY)) {
      // getFaceDetectResult answers an object, or null instead of -1.
      assert.strictEqual(addon[`livePlayEngine_${name}`](...validArgs(name)), name === 'getFaceDetectResult' ? null : -1, name);
    }
    const lines = sim.logLines().filter((l) => l.text === 'Live play engine is not created yet.');
    assert.strictEqual(lines.length, Object.keys(LIVE_PLAY).length);
    assert.ok(lines.every((l) => l.severity === 12 && l.tag === 'EngineAddon' && l.file === 'src/addon/live_play_engine_addon'));
    assert.deepStrictEqual(ops('tavel.LivePlayEngine'), []);
  });
});

test.describe('stream identities reach the engine coerced', () => {
  test.beforeEach(() => {
    fresh();
    startClass();
    sim.clearJournal();
  });
  const last = (op) => ops(`tavel.LivePlayEngine.${op}`).at(-1).args;

  test('AudioTrackInfo: digits, widths and collect', () => {
    addon.livePlayEngine_audioStartSend({ type: 2, userId: '42', ssrc: 2 ** 32, groupId: 2 ** 32 + 3, collect: 'yes' });
    assert.deepStrictEqual(last('AudioStartSend')[0], { type: 2, group_id: 3, user_id: 42, ssrc: 2 ** 32, reserved: 0, collect: true });
    addon.livePlayEngine_audioStopSend({ collect: null });
    assert.strictEqual(last('AudioStopSend')[0].collect, false);
    addon.livePlayEngine_audioStopSend({ collect: undefined, userId: 'abc' });
    assert.deepStrictEqual(last('AudioStopSend')[0], { type: 0, group_id: 0, user_id: 0, ssrc: 0, reserved: 0, collect: false });
  });

  test('VideoTrackInfo and BizInfo', () => {
    addon.livePlayEngine_videoStopReceive({ type: 1, userId: 2 ** 32, ssrc: 5, ssrcFec: '6', ssrcNack: 2 ** 33, groupId: -1, collect: 0 });
    assert.deepStrictEqual(last('VideoStopReceive')[0], { type: 1, group_id: -1, user_id: 0, ssrc: 5, ssrc_fec: 6, ssrc_nack: 2 ** 33, collect: false });
    addon.livePlayEngine_unsubscribeAudio({ bizType: '3', userId: 2 ** 31, groupId: 1.9, collect: {} });
    assert.deepStrictEqual(last('UnsubscribeAudio')[0], { biz_type: 3, user_id: -(2 ** 31), group_id: 1, collect: true });
    // A function is an object for the admission test.
    const fn = Object.assign(() => {}, { userId: 9 });
    addon.livePlayEngine_unsubscribeAudio(fn);
    assert.strictEqual(last('UnsubscribeAudio')[0].user_id, 9);
  });

  test('user lists keep 64-bit values in order', () => {
    addon.livePlayEngine_audioStartSendToGroup({}, [2 ** 31, '7', -1, 2 ** 40]);
    assert.deepStrictEqual(last('AudioStartSendToGroup')[1], [2 ** 31, 7, -1, 2 ** 40]);
    addon.livePlayEngine_startGroupAudio({}, [], false);
    assert.deepStrictEqual(last('StartGroupAudio').slice(1), [[], false]);
  });

  test('a getter that throws leaves the error raised; the engine still gets zeros', () => {
    const info = { get userId() { throw new Error('boom'); }, type: 4 };
    assert.throws(() => addon.livePlayEngine_audioStopSend(info), { message: 'boom' });
    assert.deepStrictEqual(last('AudioStopSend')[0].user_id, 0);
  });
});

test.describe('with an engine', () => {
  test.beforeEach(() => {
    fresh();
    startClass();
    addon.engineSdk_connectLivePlayEngine({ room_id: 1 });
    sim.clearJournal();
  });

  test('engine results pass through unchanged', () => {
    sim.script('tavel.LivePlayEngine.AudioStartSend', 17);
    assert.strictEqual(addon.livePlayEngine_audioStartSend({}), 17);
    sim.script('tavel.LivePlayEngine.GetLocalVadStatus', 3);
    assert.strictEqual(addon.livePlayEngine_getLocalVadStatus(), 3);
  });

  test('getMicrophoneSendMute answers an object', () => {
    sim.script('tavel.LivePlayEngine.GetMicrophoneSendMute.mute', true);
    const r = addon.livePlayEngine_getMicrophoneSendMute();
    assert.strictEqual(r.errorCode, 0);
    assert.strictEqual(typeof r.mute, 'boolean');
  });

  test('a capture whose send fails is stopped again and answers -1', () => {
    sim.script('tavel.LivePlayEngine.VideoStartSend', -3);
    assert.strictEqual(addon.livePlayEngine_videoStartCapture({ type: 1 }, { onVideoFrame() {} }), -1);
    assert.strictEqual(ops('tavel.LivePlayEngine.VideoStopCapture').length, 1);
    assert.ok(sim.logLines().some((l) => l.text === 'VideoStartCapture failed: VideoStartSend failed' && l.tag === 'LivePlayEngineImpl'));
    sim.script('tavel.LivePlayEngine.VideoStartSend', 0);
    assert.strictEqual(addon.livePlayEngine_videoStartCaptureHD({ type: 2 }, {}), 0);
    sim.script('tavel.LivePlayEngine.VideoStartCaptureWithAISticker', 1);
    assert.strictEqual(addon.livePlayEngine_videoStartCaptureWithAISticker({ type: 3 }, {}), -1);
    assert.strictEqual(ops('tavel.LivePlayEngine.VideoStartSend').length, 2, 'no send after a failed capture');
  });

  test('one recording at a time; the first continues', () => {
    assert.strictEqual(addon.livePlayEngine_audioStartRecording({}, {}, []), 0);
    assert.strictEqual(addon.livePlayEngine_audioStartRecording({}, {}, []), -1);
    assert.strictEqual(addon.livePlayEngine_audioStartRepeatRecording({}, {}), -1);
    assert.strictEqual(addon.livePlayEngine_startMicAndPublish({}, true, {}), -1);
    assert.strictEqual(ops('tavel.LivePlayEngine.AudioStartRecording').length, 1);
    assert.strictEqual(ops('tavel.LivePlayEngine.AudioStopRecording').length, 0);
    assert.strictEqual(addon.livePlayEngine_audioStopRecording({}), 0);
    assert.strictEqual(addon.livePlayEngine_audioStopRecording({}), -1);
    assert.strictEqual(addon.livePlayEngine_startMicAndPublish({}, true, {}), 0);
  });

  test('recording statistics are written only on success', () => {
    sim.setRecordingInfo({ encodedRecordedMs: 1500, pcmRecordedSampleMax: 900, interruptionAfterStart: true, hint: 4 });
    const info = {};
    assert.strictEqual(addon.livePlayEngine_audioStopRecordAndSend(info), 0);
    assert.strictEqual(info.encodedRecordedMs, 1500);
    assert.strictEqual(info.pcmRecordedSampleMax, 900);
    assert.strictEqual(info.interruptionAfterStart, true);
    assert.strictEqual(info.hint, 4);
    assert.strictEqual(typeof info.startDuringInterruption, 'boolean');

    sim.script('tavel.LivePlayEngine.AudioStopRecordAndSend', 6);
    const untouched = {};
    assert.strictEqual(addon.livePlayEngine_audioStopRecordAndSend(untouched), 6);
    assert.deepStrictEqual(untouched, {});
    assert.ok(sim.logLines().some((l) => l.text === 'AudioStopRecordAndSend failed: live_->AudioStopRecordAndSend returned 6' && l.severity === 10));
  });

  test('the camera data callback is registered once; its option only with exactly two arguments', () => {
    assert.strictEqual(addon.livePlayEngine_registerCameraDataCallback({}, 5, 'extra'), 0);
    assert.deepStrictEqual(ops('tavel.LivePlayEngine.RegisterCameraDataCallback').at(-1).args.at(-1), 0);
    assert.strictEqual(addon.livePlayEngine_registerCameraDataCallback({}, 5), -1);
    assert.strictEqual(addon.livePlayEngine_unregisterCameraDataCallback(), 0);
    assert.strictEqual(addon.livePlayEngine_unregisterCameraDataCallback(), -1);
    assert.strictEqual(addon.livePlayEngine_registerCameraDataCallback({}, 5), 0);
    assert.deepStrictEqual(ops('tavel.LivePlayEngine.RegisterCameraDataCallback').at(-1).args.at(-1), 5);
  });

  test('remote voice activity callbacks are kept per ssrc and removed with their code logged', () => {
    assert.strictEqual(addon.livePlayEngine_registerRemoteVadCallback(11.7, {}), 0);
    sim.script('tavel.LivePlayEngine.UnregisterRemoteVadCallback', 2);
    assert.strictEqual(addon.livePlayEngine_unregisterRemoteVadCallback(11), 2);
    assert.ok(sim.logLines().some((l) => l.text === 'UnregisterRemoteVadCallback failed: live_->UnregisterRemoteVadCallback returned 2'));
  });

  test('after leaving, every call answers -1 again', () => {
    assert.strictEqual(addon.engineSdk_leaveLiveRoom(), 0);
    assert.strictEqual(addon.livePlayEngine_publishGroupAudio(), -1);
    assert.strictEqual(addon.livePlayEngine_getMicrophoneSendMute(), -1);
  });
});
