'use strict';
// The live class beyond media: command channel data, network conditions,
// faces, screen share, the static frame detector, hand actions, collected
// data, supervision and camera recording, through the stand-in's journal and
// the events JavaScript receives.
const test = require('node:test');
const assert = require('node:assert');
const { addon, sim, fresh, ops, startClass, settle, waitFor } = require('./live-helpers');

const last = (op) => ops(op).at(-1).args;
const connect = () => assert.strictEqual(addon.engineSdk_connectLivePlayEngine({ room_id: 5, user_id: 6 }), 0);

test.describe('command channel', () => {
  test.beforeEach(fresh);

  test('without a command client: -1 from every command export, nothing reaches the engine', () => {
    startClass();
    sim.clearJournal();
    const data = new Uint8Array([1, 2, 3]);
    assert.strictEqual(addon.livePlayEngine_sendUserData(data), -1);
    assert.strictEqual(addon.livePlayEngine_sendRadioData(data), -1);
    assert.strictEqual(addon.livePlayEngine_syncClock(), -1);
    const condition = {};
    assert.strictEqual(addon.livePlayEngine_getCommandNetworkCondition(condition), -1);
    assert.deepStrictEqual(condition, {});
    assert.deepStrictEqual(ops('lumen.CommandClient'), []);
    const texts = sim.logLines().map((l) => l.text);
    for (const t of ['SendRadioData failed: command_ is null', 'SyncClock failed: command_ is null',
      'GetCommandNetworkCondition failed: command_ is null']) assert.ok(texts.includes(t), t);
  });

  test('user data answers the client\'s raw 1 or 0; radio data and clock sync 0 or -1', () => {
    startClass();
    connect();
    const whole = Buffer.from([9, 9, 1, 2, 3, 9]);
    const view = new Uint8Array(whole.buffer, whole.byteOffset + 2, 3);
    assert.strictEqual(addon.livePlayEngine_sendUserData(view), 1);
    assert.deepStrictEqual(last('lumen.CommandClient.SendUserData'), [[1, 2, 3], 3]);
    sim.script('lumen.CommandClient.SendUserData', 0);
    assert.strictEqual(addon.livePlayEngine_sendUserData(view), 0);

    const words = new Uint16Array([0x0201, 0x0403, 0x0605]).subarray(1, 2);
    assert.strictEqual(addon.livePlayEngine_sendRadioData(words), 0);
    assert.deepStrictEqual(last('lumen.CommandClient.SendRadioData'), [[3, 4], 2]);
    sim.script('lumen.CommandClient.SendRadioData', 0);
    assert.strictEqual(addon.livePlayEngine_sendRadioData(words), -1);
    sim.script('lumen.CommandClient.SendRadioData', 7);
    assert.strictEqual(addon.livePlayEngine_sendRadioData(words), 0);

    sim.script('lumen.CommandClient.SyncClock', 5);
    assert.strictEqual(addon.livePlayEngine_syncClock(), 0);
    assert.strictEqual(ops('lumen.CommandClient.SyncClock').length, 1);

    const condition = { extra: 1 };
    assert.strictEqual(addon.livePlayEngine_getCommandNetworkCondition(condition), 0);
    assert.deepStrictEqual(condition, { extra: 1, isConnected: true, rtt: 36 });
  });
});

