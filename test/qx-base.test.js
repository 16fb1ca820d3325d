'use strict';
// What every QX group stands on, group by group: numbers that are never
// reused, one ordered strand per object, listeners that throw, replies, the
// newest frame only, and what the engine was handed staying alive while an
// engine that does not wait may still call it.
const test = require('node:test');
const assert = require('node:assert/strict');
const addon = require('..');
const sim = require('../sim');
const { waitFor, runFixture, lastJson, leakChecked, underAsan } = require('./helpers');

const AGENT = { userId: 1, agentId: 2, signature: 's', authExtension: '', noTimeout: false };
const settle = (ms = 50) => new Promise((r) => setTimeout(r, ms));
const listenerName = () => sim.held().filter((n) => n.startsWith('downloaderV2.listener#')).at(-1);

// Per kind: make one, destroy one, whether one is still alive, and an
// export that answers `refused` for a number that names no live object.
const listenerNames = new Map();
const KINDS = {
  player: {
    make: () => addon.QXPlayer_constructor(),
    destroy: (h) => addon.QXPlayer_destroy(h),
    alive: (h) => addon.QXPlayer_play(h) === true,
    probe: ['QXPlayer_getDuration', (h) => addon.QXPlayer_getDuration(h), 0],
  },
  'external data source': {
    make: () => addon.QXPlayerExternalDataSource_constructor(),
    destroy: (h) => addon.QXPlayerExternalDataSource_destroy(h),
    alive: (h) => addon.QXPlayerExternalDataSource_pushData(h, { type: 0, data: Buffer.from('ab') }) === 2,
    probe: ['QXPlayerExternalDataSource_pushData', (h) => addon.QXPlayerExternalDataSource_pushData(h, { data: Buffer.from('x') }), -1],
  },
  'download listener': {
    make() {
      if (!addon.QXPlayer_downloaderV2_isInitialized()) addon.QXPlayer_downloaderV2_init({});
      const h = addon.QXPlayer_downloaderV2_addDownloadListener({ url: 'u' }, { onDownloadStatusChanged() {} });
      listenerNames.set(h, listenerName());
      return h;
    },
    destroy: (h) => addon.QXPlayer_downloaderV2_releaseDownloadListener(h),
    alive: (h) => sim.held().includes(listenerNames.get(h)),
    probe: ['QXPlayer_downloaderV2_removeDownloadListener', (h) => addon.QXPlayer_downloaderV2_removeDownloadListener({}, h), undefined],
  },
  'device module': {
    make: () => addon.deviceEngine_createDeviceModule({}, 'qx-base'),
    destroy: (h) => addon.deviceEngine_destroyDeviceModule(h),
    alive: (h) => addon.deviceEngine_getSpeakerVolume(h).errorCode === 0,
    probe: ['deviceEngine_getMicVolume', (h) => addon.deviceEngine_getMicVolume(h).errorCode, -1],
  },
  'replay room': {
    make: () => addon.QXReplay_enterRoom({ roomId: 2 ** 40 }, {}),
    destroy: (h) => addon.QXReplay_leaveRoom(h),
    alive: (h) => addon.QXReplay_getState(h) !== false,
    probe: ['QXReplay_getState', (h) => addon.QXReplay_getState(h), false],
  },
  'replay downloader': {
    make: () => addon.QXReplay_downloader_init({}),
    destroy: (h) => addon.QXReplay_downloader_destroy(h),
    alive: (h) => addon.QXReplay_downloader_isInitialized(h),
    probe: ['QXReplay_downloader_getTemporaryCacheSizeSync', (h) => addon.QXReplay_downloader_getTemporaryCacheSizeSync(h), 0],
  },
  agent: {
    make: () => addon.QXAIAgent_createInstance(AGENT, {}),
    destroy: (h) => { try { addon.QXAIAgent_destroyInstance(h); } catch { /* stale */ } },
    alive: (h) => { try { return addon.QXAIAgent_start(h) === 0; } catch { return false; } },
    probe: ['QXAIAgent_getAIAudioLevel', (h) => { try { return addon.QXAIAgent_getAIAudioLevel(h); } catch (e) { return e.message; } }, 'agent_ptr is 0'],
  },  'camera record engine': {
    make: () => addon.QXCameraRecordEngine_create({ rootDir: require('node:os').tmpdir(), recordMode: 0 }),
    destroy: (h) => addon.QXCameraRecordEngine_destroy(h),
    alive: (h) => addon.QXCameraRecordEngine_getRecordDurationMs(h) === 0,
    probe: ['QXCameraRecordEngine_pauseRecord', (h) => addon.QXCameraRecordEngine_pauseRecord(h), -1],
  },
  'native video source': {
    make: () => addon.QXVideoFromNativeSource_create({}),
    destroy: (h) => addon.QXVideoFromNativeSource_destroy(h),
    // A live source is accepted as a preview sink: the engine answers, not the refusal.
    alive: (h) => {
      const camera = addon.QXCameraRecordEngine_create({ rootDir: require('node:os').tmpdir(), recordMode: 0 });
      const r = addon.QXCameraRecordEngine_startPreview(camera, { viewRender: { nativeSource: { getNativeHandler: () => h } } });
      addon.QXCameraRecordEngine_destroy(camera);
      return r === 0;
    },
    probe: ['QXVideoFromNativeSource_destroy', (h) => addon.QXVideoFromNativeSource_destroy(h), -1],
  },
  'thumbnail tool': {
    make: () => addon.videoThumbnailTool_create(),
    destroy: (h) => addon.videoThumbnailTool_release(h),
    // A live tool reaches the engine, which refuses a path that is no segment file.
    alive: (h) => addon.videoThumbnailTool_setMediaPath(h, '/nonexistent/none.seg') === -100602,
    probe: ['videoThumbnailTool_seekTo', (h) => addon.videoThumbnailTool_seekTo(h, 0), -1],
  },

};

