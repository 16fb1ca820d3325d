'use strict';
// QXAIAgent_*: agents held by handle, strict reads, events through
// thread-safe functions, the audio provider, and lifetimes.
const test = require('node:test');
const assert = require('node:assert/strict');
const { addon, sim, waitFor, settle, ops } = require('./live-helpers');
const { runFixture, lastJson, leakChecked } = require('./helpers');

const CONFIG = { userId: 2 ** 40 + 1, agentId: 9, signature: 'sig', authExtension: 'ext', noTimeout: true };
const create = (callbacks = {}, config = CONFIG) => addon.QXAIAgent_createInstance(config, callbacks);
const live = () => sim.objects().aiAgents || 0;

function destroyAll(handles) {
  for (const h of handles.splice(0)) {
    try { addon.QXAIAgent_destroyInstance(h); } catch { /* already gone */ }
  }
}

test('creating agents', async (t) => {
  const handles = [];
  t.beforeEach(() => sim.reset());
  t.afterEach(() => destroyAll(handles));

  await t.test('the configuration reaches the factory; the handle is a number', () => {
    const h = create();
    handles.push(h);
    assert.equal(typeof h, 'number');
    assert.ok(h > 0);
    const [call] = ops('korin.QXAIAgentFactory.CreateAIAgent');
    assert.deepEqual(call.args[0], { user_id: 2 ** 40 + 1, agent_id: 9, signature: 'sig', auth_extension: 'ext', no_timeout: true, enable_video: true });
    handles.push(create({}, { ...CONFIG, enableVideo: false }), create({}, { ...CONFIG, enableVideo: 'no' }));
    assert.deepEqual(ops('korin.QXAIAgentFactory.CreateAIAgent').map((e) => e.args[0].enable_video), [true, false, true]);
    assert.equal(live(), 3);
  });

  await t.test('a value of the wrong type throws and creates nothing', () => {
    const before = live();
    for (const bad of [{ userId: '1' }, { agentId: '9' }, { signature: 7 }, { authExtension: null }, { noTimeout: 1 }]) {
      assert.throws(() => create({}, { ...CONFIG, ...bad }), TypeError, JSON.stringify(bad));
    }
    const { agentId, ...missing } = CONFIG;
    assert.throws(() => create({}, missing), TypeError);
    assert.throws(() => addon.QXAIAgent_createInstance('config', {}), { message: 'Expected arguments: config, callback' });
    assert.deepEqual(ops('korin.QXAIAgentFactory'), []);
    assert.equal(live(), before);
  });

  await t.test('a factory that makes no agent answers 0', () => {
    sim.script('korin.QXAIAgentFactory.CreateAIAgent', false);
    assert.equal(create(), 0);
    assert.throws(() => addon.QXAIAgent_start(0), { message: 'agent_ptr is 0' });
  });
});

