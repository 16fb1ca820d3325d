'use strict';
// The live page in a real browser: Debian's Chromium, headless, driven by
// playwright-core (which downloads nothing). The canvases are read back and
// held against the stand-in's test pattern; the page's controls reach the
// engine; a stalled page costs the server nothing; a screenshot is saved as
// demo/out/live-class.png. Without Chromium, and no way to install it, every
// test here fails saying what to install.
const test = require('node:test');
const assert = require('node:assert');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { fork } = require('child_process');
const sim = require('../sim');
const { ensureChromium, cleanEnv } = require('../scripts/chromium');
const { startLivePage } = require('./live-page-helpers');
const { underAsan } = require('./helpers');

const FLAGS = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];
const SHOT = path.join(__dirname, '..', 'demo', 'out', 'live-class.png');
const TEACHER = 1001;
const STUDENTS = Array.from({ length: 16 }, (_, i) => 1002 + i);
const BACKGROUND = [20, 23, 28]; // the page's [0.08, 0.09, 0.11]
const TOLERANCE = 8;
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

let live;
let driver;
let profile;
const pageErrors = [];

// The driver's page, called as Playwright's: functions travel as their source.
function startDriver() {
  const child = fork(path.join(__dirname, 'fixtures', 'browser-driver.js'), [], { env: cleanEnv(), execArgv: [] });
  const waiting = new Map();
  let ids = 0;
  const gone = new Promise((resolve) => child.on('exit', (code, signal) => resolve(signal || code)));
  child.on('message', (m) => {
    if (m.event === 'pageerror') return pageErrors.push(m.message);
    const w = waiting.get(m.id);
    waiting.delete(m.id);
    return m.error === undefined ? w.resolve(m.value) : w.reject(new Error(m.error));
  });
  gone.then((end) => {
    for (const w of waiting.values()) w.reject(new Error(`the browser driver ended (${end})`));
    waiting.clear();
  });
  const send = (command, args) => new Promise((resolve, reject) => {
    const id = ++ids;
    waiting.set(id, { resolve, reject });
    child.send({ id, command, args });
  });
  const page = new Proxy({}, {
    get: (target, method) => (...args) => send('page', [method, args.map((a) => (typeof a === 'function' ? { fn: a.toString() } : a))]),
  });
  return { send, page, async close() {
    await send('close', []).catch(() => {});
    child.disconnect();
    await gone;
  } };
}
let page;

test.before(async () => {
  const executablePath = ensureChromium();
  live = await startLivePage();
  profile = fs.mkdtempSync(path.join(os.tmpdir(), 'lumen-chromium-'));
  driver = startDriver();
  page = driver.page;
  await driver.send('launch', [{
    profile,
    executablePath,
    headless: true,
    args: FLAGS,
    viewport: { width: 1280, height: 800 },
    timeout: 60000,
  }, live.url]);
});

test.after(async () => {
  if (driver) await driver.close();
  if (live) await live.stop();
  if (profile) fs.rmSync(profile, { recursive: true, force: true });
});

const stats = () => page.evaluate(() => window.liveClass.stats());
// The page's buttons are pressed with a DOM click: a pointer click waits on
// the compositor, which the DevTools reports of every frame (Playwright has
// the Network domain on) hold up for tens of seconds on a loaded machine.
const press = (selector) => page.$eval(selector, (button) => button.click());
const journal = (op) => live.get(`/journal?op=${encodeURIComponent(op)}`);
// Every user's tile, not only those the page has made so far: before the
// class state arrives there are none, and `every` of none holds.
const allDrawn = (n) => page.waitForFunction(([min, ids]) => {
  const s = window.liveClass.stats();
  return ids.every((id) => s[id] && s[id].framesDrawn >= min);
}, [n, [TEACHER, ...STUDENTS]], { timeout: 60000 });

// What a tile's canvas shows at points of the frame: [r, g, b] read back
// from the canvas, at the centre of each colour bar (row 10 % down) and in
// the user's band (row 90 % down).
function readTile(userId) {
  return page.evaluate((id) => {
    const r = window.liveClass.tile(id).renderer;
    const snap = r.snapshot();
    const rect = r.frameRect;
    const fw = r.frameWidth;
    const fh = r.frameHeight;
    const at = (fx, fy) => {
      const x = Math.floor(rect.x + ((fx + 0.5) * rect.width) / fw);
      const y = Math.floor(rect.y + ((fy + 0.5) * rect.height) / fh);
      const i = (y * snap.width + x) * 4;
      return { fx, fy, rgb: [snap.data[i], snap.data[i + 1], snap.data[i + 2]] };
    };
    const points = [];
    for (let bar = 0; bar < 8; bar++) points.push(at(Math.floor(((bar + 0.5) * fw) / 8), Math.floor(fh * 0.1)));
    points.push(at(Math.floor(fw / 2), Math.floor(fh * 0.9)));
    const corner = [snap.data[0], snap.data[1], snap.data[2]];
    return { backend: r.backend, fw, fh, rect, canvas: [snap.width, snap.height], points, corner };
  }, userId);
}

