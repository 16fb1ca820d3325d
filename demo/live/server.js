'use strict';
// The live page's server on 127.0.0.1: the page and the canvas renderer over
// HTTP, the class over a WebSocket (frames as binary messages, everything
// else as JSON), the engine's scheduler look-up, and what the tests read
// (/stats, /journal).
const fs = require('fs');
const http = require('http');
const path = require('path');
const { WebSocketServer } = require('ws');
const sim = require('../../sim');
const { FrameOutbox } = require('./frames');
const { createClass } = require('./scene');

const PUBLIC = path.join(__dirname, 'public');
const FILES = {
  '/': [path.join(PUBLIC, 'index.html'), 'text/html; charset=utf-8'],
  '/page.mjs': [path.join(PUBLIC, 'page.mjs'), 'text/javascript; charset=utf-8'],
  '/page.css': [path.join(PUBLIC, 'page.css'), 'text/css; charset=utf-8'],
  '/renderer/canvas-renderer.mjs': [path.join(__dirname, '..', '..', 'renderer', 'canvas-renderer.mjs'), 'text/javascript; charset=utf-8'],
};
const EVENTS_KEPT = 200; // per socket, while it cannot take more
const HISTORY = 50; // events a page that connects is shown first
const SOCKET_FULL = 4 << 20; // bytes its own buffer may hold before frames wait
const FLUSH_MS = 100;

// One page: its frames, the log lines and voice activity not sent yet.
class Viewer {
  constructor(ws) {
    this.ws = ws;
    this.outbox = new FrameOutbox(
      (key, frame, sent) => ws.send(frame.message, { binary: true }, sent),
      () => ws.readyState === ws.OPEN && ws.bufferedAmount < SOCKET_FULL,
    );
    this.events = [];
    this.eventsDropped = 0;
    this.vad = new Map();
  }

  send(message) {
    if (this.ws.readyState === this.ws.OPEN) this.ws.send(JSON.stringify(message));
  }

  event(entry) {
    if (this.events.length === EVENTS_KEPT) {
      this.events.shift();
      this.eventsDropped++;
    }
    this.events.push(entry);
  }

  // Small messages go out only while the socket drains; a stalled page
  // keeps the newest EVENTS_KEPT lines and one voice status per user here.
  flush() {
    if (!this.events.length && !this.vad.size) return;
    if (this.ws.readyState !== this.ws.OPEN || this.ws.bufferedAmount > SOCKET_FULL) return;
    this.send({ type: 'events', events: this.events, dropped: this.eventsDropped, vad: Object.fromEntries(this.vad) });
    this.events = [];
    this.eventsDropped = 0;
    this.vad.clear();
  }
}

function readJson(data) {
  try {
    const m = JSON.parse(data.toString('utf8'));
    return m && typeof m === 'object' ? m : null;
  } catch {
    return null;
  }
}

