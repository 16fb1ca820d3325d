#include "engine/local_engine_impl.h"

namespace lumen_addon {

LocalEngineImpl::LocalEngineImpl(napi_env env, napi_value callbacks)
    : local_(tavel::LocalEngine::GetInterface(root_->get())),
      callback_(std::make_shared<LocalEngineCallbackImpl>(env, callbacks)) {
  if (local_) local_->RegisterCallback(callback_.get());
  // The engine may call it until the root is deleted.
  root_->AtDeletion([keep = callback_] {});
}

}  // namespace lumen_addon
