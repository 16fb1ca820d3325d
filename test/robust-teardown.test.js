'use strict';
// Environments that end while engine threads post events, frames, log
// records and analytics: the teardown delivers nothing, frees everything
// (LeakSanitizer checks the children under the sanitizer build) and never
// crashes, many times in a row.
const test = require('node:test');
const assert = require('node:assert/strict');
const { runFixture, lastJson, leakChecked } = require('./helpers');

const SANITIZER_REPORT = /ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:|FATAL ERROR/;

function assertClean(run, what) {
  assert.equal(run.signal, null, `${what}: killed by ${run.signal}\n${run.stderr}`);
  assert.equal(run.code, 0, `${what}: exit code ${run.code}\n${run.stderr}`);
  assert.doesNotMatch(run.stderr, /delivered after exit/, what);
  assert.doesNotMatch(run.stderr, SANITIZER_REPORT, what);
}

test('a process that ends while engine threads post, 100 times in a row', async () => {
  // natural: the teardown runs (leaks checked); exit and event: process.exit()
  // from inside a delivered frame or event, where Node skips the teardown.
  const modes = ['natural', 'exit', 'event'];
  const runs = Array.from({ length: 100 }, (_, i) => modes[i % modes.length]);
  const results = [];
  // Two at a time: one per core.
  for (let i = 0; i < runs.length; i += 2) {
    const pair = runs.slice(i, i + 2).map((mode) =>
      runFixture('robust-exit.js', [mode], 120000, mode === 'natural' ? leakChecked() : process.env)
        .then((run) => ({ mode, run })));
    results.push(...(await Promise.all(pair)));
  }
  for (const [i, { mode, run }] of results.entries()) {
    assertClean(run, `run ${i} (${mode})`);
    const counts = lastJson(run.stdout);
    if (mode === 'event') assert.ok(counts.events >= 50, `run ${i}: ${run.stdout}`);
    else assert.ok(counts.frames >= 20, `run ${i}: ${run.stdout}`);
  }
});

test('workers that end in each way while their engine threads post', async () => {
  for (let round = 0; round < 3; round++) {
    const run = await runFixture('robust-exit.js', ['worker'], 120000, leakChecked());
    assertClean(run, `round ${round}`);
    const { codes, afterwards } = lastJson(run.stdout);
    // terminate() ends a worker with 1, the other ways with 0.
    assert.deepEqual(codes, [0, 0, 0, 1, 0, 0, 0, 1]);
    assert.ok(afterwards >= 1, 'the main thread uses the module after the workers');
  }
});

test('the teardown releases what is still queued before it destroys any object held by handle or any engine', async () => {
  const run = await runFixture('teardown-order.js', [], 60000, leakChecked());
  assertClean(run, 'teardown order');
  assert.deepEqual(lastJson(run.stdout), {
    code: 0,
    lines: [
      'EngineAddon: environment teardown: 25 queued callback items released',
      'EngineAddon: environment teardown: 1 objects held by handle destroyed',
      'EngineManager: destroy live play engine',
    ],
    players: 0,
  });
});
