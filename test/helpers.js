'use strict';
// Shared by the JavaScript tests. The add-on and the control module are
// loaded from the build that LUMEN_ENGINE_ADDON_BUILD names, if any.
const path = require('path');
const { spawn } = require('child_process');

const root = path.resolve(__dirname, '..');

// Polls until predicate() is true. The dispatcher's wake-up handle does not
// keep the event loop alive, so the polling timer does.
function waitFor(predicate, ms = 10000, what = 'condition') {
  return new Promise((resolve, reject) => {
    const deadline = Date.now() + ms;
    const poll = () => {
      let ok;
      try {
        ok = predicate();
      } catch (err) {
        reject(err);
        return;
      }
      if (ok) resolve();
      else if (Date.now() > deadline) reject(new Error(`timed out after ${ms} ms waiting for ${what}`));
      else setTimeout(poll, 5);
    };
    poll();
  });
}

// Runs a script of test/fixtures in a fresh Node process.
function runFixture(name, args = [], timeoutMs = 60000, env = process.env) {
  return new Promise((resolve, reject) => {
    const child = spawn(process.execPath, [path.join(__dirname, 'fixtures', name), ...args], {
      cwd: root,
      env,
      stdio: ['ignore', 'pipe', 'pipe'],
    });
    let stdout = '';
    let stderr = '';
    child.stdout.on('data', (d) => (stdout += d));
    child.stderr.on('data', (d) => (stderr += d));
    const timer = setTimeout(() => child.kill('SIGKILL'), timeoutMs);
    child.on('error', reject);
    child.on('close', (code, signal) => {
      clearTimeout(timer);
      resolve({ code, signal, stdout, stderr });
    });
  });
}

// The last line of a fixture's output that parses as JSON.
function lastJson(text) {
  const lines = text.trim().split('\n').reverse();
  for (const line of lines) {
    try {
      return JSON.parse(line);
    } catch {
      // not a result line
    }
  }
  throw new Error(`no JSON result in:\n${text}`);
}

// True when the tests run against the AddressSanitizer build (npm run test:asan).
const underAsan = () => /libasan/.test(process.env.LD_PRELOAD || '');

// The environment of a child process whose leaks LeakSanitizer checks at
// exit (under AddressSanitizer only). Dynamic TLS is not intercepted: with
// it the leak checker faults on the engine threads' thread-local storage.
function leakChecked(env = process.env) {
  if (!underAsan()) return env;
  return {
    ...env,
    ASAN_OPTIONS: [env.ASAN_OPTIONS, 'detect_leaks=1', 'intercept_tls_get_addr=0'].filter(Boolean).join(':'),
    LSAN_OPTIONS: [env.LSAN_OPTIONS, `suppressions=${path.join(__dirname, 'lsan.supp')}`, 'print_suppressions=0']
      .filter(Boolean).join(':'),
  };
}

module.exports = { root, waitFor, runFixture, lastJson, underAsan, leakChecked };
