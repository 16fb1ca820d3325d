// Engine-side holders of the device engines' JavaScript callback objects:
// each event is copied on the engine thread and posted to the dispatcher.
// Every holder must be owned by a std::shared_ptr; events reaching one that is
// not are dropped. Items of a closed gate are not delivered.
#ifndef LUMEN_DEVICE_DEVICE_OBSERVERS_H_
#define LUMEN_DEVICE_DEVICE_OBSERVERS_H_

#include <napi.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "callback/addon_callback.h"
#include "callback/async_callback_item.h"
#include "callback/delivery_gate.h"
#include "korin/audio_device.h"
#include "tavel/device_engine.h"
#include "tavel/live_engine.h"

namespace lumen_addon {

// Posts `method` of this holder's object with copied arguments.
class DeviceEventPoster : public AddonCallback, public std::enable_shared_from_this<DeviceEventPoster> {
 public:
  DeviceEventPoster(napi_env env, napi_value callback, int32_t type, std::shared_ptr<DeliveryGate> gate)
      : AddonCallback(env, callback), type_(type), gate_(std::move(gate)) {}
  void Post(const char* method, std::vector<EventArg> args);

 private:
  const int32_t type_;
  const std::shared_ptr<DeliveryGate> gate_;
};

class DataExceptionObserver : public tavel::AudioDeviceDataExceptionObserver, public DeviceEventPoster {
 public:
  using DeviceEventPoster::DeviceEventPoster;
  void OnRecordingDataException(int code) override { Post("onRecordingDataException", Args(Arg(code))); }
  void OnPlayoutDataException(int code) override { Post("onPlayoutDataException", Args(Arg(code))); }
  void OnLoopbackDataException(int code) override { Post("onLoopbackDataException", Args(Arg(code))); }
};

class DeviceErrorObserverImpl : public tavel::DeviceErrorObserver, public DeviceEventPoster {
 public:
  using DeviceEventPoster::DeviceEventPoster;
  void OnDeviceError(int type, int code, int extra) override {
    Post("onDeviceError", Args(Arg(type), Arg(code), Arg(extra)));
  }
};

class DeviceEventObserverImpl : public tavel::DeviceEventCallback, public DeviceEventPoster {
 public:
  using DeviceEventPoster::DeviceEventPoster;
  void OnDeviceError(int type, int code, int extra) override {
    Post("onDeviceError", Args(Arg(type), Arg(code), Arg(extra)));
  }
  void OnDeviceEvent(int type, int code, int extra) override {
    Post("onDeviceEvent", Args(Arg(type), Arg(code), Arg(extra)));
  }
};

// The classic engine of a device module.
class ModuleEngineObserver : public tavel::DeviceEngineObserver, public DeviceEventPoster {
 public:
  using DeviceEventPoster::DeviceEventPoster;
  void OnAudioInputDeviceChanged(int state) override { Post("onAudioInputDeviceChanged", Args(Arg(state))); }
  void OnAudioOutputDeviceChanged(int state) override { Post("onAudioOutputDeviceChanged", Args(Arg(state))); }
  void OnVideoInputDeviceChanged(int state) override { Post("onVideoInputDeviceChanged", Args(Arg(state))); }
  void OnVideoFrameReceived(int user_id, int track_type) override {
    Post("onVideoFrameReceived", Args(Arg(user_id), Arg(track_type)));
  }
  void OnAudioRecordingStart() override { Post("onAudioRecordingStart", Args()); }
  void OnAudioRecordingStop() override { Post("onAudioRecordingStop", Args()); }
};

// The newer audio device of a device module.
class ModuleAudioListener : public korin::AudioDeviceEventListener, public DeviceEventPoster {
 public:
  using DeviceEventPoster::DeviceEventPoster;
  void OnAudioInputDeviceChanged(int state) override { Post("onAudioInputDeviceChanged", Args(Arg(state))); }
  void OnAudioOutputDeviceChanged(int state) override { Post("onAudioOutputDeviceChanged", Args(Arg(state))); }
  void OnDefaultAudioInputDeviceChanged(const char* name, const char* guid) override {
    Post("onDefaultAudioInputDeviceChanged", Args(Arg(name), Arg(guid)));
  }
  void OnDefaultAudioOutputDeviceChanged(const char* name, const char* guid) override {
    Post("onDefaultAudioOutputDeviceChanged", Args(Arg(name), Arg(guid)));
  }
};

// The static-frame detector's results, as the engine's function object.
std::function<void(bool, bool)> StaticFrameDetectorForwarder(napi_env env, napi_value callback);

}  // namespace lumen_addon

#endif  // LUMEN_DEVICE_DEVICE_OBSERVERS_H_
