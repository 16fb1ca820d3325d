'use strict';
// A simulated live class, driven as the app drives the add-on: start-up,
// user configuration, a live play engine, a room, two remote users' video,
// the local camera, the microphone, events as they arrive, frame rates, and
// leaving. One PNG per renderer lands in demo/out/ so a person can see what
// arrived.
const fs = require('fs');
const path = require('path');
const addon = require('..');
const sim = require('../sim');
const { encodeBgra } = require('./png');
const { startSchedulerServer, fetchExecutor } = require('./http_client');

const SECONDS = Number(process.env.DEMO_SECONDS || 4);
const OUT = process.env.DEMO_OUT || path.join(__dirname, 'out');
const started = Date.now();
const stamp = () => `${((Date.now() - started) / 1000).toFixed(3).padStart(7)}s`;
const say = (...words) => console.log(stamp(), ...words);

// The engine's switches the app would pass: both frame optimisations on.
addon.engineSdk_updateSourceFlag(JSON.stringify({
  enableElectronFrameCopyOptimize: true,
  enableElectronFrameUpdateOptimize20260407: true,
}));

// Every event method the class hears prints its name and arguments.
const printed = (label, extra = {}) => new Proxy(extra, {
  get(target, key) {
    if (key in target) return target[key];
    if (typeof key !== 'string' || !/^[oO]n[A-Z]/.test(key)) return undefined;
    return (...args) => say(`${label}.${key}`, ...args.map((a) => (Buffer.isBuffer(a) ? `<${a.length} bytes>` : JSON.stringify(a))));
  },
});

// The engine's HTTP requests (its scheduler look-up when the class connects)
// go to a local server through fetch; stopped at the end.
const scheduler = startSchedulerServer();
addon.engineSdk_onAppInit(printed('liveClient', { executeHttpRequest: fetchExecutor(say) }), '5.1.0-demo');
addon.engineSdk_setUserConfig({ isTestEnvironment: true, userType: 2, networkType: 1, appVersion: '3.2.0', appType: 1, productId: 7, schedulerHost: 'scheduler.invalid' });
say('platform', addon.engineSdk_getPlatform(), 'create live play engine:', addon.engineSdk_createLivePlayEngine(printed('class')));

// A renderer per stream: counts frames and keeps the newest picture.
const renderers = [];
function renderer(name) {
  const r = { name, frames: 0, lastCount: 0, width: 0, height: 0, pixels: null };
  r.onVideoFrame = (frame) => {
    r.frames++;
    r.width = frame.width;
    r.height = frame.height;
    r.pixels = frame.buffer; // the same Buffer while the size stays, overwritten in place
  };
  renderers.push(r);
  return r;
}

// Devices: what the stand-in machine has, and one switch of the camera.
function devices() {
  sim.setDevices({
    cameras: [{ name: 'Integrated camera', guid: 'cam-0', formats: [{ width: 1280, height: 720, fps: 30, pixelFormat: 1 }] },
      { name: 'USB camera', guid: 'cam-1', formats: [{ width: 640, height: 480, fps: 30, pixelFormat: 12 }] }],
    microphones: [{ name: 'Microphone array', guid: 'mic-0', isDefault: true }],
    speakers: [{ name: 'Speakers', guid: 'spk-0', isDefault: true }],
  });
  const list = (count, read) => Array.from({ length: count }, (_, i) => read(i).name).join(', ');
  say('devices: cameras', list(addon.deviceEngine_getNumOfCaptureDevices(), addon.deviceEngine_getCaptureDeviceName));
  say('devices: microphones', list(addon.deviceEngine_getNumOfRecordingDevices().devices, addon.deviceEngine_getRecordingDeviceName));
  say('devices: speakers', list(addon.deviceEngine_getNumOfPlayoutDevices().devices, addon.deviceEngine_getPlayoutDeviceName));
  const format = addon.deviceEngine_getCaptureDeviceFormatList('cam-1').formats[0];
  say('devices: switch camera to USB camera', format.width + 'x' + format.height, format.videoColorSpace,
    addon.deviceEngine_setCaptureDeviceInfo('cam-1', format));
}