test('handles: a destroyed object\'s number names nothing, not even the next object of its kind', async (t) => {
  for (const [kind, k] of Object.entries(KINDS)) {
    await t.test(kind, () => {
      sim.reset();
      const old = k.make();
      k.destroy(old);
      // Made between the destroy and the old number's reuse: the block freed
      // above is the allocator's first choice for it.
      const fresh = k.make();
      assert.ok(Number.isSafeInteger(fresh) && fresh > 0, String(fresh));
      assert.notEqual(fresh, old);
      sim.clearLogLines();
      const [name, probe, refused] = k.probe;
      assert.equal(probe(old), refused);
      assert.ok(sim.logLines().some((l) => l.text === `${name}: not a live ${kind} handle`), `no line for ${name}`);
      k.destroy(old);
      assert.ok(k.alive(fresh), `the old number destroyed the new ${kind}`);
      k.destroy(fresh);
      assert.equal(k.alive(fresh), false);
    });
  }
  addon.QXPlayer_downloaderV2_destroy();
});

test('handles: the small numbers a confused caller passes (a count, an index, a flag) name no live object', () => {
  sim.reset();
  const made = Array.from({ length: 8 }, () => [KINDS.player.make(), KINDS['device module'].make()]).flat();
  for (let n = 1; n <= 64; n++) {
    assert.equal(addon.QXPlayer_play(n), false, `player ${n}`);
    assert.equal(addon.deviceEngine_getMicVolume(n).errorCode, -1, `device module ${n}`);
  }
  for (const h of made) assert.ok(h > 2 ** 32, String(h));
  made.forEach((h, i) => (i % 2 ? KINDS['device module'] : KINDS.player).destroy(h));
});

test('handles: a number of one kind is no number of another', () => {
  sim.reset();
  const player = addon.QXPlayer_constructor();
  const source = addon.QXPlayerExternalDataSource_constructor();
  const module = addon.deviceEngine_createDeviceModule({}, 'x');
  assert.equal(addon.QXPlayer_play(source), false);
  assert.equal(addon.QXPlayer_play(module), false);
  assert.equal(addon.QXPlayerExternalDataSource_pushData(player, { data: Buffer.from('x') }), -1);
  // The data source argument of a player is read as a data source.
  sim.clearLogLines();
  addon.QXPlayer_initPlayer(player);
  addon.QXPlayer_setExternalDataSource(player, player);
  assert.deepEqual(sim.journal('korin.QXPlayerCore.SetExternalDataSource'), []);
  assert.ok(sim.logLines().some((l) => l.text === 'QXPlayer_setExternalDataSource: not a live external data source handle'));
  const [row] = require('./exports').describeExports(addon).filter((d) => d.name === 'QXPlayer_setExternalDataSource');
  assert.deepEqual(row.handles, ['player', 'external data source']);
  addon.deviceEngine_destroyDeviceModule(module);
  addon.QXPlayerExternalDataSource_destroy(source);
  addon.QXPlayer_destroy(player);
});

