// Export fuzzer: calls every export of the module many times with hostile
// argument lists, in each engine state that matters, while engine threads
// post events and frames. Each state runs in a process of its own; a crash,
// a hang, a sanitizer report or an exception of an unknown kind fails the run.
//   node scripts/fuzz.js                   bounded run, random seed (printed)
//   node scripts/fuzz.js --seed=N          the run of seed N again
//   node scripts/fuzz.js --calls=N         calls per state (default 2500)
//   node scripts/fuzz.js --long            200,000 calls per state
//   node scripts/fuzz.js --state=S         only state S (none, created, connected, replay,
//                                          liveReplay, streaming, recording)
//   node scripts/fuzz.js --trace           each call on stderr before it is made
//   node scripts/fuzz.js --json            one JSON summary line at the end
//   node scripts/fuzz.js --asan            against the AddressSanitizer/UBSan build
// The module is loaded from build/Release, LUMEN_ENGINE_ADDON_BUILD, or with
// --asan the sanitizer build (built first, Node started with libasan).
// npm run fuzz -- --long --asan is the long run.
'use strict';
const fs = require('fs');
const path = require('path');
const { spawn, execFileSync } = require('child_process');

const root = path.resolve(__dirname, '..');
const STATES = ['none', 'created', 'connected', 'replay', 'liveReplay', 'streaming', 'recording'];

function options(argv) {
  const o = { calls: 2500, state: null, seed: null, trace: false, json: false, child: false, asan: false };
  for (const a of argv) {
    const [k, v] = a.replace(/^--/, '').split('=');
    if (k === 'long') o.calls = 200000;
    else if (k === 'calls') o.calls = Number(v);
    else if (k === 'seed') o.seed = Number(v) >>> 0;
    else if (k === 'state') o.state = v;
    else if (k === 'trace') o.trace = true;
    else if (k === 'json') o.json = true;
    else if (k === 'child') o.child = true;
    else if (k === 'asan') o.asan = true;
    else throw new Error(`unknown option ${a}`);
  }
  if (!Number.isInteger(o.calls) || o.calls < 1) throw new Error('--calls needs a positive integer');
  if (o.state && !STATES.includes(o.state)) throw new Error(`--state is one of ${STATES.join(', ')}`);
  return o;
}

// ---- what the sources say the module reads ------------------------------------------

function sources(dir, out = []) {
  for (const e of fs.readdirSync(dir, { withFileTypes: true })) {
    const p = path.join(dir, e.name);
    if (e.isDirectory()) sources(p, out);
    else if (/\.(cc|h)$/.test(e.name)) out.push(fs.readFileSync(p, 'utf8'));
  }
  return out;
}

