// One thumbnail tool as JavaScript holds it: the engine's tool, the strand
// its thumbnails travel on, and the callbacks of every request it was given,
// kept until the tool is destroyed. Kept in the handle registry as a
// "thumbnail tool".
#ifndef LUMEN_ENGINE_QX_VIDEO_THUMBNAIL_TOOL_WRAPPER_H_
#define LUMEN_ENGINE_QX_VIDEO_THUMBNAIL_TOOL_WRAPPER_H_

#include <napi.h>

#include <cstdint>
#include <memory>
#include <string>

#include "korin/qx_video_thumbnail_tools.h"
#include "qx_base/keep_alive.h"
#include "qx_base/strand.h"

namespace lumen_addon {

class QXVideoThumbnailToolCallbackAddonWrapper;

// JavaScript thread only.
class QXVideoThumbnailToolWrapper {
 public:
  // Null when the strand could not be made (raised); a wrapper without a
  // tool when the library made none (its calls then log and answer -1).
  static std::shared_ptr<QXVideoThumbnailToolWrapper> Create(napi_env env);
  // The tool first: its requests end and nothing calls their callbacks.
  ~QXVideoThumbnailToolWrapper();
  QXVideoThumbnailToolWrapper(const QXVideoThumbnailToolWrapper&) = delete;
  QXVideoThumbnailToolWrapper& operator=(const QXVideoThumbnailToolWrapper&) = delete;

  int32_t Init(const std::string& media_path);
  int32_t SeekTo(int32_t position_ms);
  int32_t GetVideoThumbnails(const korin::QXVideoThumbnailConfig& config, napi_value callback);

 private:
  QXVideoThumbnailToolWrapper(napi_env env, std::shared_ptr<Strand> strand) : env_(env), strand_(std::move(strand)) {}

  std::shared_ptr<QXVideoThumbnailToolCallbackAddonWrapper> callback_wrapper_;
  korin::QXVideoThumbnailToolsInterface* tool_interface_ = nullptr;
  napi_env env_;
  const std::shared_ptr<Strand> strand_;
  KeepAlive handed_;
};

}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_QX_VIDEO_THUMBNAIL_TOOL_WRAPPER_H_
