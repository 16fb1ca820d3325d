#include "device/device_observers.h"

#include <utility>

#include "callback/callback_dispatcher.h"

namespace lumen_addon {

namespace {

class GatedEventItem : public EventItem {
 public:
  GatedEventItem(std::shared_ptr<AddonCallback> holder, std::shared_ptr<DeliveryGate> gate, const char* method,
                 int32_t type, std::vector<EventArg> args)
      : EventItem(std::move(holder), method, type, std::move(args)), gate_(std::move(gate)) {}
  void Run() override {
    if (!gate_ || gate_->open()) EventItem::Run();
  }

 private:
  std::shared_ptr<DeliveryGate> gate_;
};

}  // namespace

void DeviceEventPoster::Post(const char* method, std::vector<EventArg> args) {
  auto self = weak_from_this().lock();
  if (!self) return;
  CallbackDispatcher::Post(new GatedEventItem(std::move(self), gate_, method, type_, std::move(args)));
}

std::function<void(bool, bool)> StaticFrameDetectorForwarder(napi_env env, napi_value callback) {
  auto holder = std::make_shared<AddonCallback>(env, callback);
  return [holder](bool valid, bool is_static) {
    PostEvent(holder, "onDetectStatusCallback", kItemDefault, {Arg(valid), Arg(is_static)});
  };
}

}  // namespace lumen_addon
