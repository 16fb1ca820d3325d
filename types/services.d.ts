// Declarations of the environment services, the HTTP executor's class and
// the AI agent. Module-style: re-exported by index.d.ts.
/// <reference types="node" />
import type { Handle } from './handles';

// ---- HTTP requests of the engine, executed by JavaScript ---------------------------

/** A header as the engine set it; requests keep their order and duplicates. */
export interface HttpHeader {
  name: string;
  value: string;
}

/** What executeHttpRequest receives. */
export interface HttpRequest {
  url: string;
  /** The engine's method code: 0 GET, 1 POST, 2 PUT, 3 DELETE, 4 HEAD. */
  method: number;
  /** What the engine asks for: 0 generic, 1 scheduler look-up, 2 report. */
  type: number;
  headers: HttpHeader[];
  /** Present only when the request has a body. */
  body?: Buffer;
}

/** The answer JavaScript gives; values are coerced (status to a number, names and values to strings). */
export interface HttpResponse {
  statusCode: number;
  headers?: Array<{ name: string; value: string }>;
  body?: Buffer | Uint8Array;
}

/**
 * Completes one engine request, once: later calls do nothing. An instance
 * that is collected without an answer completes its request as failed with
 * "HttpRequestCallback was collected without an answer".
 */
export declare class HttpRequestCallback {
  /** An instance made by JavaScript owns no request; its answers do nothing. */
  constructor();
  onSuccess(response: HttpResponse): void;
  /** Exactly two arguments, else throws "Expected 2 arguments" and the request stays pending. */
  onFailed(response: HttpResponse, message: string): void;
}

/** The part of the live client given to engineSdk_onAppInit that runs the engine's HTTP requests. */
export interface HttpExecutingLiveClient {
  /** Its return value is ignored; answer later through `callback`. */
  executeHttpRequest(request: HttpRequest, callback: HttpRequestCallback, value: number): unknown;
}

// ---- dumpDataUpload_* ---------------------------------------------------------------

export declare function dumpDataUpload_refreshUploadDataInLiveScene(): number;
export declare function dumpDataUpload_updateSalvageRules(rules: string): number;
export declare function dumpDataUpload_startUpload(): number;
export declare function dumpDataUpload_stopUpload(): number;

// ---- face detection ---------------------------------------------------------------------

/** Written into the caller's result object. */
export interface FaceDetectResult {
  faceLeft: number;
  faceRight: number;
  faceTop: number;
  faceBottom: number;
  score: number;
  yaw: number;
  pitch: number;
  eyeDistance: number;
  id: number;
  action: number;
  picWidth: number;
  picHeight: number;
}

/** Answers the engine's status (0 a face). */
export declare function detectFaceSync(imagePath: string, result: Partial<FaceDetectResult> | object): number;
/**
 * format: 1 I420 (width * height * 3 / 2 bytes, chroma rounded up), 2 RGB24, 3 RGBA.
 * Answers -5 for an empty buffer, a side below 1 or a buffer shorter than the
 * format needs, -4 for another format (the engine is not called), -10 when refused.
 */
export declare function detectFaceSyncWithBuffer(buffer: Buffer | Uint8Array, width: number, height: number,
  format: number, result: Partial<FaceDetectResult> | object): number;

// ---- tallyV2_* -------------------------------------------------------------------------

export interface TallyKeyValue<V> {
  key: string;
  value: V;
}

export interface TallyMaps {
  strValues?: Array<TallyKeyValue<string | number>>;
  numValues?: Array<TallyKeyValue<number | string>>;
  removeStrValues?: string[];
  removeNumValues?: string[];
}

export interface TallyValueEntry {
  url: string;
  strValues?: Array<TallyKeyValue<string | number>>;
  numValues?: Array<TallyKeyValue<number | string>>;
}

/** Receives what the analytics client is given (dispatcher deliveries). */
export interface LocalTallyCallback {
  onLocalTallyUpdateHeader?(strValues: Array<TallyKeyValue<string>>, numValues: Array<TallyKeyValue<number>>): void;
  onLocalTallyPostValueEntry?(url: string, values: Array<TallyKeyValue<string | number>>, category: number): void;
}

export declare function tallyV2_updateConfig(config: { userId: number; serverHost: string }): void;
export declare function tallyV2_updateHeader(header: TallyMaps, category: number): void;
export declare function tallyV2_updateCommonState(commonState: TallyMaps, category: number): void;
export declare function tallyV2_postValueEntry(entry: TallyValueEntry, category: number): void;
export declare function tallyV2_postSerializedEntry(entry: { url: string; serializedValue: string }, category: number): void;
export declare function tallyV2_setLocalTallyCallbackForTest(clientLocalTallyCallback: LocalTallyCallback): void;

// ---- skiff_* ----------------------------------------------------------------------------

export interface SkiffConfig {
  downloadPath: string;
  appType: number;
  proxyHost: string;
  proxyPort: number;
  parallelProjectCount: number;
  parallelTaskCount: number;
  parallelBlockCount: number;
}

export declare function skiff_init(config: SkiffConfig): void;
export declare function skiff_setDownloadStatisticCallback(): void;
export declare function skiff_onNetworkTypeChanged(): void;

// ---- networkProber_* ----------------------------------------------------------------------

export interface NetworkProbeResult {
  isConnected: boolean;
  rtt: number;
  lossRate: number;
}

export declare function networkProber_startEsProber(): void;
export declare function networkProber_stopEsProber(): void;
/** Writes isConnected, rtt and lossRate into `result`; answers 0. */
export declare function networkProber_getEsProberResult(result: Partial<NetworkProbeResult> | object): number;

