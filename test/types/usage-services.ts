// How an app uses the environment services, the engine's HTTP requests and
// the AI agent, type-checked against the declarations (never run).
import * as addon from 'lumen_engine_addon';
import type {
  AgentPtr,
  FaceDetectResult,
  HttpExecutingLiveClient,
  HttpHeader,
  HttpRequest,
  HttpRequestCallback,
  HttpResponse,
  LiveClient,
  LocalTallyCallback,
  NetworkProbeResult,
  QXAIActionCallback,
  QXAIAgentCallback,
  QXAIAgentConfig,
  QXAIAudioHandler,
  QXAIAudioPlayStatusCallback,
  QXAICameraConfig,
  QXDeviceSettingInfo,
  QXInitConfig,
  QXLogCallback,
  QXUserConfig,
  SkiffConfig,
  TallyKeyValue,
  TallyMaps,
  TallyValueEntry,
} from 'lumen_engine_addon';

// ---- the engine's HTTP requests, run with fetch ---------------------------------------

const METHODS = ['GET', 'POST', 'PUT', 'DELETE', 'HEAD'];

const http: HttpExecutingLiveClient = {
  executeHttpRequest(request: HttpRequest, callback: HttpRequestCallback, value: number) {
    const headers = request.headers.map((h: HttpHeader): [string, string] => [h.name, h.value]);
    const timeout = AbortSignal.timeout(value > 0 ? value : 10_000);
    return fetch(request.url, { method: METHODS[request.method] ?? 'GET', headers, body: request.body, signal: timeout })
      .then(async (res) => {
        const answer: HttpResponse = { statusCode: res.status, headers: [], body: Buffer.from(await res.arrayBuffer()) };
        res.headers.forEach((v, name) => answer.headers?.push({ name, value: v }));
        callback.onSuccess(answer);
      })
      .catch((err: unknown) => callback.onFailed({ statusCode: 0 }, String(err)));
  },
};

const cache = new Map<string, Buffer>();
const liveClient: LiveClient = {
  onWriteCache: (key, value) => void cache.set(key, value),
  onDeleteCache: (key) => void cache.delete(key),
  executeHttpRequest: (request, callback, value) => void http.executeHttpRequest(request, callback, value),
};
addon.engineSdk_onAppInit(liveClient, '4.60.0');

// An instance made here owns no request: answering it is harmless.
const detached = new addon.HttpRequestCallback();
detached.onSuccess({ statusCode: 204 });
detached.onFailed({ statusCode: 503, headers: [{ name: 'Retry-After', value: '5' }], body: new Uint8Array(0) }, 'busy');

// ---- engine SDK, log records and device settings --------------------------------------

const logLines: string[] = [];
const logCallback: QXLogCallback = {
  onLogMessage(message, fields) {
    logLines.push(`${message} ${fields.map((f) => `${f.key}=${f.value}`).join(' ')}`);
  },
};
const user: QXUserConfig = { userId: 10086, userType: 1 };
const initConfig: QXInitConfig = {
  tenantId: 7,
  productId: 3,
  tallyHost: 'tally.example.invalid',
  serviceHost: 'api.example.invalid',
  testEnvironment: false,
  userConfig: user,
  cachePath: '/tmp/lumen-cache',
};
const sdkResults: number[] = [
  addon.QXEngineSdk_Init(initConfig, logCallback),
  addon.QXEngineSdk_UpdateUserConfig({ userType: 2 }),
  addon.QXEngineSdk_UpdateEnvironment(true, 'tally.test.invalid', 'api.test.invalid'),
];
const sdkVersion: string = addon.QXEngineSdk_Version();
addon.QXEngineSdk_UpdateCookie('session=abc; lang=en');

