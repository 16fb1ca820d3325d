'use strict';
// Control module of the stand-in engine (see docs/sim.md).
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
};
