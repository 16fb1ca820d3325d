// A stand-alone device object that JavaScript creates and holds as a handle:
// a classic device engine, or the newer audio device when its source flags
// are all on, with a microphone recording of its own.
#ifndef LUMEN_DEVICE_DEVICE_MODULE_IMPL_H_
#define LUMEN_DEVICE_DEVICE_MODULE_IMPL_H_

#include <napi.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "device/microphone_recorder.h"
#include "korin/audio_device.h"
#include "tavel/device_engine.h"

namespace lumen_addon {

class ModuleEngineObserver;
class ModuleAudioListener;
class VideoFrameCallback;

// Runs `op` on `engine` when it offers the operation, else answers -1.
template <typename Op, typename E>
int InvokeIfOffered(Op& op, E* engine) {
  if constexpr (std::is_invocable_v<Op&, E*>) {
    return op(engine);
  } else {
    return -1;
  }
}

class DeviceModuleImpl {
 public:
  static constexpr char kTag[] = "DeviceModuleImpl";

  // JavaScript thread.
  DeviceModuleImpl(napi_env env, napi_value callback, const std::string& engine_param);
  ~DeviceModuleImpl();
  DeviceModuleImpl(const DeviceModuleImpl&) = delete;
  DeviceModuleImpl& operator=(const DeviceModuleImpl&) = delete;

  // The classic engine if there is one, else the audio device; -1 when the
  // chosen one lacks the operation.
  template <typename Op>
  int Call(Op& op) {
    if (classic_) return InvokeIfOffered(op, classic_);
    if (audio_device_) return InvokeIfOffered(op, audio_device_);
    return -1;
  }
  // The classic engine only.
  template <typename Op>
  int CallClassic(Op& op) {
    return classic_ ? InvokeIfOffered(op, classic_) : -1;
  }

  int StartRecording(const RecordingStart& start, napi_env env, napi_value callback);
  int StopRecording(tavel::DeviceRecordingStats* stats, bool* write);
  int GetRecordInfoAndReset(tavel::DeviceRecordingStats* stats);
  bool IsAudioRecording() const { return recorder_.recording(); }
  int SelectCaptureDevice(const std::string& guid, const tavel::VideoCaptureFormat& format);
  int StartTestCamera(const std::string& guid, napi_env env, napi_value callback, const tavel::VideoCaptureFormat& f);
  int StopTestCamera();

  bool uses_audio_device() const { return audio_device_ != nullptr; }
  // Keeps what was handed to the engine until the engine is gone.
  void Keep(std::shared_ptr<void> object) { kept_.push_back(std::move(object)); }

 private:
  tavel::Ticket ticket_;
  tavel::DeviceEngine* classic_ = nullptr;
  std::shared_ptr<ModuleEngineObserver> observer_;
  korin::AudioDeviceInterface* audio_device_ = nullptr;
  std::shared_ptr<ModuleAudioListener> listener_;
  MicrophoneRecorder recorder_{kTag, true};
  std::shared_ptr<VideoFrameCallback> test_camera_;
  std::vector<std::shared_ptr<VideoFrameCallback>> retired_;
  std::string capture_device_guid_;
  std::vector<std::shared_ptr<void>> kept_;
};

}  // namespace lumen_addon

#endif  // LUMEN_DEVICE_DEVICE_MODULE_IMPL_H_
