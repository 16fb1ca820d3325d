'use strict';
// Players held by handle: handle safety, initialisation, conversions of data
// sources, options and status, and events through the thread-safe function.
const test = require('node:test');
const assert = require('node:assert/strict');
const addon = require('..');
const sim = require('../sim');
const { waitFor } = require('./helpers');

const ops = (name) => sim.journal(`korin.QXPlayerCore.${name}`);

function newPlayer(init = true) {
  const h = addon.QXPlayer_constructor();
  if (init) assert.equal(addon.QXPlayer_initPlayer(h), true);
  return h;
}

const idOf = (h) => addon.QXPlayer_getId(h);

test('handles', async (t) => {
  sim.reset();

  await t.test('a handle is a positive integer number that only its own kind accepts', () => {
    const h = newPlayer();
    assert.ok(Number.isSafeInteger(h) && h > 0);
    const ds = addon.QXPlayerExternalDataSource_constructor();
    // A data source's number is no player, and a player's is no data source.
    assert.equal(addon.QXPlayer_play(ds), false);
    assert.equal(addon.QXPlayerExternalDataSource_pushData(h, { type: 1, data: Buffer.from('ab') }), -1);
    addon.QXPlayerExternalDataSource_destroy(ds);
    addon.QXPlayer_destroy(h);
  });

  await t.test('stale, forged and malformed numbers get the neutral answer and reach no core', () => {
    const live = newPlayer();
    const stale = newPlayer();
    assert.equal(addon.QXPlayer_destroy(stale), true);
    sim.clearJournal();
    for (const bad of [0, stale, live + 8, live - 8, live + 0.5, -live, 2 ** 53, 2 ** 64, NaN, Infinity]) {
      assert.equal(addon.QXPlayer_play(bad), false, String(bad));
      assert.equal(addon.QXPlayer_initPlayer(bad), false);
      assert.equal(addon.QXPlayer_getDuration(bad), 0);
      assert.equal(addon.QXPlayer_getPlaybackStatus(bad), undefined);
      assert.equal(addon.QXPlayer_destroy(bad), false);
      assert.equal(addon.QXPlayer_setDataSource(bad, { url: 'x' }), undefined);
    }
    assert.deepEqual(sim.journal(/QXPlayerCore/), []);
    assert.ok(sim.logLines().some((l) => l.tag === 'EngineAddon' && l.text === 'QXPlpayer is not created yet.'));
    assert.equal(addon.QXPlayer_play(live), true);
    addon.QXPlayer_destroy(live);
  });

  await t.test('destroy stops the core before freeing it, once', () => {
    const h = newPlayer();
    sim.clearJournal();
    const before = sim.objects().players;
    assert.equal(addon.QXPlayer_destroy(h), true);
    assert.deepEqual(sim.journal(/QXPlayerCore/).map((e) => e.op), ['korin.QXPlayerCore.StopBeforeRelease']);
    assert.equal(sim.objects().players, before - 1);
    assert.equal(addon.QXPlayer_destroy(h), false);
  });
});

test('initialisation', async (t) => {
  sim.reset();

  await t.test('is idempotent: a second init makes no second core and answers true', () => {
    const h = addon.QXPlayer_constructor();
    const players = sim.objects().players || 0;
    assert.equal(addon.QXPlayer_getVideoWidth(h), 0, 'getters answer 0 before init');
    assert.equal(addon.QXPlayer_isPlaying(h), false);
    assert.equal(addon.QXPlayer_play(h), true, 'actions answer true without a core');
    assert.deepEqual(ops('Play'), []);
    assert.equal(addon.QXPlayer_initPlayerWithShortAudioMode(h), true);
    assert.equal(addon.QXPlayer_initPlayer(h), true);
    assert.equal(addon.QXPlayer_initPlayerWithRender(h, {}), true);
    const created = sim.journal('korin.QXPlayerCore.CreateQXPlayer');
    assert.equal(created.length, 1);
    assert.equal(created[0].args[2], true, 'short-audio mode of the first init');
    assert.equal(created[0].args[3], '');
    assert.equal(sim.objects().players, players + 1);
    assert.equal(addon.QXPlayer_getVideoWidth(h), 320);
    addon.QXPlayer_destroy(h);
  });
});

