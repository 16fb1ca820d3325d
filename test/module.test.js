'use strict';
const test = require('node:test');
const assert = require('node:assert/strict');
const addon = require('..');
const sim = require('../sim');

const { describeExports } = require('./exports');

// The groups built so far, in registration order, with their sizes. The
// names themselves are checked against index.d.ts (declarations test).
const GROUPS = [
  ['engineSdk', 27],
  ['livePlayEngine', 75],
  ['deviceEngine', 77],
  ['mediaPlayerEngine', 2],
  ['MediaPlayerEngine', 1],
  ['mediaPlayerEngine', 10],
  ['replayEngine', 17],
  ['dumpDataUpload', 4],
  ['beautyEngine', 9],
  ['detectFaceSync', 1],
  ['detectFaceSyncWithBuffer', 1],
  ['log', 5],
  ['tallyV2', 6],
  ['skiff', 3],
  ['HttpRequestCallback', 1],
  ['streamingEngine', 7],
  ['screenRecordEngine', 11],
  ['cameraRecordEngine', 6],
  ['mediaTrackEditorEngine', 9],
  ['QXPlayer', 72],
  ['QXPlayerExternalDataSource', 3],
  ['audioRenderEngine', 7],
  ['networkProber', 3],
  ['QXReplay', 32],
  ['engineTest', 1],
  ['QXCameraRecordEngine', 14],
  ['QXVideoFromNativeSource', 2],
  ['QXAIAgent', 20],
  ['QXEngineSdk', 5],
  ['videoThumbnailTool', 5],
  ['QXDeviceSetting', 2],
];

test('module object', async (t) => {
  await t.test('carries exactly the built groups, each whole and in registration order', () => {
    const described = describeExports(addon);
    const runs = [];
    for (const d of described) {
      if (runs.length === 0 || runs.at(-1)[0] !== d.group) runs.push([d.group, 0]);
      runs.at(-1)[1]++;
    }
    assert.deepEqual(runs, GROUPS);
  });

  await t.test('every export is a function that describes itself under its own name', () => {
    for (const [name, fn] of Object.entries(addon)) {
      assert.equal(typeof fn, 'function', name);
      const d = fn[Symbol.for('lumen_engine_addon.export')];
      assert.equal(d.name, name);
      assert.equal(d.group, name.includes('_') ? name.slice(0, name.indexOf('_')) : name);
      assert.ok(Object.isFrozen(d), name);
      assert.match(d.types, /^[ocwfFsnbatB*]*$/, name);
      assert.ok(d.check === 'free' || d.message, `${name} refuses with a message`);
    }
  });

  await t.test('HttpRequestCallback is a class whose instances answer onSuccess and onFailed', () => {
    const { HttpRequestCallback } = addon;
    assert.throws(() => HttpRequestCallback(), TypeError);
    const instance = new HttpRequestCallback();
    assert.equal(typeof instance.onSuccess, 'function');
    assert.equal(typeof instance.onFailed, 'function');
    // An instance JavaScript made owns no request: answers do nothing.
    assert.equal(instance.onSuccess({ statusCode: 200 }), undefined);
    assert.throws(() => instance.onFailed({}), { message: 'Expected 2 arguments' });
  });

  await t.test('loading calls nothing in the engine', () => {
    assert.deepEqual(sim.journal(), []);
  });
});

test('engineTest_executeOpenglTest', async (t) => {
  t.beforeEach(() => sim.reset());

  await t.test("returns the engine's integer whatever it is given", () => {
    sim.script('tavel.EngineTest.ExecuteOpenglTest', 7);
    assert.equal(addon.engineTest_executeOpenglTest(), 7);
    sim.script('tavel.EngineTest.ExecuteOpenglTest', -3);
    assert.equal(addon.engineTest_executeOpenglTest('ignored', 42, { a: 1 }, () => {}), -3);
    assert.deepEqual(
      sim.journal().map((e) => e.op),
      ['tavel.EngineTest.ExecuteOpenglTest', 'tavel.EngineTest.ExecuteOpenglTest'],
    );
    assert.deepEqual(sim.journal()[1].args, []);
  });

  await t.test('returns 0 when the engine reports success', () => {
    assert.equal(addon.engineTest_executeOpenglTest(undefined), 0);
  });
});
