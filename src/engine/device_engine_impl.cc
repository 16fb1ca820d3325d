#include "engine/device_engine_impl.h"

#include <cstring>
#include <mutex>

#include "callback/photo_callback.h"
#include "callback/video_frame_callback.h"
#include "device/device_observers.h"
#include "engine/device_settings.h"
#include "engine/engine_manager.h"

namespace lumen_addon {

namespace {

// Hands the engine's picture to the photo holder.
class PhotoAdapter : public tavel::PhotoCaptureCallback {
 public:
  explicit PhotoAdapter(std::shared_ptr<PhotoCallbackImpl> photo) : photo_(std::move(photo)) {}
  void OnPictureCaptured(const uint8_t* data, int length) override { photo_->OnPictureCaptured(data, length); }

 private:
  std::shared_ptr<PhotoCallbackImpl> photo_;
};

void StopPhotoCapture() {
  std::shared_ptr<DeviceEngineImpl> device;
  EngineManager::WithInstance([&](EngineManager& m) { device = m.CurrentDeviceEngine(); });
  if (device) {
    device->Call("StopCapturePhoto failed: device_ is null",
                 [](tavel::LiveDeviceEngine* d) { return d->StopCapturePhoto(); });
  }
}

}  // namespace

DeviceEngineImpl::DeviceEngineImpl(tavel::LiveDeviceEngine* device) : device_(device) {}

DeviceEngineImpl::~DeviceEngineImpl() {
  if (test_camera_) VideoFrameCallback::Release(std::move(test_camera_));
}

void DeviceEngineImpl::Close() {
  std::unique_lock<std::shared_mutex> lock(mu_);
  closed_ = true;
  gate_->Close();
}

void DeviceEngineImpl::UnregisterCallbacks() {
  if (!device_) return;
  device_->RegisterAudioDeviceDataExceptionObserver(nullptr);
  device_->RegisterDeviceErrorCallback(nullptr);
  device_->RegisterDeviceEventCallback(nullptr);
}

int DeviceEngineImpl::SetAudioParameterPath(const std::string& path) {
  return Call("SetAudioParameterPath failed: device_ is null",
              [&](tavel::LiveDeviceEngine* device) { return device->SetAudioParameterPath(path); });
}

int DeviceEngineImpl::StartRecording(const RecordingStart& start, napi_env env, napi_value callback) {
  if (start.UsesNewEngine()) return recorder_.StartNew(start, env, callback, gate_);
  return recorder_.StartClassic(env, callback, gate_, [&](tavel::MicrophoneRecordingCallback* sink) {
    return Call("StartRecordingMicrophone failed: device_ is null", [&](tavel::LiveDeviceEngine* d) {
      if (start.kind == RecordingStart::kPlain) return d->StartRecordingMicrophone(sink, start.enable_aec);
      tavel::MicrophoneRecordingParam p;
      p.sink = sink;
      p.mode = start.kind == RecordingStart::kSpeakerData ? 4 : 1;
      p.timeout_ms = start.kind == RecordingStart::kTimeout ? start.timeout_ms : -1;
      return d->StartRecordingMicrophone(p);
    });
  });
}

int DeviceEngineImpl::StopRecording(tavel::DeviceRecordingStats* stats, bool* write) {
  return recorder_.Stop(
      [&](tavel::DeviceRecordingStats* s, bool* reached) {
        return Reach("StopRecordingMicrophone failed: device_ is null", reached,
                     [&](tavel::LiveDeviceEngine* d) { return d->StopRecordingMicrophone(s); });
      },
      stats, write);
}

int DeviceEngineImpl::GetRecordInfoAndReset(tavel::DeviceRecordingStats* stats) {
  return Call("GetRecordInfoAndReset failed: device_ is null",
              [&](tavel::LiveDeviceEngine* d) { return d->GetRecordInfoAndReset(stats); });
}

int DeviceEngineImpl::RegisterObserver(Observer which, napi_env env, napi_value callback) {
  auto reg = [&](auto& slot, const char* name, auto&& attach) {
    using T = typename std::decay_t<decltype(slot)>::element_type;
    if (slot) {
      LUMEN_LOG(kError, kTag) << "DeviceEngineImpl::" << name << ": already registered";
      return -1;
    }
    slot = std::make_shared<T>(env, callback, kItemDefault, gate_);
    const int r = Call("RegisterObserver failed: device_ is null",
                       [&](tavel::LiveDeviceEngine* d) { return attach(d, slot.get()); });
    if (r < 0) {
      // Not registered: the engine never saw it, or refused it.
      slot.reset();
      return -1;
    }
    return 0;
  };
  switch (which) {
    case Observer::kDataException:
      return reg(data_exception_observer_, "RegisterAudioDeviceDataExceptionCallback",
                 [](tavel::LiveDeviceEngine* d, DataExceptionObserver* o) { return d->RegisterAudioDeviceDataExceptionObserver(o); });
    case Observer::kDeviceError:
      return reg(device_error_observer_, "RegisterDeviceErrorCallback",
                 [](tavel::LiveDeviceEngine* d, DeviceErrorObserverImpl* o) { return d->RegisterDeviceErrorCallback(o); });
    case Observer::kDeviceEvent:
      return reg(device_event_observer_, "RegisterDeviceEventCallback",
                 [](tavel::LiveDeviceEngine* d, DeviceEventObserverImpl* o) { return d->RegisterDeviceEventCallback(o); });
  }
  return -1;
}

int DeviceEngineImpl::UnregisterObserver(Observer which) {
  auto unreg = [&](auto& slot, auto&& detach) {
    if (!slot) return 0;
    bool reached = false;
    const int r = Reach("UnregisterObserver failed: device_ is null", &reached,
                        [&](tavel::LiveDeviceEngine* d) { return detach(d); });
    if (!reached) retired_.push_back(slot);
    slot.reset();
    return r < 0 ? -1 : 0;
  };
  switch (which) {
    case Observer::kDataException:
      return unreg(data_exception_observer_,
                   [](tavel::LiveDeviceEngine* d) { return d->RegisterAudioDeviceDataExceptionObserver(nullptr); });
    case Observer::kDeviceError:
      return unreg(device_error_observer_, [](tavel::LiveDeviceEngine* d) { return d->RegisterDeviceErrorCallback(nullptr); });
    case Observer::kDeviceEvent:
      return unreg(device_event_observer_, [](tavel::LiveDeviceEngine* d) { return d->RegisterDeviceEventCallback(nullptr); });
  }
  return -1;
}

int DeviceEngineImpl::StartTestCamera(const std::string& guid, napi_env env, napi_value callback,
                                      const tavel::VideoCaptureFormat& format) {
  auto renderer = VideoFrameCallback::CreateDirectRenderer(env, callback);
  char buffer[tavel::kDeviceNameSize] = {};
  std::strncpy(buffer, guid.c_str(), sizeof buffer - 1);
  const int r = Call("StartTestCamera failed: device_ is null", [&](tavel::LiveDeviceEngine* d) {
    return d->StartTestCamera(buffer, renderer.get(), format);
  });
  if (r == 0) {
    if (test_camera_) retired_.push_back(test_camera_);
    test_camera_ = std::move(renderer);
  } else {
    VideoFrameCallback::Release(std::move(renderer));
  }
  return r;
}

int DeviceEngineImpl::StopTestCamera() {
  bool reached = false;
  const int r = Reach("StopTestCamera failed: device_ is null", &reached,
                      [](tavel::LiveDeviceEngine* d) { return d->StopTestCamera(); });
  if (reached && test_camera_) VideoFrameCallback::Release(std::move(test_camera_));
  return r;
}

int DeviceEngineImpl::CapturePhoto(int32_t width, int32_t height, napi_env env, napi_value callback, bool mirror) {
  auto renderer = VideoFrameCallback::CreateRenderer(VideoFrameCallback::kLocalUserId,
                                                     PhotoCallbackImpl::kCaptureTrackType, env, callback);
  renderer->SetEnabled(true);
  auto photo = std::make_shared<PhotoCallbackImpl>(env, callback);
  photo->SetAfterCapture(StopPhotoCapture);
  auto adapter = std::make_shared<PhotoAdapter>(photo);
  const int r = Call("CapturePhoto failed: device_ is null", [&](tavel::LiveDeviceEngine* d) {
    return d->CapturePhoto(width, height, renderer.get(), adapter.get(), mirror);
  });
  if (r == 0) {
    retired_.push_back(renderer);
    if (photo_adapter_) retired_.push_back(photo_adapter_);
    photo_ = std::move(photo);
    photo_adapter_ = std::move(adapter);
  }
  return r;
}

int DeviceEngineImpl::SelectCaptureDevice(const std::string& guid, const tavel::VideoCaptureFormat& format) {
  char buffer[tavel::kDeviceNameSize] = {};
  std::strncpy(buffer, guid.c_str(), sizeof buffer - 1);
  bool found = false;
  const int r = Call("SelectCaptureDevice failed: device_ is null", [&](tavel::LiveDeviceEngine* d) {
    if (d->GetCaptureDeviceIndex(buffer, format) < 0) return -1;
    found = true;
    return d->SetCaptureDevice(buffer, format);
  });
  if (found) {
    std::lock_guard<std::mutex> lock(guid_mu_);
    capture_device_guid_ = buffer;
  }
  return found ? r : -1;
}

std::string DeviceEngineImpl::capture_device_guid() const {
  std::lock_guard<std::mutex> lock(guid_mu_);
  return capture_device_guid_;
}

int DeviceEngineImpl::ApplyCachedSettings(const CachedDeviceSettings& settings) {
  return ApplyCachedDeviceSettings(*this, settings);
}

}  // namespace lumen_addon
