// Builds the add-on, the stand-in engine and its control module with node-gyp
// against the running Node's own headers: nothing is downloaded.
//   node scripts/build.js           configure when needed, then build
//   node scripts/build.js --force   configure and build from scratch
//   node scripts/build.js --asan    the AddressSanitizer/UBSan variant in build-asan/
'use strict';
const fs = require('fs');
const path = require('path');
const { execFileSync } = require('child_process');

const root = path.resolve(__dirname, '..');
const args = process.argv.slice(2);
const asan = args.includes('--asan');
const force = args.includes('--force');

// Node's headers live in <prefix>/include/node next to the running binary.
const nodedir = process.env.npm_config_nodedir || path.resolve(path.dirname(process.execPath), '..');
if (!fs.existsSync(path.join(nodedir, 'include', 'node', 'node_api.h'))) {
  console.error(`Node headers not found under ${nodedir}/include/node; set npm_config_nodedir`);
  process.exit(1);
}
const gyp = require.resolve('node-gyp/bin/node-gyp.js', { paths: [root] });

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
const run = (verb, extra = []) =>
  execFileSync(process.execPath, [gyp, verb, ...common, ...extra], { cwd: dir, stdio: 'inherit' });

// binding.gyp takes its source lists from the tree at configure time, so a
// new or removed source file needs a new configuration.
const sources = ['standin/src', 'src', 'standin/control']
  .map((d) => execFileSync(process.execPath, [path.join(dir, 'scripts', 'sources.js'), d], { cwd: dir, encoding: 'utf8' }))
  .join('\n');
const stamp = path.join(dir, 'build', 'sources.txt');
const configured = fs.existsSync(path.join(dir, 'build', 'Makefile')) &&
  fs.existsSync(stamp) && fs.readFileSync(stamp, 'utf8') === sources;
if (force || !configured) {
  run('configure', asan ? ['--', '-Dsanitize=1'] : []);
  fs.writeFileSync(stamp, sources);
}
run('build');
