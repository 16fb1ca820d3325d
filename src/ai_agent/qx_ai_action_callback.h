// The agent's action events to the object of QXAIAgent_registerActionCallback
// ("QXAIActionCallback" thread-safe function, method onActionStatus).
#ifndef LUMEN_AI_AGENT_QX_AI_ACTION_CALLBACK_H_
#define LUMEN_AI_AGENT_QX_AI_ACTION_CALLBACK_H_

#include <napi.h>

#include <memory>

#include "korin/qx_ai_agent.h"

namespace lumen_addon {

class AddonCallback;
class JsFunctionBridge;

class QXAIActionCallback : public korin::QXAIActionCallback {
 public:
  static std::unique_ptr<QXAIActionCallback> Create(Napi::Env env, Napi::Value callback);
  // Only once the agent no longer calls it.
  ~QXAIActionCallback() override;
  void OnActionStatus(int32_t action_type, int64_t duration_ms, const uint8_t* extra, size_t extra_size) override;

 private:
  QXAIActionCallback(std::shared_ptr<JsFunctionBridge> bridge, std::shared_ptr<AddonCallback> target);
  std::shared_ptr<JsFunctionBridge> bridge_;
  std::shared_ptr<AddonCallback> target_;
};

}  // namespace lumen_addon

#endif  // LUMEN_AI_AGENT_QX_AI_ACTION_CALLBACK_H_
