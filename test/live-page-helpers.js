'use strict';
// The live page's server as its tests run it: `node demo/live_page.js` in a
// child process (under the sanitizer build when the tests are), its address
// read from what it prints.
const path = require('path');
const { spawn } = require('child_process');

const DEMO = path.join(__dirname, '..', 'demo', 'live_page.js');

function startLivePage({ env = process.env, timeoutMs = 60000 } = {}) {
  const child = spawn(process.execPath, [DEMO, '--port', '0'], { env, stdio: ['ignore', 'pipe', 'pipe'] });
  let stdout = '';
  let stderr = '';
  child.stdout.on('data', (d) => (stdout += d));
  child.stderr.on('data', (d) => (stderr += d));
  const exited = new Promise((resolve) => child.on('exit', (code, signal) => resolve({ code, signal })));
  const page = {
    child,
    output: () => ({ stdout, stderr }),
    async get(route) {
      const res = await fetch(new URL(route, page.url));
      if (!res.ok) throw new Error(`GET ${route}: ${res.status}`);
      return res.json();
    },
    // SIGTERM, as Ctrl-C would; the exit, or SIGKILL after 20 s.
    async stop() {
      if (child.exitCode === null && child.signalCode === null) child.kill('SIGTERM');
      const timer = setTimeout(() => child.kill('SIGKILL'), 20000);
      const end = await exited;
      clearTimeout(timer);
      return end;
    },
  };
  return new Promise((resolve, reject) => {
    const timer = setTimeout(() => {
      child.kill('SIGKILL');
      reject(new Error(`the live page printed no address in ${timeoutMs} ms:\n${stdout}\n${stderr}`));
    }, timeoutMs);
    const look = () => {
      const m = /Live class: (http:\/\/\S+)/.exec(stdout);
      if (!m) return;
      clearTimeout(timer);
      child.stdout.off('data', look);
      page.url = m[1];
      resolve(page);
    };
    child.stdout.on('data', look);
    exited.then(({ code, signal }) => {
      clearTimeout(timer);
      reject(new Error(`the live page ended (${signal || code}) before printing its address:\n${stdout}\n${stderr}`));
    });
  });
}

module.exports = { startLivePage };
