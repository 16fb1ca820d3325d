// Builds the add-on, the stand-in engine library and its control module with
// node-gyp against the running Node's own headers: nothing is downloaded.
//   node scripts/build.js           configure when needed, then build
//   node scripts/build.js --force   configure and build from scratch
//   node scripts/build.js --asan    the AddressSanitizer/UBSan variant in build-asan/
//   node scripts/build.js --configure-only   write build/ and stop
// In a development clone the bench modules are built too. Installed in an
// app's node_modules, only what the app loads is built, and the compiler's
// intermediates are removed afterwards.
// npm config engine_sdk=<folder> (or LUMEN_ENGINE_SDK=<folder>) builds the
// add-on against a real engine SDK instead of the stand-in.
'use strict';
const fs = require('fs');
const path = require('path');
const { execFileSync, spawnSync } = require('child_process');

const root = path.resolve(__dirname, '..');
const args = process.argv.slice(2);
const asan = args.includes('--asan');
const force = args.includes('--force');
const configureOnly = args.includes('--configure-only');
const installed = root.split(path.sep).includes('node_modules');

function fail(lines) {
  console.error(['lumen_engine_addon: the build cannot start.', ...lines].join('\n  '));
  process.exit(1);
}

// npm's own node-gyp: npm names it to every script it runs. Run by hand, the
// copy bundled with the npm next to this Node.
function nodeGyp() {
  const bin = path.dirname(process.execPath);
  const candidates = [
    process.env.npm_config_node_gyp,
    process.env.npm_execpath && path.join(path.dirname(process.env.npm_execpath), '..', 'node_modules', 'node-gyp', 'bin', 'node-gyp.js'),
    path.join(bin, '..', 'lib', 'node_modules', 'npm', 'node_modules', 'node-gyp', 'bin', 'node-gyp.js'),
    path.join(bin, 'node_modules', 'npm', 'node_modules', 'node-gyp', 'bin', 'node-gyp.js'),
  ];
  const found = candidates.find((c) => c && /\.js$/.test(c) && fs.existsSync(c));
  if (!found) fail(['node-gyp was not found: run the build through npm (npm run build:force, npm rebuild lumen_engine_addon),', 'whose own node-gyp it uses.']);
  return found;
}

// The tools node-gyp needs here, named by the Debian packages that bring them.
function checkTools() {
  if (process.platform === 'win32') return;
  const has = (cmd) => spawnSync('sh', ['-c', `command -v ${cmd}`], { stdio: 'ignore' }).status === 0;
  const missing = [['make', 'make'], ['python3', 'python3'], [process.env.CXX || 'g++', 'g++']].filter(([cmd]) => !has(cmd));
  if (missing.length) {
    fail([`missing: ${missing.map(([cmd]) => cmd).join(', ')}.`,
      `On Debian or Ubuntu: apt-get install ${missing.map(([, pkg]) => pkg).join(' ')}`]);
  }
}

// Node's headers live in <prefix>/include/node next to the running binary.
const nodedir = process.env.npm_config_nodedir || path.resolve(path.dirname(process.execPath), '..');
if (!fs.existsSync(path.join(nodedir, 'include', 'node', 'node_api.h'))) {
  fail([`Node's headers were not found under ${nodedir}/include/node.`,
    'On Debian or Ubuntu with the distribution\'s Node: apt-get install libnode-dev;',
    'elsewhere set npm_config_nodedir to a Node tree that has include/node.']);
}
checkTools();
const gyp = nodeGyp();

const sdk = process.env.npm_config_engine_sdk || process.env.LUMEN_ENGINE_SDK || '';
if (sdk && !fs.existsSync(path.join(sdk, 'include'))) fail([`engine_sdk ${sdk} has no include/ folder.`]);
const bench = !asan && !sdk && fs.existsSync(path.join(root, 'bench', 'native'));
const defines = [`-Dbench=${bench ? 1 : 0}`, `-Dengine_sdk=${sdk ? path.resolve(sdk) : ''}`, `-Dsanitize=${asan ? 1 : 0}`];

// The sanitizer build works on a mirror of the tree so that both variants
// can live side by side; timestamps are kept so make stays incremental.
let dir = root;
if (asan) {
  dir = path.join(root, 'build-asan', 'tree');
  fs.mkdirSync(dir, { recursive: true });
  for (const name of ['binding.gyp', 'package.json', 'src', 'standin', 'scripts']) {
    // Removed files must not linger in the mirror; kept timestamps keep make incremental.
    fs.rmSync(path.join(dir, name), { recursive: true, force: true });
    fs.cpSync(path.join(root, name), path.join(dir, name), { recursive: true, preserveTimestamps: true });
  }
  const nm = path.join(dir, 'node_modules');
  if (!fs.existsSync(nm)) fs.symlinkSync(path.join(root, 'node_modules'), nm);
}

const common = [`--nodedir=${nodedir}`, '--jobs=2'];
// node-gyp also writes npm_config_* into config.gypi, whose variables win
// over -D: it gets the same engine_sdk.
const env = { ...process.env, npm_config_engine_sdk: sdk ? path.resolve(sdk) : '' };
const run = (verb, extra = []) =>
  execFileSync(process.execPath, [gyp, verb, ...common, ...extra], { cwd: dir, stdio: 'inherit', env });

// binding.gyp takes its source lists from the tree at configure time, so a
// new or removed source file, or another choice of variables, needs a new
// configuration.
const { sources } = require(path.join(dir, 'scripts', 'sources.js'));
const configuration = [...['standin/src', 'src', 'standin/control'].map((d) => sources(path.join(dir, d)).join(' ')), ...defines]
  .join('\n');
const stamp = path.join(dir, 'build', 'sources.txt');
const configured = fs.existsSync(path.join(dir, 'build', process.platform === 'win32' ? 'binding.sln' : 'Makefile')) &&
  fs.existsSync(stamp) && fs.readFileSync(stamp, 'utf8') === configuration;
if (installed && !configureOnly) console.log(`lumen_engine_addon: compiling the add-on${sdk ? ` against ${sdk}` : ' and the stand-in engine'} (a few minutes)`);
if (force || configureOnly || !configured) {
  run('configure', ['--', ...defines]);
  fs.writeFileSync(stamp, configuration);
}
if (configureOnly) process.exit(0);
run('build');

// What an app loads stays: the modules and the engine library.
if (installed) {
  const release = path.join(dir, 'build', 'Release');
  for (const name of ['obj.target', 'obj', '.deps']) fs.rmSync(path.join(release, name), { recursive: true, force: true });
  for (const name of fs.readdirSync(path.join(dir, 'build'))) {
    if (name !== 'Release') fs.rmSync(path.join(dir, 'build', name), { recursive: true, force: true });
  }
}
