// How an app uses the module, type-checked against index.d.ts (never run).
// Every export and every callback interface appears here at least once; each
// expected error at the end proves that a wrong argument is rejected.
import * as addon from 'lumen_engine_addon';
import type {
  AudioTrackInfo,
  CameraVideoRecordCallback,
  CollectLiveDataCallback,
  HandActionCallback,
  ScreenShareCallback,
  StaticFrameDetectorCallback,
  BizInfo,
  BizVideoFrame,
  EngineType,
  HttpRequest,
  HttpRequestCallback,
  LiveClient,
  LivePlayEngineCallbacks,
  LiveRoomTicket,
  LogExecutor,
  LogField,
  MicrophoneRecordingCallback,
  RecordingMicrophoneInfo,
  ResultCode,
  TrackVideoFrame,
  UserConfig,
  VadCallback,
  VideoFrame,
  VideoRenderer,
  VideoTrackInfo,
} from 'lumen_engine_addon';

// ---- callback objects ----------------------------------------------------------------

const cache = new Map<string, Buffer>();

const liveClient: LiveClient = {
  onWriteCache(key, value) {
    cache.set(key, Buffer.from(value));
  },
  onDeleteCache(key) {
    cache.delete(key);
  },
  executeHttpRequest(request: HttpRequest, callback: HttpRequestCallback, value: number) {
    const size = request.body ? request.body.length : 0;
    if (request.url === '' || value < 0) {
      callback.onFailed({ statusCode: 0, headers: [], body: Buffer.alloc(0) }, 'no url');
      return;
    }
    callback.onSuccess({
      statusCode: 200,
      headers: request.headers.map((h) => ({ name: h.name, value: h.value })),
      body: Buffer.from(`${request.method}:${request.type}:${size}`),
    });
  },
};

// A client that does not execute HTTP requests is still a client.
const quietClient: LiveClient = { onWriteCache() {}, onDeleteCache() {} };

class ClassroomEvents implements LivePlayEngineCallbacks {
  connected = false;
  log: string[] = [];
  onEnterRoom(result: boolean) { this.connected = result; }
  onMediaConnecting() {}
  onMediaConnected() { this.log.push('media'); }
  onMediaReconnecting() {}
  onMediaDisconnected(byUser: boolean, code: number, subCode: number, extra: number) {
    this.log.push(`${byUser} ${code} ${subCode} ${extra}`);
  }
  onAudioSharedConnectionStateChanged(state: number) { this.log.push(`audio ${state}`); }
  onVideoSharedConnectionStateChanged(state: number) { this.log.push(`video ${state}`); }
  onCommandConnecting() {}
  onCommandConnected() { this.log.push('command'); }
  onCommandReconnecting(reason: string) { this.log.push(reason.toUpperCase()); }
  onCommandDisconnected(code: number, subCode: number, reason: string, extra: number) {
    this.log.push(`${code} ${subCode} ${reason.length} ${extra}`);
  }
  onServerTimestampOffset(offset: number) { this.log.push(offset.toFixed(0)); }
  onRadioChannelConnecting() {}
  onRadioChannelConnected() {}
  onRadioMessage(data: Buffer, length: number) { this.log.push(data.subarray(0, length).toString('hex')); }
  onUserData(data: Buffer, length: number) { this.log.push(data.toString('utf8', 0, length)); }
  onNoSpeechTimeoutEvent() {}
  onAudioInputNoVoiceWarning() {}
  onRecordingDataException(code: number) { this.log.push(`rec ${code}`); }
  onPlayoutDataException(code: number) { this.log.push(`play ${code}`); }
  onLoopbackDataException(code: number) { this.log.push(`loop ${code}`); }
  onDeviceError(type: number, code: number, extra: number) { this.log.push(`${type}/${code}/${extra}`); }
  onDeviceEvent(type: number, code: number, extra: number) { this.log.push(`${type}/${code}/${extra}`); }
  onAudioInputDeviceChanged(state: number) { this.log.push(`${state}`); }
  onAudioOutputDeviceChanged(state: number) { this.log.push(`${state}`); }
  onVideoInputDeviceChanged(state: number) { this.log.push(`${state}`); }
  onDefaultAudioInputDeviceChanged(id: string, name: string) { this.log.push(`${id}=${name}`); }
  onDefaultAudioOutputDeviceChanged(id: string, name: string) { this.log.push(`${id}=${name}`); }
  onVideoFrameReceived(userId: number, trackType: number) { this.log.push(`${userId}:${trackType}`); }
  onBeautyReady(ready: boolean) { this.log.push(`beauty ${ready}`); }
  onBeautyError(code: number) { this.log.push(`beauty error ${code}`); }
  onAIStickerReady(ready: boolean) { this.log.push(`sticker ${ready}`); }
  onAIStickerError(code: number) { this.log.push(`sticker error ${code}`); }
}

