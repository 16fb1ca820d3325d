'use strict';
// Room replay and the replay downloader through the stand-in's journal, its
// recorded class (manual clock), its held completions and its firers.
const test = require('node:test');
const assert = require('node:assert/strict');
const addon = require('..');
const sim = require('../sim');
const { waitFor, runFixture, lastJson, underAsan, leakChecked } = require('./helpers');

const TEACHER = { bizType: 1, userId: 10000000001, groupId: 0 };
const STUDENT = { bizType: 1, userId: 10000000002, groupId: 3 };
const ROOM_ID = 2 ** 40 + 3;
const settle = (ms = 50) => new Promise((r) => setTimeout(r, ms));
const text = (data) => Buffer.from(data).toString('latin1');
const streamKey = (s) => `${s.bizType}:${s.userId}:${s.groupId}`;

// A room entered by the add-on; `n` numbers its firers (replayRoom:<n>.).
function enter(listener = {}, info = {}) {
  const h = addon.QXReplay_enterRoom({ roomId: ROOM_ID, ...info }, listener);
  assert.ok(Number.isSafeInteger(h) && h > 2 ** 32, String(h));
  const n = Math.max(...sim.replayRooms().map((r) => r.id));
  return { h, n, fire: (what, args = [], thread = 0) => assert.ok(sim.fire(`replayRoom:${n}.${what}`, args, thread), what) };
}

// What a render object was given, each frame's pixels copied (the buffer is reused).
function recorder() {
  const frames = [];
  const buffers = [];
  return {
    frames,
    buffers,
    render: {
      OnVideoRenderFrame(f) {
        buffers.push(f.buffer);
        frames.push({ ...f, bytes: Buffer.from(new Uint8Array(f.buffer)) });
      },
    },
  };
}

// An I420 frame's luma as ABGR whose green bytes readReplayFrame reads.
function lumaAsAbgr(i420, width, height) {
  const out = new Uint8Array(width * height * 4);
  for (let i = 0; i < width * height; i++) out[i * 4 + 1] = i420[i];
  return out;
}

test.beforeEach(() => {
  sim.reset();
  sim.setReplayClock(true);
});

