// The factory a player is created with: it hands the player the renderer of
// its render object, if it was initialised with one, and owns it.
#ifndef LUMEN_QXPLAYER_QXPLAYERFACTORY_H_
#define LUMEN_QXPLAYER_QXPLAYERFACTORY_H_

#include <memory>

#include "QXPlayer/QXPlayer_core_video_renderer_pc.h"
#include "korin/qx_player_core.h"

namespace lumen_addon {

class QXPlayerFactory : public korin::QXPlayerCoreFactoryDefault {
 public:
  explicit QXPlayerFactory(std::unique_ptr<QXPlayerCoreVideoRendererPCInternal> renderer)
      : korin::QXPlayerCoreFactoryDefault(nullptr, nullptr), renderer_(std::move(renderer)) {}

  korin::QXPlayerCoreVideoRendererInterface* GetVideoRenderer() override { return renderer_.get(); }
  QXPlayerCoreVideoRendererPCInternal* renderer() const { return renderer_.get(); }

 private:
  std::unique_ptr<QXPlayerCoreVideoRendererPCInternal> renderer_;
};

}  // namespace lumen_addon

#endif  // LUMEN_QXPLAYER_QXPLAYERFACTORY_H_
