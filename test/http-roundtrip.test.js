'use strict';
// A real round trip: the engine's requests executed with Node's own fetch
// against an HTTP server on 127.0.0.1, and the answers reaching the engine.
const test = require('node:test');
const assert = require('node:assert/strict');
const http = require('http');
const crypto = require('crypto');
const { addon, sim, fresh, waitFor, callbacks } = require('./live-helpers');

const { executeWithFetch } = require('../demo/http_client');

// The live client's executeHttpRequest as an app writes it with fetch: a
// status of 400 or more is a failure.
const executeHttpRequest = (request, callback) => executeWithFetch(request, callback, 10000);

// Answers /echo with the request's body and headers, /fail with 503, and
// /bytes/<n> with n random bytes it also remembers.
function startServer() {
  const sent = new Map();
  const server = http.createServer((req, res) => {
    const chunks = [];
    req.on('data', (c) => chunks.push(c));
    req.on('end', () => {
      const body = Buffer.concat(chunks);
      if (req.url.startsWith('/fail')) {
        res.writeHead(503, { 'content-type': 'text/plain', 'x-reason': 'maintenance' });
        res.end('down for maintenance');
      } else if (req.url.startsWith('/bytes/')) {
        const bytes = crypto.randomBytes(Number(req.url.split('/')[2]));
        sent.set(req.url, bytes);
        res.writeHead(207, { 'x-length': String(bytes.length), 'x-tag': 'bytes' });
        res.end(bytes);
      } else {
        res.writeHead(200, {
          'x-method': req.method,
          'x-seen-token': req.headers['x-token'] || '',
          'x-seen-order': req.rawHeaders.filter((_, i) => i % 2 === 0).filter((n) => /^x-/i.test(n)).join(',').toLowerCase(),
        });
        res.end(body);
      }
    });
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve({ server, sent, base: `http://127.0.0.1:${server.address().port}` })));
}

test('requests of the engine round-trip through fetch and a local server', async (t) => {
  fresh();
  const { server, sent, base } = await startServer();
  t.after(() => new Promise((resolve) => server.close(resolve)));
  addon.engineSdk_onAppInit(callbacks({ executeHttpRequest }), '5.1.0');
  const done = (id) => sim.httpCompletions().filter((c) => c.id === id);

  await t.test('status, headers and body come back byte for byte', async () => {
    const id = sim.httpRequest({ url: `${base}/bytes/65536` });
    await waitFor(() => done(id).length === 1, 10000);
    const [c] = done(id);
    assert.equal(c.ok, true);
    assert.equal(c.statusCode, 207);
    assert.ok(c.body.equals(sent.get('/bytes/65536')));
    const headers = Object.fromEntries(c.headers.map((h) => [h.name, h.value]));
    assert.equal(headers['x-length'], '65536');
    assert.equal(headers['x-tag'], 'bytes');
  });

  await t.test('a POST carries its body and its headers in order to the server', async () => {
    const body = crypto.randomBytes(4099);
    const id = sim.httpRequest({
      url: `${base}/echo`, method: 1, body,
      headers: [{ name: 'X-Token', value: 't0k3n' }, { name: 'X-Second', value: '2' }, { name: 'Content-Type', value: 'application/octet-stream' }],
    });
    await waitFor(() => done(id).length === 1, 10000);
    const [c] = done(id);
    assert.equal(c.ok, true);
    assert.ok(c.body.equals(body));
    const headers = Object.fromEntries(c.headers.map((h) => [h.name, h.value]));
    assert.equal(headers['x-method'], 'POST');
    assert.equal(headers['x-seen-token'], 't0k3n');
    assert.equal(headers['x-seen-order'], 'x-token,x-second');
  });

  await t.test('an error answer reaches the engine as a failure, with its status and body', async () => {
    const id = sim.httpRequest({ url: `${base}/fail` });
    await waitFor(() => done(id).length === 1, 10000);
    const [c] = done(id);
    assert.equal(c.ok, false);
    assert.equal(c.message, 'HTTP 503');
    assert.equal(c.statusCode, 503);
    assert.equal(c.body.toString(), 'down for maintenance');
  });

  await t.test('a hundred concurrent requests from engine threads all complete, each once', async () => {
    const before = sim.httpCompletions().length;
    await sim.httpRequests({ url: `${base}/echo`, method: 1, body: Buffer.from('same body') }, 100, 4);
    await waitFor(() => sim.httpCompletions().length >= before + 100, 20000);
    // Nothing arrives late.
    await new Promise((r) => setTimeout(r, 100));
    const mine = sim.httpCompletions().slice(before);
    assert.equal(mine.length, 100);
    assert.equal(new Set(mine.map((c) => c.id)).size, 100);
    assert.ok(mine.every((c) => c.ok && c.body.toString() === 'same body'));
    assert.equal(sim.objects().httpCallbacks, 0);
  });
});