test.describe('rooms', () => {
  test('enter journals the room info with 64-bit values; leave destroys the engine and what it was handed', () => {
    const r = enter({}, { host: 'h', signature: 's', businessId: 'b', isAdmin: true, live: true, timeToPlayMs: 2 ** 33 + 5, forceFlushMetaInfo: true });
    const [create] = sim.journal('korin.replay.ReplayEngine.Create');
    assert.deepEqual(create.args, ['ptr']);
    const [entered] = sim.journal('korin.replay.ReplayEngine.EnterRoom');
    assert.deepEqual(entered.args, [{
      host: 'h', room_id: ROOM_ID, signature: 's', business_id: 'b', is_admin: true, is_slim: false, live: true,
      time_to_play_ms: 2 ** 33 + 5, force_flush_meta_info: true,
    }]);
    addon.QXReplay_videoStartReceive(r.h, TEACHER, { OnVideoRenderFrame() {} }, {});
    addon.QXReplay_audioStartReceive(r.h, TEACHER, { onActionStatus() {} });
    assert.deepEqual(sim.objects().replayVideoSinks, 1);
    assert.equal(addon.QXReplay_leaveRoom(r.h), undefined);
    assert.equal(sim.journal('korin.replay.ReplayEngine.Destroy').length, 1);
    const o = sim.objects();
    assert.deepEqual([o.roomReplayEngines, o.replayEngineCallbacks, o.replayVideoSinks, o.replayActionStatusCallbacks], [0, 0, 0, 0]);
  });

  test('an engine that cannot be made answers 0 and leaves nothing allocated', () => {
    sim.script('korin.replay.ReplayEngine.Create', false, 1);
    assert.equal(addon.QXReplay_enterRoom({ roomId: 1 }, {}), 0);
    assert.deepEqual(sim.journal('korin.replay.ReplayEngine.EnterRoom'), []);
    assert.equal(sim.objects().replayEngineCallbacks, 0);
    assert.equal(sim.objects().roomReplayEngines, 0);
  });

  test('a key of another type is a TypeError and nothing is made; absent keys keep their defaults', () => {
    assert.throws(() => addon.QXReplay_enterRoom({ roomId: 'seven' }, {}), TypeError);
    assert.deepEqual(sim.journal('korin.replay.ReplayEngine.Create'), []);
    const r = enter({}, {});
    assert.deepEqual(sim.journal('korin.replay.ReplayEngine.EnterRoom')[0].args[0].host, '');
    assert.throws(() => addon.QXReplay_videoStartReceive(r.h, { userId: '1' }, {}, {}), TypeError);
    assert.deepEqual(sim.journal('korin.replay.ReplayEngine.VideoStartReceive'), []);
    addon.QXReplay_leaveRoom(r.h);
  });

  test('stale, forged and malformed numbers journal nothing and get the neutral answers', () => {
    const old = enter();
    addon.QXReplay_leaveRoom(old.h);
    const live = enter();  // made between the leave and the old number's reuse
    sim.clearJournal();
    sim.clearLogLines();
    for (const h of [old.h, live.h + 1, 2 ** 53, -live.h, live.h + 0.5, NaN, 0]) {
      assert.equal(addon.QXReplay_play(h), undefined);
      assert.equal(addon.QXReplay_seekTo(h, 1, () => assert.fail('called')), undefined);
      assert.equal(addon.QXReplay_getState(h), false);
      assert.equal(addon.QXReplay_getSpeechOutputLevel(h, TEACHER), 0);
      assert.equal(addon.QXReplay_leaveRoom(h), undefined);
    }
    assert.deepEqual(sim.journal(/korin\.replay/), []);
    assert.ok(sim.logLines().some((l) => l.text === 'QXReplay_play: not a live replay room handle'));
    assert.equal(addon.QXReplay_getState(live.h).roomId, ROOM_ID, 'the live room was left alone');
    addon.QXReplay_leaveRoom(live.h);
  });

  test('the whole state: streams as BizInfo with 64-bit user ids, the error as an object', () => {
    const r = enter({}, { timeToPlayMs: 1200 });
    sim.advanceReplayClock(20);
    addon.QXReplay_setPlayRate(r.h, 2);
    addon.QXReplay_play(r.h);
    sim.advanceReplayClock(500);
    assert.deepEqual(addon.QXReplay_getState(r.h), {
      roomId: ROOM_ID, live: false, timeToPlayMs: 1200, state: 3, seeking: false, buffering: false, playRate: 2,
      positionMs: 2200, durationMs: 60000, videoStreams: [TEACHER, STUDENT], audioStreams: [TEACHER, STUDENT],
      error: { errorCode: 0, subCode: 0 },
    });
    assert.deepEqual(sim.journal('korin.replay.ReplayEngine.SetPlayRate')[0].args, [2]);
    addon.QXReplay_setMute(r.h, true);
    assert.deepEqual(sim.journal('korin.replay.ReplayEngine.SetMute')[0].args, [true]);
    addon.QXReplay_leaveRoom(r.h);
    sim.script('korin.replay.ReplayEngine.EnterRoom', 9, 1);
    const failed = enter({});
    sim.advanceReplayClock(20);
    assert.deepEqual(addon.QXReplay_getState(failed.h).error, { errorCode: 9, subCode: 1 });
    addon.QXReplay_leaveRoom(failed.h);
  });

  test('speech level: the engine\'s number; bad arguments answer 0 without a throw; spatial audio does nothing', () => {
    const r = enter();
    sim.script('korin.replay.ReplayEngine.GetSpeechOutputLevel', 42);
    assert.equal(addon.QXReplay_getSpeechOutputLevel(r.h, TEACHER), 42);
    assert.deepEqual(sim.journal('korin.replay.ReplayEngine.GetSpeechOutputLevel')[0].args, [{ biz_type: 1, user_id: 10000000001, group_id: 0 }]);
    for (const args of [[], [r.h], [r.h, 3], ['x', TEACHER], [r.h, { userId: 'x' }]]) {
      assert.equal(addon.QXReplay_getSpeechOutputLevel(...args), 0, JSON.stringify(args));
    }
    assert.equal(sim.journal('korin.replay.ReplayEngine.GetSpeechOutputLevel').length, 1);
    for (const args of [[], [r.h, 1, 2, 3], ['x', {}, null]]) assert.equal(addon.QXReplay_setSpatialAudioPosition(...args), undefined);
    addon.QXReplay_leaveRoom(r.h);
  });
});