test('conversions', async (t) => {
  sim.reset();
  const h = newPlayer();

  await t.test('data sources keep the library defaults for absent keys, and host groups drop duplicates', () => {
    sim.clearJournal();
    addon.QXPlayer_setDataSources(h, [{}, { url: 'b', cache_dir: '/c', equivalentHosts: [['a', 'b', 'a'], ['c']] }]);
    const [list, flag] = ops('SetDataSources')[0].args;
    assert.equal(flag, false);
    assert.equal(list.length, 2);
    assert.equal(list[0].clip_end_ms, -1);
    assert.equal(list[0].hls_start_segment_index, -1);
    assert.equal(list[0].cache, true);
    assert.equal(list[1].url, 'b');
    assert.equal(list[1].cache_dir, '/c');
    assert.deepEqual(list[1].equivalent_hosts, [['a', 'b'], ['c']]);
  });

  await t.test('every key is read and coerced', () => {
    sim.clearJournal();
    addon.QXPlayer_setDataSource(h, {
      sourceId: 7, url: 'u', cache_dir: 'd', urlPrefixes: ['p1', 2], clipStartMs: '10', clipEndMs: 2 ** 40,
      presetMediaMine: 3, ioScheme: 4, cache: 0, isLive: 'yes', startAtPositionMs: 5, hlsStartSegmentIndex: 6,
      hlsPresetStartTimeMs: 7, keyServer: 'k', httpProxyServer: 'x',
    }, true);
    const [[s], flag] = ops('SetDataSources')[0].args;
    assert.equal(flag, true);
    assert.deepEqual(s, {
      source_id: '7', url: 'u', cache_dir: 'd', url_prefixes: ['p1', '2'], equivalent_hosts: [], clip_start_ms: 10,
      clip_end_ms: 2 ** 40, preset_media_mine: 3, io_scheme: 4, cache: false, is_live: true, start_at_position_ms: 5,
      hls_start_segment_index: 6, hls_preset_start_time_ms: 7, key_server: 'k', http_proxy_server: 'x',
    });
  });

  await t.test('setDataSource takes its flag only from a third boolean argument', () => {
    sim.clearJournal();
    addon.QXPlayer_setDataSource(h, { url: 'a' }, 1);
    addon.QXPlayer_setDataSource(h, { url: 'a' }, true, 'extra');
    assert.deepEqual(ops('SetDataSources').map((e) => e.args[1]), [false, false]);
  });

  await t.test('the status names the cache directory cacheDir and carries every source back', () => {
    addon.QXPlayer_setDataSources(h, [{ url: 'a', cache_dir: '/cache', equivalentHosts: [['x', 'x']] }, { url: 'b' }]);
    sim.script('korin.QXPlayerCore.GetCurrentPosition', 1234);
    sim.script('korin.QXPlayerCore.Status.errorMsg', 'bad');
    const st = addon.QXPlayer_getPlaybackStatus(h);
    assert.equal(st.currentPositionMs, 1234);
    assert.equal(st.errorInfo.msg, 'bad');
    assert.equal(st.datasources.length, 2);
    assert.equal(st.datasources[0].cacheDir, '/cache');
    assert.equal(st.datasources[0].cache_dir, undefined);
    assert.deepEqual(st.datasources[0].equivalentHosts, [['x']]);
    assert.equal(st.datasources[1].clipEndMs, -1);
    assert.deepEqual(st.durations, [60000, 60001]);
    assert.deepEqual(Object.keys(st.videoParams[0]), ['width', 'height', 'sarNum', 'sarDen', 'rotate', 'fps', 'bitRate']);
    assert.equal(addon.QXPlayer_getSegmentNum(h), 2);
  });

  await t.test('options are stored and handed over at prepare; absent keys keep defaults', () => {
    sim.clearJournal();
    addon.QXPlayer_setOptions(h, { mute: 1, playRate: 1.5, readyToPlayBufferMs: 2 ** 33, bizInfo: { bizType: 3, userId: 9 } });
    assert.deepEqual(ops('Prepare'), [], 'stored only');
    assert.equal(addon.QXPlayer_prepare(h), true);
    const [o] = ops('Prepare')[0].args;
    assert.equal(o.mute, true);
    assert.equal(o.play_rate, 1.5);
    assert.equal(o.ready_to_play_buffer_ms, 2 ** 33);
    assert.equal(o.biz_type, 3);
    assert.equal(o.biz_user_id, 9);
    assert.equal(o.left_volume, 1, 'default kept');
    assert.equal(o.start_on_prepared, true, 'default kept');
  });

  await t.test('optional seek arguments are strict; present ones pick the overload', () => {
    sim.clearJournal();
    assert.throws(() => addon.QXPlayer_seekTo(h, 1, 'x'), { message: 'the third arg should be number' });
    assert.throws(() => addon.QXPlayer_seekToSegment(h, 1, 2, null), { message: 'the fourth arg should be number' });
    assert.throws(() => addon.QXPlayer_setLooping(h, 1), { message: 'invalid arguments' });
    assert.equal(addon.QXPlayer_seekTo(h, 1000), true);
    assert.equal(addon.QXPlayer_seekTo(h, 1000, 2), true);
    assert.equal(addon.QXPlayer_seekToSegment(h, 1, 2), true);
    assert.equal(addon.QXPlayer_seekToSegment(h, 1, 2, 3), true);
    assert.deepEqual(sim.journal(/SeekTo/).map((e) => e.args), [[1000], [1000, 2], [1, 2], [1, 2, 3]]);
  });

  await t.test('segments and video points', () => {
    sim.clearJournal();
    addon.QXPlayer_insertSegment(h, { url: 'ins' }, 1);
    addon.QXPlayer_deleteSegment(h, 0);
    assert.equal(addon.QXPlayer_markVideoPoint(h, { segmentIndex: 2, pos: 2 ** 35, autoPause: 1 }), true);
    assert.equal(ops('InsertSegment')[0].args[1], 1);
    assert.deepEqual(ops('DeleteSegment')[0].args, [0]);
    assert.deepEqual(ops('MarkVideoPoint')[0].args[0], { segment_index: 2, pos: 2 ** 35, auto_pause: true, use_video: false });
  });

  addon.QXPlayer_destroy(h);
});

