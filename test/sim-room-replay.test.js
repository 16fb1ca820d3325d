'use strict';
// The stand-in's room replay, driven through probes (clients of the engine's
// public replay API in the control module) on the manual clock. The add-on's
// tests will trust what is checked here: the clock, the chunk timeline, the
// frames' pixels, how completions arrive, the downloader and the counts.
const test = require('node:test');
const assert = require('node:assert/strict');
const sim = require('../sim');
const { waitFor, runFixture, lastJson, underAsan, leakChecked } = require('./helpers');

const TEACHER = { bizType: 1, userId: 10000000001, groupId: 0 };
const STUDENT = { bizType: 1, userId: 10000000002, groupId: 3 };
const ROOM_ID = 2 ** 40 + 3;

// A probe's room, entered; `n` numbers its firers (replayRoom:<n>.).
function enter(info = {}) {
  const id = sim.probeReplay('create');
  assert.ok(id > 0);
  const call = (op, ...args) => sim.probeReplay(op, id, ...args);
  call('enterRoom', { roomId: ROOM_ID, ...info });
  const n = Math.max(...sim.replayRooms().map((r) => r.id));
  return { id, n, call, events: () => sim.probeEvents(id), state: () => call('getState') };
}
const advance = (ms) => sim.advanceReplayClock(ms);
const names = (events) => events.map((e) => e.event);
const chunks = (events, event) => events.filter((e) => e.event === event).flatMap((e) => e.chunks);
const npts = (list) => list.map((c) => c.npt);

test.beforeEach(() => {
  sim.reset();
  sim.setReplayClock(true);
});

test.describe('the clock', () => {
  test('meta and snapshot after the enter delay; play, rate and pause move the position', () => {
    const r = enter({ timeToPlayMs: 1200 });
    assert.equal(r.state().state, 1);
    assert.equal(r.state().durationMs, 0, 'no meta yet');
    advance(19);
    assert.deepEqual(r.events(), []);
    advance(1);
    const evs = r.events();
    assert.deepEqual(names(evs), ['OnMetaResolved', 'OnSnapshot']);
    assert.deepEqual(evs[1].chunks, sim.replayChunks('snapshot', 1200, 0, 60000, ROOM_ID));
    assert.match(evs[1].chunks[0].data.toString('latin1'), new RegExp(`^snapshot room=${ROOM_ID} npt=1200 part=1\0\xff$`));
    assert.deepEqual([r.state().state, r.state().positionMs, r.state().durationMs], [2, 1200, 60000]);

    assert.equal(r.call('play'), 0);
    advance(1000);
    assert.deepEqual([r.state().state, r.state().positionMs], [3, 2200]);
    assert.equal(r.call('setPlayRate', 2), 0);
    advance(250);
    assert.equal(r.state().positionMs, 2700);
    assert.equal(r.call('setPlayRate', 0.5), 0);
    advance(100);
    assert.equal(r.state().positionMs, 2750);
    for (const bad of [0, -1, NaN, 17]) assert.equal(r.call('setPlayRate', bad), -1, `rate ${bad}`);
    assert.equal(r.state().playRate, 0.5);
    r.call('pause');
    advance(5000);
    assert.deepEqual([r.state().state, r.state().positionMs], [2, 2750]);
  });

  test('a seek buffers: the position jumps, stays while buffering, then play goes on from it', () => {
    const r = enter();
    advance(20);
    r.call('play');
    advance(500);
    r.events();
    const { result } = r.call('seekTo', 30000);
    assert.equal(result, 0);
    let s = r.state();
    assert.deepEqual([s.positionMs, s.seeking, s.buffering, s.state], [30000, true, true, 3]);
    advance(99);
    assert.equal(r.state().positionMs, 30000, 'frozen while buffering');
    assert.deepEqual(names(r.events()), ['OnBufferStarted']);
    advance(1);
    s = r.state();
    assert.deepEqual([s.seeking, s.buffering], [false, false]);
    assert.deepEqual(names(r.events()), ['OnBufferEnded']);
    advance(20);
    assert.deepEqual(names(r.events()), ['seek']);
    assert.equal(r.state().positionMs, 30020);
    // Out of range: clamped to the class.
    r.call('seekTo', -5);
    assert.equal(r.state().positionMs, 0);
    r.call('seekTo', 2 ** 40);
    assert.equal(r.state().positionMs, 60000);
  });

  test('the end: completed once, at the duration; play starts over', () => {
    sim.setReplayClass({ durationMs: 5000 });
    const r = enter({ timeToPlayMs: 4000 });
    advance(20);
    r.call('setPlayRate', 4);
    r.call('play');
    advance(200);
    assert.equal(r.state().positionMs, 4800);
    advance(10000);
    const s = r.state();
    assert.deepEqual([s.state, s.positionMs], [4, 5000]);
    assert.deepEqual(names(r.events()).filter((e) => e === 'OnCompleted'), ['OnCompleted']);
    advance(1000);
    assert.deepEqual(r.events(), []);
    r.call('play');
    advance(100);
    assert.deepEqual([r.state().state, r.state().positionMs], [3, 400]);
  });

  test('one advance steps every room and returns once each has delivered', () => {
    const a = enter();
    const b = enter({ timeToPlayMs: 5000 });
    advance(20);
    a.call('play');
    b.call('setPlayRate', 2);
    b.call('play');
    advance(1000);
    assert.deepEqual(npts(chunks(a.events(), 'OnUserData')), [500]);
    assert.deepEqual(npts(chunks(b.events(), 'OnUserData')), [5500, 6500]);
    assert.deepEqual([a.state().positionMs, b.state().positionMs], [1000, 7000]);
  });

  test('before EnterRoom the engine refuses play, seeks and fetches', () => {
    const id = sim.probeReplay('create');
    for (const op of ['play', 'pause']) assert.equal(sim.probeReplay(op, id), -1, op);
    assert.equal(sim.probeReplay('seekTo', id, 100).result, -1);
    assert.equal(sim.probeReplay('fetchUserData', id, 0, 1000).result, -1);
    advance(1000);
    assert.deepEqual(sim.probeEvents(id), [], 'refused completions are never called');
    assert.equal(sim.probeReplay('getState', id).state, 0);
  });
});