test.describe('events and chunks', () => {
  test('the meta, then the snapshot as chunk objects; bytes copied before the engine reuses them', async () => {
    const got = [];
    const r = enter({
      onMetaResolved: () => got.push(['meta']),
      onSnapshotWithChunkData: (chunks) => got.push(['snapshot', chunks.map((c) => [c.npt, text(c.data)])]),
      onSnapshot: () => got.push(['plain snapshot']),
    }, { timeToPlayMs: 1200 });
    sim.advanceReplayClock(20);
    await waitFor(() => got.length === 2);
    const expected = sim.replayChunks('snapshot', 1200, 0, 60000, ROOM_ID).map((c) => [c.npt, c.data.toString('latin1')]);
    assert.equal(expected.length, 2);
    assert.deepEqual(got, [['meta'], ['snapshot', expected]]);
    addon.QXReplay_leaveRoom(r.h);
  });

  test('without the ...WithChunkData method each chunk is an ArrayBuffer; with it, the plain method is not called', async () => {
    const plain = [];
    const withData = [];
    const a = enter({ onUserData: (list) => plain.push(list), onRadioMessage: (list) => plain.push(list) });
    const b = enter({ onUserDataWithChunkData: (list) => withData.push(list), onUserData: () => assert.fail('plain method called') });
    const bytes = new Uint8Array([0x75, 0, 0xff, 0x41]);
    a.fire('OnUserData', [500, bytes, 2 ** 40 + 1, 'second']);
    a.fire('OnRadioMessage', [7, 'r']);
    b.fire('OnUserData', [500, bytes, 2 ** 40 + 1, 'second']);
    b.fire('OnRadioMessage', [7, 'nobody listens']);
    await waitFor(() => plain.length === 2 && withData.length === 1);
    assert.ok(plain[0].every((x) => x instanceof ArrayBuffer));
    assert.deepEqual(plain.map((l) => l.map(text)), [['u\u0000\u00ffA', 'second'], ['r']]);
    assert.deepEqual(withData[0].map((c) => [c.npt, text(c.data)]), [[500, 'u\u0000\u00ffA'], [2 ** 40 + 1, 'second']]);
    assert.ok(withData[0][0].data instanceof ArrayBuffer);
    addon.QXReplay_leaveRoom(a.h);
    addon.QXReplay_leaveRoom(b.h);
  });

  test('play delivers the class\'s user data and radio messages as they pass, in play order', async () => {
    const got = { user: [], radio: [] };
    const r = enter({
      onUserDataWithChunkData: (l) => got.user.push(...l.map((c) => [c.npt, text(c.data)])),
      onRadioMessage: (l) => got.radio.push(...l.map(text)),
      onBufferStarted() {}, onBufferEnded() {}, onCompleted() {}, onMetaResolved() {},
    });
    sim.advanceReplayClock(20);
    addon.QXReplay_play(r.h);
    sim.advanceReplayClock(7100);
    const user = sim.replayChunks('user', 0, 7100).map((c) => [c.npt, c.data.toString('latin1')]);
    const radio = sim.replayChunks('radio', 0, 7100).map((c) => c.data.toString('latin1'));
    await waitFor(() => got.user.length === user.length && got.radio.length === radio.length);
    assert.deepEqual(got, { user, radio });
    addon.QXReplay_leaveRoom(r.h);
  });
});

