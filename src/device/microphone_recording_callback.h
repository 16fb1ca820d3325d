// The sink of a microphone recording (the live play engine's, a device
// engine's or a device module's): each event is copied on the engine thread
// and posted as an item of the recording engine's gate, delivered to the
// recording's JavaScript callback object. Must be owned by a
// std::shared_ptr (std::make_shared).
#ifndef LUMEN_DEVICE_MICROPHONE_RECORDING_CALLBACK_H_
#define LUMEN_DEVICE_MICROPHONE_RECORDING_CALLBACK_H_

#include <napi.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "callback/addon_callback.h"
#include "callback/async_callback_item.h"
#include "callback/delivery_gate.h"
#include "tavel/live_play_engine.h"

namespace lumen_addon {

class MicrophoneRecordingCallbackImpl : public tavel::MicrophoneRecordingCallback,
                                        public AddonCallback,
                                        public std::enable_shared_from_this<MicrophoneRecordingCallbackImpl> {
 public:
  MicrophoneRecordingCallbackImpl(napi_env env, napi_value callback, std::shared_ptr<DeliveryGate> gate = nullptr)
      : AddonCallback(env, callback), gate_(std::move(gate)) {}

  void OnAudioRecordingStart() override;
  void OnAudioRecordingStop() override;
  void OnMicrophoneRecordedPcmData(const uint8_t* data, int length) override;
  void OnMicrophoneRecordedAacData(const uint8_t* data, int length, int sample_rate) override;
  void OnMicrophoneRecordedOpusData(const uint8_t* data, int length, int sample_rate) override;
  void OnMicrophoneRecordedIsacData(const uint8_t* data, int length, int sample_rate) override;

 private:
  void PostData(const char* method, const uint8_t* data, int length, const int* third);
  void Post(const char* method, int32_t type, std::vector<EventArg> args = {});

  const std::shared_ptr<DeliveryGate> gate_;
};

}  // namespace lumen_addon

#endif  // LUMEN_DEVICE_MICROPHONE_RECORDING_CALLBACK_H_
