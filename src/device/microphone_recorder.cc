#include "device/microphone_recorder.h"

#include <string>

#include "callback/callback_dispatcher.h"
#include "common/logging.h"
#include "device/microphone_recording_callback.h"
#include "tavel/source_flag.h"

namespace lumen_addon {

bool RecordingStart::UsesNewEngine() const {
  if (kind == kForAsr) return true;
  const char* key = kind == kPlain     ? "StartRecordingMicrophone4.57.0"
                    : kind == kTimeout ? "StartRecordingMicrophoneTimeout4.57.0"
                                       : "StartRecordingMicrophoneWithSpeakerData4.54.0";
  return tavel::GetSourceFlagWithKey(std::string("enableUsingAudioEngineRecording_") + key) &&
         tavel::GetAudioEngineSourceFlagWithKey("enableUsingAudioEngine4.54.0");
}

const char* RecordingStart::Scene() const {
  switch (kind) {
    case kPlain:
    case kForAsr: return "StartRecordingMicrophone";
    case kTimeout: return "StartRecordingMicrophoneTimeout";
    default: return "";
  }
}

korin::AudioRecordingParam RecordingStart::Param() const {
  korin::AudioRecordingParam p;
  p.sample_rate = 16000;
  p.reserved0 = 0;
  p.bit_rate = kind == kSpeakerData ? 128000 : 64000;
  p.flag0 = true;
  p.flag1 = true;
  p.device_option_b = true;
  p.device_option_a = false;
  p.timeout_ms = kind == kTimeout ? timeout_ms : -1;
  p.str0 = "null";
  p.str1 = "null";
  switch (kind) {
    case kPlain: p.processing_mask = enable_aec ? 31 : 22; break;
    case kTimeout: p.processing_mask = 31; break;
    case kForAsr: p.processing_mask = tavel::GetSourceFlagWithKey("enableAnsDspOnlyForAsr20250303") ? 13 : 29; break;
    case kSpeakerData: break;
  }
  p.mode = kind == kSpeakerData ? 4 : 1;
  p.scene = Scene();
  p.str2 = "null";
  p.reserved1 = -1;
  return p;
}

MicrophoneRecorder::MicrophoneRecorder(const char* tag, bool module)
    : tag_(tag), module_(module), audio_recording_(korin::AudioRecording::Create("")) {}

MicrophoneRecorder::~MicrophoneRecorder() {
  if (mic_device_started_) StopNew();
  classic_sink_.reset();
  if (audio_recording_) korin::AudioRecording::Destroy(audio_recording_);
}

int MicrophoneRecorder::StartNew(const RecordingStart& start, napi_env env, napi_value callback,
                                 std::shared_ptr<DeliveryGate> gate) {
  if (!audio_recording_) return -1;
  if (*start.Scene()) audio_recording_->SetSceneName(start.Scene());
  if (module_ && recording_started_) {
    LUMEN_LOG(kError, tag_) << "StartMicrophoneDeviceAndRecording failed, recording is already started";
    return -1;
  }
  if (recording_started_ || mic_device_started_) {
    LUMEN_LOG(kError, tag_) << "StartMicrophoneDeviceAndRecording failed,"
                            << (recording_started_ ? "recording is already started" : "mic device is already started");
    return -1;
  }
  const korin::AudioRecordingParam param = start.Param();
  if (audio_recording_->StartMicrophoneDevice(param.device_option_a, 0, param.device_option_b, param) != 0) {
    LUMEN_LOG(kError, tag_) << "StartMicrophoneDeviceAndRecording failed, StartMicrophoneDevice failed";
    return -1;
  }
  audio_sink_ = std::make_shared<MicrophoneRecordingCallbackImpl>(env, callback, std::move(gate));
  if (audio_recording_->StartRecording(param, audio_sink_.get(), 0) != 0) {
    LUMEN_LOG(kError, tag_) << "StartMicrophoneDeviceAndRecording failed, StartMicrophoneRecording failed";
    audio_recording_->StopMicrophoneDevice();
    audio_sink_.reset();
    return -1;
  }
  recording_started_ = mic_device_started_ = true;
  return 0;
}

int MicrophoneRecorder::StartClassic(napi_env env, napi_value callback, std::shared_ptr<DeliveryGate> gate,
                                     const ClassicStart& call) {
  if (recording_started_) return -1;
  classic_sink_ = std::make_shared<MicrophoneRecordingCallbackImpl>(env, callback, std::move(gate));
  if (call(classic_sink_.get()) != 0) {
    classic_sink_.reset();
    return -1;
  }
  recording_started_ = true;
  return 0;
}

tavel::DeviceRecordingStats MicrophoneRecorder::StopNew() {
  korin::AudioRecordingStats r;
  audio_recording_->StopRecording(&r);
  audio_recording_->StopMicrophoneDevice();
  audio_sink_.reset();
  recording_started_ = mic_device_started_ = false;
  tavel::DeviceRecordingStats out;
  out.encoded_recorded_ms = r.encoded_recorded_ms;
  out.encoded_voice_activity_ms = r.encoded_voice_activity_ms;
  out.encoded_non_zero_sample_count = r.encoded_non_zero_sample_count;
  out.pcm_recorded_sample_count = r.pcm_recorded_sample_count;
  out.pcm_recorded_sample_max = r.pcm_recorded_sample_max;
  out.recording_start_time_ms = r.recording_start_time_ms;
  out.error_code = r.error_code;
  out.hint = r.hint;
  return out;
}

int MicrophoneRecorder::Stop(const ClassicStats& classic_stop, tavel::DeviceRecordingStats* stats, bool* write) {
  *write = false;
  if (mic_device_started_) {
    *stats = StopNew();
    CallbackDispatcher::PurgeType(kItemMicrophoneData);
    *write = true;
    return 0;
  }
  if (!recording_started_) return -1;
  *stats = tavel::DeviceRecordingStats();
  bool reached = false;
  const int code = classic_stop(stats, &reached);
  *write = code == 0;
  recording_started_ = false;
  if (!reached) retired_.push_back(classic_sink_);
  classic_sink_.reset();
  CallbackDispatcher::PurgeType(kItemMicrophoneData);
  return code;
}

}  // namespace lumen_addon
