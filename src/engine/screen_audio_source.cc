#include "engine/screen_audio_source.h"

#include "common/logging.h"
#include "device/microphone_recorder.h"

namespace lumen_addon {

namespace {
constexpr char kTag[] = "ScreenRecordEngineImpl";
}  // namespace

// Engine threads: microphone PCM into the recorder, which outlives the source.
class ScreenAudioSource::PcmForwarder : public tavel::MicrophoneRecordingCallback {
 public:
  explicit PcmForwarder(record_engine::RecordEngineInterface* recorder) : recorder_(recorder) {}
  void OnAudioRecordingStart() override {}
  void OnAudioRecordingStop() override {}
  void OnMicrophoneRecordedPcmData(const uint8_t* data, int length) override {
    if (recorder_ && data && length > 0) recorder_->inputAudioData(data, static_cast<size_t>(length));
  }
  void OnMicrophoneRecordedAacData(const uint8_t*, int, int) override {}
  void OnMicrophoneRecordedOpusData(const uint8_t*, int, int) override {}
  void OnMicrophoneRecordedIsacData(const uint8_t*, int, int) override {}

 private:
  record_engine::RecordEngineInterface* const recorder_;
};

ScreenAudioSource::ScreenAudioSource(bool audio_recording, const tavel::Ticket& ticket,
                                     record_engine::RecordEngineInterface* recorder)
    : ticket_(ticket), sink_(std::make_unique<PcmForwarder>(recorder)) {
  if (audio_recording) recording_ = korin::AudioRecording::Create("");
  else device_ = tavel::DeviceEngine::Create(ticket_);
}

ScreenAudioSource::~ScreenAudioSource() {
  Stop();
  DestroyDevice();
  if (recording_) korin::AudioRecording::Destroy(recording_);
  recording_ = nullptr;
}

void ScreenAudioSource::DestroyDevice() {
  if (device_) tavel::DeviceEngine::Destroy(device_);
  device_ = nullptr;
}

void ScreenAudioSource::SwitchToAudioRecording() {
  Stop();
  DestroyDevice();
  if (!recording_) recording_ = korin::AudioRecording::Create("");
}

int ScreenAudioSource::Start(bool enable_aec) {
  if (recording_) {
    RecordingStart start{RecordingStart::kPlain, enable_aec, -1};
    korin::AudioRecordingParam param = start.Param();
    param.scene = "ScreenRecorder";
    recording_->SetSceneName(param.scene);
    if (started_) return -1;
    if (recording_->StartMicrophoneDevice(param.device_option_a, 0, param.device_option_b, param) != 0) return -1;
    if (recording_->StartRecording(param, sink_.get(), 0) != 0) {
      recording_->StopMicrophoneDevice();
      return -1;
    }
    started_ = true;
    return 0;
  }
  if (!device_) return -1;
  const int r = device_->StartRecordingMicrophone(sink_.get(), enable_aec);
  if (r < 0) {
    DestroyDevice();
    LUMEN_LOG(kError, kTag) << "StartRecordingMicrophone failed  ret:" << r;
    return r;
  }
  started_ = r == 0;
  return r;
}

void ScreenAudioSource::Stop() {
  if (!started_) return;
  started_ = false;
  if (recording_) {
    korin::AudioRecordingStats discarded;
    recording_->StopRecording(&discarded);
    recording_->StopMicrophoneDevice();
  } else if (device_) {
    tavel::DeviceRecordingStats discarded;
    device_->StopRecordingMicrophone(&discarded);
  }
}

int ScreenAudioSource::SetProcessingBypass(int32_t module, bool bypass) {
  if (recording_) return recording_->SetAudioProcessingBypass(module, bypass);
  if (device_) return device_->SetAudioProcessingBypass(module, bypass);
  return -1;
}

}  // namespace lumen_addon
