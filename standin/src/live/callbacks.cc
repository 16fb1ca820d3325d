// One firer per method of every callback interface the add-on registers.
#include <algorithm>
#include <memory>

#include "live/internal.h"
#include "sim/methods.h"

namespace live {

void HoldLivePlayCallback(const void* owner, tavel::LivePlayEngineCallback* cb) {
  using C = tavel::LivePlayEngineCallback;
  sim::HoldMethods<C>(owner, "LivePlayEngineCallback", cb,
                      {SIM_METHOD(OnMediaConnected), SIM_METHOD(OnMediaConnecting), SIM_METHOD(OnMediaReconnecting),
                       SIM_METHOD(OnMediaDisconnected), SIM_METHOD(OnAudioSharedConnectionStateChanged),
                       SIM_METHOD(OnVideoSharedConnectionStateChanged), SIM_METHOD(OnServerTimestampOffset),
                       SIM_METHOD(OnRadioChannelConnecting), SIM_METHOD(OnRadioChannelConnected),
                       SIM_METHOD(OnRadioMessage), SIM_METHOD(OnUserData), SIM_METHOD(OnNoSpeechTimeoutEvent),
                       SIM_METHOD(OnAudioInputNoVoiceWarning), SIM_METHOD(OnRecordingDataException),
                       SIM_METHOD(OnPlayoutDataException), SIM_METHOD(OnLoopbackDataException),
                       SIM_METHOD(OnDeviceError), SIM_METHOD(OnDeviceEvent), SIM_METHOD(OnAudioInputDeviceChanged),
                       SIM_METHOD(OnAudioOutputDeviceChanged), SIM_METHOD(OnVideoInputDeviceChanged),
                       SIM_METHOD(OnDefaultAudioInputDeviceChanged), SIM_METHOD(OnDefaultAudioOutputDeviceChanged),
                       SIM_METHOD(OnVideoFrameReceived), SIM_METHOD(OnBeautyReady), SIM_METHOD(OnBeautyError),
                       SIM_METHOD(OnAIStickerReady), SIM_METHOD(OnAIStickerError)});
}

void HoldMicCallback(const void* owner, tavel::MicrophoneRecordingCallback* cb) {
  using C = tavel::MicrophoneRecordingCallback;
  sim::HoldMethods<C>(owner, "MicrophoneRecordingCallback", cb,
                      {SIM_METHOD(OnAudioRecordingStart), SIM_METHOD(OnAudioRecordingStop),
                       SIM_METHOD(OnMicrophoneRecordedPcmData), SIM_METHOD(OnMicrophoneRecordedAacData),
                       SIM_METHOD(OnMicrophoneRecordedOpusData), SIM_METHOD(OnMicrophoneRecordedIsacData)});
}

void HoldVadCallback(const void* owner, const std::string& scope, tavel::VadCallback* cb) {
  using C = tavel::VadCallback;
  sim::HoldMethods<C>(owner, "VadCallback." + scope, cb, {SIM_METHOD(OnAudioVadStatusChange)});
}

void HoldHandActionCallback(const void* owner, tavel::HandActionCallback* cb) {
  using C = tavel::HandActionCallback;
  sim::HoldMethods<C>(owner, "HandActionCallback", cb, {SIM_METHOD(OnHandAction)});
}

void HoldCollectCallback(const void* owner, tavel::CollectLiveDataCallback* cb) {
  using C = tavel::CollectLiveDataCallback;
  sim::HoldMethods<C>(owner, "CollectLiveDataCallback", cb, {SIM_METHOD(OnCollectLiveData), SIM_METHOD(OnCollectError)});
}

void HoldScreenShareCallback(const void* owner, tavel::ScreenShareCallback* cb) {
  using C = tavel::ScreenShareCallback;
  sim::HoldMethods<C>(owner, "ScreenShareCallback", cb, {SIM_METHOD(OnScreenShareStateChanged)});
}

void HoldDetectorCallback(const void* owner, korin::FrameValidDetectorCallback* cb) {
  using C = korin::FrameValidDetectorCallback;
  sim::HoldMethods<C>(owner, "FrameValidDetectorCallback", cb, {SIM_METHOD(OnDetectStatusCallback)});
}

void HoldRecordCallback(const void* owner, tavel::CameraVideoRecordCallback* cb) {
  using C = tavel::CameraVideoRecordCallback;
  sim::HoldMethods<C>(owner, "CameraVideoRecordCallback", cb, {SIM_METHOD(OnRecordComplete)});
}

std::string VadScope(int32_t ssrc) { return "ssrc:" + std::to_string(ssrc); }

std::string VadScope(const tavel::BizInfo& i) {
  return "biz:" + std::to_string(i.biz_type) + ":" + std::to_string(i.user_id) + ":" + std::to_string(i.group_id) +
         ":" + (i.collect ? "1" : "0");
}

void HoldDeviceEventCallback(const void* owner, tavel::DeviceEventCallback* cb) {
  using C = tavel::DeviceEventCallback;
  sim::HoldMethods<C>(owner, "DeviceEventCallback", cb, {SIM_METHOD(OnDeviceError), SIM_METHOD(OnDeviceEvent)});
}

void HoldLocalEngineCallback(const void* owner, tavel::LocalEngineCallback* cb) {
  using C = tavel::LocalEngineCallback;
  sim::HoldMethods<C>(owner, "LocalEngineCallback", cb, {SIM_METHOD(OnLocalEngineStarted)});
}

void HoldStreamingCallback(const void* owner, tavel::StreamingEngineCallback* cb) {
  using C = tavel::StreamingEngineCallback;
  sim::HoldMethods<C>(owner, "StreamingEngineCallback", cb, {SIM_METHOD(OnStreamingStateChanged), SIM_METHOD(OnBufferingBegin),
                       SIM_METHOD(OnBufferingEnd), SIM_METHOD(OnFrameReceived), SIM_METHOD(OnError)});
}

void HoldReplayCallback(const void* owner, tavel::ReplayEngineCallback* cb) {
  using C = tavel::ReplayEngineCallback;
  sim::HoldMethods<C>(owner, "ReplayEngineCallback", cb, {SIM_METHOD(OnReplayOpened)});
}

void HoldCommandCallback(const void* owner, lumen::CommandClientCallback* cb) {
  using C = lumen::CommandClientCallback;
  sim::HoldMethods<C>(owner, "CommandClientCallback", cb,
                      {SIM_METHOD(OnCommandConnecting), SIM_METHOD(OnCommandConnected),
                       SIM_METHOD(OnCommandReconnecting), SIM_METHOD(OnCommandDisconnected)});
}

void HoldTallyHandler(const void* owner, korin::TallyHandler* handler) {
  using C = korin::TallyHandler;
  sim::HoldMethods<C>(owner, "TallyHandler", handler, {SIM_METHOD(OnTally), SIM_METHOD(OnTallyEvent)});
}

// Get answers [size, bytes]: bytes is the whole buffer of `capacity` bytes
// handed to the provider, pre-filled with 0xEE, so that callers see exactly
// what was written.
constexpr int64_t kMaxCacheGetCapacity = 64 << 20;

void HoldCacheProvider(const void* owner, lumen::CacheProvider* provider) {
  using C = lumen::CacheProvider;
  sim::HoldMethods<C>(owner, "CacheProvider", provider, {SIM_METHOD(Set), SIM_METHOD(Remove)});
  if (!provider) {
    sim::ReleaseName("CacheProvider.Get", owner);
    return;
  }
  sim::Hold(owner, "CacheProvider.Get", [provider](const sim::Args& a) {
    // Capped: a firing may ask for any int, and the buffer is really made.
    const int capacity = static_cast<int>(std::clamp<int64_t>(a.Int(1), 0, kMaxCacheGetCapacity));
    // One spare byte keeps the pointer valid for an empty copy; it is not offered.
    std::unique_ptr<uint8_t[]> buffer(new uint8_t[static_cast<size_t>(capacity) + 1]);
    std::fill(buffer.get(), buffer.get() + capacity, 0xEE);
    int size = provider->Get(a.Str(0), buffer.get(), capacity);
    sim::Answer(sim::ArgsOf(static_cast<double>(size), sim::Bytes(buffer.get(), buffer.get() + capacity)));
  });
}

}  // namespace live
