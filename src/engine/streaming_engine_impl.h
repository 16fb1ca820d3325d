// The streaming engine: plays a stream from its command client configuration.
#ifndef LUMEN_ENGINE_STREAMING_ENGINE_IMPL_H_
#define LUMEN_ENGINE_STREAMING_ENGINE_IMPL_H_

#include <napi.h>

#include <memory>
#include <string>

#include "engine/engine_callback_holder.h"
#include "engine/engine_impl_base.h"
#include "tavel/live_engine.h"

namespace lumen_addon {

class StreamingEngineCallbackImpl : public EngineCallbackHolder<tavel::StreamingEngineCallback> {
 public:
  using EngineCallbackHolder::EngineCallbackHolder;
  void OnStreamingStateChanged(int) override {}
};

class StreamingEngineImpl : public EngineImplBase {
 public:
  static constexpr char kTag[] = "StreamingEngineImpl";

  StreamingEngineImpl(napi_env env, napi_value callbacks);
  ~StreamingEngineImpl() override { Shutdown(); }

  template <typename Op>
  int Call(const char* failure, Op&& op) {
    return CallShared(kTag, failure, streaming_, std::forward<Op>(op));
  }
  StreamingEngineCallbackImpl* callback() const { return callback_.get(); }

 private:
  tavel::StreamingEngine* const streaming_;
  std::shared_ptr<StreamingEngineCallbackImpl> callback_;
};

}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_STREAMING_ENGINE_IMPL_H_