let lastSetting: QXDeviceSettingInfo | undefined;
addon.QXDeviceSetting_setDeviceSettingCallback((setting) => {
  lastSetting = setting;
  console.log(setting.agcStatus, setting.preprocessorMode, setting.micVolume / 100, setting.speakerVolume);
});
addon.QXDeviceSetting_updateSetting({ micVolume: 80, agcStatus: true });
addon.QXDeviceSetting_setDeviceSettingCallback(null);

// ---- analytics, downloads, probing, dump uploads ----------------------------------------

const entries: Array<[string, number]> = [];
const tallyCallback: LocalTallyCallback = {
  onLocalTallyUpdateHeader(strValues, numValues) {
    console.log(strValues.map((kv) => kv.value.toUpperCase()), numValues.map((kv) => kv.value.toFixed(0)));
  },
  // Also receives the download statistics once skiff_setDownloadStatisticCallback ran.
  onLocalTallyPostValueEntry(url, values: Array<TallyKeyValue<string | number>>, category) {
    entries.push([url, values.length + category]);
  },
};
addon.tallyV2_setLocalTallyCallbackForTest(tallyCallback);
addon.tallyV2_updateConfig({ userId: 10086, serverHost: 'tally.example.invalid' });
const header: TallyMaps = {
  strValues: [{ key: 'app', value: 'classroom' }, { key: 'build', value: 4060 }],
  numValues: [{ key: 'cores', value: 2 }],
  removeStrValues: ['oldKey'],
};
addon.tallyV2_updateHeader(header, 1);
addon.tallyV2_updateCommonState({ numValues: [{ key: 'roomId', value: 31 }], removeNumValues: ['lessonId'] }, 1);
const entry: TallyValueEntry = { url: 'classroom/enter', strValues: [{ key: 'result', value: 'ok' }], numValues: [{ key: 'ms', value: 230 }] };
addon.tallyV2_postValueEntry(entry, 0);
addon.tallyV2_postSerializedEntry({ url: 'classroom/leave', serializedValue: '{"ms":12}' }, 0);

const skiff: SkiffConfig = {
  downloadPath: '/tmp/skiff',
  appType: 2,
  proxyHost: '',
  proxyPort: 0,
  parallelProjectCount: 2,
  parallelTaskCount: 4,
  parallelBlockCount: 8,
};
addon.skiff_init(skiff);
addon.skiff_setDownloadStatisticCallback();
addon.skiff_onNetworkTypeChanged();

addon.networkProber_startEsProber();
const probe: Partial<NetworkProbeResult> = {};
const probed: number = addon.networkProber_getEsProberResult(probe);
if (probed === 0 && probe.isConnected) console.log(probe.rtt, probe.lossRate);
addon.networkProber_stopEsProber();

const dumpResults: number[] = [
  addon.dumpDataUpload_updateSalvageRules('{"rules":[{"type":"audio","maxBytes":1048576}]}'),
  addon.dumpDataUpload_startUpload(),
  addon.dumpDataUpload_refreshUploadDataInLiveScene(),
  addon.dumpDataUpload_stopUpload(),
];

// ---- face detection ------------------------------------------------------------------------

const face: Partial<FaceDetectResult> = {};
const width = 640;
const height = 480;
const i420 = Buffer.alloc((width * height * 3) / 2);
const faceStatus: number[] = [
  addon.detectFaceSync('/tmp/snapshot.jpg', face),
  addon.detectFaceSyncWithBuffer(i420, width, height, 1, face),
  addon.detectFaceSyncWithBuffer(new Uint8Array(width * height * 4), width, height, 3, {}),
];
if (faceStatus[0] === 0 && face.faceRight !== undefined && face.faceLeft !== undefined) {
  console.log(face.faceRight - face.faceLeft, face.score, face.yaw, face.pitch);
}

// ---- the AI agent -------------------------------------------------------------------------

