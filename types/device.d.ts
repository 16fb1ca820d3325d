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
/**
 * Creates a stand-alone device module with its callbacks and engine parameter: its handle for the
 * exports' last argument, or 0 when none was made. Throws "Expected arguments : callback and
 * engineParam" unless called with at least (object, string).
 */
export declare function deviceEngine_createDeviceModule(callback: DeviceModuleCallbacks | Function, engineParam: string): H;
/**
 * Destroys a device module; its handle is stale afterwards. Throws "Expected arguments : callback"
 * unless called with at least (number). A stale, destroyed or forged device module handle gets the
 * neutral answer and a log line.
 */
export declare function deviceEngine_destroyDeviceModule(handle: H): void;
/**
 * Sets the speaker volume. Throws "Expected arguments : number" unless called with at least
 * (number).
 */
export declare function deviceEngine_setSpeakerVolume(volume: number, handle?: M): number;
/**
 * The speaker volume, with the engine's result as errorCode. A stale, destroyed or forged device
 * module handle gets the neutral answer and a log line.
 */
export declare function deviceEngine_getSpeakerVolume(handle?: M): VolumeResult;
/**
 * Sets the microphone volume. Throws "Expected arguments : volumn level(unsigned int)." unless
 * called with at least (number).
 */
export declare function deviceEngine_setMicVolume(volume: number, handle?: M): number;
/**
 * The microphone volume, with the engine's result as errorCode. A stale, destroyed or forged device
 * module handle gets the neutral answer and a log line.
 */
export declare function deviceEngine_getMicVolume(handle?: M): VolumeResult;
/**
 * The microphone's current speech level. A stale, destroyed or forged device module handle gets the
 * neutral answer and a log line.
 */
export declare function deviceEngine_getSpeechInputLevel(handle?: M): LevelResult;
/**
 * The current speech level of the received stream with this ssrc. Throws "Expected arguments :
 * Expected arg 0 : ssrc(int)." unless called with at least (number).
 */
export declare function deviceEngine_getSpeechOutputLevel(ssrc: number, handle?: M): LevelResult;
/**
 * The current speech level of a received stream by business identity. Throws "Expected arg 0 :
 * info(BizInfo)." unless called with at least (object).
 */
export declare function deviceEngine_getSpeechOutputLevelBiz(info: BizInfo): LevelResult;
/**
 * Switches automatic gain control on or off (classic device engines only). Throws "Expected
 * arguments :  enable(bool)." unless called with at least (boolean).
 */
export declare function deviceEngine_setAgcStatus(enable: boolean, handle?: M): number;
/**
 * Whether automatic gain control is on (classic device engines only). A stale, destroyed or forged
 * device module handle gets the neutral answer and a log line.
 */
export declare function deviceEngine_getAgcStatus(handle?: M): EnableResult;
/**
 * Selects the audio preprocessing mode (the engine's values). Throws "Expected arguments :
 * mode(int)." unless called with at least (number). Throws "Expected arguments :  mode(int)."
 * unless called with at least (number).
 */
export declare function deviceEngine_setAudioDevicePreprocessorMode(mode: number, handle?: M): number;
/**
 * Mutes or unmutes the played-out audio. Throws "Expected arguments :  enable(bool)." unless called
 * with at least (boolean).
 */
export declare function deviceEngine_setOutputMute(enable: boolean, handle?: M): number;
/**
 * Whether the played-out audio is muted. A stale, destroyed or forged device module handle gets the
 * neutral answer and a log line.
 */
export declare function deviceEngine_getOutputMute(handle?: M): EnableResult;
/**
 * Mutes or unmutes the microphone input. Throws "Expected arguments :  enable(bool)." unless called
 * with at least (boolean).
 */
export declare function deviceEngine_setInputMute(enable: boolean, handle?: M): number;
/**
 * Whether the microphone input is muted. A stale, destroyed or forged device module handle gets the
 * neutral answer and a log line.
 */
export declare function deviceEngine_getInputMute(handle?: M): EnableResult;
/**
 * Mutes or unmutes the system's recording device. Throws "Expected arguments :  enable(bool)."
 * unless called with at least (boolean).
 */
export declare function deviceEngine_setSystemInputMute(enable: boolean, handle?: M): number;
/**
 * Whether the system's recording device is muted. A stale, destroyed or forged device module handle
 * gets the neutral answer and a log line.
 */
export declare function deviceEngine_getSystemInputMute(handle?: M): EnableResult;
/**
 * Mutes or unmutes the system's playout device. Throws "Expected arguments :  enable(bool)." unless
 * called with at least (boolean).
 */