test('handles', async (t) => {
  t.beforeEach(() => sim.reset());

  await t.test('exports call the agent behind a live handle and answer its result', () => {
    const h = create();
    sim.script('korin.QXAIAgent.Start', 5);
    sim.script('korin.QXAIAgent.GetServerClockDiffMs', -(2 ** 33));
    sim.script('korin.QXAIAgent.GetUserAudioLevel', 0.5);
    assert.equal(addon.QXAIAgent_start(h), 5);
    assert.equal(addon.QXAIAgent_setMicrophoneSendMute(h, true), 0);
    assert.equal(addon.QXAIAgent_setAIPlayoutMute(h, false), 0);
    assert.equal(addon.QXAIAgent_sendMessage(h, 'hello'), 0);
    assert.equal(addon.QXAIAgent_getServerClockDiffMs(h), -(2 ** 33));
    assert.equal(addon.QXAIAgent_getUserAudioLevel(h), 0.5);
    assert.equal(addon.QXAIAgent_publishCamera(h, { hd: true, cameraDeviceId: 'cam0' }), 0);
    assert.deepEqual(ops('korin.QXAIAgent.').map((e) => [e.op.slice(16), e.args]), [
      ['Start', []], ['SetMicrophoneSendMute', [true]], ['SetAIPlayoutMute', [false]], ['SendMessage', ['hello']],
      ['GetServerClockDiffMs', []], ['GetUserAudioLevel', []],
      ['PublishCamera', [{ hd: true, camera_device_id: 'cam0', use_front_camera: true }]],
    ]);
    // Each camera key is read from its own name.
    sim.clearJournal();
    for (const [hd, front] of [[true, false], [false, true]]) {
      assert.equal(addon.QXAIAgent_publishCamera(h, { hd, useFrontCamera: front, cameraDeviceId: `cam-${hd}` }), 0);
    }
    assert.deepEqual(ops('korin.QXAIAgent.PublishCamera').map((e) => e.args[0]), [
      { hd: true, camera_device_id: 'cam-true', use_front_camera: false },
      { hd: false, camera_device_id: 'cam-false', use_front_camera: true },
    ]);
    assert.throws(() => addon.QXAIAgent_setMicrophoneSendMute(h, 1), { message: 'Expected arguments: agent_ptr, mute' });
    assert.throws(() => addon.QXAIAgent_publishCamera(h, { hd: 'yes' }), TypeError);
    assert.equal(addon.QXAIAgent_destroyInstance(h), 0);
  });

  await t.test('a destroyed, forged or malformed handle is refused and reaches nothing', () => {
    const before = live();
    const h = create();
    const other = create();
    assert.equal(addon.QXAIAgent_destroyInstance(h), 0);
    sim.clearJournal();
    for (const bad of [h, h + 8, other + 1, 0, -1, 0.5, 2 ** 53, NaN]) {
      assert.throws(() => addon.QXAIAgent_start(bad), { message: 'agent_ptr is 0' }, String(bad));
      assert.throws(() => addon.QXAIAgent_sendMessage(bad, 'x'), { message: 'agent_ptr is 0' });
      assert.throws(() => addon.QXAIAgent_destroyInstance(bad), { message: 'agent_ptr is 0' });
    }
    assert.deepEqual(sim.journal().filter((e) => /QXAI/.test(e.op)), []);
    assert.equal(addon.QXAIAgent_start(other), 0);
    addon.QXAIAgent_destroyInstance(other);
    assert.equal(live(), before);
  });
});