// A renderer that serves both kinds of stream tells them apart by their key.
class Canvas implements VideoRenderer {
  frames = 0;
  onVideoFrame(frame: VideoFrame) {
    const kind = 'bizType' in frame ? `biz ${frame.bizType}` : `track ${frame.videoTrackType}`;
    const checksum: number = frame.buffer.readUInt32LE(0) ^ frame.width ^ frame.height ^ frame.userId;
    this.frames += kind.length + checksum;
  }
}

const trackRenderer: VideoRenderer<TrackVideoFrame> = {
  onVideoFrame(frame) {
    const pixels: number = frame.width * frame.height * 4;
    if (frame.buffer.length !== pixels || frame.videoTrackType < 0) throw new Error('bad frame');
  },
};

const bizRenderer: VideoRenderer<BizVideoFrame> = {
  onVideoFrame(frame) {
    if (frame.bizType < 0) throw new Error('bad frame');
  },
};

const recorder: MicrophoneRecordingCallback = {
  onAudioRecordingStart() {},
  onAudioRecordingStop() {},
  onMicrophoneRecordedPcmData(data, length) { cache.set('pcm', data.subarray(0, length)); },
  onMicrophoneRecordedAacData(data, length, sampleRate) { cache.set(`aac${sampleRate}`, data.subarray(0, length)); },
  onMicrophoneRecordedOpusData(data, length, sampleRate) { cache.set(`opus${sampleRate}`, data.subarray(0, length)); },
  onMicrophoneRecordedIsacData(data, length, sampleRate) { cache.set(`isac${sampleRate}`, data.subarray(0, length)); },
};

const vad: VadCallback = { onAudioVadStatusChange: (status: number) => void status };

const executor: LogExecutor = {
  log(message: string, fields: LogField[]) {
    const tag = fields.find((f) => f.key === 'tag')?.value ?? '';
    process.stdout.write(`${tag} ${message}\n`);
  },
};

// ---- start-up and engines -------------------------------------------------------------

addon.log_start(executor, '/tmp/logs');
addon.log_setSdkVersion('4.60.0');
addon.log_logMessage(1, 'App', 'started');
addon.log_addEpisodeId('live', 12345);
addon.log_removeEpisodeId();

addon.engineSdk_onAppInit(liveClient, '4.60.0');
addon.engineSdk_onAppInit(quietClient, '4.60.0');
for (const [key, value] of cache) addon.engineSdk_loadCache(key, value);
addon.engineSdk_loadCache('floats', new Float32Array([1, 2]));

const user: UserConfig = { isTestEnvironment: false, userType: 1, appVersion: '9.1', schedulerHost: 'sched' };
addon.engineSdk_setUserConfig(user);
addon.engineSdk_onNetworkTypeChanged(2);
const testing: boolean = addon.engineSdk_isTestEnvironment();
const platform: string = addon.engineSdk_getPlatform();
addon.engineSdk_updateSourceFlag(JSON.stringify({ enableAutoLeaveRoom4660: true }));
const autoLeave: boolean = addon.engineSdk_getSourceFlag('enableAutoLeaveRoom4660');
addon.engineSdk_updateEngineParams(1, '{}');
addon.engineSdk_setOutRoomParameters('{}');
const folder: 0 = addon.engineSdk_setEngineGlobalCacheFolder('/tmp/cache');
addon.engineSdk_initDumpManager(1, 'a', 'b', 'c', 'd', true);
addon.engineSdk_initThreadMonitor();
const opengl: ResultCode = addon.engineTest_executeOpenglTest();

const local: ResultCode = addon.engineSdk_createLocalEngine({}, 42, 'text');
const destroyedLocal: 0 | -1 = addon.engineSdk_destroyLocalEngine();