export declare function deviceEngine_setSystemOutputMute(enable: boolean, handle?: M): number;
/**
 * Whether the system's playout device is muted. A stale, destroyed or forged device module handle
 * gets the neutral answer and a log line.
 */
export declare function deviceEngine_getSystemOutputMute(handle?: M): EnableResult;
/**
 * Sets the playout volume of the received stream with this ssrc. Throws "Expected arguments : ssrc,
 * volume" unless called with at least (number, number).
 */
export declare function deviceEngine_setOutputChannelVolume(ssrc: number, volume: number, handle?: M): number;
/**
 * Mutes or unmutes the received stream with this ssrc. Throws "Expected arguments : ssrc, volume"
 * unless called with at least (number, boolean).
 */
export declare function deviceEngine_setOutputChannelMute(ssrc: number, mute: boolean, handle?: M): number;
/**
 * Sets the playout volume of a received stream by business identity. Throws "Expected arguments :
 * info, volume" unless called with at least (object, number).
 */
export declare function deviceEngine_setOutputChannelVolumeBiz(info: BizInfo, volume: number): number;
/**
 * Mutes or unmutes a received stream by business identity. Throws "Expected arguments : info,
 * volume" unless called with at least (object, boolean).
 */
export declare function deviceEngine_setOutputChannelMuteBiz(info: BizInfo, mute: boolean): number;
/**
 * Starts recording the microphone to the callback (enableAec: echo cancellation). Throws "Expected
 * arguments : callback, enable_aec" unless called with at least (callbacks object, boolean).
 */
export declare function deviceEngine_startRecordingMicrophone(callback: MicrophoneRecordingCallbacks, enableAec: boolean, handle?: M): number;
/**
 * Starts recording the microphone for speech recognition, on the given device module. Throws
 * "Expected arguments : callback, nativeDeviceModule" unless called with at least (callbacks
 * object, number).
 */
export declare function deviceEngine_startRecordingMicrophoneForASR(callback: MicrophoneRecordingCallbacks, nativeDeviceModule: M): number;
/**
 * Starts recording the microphone to the callback, ending after timeoutMs. Throws "Expected
 * arguments : callback, timeout_ms(int)" unless called with at least (callbacks object, number).
 */
export declare function deviceEngine_startRecordingMicrophoneTimeout(callback: MicrophoneRecordingCallbacks, timeoutMs: number, handle?: M): number;
/**
 * Starts recording the microphone together with the speaker's data to the callback. Throws
 * "Expected arguments : callback" unless called with at least (callbacks object).
 */
export declare function deviceEngine_startRecordingMicrophoneWithSpeakerData(callback: MicrophoneRecordingCallbacks, handle?: M): number;
/**
 * Stops the microphone recording and writes its statistics into the given object. Throws "Expected
 * arguments : info" unless called with at least (object to write into).
 */
export declare function deviceEngine_stopRecordingMicrophone(info: RecordingStatistics, handle?: M): number;
/**
 * Writes the recording statistics so far into the given object and starts counting again. Throws
 * "Expected arguments : info" unless called with at least (object to write into).
 */
export declare function deviceEngine_getRecordInfoAndReset(info: RecordingStatistics, handle?: M): number;
/**
 * How many cameras there are. A stale, destroyed or forged device module handle gets the neutral
 * answer and a log line.
 */
export declare function deviceEngine_getNumOfCaptureDevices(handle?: M): number;
/**
 * How many microphones there are, with the engine's result. A stale, destroyed or forged device
 * module handle gets the neutral answer and a log line.
 */
export declare function deviceEngine_getNumOfRecordingDevices(handle?: M): DeviceCountResult;
/**
 * How many playout devices there are, with the engine's result. A stale, destroyed or forged device
 * module handle gets the neutral answer and a log line.
 */
export declare function deviceEngine_getNumOfPlayoutDevices(handle?: M): DeviceCountResult;
/**
 * Name, guid and transport type of camera number id (0 to count - 1). Throws "Expected arguments :
 * id" unless called with at least (number).
 */
export declare function deviceEngine_getCaptureDeviceName(id: number, handle?: M): DeviceInformation;
/**
 * Name, guid and transport type of microphone number id; -2 is the system default. Throws "Expected
 * arguments : id" unless called with at least (number).
 */
export declare function deviceEngine_getRecordingDeviceName(id: number, handle?: M): DeviceInformation;
/**
 * Name, guid and transport type of playout device number id; -2 is the system default. Throws
 * "Expected arguments : id" unless called with at least (number).
 */
