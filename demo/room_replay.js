'use strict';
// A recorded class replayed in a room on the stand-in engine: the teacher's
// and the student's video and audio at 1x, the class's user data and radio
// messages printed as they come, a fetched range of radio messages, a seek to
// the middle, then 2x. The teacher's picture before and after the seek is
// saved in demo/out/ (or DEMO_OUT): each shows its play position, in digits
// and as the bar at its top.
const fs = require('fs');
const path = require('path');
const addon = require('..');
const sim = require('../sim');
const { encodeRgba } = require('./png');

const out = process.env.DEMO_OUT || path.join(__dirname, 'out');
const say = (line) => console.log(`room replay: ${line}`);
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
const text = (data) => Buffer.from(data).toString('latin1').replace(/[^\x20-\x7e]/g, '.');

const ROOM_ID = 2 ** 40 + 3;  // room ids are 64-bit
const TEACHER = { bizType: 1, userId: 10000000001, groupId: 0 };
const STUDENT = { bizType: 1, userId: 10000000002, groupId: 3 };

async function main() {
  const { durationMs } = sim.setReplayClass({});
  const listener = {
    onMetaResolved: () => say('meta resolved'),
    onError: (code, sub) => say(`error ${code}/${sub}`),
    onSnapshotWithChunkData: (chunks) => chunks.forEach((c) => say(`snapshot @${c.npt}: ${text(c.data)}`)),
    onUserDataWithChunkData: (chunks) => chunks.forEach((c) => say(`user data @${c.npt}: ${text(c.data)}`)),
    // Without the ...WithChunkData method: the bytes alone.
    onRadioMessage: (chunks) => chunks.forEach((data) => say(`radio message: ${text(data)}`)),
    onBufferStarted: () => say('buffering'),
    onBufferEnded: () => say('buffered'),
    onCompleted: () => say('completed'),
  };
  const room = addon.QXReplay_enterRoom({ host: 'replay.example', roomId: ROOM_ID, signature: 'from-the-server' }, listener);
  if (!room) throw new Error('no replay engine');
  say(`entered room ${ROOM_ID}: handle ${room}`);

  // The teacher's newest frame, copied (the ArrayBuffer is reused for the next one).
  let teacher = null;
  const shown = { teacher: 0, student: 0 };
  addon.QXReplay_videoStartReceive(room, TEACHER, {
    OnVideoRenderFrame(f) {
      shown.teacher++;
      teacher = { width: f.width, height: f.height, pixels: Buffer.from(new Uint8Array(f.buffer)) };
    },
  }, {});
  addon.QXReplay_videoStartReceive(room, STUDENT, { OnVideoRenderFrame: () => shown.student++ }, {});
  for (const [who, s] of [['teacher', TEACHER], ['student', STUDENT]]) {
    addon.QXReplay_audioStartReceive(room, s, { onActionStatus: (a) => say(`${who} action ${a.actionType} for ${a.durationMs} ms (${a.extraData})`) });
  }
  addon.QXReplay_play(room);
  await sleep(3200);
  const before = snapshot('before', teacher);

  const fetched = await new Promise((resolve) => addon.QXReplay_fetchRadioData(room, 0, durationMs / 2, resolve));
  say(`fetched radio messages 0 to ${durationMs / 2} ms: ${fetched.map((c) => `@${c.npt}`).join(' ')}`);

  await new Promise((resolve) => addon.QXReplay_seekTo(room, durationMs / 2, () => { say(`sought to ${durationMs / 2} ms`); resolve(); }));
  addon.QXReplay_setPlayRate(room, 2);
  say('play rate 2');
  await sleep(1500);
  const after = snapshot('after', teacher);

  const state = addon.QXReplay_getState(room);
  say(`state ${state.state} at ${state.positionMs} of ${state.durationMs} ms, rate ${state.playRate}; frames shown: teacher ${shown.teacher}, student ${shown.student}`);
  say(`teacher speech level: ${addon.QXReplay_getSpeechOutputLevel(room, TEACHER)}`);
  addon.QXReplay_leaveRoom(room);
  say('left');
  for (const s of [before, after]) save(s);
}

function snapshot(name, frame) {
  if (!frame) throw new Error(`no teacher frame ${name} the seek`);
  return { name, ...frame, pixels: Buffer.from(frame.pixels) };
}

function save({ name, width, height, pixels }) {
  fs.mkdirSync(out, { recursive: true });
  const file = path.join(out, `room-replay-teacher-${name}-seek.png`);
  fs.writeFileSync(file, encodeRgba(width, height, pixels));
  say(`saved ${path.relative(process.cwd(), file)} (${width}x${height}, at ${sim.readReplayFrame(pixels, width, height).positionMs} ms)`);
}

main().catch((err) => {
  console.error(err);
  process.exitCode = 1;
});
