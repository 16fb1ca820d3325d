#include "ai_agent/qx_ai_action_callback.h"

#include <utility>
#include <vector>

#include "ai_agent/js_method_call.h"
#include "callback/addon_callback.h"
#include "callback/threadsafe_function.h"

namespace lumen_addon {

namespace {
// Work items hold the callback object weakly: one that runs after its agent
// was destroyed finds nothing and is dropped, and none keeps a reference
// alive past the environment's teardown.
Napi::Object JsObject(const std::weak_ptr<AddonCallback>& target) {
  std::shared_ptr<AddonCallback> held = target.lock();
  return held ? held->GetJsCallback() : Napi::Object();
}
}  // namespace

std::unique_ptr<QXAIActionCallback> QXAIActionCallback::Create(Napi::Env env, Napi::Value callback) {
  auto bridge = JsFunctionBridge::Create(env, callback, "QXAIActionCallback");
  if (!bridge) return nullptr;
  return std::unique_ptr<QXAIActionCallback>(
      new QXAIActionCallback(std::move(bridge), std::make_shared<AddonCallback>(env, callback)));
}

QXAIActionCallback::QXAIActionCallback(std::shared_ptr<JsFunctionBridge> bridge, std::shared_ptr<AddonCallback> target)
    : bridge_(std::move(bridge)), target_(std::move(target)) {}

QXAIActionCallback::~QXAIActionCallback() { bridge_->Release(); }

void QXAIActionCallback::OnActionStatus(int32_t action_type, int64_t duration_ms, const uint8_t* extra,
                                        size_t extra_size) {
  std::vector<uint8_t> bytes = extra ? std::vector<uint8_t>(extra, extra + extra_size) : std::vector<uint8_t>();
  bridge_->Call([target = std::weak_ptr<AddonCallback>(target_), action_type, duration_ms, bytes = std::move(bytes)](Napi::Env env, Napi::Function) {
    Napi::Object o = Napi::Object::New(env);
    o.Set("actionType", action_type);
    o.Set("durationMs", static_cast<double>(duration_ms));
    o.Set("extraData", Napi::Buffer<uint8_t>::Copy(env, bytes.data(), bytes.size()));
    CallMethod(env, JsObject(target), "onActionStatus", {o});
  });
}

}  // namespace lumen_addon
