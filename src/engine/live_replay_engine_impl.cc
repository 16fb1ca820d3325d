#include "engine/live_replay_engine_impl.h"

#include "engine/live_play_engine_impl.h"

namespace lumen_addon {

LiveReplayEngineImpl::LiveReplayEngineImpl(lumen::LiveClient* client, const std::string& media_path,
                                           const std::string& sdk_version)
    : live_client_(client), media_path_(media_path), sdk_version_(sdk_version) {}

LiveReplayEngineImpl::~LiveReplayEngineImpl() { Shutdown(); }

void LiveReplayEngineImpl::CreateReplay(napi_env env, napi_value callbacks) {
  replay_ = tavel::ReplayEngine::Create();
  replay_callback_ = std::make_shared<ReplayEngineCallbackImpl>(env, callbacks);
  if (replay_) replay_->RegisterCallback(replay_callback_.get());
}

void LiveReplayEngineImpl::set_live_play(std::shared_ptr<LivePlayEngineImpl> live_play) {
  live_play_ = std::move(live_play);
  if (live_play_) live_play_->set_owner(this);
}

int LiveReplayEngineImpl::OpenMedia() {
  if (!replay_) return -1;
  tavel::ReplayOpenConfig config;
  config.media_path = media_path_;
  config.sdk_version = sdk_version_;
  return replay_->Open(config, live_client_);
}

void LiveReplayEngineImpl::Shutdown() {
  if (replay_) {
    replay_->Stop();
    tavel::ReplayEngine::Destroy(replay_);
    replay_ = nullptr;
  }
  if (live_play_) {
    live_play_->set_owner(nullptr);
    live_play_->Disconnect();
    live_play_->Shutdown();
    live_play_.reset();
  }
}

}  // namespace lumen_addon
