'use strict';
// index.d.ts against the module itself: every export is declared and nothing
// else is; each export admits its declared arguments, refuses fewer, and
// answers its declared type; the add-on reads no record key and calls no
// callback method that is not declared, with the declared arguments, and
// every declared callback method is one it calls.
const test = require('node:test');
const assert = require('node:assert/strict');
const path = require('path');
const addon = require('..');
const sim = require('../sim');
const pkg = require('../package.json');
const { root, waitFor } = require('./helpers');
const decl = require('./types/declarations');
const { describeExports } = require('./exports');

const declared = decl.declaredExports();
const byName = new Map(declared.map((d) => [d.name, d]));

// Admitted with fewer arguments than declared (a lenient or free admission);
// the app still passes them all for the call to mean anything.
const ADMITTED_SHORT = new Set(['engineSdk_createStreamingEngine', 'engineSdk_getSourceFlag', 'log_addEpisodeId', 'replayEngine_setPlaySpeed',
  'deviceEngine_getWindowStatus', 'deviceEngine_setCaptureRotation',
  'livePlayEngine_setAIStickerPath', 'livePlayEngine_setAIStickerEnable', 'QXReplay_getSpeechOutputLevel']);

function destroyAll() {
  addon.engineSdk_leaveLiveRoom();
  addon.engineSdk_destroyLiveReplayEngine();
  addon.engineSdk_destroyLocalEngine();
  addon.engineSdk_destroyReplayEngine();
  addon.engineSdk_destroyStreamingEngine();
}

const requiredSamples = (d, recorder) => d.params.filter((p) => !p.optional).map((p) => decl.sample(p.tsType, recorder));
const paramType = (name, i) => byName.get(name).params[i].tsType;

// A live replay engine: its live play part serves every livePlayEngine_
// export, and engineSdk_openReplayMedia finds its engine, so no export
// throws for want of one.
function liveReplayState(recorder) {
  destroyAll();
  const args = requiredSamples(byName.get('engineSdk_createLiveReplayEngine'), recorder);
  assert.equal(addon.engineSdk_createLiveReplayEngine(...args), 0);
}

const settle = () => new Promise((r) => setTimeout(r, 50));

test('index.d.ts', async (t) => {
  await t.test('is what package.json names, and compiles on its own', () => {
    assert.equal(path.resolve(root, pkg.types), decl.FILE);
    assert.deepEqual(decl.load().diagnostics, []);
  });

  await t.test('declares every export of the module, and nothing the module lacks', () => {
    const actual = Object.keys(addon);
    const classes = decl.declaredClasses();
    assert.deepEqual(actual.filter((n) => !byName.has(n) && !classes.includes(n)), [], 'exports without a declaration');
    assert.deepEqual(classes.filter((n) => !actual.includes(n)), [], 'classes the module lacks');
    assert.deepEqual(declared.map((d) => d.name).filter((n) => !actual.includes(n)), [], 'declarations without an export');
    assert.deepEqual(decl.declaredValuesOtherThanFunctions(), [], 'declared values that are not functions');
    for (const name of actual) assert.equal(typeof addon[name], 'function', name);
  });

  await t.test('the usage files call every export and implement every callback interface', () => {
    const files = require('fs').readdirSync(path.join(__dirname, 'types')).filter((f) => /^usage.*\.ts$/.test(f));
    const used = { calls: new Set(), types: new Set() };
    for (const f of files) {
      const one = decl.usedIn(path.join(__dirname, 'types', f));
      for (const c of one.calls) used.calls.add(c);
      for (const ty of one.types) used.types.add(ty);
    }
    assert.deepEqual(declared.map((d) => d.name).filter((n) => !used.calls.has(n)), [], 'exports never called');
    assert.deepEqual(decl.callbackInterfaces().filter((n) => !used.types.has(n)), [], 'interfaces never used');
  });

  await t.test('gives every export hover text that quotes its refusal message', () => {
    const fs = require('fs');
    const files = [decl.FILE, ...fs.readdirSync(path.join(root, 'types')).map((f) => path.join(root, 'types', f))];
    const docs = new Map();
    for (const f of files) {
      const text = fs.readFileSync(f, 'utf8');
      for (const m of text.matchAll(/(\/\*\*(?:[^*]|\*(?!\/))*\*\/)?\s*export (?:declare )?function (\w+)/g)) {
        docs.set(m[2], (m[1] || '').replace(/\s*\n\s*\*\s*/g, ' '));
      }
    }
    const problems = [];
    for (const d of describeExports(addon)) {
      if (!docs.has(d.name)) continue;  // a class
      const doc = docs.get(d.name);
      if (!doc) problems.push(`${d.name}: no doc comment`);
      else if (d.message && !doc.includes(d.message)) problems.push(`${d.name}: does not quote "${d.message}"`);
    }
    assert.deepEqual(problems, []);
  });

  await t.test('names each parameter by the admission letter its type passes', () => {
    // The letters are what an export description is compared with; a few known rows pin them down.
    const letters = (name) => byName.get(name).letters;
    assert.equal(letters('engineSdk_initDumpManager'), 'nssssb');
    assert.equal(letters('engineSdk_loadCache'), 'st');
    assert.equal(letters('livePlayEngine_startGroupAudio'), 'oab');
    assert.equal(letters('log_start'), 'os');
    assert.equal(letters('engineTest_executeOpenglTest'), '');
    const camera = byName.get('livePlayEngine_registerCameraDataCallback');
    assert.deepEqual(camera.params.map((p) => [p.letter, p.optional]), [['o', false], ['n', true]]);
  });
});

