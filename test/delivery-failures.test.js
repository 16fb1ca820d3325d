'use strict';
// Delivery failures and environment teardown, each in a process of its own:
// an uncaught exception or an exit would end the test runner's process.
const test = require('node:test');
const assert = require('node:assert/strict');
const { runFixture, lastJson } = require('./helpers');

function assertCleanExit(run) {
  assert.equal(run.signal, null, `killed by ${run.signal}\n${run.stderr}`);
  assert.equal(run.code, 0, run.stderr);
}

test('a missing or throwing log method is an uncaught exception; later records still arrive', async () => {
  const run = await runFixture('executor-errors.js');
  assertCleanExit(run);
  const { uncaught, delivered } = lastJson(run.stdout);

  assert.equal(uncaught.length, 5);
  for (const e of uncaught.slice(0, 3)) {
    assert.equal(e.isError, true);
    assert.equal(e.sameObject, false);
  }
  // What the method throws is what reaches 'uncaughtException'.
  for (const e of uncaught.slice(3)) assert.deepEqual(e, { isError: true, name: 'RangeError', message: 'thrown by log', sameObject: true });

  assert.deepEqual(delivered, ['restored #0:0', 'restored #0:1', 'restored #0:2', 'restored #1:0', 'restored #1:1', 'restored #1:2']);
});

test("lines written during a delivery do not come back to the same executor", async (t) => {
  await t.test('the failure lines of a log method whose lookup throws', async () => {
    const run = await runFixture('executor-feedback.js', ['trap'], 20000);
    assertCleanExit(run);
    assert.deepEqual(lastJson(run.stdout), { uncaught: 3, got: [] });
  });

  await t.test('lines the log method writes itself', async () => {
    const run = await runFixture('executor-feedback.js', ['relog'], 20000);
    assertCleanExit(run);
    assert.deepEqual(lastJson(run.stdout), { uncaught: 0, got: ['record #0:0', 'record #0:1', 'record #0:2'] });
  });
});

test('exiting while engine threads still post log records', async (t) => {
  for (const [mode, how] of [
    ['natural', 'the event loop runs out'],
    ['exit', 'process.exit() inside a delivered callback'],
  ]) {
    await t.test(how, async () => {
      // A race at exit does not show every time.
      for (let round = 0; round < 3; round++) {
        const run = await runFixture('exit-while-logging.js', [mode]);
        assertCleanExit(run);
        assert.doesNotMatch(run.stderr, /delivered after exit/);
        assert.deepEqual(lastJson(run.stdout), { delivered: 200 });
      }
    });
  }
});

// Every kind the dispatcher delivers to (the player core's and the AI agent's
// listeners go through thread-safe functions and have tests of their own).
const KINDS = ['live play events', 'command client events', 'renderer', 'microphone recording', 'local voice activity',
  'static frame detector', 'device error observer', 'device module', 'media player', 'replay engine',
  'streaming engine', 'live client cache', 'log executor', 'local analytics observer', 'HTTP executor live client'];

test('a callback of any kind that throws: with a handler every error reaches it and later events arrive', async () => {
  const run = await runFixture('callback-kinds.js', ['handled'], 120000);
  assertCleanExit(run);
  const { errors, later } = lastJson(run.stdout);
  assert.deepEqual(errors, KINDS.map((kind) => `thrown by the ${kind} callback`));
  for (const kind of KINDS) assert.ok(later[kind] >= 1, `${kind}: nothing delivered after the error`);
});

test('a callback of any kind that throws: without a handler the process ends with its message and stack', async () => {
  for (let i = 0; i < KINDS.length; i += 2) {
    const runs = await Promise.all(KINDS.slice(i, i + 2).map((kind) => runFixture('callback-kinds.js', ['unhandled', kind], 60000)));
    for (const [j, run] of runs.entries()) {
      const kind = KINDS[i + j];
      assert.equal(run.signal, null, `${kind}: killed by ${run.signal}\n${run.stderr}`);
      assert.equal(run.code, 1, `${kind}: exit code ${run.code}\n${run.stdout}\n${run.stderr}`);
      assert.match(run.stderr, new RegExp(`Error: thrown by the ${kind} callback\\n\\s+at (Proxy\\.)?throwingCallback`), kind);
    }
  }
});
