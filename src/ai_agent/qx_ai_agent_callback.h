// The agent's events, from engine threads to the callback object of
// QXAIAgent_createInstance through the "QXAIAgent" thread-safe function.
// Owned by the agent; released with it.
#ifndef LUMEN_AI_AGENT_QX_AI_AGENT_CALLBACK_H_
#define LUMEN_AI_AGENT_QX_AI_AGENT_CALLBACK_H_

#include <napi.h>

#include <memory>

#include "korin/qx_ai_agent.h"

namespace lumen_addon {

class AddonCallback;
class JsFunctionBridge;

class QXAIAgentCallbackBridge : public korin::QXAIAgentCallback {
 public:
  // Null after a failure, which is raised.
  static std::unique_ptr<QXAIAgentCallbackBridge> Create(Napi::Env env, Napi::Value callbacks);
  ~QXAIAgentCallbackBridge() override;

  void OnConnectionStateChanged(int32_t state) override;
  void OnConnectionError(const korin::QXAIAgentConnectionError& error) override;
  void OnAIAgentVadStateChanged(bool speaking) override;
  void OnUserVadStateChanged(bool speaking) override;
  void OnAIAgentMessage(const char* data, size_t size) override;

 private:
  QXAIAgentCallbackBridge(std::shared_ptr<JsFunctionBridge> bridge, std::shared_ptr<AddonCallback> target);
  std::shared_ptr<JsFunctionBridge> bridge_;
  std::shared_ptr<AddonCallback> target_;
};

}  // namespace lumen_addon

#endif  // LUMEN_AI_AGENT_QX_AI_AGENT_CALLBACK_H_