test('events reach the callback object', async (t) => {
  t.beforeEach(() => sim.reset());

  await t.test('each event calls its method with copies of its values', async () => {
    const got = [];
    const h = create({
      onAIAgentConnectionStateChanged: (s) => got.push(['state', s]),
      onAIAgentConnectionError: (e) => got.push(['error', e]),
      onAIAgentVadStateChanged: (v) => got.push(['aiVad', v]),
      onUserVadStateChanged: (v) => got.push(['userVad', v]),
      onAIAgentMessage: (m) => got.push(['message', m]),
    });
    sim.fire('QXAIAgentCallback.OnConnectionStateChanged', [3]);
    sim.fire('QXAIAgentCallback.OnConnectionError', [-1, 2, 7, 'refused'], 1);
    sim.fire('QXAIAgentCallback.OnAIAgentVadStateChanged', [true], 2);
    sim.fire('QXAIAgentCallback.OnUserVadStateChanged', [false]);
    sim.fire('QXAIAgentCallback.OnAIAgentMessage', [Buffer.from('{"text":"h\u00e9"}')]);
    await waitFor(() => got.length === 5);
    assert.deepEqual(got.sort((a, b) => a[0].localeCompare(b[0])), [
      ['aiVad', true],
      ['error', { code: -1, subcode: 2, failReason: 7, message: 'refused' }],
      ['message', { message: '{"text":"h\u00e9"}' }],
      ['state', 3],
      ['userVad', false],
    ]);
    addon.QXAIAgent_destroyInstance(h);
  });

  await t.test('a missing, undefined or null method drops its event silently', async () => {
    const got = [];
    const h = create({ onAIAgentVadStateChanged: null, onUserVadStateChanged: undefined, onAIAgentConnectionStateChanged: (s) => got.push(s) });
    sim.fire('QXAIAgentCallback.OnAIAgentMessage', ['ignored']);
    sim.fire('QXAIAgentCallback.OnAIAgentVadStateChanged', [true]);
    sim.fire('QXAIAgentCallback.OnUserVadStateChanged', [true]);
    sim.fire('QXAIAgentCallback.OnConnectionStateChanged', [1]);
    // In posting order on one engine thread: the last one arriving means the others were dropped.
    await waitFor(() => got.length === 1);
    await settle();
    assert.deepEqual(got, [1]);
    addon.QXAIAgent_destroyInstance(h);
  });

  await t.test('action and audio-play-status callbacks; unregistering lets them go', async () => {
    const actions = [];
    const statuses = [];
    const h = create();
    assert.equal(addon.QXAIAgent_registerActionCallback(h, { onActionStatus: (a) => actions.push(a) }), 0);
    assert.equal(addon.QXAIAgent_registerAIAgentAudioPlayStatusCallback(h, (s) => statuses.push(s)), 0);
    assert.throws(() => addon.QXAIAgent_registerAIAgentAudioPlayStatusCallback(h, {}), { message: 'Expected arguments: agent_ptr, callback' });
    sim.fire('QXAIActionCallback.OnActionStatus', [4, 1500, Buffer.from([1, 2, 3])]);
    sim.fire('QXAIAgentAudioPlayStatusCallback.OnAudioPlayStatus', [12, 2, 2 ** 40]);
    await waitFor(() => actions.length === 1 && statuses.length === 1);
    assert.deepEqual(actions[0].extraData, Buffer.from([1, 2, 3]));
    assert.deepEqual({ ...actions[0], extraData: null }, { actionType: 4, durationMs: 1500, extraData: null });
    assert.deepEqual(statuses, [{ pcmIndex: 12, playStatus: 2, playPtsMs: 2 ** 40 }]);
    assert.equal(addon.QXAIAgent_unRegisterActionCallback(h), 0);
    assert.equal(addon.QXAIAgent_unRegisterAIAgentAudioPlayStatusCallback(h), 0);
    assert.equal(sim.fire('QXAIActionCallback.OnActionStatus', [1, 1]), false);
    assert.equal(sim.fire('QXAIAgentAudioPlayStatusCallback.OnAudioPlayStatus', [1, 1, 1]), false);
    addon.QXAIAgent_destroyInstance(h);
  });

  await t.test('destroying an agent while its events are in flight', async () => {
    const before = live();
    let delivered = 0;
    const h = create({ onAIAgentMessage() { delivered++; } });
    addon.QXAIAgent_registerActionCallback(h, { onActionStatus() { delivered++; } });
    const flood = Promise.all([
      sim.fireMany('QXAIAgentCallback.OnAIAgentMessage', ['x'], 3000, 2),
      sim.fireMany('QXAIActionCallback.OnActionStatus', [1, 2, Buffer.alloc(64)], 3000, 2),
    ]);
    await waitFor(() => delivered > 0);
    // Engine threads are still firing and deliveries are queued.
    assert.equal(addon.QXAIAgent_destroyInstance(h), 0);
    const atDestroy = live();
    await flood;
    for (let last = -1; last !== delivered;) {
      last = delivered;
      await new Promise((r) => setTimeout(r, 50));
    }
    assert.equal(atDestroy, before);
    assert.ok(delivered <= 6000);
    assert.equal(sim.fire('QXAIAgentCallback.OnAIAgentMessage', ['late']), false);
    assert.equal(sim.fire('QXAIActionCallback.OnActionStatus', [1, 1]), false);
  });
});

