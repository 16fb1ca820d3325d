#ifndef KORIN_QX_SURFACE_RENDER_SINK_H_
#define KORIN_QX_SURFACE_RENDER_SINK_H_

#include <string>

#include "engine_export.h"
#include "korin/qx_video_sink.h"

namespace korin {

struct SurfaceRenderConfig {
  std::string surface_id;
};

// Draws the frames it is given onto a native surface of the host.
class ENGINE_API QXSurfaceRenderSinkInterface : public QXVideoSink {
 public:
  static QXSurfaceRenderSinkInterface* Create(const SurfaceRenderConfig& config);
  static void Destroy(QXSurfaceRenderSinkInterface* sink);
  ~QXSurfaceRenderSinkInterface() override;
};

}  // namespace korin

#endif  // KORIN_QX_SURFACE_RENDER_SINK_H_
