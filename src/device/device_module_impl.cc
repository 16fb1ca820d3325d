#include "device/device_module_impl.h"

#include <cstring>

#include "callback/callback_dispatcher.h"
#include "callback/video_frame_callback.h"
#include "common/logging.h"
#include "device/device_observers.h"
#include "tavel/source_flag.h"

namespace lumen_addon {

namespace {

// Evaluation stops at the first flag that is off.
bool UseNewAudioDevice() {
  return tavel::GetSourceFlagWithKey("enableUsingAudioEngineRecording_StartRecordingMicrophone4.57.0") &&
         tavel::GetSourceFlagWithKey("enableUsingAudioEngineRecording_StartRecordingMicrophoneWithSpeakerData4.54.0") &&
         tavel::GetSourceFlagWithKey("enableUsingAudioEngineRecording_StartRecordingMicrophoneTimeout4.57.0") &&
         tavel::GetAudioEngineSourceFlagWithKey("enableUsingAudioEngine4.54.0") &&
         tavel::GetSourceFlagWithKey("QXDeviceModuleUseNewAudioDevice4.57.0");
}

}  // namespace

DeviceModuleImpl::DeviceModuleImpl(napi_env env, napi_value callback, const std::string& engine_param) {
  ticket_.engine_params = engine_param;
  if (UseNewAudioDevice()) {
    LUMEN_LOG(kInfo, kTag) << "using new audio device";
    listener_ = std::make_shared<ModuleAudioListener>(env, callback, kItemCameraRecord, nullptr);
    audio_device_ = korin::AudioDeviceInterface::CreateAudioDevice();
    if (audio_device_) audio_device_->RegisterEventListener(listener_.get());
    return;
  }
  classic_ = tavel::DeviceEngine::Create(ticket_);
  observer_ = std::make_shared<ModuleEngineObserver>(env, callback, kItemCameraRecord, nullptr);
  if (classic_) classic_->RegisterObserver(observer_.get());
}

DeviceModuleImpl::~DeviceModuleImpl() {
  // Device modules share their item type with each other and with the camera
  // recorder: only this module's own events go.
  const AddonCallback* events = observer_ ? static_cast<const AddonCallback*>(observer_.get())
                                          : static_cast<const AddonCallback*>(listener_.get());
  if (classic_) {
    classic_->RegisterObserver(nullptr);
    classic_->Release(ticket_.value);
    classic_->Reset(tavel::Ticket());
    tavel::DeviceEngine::Destroy(classic_);
    classic_ = nullptr;
  }
  if (audio_device_) {
    audio_device_->RegisterEventListener(nullptr);
    delete audio_device_;
    audio_device_ = nullptr;
  }
  // While the holder is still ours: its address cannot name another one yet.
  if (events) CallbackDispatcher::PurgeHolder(kItemCameraRecord, events);
  observer_.reset();
  listener_.reset();
  // The recorder goes with its sinks, and a new-engine recording is stopped.
  if (recorder_.recording()) {
    tavel::DeviceRecordingStats discarded;
    bool write = false;
    recorder_.Stop([](tavel::DeviceRecordingStats*, bool* reached) { *reached = true; return -1; }, &discarded, &write);
  }
  if (test_camera_) VideoFrameCallback::Release(std::move(test_camera_));
  for (auto& r : retired_) VideoFrameCallback::Release(std::move(r));
}

int DeviceModuleImpl::StartRecording(const RecordingStart& start, napi_env env, napi_value callback) {
  if (start.UsesNewEngine()) return recorder_.StartNew(start, env, callback, nullptr);
  return recorder_.StartClassic(env, callback, nullptr, [&](tavel::MicrophoneRecordingCallback* sink) {
    if (!classic_) return -1;
    if (start.kind == RecordingStart::kPlain) return classic_->StartRecordingMicrophone(sink, start.enable_aec);
    tavel::MicrophoneRecordingParam p;
    p.sink = sink;
    p.mode = start.kind == RecordingStart::kSpeakerData ? 4 : 1;
    p.timeout_ms = start.kind == RecordingStart::kTimeout ? start.timeout_ms : -1;
    return classic_->StartRecordingMicrophone(p);
  });
}

int DeviceModuleImpl::StopRecording(tavel::DeviceRecordingStats* stats, bool* write) {
  return recorder_.Stop(
      [&](tavel::DeviceRecordingStats* s, bool* reached) {
        *reached = true;
        return classic_ ? classic_->StopRecordingMicrophone(s) : -1;
      },
      stats, write);
}

int DeviceModuleImpl::GetRecordInfoAndReset(tavel::DeviceRecordingStats* stats) {
  return classic_ ? classic_->GetRecordInfoAndReset(stats) : -1;
}

int DeviceModuleImpl::SelectCaptureDevice(const std::string& guid, const tavel::VideoCaptureFormat& format) {
  if (!classic_) return -1;
  char buffer[tavel::kDeviceNameSize] = {};
  std::strncpy(buffer, guid.c_str(), sizeof buffer - 1);
  if (classic_->GetCaptureDeviceIndex(buffer, format) < 0) return -1;
  capture_device_guid_ = buffer;
  return classic_->SetCaptureDevice(buffer, format);
}

int DeviceModuleImpl::StartTestCamera(const std::string& guid, napi_env env, napi_value callback,
                                      const tavel::VideoCaptureFormat& format) {
  if (!classic_) return -1;
  auto renderer = VideoFrameCallback::CreateDirectRenderer(env, callback);
  char buffer[tavel::kDeviceNameSize] = {};
  std::strncpy(buffer, guid.c_str(), sizeof buffer - 1);
  const int r = classic_->StartTestCamera(buffer, renderer.get(), format);
  if (r == 0) {
    if (test_camera_) retired_.push_back(std::move(test_camera_));
    test_camera_ = std::move(renderer);
  } else {
    VideoFrameCallback::Release(std::move(renderer));
  }
  return r;
}

int DeviceModuleImpl::StopTestCamera() {
  if (!classic_) return -1;
  const int r = classic_->StopTestCamera();
  if (test_camera_) retired_.push_back(std::move(test_camera_));
  return r;
}

}  // namespace lumen_addon
