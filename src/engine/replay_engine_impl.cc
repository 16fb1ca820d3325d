#include "engine/replay_engine_impl.h"

namespace lumen_addon {

ReplayEngineImpl::ReplayEngineImpl(napi_env env, napi_value callbacks)
    : replay_(tavel::ReplayEngine::GetInterface(root_)),
      callback_(std::make_shared<ReplayEngineCallbackImpl>(env, callbacks)) {
  if (replay_) replay_->RegisterCallback(callback_.get());
}

int ReplayEngineImpl::Open(const std::string& media_path, const std::string& sdk_version, lumen::LiveClient* client) {
  if (!replay_) return -1;
  tavel::ReplayOpenConfig config;
  config.media_path = media_path;
  config.sdk_version = sdk_version;
  return replay_->Open(config, client);
}

}  // namespace lumen_addon
