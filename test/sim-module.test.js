'use strict';
// The control module as docs/sim-*.md describe it and sim/index.d.ts
// declares it, where a test author relies on the documented answer.
const fs = require('fs');
const path = require('path');
const test = require('node:test');
const assert = require('node:assert/strict');
const { addon, sim, fresh, startClass, waitFor } = require('./live-helpers');

test('an AI agent message fired as a string arrives as its text, like a Buffer', async () => {
  sim.reset();
  const got = [];
  const config = { userId: 1, agentId: 9, signature: 'sig', authExtension: 'ext', noTimeout: true };
  const h = addon.QXAIAgent_createInstance(config, { onAIAgentMessage: (m) => got.push(m.message) });
  assert.ok(h > 0);
  try {
    assert.ok(sim.fire('QXAIAgentCallback.OnAIAgentMessage', ['{"text":"h\u00e9"}']));
    assert.ok(sim.fire('QXAIAgentCallback.OnAIAgentMessage', [Buffer.from('raw')]));
    await waitFor(() => got.length === 2);
    assert.deepEqual(got, ['{"text":"h\u00e9"}', 'raw']);
  } finally {
    addon.QXAIAgent_destroyInstance(h);
  }
});

test('a guid no device has: -1 from an index look-up, -3 from a camera\'s format list', () => {
  fresh();
  sim.setDevices({ microphones: [{ name: 'Mic A', guid: 'mic-a' }], cameras: [{ name: 'Cam', guid: 'cam-0', formats: [] }] });
  startClass();
  try {
    assert.equal(addon.deviceEngine_getRecordingDeviceIndex('mic-a'), 0);
    assert.equal(addon.deviceEngine_getRecordingDeviceIndex('nowhere'), -1);
    assert.equal(addon.deviceEngine_getCaptureDeviceIndexByGUID('nowhere'), -1);
    assert.equal(addon.deviceEngine_getCaptureDeviceIndexByGUID('Cam'), 0);
    assert.deepEqual(addon.deviceEngine_getCaptureDeviceFormatList('nowhere'), { formats: [], errorCode: -3 });
    assert.equal(addon.deviceEngine_getCaptureDeviceName(1).errorCode, -3);
  } finally {
    fresh();
  }
});

test('sim/index.d.ts declares every function of the control module, and no other', () => {
  const text = fs.readFileSync(path.join(__dirname, '..', 'sim', 'index.d.ts'), 'utf8');
  const declared = [...text.matchAll(/^export declare function (\w+)\(/gm)].map((m) => m[1]).sort();
  const actual = Object.keys(sim).filter((k) => typeof sim[k] === 'function').sort();
  assert.deepEqual(declared, actual);
});
