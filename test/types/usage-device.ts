// How an app picks, tests and records from audio and video devices, on the
// live engine and on a device module of its own, type-checked against the
// declarations (never run).
import * as addon from 'lumen_engine_addon';
import type {
  AudioDeviceDataExceptionCallbacks,
  BizInfo,
  CaptureFormat,
  DeviceErrorCallbacks,
  DeviceEventCallbacks,
  DeviceInformation,
  DeviceModuleCallbacks,
  DeviceModuleHandle,
  MicrophoneRecordingCallbacks,
  PhotoCallbacks,
  RecordingStatistics,
  ScreenSource,
  StaticFrameDetectorConfig,
  TrackVideoFrame,
  VideoFrameCallbacks,
  WindowSource,
  WindowStatus,
} from 'lumen_engine_addon';

addon.deviceEngine_setElectronVersion(28);

// ---- a device module for the settings window, apart from the classroom's engine ---------

const deviceLog: string[] = [];
let refreshLists = false;
const moduleEvents: DeviceModuleCallbacks = {
  onAudioInputDeviceChanged(state) { refreshLists = true; deviceLog.push(`mic list changed (${state})`); },
  onAudioOutputDeviceChanged(state) { refreshLists = true; deviceLog.push(`speaker list changed (${state})`); },
  onVideoInputDeviceChanged(state) { refreshLists = true; deviceLog.push(`camera list changed (${state})`); },
  onVideoFrameReceived(userId, trackType) { deviceLog.push(`first frame of ${userId}/${trackType}`); },
  onAudioRecordingStart() { deviceLog.push('module recording started'); },
  onAudioRecordingStop() { deviceLog.push('module recording stopped'); },
  onDefaultAudioInputDeviceChanged(name, guid) { deviceLog.push(`default mic is now ${name} <${guid}>`); },
  onDefaultAudioOutputDeviceChanged(name, guid) { deviceLog.push(`default speaker is now ${name} <${guid}>`); },
};
const settings: DeviceModuleHandle = addon.deviceEngine_createDeviceModule(moduleEvents, '{"scene":"device-check"}');

function listDevices(count: number, nameOf: (id: number) => DeviceInformation): DeviceInformation[] {
  const out: DeviceInformation[] = [];
  for (let id = 0; id < count; id++) {
    const info = nameOf(id);
    if (info.errorCode === 0) out.push(info);
  }
  return out;
}
const mics = listDevices(addon.deviceEngine_getNumOfRecordingDevices(settings).devices,
  (id) => addon.deviceEngine_getRecordingDeviceName(id, settings));
const speakers = listDevices(addon.deviceEngine_getNumOfPlayoutDevices(settings).devices,
  (id) => addon.deviceEngine_getPlayoutDeviceName(id, settings));
const cameras = listDevices(addon.deviceEngine_getNumOfCaptureDevices(settings),
  (id) => addon.deviceEngine_getCaptureDeviceName(id, settings));
const defaultMic = addon.deviceEngine_getDefaultRecordDeviceName(settings);
const defaultSpeaker = addon.deviceEngine_getDefaultPlayoutDeviceName(settings);
console.log(mics.map((m) => m.name), speakers.length, cameras.length, defaultMic.guid, defaultSpeaker.transportType);

// The user's saved choices, or the system defaults when a saved device is gone.
const savedMic = 'USB Audio Device';
const savedSpeaker = '{0.0.0.00000000}.{9a3b1f0e-5c2d-4e7a-8f61-2b0d6c4e9a17}';
if (addon.deviceEngine_getRecordingDeviceIndex(savedMic, settings) >= 0) addon.deviceEngine_setRecordingDevice(savedMic, settings);
else addon.deviceEngine_setDefaultRecordingDevice(settings);
if (addon.deviceEngine_getPlayoutDeviceIndex(savedSpeaker, settings) >= 0) addon.deviceEngine_setPlayoutDevice(savedSpeaker, settings);
else addon.deviceEngine_setDefaultPlayoutDevice(settings);
addon.deviceEngine_handleDefaultDeviceChange(true, settings);

// Levels and mutes, shown as sliders and switches.
const speakerVolume = addon.deviceEngine_getSpeakerVolume(settings);
if (speakerVolume.errorCode === 0 && speakerVolume.volume < 40) addon.deviceEngine_setSpeakerVolume(60, settings);
if (!addon.deviceEngine_getAgcStatus(settings).enable) {
  const micVolume = addon.deviceEngine_getMicVolume(settings);
  addon.deviceEngine_setMicVolume(Math.max(micVolume.volume, 180), settings);
}
addon.deviceEngine_setAgcStatus(true, settings);
addon.deviceEngine_setAudioDevicePreprocessorMode(1, settings);
const switches = {
  outputMuted: addon.deviceEngine_getOutputMute(settings).enable,
  inputMuted: addon.deviceEngine_getInputMute(settings).enable,
  systemInputMuted: addon.deviceEngine_getSystemInputMute(settings).enable,
  systemOutputMuted: addon.deviceEngine_getSystemOutputMute(settings).enable,
};
if (switches.outputMuted) addon.deviceEngine_setOutputMute(false, settings);
if (switches.inputMuted) addon.deviceEngine_setInputMute(false, settings);
if (switches.systemInputMuted) addon.deviceEngine_setSystemInputMute(false, settings);
if (switches.systemOutputMuted) addon.deviceEngine_setSystemOutputMute(false, settings);

