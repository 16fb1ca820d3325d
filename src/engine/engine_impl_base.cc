#include "engine/engine_impl_base.h"

#include <mutex>

namespace lumen_addon {

EngineImplBase::EngineImplBase() : root_(std::make_shared<EngineRoot>()) {
  audio_render_ = tavel::AudioRenderEngine::GetInterface(root_->get());
  device_engine_ = std::make_shared<DeviceEngineImpl>(tavel::LiveDeviceEngine::GetInterface(root_->get()));
  beauty_engine_ = std::make_shared<BeautyEngineImpl>(tavel::LiveBeautyEngine::GetInterface(root_->get()));
  root_->set_device(device_engine_);
}

EngineImplBase::~EngineImplBase() { EngineImplBase::Shutdown(); }

std::shared_ptr<EngineRoot> EngineImplBase::CloseCalls() {
  std::shared_ptr<EngineRoot> root;
  {
    std::unique_lock<std::shared_mutex> lock(calls_mu_);
    if (closed_) return nullptr;
    closed_ = true;
    root = std::move(root_);
  }
  device_engine_->Close();
  beauty_engine_->Close();
  return root;
}

void EngineImplBase::Shutdown() {
  // Deleted here unless a network call in flight still holds a share.
  CloseCalls().reset();
}

}  // namespace lumen_addon
