// The media players of one engine wrapper: the engine's media player
// interface, the holder of the JavaScript callbacks object given at
// registration, and the renderer of each player by its id.
#ifndef LUMEN_ENGINE_MEDIA_PLAYER_ENGINE_IMPL_H_
#define LUMEN_ENGINE_MEDIA_PLAYER_ENGINE_IMPL_H_

#include <napi.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "callback/video_frame_callback.h"
#include "engine/engine_impl_base.h"
#include "engine/media_player_callback.h"
#include "engine/sink_keeper.h"
#include "tavel/live_engine.h"

namespace lumen_addon {

class MediaPlayerEngineImpl {
 public:
  static constexpr char kTag[] = "MediaPlayerEngineImpl";

  // Made by `owner`, which owns it and outlives it.
  MediaPlayerEngineImpl(EngineImplBase* owner, tavel::MediaPlayerEngine* player, napi_env env, napi_value callbacks);

  template <typename Op>
  int Call(const char* failure, Op&& op) {
    return owner_->CallCompanion(kTag, failure, player_, std::forward<Op>(op));
  }

  // Under the owner's call lock: registers the callbacks with the engine.
  int RegisterCallback();
  // What the root keeps until it is deleted.
  std::function<void()> KeptWithRoot() const;

  struct Prepare {
    std::string url;
    std::vector<std::string> prefixes;
    int32_t stream_id = -1;
    bool sendout = false;
    bool playout = false;
    tavel::VideoTrackInfo info;
  };
  // The player id, or -1 when the engine refused (no renderer is kept then).
  int PrepareAsync(const Prepare& prepare, napi_env env, napi_value render);
  // Destroys the player, then drops and releases its renderer.
  int Destroy(int32_t player_id);

 private:
  EngineImplBase* const owner_;
  tavel::MediaPlayerEngine* const player_;
  const std::shared_ptr<MediaPlayerCallbackImpl> callback_;
  // Every renderer handed to the engine: its raw sink pointer may be used
  // until the player is destroyed, and a destroy that failed proves nothing.
  const std::shared_ptr<SinkKeeper> sinks_ = std::make_shared<SinkKeeper>();
  std::mutex mu_;
  std::map<int32_t, std::shared_ptr<VideoFrameCallback>> renderers_;
};

}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_MEDIA_PLAYER_ENGINE_IMPL_H_
