'use strict';
// A short recorded class played back on the stand-in engine: its packets are
// generated (demo/replay_packets.js), fed to the replay engine in order, and
// the teacher's replayed video is saved as a PNG in demo/out/ (or DEMO_OUT).
const fs = require('fs');
const path = require('path');
const addon = require('..');
const { encodeBgra } = require('./png');
const { recordedClass } = require('./replay_packets');

const out = process.env.DEMO_OUT || path.join(__dirname, 'out');
const say = (line) => console.log(`replay: ${line}`);

async function main() {
  const recorded = recordedClass();
  let last = null;
  let frames = 0;
  const view = {
    onVideoFrame(frame) {
      frames++;
      last = { width: frame.width, height: frame.height, pixels: Buffer.from(frame.buffer) };
    },
  };
  say(`create: ${addon.engineSdk_createReplayEngine({ onReplayOpened: (r) => say(`onReplayOpened ${r}`) }, 'class.rec')}`);
  say(`video start: ${addon.replayEngine_videoStartPlay(recorded.userId, recorded.streamType, view)}`);
  say(`audio start: ${addon.replayEngine_audioStartPlay(recorded.userId)}`);
  say(`speed: ${addon.replayEngine_setPlaySpeed(1.0)}`);
  say(`play: ${addon.replayEngine_play()}`);
  let fed = 0;
  for (const { data, info } of recorded.packets) {
    if (addon.replayEngine_receivePacket(data, info) === 0) fed++;
    if (!info.isAudio) await new Promise((r) => setTimeout(r, 40));  // 25 fps
  }
  await new Promise((r) => setTimeout(r, 200));
  say(`packets fed: ${fed} of ${recorded.packets.length}, frames shown: ${frames}`);
  say(`video stop: ${addon.replayEngine_videoStopPlay(recorded.userId, recorded.streamType)}`);
  say(`destroy: ${addon.engineSdk_destroyReplayEngine()}`);
  if (!last) throw new Error('no replayed frame arrived');
  fs.mkdirSync(out, { recursive: true });
  const file = path.join(out, `replay-${recorded.userId}.png`);
  fs.writeFileSync(file, encodeBgra(last.width, last.height, last.pixels));
  say(`saved ${path.relative(process.cwd(), file)} (${last.width}x${last.height})`);
}

main().catch((err) => {
  console.error(err);
  process.exitCode = 1;
});
