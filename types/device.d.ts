// deviceEngine_*: audio and video devices of the live engine, or of a device
// module named by its handle (the optional last argument; 0 or absent: the
// live engine).
import type { BizInfo, TrackVideoFrame } from '../index';
import type { Handle } from './handles';

export type DeviceModuleHandle = Handle<'device module'>;

export interface CaptureFormat {
  width: number;
  height: number;
  fps: number;
  /** Read: "I420", "IYUV", "RGB24", ... (anything else is 0); written: "kIYUV" for 2, "Unknown" for 0, 10 and > 15. */
  videoColorSpace: string;
}
export interface DeviceInformation { name: string; guid: string; transportType: number; errorCode: number }
export interface VolumeResult { volume: number; errorCode: number }
export interface LevelResult { level: number; errorCode: number }
export interface EnableResult { enable: boolean; errorCode: number }
export interface DeviceCountResult { devices: number; errorCode: number }
export interface FormatListResult { formats: CaptureFormat[]; errorCode: number }
export interface WindowSource { id: number; title: string; width: number; height: number }
export interface ScreenSource { id: number; title: string }
export interface WindowStatus {
  posX: number; posY: number; width: number; height: number;
  minimized: boolean; onScreen: boolean; scalingFactor: number; unfound: boolean;
}
/** Filled in by the stop and record-info exports. */
export interface RecordingStatistics {
  encodedRecordedMs?: number; encodedVoiceActivityMs?: number; encodedNonZeroSampleCount?: number;
  pcmRecordedSampleCount?: number; pcmRecordedSampleMax?: number; recordingStartTimeMs?: number;
  startDuringInterruption?: boolean; interruptionAfterStart?: boolean; errorCode?: number; hint?: number;
}
export interface StaticFrameDetectorConfig {
  enableDetect?: boolean; alwaysDetect?: boolean; validDetectCnt?: number; accuracy?: number;
  callback?: { onDetectStatusCallback?(valid: boolean, isStatic: boolean): void };
}
/** The cached settings of engineSdk_connectLivePlayEngineAndConfigDevice. */
export interface DeviceCachedInfo {
  currentCaptureDeviceV2?: { name?: string; guid?: string };
  currentCaptureFormat?: CaptureFormat;
  currentRecordDeviceV2?: { isDefault?: boolean; name?: string; guid?: string };
  currentPlayoutDeviceV2?: { isDefault?: boolean; name?: string; guid?: string };
  speakerVolume?: number;
  /** -1: not set; never applied while agcStatus2 is true. */
  micVolume2?: number;
  agcStatus2?: boolean;
}

export interface MicrophoneRecordingCallbacks {
  onAudioRecordingStart?(): void;
  onAudioRecordingStop?(): void;
  onMicrophoneRecordedPcmData?(data: Buffer, length: number): void;
  onMicrophoneRecordedAacData?(data: Buffer, length: number, sampleRate: number): void;
  onMicrophoneRecordedOpusData?(data: Buffer, length: number, sampleRate: number): void;
  onMicrophoneRecordedIsacData?(data: Buffer, length: number, sampleRate: number): void;
}
/** Events of a device module (classic engine or newer audio device). */
export interface DeviceModuleCallbacks {
  onAudioInputDeviceChanged?(state: number): void;
  onAudioOutputDeviceChanged?(state: number): void;
  onVideoInputDeviceChanged?(state: number): void;
  onVideoFrameReceived?(userId: number, trackType: number): void;
  onAudioRecordingStart?(): void;
  onAudioRecordingStop?(): void;
  onDefaultAudioInputDeviceChanged?(name: string, guid: string): void;
  onDefaultAudioOutputDeviceChanged?(name: string, guid: string): void;
}
export interface AudioDeviceDataExceptionCallbacks {
  onRecordingDataException?(code: number): void;
  onPlayoutDataException?(code: number): void;
  onLoopbackDataException?(code: number): void;
}
export interface DeviceErrorCallbacks { onDeviceError?(type: number, code: number, extra: number): void }
export interface DeviceEventCallbacks {
  onDeviceEvent?(type: number, code: number, extra: number): void;
  onDeviceError?(type: number, code: number, extra: number): void;
}
/** Camera frames come as a renderer's frames of the local user (user 0, its track type). */
export interface VideoFrameCallbacks { onVideoFrame?(frame: TrackVideoFrame): void }
export interface PhotoCallbacks extends VideoFrameCallbacks { onPictureCaptured?(picture: Buffer): void }

