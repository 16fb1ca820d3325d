// The live page: each stream's newest frame drawn on its canvas once per
// animation frame, then acknowledged so the server sends the next one. A
// busy or hidden page acknowledges nothing and is sent nothing more.
import { CanvasRenderer } from '/renderer/canvas-renderer.mjs';

const HEADER_BYTES = 16;
const LOG_LINES = 200;
const params = new URLSearchParams(location.search);
const backend = params.get('backend') || 'auto';
const $ = (id) => document.getElementById(id);

const tiles = new Map(); // userId -> tile
let socket = null;
let state = { joined: false, teacherMuted: false, videoOff: [] };
let controlId = 0;

function makeTile(user, parent) {
  const el = document.createElement('figure');
  el.className = `tile ${user.role}`;
  el.dataset.user = user.userId;
  const canvas = document.createElement('canvas');
  const caption = document.createElement('figcaption');
  const who = document.createElement('span');
  who.textContent = user.role === 'teacher' ? `${user.userId} teacher` : String(user.userId);
  const fps = document.createElement('span');
  fps.className = 'fps';
  fps.textContent = '0 fps';
  caption.append(who, fps);
  let button = null;
  if (user.role === 'student') {
    button = document.createElement('button');
    button.textContent = 'Stop';
    button.title = 'Stop or start receiving this video';
    button.addEventListener('click', () => control({ action: 'video', userId: user.userId, on: el.classList.contains('video-off') }));
    caption.append(button);
  }
  const off = document.createElement('div');
  off.className = 'off';
  off.textContent = 'video off';
  el.append(canvas, caption, off);
  parent.append(el);
  return { user, el, canvas, fpsLabel: fps, button, renderer: null, waiting: null, received: 0, lastNumber: 0 };
}

function buildClass(info) {
  $('room').textContent = `room ${info.room}, you are ${info.self}`;
  $('teacher').replaceChildren();
  $('students').replaceChildren();
  for (const t of tiles.values()) t.renderer.destroy();
  tiles.clear();
  const add = (user, parent) => {
    const tile = makeTile(user, parent);
    // After layout: the renderer sizes the canvas from its CSS box.
    tile.renderer = new CanvasRenderer(tile.canvas, { backend, background: [0.08, 0.09, 0.11] });
    tiles.set(user.userId, tile);
  };
  add(info.teacher, $('teacher'));
  for (const s of info.students) add(s, $('students'));
  $('log').replaceChildren();
  for (const e of info.history) log(e.kind, e.text);
  applyState(info.state);
  applyVad(info.vad);
}

function applyState(s) {
  state = s;
  const off = new Set(s.videoOff);
  for (const [id, t] of tiles) {
    const stopped = off.has(id) || !s.joined;
    t.el.classList.toggle('video-off', stopped);
    if (t.button) {
      t.button.textContent = off.has(id) ? 'Start' : 'Stop';
      t.button.disabled = !s.joined;
    }
  }
  $('mute').textContent = s.teacherMuted ? 'Unmute teacher' : 'Mute teacher';
  $('mute').disabled = !s.joined;
  $('leave').textContent = s.joined ? 'Leave' : 'Join';
  $('leave').disabled = false;
  $('status').textContent = s.joined ? 'in class' : 'you left the class';
}

function applyVad(vad) {
  for (const [id, status] of Object.entries(vad || {})) {
    const t = tiles.get(Number(id));
    if (!t) continue;
    const speaking = status === 1;
    if (speaking && !t.el.classList.contains('speaking')) log('vad', `${id} speaks`);
    t.el.classList.toggle('speaking', speaking);
  }
}

function log(kind, text) {
  const li = document.createElement('li');
  li.className = kind;
  li.textContent = text;
  const list = $('log');
  list.prepend(li);
  while (list.childElementCount > LOG_LINES) list.lastElementChild.remove();
}

function control(message) {
  if (socket && socket.readyState === WebSocket.OPEN) socket.send(JSON.stringify({ type: 'control', id: ++controlId, ...message }));
}

function onFrame(data) {
  const head = new DataView(data, 0, HEADER_BYTES);
  const userId = head.getUint32(0, true);
  const width = head.getUint32(4, true);
  const height = head.getUint32(8, true);
  const t = tiles.get(userId);
  if (!t) {
    socket.send(JSON.stringify({ type: 'ack', users: [userId] }));
    return;
  }
  // Drawn at the next animation frame; a frame still waiting is replaced.
  t.received++;
  t.waiting = { width, height, buffer: new Uint8Array(data, HEADER_BYTES), number: head.getUint32(12, true) };
}

function onMessage(m) {
  switch (m.type) {
    case 'class':
      buildClass(m);
      break;
    case 'state':
      applyState(m);
      break;
    case 'events':
      if (m.dropped) log('engine', `(${m.dropped} older events not shown)`);
      for (const e of m.events) log(e.kind, e.text);
      applyVad(m.vad);
      break;
    case 'result':
      if (m.code !== 0) log('call', `${m.action}: ${m.code}`);
      break;
    case 'error':
      log('engine', `server: ${m.message}`);
      break;
    default:
      break;
  }
}

// Every frame received is acknowledged once, drawn or not (replaced by a
// newer one, or a stopped tile's last one).
function paint() {
  const taken = [];
  for (const [id, t] of tiles) {
    if (!t.waiting) continue;
    const frame = t.waiting;
    t.waiting = null;
    for (; t.received > 0; t.received--) taken.push(id);
    if (t.el.classList.contains('video-off')) continue;
    try {
      t.renderer.draw(frame);
      t.lastNumber = frame.number;
    } catch (err) {
      log('engine', `frame of ${id} not drawn: ${err.message}`);
    }
  }
  if (taken.length && socket && socket.readyState === WebSocket.OPEN) socket.send(JSON.stringify({ type: 'ack', users: taken }));
  requestAnimationFrame(paint);
}

function connect() {
  socket = new WebSocket(`ws://${location.host}/ws`);
  socket.binaryType = 'arraybuffer';
  socket.onopen = () => { $('status').textContent = 'connected'; };
  socket.onmessage = (e) => (typeof e.data === 'string' ? onMessage(JSON.parse(e.data)) : onFrame(e.data));
  socket.onclose = () => {
    $('status').textContent = 'disconnected, retrying…';
    $('mute').disabled = true;
    $('leave').disabled = true;
    setTimeout(connect, 1000);
  };
}

$('mute').addEventListener('click', () => control({ action: 'mute', mute: !state.teacherMuted }));
$('leave').addEventListener('click', () => control({ action: state.joined ? 'leave' : 'join' }));
setInterval(() => {
  for (const t of tiles.values()) t.fpsLabel.textContent = `${Math.round(t.renderer.fps)} fps`;
}, 500);

// For tests and the console: the tiles and their renderers.
window.liveClass = {
  tile: (userId) => tiles.get(userId),
  stats: () => Object.fromEntries([...tiles].map(([id, t]) => [id, {
    backend: t.renderer.backend,
    framesDrawn: t.renderer.framesDrawn,
    fps: t.renderer.fps,
    width: t.renderer.frameWidth,
    height: t.renderer.frameHeight,
    lastNumber: t.lastNumber,
    videoOff: t.el.classList.contains('video-off'),
  }])),
  state: () => state,
  log: () => [...$('log').children].map((li) => li.textContent),
};

connect();
requestAnimationFrame(paint);
