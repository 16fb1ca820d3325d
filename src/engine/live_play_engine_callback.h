// Engine-side holders of the live play engine's JavaScript callback objects:
// each engine event is copied on the engine thread and posted as a callback
// item that calls the event's method on the JavaScript thread.
//
// Every holder here must be owned by a std::shared_ptr (std::make_shared):
// items keep their holder alive by it, so an event that reaches a holder not
// owned that way is dropped. The holders of one engine share its delivery
// gate: their items are skipped on the JavaScript thread once it is closed.
#ifndef LUMEN_ENGINE_LIVE_PLAY_ENGINE_CALLBACK_H_
#define LUMEN_ENGINE_LIVE_PLAY_ENGINE_CALLBACK_H_

#include <napi.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "callback/addon_callback.h"
#include "callback/async_callback_item.h"
#include "callback/callback_queue.h"
#include "callback/delivery_gate.h"
#include "korin/frame_valid_detector.h"
#include "lumen/live_client.h"
#include "tavel/live_play_engine.h"

namespace lumen_addon {

class LivePlayEngineCallback : public tavel::LivePlayEngineCallback,
                               public lumen::CommandClientCallback,
                               public AddonCallback,
                               public std::enable_shared_from_this<LivePlayEngineCallback> {
 public:
  // `relay`: the instance belongs to the live replay engine, whose engine is
  // the one an automatic leave destroys.
  LivePlayEngineCallback(napi_env env, napi_value callbacks, bool relay);

  // Posted by the live play wrapper once entering the room has completed.
  void PostEnterRoom(bool result);

  bool relay() const { return relay_; }

  // What an automatic leave calls, on a thread of its own, with the gate of
  // the engine to leave (installed by the engine manager).
  using AutoLeaveFn = void (*)(const DeliveryGate* gate, bool relay);
  static void SetAutoLeave(AutoLeaveFn leave);
  // The engine's gate, shared with its other holders; also tells the engine
  // an automatic leave is meant for.
  const std::shared_ptr<DeliveryGate>& gate() const { return gate_; }
  bool auto_leave() const { return auto_leave_; }
  bool media_connected() const { return media_connected_.load(); }
  bool command_connected() const { return command_connected_.load(); }

  // tavel::LivePlayEngineCallback
  void OnMediaConnected() override;
  void OnMediaConnecting() override;
  void OnMediaReconnecting() override;
  void OnMediaDisconnected(bool by_user, int code, int sub_code, int extra) override;
  void OnAudioSharedConnectionStateChanged(int state) override;
  void OnVideoSharedConnectionStateChanged(int state) override;
  void OnServerTimestampOffset(int64_t offset) override;
  void OnRadioChannelConnecting() override;
  void OnRadioChannelConnected() override;
  void OnRadioMessage(const uint8_t* data, int length) override;
  void OnUserData(const uint8_t* data, int length) override;
  void OnNoSpeechTimeoutEvent() override;
  void OnAudioInputNoVoiceWarning() override;
  void OnRecordingDataException(int code) override;
  void OnPlayoutDataException(int code) override;
  void OnLoopbackDataException(int code) override;
  void OnDeviceError(int type, int code, int extra) override;
  void OnDeviceEvent(int type, int code, int extra) override;
  void OnAudioInputDeviceChanged(int state) override;
  void OnAudioOutputDeviceChanged(int state) override;
  void OnVideoInputDeviceChanged(int state) override;
  void OnDefaultAudioInputDeviceChanged(const char* id, const char* name) override;
  void OnDefaultAudioOutputDeviceChanged(const char* id, const char* name) override;
  void OnVideoFrameReceived(int user_id, int track_type) override;
  void OnBeautyReady(bool ready) override;
  void OnBeautyError(int code) override;
  void OnAIStickerReady(bool ready) override;
  void OnAIStickerError(int code) override;

  // lumen::CommandClientCallback
  void OnCommandConnecting() override;
  void OnCommandConnected() override;
  void OnCommandReconnecting(const char* reason) override;
  void OnCommandDisconnected(int code, int sub_code, const char* reason, int extra) override;

 private:
  std::shared_ptr<AddonCallback> Self();
  void Post(const char* method, int32_t type, std::vector<EventArg> args = {});

  const bool relay_;
  const bool auto_leave_;
  const std::shared_ptr<DeliveryGate> gate_ = std::make_shared<DeliveryGate>();
  std::atomic<bool> media_connected_{false};
  std::atomic<bool> command_connected_{false};
};

// The 16-byte identity a voice-activity item of the stream carries.
IdentityKey ToIdentityKey(const tavel::BizInfo& info);

// Voice activity of one stream (or of the local user, item type 112). Its
// items carry the holder's type and identity, so that unregistering can purge them.
class VadCallbackImpl : public tavel::VadCallback,
                        public AddonCallback,
                        public std::enable_shared_from_this<VadCallbackImpl> {
 public:
  VadCallbackImpl(napi_env env, napi_value callback, int32_t item_type, const IdentityKey& identity,
                  std::shared_ptr<DeliveryGate> gate = nullptr)
      : AddonCallback(env, callback), item_type_(item_type), identity_(identity), gate_(std::move(gate)) {}

  void OnAudioVadStatusChange(int status) override;

  int32_t item_type() const { return item_type_; }
  const IdentityKey& identity() const { return identity_; }

 private:
  const int32_t item_type_;
  const IdentityKey identity_;
  const std::shared_ptr<DeliveryGate> gate_;
};

// The holder of one JavaScript object given to a live class feature (hand
// actions, collected data, screen share, the static frame detector, the
// camera video recording); its events honour the engine's gate.
class FeatureCallback : public AddonCallback, public std::enable_shared_from_this<FeatureCallback> {
 public:
  FeatureCallback(napi_env env, napi_value object, std::shared_ptr<DeliveryGate> gate)
      : AddonCallback(env, object), gate_(std::move(gate)) {}

 protected:
  void Post(const char* method, int32_t type, std::vector<EventArg> args = {});

 private:
  const std::shared_ptr<DeliveryGate> gate_;
};

class HandActionCallbackImpl : public tavel::HandActionCallback, public FeatureCallback {
 public:
  using FeatureCallback::FeatureCallback;
  void OnHandAction(int action, double score) override;
};

class CollectLiveDataCallbackImpl : public tavel::CollectLiveDataCallback, public FeatureCallback {
 public:
  using FeatureCallback::FeatureCallback;
  void OnCollectLiveData(const uint8_t* data, int length) override;
  void OnCollectError(int error) override;
};

class ScreenShareCallbackImpl : public tavel::ScreenShareCallback, public FeatureCallback {
 public:
  using FeatureCallback::FeatureCallback;
  void OnScreenShareStateChanged(int state, int code) override;
};

class StaticFrameDetectorCallbackImpl : public korin::FrameValidDetectorCallback, public FeatureCallback {
 public:
  using FeatureCallback::FeatureCallback;
  void OnDetectStatusCallback(bool is_static, bool changed) override;
};

class CameraVideoRecordCallbackImpl : public tavel::CameraVideoRecordCallback, public FeatureCallback {
 public:
  using FeatureCallback::FeatureCallback;
  void OnRecordComplete(int code, const char* path) override;
};

}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_LIVE_PLAY_ENGINE_CALLBACK_H_
