'use strict';
// The environment services: dump upload, face detection, analytics, the
// download accelerator, the network probe, the SDK's own entry points and
// the shared device settings.
const test = require('node:test');
const assert = require('node:assert/strict');
const { addon, sim, waitFor, settle, ops } = require('./live-helpers');
const { runFixture, lastJson } = require('./helpers');

const reset = () => sim.reset();
const FACE_KEYS = ['faceLeft', 'faceRight', 'faceTop', 'faceBottom', 'score', 'yaw', 'pitch', 'eyeDistance', 'id', 'action', 'picWidth', 'picHeight'];

test('dumpDataUpload_*', async (t) => {
  t.beforeEach(reset);
  await t.test('each export calls its engine function and answers 0 whatever the engine answers', () => {
    for (const op of ['RefreshUploadDataInLiveScene', 'StartUpload', 'StopUpload', 'UpdateSalvageRules']) sim.script(`korin.media_dump.${op}`, -7);
    assert.equal(addon.dumpDataUpload_refreshUploadDataInLiveScene(), 0);
    assert.equal(addon.dumpDataUpload_updateSalvageRules('{"rules":[1]}'), 0);
    assert.equal(addon.dumpDataUpload_startUpload(), 0);
    assert.equal(addon.dumpDataUpload_stopUpload(), 0);
    assert.deepEqual(ops('korin.media_dump').map((e) => [e.op, e.args]), [
      ['korin.media_dump.RefreshUploadDataInLiveScene', []],
      ['korin.media_dump.UpdateSalvageRules', ['{"rules":[1]}']],
      ['korin.media_dump.StartUpload', []],
      ['korin.media_dump.StopUpload', []],
    ]);
  });
});

test('face detection', async (t) => {
  t.beforeEach(reset);
  const face = { faceLeft: 1.5, faceRight: 2.5, faceTop: 3, faceBottom: 4, score: 0.75, yaw: -10, pitch: 5, eyeDistance: 12, id: 3, action: 2, picWidth: 640, picHeight: 480 };

  await t.test('detectFaceSync writes exactly the face keys into the caller object and answers the status', () => {
    sim.setFaceResult(face);
    const result = { kept: true };
    assert.equal(addon.detectFaceSync('/pictures/a.jpg', result), 0);
    assert.deepEqual(result, { kept: true, ...face });
    assert.deepEqual(Object.keys(result).slice(1), FACE_KEYS);
    assert.deepEqual(ops('korin.FaceDetectUtil').map((e) => e.args), [['/pictures/a.jpg']]);
    sim.script('korin.FaceDetectUtil.DetectFaceSync', 1);
    const none = {};
    assert.equal(addon.detectFaceSync('/pictures/b.jpg', none), 1);
    assert.equal(none.score, 0);
  });

  await t.test('detectFaceSyncWithBuffer answers its early codes without calling the engine', () => {
    const rgba = Buffer.alloc(4 * 4 * 4, 1);
    assert.equal(addon.detectFaceSyncWithBuffer(rgba, 4, 4, 4, {}), -4);
    assert.equal(addon.detectFaceSyncWithBuffer(rgba, 4, 4, 0, {}), -4);
    assert.equal(addon.detectFaceSyncWithBuffer(Buffer.alloc(0), 4, 4, 3, {}), -5);
    assert.equal(addon.detectFaceSyncWithBuffer(rgba, 0, 4, 3, {}), -5);
    assert.equal(addon.detectFaceSyncWithBuffer(rgba, 4, -1, 3, {}), -5);
    // One byte short of what each format needs.
    assert.equal(addon.detectFaceSyncWithBuffer(rgba.subarray(1), 4, 4, 3, {}), -5);
    assert.equal(addon.detectFaceSyncWithBuffer(Buffer.alloc(3 * 3 * 3 - 1), 3, 3, 2, {}), -5);
    assert.equal(addon.detectFaceSyncWithBuffer(Buffer.alloc(9 + 2 * 4 - 1), 3, 3, 1, {}), -5);
    assert.equal(addon.detectFaceSyncWithBuffer(Buffer.alloc(64), 2 ** 20, 2 ** 20, 3, {}), -5);
    assert.throws(() => addon.detectFaceSyncWithBuffer('pixels', 4, 4, 3, {}), { message: /^Expected arguments: buffer \(Buffer\)/ });
    assert.deepEqual(ops('korin.FaceDetectUtil'), []);
  });

  await t.test('an exact buffer, also a view into a larger one, hands the engine exactly its bytes', () => {
    sim.setFaceResult(face);
    const whole = Buffer.alloc(100, 7);
    const view = whole.subarray(10, 10 + 9 + 2 * 4); // I420 of 3x3: 9 + 2 * 2 * 2 bytes
    for (let i = 0; i < view.length; i++) view[i] = i;
    const result = {};
    assert.equal(addon.detectFaceSyncWithBuffer(view, 3, 3, 1, result), 0);
    const [call] = ops('korin.FaceDetectUtil.DetectFaceSyncWithBuffer');
    const sum = [...view].reduce((a, b) => a + b, 0);
    assert.deepEqual(call.args, [view.length, 3, 3, 1, sum]);
    assert.deepEqual(result, face);
    sim.script('korin.FaceDetectUtil.DetectFaceSyncWithBuffer', 1);
    assert.equal(addon.detectFaceSyncWithBuffer(new Uint8Array(27), 3, 3, 2, {}), 1);
  });
});

