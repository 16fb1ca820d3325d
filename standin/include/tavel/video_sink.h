#ifndef TAVEL_VIDEO_SINK_H_
#define TAVEL_VIDEO_SINK_H_

#include "engine_export.h"
#include "korin/video_frame.h"

namespace tavel {

// Receives the frames of one stream on an engine thread. The engine stops
// calling a sink once the operation that handed it over is undone or the
// engine root is deleted.
class ENGINE_API VideoSinkInterface {
 public:
  virtual ~VideoSinkInterface();
  virtual void OnFrame(const korin::QXVideoFrame& frame) = 0;
};

}  // namespace tavel

#endif  // TAVEL_VIDEO_SINK_H_
