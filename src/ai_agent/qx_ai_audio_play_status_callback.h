// The agent's playout status to the function of
// QXAIAgent_registerAIAgentAudioPlayStatusCallback, called directly
// ("QXAIAgentAudioPlayStatusCallback" thread-safe function).
#ifndef LUMEN_AI_AGENT_QX_AI_AUDIO_PLAY_STATUS_CALLBACK_H_
#define LUMEN_AI_AGENT_QX_AI_AUDIO_PLAY_STATUS_CALLBACK_H_

#include <napi.h>

#include <memory>

#include "korin/qx_ai_agent.h"

namespace lumen_addon {

class JsFunctionBridge;

class QXAIAudioPlayStatusCallback : public korin::QXAIAgentAudioPlayStatusCallback {
 public:
  static std::unique_ptr<QXAIAudioPlayStatusCallback> Create(Napi::Env env, Napi::Value fn);
  // Only once the agent no longer calls it.
  ~QXAIAudioPlayStatusCallback() override;
  void OnAudioPlayStatus(int64_t pcm_index, int32_t play_status, int64_t play_pts_ms) override;

 private:
  explicit QXAIAudioPlayStatusCallback(std::shared_ptr<JsFunctionBridge> bridge) : bridge_(std::move(bridge)) {}
  std::shared_ptr<JsFunctionBridge> bridge_;
};

}  // namespace lumen_addon

#endif  // LUMEN_AI_AGENT_QX_AI_AUDIO_PLAY_STATUS_CALLBACK_H_
