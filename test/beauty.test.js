'use strict';
// The beauty manager through its exports, the beauty events the stand-in
// fires and the beauty calls it journals. The manager is process-wide and its
// try count never goes back, so this file runs in a process of its own (as
// every test file does) and reads the count from the manager's own lines.
const test = require('node:test');
const assert = require('node:assert');
const { addon, sim, fresh, ops, startClass, settle, waitFor } = require('./live-helpers');

const B = 'tavel.LiveBeautyEngine.';
const beautyOps = () => ops(B).map((e) => [e.op.slice(B.length), ...e.args]);
const texts = () => sim.logLines().map((l) => l.text);
const tries = () => texts().filter((t) => /^BeautyManager::InitBeauty, it is the \d+ time/.test(t))
  .map((t) => Number(/the (\d+) time/.exec(t)[1]));

const CONFIG = {
  beautyEnable: true, aistickerEnable: true, tryOnError: true, tryTimesMax: 1000, tryTimeout: 15,
  beautyParam: { cheekDegree: 0.25, eyeDegree: 0.5, smoothDegree: 0.75, whitenDegree: 1 },
  stickerPath: '/s', colorFilterPath: '/c',
};

// A live play engine whose beauty reports come from the test.
function engine(methods) {
  startClass(methods);
  sim.clearJournal();
  sim.clearLogLines();
}

// Fires a beauty event and waits until the manager has taken it (its line)
// and JavaScript has heard it.
async function fired(name, args, line) {
  const seen = texts().filter((t) => t === line).length;
  assert.ok(sim.fire(`LivePlayEngineCallback.${name}`, args));
  await waitFor(() => texts().filter((t) => t === line).length > seen);
  await settle();
}

const ready = (value = true) => fired('OnBeautyReady', [value], `BeautyManager::SetBeautyReady, SetBeautyReady ready:${value ? 1 : 0}`);

test('refusals throw the export\'s message and touch nothing', () => {
  fresh();
  const refusals = {
    applyBeautyManagerConfig: 'Expect parameters:BeautyManagerConfig', setBeautyConfig: 'Expect parameters: BeautyConfig',
    enableBeauty: 'Expect parameters: enable', setBeautyParam: 'Expect parameters: BeautyParam',
    setStickerPath: 'Expect parameters: sticker path', setColorFilterPath: 'Expect parameters: color filter path',
    setBackgroundBlur: 'Expect parameters: enabled', setVirtualBackground: 'Expect parameters: color filter path',
  };
  for (const [name, message] of Object.entries(refusals)) assert.throws(() => addon[`beautyEngine_${name}`](), { message }, name);
  assert.throws(() => addon.beautyEngine_enableBeauty('yes'), { message: 'Expect parameters: enable' });
  assert.strictEqual(addon.beautyEngine_syncCurrentState(), undefined);
  assert.deepStrictEqual(sim.journal().filter((e) => e.op.startsWith(B)), []);
});

