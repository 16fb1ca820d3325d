#include "engine/live_replay_engine_impl.h"

#include <mutex>

#include "engine/live_play_engine_impl.h"

namespace lumen_addon {

LiveReplayEngineImpl::LiveReplayEngineImpl(lumen::LiveClient* client, const std::string& media_path,
                                           const std::string& sdk_version)
    : live_client_(client), media_path_(media_path), sdk_version_(sdk_version) {}

LiveReplayEngineImpl::~LiveReplayEngineImpl() { Shutdown(); }

void LiveReplayEngineImpl::CreateReplay(napi_env env, napi_value callbacks) {
  tavel::ReplayEngine* replay = tavel::ReplayEngine::Create();
  auto callback = std::make_shared<ReplayEngineCallbackImpl>(env, callbacks);
  if (!replay) return;
  replay->RegisterCallback(callback.get());
  replay_ = std::shared_ptr<tavel::ReplayEngine>(
      replay, [callback, sinks = sinks_](tavel::ReplayEngine* gone) { tavel::ReplayEngine::Destroy(gone); });
}

void LiveReplayEngineImpl::set_live_play(std::shared_ptr<LivePlayEngineImpl> live_play) {
  live_play_ = std::move(live_play);
  if (live_play_) live_play_->set_owner(shared_from_this());
}

int LiveReplayEngineImpl::OpenMedia() {
  std::shared_ptr<tavel::ReplayEngine> replay;
  {
    std::shared_lock<std::shared_mutex> lock(mu_);
    replay = replay_;
  }
  if (!replay) return -1;
  tavel::ReplayOpenConfig config;
  config.media_path = media_path_;
  config.sdk_version = sdk_version_;
  return replay->Open(config, live_client_);
}

void LiveReplayEngineImpl::Shutdown() {
  std::shared_ptr<tavel::ReplayEngine> replay;
  {
    std::unique_lock<std::shared_mutex> lock(mu_);
    if (shut_down_) return;
    shut_down_ = true;
    replay = std::move(replay_);
  }
  if (live_play_) live_play_->Retire();
  if (replay) replay->Stop();
  replay.reset();  // destroyed here unless a media open in flight holds it
  if (live_play_) live_play_->Leave();
}

}  // namespace lumen_addon
