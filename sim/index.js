'use strict';
// Control module of the stand-in engine (see docs/sim.md and the pages it lists).
const fs = require('fs');

const simPath = require('../scripts/binary').simPath();
// Built only with the stand-in engine: an add-on built against the real
// engine library has no simulation to control.
if (!fs.existsSync(simPath)) {
  throw new Error(`lumen_engine_addon/sim: no control module at ${simPath}; it exists only in builds against the stand-in engine`);
}
const native = require(simPath);

// The HttpExecutor.Execute firer's arguments: [url, method, type, header lines, body, value].
function httpArgs({ url = '', method = 0, type = 0, headers = [], body = null, value = 0 } = {}) {
  const lines = headers.map((h) => `${h.name}: ${h.value}`).join('\n');
  return [url, method, type, lines, body, value];
}

const ROLES = { teacher: 0, student: 1 };
const role = (r) => (typeof r === 'string' ? ROLES[r] ?? -1 : r);

// A probe's event, its chunk bytes as Buffers.
function probeEvent(text) {
  const e = JSON.parse(text);
  if (e.chunks) e.chunks = e.chunks.map((c) => ({ npt: c.npt, data: Buffer.from(c.data) }));
  return e;
}

// The play position and frame number a replay frame shows, read from its
// ABGR pixels: the two rows of 32 cells under the bar (white = 1).
function readReplayFrame(abgr, width, height) {
  const band = Math.max(2, Math.floor(height / 8) & ~1);
  const word = (n) => {
    let v = 0;
    const y = n * band + (band >> 1);
    for (let i = 0; i < 32; i++) {
      // Cell i holds the x with floor(x * 32 / width) == i; read its middle.
      const x = (Math.ceil((i * width) / 32) + Math.ceil(((i + 1) * width) / 32) - 1) >> 1;
      v = v * 2 + (abgr[(y * width + x) * 4 + 1] > 128 ? 1 : 0);
    }
    return v;
  };
  return { positionMs: word(1), frame: word(2) };
}

module.exports = {
  ...native,
  // Journal entries with their arguments parsed: [{ seq, op, args: [...] }].
  journal(filter) {
    const all = native.journal().map((e) => ({ seq: e.seq, op: e.op, args: JSON.parse(e.args) }));
    if (!filter) return all;
    return all.filter((e) => (filter instanceof RegExp ? filter.test(e.op) : e.op === filter));
  },
  setSourceFlags(flags) {
    native.setSourceFlags(typeof flags === 'string' ? flags : JSON.stringify(flags));
  },
  // Moving test pictures to every held sink until stopVideo(); `sinks` gives
  // named sinks their own size and rate: { 'sink:1001:1': { width, height, fps } }.
  startVideo({ width = 320, height = 180, fps = 15, sinks = {} } = {}) {
    const own = Object.entries(sinks).map(([name, s]) => [name, s.width ?? width, s.height ?? height, s.fps ?? fps]);
    native.startVideo(width, height, fps, own);
  },
  // 10 ms of microphone PCM to the recording callback every intervalMs.
  startAudio({ intervalMs = 10 } = {}) {
    native.startAudio(intervalMs);
  },
  // One request of the engine through the host's HTTP executor, issued on an
  // engine thread: { url, method, type, headers: [{ name, value }], body,
  // value }. Answers its id, or null when no executor is held.
  httpRequest(request = {}, { thread = 0 } = {}) {
    return native.httpRequest(httpArgs(request), thread);
  },
  // count such requests spread over engine threads; resolves once issued.
  httpRequests(request, count, threads = 4) {
    return native.fireMany('HttpExecutor.Execute', httpArgs(request), count, threads);
  },
  // on: connects report themselves; delayMs: how long after the call.
  setAutoConnect(on, { delayMs } = {}) {
    if (delayMs === undefined) native.setAutoConnect(!!on);
    else native.setAutoConnect(!!on, delayMs);
  },
  // What playing players draw on their render threads (fps 0: nothing).
  setPlayerVideo({ width = 320, height = 180, rotation = 0, fps = 0, alphaType = 0 } = {}) {
    native.setPlayerVideo(width, height, rotation, fps, alphaType);
  },
  // Frames first .. first + count - 1 of the moving picture into a player's renderer.
  drawPlayerFrames(id, { width = 320, height = 180, rotation = 0, first = 0, count = 1, alphaType = 0 } = {}) {
    return native.drawPlayerFrames(id, width, height, rotation, first, count, alphaType);
  },
  // Room replay (docs/sim-room-replay.md).
  setReplayClass(partial) {
    return JSON.parse(native.setReplayClass(partial));
  },
  setReplayCompletions(partial) {
    return JSON.parse(native.setReplayCompletions(partial));
  },
  replayRooms: () => JSON.parse(native.replayRooms()),
  replayDownloaders: () => JSON.parse(native.replayDownloaders()),
  // Stream 'teacher' or 'student' (or 0, 1) at a position: packed I420, or ABGR.
  replayPicture(width, height, { role: r = 'teacher', positionMs = 0, durationMs, frame = 0 } = {}) {
    return native.replayPicture(role(r), width, height, positionMs, durationMs, frame);
  },
  replayPictureAbgr(width, height, { role: r = 'teacher', positionMs = 0, durationMs, frame = 0 } = {}) {
    return native.replayPictureAbgr(role(r), width, height, positionMs, durationMs, frame);
  },
  readReplayFrame,
  probeReplay(op, ...args) {
    const r = native.probeReplay(op, ...args);
    return op === 'getState' ? JSON.parse(r) : r;
  },
  probeEvents: (id) => native.probeEvents(id).map(probeEvent),
};
