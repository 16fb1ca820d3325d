'use strict';
// The stand-in engine survives what the fuzzer makes it do: its firers take
// arguments from JavaScript, and a crash there would hide the add-on's own.
const test = require('node:test');
const assert = require('node:assert/strict');
const { addon, sim, fresh, callbacks } = require('./live-helpers');

test('a cache read firing with any int capacity makes a buffer of at most 64 MiB', () => {
  fresh();
  addon.engineSdk_onAppInit(callbacks(), '1.0');
  addon.engineSdk_loadCache('k', Buffer.from('abc'));
  const huge = sim.cacheGet('k', 2 ** 31 - 1);
  assert.equal(huge.size, 3);
  assert.equal(huge.bytes.length, 64 << 20);
  assert.deepEqual([...huge.bytes.subarray(0, 4)], [0x61, 0x62, 0x63, 0xee]);
  const negative = sim.cacheGet('k', -5);
  assert.deepEqual([negative.size, negative.bytes.length], [0, 0]);
});

test('a worker that ends while its engine-thread batches still run', async () => {
  const { runFixture, lastJson } = require('./helpers');
  const run = await runFixture('robust-standin-batch.js', [], 60000);
  assert.equal(run.signal, null, `killed by ${run.signal}\n${run.stderr}`);
  assert.equal(run.code, 0, run.stderr);
  assert.deepEqual(lastJson(run.stdout), { workers: 5, afterwards: 1000 });
});
