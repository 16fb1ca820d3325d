// The device companion of an engine root. Its exports come with the device
// engine group; the engine manager already finds it per engine.
#ifndef LUMEN_ENGINE_DEVICE_ENGINE_IMPL_H_
#define LUMEN_ENGINE_DEVICE_ENGINE_IMPL_H_

#include <string>

#include "korin/sdk_services.h"
#include "tavel/live_engine.h"

namespace lumen_addon {

class DeviceEngineImpl {
 public:
  explicit DeviceEngineImpl(tavel::LiveDeviceEngine* device);
  ~DeviceEngineImpl();

  tavel::LiveDeviceEngine* device() const { return device_; }
  // Called before the root goes: the engine must not call them any more.
  void UnregisterCallbacks();
  int SetAudioParameterPath(const std::string& path);

 private:
  tavel::LiveDeviceEngine* device_;
  korin::AudioRecording* recording_;
};

}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_DEVICE_ENGINE_IMPL_H_
