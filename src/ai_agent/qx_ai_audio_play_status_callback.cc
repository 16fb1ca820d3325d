#include "ai_agent/qx_ai_audio_play_status_callback.h"

#include <utility>

#include "ai_agent/js_method_call.h"
#include "callback/threadsafe_function.h"

namespace lumen_addon {

std::unique_ptr<QXAIAudioPlayStatusCallback> QXAIAudioPlayStatusCallback::Create(Napi::Env env, Napi::Value fn) {
  auto bridge = JsFunctionBridge::Create(env, fn, "QXAIAgentAudioPlayStatusCallback");
  if (!bridge) return nullptr;
  return std::unique_ptr<QXAIAudioPlayStatusCallback>(new QXAIAudioPlayStatusCallback(std::move(bridge)));
}

QXAIAudioPlayStatusCallback::~QXAIAudioPlayStatusCallback() { bridge_->Release(); }

void QXAIAudioPlayStatusCallback::OnAudioPlayStatus(int64_t pcm_index, int32_t play_status, int64_t play_pts_ms) {
  bridge_->Call([pcm_index, play_status, play_pts_ms](Napi::Env env, Napi::Function fn) {
    if (fn.IsEmpty()) return;
    Napi::Object o = Napi::Object::New(env);
    o.Set("pcmIndex", static_cast<double>(pcm_index));
    o.Set("playStatus", play_status);
    o.Set("playPtsMs", static_cast<double>(play_pts_ms));
    napi_value ignored = nullptr;
    napi_value argv[] = {o};
    napi_call_function(env, env.Undefined(), fn, 1, argv, &ignored);
    SurfaceException(env);
  });
}

}  // namespace lumen_addon
