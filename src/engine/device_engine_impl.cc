#include "engine/device_engine_impl.h"

#include <mutex>

namespace lumen_addon {

DeviceEngineImpl::DeviceEngineImpl(tavel::LiveDeviceEngine* device)
    : device_(device), recording_(korin::AudioRecording::Create("")) {}

DeviceEngineImpl::~DeviceEngineImpl() {
  if (recording_) korin::AudioRecording::Destroy(recording_);
}

void DeviceEngineImpl::Close() {
  std::unique_lock<std::shared_mutex> lock(mu_);
  closed_ = true;
}

void DeviceEngineImpl::UnregisterCallbacks() {
  if (device_) device_->RegisterDeviceEventCallback(nullptr);
}

int DeviceEngineImpl::SetAudioParameterPath(const std::string& path) {
  return Call("SetAudioParameterPath failed: device_ is null",
              [&](tavel::LiveDeviceEngine* device) { return device->SetAudioParameterPath(path); });
}

}  // namespace lumen_addon
