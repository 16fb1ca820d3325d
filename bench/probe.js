'use strict';
// One measurement in a process of its own:
//   node bench/probe.js <kind> '<json parameters>'
// prints one line "RESULT <json>". bench/run.js runs these and compares.
const { sim, bench, addonPath, loadAddon, liveClass, sinkName, rendererId, now, sleep, emit, COPY, UPDATE } =
  require('./lib');

// ---- frames -------------------------------------------------------------------

// Two phases in one process, on the same renderers:
//  max:   producers send as fast as delivery allows (window frames in flight
//         per renderer): the highest rate with every frame delivered;
//  paced: fps frames per second per renderer, as an engine sends them: the
//         JavaScript-thread time a frame costs at the same rate for every size.
// The JavaScript side is the same for both bindings: read one byte, check it
// is the next frame of that renderer, acknowledge it. Phases are ended from
// the frame handler: a saturated JavaScript thread may not run timers on time.
function framePhases(p, sinks) {
  const expect = new Array(sinks.length).fill(0);
  const phases = [
    { name: 'max', window: p.window, intervalUs: 0, seconds: p.seconds },
    { name: 'paced', window: p.window, intervalUs: Math.round(1e6 / p.pacedFps), seconds: p.pacedSeconds },
  ];
  const result = { wrong: 0, missing: 0 };
  let delivered = 0;
  let produced = 0;
  let phase = null;
  let index = -1;

  const snap = () => ({ t: now(), cpu: bench.threadCpuUs(), n: delivered });
  const begin = () => {
    phase = phases[++index];
    phase.warmEnd = now() + p.warmupMs;
    phase.end = phase.warmEnd + phase.seconds * 1000;
    phase.a = null;
    bench.startProducers(sinks, p.width, p.height, phase.window, phase.intervalUs);
  };
  const tick = () => {
    if (!phase) return;
    const t = now();
    if (phase.draining) {
      // Every frame sent so far has arrived: the next phase starts clean.
      if (delivered >= produced) {
        if (index + 1 < phases.length) begin();
        else finish();
      }
      return;
    }
    if (!phase.a && t >= phase.warmEnd) phase.a = snap();
    if (phase.a && t >= phase.end) {
      const b = snap();
      result.missing += bench.missing();
      produced += bench.stopProducers().reduce((x, y) => x + y, 0);
      const frames = b.n - phase.a.n;
      result[phase.name] = {
        fps: (frames * 1000) / (b.t - phase.a.t),
        jsUsPerFrame: frames ? (b.cpu - phase.a.cpu) / frames : null,
        frames,
      };
      phase.draining = true;
      tick();
    }
  };
  const finish = () => {
    emit({
      fps: result.max.fps,
      jsUsPerFrame: result.max.jsUsPerFrame,
      pacedFps: result.paced.fps,
      pacedJsUsPerFrame: result.paced.jsUsPerFrame,
      frames: result.max.frames,
      wrong: result.wrong,
      missing: result.missing,
    });
    process.exit(0);
  };
  const onFrame = (frame) => {
    const i = frame.userId - 1;
    const b = frame.buffer[0];
    if (b !== expect[i]) result.wrong++;
    expect[i] = (b + 1) & 255;
    delivered++;
    bench.ack(i);
    tick();
  };
  const start = () => {
    setInterval(tick, 250);
    begin();
    return new Promise(() => {});
  };
  return { onFrame, start };
}

const probes = {};
const frameSinks = (n) => Array.from({ length: n }, (_, i) => sinkName(i));

// ours: { width, height, renderers, copy, window, seconds, warmupMs, pacedFps, pacedSeconds }
probes.frames = async (p) => {
  const run = framePhases(p, frameSinks(p.renderers));
  const addon = liveClass({ [COPY]: p.copy });
  const renderer = { onVideoFrame: run.onFrame };
  for (let i = 0; i < p.renderers; i++) {
    if (addon.livePlayEngine_videoStartReceive({ userId: i + 1, type: 1 }, renderer) !== 0) throw new Error('videoStartReceive failed');
  }
  return run.start();
};