class AgentPanel implements QXAIAgentCallback {
  state = 0;
  speaking = false;
  transcript: string[] = [];
  onAIAgentConnectionStateChanged(state: number) { this.state = state; }
  onAIAgentConnectionError(error: { code: number; subcode: number; failReason: number; message: string }) {
    this.transcript.push(`error ${error.code}/${error.subcode} (${error.failReason}): ${error.message}`);
  }
  onAIAgentVadStateChanged(speaking: boolean) { this.speaking = speaking; }
  onUserVadStateChanged(speaking: boolean) { if (speaking) this.speaking = false; }
  onAIAgentMessage(message: { message: string }) { this.transcript.push(message.message); }
}

const actions: QXAIActionCallback = {
  onActionStatus(status) {
    console.log(status.actionType, status.durationMs, status.extraData.toString('utf8'));
  },
};
const playStatus: QXAIAudioPlayStatusCallback = (status) => {
  console.log(status.pcmIndex, status.playStatus, status.playPtsMs);
};
// A recorded greeting: 16 kHz mono, 16-bit samples.
const greeting: QXAIAudioHandler = {
  getAudioData() {
    return { sampleRate: 16000, channels: 1, data: new Int16Array(16000) };
  },
};

const panel = new AgentPanel();
const agentConfig: QXAIAgentConfig = {
  userId: 10086,
  agentId: 42,
  signature: 'c2lnbmF0dXJl',
  authExtension: '{"scene":"lesson"}',
  noTimeout: false,
  enableVideo: true,
};
const camera: QXAICameraConfig = { hd: true, cameraDeviceId: 'usb-0001', useFrontCamera: true };
const agent: AgentPtr | 0 = addon.QXAIAgent_createInstance(agentConfig, panel);
const agentResults: number[] = [];
if (agent !== 0) {
  agentResults.push(
    addon.QXAIAgent_start(agent),
    addon.QXAIAgent_registerActionCallback(agent, actions),
    addon.QXAIAgent_registerAIAgentAudioPlayStatusCallback(agent, playStatus),
    addon.QXAIAgent_startListeningWithProvider(agent, greeting),
    addon.QXAIAgent_stopListening(agent),
    addon.QXAIAgent_startListening(agent),
    addon.QXAIAgent_setMicrophoneSendMute(agent, false),
    addon.QXAIAgent_setAIPlayoutMute(agent, false),
    addon.QXAIAgent_sendMessage(agent, 'What is seven times eight?'),
    addon.QXAIAgent_publishCamera(agent, camera),
    addon.QXAIAgent_getConnectionState(agent),
    addon.QXAIAgent_getServerClockDiffMs(agent),
    addon.QXAIAgent_getUserAudioLevel(agent),
    addon.QXAIAgent_getAIAudioLevel(agent),
    addon.QXAIAgent_unpublishCamera(agent),
    addon.QXAIAgent_unRegisterAIAgentAudioPlayStatusCallback(agent),
    addon.QXAIAgent_unRegisterActionCallback(agent),
    addon.QXAIAgent_stop(agent),
    addon.QXAIAgent_destroyInstance(agent),
  );
}

console.log(sdkResults, sdkVersion, lastSetting, entries, dumpResults, agentResults, logLines);

// @ts-expect-error an agent config needs its signature
addon.QXAIAgent_createInstance({ userId: 1, agentId: 2, authExtension: '', noTimeout: false }, panel);
// @ts-expect-error the audio handler's samples are 16-bit, not float
addon.QXAIAgent_startListeningWithProvider(agent, { getAudioData: () => ({ sampleRate: 16000, channels: 1, data: new Float32Array(320) }) });
// @ts-expect-error the test environment is chosen by a boolean
addon.QXEngineSdk_UpdateEnvironment('test', 'tally.test.invalid', 'api.test.invalid');
// @ts-expect-error a failed answer needs its message
detached.onFailed({ statusCode: 500 });
// @ts-expect-error the device setting callback is a function, not a listener object
addon.QXDeviceSetting_setDeviceSettingCallback({ onDeviceSettingChanged() {} });
