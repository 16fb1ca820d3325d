'use strict';
// The simulated class of the live page, driven as an app's main process
// drives the add-on: a teacher and students received as video, the teacher's
// audio, voice activity and room messages. The stand-in engine produces the
// media; everything else goes through the add-on's exports.
const addon = require('../..');
const sim = require('../../sim');
const { FramePool } = require('./frames');
const { executeWithFetch } = require('../http_client');

const TEACHER = { userId: 1001, role: 'teacher', width: 640, height: 360, fps: 30 };
const STUDENTS = Array.from({ length: 16 }, (_, i) => ({ userId: 1002 + i, role: 'student', width: 160, height: 90, fps: 15 }));
const SELF = 256;
const ROOM = 20261205;
const VIDEO = 1; // track type of the camera
const videoInfo = (u) => ({ type: VIDEO, userId: u.userId, ssrc: u.userId * 10 + 1 });
const audioSsrc = (u) => u.userId * 10 + 2;

const ROOM_LINES = [
  'Good morning, everyone!', 'Can you see the slides?', 'Page 42, exercise 3.', 'I have a question.',
  'Could you repeat that?', 'Done!', 'Thank you, teacher.', 'Let us take a short break.',
];

// hooks: frame(userId, frame) with a pooled frame held for the call only;
//        streamEnded(userId); event(kind, text); state(state); vad(userId, status)
function createClass({ schedulerHost, hooks, roomMessageMs = 2000, vadMs = 700 }) {
  // The engine's switches an app passes: both frame optimisations on.
  addon.engineSdk_updateSourceFlag(JSON.stringify({
    enableElectronFrameCopyOptimize: true,
    enableElectronFrameUpdateOptimize20260407: true,
  }));
  addon.engineSdk_onAppInit({
    onWriteCache() {},
    onDeleteCache() {},
    executeHttpRequest(request, callback) {
      hooks.event('http', `engine request ${request.url}`);
      executeWithFetch(request, callback);
    },
  }, '5.1.0-live-page');
  addon.engineSdk_setUserConfig({ isTestEnvironment: true, userType: 2, networkType: 1, appVersion: '3.2.0', appType: 1 });
  const users = [TEACHER, ...STUDENTS];
  const pools = new Map(users.map((u) => [u.userId, new FramePool()]));
  const numbers = new Map();
  const received = new Map(users.map((u) => [u.userId, 0]));
  const state = { joined: false, teacherMuted: false, videoOff: new Set() };
  let timers = [];

  const snapshot = () => ({ joined: state.joined, teacherMuted: state.teacherMuted, videoOff: [...state.videoOff] });
  const changed = () => hooks.state(snapshot());
  const log = (kind, text) => hooks.event(kind, text);
  // An export call as the log shows it: name(arguments) → result.
  const call = (name, ...args) => {
    const result = addon[name](...args);
    log('call', `${name}(${args.map((a) => JSON.stringify(a)).join(', ')}) → ${JSON.stringify(result)}`);
    return result;
  };

  // Each renderer copies its frame out during the call: the add-on reuses
  // (and with the copy optimisation, the engine rewrites) its Buffer.
  const renderer = (u) => ({
    onVideoFrame(f) {
      received.set(u.userId, received.get(u.userId) + 1);
      const n = (numbers.get(u.userId) || 0) + 1;
      numbers.set(u.userId, n);
      const frame = pools.get(u.userId).fill(u.userId, f.width, f.height, n, f.buffer);
      try {
        hooks.frame(u.userId, frame);
      } finally {
        frame.release();
      }
    },
  });

  const events = new Proxy({
    onRadioMessage(data) {
      let m;
      try {
        m = JSON.parse(data.toString('utf8'));
      } catch {
        m = { from: '?', text: data.toString('utf8') };
      }
      log('room', `${m.from}: ${m.text}`);
    },
  }, {
    // Every other engine event goes to the log by name.
    get(target, key) {
      if (key in target) return target[key];
      if (typeof key !== 'string' || !/^[oO]n[A-Z]/.test(key)) return undefined;
      return (...args) => log('engine', `${key}(${args.map((a) => (Buffer.isBuffer(a) ? `<${a.length} bytes>` : JSON.stringify(a))).join(', ')})`);
    },
  });

  function startVideo(u) {
    const code = call('livePlayEngine_videoStartReceive', videoInfo(u), renderer(u));
    if (code === 0) state.videoOff.delete(u.userId);
    return code;
  }

  function join() {
    if (state.joined) return -1;
    if (call('engineSdk_createLivePlayEngine', events) !== 0) return -1;
    const code = call('engineSdk_connectLivePlayEngine', {
      room_id: ROOM, user_id: SELF, user_type: 2, app_type: 1, app_version: '3.2.0', signature: 'live-page', scheduler_host: schedulerHost,
    });
    if (code !== 0) {
      call('engineSdk_leaveLiveRoom');
      return code;
    }
    state.joined = true;
    state.teacherMuted = false;
    state.videoOff.clear();
    for (const u of users) {
      startVideo(u);
      call('livePlayEngine_registerRemoteVadCallback', audioSsrc(u), { onAudioVadStatusChange: (s) => hooks.vad(u.userId, s) });
    }
    call('livePlayEngine_audioStartReceive', { type: 0, userId: TEACHER.userId, ssrc: audioSsrc(TEACHER) }, true);
    timers = [setInterval(roomMessage, roomMessageMs), setInterval(voices, vadMs)];
    changed();
    return 0;
  }

  // What the engine would report: room messages from the class and who speaks.
  let line = 0;
  function roomMessage() {
    const from = line % 3 === 0 ? TEACHER.userId : STUDENTS[(line * 7) % STUDENTS.length].userId;
    const text = Buffer.from(JSON.stringify({ from, text: ROOM_LINES[line++ % ROOM_LINES.length] }));
    sim.fireMany('LivePlayEngineCallback.OnRadioMessage', [text, text.length], 1, 1);
  }
  let tick = 0;
  function voices() {
    tick++;
    // The teacher talks most of the time, one student at a time answers.
    const speaking = new Set();
    if (tick % 5 !== 4) speaking.add(TEACHER.userId);
    else speaking.add(STUDENTS[(tick / 5 | 0) % STUDENTS.length].userId);
    for (const u of users) {
      sim.fireMany(`VadCallback.ssrc:${audioSsrc(u)}.OnAudioVadStatusChange`, [speaking.has(u.userId) ? 1 : 0], 1, 1);
    }
  }

  function leave() {
    if (!state.joined) return -1;
    for (const t of timers) clearInterval(t);
    timers = [];
    const code = call('engineSdk_leaveLiveRoom');
    state.joined = false;
    for (const u of users) {
      hooks.streamEnded(u.userId);
      hooks.vad(u.userId, 0); // nobody is heard any more
    }
    changed();
    return code;
  }

  // The same exports an app's window would reach through its main process.
  function muteTeacher(mute) {
    if (!state.joined) return -1;
    const code = call('deviceEngine_setOutputChannelMute', audioSsrc(TEACHER), !!mute);
    if (code === 0) {
      state.teacherMuted = !!mute;
      changed();
    }
    return code;
  }

  function setVideo(userId, on) {
    const u = users.find((x) => x.userId === userId);
    if (!state.joined || !u) return -1;
    if (on) {
      const code = state.videoOff.has(userId) ? startVideo(u) : 0;
      changed();
      return code;
    }
    if (state.videoOff.has(userId)) return 0;
    const code = call('livePlayEngine_videoStopReceive', videoInfo(u));
    if (code === 0) {
      state.videoOff.add(userId);
      hooks.streamEnded(userId);
      changed();
    }
    return code;
  }

  sim.startVideo({
    width: STUDENTS[0].width,
    height: STUDENTS[0].height,
    fps: STUDENTS[0].fps,
    sinks: Object.fromEntries(users.map((u) => [`sink:${u.userId}:${VIDEO}`, { width: u.width, height: u.height, fps: u.fps }])),
  });

  return {
    room: ROOM,
    self: SELF,
    teacher: TEACHER,
    students: STUDENTS,
    join,
    leave,
    muteTeacher,
    setVideo,
    state: snapshot,
    // Frames each renderer has been handed so far.
    received: () => Object.fromEntries(received),
    framesAllocated: () => [...pools.values()].reduce((n, p) => n + p.allocated, 0),
    stop() {
      leave();
      sim.stopVideo();
    },
  };
}

module.exports = { createClass, TEACHER, STUDENTS };
