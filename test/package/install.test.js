'use strict';
// The package as an app receives it: packed, installed from the tarball into
// a fresh project with no network (its dependencies packed from this
// clone's node_modules), then the README's quick starts run against it, in
// JavaScript and in TypeScript compiled with --strict. Once with the
// linux-x64 prebuilt binaries (nothing is compiled), once without (the
// install compiles what an app loads, and nothing else stays behind).
// npm run test:package; prints install times and sizes.
const test = require('node:test');
const assert = require('node:assert/strict');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { execFileSync, spawnSync } = require('child_process');

const root = path.resolve(__dirname, '..', '..');
const npm = process.env.npm_execpath && /\.[cm]?js$/.test(process.env.npm_execpath)
  ? [process.execPath, process.env.npm_execpath]
  : ['npm'];
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'lumen-package-'));
test.after(() => fs.rmSync(work, { recursive: true, force: true }));

let lastStderr = '';
function run(argv, opts = {}) {
  const [cmd, ...rest] = argv;
  const r = spawnSync(cmd, rest, { encoding: 'utf8', maxBuffer: 64 << 20, ...opts });
  if (r.error) throw r.error;
  if (r.status !== 0) throw new Error(`${argv.join(' ')} failed (${r.signal || r.status})\n${r.stdout}\n${r.stderr}`);
  lastStderr = r.stderr;
  return r.stdout;
}
const npmRun = (args, opts) => run([...npm, ...args], opts);

function pack(dir, dest) {
  const [info] = JSON.parse(npmRun(['pack', '--json', '--pack-destination', dest, dir], { cwd: dest }));
  return { file: path.join(dest, info.filename), size: info.size, unpackedSize: info.unpackedSize, files: info.files.map((f) => f.path) };
}

function du(dir) {
  let total = 0;
  for (const e of fs.readdirSync(dir, { withFileTypes: true })) {
    const p = path.join(dir, e.name);
    total += e.isDirectory() ? du(p) : fs.lstatSync(p).size;
  }
  return total;
}

// The fenced block that follows <!-- quick-start.<ext> --> in the README.
function quickStart(ext) {
  const readme = fs.readFileSync(path.join(root, 'README.md'), 'utf8');
  const m = new RegExp(`<!-- quick-start\\.${ext} -->\\s*\`\`\`\\w*\\n([\\s\\S]*?)\`\`\``).exec(readme);
  assert.ok(m, `README has a quick-start.${ext} block`);
  return m[1];
}

// The package laid out twice: without prebuilt binaries, and with those of this machine.
const staged = (() => {
  const stage = path.join(work, 'stage');
  fs.mkdirSync(stage);
  const first = pack(root, work);
  run(['tar', '-xzf', first.file, '-C', stage]);
  fs.rmSync(first.file);
  const dir = path.join(stage, 'package');
  fs.rmSync(path.join(dir, 'prebuilds'), { recursive: true, force: true });
  const tarballs = { source: pack(dir, work) };
  fs.renameSync(tarballs.source.file, (tarballs.source.file = path.join(work, 'source.tgz')));
  run([process.execPath, path.join(root, 'scripts', 'prebuild.js'), `--out=${path.join(dir, 'prebuilds')}`], { cwd: root });
  tarballs.prebuilt = pack(dir, work);
  fs.renameSync(tarballs.prebuilt.file, (tarballs.prebuilt.file = path.join(work, 'prebuilt.tgz')));
  // The dependencies an app gets, as tarballs: the install needs no registry.
  const pkg = JSON.parse(fs.readFileSync(path.join(root, 'package.json'), 'utf8'));
  const deps = Object.keys(pkg.dependencies).map((name) => pack(path.join(root, 'node_modules', name), work).file);
  return { tarballs, deps, pkg };
})();

const report = {};

function installApp(variant) {
  const app = path.join(work, `app-${variant}`);
  fs.mkdirSync(app);
  fs.writeFileSync(path.join(app, 'package.json'), JSON.stringify({ name: 'teaching-app', version: '1.0.0', private: true }));
  const started = Date.now();
  const stdout = npmRun(['install', '--offline', '--no-audit', '--no-fund', '--foreground-scripts', ...staged.deps, staged.tarballs[variant].file], {
    cwd: app,
    env: { ...process.env, npm_config_build_from_source: '' },
  });
  const seconds = (Date.now() - started) / 1000;
  // A compile at install prints no compiler warning.
  const warnings = `${stdout}\n${lastStderr}`.split('\n').filter((l) => /warning:/.test(l));
  assert.deepEqual(warnings, []);
  const installed = path.join(app, 'node_modules', staged.pkg.name);
  report[variant] = { installSeconds: seconds, packedBytes: staged.tarballs[variant].size, installedBytes: du(installed) };
  return { app, installed };
}

// The quick starts print their story; an app would not see the stand-in's part.
const STORY = ['media connected', 'command connected', 'frame 320x180 from user 7', 'left the class: 0'];

function runQuickStarts(app) {
  fs.writeFileSync(path.join(app, 'quick-start.js'), quickStart('js'));
  assert.deepEqual(run([process.execPath, 'quick-start.js'], { cwd: app, timeout: 60000 }).trim().split('\n'), STORY);

  fs.mkdirSync(path.join(app, 'src'));
  fs.writeFileSync(path.join(app, 'src', 'quick-start.ts'), quickStart('ts'));
  fs.writeFileSync(path.join(app, 'tsconfig.json'), JSON.stringify({
    compilerOptions: {
      strict: true, target: 'es2020', module: 'commonjs', outDir: 'out', esModuleInterop: true,
      // The app's own @types/node would do; this clone's saves a registry.
      typeRoots: [path.join(root, 'node_modules', '@types')], types: ['node'],
    },
    include: ['src'],
  }));
  run([process.execPath, path.join(root, 'node_modules', 'typescript', 'bin', 'tsc'), '-p', app]);
  assert.deepEqual(run([process.execPath, path.join('out', 'quick-start.js')], { cwd: app, timeout: 60000 }).trim().split('\n'), STORY);
}

test('what the tarball holds', () => {
  const files = staged.tarballs.prebuilt.files;
  for (const f of ['index.js', 'index.d.ts', 'sim/index.js', 'sim/index.d.ts', 'binding.gyp', 'scripts/install.js',
    'prebuilds/linux-x64/node.napi.node', 'prebuilds/linux-x64/live_engine_shared.so', 'prebuilds/linux-x64/lumen_engine_sim.node']) {
    assert.ok(files.includes(f), `${f} is packed`);
  }
  for (const f of files) assert.doesNotMatch(f, /^(test|bench|demo|\.ci|build)\/|^scripts\/(fuzz|test|ensure)/, `${f} is for the clone only`);
});

test('with prebuilt binaries: installs offline without compiling and runs', () => {
  const { app, installed } = installApp('prebuilt');
  assert.equal(fs.existsSync(path.join(installed, 'build')), false, 'nothing was compiled');
  runQuickStarts(app);
});

test('without prebuilt binaries: compiles only what an app loads, keeps no intermediates, and runs', () => {
  const { app, installed } = installApp('source');
  assert.deepEqual(fs.readdirSync(path.join(installed, 'build')), ['Release']);
  assert.deepEqual(fs.readdirSync(path.join(installed, 'build', 'Release')).sort(),
    ['live_engine_shared.so', 'lumen_engine_addon.node', 'lumen_engine_sim.node']);
  runQuickStarts(app);
});

test.after(() => console.log(`package: ${JSON.stringify(report)}`));
