#include "QXPlayer/QXPlayer.h"

namespace lumen_addon {

QXPlayer::QXPlayer(napi_env env) : listener_(std::make_shared<Listener>(env, "QXPlayer_setCallback")) {}

void QXPlayer::Init(napi_env env, napi_value render, bool short_audio_mode) {
  if (core_player_) return;
  factory_.reset();
  std::unique_ptr<QXPlayerCoreVideoRendererPCInternal> renderer;
  if (render) {
    renderer = QXPlayerCoreVideoRendererPCInternal::Create(env, render);
    if (!renderer) return;
  }
  factory_ = std::make_unique<QXPlayerFactory>(std::move(renderer));
  if (!strand_) strand_ = Strand::Create(env, "QXPlayer");
  if (!strand_) return;
  callback_ = std::make_unique<QXPlayerCallbackBridge>(strand_, listener_);
  core_player_.reset(korin::QXPlayerCore::CreateQXPlayer(callback_.get(), factory_.get(), short_audio_mode, ""));
}

void QXPlayer::Destroy() {
  if (core_player_) core_player_->StopBeforeRelease();
  core_player_.reset();
  factory_.reset();
  callback_.reset();
  if (strand_) strand_->Close();
  listener_->Clear();
  options_ = korin::QXPlayerCoreOptions();
}

}  // namespace lumen_addon
