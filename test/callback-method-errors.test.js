'use strict';
// A callbacks object without the method an event needs: the TypeError that
// reaches 'uncaughtException' names the method and the export that
// registered the object. In a process of its own, since the exceptions are
// uncaught.
const test = require('node:test');
const assert = require('node:assert/strict');
const { runFixture, lastJson } = require('./helpers');

test('a missing or non-function method names itself and the registering export', async () => {
  const run = await runFixture('missing-callback-method.js');
  assert.equal(run.signal, null, run.stderr);
  assert.equal(run.code, 0, run.stderr);
  const { uncaught, delivered } = lastJson(run.stdout);
  assert.deepEqual(uncaught, [
    'TypeError: onMediaConnecting is not a function on the callbacks object registered by engineSdk_createLivePlayEngine',
    'TypeError: onMediaConnected is not a function on the callbacks object registered by engineSdk_createLivePlayEngine',
    'TypeError: onVideoFrame is not a function on the callbacks object registered by livePlayEngine_videoStartReceive',
  ]);
  // The failures did not stop later deliveries to the same objects.
  assert.deepEqual(delivered, ['onMediaConnecting', 'onVideoFrame 4x2']);
});
