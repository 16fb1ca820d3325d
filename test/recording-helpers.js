'use strict';
// Shared by the recording tests: no recorder left, a fresh simulation on a
// manual clock, callback objects that note every call, a directory for the
// recorders' files.
const fs = require('fs');
const os = require('os');
const path = require('path');
const { addon, sim, fresh, waitFor, settle } = require('./live-helpers');

function destroyRecorders() {
  addon.screenRecordEngine_destroyScreenCapture();
  addon.cameraRecordEngine_destroyCameraRecorder();
  addon.mediaTrackEditorEngine_destroyMediaTrackEditor();
}

function freshRecording(flags = {}) {
  destroyRecorders();
  fresh();
  sim.recordingClock({ manual: true });
  sim.setSourceFlags(flags);
}

// Every on... call as [method, ...args], in order, unless `methods` has its own.
function noting(calls = [], methods = {}) {
  return new Proxy(methods, {
    get: (target, key) => {
      if (key in target) return target[key];
      if (typeof key !== 'string' || !/^(on|export)[A-Z]/.test(key)) return undefined;
      return (...args) => calls.push([key, ...args]);
    },
  });
}

const names = (calls) => calls.map((c) => c[0]);
const lines = (text) => sim.logLines().filter((l) => l.text === text);
const opsOf = (re) => sim.journal(re).map((e) => e.op.slice(e.op.lastIndexOf('.') + 1));
const argsOf = (op) => sim.journal(op).map((e) => e.args);

function tempDir(t) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'lumen-recording-'));
  t.after(() => fs.rmSync(dir, { recursive: true, force: true }));
  return dir;
}

module.exports = { addon, sim, waitFor, settle, destroyRecorders, freshRecording, noting, names, lines, opsOf, argsOf, tempDir };