test.describe('the timeline', () => {
  test('each chunk play passes is delivered once, in order, with its bytes; skipped ones are not', () => {
    const r = enter({ timeToPlayMs: 300 });
    advance(20);
    r.call('play');
    // Uneven steps and rates, so chunk times fall on and between step edges.
    for (const [rate, step] of [[1, 200], [1, 1000], [2, 130], [2, 370], [1, 1], [1, 2299]]) {
      r.call('setPlayRate', rate);
      advance(step);
    }
    const first = r.state().positionMs;
    assert.equal(first, 300 + 200 + 1000 + 260 + 740 + 1 + 2299);
    r.call('seekTo', 20250);
    advance(100);
    advance(3000);
    const last = r.state().positionMs;
    const evs = r.events();
    const expected = (kind) => [...sim.replayChunks(kind, 300, first), ...sim.replayChunks(kind, 20250, last)];
    assert.deepEqual(chunks(evs, 'OnUserData'), expected('user'));
    assert.deepEqual(chunks(evs, 'OnRadioMessage'), expected('radio'));
    assert.deepEqual(npts(expected('user')).slice(0, 4), [500, 1500, 2500, 3500]);
    assert.deepEqual(npts(expected('radio')), [2000, 22000]);
    // Kinds in play order: the radio message at 2000 between user data 1500 and 2500.
    const order = evs.filter((e) => e.chunks && e.event !== 'OnSnapshot').flatMap((e) => e.chunks.map((c) => c.npt));
    assert.deepEqual(order, [...order].sort((a, b) => a - b));
  });

  test('fetches answer the chunks of their range from the class, whatever the position', () => {
    sim.setReplayCompletions({ delayMs: 5 });
    const r = enter();
    const user = r.call('fetchUserData', 1000, 4500);
    const radio = r.call('fetchRadioData', 0, 60000);
    const none = r.call('fetchUserData', 4000, 1000);
    advance(5);
    const evs = r.events().filter((e) => e.tag);
    const answer = (tag) => evs.find((e) => e.tag === tag);
    assert.deepEqual(answer(user.tag).chunks, sim.replayChunks('user', 1000, 4500));
    assert.deepEqual(npts(answer(user.tag).chunks), [1500, 2500, 3500]);
    assert.equal(answer(radio.tag).chunks.length, 12);
    assert.deepEqual(answer(none.tag).chunks, []);
    assert.equal(answer(user.tag).event, 'fetchUserData');
    assert.equal(answer(radio.tag).event, 'fetchRadioData');
  });
});

