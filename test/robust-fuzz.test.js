'use strict';
// A bounded run of the export fuzzer (scripts/fuzz.js) in each engine state.
// The seed is random unless LUMEN_FUZZ_SEED is set; a failure names the
// command that repeats the run.
const test = require('node:test');
const assert = require('node:assert/strict');
const path = require('node:path');
const { spawn } = require('node:child_process');
const { root, lastJson, underAsan } = require('./helpers');

function fuzz(args) {
  return new Promise((resolve, reject) => {
    const child = spawn(process.execPath, [path.join(root, 'scripts', 'fuzz.js'), ...args], { cwd: root, stdio: ['ignore', 'pipe', 'pipe'] });
    let stdout = '';
    let stderr = '';
    child.stdout.on('data', (d) => (stdout += d));
    child.stderr.on('data', (d) => (stderr += d));
    child.on('error', reject);
    child.on('close', (code, signal) => resolve({ code, signal, stdout, stderr }));
  });
}

test('every export, hostile arguments, in each engine state, with engine threads posting', async (t) => {
  const seed = process.env.LUMEN_FUZZ_SEED || String((Math.random() * 2 ** 32) >>> 0);
  const calls = underAsan() ? 1200 : 2500;
  const again = `node scripts/fuzz.js --seed=${seed} --calls=${calls}`;
  t.diagnostic(`seed ${seed} (repeat: ${again}${underAsan() ? ' --asan' : ''})`);
  const run = await fuzz([`--seed=${seed}`, `--calls=${calls}`, '--json']);
  assert.equal(run.signal, null, `${again}\n${run.stdout}\n${run.stderr}`);
  assert.equal(run.code, 0, `${again}\n${run.stdout}\n${run.stderr}`);
  const summary = lastJson(run.stdout);
  assert.equal(summary.ok, true);
  assert.deepEqual(Object.keys(summary.states), ['none', 'created', 'connected', 'replay', 'liveReplay', 'streaming', 'recording']);
  for (const [state, { problems, stats }] of Object.entries(summary.states)) {
    assert.deepEqual(problems, [], state);
    assert.equal(stats.calls, calls, state);
    assert.equal(stats.final, 'ok', state);
    // The run reached what it claims to test: every export, hostile values
    // refused by coercions, and the module's own argument errors.
    assert.equal(stats.called, stats.exports, `${state}: not every export was called`);
    assert.ok(stats.exceptions.TypeError > 0 && stats.exceptions.sentinel > 0 && stats.exceptions['module Error'] > 0, state);
    assert.ok(stats.admitted > calls / 3, `${state}: only ${stats.admitted} calls got past the admission tests`);
  }
  // With no engine, pass-through exports were called and answered their failure value.
  const { absentChecked } = summary.states.none.stats;
  assert.ok(absentChecked > calls / 30, `${absentChecked} answers checked`);
  const connected = summary.states.connected.stats;
  assert.ok(connected.frames > 0 && connected.deliveries > 0, 'frames and events flowed meanwhile');
  assert.ok(summary.states.replay.stats.frames > 0, 'replayed frames flowed meanwhile');
  const recording = summary.states.recording.stats;
  assert.ok(recording.frames > 0 && recording.deliveries > 0, 'preview frames and recorder events flowed meanwhile');
});
