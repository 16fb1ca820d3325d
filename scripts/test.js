// Runs the test suites; any failure ends the command with a non-zero exit.
//   node scripts/test.js                native unit tests (ThreadSanitizer), the type check, then the JavaScript suite
//   node scripts/test.js --native-only  the native unit tests only
//   node scripts/test.js --types-only   the type check of the declarations, then their check against the module
//   node scripts/test.js --js-only      the type check and the JavaScript suite: needs no cmake
//   node scripts/test.js --asan         the JavaScript suite against the AddressSanitizer/UBSan build
'use strict';
const fs = require('fs');
const path = require('path');
const { spawnSync, execFileSync } = require('child_process');

const root = path.resolve(__dirname, '..');
const args = process.argv.slice(2);
const asan = args.includes('--asan');
const nativeOnly = args.includes('--native-only');
const typesOnly = args.includes('--types-only');
const jsOnly = args.includes('--js-only');

function run(cmd, argv, opts = {}) {
  const r = spawnSync(cmd, argv, { cwd: root, stdio: 'inherit', ...opts });
  if (r.error) {
    console.error(`${path.basename(cmd)}: ${r.error.message}`);
    process.exit(1);
  }
  if (r.status !== 0) {
    console.error(`${path.basename(cmd)} ${argv.join(' ')} failed (${r.signal || `exit ${r.status}`})`);
    process.exit(r.status || 1);
  }
}

function nativeTests() {
  const dir = path.join(root, 'build-native');
  if (spawnSync('cmake', ['--version'], { stdio: 'ignore' }).error) {
    console.error('cmake was not found: the native unit tests need it and GoogleTest.\n' +
      '  On Debian or Ubuntu: apt-get install cmake libgtest-dev\n' +
      '  Without them, npm run test:js runs the type check and the JavaScript tests.');
    process.exit(1);
  }
  if (!fs.existsSync(path.join(dir, 'CMakeCache.txt'))) {
    run('cmake', ['-S', path.join(root, 'test', 'native'), '-B', dir]);
  }
  run('cmake', ['--build', dir, '--parallel', '2']);
  const env = { ...process.env };
  // Stop at the first report so that the failing test is the one named.
  env.TSAN_OPTIONS = ['halt_on_error=1', 'second_deadlock_stack=1', env.TSAN_OPTIONS].filter(Boolean).join(':');
  // Every unit CMake knows of; a deadlock shows up as a hang, so each has a time limit.
  run('ctest', ['--output-on-failure', '--timeout', '120'], { cwd: dir, env });
}

// The usage files of test/types against index.d.ts, as an app's compiler sees
// them; the canvas renderer's as a window's script does.
function typeCheck() {
  const tsc = require.resolve('typescript/bin/tsc', { paths: [root] });
  for (const project of [['test', 'types'], ['test', 'types', 'renderer']]) {
    run(process.execPath, [tsc, '-p', path.join(root, ...project), '--noEmit', '--strict']);
  }
}

function jsTests(env) {
  const dir = path.join(root, 'test');
  const files = fs.readdirSync(dir).filter((f) => f.endsWith('.test.js')).sort().map((f) => path.join(dir, f));
  if (files.length === 0) {
    console.error('no JavaScript tests found under test/');
    process.exit(1);
  }
  // Each file runs in its own child process, which inherits env.
  run(process.execPath, ['--test', ...files], { env });
}

function sanitizerEnv() {
  run(process.execPath, [path.join(root, 'scripts', 'build.js'), '--asan']);
  const libasan = execFileSync('gcc', ['-print-file-name=libasan.so'], { encoding: 'utf8' }).trim();
  if (!path.isAbsolute(libasan) || !fs.existsSync(libasan)) {
    console.error(`the AddressSanitizer runtime was not found (gcc answered "${libasan}")`);
    process.exit(1);
  }
  const env = { ...process.env };
  env.LUMEN_ENGINE_ADDON_BUILD = path.join(root, 'build-asan', 'tree', 'build', 'Release');
  // Node itself is not instrumented, so the runtime has to be loaded first.
  env.LD_PRELOAD = [libasan, env.LD_PRELOAD].filter(Boolean).join(' ');
  // V8 leaves its heap allocated at exit: leak checking would fail every run.
  env.ASAN_OPTIONS = ['detect_leaks=0', env.ASAN_OPTIONS].filter(Boolean).join(':');
  env.UBSAN_OPTIONS = ['halt_on_error=1', 'print_stacktrace=1', env.UBSAN_OPTIONS].filter(Boolean).join(':');
  return env;
}

if (asan) {
  jsTests(sanitizerEnv());
} else if (typesOnly) {
  typeCheck();
  run(process.execPath, ['--test', path.join(root, 'test', 'declarations.test.js')]);
} else {
  if (!jsOnly) nativeTests();
  if (!nativeOnly) {
    typeCheck();
    jsTests(process.env);
  }
}
