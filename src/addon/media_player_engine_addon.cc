// mediaPlayerEngine_* and MediaPlayerEngine_prepareAsyncWithPrefixs: local
// media files and URL lists played through the current engine's media
// player, optionally sent into the room and rendered to a JavaScript view.
#include <cstdio>

#include "addon/groups.h"
#include "common/byte_view.h"
#include "common/convert.h"
#include "common/export_table.h"
#include "common/forward.h"
#include "common/logging.h"
#include "common/stream_identity.h"
#include "engine/current_engine.h"
#include "engine/media_player_engine_impl.h"

namespace lumen_addon {
namespace {

using Engine = tavel::MediaPlayerEngine;
using Players = MediaPlayerEngineImpl;

Napi::Value NotCreated(const Napi::CallbackInfo& info) {
  LUMEN_LOG(kError, "EngineAddon") << "Player engine is not created yet.";
  return js::Number(info.Env(), -1);
}

// The engine whose media player wrapper gets created.
struct Owner {
  using Wrapper = EngineImplBase;
  static std::shared_ptr<EngineImplBase> Find(const Napi::CallbackInfo&) { return CurrentEngineWithCompanions(); }
  static Napi::Value Missing(const Napi::CallbackInfo& info) { return NotCreated(info); }
};

// The media player wrapper of the current engine; the share is the engine's,
// which keeps its wrapper.
struct MediaPlayer {
  using Wrapper = Players;
  static std::shared_ptr<Players> Find(const Napi::CallbackInfo&) {
    auto engine = CurrentEngineWithCompanions();
    auto players = engine ? engine->media_player() : nullptr;
    return players ? std::shared_ptr<Players>(engine, players.get()) : nullptr;
  }
  static Napi::Value Missing(const Napi::CallbackInfo& info) { return NotCreated(info); }
};

int Register(const Napi::CallbackInfo& info, EngineImplBase& engine) {
  return engine.CreateMediaPlayer(info.Env(), info[0]);
}

napi_value RenderAt(const Napi::CallbackInfo& info, size_t i) {
  return info.Length() > i && info[i].IsObject() ? static_cast<napi_value>(info[i]) : nullptr;
}

int PrepareAsync(const Napi::CallbackInfo& info, Players& players) {
  Players::Prepare p;
  p.url = js::ToUtf8(info[0]);
  p.sendout = js::ToBool(info[1]);
  p.playout = js::ToBool(info[2]);
  p.info = ToVideoTrackInfo(info[3]);
  std::printf("prepare_async, filename_utf8=%s\n", p.url.c_str());
  std::fflush(stdout);
  return players.PrepareAsync(p, info.Env(), RenderAt(info, 4));
}

// A URL list: not sent out, played out locally.
int PrepareAsyncWithPrefixes(const Napi::CallbackInfo& info, Players& players) {
  Players::Prepare p;
  p.url = js::ToUtf8(info[0]);
  p.prefixes = js::StringList(info[1]);
  p.stream_id = js::ToInt32(info[2]);
  p.playout = true;
  p.info = ToVideoTrackInfo(info[3]);
  return players.PrepareAsync(p, info.Env(), RenderAt(info, 4));
}

int Destroy(const Napi::CallbackInfo& info, Players& players) { return players.Destroy(js::ToInt32(info[0])); }

// Positions are 64-bit; a missing engine answers -1.
template <int64_t (Engine::*kGet)(int32_t)>
Napi::Value Position(const Napi::CallbackInfo& info, Players& players) {
  const int32_t id = js::ToInt32(info[0]);
  int64_t ms = -1;
  players.Call(RowOf(info).text, [&](Engine* e) {
    ms = (e->*kGet)(id);
    return 0;
  });
  return js::Number(info.Env(), static_cast<double>(ms));
}

#define ROW(js_name, op, admission) {"mediaPlayerEngine_" js_name, OnEngine<MediaPlayer, op>, admission, kMinusOne}
#define FORWARD(js_name, Method, admission) \
  {"mediaPlayerEngine_" js_name, Forward<MediaPlayer, &Engine::Method>, admission, kMinusOne, \
   #Method " failed: media player is null"}
#define GET(js_name, Method)                                                                                 \
  {"mediaPlayerEngine_" js_name, OnEngine<MediaPlayer, Position<&Engine::Method>>,                           \
   AtLeast("n", "Expected arguments: id"), kMinusOne, #Method " failed: media player is null"}

const ExportRow kRows[] = {
    {"mediaPlayerEngine_registerMediaPlayerCallback", OnEngine<Owner, Register>,
     AtLeast("c", "Expected arguments : callback"), kMinusOne},
    ROW("prepareAsync", PrepareAsync, AtLeast("sbbo", "Expected arguments : file, sendout, playout, info")),
    {"MediaPlayerEngine_prepareAsyncWithPrefixs", OnEngine<MediaPlayer, PrepareAsyncWithPrefixes>,
     AtLeast("sa*o", "Expected arguments: path, prefix, id, info"), kMinusOne},
    FORWARD("start", Start, AtLeast("n", "Expected arguments: id")),
    FORWARD("pause", Pause, AtLeast("n", "Expected arguments: id")),
    FORWARD("setLooping", SetLooping, AtLeast("nb", "Expected arguments: id, loop")),
    FORWARD("setSpeed", SetSpeed, AtLeast("nn", "Expected arguments: id, speed")),
    FORWARD("setVolume", SetVolume, AtLeast("nnn", "Expected arguments: id, volume, delay")),
    FORWARD("seekTo", SeekTo, AtLeast("nnn", "Expected arguments: id")),
    GET("getCurrentPositionMs", GetCurrentPositionMs),
    GET("getDurationMs", GetDurationMs),
    ROW("destroy", Destroy, AtLeast("n", "Expected arguments: id")),
    FORWARD("ringBell", RingBell, AtLeast("snn", "Expected 3 arguments:file, speed, volum")),
};

}  // namespace

void RegisterMediaPlayerEngineGroup(napi_env env, napi_value exports) { AddExports(env, exports, kRows); }

}  // namespace lumen_addon
