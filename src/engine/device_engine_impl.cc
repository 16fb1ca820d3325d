#include "engine/device_engine_impl.h"

namespace lumen_addon {

DeviceEngineImpl::DeviceEngineImpl(tavel::LiveDeviceEngine* device)
    : device_(device), recording_(korin::AudioRecording::Create("")) {}

DeviceEngineImpl::~DeviceEngineImpl() {
  if (recording_) korin::AudioRecording::Destroy(recording_);
}

void DeviceEngineImpl::UnregisterCallbacks() {
  if (device_) device_->RegisterDeviceEventCallback(nullptr);
}

int DeviceEngineImpl::SetAudioParameterPath(const std::string& path) {
  return device_ ? device_->SetAudioParameterPath(path) : -1;
}

}  // namespace lumen_addon