// ---- QXEngineSdk_* ------------------------------------------------------------------------

export interface QXUserConfig {
  userId: number;
  userType: number;
}

/** Every key is read only when present, strictly (a wrong type throws and nothing reaches the engine). */
export interface QXInitConfig {
  tenantId?: number;
  productId?: number;
  tallyHost?: string;
  serviceHost?: string;
  testEnvironment?: boolean;
  userConfig?: Partial<QXUserConfig>;
  cachePath?: string;
}

/** The "addon_log" executor: every engine log record, except the lines written while it runs. */
export interface QXLogCallback {
  onLogMessage?(message: string, fields: Array<{ key: string; value: string }>): void;
}

export declare function QXEngineSdk_Init(config: QXInitConfig, logCallback: QXLogCallback): number;
export declare function QXEngineSdk_Version(): string;
export declare function QXEngineSdk_UpdateUserConfig(userConfig: Partial<QXUserConfig>): number;
export declare function QXEngineSdk_UpdateEnvironment(testEnvironment: boolean, first: string, second: string): number;
export declare function QXEngineSdk_UpdateCookie(cookies: string): void;

// ---- QXDeviceSetting_* ---------------------------------------------------------------------

export interface QXDeviceSettingInfo {
  agcStatus: boolean;
  preprocessorMode: number;
  micVolume: number;
  speakerVolume: number;
}

/** Does nothing at all while the source flag "disableSyncDeviceSetting20260205" is on. */
export declare function QXDeviceSetting_updateSetting(setting: Partial<QXDeviceSettingInfo>): void;
export declare function QXDeviceSetting_setDeviceSettingCallback(callback: ((setting: QXDeviceSettingInfo) => void) | null): void;

// ---- QXAIAgent_* --------------------------------------------------------------------------

/** A live agent; refused with "agent_ptr is 0" once destroyed (or never one). */
export type AgentPtr = Handle<'agent'>;

/** Read strictly: every key but enableVideo is required. */
export interface QXAIAgentConfig {
  userId: number;
  agentId: number;
  signature: string;
  authExtension: string;
  noTimeout: boolean;
  /** Used only when a boolean. */
  enableVideo?: boolean;
}

export interface QXAICameraConfig {
  hd?: boolean;
  cameraDeviceId?: string;
  useFrontCamera?: boolean;
}

/** Methods that are missing, undefined or null drop their events. */
export interface QXAIAgentCallback {
  onAIAgentConnectionStateChanged?(state: number): void;
  onAIAgentConnectionError?(error: { code: number; subcode: number; failReason: number; message: string }): void;
  onAIAgentVadStateChanged?(speaking: boolean): void;
  onUserVadStateChanged?(speaking: boolean): void;
  onAIAgentMessage?(message: { message: string }): void;
}

export interface QXAIActionCallback {
  onActionStatus?(status: { actionType: number; durationMs: number; extraData: Buffer }): void;
}

export type QXAIAudioPlayStatusCallback = (status: { pcmIndex: number; playStatus: number; playPtsMs: number }) => void;

/**
 * Called once when listening starts. `data` holds 16-bit samples; they are
 * padded in front with zeros to whole 20 ms frames (sampleRate * channels / 50).
 */
export interface QXAIAudioHandler {
  getAudioData(): { sampleRate: number; channels: number; data: Buffer | Int16Array } | null | undefined;
}

/** 0 when the engine made no agent. */
/** 0 when the engine made no agent. */
export declare function QXAIAgent_createInstance(config: QXAIAgentConfig, callback: QXAIAgentCallback): AgentPtr | 0;
export declare function QXAIAgent_destroyInstance(agent_ptr: AgentPtr): number;
export declare function QXAIAgent_start(agent_ptr: AgentPtr): number;
export declare function QXAIAgent_stop(agent_ptr: AgentPtr): number;
export declare function QXAIAgent_startListening(agent_ptr: AgentPtr): number;
export declare function QXAIAgent_startListeningWithProvider(agent_ptr: AgentPtr, handler: QXAIAudioHandler): number;
export declare function QXAIAgent_stopListening(agent_ptr: AgentPtr): number;
export declare function QXAIAgent_setMicrophoneSendMute(agent_ptr: AgentPtr, mute: boolean): number;
export declare function QXAIAgent_setAIPlayoutMute(agent_ptr: AgentPtr, mute: boolean): number;
export declare function QXAIAgent_sendMessage(agent_ptr: AgentPtr, message: string): number;
export declare function QXAIAgent_getConnectionState(agent_ptr: AgentPtr): number;
export declare function QXAIAgent_getServerClockDiffMs(agent_ptr: AgentPtr): number;
export declare function QXAIAgent_registerActionCallback(agent_ptr: AgentPtr, callback: QXAIActionCallback): number;
export declare function QXAIAgent_unRegisterActionCallback(agent_ptr: AgentPtr): number;
export declare function QXAIAgent_registerAIAgentAudioPlayStatusCallback(agent_ptr: AgentPtr, callback: QXAIAudioPlayStatusCallback): number;
export declare function QXAIAgent_unRegisterAIAgentAudioPlayStatusCallback(agent_ptr: AgentPtr): number;
export declare function QXAIAgent_getUserAudioLevel(agent_ptr: AgentPtr): number;
export declare function QXAIAgent_getAIAudioLevel(agent_ptr: AgentPtr): number;
export declare function QXAIAgent_publishCamera(agent_ptr: AgentPtr, config: QXAICameraConfig): number;
export declare function QXAIAgent_unpublishCamera(agent_ptr: AgentPtr): number;