test('declared required parameters match the module\'s own description of each export', () => {
  // The description's o, c and w are all objects to TypeScript; a row's *
  // admits anything, so any declared type fits it.
  // A row's F (function or null) is declared as a function, optionally | null.
  const fits = (declared, row) => declared.length === row.length &&
    [...row].every((letter, i) => letter === '*' || declared[i] === letter.replace(/[cw]/, 'o') ||
      (letter === 'F' && /[f*]/.test(declared[i])));
  const checked = describeExports(addon).filter((d) => d.check !== 'free');
  assert.ok(checked.length > 60);
  for (const d of checked) {
    const declared = byName.get(d.name);
    assert.ok(fits(declared.letters, d.types), `${d.name}: declared '${declared.letters}', admits '${d.types}'`);
  }
});

const handleKinds = new Map(require('./exports').describeExports(addon).filter((d) => d.handle).map((d) => [d.name, d.handle]));
const makers = Object.assign({}, ...require('fs').readdirSync(path.join(__dirname, 'fuzz-handles'))
  .filter((f) => f.endsWith('.js')).map((f) => require(path.join(__dirname, 'fuzz-handles', f))));

test('declared parameters and answers against the module', async (t) => {
  const recorder = new decl.Recorder();
  sim.reset();
  // Objects made for handle arguments go too: a downloader's query owed
  // keeps the event loop alive until its downloader is destroyed. Some were
  // destroyed by the export under test already, and a maker may refuse those.
  const made = [];
  t.after(() => {
    for (const [kind, h] of made) {
      try {
        if (h) makers[kind].destroy(addon, h);
      } catch {}
    }
    destroyAll();
  });

  await t.test('every export admits its declared arguments and answers its declared type', async () => {
    const problems = [];
    liveReplayState(recorder);
    for (const d of declared) {
      if (addon.engineSdk_currentEngineType() !== 5) liveReplayState(recorder);
      const required = requiredSamples(d, recorder);
      const all = [...required, ...d.params.filter((p) => p.optional).map((p) => decl.sample(p.tsType, recorder))];
      // A handle is a live object of its kind, made the way an app makes one.
      const kind = handleKinds.get(d.name);
      if (kind) {
        for (const args of [required, all]) {
          args[0] = makers[kind].create(addon, {});
          made.push([kind, args[0]]);
        }
      }
      for (const args of all.length > required.length ? [required, all] : [required]) {
        let result;
        try {
          result = addon[d.name](...args);
        } catch (err) {
          problems.push(`${d.name} with ${args.length} declared arguments threw ${err.constructor.name}: ${err.message}`);
          continue;
        }
        problems.push(...decl.problems(result, d.returnType, `${d.name}(): ${d.returns}`));
        // Objects the export writes into (recording statistics) keep to their declared keys.
        args.forEach((a, i) => problems.push(...decl.problems(a, d.params[i].tsType, `${d.name} argument ${i}`)));
      }
    }
    await settle();
    assert.deepEqual(problems, []);
    assert.deepEqual(recorder.undeclared, [], 'keys read that no declaration has');
  });

  await t.test('a call short of its declared required arguments is refused with the export\'s Error', () => {
    liveReplayState(recorder);
    const wrong = [];
    const rows = new Map(describeExports(addon).map((x) => [x.name, x]));
    for (const d of declared.filter((e) => e.required > 0)) {
      const short = requiredSamples(d, recorder).slice(0, -1);
      const row = rows.get(d.name);
      if (row && row.refusal === 'log') {
        // Groups that never throw: the refusal is an error line and the failure value.
        sim.clearLogLines();
        let answer;
        try {
          answer = addon[d.name](...short);
        } catch (err) {
          wrong.push(`${d.name} threw "${err.message}" instead of logging its refusal`);
          continue;
        }
        if (answer !== row.failure || !sim.logLines().some((l) => l.text === row.message && l.tag === row.tag))
          wrong.push(`${d.name} admitted ${short.length} of ${d.required} declared arguments`);
        continue;
      }
      let thrown = null;
      try {
        addon[d.name](...short);
      } catch (err) {
        thrown = err;
      }
      if (ADMITTED_SHORT.has(d.name)) {
        if (thrown) wrong.push(`${d.name} is listed as admitted short but threw "${thrown.message}"`);
        continue;
      }
      if (!thrown) wrong.push(`${d.name} admitted ${short.length} of ${d.required} declared arguments`);
      else if (thrown.constructor !== Error || !thrown.message) wrong.push(`${d.name} threw ${thrown.constructor.name} "${thrown.message}"`);
      else {
        // The export's own refusal: the same message however few arguments.
        let none = null;
        try {
          addon[d.name]();
        } catch (err) {
          none = err;
        }
        if (!none || none.message !== thrown.message) wrong.push(`${d.name}: "${thrown.message}" is not its refusal`);
      }
    }
    assert.deepEqual(wrong, []);
    assert.ok([...ADMITTED_SHORT].every((n) => byName.get(n)?.required > 0), 'ADMITTED_SHORT names declared exports');
  });
});

