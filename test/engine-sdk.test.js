'use strict';
const os = require('os');
const test = require('node:test');
const assert = require('node:assert');
const { addon, sim, fresh, waitFor, settle, ops, startClass, callbacks } = require('./live-helpers');

const cb = () => callbacks();

test.describe('one main engine at a time', () => {
  test.beforeEach(fresh);

  test('currentEngineType follows creation and destruction in any order', () => {
    assert.strictEqual(addon.engineSdk_currentEngineType(), -1);
    assert.strictEqual(addon.engineSdk_createLocalEngine(cb(), 7, 'text'), 0);
    assert.strictEqual(addon.engineSdk_currentEngineType(), 2);
    // A second main engine is refused and the first stays.
    assert.strictEqual(addon.engineSdk_createLivePlayEngine(cb()), -1);
    assert.strictEqual(addon.engineSdk_createStreamingEngine({}, cb(), ''), -1);
    assert.strictEqual(addon.engineSdk_createReplayEngine(cb(), '/m'), -1);
    assert.strictEqual(addon.engineSdk_createLiveReplayEngine(cb(), '/m', cb(), 'x'), -1);
    assert.strictEqual(addon.engineSdk_currentEngineType(), 2);
    assert.strictEqual(addon.engineSdk_destroyLocalEngine(), 0);
    assert.strictEqual(addon.engineSdk_destroyLocalEngine(), -1);

    const kinds = [
      [() => addon.engineSdk_createLivePlayEngine(cb()), 0, () => addon.engineSdk_leaveLiveRoom()],
      [() => addon.engineSdk_createReplayEngine(cb(), '/media'), 1, () => addon.engineSdk_destroyReplayEngine()],
      [() => addon.engineSdk_createStreamingEngine({}, cb(), 'p'), 4, () => addon.engineSdk_destroyStreamingEngine()],
      [() => addon.engineSdk_createLiveReplayEngine(cb(), '/m', cb(), 'x'), 5, () => addon.engineSdk_destroyLiveReplayEngine()],
    ];
    for (const [create, type, destroy] of kinds) {
      assert.strictEqual(create(), 0);
      assert.strictEqual(addon.engineSdk_currentEngineType(), type);
      assert.strictEqual(destroy(), 0);
      assert.strictEqual(addon.engineSdk_currentEngineType(), -1);
    }
  });

  test('destroying twice answers -1 the second time; the live replay destroy always 0', () => {
    startClass();
    assert.strictEqual(addon.engineSdk_leaveLiveRoom(), 0);
    assert.strictEqual(addon.engineSdk_leaveLiveRoom(), -1);
    assert.strictEqual(addon.engineSdk_destroyReplayEngine(), -1);
    assert.strictEqual(addon.engineSdk_destroyStreamingEngine(), -1);
    assert.strictEqual(addon.engineSdk_destroyLiveReplayEngine(), 0);
    // Leaving clears the room-scoped engine parameters.
    const cleared = ops('tavel.UpdateEngineParams').map((e) => e.args);
    assert.deepStrictEqual(cleared.at(-1), [2, '']);
  });

  test('the local engine starts with the user id, text and SDK version', () => {
    addon.engineSdk_onAppInit({}, '9.9.9');
    assert.strictEqual(addon.engineSdk_createLocalEngine(cb(), 12.9, 'hello'), 0);
    const start = ops('tavel.LocalEngine.Start').at(-1);
    assert.ok(start, 'local engine started');
    assert.strictEqual(start.args[0].user_id, 12);
    assert.strictEqual(start.args[0].text, 'hello');
    assert.strictEqual(start.args[0].sdk_version, '9.9.9');
  });

  test('engine failures pass through unchanged', () => {
    sim.script('tavel.ReplayEngine.Open', -17);
    assert.strictEqual(addon.engineSdk_createReplayEngine(cb(), '/media'), -17);
    assert.strictEqual(addon.engineSdk_currentEngineType(), 1);
  });
});

