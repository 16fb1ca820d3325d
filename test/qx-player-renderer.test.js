'use strict';
// The player renderer: frames converted on the player's render thread and
// handed to OnVideoRenderFrame, checked on pixel values.
const test = require('node:test');
const assert = require('node:assert/strict');
const addon = require('..');
const sim = require('../sim');
const { waitFor } = require('./helpers');

function rendered() {
  const frames = [];
  const render = {
    OnVideoRenderFrame(f) {
      frames.push({ ...f, pixels: Buffer.from(new Uint8Array(f.buffer).slice()) });
    },
  };
  const h = addon.QXPlayer_constructor();
  assert.equal(addon.QXPlayer_initPlayerWithRender(h, render), true);
  return { h, id: addon.QXPlayer_getId(h), frames, render };
}

async function draw(p, opts) {
  const n = p.frames.length;
  assert.equal(sim.drawPlayerFrames(p.id, opts), opts.count || 1);
  await waitFor(() => p.frames.length > n);
  return p.frames.at(-1);
}

// The pixel (x, y) of an ABGR picture `w` wide.
const px = (buf, w, x, y) => buf.readUInt32LE((y * w + x) * 4);

test('renderer', async (t) => {
  sim.reset();

  await t.test('ABGR frames are the picture converted, with the frame object the renderer describes', async () => {
    const p = rendered();
    const f = await draw(p, { width: 64, height: 36, first: 5 });
    assert.deepEqual({ ...f, buffer: undefined, pixels: undefined },
      { width: 64, height: 36, rotation: 0, format: 'abgr', alphaType: 0, buffer: undefined, pixels: undefined });
    assert.ok(f.buffer instanceof ArrayBuffer);
    assert.deepEqual(f.pixels, sim.playerPictureAbgr(64, 36, 5));
    addon.QXPlayer_destroy(p.h);
  });

  await t.test('rotation 90 swaps the sizes and moves every pixel where a quarter turn puts it', async () => {
    const p = rendered();
    const f = await draw(p, { width: 640, height: 360, rotation: 90, first: 2 });
    assert.equal(f.width, 360);
    assert.equal(f.height, 640);
    assert.equal(f.rotation, 0);
    assert.equal(f.buffer.byteLength, 921600);
    const src = sim.playerPictureAbgr(640, 360, 2);
    for (const [x, y] of [[0, 0], [639, 0], [0, 359], [639, 359], [100, 200]]) {
      assert.equal(px(f.pixels, 360, 359 - y, x), px(src, 640, x, y), `(${x}, ${y})`);
    }
    addon.QXPlayer_destroy(p.h);
  });

  await t.test('rotations 180 and 270, and values congruent to them, turn the picture; others leave it', async () => {
    const p = rendered();
    const src = sim.playerPictureAbgr(8, 4, 0);
    const f180 = await draw(p, { width: 8, height: 4, rotation: -180 });
    assert.deepEqual([f180.width, f180.height], [8, 4]);
    assert.equal(px(f180.pixels, 8, 7, 3), px(src, 8, 0, 0));
    const f270 = await draw(p, { width: 8, height: 4, rotation: 630 });
    assert.deepEqual([f270.width, f270.height], [4, 8]);
    assert.equal(px(f270.pixels, 4, 1, 7), px(src, 8, 1, 2));
    for (const odd of [45, 91, -1, 32767]) {
      const f = await draw(p, { width: 2, height: 10, rotation: odd });
      assert.deepEqual([f.width, f.height], [2, 10], String(odd));
      assert.deepEqual(f.pixels, sim.playerPictureAbgr(2, 10, 0));
    }
    addon.QXPlayer_destroy(p.h);
  });

  await t.test('with the rotation-disallowed flag the picture stays unrotated', async () => {
    sim.setSourceFlags({ QX_DISALLOW_HANDLE_ROTATE: true });
    const p = rendered();
    const f = await draw(p, { width: 640, height: 360, rotation: 90 });
    assert.deepEqual([f.width, f.height], [640, 360]);
    assert.deepEqual(f.pixels, sim.playerPictureAbgr(640, 360, 0));
    addon.QXPlayer_destroy(p.h);
    sim.setSourceFlags({ QX_DISALLOW_HANDLE_ROTATE: false });
  });

  await t.test('I420 output packs integer-half planes without gaps and never rotates', async () => {
    const p = rendered();
    addon.QXPlayer_setOutputYuv(p.h, true);
    const f = await draw(p, { width: 641, height: 361, rotation: 90, first: 3 });
    assert.equal(f.format, 'i420');
    assert.deepEqual([f.width, f.height], [641, 361]);
    assert.equal(f.buffer.byteLength, 641 * 361 + 2 * (180 * 320));
    const planes = sim.playerPicture(641, 361, 3);
    const cw = 321;
    const ch = 181;
    const expected = [planes.subarray(0, 641 * 361)];
    for (const base of [641 * 361, 641 * 361 + cw * ch]) {
      for (let row = 0; row < 180; row++) expected.push(planes.subarray(base + row * cw, base + row * cw + 320));
    }
    assert.deepEqual(f.pixels, Buffer.concat(expected));
    addon.QXPlayer_destroy(p.h);
  });

  await t.test('frames of one size reuse one ArrayBuffer; a size change or a detach replaces it', async () => {
    const p = rendered();
    const seen = [];
    p.render.OnVideoRenderFrame = (f) => seen.push(f.buffer);
    for (let i = 0; i < 2; i++) {
      sim.drawPlayerFrames(p.id, { width: 32, height: 16, first: i });
      await waitFor(() => seen.length === i + 1);
    }
    assert.equal(seen[0], seen[1]);
    sim.drawPlayerFrames(p.id, { width: 16, height: 16 });
    await waitFor(() => seen.length === 3);
    assert.notEqual(seen[2], seen[1]);
    assert.equal(seen[2].byteLength, 16 * 16 * 4);
    seen[2].transfer?.(); // detaches it where ArrayBuffer.prototype.transfer exists
    structuredClone(seen[2], { transfer: [seen[2]] });
    assert.equal(seen[2].byteLength, 0);
    sim.drawPlayerFrames(p.id, { width: 16, height: 16 });
    await waitFor(() => seen.length === 4);
    assert.notEqual(seen[3], seen[2]);
    assert.equal(seen[3].byteLength, 1024);
    addon.QXPlayer_destroy(p.h);
  });

  await t.test('frames drawn between two deliveries coalesce to the newest', async () => {
    const p = rendered();
    // Drawn on an engine thread while the JavaScript thread is busy here.
    assert.equal(sim.drawPlayerFrames(p.id, { width: 8, height: 8, first: 0, count: 50 }), 50);
    await new Promise((r) => setTimeout(r, 50));
    assert.equal(p.frames.length, 1);
    assert.deepEqual(p.frames[0].pixels, sim.playerPictureAbgr(8, 8, 49));
    addon.QXPlayer_destroy(p.h);
  });

  await t.test('a render object may destroy its player inside OnVideoRenderFrame', async () => {
    const p = rendered();
    let calls = 0;
    p.render.OnVideoRenderFrame = () => {
      calls++;
      assert.equal(addon.QXPlayer_destroy(p.h), true);
    };
    sim.drawPlayerFrames(p.id, { width: 8, height: 8 });
    await waitFor(() => calls === 1);
    assert.equal(sim.drawPlayerFrames(p.id, { width: 8, height: 8 }), 0, 'the player is gone');

  });

  await t.test('a render object passed as a temporary survives garbage collection and keeps its frames', async () => {
    let n = 0;
    const h = addon.QXPlayer_constructor();
    addon.QXPlayer_initPlayerWithRender(h, { OnVideoRenderFrame() { n++; } });
    require('v8').setFlagsFromString('--expose-gc');
    const gc = require('vm').runInNewContext('gc');
    gc();
    await new Promise((r) => setTimeout(r, 10));
    gc();
    sim.drawPlayerFrames(addon.QXPlayer_getId(h), { width: 8, height: 8 });
    await waitFor(() => n === 1);
    addon.QXPlayer_destroy(h);
  });

  await t.test('a playing player draws on its own render thread until paused', async () => {
    sim.setPlayerVideo({ width: 32, height: 18, rotation: 270, fps: 200 });
    const p = rendered();
    addon.QXPlayer_play(p.h);
    await waitFor(() => p.frames.length >= 3);
    assert.deepEqual([p.frames[0].width, p.frames[0].height], [18, 32]);
    addon.QXPlayer_pause(p.h);
    const n = p.frames.length;
    await new Promise((r) => setTimeout(r, 50));
    assert.ok(p.frames.length <= n + 1);
    addon.QXPlayer_destroy(p.h);
    sim.setPlayerVideo({});
  });
});
