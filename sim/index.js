'use strict';
// Control module of the stand-in engine (see docs/sim.md and docs/sim-live.md).
const native = require(require('../scripts/binary').simPath());

// The HttpExecutor.Execute firer's arguments: [url, method, type, header lines, body, value].
function httpArgs({ url = '', method = 0, type = 0, headers = [], body = null, value = 0 } = {}) {
  const lines = headers.map((h) => `${h.name}: ${h.value}`).join('\n');
  return [url, method, type, lines, body, value];
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
  // Moving test pictures to every held sink until stopVideo().
  startVideo({ width = 320, height = 180, fps = 15 } = {}) {
    native.startVideo(width, height, fps);
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
};
