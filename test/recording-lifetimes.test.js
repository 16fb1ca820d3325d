'use strict';
// The recorders' lifetimes in processes of their own: ending while they
// record, preview and export (LeakSanitizer checks the natural ending under
// the sanitizer build), and many cycles with nothing left behind.
const test = require('node:test');
const assert = require('node:assert/strict');
const { runFixture, lastJson, underAsan, leakChecked } = require('./helpers');

const SANITIZER_REPORT = /ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:|FATAL ERROR/;

test('a process that ends while recording, previewing and exporting', async () => {
  for (const mode of ['teardown', 'exit', 'teardown', 'exit']) {
    const run = await runFixture('recording-lifetimes.js', [mode], 120000, mode === 'teardown' ? leakChecked() : process.env);
    assert.equal(run.signal, null, `${mode}: killed by ${run.signal}\n${run.stderr}`);
    assert.equal(run.code, 0, `${mode}: exit code ${run.code}\n${run.stderr}`);
    assert.doesNotMatch(run.stderr, /delivered after exit/, mode);
    assert.doesNotMatch(run.stderr, SANITIZER_REPORT, mode);
    const counts = lastJson(run.stdout);
    assert.ok(counts.frames >= 20 && counts.events > 0, `${mode}: ${run.stdout}`);
  }
});

test('recorders made, used and destroyed 500 times leave nothing behind', async (t) => {
  const run = await runFixture('recording-lifetimes.js', ['soak', '500'], 300000, leakChecked());
  assert.equal(run.signal, null, `killed by ${run.signal}\n${run.stderr}`);
  assert.equal(run.code, 0, `exit code ${run.code}; a LeakSanitizer report ends with a non-zero code\n${run.stderr}`);
  const { cycles, frames, after, end } = lastJson(run.stdout);
  assert.equal(cycles, 500);
  assert.ok(frames >= 500);
  const recorders = ['recordEngines', 'screenRecordEngines', 'cameraRecordEngines', 'mediaTrackEditors'];
  for (const kind of recorders) assert.equal(end.objects[kind], 0, kind);
  assert.deepEqual(end.objects, after.objects);
  const growth = Object.fromEntries(['rss', 'heapUsed', 'external'].map((k) => [k, (end[k] - after[k]) / (1 << 20)]));
  t.diagnostic(`growth over 450 cycles, MB: ${JSON.stringify(growth)}`);
  if (underAsan()) return;
  // A preview frame (56 KB) or a callback object kept per cycle would show.
  assert.ok(growth.rss < 16, `RSS grew ${growth.rss.toFixed(1)} MB`);
  for (const k of ['heapUsed', 'external']) assert.ok(growth[k] < 2, `${k} grew ${growth[k].toFixed(1)} MB`);
});