// Microphone test: the level meter polls while the engine plays the mic back.
addon.deviceEngine_startTestMicrophone(settings);
const meter: number[] = [];
const input = addon.deviceEngine_getSpeechInputLevel(settings);
if (input.errorCode === 0) meter.push(input.level);
addon.deviceEngine_stopTestMicrophone(settings);

// Camera test: the preview draws the newest frame; the format list offers sizes.
const cameraGuid = cameras[0]?.guid ?? '';
const formats = addon.deviceEngine_getCaptureDeviceFormatList(cameraGuid, settings);
const preferred: CaptureFormat = formats.formats.find((f) => f.width === 1280 && f.height === 720)
  ?? { width: 640, height: 480, fps: 15, videoColorSpace: 'I420' };
let previewPixels = 0;
const preview: VideoFrameCallbacks = {
  onVideoFrame(frame: TrackVideoFrame) {
    if (frame.buffer.length === frame.width * frame.height * 4) previewPixels = frame.width * frame.height;
  },
};
addon.deviceEngine_startTestCamera(cameraGuid, preview, preferred, settings);
addon.deviceEngine_stopTestCamera(settings);
const cameraIndex = addon.deviceEngine_getCaptureDeviceIndexByGUID(cameraGuid, settings);

// ---- recording the microphone: an answer for speech recognition ---------------------------

const chunks: Buffer[] = [];
let sampleRate = 0;
const recording: MicrophoneRecordingCallbacks = {
  onAudioRecordingStart() { chunks.length = 0; },
  onAudioRecordingStop() { deviceLog.push(`recorded ${chunks.length} chunks at ${sampleRate} Hz`); },
  onMicrophoneRecordedPcmData(data, length) { chunks.push(data.subarray(0, length)); },
  onMicrophoneRecordedAacData(data, length, rate) { sampleRate = rate; chunks.push(data.subarray(0, length)); },
  onMicrophoneRecordedOpusData(data, length, rate) { sampleRate = rate; chunks.push(data.subarray(0, length)); },
  onMicrophoneRecordedIsacData(data, length, rate) { sampleRate = rate; chunks.push(data.subarray(0, length)); },
};
const stats: RecordingStatistics = {};
addon.deviceEngine_startRecordingMicrophoneForASR(recording, settings);
addon.deviceEngine_getRecordInfoAndReset(stats, settings);
addon.deviceEngine_stopRecordingMicrophone(stats, settings);
if ((stats.encodedVoiceActivityMs ?? 0) < 300) deviceLog.push(`silent answer (hint ${stats.hint ?? 0})`);

addon.deviceEngine_startRecordingMicrophoneTimeout(recording, 15_000, settings);
const recordingNow = addon.deviceEngine_isAudioRecording(settings);
if (recordingNow === true) addon.deviceEngine_stopRecordingMicrophone(stats, settings);
addon.deviceEngine_destroyDeviceModule(settings);

// ---- the classroom: the live engine's devices (no handle) ------------------------------

const dataExceptions: AudioDeviceDataExceptionCallbacks = {
  onRecordingDataException(code) { deviceLog.push(`mic data exception ${code}`); },
  onPlayoutDataException(code) { deviceLog.push(`speaker data exception ${code}`); },
  onLoopbackDataException(code) { deviceLog.push(`loopback data exception ${code}`); },
};
const errors: DeviceErrorCallbacks = {
  onDeviceError(type, code, extra) { deviceLog.push(`device error ${type}/${code}/${extra}`); },
};
const events: DeviceEventCallbacks = {
  onDeviceEvent(type, code, extra) { deviceLog.push(`device event ${type}/${code}/${extra}`); },
  onDeviceError(type, code, extra) { deviceLog.push(`device error ${type}/${code}/${extra}`); },
};
addon.deviceEngine_registerAudioDeviceDataExceptionCallback(dataExceptions);
addon.deviceEngine_registerDeviceErrorCallback(errors);
addon.deviceEngine_registerDeviceEventCallback(events);
addon.deviceEngine_setAudioParamSavePath('/tmp/lumen-audio-params');

