'use strict';
// The demo's HTTP side: a small scheduler server on 127.0.0.1 (an ephemeral
// port) and the live client's executeHttpRequest, which runs the engine's
// requests with Node's own fetch.
const path = require('path');
const { Worker } = require('worker_threads');
const sim = require('../sim');

// The server runs in a worker so that its address is known before the class
// connects; the caller waits here until it listens. Unref'd: it never keeps
// the demo alive, and stop() ends it.
function startSchedulerServer() {
  const shared = new Int32Array(new SharedArrayBuffer(8));
  const worker = new Worker(path.join(__dirname, 'scheduler_server.js'), { workerData: shared });
  worker.unref();
  if (Atomics.wait(shared, 0, 0, 10000) === 'timed-out') throw new Error('the scheduler server did not start');
  const port = shared[1];
  return { url: `http://127.0.0.1:${port}`, stop: () => worker.terminate() };
}

const METHODS = ['GET', 'POST', 'PUT', 'DELETE', 'HEAD'];

// Runs one engine request with fetch and answers it: a status of 400 or
// more, or no answer within `timeoutMs`, is a failure.
async function executeWithFetch(request, callback, timeoutMs = 5000) {
  const empty = { statusCode: 0, headers: [], body: Buffer.alloc(0) };
  try {
    const res = await fetch(request.url, {
      method: METHODS[request.method] || 'GET',
      headers: request.headers.map((h) => [h.name, h.value]),
      body: request.body,
      signal: AbortSignal.timeout(timeoutMs),
    });
    const answer = {
      statusCode: res.status,
      headers: [...res.headers].map(([name, value]) => ({ name, value })),
      body: Buffer.from(await res.arrayBuffer()),
    };
    if (res.status >= 400) callback.onFailed(answer, `HTTP ${res.status}`);
    else callback.onSuccess(answer);
  } catch (err) {
    callback.onFailed(empty, String(err && err.message));
  }
}

// executeHttpRequest(request, callback, value) for the demo's live client;
// `say` prints what the engine got back.
function fetchExecutor(say) {
  const report = () => {
    const c = sim.httpCompletions().at(-1);
    if (c) say(`engine got the answer of ${c.url}:`, c.ok ? 'ok' : `failed (${c.message})`, c.statusCode, c.body.toString());
  };
  return async (request, callback) => {
    say('executeHttpRequest', METHODS[request.method], request.url);
    await executeWithFetch(request, callback);
    report();
  };
}

module.exports = { startSchedulerServer, fetchExecutor, executeWithFetch };
