// The device companion of an engine root. Its exports come with the device
// engine group; the engine manager already finds it per engine.
#ifndef LUMEN_ENGINE_DEVICE_ENGINE_IMPL_H_
#define LUMEN_ENGINE_DEVICE_ENGINE_IMPL_H_

#include <string>

#include "korin/sdk_services.h"
#include "tavel/live_engine.h"

namespace lumen {

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

class BeautyEngineImpl {
 public:
  explicit BeautyEngineImpl(tavel::LiveBeautyEngine* beauty) : beauty_(beauty) {}
  tavel::LiveBeautyEngine* beauty() const { return beauty_; }

 private:
  tavel::LiveBeautyEngine* beauty_;
};

}  // namespace lumen

#endif  // LUMEN_ENGINE_DEVICE_ENGINE_IMPL_H_
