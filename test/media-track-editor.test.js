'use strict';
// mediaTrackEditorEngine_* through the stand-in: the editor's life, edits by
// position, and exports, one status callback at a time.
const test = require('node:test');
const assert = require('node:assert/strict');
const path = require('path');
const {
  addon, sim, waitFor, settle, destroyRecorders, freshRecording, noting, names, lines, argsOf, tempDir,
} = require('./recording-helpers');

const e = (name) => addon[`mediaTrackEditorEngine_${name}`];
const op = (m) => `record_engine.MediaTrackEditorEngineInterface.${m}`;
const NOT_CREATED = { message: 'media track editor engine is not created' };

// Two takes: 2 s, and 1 s recorded after a pause.
function takes(dir) {
  const a = path.join(dir, 'a.seg');
  const b = path.join(dir, 'b.seg');
  assert.ok(sim.writeSegment(a, { width: 640, height: 360, fps: 10, spans: [{ startMs: 0, endMs: 2000 }] }));
  assert.ok(sim.writeSegment(b, { width: 640, height: 360, fps: 10, spans: [{ startMs: 5000, endMs: 6000 }] }));
  return { a, b };
}

test('without an editor every export but create and destroy throws, and logs nothing', () => {
  freshRecording();
  const calls = [['mediaTrackInsert', 'p', 0], ['mediaTrackDelete', 0, 1], ['mediaTrackAppend', 'p'],
    ['mediaTrackReplace', 'p', 0, 1], ['getMediaTrackDuration'], ['mediaTrackExport', 'p', {}],
    ['mediaTrackExportWithSegInfo', 'p', {}]];
  for (const [name, ...args] of calls) assert.throws(() => e(name)(...args), NOT_CREATED, name);
  assert.deepEqual(sim.logLines(), []);
  assert.equal(e('destroyMediaTrackEditor')(), -1);
  assert.deepEqual(sim.journal(/MediaTrackEditor/), []);
});

