'use strict';
const test = require('node:test');
const assert = require('node:assert/strict');
const addon = require('..');
const sim = require('../sim');

const { describeExports } = require('./exports');

// The groups built so far, in registration order, with their sizes. The
// names themselves are checked against index.d.ts (declarations test).
const GROUPS = [
  ['engineSdk', 27],
  ['livePlayEngine', 47],
  ['mediaPlayerEngine', 2],
  ['MediaPlayerEngine', 1],
  ['mediaPlayerEngine', 10],
  ['replayEngine', 17],
  ['log', 5],
  ['streamingEngine', 7],
  ['audioRenderEngine', 7],
  ['engineTest', 1],
];

test('module object', async (t) => {
  await t.test('carries exactly the built groups, each whole and in registration order', () => {
    const described = describeExports(addon);
    const runs = [];
    for (const d of described) {
      if (runs.length === 0 || runs.at(-1)[0] !== d.group) runs.push([d.group, 0]);
      runs.at(-1)[1]++;
    }
    assert.deepEqual(runs, GROUPS);
  });

  await t.test('every export is a function that describes itself under its own name', () => {
    for (const [name, fn] of Object.entries(addon)) {
      assert.equal(typeof fn, 'function', name);
      const d = fn[Symbol.for('lumen_engine_addon.export')];
      assert.equal(d.name, name);
      assert.equal(d.group, name.slice(0, name.indexOf('_')));
      assert.ok(Object.isFrozen(d), name);
      assert.match(d.types, /^[ocwfFsnbatB*]*$/, name);
      assert.ok(d.check === 'free' || d.message, `${name} refuses with a message`);
    }
  });

  await t.test('loading calls nothing in the engine', () => {
    assert.deepEqual(sim.journal(), []);
  });
});

test('engineTest_executeOpenglTest', async (t) => {
  t.beforeEach(() => sim.reset());

  await t.test("returns the engine's integer whatever it is given", () => {
    sim.script('tavel.EngineTest.ExecuteOpenglTest', 7);
    assert.equal(addon.engineTest_executeOpenglTest(), 7);
    sim.script('tavel.EngineTest.ExecuteOpenglTest', -3);
    assert.equal(addon.engineTest_executeOpenglTest('ignored', 42, { a: 1 }, () => {}), -3);
    assert.deepEqual(
      sim.journal().map((e) => e.op),
      ['tavel.EngineTest.ExecuteOpenglTest', 'tavel.EngineTest.ExecuteOpenglTest'],
    );
    assert.deepEqual(sim.journal()[1].args, []);
  });

  await t.test('returns 0 when the engine reports success', () => {
    assert.equal(addon.engineTest_executeOpenglTest(undefined), 0);
  });
});