// the typical add-on, fed by the same producers
probes.typicalFrames = async (p) => {
  const run = framePhases(p, frameSinks(p.renderers));
  for (let i = 0; i < p.renderers; i++) bench.typicalReceive(i + 1, 1, run.onFrame);
  return run.start();
};

// the limit: { bytes, threads, ms }
probes.memcpy = async (p) => ({ fps: bench.memcpyRate(p.bytes, p.threads, p.ms) });

// ---- flood: producers faster than JavaScript ------------------------------------

// { width, height, renderers, update, seconds, drawMs }
probes.flood = async (p) => {
  const addon = liveClass({ [COPY]: true, [UPDATE]: p.update });
  const probed = bench.openQueueProbe(addonPath());
  const delivered = new Array(p.renderers).fill(0);
  const repeats = new Array(p.renderers).fill(0);
  const last = new Array(p.renderers).fill(-1);
  let start = 0;
  let finish = null;
  const renderer = {
    onVideoFrame(frame) {
      const i = frame.userId - 1;
      const b = frame.buffer[0];
      if (b === last[i]) repeats[i]++;
      last[i] = b;
      delivered[i]++;
      // Drawing: the JavaScript thread is busy for drawMs per frame.
      const until = now() + p.drawMs;
      while (now() < until);
      // JavaScript may not get back to its loop while the flood lasts: the
      // end is noticed here.
      if (start && finish && now() - start >= p.seconds * 1000) finish();
    },
  };
  for (let i = 0; i < p.renderers; i++) {
    if (addon.livePlayEngine_videoStartReceive({ userId: i + 1, type: 1 }, renderer) !== 0) throw new Error('videoStartReceive failed');
  }
  // One frame each first, so that every renderer's buffers exist before memory is watched.
  for (let i = 0; i < p.renderers; i++) sim.pushFrame(sinkName(i), p.width, p.height, 0);
  while (delivered.some((d) => d === 0)) await sleep(5);
  await sleep(50);
  delivered.fill(0);
  repeats.fill(0);
  last.fill(-1);

  const ids = Array.from({ length: p.renderers }, (_, i) => rendererId(i));
  const done = new Promise(() => {
    finish = () => {
      finish = null;
      const produced = bench.stopProducers();
      const queuedAtEnd = ids.map((id) => bench.queued(id));
      const mem = bench.sampleStop();
      const sum = (v) => v.reduce((x, y) => x + y, 0);
      // Every produced frame was posted or dropped; posted ones were delivered or are still queued.
      const dropped = probed ? sum(produced) - sum(delivered) - sum(queuedAtEnd) : null;
      // Emitted from here: a promise continuation would wait until the
      // dispatcher has run every queued item.
      emit({
        seconds: (now() - start) / 1000,
        produced: sum(produced),
        delivered: sum(delivered),
        repeats: sum(repeats),
        dropped,
        queuedAtEnd: probed ? sum(queuedAtEnd) : null,
        maxQueuedPerRenderer: probed ? Math.max(...mem.maxQueued) : null,
        backlogSeconds: probed ? (sum(queuedAtEnd) * p.drawMs) / 1000 : null,
        rssStartMB: mem.startRss / 2 ** 20,
        peakGrowthMB: (mem.peakRss - mem.startRss) / 2 ** 20,
        samples: mem.samples,
      });
      // The stale backlog is not worth waiting for.
      process.exit(0);
    };
  });
  // The dispatcher does not keep the loop alive; this does, and ends the
  // flood should no frame arrive.
  setInterval(() => finish && start && now() - start >= p.seconds * 1000 && finish(), 100);
  start = now();
  bench.startProducers(ids.map((_, i) => sinkName(i)), p.width, p.height, 0);
  bench.sampleStart(ids, 1);
  await done;
};

// ---- events through the dispatcher ---------------------------------------------

const ORDINARY = 'LivePlayEngineCallback.OnServerTimestampOffset';
const CONNECTION = 'LivePlayEngineCallback.OnMediaConnected';

// The same JavaScript work for both bindings: count the events.
function eventCounter() {
  const state = { n: 0, connectedAfter: null, connectedAt: 0 };
  state.callbacks = {
    onServerTimestampOffset() {
      state.n++;
    },
    onMediaConnected() {
      state.connectedAt = now();
      state.connectedAfter = state.n;
    },
  };
  return state;
}