test('strands: one object\'s events, whatever callback they reach, arrive in the order they were posted', async () => {
  sim.reset();
  const got = [];
  const agent = addon.QXAIAgent_createInstance(AGENT, { onAIAgentConnectionStateChanged: (s) => got.push(`state ${s}`) });
  addon.QXAIAgent_registerActionCallback(agent, { onActionStatus: (a) => got.push(`action ${a.actionType}`) });
  addon.QXAIAgent_registerAIAgentAudioPlayStatusCallback(agent, (s) => got.push(`play ${s.pcmIndex}`));
  const expected = [];
  // All posted before the JavaScript thread runs any: functions of their own
  // would deliver them grouped by function.
  for (let i = 1; i <= 20; i++) {
    sim.fire('QXAIAgentCallback.OnConnectionStateChanged', [i], i % 3);
    sim.fire('QXAIActionCallback.OnActionStatus', [i, 0], (i + 1) % 3);
    sim.fire('QXAIAgentAudioPlayStatusCallback.OnAudioPlayStatus', [i, 0, 0], (i + 2) % 3);
    expected.push(`state ${i}`, `action ${i}`, `play ${i}`);
  }
  await waitFor(() => got.length === expected.length);
  assert.deepEqual(got, expected);
  addon.QXAIAgent_destroyInstance(agent);
});

test('replies', async (t) => {
  t.beforeEach(() => {
    sim.reset();
    addon.QXPlayer_downloaderV2_destroy();
    addon.QXPlayer_downloaderV2_init({});
  });
  t.afterEach(() => addon.QXPlayer_downloaderV2_destroy());

  await t.test('are answered once each, in the order given, after what was posted before them', async () => {
    const got = [];
    addon.QXPlayer_downloaderV2_getTemporaryCacheSize((n) => got.push(['size', n]));
    addon.QXPlayer_downloaderV2_getDownloadStatus((s) => got.push(['status', s.length]));
    addon.QXPlayer_downloaderV2_getTemporaryCacheSize((n) => got.push(['size', n]));
    sim.fire('downloaderV2.getTemporaryCacheSize', [7]);
    sim.fire('downloaderV2.getDownloadStatus', ['u', 1]);
    sim.fire('downloaderV2.getTemporaryCacheSize', [8]);
    await waitFor(() => got.length === 3);
    await settle();
    assert.deepEqual(got, [['size', 7], ['size', 7], ['status', 1]]);
  });

  await t.test('an answer already on its way when the object goes is never delivered', async () => {
    let called = 0;
    addon.QXPlayer_downloaderV2_getTemporaryCacheSize(() => called++);
    // Queued for the JavaScript thread, which has not run it yet.
    assert.ok(sim.fire('downloaderV2.getTemporaryCacheSize', [1]));
    addon.QXPlayer_downloaderV2_destroy();
    await settle(100);
    assert.equal(called, 0);
  });

  await t.test('a reply owed keeps the process alive until it comes (child process)', async () => {
    const r = await runFixture('qx-reply-owed.js');
    assert.equal(r.code, 0, r.stderr);
    const { answer } = lastJson(r.stdout);
    assert.ok(answer, 'the process ended with the reply still owed');
    assert.equal(answer.bytes, 4096);
    assert.ok(answer.afterMs >= 250, String(answer.afterMs));
  });
});

test('a listener that throws is an uncaught exception, and its later events still arrive, in every QX group (child process)', async () => {
  const r = await runFixture('qx-uncaught.js');
  assert.equal(r.code, 0, r.stderr);
  const { groups, notFunction } = lastJson(r.stdout);
  assert.deepEqual(Object.keys(groups).sort(),
    ['action', 'agent', 'deviceSetting', 'listener', 'log', 'playStatus', 'player', 'renderer', 'reply', 'room']);
  for (const [group, g] of Object.entries(groups)) assert.deepEqual(g, { surfaced: true, later: true }, group);
  assert.deepEqual(notFunction, {
    type: 'TypeError',
    message: 'OnBufferingUpdated is not a function on the listener registered by QXPlayer_setCallback',
  });
});

