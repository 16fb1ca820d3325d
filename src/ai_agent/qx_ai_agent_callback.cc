#include "ai_agent/qx_ai_agent_callback.h"

#include <string>


namespace lumen_addon {

void QXAIAgentCallbackBridge::OnConnectionStateChanged(int32_t state) {
  strand_->Emit(listener_, "onAIAgentConnectionStateChanged", state);
}

void QXAIAgentCallbackBridge::OnConnectionError(const korin::QXAIAgentConnectionError& e) {
  strand_->Emit(listener_, "onAIAgentConnectionError", JsObject(Kv("code", e.code), Kv("subcode", e.subcode),
                                                                 Kv("failReason", e.fail_reason), Kv("message", e.message)));
}

void QXAIAgentCallbackBridge::OnAIAgentVadStateChanged(bool speaking) {
  strand_->Emit(listener_, "onAIAgentVadStateChanged", speaking);
}

void QXAIAgentCallbackBridge::OnUserVadStateChanged(bool speaking) {
  strand_->Emit(listener_, "onUserVadStateChanged", speaking);
}

// The engine's bytes with their length: no terminator is read.
void QXAIAgentCallbackBridge::OnAIAgentMessage(const char* data, size_t size) {
  strand_->Emit(listener_, "onAIAgentMessage", JsObject(Kv("message", data ? std::string(data, size) : std::string())));
}

}  // namespace lumen_addon
