// The microphone of a classic screen recording: a classic device engine made
// from the recorder's ticket, or the newer audio recording. Its PCM goes to
// the recorder.
#ifndef LUMEN_ENGINE_SCREEN_AUDIO_SOURCE_H_
#define LUMEN_ENGINE_SCREEN_AUDIO_SOURCE_H_

#include <memory>
#include <string>

#include "korin/sdk_services.h"
#include "record_engine/record_engine.h"
#include "tavel/device_engine.h"

namespace lumen_addon {

class ScreenAudioSource {
 public:
  // The processing module a pause takes out of the chain.
  static constexpr int32_t kPausedModule = 2;

  // `recorder` outlives the source.
  ScreenAudioSource(bool audio_recording, const tavel::Ticket& ticket, record_engine::RecordEngineInterface* recorder);
  // Stops the microphone it started, then lets its engine go.
  ~ScreenAudioSource();
  ScreenAudioSource(const ScreenAudioSource&) = delete;
  ScreenAudioSource& operator=(const ScreenAudioSource&) = delete;

  bool uses_audio_recording() const { return recording_ != nullptr; }
  // Neither engine could be had, or the device engine went with a failed start.
  bool empty() const { return !device_ && !recording_; }
  // The device engine goes; the audio recording takes its place.
  void SwitchToAudioRecording();
  // A failed start of the device engine destroys it (and is logged).
  int Start(bool enable_aec);
  void Stop();
  int SetProcessingBypass(int32_t module, bool bypass);

 private:
  class PcmForwarder;
  void DestroyDevice();

  tavel::Ticket ticket_;
  tavel::DeviceEngine* device_ = nullptr;
  korin::AudioRecording* recording_ = nullptr;
  std::unique_ptr<PcmForwarder> sink_;
  bool started_ = false;
};

}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_SCREEN_AUDIO_SOURCE_H_