const events = new ClassroomEvents();
if (addon.engineSdk_createLivePlayEngine(events) === 0) {
  const ticket: LiveRoomTicket = {
    room_id: 1001,
    user_id: 42,
    user_type: 1,
    app_version: '9.1',
    engine_parameters: '{}',
    disable_radio: false,
    feature: new Uint8Array([1, 2, 3]),
    authExtension: Buffer.from('auth'),
  };
  const connected: ResultCode = addon.engineSdk_connectLivePlayEngine(ticket);
  const started: 0 | -1 = addon.engineSdk_connectLivePlayEngineAndConfigDevice(ticket, '/tmp/audio.json', {});
  void [connected, started];
}
const type: EngineType = addon.engineSdk_currentEngineType();
if (type === 0) addon.engineSdk_leaveLiveRoom();

addon.engineSdk_createReplayEngine({}, '/tmp/class.media');
addon.engineSdk_destroyReplayEngine();
const streamingEvents: addon.StreamingEngineCallbacks = {
  onBufferingBegin() {},
  onBufferingEnd() {},
  onFrameReceived(width: number, height: number) { void [width, height]; },
  onError(code: number, message: string) { void [code, message]; },
};
addon.engineSdk_createStreamingEngine({ room_id: 1, signature: 'sig' }, streamingEvents, '{}');
// @ts-expect-error the streaming engine calls each of its event methods
addon.engineSdk_createStreamingEngine({ room_id: 1 }, { onError() {} }, '{}');
addon.engineSdk_destroyStreamingEngine();
addon.engineSdk_createLiveReplayEngine({}, '/tmp/class.media', new ClassroomEvents(), '');
const opened: ResultCode = addon.engineSdk_openReplayMedia();
const replayGone: 0 = addon.engineSdk_destroyLiveReplayEngine();

// ---- live play ---------------------------------------------------------------------

const mic: AudioTrackInfo = { type: 1, userId: 42, ssrc: 2 ** 32 };
const camera: VideoTrackInfo = { type: 3, userId: 42, ssrc: 1, ssrcFec: 2, ssrcNack: 3, collect: true };
const teacher: BizInfo = { bizType: 2, userId: 7, groupId: 0 };
const group = [7, 8, 9] as const;

addon.livePlayEngine_audioStartSend(mic);
addon.livePlayEngine_audioStartSendToGroup(mic, group);
addon.livePlayEngine_audioStopSend(mic);
addon.livePlayEngine_audioStartReceive(mic, true);
addon.livePlayEngine_audioStopReceive(mic);

const canvas = new Canvas();
addon.livePlayEngine_videoStartReceive(camera, canvas);
addon.livePlayEngine_videoStopReceive(camera);
addon.livePlayEngine_videoStartCapture({ type: 3 }, trackRenderer);
addon.livePlayEngine_videoStartCaptureWithAISticker({ type: 3 }, trackRenderer);
addon.livePlayEngine_videoStartCaptureAndSendToGroup({ type: 3 }, canvas, group);
addon.livePlayEngine_videoStartCaptureHD({ type: 4 }, canvas);
addon.livePlayEngine_videoStopCapture({ type: 3 });
addon.livePlayEngine_videoStopCaptureHD({ type: 4 });
addon.livePlayEngine_setCaptureRotation(90);
addon.livePlayEngine_registerCameraDataCallback(trackRenderer);
addon.livePlayEngine_registerCameraDataCallback(canvas, 1);
addon.livePlayEngine_unregisterCameraDataCallback();

addon.livePlayEngine_audioStartRecording(mic, recorder, []);
addon.livePlayEngine_audioStopRecording(mic);
addon.livePlayEngine_audioStartRecordAndSend();
const stats: RecordingMicrophoneInfo = {};
if (addon.livePlayEngine_audioStopRecordAndSend(stats) === 0) {
  const ms: number | undefined = stats.encodedRecordedMs;
  const interrupted: boolean | undefined = stats.startDuringInterruption;
  void [ms, interrupted];
}
addon.livePlayEngine_audioStartRepeatRecording(mic, recorder);
addon.livePlayEngine_audioStopRepeatRecording(mic, stats);
addon.livePlayEngine_setMicrophoneSendMute(true);
const mute = addon.livePlayEngine_getMicrophoneSendMute();
if (mute !== -1) {
  const muted: boolean = mute.mute;
  const code: ResultCode = mute.errorCode;
  void [muted, code];
}

