#include "ai_agent/ai_audio_provider.h"

#include <cstring>

#include "common/convert.h"
#include "common/logging.h"

namespace lumen_addon {

namespace {
constexpr char kTag[] = "QXAIAgentAddon";
// No real stream has 20 ms frames of a million samples; a rate and channel
// count that claim so are not padded for (the cache would be that large).
constexpr int64_t kMaxFrame = 1 << 20;
}  // namespace

std::vector<int16_t> AIAudioProvider::PadToFrames(const int16_t* samples, size_t count, int32_t sample_rate,
                                                  int32_t channels) {
  const int64_t frame = static_cast<int64_t>(sample_rate) * channels / 50;
  size_t total = count;
  if (frame > 0 && frame <= kMaxFrame) {
    const auto f = static_cast<size_t>(frame);
    total = (count + f - 1) / f * f;
  }
  std::vector<int16_t> out(total, 0);
  if (count > 0) std::memcpy(out.data() + (total - count), samples, count * sizeof(int16_t));
  return out;
}

std::shared_ptr<AIAudioProvider> AIAudioProvider::FromHandler(Napi::Env, const Napi::Value& handler) {
  auto provider = std::make_shared<AIAudioProvider>();
  LUMEN_LOG(kInfo, kTag) << "Getting audio data in constructor";
  Napi::Object object = js::ToObject(handler);
  Napi::Value method = js::Get(object, "getAudioData");
  if (method.IsEmpty() || !method.IsFunction()) {
    LUMEN_LOG(kError, kTag) << "No getAudioData method";
    return provider;
  }
  Napi::Value result = method.As<Napi::Function>().Call(object, {});
  if (result.IsEmpty() || result.IsUndefined() || result.IsNull()) {
    LUMEN_LOG(kError, kTag) << "JS function returned null";
    return provider;
  }
  Napi::Object r = js::ToObject(result);
  const int32_t rate = js::Int32At(r, "sampleRate");
  const int32_t channels = js::Int32At(r, "channels");
  // Read last: the getters above may detach it.
  std::vector<uint8_t> bytes = js::Bytes(js::Get(r, "data"));
  const size_t count = bytes.size() / sizeof(int16_t);
  if (count == 0) {
    LUMEN_LOG(kError, kTag) << "Invalid data array";
    return provider;
  }
  std::vector<int16_t> samples(count);
  std::memcpy(samples.data(), bytes.data(), count * sizeof(int16_t));
  std::lock_guard<std::mutex> lock(provider->mu_);
  provider->cache_ = PadToFrames(samples.data(), count, rate, channels);
  provider->sample_rate_ = rate;
  provider->channels_ = channels;
  provider->cached_ = true;
  LUMEN_LOG(kInfo, kTag) << "Audio data cached successfully, data_size: " << provider->cache_.size()
                         << ", sample_rate: " << rate << ", channels: " << channels;
  return provider;
}

bool AIAudioProvider::GetAudioData(const int16_t** samples, int32_t* sample_rate, int32_t* channels, size_t* frames) {
  std::lock_guard<std::mutex> lock(mu_);
  // A channel count below 1 has no frames to offer.
  if (!cached_ || cache_.empty() || channels_ < 1) {
    LUMEN_LOG(kError, kTag) << "No cached data available";
    return false;
  }
  *samples = cache_.data();
  *sample_rate = sample_rate_;
  *channels = channels_;
  *frames = cache_.size() / static_cast<size_t>(channels_);
  return true;
}

}  // namespace lumen_addon