test('the editor', async (t) => {
  t.beforeEach(() => freshRecording());
  t.afterEach(destroyRecorders);

  await t.test('one at a time: a second create answers -100606; destroy releases it', () => {
    assert.equal(e('createMediaTrackEditor')(), 0);
    assert.equal(e('createMediaTrackEditor')(), -100606);
    assert.equal(sim.journal(op('createNewMediaTrackEditor')).length, 1);
    assert.equal(e('destroyMediaTrackEditor')(), 0);
    assert.deepEqual(argsOf(op('release')), [[]]);
    assert.equal(sim.objects().mediaTrackEditors, 0);
    assert.ok(lines('destroy media track editor engine').length === 1 && lines('~MediaTrackEditorEngineImpl()').length === 1);
    sim.script(op('init'), -5, 1);
    assert.equal(e('createMediaTrackEditor')(), -5, 'the initialisation\'s code');
  });

  await t.test('edits by position, each logged with its arguments', async (tt) => {
    const { a, b } = takes(tempDir(tt));
    e('createMediaTrackEditor')();
    assert.equal(e('mediaTrackAppend')(a), 0);
    assert.equal(e('mediaTrackInsert')(b, 1000), 0);
    assert.equal(e('getMediaTrackDuration')(), 3000);
    assert.equal(e('mediaTrackDelete')(500, 1500), 0);
    assert.equal(e('getMediaTrackDuration')(), 2000);
    assert.equal(e('mediaTrackReplace')(b, 0, 500), 0);
    assert.equal(e('getMediaTrackDuration')(), 2500);
    assert.equal(e('mediaTrackInsert')(path.join(path.dirname(a), 'none.seg'), 0), -100602);
    assert.equal(e('mediaTrackDelete')(0, 2 ** 40), -100601);
    assert.deepEqual(argsOf(op('mediaTrackDelete')), [[500, 1500], [0, 2 ** 40]]);
    const editorLine = (text) => lines(text).filter((l) => l.tag === 'MediaTrackEditorEngineImpl' && l.severity === 9);
    assert.equal(editorLine(`mediaTrackInsert, mediaName:${b}insertPosMs:1000`).length, 1);
    assert.equal(editorLine('mediaTrackDelete, startPosMs:500endPosMs:1500').length, 1);
    assert.equal(editorLine(`mediaTrackAppend, mediaName:${a}`).length, 1);
    assert.equal(editorLine(`mediaTrackReplace, mediaName:${b}startPosMs:0endPosMs500`).length, 1);
    assert.equal(editorLine('getMediaTrackDuration').length, 3);
  });

  await t.test('an export reports its progress, then its end with or without the segments', async (tt) => {
    const dir = tempDir(tt);
    const { a, b } = takes(dir);
    e('createMediaTrackEditor')();
    e('mediaTrackAppend')(a);
    e('mediaTrackAppend')(b);
    sim.setRecordingTiming({ exportStepMs: 2 });
    const plain = [];
    assert.equal(e('mediaTrackExport')(path.join(dir, 'plain.seg'), noting(plain)), 0);
    await waitFor(() => names(plain).includes('exportFinished'));
    assert.deepEqual(plain, [['exportProgress', 25], ['exportProgress', 50], ['exportProgress', 75],
      ['exportProgress', 100], ['exportFinished', { errorCode: 0, message: '' }]]);

    const segmented = [];
    assert.equal(e('mediaTrackExportWithSegInfo')(path.join(dir, 'lesson.seg'), noting(segmented)), 0);
    await waitFor(() => names(segmented).includes('exportFinished'));
    assert.deepEqual(segmented.at(-1), ['exportFinished', { errorCode: 0, message: '' },
      { durationMs: 3000, segmentInfos: [{ startTimeMs: 0, endTimeMs: 2000 }, { startTimeMs: 2000, endTimeMs: 3000 }] }]);
    assert.equal(lines('onExportFinished with segment info size:2')[0].tag, 'ExportStatusOnExportFinished');
    assert.deepEqual(sim.readSegment(path.join(dir, 'lesson.seg')).spans,
      [{ startMs: 0, endMs: 2000 }, { startMs: 5000, endMs: 6000 }]);
  });

  await t.test('a second export drops the first one\'s queued progress and whatever it reports later', async (tt) => {
    const dir = tempDir(tt);
    e('createMediaTrackEditor')();
    e('mediaTrackAppend')(takes(dir).a);
    const first = [];
    e('mediaTrackExport')(path.join(dir, 'one.seg'), noting(first));
    // Queued while JavaScript is busy here.
    for (const p of [10, 20, 30]) assert.ok(sim.fire('ExportStatusCallback:1.onExportProgress', [p]));
    const second = [];
    e('mediaTrackExport')(path.join(dir, 'two.seg'), noting(second));
    assert.ok(sim.fire('ExportStatusCallback:1.onExportProgress', [40]), 'an engine that calls the first one still');
    assert.ok(sim.fire('ExportStatusCallback:1.onExportFinished', [0, '']));
    assert.ok(sim.fire('ExportStatusCallback:2.onExportProgress', [50]));
    await waitFor(() => second.length === 1);
    await settle();
    assert.deepEqual(first, []);
    assert.deepEqual(second, [['exportProgress', 50]]);
  });

  await t.test('nothing of an export is delivered after destroy', async (tt) => {
    const dir = tempDir(tt);
    e('createMediaTrackEditor')();
    e('mediaTrackAppend')(takes(dir).a);
    const calls = [];
    e('mediaTrackExport')(path.join(dir, 'out.seg'), noting(calls));
    assert.ok(sim.fire('ExportStatusCallback:1.onExportProgress', [10]));
    assert.equal(e('destroyMediaTrackEditor')(), 0);
    assert.deepEqual(sim.held().filter((n) => n.startsWith('ExportStatusCallback')), []);
    await settle();
    assert.deepEqual(calls, []);
  });
});
