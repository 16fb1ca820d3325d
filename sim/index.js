'use strict';
// Control module of the stand-in engine (see docs/sim.md and docs/sim-live.md).
const native = require(require('../scripts/binary').simPath());

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