test('tallyV2_*', async (t) => {
  t.beforeEach(reset);
  const maps = {
    strValues: [{ key: 'room', value: 12 }, { key: 'role', value: 'student' }],
    numValues: [{ key: 'fps', value: '30' }],
    removeStrValues: ['old'],
    removeNumValues: ['gone', 7],
  };

  await t.test('header and common state carry the four maps and the category', () => {
    addon.tallyV2_updateHeader(maps, 2 ** 32 + 5);
    addon.tallyV2_updateCommonState({ strValues: [{ key: 'k', value: 'v' }] }, 3);
    const [header, state] = ops('tavel.tallyv2.TallyClientV2.Update');
    assert.deepEqual(header.args, [{ str: { role: 'student', room: '12' }, num: { fps: 30 }, removeStr: ['old'], removeNum: ['gone', '7'] }, 5]);
    assert.deepEqual(state.args, [{ str: { k: 'v' }, num: {}, removeStr: [], removeNum: [] }, 3]);
  });

  await t.test('category must be a number; entries are posted with it', () => {
    assert.throws(() => addon.tallyV2_postValueEntry({ url: 'x' }, '1'), { message: 'Expected arguments : entry, category' });
    addon.tallyV2_postValueEntry({ url: 'app/event/open', strValues: [{ key: 'a', value: 'b' }], numValues: [{ key: 'n', value: 2 }] }, 9);
    addon.tallyV2_postSerializedEntry({ url: 'app/raw', serializedValue: '{"x":1}' }, 4);
    const posted = sim.tally().filter((e) => e.url.startsWith('app/'));
    assert.deepEqual(posted.map((e) => [e.url, e.strValues, e.numValues, e.count]), [
      ['app/event/open', { a: 'b' }, { n: 2 }, 9],
      ['app/raw', { serialized: '{"x":1}' }, {}, 4],
    ]);
    addon.tallyV2_updateConfig({ userId: 77, serverHost: 'tally.example' });
    assert.deepEqual(ops('tavel.tallyv2.TallyClientV2.UpdateConfig')[0].args, [{ user_id: 77, server_host: 'tally.example' }]);
  });

  await t.test('the local observer hears headers and entries; a second one replaces it', async () => {
    const first = [];
    const second = [];
    addon.tallyV2_setLocalTallyCallbackForTest({ onLocalTallyUpdateHeader: (...a) => first.push(['header', ...a]), onLocalTallyPostValueEntry: (...a) => first.push(['entry', ...a]) });
    addon.tallyV2_updateHeader({ strValues: [{ key: 's', value: 'x' }], numValues: [{ key: 'n', value: 1 }] }, 1);
    addon.tallyV2_postValueEntry({ url: 'u', strValues: [{ key: 'a', value: 'b' }] }, 6);
    await waitFor(() => first.length === 2);
    assert.deepEqual(first, [
      ['header', [{ key: 's', value: 'x' }], [{ key: 'n', value: 1 }]],
      ['entry', 'u', [{ key: 'a', value: 'b' }], 6],
    ]);
    addon.tallyV2_setLocalTallyCallbackForTest({ onLocalTallyPostValueEntry: (...a) => second.push(a) });
    addon.tallyV2_postValueEntry({ url: 'v' }, 2);
    await waitFor(() => second.length === 1);
    await settle();
    assert.equal(first.length, 2);
    assert.deepEqual(second, [['v', [], 2]]);
  });

  await t.test('an observer whose delivery fails or posts entries is not fed its own entries', async () => {
    const r = await runFixture('tally-feedback.js', [], 20000);
    assert.equal(r.signal, null, `killed by ${r.signal} (a feedback loop ends in SIGKILL)\n${r.stderr}`);
    assert.deepEqual(lastJson(r.stdout), { heard: ['first'], failures: 1, echoed: true });
  });
});