test.describe('seeks and fetches', () => {
  test('two seeks completed in reverse order, one of them twice: each callback once, in completion order', async () => {
    sim.setReplayCompletions({ hold: true });
    const got = [];
    const r = enter();
    addon.QXReplay_seekTo(r.h, 1000, () => got.push('first'));
    addon.QXReplay_seekTo(r.h, 2 ** 33, (...args) => got.push(['second', args.length]));
    assert.deepEqual(sim.journal('korin.replay.ReplayEngine.SeekTo').map((e) => e.args), [[1000, 'ptr'], [2 ** 33, 'ptr']]);
    r.fire('seek#2');
    r.fire('seek#1');
    r.fire('seek#1');
    r.fire('seek#2');
    await settle();
    assert.deepEqual(got, [['second', 0], 'first']);
    addon.QXReplay_leaveRoom(r.h);
  });

  test('an event posted before a completion arrives before it', async () => {
    sim.setReplayCompletions({ hold: true });
    const got = [];
    const r = enter({ onBufferEnded: () => got.push('buffer ended') });
    addon.QXReplay_seekTo(r.h, 10, () => got.push('sought'));
    r.fire('OnBufferEnded', [], 3);
    r.fire('seek#1', [], 5);
    await waitFor(() => got.length === 2);
    assert.deepEqual(got, ['buffer ended', 'sought']);
    addon.QXReplay_leaveRoom(r.h);
  });

  test('fetches answer chunk objects in the engine\'s order, once; the class\'s when timed', async () => {
    const got = [];
    const r = enter();
    addon.QXReplay_fetchUserData(r.h, 0, 3000, (chunks) => got.push(['user', chunks.map((c) => [c.npt, text(c.data)])]));
    addon.QXReplay_fetchRadioData(r.h, 0, 8000, (chunks) => got.push(['radio', chunks.map((c) => c.npt)]));
    assert.deepEqual(sim.journal('korin.replay.ReplayEngine.FetchUserData')[0].args, [0, 3000, 'ptr']);
    sim.advanceReplayClock(20);
    await waitFor(() => got.length === 2);
    got.sort();
    assert.deepEqual(got, [
      ['radio', [2000, 7000]],
      ['user', sim.replayChunks('user', 0, 3000).map((c) => [c.npt, c.data.toString('latin1')])],
    ]);

    sim.setReplayCompletions({ hold: true });
    const held = [];
    addon.QXReplay_fetchUserData(r.h, 0, 1, (chunks) => held.push(chunks.map((c) => [c.npt, [...new Uint8Array(c.data)]])));
    const [k] = sim.held().filter((name) => name.startsWith(`replayRoom:${r.n}.fetchUserData#`)).map((name) => name.split('#')[1]);
    r.fire(`fetchUserData#${k}`, [2 ** 33, new Uint8Array([0, 1, 2]), 7, 'x']);
    r.fire(`fetchUserData#${k}`, [1, 'again']);
    await settle();
    assert.deepEqual(held, [[[2 ** 33, [0, 1, 2]], [7, [0x78]]]]);
    addon.QXReplay_leaveRoom(r.h);
  });

  test('completions after leave find nothing: callbacks owed at leave are never called', async () => {
    sim.setReplayCompletions({ hold: true, afterLeave: true });
    let called = 0;
    const r = enter();
    addon.QXReplay_seekTo(r.h, 100, () => called++);
    addon.QXReplay_fetchUserData(r.h, 0, 100, () => called++);
    addon.QXReplay_fetchRadioData(r.h, 0, 100, () => called++);
    // One answer already on its way when the room goes.
    r.fire('seek#1');
    addon.QXReplay_leaveRoom(r.h);
    for (const what of ['seek#1', 'fetchUserData#1', 'fetchRadioData#1']) assert.ok(sim.fire(`replayRoom:${r.n}.${what}`, [1, 'late']), what);
    await settle(100);
    assert.equal(called, 0);
  });

  test('a seek or fetch the engine refuses never calls back (and owes nothing)', async () => {
    sim.script('korin.replay.ReplayEngine.EnterRoom', 3, 1);
    let called = 0;
    const r = enter();
    sim.advanceReplayClock(20);
    addon.QXReplay_seekTo(r.h, 100, () => called++);
    sim.script('korin.replay.ReplayEngine.FetchUserData', -1, 1);
    addon.QXReplay_fetchUserData(r.h, 0, 100, () => called++);
    sim.advanceReplayClock(500);
    await settle(100);
    assert.equal(called, 0);
    addon.QXReplay_leaveRoom(r.h);
  });
});

