#include "engine/engine_impl_base.h"

#include <mutex>

#include "engine/media_player_engine_impl.h"

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

std::shared_ptr<MediaPlayerEngineImpl> EngineImplBase::media_player() {
  std::lock_guard<std::mutex> lock(media_player_mu_);
  return media_player_;
}

int EngineImplBase::CreateMediaPlayer(napi_env env, napi_value callbacks) {
  std::lock_guard<std::mutex> lock(media_player_mu_);
  if (media_player_) return -1;
  std::shared_lock<std::shared_mutex> calls(calls_mu_);
  if (closed_) return -1;
  auto player = std::make_shared<MediaPlayerEngineImpl>(this, tavel::MediaPlayerEngine::GetInterface(root_->get()),
                                                        env, callbacks);
  // The engine may call its callbacks and sinks until the root is deleted.
  root_->AtDeletion(player->KeptWithRoot());
  media_player_ = player;
  return player->RegisterCallback();
}

void EngineImplBase::Shutdown() {
  // Deleted here unless a network call in flight still holds a share.
  CloseCalls().reset();
}

}  // namespace lumen_addon