addon.deviceEngine_setCaptureDeviceInfo(cameraGuid, preferred);
addon.deviceEngine_setCaptureRotation(90);
const selfView: VideoFrameCallbacks = {
  onVideoFrame(frame) { if (frame.videoTrackType === 1) previewPixels = frame.width * frame.height; },
};
addon.deviceEngine_openCamera(cameraGuid, 1, selfView, preferred);
let cameraCovered = false;
const detector: StaticFrameDetectorConfig = {
  enableDetect: true,
  alwaysDetect: false,
  validDetectCnt: 30,
  accuracy: 0.9,
  callback: { onDetectStatusCallback(valid, isStatic) { cameraCovered = valid && isStatic; } },
};
addon.deviceEngine_enableStaticFrameDetector(detector);

const teacher: BizInfo = { bizType: 1, userId: 20231, groupId: 0 };
const teacherLevel = addon.deviceEngine_getSpeechOutputLevelBiz(teacher).level;
const studentLevel = addon.deviceEngine_getSpeechOutputLevel(3_405_691_582).level;
addon.deviceEngine_setOutputChannelVolumeBiz(teacher, 100);
addon.deviceEngine_setOutputChannelMuteBiz({ bizType: 1, userId: 20577 }, true);
addon.deviceEngine_setOutputChannelVolume(3_405_691_582, 80);
addon.deviceEngine_setOutputChannelMute(3_405_691_582, false);

// A snapshot for the attendance sheet; the self view keeps drawing meanwhile.
let snapshot: Buffer | undefined;
const photo: PhotoCallbacks = {
  onVideoFrame(frame) { previewPixels = frame.width * frame.height; },
  onPictureCaptured(picture) { snapshot = picture; },
};
addon.deviceEngine_capturePhoto(320, 240, photo, true);

// Read-aloud practice: the student's voice with the lesson audio mixed in, echo cancelled.
addon.deviceEngine_startRecordingMicrophone(recording, true);
addon.deviceEngine_stopRecordingMicrophone(stats);
addon.deviceEngine_startRecordingMicrophoneWithSpeakerData(recording);
addon.deviceEngine_stopRecordingMicrophone(stats);

// ---- sharing the screen, and the lesson's sound with it -----------------------------------

if (addon.deviceEngine_RequestScreenCaptureAccess()) {
  const screens: ScreenSource[] = addon.deviceEngine_getScreenList();
  const windows: WindowSource[] = addon.deviceEngine_getWindowsList().filter((w) => w.width > 0 && w.height > 0);
  const courseware = windows.find((w) => w.title.includes('Courseware'));
  const status: WindowStatus | undefined = courseware && addon.deviceEngine_getWindowStatus(courseware.id);
  if (status && (status.minimized || status.unfound)) deviceLog.push(`window ${courseware?.title} not shareable`);
  console.log(screens.map((s) => s.title), status?.scalingFactor, addon.deviceEngine_IsAeroEnabled());
}
if (!addon.deviceEngine_isLoopbackDeviceExist()) {
  addon.deviceEngine_installLoopbackDevice('LumenLoopback', '/Library/Audio/Plug-Ins/HAL', (code: number) => {
    if (code !== 0) addon.deviceEngine_cancelInstallLoopbackDevice();
  });
}
addon.deviceEngine_startSystemAudioLoopback();
addon.deviceEngine_stopSystemAudioLoopback();
addon.deviceEngine_restartCoreAudioService('audio stalled', { onRestarted() { deviceLog.push('core audio restarted'); } });

// ---- leaving the classroom --------------------------------------------------------------

addon.deviceEngine_closeCamera(1);
addon.deviceEngine_enableStaticFrameDetector({ enableDetect: false });
addon.deviceEngine_unregisterDeviceEventCallback();
addon.deviceEngine_unregisterDeviceErrorCallback();
addon.deviceEngine_unRegisterAudioDeviceDataExceptionCallback();

console.log(deviceLog, refreshLists, meter, previewPixels, cameraIndex, cameraCovered, teacherLevel, studentLevel, snapshot?.length);

// @ts-expect-error a volume is a number, not a slider's text
addon.deviceEngine_setSpeakerVolume('60');
// @ts-expect-error a capture format needs its pixel format
addon.deviceEngine_openCamera(cameraGuid, 1, selfView, { width: 1280, height: 720, fps: 15 });
// @ts-expect-error recording for speech recognition needs the device module's handle
addon.deviceEngine_startRecordingMicrophoneForASR(recording);
// @ts-expect-error a device error's type is a number
addon.deviceEngine_registerDeviceErrorCallback({ onDeviceError(type: string) { deviceLog.push(type); } });
// @ts-expect-error a stream by business type is a record, not a user id
addon.deviceEngine_getSpeechOutputLevelBiz(20231);
