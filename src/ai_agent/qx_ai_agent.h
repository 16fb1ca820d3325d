// One agent as JavaScript holds it: the engine's agent with the callbacks
// and the audio provider it calls, kept in the handle registry as an
// "agent". Destroying it destroys the engine's agent first, then what that
// agent called.
#ifndef LUMEN_AI_AGENT_QX_AI_AGENT_H_
#define LUMEN_AI_AGENT_QX_AI_AGENT_H_

#include <napi.h>

#include <memory>

#include "korin/qx_ai_agent.h"

namespace lumen_addon {

class AIAudioProvider;
class QXAIActionCallback;
class QXAIAudioPlayStatusCallback;

class QXAIAgent {
 public:
  // JavaScript thread. Null when a thread-safe function could not be made
  // (raised) or the factory made no agent.
  static std::shared_ptr<QXAIAgent> Create(Napi::Env env, const korin::QXAIAgentConfig& config,
                                           const Napi::Value& callbacks);
  ~QXAIAgent();
  QXAIAgent(const QXAIAgent&) = delete;
  QXAIAgent& operator=(const QXAIAgent&) = delete;

  // The forwarding frame's call: the agent lives as long as this object.
  template <typename Op>
  int Call(const char*, Op&& op) {
    return static_cast<int>(op(agent_));
  }
  korin::QXAIAgentInterface* agent() const { return agent_; }

  // JavaScript thread. What the agent called before is freed once the
  // engine has let go of it.
  int RegisterActionCallback(Napi::Env env, const Napi::Value& callback);
  int UnregisterActionCallback();
  int RegisterAudioPlayStatusCallback(Napi::Env env, const Napi::Value& fn);
  int UnregisterAudioPlayStatusCallback();
  int StartListeningWithProvider(Napi::Env env, const Napi::Value& handler);
  int StopListening();
  int StartListening();

 private:
  explicit QXAIAgent(korin::QXAIAgentInterface* agent);

  korin::QXAIAgentInterface* agent_;
  std::unique_ptr<QXAIActionCallback> action_;
  std::unique_ptr<QXAIAudioPlayStatusCallback> play_status_;
  std::unique_ptr<AIAudioProvider> provider_;
};

}  // namespace lumen_addon

#endif  // LUMEN_AI_AGENT_QX_AI_AGENT_H_
