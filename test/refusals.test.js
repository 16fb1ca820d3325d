'use strict';
// Refusal texts, failure values and no-engine answers of every export against
// tables of their own (test/refusals/*.js), written from the contract and
// not from the module's description: a typo in a message, a failure value
// changed in a row or a missing engine answered differently fails here even
// though the module would describe itself with the same mistake.
//
// A row: message, the Error a refused call throws (null: the export refuses
// nothing); failure, what a refused call answers; absent, what an admitted
// call answers while its engine is missing (absentThrows: the Error it
// throws instead); logs, the line it writes then when it is not the file's
// `missing` line (null: none); args, the call to make when the row's admitted
// arguments are not enough; liveGone, the warning the live play wrapper
// writes when its engine interface is missing (liveGoneAnswer: the answer
// then, when it is not `absent`).
const fs = require('node:fs');
const path = require('node:path');
const test = require('node:test');
const assert = require('node:assert/strict');
const { addon, sim, fresh, callbacks } = require('./live-helpers');
const { describeExports, refusedCalls, admittedArgs } = require('./exports');

const rows = {};
const missingLine = {};
for (const file of fs.readdirSync(path.join(__dirname, 'refusals')).filter((f) => f.endsWith('.js'))) {
  const table = require(path.join(__dirname, 'refusals', file));
  for (const [name, row] of Object.entries(table.rows)) {
    assert.ok(!(name in rows), `${name} has rows in two tables`);
    rows[name] = row;
    missingLine[name] = 'logs' in row ? row.logs : table.missing;
  }
}

const described = describeExports(addon).filter((d) => d.name !== 'HttpRequestCallback');

function thrownBy(fn) {
  try {
    fn();
  } catch (err) {
    return err;
  }
  return null;
}

test('the tables and the module name the same exports', () => {
  assert.deepEqual(Object.keys(rows).sort(), described.map((d) => d.name).sort());
});

test('a refused call throws exactly the words of its row, and the row answers its failure value', () => {
  fresh();
  let checked = 0;
  for (const d of described) {
    const row = rows[d.name];
    if (row.message === null) {
      assert.equal(d.check, 'free', `${d.name} refuses calls the contract admits`);
      continue;
    }
    assert.notEqual(d.check, 'free', `${d.name} refuses nothing`);
    const calls = refusedCalls(d);
    assert.ok(calls.length > 0, d.name);
    assert.equal(d.refusal, row.refusal || 'throw', `${d.name} refuses by ${d.refusal}`);
    for (const args of calls) {
      if (row.refusal === 'log') {
        // Never thrown: the words go to an error line under the row's tag.
        sim.clearLogLines();
        let answer;
        const err = thrownBy(() => { answer = addon[d.name](...args); });
        assert.equal(err, null, `${d.name} threw`);
        assert.equal(answer, row.failure, d.name);
        assert.deepEqual(sim.logLines().filter((l) => l.severity === 12).map(({ tag, text }) => ({ tag, text })),
          [{ tag: row.tag, text: row.message }], `${d.name}(${args.map(String).join(', ')})`);
        checked++;
        continue;
      }
      const err = thrownBy(() => addon[d.name](...args));
      assert.ok(err instanceof Error, `${d.name}(${args.map(String).join(', ')}) was admitted`);
      assert.equal(err.message, row.message, d.name);
      checked++;
    }
    // The value the trampoline hands back with the thrown Error.
    assert.equal(d.failure, row.failure, `${d.name} failure value`);
  }
  assert.ok(checked > 300, `only ${checked} refusals`);
});

test('with no engine an admitted call answers its row\'s value and logs the missing engine once', () => {
  fresh();
  let checked = 0;
  for (const d of described) {
    const row = rows[d.name];
    if (!('absent' in row) && !('absentThrows' in row)) continue;
    sim.clearLogLines();
    sim.clearJournal();
    const args = row.args || admittedArgs(d);
    if (row.absentThrows) {
      assert.throws(() => addon[d.name](...args), { message: row.absentThrows }, d.name);
    } else {
      assert.deepEqual(addon[d.name](...args), row.absent, d.name);
    }
    const expected = missingLine[d.name];
    if (expected !== undefined) {
      const lines = sim.logLines().filter((l) => /not created yet/.test(l.text));
      assert.deepEqual(lines.map(({ text, tag, severity }) => ({ text, tag, severity })), expected ? [expected] : [], d.name);
      assert.deepEqual(sim.journal().map((e) => e.op).filter((op) => !/SourceFlag/.test(op)), [], `${d.name} reached an engine`);
    }
    checked++;
  }
  assert.ok(checked > 150, `only ${checked} exports checked`);
  assert.equal(addon.engineSdk_currentEngineType(), -1);
});

test('with the live play interface missing, each live play export logs its own warning and answers its failure', () => {
  fresh();
  sim.script('tavel.LivePlayEngine.GetInterface', false);
  addon.engineSdk_onAppInit(callbacks(), '5.1.0');
  assert.equal(addon.engineSdk_createLivePlayEngine(callbacks()), 0);
  let checked = 0;
  for (const d of described.filter((x) => 'liveGone' in rows[x.name])) {
    const row = rows[d.name];
    sim.clearLogLines();
    assert.deepEqual(addon[d.name](...(row.args || admittedArgs(d))), 'liveGoneAnswer' in row ? row.liveGoneAnswer : row.absent,
      d.name);
    const warnings = sim.logLines().filter((l) => l.severity >= 10).map(({ tag, severity, text }) => ({ tag, severity, text }));
    assert.deepEqual(warnings, row.liveGone === null ? [] : [{ tag: 'LivePlayEngineImpl', severity: 10, text: row.liveGone }],
      d.name);
    checked++;
  }
  assert.equal(checked, 75);
  fresh();
});