// Engine callback names whose JavaScript method is the same name in lower camel case.
const ENGINE_INTERFACES = {
  LivePlayEngineCallback: 'LivePlayEngineCallbacks',
  CommandClientCallback: 'LivePlayEngineCallbacks',
  MicrophoneRecordingCallback: 'MicrophoneRecordingCallback',
  VadCallback: 'VadCallback',
  HandActionCallback: 'HandActionCallback',
  CollectLiveDataCallback: 'CollectLiveDataCallback',
  ScreenShareCallback: 'ScreenShareCallback',
  FrameValidDetectorCallback: 'StaticFrameDetectorCallback',
  CameraVideoRecordCallback: 'CameraVideoRecordCallback',
};

// Arguments for a held engine callback from its JavaScript method's declared
// parameters, which follow the engine's: a Buffer for a data pointer, its
// length (null: the buffer's), then numbers, strings, booleans.
function fireArgs(signature) {
  const types = decl.parameterTypes(signature);
  return types.map((type, i) => {
    if (decl.isBuffer(type)) return Buffer.from([1, 2, 3]);
    switch (decl.letterOf(type)) {
      case 'n': return i > 0 && decl.isBuffer(types[i - 1]) ? null : 3;
      case 's': return 'x';
      case 'b': return true;
      default: return null;
    }
  });
}

function declaredMethod(recorder, iface, method) {
  return (recorder.interfaces.get(iface) || []).find((m) => m.name === method);
}

function callProblems(recorder) {
  const out = [];
  for (const c of recorder.calls) {
    const types = decl.parameterTypes(c.signature);
    if (c.args.length !== types.length) out.push(`${c.iface}.${c.method} got ${c.args.length} arguments, declares ${types.length}`);
    types.forEach((type, i) => out.push(...decl.problems(c.args[i], type, `${c.iface}.${c.method} argument ${i}`)));
  }
  return out;
}

function uncalled(recorder) {
  const out = [];
  for (const [iface, methods] of recorder.interfaces) {
    const called = recorder.calledMethods(iface);
    for (const m of methods) if (!m.optional && !called.has(m.name)) out.push(`${iface}.${m.name}`);
  }
  return out;
}