test('the audio provider', async (t) => {
  t.beforeEach(() => sim.reset());
  const samples = (n, from = 1) => Buffer.from(Int16Array.from({ length: n }, (_, i) => from + i).buffer);

  await t.test('1,000 mono samples at 48 kHz are cached as 1,920: 920 zeros, then the data', async () => {
    const h = create();
    let calls = 0;
    assert.equal(addon.QXAIAgent_startListeningWithProvider(h, { getAudioData() { calls++; return { sampleRate: 48000, channels: 1, data: samples(1000) }; } }), 0);
    await waitFor(() => sim.agentAudio().pulls >= 2);
    const audio = sim.agentAudio();
    assert.equal(calls, 1);
    assert.equal(audio.failures, 0);
    assert.deepEqual([audio.sampleRate, audio.channels, audio.frames], [48000, 1, 1920]);
    assert.equal(audio.samples.length, 1920);
    assert.ok(audio.samples.subarray(0, 920).every((s) => s === 0));
    assert.deepEqual([...audio.samples.subarray(920)], Array.from({ length: 1000 }, (_, i) => 1 + i));
    assert.ok(sim.logLines().some((l) => l.text === 'Audio data cached successfully, data_size: 1920, sample_rate: 48000, channels: 1' && l.tag === 'QXAIAgentAddon'));
    assert.equal(addon.QXAIAgent_stopListening(h), 0);
    addon.QXAIAgent_destroyInstance(h);
  });

  await t.test('stereo: whole frames of rate x channels / 50 samples, data at the end', async () => {
    const h = create();
    addon.QXAIAgent_startListeningWithProvider(h, { getAudioData: () => ({ sampleRate: 44100, channels: 2, data: samples(1764 + 2, -50) }) });
    await waitFor(() => sim.agentAudio().pulls >= 1);
    const audio = sim.agentAudio();
    assert.equal(audio.samples.length, 3528);
    assert.equal(audio.frames, 1764);
    assert.ok(audio.samples.subarray(0, 1762).every((s) => s === 0));
    assert.equal(audio.samples[1762], -50);
    assert.equal(audio.samples.at(-1), -50 + 1765);
    addon.QXAIAgent_destroyInstance(h);
  });

  await t.test('handlers that give nothing usable leave the cache empty; reads fail', async () => {
    const cases = [
      [{}, 'No getAudioData method'],
      [{ getAudioData: () => null }, 'JS function returned null'],
      [{ getAudioData: () => ({ sampleRate: 16000, channels: 1, data: Buffer.alloc(0) }) }, 'Invalid data array'],
      [{ getAudioData: () => ({ sampleRate: 0, channels: 0, data: samples(10) }) }, null],
    ];
    for (const [handler, line] of cases) {
      sim.reset();
      const h = create();
      assert.equal(addon.QXAIAgent_startListeningWithProvider(h, handler), 0);
      await waitFor(() => sim.agentAudio().pulls >= 1);
      addon.QXAIAgent_destroyInstance(h);
      assert.equal(sim.agentAudio().failures, sim.agentAudio().pulls);
      const texts = sim.logLines().map((l) => l.text);
      if (line) assert.ok(texts.includes(line), line);
      assert.ok(texts.includes('No cached data available'));
    }
  });

  await t.test('a throwing getAudioData raises and the agent still listens, to nothing', async () => {
    const h = create();
    assert.throws(() => addon.QXAIAgent_startListeningWithProvider(h, { getAudioData() { throw new Error('no audio'); } }), { message: 'no audio' });
    await waitFor(() => sim.agentAudio().pulls >= 1);
    assert.equal(sim.agentAudio().failures, sim.agentAudio().pulls);
    addon.QXAIAgent_destroyInstance(h);
  });
});

test('a throwing listener is an uncaught exception and later events still arrive (child process)', async () => {
  const r = await runFixture('ai-agent-uncaught.js');
  assert.equal(r.code, 0, r.stderr);
  assert.deepEqual(lastJson(r.stdout), { uncaught: ['listener failed', 'listener failed'], states: [1, 2] });
});

test('agents alive when the environment ends are destroyed with it (worker, child process)', async () => {
  const r = await runFixture('ai-agent-teardown.js', [], 60000, leakChecked());
  assert.equal(r.code, 0, r.stderr);
  assert.deepEqual(lastJson(r.stdout), { created: 3, agentsAlive: 0, laterFired: false });
});
