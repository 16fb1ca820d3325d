// The renderers an engine was handed as sinks, kept until that engine can no
// longer call them: a stop that removes a renderer without destroying it does
// not prove that the engine let go of it (renderer ids of two streams may
// collide, and the engine keeps its raw sink pointer).
#ifndef LUMEN_ENGINE_SINK_KEEPER_H_
#define LUMEN_ENGINE_SINK_KEEPER_H_

#include <memory>
#include <mutex>
#include <vector>

#include "callback/video_frame_callback.h"

namespace lumen_addon {

class SinkKeeper {
 public:
  // Any thread.
  void Keep(const std::shared_ptr<VideoFrameCallback>& renderer) {
    std::lock_guard<std::mutex> lock(mu_);
    for (const auto& kept : sinks_)
      if (kept == renderer) return;
    sinks_.push_back(renderer);
  }
  size_t size() {
    std::lock_guard<std::mutex> lock(mu_);
    return sinks_.size();
  }

 private:
  std::mutex mu_;
  std::vector<std::shared_ptr<VideoFrameCallback>> sinks_;
};

}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_SINK_KEEPER_H_
