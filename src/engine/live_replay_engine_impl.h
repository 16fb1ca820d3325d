// A recorded class played through the live play interface: a standalone
// replay engine feeding a relay live play engine.
#ifndef LUMEN_ENGINE_LIVE_REPLAY_ENGINE_IMPL_H_
#define LUMEN_ENGINE_LIVE_REPLAY_ENGINE_IMPL_H_

#include <napi.h>

#include <memory>
#include <shared_mutex>
#include <string>

#include "common/logging.h"
#include "engine/replay_engine_impl.h"
#include "engine/sink_keeper.h"
#include "lumen/live_client.h"
#include "tavel/live_engine.h"

namespace lumen_addon {

class LivePlayEngineImpl;

class LiveReplayEngineImpl : public std::enable_shared_from_this<LiveReplayEngineImpl> {
 public:
  static constexpr char kTag[] = "LiveReplayEngineImpl";

  LiveReplayEngineImpl(lumen::LiveClient* client, const std::string& media_path, const std::string& sdk_version);
  ~LiveReplayEngineImpl();

  // Set up once, before the engine is handed out.
  void CreateReplay(napi_env env, napi_value callbacks);
  void set_live_play(std::shared_ptr<LivePlayEngineImpl> live_play);
  const std::shared_ptr<LivePlayEngineImpl>& live_play() const { return live_play_; }

  // Runs `op` on the replay engine (or logs `failure` at warning level and
  // answers -1 without it). Calls share; Shutdown waits for those in flight.
  template <typename Op>
  int Call(const char* failure, Op&& op) {
    std::shared_lock<std::shared_mutex> lock(mu_);
    if (!replay_) {
      LUMEN_LOG(kWarning, kTag) << failure;
      return -1;
    }
    return op(replay_.get());
  }

  // Keeps a renderer handed to the replay engine as a sink until that engine
  // is destroyed.
  void KeepSink(const std::shared_ptr<VideoFrameCallback>& renderer) { sinks_->Keep(renderer); }

  // Opens the media on a share of the replay engine, without the lock.
  int OpenMedia();
  // Stops and destroys the replay, disconnects and shuts the live play part
  // down; idempotent.
  void Shutdown();

 private:
  std::shared_mutex mu_;
  bool shut_down_ = false;
  // Destroyed with its last share (with the callback holder it was given).
  std::shared_ptr<tavel::ReplayEngine> replay_;
  const std::shared_ptr<SinkKeeper> sinks_ = std::make_shared<SinkKeeper>();
  std::shared_ptr<LivePlayEngineImpl> live_play_;
  lumen::LiveClient* live_client_;
  const std::string media_path_;
  const std::string sdk_version_;
};

}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_LIVE_REPLAY_ENGINE_IMPL_H_