test('frames: JavaScript blocked 5 s while the player draws 240 fps holds one frame, and gets the newest first', async () => {
  sim.reset();
  const frames = [];
  const h = addon.QXPlayer_constructor();
  addon.QXPlayer_initPlayerWithRender(h, {
    OnVideoRenderFrame(f) {
      // Packed I420: the U plane's first byte is the picture's index, modulo 256.
      frames.push({ at: Date.now(), index: new Uint8Array(f.buffer)[640 * 360] });
    },
  });
  addon.QXPlayer_setOutputYuv(h, true);
  sim.setPlayerVideo({ width: 640, height: 360, fps: 240 });
  addon.QXPlayer_play(h);
  const id = addon.QXPlayer_getId(h);
  await waitFor(() => frames.length >= 5);
  const before = process.memoryUsage().rss;
  const drawnBefore = sim.playerFramesRendered(id);
  const stallEnd = Date.now() + 5000;
  while (Date.now() < stallEnd) { /* the JavaScript thread is busy */ }
  const drawnAfter = sim.playerFramesRendered(id);
  const during = process.memoryUsage().rss - before;
  await waitFor(() => frames.some((f) => f.at >= stallEnd));
  const first = frames.find((f) => f.at >= stallEnd);
  addon.QXPlayer_destroy(h);
  sim.setPlayerVideo({});

  const drawn = drawnAfter - drawnBefore;
  assert.ok(drawn > 100, `only ${drawn} frames were drawn during the stall`);
  // 345,600 bytes a frame: queued, the stall would have held hundreds of MB.
  // (Under the sanitizer build freed memory is held in quarantine: RSS says nothing.)
  if (!underAsan()) assert.ok(during < 48 * 2 ** 20, `RSS grew ${(during / 2 ** 20).toFixed(1)} MB during the stall`);
  // The newest frame when the delivery ran: at most a few frames after the
  // last one drawn during the stall, not the first one drawn in it.
  const behind = (first.index - ((drawnAfter - 1) & 0xff) + 256) % 256;
  assert.ok(behind < 32, `the first frame after the stall is ${256 - behind} behind or ${behind} ahead of the newest`);
});