function eventsFor(typical, state) {
  if (typical) bench.typicalEvents(state.callbacks);
  else liveClass({}, state.callbacks);
}

// { typical, count, threads }
probes.events = async (p) => {
  const state = eventCounter();
  eventsFor(p.typical, state);
  const cpu0 = bench.threadCpuUs();
  const t0 = now();
  let postedAt = 0;
  sim.fireMany(ORDINARY, [123456], p.count, p.threads).then(() => (postedAt = now()));
  while (state.n < p.count) await sleep(1);
  const t1 = now();
  const cpu = bench.threadCpuUs() - cpu0;
  if (p.typical) bench.typicalStop();
  return {
    eps: (p.count * 1000) / (t1 - t0),
    seconds: (t1 - t0) / 1000,
    postedSeconds: postedAt ? (postedAt - t0) / 1000 : null,
    jsNsPerEvent: (cpu * 1000) / p.count,
  };
};

// { typical, queued }: a connection event posted behind `queued` ordinary ones.
probes.priority = async (p) => {
  const state = eventCounter();
  eventsFor(p.typical, state);
  sim.fireMany(ORDINARY, [1], p.queued, 2);
  // Blocks JavaScript until every ordinary event is posted: all are queued.
  sim.waitIdle();
  const t0 = now();
  sim.fire(CONNECTION, [], 0);
  while (state.n < p.queued || !state.connectedAt) await sleep(1);
  if (p.typical) bench.typicalStop();
  return { delayMs: state.connectedAt - t0, ordinaryBefore: state.connectedAfter, queued: p.queued };
};

// ---- posting cost on engine threads ----------------------------------------------

// { typical, threads, perThread, burst, pauseUs }: each call of the engine
// callback timed on its engine thread while the JavaScript thread drains.
probes.posts = async (p) => {
  const state = eventCounter();
  eventsFor(p.typical, state);
  const total = p.threads * p.perThread;
  bench.timedPosts(ORDINARY, p.threads, p.perThread, p.burst, p.pauseUs);
  let r = null;
  while (!(r = bench.timedPostsResult())) await sleep(2);
  while (state.n < total) await sleep(1);
  if (p.typical) bench.typicalStop();
  return r;
};

// ---- a realistic class ----------------------------------------------------------

const TEACHER = { userId: 1, width: 1920, height: 1080, fps: 30 };
const STUDENTS = Array.from({ length: 16 }, (_, i) => ({ userId: i + 2, width: 320, height: 180, fps: 15 }));
const SSRC = (userId) => 1000 + userId;

// What the engine does during a class: every stream's frames, the local
// microphone's 20 ms PCM chunks, voice activity of every stream changing
// five times a second, and the room's messages. Engine threads 0 to 6; the
// teacher's video has a thread of its own.
function classSources() {
  const sources = [];
  for (const [i, u] of [TEACHER, ...STUDENTS].entries()) {
    sources.push({ kind: 'frame', name: `sink:${u.userId}:1`, width: u.width, height: u.height, fps: u.fps,
      thread: i === 0 ? 0 : 1 + (i % 3) });
  }
  const pcm = Buffer.alloc(640, 1);
  sources.push({ kind: 'fire', name: 'MicrophoneRecordingCallback.OnMicrophoneRecordedPcmData', args: [pcm, 640], fps: 50, thread: 4 });
  for (const u of [TEACHER, ...STUDENTS]) {
    sources.push({ kind: 'fire', name: `VadCallback.ssrc:${SSRC(u.userId)}.OnAudioVadStatusChange`, args: [0], toggle: true, fps: 5, thread: 5 });
  }
  sources.push({ kind: 'fire', name: 'VadCallback.local.OnAudioVadStatusChange', args: [0], toggle: true, fps: 5, thread: 5 });
  sources.push({ kind: 'fire', name: 'LivePlayEngineCallback.OnRadioMessage', args: [Buffer.alloc(256, 2), 256], fps: 10, thread: 6 });
  sources.push({ kind: 'fire', name: 'LivePlayEngineCallback.OnUserData', args: [Buffer.alloc(64, 3), 64], fps: 2, thread: 6 });
  sources.push({ kind: 'fire', name: 'LivePlayEngineCallback.OnServerTimestampOffset', args: [123456], fps: 1, thread: 6 });
  sources.push({ kind: 'fire', name: 'LivePlayEngineCallback.OnAudioSharedConnectionStateChanged', args: [0], toggle: true, fps: 0.5, thread: 6 });
  return sources;
}

