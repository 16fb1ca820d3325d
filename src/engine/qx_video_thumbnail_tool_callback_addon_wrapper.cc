#include "engine/qx_video_thumbnail_tool_callback_addon_wrapper.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace lumen_addon {

QXVideoThumbnailToolCallbackAddonWrapper::QXVideoThumbnailToolCallbackAddonWrapper(napi_env env,
                                                                                   std::shared_ptr<Strand> strand,
                                                                                   napi_value callback)
    : strand_(std::move(strand)), listener_(Listener::Make(env, "videoThumbnailTool_getVideoThumbnails", callback)) {}

// The thumbnail's rows as the engine lays them out (its stride, padding
// included), from its first plane.
void QXVideoThumbnailToolCallbackAddonWrapper::OnThumbnailReady(const korin::QXVideoFrame& frame) {
  const korin::QXPixelBuffer& b = frame.buffer;
  const int32_t stride = b.data[0] && b.stride[0] > 0 && b.height > 0 ? b.stride[0] : 0;
  const int32_t height = stride ? b.height : 0;
  const uint8_t* pixels = b.data[0];
  std::vector<uint8_t> bytes(pixels, pixels + static_cast<size_t>(stride) * static_cast<size_t>(height));
  // Microseconds to milliseconds, truncated toward zero.
  const int64_t position_ms = frame.timestampUs / 1000;
  strand_->Emit(listener_, "onThumbnailReady",
                JsObject(Kv("width", int32_t{b.width}), Kv("height", int32_t{b.height}), Kv("stride", stride),
                         Kv("positionMs", position_ms), Kv("buffer", std::move(bytes))));
}

}  // namespace lumen_addon