type H = DeviceModuleHandle;
/** A module, or 0 (or nothing): the live engine. */
type M = DeviceModuleHandle | 0;
export declare function deviceEngine_createDeviceModule(callback: DeviceModuleCallbacks | Function, engineParam: string): H;
export declare function deviceEngine_destroyDeviceModule(handle: H): void;
export declare function deviceEngine_setSpeakerVolume(volume: number, handle?: M): number;
export declare function deviceEngine_getSpeakerVolume(handle?: M): VolumeResult;
export declare function deviceEngine_setMicVolume(volume: number, handle?: M): number;
export declare function deviceEngine_getMicVolume(handle?: M): VolumeResult;
export declare function deviceEngine_getSpeechInputLevel(handle?: M): LevelResult;
export declare function deviceEngine_getSpeechOutputLevel(ssrc: number, handle?: M): LevelResult;
export declare function deviceEngine_getSpeechOutputLevelBiz(info: BizInfo): LevelResult;
export declare function deviceEngine_setAgcStatus(enable: boolean, handle?: M): number;
export declare function deviceEngine_getAgcStatus(handle?: M): EnableResult;
export declare function deviceEngine_setAudioDevicePreprocessorMode(mode: number, handle?: M): number;
export declare function deviceEngine_setOutputMute(enable: boolean, handle?: M): number;
export declare function deviceEngine_getOutputMute(handle?: M): EnableResult;
export declare function deviceEngine_setInputMute(enable: boolean, handle?: M): number;
export declare function deviceEngine_getInputMute(handle?: M): EnableResult;
export declare function deviceEngine_setSystemInputMute(enable: boolean, handle?: M): number;
export declare function deviceEngine_getSystemInputMute(handle?: M): EnableResult;
export declare function deviceEngine_setSystemOutputMute(enable: boolean, handle?: M): number;
export declare function deviceEngine_getSystemOutputMute(handle?: M): EnableResult;
export declare function deviceEngine_setOutputChannelVolume(ssrc: number, volume: number, handle?: M): number;
export declare function deviceEngine_setOutputChannelMute(ssrc: number, mute: boolean, handle?: M): number;
export declare function deviceEngine_setOutputChannelVolumeBiz(info: BizInfo, volume: number): number;
export declare function deviceEngine_setOutputChannelMuteBiz(info: BizInfo, mute: boolean): number;
export declare function deviceEngine_startRecordingMicrophone(callback: MicrophoneRecordingCallbacks, enableAec: boolean, handle?: M): number;
export declare function deviceEngine_startRecordingMicrophoneForASR(callback: MicrophoneRecordingCallbacks, nativeDeviceModule: M): number;
export declare function deviceEngine_startRecordingMicrophoneTimeout(callback: MicrophoneRecordingCallbacks, timeoutMs: number, handle?: M): number;
export declare function deviceEngine_startRecordingMicrophoneWithSpeakerData(callback: MicrophoneRecordingCallbacks, handle?: M): number;
export declare function deviceEngine_stopRecordingMicrophone(info: RecordingStatistics, handle?: M): number;
export declare function deviceEngine_getRecordInfoAndReset(info: RecordingStatistics, handle?: M): number;
export declare function deviceEngine_getNumOfCaptureDevices(handle?: M): number;
export declare function deviceEngine_getNumOfRecordingDevices(handle?: M): DeviceCountResult;
export declare function deviceEngine_getNumOfPlayoutDevices(handle?: M): DeviceCountResult;
export declare function deviceEngine_getCaptureDeviceName(id: number, handle?: M): DeviceInformation;
export declare function deviceEngine_getRecordingDeviceName(id: number, handle?: M): DeviceInformation;
export declare function deviceEngine_getPlayoutDeviceName(id: number, handle?: M): DeviceInformation;
export declare function deviceEngine_getDefaultPlayoutDeviceName(handle?: M): DeviceInformation;
export declare function deviceEngine_getDefaultRecordDeviceName(handle?: M): DeviceInformation;
export declare function deviceEngine_setRecordingDevice(guidOrName: string, handle?: M): number;
export declare function deviceEngine_setPlayoutDevice(guidOrName: string, handle?: M): number;
export declare function deviceEngine_setDefaultRecordingDevice(handle?: M): number;
export declare function deviceEngine_setDefaultPlayoutDevice(handle?: M): number;
export declare function deviceEngine_getRecordingDeviceIndex(guid: string, handle?: M): number;
export declare function deviceEngine_getPlayoutDeviceIndex(guid: string, handle?: M): number;
export declare function deviceEngine_getCaptureDeviceIndexByGUID(guidOrName: string, handle?: M): number;
export declare function deviceEngine_startTestMicrophone(handle?: M): number;
export declare function deviceEngine_stopTestMicrophone(handle?: M): number;
export declare function deviceEngine_startTestCamera(guid: string, callback: VideoFrameCallbacks, captureFormat: CaptureFormat, handle?: M): number;
export declare function deviceEngine_stopTestCamera(handle?: M): number;
export declare function deviceEngine_setCaptureDeviceInfo(guid: string, format: CaptureFormat): number;
export declare function deviceEngine_getCaptureDeviceFormatList(guid: string, handle?: M): FormatListResult;
export declare function deviceEngine_handleDefaultDeviceChange(enable: boolean, handle?: M): number;
export declare function deviceEngine_isAudioRecording(handle?: M): boolean | -1;
export declare function deviceEngine_registerAudioDeviceDataExceptionCallback(callback: AudioDeviceDataExceptionCallbacks): number;
export declare function deviceEngine_unRegisterAudioDeviceDataExceptionCallback(): number;
export declare function deviceEngine_isLoopbackDeviceExist(): boolean;
export declare function deviceEngine_installLoopbackDevice(a: string, b: string, callback: object | Function): number;
export declare function deviceEngine_cancelInstallLoopbackDevice(): number;
export declare function deviceEngine_startSystemAudioLoopback(): number;
export declare function deviceEngine_stopSystemAudioLoopback(): number;
export declare function deviceEngine_restartCoreAudioService(a: string, callback: object | Function): number;
export declare function deviceEngine_setAudioParamSavePath(path: string): number;
export declare function deviceEngine_openCamera(guid: string, type: number, view: VideoFrameCallbacks, format: CaptureFormat, handle?: M): number;
export declare function deviceEngine_closeCamera(type: number, handle?: M): number;
export declare function deviceEngine_capturePhoto(width: number, height: number, callback: PhotoCallbacks, mirror: boolean): number;
export declare function deviceEngine_RequestScreenCaptureAccess(): boolean;
export declare function deviceEngine_IsAeroEnabled(): boolean;
export declare function deviceEngine_getWindowsList(): WindowSource[];
export declare function deviceEngine_getScreenList(): ScreenSource[];
export declare function deviceEngine_getWindowStatus(windowId: number): WindowStatus | undefined;
export declare function deviceEngine_setCaptureRotation(rotation: number): number;
export declare function deviceEngine_enableStaticFrameDetector(config: StaticFrameDetectorConfig): number;
export declare function deviceEngine_registerDeviceErrorCallback(callback: DeviceErrorCallbacks): number;
export declare function deviceEngine_unregisterDeviceErrorCallback(): number;
export declare function deviceEngine_registerDeviceEventCallback(callback: DeviceEventCallbacks): number;
export declare function deviceEngine_unregisterDeviceEventCallback(): number;
export declare function deviceEngine_setElectronVersion(version: number): void;
