#include "engine/streaming_engine_impl.h"

namespace lumen_addon {

StreamingEngineImpl::StreamingEngineImpl(napi_env env, napi_value callbacks)
    : streaming_(tavel::StreamingEngine::GetInterface(root_->get())),
      callback_(std::make_shared<StreamingEngineCallbackImpl>(env, callbacks)) {
  // Handed to the engine at start, which may call it until the root is deleted.
  root_->AtDeletion([keep = callback_] {});
}

int StreamingEngineImpl::PrepareAsync(const std::vector<std::string>& urls, napi_env env, napi_value render) {
  if (prepared_) {
    LUMEN_LOG(kError, "StreamingEngine") << "prepare fail, already prepared";
    return -1;
  }
  auto renderer = VideoFrameCallback::CreateDirectRenderer(env, render);
  return Call("PrepareAsync failed: streaming_ is null", [&](tavel::StreamingEngine* engine) {
    const int result = engine->PrepareAsync(urls, renderer.get());
    // The engine may call the renderer until the root is deleted.
    root_->AtDeletion([keep = renderer] {});
    renderer_ = std::move(renderer);
    if (result == 0) prepared_ = true;
    return result;
  });
}

}  // namespace lumen_addon