// The JavaScript side of the class, the same for both bindings: frames are
// counted and their first byte (the producer's frame counter) kept; events
// are counted; voice activity must alternate per stream, as it was fired.
function classApp() {
  const app = { frames: new Map(), lastByte: new Map(), events: 0, mic: 0, vadBroken: 0, stall: null, afterStall: null };
  const vad = new Map();
  const vadObject = (key) => ({
    onAudioVadStatusChange(status) {
      const before = vad.has(key) ? vad.get(key) : 1;
      if (status !== 1 - before) app.vadBroken++;
      vad.set(key, status);
      app.events++;
      app.maybeStall();
    },
  });
  app.onFrame = (frame) => {
    app.frames.set(frame.userId, (app.frames.get(frame.userId) || 0) + 1);
    app.lastByte.set(frame.userId, frame.buffer[0]);
    if (app.afterStall && frame.userId === TEACHER.userId && app.afterStall.firstTeacher === null) {
      app.afterStall.firstTeacher = frame.buffer[0];
    }
    app.maybeStall();
  };
  app.room = {
    onRadioMessage() { app.events++; app.maybeStall(); },
    onUserData() { app.events++; },
    onServerTimestampOffset() { app.events++; },
    onAudioSharedConnectionStateChanged() { app.events++; },
  };
  app.micObject = { onMicrophoneRecordedPcmData(buffer) { app.mic += buffer.length > 0 ? 1 : 0; app.events++; app.maybeStall(); } };
  app.vadObjects = [TEACHER, ...STUDENTS].map((u) => [SSRC(u.userId), vadObject(u.userId)]);
  app.localVad = vadObject('local');
  // A handler that blocks JavaScript for stall.ms once stall.at has passed.
  app.maybeStall = () => {
    const s = app.stall;
    if (!s || s.done || now() < s.at) return;
    s.done = true;
    s.rssAtBegin = bench.rss();
    s.began = now();
    // Date.now allocates nothing: the heap does not grow with the loop.
    const until = Date.now() + s.ms;
    while (Date.now() < until);
    s.ended = now();
    s.callsAtEnd = bench.sceneCalls();
    s.rssAtEnd = bench.rss();
    app.afterStall = { firstTeacher: null, framesAt: new Map(app.frames) };
  };
  return app;
}

function classSetup(typical, app) {
  if (typical) {
    bench.typicalEvents(app.room);
    for (const u of [TEACHER, ...STUDENTS]) bench.typicalReceive(u.userId, 1, app.onFrame);
    bench.typicalClass(app.micObject, app.vadObjects, app.localVad);
    return;
  }
  const addon = liveClass({ [COPY]: true, [UPDATE]: true }, app.room);
  const renderer = { onVideoFrame: app.onFrame };
  for (const u of [TEACHER, ...STUDENTS]) {
    if (addon.livePlayEngine_videoStartReceive({ userId: u.userId, type: 1 }, renderer) !== 0) throw new Error('videoStartReceive failed');
  }
  if (addon.livePlayEngine_audioStartRecording({}, app.micObject, []) !== 0) throw new Error('audioStartRecording failed');
  for (const [ssrc, object] of app.vadObjects) {
    if (addon.livePlayEngine_registerRemoteVadCallback(ssrc, object) !== 0) throw new Error('registerRemoteVadCallback failed');
  }
  if (addon.livePlayEngine_registerLocalVadCallback(app.localVad) !== 0) throw new Error('registerLocalVadCallback failed');
}

