'use strict';
// Engines going away while other threads use them: a connect in flight on the
// background thread and a disconnect on the automatic-leave thread do not
// hold up the JavaScript thread (shown by the journal: the stand-in holds
// those calls until released, and whatever JavaScript did meanwhile is
// journalled before they return), a leave during a connect leaves the root's
// deletion to the connect, and nothing reaches JavaScript for an engine once
// it is gone. Then many rounds of every engine kind under load.
const test = require('node:test');
const assert = require('node:assert/strict');
const { addon, sim, fresh, waitFor } = require('./live-helpers');
const { runFixture, lastJson, leakChecked } = require('./helpers');

// Long enough never to end by itself during a test; a release ends it.
const HELD_MS = 20000;

// Journal positions: the index of the first entry of `op` (with `args`, if
// given) after index `from`, or -1.
const at = (journal, op, args, from = -1) =>
  journal.findIndex((e, i) => i > from && e.op === op && (!args || JSON.stringify(e.args) === JSON.stringify(args)));
const returned = (journal, op) => at(journal, 'sim.Returned', [op]);

// A callbacks object that records every method called on it and fails the
// test for any call once `gone` is set.
function recorder(label) {
  const r = { calls: [], gone: false, late: [] };
  r.object = new Proxy({}, {
    get: (_, key) => (typeof key === 'string' && /^on[A-Z]/.test(key)
      ? (...args) => {
        if (r.gone) r.late.push(`${label}.${key}`);
        r.calls.push(key);
      }
      : undefined),
  });
  return r;
}

function startClass(object) {
  addon.engineSdk_onAppInit({}, '5.1.0');
  assert.equal(addon.engineSdk_createLivePlayEngine(object), 0);
}

