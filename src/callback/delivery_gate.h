// Whether the events of one engine may still reach JavaScript. Closed when
// the engine is taken out of the manager (its destroy, or an automatic
// leave); the engine's items check it on the JavaScript thread, so nothing
// the engine reports afterwards is delivered, even while the deletion of its
// root waits for a connect still in flight.
#ifndef LUMEN_CALLBACK_DELIVERY_GATE_H_
#define LUMEN_CALLBACK_DELIVERY_GATE_H_

#include <atomic>

namespace lumen_addon {

class DeliveryGate {
 public:
  bool open() const { return open_.load(std::memory_order_acquire); }
  void Close() { open_.store(false, std::memory_order_release); }

 private:
  std::atomic<bool> open_{true};
};

}  // namespace lumen_addon

#endif  // LUMEN_CALLBACK_DELIVERY_GATE_H_
