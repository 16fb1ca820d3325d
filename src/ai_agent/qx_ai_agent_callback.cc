#include "ai_agent/qx_ai_agent_callback.h"

#include <string>
#include <utility>

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

std::unique_ptr<QXAIAgentCallbackBridge> QXAIAgentCallbackBridge::Create(Napi::Env env, Napi::Value callbacks) {
  auto bridge = JsFunctionBridge::Create(env, nullptr, "QXAIAgent");
  if (!bridge) return nullptr;
  return std::unique_ptr<QXAIAgentCallbackBridge>(
      new QXAIAgentCallbackBridge(std::move(bridge), std::make_shared<AddonCallback>(env, callbacks)));
}

QXAIAgentCallbackBridge::QXAIAgentCallbackBridge(std::shared_ptr<JsFunctionBridge> bridge,
                                                 std::shared_ptr<AddonCallback> target)
    : bridge_(std::move(bridge)), target_(std::move(target)) {}

// The engine destroys it with the agent: no event can follow, and those
// still queued are dropped.
QXAIAgentCallbackBridge::~QXAIAgentCallbackBridge() { bridge_->Release(); }

void QXAIAgentCallbackBridge::OnConnectionStateChanged(int32_t state) {
  bridge_->Call([target = std::weak_ptr<AddonCallback>(target_), state](Napi::Env env, Napi::Function) {
    CallMethod(env, JsObject(target), "onAIAgentConnectionStateChanged", {Napi::Number::New(env, state)});
  });
}

void QXAIAgentCallbackBridge::OnConnectionError(const korin::QXAIAgentConnectionError& e) {
  bridge_->Call([target = std::weak_ptr<AddonCallback>(target_), e](Napi::Env env, Napi::Function) {
    Napi::Object o = Napi::Object::New(env);
    o.Set("code", e.code);
    o.Set("subcode", e.subcode);
    o.Set("failReason", e.fail_reason);
    o.Set("message", e.message);
    CallMethod(env, JsObject(target), "onAIAgentConnectionError", {o});
  });
}

void QXAIAgentCallbackBridge::OnAIAgentVadStateChanged(bool speaking) {
  bridge_->Call([target = std::weak_ptr<AddonCallback>(target_), speaking](Napi::Env env, Napi::Function) {
    CallMethod(env, JsObject(target), "onAIAgentVadStateChanged", {Napi::Boolean::New(env, speaking)});
  });
}

void QXAIAgentCallbackBridge::OnUserVadStateChanged(bool speaking) {
  bridge_->Call([target = std::weak_ptr<AddonCallback>(target_), speaking](Napi::Env env, Napi::Function) {
    CallMethod(env, JsObject(target), "onUserVadStateChanged", {Napi::Boolean::New(env, speaking)});
  });
}

void QXAIAgentCallbackBridge::OnAIAgentMessage(const char* data, size_t size) {
  std::string message = data ? std::string(data, size) : std::string();
  bridge_->Call([target = std::weak_ptr<AddonCallback>(target_), message = std::move(message)](Napi::Env env, Napi::Function) {
    Napi::Object o = Napi::Object::New(env);
    o.Set("message", Napi::String::New(env, message));
    CallMethod(env, JsObject(target), "onAIAgentMessage", {o});
  });
}

}  // namespace lumen_addon