test.describe('network conditions, faces, stickers', () => {
  test.beforeEach(() => {
    fresh();
    startClass();
    sim.clearJournal();
  });

  test('media conditions preset connected and not stuck, and write their keys whatever the engine answers', () => {
    const media = {};
    sim.script('tavel.LivePlayEngine.GetMediaNetworkCondition', -4);
    assert.strictEqual(addon.livePlayEngine_getMediaNetworkCondition(media), -4);
    assert.deepStrictEqual(Object.keys(media), ['isConnected', 'isStuck', 'rtt', 'jitter', 'lossRate']);
    assert.deepStrictEqual(media, { isConnected: true, isStuck: false, rtt: 48, jitter: 7, lossRate: 0.25 });

    sim.script('tavel.LivePlayEngine.GetSenderMediaNetworkCondition.isConnected', false);
    sim.script('tavel.LivePlayEngine.GetSenderMediaNetworkCondition.isStuck', true);
    sim.script('tavel.LivePlayEngine.GetSenderMediaNetworkCondition.rtt', 300);
    const sender = {};
    assert.strictEqual(addon.livePlayEngine_getSenderMediaNetworkCondition(sender), 0);
    assert.deepStrictEqual(sender, { isConnected: false, isStuck: true, rtt: 300, jitter: 7, lossRate: 0.25 });

    const ping = {};
    assert.strictEqual(addon.livePlayEngine_getPingNetworkCondition(ping), 0);
    assert.deepStrictEqual(ping, { rtt: 31, lossRate: 0.125 });
  });

  test('by user: lossRateE2E only when the object already has it', () => {
    const without = {};
    assert.strictEqual(addon.livePlayEngine_getMediaNetworkConditionByUser(2 ** 33 + 1, without), 0);
    assert.ok(!('lossRateE2E' in without));
    assert.strictEqual(without.isConnected, true);
    assert.deepStrictEqual(last('tavel.LivePlayEngine.GetMediaNetworkConditionByUser')[0], 2 ** 33 + 1);
    const withKey = { lossRateE2E: undefined };
    addon.livePlayEngine_getMediaNetworkConditionByUser(1, withKey);
    assert.strictEqual(withKey.lossRateE2E, 0.5);
  });

  test('face records keep the key order and types; the result is an object, or null without an engine', () => {
    const face = { faceId: 2 ** 32 + 5, action: -1, leftEyePosX: 1.5, leftEyePosY: '2', rightEyePosX: 3, rightEyePosY: 4,
      mouthPosX: 5, mouthPosY: 6, eyesPosX: 7, eyesPosY: 8, nosePosX: 9, nosePosY: 10, eyeDistance: 11, yaw: 12, pitch: 13, roll: 14.25 };
    assert.strictEqual(addon.livePlayEngine_updateFaceInfo([face, {}]), 0);
    const [faces] = last('tavel.LivePlayEngine.UpdateFaceInfo');
    assert.strictEqual(faces.length, 2);
    assert.deepStrictEqual(Object.values(faces[0]), [5, 4294967295, 1.5, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14.25]);
    assert.strictEqual(faces[0].action, 4294967295);
    // Missing keys coerce: 0 for the integers, NaN (null in the journal) for the doubles.
    assert.deepStrictEqual(Object.values(faces[1]), [0, 0, ...Array(14).fill(null)]);

    sim.script('tavel.LivePlayEngine.GetFaceDetectResult.id', 99);
    const result = addon.livePlayEngine_getFaceDetectResult();
    assert.deepStrictEqual(Object.keys(result), ['faceLeft', 'faceTop', 'faceRight', 'faceBottom', 'score', 'yaw', 'pitch',
      'roll', 'eyeDistance', 'id', 'action', 'picWidth', 'picHeight']);
    assert.strictEqual(result.id, 99);
    assert.strictEqual(result.score, 0.875);
    addon.engineSdk_leaveLiveRoom();
    assert.strictEqual(addon.livePlayEngine_getFaceDetectResult(), null);
  });

  test('AI stickers: path and enable reach the engine; availability is the beauty manager\'s', () => {
    assert.strictEqual(addon.livePlayEngine_setAIStickerPath('/stickers'), 0);
    assert.deepStrictEqual(last('tavel.LivePlayEngine.SetAIStickerPath'), ['/stickers']);
    sim.script('tavel.LivePlayEngine.SetAIStickerEnable', 3);
    assert.strictEqual(addon.livePlayEngine_setAIStickerEnable(true), 3);
    addon.beautyEngine_applyBeautyManagerConfig({ aistickerEnable: false });
    assert.strictEqual(addon.livePlayEngine_isAIStickerAvailable(), -1);
    addon.beautyEngine_applyBeautyManagerConfig({ aistickerEnable: true });
    assert.strictEqual(addon.livePlayEngine_isAIStickerAvailable(), 0);
    addon.beautyEngine_applyBeautyManagerConfig({});
  });

  test('communication and the student list: ids widened, the flag read only when given', () => {
    addon.livePlayEngine_setStudentListInClass([2 ** 31 + 1, '7']);
    assert.deepStrictEqual(last('tavel.LivePlayEngine.SetStudentListInClass'), [[-(2 ** 31) + 1, 7]]);
    assert.strictEqual(addon.livePlayEngine_startCommunication(2 ** 40, [2 ** 35]), 0);
    assert.deepStrictEqual(last('tavel.LivePlayEngine.StartCommunication'), [2 ** 40, [2 ** 35], false]);
    addon.livePlayEngine_startCommunication(1, [], 'yes');
    assert.strictEqual(last('tavel.LivePlayEngine.StartCommunication')[2], true);
    sim.script('tavel.LivePlayEngine.StopCommunication', -9);
    assert.strictEqual(addon.livePlayEngine_stopCommunication(2 ** 40), -9);
  });
});

