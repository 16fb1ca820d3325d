'use strict';
// The live page's server without a browser: frames flow newest-first per
// socket, the bytes are the engine's, the controls reach the engine, bad
// messages are answered. A WebSocket client stands in for the page.
const test = require('node:test');
const assert = require('node:assert');
const fs = require('fs');
const path = require('path');
const WebSocket = require('ws');
const sim = require('../sim');
const { FramePool, FrameOutbox, parseFrame, HEADER_BYTES } = require('../demo/live/frames');
const { startLivePage } = require('./live-page-helpers');
const { waitFor } = require('./helpers');

test.describe('frames on their way to one socket', () => {
  const pool = new FramePool();
  const pixels = (n) => Buffer.alloc(n * 4, n);
  // A socket that remembers what it was given and lets go when told.
  function socket() {
    const s = { sent: [], writes: [] };
    s.outbox = new FrameOutbox((key, frame, done) => {
      s.sent.push([key, parseFrame(frame.message).number]);
      s.writes.push(done);
    });
    return s;
  }
  const offer = (s, key, number, p = pool) => {
    const f = p.fill(key, 1, 1, number, pixels(1));
    s.outbox.offer(key, f);
    f.release();
  };

  test('two in flight per stream, then only the newest waits', () => {
    const s = socket();
    for (let n = 1; n <= 6; n++) offer(s, 7, n);
    offer(s, 8, 1);
    assert.deepStrictEqual(s.sent, [[7, 1], [7, 2], [8, 1]]);
    assert.strictEqual(s.outbox.replaced, 3); // 3, 4 and 5 never left
    assert.strictEqual(s.outbox.waitingBytes(), HEADER_BYTES + 4);
    s.outbox.ack(7);
    s.outbox.ack(7);
    assert.deepStrictEqual(s.sent.slice(3), [[7, 6]]);
    assert.strictEqual(s.outbox.waitingBytes(), 0);
    s.outbox.ack(7);
    s.outbox.ack(7); // more acknowledgements than frames sent change nothing
    offer(s, 7, 7);
    offer(s, 7, 8);
    offer(s, 7, 9);
    assert.deepStrictEqual(s.sent.slice(4), [[7, 7], [7, 8]]);
  });

  test('a frame goes back to its pool once no socket holds it, so a stalled socket costs no allocations', () => {
    const own = new FramePool();
    const s = socket();
    const t = socket();
    for (let n = 1; n <= 1000; n++) {
      const f = own.fill(1, 1, 1, n, pixels(1));
      s.outbox.offer(1, f);
      t.outbox.offer(1, f);
      f.release();
      // t drains as fast as frames come; s never acknowledges.
      for (const done of t.writes.splice(0)) done();
      t.outbox.ack(1);
    }
    for (const done of s.writes.splice(0)) done();
    // Two in flight and one waiting at s, one at t, one being filled.
    assert.ok(own.allocated <= 5, `${own.allocated} frames allocated`);
    assert.strictEqual(s.sent.length, 2);
    assert.strictEqual(t.sent.length, 1000);
  });

  test('a socket too full to write keeps the newest frame; a dropped stream and a closed socket give theirs back', () => {
    const own = new FramePool();
    let full = true;
    const sent = [];
    const outbox = new FrameOutbox((key, frame, done) => {
      sent.push(parseFrame(frame.message).number);
      done();
    }, () => !full);
    for (let n = 1; n <= 3; n++) offer({ outbox }, 2, n, own);
    assert.deepStrictEqual(sent, []);
    full = false;
    offer({ outbox }, 2, 4, own);
    assert.deepStrictEqual(sent, [4]);
    full = true;
    offer({ outbox }, 2, 5, own);
    offer({ outbox }, 3, 1, own);
    outbox.drop(2);
    assert.strictEqual(outbox.waitingBytes(), HEADER_BYTES + 4);
    outbox.close();
    assert.strictEqual(outbox.waitingBytes(), 0);
    // Everything is back: the next fills allocate nothing.
    const before = own.allocated;
    for (let i = 0; i < 3; i++) own.fill(3, 1, 1, 0, pixels(1)).release();
    assert.strictEqual(own.allocated, before);
  });
});