function assertPattern(userId, tile) {
  const expected = sim.testPattern(tile.fw, tile.fh, userId, 0);
  for (const p of tile.points) {
    const i = (p.fy * tile.fw + p.fx) * 4;
    const want = [expected[i + 2], expected[i + 1], expected[i]];
    assert.ok(p.rgb.every((v, k) => Math.abs(v - want[k]) <= TOLERANCE),
      `user ${userId} (${tile.backend}) at ${p.fx},${p.fy}: drew ${p.rgb}, the engine sent ${want}`);
  }
}

test('every tile draws its stream: the test pattern\'s bars and the user\'s own colour, aspect kept', async (t) => {
  await allDrawn(10);
  const backends = {};
  for (const id of [TEACHER, ...STUDENTS]) {
    const tile = await readTile(id);
    backends[id] = tile.backend;
    assertPattern(id, tile);
  }
  // The first canvases draw with WebGL, those beyond the page's limit with 2D.
  assert.strictEqual(backends[TEACHER], 'webgl', 'the teacher draws with WebGL');
  const counts = Object.values(backends).reduce((n, b) => ({ ...n, [b]: (n[b] || 0) + 1 }), {});
  assert.deepStrictEqual(counts, { webgl: 8, '2d': 9 });
  assert.deepStrictEqual((await readTile(TEACHER)).fw, 640);

  // Square canvases: the picture keeps its 16:9, centred, the page's colour around it.
  for (const id of [1002, 1017]) {
    await page.evaluate((uid) => (window.liveClass.tile(uid).canvas.style.aspectRatio = '1'), id);
    const drawn = (await stats())[id].framesDrawn;
    await page.waitForFunction(([uid, n]) => window.liveClass.stats()[uid].framesDrawn > n + 2, [id, drawn]);
    const tile = await readTile(id);
    const [cw, ch] = tile.canvas;
    assert.ok(Math.abs(cw - ch) <= 1, `a square canvas: ${cw}x${ch}`);
    assert.strictEqual(tile.rect.width, cw);
    assert.ok(Math.abs(tile.rect.height - Math.round((cw * 9) / 16)) <= 1 && tile.rect.y > 0, JSON.stringify(tile.rect));
    assert.ok(tile.corner.every((v, k) => Math.abs(v - BACKGROUND[k]) <= TOLERANCE), `around the picture: ${tile.corner}`);
    assertPattern(id, tile);
    await page.evaluate((uid) => (window.liveClass.tile(uid).canvas.style.aspectRatio = ''), id);
  }

  // The drawn rates after a second more, for the record.
  await sleep(1500);
  const s = await stats();
  t.diagnostic(`drawn fps: teacher ${s[TEACHER].fps}, students ${STUDENTS.map((id) => s[id].fps).join(' ')}`);
  for (const id of [TEACHER, ...STUDENTS]) assert.ok(s[id].fps > 0, `tile ${id} is drawing`);
  fs.mkdirSync(path.dirname(SHOT), { recursive: true });
  await page.screenshot({ path: SHOT });
  const png = fs.readFileSync(SHOT);
  assert.deepStrictEqual([png.readUInt32BE(16), png.readUInt32BE(20)], [1280, 800]);
  assert.deepStrictEqual(pageErrors, []);
});

test('stopping a student\'s video on the page stops its tile and calls the engine; starting it again resumes it', async () => {
  const id = 1009;
  const stopsBefore = (await journal('VideoStopReceive')).length;
  await press(`[data-user="${id}"] button`);
  await page.waitForSelector(`[data-user="${id}"].video-off`);
  const stops = await journal('VideoStopReceive');
  assert.strictEqual(stops.length, stopsBefore + 1);
  assert.strictEqual(stops.at(-1).args[0].user_id, id);
  await sleep(300); // a frame in flight at the stop is not drawn either
  const frozen = await stats();
  await sleep(1200);
  const later = await stats();
  assert.strictEqual(later[id].framesDrawn, frozen[id].framesDrawn, 'the stopped tile draws nothing');
  assert.strictEqual(later[id].fps, 0);
  assert.ok(later[TEACHER].framesDrawn > frozen[TEACHER].framesDrawn, 'the others go on');
  assert.strictEqual(await page.textContent(`[data-user="${id}"] button`), 'Start');

  await press(`[data-user="${id}"] button`);
  await page.waitForFunction(([uid, n]) => window.liveClass.stats()[uid].framesDrawn > n + 3, [id, later[id].framesDrawn]);
  assert.strictEqual((await journal('VideoStartReceive')).filter((e) => e.args[0].user_id === id).length, 2);
  assert.strictEqual((await stats())[id].videoOff, false);
});