addon.livePlayEngine_registerLocalVadCallback(vad);
addon.livePlayEngine_unregisterLocalVadCallback();
addon.livePlayEngine_getLocalVadStatus();
addon.livePlayEngine_registerRemoteVadCallback(1234, vad);
addon.livePlayEngine_registerRemoteVadCallbackBiz(teacher, { onAudioVadStatusChange() {} });
addon.livePlayEngine_unregisterRemoteVadCallback(1234);
addon.livePlayEngine_unregisterRemoteVadCallbackBiz(teacher);
addon.livePlayEngine_getRemoteVadStatus(1234);
addon.livePlayEngine_getRemoteVadStatusBiz(teacher);
addon.livePlayEngine_setRxVoiceAdjustParameters(7, 1);
addon.livePlayEngine_setRxVoiceAdjustParametersBiz(teacher, 1);

addon.livePlayEngine_startCameraAndPublish(teacher, bizRenderer);
addon.livePlayEngine_stopCameraAndUnpublish(teacher);
addon.livePlayEngine_subscribeVideo(teacher, canvas);
addon.livePlayEngine_unsubscribeVideo(teacher);
addon.livePlayEngine_startMicAndPublish(teacher, true, recorder);
addon.livePlayEngine_stopMicAndUnpublish(teacher, stats);
addon.livePlayEngine_subscribeAudio(teacher, false);
addon.livePlayEngine_unsubscribeAudio(teacher);
addon.livePlayEngine_startGroupAudio(teacher, group, true);
addon.livePlayEngine_publishGroupAudio();
addon.livePlayEngine_unpblishGroupAudio();
addon.livePlayEngine_stopGroupAudio(teacher);

// ---- what the declarations refuse ----------------------------------------------------

// @ts-expect-error a number where a track info goes
addon.livePlayEngine_audioStartSend(42);
// @ts-expect-error the user list is required
addon.livePlayEngine_audioStartSendToGroup(mic);
// @ts-expect-error user ids are numbers
addon.livePlayEngine_startGroupAudio(teacher, ['7'], true);
// @ts-expect-error a renderer needs onVideoFrame
addon.livePlayEngine_videoStartReceive(camera, {});
// @ts-expect-error a track renderer does not take business frames
addon.livePlayEngine_subscribeVideo(teacher, trackRenderer);
// @ts-expect-error a recording callback has every data method
addon.livePlayEngine_audioStartRecording(mic, { onAudioRecordingStart() {} }, []);
// @ts-expect-error keys are checked: "user_id" is the ticket's spelling
addon.engineSdk_connectLivePlayEngine({ userId: 42 });
// @ts-expect-error isTestEnvironment is read strictly, so it is required
addon.engineSdk_setUserConfig({ userType: 1 });
// @ts-expect-error the live client must handle the cache notifications
addon.engineSdk_onAppInit({ executeHttpRequest() {} }, '4.60.0');
// @ts-expect-error the log executor's method is log
addon.log_start({ onLog() {} }, '/tmp/logs');
// @ts-expect-error log_start takes exactly two arguments
addon.log_start(executor);
// @ts-expect-error initThreadMonitor takes none
addon.engineSdk_initThreadMonitor(1);
// @ts-expect-error the cache value is bytes, not a string
addon.engineSdk_loadCache('key', 'value');
// @ts-expect-error not a callbacks object
addon.engineSdk_createLivePlayEngine(1);
// @ts-expect-error the answer is a number
const notString: string = addon.livePlayEngine_audioStartSend(mic);
// @ts-expect-error -1 must be ruled out before reading the mute state
addon.livePlayEngine_getMicrophoneSendMute().mute;
// @ts-expect-error there is no such export
addon.livePlayEngine_unpublishGroupAudio();

const incomplete: Partial<LivePlayEngineCallbacks> = { onCommandConnected() {} };
// @ts-expect-error every event method is required: a missing one is an uncaught exception
addon.engineSdk_createLivePlayEngine(incomplete);

void [testing, platform, autoLeave, folder, opengl, local, destroyedLocal, opened, replayGone, notString];

// ---- the live class beyond media, and beauty ----------------------------------------

