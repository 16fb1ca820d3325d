// The callback of one thumbnail request: each thumbnail the engine hands
// over on its thread is copied and reaches the request's callback object's
// onThumbnailReady on the tool's strand. Kept until the tool is released,
// so that an earlier request goes on reaching its own object.
#ifndef LUMEN_ENGINE_QX_VIDEO_THUMBNAIL_TOOL_CALLBACK_ADDON_WRAPPER_H_
#define LUMEN_ENGINE_QX_VIDEO_THUMBNAIL_TOOL_CALLBACK_ADDON_WRAPPER_H_

#include <napi.h>

#include <memory>

#include "korin/qx_video_thumbnail_tools.h"
#include "qx_base/listener.h"
#include "qx_base/strand.h"

namespace lumen_addon {

class QXVideoThumbnailToolCallbackAddonWrapper : public korin::QXVideoThumbnailToolCallback {
 public:
  // JavaScript thread.
  QXVideoThumbnailToolCallbackAddonWrapper(napi_env env, std::shared_ptr<Strand> strand, napi_value callback);
  void Retire() { listener_->Clear(); }

  // Engine threads.
  void OnThumbnailReady(const korin::QXVideoFrame& frame) override;

 private:
  const std::shared_ptr<Strand> strand_;
  const std::shared_ptr<Listener> listener_;
};

}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_QX_VIDEO_THUMBNAIL_TOOL_CALLBACK_ADDON_WRAPPER_H_
