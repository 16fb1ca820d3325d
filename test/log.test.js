'use strict';
// log_* exports other than delivery to an executor (see log-executor.test.js).
const test = require('node:test');
const assert = require('node:assert/strict');
const addon = require('..');
const sim = require('../sim');

const LOG_START = 'Expected arguments : executor, log_path';
const LOG_MESSAGE = 'Expected arguments : level, tag, msg';
const EPISODE = 'Expected arguments : roomType, episodeId';
const SDK_VERSION = 'Expected arguments : sdkVersion';

// Calls that the admission tests refuse: [export, arguments, message].
const REFUSED = [
  ['log_start', [], LOG_START],
  ['log_start', [{ log() {} }], LOG_START],
  ['log_start', [5, 'logs'], LOG_START],
  ['log_start', ['executor', 'logs'], LOG_START],
  ['log_start', [{ log() {} }, 5], LOG_START],
  ['log_start', [{ log() {} }, 'logs', 'extra'], LOG_START],
  ['log_logMessage', [], LOG_MESSAGE],
  ['log_logMessage', [1, 'tag'], LOG_MESSAGE],
  ['log_logMessage', ['1', 'tag', 'msg'], LOG_MESSAGE],
  ['log_logMessage', [1, 2, 'msg'], LOG_MESSAGE],
  ['log_logMessage', [1, 'tag', null, 'extra'], LOG_MESSAGE],
  ['log_addEpisodeId', [], EPISODE],
  ['log_addEpisodeId', [5], EPISODE],
  ['log_addEpisodeId', [undefined], EPISODE],
  ['log_setSdkVersion', [], SDK_VERSION],
];

test('refused calls', async (t) => {
  for (const [name, args, message] of REFUSED) {
    await t.test(`${name}(${args.map((a) => JSON.stringify(a) ?? String(a)).join(', ')})`, () => {
      sim.reset();
      sim.minSeverity(8);
      const built = sim.logMessagesBuilt();
      assert.throws(
        () => addon[name](...args),
        (err) => err.constructor === Error && err.message === message,
      );
      // Nothing reached the engine: no call, no line, not even a built message.
      assert.deepEqual(sim.journal(), []);
      assert.deepEqual(sim.logLines(), []);
      assert.equal(sim.logMessagesBuilt(), built);
    });
  }
});

test('log_logMessage', async (t) => {
  t.beforeEach(() => sim.reset());

  await t.test('maps JavaScript levels onto engine severities', () => {
    sim.minSeverity(8);
    const levels = [1, 2, 4, 3, 0, 7, -1];
    for (const level of levels) addon.log_logMessage(level, `Tag${level}`, `message ${level}`);
    assert.deepEqual(
      sim.logLines().map((l) => [l.tag, l.text, l.severity]),
      [
        ['Tag1', 'message 1', 12],
        ['Tag2', 'message 2', 10],
        ['Tag4', 'message 4', 8],
        ['Tag3', 'message 3', 9],
        ['Tag0', 'message 0', 9],
        ['Tag7', 'message 7', 9],
        ['Tag-1', 'message -1', 9],
      ],
    );
  });

  await t.test('writes with no source file and line 0', () => {
    addon.log_logMessage(1, 'App', 'hello');
    const [line] = sim.logLines();
    assert.equal(line.file, '');
    assert.equal(line.line, 0);
  });

  await t.test('takes extra arguments and keeps text as given', () => {
    addon.log_logMessage(2, 'App', 'ünïcode – text\nnext line', 'extra', 5);
    assert.deepEqual(sim.logLines().map((l) => [l.severity, l.text]), [[10, 'ünïcode – text\nnext line']]);
  });

  await t.test('builds nothing below the minimum severity', () => {
    sim.minSeverity(13);
    const built = sim.logMessagesBuilt();
    for (const level of [1, 2, 3, 4]) addon.log_logMessage(level, 'App', 'dropped');
    assert.equal(sim.logMessagesBuilt(), built);
    assert.deepEqual(sim.logLines(), []);

    // At the threshold exactly, the line is built and written.
    sim.minSeverity(12);
    addon.log_logMessage(2, 'App', 'warning, dropped');
    assert.equal(sim.logMessagesBuilt(), built);
    addon.log_logMessage(1, 'App', 'error, kept');
    assert.equal(sim.logMessagesBuilt(), built + 1);
    assert.deepEqual(sim.logLines().map((l) => l.text), ['error, kept']);
  });

  await t.test('the default minimum (info) drops verbose lines', () => {
    assert.equal(sim.minSeverity(), 9);
    addon.log_logMessage(4, 'App', 'verbose');
    addon.log_logMessage(3, 'App', 'info');
    assert.deepEqual(sim.logLines().map((l) => l.text), ['info']);
  });
});

test('episode id and SDK version reach the engine with coerced values', async (t) => {
  t.beforeEach(() => sim.reset());
  const calls = () => sim.journal().map((e) => [e.op, e.args]);

  await t.test('log_addEpisodeId', () => {
    addon.log_addEpisodeId('x', '42');
    addon.log_addEpisodeId('live', 2 ** 40 + 1);
    addon.log_addEpisodeId('live', 3.9);
    // Lenient: one string argument or any two arguments are enough.
    addon.log_addEpisodeId('only');
    addon.log_addEpisodeId(7, 8);
    addon.log_addEpisodeId(null, 'NaN');
    assert.deepEqual(calls(), [
      ['rtc.LogMessage.AddEpisodeId', ['x', 42]],
      ['rtc.LogMessage.AddEpisodeId', ['live', 1099511627777]],
      ['rtc.LogMessage.AddEpisodeId', ['live', 3]],
      ['rtc.LogMessage.AddEpisodeId', ['only', 0]],
      ['rtc.LogMessage.AddEpisodeId', ['7', 8]],
      ['rtc.LogMessage.AddEpisodeId', ['null', 0]],
    ]);
  });

  await t.test('log_removeEpisodeId ignores its arguments', () => {
    addon.log_removeEpisodeId();
    addon.log_removeEpisodeId('x', 1);
    assert.deepEqual(calls(), [
      ['rtc.LogMessage.RemoveEpisodeId', []],
      ['rtc.LogMessage.RemoveEpisodeId', []],
    ]);
  });

  await t.test('log_setSdkVersion', () => {
    addon.log_setSdkVersion('4.60.1');
    addon.log_setSdkVersion(5, 'extra');
    addon.log_setSdkVersion({ toString: () => '1.0-custom' });
    assert.deepEqual(calls(), [
      ['rtc.LogMessage.SetSdkVersion', ['4.60.1']],
      ['rtc.LogMessage.SetSdkVersion', ['5']],
      ['rtc.LogMessage.SetSdkVersion', ['1.0-custom']],
    ]);
  });
});
