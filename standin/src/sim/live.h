// What the control module drives in the simulated live class: synthetic video
// for the sinks the add-on hands over, synthetic microphone audio, connection
// behaviour and recording statistics.
#ifndef LIVE_ENGINE_SIM_LIVE_H_
#define LIVE_ENGINE_SIM_LIVE_H_

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine_export.h"
#include "tavel/live_play_engine.h"

namespace sim {

// Sinks are held as firers named "sink:<userId>:<trackOrBizType>",
// "sink:local:<trackType>" and "sink:camera".
constexpr char kSinkPrefix[] = "sink:";
ENGINE_API std::vector<std::string> SinkNames();

// Frame patterns, width * height * 4 bytes (B, G, R, A; alpha 255).
// Pattern: a still picture fixed by `seed`. TestPattern: colour bars with a
// band and a moving square in the user's own colour, at frame `frame`.
ENGINE_API void Pattern(int width, int height, int64_t seed, uint8_t* out);
ENGINE_API void TestPattern(int width, int height, int user_id, int64_t frame, uint8_t* out);
// The user whose colour a sink's test pattern uses (local sinks: 256).
ENGINE_API int SinkUser(const std::string& name);

// Calls the sink's OnFrame on the calling thread with `pixels` (or the seed
// pattern when null) in engine memory; false when no sink is held there.
// `format`: the pixel buffer's (korin::QXPixelFormat), BGRA when 0.
ENGINE_API bool DeliverFrame(const std::string& name, int width, int height, int64_t seed, const uint8_t* pixels,
                             int format = 0);
// Moving test pictures for every held sink, from engine threads; `per_sink`
// gives named sinks a size and rate of their own.
struct VideoSpec {
  int width = 320;
  int height = 180;
  int fps = 15;
};
ENGINE_API void StartVideo(const VideoSpec& all, const std::map<std::string, VideoSpec>& per_sink = {});
ENGINE_API void StopVideo();
// Frames handed to each sink since the last reset.
ENGINE_API std::map<std::string, uint64_t> VideoStats();

ENGINE_API void StartAudio(int interval_ms);
// With `notify`, a recording that had started hears OnAudioRecordingStop.
ENGINE_API void StopAudio(bool notify);
struct AudioStats {
  uint64_t starts = 0;
  uint64_t chunks = 0;
  uint64_t stops = 0;
};
ENGINE_API AudioStats GetAudioStats();
// Samples of the synthetic microphone: 16 kHz mono s16, 440 Hz sine.
constexpr int kMicSampleRate = 16000;
constexpr int kMicChunkSamples = 160;
ENGINE_API int16_t MicSample(int64_t index);

ENGINE_API void SetAutoConnect(bool on, int delay_ms);
ENGINE_API bool AutoConnect();
ENGINE_API int AutoConnectDelayMs();

ENGINE_API void SetRecordingInfo(const tavel::RecordingMicrophoneInfo& info);
ENGINE_API tavel::RecordingMicrophoneInfo RecordingInfo();

// Engine objects alive now, by kind ("roots", "liveClients", ...).
ENGINE_API std::map<std::string, int> LiveObjects();

}  // namespace sim

#endif  // LIVE_ENGINE_SIM_LIVE_H_
