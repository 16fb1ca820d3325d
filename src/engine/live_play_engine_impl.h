// The live classroom engine: one room, its command client, and the callback
// holders that the live play exports register.
//
// Locking: the recursive mutex serialises the calls into the engine that are
// quick (every live play export) with the state they change and with
// Shutdown, which therefore waits for them only. The calls that can take
// network time (Connect, Disconnect; the root's deletion) run without it on
// a share of the root taken under it: a leave while a connect is in flight
// does not wait, the connect finds the room gone when it returns, and the
// root is deleted by whichever of them lets go of it last. Retire comes
// first: calls refused, the delivery gate closed, so nothing the engine
// reports afterwards reaches JavaScript.
#ifndef LUMEN_ENGINE_LIVE_PLAY_ENGINE_IMPL_H_
#define LUMEN_ENGINE_LIVE_PLAY_ENGINE_IMPL_H_

#include <napi.h>

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "common/logging.h"
#include "engine/device_settings.h"
#include "engine/engine_impl_base.h"
#include "tavel/live_play_engine.h"

namespace lumen_addon {

class LivePlayEngineCallback;
class MicrophoneRecordingCallbackImpl;
class VadCallbackImpl;
class VideoFrameCallback;
class LiveReplayEngineImpl;
class DeliveryGate;
class FeatureCallback;
class HandActionCallbackImpl;
class CollectLiveDataCallbackImpl;
class ScreenShareCallbackImpl;
class StaticFrameDetectorCallbackImpl;
class CameraVideoRecordCallbackImpl;

class LivePlayEngineImpl : public EngineImplBase, public std::enable_shared_from_this<LivePlayEngineImpl> {
 public:
  static constexpr char kTag[] = "LivePlayEngineImpl";

  LivePlayEngineImpl(lumen::LiveClient* client, const std::string& sdk_version, napi_env env, napi_value callbacks,
                     bool relay);
  ~LivePlayEngineImpl() override;

  void set_owner(std::weak_ptr<LiveReplayEngineImpl> owner);

  // Runs `op` on live_ (or logs `failure` at warning level and answers -1
  // without it). Serialised with Shutdown, which may run on another thread;
  // `op` must not take network time.
  template <typename Op>
  int Call(const char* failure, Op&& op) {
    std::lock_guard<std::recursive_mutex> lock(mu_);
    if (!live_) {
      LUMEN_LOG(kWarning, kTag) << failure;
      return -1;
    }
    return op(live_);
  }

  // Connect steps on the calling thread; the engine connect itself below.
  int Connect(napi_env env, napi_value ticket);
  int ConnectAndConfigDevice(napi_env env, napi_value config, const std::string& audio_param_path,
                             CachedDeviceSettings settings);
  // Releases the room and the command client; answers the engine's result.
  int Disconnect();
  // Ends the calls and gives up the root, which goes (with everything the
  // engine may still call) once no connect in flight holds it; idempotent.
  void Shutdown() override;
  // Taken out of the manager: calls answer -1 from now on and nothing the
  // engine reports reaches JavaScript; Disconnect and Shutdown still reach
  // the engine. Together with the manager's release of the renderers, so
  // that no renderer handed over afterwards escapes that release.
  void Retire();
  // The whole destruction: Retire, Disconnect, Shutdown; answers the
  // disconnect result.
  int Leave();

  void NotifyNetworkType(int32_t network_type, int64_t* room_id, std::string* scheduler_host);

  // Video.
  int VideoStartReceive(const tavel::VideoTrackInfo& info, napi_env env, napi_value callback);
  int VideoStopReceive(const tavel::VideoTrackInfo& info);
  enum class Capture { kNormal, kAISticker, kHD, kGroup };
  int VideoStartCapture(Capture kind, const tavel::VideoTrackInfo& info, napi_env env, napi_value callback,
                        const std::vector<int64_t>& users = {});
  int VideoStopCapture(bool hd, const tavel::VideoTrackInfo& info);
  int StartCameraAndPublish(const tavel::BizInfo& info, napi_env env, napi_value callback);
  int StopCameraAndUnpublish(const tavel::BizInfo& info);
  int SubscribeVideo(const tavel::BizInfo& info, napi_env env, napi_value callback);
  int UnsubscribeVideo(const tavel::BizInfo& info);
  int RegisterCameraDataCallback(napi_env env, napi_value callback, int32_t option);
  int UnregisterCameraDataCallback();

  // Microphone recording: one recording at a time.
  enum class Recording { kRecording, kRepeat, kMicAndPublish };
  int StartRecording(Recording kind, napi_env env, napi_value callback, const tavel::AudioTrackInfo& audio,
                     const tavel::BizInfo& biz, const std::vector<int64_t>& users, bool send);
  int AudioStopRecording(const tavel::AudioTrackInfo& info);
  // Stops that hand back the recording statistics; `result` is filled on 0.
  int AudioStopRecordAndSend(tavel::RecordingMicrophoneInfo* result);
  int AudioStopRepeatRecording(const tavel::AudioTrackInfo& info, tavel::RecordingMicrophoneInfo* result);
  int StopMicAndUnpublish(const tavel::BizInfo& info, tavel::RecordingMicrophoneInfo* result);

