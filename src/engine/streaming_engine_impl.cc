#include "engine/streaming_engine_impl.h"

namespace lumen_addon {

StreamingEngineImpl::StreamingEngineImpl(napi_env env, napi_value callbacks)
    : streaming_(tavel::StreamingEngine::GetInterface(root_->get())),
      callback_(std::make_shared<StreamingEngineCallbackImpl>(env, callbacks)) {
  // Handed to the engine at start, which may call it until the root is deleted.
  root_->AtDeletion([keep = callback_] {});
}

}  // namespace lumen_addon