test.describe('video and audio', () => {
  test('sink (the default): ABGR pixels of the frame, one ArrayBuffer while the size holds, a new one when it changes', async () => {
    const r = enter();
    sim.advanceReplayClock(20);
    const v = recorder();
    addon.QXReplay_videoStartReceive(r.h, TEACHER, v.render, { unused: true });
    assert.deepEqual(sim.journal('korin.replay.ReplayEngine.VideoStartReceive')[0].args, [{ biz_type: 1, user_id: 10000000001, group_id: 0 }, 'ptr']);
    await settle();
    v.frames.length = 0;
    v.buffers.length = 0;
    const video = `video:${streamKey(TEACHER)}`;
    r.fire(video, [1234]);
    await waitFor(() => v.frames.length === 1);
    r.fire(video, [2345]);
    await waitFor(() => v.frames.length === 2);
    r.fire(video, [3456, 320, 180]);
    await waitFor(() => v.frames.length === 3);
    const [a, b, c] = v.frames;
    assert.deepEqual([a.width, a.height, a.rotation, a.format, a.bytes.length], [640, 360, 0, 'abgr', 640 * 360 * 4]);
    for (const [f, pos] of [[a, 1234], [b, 2345], [c, 3456]]) {
      const seen = sim.readReplayFrame(f.bytes, f.width, f.height);
      assert.equal(seen.positionMs, pos);
      const expected = sim.replayPictureAbgr(f.width, f.height, { positionMs: pos, durationMs: 60000, frame: seen.frame });
      assert.ok(Buffer.from(expected).equals(f.bytes), `pixels of the frame at ${pos}`);
    }
    assert.equal(v.buffers[0], v.buffers[1], 'same size, same ArrayBuffer');
    assert.notEqual(v.buffers[1], v.buffers[2]);
    addon.QXReplay_leaveRoom(r.h);
  });

  test('receiver (replayVideoRefactor20251118 off): the planes packed as I420', async () => {
    sim.setSourceFlags({ replayVideoRefactor20251118: false });
    const r = enter();
    sim.setSourceFlags({ replayVideoRefactor20251118: true });  // read when the room was made
    sim.advanceReplayClock(20);
    const v = recorder();
    addon.QXReplay_videoStartReceive(r.h, STUDENT, v.render, {});
    await settle();
    v.frames.length = 0;
    r.fire(`video:${streamKey(STUDENT)}`, [4321, 161, 91]);
    await waitFor(() => v.frames.length === 1);
    const [f] = v.frames;
    assert.deepEqual([f.width, f.height, f.format, f.bytes.length], [161, 91, 'i420', 161 * 91 + 2 * 81 * 46]);
    const seen = sim.readReplayFrame(lumaAsAbgr(f.bytes, 161, 91), 161, 91);
    assert.equal(seen.positionMs, 4321);
    const expected = sim.replayPicture(161, 91, { role: 'student', positionMs: 4321, durationMs: 60000, frame: seen.frame });
    assert.ok(Buffer.from(expected).equals(f.bytes));
    addon.QXReplay_leaveRoom(r.h);
  });

  test('a second start reuses the stream\'s output, bound to the new render object; nothing after stop', async () => {
    const r = enter();
    sim.advanceReplayClock(20);
    const first = recorder();
    const second = recorder();
    addon.QXReplay_videoStartReceive(r.h, TEACHER, first.render, {});
    addon.QXReplay_videoStartReceive(r.h, TEACHER, second.render, {});
    const sinks = sim.journal('korin.replay.ReplayEngine.VideoStartReceive').map((e) => e.args[1]);
    assert.equal(sinks.length, 2);
    assert.equal(sim.objects().replayVideoSinks, 1, 'one output for the stream');
    await settle();
    first.frames.length = 0;
    second.frames.length = 0;
    const video = `video:${streamKey(TEACHER)}`;
    r.fire(video, [100]);
    await waitFor(() => second.frames.length === 1);
    assert.equal(first.frames.length, 0);
    // A frame queued for the JavaScript thread when the stream stops.
    r.fire(video, [200]);
    addon.QXReplay_videoStopReceive(r.h, TEACHER);
    await settle(100);
    assert.equal(second.frames.length, 1);
    assert.equal(sim.replayRooms()[0].video.length, 0);
    addon.QXReplay_leaveRoom(r.h);
  });

  test('JavaScript stalled 2 s at 60 fps: one frame waits, the newest arrives first, memory stays flat', async (t) => {
    sim.setReplayClass({ fps: 60 });
    const r = enter();
    sim.advanceReplayClock(20);
    const v = recorder();
    addon.QXReplay_videoStartReceive(r.h, TEACHER, v.render, {});
    addon.QXReplay_play(r.h);
    await waitFor(() => v.frames.length > 3);
    const before = process.memoryUsage().rss;
    const seenBefore = v.frames.length;
    const end = Date.now() + 2000;
    while (Date.now() < end) { /* JavaScript is busy */ }
    const produced = sim.replayRooms().find((x) => x.id === r.n).video[0].frames;
    await waitFor(() => v.frames.length > seenBefore);
    const growth = (process.memoryUsage().rss - before) / 2 ** 20;
    t.diagnostic(`after the stall: ${produced} frames made, RSS +${growth.toFixed(1)} MB`);
    const next = v.frames[seenBefore];
    assert.ok(sim.readReplayFrame(next.bytes, 640, 360).frame >= produced - 1, 'the newest frame first');
    await settle(100);
    assert.ok(v.frames.length - seenBefore < 30, `${v.frames.length - seenBefore} frames after the stall`);
    if (!underAsan()) assert.ok(growth < 16, `RSS grew ${growth.toFixed(1)} MB`);
    addon.QXReplay_leaveRoom(r.h);
  });

  test('action statuses reach the audio listener; without one the engine is handed none; nothing after stop', async () => {
    const got = [];
    const r = enter();
    addon.QXReplay_audioStartReceive(r.h, TEACHER, { onActionStatus: (s) => got.push(s) });
    addon.QXReplay_audioStartReceive(r.h, STUDENT);
    assert.deepEqual(sim.journal('korin.replay.ReplayEngine.AudioStartReceive').map((e) => e.args[1]), ['ptr', null]);
    const status = `audio:${streamKey(TEACHER)}.OnActionStatus`;
    r.fire(status, [2, 2 ** 33, 'wave']);
    await waitFor(() => got.length === 1);
    assert.deepEqual(got, [{ actionType: 2, durationMs: 2 ** 33, extraData: 'wave' }]);
    r.fire(status, [3, 1, 'queued at the stop']);
    addon.QXReplay_audioStopReceive(r.h, TEACHER);
    await settle();
    assert.equal(got.length, 1);
    assert.equal(sim.objects().replayActionStatusCallbacks, 1, 'kept until the engine is destroyed');
    addon.QXReplay_leaveRoom(r.h);
    assert.equal(sim.objects().replayActionStatusCallbacks, 0);
  });
});

