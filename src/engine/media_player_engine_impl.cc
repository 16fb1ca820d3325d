#include "engine/media_player_engine_impl.h"

#include <utility>

namespace lumen_addon {

MediaPlayerEngineImpl::MediaPlayerEngineImpl(EngineImplBase* owner, tavel::MediaPlayerEngine* player, napi_env env,
                                             napi_value callbacks)
    : owner_(owner), player_(player), callback_(std::make_shared<MediaPlayerCallbackImpl>(env, callbacks)) {}

int MediaPlayerEngineImpl::RegisterCallback() {
  if (!player_) {
    LUMEN_LOG(kWarning, kTag) << "RegisterCallback failed: media player is null";
    return -1;
  }
  return player_->RegisterCallback(callback_.get());
}

std::function<void()> MediaPlayerEngineImpl::KeptWithRoot() const {
  return [callback = callback_, sinks = sinks_] {};
}

int MediaPlayerEngineImpl::PrepareAsync(const Prepare& p, napi_env env, napi_value render) {
  std::shared_ptr<VideoFrameCallback> renderer;
  if (render) renderer = VideoFrameCallback::CreateDirectRenderer(env, render);
  int32_t player_id = -1;
  const int result = Call("PrepareAsync failed: media player is null", [&](tavel::MediaPlayerEngine* engine) {
    if (renderer) sinks_->Keep(renderer);
    return engine->PrepareAsync(p.url, p.prefixes, std::string(), p.stream_id, renderer.get(), &player_id, p.sendout,
                                p.playout, p.info);
  });
  if (result != 0) {
    VideoFrameCallback::Release(std::move(renderer));
    return -1;
  }
  std::shared_ptr<VideoFrameCallback> replaced;
  {
    std::lock_guard<std::mutex> lock(mu_);
    replaced = std::exchange(renderers_[player_id], std::move(renderer));
  }
  VideoFrameCallback::Release(std::move(replaced));
  return player_id;
}

int MediaPlayerEngineImpl::Destroy(int32_t player_id) {
  const int result = Call("Destroy failed: media player is null",
                          [&](tavel::MediaPlayerEngine* engine) { return engine->Destroy(player_id); });
  std::shared_ptr<VideoFrameCallback> renderer;
  {
    std::lock_guard<std::mutex> lock(mu_);
    auto it = renderers_.find(player_id);
    if (it == renderers_.end()) return result;
    renderer = std::move(it->second);
    renderers_.erase(it);
  }
  VideoFrameCallback::Release(std::move(renderer));
  return result;
}

}  // namespace lumen_addon
