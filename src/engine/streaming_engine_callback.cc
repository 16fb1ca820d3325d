#include "engine/streaming_engine_callback.h"

namespace lumen_addon {

void StreamingEngineCallbackImpl::OnBufferingBegin() { Post("onBufferingBegin"); }
void StreamingEngineCallbackImpl::OnBufferingEnd() { Post("onBufferingEnd"); }
void StreamingEngineCallbackImpl::OnFrameReceived(int width, int height) {
  Post("onFrameReceived", Args(Arg(int32_t{width}), Arg(int32_t{height})));
}
void StreamingEngineCallbackImpl::OnError(int code, const std::string& message) {
  Post("onError", Args(Arg(int32_t{code}), Arg(message)));
}

}  // namespace lumen_addon
