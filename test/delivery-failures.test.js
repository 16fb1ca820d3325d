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
