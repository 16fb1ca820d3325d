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

/**
 * Refreshes the diagnostic data to upload for the live scene: 0. Throws "Expected 0 arguments" when
 * given any argument.
 */
export declare function dumpDataUpload_refreshUploadDataInLiveScene(): number;
/**
 * Sets the rules of which diagnostic data to keep: 0. Throws "Expected 1 arguments, 1st is string"
 * unless called with exactly (string).
 */
export declare function dumpDataUpload_updateSalvageRules(rules: string): number;
/** Starts uploading diagnostic data: 0. Throws "Expected 0 arguments" when given any argument. */
export declare function dumpDataUpload_startUpload(): number;
/** Stops uploading diagnostic data: 0. Throws "Expected 0 arguments" when given any argument. */
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

/**
 * Answers the engine's status (0 a face). Throws "Expected arguments: imagePath (string), result
 * (object)" unless called with at least (string, object to write into).
 */
export declare function detectFaceSync(imagePath: string, result: Partial<FaceDetectResult> | object): number;
/**
 * format: 1 I420 (width * height * 3 / 2 bytes, chroma rounded up), 2 RGB24, 3 RGBA. Answers -5 for
 * an empty buffer, a side below 1 or a buffer shorter than the format needs, -4 for another format
 * (the engine is not called), -10 when refused. Throws "Expected arguments: buffer (Buffer), width
 * (number), height (number), format (number), result (object)" unless called with at least (typed
 * array or Buffer, number, number, number, object to write into).
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

/**
 * Sets the analytics client's user and server. Throws "Expected arguments : config" unless called
 * with at least (object).
 */
export declare function tallyV2_updateConfig(config: { userId: number; serverHost: string }): void;
/**
 * Updates the analytics header of a category: values set and removed. Throws "Expected arguments :
 * header, category" unless called with at least (object, number).
 */
export declare function tallyV2_updateHeader(header: TallyMaps, category: number): void;
/**
 * Updates the analytics common state of a category. Throws "Expected arguments : common_state,
 * category" unless called with at least (object, number).
 */
export declare function tallyV2_updateCommonState(commonState: TallyMaps, category: number): void;
/**
 * Posts an analytics entry with its values. Throws "Expected arguments : entry, category" unless
 * called with at least (object, number).
 */
export declare function tallyV2_postValueEntry(entry: TallyValueEntry, category: number): void;
/**
 * Posts an analytics entry already serialised. Throws "Expected arguments : entry, category" unless
 * called with at least (object, number).
 */
export declare function tallyV2_postSerializedEntry(entry: { url: string; serializedValue: string }, category: number): void;
/**
 * Reports every analytics header update and entry to the object (onLocalTallyUpdateHeader,
 * onLocalTallyPostValueEntry), for tests. Throws "Expected arguments : clientLocalTallyCallback"
 * unless called with at least (callbacks object).
 */
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

/**
 * Initialises the download accelerator with its configuration. Throws "Expected arguments: config"
 * unless called with exactly (object).
 */
export declare function skiff_init(config: SkiffConfig): void;
/** Has the download accelerator report its statistics to the add-on. */
export declare function skiff_setDownloadStatisticCallback(): void;
/** Tells the download accelerator that the network changed. */
export declare function skiff_onNetworkTypeChanged(): void;

// ---- networkProber_* ----------------------------------------------------------------------

export interface NetworkProbeResult {
  isConnected: boolean;
  rtt: number;
  lossRate: number;
}

/** Starts probing the network. */
export declare function networkProber_startEsProber(): void;
/** Stops probing the network. */
export declare function networkProber_stopEsProber(): void;
/**
 * Writes isConnected, rtt and lossRate into `result`; answers 0. Throws "Expected 1 arguments"
 * unless called with exactly (any value).
 */
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

/**
 * Initialises the SDK with its configuration; the engine's log records reach
 * logCallback.onLogMessage. The result code. Throws "invalid arguments: QXInitConfig,
 * QXLogCallback" unless called with at least (object, callbacks object).
 */