const shareEvents: ScreenShareCallback = { onScreenShareStateChanged(state: number, code: number) { void [state, code]; } };
const share: addon.ScreenShareConfig = { captureType: 0, screenId: 2, excludeWindList: [3], callback: shareEvents };
const screen: VideoTrackInfo = { type: 4, userId: 768 };
const sent: 1 | 0 | -1 = addon.livePlayEngine_sendUserData(new Uint8Array([1]));
addon.livePlayEngine_sendRadioData(Buffer.from([1]));
addon.livePlayEngine_syncClock();
addon.livePlayEngine_setStudentListInClass([1, 2]);
addon.livePlayEngine_switchGroupServer();
addon.livePlayEngine_startCommunication(1, [2], true);
addon.livePlayEngine_stopCommunication(1);
addon.livePlayEngine_startSupervising(screen, { onVideoFrame(frame: TrackVideoFrame) { void frame.buffer; } });
addon.livePlayEngine_stopSupervising(screen);
const hand: HandActionCallback = { onHandAction(action: number, score: number) { void [action, score]; } };
addon.livePlayEngine_startHandActionCheck({ modelPath: '/m', threshold: 0.5 }, hand);
addon.livePlayEngine_stopHandActionCheck();
const collect: CollectLiveDataCallback = { OnCollectLiveData(data: Buffer) { void data.length; }, OnCollectError(e: number) { void e; } };
addon.livePlayEngine_startCollectLiveData(1, 2, collect);
addon.livePlayEngine_stopCollectLiveData();
const condition: addon.MediaNetworkCondition = { lossRateE2E: 0 };
addon.livePlayEngine_getCommandNetworkCondition({});
addon.livePlayEngine_getMediaNetworkCondition(condition);
addon.livePlayEngine_getMediaNetworkConditionByUser(7, condition);
addon.livePlayEngine_getSenderMediaNetworkCondition(condition);
addon.livePlayEngine_getPingNetworkCondition({});
addon.livePlayEngine_setAIStickerPath('/stickers');
addon.livePlayEngine_setAIStickerEnable(true);
addon.livePlayEngine_isAIStickerAvailable();
addon.livePlayEngine_startScreenShare(screen, share);
addon.livePlayEngine_stopScreenShare();
const detector: StaticFrameDetectorCallback = { onDetectStatusCallback(isStatic: boolean, changed: boolean) { void [isStatic, changed]; } };
addon.livePlayEngine_enableStaticFrameDetector({ enableDetect: true, callback: detector });
addon.livePlayEngine_updateFaceInfo([{ faceId: 1, yaw: 0.5 }]);
const face = addon.livePlayEngine_getFaceDetectResult();
if (face !== null) void face.score;
const record: CameraVideoRecordCallback = { onRecordComplete(code: number, path: string) { void [code, path]; } };
addon.livePlayEngine_startCameraVideoRecord({ rootPathDir: '/rec', videoBitrateKbps: 800, onRecordCompleteCallback: record });
addon.livePlayEngine_stopCameraVideoRecord(true);

addon.beautyEngine_applyBeautyManagerConfig({ beautyEnable: true, tryTimesMax: 5, beautyParam: { whitenDegree: 0.5 } });
addon.beautyEngine_setBeautyConfig({ resourcePath: '/res' });
addon.beautyEngine_syncCurrentState();
addon.beautyEngine_enableBeauty(true);
addon.beautyEngine_setBeautyParam({ smoothDegree: 0.5 });
addon.beautyEngine_setStickerPath('/s');
addon.beautyEngine_setColorFilterPath('/c');
addon.beautyEngine_setBackgroundBlur(true);
addon.beautyEngine_setVirtualBackground('/bg');
// @ts-expect-error the face result may be null
addon.livePlayEngine_getFaceDetectResult().score;
// @ts-expect-error user data is bytes
addon.livePlayEngine_sendUserData('text');
void sent;
// ---- playback: replay, media players, streaming, pushed audio ----------------------------
import type { MediaPlayerCallbacks, PlayerVideoFrame, ReplayEngineEvents, StreamingEvents } from 'lumen_engine_addon';

