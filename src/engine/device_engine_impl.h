// The device engine of an engine root: the live device interface, the
// microphone recording, the observers registered from JavaScript, the
// selected capture device, the camera test and the photo capture.
#ifndef LUMEN_ENGINE_DEVICE_ENGINE_IMPL_H_
#define LUMEN_ENGINE_DEVICE_ENGINE_IMPL_H_

#include <napi.h>

#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <vector>

#include "common/logging.h"
#include "device/microphone_recorder.h"
#include "callback/delivery_gate.h"
#include "korin/sdk_services.h"
#include "tavel/live_engine.h"

namespace lumen_addon {

class DataExceptionObserver;
class DeviceErrorObserverImpl;
class DeviceEventObserverImpl;
class VideoFrameCallback;
class PhotoCallbackImpl;
struct CachedDeviceSettings;

class DeviceEngineImpl {
 public:
  static constexpr char kTag[] = "DeviceEngineImpl";
  enum class Observer { kDataException, kDeviceError, kDeviceEvent };

  explicit DeviceEngineImpl(tavel::LiveDeviceEngine* device);
  ~DeviceEngineImpl();

  // Runs `op` on the device interface (or logs `failure` at warning level
  // and answers -1 without it). Calls share; Close waits for those in flight.
  template <typename Op>
  int Call(const char* failure, Op&& op) {
    std::shared_lock<std::shared_mutex> lock(mu_);
    if (closed_ || !device_) {
      LUMEN_LOG(kWarning, kTag) << failure;
      return -1;
    }
    return op(device_);
  }

  // The interface itself, for the owning wrapper only, while it knows the
  // root alive (under its lock, not shut down); everybody else uses Call.
  tavel::LiveDeviceEngine* device() const { return device_; }
  // The owning wrapper is shut down: later calls answer -1, and nothing
  // reported afterwards reaches JavaScript.
  void Close();
  // Called by the root just before it is deleted: the engine must not call
  // the device callbacks any more.
  void UnregisterCallbacks();
  int SetAudioParameterPath(const std::string& path);

  // JavaScript thread.
  int StartRecording(const RecordingStart& start, napi_env env, napi_value callback);
  int StopRecording(tavel::DeviceRecordingStats* stats, bool* write);
  int GetRecordInfoAndReset(tavel::DeviceRecordingStats* stats);
  bool IsAudioRecording() const { return recorder_.recording(); }
  int RegisterObserver(Observer which, napi_env env, napi_value callback);
  int UnregisterObserver(Observer which);
  int StartTestCamera(const std::string& guid, napi_env env, napi_value callback, const tavel::VideoCaptureFormat& f);
  int StopTestCamera();
  int CapturePhoto(int32_t width, int32_t height, napi_env env, napi_value callback, bool mirror);
  // Keeps what was handed to the engine until the root is gone.
  void Keep(std::shared_ptr<void> object) { retired_.push_back(std::move(object)); }

  // Any thread (the background connect applies cached settings).
  int SelectCaptureDevice(const std::string& guid, const tavel::VideoCaptureFormat& format);
  std::string capture_device_guid() const;
  int ApplyCachedSettings(const CachedDeviceSettings& settings);

 private:
  // Runs `op` and tells whether it reached the engine.
  template <typename Op>
  int Reach(const char* failure, bool* reached, Op&& op) {
    return Call(failure, [&](tavel::LiveDeviceEngine* d) {
      *reached = true;
      return op(d);
    });
  }

  std::shared_mutex mu_;
  bool closed_ = false;
  tavel::LiveDeviceEngine* const device_;
  const std::shared_ptr<DeliveryGate> gate_ = std::make_shared<DeliveryGate>();
  MicrophoneRecorder recorder_{kTag, false};
  std::shared_ptr<DataExceptionObserver> data_exception_observer_;
  std::shared_ptr<DeviceErrorObserverImpl> device_error_observer_;
  std::shared_ptr<DeviceEventObserverImpl> device_event_observer_;
  std::shared_ptr<VideoFrameCallback> test_camera_;
  std::shared_ptr<PhotoCallbackImpl> photo_;
  std::shared_ptr<tavel::PhotoCaptureCallback> photo_adapter_;
  // What the engine may still call after an unreachable stop: kept to the end.
  std::vector<std::shared_ptr<void>> retired_;
  mutable std::mutex guid_mu_;
  std::string capture_device_guid_;
};

}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_DEVICE_ENGINE_IMPL_H_
