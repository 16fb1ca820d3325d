// @ts-check
// The same module through require, as a CommonJS app checked by tsc sees it.
'use strict';
const addon = require('lumen_engine_addon');

/** @type {import('lumen_engine_addon').VideoRenderer} */
const renderer = { onVideoFrame: (frame) => void frame.buffer.length };

/** @type {number} */
const created = addon.engineSdk_createLivePlayEngine({
  onEnterRoom() {}, onMediaConnecting() {}, onMediaConnected() {}, onMediaReconnecting() {},
  onMediaDisconnected() {}, onAudioSharedConnectionStateChanged() {}, onVideoSharedConnectionStateChanged() {},
  onCommandConnecting() {}, onCommandConnected() {}, onCommandReconnecting() {}, onCommandDisconnected() {},
  onServerTimestampOffset() {}, onRadioChannelConnecting() {}, onRadioChannelConnected() {},
  onRadioMessage() {}, onUserData() {}, onNoSpeechTimeoutEvent() {}, onAudioInputNoVoiceWarning() {},
  onRecordingDataException() {}, onPlayoutDataException() {}, onLoopbackDataException() {},
  onDeviceError() {}, onDeviceEvent() {}, onAudioInputDeviceChanged() {}, onAudioOutputDeviceChanged() {},
  onVideoInputDeviceChanged() {}, onDefaultAudioInputDeviceChanged() {}, onDefaultAudioOutputDeviceChanged() {},
  onVideoFrameReceived() {}, onBeautyReady() {}, onBeautyError() {}, onAIStickerReady() {}, onAIStickerError() {},
});
addon.livePlayEngine_videoStartReceive({ type: 1, userId: 2 }, renderer);
// @ts-expect-error a string where the rotation number goes
addon.livePlayEngine_setCaptureRotation('90');
module.exports = { created };
