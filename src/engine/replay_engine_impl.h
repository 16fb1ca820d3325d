// The replay engine: a recorded class fed by packets.
#ifndef LUMEN_ENGINE_REPLAY_ENGINE_IMPL_H_
#define LUMEN_ENGINE_REPLAY_ENGINE_IMPL_H_

#include <napi.h>

#include <memory>
#include <string>

#include "engine/engine_impl_base.h"
#include "engine/replay_engine_callback.h"
#include "engine/sink_keeper.h"
#include "tavel/live_engine.h"

namespace lumen_addon {

class ReplayEngineImpl : public EngineImplBase {
 public:
  static constexpr char kTag[] = "ReplayEngineImpl";

  ReplayEngineImpl(napi_env env, napi_value callbacks);
  ~ReplayEngineImpl() override { Shutdown(); }

  template <typename Op>
  int Call(const char* failure, Op&& op) {
    return CallShared(kTag, failure, replay_, std::forward<Op>(op));
  }
  int Open(const std::string& media_path, const std::string& sdk_version, lumen::LiveClient* client);
  // Keeps a renderer handed to the engine as a sink until the root is deleted.
  void KeepSink(const std::shared_ptr<VideoFrameCallback>& renderer) { sinks_->Keep(renderer); }

 private:
  tavel::ReplayEngine* const replay_;
  std::shared_ptr<ReplayEngineCallbackImpl> callback_;
  const std::shared_ptr<SinkKeeper> sinks_ = std::make_shared<SinkKeeper>();
};

}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_REPLAY_ENGINE_IMPL_H_
