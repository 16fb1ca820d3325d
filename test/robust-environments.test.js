'use strict';
// The module serves one JavaScript environment at a time: workers, a second
// load, and environments torn down while inside an export.
const test = require('node:test');
const assert = require('node:assert/strict');
const { runFixture, lastJson } = require('./helpers');

async function scenario(name) {
  const run = await runFixture('robust-worker.js', [name], 120000);
  assert.equal(run.signal, null, `killed by ${run.signal}\n${run.stderr}`);
  assert.equal(run.code, 0, run.stderr);
  return lastJson(run.stdout);
}

test('terminating a worker while it is inside an export does not end the process', async () => {
  // A throw that can no longer reach JavaScript used to be fatal.
  assert.deepEqual(await scenario('terminate'), { rounds: 20 });
});