test.describe('connecting', () => {
  test.beforeEach(fresh);

  test('without a live play engine connect throws and answers -1', () => {
    assert.throws(() => addon.engineSdk_connectLivePlayEngine({}), { message: 'Live play engine is not created yet' });
    assert.throws(() => addon.engineSdk_connectLivePlayEngineAndConfigDevice({}, 'p', {}), {
      message: 'Live play engine is not created yet',
    });
    assert.throws(() => addon.engineSdk_openReplayMedia(), { message: 'Live replay engine is not created yet.' });
  });

  test('the ticket becomes the room and command-client configurations', () => {
    startClass();
    const ticket = {
      room_id: 123, user_id: '77', team_id: 5, disable_radio: true, user_type: 2, app_type: 3,
      app_version: '8.0', sdk_version: 'ticket-sdk', signature: 'sig', persistentCookie: 'pc',
      sessionCookie: 'sc', feature: new Uint8Array([9, 8, 7]).subarray(1), authExtension: Buffer.from('ab'),
      scheduler_host: 'host', engine_parameters: '{}', network_type: 4,
    };
    assert.strictEqual(addon.engineSdk_connectLivePlayEngine(ticket), 0);
    const room = ops('tavel.LivePlayEngine.Connect').at(-1).args[0];
    assert.strictEqual(room.room_id, 123);
    assert.strictEqual(room.user_id, 77);
    assert.strictEqual(room.sdk_version, '5.1.0', 'the stored SDK version wins');
    assert.strictEqual(room.network_type, 4);
    const cmd = ops('lumen.LiveClient.CreateCommandClient').at(-1).args[0];
    assert.strictEqual(cmd.sdk_version, 'ticket-sdk');
    assert.strictEqual(cmd.client_type, 8);
    assert.strictEqual(cmd.disable_radio, true);
    assert.deepStrictEqual(cmd.features, [8, 7]);
    assert.deepStrictEqual(cmd.auth_extension, [97, 98]);
    assert.strictEqual(cmd.persistent_cookie, 'pc');
    assert.ok(ops('tavel.LivePlayEngine.SetCommandClient').length === 1);
  });

  test('a second connect is refused and the first connection stays', () => {
    startClass();
    assert.strictEqual(addon.engineSdk_connectLivePlayEngine({ room_id: 1 }), 0);
    assert.strictEqual(addon.engineSdk_connectLivePlayEngine({ room_id: 2 }), -1);
    assert.strictEqual(ops('tavel.LivePlayEngine.Connect').length, 1);
    assert.strictEqual(ops('tavel.LivePlayEngine.Disconnect').length, 0);
    assert.ok(sim.logLines().some((l) => l.text === 'live engine already exist' && l.severity === 12));
  });

  test('connect in the background posts onEnterRoom with the result', async () => {
    const entered = [];
    startClass({ onEnterRoom: (ok) => entered.push(ok) });
    assert.strictEqual(addon.engineSdk_connectLivePlayEngineAndConfigDevice({ room_id: 3 }, '/audio', {}), 0);
    await waitFor(() => entered.length === 1);
    assert.deepStrictEqual(entered, [true]);
    assert.ok(ops('tavel.LiveDeviceEngine.SetAudioParameterPath').some((e) => e.args[0] === '/audio'));
    // Already connected: refused.
    assert.strictEqual(addon.engineSdk_connectLivePlayEngineAndConfigDevice({ room_id: 3 }, '/audio', {}), -1);
  });

  test('a failed background connect still reports onEnterRoom(false)', async () => {
    const entered = [];
    startClass({ onEnterRoom: (ok) => entered.push(ok) });
    sim.script('tavel.LivePlayEngine.Connect', -5);
    addon.engineSdk_connectLivePlayEngineAndConfigDevice({}, '/audio', {});
    await waitFor(() => entered.length === 1);
    assert.deepStrictEqual(entered, [false]);
    assert.strictEqual(ops('tavel.LiveDeviceEngine.SetAudioParameterPath').length, 0);
  });

  test('a live replay opens its media once its live play part connects', () => {
    addon.engineSdk_onAppInit({}, '2.0');
    assert.strictEqual(addon.engineSdk_createLiveReplayEngine(cb(), '/class.media', cb(), 'unused'), 0);
    assert.strictEqual(addon.engineSdk_connectLivePlayEngine({ room_id: 4 }), 0);
    const open = ops('tavel.ReplayEngine.Open');
    assert.strictEqual(open.length, 1);
    assert.strictEqual(open[0].args[0].media_path, '/class.media');
    assert.strictEqual(open[0].args[0].sdk_version, '2.0');
    assert.strictEqual(addon.engineSdk_openReplayMedia(), 0);
    assert.strictEqual(addon.engineSdk_destroyLiveReplayEngine(), 0);
    assert.ok(ops('tavel.ReplayEngine.Stop').length >= 1);
  });
});

