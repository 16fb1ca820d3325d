'use strict';
// A class from start to leave, 1,000 times: memory, open resources and engine
// objects are flat at the end. Under the sanitizer build LeakSanitizer checks
// every allocation at exit instead of the (there meaningless) RSS.
const test = require('node:test');
const assert = require('node:assert/strict');
const { runFixture, lastJson, underAsan, leakChecked } = require('./helpers');

const MB = 1 << 20;

test('create, connect, receive video, leave: 1,000 cycles', async (t) => {
  const run = await runFixture('robust-soak.js', ['1000', underAsan() ? 'small' : 'large'], 300000, leakChecked());
  assert.equal(run.signal, null, `killed by ${run.signal}\n${run.stderr}`);
  assert.equal(run.code, 0, `exit code ${run.code}; a LeakSanitizer report ends with a non-zero code\n${run.stderr}`);
  const { cycles, frames, after, end } = lastJson(run.stdout);
  assert.equal(cycles, 1000);
  assert.equal(frames, 2000);
  // Nothing of a class outlives it: engine objects and open resources are as
  // they were after the warm-up.
  assert.deepEqual(end.objects, after.objects);
  assert.deepEqual(end.objects, { audioRecordings: 0, commandClients: 0, liveClients: 1, roots: 0, userInfos: 1 });
  assert.deepEqual(end.resources, after.resources);
  const growth = Object.fromEntries(['rss', 'heapUsed', 'external', 'arrayBuffers'].map((k) => [k, (end[k] - after[k]) / MB]));
  t.diagnostic(`growth over 900 cycles, MB: ${JSON.stringify(growth)}`);
  if (underAsan()) return;
  // One frame kept per cycle would be 900 x 0.9 MB.
  assert.ok(growth.rss < 32, `RSS grew ${growth.rss.toFixed(1)} MB`);
  for (const k of ['heapUsed', 'external', 'arrayBuffers']) assert.ok(growth[k] < 4, `${k} grew ${growth[k].toFixed(1)} MB`);
});
