// The microphone recording of a device engine or a device module: one at a
// time, through the engine's classic recording call or through the newer
// korin::AudioRecording, with the statistics either path reports.
#ifndef LUMEN_DEVICE_MICROPHONE_RECORDER_H_
#define LUMEN_DEVICE_MICROPHONE_RECORDER_H_

#include <napi.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "callback/delivery_gate.h"
#include "korin/sdk_services.h"
#include "tavel/device_engine.h"
#include "tavel/live_play_engine.h"

namespace lumen_addon {

class MicrophoneRecordingCallbackImpl;

// What a start export asks for.
struct RecordingStart {
  enum Kind { kPlain, kTimeout, kSpeakerData, kForAsr };
  Kind kind = kPlain;
  bool enable_aec = false;
  int64_t timeout_ms = -1;

  // The new engine is chosen by its source flags (always for kForAsr).
  bool UsesNewEngine() const;
  korin::AudioRecordingParam Param() const;
  // Empty when the export sets none.
  const char* Scene() const;
};

class MicrophoneRecorder {
 public:
  // `module`: the device module's wording of the refusal line.
  MicrophoneRecorder(const char* tag, bool module);
  ~MicrophoneRecorder();
  MicrophoneRecorder(const MicrophoneRecorder&) = delete;
  MicrophoneRecorder& operator=(const MicrophoneRecorder&) = delete;

  using ClassicStart = std::function<int(tavel::MicrophoneRecordingCallback* sink)>;
  // `*reached`: the call reached the engine (else it may still hold the sink).
  using ClassicStats = std::function<int(tavel::DeviceRecordingStats* stats, bool* reached)>;

  // JavaScript thread.
  int StartNew(const RecordingStart& start, napi_env env, napi_value callback, std::shared_ptr<DeliveryGate> gate);
  int StartClassic(napi_env env, napi_value callback, std::shared_ptr<DeliveryGate> gate, const ClassicStart& call);
  // `*write`: whether `stats` holds what the export reports.
  int Stop(const ClassicStats& classic_stop, tavel::DeviceRecordingStats* stats, bool* write);
  bool recording() const { return recording_started_; }

 private:
  // Ends a new-engine recording; its statistics are answered.
  tavel::DeviceRecordingStats StopNew();

  const char* const tag_;
  const bool module_;
  korin::AudioRecording* audio_recording_;
  std::shared_ptr<MicrophoneRecordingCallbackImpl> classic_sink_;
  std::shared_ptr<MicrophoneRecordingCallbackImpl> audio_sink_;
  // Sinks an engine that could not be reached may still call: kept to the end.
  std::vector<std::shared_ptr<MicrophoneRecordingCallbackImpl>> retired_;
  bool recording_started_ = false;
  bool mic_device_started_ = false;
};

}  // namespace lumen_addon

#endif  // LUMEN_DEVICE_MICROPHONE_RECORDER_H_