test.describe('screen share, detector, camera recording', () => {
  test.beforeEach(() => {
    fresh();
    sim.clearLogLines();
  });

  test('screenId overrides windowId; capture type 0 selects API type 3 unless one is given', () => {
    startClass();
    const info = { type: 4, userId: 768 };
    addon.livePlayEngine_startScreenShare(info, { windowId: 11, screenId: 2 ** 40, excludeWindList: [5, 6] });
    let [biz, config] = last('tavel.LivePlayEngine.StartScreenShare');
    assert.deepStrictEqual(biz, { biz_type: 4, user_id: 768, group_id: 0, collect: false });
    assert.deepStrictEqual(config, { capture_type: 0, capture_api_type: 0, source_id: 2 ** 40, exclude_window_list: [5, 6], callback: null });
    addon.livePlayEngine_startScreenShare(info, { captureType: 0, windowId: 11 });
    [, config] = last('tavel.LivePlayEngine.StartScreenShare');
    assert.strictEqual(config.capture_api_type, 3);
    assert.strictEqual(config.source_id, 11);
    addon.livePlayEngine_startScreenShare(info, { captureType: 0, captureApiType: 1 });
    assert.strictEqual(last('tavel.LivePlayEngine.StartScreenShare')[1].capture_api_type, 1);
    addon.livePlayEngine_startScreenShare(info, { captureType: 2 });
    assert.strictEqual(last('tavel.LivePlayEngine.StartScreenShare')[1].capture_api_type, 0);
    const texts = sim.logLines().map((l) => l.text);
    assert.ok(texts.includes('LivePlayEngine_StartScreenShare() start, VideoTrackInfo: VideoTrackInfo={type:4,group_id:0,user_id:768,ssrc:0,ssrc_fec:0,ssrc_nack:0,collect:0}'));
    assert.ok(texts.includes('LivePlayEngine_StartScreenShare() call end,  StartScreenShare() function ret 0'));
  });

  test('a track that gives no business identity shares nothing', () => {
    startClass();
    sim.script('tavel.BizTypeWrapper.ToBizInfo', false);
    assert.strictEqual(addon.livePlayEngine_startScreenShare({ type: 4 }, {}), -1);
    assert.deepStrictEqual(ops('tavel.LivePlayEngine.StartScreenShare'), []);
  });

  test('screen share events reach the config\'s callback until the share stops', async () => {
    startClass();
    const events = [];
    addon.livePlayEngine_startScreenShare({ type: 4 }, { callback: { onScreenShareStateChanged: (...a) => events.push(a) } });
    assert.ok(sim.fire('ScreenShareCallback.OnScreenShareStateChanged', [1, 0]));
    await waitFor(() => events.length === 1);
    assert.deepStrictEqual(events, [[1, 0]]);
    sim.clearLogLines();
    assert.strictEqual(addon.livePlayEngine_stopScreenShare(), 0);
    assert.deepStrictEqual(sim.logLines().map((l) => l.text), ['LivePlayEngine_StopScreenShare() start ',
      'LivePlayEngineImpl::StopScreenShare() start', 'LivePlayEngineImpl::StopScreenShare() end', 'LivePlayEngine_StopScreenShare() end ']);
    assert.ok(!sim.fire('ScreenShareCallback.OnScreenShareStateChanged', [2, 0]));
  });

  test('static frame detector: keys read only when present, its own defaults, status to onDetectStatusCallback', async () => {
    startClass();
    const seen = [];
    const config = { callback: { onDetectStatusCallback: (...a) => seen.push(a) } };
    assert.strictEqual(addon.livePlayEngine_enableStaticFrameDetector(config), 0);
    assert.deepStrictEqual(last('tavel.LivePlayEngine.EnableStaticFrameDetector')[0],
      { enable_detect: false, always_detect: false, valid_detect_cnt: 30, accuracy: 100, detect_interval_ms: 3000, callback: false });
    addon.livePlayEngine_enableStaticFrameDetector({ enableDetect: 1, validDetectCnt: '12', accuracy: undefined });
    assert.deepStrictEqual(last('tavel.LivePlayEngine.EnableStaticFrameDetector')[0],
      { enable_detect: true, always_detect: false, valid_detect_cnt: 12, accuracy: 0, detect_interval_ms: 3000, callback: false });
    assert.ok(sim.logLines().some((l) => l.tag === 'StaticFrameDetector' && l.text === 'enableDetect:1, alwaysDetect:0, validDetectCnt:12, accuracy:0'));
    addon.livePlayEngine_enableStaticFrameDetector(config);
    assert.ok(sim.fire('FrameValidDetectorCallback.OnDetectStatusCallback', [true, false]));
    await waitFor(() => seen.length === 1);
    assert.deepStrictEqual(seen, [[true, false]]);
  });

  test('camera recording reports completion to onRecordCompleteCallback after the stop', async () => {
    startClass();
    const done = [];
    const config = { rootPathDir: '/rec', videoBitrateKbps: '800', onRecordCompleteCallback: { onRecordComplete: (...a) => done.push(a) } };
    assert.strictEqual(addon.livePlayEngine_startCameraVideoRecord(config), 0);
    assert.deepStrictEqual(last('tavel.LivePlayEngine.StartCameraVideoRecord')[0], { root_path_dir: '/rec', video_bitrate_kbps: 800 });
    assert.strictEqual(addon.livePlayEngine_stopCameraVideoRecord(true), 0);
    assert.deepStrictEqual(last('tavel.LivePlayEngine.StopCameraVideoRecord'), [true]);
    await waitFor(() => done.length === 1);
    assert.deepStrictEqual(done, [[0, '/rec/camera.mp4']]);
  });
});

