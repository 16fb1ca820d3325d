'use strict';
// Deliveries under load: engine threads posting faster than the JavaScript
// callbacks take must not keep the JavaScript thread from everything else.
const test = require('node:test');
const assert = require('node:assert/strict');
const { runFixture, lastJson } = require('./helpers');

test('callbacks slower than the engine thread posting them do not starve the event loop', async () => {
  const run = await runFixture('robust-starve.js', [], 30000);
  assert.equal(run.signal, null, `killed by ${run.signal}: the timer never fired\n${run.stderr}`);
  assert.equal(run.code, 0, run.stderr);
  const { timerFired, chunks, ms } = lastJson(run.stdout);
  assert.equal(timerFired, true);
  assert.ok(chunks > 0, 'deliveries went on meanwhile');
  // Far below the 30 s after which the child is killed; a wake-up lasts as
  // long as the items queued when it began.
  assert.ok(ms < 5000, `the 100 ms timer fired after ${ms} ms`);
});
