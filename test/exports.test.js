'use strict';
// The refusal path of every export, read from the module's own description:
// a call that its row does not admit throws the export's own message, answers
// nothing else and reaches nothing in the engine, whatever state it is in.
const test = require('node:test');
const assert = require('node:assert/strict');
const { addon, sim, fresh, startClass } = require('./live-helpers');
const { describeExports, refusedCalls, admittedArgs } = require('./exports');

const described = describeExports(addon);

function refusals() {
  const out = [];
  for (const d of described) for (const args of refusedCalls(d)) out.push([d, args]);
  return out;
}

// A refusal throws the row's message, or (refusal 'log') writes it as an
// error line under the row's tag and answers the failure value.
function assertRefused(d, args) {
  let thrown = null;
  let answer;
  const lines = sim.logLines().length;
  try {
    answer = addon[d.name](...args);
  } catch (err) {
    thrown = err;
  }
  if (d.refusal === 'log') {
    assert.equal(thrown, null, `${d.name} threw instead of logging its refusal`);
    assert.equal(answer, d.failure, d.name);
    assert.ok(sim.logLines().slice(lines).some((l) => l.text === d.message && l.tag === d.tag && l.severity === 12),
      `${d.name}(${args.map(String).join(', ')}) was admitted`);
    return;
  }
  assert.ok(thrown instanceof Error, `${d.name}(${args.map(String).join(', ')}) was admitted`);
  assert.equal(thrown.message, d.message, d.name);
}

test('every export that checks its arguments has a refusal to test', () => {
  const checked = described.filter((d) => d.check !== 'free');
  assert.ok(checked.length >= 60);
  for (const d of checked) assert.ok(refusedCalls(d).length > 0, d.name);
});

for (const state of ['no engine', 'a connected class']) {
  test(`refused calls with ${state} throw their message and reach nothing`, () => {
    fresh();
    if (state !== 'no engine') {
      startClass();
      assert.equal(addon.engineSdk_connectLivePlayEngine({ room_id: 1 }), 0);
      sim.waitIdle();
    }
    const before = addon.engineSdk_currentEngineType();
    sim.clearJournal();
    for (const [d, args] of refusals()) assertRefused(d, args);
    assert.deepEqual(sim.journal(), []);
    // Nothing was created, destroyed or connected by a refused call.
    assert.equal(addon.engineSdk_currentEngineType(), before);
  });
}

test('the rows describe what the handlers admit: admitted arguments never throw the row\'s message', () => {
  fresh();
  // Only exports that need no engine and change nothing lasting.
  const safe = described.filter((d) => d.group === 'livePlayEngine' || /^log_(logMessage|removeEpisodeId)$/.test(d.name));
  for (const d of safe) {
    try {
      addon[d.name](...admittedArgs(d));
    } catch (err) {
      assert.notEqual(err.message, d.message, `${d.name} refused its admitted arguments`);
    }
  }
});
