// The renderer a player draws into when JavaScript gave it a render object:
// each I420 frame is converted on the player's render thread into one packed
// frame (ABGR, rotated, or packed I420), and the newest one is handed to the
// render object's OnVideoRenderFrame on the JavaScript thread.
#ifndef LUMEN_QXPLAYER_QXPLAYER_CORE_VIDEO_RENDERER_PC_H_
#define LUMEN_QXPLAYER_QXPLAYER_CORE_VIDEO_RENDERER_PC_H_

#include <node_api.h>
#include <uv.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>

#include "korin/qx_player_core.h"

namespace lumen_addon {

class QXPlayerCoreVideoRendererPCInternal : public korin::QXPlayerCoreVideoRendererInterface {
 public:
  // JavaScript thread. Null after a failure, which is raised as a JavaScript exception.
  static std::unique_ptr<QXPlayerCoreVideoRendererPCInternal> Create(napi_env env, napi_value render);
  // JavaScript thread; the player has stopped drawing.
  ~QXPlayerCoreVideoRendererPCInternal() override;

  // Render thread.
  void OnFrame(korin::QXPlayerCoreVideoFrame* frame) override;

  // JavaScript thread; takes effect with the next frame.
  void SetOutputI420(bool on);

  // 0, 90, 180 or 270 for rotations congruent to them modulo 360; any other
  // value is drawn unrotated.
  static int NormalizeRotation(int degrees);

  struct Shared;

 private:
  explicit QXPlayerCoreVideoRendererPCInternal(std::shared_ptr<Shared> shared) : shared_(std::move(shared)) {}
  std::shared_ptr<Shared> shared_;
};

}  // namespace lumen_addon

#endif  // LUMEN_QXPLAYER_QXPLAYER_CORE_VIDEO_RENDERER_PC_H_