test.describe('downloader', () => {
  const ROOM = { roomId: 2 ** 40 + 9, businessId: 'b' };
  const downloaders = () => sim.replayDownloaders();

  test('init: absent keys keep the defaults, 64-bit user id; isInitialized; a failed init is destroyed and answers 0', () => {
    const a = addon.QXReplay_downloader_init({});
    const b = addon.QXReplay_downloader_init({ maxParallelDownloads: 4, userId: 2 ** 40 + 1 });
    assert.ok(a > 0 && b > 0 && a !== b);
    assert.deepEqual(sim.journal('korin.replay.ReplayDownloader.Initialize').map((e) => e.args[0]),
      [{ max_parallel_downloads: 2, user_id: 0 }, { max_parallel_downloads: 4, user_id: 2 ** 40 + 1 }]);
    assert.equal(addon.QXReplay_downloader_isInitialized(a), true);
    assert.throws(() => addon.QXReplay_downloader_init({ userId: 'x' }), TypeError);
    sim.script('korin.replay.ReplayDownloader.Initialize', false, 1);
    assert.equal(addon.QXReplay_downloader_init({}), 0);
    assert.equal(sim.journal('korin.replay.ReplayDownloader.Destroy').length, 1);
    assert.equal(sim.objects().replayDownloaders, 2);
    addon.QXReplay_downloader_destroy(a);
    addon.QXReplay_downloader_destroy(b);
    assert.equal(addon.QXReplay_downloader_isInitialized(a), false);
    assert.equal(addon.QXReplay_downloader_getTemporaryCacheSizeSync(a), 0);
    assert.equal(sim.objects().replayDownloaders, 0);
    addon.QXReplay_downloader_setCacheDirectory('/tmp/replays', 2 ** 33);
    assert.deepEqual(sim.journal('korin.replay.ReplayDownloader.SetCacheDirectory')[0].args, ['/tmp/replays', 2 ** 33]);
  });

  test('requests and statuses with every key; actions journalled with their records and flags', async () => {
    const d = addon.QXReplay_downloader_init({});
    addon.QXReplay_downloader_addDownloadRequest(d, { host: 'h', roomInfo: ROOM, signature: 's', spans: [{ startNpt: 0, endNpt: 2 }] });
    addon.QXReplay_downloader_pause(d, ROOM);
    addon.QXReplay_downloader_resume(d, ROOM);
    addon.QXReplay_downloader_pauseAll(d);
    addon.QXReplay_downloader_resumeAll(d);
    addon.QXReplay_downloader_removeTemporaryCache(d, true);
    const ops = sim.journal(/ReplayDownloader\.(Pause|Resume|RemoveTemporaryCache)/).map((e) => [e.op.split('.').pop(), e.args]);
    const wire = { room_id: ROOM.roomId, business_id: 'b', is_slim: false, is_admin: false };
    assert.deepEqual(ops, [['Pause', [wire]], ['Resume', [wire]], ['PauseAll', []], ['ResumeAll', []], ['RemoveTemporaryCache', [true]]]);
    assert.throws(() => addon.QXReplay_downloader_pause(d, { roomId: [] }), TypeError);
    assert.equal(sim.journal('korin.replay.ReplayDownloader.Pause').length, 1, 'not called after the TypeError');
    const got = [];
    addon.QXReplay_downloader_getDownloadStatus(d, (s) => got.push(s));
    addon.QXReplay_downloader_getTemporaryCacheSize(d, (bytes) => got.push(bytes));
    assert.equal(addon.QXReplay_downloader_getTemporaryCacheSizeSync(d), 0);
    const n = downloaders()[0].id;
    assert.ok(sim.fire(`replayDownloader:${n}.getDownloadStatus`));
    assert.ok(sim.fire(`replayDownloader:${n}.getTemporaryCacheSize`, [2 ** 33 + 1]));
    await waitFor(() => got.length === 2);
    assert.deepEqual(got, [[{
      request: { host: 'h', roomInfo: { ...ROOM, isSlim: false, isAdmin: false }, signature: 's', enableEvicted: false, spans: [{ startNpt: 0, endNpt: 2 }], startNpt: 0, endNpt: 0 },
      downloadSize: 0, totalSize: 2000, state: 1, error: 0,
    }], 2 ** 33 + 1]);
    addon.QXReplay_downloader_remove(d, ROOM, true);
    addon.QXReplay_downloader_removeWithRoomId(d, ROOM, false);
    addon.QXReplay_downloader_removeAll(d, true);
    assert.deepEqual(sim.journal(/ReplayDownloader\.Remove(WithRoomId|All)?$/).map((e) => e.args.at(-1)), [true, false, true]);
    addon.QXReplay_downloader_destroy(d);
  });

  test('two downloaders apart: each answers its own queries', async () => {
    const a = addon.QXReplay_downloader_init({});
    const b = addon.QXReplay_downloader_init({});
    const got = [];
    addon.QXReplay_downloader_getTemporaryCacheSize(a, (n) => got.push(['a', n]));
    addon.QXReplay_downloader_getTemporaryCacheSize(b, (n) => got.push(['b', n]));
    const [na, nb] = downloaders().map((x) => x.id).sort((x, y) => x - y);
    assert.ok(sim.fire(`replayDownloader:${nb}.getTemporaryCacheSize`, [2]));
    await waitFor(() => got.length === 1);
    await settle();
    assert.deepEqual(got, [['b', 2]]);
    assert.ok(sim.fire(`replayDownloader:${na}.getTemporaryCacheSize`, [1]));
    await waitFor(() => got.length === 2);
    assert.deepEqual(got[1], ['a', 1]);
    addon.QXReplay_downloader_destroy(a);
    addon.QXReplay_downloader_destroy(b);
  });

  test('destroy: an answer already given still arrives, a query never answered is let go uncalled', async () => {
    const d = addon.QXReplay_downloader_init({});
    const got = [];
    addon.QXReplay_downloader_getTemporaryCacheSize(d, (n) => got.push(n));
    assert.ok(sim.fire(`replayDownloader:${downloaders()[0].id}.getTemporaryCacheSize`, [5]));
    addon.QXReplay_downloader_getDownloadStatus(d, () => got.push('never'));
    addon.QXReplay_downloader_destroy(d);
    await settle(100);
    assert.deepEqual(got, [5]);
    assert.equal(sim.objects().replayDownloaders, 0);
  });
});