test.describe('the live page server', () => {
  let live;
  test.before(async () => {
    live = await startLivePage();
  });
  test.after(async () => {
    if (live) await live.stop();
  });

  // A page: JSON messages kept by type, frames by user, acknowledged or not.
  function connect({ ack = true } = {}) {
    const ws = new WebSocket(new URL('/ws', live.url).href.replace('http', 'ws'));
    const c = { ws, messages: [], frames: new Map(), first: new Map(), ack };
    c.of = (type) => c.messages.filter((m) => m.type === type);
    c.count = (user) => (c.frames.get(user) || []).length;
    ws.on('message', (data, isBinary) => {
      if (!isBinary) return c.messages.push(JSON.parse(data.toString()));
      const f = parseFrame(data);
      if (!c.frames.has(f.userId)) c.frames.set(f.userId, []);
      c.frames.get(f.userId).push(f.number);
      if (!c.first.has(f.userId)) c.first.set(f.userId, f);
      if (c.ack) ws.send(JSON.stringify({ type: 'ack', users: [f.userId] }));
      return undefined;
    });
    c.open = new Promise((resolve, reject) => {
      ws.once('open', resolve);
      ws.once('error', reject);
    });
    c.send = (m) => ws.send(typeof m === 'string' || Buffer.isBuffer(m) ? m : JSON.stringify(m));
    c.close = () => ws.close();
    return c;
  }
  let ids = 0;
  async function control(c, m) {
    const id = ++ids;
    c.send({ type: 'control', id, ...m });
    await waitFor(() => c.of('result').some((r) => r.id === id), 10000, `the answer to ${JSON.stringify(m)}`);
    return c.of('result').find((r) => r.id === id).code;
  }

  test('a page is told the class, then gets every stream in the engine\'s own pixels', async () => {
    const c = connect();
    await c.open;
    await waitFor(() => c.of('class').length === 1, 10000, 'the class');
    const info = c.of('class')[0];
    assert.deepStrictEqual(info.teacher, { userId: 1001, role: 'teacher', width: 640, height: 360, fps: 30 });
    assert.strictEqual(info.students.length, 16);
    assert.ok(info.students.every((s) => s.width === 160 && s.height === 90 && s.fps === 15));
    assert.deepStrictEqual(info.state, { joined: true, teacherMuted: false, videoOff: [] });
    assert.ok(info.history.some((e) => e.text === 'onCommandConnected()'), 'the page is shown what happened before it came');
    const users = [info.teacher, ...info.students];
    await waitFor(() => users.every((u) => c.first.has(u.userId)), 20000, 'a frame of every stream');
    for (const u of users) {
      const f = c.first.get(u.userId);
      assert.deepStrictEqual([f.width, f.height, f.pixels.length], [u.width, u.height, u.width * u.height * 4]);
      // Row 0 (bars only) and the last row (the user's band) are the same in every frame.
      const expected = sim.testPattern(u.width, u.height, u.userId, 0);
      const row = (buf, y) => buf.subarray(y * u.width * 4, (y + 1) * u.width * 4);
      assert.ok(row(f.pixels, 0).equals(row(expected, 0)), `bars of ${u.userId}`);
      assert.ok(row(f.pixels, u.height - 1).equals(row(expected, u.height - 1)), `band of ${u.userId}`);
    }
    c.close();
  });

  test('malformed messages and requests that cannot be done are answered, and the page keeps working', async () => {
    const c = connect();
    await c.open;
    c.send(Buffer.from([1, 2, 3]));
    c.send('{not json');
    c.send({ type: 'shout' });
    c.send({ type: 'control', id: 'x', action: 'reboot' });
    c.send({ type: 'ack', users: ['1001', null, 99999, { a: 1 }] });
    await waitFor(() => c.of('error').length === 4, 10000, 'four errors');
    assert.deepStrictEqual(c.of('error').map((e) => e.message), [
      'messages are JSON objects', 'messages are JSON objects', 'unknown message type "shout"', 'unknown action "reboot"',
    ]);
    assert.strictEqual(await control(c, { action: 'video', userId: 4242, on: false }), -1);
    assert.strictEqual(await control(c, { action: 'video', userId: 'all', on: false }), -1);
    assert.strictEqual(await control(c, { action: 'join' }), -1, 'joined already');
    const before = c.count(1001);
    await waitFor(() => c.count(1001) > before + 2, 10000, 'frames still flowing');
    // A class left refuses what needs one, and sends nothing more.
    assert.strictEqual(await control(c, { action: 'leave' }), 0);
    assert.deepStrictEqual(c.of('state').at(-1), { type: 'state', joined: false, teacherMuted: false, videoOff: [] });
    assert.strictEqual(await control(c, { action: 'leave' }), -1);
    assert.strictEqual(await control(c, { action: 'mute', mute: true }), -1);
    assert.strictEqual(await control(c, { action: 'video', userId: 1005, on: true }), -1);
    const total = () => [...c.frames.values()].reduce((n, f) => n + f.length, 0);
    await new Promise((r) => setTimeout(r, 300));
    const quiet = total();
    await new Promise((r) => setTimeout(r, 500));
    assert.strictEqual(total(), quiet, 'no frames once the class is left');
    assert.strictEqual(await control(c, { action: 'join' }), 0);
    c.close();
  });

  test('over HTTP: the page, the renderer module as shipped, the scheduler answer and refusals', async () => {
    const get = (route, init) => fetch(new URL(route, live.url), init);
    const page = await get('/');
    assert.strictEqual(page.headers.get('content-type'), 'text/html; charset=utf-8');
    assert.match(await page.text(), /<script type="module" src="\/page.mjs">/);
    const module = await get('/renderer/canvas-renderer.mjs');
    assert.strictEqual(module.headers.get('content-type'), 'text/javascript; charset=utf-8');
    assert.strictEqual(await module.text(), fs.readFileSync(path.join(__dirname, '..', 'renderer', 'canvas-renderer.mjs'), 'utf8'));
    assert.deepStrictEqual(await (await get('/v1/schedule?roomId=7')).json(), { roomId: 7, media: '127.0.0.1:3478', command: '127.0.0.1:8443' });
    assert.strictEqual((await get('/../package.json')).status, 404);
    assert.strictEqual((await get('/renderer/')).status, 404);
    assert.strictEqual((await get('/', { method: 'POST' })).status, 405);
    assert.strictEqual((await get('/journal?op=(')).status, 400);
  });

  test('interrupted, the server leaves the class and ends cleanly', async () => {
    const end = await live.stop();
    const { stdout, stderr } = live.output();
    assert.deepStrictEqual(end, { code: 0, signal: null }, stderr);
    assert.match(stdout, /engineSdk_leaveLiveRoom\(\) → 0/);
    live = null;
  });
});

test.describe('finding the browser test\'s Chromium', () => {
  const { ensureChromium } = require('../scripts/chromium');
  const quiet = { log: () => {} };

  test('without one, and no way to install one, the error says what to install', () => {
    assert.throws(() => ensureChromium({ ...quiet, env: {}, candidates: ['/nonexistent/chromium'], root: () => null }),
      /needs Chromium and none was found; install Debian's chromium package \(sudo apt-get install chromium\)/);
  });

  test('CHROMIUM_PATH wins, and must name an executable', () => {
    assert.strictEqual(ensureChromium({ ...quiet, env: { CHROMIUM_PATH: process.execPath }, candidates: [] }), process.execPath);
    assert.throws(() => ensureChromium({ ...quiet, env: { CHROMIUM_PATH: __filename }, candidates: [] }), /is not an executable file/);
  });

  test('a candidate found is used without installing anything', () => {
    const root = () => assert.fail('no install when one is there');
    assert.strictEqual(ensureChromium({ ...quiet, env: {}, candidates: ['/nonexistent/a', process.execPath], root }), process.execPath);
  });
});