test.describe('network calls of other threads hold up no export', () => {
  test.beforeEach(fresh);
  test.afterEach(() => {
    sim.releaseDelayed('');
    return waitFor(() => !sim.objects().roots);
  });

  test('a connect in flight in the background: exports and the leave answer at once; the connect deletes the root', async () => {
    const events = recorder('events');
    startClass(events.object);
    sim.delayCalls('tavel.LivePlayEngine.Connect', HELD_MS, 1);
    assert.equal(addon.engineSdk_connectLivePlayEngineAndConfigDevice({ room_id: 9 }, '/audio/params', {}), 0);
    await waitFor(() => sim.journal('tavel.LivePlayEngine.Connect').length === 1);

    // The connect is held on its thread: everything below runs meanwhile.
    assert.equal(addon.livePlayEngine_audioStartSend({ userId: 3, type: 1 }), 0);
    assert.equal(addon.livePlayEngine_setMicrophoneSendMute(true), 0);
    assert.equal(addon.engineSdk_currentEngineType(), 0);
    addon.engineSdk_onNetworkTypeChanged(2);
    assert.equal(addon.engineSdk_leaveLiveRoom(), 0);
    events.gone = true;
    assert.equal(addon.livePlayEngine_audioStartSend({}), -1);
    assert.equal(addon.engineSdk_currentEngineType(), -1);
    // The engine may still report while its root waits for the connect:
    // none of it is delivered.
    assert.equal(sim.objects().roots, 1, 'the root waits for the connect');
    assert.ok(sim.fire('LivePlayEngineCallback.OnServerTimestampOffset', [77]));

    sim.releaseDelayed('tavel.LivePlayEngine.Connect');
    await waitFor(() => !sim.objects().roots);
    sim.waitIdle();
    await new Promise((resolve) => setTimeout(resolve, 30));

    const journal = sim.journal();
    const began = at(journal, 'tavel.LivePlayEngine.Connect');
    const back = returned(journal, 'tavel.LivePlayEngine.Connect');
    assert.ok(back > began, 'the connect returned');
    for (const op of ['tavel.LivePlayEngine.AudioStartSend', 'tavel.LivePlayEngine.SetMicrophoneSendMute',
      'tavel.LivePlayEngine.SetNetworkType', 'tavel.LivePlayEngine.Disconnect', 'lumen.LiveClient.DestroyCommandClient']) {
      const i = at(journal, op, undefined, began);
      assert.ok(i > began && i < back, `${op} ran while the connect was in flight (${began} < ${i} < ${back})`);
    }
    // The root went once the connect had returned, on its thread; the room it
    // connected to was left, so nothing was handed over or configured.
    assert.ok(at(journal, 'tavel.LiveEngine.Delete') > back);
    assert.equal(at(journal, 'tavel.LivePlayEngine.SetCommandClient'), -1);
    assert.equal(at(journal, 'tavel.LiveDeviceEngine.SetAudioParameterPath'), -1);
    assert.deepEqual(events.late, []);
    assert.deepEqual(sim.objects(), { ...sim.objects(), roots: 0, commandClients: 0, audioRecordings: 0 });
  });

  test('a connect that returns to a live engine hands the command client over and configures the device', async () => {
    const events = recorder('events');
    startClass(events.object);
    sim.delayCalls('tavel.LivePlayEngine.Connect', HELD_MS, 1);
    assert.equal(addon.engineSdk_connectLivePlayEngineAndConfigDevice({ room_id: 9 }, '/audio/params', {}), 0);
    await waitFor(() => sim.journal('tavel.LivePlayEngine.Connect').length === 1);
    assert.equal(addon.livePlayEngine_audioStartSend({}), 0);
    sim.releaseDelayed('tavel.LivePlayEngine.Connect');
    await waitFor(() => events.calls.includes('onEnterRoom') && events.calls.includes('onCommandConnected'));
    const journal = sim.journal();
    const began = at(journal, 'tavel.LivePlayEngine.Connect');
    const back = returned(journal, 'tavel.LivePlayEngine.Connect');
    const sent = at(journal, 'tavel.LivePlayEngine.AudioStartSend');
    assert.ok(began < sent && sent < back);
    assert.ok(at(journal, 'tavel.LivePlayEngine.SetCommandClient') > back);
    assert.deepEqual(sim.journal('tavel.LiveDeviceEngine.SetAudioParameterPath').map((e) => e.args), [['/audio/params']]);
    assert.equal(addon.engineSdk_leaveLiveRoom(), 0);
    assert.equal(sim.objects().roots, 0, 'no connect in flight: the leave deletes the root itself');
  });

  test('an automatic leave disconnecting: exports answer at once, and a new engine made meanwhile is left alone', async () => {
    sim.setSourceFlags({ enableAutoLeaveRoom4660: true });
    const first = recorder('first');
    const firstFrames = recorder('first renderer');
    startClass(first.object);
    assert.equal(addon.engineSdk_connectLivePlayEngine({ room_id: 1 }), 0);
    assert.equal(addon.livePlayEngine_videoStartReceive({ userId: 3, type: 0 }, firstFrames.object), 0);
    await waitFor(() => first.calls.includes('onMediaConnected') && first.calls.includes('onCommandConnected'));

    sim.delayCalls('tavel.LivePlayEngine.Disconnect', HELD_MS, 1);
    assert.ok(sim.fire('CommandClientCallback.OnCommandDisconnected', [1, 2, 'gone', 3]));
    await waitFor(() => sim.journal('tavel.LivePlayEngine.Disconnect').length === 1);

    // The first engine is out of the manager before its disconnect began.
    assert.equal(addon.engineSdk_currentEngineType(), -1);
    first.gone = true;
    firstFrames.gone = true;
    assert.equal(addon.livePlayEngine_audioStartSend({}), -1);
    assert.equal(addon.engineSdk_leaveLiveRoom(), -1);
    const second = recorder('second');
    const secondFrames = recorder('second renderer');
    assert.equal(addon.engineSdk_createLivePlayEngine(second.object), 0);
    assert.equal(addon.engineSdk_connectLivePlayEngine({ room_id: 2 }), 0);
    assert.equal(addon.livePlayEngine_videoStartReceive({ userId: 3, type: 0 }, secondFrames.object), 0);
    assert.equal(addon.livePlayEngine_audioStartSend({ userId: 5, type: 1 }), 0);

    sim.releaseDelayed('tavel.LivePlayEngine.Disconnect');
    await waitFor(() => sim.objects().roots === 1);
    const journal = sim.journal();
    const began = at(journal, 'tavel.LivePlayEngine.Disconnect');
    const back = returned(journal, 'tavel.LivePlayEngine.Disconnect');
    for (const op of ['tavel.LiveEngine.Create', 'tavel.LivePlayEngine.Connect', 'tavel.LivePlayEngine.VideoStartReceive',
      'tavel.LivePlayEngine.AudioStartSend']) {
      const i = at(journal, op, undefined, began);
      assert.ok(i > began && i < back, `${op} ran while the automatic leave disconnected (${began} < ${i} < ${back})`);
    }
    // Its root went after the disconnect, on the automatic-leave thread.
    assert.ok(at(journal, 'tavel.LiveEngine.Delete', undefined, back) > back);
    // The old engine's teardown released nothing of the new one.
    assert.equal(addon.engineSdk_currentEngineType(), 0);
    assert.ok(sim.pushFrame('sink:3:0', 16, 8, 1));
    await waitFor(() => secondFrames.calls.includes('onVideoFrame'));
    assert.ok(sim.fire('LivePlayEngineCallback.OnServerTimestampOffset', [5]));
    await waitFor(() => second.calls.includes('onServerTimestampOffset'));
    assert.deepEqual([...first.late, ...firstFrames.late], []);
    assert.equal(addon.engineSdk_leaveLiveRoom(), 0);
    assert.equal(sim.objects().roots, 0);
  });
});

test('many rounds of every engine kind while leaves, destroys, connects and automatic leaves overlap', async (t) => {
  const rounds = 600;
  // Under the sanitizer build LeakSanitizer checks the child at exit too.
  const run = await runFixture('robust-lifetimes.js', [String(rounds)], 600000, leakChecked());
  assert.equal(run.signal, null, `killed by ${run.signal}\n${run.stderr}`);
  assert.equal(run.code, 0, `exit code ${run.code}; a sanitizer report ends with a non-zero code\n${run.stderr}`);
  const result = lastJson(run.stdout);
  t.diagnostic(JSON.stringify(result));
  assert.deepEqual(result.failures, []);
  assert.equal(result.rounds, rounds);
  assert.deepEqual(Object.keys(result.kinds).sort(), ['liveReplay', 'livePlay', 'local', 'replay', 'streaming'].sort());
  // The overlaps the run is for did happen.
  assert.ok(result.autoLeaves > 0 && result.leavesDuringConnect > 0 && result.deferredRootDeletions > 0,
    JSON.stringify(result));
  assert.ok(result.refusedWithoutEngine > 0 && result.deliveries > 0);
  assert.deepEqual(result.objects, { ...result.objects, roots: 0, commandClients: 0, replayEngines: 0, audioRecordings: 0 });
  assert.equal(run.stderr.match(/ERROR: (Address|Leak|Thread)Sanitizer|runtime error:/), null, run.stderr);
});
