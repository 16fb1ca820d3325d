// The replay engine: a recorded class fed by packets.
#ifndef LUMEN_ENGINE_REPLAY_ENGINE_IMPL_H_
#define LUMEN_ENGINE_REPLAY_ENGINE_IMPL_H_

#include <napi.h>

#include <memory>
#include <string>

#include "engine/engine_callback_holder.h"
#include "engine/engine_impl_base.h"
#include "tavel/live_engine.h"

namespace lumen_addon {

class ReplayEngineCallbackImpl : public EngineCallbackHolder<tavel::ReplayEngineCallback> {
 public:
  using EngineCallbackHolder::EngineCallbackHolder;
  void OnReplayOpened(int) override {}
};

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

 private:
  tavel::ReplayEngine* const replay_;
  std::shared_ptr<ReplayEngineCallbackImpl> callback_;
};

}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_REPLAY_ENGINE_IMPL_H_
