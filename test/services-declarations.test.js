'use strict';
// types/services.d.ts declares exactly the exports of the service groups,
// with as many parameters as their rows admit.
const test = require('node:test');
const assert = require('node:assert/strict');
const fs = require('fs');
const path = require('path');
const addon = require('..');
const { describeExports } = require('./exports');

const GROUPS = new Set(['dumpDataUpload', 'detectFaceSync', 'detectFaceSyncWithBuffer', 'tallyV2', 'skiff',
  'HttpRequestCallback', 'networkProber', 'QXAIAgent', 'QXEngineSdk', 'QXDeviceSetting']);

test('every service export is declared, and nothing else', () => {
  const text = fs.readFileSync(path.join(__dirname, '..', 'types', 'services.d.ts'), 'utf8');
  const declared = new Map([...text.matchAll(/export declare function (\w+)\(([^)]*)\)/g)]
    .map((m) => [m[1], m[2].trim() === '' ? 0 : m[2].split(/,(?![^{<(]*[}>)])/).length]));
  assert.match(text, /export declare class HttpRequestCallback \{[^}]*onSuccess\(response: HttpResponse\): void;[^}]*onFailed\(response: HttpResponse, message: string\): void;/s);
  assert.match(text, /executeHttpRequest\(request: HttpRequest, callback: HttpRequestCallback, value: number\)/);
  const ours = describeExports(addon).filter((d) => GROUPS.has(d.group) && d.name !== 'HttpRequestCallback');
  assert.equal(ours.length, 45);
  assert.deepEqual([...declared.keys()].sort(), ours.map((d) => d.name).sort());
  for (const d of ours) {
    if (d.check === 'free') continue;
    assert.equal(declared.get(d.name), d.types.length, `${d.name} declares ${declared.get(d.name)} parameters`);
  }
});
