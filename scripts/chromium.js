// Finds the Chromium the browser test drives, installing Debian's `chromium`
// package with apt-get when it is missing and this user may (root, or sudo
// without a password). Nothing else is downloaded: no browser comes from npm.
//   node scripts/chromium.js    prints the executable's path, installing it if needed
'use strict';
const fs = require('fs');
const { spawnSync } = require('child_process');

const CANDIDATES = ['/usr/bin/chromium', '/usr/bin/chromium-browser', '/usr/bin/google-chrome'];
const HOW = "install Debian's chromium package (sudo apt-get install chromium), or set CHROMIUM_PATH to a Chromium or Chrome executable";

// Sanitizer preloads of the test run are no business of apt or the browser.
function cleanEnv(env = process.env) {
  const out = { ...env };
  for (const key of ['LD_PRELOAD', 'ASAN_OPTIONS', 'UBSAN_OPTIONS', 'LSAN_OPTIONS']) delete out[key];
  return out;
}

const executable = (file) => {
  try {
    fs.accessSync(file, fs.constants.X_OK);
    return fs.statSync(file).isFile();
  } catch {
    return false;
  }
};

function findChromium({ env = process.env, candidates = CANDIDATES } = {}) {
  if (env.CHROMIUM_PATH) {
    if (!executable(env.CHROMIUM_PATH)) throw new Error(`CHROMIUM_PATH=${env.CHROMIUM_PATH} is not an executable file`);
    return env.CHROMIUM_PATH;
  }
  return candidates.find(executable) || null;
}

// The command prefix that runs apt-get as root, or null when none may.
function asRoot() {
  if (!executable('/usr/bin/apt-get')) return null;
  if (process.getuid && process.getuid() === 0) return [];
  const sudo = spawnSync('sudo', ['-n', 'true'], { stdio: 'ignore', env: cleanEnv() });
  return sudo.status === 0 ? ['sudo', '-n'] : null;
}

function aptGet(prefix, args, log) {
  const argv = [...prefix, 'apt-get', '-o', 'DPkg::Lock::Timeout=600', ...args];
  log(`$ ${argv.join(' ')}`);
  const r = spawnSync(argv[0], argv.slice(1), {
    stdio: ['ignore', 'pipe', 'pipe'],
    env: { ...cleanEnv(), DEBIAN_FRONTEND: 'noninteractive' },
    encoding: 'utf8',
    maxBuffer: 64 << 20,
  });
  return { ok: r.status === 0, output: `${r.stdout || ''}${r.stderr || ''}${r.error ? r.error.message : ''}` };
}

// The path of a Chromium, installed first when missing and possible; throws
// an Error saying what to install otherwise.
function ensureChromium({ log = (line) => process.stderr.write(`${line}\n`), env, candidates, root = asRoot } = {}) {
  const found = findChromium({ env, candidates });
  if (found) return found;
  const prefix = root();
  if (!prefix) throw new Error(`The browser test needs Chromium and none was found; ${HOW}.`);
  log("Chromium is missing: installing Debian's chromium package for the browser test");
  const install = ['install', '-y', '--no-install-recommends', 'chromium'];
  let r = aptGet(prefix, install, log);
  if (!r.ok) {
    // A fresh machine has no package lists yet.
    const update = aptGet(prefix, ['update'], log);
    r = update.ok ? aptGet(prefix, install, log) : update;
  }
  const installed = findChromium({ env, candidates });
  if (!installed) throw new Error(`Installing chromium with apt-get failed; ${HOW}.\n${r.output.split('\n').slice(-15).join('\n')}`);
  return installed;
}

module.exports = { ensureChromium, findChromium, cleanEnv };

if (require.main === module) {
  try {
    console.log(ensureChromium());
  } catch (err) {
    console.error(err.message);
    process.exit(1);
  }
}
