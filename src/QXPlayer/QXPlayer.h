// One player JavaScript holds by handle: its factory (and renderer), its
// player core once initialised, the bridge of its events and its options.
#ifndef LUMEN_QXPLAYER_QXPLAYER_H_
#define LUMEN_QXPLAYER_QXPLAYER_H_

#include <napi.h>

#include <memory>

#include "QXPlayer/QXPlayerCallbackBridge.h"
#include "QXPlayer/QXPlayerCallbackTarget.h"
#include "QXPlayer/QXPlayerFactory.h"
#include "korin/qx_player_core.h"

namespace lumen_addon {

// Every member is used on the JavaScript thread only.
class QXPlayer {
 public:
  explicit QXPlayer(napi_env env) : target_(std::make_shared<QXPlayerCallbackTarget>(env)) {}
  ~QXPlayer() { Destroy(); }
  QXPlayer(const QXPlayer&) = delete;
  QXPlayer& operator=(const QXPlayer&) = delete;

  // Creates the core once; later calls change nothing. `render` may be null.
  void Init(napi_env env, napi_value render, bool short_audio_mode);
  // Stops the core and frees it before what it calls: factory and renderer,
  // then the event bridge. Idempotent.
  void Destroy();

  korin::QXPlayerCore* core() const { return core_player_.get(); }
  QXPlayerCoreVideoRendererPCInternal* renderer() const { return factory_ ? factory_->renderer() : nullptr; }
  korin::QXPlayerCoreOptions& options() { return options_; }
  QXPlayerCallbackTarget& target() { return *target_; }

 private:
  std::unique_ptr<QXPlayerFactory> factory_;
  std::unique_ptr<korin::QXPlayerCore> core_player_;
  std::unique_ptr<QXPlayerCallbackBridge> callback_;
  korin::QXPlayerCoreOptions options_;
  // Events in flight share it; it is cleared when the player goes.
  std::shared_ptr<QXPlayerCallbackTarget> target_;
};

}  // namespace lumen_addon

#endif  // LUMEN_QXPLAYER_QXPLAYER_H_
