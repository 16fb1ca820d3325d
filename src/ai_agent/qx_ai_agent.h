// One agent as JavaScript holds it: the engine's agent, the strand all its
// events travel on, the objects they reach, and what the agent was handed
// (callbacks, audio providers), which stays allocated until the agent is
// destroyed. Kept in the handle registry as an "agent".
#ifndef LUMEN_AI_AGENT_QX_AI_AGENT_H_
#define LUMEN_AI_AGENT_QX_AI_AGENT_H_

#include <napi.h>

#include <memory>

#include "korin/qx_ai_agent.h"
#include "qx_base/keep_alive.h"
#include "qx_base/listener.h"
#include "qx_base/strand.h"

namespace lumen_addon {

class AIAudioProvider;
class QXAIActionCallback;
class QXAIAudioPlayStatusCallback;

// JavaScript thread only.
class QXAIAgent {
 public:
  // Null when the strand could not be made (raised) or the factory made no
  // agent.
  static std::shared_ptr<QXAIAgent> Create(Napi::Env env, const korin::QXAIAgentConfig& config,
                                           const Napi::Value& callbacks);
  // Destroys the engine's agent (and with it its callback), then lets go of
  // everything it was handed; nothing reaches JavaScript afterwards.
  ~QXAIAgent();
  QXAIAgent(const QXAIAgent&) = delete;
  QXAIAgent& operator=(const QXAIAgent&) = delete;

  // The forwarding frame's calls: the agent lives as long as this object.
  template <typename Op>
  int Call(const char*, Op&& op) {
    return static_cast<int>(op(agent_));
  }
  template <typename Op>
  bool Visit(Op&& op) {
    op(agent_);
    return true;
  }
  korin::QXAIAgentInterface* agent() const { return agent_; }

  // What the agent called before is retired: nothing more reaches its
  // JavaScript object, and it is kept until the agent is destroyed.
  int RegisterActionCallback(Napi::Env env, const Napi::Value& callback);
  int UnregisterActionCallback();
  int RegisterAudioPlayStatusCallback(Napi::Env env, const Napi::Value& fn);
  int UnregisterAudioPlayStatusCallback();
  int StartListeningWithProvider(Napi::Env env, const Napi::Value& handler);
  int StopListening();
  int StartListening();

 private:
  QXAIAgent(std::shared_ptr<Strand> strand, std::shared_ptr<Listener> listener)
      : strand_(std::move(strand)), listener_(std::move(listener)) {}

  korin::QXAIAgentInterface* agent_ = nullptr;
  const std::shared_ptr<Strand> strand_;
  const std::shared_ptr<Listener> listener_;
  std::shared_ptr<QXAIActionCallback> action_;
  std::shared_ptr<QXAIAudioPlayStatusCallback> play_status_;
  std::shared_ptr<AIAudioProvider> provider_;
  KeepAlive handed_;
};

}  // namespace lumen_addon

#endif  // LUMEN_AI_AGENT_QX_AI_AGENT_H_
