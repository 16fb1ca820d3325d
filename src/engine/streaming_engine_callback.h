// Events of the streaming engine: the adapter is handed to the engine at its
// start, and the engine may call it until its root is deleted.
#ifndef LUMEN_ENGINE_STREAMING_ENGINE_CALLBACK_H_
#define LUMEN_ENGINE_STREAMING_ENGINE_CALLBACK_H_

#include <string>

#include "engine/event_holder.h"
#include "tavel/live_engine.h"

namespace lumen_addon {

class StreamingEngineCallbackImpl : public EventHolder<tavel::StreamingEngineCallback> {
 public:
  using EventHolder::EventHolder;
  void OnStreamingStateChanged(int) override {}
  void OnBufferingBegin() override;
  void OnBufferingEnd() override;
  void OnFrameReceived(int width, int height) override;
  void OnError(int code, const std::string& message) override;
};

}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_STREAMING_ENGINE_CALLBACK_H_