export declare function deviceEngine_getPlayoutDeviceName(id: number, handle?: M): DeviceInformation;
/**
 * Name, guid and transport type of the system's default playout device. A stale, destroyed or
 * forged device module handle gets the neutral answer and a log line.
 */
export declare function deviceEngine_getDefaultPlayoutDeviceName(handle?: M): DeviceInformation;
/**
 * Name, guid and transport type of the system's default microphone. A stale, destroyed or forged
 * device module handle gets the neutral answer and a log line.
 */
export declare function deviceEngine_getDefaultRecordDeviceName(handle?: M): DeviceInformation;
/**
 * Selects the microphone by guid or name. Throws "Expected arguments : guid or name" unless called
 * with at least (string).
 */
export declare function deviceEngine_setRecordingDevice(guidOrName: string, handle?: M): number;
/**
 * Selects the playout device by guid or name. Throws "Expected arguments : guid or name" unless
 * called with at least (string).
 */
export declare function deviceEngine_setPlayoutDevice(guidOrName: string, handle?: M): number;
/**
 * Selects the system's default microphone. A stale, destroyed or forged device module handle gets
 * the neutral answer and a log line.
 */
export declare function deviceEngine_setDefaultRecordingDevice(handle?: M): number;
/**
 * Selects the system's default playout device. A stale, destroyed or forged device module handle
 * gets the neutral answer and a log line.
 */
export declare function deviceEngine_setDefaultPlayoutDevice(handle?: M): number;
/**
 * The index of the microphone with this guid or name, or the engine's negative result. Throws
 * "Expected arguments : guid" unless called with at least (string).
 */
export declare function deviceEngine_getRecordingDeviceIndex(guid: string, handle?: M): number;
/**
 * The index of the playout device with this guid or name, or the engine's negative result. Throws
 * "Expected arguments : guid" unless called with at least (string).
 */
export declare function deviceEngine_getPlayoutDeviceIndex(guid: string, handle?: M): number;
/**
 * The index of the camera with this guid or name, or the engine's negative result. Throws "Expected
 * arguments : guid or name" unless called with at least (string).
 */
export declare function deviceEngine_getCaptureDeviceIndexByGUID(guidOrName: string, handle?: M): number;
/**
 * Starts the microphone test (the input played back). A stale, destroyed or forged device module
 * handle gets the neutral answer and a log line.
 */
export declare function deviceEngine_startTestMicrophone(handle?: M): number;
/**
 * Stops the microphone test. A stale, destroyed or forged device module handle gets the neutral
 * answer and a log line.
 */
export declare function deviceEngine_stopTestMicrophone(handle?: M): number;
/**
 * Opens the camera with this guid in the given format for a test; frames reach the callback. Throws
 * "Expected arguments : strGuid, callback, captureFormat" unless called with at least (string,
 * callbacks object, object).
 */
export declare function deviceEngine_startTestCamera(guid: string, callback: VideoFrameCallbacks, captureFormat: CaptureFormat, handle?: M): number;
/**
 * Stops the camera test. A stale, destroyed or forged device module handle gets the neutral answer
 * and a log line.
 */
export declare function deviceEngine_stopTestCamera(handle?: M): number;
/**
 * Selects the camera with this guid and its capture format. Throws "Expected arguments : guid
 * ,formate" unless called with at least (string, object).
 */
export declare function deviceEngine_setCaptureDeviceInfo(guid: string, format: CaptureFormat): number;
/**
 * The capture formats of the camera with this guid, with the engine's result. Throws "Expected
 * arguments : guid" unless called with at least (string).
 */
export declare function deviceEngine_getCaptureDeviceFormatList(guid: string, handle?: M): FormatListResult;
/**
 * Whether the engine follows changes of the system's default devices. Throws "Expected arguments :
 * enable" unless called with at least (boolean).
 */
export declare function deviceEngine_handleDefaultDeviceChange(enable: boolean, handle?: M): number;
/**
 * Whether the microphone is recording; -1 without an engine. A stale, destroyed or forged device
 * module handle gets the neutral answer and a log line.
 */
export declare function deviceEngine_isAudioRecording(handle?: M): boolean | -1;
/**
 * Reports recording, playout and loopback data exceptions to the callback. Throws "Expected
 * arguments : callback" unless called with at least (callbacks object).
 */
