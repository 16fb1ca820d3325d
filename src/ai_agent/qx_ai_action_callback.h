// The agent's action events to the object of QXAIAgent_registerActionCallback
// (onActionStatus), emitted on the agent's strand. Retired when replaced or
// unregistered: nothing more reaches the object, and the agent, which may
// still be calling it, keeps it until it is destroyed.
#ifndef LUMEN_AI_AGENT_QX_AI_ACTION_CALLBACK_H_
#define LUMEN_AI_AGENT_QX_AI_ACTION_CALLBACK_H_

#include <memory>
#include <vector>

#include "korin/qx_ai_agent.h"
#include "qx_base/listener.h"
#include "qx_base/strand.h"

namespace lumen_addon {

class QXAIActionCallback : public korin::QXAIActionCallback {
 public:
  QXAIActionCallback(std::shared_ptr<Strand> strand, std::shared_ptr<Listener> listener)
      : strand_(std::move(strand)), listener_(std::move(listener)) {}

  // extraData: a Buffer with a copy of the engine's bytes.
  void OnActionStatus(int32_t action_type, int64_t duration_ms, const uint8_t* extra, size_t size) override {
    std::vector<uint8_t> bytes = extra ? std::vector<uint8_t>(extra, extra + size) : std::vector<uint8_t>();
    strand_->Emit(listener_, "onActionStatus",
                  JsObject(Kv("actionType", action_type), Kv("durationMs", duration_ms), Kv("extraData", std::move(bytes))));
  }
  // JavaScript thread.
  void Retire() { listener_->Clear(); }

 private:
  const std::shared_ptr<Strand> strand_;
  const std::shared_ptr<Listener> listener_;
};

}  // namespace lumen_addon

#endif  // LUMEN_AI_AGENT_QX_AI_ACTION_CALLBACK_H_