test.describe('beauty manager', { concurrency: false }, () => {
  test.beforeEach(fresh);

  test('with both functions off, initialising stops after handing over the configuration', () => {
    engine();
    addon.beautyEngine_applyBeautyManagerConfig({ tryTimesMax: 5 });
    addon.beautyEngine_setBeautyConfig({ resourcePath: '/res' });
    addon.beautyEngine_syncCurrentState();
    assert.ok(texts().includes('BeautyManager::InitBeauty, force disable beauty.'), 'skipped while the user has not enabled');
    assert.strictEqual(addon.beautyEngine_enableBeauty(true), -1);
    assert.ok(texts().includes('BeautyManager::EnableBeauty, failed to EnableBeauty, global enable is false.'));
    sim.clearJournal();
    addon.beautyEngine_syncCurrentState();
    assert.ok(texts().includes('BeautyManager::InitBeauty no beauty or aisticker function'));
    assert.deepStrictEqual(beautyOps(), [['SetBeautyConfig', { resource_path: '/res' }],
      ['SetBeautyConfig', { resource_path: '/res' }], ['SetEnableAISticker', false]]);
  });

  test('enable before ready answers -1 but is remembered, so initialising goes on; the try count caps attempts', () => {
    engine();
    addon.beautyEngine_applyBeautyManagerConfig({ ...CONFIG, tryTimesMax: 1000 });
    addon.beautyEngine_enableBeauty(false);
    assert.strictEqual(addon.beautyEngine_enableBeauty(true), -1);
    assert.ok(texts().includes('BeautyManager::EnableBeauty, failed to EnableBeauty, ready is false.'));
    addon.beautyEngine_syncCurrentState();
    assert.deepStrictEqual(beautyOps().filter((o) => o[0] === 'InitializeBeauty'), [['InitializeBeauty', 15]]);
    const count = tries().at(-1);
    // Two more attempts are allowed; the one after them makes no engine call.
    addon.beautyEngine_applyBeautyManagerConfig({ ...CONFIG, tryTimesMax: count + 2 });
    sim.clearJournal();
    for (let i = 0; i < 3; i++) addon.beautyEngine_syncCurrentState();
    assert.strictEqual(beautyOps().filter((o) => o[0] === 'InitializeBeauty').length, 2);
    assert.deepStrictEqual(tries().slice(-2), [count + 1, count + 2]);
  });

  test('values set before ready are applied when the engine reports ready; setters before ready keep the old value', async () => {
    const heard = [];
    engine({ onBeautyReady: (r) => heard.push(['ready', r, beautyOps().length]) });
    addon.beautyEngine_applyBeautyManagerConfig(CONFIG);
    addon.beautyEngine_setBeautyConfig({});
    assert.strictEqual(addon.beautyEngine_setStickerPath('/new'), -1);
    assert.strictEqual(addon.beautyEngine_setBackgroundBlur(true), -1);
    assert.deepStrictEqual(beautyOps(), []);
    await ready(true);
    // The manager applies them before JavaScript hears of it.
    assert.deepStrictEqual(beautyOps(), [['SetBeautyConfig', { resource_path: '' }], ['SetBeautyReady', true],
      ['EnableBeauty', false], ['SetBeautyParam', { cheek_degree: 0.25, eye_degree: 0.5, smooth_degree: 0.75, whiten_degree: 1 }],
      ['SetStickerPath', '/s'], ['SetColorFilterPath', '/c']]);
    assert.deepStrictEqual(heard, [['ready', true, 6]]);
    assert.ok(texts().includes('BeautyManager::SetBeautyReady, SetBeautyReady ready:1'));

    // Ready, but the local enable is still off: the state check says so.
    sim.clearLogLines();
    assert.strictEqual(addon.beautyEngine_setBeautyParam({ whitenDegree: 0.1 }), -1);
    assert.ok(texts().includes('local enable is false.'));
    assert.strictEqual(addon.beautyEngine_enableBeauty(true), 0);
    sim.clearJournal();
    assert.strictEqual(addon.beautyEngine_setStickerPath('/new'), 0);
    assert.strictEqual(addon.beautyEngine_setBackgroundBlur(true), 0);
    assert.strictEqual(addon.beautyEngine_setVirtualBackground('/bg'), 0);
    assert.deepStrictEqual(beautyOps(), [['SetStickerPath', '/new'], ['SetBackgroundBlur', true], ['SetVirtualBackgroud', '/bg']]);
  });

  test('not ready again: the manager resets, initialises again, and keeps what the user wanted', async () => {
    engine();
    addon.beautyEngine_applyBeautyManagerConfig(CONFIG);
    await ready(true);
    addon.beautyEngine_enableBeauty(true);
    sim.clearJournal();
    await ready(false);
    assert.deepStrictEqual(beautyOps().map((o) => o[0]), ['SetBeautyConfig', 'InitializeBeauty']);
    assert.strictEqual(addon.beautyEngine_setStickerPath('/x'), -1, 'not ready any more');
    sim.clearJournal();
    await ready(true);
    assert.deepStrictEqual(beautyOps().find((o) => o[0] === 'EnableBeauty'), ['EnableBeauty', true]);
    assert.deepStrictEqual(beautyOps().find((o) => o[0] === 'SetStickerPath'), ['SetStickerPath', '/s']);
  });

  test('errors: most codes retry, -5 and -9 stop, others are logged; JavaScript hears each after the manager', async () => {
    const errors = [];
    engine({ onBeautyError: (c) => errors.push([c, beautyOps().map((o) => o[0])]) });
    addon.beautyEngine_applyBeautyManagerConfig(CONFIG);
    addon.beautyEngine_enableBeauty(true);
    const after = async (code) => {
      await ready(true);
      sim.clearJournal();
      sim.clearLogLines();
      await fired('OnBeautyError', [code], 'BeautyManager::SetBeautyError, done.');
      return beautyOps().map((o) => o[0]);
    };
    for (const code of [-1, -2, -3, -4, -6, -7, -8, -10])
      assert.deepStrictEqual(await after(code), ['SetBeautyReady', 'EnableBeauty', 'SetBeautyConfig', 'InitializeBeauty'], `code ${code}`);
    for (const code of [-5, -9]) {
      assert.deepStrictEqual(await after(code), ['SetBeautyReady', 'EnableBeauty'], `code ${code}`);
      assert.ok(!texts().includes('BeautyManager::SetBeautyError, undefine error.'));
    }
    assert.deepStrictEqual(await after(-11), ['SetBeautyReady', 'EnableBeauty']);
    assert.ok(texts().includes('BeautyManager::SetBeautyError, undefine error.'));
    assert.strictEqual(addon.beautyEngine_setStickerPath('/y'), -1, 'an error clears ready');
    assert.deepStrictEqual(errors.at(-1), [-11, ['SetBeautyReady', 'EnableBeauty']]);

    // Without try on error nothing is retried.
    addon.beautyEngine_applyBeautyManagerConfig({ ...CONFIG, tryOnError: false });
    assert.deepStrictEqual(await after(-1), ['SetBeautyReady', 'EnableBeauty']);
  });

  test('an AI-sticker error is counted in the analytics with its code', async () => {
    engine();
    await fired('OnAIStickerError', [-42], 'BeautyManager::SetAIStickerError: -42');
    assert.ok(texts().includes('BeautyManager::SetAIStickerError: -42'));
    const entry = sim.tally().find((e) => e.url === 'engineSDK/aisticker/event');
    assert.strictEqual(entry.numValues.errorcode, -42);
  });

  test('the wanted state survives leaving the room and reaches the next engine when it connects', async () => {
    engine();
    addon.beautyEngine_applyBeautyManagerConfig(CONFIG);
    addon.beautyEngine_setBeautyConfig({ resourcePath: '/res' });
    await ready(true);
    assert.strictEqual(addon.beautyEngine_enableBeauty(true), 0);
    assert.strictEqual(addon.beautyEngine_setBeautyParam({ cheekDegree: 0.5, eyeDegree: 0, smoothDegree: 1, whitenDegree: 0.5 }), 0);
    addon.engineSdk_leaveLiveRoom();
    sim.clearLogLines();
    assert.strictEqual(addon.beautyEngine_setColorFilterPath('/gone'), -1, 'no engine to take it');
    assert.ok(texts().includes('failed to get beauty_engine.'));

    startClass();
    sim.clearJournal();
    assert.strictEqual(addon.engineSdk_connectLivePlayEngine({ room_id: 1 }), 0);
    assert.deepStrictEqual(beautyOps(), [['SetBeautyConfig', { resource_path: '/res' }], ['SetBeautyReady', true],
      ['EnableBeauty', true], ['SetBeautyParam', { cheek_degree: 0.5, eye_degree: 0, smooth_degree: 1, whiten_degree: 0.5 }],
      ['SetStickerPath', '/s'], ['SetColorFilterPath', '/c'], ['SetBeautyConfig', { resource_path: '/res' }],
      ['SetEnableAISticker', true]]);
  });

  test('a scripted engine reports ready after initialising, or an error code', async () => {
    const heard = [];
    engine({ onBeautyReady: (r) => heard.push(['ready', r]), onBeautyError: (c) => heard.push(['error', c]) });
    addon.beautyEngine_applyBeautyManagerConfig(CONFIG);
    await ready(false);
    heard.length = 0;
    sim.script(`${B}InitializeBeauty.report`, -9);
    addon.beautyEngine_syncCurrentState();
    await waitFor(() => heard.length === 1);
    assert.deepStrictEqual(heard, [['error', -9]]);
  });
  test('degrees left out, or not numbers, reach the engine and later syncs as 0', async () => {
    engine();
    addon.beautyEngine_applyBeautyManagerConfig({ ...CONFIG, beautyParam: { smoothDegree: 0.75, eyeDegree: 'wide' } });
    await ready(true);
    const params = () => beautyOps().filter(([op]) => op === 'SetBeautyParam').map(([, p]) => p);
    assert.deepStrictEqual(params(), [{ cheek_degree: 0, eye_degree: 0, smooth_degree: 0.75, whiten_degree: 0 }]);
    assert.strictEqual(addon.beautyEngine_enableBeauty(true), 0);
    sim.clearJournal();
    assert.strictEqual(addon.beautyEngine_setBeautyParam({ whitenDegree: 0.25 }), 0);
    addon.beautyEngine_syncCurrentState();
    const stored = { cheek_degree: 0, eye_degree: 0, smooth_degree: 0, whiten_degree: 0.25 };
    assert.deepStrictEqual(params(), [stored, stored], 'the setter, then the sync of what it stored');
  });
});