// { typical, seconds, warmupMs, stallMs, stallAtMs }
probes.class = async (p) => {
  const app = classApp();
  classSetup(p.typical, app);
  const sources = classSources();
  const probed = p.typical ? false : bench.openQueueProbe(addonPath());
  bench.sceneStart(sources);
  await sleep(p.warmupMs);
  const frames0 = [...app.frames.values()].reduce((x, y) => x + y, 0);
  const calls0 = bench.sceneCalls();
  const cpu0 = bench.threadCpuUs();
  const t0 = now();
  bench.sampleStart([], 2);
  if (p.stallMs) app.stall = { at: t0 + p.stallAtMs, ms: p.stallMs, done: false };
  await sleep(p.seconds * 1000);
  const t1 = now();
  const cpu1 = bench.threadCpuUs();
  const calls1 = bench.sceneCalls();
  const frames1 = [...app.frames.values()].reduce((x, y) => x + y, 0);
  const scene = bench.sceneStop();
  const mem = bench.sampleStop();
  // Everything fired reaches JavaScript once the engine has stopped.
  const eventsFired = scene.sources.filter((s) => !s.name.startsWith('sink:')).reduce((x, s) => x + s.calls, 0);
  const deadline = now() + 10000;
  while (app.events < eventsFired && now() < deadline) await sleep(5);
  const frameSources = sources.map((s, i) => (s.kind === 'frame' ? i : -1)).filter((i) => i >= 0);
  const produced = frameSources.reduce((x, i) => x + calls1[i] - calls0[i], 0);
  const seconds = (t1 - t0) / 1000;
  const result = {
    seconds,
    jsShare: (cpu1 - cpu0) / 1000 / (t1 - t0),
    engineMsPerSecond: scene.busyMs / scene.seconds,
    engineMaxCallUs: scene.maxUs,
    engineCalls: scene.calls,
    engineFrameMsPerSecond: scene.sources.filter((s) => s.name.startsWith('sink:')).reduce((x, s) => x + s.busyMs, 0) / scene.seconds,
    engineEventMsPerSecond: scene.sources.filter((s) => !s.name.startsWith('sink:')).reduce((x, s) => x + s.busyMs, 0) / scene.seconds,
    framesProduced: produced,
    framesDelivered: frames1 - frames0,
    framesDropped: Math.max(0, produced - (frames1 - frames0)),
    peakGrowthMB: (mem.peakRss - mem.startRss) / 2 ** 20,
    peakRssMB: mem.peakRss / 2 ** 20,
    maxQueued: probed ? mem.maxTotal : null,
    eventsFired,
    eventsDelivered: app.events,
    vadOutOfOrder: app.vadBroken,
    perSource: Object.fromEntries(scene.sources.map((x) => [x.name, +(x.busyMs * 1000 / Math.max(1, x.calls)).toFixed(1)])),
  };
  if (app.stall && app.stall.done) {
    const s = app.stall;
    const teacher = sources.findIndex((x) => x.name === `sink:${TEACHER.userId}:1`);
    // The frames that arrived for the teacher in the first 200 ms after the
    // stall, and how far the first was behind the newest produced.
    result.stall = {
      ms: s.ended - s.began,
      growthMB: (s.rssAtEnd - s.rssAtBegin) / 2 ** 20,
      newestTeacherByte: (s.callsAtEnd[teacher] - 1) & 255,
      firstTeacherByte: app.afterStall.firstTeacher,
      // Frames between the newest produced when the stall ended and the
      // first delivered after it: 0 is the newest, negative a newer one.
      teacherFramesBehind: app.afterStall.firstTeacher === null ? null
        : (((s.callsAtEnd[teacher] - 1 - app.afterStall.firstTeacher + 128) & 255) - 128),
      framesAfter: [...app.frames.entries()].reduce((x, [u, n]) => x + n - (app.afterStall.framesAt.get(u) || 0), 0),
    };
  }
  if (p.typical) bench.typicalStop();
  return result;
};

async function main() {
  const [kind, json] = process.argv.slice(2);
  const probe = probes[kind];
  if (!probe) throw new Error(`unknown probe ${kind}`);
  const p = JSON.parse(json || '{}');
  emit(await probe(p));
  process.exit(0);
}

main().catch((err) => {
  console.error(err);
  process.exit(1);
});
