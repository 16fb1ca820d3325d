'use strict';
// The environment ends while players, their renderers, downloads and data
// sources are busy: nothing is delivered after teardown, nothing crashes,
// and (under the sanitizer build) nothing leaks.
const test = require('node:test');
const assert = require('node:assert/strict');
const { runFixture, lastJson, leakChecked } = require('./helpers');

for (const mode of ['main', 'worker']) {
  test(`teardown with busy players (${mode})`, async () => {
    for (let i = 0; i < 3; i++) {
      const r = await runFixture('qx-player-teardown.js', [mode], 60000, leakChecked());
      assert.equal(r.signal, null, r.stderr);
      assert.equal(r.code, 0, r.stderr);
      const out = lastJson(r.stdout);
      assert.ok(out.events > 0, 'events were in flight');
      if (mode === 'worker') assert.equal(out.reloaded, true);
    }
  });
}
