// The device companion of an engine root. Its exports come with the device
// engine group; the engine manager already finds it per engine.
#ifndef LUMEN_ENGINE_DEVICE_ENGINE_IMPL_H_
#define LUMEN_ENGINE_DEVICE_ENGINE_IMPL_H_

#include <shared_mutex>
#include <string>

#include "common/logging.h"
#include "korin/sdk_services.h"
#include "tavel/live_engine.h"

namespace lumen_addon {

class DeviceEngineImpl {
 public:
  static constexpr char kTag[] = "DeviceEngineImpl";

  explicit DeviceEngineImpl(tavel::LiveDeviceEngine* device);
  ~DeviceEngineImpl();

  // Runs `op` on the device interface (or logs `failure` at warning level
  // and answers -1 without it). Calls share; Close waits for those in flight.
  template <typename Op>
  int Call(const char* failure, Op&& op) {
    std::shared_lock<std::shared_mutex> lock(mu_);
    if (closed_ || !device_) {
      LUMEN_LOG(kWarning, kTag) << failure;
      return -1;
    }
    return op(device_);
  }

  // The interface itself, for the owning wrapper only, while it knows the
  // root alive (under its lock, not shut down); everybody else uses Call.
  tavel::LiveDeviceEngine* device() const { return device_; }
  // The owning wrapper is shut down: later calls answer -1.
  void Close();
  // Called by the root just before it is deleted: the engine must not call
  // the device callbacks any more.
  void UnregisterCallbacks();
  int SetAudioParameterPath(const std::string& path);

 private:
  std::shared_mutex mu_;
  bool closed_ = false;
  tavel::LiveDeviceEngine* const device_;
  korin::AudioRecording* recording_;
};

}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_DEVICE_ENGINE_IMPL_H_