test('events', async (t) => {
  sim.reset();

  await t.test('reach the callback object by method name, with their arguments', async () => {
    const h = newPlayer();
    const got = [];
    const cb = {
      OnPrepared(...a) { got.push(['OnPrepared', this === cb, ...a]); },
      OnInfo(...a) { got.push(['OnInfo', ...a]); },
      OnVideoPointHit(p) { got.push(['OnVideoPointHit', p]); },
      OnSubtitle(s) { got.push(['OnSubtitle', s]); },
      OnVideoSizeChanged(...a) { got.push(['OnVideoSizeChanged', ...a]); },
    };
    addon.QXPlayer_setCallback(h, cb);
    const p = `player:${idOf(h)}`;
    assert.ok(sim.fire(`${p}.OnPrepared`, []));
    sim.fire(`${p}.OnInfo`, [3, 2 ** 40, 'text']);
    sim.fire(`${p}.OnVideoPointHit`, [1, 2 ** 34, true, false]);
    sim.fire(`${p}.OnSubtitle`, ['hello', true]);
    sim.fire(`${p}.OnVideoSizeChanged`, [640, 360, 1, 1]);
    sim.fire(`${p}.OnPlaybackStateChanged`, [3]);
    await waitFor(() => got.length === 5);
    assert.deepEqual(got, [
      ['OnPrepared', true],
      ['OnInfo', 3, 2 ** 40, 'text'],
      ['OnVideoPointHit', { segmentIndex: 1, pos: 2 ** 34, autoPause: true, useVideo: false }],
      ['OnSubtitle', { text: 'hello', show: true }],
      ['OnVideoSizeChanged', 640, 360, 1, 1],
    ]);
    addon.QXPlayer_destroy(h);
  });

  await t.test('methods are looked up at delivery; missing ones and a missing object are skipped', async () => {
    const h = newPlayer();
    const p = `player:${idOf(h)}`;
    sim.fire(`${p}.OnCompleted`, []); // no callback object yet
    const cb = {};
    addon.QXPlayer_setCallback(h, cb);
    sim.fire(`${p}.OnCompleted`, []); // no such method
    let n = 0;
    sim.fire(`${p}.OnBufferingUpdated`, [50]);
    cb.OnBufferingUpdated = (v) => { n += v; }; // added after the event was queued
    await waitFor(() => n === 50);
    addon.QXPlayer_destroy(h);
  });

  await t.test('events in flight when the player is destroyed are dropped, never delivered', async () => {
    const h = newPlayer();
    let after = 0;
    let destroyed = false;
    addon.QXPlayer_setCallback(h, { OnBufferingUpdated() { if (destroyed) after++; } });
    const flood = sim.fireMany(`player:${idOf(h)}.OnBufferingUpdated`, [1], 20000, 4);
    await new Promise((r) => setTimeout(r, 2));
    destroyed = true;
    assert.equal(addon.QXPlayer_destroy(h), true);
    await flood;
    await new Promise((r) => setTimeout(r, 50));
    assert.equal(after, 0);
    assert.ok(!sim.held().some((n) => n.startsWith(`player:`)));
  });
});
