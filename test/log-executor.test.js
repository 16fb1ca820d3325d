'use strict';
// Engine log records delivered to the JavaScript executor of log_start.
// The sink lives as long as the environment, so this file installs one
// executor and swaps what it does per test.
const test = require('node:test');
const assert = require('node:assert/strict');
const addon = require('..');
const sim = require('../sim');
const { executionAsyncId } = require('node:async_hooks');
const { waitFor } = require('./helpers');

const received = [];
const executor = {
  log(message, fields) {
    received.push({ self: this, message, fields, argc: arguments.length });
  },
};
const logMethod = executor.log;

test('log_start installs the executor at verbose level', () => {
  sim.reset();
  addon.log_start(executor, 'ignored/path');
  assert.deepEqual(
    sim.journal().map((e) => [e.op, e.args]),
    [['rtc.LogMessage.AddLogToStream', [8]]],
  );
});

test('records from several engine threads', async (t) => {
  t.beforeEach(() => {
    sim.reset();
    executor.log = logMethod;
    received.length = 0;
  });

  await t.test('all arrive as log(message, fields), in order per thread', async () => {
    const threads = 4;
    const count = 300;
    await sim.writeLogs(10, 'EngineThread', 'record', count, threads);
    await waitFor(() => received.filter((r) => r.message.startsWith('record')).length >= threads * count);

    const ours = received.filter((r) => r.message.startsWith('record'));
    assert.equal(ours.length, threads * count);
    const next = new Array(threads).fill(0);
    for (const r of ours) {
      assert.equal(r.self, executor);
      assert.equal(r.argc, 2);
      const [, thread, index] = /^record #(\d+):(\d+)$/.exec(r.message).map(Number);
      assert.equal(index, next[thread], `thread ${thread} delivered ${index} where ${next[thread]} was due`);
      next[thread]++;
    }
    assert.deepEqual(next, new Array(threads).fill(count));
  });

  await t.test('fields are every field of the record, as { key, value } strings in record order', async () => {
    await sim.writeLogs(12, 'FieldTag', 'fields', 1, 1);
    await waitFor(() => received.length >= 1);
    const [{ fields }] = received;
    assert.ok(Array.isArray(fields));
    for (const f of fields) {
      assert.deepEqual(Object.keys(f), ['key', 'value']);
      assert.equal(typeof f.key, 'string');
      assert.equal(typeof f.value, 'string');
    }
    assert.deepEqual(fields.map((f) => f.key), ['file', 'line', 'severity', 'tag', 'thread']);
    assert.deepEqual(fields.slice(0, 4).map((f) => f.value), ['engine/sim', '0', 'error', 'FieldTag']);
  });

  await t.test('episode id and SDK version travel as further fields', async () => {
    addon.log_addEpisodeId('live', '1234567890123');
    addon.log_setSdkVersion('9.8.7');
    await sim.writeLogs(9, 'T', 'tagged', 1, 1);
    await waitFor(() => received.length >= 1);
    assert.deepEqual(received[0].fields.slice(5), [
      { key: 'roomType', value: 'live' },
      { key: 'episodeId', value: '1234567890123' },
      { key: 'sdkVersion', value: '9.8.7' },
    ]);
  });

  await t.test("JavaScript's own lines reach the executor too", async () => {
    sim.minSeverity(8);
    addon.log_logMessage(4, 'App', 'from JavaScript');
    assert.equal(received.length, 0, 'delivered later, on a wake-up, never inside the call');
    await waitFor(() => received.length >= 1);
    assert.equal(received[0].message, 'from JavaScript');
    assert.deepEqual(received[0].fields.slice(0, 4), [
      { key: 'file', value: '' },
      { key: 'line', value: '0' },
      { key: 'severity', value: 'verbose' },
      { key: 'tag', value: 'App' },
    ]);
  });

  await t.test('the method is looked up at delivery time', async () => {
    const replaced = [];
    executor.log = (message) => replaced.push(message);
    await sim.writeLogs(9, 'T', 'swap', 3, 1);
    await waitFor(() => replaced.length >= 3);
    assert.deepEqual(replaced, ['swap #0:0', 'swap #0:1', 'swap #0:2']);
    assert.equal(received.length, 0);
  });

  await t.test('a wake-up runs its deliveries inside a callback scope', async () => {
    // Node drains microtasks at its check phase anyway, so the order alone
    // would also hold without a scope; the async context shows the scope.
    const order = [];
    const contexts = [];
    executor.log = (message) => {
      contexts.push(executionAsyncId());
      if (message !== 'first') return;
      setImmediate(() => order.push('immediate'));
      Promise.resolve().then(() => {
        order.push('then');
        contexts.push(executionAsyncId());
      });
      process.nextTick(() => order.push('tick'));
      order.push('log');
    };
    addon.log_logMessage(1, 'App', 'first');
    addon.log_logMessage(1, 'App', 'second');
    await waitFor(() => order.length >= 4);
    assert.deepEqual(order, ['log', 'tick', 'then', 'immediate']);
    assert.equal(contexts.length, 3);
    assert.notEqual(contexts[0], 0, 'a delivery runs in an async context of its own');
    assert.equal(contexts[1], contexts[0], 'one resource for every delivery');
    assert.notEqual(contexts[2], 0, 'continuations keep an async context');
  });
});
