#include "ai_agent/qx_ai_agent.h"

#include <utility>

#include "ai_agent/ai_audio_provider.h"
#include "ai_agent/qx_ai_action_callback.h"
#include "ai_agent/qx_ai_agent_callback.h"
#include "ai_agent/qx_ai_audio_play_status_callback.h"

namespace lumen_addon {

std::shared_ptr<QXAIAgent> QXAIAgent::Create(Napi::Env env, const korin::QXAIAgentConfig& config,
                                             const Napi::Value& callbacks) {
  auto callback = QXAIAgentCallbackBridge::Create(env, callbacks);
  if (!callback) return nullptr;
  korin::QXAIAgentInterface* agent = korin::QXAIAgentFactory::CreateAIAgent(config, std::move(callback));
  if (!agent) return nullptr;
  return std::shared_ptr<QXAIAgent>(new QXAIAgent(agent));
}

QXAIAgent::QXAIAgent(korin::QXAIAgentInterface* agent) : agent_(agent) {}

// The agent takes its own callback (and with it the "QXAIAgent" function)
// along; the other two functions and the provider go after it.
QXAIAgent::~QXAIAgent() {
  korin::QXAIAgentFactory::DestroyAIAgent(agent_);
  action_.reset();
  play_status_.reset();
  provider_.reset();
}

int QXAIAgent::RegisterActionCallback(Napi::Env env, const Napi::Value& callback) {
  auto next = QXAIActionCallback::Create(env, callback);
  if (!next) return -1;
  const int result = agent_->RegisterActionCallback(next.get());
  action_ = std::move(next);
  return result;
}

int QXAIAgent::UnregisterActionCallback() {
  const int result = agent_->UnRegisterActionCallback();
  action_.reset();
  return result;
}

int QXAIAgent::RegisterAudioPlayStatusCallback(Napi::Env env, const Napi::Value& fn) {
  auto next = QXAIAudioPlayStatusCallback::Create(env, fn);
  if (!next) return -1;
  const int result = agent_->RegisterAIAgentAudioPlayStatusCallback(next.get());
  play_status_ = std::move(next);
  return result;
}

int QXAIAgent::UnregisterAudioPlayStatusCallback() {
  const int result = agent_->UnRegisterAIAgentAudioPlayStatusCallback();
  play_status_.reset();
  return result;
}

int QXAIAgent::StartListeningWithProvider(Napi::Env env, const Napi::Value& handler) {
  std::unique_ptr<AIAudioProvider> next = AIAudioProvider::FromHandler(env, handler);
  const int result = agent_->StartListeningWithProvider(next.get());
  provider_ = std::move(next);
  return result;
}

int QXAIAgent::StopListening() {
  const int result = agent_->StopListening();
  provider_.reset();
  return result;
}

int QXAIAgent::StartListening() {
  const int result = agent_->StartListening();
  provider_.reset();
  return result;
}

}  // namespace lumen_addon
