// A recorded class played through the live play interface: a standalone
// replay engine feeding a relay live play engine.
#ifndef LUMEN_ENGINE_LIVE_REPLAY_ENGINE_IMPL_H_
#define LUMEN_ENGINE_LIVE_REPLAY_ENGINE_IMPL_H_

#include <napi.h>

#include <memory>
#include <string>

#include "engine/replay_engine_impl.h"
#include "lumen/live_client.h"
#include "tavel/live_engine.h"

namespace lumen_addon {

class LivePlayEngineImpl;

class LiveReplayEngineImpl {
 public:
  LiveReplayEngineImpl(lumen::LiveClient* client, const std::string& media_path, const std::string& sdk_version);
  ~LiveReplayEngineImpl();

  void CreateReplay(napi_env env, napi_value callbacks);
  void set_live_play(std::shared_ptr<LivePlayEngineImpl> live_play);
  const std::shared_ptr<LivePlayEngineImpl>& live_play() const { return live_play_; }
  int OpenMedia();
  // Stops and destroys the replay, disconnects and shuts the live play part down.
  void Shutdown();

 private:
  tavel::ReplayEngine* replay_ = nullptr;
  std::shared_ptr<ReplayEngineCallbackImpl> replay_callback_;
  std::shared_ptr<LivePlayEngineImpl> live_play_;
  lumen::LiveClient* live_client_;
  std::string media_path_;
  std::string sdk_version_;
};

}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_LIVE_REPLAY_ENGINE_IMPL_H_
