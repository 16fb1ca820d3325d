// Events of a replay engine, for the callbacks object given at its creation.
#ifndef LUMEN_ENGINE_REPLAY_ENGINE_CALLBACK_H_
#define LUMEN_ENGINE_REPLAY_ENGINE_CALLBACK_H_

#include "engine/event_holder.h"
#include "tavel/live_engine.h"

namespace lumen_addon {

class ReplayEngineCallbackImpl : public EventHolder<tavel::ReplayEngineCallback> {
 public:
  using EventHolder::EventHolder;
  void OnReplayOpened(int result) override;
};

}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_REPLAY_ENGINE_CALLBACK_H_