  // Voice activity.
  int RegisterLocalVadCallback(napi_env env, napi_value callback);
  int UnregisterLocalVadCallback();
  int RegisterRemoteVadCallback(int32_t ssrc, napi_env env, napi_value callback);
  int RegisterRemoteVadCallback(const tavel::BizInfo& info, napi_env env, napi_value callback);
  int UnregisterRemoteVadCallback(int32_t ssrc);
  int UnregisterRemoteVadCallback(const tavel::BizInfo& info);

  // Command channel: -1 (logging `failure`) without a command client.
  template <typename Op>
  int CallCommand(const char* failure, Op&& op) {
    std::lock_guard<std::recursive_mutex> lock(mu_);
    if (!live_ || !command_) {
      LUMEN_LOG(kWarning, kTag) << failure;
      return -1;
    }
    return op(command_);
  }

  // Supervision views are renderers of their own (not registered).
  int StartSupervising(const tavel::VideoTrackInfo& info, napi_env env, napi_value view);
  int StopSupervising(const tavel::VideoTrackInfo& info);
  int StartHandActionCheck(const tavel::HandActionCheckConfig& config, napi_env env, napi_value callback);
  int StopHandActionCheck();
  // One collection at a time; stopping drops its undelivered data.
  int StartCollectLiveData(int32_t first, int32_t second, napi_env env, napi_value callback);
  int StopCollectLiveData();
  // `callback` may be null; otherwise it is set into the config here.
  int StartScreenShare(const tavel::VideoTrackInfo& info, tavel::ScreenShareConfig config,
                       std::shared_ptr<ScreenShareCallbackImpl> callback);
  int StopScreenShare();
  int EnableStaticFrameDetector(const korin::FrameValidDetectorConfig& config,
                                std::shared_ptr<StaticFrameDetectorCallbackImpl> callback);
  int StartCameraVideoRecord(const tavel::CameraVideoRecordConfig& config,
                             std::shared_ptr<CameraVideoRecordCallbackImpl> callback);
  // Holders for the features' JavaScript objects, sharing this engine's gate.
  template <typename H>
  std::shared_ptr<H> MakeHolder(napi_env env, napi_value object);

  const std::shared_ptr<LivePlayEngineCallback>& callback() const { return callback_; }
  bool connected();
  std::shared_ptr<DeliveryGate> callback_gate() const;

 private:
  bool Connectable();  // has an engine and no room yet; logs when not
  int Prepare(napi_env env, napi_value ticket);  // room config and command client
  int ConnectEngine();  // engine connect, hand-over of the command client, replay open
  int StartCaptureLocked(Capture kind, const tavel::VideoTrackInfo& info, tavel::VideoSinkInterface* sink,
                         const std::vector<int64_t>& users);
  void ReleaseRecordingCallback();
  void KeepSinkLocked(const std::shared_ptr<VideoFrameCallback>& renderer);

  std::recursive_mutex mu_;
  lumen::LiveClient* live_client_;
  const std::string sdk_version_;
  tavel::LivePlayEngine* const engine_;  // the root's, valid while root_ is held
  tavel::LivePlayEngine* live_ = nullptr;  // engine_ until retired: what calls use
  const std::shared_ptr<LivePlayEngineCallback> callback_;
  // Moves on whenever the room is released: a connect that returns to
  // another epoch hands nothing over.
  uint64_t room_epoch_ = 0;
  std::shared_ptr<MicrophoneRecordingCallbackImpl> microphone_recording_callback_;
  lumen::CommandClient* command_ = nullptr;
  std::unique_ptr<tavel::LiveRoomConfig> room_config_;
  std::map<int32_t, std::shared_ptr<VadCallbackImpl>> remote_vad_by_ssrc_;
  std::map<tavel::BizInfo, std::shared_ptr<VadCallbackImpl>> remote_vad_by_biz_;
  std::shared_ptr<VadCallbackImpl> local_vad_callback_;
  std::weak_ptr<LiveReplayEngineImpl> owner_;
  std::shared_ptr<VideoFrameCallback> camera_data_callback_;
  int32_t camera_data_option_ = 0;
  // Every renderer handed to the engine as a sink, until the root is
  // deleted. A stop does not prove that the engine let go of a renderer:
  // streams whose renderer ids collide (user 0 track 20, user 1 track 0)
  // share one, which the engine may still hold for the other stream.
  std::vector<std::shared_ptr<VideoFrameCallback>> sinks_;
  std::shared_ptr<CollectLiveDataCallbackImpl> collect_livedata_callback_;
  std::shared_ptr<HandActionCallbackImpl> hand_action_callback_;
  std::shared_ptr<ScreenShareCallbackImpl> screen_share_callback_;
  std::shared_ptr<StaticFrameDetectorCallbackImpl> detector_callback_;
  std::shared_ptr<CameraVideoRecordCallbackImpl> record_callback_;
  std::map<std::pair<int32_t, int32_t>, std::shared_ptr<VideoFrameCallback>> supervising_;  // by user, track type
};

template <typename H>
std::shared_ptr<H> LivePlayEngineImpl::MakeHolder(napi_env env, napi_value object) {
  return std::make_shared<H>(env, object, callback_gate());
}

}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_LIVE_PLAY_ENGINE_IMPL_H_
