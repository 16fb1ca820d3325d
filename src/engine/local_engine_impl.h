// The local engine: an engine root that runs without a room.
#ifndef LUMEN_ENGINE_LOCAL_ENGINE_IMPL_H_
#define LUMEN_ENGINE_LOCAL_ENGINE_IMPL_H_

#include <napi.h>

#include <memory>
#include <string>

#include "engine/engine_callback_holder.h"
#include "engine/engine_impl_base.h"
#include "tavel/live_engine.h"

namespace lumen_addon {

class LocalEngineCallbackImpl : public EngineCallbackHolder<tavel::LocalEngineCallback> {
 public:
  using EngineCallbackHolder::EngineCallbackHolder;
  void OnLocalEngineStarted(int) override {}
};

class LocalEngineImpl : public EngineImplBase {
 public:
  static constexpr char kTag[] = "LocalEngineImpl";

  LocalEngineImpl(napi_env env, napi_value callbacks);
  ~LocalEngineImpl() override { Shutdown(); }

  template <typename Op>
  int Call(const char* failure, Op&& op) {
    return CallShared(kTag, failure, local_, std::forward<Op>(op));
  }

 private:
  tavel::LocalEngine* const local_;
  std::shared_ptr<LocalEngineCallbackImpl> callback_;
};

}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_LOCAL_ENGINE_IMPL_H_
