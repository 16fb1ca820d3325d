// The streaming engine: plays a stream from its command client configuration.
#ifndef LUMEN_ENGINE_STREAMING_ENGINE_IMPL_H_
#define LUMEN_ENGINE_STREAMING_ENGINE_IMPL_H_

#include <napi.h>

#include <memory>
#include <string>

#include <vector>

#include "callback/video_frame_callback.h"
#include "engine/engine_impl_base.h"
#include "engine/streaming_engine_callback.h"
#include "tavel/live_engine.h"

namespace lumen_addon {

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
  // Once per engine: a second prepare logs and answers -1 without a call.
  int PrepareAsync(const std::vector<std::string>& urls, napi_env env, napi_value render);

 private:
  tavel::StreamingEngine* const streaming_;
  std::shared_ptr<StreamingEngineCallbackImpl> callback_;
  bool prepared_ = false;  // JavaScript thread
  std::shared_ptr<VideoFrameCallback> renderer_;
};

}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_STREAMING_ENGINE_IMPL_H_
