#ifndef KORIN_QX_VIDEO_SINK_H_
#define KORIN_QX_VIDEO_SINK_H_

#include "engine_export.h"
#include "korin/video_frame.h"

namespace korin {

// Receives preview frames on an engine thread. The engine stops calling a
// sink once the call that replaced or removed it returned.
class ENGINE_API QXVideoSink {
 public:
  virtual ~QXVideoSink();
  virtual void OnFrame(const QXVideoFrame& frame) = 0;
};

}  // namespace korin

#endif  // KORIN_QX_VIDEO_SINK_H_