const replayEvents: ReplayEngineEvents = { onReplayOpened(result: number) {} };
const playerEvents: MediaPlayerCallbacks = {
  onPrepared(id) {}, onInfo(id, what, extra) {}, onError(id, code, extra) {}, onSeekComplete(id) {},
  onCompletion(id) {}, onDecodingOneFrameElapsed(id, ms) {}, onOpenFileFailed(id, file: string) {},
  onBellCompletion(file) {},
};
const streamEvents: StreamingEvents = {
  onBufferingBegin() {}, onBufferingEnd() {}, onFrameReceived(w, h) {}, onError(code, message: string) {},
};
const playerView = { onVideoFrame(frame: PlayerVideoFrame) { frame.buffer.readUInt8(0); } };
const replayView = { onVideoFrame(frame: TrackVideoFrame) { frame.videoTrackType; } };
const replayBizView = { onVideoFrame(frame: BizVideoFrame) { frame.bizType; } };
addon.engineSdk_createReplayEngine(replayEvents, '/tmp/class');
const packetCodes: ResultCode[] = [
  addon.replayEngine_play(), addon.replayEngine_pause(), addon.replayEngine_setPlaySpeed(1.5),
  addon.replayEngine_receivePacket(new Uint16Array(4), { isAudio: true, isRtp: false }),
  addon.replayEngine_requestReset(), addon.replayEngine_confirmReset(),
  addon.replayEngine_setStreamInfo(Buffer.from('info')),
  addon.replayEngine_videoStartPlay(7, 1, replayView), addon.replayEngine_videoStopPlay(7, 1),
  addon.replayEngine_videoStartPlayBiz({ bizType: 2, userId: 7 }, replayBizView),
  addon.replayEngine_videoStopPlayBiz({ bizType: 2, userId: 7 }),
  addon.replayEngine_audioStartPlay(7), addon.replayEngine_audioStopPlay(7),
  addon.replayEngine_audioStartPlayBiz({ userId: 7 }), addon.replayEngine_audioStopPlayBiz({ userId: 7 }),
  addon.replayEngine_setReplayVoiceAdjustParameters(7, 2), addon.replayEngine_setReplayVoiceAdjustParametersBiz({}, 3),
];
addon.mediaPlayerEngine_registerMediaPlayerCallback(playerEvents);
const playerId: number = addon.mediaPlayerEngine_prepareAsync('/media/a.mp4', false, true, { type: 1 }, playerView);
addon.MediaPlayerEngine_prepareAsyncWithPrefixs('a.m3u8', ['https://cdn/'], 3, {});
const playerCodes: ResultCode[] = [
  addon.mediaPlayerEngine_start(playerId), addon.mediaPlayerEngine_pause(playerId),
  addon.mediaPlayerEngine_setLooping(playerId, true), addon.mediaPlayerEngine_setSpeed(playerId, 1.25),
  addon.mediaPlayerEngine_setVolume(playerId, 80, 0), addon.mediaPlayerEngine_seekTo(playerId, 1000, 0),
  addon.mediaPlayerEngine_getCurrentPositionMs(playerId), addon.mediaPlayerEngine_getDurationMs(playerId),
  addon.mediaPlayerEngine_destroy(playerId), addon.mediaPlayerEngine_ringBell('/media/bell.wav', 1, 100),
];
addon.engineSdk_createStreamingEngine({}, streamEvents, '');
const muted: boolean = addon.streamingEngine_isMute();
const streamCodes: ResultCode[] = [
  addon.streamingEngine_prepareAsync(['https://a/live.flv'], playerView),
  addon.streamingEngine_sendUserData(new ArrayBuffer(4)), addon.streamingEngine_sendRadioData(new DataView(new ArrayBuffer(2))),
  addon.streamingEngine_mute(true), addon.streamingEngine_pause(), addon.streamingEngine_start(),
];
const audioCodes: ResultCode[] = [
  addon.audioRenderEngine_init(48000, 2, 1), addon.audioRenderEngine_start(), addon.audioRenderEngine_stop(),
  addon.audioRenderEngine_release(), addon.audioRenderEngine_getSpaceCanPushInBytes(),
  addon.audioRenderEngine_pushAudioData(new Int16Array(480)), addon.audioRenderEngine_clearPushedAudioData(),
];
// @ts-expect-error pushed audio is bytes, not a string
addon.audioRenderEngine_pushAudioData('pcm');
// @ts-expect-error a packet is a typed array, not an ArrayBuffer
addon.replayEngine_receivePacket(new ArrayBuffer(4), {});
void [packetCodes, playerCodes, muted, streamCodes, audioCodes];
