// The event item of one engine's holders: skipped on delivery once the
// engine's delivery gate has closed, so nothing an engine reports after it
// was taken out of the manager reaches JavaScript.
#ifndef LUMEN_CALLBACK_ENGINE_EVENT_ITEM_H_
#define LUMEN_CALLBACK_ENGINE_EVENT_ITEM_H_

#include <cstdint>
#include <memory>
#include <vector>

#include "callback/async_callback_item.h"
#include "callback/delivery_gate.h"

namespace lumen_addon {

class EngineEventItem : public EventItem {
 public:
  // `gate` (may be null: always open) lives as long as `holder`.
  EngineEventItem(std::shared_ptr<AddonCallback> holder, const DeliveryGate* gate, const char* method, int32_t type,
                  std::vector<EventArg> args = {})
      : EventItem(std::move(holder), method, type, std::move(args)), gate_(gate) {}
  void Run() override {
    if (Delivering()) EventItem::Run();
  }

 protected:
  bool Delivering() const { return !gate_ || gate_->open(); }

 private:
  const DeliveryGate* gate_;
};

// Any thread; dropped while the dispatcher closes.
bool PostEngineEvent(std::shared_ptr<AddonCallback> holder, const DeliveryGate* gate, const char* method,
                     int32_t type, std::vector<EventArg> args = {});

// An engine's byte payload: a pointer and a positive length.
inline bool HasData(const uint8_t* data, int length) { return data != nullptr && length > 0; }

}  // namespace lumen_addon

#endif  // LUMEN_CALLBACK_ENGINE_EVENT_ITEM_H_
