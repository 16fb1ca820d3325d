// audioRenderEngine_*: PCM that JavaScript pushes and the current engine plays.
#include "addon/groups.h"
#include "common/byte_view.h"
#include "common/convert.h"
#include "common/export_table.h"
#include "common/forward.h"
#include "common/logging.h"
#include "engine/current_engine.h"

namespace lumen_addon {
namespace {

using Engine = tavel::AudioRenderEngine;

// The audio render companion of the current engine.
struct AudioRenderTarget {
  std::shared_ptr<EngineImplBase> engine;
  template <typename Op>
  int Call(const char* failure, Op&& op) {
    return engine->CallAudioRender(failure, std::forward<Op>(op));
  }
};

struct AudioRender {
  using Wrapper = AudioRenderTarget;
  static std::shared_ptr<Wrapper> Find(const Napi::CallbackInfo&) {
    auto engine = CurrentEngineWithCompanions();
    return engine ? std::make_shared<Wrapper>(Wrapper{std::move(engine)}) : nullptr;
  }
  static Napi::Value Missing(const Napi::CallbackInfo& info) {
    LUMEN_LOG(kError, "EngineAddon") << "Audio render engine is not created yet.";
    return js::Number(info.Env(), -1);
  }
};

int Init(const Napi::CallbackInfo& info, AudioRenderTarget& e) {
  tavel::AudioFormat format;
  format.sample_rate = js::ToInt32(info[0]);
  format.channels = js::ToInt32(info[1]);
  format.audio_format = js::ToInt32(info[2]);
  return e.Call("Init failed: audio render is null", [&](Engine* a) { return a->Init(format); });
}

int PushAudioData(const Napi::CallbackInfo& info, AudioRenderTarget& e) {
  return e.Call("PushAudioData failed: audio render is null", [&](Engine* a) {
    const js::ByteView bytes = js::ViewBytes(info[0]);
    return a->PushAudioData(bytes.data, bytes.size);
  });
}

#define ROW(js_name, op, admission) {"audioRenderEngine_" js_name, OnEngine<AudioRender, op>, admission, kMinusOne}
#define FORWARD(js_name, Method) \
  {"audioRenderEngine_" js_name, Forward<AudioRender, &Engine::Method>, Free(), kMinusOne, \
   #Method " failed: audio render is null"}

const ExportRow kRows[] = {
    ROW("init", Init, AtLeast("nnn", "Expected arguments : sample_rate, channels and audio_format")),
    FORWARD("start", Start),
    FORWARD("stop", Stop),
    FORWARD("release", Release),
    FORWARD("getSpaceCanPushInBytes", GetSpaceCanPushInBytes),
    ROW("pushAudioData", PushAudioData, AtLeast("B", "Expected 1st parameter to be data")),
    FORWARD("clearPushedAudioData", ClearPushedAudioData),
};

}  // namespace

void RegisterAudioRenderEngineGroup(napi_env env, napi_value exports) { AddExports(env, exports, kRows); }

}  // namespace lumen_addon
