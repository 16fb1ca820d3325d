#include "ai_agent/qx_ai_agent.h"

#include <utility>

#include "ai_agent/ai_audio_provider.h"
#include "ai_agent/qx_ai_action_callback.h"
#include "ai_agent/qx_ai_agent_callback.h"
#include "ai_agent/qx_ai_audio_play_status_callback.h"

namespace lumen_addon {

std::shared_ptr<QXAIAgent> QXAIAgent::Create(Napi::Env env, const korin::QXAIAgentConfig& config,
                                             const Napi::Value& callbacks) {
  auto strand = Strand::Create(env, "QXAIAgent");
  if (!strand) return nullptr;
  auto listener = Listener::Make(env, "QXAIAgent_createInstance", callbacks);
  std::shared_ptr<QXAIAgent> agent(new QXAIAgent(strand, listener));
  agent->agent_ =
      korin::QXAIAgentFactory::CreateAIAgent(config, std::make_unique<QXAIAgentCallbackBridge>(strand, listener));
  return agent->agent_ ? agent : nullptr;
}

QXAIAgent::~QXAIAgent() {
  if (agent_) korin::QXAIAgentFactory::DestroyAIAgent(agent_);
  strand_->Close();
  listener_->Clear();
  handed_.Retire(std::move(action_));
  handed_.Retire(std::move(play_status_));
  handed_.Retire(std::move(provider_));
  handed_.Clear();
}

int QXAIAgent::RegisterActionCallback(Napi::Env env, const Napi::Value& callback) {
  auto next = std::make_shared<QXAIActionCallback>(strand_, Listener::Make(env, "QXAIAgent_registerActionCallback", callback));
  const int result = agent_->RegisterActionCallback(next.get());
  handed_.Retire(std::exchange(action_, std::move(next)));
  return result;
}

int QXAIAgent::UnregisterActionCallback() {
  const int result = agent_->UnRegisterActionCallback();
  handed_.Retire(std::move(action_));
  return result;
}

int QXAIAgent::RegisterAudioPlayStatusCallback(Napi::Env env, const Napi::Value& fn) {
  auto next = std::make_shared<QXAIAudioPlayStatusCallback>(
      strand_, Listener::Make(env, "QXAIAgent_registerAIAgentAudioPlayStatusCallback", fn));
  const int result = agent_->RegisterAIAgentAudioPlayStatusCallback(next.get());
  handed_.Retire(std::exchange(play_status_, std::move(next)));
  return result;
}

int QXAIAgent::UnregisterAudioPlayStatusCallback() {
  const int result = agent_->UnRegisterAIAgentAudioPlayStatusCallback();
  handed_.Retire(std::move(play_status_));
  return result;
}

int QXAIAgent::StartListeningWithProvider(Napi::Env env, const Napi::Value& handler) {
  std::shared_ptr<AIAudioProvider> next = AIAudioProvider::FromHandler(env, handler);
  const int result = agent_->StartListeningWithProvider(next.get());
  handed_.Retire(std::exchange(provider_, std::move(next)));
  return result;
}

int QXAIAgent::StopListening() {
  const int result = agent_->StopListening();
  handed_.Retire(std::move(provider_));
  return result;
}

int QXAIAgent::StartListening() {
  const int result = agent_->StartListening();
  handed_.Retire(std::move(provider_));
  return result;
}

}  // namespace lumen_addon
