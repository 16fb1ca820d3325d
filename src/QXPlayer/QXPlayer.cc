#include "QXPlayer/QXPlayer.h"

namespace lumen_addon {

void QXPlayer::Init(napi_env env, napi_value render, bool short_audio_mode) {
  if (core_player_) return;
  factory_.reset();
  std::unique_ptr<QXPlayerCoreVideoRendererPCInternal> renderer;
  if (render) {
    renderer = QXPlayerCoreVideoRendererPCInternal::Create(env, render);
    if (!renderer) return;
  }
  factory_ = std::make_unique<QXPlayerFactory>(std::move(renderer));
  callback_ = QXPlayerCallbackBridge::Create(env, target_);
  if (!callback_) return;
  core_player_.reset(korin::QXPlayerCore::CreateQXPlayer(callback_.get(), factory_.get(), short_audio_mode, ""));
}

void QXPlayer::Destroy() {
  if (core_player_) core_player_->StopBeforeRelease();
  core_player_.reset();
  factory_.reset();
  callback_.reset();
  target_->Clear();
  options_ = korin::QXPlayerCoreOptions();
}

}  // namespace lumen_addon