test('skiff_*', async (t) => {
  t.beforeEach(reset);
  await t.test('init configures both generations from one configuration', () => {
    addon.skiff_init({ downloadPath: '/cache', appType: 3, proxyHost: 'proxy', proxyPort: 8080, parallelProjectCount: 2, parallelTaskCount: 4, parallelBlockCount: 8 });
    const calls = sim.journal().filter((e) => /^Skiff/.test(e.op));
    assert.deepEqual(calls.map((e) => e.op), ['Skiff.init', 'SkiffV2.Skiff.Init', 'SkiffV2.Skiff.UpdataConfig']);
    assert.deepEqual(calls[0].args[0], { download_path: '/cache', app_type: 3, proxy_host: 'proxy', proxy_port: 8080, parallel_project_count: 2, parallel_task_count: 4, parallel_block_count: 8 });
    assert.deepEqual(calls[2].args, [{ cache_dir: '/cache', proxy: 'proxy:8080', max_connections: 4, app_type: 3 }, false]);
    assert.throws(() => addon.skiff_init({}, 1), { message: 'Expected arguments: config' });
  });
  await t.test('download statistics reach the analytics client; network changes reach the accelerator', () => {
    addon.skiff_setDownloadStatisticCallback();
    assert.ok(sim.fire('SkiffDownloadStatisticCallback.OnDownloadStatistic', ['skiff/download', 'bytes=100\nms=20']));
    assert.deepEqual(sim.tally().filter((e) => e.url === 'skiff/download').map((e) => e.strValues), [{ bytes: '100', ms: '20' }]);
    addon.skiff_onNetworkTypeChanged();
    assert.equal(ops('SkiffV2.Skiff.onNetworkTypeChanged').length, 1);
  });
});

test('networkProber_*', async (t) => {
  t.beforeEach(reset);
  await t.test('starts, stops and writes the probe result into the caller object', () => {
    addon.networkProber_startEsProber();
    addon.networkProber_stopEsProber();
    sim.setProbeResult({ isConnected: true, rtt: 42.5, lossRate: 0.25 });
    const result = { mine: 1 };
    assert.equal(addon.networkProber_getEsProberResult(result), 0);
    assert.deepEqual(result, { mine: 1, isConnected: true, rtt: 42.5, lossRate: 0.25 });
    assert.deepEqual(ops('korin.transport_v2.NetworkProber.').map((e) => e.op.split('.').pop()).filter((o) => o !== 'GetInstance'),
      ['StartEsProber', 'StopEsProber', 'GetEsProberResult']);
  });
  await t.test('a count and a type with messages of their own', () => {
    assert.throws(() => addon.networkProber_getEsProberResult(), { message: 'Expected 1 arguments' });
    assert.throws(() => addon.networkProber_getEsProberResult({}, {}), { message: 'Expected 1 arguments' });
    let r;
    assert.throws(() => { r = addon.networkProber_getEsProberResult(5); }, { message: 'Expected 1st parameter to be result' });
    assert.equal(r, undefined);
    assert.deepEqual(ops('korin.transport_v2.NetworkProber.GetEsProberResult'), []);
  });
});

