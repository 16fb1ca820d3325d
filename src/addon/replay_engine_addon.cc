// replayEngine_*: a recorded class played back from packets JavaScript feeds.
#include "addon/groups.h"
#include "callback/video_frame_callback.h"
#include "common/byte_view.h"
#include "common/convert.h"
#include "common/export_table.h"
#include "common/forward.h"
#include "common/logging.h"
#include "common/stream_identity.h"
#include "engine/engine_manager.h"
#include "engine/live_replay_engine_impl.h"
#include "engine/replay_engine_impl.h"

namespace lumen_addon {
namespace {

using Engine = tavel::ReplayEngine;
using Renderer = VideoFrameCallback;

// The replay interface the exports drive: the live replay engine's own when
// there is one, else the replay engine's.
struct ReplayTarget {
  std::shared_ptr<LiveReplayEngineImpl> live;
  std::shared_ptr<ReplayEngineImpl> replay;
  template <typename Op>
  int Call(const char* failure, Op&& op) {
    return live ? live->Call(failure, std::forward<Op>(op)) : replay->Call(failure, std::forward<Op>(op));
  }
  void KeepSink(const std::shared_ptr<Renderer>& r) { live ? live->KeepSink(r) : replay->KeepSink(r); }
};

struct Replay {
  using Wrapper = ReplayTarget;
  static std::shared_ptr<ReplayTarget> Find(const Napi::CallbackInfo&) {
    EngineManager* manager = EngineManager::instance();
    if (auto live = manager->CurrentLiveReplayEngine()) return std::make_shared<ReplayTarget>(ReplayTarget{live, {}});
    if (auto replay = manager->CurrentReplayEngine()) return std::make_shared<ReplayTarget>(ReplayTarget{{}, replay});
    return nullptr;
  }
  static Napi::Value Missing(const Napi::CallbackInfo& info) {
    LUMEN_LOG(kError, "EngineAddon") << "Replay engine is not created yet.";
    return js::Number(info.Env(), -1);
  }
};

#define REPLAY_OP(name) int name(const Napi::CallbackInfo& info, ReplayTarget& e)

REPLAY_OP(SetPlaySpeed) {
  const auto speed = static_cast<float>(js::ToDouble(info[0]));
  return e.Call("SetPlaySpeed failed: replay_ is null", [&](Engine* r) { return r->SetPlaySpeed(speed); });
}

// A speed that is not a number is refused quietly, before any look-up.
Napi::Value SetPlaySpeedChecked(const Napi::CallbackInfo& info) {
  if (info.Length() < 1 || !info[0].IsNumber()) return js::Number(info.Env(), -1);
  return OnEngine<Replay, SetPlaySpeed>(info);
}

REPLAY_OP(ReceivePacket) {
  Napi::Object o = js::ToObject(info[1]);
  tavel::ReplayPacketInfo packet;
  packet.is_audio = !o.IsEmpty() && js::BoolAt(o, "isAudio");
  packet.is_rtp = !o.IsEmpty() && js::BoolAt(o, "isRtp");
  return e.Call("ReceivePacket failed: replay_ is null", [&](Engine* r) {
    const js::ByteView bytes = js::ViewBytes(info[0]);
    return r->ReceivePacket(bytes.data, bytes.size, packet);
  });
}

REPLAY_OP(SetStreamInfo) {
  return e.Call("SetStreamInfo failed: replay_ is null", [&](Engine* r) {
    const js::ByteView bytes = js::ViewBytes(info[0]);
    return r->SetStreamInfo(bytes.data, static_cast<int32_t>(bytes.size));
  });
}

// The renderer exists, enabled, before the engine is looked up, so that it
// is there even when the engine is not.
template <bool kBiz>
Napi::Value VideoStartPlay(const Napi::CallbackInfo& info) {
  const tavel::BizInfo biz = kBiz ? ToBizInfo(info[0]) : tavel::BizInfo{};
  const uint32_t user = kBiz ? 0 : js::ToUint32(info[0]);
  const int32_t type = kBiz ? 0 : js::ToInt32(info[1]);
  auto renderer = kBiz ? Renderer::CreateRendererWithBizType(biz.user_id, biz.biz_type, info.Env(), info[1])
                       : Renderer::CreateRenderer(static_cast<int32_t>(user), type, info.Env(), info[2], 0);
  if (renderer) renderer->SetEnabled(true);
  auto e = Replay::Find(info);
  if (!e) return Replay::Missing(info);
  return js::Number(info.Env(), e->Call("VideoStartPlay failed: replay_ is null", [&](Engine* r) {
    if (renderer) e->KeepSink(renderer);
    return kBiz ? r->VideoStartPlay(biz, renderer.get()) : r->VideoStartPlay(user, type, renderer.get());
  }));
}

// After the engine's stop, whatever it answered: the renderer is removed
// without destroy, kept with the engine until that can no longer call it.
void StopRenderer(int32_t user_id, int32_t type) {
  const int32_t id = Renderer::RendererId(user_id, type);
  if (user_id == Renderer::kLocalUserId) Renderer::SetLocalRendererId(id);
  Renderer::RemoveKeptRenderer(id);
}

REPLAY_OP(VideoStopPlay) {
  const uint32_t user = js::ToUint32(info[0]);
  const int32_t type = js::ToInt32(info[1]);
  return e.Call("VideoStopPlay failed: replay_ is null", [&](Engine* r) {
    const int result = r->VideoStopPlay(user, type);
    StopRenderer(static_cast<int32_t>(user), type);
    return result;
  });
}

REPLAY_OP(VideoStopPlayBiz) {
  const tavel::BizInfo biz = ToBizInfo(info[0]);
  return e.Call("VideoStopPlay failed: replay_ is null", [&](Engine* r) {
    const int result = r->VideoStopPlay(biz);
    StopRenderer(biz.user_id, biz.biz_type);
    return result;
  });
}

REPLAY_OP(AudioStartPlay) {
  const int32_t user = js::ToInt32(info[0]);
  return e.Call("AudioStartPlay failed: replay_ is null", [&](Engine* r) { return r->AudioStartPlay(user, true); });
}

#define ROW(js_name, op, admission) {"replayEngine_" js_name, OnEngine<Replay, op>, admission, kMinusOne}
#define FORWARD(js_name, method, text, admission) \
  {"replayEngine_" js_name, Forward<Replay, method>, admission, kMinusOne, text " failed: replay_ is null"}
using Biz = const tavel::BizInfo&;

const ExportRow kRows[] = {
    FORWARD("play", &Engine::Play, "Play", Free()),
    FORWARD("pause", &Engine::Pause, "Pause", Free()),
    {"replayEngine_setPlaySpeed", SetPlaySpeedChecked, Free(), kMinusOne},
    ROW("receivePacket", ReceivePacket, AtLeast("to", "Expected 2 arguments: array, packetInfo")),
    FORWARD("requestReset", &Engine::RequestReset, "RequestReset", Free()),
    FORWARD("confirmReset", &Engine::ConfirmReset, "ConfirmReset", Free()),
    ROW("setStreamInfo", SetStreamInfo, AtLeast("t", "Expected arguments: array")),
    {"replayEngine_videoStartPlay", VideoStartPlay<false>,
     AtLeast("nnc", "Expected 3 arguments: userId, stream type, callback"), kMinusOne},
    {"replayEngine_videoStartPlayBiz", VideoStartPlay<true>, AtLeast("oc", "Expected arguments: bizInfo, callback"),
     kMinusOne},
    ROW("videoStopPlay", VideoStopPlay, AtLeast("nn", "Expected 2 arguments： userID, stream type")),
    ROW("videoStopPlayBiz", VideoStopPlayBiz, AtLeast("o", "Expected arguments: bizInfo")),
    ROW("audioStartPlay", AudioStartPlay, AtLeast("n", "Expected arg index 0 to be user id")),
    FORWARD("audioStopPlay", Overload<int32_t>(&Engine::AudioStopPlay), "AudioStopPlay",
            AtLeast("n", "Expected arg index 0 to be user id")),
    FORWARD("audioStartPlayBiz", Overload<Biz>(&Engine::AudioStartPlay), "AudioStartPlay",
            AtLeast("o", "Expected arg index 0 to be BizInfo")),
    FORWARD("audioStopPlayBiz", Overload<Biz>(&Engine::AudioStopPlay), "AudioStopPlay",
            AtLeast("o", "Expected arg index 0 to be BizInfo")),
    FORWARD("setReplayVoiceAdjustParameters", (Overload<uint32_t, int32_t>(&Engine::SetVoiceAdjustParameters)),
            "SetVoiceAdjustParameters", AtLeast("nn", "Expected 2 arguments: userId, stream type")),
    FORWARD("setReplayVoiceAdjustParametersBiz", (Overload<Biz, int32_t>(&Engine::SetVoiceAdjustParameters)),
            "SetVoiceAdjustParameters", AtLeast("on", "Expected 2 arguments: bizInfo, pos")),
};

}  // namespace

void RegisterReplayEngineGroup(napi_env env, napi_value exports) { AddExports(env, exports, kRows); }

}  // namespace lumen_addon
