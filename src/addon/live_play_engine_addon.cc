// livePlayEngine_*: the live classroom engine: media send and receive,
// communication, supervision, detection and screen share.
#include "addon/groups.h"
#include "common/convert.h"
#include "common/export_table.h"
#include "common/forward.h"
#include "common/logging.h"
#include "common/stream_identity.h"
#include "beauty/beauty_manager.h"
#include "engine/live_play_engine_callback.h"
#include "engine/engine_manager.h"
#include "engine/live_play_engine_impl.h"

namespace lumen_addon {
namespace {

using Live = LivePlayEngineImpl;
using Engine = tavel::LivePlayEngine;

// Where the live play exports find their engine: the live replay engine's
// live play part when there is one, else the live play engine.
struct LivePlay {
  using Wrapper = Live;
  static std::shared_ptr<Live> Find(const Napi::CallbackInfo&) {
    return EngineManager::instance()->CurrentLivePlayEngine();
  }
  static Napi::Value Missing(const Napi::CallbackInfo& info) {
    LUMEN_LOG(kError, "EngineAddon") << "Live play engine is not created yet.";
    return js::Number(info.Env(), -1);
  }
};

#define LIVE_OP(name) int name(const Napi::CallbackInfo& info, Live& e)
#define AUDIO(i) ToAudioTrackInfo(info[i])
#define VIDEO(i) ToVideoTrackInfo(info[i])
#define BIZ(i) ToBizInfo(info[i])

void WriteRecordingInfo(const Napi::Value& target, const tavel::RecordingMicrophoneInfo& r) {
  Napi::Object o = js::ToObject(target);
  if (o.IsEmpty()) return;
  Napi::Env env = o.Env();
  o.Set("encodedRecordedMs", js::Number(env, static_cast<double>(r.encoded_recorded_ms)));
  o.Set("encodedVoiceActivityMs", js::Number(env, static_cast<double>(r.encoded_voice_activity_ms)));
  o.Set("encodedNonZeroSampleCount", js::Number(env, static_cast<double>(r.encoded_non_zero_sample_count)));
  o.Set("pcmRecordedSampleCount", js::Number(env, static_cast<double>(r.pcm_recorded_sample_count)));
  o.Set("pcmRecordedSampleMax", js::Number(env, r.pcm_recorded_sample_max));
  o.Set("recordingStartTimeMs", js::Number(env, static_cast<double>(r.recording_start_time_ms)));
  o.Set("startDuringInterruption", js::Boolean(env, r.start_during_interruption));
  o.Set("interruptionAfterStart", js::Boolean(env, r.interruption_after_start));
  o.Set("errorCode", js::Number(env, r.error_code));
  o.Set("hint", js::Number(env, r.hint));
}

// Stops that report recording statistics write them only on success.
template <typename Stop>
int WithRecordingInfo(const Napi::Value& target, Stop&& stop) {
  tavel::RecordingMicrophoneInfo result;
  const int code = stop(&result);
  if (code == 0) WriteRecordingInfo(target, result);
  return code;
}


// ---- video ----------------------------------------------------------------------------
LIVE_OP(VideoStartReceive) { return e.VideoStartReceive(VIDEO(0), info.Env(), info[1]); }
LIVE_OP(VideoStopReceive) { return e.VideoStopReceive(VIDEO(0)); }
LIVE_OP(VideoStartCapture) { return e.VideoStartCapture(Live::Capture::kNormal, VIDEO(0), info.Env(), info[1]); }
LIVE_OP(VideoStartCaptureWithAISticker) {
  return e.VideoStartCapture(Live::Capture::kAISticker, VIDEO(0), info.Env(), info[1]);
}
LIVE_OP(VideoStartCaptureAndSendToGroup) {
  auto v = VIDEO(0);
  auto users = js::Int64List(info[2]);
  return e.VideoStartCapture(Live::Capture::kGroup, v, info.Env(), info[1], users);
}
LIVE_OP(VideoStartCaptureHD) { return e.VideoStartCapture(Live::Capture::kHD, VIDEO(0), info.Env(), info[1]); }
LIVE_OP(VideoStopCapture) { return e.VideoStopCapture(false, VIDEO(0)); }
LIVE_OP(VideoStopCaptureHD) { return e.VideoStopCapture(true, VIDEO(0)); }
LIVE_OP(RegisterCameraDataCallback) {
  int32_t option = info.Length() == 2 ? js::ToInt32(info[1]) : 0;
  return e.RegisterCameraDataCallback(info.Env(), info[0], option);
}
LIVE_OP(UnregisterCameraDataCallback) { return e.UnregisterCameraDataCallback(); }
LIVE_OP(StartCameraAndPublish) { return e.StartCameraAndPublish(BIZ(0), info.Env(), info[1]); }
LIVE_OP(StopCameraAndUnpublish) { return e.StopCameraAndUnpublish(BIZ(0)); }
LIVE_OP(SubscribeVideo) { return e.SubscribeVideo(BIZ(0), info.Env(), info[1]); }
LIVE_OP(UnsubscribeVideo) { return e.UnsubscribeVideo(BIZ(0)); }

// ---- microphone recording ----------------------------------------------------------------
LIVE_OP(AudioStartRecording) {
  auto a = AUDIO(0);
  auto users = js::Int64List(info[2]);
  return e.StartRecording(Live::Recording::kRecording, info.Env(), info[1], a, {}, users, false);
}
LIVE_OP(AudioStopRecording) { return e.AudioStopRecording(AUDIO(0)); }
LIVE_OP(AudioStopRecordAndSend) {
  return WithRecordingInfo(info[0], [&](tavel::RecordingMicrophoneInfo* r) { return e.AudioStopRecordAndSend(r); });
}
LIVE_OP(AudioStartRepeatRecording) {
  return e.StartRecording(Live::Recording::kRepeat, info.Env(), info[1], AUDIO(0), {}, {}, false);
}
LIVE_OP(AudioStopRepeatRecording) {
  auto a = AUDIO(0);
  return WithRecordingInfo(info[1], [&](tavel::RecordingMicrophoneInfo* r) { return e.AudioStopRepeatRecording(a, r); });
}
LIVE_OP(StartMicAndPublish) {
  auto b = BIZ(0);
  bool send = js::ToBool(info[1]);
  return e.StartRecording(Live::Recording::kMicAndPublish, info.Env(), info[2], {}, b, {}, send);
}
LIVE_OP(StopMicAndUnpublish) {
  auto b = BIZ(0);
  return WithRecordingInfo(info[1], [&](tavel::RecordingMicrophoneInfo* r) { return e.StopMicAndUnpublish(b, r); });
}

Napi::Value GetMicrophoneSendMute(const Napi::CallbackInfo& info, Live& e) {
  bool mute = false;
  const int code = e.Call("GetMicrophoneSendMute failed: live_ is null",
                          [&](Engine* l) { return l->GetMicrophoneSendMute(&mute); });
  Napi::Object result = Napi::Object::New(info.Env());
  result.Set("errorCode", js::Number(info.Env(), code));
  result.Set("mute", js::Boolean(info.Env(), mute));
  return result;
}

// ---- voice activity ------------------------------------------------------------------------
LIVE_OP(RegisterLocalVadCallback) { return e.RegisterLocalVadCallback(info.Env(), info[0]); }
LIVE_OP(UnregisterLocalVadCallback) { return e.UnregisterLocalVadCallback(); }
LIVE_OP(RegisterRemoteVadCallback) { return e.RegisterRemoteVadCallback(js::ToInt32(info[0]), info.Env(), info[1]); }
LIVE_OP(RegisterRemoteVadCallbackBiz) { return e.RegisterRemoteVadCallback(BIZ(0), info.Env(), info[1]); }
LIVE_OP(UnregisterRemoteVadCallback) { return e.UnregisterRemoteVadCallback(js::ToInt32(info[0])); }
LIVE_OP(UnregisterRemoteVadCallbackBiz) { return e.UnregisterRemoteVadCallback(BIZ(0)); }

// ---- communication, supervision, detection, screen share ------------------------------
using Command = lumen::CommandClient;

// A feature's JavaScript object, when the config names one.
template <typename H>
std::shared_ptr<H> HolderAt(Live& e, const Napi::Object& config, const char* key) {
  Napi::Value v = js::Get(config, key);
  return !v.IsEmpty() && v.IsObject() ? e.MakeHolder<H>(config.Env(), v) : nullptr;
}

LIVE_OP(SetStudentListInClass) {
  auto students = js::Int32WidenedList(info[0]);
  return e.Call("SetStudentListInClass failed: live_ is null", [&](Engine* l) { return l->SetStudentListInClass(students); });
}
// The command client's own answer: 1 sent, 0 not.
LIVE_OP(SendUserData) {
  auto data = js::Bytes(info[0]);
  return e.CallCommand("SendUserData failed: command_ is null",
                       [&](Command* c) { return c->SendUserData(data.data(), static_cast<int>(data.size())); });
}
LIVE_OP(SendRadioData) {
  auto data = js::Bytes(info[0]);
  return e.CallCommand("SendRadioData failed: command_ is null", [&](Command* c) {
    return c->SendRadioData(data.data(), static_cast<int>(data.size())) > 0 ? 0 : -1;
  });
}
LIVE_OP(SyncClock) { return e.CallCommand("SyncClock failed: command_ is null", [](Command* c) { c->SyncClock(); return 0; }); }
LIVE_OP(StartCommunication) {
  const int64_t id = js::ToInt64(info[0]);
  auto users = js::Int64List(info[1]);
  const bool flag = info.Length() > 2 && js::ToBool(info[2]);
  return e.Call("StartCommunication failed: live_ is null", [&](Engine* l) { return l->StartCommunication(id, users, flag); });
}
LIVE_OP(StartSupervising) { return e.StartSupervising(VIDEO(0), info.Env(), info[1]); }
LIVE_OP(StopSupervising) { return e.StopSupervising(VIDEO(0)); }
LIVE_OP(StartHandActionCheck) {
  Napi::Object o = js::ToObject(info[0]);
  tavel::HandActionCheckConfig c;
  c.model_path = js::Utf8At(o, "modelPath");
  c.resize_size = js::Int32At(o, "resizeSize");
  c.threshold = js::DoubleAt(o, "threshold");
  c.delay_frames = js::Int32At(o, "delayFrames");
  c.delay_threshold = js::DoubleAt(o, "delayThreshold");
  return e.StartHandActionCheck(c, info.Env(), info[1]);
}
LIVE_OP(StopHandActionCheck) { return e.StopHandActionCheck(); }
LIVE_OP(StartCollectLiveData) {
  const int32_t first = js::ToInt32(info[0]), second = js::ToInt32(info[1]);
  return e.StartCollectLiveData(first, second, info.Env(), info[2]);
}
LIVE_OP(StopCollectLiveData) { return e.StopCollectLiveData(); }

// Network conditions: the keys are written whatever the engine answers.
void WriteMedia(Napi::Object o, const tavel::MediaNetworkCondition& c, bool e2e) {
  Napi::Env env = o.Env();
  o.Set("isConnected", js::Boolean(env, c.is_connected));
  o.Set("isStuck", js::Boolean(env, c.is_stuck));
  o.Set("rtt", js::Number(env, c.rtt));
  o.Set("jitter", js::Number(env, c.jitter));
  o.Set("lossRate", js::Number(env, c.loss_rate));
  if (e2e) o.Set("lossRateE2E", js::Number(env, c.loss_rate_e2e));
}
template <typename Query>
int MediaCondition(const Napi::Value& target, bool e2e_key, Live& e, const char* failure, Query&& query) {
  Napi::Object o = js::ToObject(target);
  const bool e2e = e2e_key && js::Has(o, "lossRateE2E");
  tavel::MediaNetworkCondition c;
  c.is_connected = true;
  c.is_stuck = false;
  const int code = e.Call(failure, [&](Engine* l) { return query(l, &c); });
  if (!o.IsEmpty()) WriteMedia(o, c, e2e);
  return code;
}
LIVE_OP(GetCommandNetworkCondition) {
  lumen::CommandNetworkCondition c;
  const int code = e.CallCommand("GetCommandNetworkCondition failed: command_ is null",
                                 [&](Command* cmd) { cmd->GetNetworkCondition(&c); return 0; });
  Napi::Object o = js::ToObject(info[0]);
  if (code == 0 && !o.IsEmpty()) {
    o.Set("isConnected", js::Boolean(info.Env(), c.is_connected));
    o.Set("rtt", js::Number(info.Env(), c.rtt));
  }
  return code;
}
LIVE_OP(GetMediaNetworkCondition) {
  return MediaCondition(info[0], false, e, "GetMediaNetworkCondition failed: live_ is null",
                        [](Engine* l, auto* c) { return l->GetMediaNetworkCondition(c); });
}
LIVE_OP(GetMediaNetworkConditionByUser) {
  const int64_t user = js::ToInt64(info[0]);
  return MediaCondition(info[1], true, e, "GetMediaNetworkConditionByUser failed: live_ is null",
                        [&](Engine* l, auto* c) { return l->GetMediaNetworkConditionByUser(user, c); });
}
LIVE_OP(GetSenderMediaNetworkCondition) {
  return MediaCondition(info[0], false, e, "GetSenderMediaNetworkCondition failed: live_ is null",
                        [](Engine* l, auto* c) { return l->GetSenderMediaNetworkCondition(c); });
}
LIVE_OP(GetPingNetworkCondition) {
  tavel::PingNetworkCondition c;
  const int code = e.Call("GetPingNetworkCondition failed: live_ is null", [&](Engine* l) { return l->GetPingNetworkCondition(&c); });
  Napi::Object o = js::ToObject(info[0]);
  if (!o.IsEmpty()) {
    o.Set("rtt", js::Number(info.Env(), c.rtt));
    o.Set("lossRate", js::Number(info.Env(), c.loss_rate));
  }
  return code;
}
LIVE_OP(IsAIStickerAvailable) { return BeautyManager::Instance()->IsAIStickerAvailable() ? 0 : -1; }

LIVE_OP(StartScreenShare) {
  auto track = VIDEO(0);
  Napi::Object o = js::ToObject(info[1]);
  tavel::ScreenShareConfig c;
  if (js::Has(o, "captureType")) c.capture_type = js::Int32At(o, "captureType");
  if (js::Has(o, "captureType") && c.capture_type == 0) c.capture_api_type = 3;
  if (js::Has(o, "captureApiType")) c.capture_api_type = js::Int32At(o, "captureApiType");
  if (js::Has(o, "windowId")) c.source_id = js::Int64At(o, "windowId");
  if (js::Has(o, "screenId")) c.source_id = js::Int64At(o, "screenId");
  if (js::Has(o, "excludeWindList")) c.exclude_window_list = js::Int64List(js::Get(o, "excludeWindList"));
  auto callback = HolderAt<ScreenShareCallbackImpl>(e, o, "callback");
  LUMEN_LOG(kInfo, "LivePlayEngine_StartScreenShare") << "LivePlayEngine_StartScreenShare() start, VideoTrackInfo: " << ToString(track);
  return e.StartScreenShare(track, std::move(c), std::move(callback));
}
LIVE_OP(StopScreenShare) {
  LUMEN_LOG(kInfo, "LivePlayEngine_StopScreenShare") << "LivePlayEngine_StopScreenShare() start ";
  const int result = e.StopScreenShare();
  LUMEN_LOG(kInfo, "LivePlayEngine_StopScreenShare") << "LivePlayEngine_StopScreenShare() end ";
  return result;
}
LIVE_OP(EnableStaticFrameDetector) {
  Napi::Object o = js::ToObject(info[0]);
  korin::FrameValidDetectorConfig c;
  if (js::Has(o, "enableDetect")) c.enable_detect = js::BoolAt(o, "enableDetect");
  if (js::Has(o, "alwaysDetect")) c.always_detect = js::BoolAt(o, "alwaysDetect");
  if (js::Has(o, "validDetectCnt")) c.valid_detect_cnt = js::Int32At(o, "validDetectCnt");
  if (js::Has(o, "accuracy")) c.accuracy = js::Int32At(o, "accuracy");
  c.detect_interval_ms = 3000;
  auto callback = HolderAt<StaticFrameDetectorCallbackImpl>(e, o, "callback");
  LUMEN_LOG(kInfo, "StaticFrameDetector") << "enableDetect:" << c.enable_detect << ", alwaysDetect:" << c.always_detect
                                          << ", validDetectCnt:" << c.valid_detect_cnt << ", accuracy:" << c.accuracy;
  return e.EnableStaticFrameDetector(c, std::move(callback));
}
LIVE_OP(UpdateFaceInfo) {
  std::vector<tavel::FaceInfo> faces;
  Napi::Value list = info[0];
  const uint32_t n = list.IsArray() ? std::min(list.As<Napi::Array>().Length(), js::kMaxListLength) : 0;
  for (uint32_t i = 0; i < n; ++i) {
    Napi::Object f = js::ToObject(list.As<Napi::Array>().Get(i));
    tavel::FaceInfo r;
    r.face_id = js::Int32At(f, "faceId");
    r.action = js::Uint32At(f, "action");
    double* doubles[] = {&r.left_eye_pos_x, &r.left_eye_pos_y, &r.right_eye_pos_x, &r.right_eye_pos_y,
                         &r.mouth_pos_x,    &r.mouth_pos_y,    &r.eyes_pos_x,      &r.eyes_pos_y,
                         &r.nose_pos_x,     &r.nose_pos_y,     &r.eye_distance,    &r.yaw,
                         &r.pitch,          &r.roll};
    const char* keys[] = {"leftEyePosX", "leftEyePosY", "rightEyePosX", "rightEyePosY", "mouthPosX",
                          "mouthPosY",   "eyesPosX",    "eyesPosY",     "nosePosX",     "nosePosY",
                          "eyeDistance", "yaw",         "pitch",        "roll"};
    for (size_t k = 0; k < std::size(keys); ++k) *doubles[k] = js::DoubleAt(f, keys[k]);
    faces.push_back(r);
  }
  return e.Call("LivePlayEngineImpl::UpdateFaceInfo failed: live_ is nil", [&](Engine* l) { return l->UpdateFaceInfo(faces); });
}
Napi::Value GetFaceDetectResult(const Napi::CallbackInfo& info, Live& e) {
  tavel::FaceDetectResult r;
  Napi::Env env = info.Env();
  if (e.Call("GetFaceDetectResult failed: live_ is null", [&](Engine* l) { l->GetFaceDetectResult(&r); return 0; }) != 0)
    return env.Null();
  Napi::Object o = Napi::Object::New(env);
  const std::pair<const char*, double> keys[] = {
      {"faceLeft", r.face_left}, {"faceTop", r.face_top}, {"faceRight", r.face_right}, {"faceBottom", r.face_bottom},
      {"score", r.score}, {"yaw", r.yaw}, {"pitch", r.pitch}, {"roll", r.roll}, {"eyeDistance", r.eye_distance},
      {"id", r.id}, {"action", r.action}, {"picWidth", r.pic_width}, {"picHeight", r.pic_height}};
  for (const auto& [key, value] : keys) o.Set(key, js::Number(env, value));
  return o;
}
LIVE_OP(StartCameraVideoRecord) {
  Napi::Object o = js::ToObject(info[0]);
  tavel::CameraVideoRecordConfig c;
  c.root_path_dir = js::Utf8At(o, "rootPathDir");
  c.video_bitrate_kbps = js::Int32At(o, "videoBitrateKbps");
  return e.StartCameraVideoRecord(c, HolderAt<CameraVideoRecordCallbackImpl>(e, o, "onRecordCompleteCallback"));
}

// getFaceDetectResult answers null, not -1, without an engine.
struct LivePlayOrNull : LivePlay {
  static Napi::Value Missing(const Napi::CallbackInfo& info) {
    LivePlay::Missing(info);
    return info.Env().Null();
  }
};

// A row whose handler has logic of its own.
#define ROW(js_name, op, admission) {"livePlayEngine_" js_name, OnEngine<LivePlay, op>, admission, kMinusOne}
// A pass-through row: the engine method of the same name, logged by that name.
#define FORWARD(js_name, Method, admission) \
  {"livePlayEngine_" js_name, Forward<LivePlay, &Engine::Method>, admission, kMinusOne, #Method " failed: live_ is null"}
// A pass-through row to a given method (an overload), with its log text.
#define FORWARD_TO(js_name, method, text, admission) \
  {"livePlayEngine_" js_name, Forward<LivePlay, method>, admission, kMinusOne, text " failed: live_ is null"}

const ExportRow kRows[] = {
    FORWARD("audioStartSend", AudioStartSend, AtLeast("o", "Expected 1 parameter: info")),
    FORWARD("audioStartSendToGroup", AudioStartSendToGroup, AtLeast("oa", "Expected 2 parameter: info, userlist")),
    FORWARD("audioStopSend", AudioStopSend, AtLeast("o", "Expected 1st parameter to be info")),
    FORWARD("audioStartReceive", AudioStartReceive, AtLeast("ob", "Expected 2 arguments: info ,bool.")),
    FORWARD("audioStopReceive", AudioStopReceive, AtLeast("o", "Expected arg index 0 to be info.")),
    ROW("videoStartReceive", VideoStartReceive, AtLeast("oc", "Expected 2 arguments: info, callback.")),
    ROW("videoStopReceive", VideoStopReceive, AtLeast("o", "Expected 1st parameter to be info")),
    ROW("videoStartCapture", VideoStartCapture, AtLeast("oc", "Expected 2 arguments: info, callback")),
    ROW("videoStartCaptureWithAISticker", VideoStartCaptureWithAISticker,
        AtLeast("oc", "Expected 2 arguments: info, callback")),
    ROW("videoStartCaptureAndSendToGroup", VideoStartCaptureAndSendToGroup,
        AtLeast("oca", "Expected 3 arguments: info, callback, userlist")),
    ROW("videoStartCaptureHD", VideoStartCaptureHD, AtLeast("oc", "Expected 2 arguments: info, callback")),
    ROW("videoStopCapture", VideoStopCapture, AtLeast("o", "Expected 1 arguments: info")),
    ROW("videoStopCaptureHD", VideoStopCaptureHD, AtLeast("o", "Expected 1 arguments: info")),
    FORWARD("setCaptureRotation", SetCaptureRotation, AtLeast("n", "Expected 1 arguments: rotate")),
    ROW("registerCameraDataCallback", RegisterCameraDataCallback,
        AtLeast("c", "Expected at least 1 arguments: callback")),
    ROW("unregisterCameraDataCallback", UnregisterCameraDataCallback, Free()),
    ROW("audioStartRecording", AudioStartRecording,
        AtLeast("oca", "Expected 3 arguments: info, callback, groupUsers")),
    ROW("audioStopRecording", AudioStopRecording, AtLeast("o", "Expected 1 arguments: info")),
    FORWARD("audioStartRecordAndSend", AudioStartRecordAndSend, Free()),
    ROW("audioStopRecordAndSend", AudioStopRecordAndSend, AtLeast("w", "Expected 1 arguments, recodingInfo")),
    ROW("audioStartRepeatRecording", AudioStartRepeatRecording,
        AtLeast("oc", "Expected 2 arguments: AudioTrackInfo, callback")),
    ROW("audioStopRepeatRecording", AudioStopRepeatRecording,
        AtLeast("ow", "Expected 2 arguments: AudioTrackInfo, callback")),
    FORWARD("setMicrophoneSendMute", SetMicrophoneSendMute, AtLeast("b", "Expected 1 arguments: mute")),
    ROW("getMicrophoneSendMute", GetMicrophoneSendMute, NoArgs("Expected 0 arguments")),
    ROW("registerLocalVadCallback", RegisterLocalVadCallback, AtLeast("c", "Expected 1 arguments: callabck")),
    ROW("unregisterLocalVadCallback", UnregisterLocalVadCallback, NoArgs("Expected 0 arguments")),
    FORWARD("getLocalVadStatus", GetLocalVadStatus, NoArgs("Expected 0 arguments")),
    ROW("registerRemoteVadCallback", RegisterRemoteVadCallback,
        AtLeast("nc", "Expected 1 arguments: ssrc, callabck")),
    ROW("registerRemoteVadCallbackBiz", RegisterRemoteVadCallbackBiz,
        AtLeast("oc", "Expected 1 arguments: bizinfo, callabck")),
    ROW("unregisterRemoteVadCallback", UnregisterRemoteVadCallback, AtLeast("n", "Expected 1 arguments: ssrc")),
    ROW("unregisterRemoteVadCallbackBiz", UnregisterRemoteVadCallbackBiz,
        AtLeast("o", "Expected 1 arguments: biz_info")),
    FORWARD_TO("getRemoteVadStatus", Overload<int32_t>(&Engine::GetRemoteVadStatus), "GetRemoteVadStatus",
               AtLeast("n", "Expected 1 arguments: ssrc")),
    FORWARD_TO("getRemoteVadStatusBiz", Overload<const tavel::BizInfo&>(&Engine::GetRemoteVadStatus),
               "GetRemoteVadStatus", AtLeast("o", "Expected 1 arguments: bizinfo")),
    FORWARD("setRxVoiceAdjustParameters", SetRxVoiceAdjustParameters,
            AtLeast("nn", "Expected 2 arguments: userId, position(number)")),
    FORWARD("setRxVoiceAdjustParametersBiz", SetRxVoiceAdjustParametersBiz,
            AtLeast("on", "Expected 2 arguments: BizInfo, position(number)")),
    ROW("startCameraAndPublish", StartCameraAndPublish, AtLeast("oc", "Expected 2 arguments: info, callback")),
    ROW("stopCameraAndUnpublish", StopCameraAndUnpublish, AtLeast("o", "Expected 1 arguments: info")),
    ROW("subscribeVideo", SubscribeVideo, AtLeast("oc", "Expected 2 arguments: info, callback.")),
    ROW("unsubscribeVideo", UnsubscribeVideo, AtLeast("o", "Expected 1st parameter to be info")),
    ROW("startMicAndPublish", StartMicAndPublish, AtLeast("obc", "Expected 3 arguments")),
    ROW("stopMicAndUnpublish", StopMicAndUnpublish,
        AtLeast("ow", "Expected 2 parameters: BizInfo, RecordingMicrophoneInfo")),
    FORWARD("subscribeAudio", SubscribeAudio, AtLeast("ob", "Expected 2 arguments: info ,bool.")),
    FORWARD("unsubscribeAudio", UnsubscribeAudio, AtLeast("o", "Expected arg index 0 to be info.")),
    FORWARD("startGroupAudio", StartGroupAudio, AtLeast("oab", "Expected 3 args: bizinfo, array of int64_t, bool.")),
    FORWARD("publishGroupAudio", PublishGroupAudio, Free()),
    FORWARD("unpblishGroupAudio", UnpublishGroupAudio, Free()),
    FORWARD("stopGroupAudio", StopGroupAudio, AtLeast("o", "Expected arg index 0 to be bizinfo.")),
    ROW("setStudentListInClass", SetStudentListInClass, AtLeast("a", "Expected 1st parameter to be student list")),
    ROW("sendUserData", SendUserData, AtLeast("t", "Expected 1st parameter to be data")),
    ROW("sendRadioData", SendRadioData, AtLeast("t", "Expected 1 parameter: data")),
    FORWARD("switchGroupServer", SwitchGroupServer, Free()),
    ROW("syncClock", SyncClock, Free()),
    ROW("startCommunication", StartCommunication, AtLeast("na", "Expected 2 arguments: communicationId, groupUsers")),
    FORWARD("stopCommunication", StopCommunication, AtLeast("n", "Expected 1 arguments: communicationId")),
    ROW("startSupervising", StartSupervising, AtLeast("oc", "Expected 2 arguments: info, view")),
    ROW("stopSupervising", StopSupervising, AtLeast("o", "Expected 1 arguments: info.")),
    ROW("startHandActionCheck", StartHandActionCheck, AtLeast("oc", "Expected 2 arguments: config, callback")),
    ROW("stopHandActionCheck", StopHandActionCheck, Free()),
    ROW("startCollectLiveData", StartCollectLiveData, AtLeast("nnc", "Expected 3 arguments：value, value, callback")),
    ROW("stopCollectLiveData", StopCollectLiveData, Free()),
    ROW("getCommandNetworkCondition", GetCommandNetworkCondition, AtLeast("w", "Expected 1 arguments: net condition")),
    ROW("getMediaNetworkCondition", GetMediaNetworkCondition,
        AtLeast("w", "Expected 1st parameter to be net condition")),
    ROW("getMediaNetworkConditionByUser", GetMediaNetworkConditionByUser, AtLeast("nw", "Expected 2 arguments")),
    ROW("getSenderMediaNetworkCondition", GetSenderMediaNetworkCondition,
        AtLeast("w", "Expected 1st parameter to be net condition")),
    ROW("getPingNetworkCondition", GetPingNetworkCondition, AtLeast("w", "Expected 1 arguments")),
    FORWARD("setAIStickerPath", SetAIStickerPath, Free()),
    {"livePlayEngine_setAIStickerEnable", Forward<LivePlay, &Engine::SetAIStickerEnable>, Free(), kMinusOne,
     "LivePlayEngineImpl::SetAIStickerEnable failed: live_ is nil"},
    ROW("isAIStickerAvailable", IsAIStickerAvailable, Free()),
    ROW("startScreenShare", StartScreenShare, AtLeast("oo", "Expected 2 arguments: info, callback")),
    ROW("stopScreenShare", StopScreenShare, Free()),
    ROW("enableStaticFrameDetector", EnableStaticFrameDetector, AtLeast("o", "Expected arg index 0 to be bizinfo.")),
    ROW("updateFaceInfo", UpdateFaceInfo, AtLeast("a", "Expected arg be array.")),
    {"livePlayEngine_getFaceDetectResult", OnEngine<LivePlayOrNull, GetFaceDetectResult>, Free(), kMinusOne},
    ROW("startCameraVideoRecord", StartCameraVideoRecord, AtLeast("o", "Expected 1 argument: config")),
    FORWARD("stopCameraVideoRecord", StopCameraVideoRecord, AtLeast("b", "Expected 1 argument: config")),
};

}  // namespace

void RegisterLivePlayEngineGroup(napi_env env, napi_value exports) { AddExports(env, exports, kRows); }

}  // namespace lumen_addon
