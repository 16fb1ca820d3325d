#include "callback/engine_event_item.h"

#include "callback/callback_dispatcher.h"

namespace lumen_addon {

bool PostEngineEvent(std::shared_ptr<AddonCallback> holder, const DeliveryGate* gate, const char* method,
                     int32_t type, std::vector<EventArg> args) {
  return CallbackDispatcher::Post(new EngineEventItem(std::move(holder), gate, method, type, std::move(args)));
}

}  // namespace lumen_addon