test.describe('hand actions, collected data, supervision', () => {
  test.beforeEach(() => {
    fresh();
    startClass();
    sim.clearJournal();
  });

  test('hand actions arrive as onHandAction with the config converted', async () => {
    const actions = [];
    const config = { modelPath: '/m', resizeSize: '64', threshold: 0.5, delayFrames: 3, delayThreshold: 0.25 };
    assert.strictEqual(addon.livePlayEngine_startHandActionCheck(config, { onHandAction: (...a) => actions.push(a) }), 0);
    assert.deepStrictEqual(last('tavel.LivePlayEngine.StartHandActionCheck')[0],
      { model_path: '/m', resize_size: 64, threshold: 0.5, delay_frames: 3, delay_threshold: 0.25 });
    sim.fire('HandActionCallback.OnHandAction', [3, 0.75]);
    await waitFor(() => actions.length === 1);
    assert.deepStrictEqual(actions, [[3, 0.75]]);
    assert.strictEqual(addon.livePlayEngine_stopHandActionCheck(), 0);
    assert.ok(!sim.fire('HandActionCallback.OnHandAction', [4, 1]));
  });

  test('one collection at a time; stopping drops data not yet delivered', async () => {
    const got = [];
    const callback = { OnCollectLiveData: (b) => got.push([...b]), OnCollectError: (e) => got.push(e) };
    assert.strictEqual(addon.livePlayEngine_startCollectLiveData(1, 2, callback), 0);
    assert.deepStrictEqual(last('tavel.LivePlayEngine.StartCollectLiveData').slice(0, 2), [1, 2]);
    assert.strictEqual(addon.livePlayEngine_startCollectLiveData(1, 2, callback), -1);
    sim.fire('CollectLiveDataCallback.OnCollectLiveData', [Buffer.from([1, 2])]);
    await waitFor(() => got.length === 1);
    assert.deepStrictEqual(got, [[1, 2]]);
    for (let i = 0; i < 5; i++) sim.fire('CollectLiveDataCallback.OnCollectLiveData', [Buffer.from([i])]);
    // Queued, not yet delivered: the stop drops them.
    assert.strictEqual(addon.livePlayEngine_stopCollectLiveData(), 0);
    await settle();
    assert.deepStrictEqual(got, [[1, 2]]);
    assert.strictEqual(addon.livePlayEngine_stopCollectLiveData(), -1);
    assert.ok(sim.logLines().some((l) => l.text === 'StopCollectLiveData failed: live_ is null or collect_livedata_callback_ does not exist'));
    assert.strictEqual(addon.livePlayEngine_startCollectLiveData(1, 2, callback), 0);
  });

  test('a supervision view gets the stream\'s frames through a renderer of its own', async () => {
    const frames = [];
    const view = { onVideoFrame: (f) => frames.push([f.width, f.height, f.buffer.length]) };
    assert.strictEqual(addon.livePlayEngine_startSupervising({ type: 1, userId: 9 }, view), 0);
    assert.deepStrictEqual(sim.sinks().filter((s) => s.endsWith(':supervise')), ['sink:9:1:supervise']);
    assert.ok(sim.pushFrame('sink:9:1:supervise', 4, 2, 1));
    await waitFor(() => frames.length === 1);
    assert.deepStrictEqual(frames, [[4, 2, 32]]);
    // Not registered: a receive of the same stream makes a renderer of its own.
    const other = [];
    addon.livePlayEngine_videoStartReceive({ type: 1, userId: 9 }, { onVideoFrame: () => other.push(1) });
    sim.pushFrame('sink:9:1', 4, 2, 1);
    await waitFor(() => other.length === 1);
    assert.strictEqual(frames.length, 1);
    assert.strictEqual(addon.livePlayEngine_stopSupervising({ type: 1, userId: 9 }), 0);
    assert.ok(!sim.pushFrame('sink:9:1:supervise', 4, 2, 1));
    await settle();
    assert.strictEqual(frames.length, 1);
  });
});