test.describe('automatic leaving', () => {
  test.beforeEach(fresh);

  async function connectedClass(flags) {
    sim.setSourceFlags(flags);
    const seen = [];
    startClass({ onMediaConnected: () => seen.push('media'), onCommandConnected: () => seen.push('command'), onCommandDisconnected: () => seen.push('disconnected') });
    addon.engineSdk_connectLivePlayEngine({ room_id: 1 });
    await waitFor(() => seen.includes('media') && seen.includes('command'));
    return seen;
  }

  test('with the switch on, a command disconnection after both channels connected destroys the engine', async () => {
    await connectedClass({ enableAutoLeaveRoom4660: true });
    assert.ok(sim.fire('CommandClientCallback.OnCommandDisconnected', [1, 2, 'gone', 3]));
    await waitFor(() => addon.engineSdk_currentEngineType() === -1);
    assert.ok(sim.tally().some((t) => t.url === 'sdk/event/AutoDestroyLiveEngine'));
    assert.strictEqual(addon.livePlayEngine_audioStartSend({}), -1);
    assert.strictEqual(addon.engineSdk_leaveLiveRoom(), -1);
  });

  test('with the switch off nothing is destroyed', async () => {
    const seen = await connectedClass({});
    sim.fire('CommandClientCallback.OnCommandDisconnected', [1, 2, 'gone', 3]);
    await waitFor(() => seen.includes('disconnected'));
    await settle();
    assert.strictEqual(addon.engineSdk_currentEngineType(), 0);
  });

  test('a disconnection before the media channel ever connected destroys nothing', async () => {
    sim.setSourceFlags({ enableAutoLeaveRoom4660: true });
    sim.setAutoConnect(false);
    const seen = [];
    startClass({ onCommandConnected: () => seen.push('command'), onCommandDisconnected: () => seen.push('disconnected') });
    addon.engineSdk_connectLivePlayEngine({ room_id: 1 });
    sim.fire('CommandClientCallback.OnCommandConnected', []);
    sim.fire('CommandClientCallback.OnCommandDisconnected', [1, 2, null, 3]);
    await waitFor(() => seen.includes('disconnected'));
    await settle();
    assert.strictEqual(addon.engineSdk_currentEngineType(), 0);
  });
});

test.describe('user configuration and the engine cache', () => {
  test.beforeEach(fresh);

  test('setUserConfig reaches the live client, the user info and the network prober', () => {
    addon.engineSdk_onAppInit({}, '3.3');
    addon.engineSdk_setUserConfig({ isTestEnvironment: true, userType: 2 ** 32 + 5, networkType: 3, appVersion: 'a', appType: 6, productId: 8, schedulerHost: 'h', getUserType: 4 });
    assert.strictEqual(addon.engineSdk_isTestEnvironment(), true);
    const user = ops('lumen.LiveClient.CreateUserInfo').at(-1).args[0];
    assert.strictEqual(user.user_type, 5);
    assert.strictEqual(user.sdk_version, '3.3');
    assert.strictEqual(user.product_id, 8);
    const probe = ops('korin.transport_v2.NetworkProber.UpdateContext').at(-1).args[0];
    assert.strictEqual(probe.user_type, 4);
    assert.strictEqual(probe.scheduler_host, 'h');
    // A non-boolean test flag reads false, with the type error left raised.
    assert.throws(() => addon.engineSdk_setUserConfig({ isTestEnvironment: 1 }), { message: 'A boolean was expected' });
    assert.strictEqual(addon.engineSdk_isTestEnvironment(), false);
  });

  test('a network change reaches the command client and the engine', () => {
    startClass();
    addon.engineSdk_connectLivePlayEngine({ room_id: 55, scheduler_host: 'room-host' });
    addon.engineSdk_onNetworkTypeChanged(2);
    assert.deepStrictEqual(ops('lumen.CommandClient.SetNetworkType').at(-1).args, [2]);
    assert.deepStrictEqual(ops('tavel.LivePlayEngine.SetNetworkType').at(-1).args, [2]);
  });

  test('the cache provider answers from what JavaScript loaded and tells it of writes', async () => {
    const writes = [];
    const deletes = [];
    addon.engineSdk_onAppInit(callbacks({ onWriteCache: (k, b) => writes.push([k, Buffer.from(b)]), onDeleteCache: (k) => deletes.push(k) }), '1');
    addon.engineSdk_loadCache('k', new Uint8Array([0, 1, 2, 3, 4]).subarray(1, 4));
    assert.deepStrictEqual(sim.cacheGet('k', 3), { size: 3, bytes: Buffer.from([1, 2, 3]) });
    assert.strictEqual(sim.cacheGet('k', 2).size, 0, 'one byte too small');
    assert.strictEqual(sim.cacheGet('missing', 100).size, 0);
    sim.fire('CacheProvider.Set', ['w', Buffer.from('xyz')]);
    sim.fire('CacheProvider.Remove', ['k']);
    await waitFor(() => writes.length === 1 && deletes.length === 1);
    assert.deepStrictEqual(writes, [['w', Buffer.from('xyz')]]);
    assert.deepStrictEqual(deletes, ['k']);
    assert.strictEqual(sim.cacheGet('w', 3).size, 3);
    assert.strictEqual(sim.cacheGet('k', 100).size, 0);
  });
});

