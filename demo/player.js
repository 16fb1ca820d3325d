'use strict';
// A stand-in media file played through a player: events as they come, and
// the newest rendered frame (the file's video is rotated by 90 degrees) saved
// as demo/out/player-rotated.png.
const fs = require('fs');
const path = require('path');
const addon = require('..');
const sim = require('../sim');
const { encodeBgra } = require('./png');

const out = process.env.DEMO_OUT || path.join(__dirname, 'out');
const seconds = Number(process.env.DEMO_SECONDS || 2);

// The stand-in file: 640x360 video recorded on its side, at 30 fps.
sim.setPlayerVideo({ width: 640, height: 360, rotation: 90, fps: 30 });

const player = addon.QXPlayer_constructor();
let last = null;
let frames = 0;
addon.QXPlayer_initPlayerWithRender(player, {
  OnVideoRenderFrame(frame) {
    frames++;
    // The buffer is reused for the next frame: keep a copy.
    last = { width: frame.width, height: frame.height, format: frame.format, pixels: Buffer.from(frame.buffer.slice(0)) };
  },
});
const say = (name) => (...args) => console.log(`player.${name}`, ...args);
addon.QXPlayer_setCallback(player, { OnPrepared: say('OnPrepared'), OnCompleted: say('OnCompleted') });
addon.QXPlayer_setOptions(player, { startOnPrepared: true, playRate: 1 });
addon.QXPlayer_setDataSource(player, { url: 'file:///lessons/demo-lesson.mp4', sourceId: 'demo-lesson' });
addon.QXPlayer_prepare(player);
sim.fire(`player:${addon.QXPlayer_getId(player)}.OnPrepared`, []);
addon.QXPlayer_play(player);
console.log(`player: ${addon.QXPlayer_getVersion()}, video ${addon.QXPlayer_getVideoWidth(player)}x${addon.QXPlayer_getVideoHeight(player)}, rotation ${addon.QXPlayer_getVideoRotate(player)}`);

setTimeout(() => {
  addon.QXPlayer_pause(player);
  addon.QXPlayer_destroy(player);
  if (!last) {
    console.error('player: no frame was rendered');
    process.exit(1);
  }
  // ABGR is R, G, B, A in memory; the PNG writer takes B, G, R, A.
  const bgra = Buffer.from(last.pixels);
  for (let i = 0; i < bgra.length; i += 4) [bgra[i], bgra[i + 2]] = [bgra[i + 2], bgra[i]];
  fs.mkdirSync(out, { recursive: true });
  const file = path.join(out, 'player-rotated.png');
  fs.writeFileSync(file, encodeBgra(last.width, last.height, bgra));
  console.log(`player: ${frames} frames rendered; ${last.width}x${last.height} ${last.format} frame saved to ${file}`);
}, seconds * 1000);
