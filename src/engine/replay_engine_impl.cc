#include "engine/replay_engine_impl.h"

namespace lumen_addon {

ReplayEngineImpl::ReplayEngineImpl(napi_env env, napi_value callbacks)
    : replay_(tavel::ReplayEngine::GetInterface(root_->get())),
      callback_(std::make_shared<ReplayEngineCallbackImpl>(env, callbacks)) {
  if (replay_) replay_->RegisterCallback(callback_.get());
  // The engine may call both until the root is deleted.
  root_->AtDeletion([keep = callback_, sinks = sinks_] {});
}

int ReplayEngineImpl::Open(const std::string& media_path, const std::string& sdk_version, lumen::LiveClient* client) {
  tavel::ReplayOpenConfig config;
  config.media_path = media_path;
  config.sdk_version = sdk_version;
  return Call("Open failed: replay_ is null", [&](tavel::ReplayEngine* replay) { return replay->Open(config, client); });
}

}  // namespace lumen_addon