test.describe('completions', () => {
  test('timed: after buffering and the delay, in order; times 2 calls each twice, times 0 never', () => {
    sim.setReplayCompletions({ delayMs: 30, times: 2 });
    const r = enter();
    advance(20);
    const a = r.call('seekTo', 1000).tag;
    advance(50);
    const b = r.call('seekTo', 2000).tag;
    advance(100);
    assert.deepEqual(r.events().filter((e) => e.tag).map((e) => e.tag), [a, a]);
    advance(30);
    assert.deepEqual(r.events().filter((e) => e.tag).map((e) => e.tag), [b, b]);
    sim.setReplayCompletions({ times: 0 });
    r.call('seekTo', 3000);
    r.call('fetchRadioData', 0, 9000);
    advance(1000);
    assert.deepEqual(r.events().filter((e) => e.tag), []);
  });

  test('held: fired in any order, twice, with chunks of the firer\'s choice; dropped at destroy', () => {
    sim.setReplayCompletions({ hold: true });
    const r = enter();
    advance(20);
    const s1 = r.call('seekTo', 1000).tag;
    const s2 = r.call('seekTo', 2000).tag;
    const f1 = r.call('fetchUserData', 0, 3000).tag;
    advance(1000);
    const held = sim.held().filter((h) => h.startsWith(`replayRoom:${r.n}.`) && /#/.test(h)).sort();
    assert.deepEqual(held, [`replayRoom:${r.n}.fetchUserData#1`, `replayRoom:${r.n}.seek#1`, `replayRoom:${r.n}.seek#2`]);
    assert.equal(sim.replayRooms()[0].heldCompletions, 3);
    assert.deepEqual(r.events().filter((e) => e.tag), [], 'nothing until fired');
    assert.ok(sim.fire(`replayRoom:${r.n}.seek#2`));
    assert.ok(sim.fire(`replayRoom:${r.n}.seek#1`));
    assert.ok(sim.fire(`replayRoom:${r.n}.seek#1`));
    assert.ok(sim.fire(`replayRoom:${r.n}.fetchUserData#1`, [7, 'x', 2 ** 33, new Uint8Array([0, 1, 2])]));
    assert.ok(sim.fire(`replayRoom:${r.n}.fetchUserData#1`));
    const evs = r.events().filter((e) => e.tag);
    assert.deepEqual(evs.map((e) => e.tag), [s2, s1, s1, f1, f1]);
    assert.deepEqual(evs[3].chunks, [{ npt: 7, data: Buffer.from('x') }, { npt: 2 ** 33, data: Buffer.from([0, 1, 2]) }]);
    assert.deepEqual(evs[4].chunks, sim.replayChunks('user', 0, 3000));
    r.call('destroy');
    assert.deepEqual(sim.held().filter((h) => h.startsWith(`replayRoom:${r.n}.`)), []);
  });

  test('afterLeave: held completions outlive their room and run after its Destroy', () => {
    sim.setReplayCompletions({ hold: true, afterLeave: true });
    const r = enter();
    const tag = r.call('seekTo', 1000).tag;
    r.call('fetchRadioData', 0, 10000);
    r.call('destroy');
    assert.equal(sim.objects().roomReplayEngines, 0);
    assert.ok(sim.fire(`replayRoom:${r.n}.seek#1`));
    assert.ok(sim.fire(`replayRoom:${r.n}.fetchRadioData#1`));
    const evs = r.events().filter((e) => e.tag);
    assert.deepEqual(evs[0], { event: 'seek', tag });
    assert.deepEqual(npts(evs[1].chunks), [2000, 7000]);
    sim.reset();
    assert.equal(sim.fire(`replayRoom:${r.n}.seek#1`), false, 'reset drops them');
  });

  test('held completions fired from four engine threads while and after their room is destroyed', async () => {
    sim.setReplayCompletions({ hold: true, afterLeave: true });
    const r = enter();
    r.call('fetchRadioData', 0, 60000);
    const flood = sim.fireMany(`replayRoom:${r.n}.fetchRadioData#1`, [], 2000, 4);
    r.call('destroy');
    await flood;
    const answers = r.events().filter((e) => e.tag);
    assert.equal(answers.length, 2000);
    const expected = sim.replayChunks('radio', 0, 60000);
    assert.ok(answers.every((a) => a.chunks.length === 12 && a.chunks.every((c, i) => c.data.equals(expected[i].data))));
  });

  test('timed completions still due at Destroy are never called', () => {
    const r = enter();
    advance(20);
    r.call('seekTo', 5000);
    r.call('fetchUserData', 0, 5000);
    assert.equal(sim.replayRooms()[0].pendingCompletions, 2);
    r.call('destroy');
    advance(10000);
    assert.deepEqual(r.events().filter((e) => e.tag), []);
  });
});

test.describe('frames', () => {
  test('the picture shows its position and frame, read back for any size', () => {
    for (const [w, h] of [[32, 8], [33, 9], [321, 181], [640, 360]]) {
      for (const positionMs of [0, 1, 59999, 2 ** 32 - 1]) {
        const abgr = sim.replayPictureAbgr(w, h, { positionMs, frame: 2 ** 31 + 5 });
        assert.deepEqual(sim.readReplayFrame(abgr, w, h), { positionMs, frame: 2 ** 31 + 5 }, `${w}x${h} at ${positionMs}`);
      }
    }
    const a = sim.replayPictureAbgr(64, 36, { positionMs: 1000 });
    assert.notDeepEqual(sim.replayPictureAbgr(64, 36, { positionMs: 1000, role: 'student' }), a, 'roles differ');
    assert.equal(sim.replayPicture(33, 9).length, 33 * 9 + 2 * 17 * 5);
    assert.throws(() => sim.replayPicture(31, 8), RangeError);
  });

  test('received streams get frames of the play position at their sizes, and none after stop', async () => {
    sim.setReplayClass({ fps: 60, student: { width: 160, height: 90 } });
    const r = enter({ timeToPlayMs: 7000 });
    r.call('videoStartReceive', TEACHER);
    r.call('videoStartReceive', STUDENT);
    r.call('videoStartReceive', { ...TEACHER, groupId: 1 });
    advance(20);
    r.call('play');
    advance(4321);
    // Frames drawn from here on were drawn after the step to the new time.
    const [t0, , s0] = sim.probeFrames(r.id).map((f) => f.count);
    await waitFor(() => {
      const [t, , s] = sim.probeFrames(r.id);
      return t.count > t0 && s.count > s0;
    }, 10000, 'frames');
    const frames = sim.probeFrames(r.id);
    const [teacher, stranger, student] = frames;
    assert.equal(stranger.count, 0, 'a stream the class does not have gets nothing');
    for (const [f, role, w, h] of [[teacher, 'teacher', 640, 360], [student, 'student', 160, 90]]) {
      assert.deepEqual([f.width, f.height, f.nptMs], [w, h, 11321]);
      assert.deepEqual(sim.readReplayFrame(f.abgr, w, h), { positionMs: 11321, frame: f.count - 1 });
      assert.ok(f.abgr.equals(sim.replayPictureAbgr(w, h, { role, positionMs: 11321, frame: f.count - 1 })), role);
    }
    r.call('videoStopReceive', TEACHER);
    const stopped = sim.probeFrames(r.id)[0].count;
    await waitFor(() => sim.probeFrames(r.id)[2].count > student.count + 3, 10000, 'student frames');
    assert.equal(sim.probeFrames(r.id)[0].count, stopped);
    // A frame on demand, at a position of the caller's choice; paused first,
    // so that the producer draws nothing over it.
    r.call('pause');
    advance(1);
    assert.ok(sim.fire(`replayRoom:${r.n}.video:1:10000000002:3`, [123456]));
    assert.equal(sim.probeFrames(r.id)[2].nptMs, 123456);
    assert.equal(sim.fire(`replayRoom:${r.n}.video:1:10000000001:0`, [1]), false, 'stopped streams hold no firer');
  });
});

test.describe('audio', () => {
  test('statuses at the stream\'s times while received with a callback; the speech level follows play', () => {
    const r = enter();
    r.call('audioStartReceive', TEACHER);
    r.call('audioStartReceive', STUDENT, false);
    advance(20);
    assert.equal(r.call('getSpeechOutputLevel', TEACHER), 0, 'paused');
    r.call('play');
    advance(4500);
    const statuses = r.events().filter((e) => e.event === 'OnActionStatus');
    assert.deepEqual(statuses.map((s) => [s.stream.userId, s.actionType, s.durationMs, s.extraData]), [
      [TEACHER.userId, 1, 500, `user=${TEACHER.userId} npt=1000`],
      [TEACHER.userId, 2, 600, `user=${TEACHER.userId} npt=4000`],
    ]);
    const level = r.call('getSpeechOutputLevel', TEACHER);
    assert.ok(level >= 10 && level <= 90, `level ${level}`);
    assert.ok(r.call('getSpeechOutputLevel', STUDENT) > 0, 'received without a callback still plays');
    assert.equal(r.call('getSpeechOutputLevel', { ...STUDENT, groupId: 0 }), 0);
    r.call('setMute', true);
    assert.equal(r.call('getSpeechOutputLevel', TEACHER), 0, 'muted');
    r.call('setMute', false);
    assert.equal(sim.fire(`replayRoom:${r.n}.audio:1:10000000002:3.OnActionStatus`, [9]), false);
    r.call('audioStopReceive', TEACHER);
    assert.equal(r.call('getSpeechOutputLevel', TEACHER), 0);
    advance(6000);
    assert.deepEqual(r.events().filter((e) => e.event === 'OnActionStatus'), []);
  });
});

test.describe('objects and the journal', () => {
  test('a scripted Create failure makes nothing; rooms journal their room info and leave nothing behind', () => {
    sim.script('korin.replay.ReplayEngine.Create', false, 1);
    assert.equal(sim.probeReplay('create'), 0);
    assert.equal(sim.objects().roomReplayEngines || 0, 0);
    assert.deepEqual(sim.replayRooms(), []);

    const r = enter({ host: 'h', signature: 's', timeToPlayMs: 2 ** 33 + 1, live: true, isSlim: true });
    const [info] = sim.journal('korin.replay.ReplayEngine.EnterRoom')[0].args;
    assert.deepEqual(info, {
      host: 'h', room_id: ROOM_ID, signature: 's', business_id: '', is_admin: false, is_slim: true, live: true,
      time_to_play_ms: 2 ** 33 + 1, force_flush_meta_info: false,
    });
    r.call('videoStartReceive', TEACHER);
    r.call('audioStartReceive', TEACHER);
    assert.deepEqual(sim.journal('korin.replay.ReplayEngine.VideoStartReceive')[0].args,
      [{ biz_type: 1, user_id: TEACHER.userId, group_id: 0 }, 'ptr']);
    assert.deepEqual(sim.objects(), {
      replayActionStatusCallbacks: 1, replayEngineCallbacks: 1, replayVideoSinks: 1, roomReplayEngines: 1,
    });
    r.call('destroy');
    assert.deepEqual(sim.journal('korin.replay.ReplayEngine.Destroy')[0].args, ['ptr']);
    assert.ok(Object.values(sim.objects()).every((n) => n === 0), JSON.stringify(sim.objects()));
    assert.deepEqual(sim.held().filter((h) => h.startsWith('replayRoom:')), []);
  });

  test('a scripted EnterRoom failure: the error arrives and the state keeps it', () => {
    sim.script('korin.replay.ReplayEngine.EnterRoom', -42, 1);
    const r = enter();
    advance(20);
    assert.deepEqual(r.events(), [{ event: 'OnError', errorCode: -42, subCode: 1 }]);
    const s = r.state();
    assert.deepEqual([s.state, s.error], [5, { errorCode: -42, subCode: 1 }]);
    assert.equal(r.call('play'), -1);
  });

  test('replayVideoRefactor20251118 reads true until set, and again after reset', () => {
    assert.equal(sim.sourceFlag('replayVideoRefactor20251118'), true);
    assert.equal(sim.sourceFlag('QX_DISALLOW_HANDLE_ROTATE'), false);
    sim.setSourceFlags({ replayVideoRefactor20251118: false });
    assert.equal(sim.sourceFlag('replayVideoRefactor20251118'), false);
    sim.reset();
    assert.equal(sim.sourceFlag('replayVideoRefactor20251118'), true);
  });

  test('destroying rooms while frames and events are fired at them from engine threads', async () => {
    sim.setReplayClock(false);
    sim.setReplayClass({ fps: 240, teacher: { width: 64, height: 36 }, enterDelayMs: 0 });
    for (let round = 0; round < 20; round++) {
      const r = enter();
      r.call('videoStartReceive', TEACHER);
      r.call('play');
      const floods = [
        sim.fireMany(`replayRoom:${r.n}.video:1:10000000001:0`, [], 500, 2),
        sim.fireMany(`replayRoom:${r.n}.OnUserData`, [1, 'abc'], 500, 2),
      ];
      await new Promise((resolve) => setTimeout(resolve, round % 4));
      r.call('destroy');
      await Promise.all(floods);
    }
    assert.ok(Object.values(sim.objects()).every((n) => n === 0), JSON.stringify(sim.objects()));
  });
});

test.describe('the downloader', () => {
  const room = (roomId, businessId = 'b') => ({ roomId, businessId });
  const request = (roomId, extra = {}) => ({ host: 'h', roomInfo: room(roomId), startNpt: 0, endNpt: 5_000_000, ...extra });

  test('requests, pause and removal show in the statuses that answer held queries', () => {
    const d = sim.probeDownloader('create');
    const call = (op, ...args) => sim.probeDownloader(op, d, ...args);
    assert.equal(call('isInitialized'), false);
    assert.equal(call('initialize', { userId: 2 ** 40 }), true);
    assert.deepEqual(sim.journal('korin.replay.ReplayDownloader.Initialize')[0].args,
      [{ max_parallel_downloads: 2, user_id: 2 ** 40 }]);
    call('addDownloadRequest', request(1, { spans: [{ startNpt: 0, endNpt: 1000 }, { startNpt: 5000, endNpt: 7000 }] }));
    call('addDownloadRequest', request(2));
    call('addDownloadRequest', request(2, { roomInfo: room(2, 'other') }));
    call('pause', room(2));
    const t1 = call('getDownloadStatus');
    const t2 = call('getDownloadStatus');
    assert.equal(sim.replayDownloaders()[0].statusQueries, 2);
    assert.deepEqual(sim.probeEvents(d), [], 'held until answered');
    const [n] = sim.replayDownloaders().map((v) => v.id);
    assert.ok(sim.fire(`replayDownloader:${n}.getDownloadStatus`));
    const answers = sim.probeEvents(d);
    assert.deepEqual(answers.map((a) => a.tag), [t1, t2]);
    const statuses = answers[0].statuses;
    assert.deepEqual(statuses.map((s) => [s.request.roomInfo.roomId, s.request.roomInfo.businessId, s.totalSize, s.state]),
      [[1, 'b', 3_000_000, 1], [2, 'b', 5_000_000_000, 2], [2, 'other', 5_000_000_000, 1]]);
    assert.deepEqual(answers[1].statuses, statuses);
    sim.fire(`replayDownloader:${n}.getDownloadStatus`);
    assert.deepEqual(sim.probeEvents(d), [], 'each query answered once');

    sim.fire(`replayDownloader:${n}.progress`, [1, 3_000_000]);
    call('removeWithRoomId', room(2, 'none'), true);
    call('getDownloadStatus');
    sim.fire(`replayDownloader:${n}.getDownloadStatus`);
    const [after] = sim.probeEvents(d)[0].statuses;
    assert.deepEqual([after.request.roomInfo.roomId, after.downloadSize, after.state], [1, 3_000_000, 3]);
    call('remove', room(1, 'b'), false);
    assert.deepEqual(sim.replayDownloaders()[0].downloads, []);
  });

  test('cache sizes, a failed initialise, two downloaders apart, destroy with queries waiting', () => {
    sim.script('korin.replay.ReplayDownloader.Initialize', false, 1);
    const a = sim.probeDownloader('create');
    const b = sim.probeDownloader('create');
    assert.equal(sim.probeDownloader('initialize', a, {}), false);
    assert.equal(sim.probeDownloader('isInitialized', a), false);
    assert.equal(sim.probeDownloader('getTemporaryCacheSizeSync', a), 6442450951);
    const [na, nb] = sim.replayDownloaders().map((v) => v.id);
    const ta = sim.probeDownloader('getTemporaryCacheSize', a);
    const tb = sim.probeDownloader('getTemporaryCacheSize', b);
    sim.probeDownloader('getDownloadStatus', b);
    assert.ok(sim.fire(`replayDownloader:${na}.getTemporaryCacheSize`, [2 ** 35]));
    assert.deepEqual(sim.probeEvents(a), [{ event: 'size', tag: ta, bytes: 2 ** 35 }]);
    assert.deepEqual(sim.probeEvents(b), [], 'the other downloader\'s queries wait');
    sim.probeDownloader('removeTemporaryCache', b, true);
    sim.fire(`replayDownloader:${nb}.getTemporaryCacheSize`);
    assert.deepEqual(sim.probeEvents(b), [{ event: 'size', tag: tb, bytes: 0 }]);
    sim.probeDownloader('getTemporaryCacheSize', b);
    sim.probeDownloader('destroy', b);
    sim.probeDownloader('destroy', a);
    assert.equal(sim.fire(`replayDownloader:${nb}.getDownloadStatus`), false);
    assert.deepEqual(sim.probeEvents(b), [], 'dropped unanswered');
    assert.equal(sim.objects().replayDownloaders, 0);
    sim.script('korin.replay.ReplayDownloader.Create', false, 1);
    assert.equal(sim.probeDownloader('create'), 0);
  });
});

test('500 rooms made, played, sought, fetched from and destroyed leave nothing behind', async (t) => {
  const run = await runFixture('sim-room-replay-cycles.js', ['500'], 300000, leakChecked());
  assert.equal(run.signal, null, `killed by ${run.signal}\n${run.stderr}`);
  assert.equal(run.code, 0, `exit code ${run.code}; a LeakSanitizer report ends with a non-zero code\n${run.stderr}`);
  const { cycles, held, after, end } = lastJson(run.stdout);
  assert.equal(cycles, 500);
  assert.equal(held, 167 + 2 * 166, 'each held completion fired once: in its room, or after it');
  const zero = { replayActionStatusCallbacks: 0, replayEngineCallbacks: 0, replayVideoSinks: 0, roomReplayEngines: 0 };
  assert.deepEqual(after.objects, zero);
  assert.deepEqual(end.objects, zero);
  const growth = (end.rss - after.rss) / (1 << 20);
  t.diagnostic(`RSS growth over 400 cycles: ${growth.toFixed(1)} MB`);
  if (!underAsan()) assert.ok(growth < 16, `RSS grew ${growth.toFixed(1)} MB`);
});
