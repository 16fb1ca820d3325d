// The agent's events, from engine threads to the callback object of
// QXAIAgent_createInstance, emitted on the agent's strand. The engine owns
// it and destroys it with the agent.
#ifndef LUMEN_AI_AGENT_QX_AI_AGENT_CALLBACK_H_
#define LUMEN_AI_AGENT_QX_AI_AGENT_CALLBACK_H_

#include <memory>

#include "korin/qx_ai_agent.h"
#include "qx_base/listener.h"
#include "qx_base/strand.h"

namespace lumen_addon {

class QXAIAgentCallbackBridge : public korin::QXAIAgentCallback {
 public:
  QXAIAgentCallbackBridge(std::shared_ptr<Strand> strand, std::shared_ptr<Listener> listener)
      : strand_(std::move(strand)), listener_(std::move(listener)) {}

  void OnConnectionStateChanged(int32_t state) override;
  void OnConnectionError(const korin::QXAIAgentConnectionError& error) override;
  void OnAIAgentVadStateChanged(bool speaking) override;
  void OnUserVadStateChanged(bool speaking) override;
  void OnAIAgentMessage(const char* data, size_t size) override;

 private:
  const std::shared_ptr<Strand> strand_;
  const std::shared_ptr<Listener> listener_;
};

}  // namespace lumen_addon

#endif  // LUMEN_AI_AGENT_QX_AI_AGENT_CALLBACK_H_
