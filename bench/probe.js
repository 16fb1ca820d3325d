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
