#include "engine/streaming_engine_impl.h"

namespace lumen_addon {

StreamingEngineImpl::StreamingEngineImpl(napi_env env, napi_value callbacks)
    : streaming_(tavel::StreamingEngine::GetInterface(root_)),
      callback_(std::make_shared<StreamingEngineCallbackImpl>(env, callbacks)) {}

}  // namespace lumen_addon