test('teardown with rooms playing, seeks owed and frames in flight, and downloaders with queries owed (child process)', async (t) => {
  for (const mode of ['main', 'worker']) {
    await t.test(mode, async () => {
      const r = await runFixture('qx-replay-teardown.js', [mode], 90000, leakChecked());
      assert.equal(r.signal, null, r.stderr);
      assert.equal(r.code, 0, r.stderr);
      const out = lastJson(r.stdout);
      assert.ok(out.frames > 5, `frames were in flight: ${out.frames}`);
      if (mode === 'worker') assert.deepEqual({ ...out, frames: 0 }, { frames: 0, rooms: 0, downloaders: 0, sinks: 0, callbacks: 0 });
    });
  }
});

test('leaks: 500 rooms entered, sought, fetched from and left', async (t) => {
  const round = async (count) => {
    for (let i = 0; i < count; i++) {
      const h = addon.QXReplay_enterRoom({ roomId: i + 1 }, { onUserData() {} });
      addon.QXReplay_videoStartReceive(h, TEACHER, { OnVideoRenderFrame() {} }, {});
      addon.QXReplay_audioStartReceive(h, STUDENT, { onActionStatus() {} });
      addon.QXReplay_seekTo(h, 100, () => {});
      addon.QXReplay_fetchUserData(h, 0, 5000, () => {});
      const d = addon.QXReplay_downloader_init({});
      addon.QXReplay_downloader_getDownloadStatus(d, () => {});
      addon.QXReplay_downloader_destroy(d);
      if (i % 10 === 9) await settle(1);
      addon.QXReplay_leaveRoom(h);
    }
  };
  await round(100);
  global.gc?.();
  const before = process.memoryUsage().rss;
  await round(500);
  await settle(100);
  const growth = (process.memoryUsage().rss - before) / 2 ** 20;
  t.diagnostic(`RSS growth over 500 rounds: ${growth.toFixed(1)} MB`);
  const o = sim.objects();
  assert.deepEqual([o.roomReplayEngines, o.replayEngineCallbacks, o.replayVideoSinks, o.replayActionStatusCallbacks, o.replayDownloaders],
    [0, 0, 0, 0, 0]);
  if (!underAsan()) assert.ok(growth < 16, `RSS grew ${growth.toFixed(1)} MB`);
});