test.describe('engine-wide switches', () => {
  test.beforeEach(fresh);

  test('source flags, engine parameters and services', () => {
    assert.strictEqual(addon.engineSdk_getSourceFlag(), false);
    assert.strictEqual(addon.engineSdk_getSourceFlag('someFlag'), false);
    addon.engineSdk_updateSourceFlag('{"someFlag": true}');
    assert.strictEqual(addon.engineSdk_getSourceFlag('someFlag'), true);
    assert.strictEqual(addon.engineSdk_getSourceFlag(42), false);

    sim.clearJournal();
    addon.engineSdk_updateEngineParams(3, 'ignored');
    assert.strictEqual(ops('tavel.UpdateEngineParams').length, 0);
    addon.engineSdk_updateEngineParams(1.5, 'p1');
    assert.deepStrictEqual(ops('tavel.UpdateEngineParams').at(-1).args, [1, 'p1']);

    addon.engineSdk_initDumpManager(2 ** 40, 'a', 'b', 'c', 'd', true);
    assert.deepStrictEqual(ops('korin.media_dump.Init').at(-1).args.slice(0, 6), [2 ** 40, 'a', 'b', 'c', 'd', true]);
    assert.strictEqual(addon.engineSdk_setEngineGlobalCacheFolder('/cache/é'), 0);
    assert.deepStrictEqual(ops('korin.SetEngineGlobalCacheFolder').at(-1).args, ['/cache/é']);
    // Windows' own version on Windows; elsewhere the system and its kernel release.
    const [major, minor] = os.release().split(/[.-]/).map(Number);
    const system = process.platform === 'win32' ? 'win' : os.type().toLowerCase();
    if (process.platform === 'win32') assert.match(addon.engineSdk_getPlatform(), /^win_\d+\.\d+$/);
    else assert.strictEqual(addon.engineSdk_getPlatform(), `${system}_${major}.${minor}`);
  });
});

test.describe('refusals', () => {
  test.beforeEach(fresh);

  // [export, arguments, message]: each is refused and reaches nothing.
  const REFUSED = [
    ['onAppInit', [{}], 'Expected arguments : live client, sdk version'],
    ['loadCache', ['k', [1, 2]], 'Expected arguments : key, value'],
    ['setUserConfig', [], 'Expected arguments : engineParams'],
    ['onNetworkTypeChanged', ['2'], 'Expected arguments : network type'],
    ['createLocalEngine', [{}, 1], 'Expected arguments : callback, userId'],
    ['createLivePlayEngine', [1], 'Expected arguments : callbacks'],
    ['connectLivePlayEngine', [], 'Expected arguments : ticket'],
    ['connectLivePlayEngineAndConfigDevice', [{}, 'p', {}, 4], 'Expected arguments: config, audioParamPath, deviceCachedInfo'],
    ['createReplayEngine', [{}], 'Expected arguments : callback'],
    ['createStreamingEngine', [1, 2], 'Expected arguments : config, callback, engine_params'],
    ['initDumpManager', [1, 'a', 'b', 'c', 'd', 'true'], 'Expected arguments : engineParams'],
    ['initThreadMonitor', [1], 'Expected 0 arguments '],
    ['updateSourceFlag', [{}], 'Expected arguments : engineParams'],
    ['setOutRoomParameters', [], 'Expected arguments : engineParams'],
    ['createLiveReplayEngine', [{}, '/m', {}], 'CreateLiveReplayEngine: invalid arguments'],
    ['updateEngineParams', ['1', 'x'], 'Expected arguments : engineParamsType, engineParams'],
    ['setEngineGlobalCacheFolder', [1], 'Expected arguments : cache folder'],
  ];

  for (const [name, args, message] of REFUSED) {
    test(`engineSdk_${name}`, () => {
      assert.throws(() => addon[`engineSdk_${name}`](...args), (e) => e instanceof Error && e.message === message);
      assert.deepStrictEqual(sim.journal(), []);
      assert.strictEqual(addon.engineSdk_currentEngineType(), -1);
    });
  }

  test('the streaming engine test is lenient: one object alone is admitted', () => {
    assert.strictEqual(addon.engineSdk_createStreamingEngine({}), 0);
    assert.strictEqual(addon.engineSdk_currentEngineType(), 4);
  });
});