export declare function QXEngineSdk_Init(config: QXInitConfig, logCallback: QXLogCallback): number;
/** The SDK's version. */
export declare function QXEngineSdk_Version(): string;
/**
 * Updates the SDK's user: the result code. Throws "invalid arguments: user_config" unless called
 * with at least (object).
 */
export declare function QXEngineSdk_UpdateUserConfig(userConfig: Partial<QXUserConfig>): number;
/**
 * Switches the SDK between the test and the production environment: the result code. Throws
 * "invalid arguments: test environment" unless called with at least (boolean, string, string).
 */
export declare function QXEngineSdk_UpdateEnvironment(testEnvironment: boolean, first: string, second: string): number;
/**
 * Hands the SDK the session cookies. Throws "Expected 1 arguments: cookies" unless called with
 * exactly (string).
 */
export declare function QXEngineSdk_UpdateCookie(cookies: string): void;

// ---- QXDeviceSetting_* ---------------------------------------------------------------------

export interface QXDeviceSettingInfo {
  agcStatus: boolean;
  preprocessorMode: number;
  micVolume: number;
  speakerVolume: number;
}

/**
 * Does nothing at all while the source flag "disableSyncDeviceSetting20260205" is on. Throws
 * "Expected arguments: setting (object)" unless called with at least (object).
 */
export declare function QXDeviceSetting_updateSetting(setting: Partial<QXDeviceSettingInfo>): void;
/**
 * Calls the function with each device setting the engine syncs; null removes it. Throws "Expected
 * arguments: callback (function or null)" unless called with at least (function or null).
 */
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

/**
 * 0 when the engine made no agent. Throws "Expected arguments: config, callback" unless called with
 * exactly (object, callbacks object).
 */
export declare function QXAIAgent_createInstance(config: QXAIAgentConfig, callback: QXAIAgentCallback): AgentPtr | 0;
/**
 * Destroys the agent; its handle is stale afterwards and no later event is delivered. Throws
 * "Expected arguments: agent_ptr" unless called with exactly (number). A stale, destroyed or forged
 * agent handle gets the neutral answer and a log line.
 */
export declare function QXAIAgent_destroyInstance(agent_ptr: AgentPtr): number;
/**
 * Connects the agent. Throws "Expected arguments: agent_ptr" unless called with exactly (number). A
 * stale, destroyed or forged agent handle gets the neutral answer and a log line.
 */
export declare function QXAIAgent_start(agent_ptr: AgentPtr): number;
/**
 * Disconnects the agent. Throws "Expected arguments: agent_ptr" unless called with exactly
 * (number). A stale, destroyed or forged agent handle gets the neutral answer and a log line.
 */
export declare function QXAIAgent_stop(agent_ptr: AgentPtr): number;
/**
 * Starts sending the microphone to the agent. Throws "Expected arguments: agent_ptr" unless called
 * with exactly (number). A stale, destroyed or forged agent handle gets the neutral answer and a
 * log line.
 */
export declare function QXAIAgent_startListening(agent_ptr: AgentPtr): number;
/**
 * Starts sending audio that the handler provides instead of the microphone. Throws "Expected
 * arguments: agent_ptr, handler" unless called with exactly (number, object). A stale, destroyed or
 * forged agent handle gets the neutral answer and a log line.
 */
export declare function QXAIAgent_startListeningWithProvider(agent_ptr: AgentPtr, handler: QXAIAudioHandler): number;
/**
 * Stops sending audio to the agent. Throws "Expected arguments: agent_ptr" unless called with
 * exactly (number). A stale, destroyed or forged agent handle gets the neutral answer and a log
 * line.
 */
export declare function QXAIAgent_stopListening(agent_ptr: AgentPtr): number;
/**
 * Mutes or unmutes what is sent to the agent. Throws "Expected arguments: agent_ptr, mute" unless
 * called with exactly (number, boolean). A stale, destroyed or forged agent handle gets the neutral
 * answer and a log line.
 */
