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

test('a worker cannot load the module while the main thread uses it; main delivery goes on', async () => {
  const { worker, workerExit, delivered } = await scenario('second');
  assert.equal(worker.loaded, false);
  assert.equal(worker.isError, true);
  assert.equal(worker.code, 'ERR_LUMEN_ENVIRONMENT_IN_USE');
  assert.match(worker.message, /one JavaScript environment at a time/);
  assert.equal(workerExit, 0);
  assert.equal(delivered, 100);
});

test('loading the module twice in one environment gives the same module object and tears down once', async () => {
  const { worker, workerExit } = await scenario('twice');
  assert.deepEqual(worker, { same: true, sameState: 0, delivered: 20 });
  assert.equal(workerExit, 0);
});

test('once a worker that used the module has exited, the main thread can load it afresh', async () => {
  const { inWorker, workerExit, mainEngineType, frames, delivered } = await scenario('sequential');
  assert.equal(inWorker, 0);
  assert.equal(workerExit, 0);
  // The worker's engine and renderers went with its environment: the same
  // stream delivers to the main thread's own renderer object.
  assert.equal(mainEngineType, -1);
  assert.deepEqual(frames, [4]);
  assert.equal(delivered, 100);
});

test('workers terminated with a class, a player and HTTP requests in flight never take the process down', async () => {
  // The module lives only in the workers, whose engine threads are busy when
  // each is terminated.
  const run = await runFixture('worker-torture.js', ['50'], 300000);
  assert.equal(run.signal, null, `killed by ${run.signal}\n${run.stderr}`);
  assert.equal(run.code, 0, run.stderr);
  assert.deepEqual(lastJson(run.stdout), { rounds: 50 });
});