// Record keys, callback method names, and every string literal as the
// messages an exception may carry, from the sources; admission shapes come
// from the module's own description of its exports.
function readTables() {
  const texts = sources(path.join(root, 'src'));
  const all = texts.join('\n');
  const keys = new Set();
  for (const m of all.matchAll(/(?:LUMEN_FIELD\(|\bGet\(\w+,\s*|\w+At\(\w+,\s*|\bHas\(\w+,\s*)"(\w+)"/g)) keys.add(m[1]);
  const literals = new Set([...all.matchAll(/"((?:[^"\\\n]|\\.)*)"/g)].map((m) => m[1]).filter((s) => s.length > 3));
  const methods = [...literals].filter((s) => /^(on|On)[A-Z]\w*$/.test(s));
  methods.push('log');
  return { keys: [...keys], methods, messages: [...literals] };
}

const RIDES_ON_EVERY_RECORD = new Set(['log_setSdkVersion', 'log_addEpisodeId']);
const KEPT_ALIVE = 'the process stayed alive 10 s after its last call';

// ---- one state, in this process --------------------------------------------------------

async function child(o) {
  // Recorders write files where they are told: relative paths land here.
  const workDir = fs.mkdtempSync(path.join(require('os').tmpdir(), 'lumen-fuzz-'));
  process.chdir(workDir);
  process.on('exit', () => fs.rmSync(workDir, { recursive: true, force: true }));
  const { rng, values, Sentinel } = require('../test/fuzz-values');
  const addon = require(require('./binary').addonPath());
  const sim = require('../sim');
  const tables = readTables();
  const { describeExports } = require('../test/exports');
  // null: any arguments are admitted; '' none are.
  const shapes = Object.fromEntries(describeExports(addon).map((d) => [d.name, d.check === 'free' ? null : d.types]));
  // Two streams: the calls draw from the first, and what runs in callbacks
  // (deliveries come when the engine threads make them) from the second, so
  // that a seed repeats the same calls with the same values.
  const calling = rng(o.seed);
  const delivering = rng((o.seed ^ 0x5bd1e995) >>> 0);
  let inCalls = true;
  const draw = () => (inCalls ? calling : delivering).next();
  const r = {
    next: draw,
    int: (n) => Math.floor(draw() * n),
    chance: (p) => draw() < p,
    pick: (list) => list[Math.floor(draw() * list.length)],
  };
  let names = Object.keys(addon).filter((k) => typeof addon[k] === 'function');
  const has = (name) => typeof addon[name] === 'function';
  // Each executor gets every line from then on: a few make the point.
  let logStarts = 0;
  // Every export once, in a random order, then at random: a bounded run
  // still reaches every export however many there are.
  const unvisited = [...names];
  for (let i = unvisited.length - 1; i > 0; i--) {
    const j = r.int(i + 1);
    [unvisited[i], unvisited[j]] = [unvisited[j], unvisited[i]];
  }
  const pickName = (inOrder = true) => {
    const name = inOrder && unvisited.length ? unvisited.pop() : r.pick(names);
    if (name === 'log_start' && ++logStarts >= 4) names = names.filter((n) => n !== 'log_start');
    return name;
  };

  const stats = {
    calls: 0, values: {}, exceptions: {}, uncaught: {}, unexpected: [], deliveries: 0, frames: 0,
    reentered: 0, admitted: 0, established: 0, final: null, exports: 0, called: 0, neverAnswered: [], absentChecked: 0,
  };
  const called = new Set();
  const answered = new Set();
  const bump = (o2, k) => { o2[k] = (o2[k] || 0) + 1; };

  // Exceptions the module or the fuzzer's own values may raise.
  const known = (err) => {
    if (err instanceof Sentinel) return 'sentinel';
    if (err instanceof TypeError || err instanceof RangeError) return err.constructor.name;
    if (err instanceof Error && (tables.messages.includes(err.message) ||
        tables.messages.some((m) => m.length > 12 && err.message.startsWith(m)))) return 'module Error';
    return null;
  };
  const note = (bag, err, where) => {
    const kind = known(err);
    bump(bag, kind || 'unexpected');
    if (!kind && stats.unexpected.length < 20) stats.unexpected.push(`${where}: ${err && err.stack ? err.stack : String(err)}`);
  };
  process.on('uncaughtException', (err) => note(stats.uncaught, err, 'uncaught'));
  process.on('unhandledRejection', (err) => note(stats.uncaught, err, 'unhandled rejection'));

  let depth = 0;
  // Off for the final check: callbacks the fuzz left registered (a log
  // executor, an observer) must not leave the room or call in meanwhile.
  let hostile = true;
  const hooks = {
    reenter() {
      if (depth >= 2 || !hostile) return undefined;
      depth++;
      stats.reentered++;
      try {
        const name = pickName(false);
        const value = addon[name](...args(name));
        adoptMade(name, value);
        return value;
      } catch {
        return undefined;
      } finally {
        depth--;
      }
    },
    leave() {
      if (!hostile) return undefined;
      const name = r.pick(['engineSdk_leaveLiveRoom', 'engineSdk_leaveLiveRoom', 'engineSdk_destroyLiveReplayEngine',
        'engineSdk_destroyStreamingEngine', 'engineSdk_destroyLocalEngine', 'engineSdk_destroyReplayEngine']);
      try {
        return has(name) ? addon[name]() : undefined;
      } catch {
        return undefined;
      }
    },
  };
  const v = values(r, { keys: tables.keys, methods: tables.methods, hooks });

  // Handles by kind: live ones made by the group's maker, stale ones whose
  // object was destroyed, and numbers that never were a handle.
  const makers = Object.assign({}, ...fs.readdirSync(path.join(root, 'test', 'fuzz-handles'))
    .filter((f) => f.endsWith('.js')).map((f) => require(path.join(root, 'test', 'fuzz-handles', f))));
  const handleKinds = Object.fromEntries(describeExports(addon).map((d) => [d.name, d.handle]));
  // Groups whose other exports take an optional handle after their admitted
  // arguments (a device module after a setter's value): one goes there too.
  const groupKinds = Object.fromEntries(describeExports(addon).filter((d) => d.handle).map((d) => [d.group, d.handle]));
  const trailingKinds = Object.fromEntries(describeExports(addon)
    .filter((d) => !d.handle && groupKinds[d.group] && d.check !== 'free')
    .map((d) => [d.name, [groupKinds[d.group], d.types.length]]));
  // What a pass-through export answers while its engine is missing. The
  // recorders live apart from the main engine, which is all the engine type
  // tells of: their exports are left out.
  const apart = new Set(['screenRecordEngine', 'cameraRecordEngine', 'mediaTrackEditorEngine']);
  const absentAnswer = Object.fromEntries(describeExports(addon).filter((d) => d.forwards && !apart.has(d.group))
    .map((d) => [d.name, d.failure]));
  let handlePassed = false;
  const live = {};
  const stale = {};
  // Every number a maker was ever given: a destroyed object's number stays
  // stale for good, so none may come back for a new object.
  const issued = new Set();
  const madeBy = Object.fromEntries(Object.entries(makers).flatMap(([kind, m]) => m.made.map((n) => [n, kind])));
  function adopt(kind, h) {
    if (typeof h !== 'number' || !(h > 0)) return;
    if (issued.has(h)) stats.unexpected.push(`the ${kind} handle ${h} was issued again`);
    issued.add(h);
    (live[kind] = live[kind] || []).push(h);
  }
  // What a fuzzed call made is used and destroyed with the maker's own.
  const adoptMade = (name, value) => { if (madeBy[name]) adopt(madeBy[name], value); };
  function handleOf(kind) {
    // A stale number may name a new object at the same address.
    handlePassed = true;
    const maker = makers[kind];
    live[kind] = (live[kind] || []).filter(Boolean);
    stale[kind] = stale[kind] || [];
    if (maker && live[kind].length < 3) {
      adopt(kind, quiet(() => maker.create(addon, v)));
    }
    if (maker && live[kind].length > 0 && r.chance(0.05)) {
      const h = live[kind].splice(r.int(live[kind].length), 1)[0];
      quiet(() => maker.destroy(addon, h));
      stale[kind].push(h);
      if (stale[kind].length > 16) stale[kind].shift();
    }
    const pick = r.int(10);
    if (pick < 5 && live[kind].length) return r.pick(live[kind]);
    if (pick < 7 && stale[kind].length) return r.pick(stale[kind]);
    if (pick < 8 && live[kind].length) return r.pick(live[kind]) + r.pick([1, 8, -8, 0.5, 4096]);
    return r.pick([0, -1, 1, 2 ** 53, 2 ** 53 + 2, 2 ** 64, NaN, Infinity, 4096, 0x7fff00001000]);
  }

  function args(name) {
    const shape = shapes[name];
    if (shape === undefined || r.chance(0.3)) return Array.from({ length: r.int(7) }, () => v.any());
    const list = [...(shape === null ? '' : shape)].map((c) => v.of(c));
    if (handleKinds[name] && (list.length || r.chance(0.5)) && r.chance(0.9)) list[0] = handleOf(handleKinds[name]);
    if (trailingKinds[name] && r.chance(0.5)) list[trailingKinds[name][1]] = handleOf(trailingKinds[name][0]);
    // A render object whose getNativeHandler() answers a live, stale or
    // forged native source number, re-enters, or throws.
    if (name === 'QXCameraRecordEngine_startPreview' && list.length > 1 && r.chance(0.5)) {
      const answer = r.chance(0.8) ? handleOf('native video source') : v.any();
      list[1] = { previewWidth: 32, previewHeight: 18, viewRender: { nativeSource: { getNativeHandler() {
        if (r.chance(0.1)) throw new Error('fuzz handler');
        if (r.chance(0.1)) hooks.reenter();
        return answer;
      } } } };
    }
    if (r.chance(0.2)) for (let n = 1 + r.int(3); n > 0; n--) list.push(v.any());
    if (r.chance(0.1) && list.length) list.pop();
    // The SDK version and episode id ride on every later log record. While
    // frames flow, a 1 MB one makes each failed frame delivery a 1 MB record
    // for every executor, and under the sanitizer the JavaScript thread falls
    // behind for good: a flood no app makes, so they stay short there.
    if (RIDES_ON_EVERY_RECORD.has(name) && o.state !== 'none') {
      return list.map((x) => (typeof x === 'string' && x.length > 4096 ? x.slice(0, 4096) : x));
    }
    return list;
  }

  // Callback objects of the fuzzer's own: every method counts deliveries.
  const counting = new Proxy({}, {
    get: (_, key) => (typeof key === 'string' && (/^([oO]n|export)[A-Z]/.test(key) || key === 'log') ? () => { stats.deliveries++; } : undefined),
  });
  const renderer = { onVideoFrame(frame) { stats.frames++; if (r.chance(0.02)) hooks.reenter(); return frame; } };

  const quiet = (fn) => { try { return fn(); } catch { return undefined; } };
  function destroyAll() {
    for (const n of ['engineSdk_leaveLiveRoom', 'engineSdk_destroyLiveReplayEngine', 'engineSdk_destroyLocalEngine',
      'engineSdk_destroyReplayEngine', 'engineSdk_destroyStreamingEngine']) if (has(n)) quiet(() => addon[n]());
  }
  // The playback engines, playing, with renderers and a media player.
  function establishPlayback(state) {
    if (state === 'replay') quiet(() => addon.engineSdk_createReplayEngine(counting, '/tmp/fuzz.rec'));
    else if (state === 'liveReplay') quiet(() => addon.engineSdk_createLiveReplayEngine(counting, '/tmp/fuzz.rec', counting, ''));
    else if (state === 'streaming') quiet(() => addon.engineSdk_createStreamingEngine({ room_id: 1 }, counting, ''));
    else return false;
    quiet(() => addon.replayEngine_play());
    for (let k = 0; k < 3; k++) quiet(() => addon.replayEngine_videoStartPlay(10 + k, 1, renderer));
    quiet(() => addon.replayEngine_videoStartPlayBiz({ userId: 20, bizType: 3 }, renderer));
    quiet(() => addon.streamingEngine_prepareAsync(['https://fuzz/1.flv'], renderer));
    quiet(() => addon.mediaPlayerEngine_registerMediaPlayerCallback(counting));
    quiet(() => addon.mediaPlayerEngine_prepareAsync(__filename, true, true, {}, renderer));
    return true;
  }
  // The three recorders alive: the screen recording (on either recorder),
  // the camera previewing and recording, the editor exporting.
  const take = path.join(workDir, 'take.seg');
  function establishRecorders() {
    for (const n of ['screenRecordEngine_destroyScreenCapture', 'cameraRecordEngine_destroyCameraRecorder',
      'mediaTrackEditorEngine_destroyMediaTrackEditor']) quiet(() => addon[n]());
    sim.setSourceFlags({ enableNewScreenRecordEngine20250807: r.chance(0.5), enableAGCWhenPauseScreenRecord: r.chance(0.5) });
    sim.setRecordingTiming({ exportStepMs: 1 });
    sim.writeSegment(take, { width: 32, height: 18, fps: 10, spans: [{ startMs: 0, endMs: 2000 }] });
    quiet(() => addon.screenRecordEngine_createScreenCapture(counting, '', ''));
    quiet(() => addon.screenRecordEngine_startScreenRecord({ rootDir: workDir, frameDetectorCfg: { callbackWithResult: counting } }));
    quiet(() => addon.cameraRecordEngine_createCameraRecorder(counting, {}));
    quiet(() => addon.cameraRecordEngine_startPreview({ cameraGUID: 'fuzz' }, renderer));
    quiet(() => addon.cameraRecordEngine_startRecord({ rootDir: workDir }, counting));
    quiet(() => addon.mediaTrackEditorEngine_createMediaTrackEditor());
    quiet(() => addon.mediaTrackEditorEngine_mediaTrackAppend(take));
    quiet(() => addon.mediaTrackEditorEngine_mediaTrackExportWithSegInfo(`${take}.out`, counting));
    adopt('device module', quiet(() => addon.deviceEngine_createDeviceModule(counting, '')));
    // The camera record engine class previewing into a native source and
    // recording, a thumbnail tool extracting: handles the fuzzer also uses.
    const camera = quiet(() => makers['camera record engine'].create(addon, v));
    const sink = quiet(() => makers['native video source'].create(addon, v));
    adopt('camera record engine', camera);
    adopt('native video source', sink);
    if (camera > 0 && sink > 0) {
      quiet(() => addon.QXCameraRecordEngine_registerRecordListener(camera, counting));
      quiet(() => addon.QXCameraRecordEngine_startPreview(camera, { viewRender: { nativeSource: { getNativeHandler: () => sink } } }));
      quiet(() => addon.QXCameraRecordEngine_startRecord(camera, { encWidth: 32, encHeight: 18, encFps: 10 }));
    }
    const tool = quiet(() => makers['thumbnail tool'].create(addon, v));
    adopt('thumbnail tool', tool);
    if (tool > 0) {
      sim.setRecordingTiming({ thumbnailIntervalMs: 1 });
      quiet(() => addon.videoThumbnailTool_setMediaPath(tool, take));
      quiet(() => addon.videoThumbnailTool_getVideoThumbnails(tool, { width: 8, height: 8, durationMs: 100 }, counting));
    }
  }
  function establish(state) {
    stats.established++;
    // The stand-in keeps every call's arguments and every line: megabyte
    // strings would pile up.
    sim.clearJournal();
    sim.clearLogLines();
    destroyAll();
    if (state === 'none') return;
    if (state === 'recording') return establishRecorders();
    quiet(() => addon.engineSdk_onAppInit(counting, '9.0.0'));
    if (establishPlayback(state)) return;
    quiet(() => addon.engineSdk_createLivePlayEngine(counting));
    if (state !== 'connected') return;
    quiet(() => addon.engineSdk_connectLivePlayEngine({ room_id: 1, user_id: 2 }));
    for (let k = 0; k < 3; k++) quiet(() => addon.livePlayEngine_videoStartReceive({ userId: 10 + k, type: 1 }, renderer));
    quiet(() => addon.livePlayEngine_subscribeVideo({ userId: 20, bizType: 3 }, renderer));
    quiet(() => addon.livePlayEngine_registerCameraDataCallback(renderer));
    quiet(() => addon.livePlayEngine_audioStartRecording({ userId: 1 }, counting, []));
    quiet(() => addon.livePlayEngine_registerLocalVadCallback(counting));
  }

  // Engine threads post while JavaScript calls: events of whatever callbacks
  // are held, frames to every sink, log records.
  const SCRIPTABLE = [
    ['tavel.LiveEngine.Create', false], ['tavel.LivePlayEngine.GetInterface', false], ['lumen.LiveClient.Create', false],
    ['lumen.LiveClient.CreateCommandClient', false], ['lumen.LiveClient.CreateUserInfo', false],
    ['tavel.LivePlayEngine.Connect', -5], ['tavel.LivePlayEngine.VideoStartSend', -1], ['tavel.ReplayEngine.Create', false],
    ['tavel.LiveDeviceEngine.GetInterface', false], ['tavel.StreamingEngine.GetInterface', false],
  ];
  const fireArg = () => r.pick([0, 1, -1, 7, 2 ** 31 - 1, true, false, 'fuzz', '', null, Buffer.from('fuzz'), Buffer.alloc(0)]);
  function engineNoise() {
    const held = sim.held();
    for (let n = 1 + r.int(3); n > 0 && held.length; n--) {
      const name = r.pick(held);
      if (name.startsWith('sink:')) {
        sim.pushFrames(name, 1 + r.int(64), 1 + r.int(36), 20, 2).catch(() => {});
      } else {
        sim.fireMany(name, Array.from({ length: r.int(5) }, fireArg), 20, 2).catch(() => {});
      }
    }
    sim.writeLogs(r.pick([8, 9, 10, 12]), 'Fuzz', 'engine line', 10, 2).catch(() => {});
    if (r.chance(0.1)) {
      const [op, value] = r.pick(SCRIPTABLE);
      sim.script(op, value, 1 + r.int(3));
    }
  }

  const trace = (text) => { if (o.trace) fs.writeSync(2, `${text}\n`); };
  const describe = (a) => {
    try {
      return a.map((x) => (typeof x === 'object' && x !== null ? Object.prototype.toString.call(x) : typeof x === 'string' ? `string(${x.length})` : String(typeof x === 'symbol' ? 'symbol' : x))).join(', ');
    } catch {
      return '?';
    }
  };

  sim.reset();
  if (o.state !== 'none') {
    sim.startVideo({ width: 32, height: 18, fps: 200 });
    sim.startAudio({ intervalMs: 2 });
  }
  const period = 150;
  for (let i = 0; i < o.calls; i++) {
    if (i % period === 0) establish(o.state);
    if (i % 25 === 0 && o.state !== 'none') engineNoise();
    const name = pickName();
    handlePassed = false;
    const list = args(name);
    // No engine (a re-entrant call in an earlier callback may have made one)
    // and no handle: a pass-through export can only answer its failure.
    const noEngine = name in absentAnswer && !handlePassed && quiet(() => addon.engineSdk_currentEngineType()) === -1;
    // `new` replaces a primitive answer by `this`: the number of what a
    // maker export made would be lost, and the object never destroyed.
    const drawn = r.int(20);
    const how = drawn === 0 && madeBy[name] ? 2 : drawn;
    trace(`#${i} ${how === 0 ? 'new ' : how === 1 ? 'apply ' : ''}${name}(${describe(list)})`);
    stats.calls++;
    called.add(name);
    try {
      const fn = addon[name];
      const value = how === 0 ? new fn(...list) : how === 1 ? Reflect.apply(fn, v.any(), list) : fn(...list);
      adoptMade(name, value);
      bump(stats.values, value === null ? 'null' : typeof value);
      // Getters of the device group answer { value, errorCode }.
      const code = value !== null && typeof value === 'object' && 'errorCode' in value ? value.errorCode : value;
      // Converting an argument may run JavaScript that makes an engine (an
      // array whose element's toString re-enters): then the export rightly
      // found one.
      const stillNone = noEngine && quiet(() => addon.engineSdk_currentEngineType()) === -1;
      if (stillNone && how !== 0 && !Object.is(code, absentAnswer[name])) {
        stats.unexpected.push(`${name} answered ${String(code)} with no engine, not ${String(absentAnswer[name])}`);
      }
      if (stillNone && how !== 0) stats.absentChecked++;
      if (!['number', 'boolean', 'string', 'object', 'undefined'].includes(typeof value)) {
        stats.unexpected.push(`${name} answered a ${typeof value}`);
      }
      stats.admitted++;
      answered.add(name);
    } catch (err) {
      note(stats.exceptions, err, name);
    }
    // Deliveries (and the re-entrant calls they make) interleave with calls.
    if (i % 10 === 9) {
      inCalls = false;
      await new Promise((resolve) => setImmediate(resolve));
      inCalls = true;
    }
  }
  inCalls = false;
  hostile = false;

  // The module still works: a class from scratch receives a frame.
  sim.stopVideo();
  sim.stopAudio();
  for (const [op] of SCRIPTABLE) sim.script(op, 0, 0);
  sim.setSourceFlags({ DISABLE_RELEASE_RENDER: false, enableAutoLeaveRoom4660: false });
  destroyAll();
  let got = 0;
  stats.final = (() => {
    try {
      addon.engineSdk_onAppInit(counting, '9.0.0');
      if (addon.engineSdk_createLivePlayEngine(counting) !== 0) return 'create failed';
      if (addon.engineSdk_connectLivePlayEngine({ room_id: 9 }) !== 0) return 'connect failed';
      if (addon.livePlayEngine_videoStartReceive({ userId: 99, type: 1 }, { onVideoFrame: (f) => { got = f.width; } }) !== 0) return 'receive failed';
      return sim.pushFrame('sink:99:1', 6, 2, 1) ? 'pushed' : 'no sink';
    } catch (err) {
      return `threw ${err.message}`;
    }
  })();
  const end = Date.now() + 10000;
  while (stats.final === 'pushed' && got === 0 && Date.now() < end) await new Promise((resolve) => setTimeout(resolve, 5));
  if (stats.final === 'pushed') stats.final = got === 6 ? 'ok' : 'no frame delivered';
  quiet(() => addon.engineSdk_leaveLiveRoom());
  // Answers never given keep the event loop alive: their objects go.
  for (const [kind, handles] of Object.entries(live)) for (const h of handles) quiet(() => makers[kind].destroy(addon, h));
  quiet(() => addon.QXPlayer_downloaderV2_destroy());
  stats.exports = Object.keys(addon).length;
  stats.called = called.size;
  stats.neverAnswered = names.filter((n) => !answered.has(n));
  process.stdout.write(`${JSON.stringify(stats)}\n`);
  // Everything was destroyed: nothing may keep the process alive now. The
  // timer does not itself, so it fires only if something else does.
  setTimeout(() => {
    const owing = sim.replayDownloaders().filter((d) => d.statusQueries || d.sizeQueries).map((d) => d.id);
    fs.writeSync(2, `${KEPT_ALIVE}: replay downloaders owing an answer ${JSON.stringify(owing)}, ` +
      `replay rooms ${sim.replayRooms().length}\n`);
    process.exit(3);
  }, 10000).unref();
}

// ---- the run: one child per state ------------------------------------------------------

// As scripts/test.js --asan runs the tests.
function sanitizerEnv() {
  execFileSync(process.execPath, [path.join(root, 'scripts', 'build.js'), '--asan'], { stdio: 'inherit' });
  const libasan = execFileSync('gcc', ['-print-file-name=libasan.so'], { encoding: 'utf8' }).trim();
  const env = { ...process.env };
  env.LUMEN_ENGINE_ADDON_BUILD = path.join(root, 'build-asan', 'tree', 'build', 'Release');
  env.LD_PRELOAD = [libasan, env.LD_PRELOAD].filter(Boolean).join(' ');
  env.ASAN_OPTIONS = ['detect_leaks=0', env.ASAN_OPTIONS].filter(Boolean).join(':');
  env.UBSAN_OPTIONS = ['halt_on_error=1', 'print_stacktrace=1', env.UBSAN_OPTIONS].filter(Boolean).join(':');
  return env;
}

function runChild(o, state, seed, env) {
  const argv = [__filename, '--child', `--state=${state}`, `--seed=${seed}`, `--calls=${o.calls}`];
  if (o.trace) argv.push('--trace');
  return new Promise((resolve) => {
    const started = Date.now();
    const child = spawn(process.execPath, argv, { cwd: root, env, stdio: ['ignore', 'pipe', 'pipe'] });
    let stdout = '';
    let stderr = '';
    child.stdout.on('data', (d) => (stdout += d));
    child.stderr.on('data', (d) => {
      stderr += d;
      if (stderr.length > 4 << 20) stderr = stderr.slice(-(2 << 20));
    });
    // Generous: the sanitizer build is several times slower.
    const timer = setTimeout(() => child.kill('SIGKILL'), 120000 + o.calls * 50);
    child.on('close', (code, signal) => {
      clearTimeout(timer);
      let stats = null;
      try {
        stats = JSON.parse(stdout.trim().split('\n').pop());
      } catch {
        // no summary: the child died
      }
      resolve({ state, seed, code, signal, stats, stderr, seconds: (Date.now() - started) / 1000 });
    });
  });
}

function verdict(run, calls) {
  const problems = [];
  if (run.stderr.includes(KEPT_ALIVE)) problems.push(`${KEPT_ALIVE} (an answer owed by an object never destroyed?)`);
  if (run.signal) problems.push(`killed by ${run.signal}${run.signal === 'SIGKILL' ? ' (a hang?)' : ''}`);
  if (run.code !== 0) problems.push(`exit code ${run.code}`);
  if (/ERROR: AddressSanitizer|ERROR: LeakSanitizer|runtime error:|FATAL ERROR|Assertion failed/.test(run.stderr)) {
    problems.push('a sanitizer or fatal report on stderr');
  }
  const s = run.stats;
  if (!s) problems.push('no summary');
  else {
    if (s.calls !== calls) problems.push(`${s.calls} of ${calls} calls ended`);
    if (s.unexpected.length) problems.push(`unexpected outcomes:\n      ${s.unexpected.join('\n      ')}`);
    if (s.final !== 'ok') problems.push(`the module no longer works afterwards: ${s.final}`);
  }
  return problems;
}

async function main() {
  const o = options(process.argv.slice(2));
  if (o.child) return child(o);
  const seed = o.seed ?? (Math.random() * 2 ** 32) >>> 0;
  const states = o.state ? [o.state] : STATES;
  const env = o.asan ? sanitizerEnv() : process.env;
  const again = `node scripts/fuzz.js --seed=${seed} --calls=${o.calls}${o.asan ? ' --asan' : ''}`;
  console.log(`fuzz: seed ${seed}, ${o.calls} calls in each of ${states.join(', ')} (repeat: ${again})`);
  const summary = { seed, calls: o.calls, states: {}, ok: true };
  for (const [i, state] of states.entries()) {
    const run = await runChild(o, state, (seed + STATES.indexOf(state) * 0x9e3779b9) >>> 0, env);
    const problems = verdict(run, o.calls);
    const s = run.stats;
    summary.states[state] = { seconds: run.seconds, problems, stats: s };
    const line = s ? `${s.calls} calls of ${s.called}/${s.exports} exports, ${s.admitted} answered, exceptions ${JSON.stringify(s.exceptions)}, ` +
      `uncaught ${JSON.stringify(s.uncaught)}, ${s.deliveries} events, ${s.frames} frames, ${s.reentered} re-entrant calls` : '';
    console.log(`  ${state.padEnd(9)} ${run.seconds.toFixed(1)} s  ${line}`);
    if (problems.length) {
      summary.ok = false;
      console.log(`  ${state}: FAILED\n    ${problems.join('\n    ')}`);
      console.log(`    repeat: ${again} --state=${state}${o.trace ? '' : ' --trace'}`);
      console.log(run.stderr.split('\n').slice(-60).map((l) => `    | ${l}`).join('\n'));
    }
    if (i === states.length - 1 && o.json) console.log(JSON.stringify(summary));
  }
  console.log(summary.ok ? 'fuzz: ok' : 'fuzz: FAILED');
  process.exitCode = summary.ok ? 0 : 1;
}

main().catch((err) => {
  console.error(err);
  process.exit(2);
});