test('callback interfaces against what the add-on calls', async (t) => {
  sim.reset();
  destroyAll();
  t.after(destroyAll);

  await t.test('live client, live play events, recording, voice activity, renderers, log executor', async () => {
    const recorder = new decl.Recorder();
    addon.engineSdk_onAppInit(decl.sample(paramType('engineSdk_onAppInit', 0), recorder), '5.1.0');
    assert.equal(addon.engineSdk_createLivePlayEngine(decl.sample(paramType('engineSdk_createLivePlayEngine', 0), recorder)), 0);
    assert.equal(addon.engineSdk_connectLivePlayEngineAndConfigDevice({ room_id: 1, user_id: 2 }, 'audio.json', {}), 0);
    await waitFor(() => recorder.calledMethods('LivePlayEngineCallbacks').has('onEnterRoom'), 10000, 'onEnterRoom');

    const callback = (name, i) => decl.sample(paramType(name, i), recorder);
    assert.equal(addon.livePlayEngine_audioStartRecording({ type: 1 }, callback('livePlayEngine_audioStartRecording', 1), []), 0);
    assert.equal(addon.livePlayEngine_registerLocalVadCallback(callback('livePlayEngine_registerLocalVadCallback', 0)), 0);
    assert.equal(addon.livePlayEngine_registerRemoteVadCallback(5, callback('livePlayEngine_registerRemoteVadCallback', 1)), 0);
    assert.equal(
      addon.livePlayEngine_registerRemoteVadCallbackBiz({ bizType: 1, userId: 6 }, callback('livePlayEngine_registerRemoteVadCallbackBiz', 1)),
      0,
    );
    assert.equal(addon.livePlayEngine_videoStartReceive({ type: 1, userId: 3 }, callback('livePlayEngine_videoStartReceive', 1)), 0);
    assert.equal(addon.livePlayEngine_subscribeVideo({ bizType: 2, userId: 4 }, callback('livePlayEngine_subscribeVideo', 1)), 0);
    assert.equal(
      addon.livePlayEngine_registerCameraDataCallback(callback('livePlayEngine_registerCameraDataCallback', 0)),
      0,
    );
    addon.log_start(callback('log_start', 0), '');

    const notFired = [];
    for (const name of sim.held()) {
      const parts = name.split('.');
      const iface = ENGINE_INTERFACES[parts[0]];
      if (!iface) continue;
      const method = parts[parts.length - 1].replace(/^O/, 'o');
      const m = declaredMethod(recorder, iface, method);
      // Undeclared methods are fired too: the add-on's call of them is noted as undeclared.
      if (!sim.fire(name, m ? fireArgs(m.signature) : [])) notFired.push(name);
    }
    assert.ok(sim.fire('CacheProvider.Set', ['key', Buffer.from([1, 2]), null]));
    assert.ok(sim.fire('CacheProvider.Remove', ['key']));
    for (const sink of ['sink:3:1', 'sink:4:2', 'sink:camera']) assert.ok(sim.pushFrame(sink, 4, 2, 1), sink);
    addon.log_logMessage(2, 'Declarations', 'a line for the executor');
    assert.deepEqual(notFired, []);

    await waitFor(() => uncalled(recorder).length === 0, 5000, 'every declared method').catch(() => {});
    await settle();
    assert.deepEqual(uncalled(recorder), [], 'declared methods the add-on never calls');
    assert.deepEqual(recorder.undeclared, [], 'keys read or methods called that no declaration has');
    assert.deepEqual(callProblems(recorder), []);
    // Each renderer met its own kind of frame.
    const renderers = [...recorder.interfaces.keys()].filter((i) => i.startsWith('VideoRenderer'));
    assert.deepEqual(renderers.sort(), ['VideoRenderer<BizVideoFrame>', 'VideoRenderer<TrackVideoFrame>']);
  });

  await t.test('local callbacks: nothing is read or called; replay and streaming: their declared events', async () => {
    destroyAll();
    const recorder = new decl.Recorder();
    const engines = [
      ['engineSdk_createLocalEngine', 'LocalEngineCallback', null, [decl.sample(paramType('engineSdk_createLocalEngine', 0), recorder), 1, 's']],
      ['engineSdk_createReplayEngine', 'ReplayEngineCallback', 'ReplayEngineEvents',
        [decl.sample(paramType('engineSdk_createReplayEngine', 0), recorder), 's']],
      ['engineSdk_createStreamingEngine', 'StreamingEngineCallback', 'StreamingEvents',
        [{}, decl.sample(paramType('engineSdk_createStreamingEngine', 1), recorder), '{}']],
    ];
    for (const [create, engineInterface, iface, args] of engines) {
      addon[create](...args);
      const held = sim.held().filter((n) => n.startsWith(`${engineInterface}.`));
      assert.ok(held.length > 0, `${create} hands the engine its callbacks`);
      for (const name of held) {
        const m = iface && declaredMethod(recorder, iface, name.split('.').pop().replace(/^O/, 'o'));
        assert.ok(sim.fire(name, m ? fireArgs(m.signature) : [0]), name);
      }
      await settle();
      destroyAll();
    }
    await settle();
    assert.deepEqual([...recorder.interfaces.keys()].sort(), ['ReplayEngineEvents', 'StreamingEvents', 'object']);
    assert.deepEqual(recorder.undeclared, [], 'keys read or methods called that no declaration has');
    assert.deepEqual(recorder.calls.filter((c) => c.iface === 'object'), [], 'nothing is called on the local engine\'s callbacks');
    assert.deepEqual(uncalled(recorder), [], 'declared methods the add-on never calls');
    assert.deepEqual(callProblems(recorder), []);
  });

  await t.test('screen recorder, camera recorder and media track editor', async () => {
    const os = require('os');
    const fs = require('fs');
    const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'lumen-declarations-'));
    t.after(() => fs.rmSync(dir, { recursive: true, force: true }));
    const recorder = new decl.Recorder();
    const callback = (name, i) => decl.sample(paramType(name, i), recorder);
    sim.setSourceFlags({ enableNewScreenRecordEngine20250807: true });
    try {
      assert.equal(addon.screenRecordEngine_createScreenCapture(callback('screenRecordEngine_createScreenCapture', 0), '', ''), 0);
      assert.equal(addon.screenRecordEngine_startScreenRecord({ rootDir: dir }), 0);
      assert.equal(addon.cameraRecordEngine_createCameraRecorder(callback('cameraRecordEngine_createCameraRecorder', 0), {}), 0);
      assert.equal(addon.cameraRecordEngine_startPreview({ cameraGUID: 'c' }, callback('cameraRecordEngine_startPreview', 1)), 0);
      assert.equal(addon.cameraRecordEngine_startRecord({ rootDir: dir }, callback('cameraRecordEngine_startRecord', 1)), 0);
      const media = path.join(dir, 'take.seg');
      assert.ok(sim.writeSegment(media, { width: 4, height: 2, fps: 10, spans: [{ startMs: 0, endMs: 500 }] }));
      assert.equal(addon.mediaTrackEditorEngine_createMediaTrackEditor(), 0);
      assert.equal(addon.mediaTrackEditorEngine_mediaTrackAppend(media), 0);
      // One export at a time: each is fired before the next replaces it.
      const exports = [['mediaTrackEditorEngine_mediaTrackExport', 'ExportStatusCallbacks'],
        ['mediaTrackEditorEngine_mediaTrackExportWithSegInfo', 'ExportWithSegmentsCallbacks']];
      for (const [name, iface] of exports) {
        assert.equal(addon[name](path.join(dir, 'out.seg'), callback(name, 1)), 0);
        const held = sim.held().filter((n) => n.startsWith('ExportStatusCallback:')).sort();
        assert.ok(sim.fire(held.at(-2), [40]));
        assert.ok(sim.fire(held.at(-1), [0, '']));
        await waitFor(() => recorder.calledMethods(iface).size === 2, 5000, `${iface} calls`);
      }
      // Every other event of the recorders, as the engines report them.
      const prefixes = ['QXScreenRecordEngineCallback.', 'CameraRecordEngineCallback.', 'CameraRecordCallback.'];
      const args = { OnRecordStopped: ['/rec/1.seg'], OnError: [2, -5, 'disk full'], OnScreenCaptureApiChanged: [3],
        OnMergeProgress: [50], OnCameraError: [-3, 'camera busy'], OnRecordProgress: [1200], OnRecordError: [-2, 'no disk'] };
      for (const name of sim.held().filter((n) => prefixes.some((p) => n.startsWith(p)))) {
        assert.ok(sim.fire(name, args[name.split('.').pop()] || []), name);
      }
      assert.ok(sim.pushFrame('sink:cameraRecorder', 4, 2, 1));
      await waitFor(() => uncalled(recorder).length === 0, 5000, 'every declared method').catch(() => {});
      await settle();
      assert.deepEqual(uncalled(recorder), [], 'declared methods the add-on never calls');
      assert.deepEqual(recorder.undeclared, [], 'keys read or methods called that no declaration has');
      assert.deepEqual(callProblems(recorder), []);
    } finally {
      addon.screenRecordEngine_destroyScreenCapture();
      addon.cameraRecordEngine_destroyCameraRecorder();
      addon.mediaTrackEditorEngine_destroyMediaTrackEditor();
    }
  });
});