test('no-wait engine: replacing, unregistering and releasing while engine threads fire', async (t) => {
  t.beforeEach(() => {
    sim.reset();
    sim.setNoWait(true);
  });
  t.afterEach(() => sim.setNoWait(false));

  await t.test('agent callbacks and providers: nothing reaches a retired one, the agent keeps it until destroyed', async () => {
    const agent = addon.QXAIAgent_createInstance(AGENT, {});
    const retired = { calls: 0 };
    const flood = Promise.all([
      sim.fireMany('QXAIActionCallback.OnActionStatus', [1, 2, Buffer.alloc(32)], 4000, 2),
      sim.fireMany('QXAIAgentAudioPlayStatusCallback.OnAudioPlayStatus', [1, 2, 3], 4000, 2),
    ]);
    for (let i = 0; i < 60; i++) {
      let unregistered = false;
      const count = () => { if (unregistered) retired.calls++; };
      addon.QXAIAgent_registerActionCallback(agent, { onActionStatus: count });
      addon.QXAIAgent_registerAIAgentAudioPlayStatusCallback(agent, count);
      addon.QXAIAgent_startListeningWithProvider(agent, { getAudioData: () => ({ sampleRate: 16000, channels: 1, data: Buffer.alloc(640) }) });
      await settle(2);
      addon.QXAIAgent_unRegisterActionCallback(agent);
      addon.QXAIAgent_unRegisterAIAgentAudioPlayStatusCallback(agent);
      if (i % 2) addon.QXAIAgent_stopListening(agent);
      else addon.QXAIAgent_startListening(agent);
      unregistered = true;
    }
    await flood;
    await settle();
    assert.equal(retired.calls, 0, 'a retired callback was called');
    assert.equal(addon.QXAIAgent_destroyInstance(agent), 0);
  });

  await t.test('download listeners: removed and released while their events fire', async () => {
    addon.QXPlayer_downloaderV2_init({});
    let late = 0;
    for (let i = 0; i < 40; i++) {
      let released = false;
      const h = addon.QXPlayer_downloaderV2_addDownloadListener({ url: `u${i}` }, { onDownloadStatusChanged() { if (released) late++; } });
      const flood = sim.fireMany(listenerName(), ['u', 1], 500, 2);
      await settle(1);
      if (i % 2) addon.QXPlayer_downloaderV2_removeDownloadListener({ url: `u${i}` }, h);
      addon.QXPlayer_downloaderV2_releaseDownloadListener(h);
      released = true;
      await flood;
    }
    await settle();
    assert.equal(late, 0);
    addon.QXPlayer_downloaderV2_destroy();
  });

  await t.test('the engine\'s services: device settings, the SDK\'s log callback and the local analytics observer', async () => {
    let late = 0;
    const settings = sim.fireMany('QXDeviceSettingCallback.OnDeviceSettingChanged', [true, 1, 2, 3], 6000, 2);
    const logs = sim.writeLogs(9, 'NoWait', 'line', 3000, 2);
    for (let i = 0; i < 40; i++) {
      let replaced = false;
      const count = () => { if (replaced) late++; };
      addon.QXDeviceSetting_setDeviceSettingCallback(count);
      addon.QXEngineSdk_Init({}, { onLogMessage: count });
      addon.tallyV2_setLocalTallyCallbackForTest({ onLocalTallyPostValueEntry: count });
      addon.tallyV2_postValueEntry({ url: `e${i}` }, 1);
      await settle(2);
      replaced = true;
    }
    addon.QXDeviceSetting_setDeviceSettingCallback(null);
    addon.QXEngineSdk_Init({}, {});
    addon.tallyV2_setLocalTallyCallbackForTest({});
    await Promise.all([settings, logs]);
    await settle();
    assert.equal(late, 0);
  });
});

test('teardown with objects of every QX kind referring to each other, events in flight and a reply owed', async (t) => {
  for (const mode of ['main', 'worker']) {
    await t.test(mode, async () => {
      const r = await runFixture('qx-teardown.js', [mode], 90000, leakChecked());
      assert.equal(r.signal, null, r.stderr);
      assert.equal(r.code, 0, r.stderr);
      const out = lastJson(r.stdout);
      assert.ok(out.events > 100, 'events were in flight');
      if (mode === 'worker') assert.deepEqual({ ...out, events: 0 }, { events: 0, agents: 0, players: 0, downloaders: 0,
        cameras: 0, thumbnailTools: 0, surfaceSinks: 0 });
    });
  }
});

test('leaks: 2,000 objects with strands, listeners and retired callbacks come and go', async (t) => {
  sim.reset();
  const round = async (n) => {
    for (let i = 0; i < n; i++) {
      const p = addon.QXPlayer_constructor();
      addon.QXPlayer_initPlayer(p);
      addon.QXPlayer_setCallback(p, { OnPrepared() {} });
      sim.fire(`player:${addon.QXPlayer_getId(p)}.OnPrepared`, []);
      addon.QXPlayer_destroy(p);
      const a = addon.QXAIAgent_createInstance(AGENT, {});
      addon.QXAIAgent_registerActionCallback(a, {});
      addon.QXAIAgent_registerActionCallback(a, {});
      addon.QXAIAgent_destroyInstance(a);
      if (i % 100 === 99) await settle(1);
    }
  };
  await round(300);
  global.gc?.();
  const before = process.memoryUsage().rss;
  await round(2000);
  await settle(100);
  const growth = (process.memoryUsage().rss - before) / 2 ** 20;
  t.diagnostic(`RSS growth over 2,000 rounds: ${growth.toFixed(1)} MB`);
  assert.equal(sim.objects().aiAgents || 0, 0);
  assert.equal(sim.objects().players || 0, 0);
  if (underAsan()) return;
  assert.ok(growth < 24, `RSS grew ${growth.toFixed(1)} MB`);
});