export declare function deviceEngine_registerAudioDeviceDataExceptionCallback(callback: AudioDeviceDataExceptionCallbacks): number;
/** Stops the data exception reports. */
export declare function deviceEngine_unRegisterAudioDeviceDataExceptionCallback(): number;
/** Whether the system audio loopback device is installed. */
export declare function deviceEngine_isLoopbackDeviceExist(): boolean;
/**
 * Installs the system audio loopback device; the outcome reaches the callback. Throws "Live device
 * engine is not created yet." without an engine. Throws "Expected 3 arguments" unless called with
 * exactly (string, string, any value).
 */
export declare function deviceEngine_installLoopbackDevice(a: string, b: string, callback: object | Function): number;
/**
 * Cancels a running loopback device installation. Throws "Live device engine is not created yet."
 * without an engine.
 */
export declare function deviceEngine_cancelInstallLoopbackDevice(): number;
/** Starts capturing the system's audio output. */
export declare function deviceEngine_startSystemAudioLoopback(): number;
/** Stops capturing the system's audio output. */
export declare function deviceEngine_stopSystemAudioLoopback(): number;
/**
 * Restarts the system's audio service; the outcome reaches the callback. Throws "Live device engine
 * is not created yet." without an engine. Throws "Expected 2 arguments" unless called with exactly
 * (string, any value).
 */
export declare function deviceEngine_restartCoreAudioService(a: string, callback: object | Function): number;
/**
 * Sets where the engine saves its audio parameters. Throws "Expected arguments :
 * AudioParamSavePath" unless called with at least (string).
 */
export declare function deviceEngine_setAudioParamSavePath(path: string): number;
/**
 * Opens the camera with this guid as track type `type` in the given format; frames reach the view.
 * Throws "Expected arguments : guid, type, view, format" unless called with at least (string,
 * number, callbacks object, object).
 */
export declare function deviceEngine_openCamera(guid: string, type: number, view: VideoFrameCallbacks, format: CaptureFormat, handle?: M): number;
/**
 * Closes the camera of track type `type`. Throws "Expected arguments : type" unless called with at
 * least (number).
 */
export declare function deviceEngine_closeCamera(type: number, handle?: M): number;
/**
 * Takes a photo of the camera at width x height (mirrored or not); the picture reaches the
 * callback. Throws "Expected arguments : width, height, callback, mirror" unless called with at
 * least (number, number, callbacks object, boolean).
 */
export declare function deviceEngine_capturePhoto(width: number, height: number, callback: PhotoCallbacks, mirror: boolean): number;
/**
 * Whether screen capture may be requested: false only for a process with a full (elevated)
 * administrator token on Windows; logs the user's and the token's kind. Elsewhere true.
 */
export declare function deviceEngine_RequestScreenCaptureAccess(): boolean;
/** Whether the desktop composition (Aero) is on; always true from Windows 8 on. */
export declare function deviceEngine_IsAeroEnabled(): boolean;
/**
 * The windows that can be captured, each with id, title and size. Throws "Invalid arguments" when
 * given any argument.
 */
export declare function deviceEngine_getWindowsList(): WindowSource[];
/**
 * The screens that can be captured, each with id and title. Throws "Invalid arguments" when given
 * any argument.
 */
export declare function deviceEngine_getScreenList(): ScreenSource[];
/** Position, size and state of the window with this id, or undefined without an engine. */
export declare function deviceEngine_getWindowStatus(windowId: number): WindowStatus | undefined;
/** Rotates the captured camera picture of the device engine. */
export declare function deviceEngine_setCaptureRotation(rotation: number): number;
/**
 * Configures the detector of a frozen camera picture; its reports reach the config's callback.
 * Throws "Expected arg index 0 to be bizinfo." unless called with at least (object).
 */
export declare function deviceEngine_enableStaticFrameDetector(config: StaticFrameDetectorConfig): number;
/**
 * Reports device errors to the callback. Throws "Expected arguments : callback" unless called with
 * at least (callbacks object).
 */
export declare function deviceEngine_registerDeviceErrorCallback(callback: DeviceErrorCallbacks): number;
/** Stops the device error reports. */
export declare function deviceEngine_unregisterDeviceErrorCallback(): number;
/**
 * Reports device events and errors to the callback. Throws "Expected arguments : callback" unless
 * called with at least (callbacks object).
 */
export declare function deviceEngine_registerDeviceEventCallback(callback: DeviceEventCallbacks): number;
/** Stops the device event reports. */
export declare function deviceEngine_unregisterDeviceEventCallback(): number;
/**
 * Tells the engine the Electron version the app runs on. Throws "Expected 1 arguments" unless
 * called with at least (number).
 */
export declare function deviceEngine_setElectronVersion(version: number): void;
