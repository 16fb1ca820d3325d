#include "engine/engine_impl_base.h"

namespace lumen_addon {

EngineImplBase::EngineImplBase() : root_(tavel::LiveEngine::Create()) {
  audio_render_ = tavel::AudioRenderEngine::GetInterface(root_);
  device_engine_ = std::make_unique<DeviceEngineImpl>(tavel::LiveDeviceEngine::GetInterface(root_));
  beauty_engine_ = std::make_unique<BeautyEngineImpl>(tavel::LiveBeautyEngine::GetInterface(root_));
}

EngineImplBase::~EngineImplBase() { DeleteRoot(); }

void EngineImplBase::DeleteRoot() {
  if (!root_) return;
  if (device_engine_) device_engine_->UnregisterCallbacks();
  tavel::LiveEngine::Delete(root_);
  root_ = nullptr;
  device_engine_.reset();
  beauty_engine_.reset();
  audio_render_ = nullptr;
  media_player_ = nullptr;
}

}  // namespace lumen_addon
