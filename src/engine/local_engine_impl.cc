#include "engine/local_engine_impl.h"

namespace lumen_addon {

LocalEngineImpl::LocalEngineImpl(napi_env env, napi_value callbacks)
    : local_(tavel::LocalEngine::GetInterface(root_)),
      callback_(std::make_shared<LocalEngineCallbackImpl>(env, callbacks)) {
  if (local_) local_->RegisterCallback(callback_.get());
}

}  // namespace lumen_addon