export declare function QXAIAgent_setMicrophoneSendMute(agent_ptr: AgentPtr, mute: boolean): number;
/**
 * Mutes or unmutes the agent's voice. Throws "Expected arguments: agent_ptr, mute" unless called
 * with exactly (number, boolean). A stale, destroyed or forged agent handle gets the neutral answer
 * and a log line.
 */
export declare function QXAIAgent_setAIPlayoutMute(agent_ptr: AgentPtr, mute: boolean): number;
/**
 * Sends a text message to the agent. Throws "Expected arguments: agent_ptr, message" unless called
 * with exactly (number, string). A stale, destroyed or forged agent handle gets the neutral answer
 * and a log line.
 */
export declare function QXAIAgent_sendMessage(agent_ptr: AgentPtr, message: string): number;
/**
 * The agent's connection state. Throws "Expected arguments: agent_ptr" unless called with exactly
 * (number). A stale, destroyed or forged agent handle gets the neutral answer and a log line.
 */
export declare function QXAIAgent_getConnectionState(agent_ptr: AgentPtr): number;
/**
 * The difference between the server's clock and this machine's, in milliseconds. Throws "Expected
 * arguments: agent_ptr" unless called with exactly (number). A stale, destroyed or forged agent
 * handle gets the neutral answer and a log line.
 */
export declare function QXAIAgent_getServerClockDiffMs(agent_ptr: AgentPtr): number;
/**
 * Reports the agent's actions to the callback. Throws "Expected arguments: agent_ptr, callback"
 * unless called with exactly (number, callbacks object). A stale, destroyed or forged agent handle
 * gets the neutral answer and a log line.
 */
export declare function QXAIAgent_registerActionCallback(agent_ptr: AgentPtr, callback: QXAIActionCallback): number;
/**
 * Stops the action reports. Throws "Expected arguments: agent_ptr" unless called with exactly
 * (number). A stale, destroyed or forged agent handle gets the neutral answer and a log line.
 */
export declare function QXAIAgent_unRegisterActionCallback(agent_ptr: AgentPtr): number;
/**
 * Reports the play status of the agent's audio to the callback. Throws "Expected arguments:
 * agent_ptr, callback" unless called with exactly (number, function). A stale, destroyed or forged
 * agent handle gets the neutral answer and a log line.
 */
export declare function QXAIAgent_registerAIAgentAudioPlayStatusCallback(agent_ptr: AgentPtr, callback: QXAIAudioPlayStatusCallback): number;
/**
 * Stops the audio play status reports. Throws "Expected arguments: agent_ptr" unless called with
 * exactly (number). A stale, destroyed or forged agent handle gets the neutral answer and a log
 * line.
 */
export declare function QXAIAgent_unRegisterAIAgentAudioPlayStatusCallback(agent_ptr: AgentPtr): number;
/**
 * The user's current audio level. Throws "Expected arguments: agent_ptr" unless called with exactly
 * (number). A stale, destroyed or forged agent handle gets the neutral answer and a log line.
 */
export declare function QXAIAgent_getUserAudioLevel(agent_ptr: AgentPtr): number;
/**
 * The agent's current audio level. Throws "Expected arguments: agent_ptr" unless called with
 * exactly (number). A stale, destroyed or forged agent handle gets the neutral answer and a log
 * line.
 */
export declare function QXAIAgent_getAIAudioLevel(agent_ptr: AgentPtr): number;
/**
 * Publishes the camera to the agent. Throws "Expected arguments: agent_ptr, config" unless called
 * with exactly (number, object). A stale, destroyed or forged agent handle gets the neutral answer
 * and a log line.
 */
export declare function QXAIAgent_publishCamera(agent_ptr: AgentPtr, config: QXAICameraConfig): number;
/**
 * Stops publishing the camera to the agent. Throws "Expected arguments: agent_ptr" unless called
 * with exactly (number). A stale, destroyed or forged agent handle gets the neutral answer and a
 * log line.
 */
export declare function QXAIAgent_unpublishCamera(agent_ptr: AgentPtr): number;