test('the page mutes the teacher\'s audio through the device engine', async () => {
  await press('#mute');
  await page.waitForFunction(() => document.getElementById('mute').textContent === 'Unmute teacher');
  assert.deepStrictEqual((await journal('SetOutputChannelMute')).at(-1).args, [10012, true]);
  await press('#mute');
  await page.waitForFunction(() => document.getElementById('mute').textContent === 'Mute teacher');
  assert.deepStrictEqual((await journal('SetOutputChannelMute')).at(-1).args, [10012, false]);
});

test('a page stalled for 3 s leaves the server\'s memory flat, then shows the newest frames', async (t) => {
  await allDrawn(20);
  const before = await live.get('/stats');
  const samples = [];
  let stalled = true;
  const stall = page.evaluate(() => {
    const end = Date.now() + 3000;
    while (Date.now() < end);
  }).finally(() => (stalled = false));
  while (stalled) {
    samples.push({ at: Date.now(), ...(await live.get('/stats')) });
    await sleep(200);
  }
  await stall;
  const end = samples.at(-1);
  const socket = (s) => s.sockets[0];
  // The stall as the server saw it (the driver's own delays around it vary):
  // the longest stretch in which the page acknowledged nothing, so nothing
  // more was sent to it.
  let quiet = { ms: 0 };
  for (let i = 0; i < samples.length; i++) {
    for (let j = i + 1; j < samples.length && socket(samples[j]).framesSent === socket(samples[i]).framesSent; j++) {
      if (samples[j].at - samples[i].at > quiet.ms) quiet = { ms: samples[j].at - samples[i].at, from: samples[i], to: samples[j] };
    }
  }
  const peak = (key) => Math.max(...samples.map((s) => s[key]));
  const mb = (n) => (n / 2 ** 20).toFixed(1);
  const replaced = quiet.ms ? socket(quiet.to).framesReplaced - socket(quiet.from).framesReplaced : 0;
  t.diagnostic(`server during the stall: rss ${mb(before.rss)} -> peak ${mb(peak('rss'))} MB, ArrayBuffers ${mb(before.arrayBuffers)} -> peak ${mb(peak('arrayBuffers'))} MB, ` +
    `nothing sent for ${quiet.ms} ms while ${replaced} frames replaced waiting ones, ` +
    `waiting at most ${Math.max(...samples.map((s) => socket(s).waitingBytes))} bytes, ${samples.length} samples`);
  assert.ok(quiet.ms >= 2000, `the page stalled: nothing was sent for ${quiet.ms} ms`);
  // Meanwhile the engine's frames kept coming and replaced each other.
  assert.ok(replaced >= 20, `${replaced} frames replaced while nothing was sent`);
  const oneEach = 640 * 360 * 4 + 16 * 160 * 90 * 4 + 17 * 16;
  for (const s of samples) {
    assert.ok(socket(s).waitingBytes <= oneEach, `waiting ${socket(s).waitingBytes} bytes`);
    assert.ok(socket(s).framesInFlight <= 17 * 2, `${socket(s).framesInFlight} frames in flight`);
  }
  // Queued frames would be some 40 MB a second here.
  assert.ok(peak('arrayBuffers') - before.arrayBuffers < 8 * 2 ** 20, 'ArrayBuffer memory flat');
  assert.ok(end.framesAllocated - before.framesAllocated <= 17, `frames allocated: ${before.framesAllocated} -> ${end.framesAllocated}`);
  if (!underAsan()) assert.ok(peak('rss') - before.rss < 48 * 2 ** 20, 'RSS flat'); // quarantine grows it under ASan

  // Awake again, the teacher's tile shows a frame from after the stall, not the backlog.
  await page.waitForFunction(([uid, n]) => window.liveClass.stats()[uid].lastNumber >= n, [TEACHER, end.received[TEACHER]], { timeout: 10000 });
});

test('leaving from the page ends the class for every tile; joining brings it back', async () => {
  await press('#leave');
  await page.waitForFunction(() => !window.liveClass.state().joined);
  assert.ok((await journal('tavel.LiveEngine.Delete')).length >= 1);
  assert.ok(Object.values(await stats()).every((s) => s.videoOff));
  assert.strictEqual(await page.textContent('#status'), 'you left the class');
  await press('#leave'); // now "Join"
  await page.waitForFunction(() => window.liveClass.state().joined);
  const joined = await stats();
  await page.waitForFunction((n) => window.liveClass.stats()[1001].framesDrawn > n + 5, joined[TEACHER].framesDrawn);
  assert.deepStrictEqual(pageErrors, []);
});