const ticket = { room_id: 20261205, user_id: 256, user_type: 2, app_type: 1, app_version: '3.2.0', signature: 'demo', scheduler_host: scheduler.url };
say('connect:', addon.engineSdk_connectLivePlayEngine(ticket));

say('receive teacher video:', addon.livePlayEngine_videoStartReceive({ type: 1, userId: 1001, ssrc: 11 }, renderer('teacher-1001')));
say('receive student video:', addon.livePlayEngine_videoStartReceive({ type: 1, userId: 1002, ssrc: 12 }, renderer('student-1002')));
say('local camera:', addon.livePlayEngine_videoStartCapture({ type: 1, userId: 256, ssrc: 13 }, renderer('local-camera')));
say('send audio:', addon.livePlayEngine_audioStartSend({ type: 0, userId: 256, ssrc: 14 }));
let pcmBytes = 0;
// The class shares the screen and toggles a beauty effect. The stand-in
// reports the share's state and, once initialised, the beauty module ready,
// as the engine would.
function shareScreenAndToggleBeauty() {
  sim.script('tavel.LiveBeautyEngine.InitializeBeauty.report', true);
  addon.beautyEngine_applyBeautyManagerConfig({ beautyEnable: true, tryOnError: true, tryTimesMax: 5, tryTimeout: 10,
    beautyParam: { smoothDegree: 0.6, whitenDegree: 0.3 } });
  say('beauty: enable before ready:', addon.beautyEngine_enableBeauty(true));
  addon.beautyEngine_syncCurrentState();
  say('screenShare: start:', addon.livePlayEngine_startScreenShare({ type: 4, userId: 768 },
    { captureType: 0, screenId: 1, callback: printed('screenShare') }));
  sim.fire('ScreenShareCallback.OnScreenShareStateChanged', [1, 0]);
  setTimeout(() => {
    say('beauty: enable:', addon.beautyEngine_enableBeauty(true), 'smoother:', addon.beautyEngine_setBeautyParam({ smoothDegree: 0.9 }));
    say('beauty: disable:', addon.beautyEngine_enableBeauty(false));
    sim.fire('ScreenShareCallback.OnScreenShareStateChanged', [0, 0]);
    say('screenShare: stop:', addon.livePlayEngine_stopScreenShare());
  }, 500);
}
shareScreenAndToggleBeauty();

say('record microphone:', addon.livePlayEngine_audioStartRecording({ type: 0, userId: 256 }, printed('microphone', {
  onMicrophoneRecordedPcmData: (buffer, length) => { pcmBytes += length; },
}), []));

devices();
sim.startVideo({ width: 640, height: 360, fps: 30 });
sim.startAudio(10);

const tick = setInterval(() => {
  const rates = renderers.map((r) => { const fps = r.frames - r.lastCount; r.lastCount = r.frames; return `${r.name} ${fps} fps`; });
  say('renderers:', rates.join(', '), `| microphone ${pcmBytes} bytes`);
}, 1000);

setTimeout(() => {
  clearInterval(tick);
  sim.stopVideo();
  sim.stopAudio();
  addon.livePlayEngine_audioStopRecording({ type: 0, userId: 256 });
  addon.livePlayEngine_videoStopCapture({ type: 1, userId: 256 });
  fs.mkdirSync(OUT, { recursive: true });
  for (const r of renderers) {
    if (!r.pixels) {
      say(`${r.name}: no frame arrived`);
      continue;
    }
    const file = path.join(OUT, `${r.name}.png`);
    fs.writeFileSync(file, encodeBgra(r.width, r.height, r.pixels));
    say(`${r.name}: ${r.frames} frames of ${r.width}x${r.height}, snapshot ${path.relative(process.cwd(), file)}`);
  }
  say('leave:', addon.engineSdk_leaveLiveRoom());
  scheduler.stop();
  const missing = renderers.filter((r) => r.frames === 0).length;
  if (missing) process.exitCode = 1;
}, SECONDS * 1000);
