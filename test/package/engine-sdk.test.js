'use strict';
// The engine_sdk switch at configure time, in a copy of the package: with it
// the add-on is built against the SDK's headers and library (copied beside
// it) and neither the stand-in nor its control module is built; without it,
// both are, and never the bench modules outside a clone.
const test = require('node:test');
const assert = require('node:assert/strict');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { spawnSync } = require('child_process');

const root = path.resolve(__dirname, '..', '..');
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'lumen-sdk-'));
test.after(() => fs.rmSync(work, { recursive: true, force: true }));

// What the packed package holds of the build, and this clone's dependencies.
const pkg = path.join(work, 'node_modules', 'lumen_engine_addon');
for (const name of ['binding.gyp', 'package.json', 'scripts', 'src', 'standin']) {
  fs.cpSync(path.join(root, name), path.join(pkg, name), { recursive: true });
}
for (const name of ['node-addon-api', 'node-gyp-build']) {
  fs.symlinkSync(path.join(root, 'node_modules', name), path.join(work, 'node_modules', name));
}
const sdk = path.join(work, 'sdk');
fs.cpSync(path.join(root, 'standin', 'include'), path.join(sdk, 'include'), { recursive: true });
fs.mkdirSync(path.join(sdk, 'lib'));

function configure(env) {
  fs.rmSync(path.join(pkg, 'build'), { recursive: true, force: true });
  const r = spawnSync(process.execPath, [path.join(pkg, 'scripts', 'build.js'), '--configure-only'],
    { cwd: pkg, encoding: 'utf8', env: { ...process.env, npm_config_engine_sdk: '', LUMEN_ENGINE_SDK: '', ...env } });
  assert.equal(r.status, 0, r.stderr);
  const build = path.join(pkg, 'build');
  const targets = fs.readdirSync(build).filter((f) => f.endsWith('.target.mk')).sort();
  const addon = fs.readFileSync(path.join(build, 'lumen_engine_addon.target.mk'), 'utf8');
  return { targets, addon };
}

test('without engine_sdk: the add-on, the stand-in and its control module', () => {
  const { targets, addon } = configure({});
  assert.deepEqual(targets, ['live_engine_shared.target.mk', 'lumen_engine_addon.target.mk', 'lumen_engine_sim.target.mk']);
  assert.match(addon, /standin\/include/);
  assert.doesNotMatch(addon, /-llive_engine_shared/);
});

test('with engine_sdk: the add-on alone, against the SDK', () => {
  const { targets, addon } = configure({ LUMEN_ENGINE_SDK: sdk });
  assert.deepEqual(targets, ['lumen_engine_addon.target.mk']);
  assert.ok(addon.includes(`-I${sdk}/include`), 'the SDK\'s headers');
  assert.doesNotMatch(addon, /standin/, 'nothing of the stand-in');
  assert.ok(addon.includes(`-L${sdk}/lib`) && addon.includes('-llive_engine_shared'), 'the SDK\'s library');
  assert.match(addon, /-rpath,'?\$\$ORIGIN/);
  // The library is copied next to the add-on.
  const copies = fs.readdirSync(path.join(pkg, 'build')).filter((f) => f.endsWith('.mk'))
    .map((f) => fs.readFileSync(path.join(pkg, 'build', f), 'utf8')).join('\n');
  assert.ok(copies.includes(`${sdk}/lib/liblive_engine_shared.so`), 'a copy rule for the SDK\'s library');
});

test('an engine_sdk folder without include/ stops the build with its name', () => {
  const r = spawnSync(process.execPath, [path.join(pkg, 'scripts', 'build.js'), '--configure-only'],
    { cwd: pkg, encoding: 'utf8', env: { ...process.env, LUMEN_ENGINE_SDK: path.join(work, 'nowhere') } });
  assert.equal(r.status, 1);
  assert.match(r.stderr, /engine_sdk .*nowhere has no include\/ folder/);
});
