// livePlayEngine_*: media send and receive of the live classroom engine.
#include "addon/groups.h"
#include "common/convert.h"
#include "common/export_table.h"
#include "common/forward.h"
#include "common/logging.h"
#include "common/stream_identity.h"
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
};

}  // namespace

void RegisterLivePlayEngineGroup(napi_env env, napi_value exports) { AddExports(env, exports, kRows); }

}  // namespace lumen_addon
