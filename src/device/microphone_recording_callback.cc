#include "device/microphone_recording_callback.h"

#include <utility>

#include "callback/engine_event_item.h"

namespace lumen_addon {

void MicrophoneRecordingCallbackImpl::Post(const char* method, int32_t type, std::vector<EventArg> args) {
  if (auto self = weak_from_this().lock()) PostEngineEvent(std::move(self), gate_.get(), method, type, std::move(args));
}

void MicrophoneRecordingCallbackImpl::OnAudioRecordingStart() { Post("onAudioRecordingStart", kItemDefault); }

void MicrophoneRecordingCallbackImpl::OnAudioRecordingStop() { Post("onAudioRecordingStop", kItemDefault); }

void MicrophoneRecordingCallbackImpl::PostData(const char* method, const uint8_t* data, int length, const int* third) {
  if (!HasData(data, length)) return;
  auto self = weak_from_this().lock();
  if (!self) return;
  std::vector<EventArg> args{ArgBytes(data, static_cast<size_t>(length)), Arg(length)};
  if (third) args.push_back(Arg(static_cast<int32_t>(*third)));
  PostEngineEvent(std::move(self), gate_.get(), method, kItemMicrophoneData, std::move(args));
}

void MicrophoneRecordingCallbackImpl::OnMicrophoneRecordedPcmData(const uint8_t* data, int length) {
  PostData("onMicrophoneRecordedPcmData", data, length, nullptr);
}
void MicrophoneRecordingCallbackImpl::OnMicrophoneRecordedAacData(const uint8_t* data, int length, int sample_rate) {
  PostData("onMicrophoneRecordedAacData", data, length, &sample_rate);
}
void MicrophoneRecordingCallbackImpl::OnMicrophoneRecordedOpusData(const uint8_t* data, int length, int sample_rate) {
  PostData("onMicrophoneRecordedOpusData", data, length, &sample_rate);
}
void MicrophoneRecordingCallbackImpl::OnMicrophoneRecordedIsacData(const uint8_t* data, int length, int sample_rate) {
  PostData("onMicrophoneRecordedIsacData", data, length, &sample_rate);
}

}  // namespace lumen_addon
