// An engine wrapper that owns a fresh engine root with its device, beauty and
// audio-render companions.
//
// Every wrapper has the same shape for the export frame: the manager's
// look-up hands out a std::shared_ptr to it (null when there is none), and
// `Call(failure, op)` runs `op` with the engine interface, or logs `failure`
// at warning level under the wrapper's tag and answers -1 once the wrapper is
// shut down. Calls share the wrapper's call lock; Shutdown takes it alone, so
// it waits only for calls in flight, which therefore must not take network
// time (those run on a share of the root instead, see EngineRoot). The
// starts of the local and streaming engines and the replay's open do run
// under it: only their own destroy, on the same JavaScript thread, could wait
// for them. Calls must not nest on one wrapper.
#ifndef LUMEN_ENGINE_ENGINE_IMPL_BASE_H_
#define LUMEN_ENGINE_ENGINE_IMPL_BASE_H_

#include <memory>
#include <mutex>
#include <shared_mutex>

#include <napi.h>

#include <utility>

#include "common/logging.h"
#include "engine/beauty_engine_impl.h"
#include "engine/device_engine_impl.h"
#include "engine/engine_root.h"
#include "tavel/live_engine.h"

namespace lumen_addon {

class MediaPlayerEngineImpl;

class EngineImplBase {
 public:
  EngineImplBase();
  EngineImplBase(const EngineImplBase&) = delete;
  EngineImplBase& operator=(const EngineImplBase&) = delete;
  virtual ~EngineImplBase();

  // Alive as long as the wrapper; calls through it answer -1 once the
  // wrapper is shut down.
  const std::shared_ptr<DeviceEngineImpl>& device_engine() const { return device_engine_; }
  const std::shared_ptr<BeautyEngineImpl>& beauty_engine() const { return beauty_engine_; }

  // Ends the calls (waiting for those in flight), closes the device engine
  // and gives up this wrapper's share of the root; idempotent.
  virtual void Shutdown();

  // The media player wrapper, once registered; never replaced, so a share of
  // this engine keeps it alive.
  std::shared_ptr<MediaPlayerEngineImpl> media_player();
  // Creates it with `callbacks` and registers those with the engine's media
  // player; -1 when there is one already or the engine has gone.
  int CreateMediaPlayer(napi_env env, napi_value callbacks);

  // Calls of the companions share the wrapper's call lock.
  template <typename Interface, typename Op>
  int CallCompanion(const char* tag, const char* failure, Interface* iface, Op&& op) {
    return CallShared(tag, failure, iface, std::forward<Op>(op));
  }
  template <typename Op>
  int CallAudioRender(const char* failure, Op&& op) {
    return CallShared("AudioRenderEngine", failure, audio_render_, std::forward<Op>(op));
  }

 protected:
  template <typename Interface, typename Op>
  int CallShared(const char* tag, const char* failure, Interface* iface, Op&& op) {
    std::shared_lock<std::shared_mutex> lock(calls_mu_);
    if (closed_ || !iface) {
      LUMEN_LOG(kWarning, tag) << failure;
      return -1;
    }
    return op(iface);
  }

  // Ends the calls (waiting for those in flight), closes the device engine
  // and hands over this wrapper's share of the root (null the second time).
  std::shared_ptr<EngineRoot> CloseCalls();

  std::shared_mutex calls_mu_;
  bool closed_ = false;  // under calls_mu_
  std::shared_ptr<EngineRoot> root_;
  std::shared_ptr<DeviceEngineImpl> device_engine_;
  std::shared_ptr<BeautyEngineImpl> beauty_engine_;
  tavel::AudioRenderEngine* audio_render_ = nullptr;

 private:
  std::mutex media_player_mu_;  // before calls_mu_
  std::shared_ptr<MediaPlayerEngineImpl> media_player_;
};

}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_ENGINE_IMPL_BASE_H_