// Starts the server and joins the class. log(kind, text) sees every event.
function startLiveServer({ host = '127.0.0.1', port = 0, log = () => {} } = {}) {
  const viewers = new Set();
  const server = http.createServer(serveHttp);
  const wss = new WebSocketServer({ server, path: '/ws', maxPayload: 64 << 10 });
  const started = Date.now();
  let scene = null;
  const vadNow = new Map();
  const history = [];

  const hooks = {
    frame(userId, frame) {
      for (const v of viewers) v.outbox.offer(userId, frame);
    },
    streamEnded(userId) {
      for (const v of viewers) v.outbox.drop(userId);
    },
    event(kind, text) {
      const entry = { t: Date.now() - started, kind, text };
      log(kind, text);
      history.push(entry);
      if (history.length > HISTORY) history.shift();
      for (const v of viewers) v.event(entry);
    },
    state(state) {
      for (const v of viewers) v.send({ type: 'state', ...state });
    },
    vad(userId, status) {
      if (vadNow.get(userId) === status) return;
      vadNow.set(userId, status);
      for (const v of viewers) v.vad.set(userId, status);
    },
  };
  const flusher = setInterval(() => {
    for (const v of viewers) v.flush();
  }, FLUSH_MS);

  function serveHttp(req, res) {
    const url = new URL(req.url, 'http://127.0.0.1');
    if (req.method !== 'GET') return res.writeHead(405).end();
    const file = FILES[url.pathname];
    if (file) {
      fs.readFile(file[0], (err, body) => {
        if (err) res.writeHead(500).end(String(err.message));
        else res.writeHead(200, { 'content-type': file[1], 'cache-control': 'no-store' }).end(body);
      });
      return undefined;
    }
    const json = (value) => res.writeHead(200, { 'content-type': 'application/json' }).end(JSON.stringify(value));
    switch (url.pathname) {
      case '/v1/schedule':
        return json({ roomId: Number(url.searchParams.get('roomId')), media: '127.0.0.1:3478', command: '127.0.0.1:8443' });
      case '/stats': {
        const m = process.memoryUsage();
        return json({
          rss: m.rss,
          heapUsed: m.heapUsed,
          arrayBuffers: m.arrayBuffers,
          framesAllocated: scene.framesAllocated(),
          sinkFrames: sim.videoStats(), // what the engine handed each sink
          received: scene.received(),
          state: scene.state(),
          sockets: [...viewers].map((v) => ({
            framesSent: v.outbox.sent,
            framesReplaced: v.outbox.replaced,
            framesInFlight: v.outbox.inflight(),
            waitingBytes: v.outbox.waitingBytes(),
            bufferedAmount: v.ws.bufferedAmount,
            eventsWaiting: v.events.length,
          })),
        });
      }
      case '/journal': {
        let filter;
        try {
          filter = new RegExp(url.searchParams.get('op') || '.');
        } catch (err) {
          return res.writeHead(400).end(err.message);
        }
        return json(sim.journal(filter));
      }
      default:
        return res.writeHead(404).end();
    }
  }

  // Controls of the page: the same exports an app's main process calls.
  function control(viewer, m) {
    const user = Number(m.userId);
    let code;
    switch (m.action) {
      case 'mute':
        code = scene.muteTeacher(m.mute === true);
        break;
      case 'video':
        code = Number.isInteger(user) ? scene.setVideo(user, m.on === true) : -1;
        break;
      case 'leave':
        code = scene.leave();
        break;
      case 'join':
        code = scene.join();
        break;
      default:
        viewer.send({ type: 'error', message: `unknown action ${JSON.stringify(m.action)}` });
        return;
    }
    viewer.send({ type: 'result', id: m.id, action: m.action, code });
  }

  wss.on('connection', (ws) => {
    const viewer = new Viewer(ws);
    viewers.add(viewer);
    viewer.send({
      type: 'class',
      room: scene.room,
      self: scene.self,
      teacher: scene.teacher,
      students: scene.students,
      state: scene.state(),
      vad: Object.fromEntries(vadNow),
      history,
    });
    ws.on('message', (data, isBinary) => {
      const m = isBinary ? null : readJson(data);
      if (!m) return viewer.send({ type: 'error', message: 'messages are JSON objects' });
      if (m.type === 'ack' && Array.isArray(m.users)) {
        for (const u of m.users) viewer.outbox.ack(u);
      } else if (m.type === 'control') {
        control(viewer, m);
      } else {
        viewer.send({ type: 'error', message: `unknown message type ${JSON.stringify(m.type)}` });
      }
      return undefined;
    });
    ws.on('close', () => {
      viewers.delete(viewer);
      viewer.outbox.close();
    });
    ws.on('error', () => {});
  });

  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(port, host, () => {
      const url = `http://${host}:${server.address().port}/`;
      scene = createClass({ schedulerHost: url.slice(0, -1), hooks });
      const joined = scene.join();
      resolve({
        url,
        scene,
        joined,
        close() {
          clearInterval(flusher);
          for (const v of viewers) v.ws.terminate();
          scene.stop();
          wss.close();
          const closed = new Promise((done) => server.close(done));
          server.closeAllConnections(); // a browser's idle keep-alive ones too
          return closed;
        },
      });
    });
  });
}

module.exports = { startLiveServer };
