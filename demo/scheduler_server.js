'use strict';
// Worker of demo/http_client.js: answers the engine's scheduler look-up with
// where the room lives. Writes its port into the shared array, then wakes the
// waiting thread.
const http = require('http');
const { workerData: shared } = require('worker_threads');

const server = http.createServer((req, res) => {
  const url = new URL(req.url, 'http://127.0.0.1');
  if (url.pathname !== '/v1/schedule') {
    res.writeHead(404).end();
    return;
  }
  res.writeHead(200, { 'content-type': 'application/json' });
  res.end(JSON.stringify({ roomId: Number(url.searchParams.get('roomId')), media: '127.0.0.1:3478', command: '127.0.0.1:8443' }));
});
server.listen(0, '127.0.0.1', () => {
  shared[1] = server.address().port;
  Atomics.store(shared, 0, 1);
  Atomics.notify(shared, 0);
});
