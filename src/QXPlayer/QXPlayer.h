// One player JavaScript holds by handle: its factory (and renderer), its
// player core once initialised, its event bridge, the strand its events
// travel on, the callback object they reach, and its options.
#ifndef LUMEN_QXPLAYER_QXPLAYER_H_
#define LUMEN_QXPLAYER_QXPLAYER_H_

#include <napi.h>

#include <memory>

#include "QXPlayer/QXPlayerCallbackBridge.h"
#include "QXPlayer/QXPlayerFactory.h"
#include "korin/qx_player_core.h"
#include "qx_base/listener.h"
#include "qx_base/strand.h"

namespace lumen_addon {

// Every member is used on the JavaScript thread only.
class QXPlayer {
 public:
  explicit QXPlayer(napi_env env);
  ~QXPlayer() { Destroy(); }
  QXPlayer(const QXPlayer&) = delete;
  QXPlayer& operator=(const QXPlayer&) = delete;

  // Creates the core once; later calls change nothing. `render` may be null.
  void Init(napi_env env, napi_value render, bool short_audio_mode);
  // Stops the core and frees it before what it calls (factory and renderer,
  // then the bridge); nothing reaches the callback object afterwards.
  // Idempotent.
  void Destroy();

  // The forwarding frame's look-in: runs op(core) when the core exists.
  template <typename Op>
  bool Visit(Op&& op) {
    if (!core_player_) return false;
    op(core_player_.get());
    return true;
  }

  korin::QXPlayerCore* core() const { return core_player_.get(); }
  QXPlayerCoreVideoRendererPCInternal* renderer() const { return factory_ ? factory_->renderer() : nullptr; }
  korin::QXPlayerCoreOptions& options() { return options_; }
  Listener& listener() { return *listener_; }

 private:
  std::unique_ptr<QXPlayerFactory> factory_;
  std::unique_ptr<korin::QXPlayerCore> core_player_;
  std::unique_ptr<QXPlayerCallbackBridge> callback_;
  korin::QXPlayerCoreOptions options_;
  std::shared_ptr<Strand> strand_;
  const std::shared_ptr<Listener> listener_;
};

}  // namespace lumen_addon

#endif  // LUMEN_QXPLAYER_QXPLAYER_H_