test('QXEngineSdk_*', async (t) => {
  t.beforeEach(reset);

  await t.test('Init reads the keys that are present, strictly, and answers the result code', () => {
    sim.script('korin.QXEngineSdk.Init', 3);
    assert.equal(addon.QXEngineSdk_Init({ tenantId: 5, tallyHost: 't', testEnvironment: true, userConfig: { userId: 2 ** 40, userType: 2 } }, {}), 3);
    const [init] = ops('korin.QXEngineSdk.Init');
    assert.deepEqual(init.args[0], { tenant_id: 5, product_id: 0, tally_host: 't', service_host: '', test_environment: true, user_config: { user_id: 2 ** 40, user_type: 2 }, cache_path: '' });
    assert.equal(init.args[1], 'ptr');
  });

  await t.test('a key of the wrong type throws and nothing reaches the engine', () => {
    assert.throws(() => addon.QXEngineSdk_Init({ tenantId: '5' }, {}), TypeError);
    assert.throws(() => addon.QXEngineSdk_Init({ testEnvironment: 1 }, {}), TypeError);
    assert.throws(() => addon.QXEngineSdk_UpdateUserConfig({ userId: 'me' }), TypeError);
    assert.deepEqual(ops('korin.QXEngineSdk'), []);
  });

  await t.test('the "addon_log" executor gets every engine record and never its own lines', async () => {
    const got = [];
    addon.QXEngineSdk_Init({}, {
      onLogMessage(message, fields) {
        got.push([message, fields]);
        // A line of its own while it is delivered goes to no JavaScript executor.
        addon.log_logMessage(3, 'App', `seen ${message}`);
      },
    });
    await sim.writeLogs(9, 'Engine', 'record', 3, 1);
    await waitFor(() => got.length >= 3);
    await settle();
    assert.deepEqual(got.map(([m]) => m).filter((m) => m.includes('record')), ['record #0:0', 'record #0:1', 'record #0:2']);
    assert.ok(got.every(([m]) => !m.startsWith('seen ')), 'its own lines came back');
    assert.ok(Array.isArray(got[0][1]) && got[0][1].every((f) => typeof f.key === 'string' && typeof f.value === 'string'));
    // The lines were written all the same.
    assert.equal(sim.logLines().filter((l) => l.text.startsWith('seen record')).length, 3);
  });

  await t.test('Version, UpdateUserConfig, UpdateEnvironment and UpdateCookie', () => {
    sim.script('korin.QXEngineSdk.Version', '9.9.9');
    assert.equal(addon.QXEngineSdk_Version(), '9.9.9');
    sim.script('korin.QXEngineSdk.UpdateUserConfig', -2);
    assert.equal(addon.QXEngineSdk_UpdateUserConfig({ userId: 7, userType: 1 }), -2);
    assert.equal(addon.QXEngineSdk_UpdateEnvironment(true, 'a', 'b'), 0);
    assert.equal(addon.QXEngineSdk_UpdateCookie('sid=1'), undefined);
    assert.deepEqual(ops('korin.QXEngineSdk.U').map((e) => e.args), [[{ user_id: 7, user_type: 1 }], [true, 'a', 'b'], ['sid=1']]);
    assert.throws(() => addon.QXEngineSdk_UpdateEnvironment('yes', 'a', 'b'), { message: 'invalid arguments: test environment' });
  });
});

test('QXDeviceSetting_*', async (t) => {
  t.beforeEach(reset);
  t.after(() => addon.QXDeviceSetting_setDeviceSettingCallback(null));

  await t.test('updateSetting hands the setting over, and with the switch on does nothing at all', () => {
    addon.QXDeviceSetting_updateSetting({ agcStatus: true, preprocessorMode: 2, micVolume: 80, speakerVolume: 60 });
    assert.deepEqual(ops('korin.QXDeviceSetting.UpdateSetting')[0].args, [{ agc_status: true, preprocessor_mode: 2, mic_volume: 80, speaker_volume: 60 }]);
    sim.setSourceFlags({ disableSyncDeviceSetting20260205: true });
    let read = 0;
    addon.QXDeviceSetting_updateSetting({ get agcStatus() { read++; return true; } });
    assert.equal(read, 0);
    assert.equal(ops('korin.QXDeviceSetting.UpdateSetting').length, 1);
  });

  await t.test('a value of the wrong type throws and reaches nothing', () => {
    assert.throws(() => addon.QXDeviceSetting_updateSetting({ micVolume: '80' }), TypeError);
    assert.deepEqual(ops('korin.QXDeviceSetting.UpdateSetting'), []);
  });

  await t.test('notifications reach the function; null removes it', async () => {
    const got = [];
    addon.QXDeviceSetting_setDeviceSettingCallback((s) => got.push(s));
    assert.ok(sim.fire('QXDeviceSettingCallback.OnDeviceSettingChanged', [true, 1, 70, 50]));
    await waitFor(() => got.length === 1);
    assert.deepEqual(got, [{ agcStatus: true, preprocessorMode: 1, micVolume: 70, speakerVolume: 50 }]);
    addon.QXDeviceSetting_setDeviceSettingCallback(null);
    assert.equal(sim.fire('QXDeviceSettingCallback.OnDeviceSettingChanged', [false, 0, 0, 0]), false);
    assert.throws(() => addon.QXDeviceSetting_setDeviceSettingCallback({}), { message: 'Expected arguments: callback (function or null)' });
  });
});
