// streamingEngine_*: a stream played from a list of URLs by the streaming engine.
#include "addon/groups.h"
#include "common/byte_view.h"
#include "common/convert.h"
#include "common/export_table.h"
#include "common/forward.h"
#include "common/logging.h"
#include "engine/engine_manager.h"
#include "engine/streaming_engine_impl.h"

namespace lumen_addon {
namespace {

using Engine = tavel::StreamingEngine;

struct Streaming {
  using Wrapper = StreamingEngineImpl;
  static std::shared_ptr<Wrapper> Find(const Napi::CallbackInfo&) {
    return EngineManager::instance()->CurrentStreamingEngine();
  }
  static Napi::Value Missing(const Napi::CallbackInfo& info) {
    LUMEN_LOG(kError, "EngineAddon") << "streaming engine is not created yet.";
    return js::Number(info.Env(), -1);
  }
};

int PrepareAsync(const Napi::CallbackInfo& info, StreamingEngineImpl& e) {
  return e.PrepareAsync(js::StringList(info[0]), info.Env(), info[1]);
}

template <int (Engine::*kSend)(const uint8_t*, size_t)>
int Send(const Napi::CallbackInfo& info, StreamingEngineImpl& e) {
  return e.Call(RowOf(info).text, [&](Engine* s) {
    const js::ByteView bytes = js::ViewBytes(info[0]);
    return (s->*kSend)(bytes.data, bytes.size);
  });
}

// Not muted while there is no engine.
Napi::Value IsMute(const Napi::CallbackInfo& info) {
  bool mute = false;
  if (auto e = Streaming::Find(info)) {
    e->Call("IsMute failed: streaming_ is null", [&](Engine* s) {
      mute = s->IsMute();
      return 0;
    });
  } else {
    Streaming::Missing(info);
  }
  return js::Boolean(info.Env(), mute);
}

#define TEXT(Method) #Method " failed: streaming_ is null"
#define ROW(js_name, op, admission, text) {"streamingEngine_" js_name, OnEngine<Streaming, op>, admission, kMinusOne, text}
#define FORWARD(js_name, method, text, admission) \
  {"streamingEngine_" js_name, Forward<Streaming, method>, admission, kMinusOne, TEXT(text)}

const ExportRow kRows[] = {
    ROW("prepareAsync", PrepareAsync, AtLeast("ac", "Expected arguments : urls, render"), TEXT(PrepareAsync)),
    ROW("sendUserData", Send<&Engine::SendUserData>, AtLeast("B", "Expected arguments : data"), TEXT(SendUserData)),
    ROW("sendRadioData", Send<&Engine::SendRadioData>, AtLeast("B", "Expected arguments : data"), TEXT(SendRadioData)),
    FORWARD("mute", &Engine::Mute, Mute, Lenient("b", "Expected arguments : mute")),
    {"streamingEngine_isMute", IsMute, Free(), FailWith(0)},
    FORWARD("pause", &Engine::Pause, Pause, Free()),
    FORWARD("start", static_cast<int (Engine::*)()>(&Engine::Start), Start, Free()),
};

}  // namespace

void RegisterStreamingEngineGroup(napi_env env, napi_value exports) { AddExports(env, exports, kRows); }

}  // namespace lumen_addon
