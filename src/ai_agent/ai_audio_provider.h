// Audio the agent listens to instead of the microphone: the samples a
// JavaScript handler's getAudioData returns, cached once at creation and
// read by engine threads.
#ifndef LUMEN_AI_AGENT_AI_AUDIO_PROVIDER_H_
#define LUMEN_AI_AGENT_AI_AUDIO_PROVIDER_H_

#include <napi.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "korin/qx_ai_agent.h"

namespace lumen_addon {

class AIAudioProvider : public korin::QXAIAudioProvider {
 public:
  // JavaScript thread: calls handler.getAudioData() once. A provider whose
  // handler gave nothing usable has an empty cache; its reads fail.
  static std::shared_ptr<AIAudioProvider> FromHandler(Napi::Env env, const Napi::Value& handler);

  // The samples padded in front with zeros to whole 20 ms frames
  // (rate * channels / 50 samples each), so that the data ends with the
  // cache; unpadded when that frame size is 0 or implausibly large.
  static std::vector<int16_t> PadToFrames(const int16_t* samples, size_t count, int32_t sample_rate,
                                          int32_t channels);

  // Engine threads.
  bool GetAudioData(const int16_t** samples, int32_t* sample_rate, int32_t* channels, size_t* frames) override;

  // Nothing of JavaScript to let go: the cache was filled at creation.
  void Retire() {}

 private:
  std::mutex mu_;
  int32_t sample_rate_ = 0;
  int32_t channels_ = 0;
  std::vector<int16_t> cache_;
  bool cached_ = false;
};

}  // namespace lumen_addon

#endif  // LUMEN_AI_AGENT_AI_AUDIO_PROVIDER_H_
