#ifndef KORIN_QX_VIDEO_THUMBNAIL_TOOLS_H_
#define KORIN_QX_VIDEO_THUMBNAIL_TOOLS_H_

#include <cstdint>
#include <string>

#include "engine_export.h"
#include "korin/video_frame.h"

namespace korin {

// One request: thumbnails of width x height, one every duration_ms of the
// media from the seek position to its end.
struct QXVideoThumbnailConfig {
  int32_t width = 160;
  int32_t height = 90;
  int32_t duration_ms = 1000;
};

// Receives each thumbnail of a request on an engine thread; the frame's
// pixels live until the call returns, its timestamp is its position.
class ENGINE_API QXVideoThumbnailToolCallback {
 public:
  virtual ~QXVideoThumbnailToolCallback();
  virtual void OnThumbnailReady(const QXVideoFrame& frame) = 0;
};

class ENGINE_API QXVideoThumbnailToolsInterface {
 public:
  static QXVideoThumbnailToolsInterface* Create();
  // Ends the requests in flight; nothing is called afterwards.
  static void Destroy(QXVideoThumbnailToolsInterface* tool);
  virtual ~QXVideoThumbnailToolsInterface();

  virtual int Init(const std::string& media_path) = 0;
  virtual int SeekTo(int32_t position_ms) = 0;
  // Each request keeps its callback until its last thumbnail.
  virtual int GetVideoThumbnails(const QXVideoThumbnailConfig& config, QXVideoThumbnailToolCallback* callback) = 0;
};

}  // namespace korin

#endif  // KORIN_QX_VIDEO_THUMBNAIL_TOOLS_H_
