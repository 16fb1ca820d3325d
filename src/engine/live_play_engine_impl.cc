#include "engine/live_play_engine_impl.h"

#include <utility>

#include "callback/callback_dispatcher.h"
#include "callback/video_frame_callback.h"
#include "common/stream_identity.h"
#include "engine/background_work.h"
#include "engine/live_replay_engine_impl.h"
#include "beauty/beauty_sync.h"
#include "device/microphone_recording_callback.h"
#include "engine/live_play_engine_callback.h"
#include "engine/room_config.h"
#include "tavel/source_flag.h"

namespace lumen_addon {

namespace {
constexpr int32_t kLocalUser = 256;
}  // namespace

LivePlayEngineImpl::LivePlayEngineImpl(lumen::LiveClient* client, const std::string& sdk_version, napi_env env,
                                       napi_value callbacks, bool relay)
    : live_client_(client),
      sdk_version_(sdk_version),
      engine_(tavel::LivePlayEngine::GetInterface(root_->get())),
      live_(engine_),
      callback_(std::make_shared<LivePlayEngineCallback>(env, callbacks, relay)) {
  if (engine_) engine_->RegisterCallback(callback_.get(), nullptr);
  root_->AtDeletion([keep = callback_] {});
}

LivePlayEngineImpl::~LivePlayEngineImpl() { Shutdown(); }

bool LivePlayEngineImpl::connected() {
  std::lock_guard<std::recursive_mutex> lock(mu_);
  return room_config_ != nullptr;
}

int LivePlayEngineImpl::Connect(napi_env env, napi_value ticket) {
  if (Prepare(env, ticket) != 0) return -1;
  return ConnectEngine();
}

bool LivePlayEngineImpl::Connectable() {
  std::lock_guard<std::recursive_mutex> lock(mu_);
  if (live_ && !room_config_) return true;
  LUMEN_LOG(kError, kTag) << "live engine already exist";
  return false;
}

// The ticket's getters run before the lock is taken and may leave the room,
// connect or replace the live client meanwhile: the state is checked again
// afterwards, and nothing read before them is used after them.
int LivePlayEngineImpl::Prepare(napi_env env, napi_value ticket) {
  if (!Connectable()) return -1;
  auto room = std::make_unique<tavel::LiveRoomConfig>(ToRoomConfig(Napi::Value(env, ticket), sdk_version_));
  const lumen::CommandClientConfig command = ToCommandClientConfig(Napi::Value(env, ticket));
  std::lock_guard<std::recursive_mutex> lock(mu_);
  if (!Connectable()) return -1;
  room_config_ = std::move(room);
  live_->SetRoomId(room_config_->room_id);
  command_ = live_client_ ? live_client_->CreateCommandClient(command) : nullptr;
  if (command_) command_->RegisterCallback(callback_.get());
  return 0;
}

int LivePlayEngineImpl::ConnectAndConfigDevice(napi_env env, napi_value config, const std::string& audio_param_path,
                                               CachedDeviceSettings settings) {
  if (Prepare(env, config) != 0) return -1;
  // The thread keeps this engine alive; a leave meanwhile does not wait for
  // it, and turns what follows the connect into nothing.
  BackgroundWork::Start([self = shared_from_this(), audio_param_path, settings = std::move(settings)] {
    const int result = self->ConnectEngine();
    if (result == 0) {
      SyncBeautyState();
      // This engine's own devices, whichever engine is current by now.
      if (const std::shared_ptr<DeviceEngineImpl>& device = self->device_engine()) {
        device->SetAudioParameterPath(audio_param_path);
        device->ApplyCachedSettings(settings);
      }
    }
    self->callback_->PostEnterRoom(result == 0);
  });
  return 0;
}

int LivePlayEngineImpl::ConnectEngine() {
  tavel::LivePlayEngine* live;
  std::shared_ptr<EngineRoot> root;
  tavel::LiveRoomConfig room;
  uint64_t epoch;
  {
    std::lock_guard<std::recursive_mutex> lock(mu_);
    if (!live_ || !room_config_) return -1;
    live = live_;
    root = root_;
    room = *room_config_;
    epoch = room_epoch_;
  }
  // Network time: no lock is held. `root` keeps `live` valid; should the
  // room be left meanwhile, the root is deleted here once this returned.
  const int result = live->Connect(room, live_client_);
  LUMEN_LOG(kInfo, kTag) << "live engine connect finished";
  std::shared_ptr<LiveReplayEngineImpl> owner;
  {
    std::lock_guard<std::recursive_mutex> lock(mu_);
    // Left meanwhile: the command client was stopped and destroyed.
    if (!live_ || epoch != room_epoch_) return -1;
    live_->SetCommandClient(command_);
    if (result == 0) owner = owner_.lock();
  }
  if (owner) owner->OpenMedia();
  return result;
}

void LivePlayEngineImpl::set_owner(std::weak_ptr<LiveReplayEngineImpl> owner) {
  std::lock_guard<std::recursive_mutex> lock(mu_);
  owner_ = std::move(owner);
}

namespace {
void StopCommandClient(lumen::LiveClient* client, lumen::CommandClient* command) {
  if (!command) return;
  command->Stop();
  if (client) client->DestroyCommandClient(command);
}
}  // namespace

int LivePlayEngineImpl::Disconnect() {
  tavel::LivePlayEngine* live;
  std::shared_ptr<EngineRoot> root;
  lumen::CommandClient* command;
  {
    std::lock_guard<std::recursive_mutex> lock(mu_);
    room_config_.reset();
    ++room_epoch_;
    root = root_;
    live = root ? engine_ : nullptr;
    command = command_;
    command_ = nullptr;
  }
  // Network time, without the lock, on a share of the root.
  const int result = live ? live->Disconnect() : -1;
  StopCommandClient(live_client_, command);
  LUMEN_LOG(kInfo, kTag) << "live engine disconnect finished";
  return result;
}

void LivePlayEngineImpl::Retire() {
  callback_->gate()->Close();
  std::lock_guard<std::recursive_mutex> lock(mu_);
  live_ = nullptr;
}

int LivePlayEngineImpl::Leave() {
  Retire();
  const int result = Disconnect();
  Shutdown();
  return result;
}

void LivePlayEngineImpl::Shutdown() {
  Retire();
  std::shared_ptr<EngineRoot> root;
  lumen::CommandClient* command;
  {
    std::lock_guard<std::recursive_mutex> lock(mu_);
    root = CloseCalls();
    if (!root) return;
    live_ = nullptr;
    room_config_.reset();
    ++room_epoch_;
    command = command_;
    command_ = nullptr;
    // The engine calls these until its root is deleted, not after: they go
    // with it.
    root->AtDeletion([sinks = std::move(sinks_), microphone = std::move(microphone_recording_callback_),
                      local = std::move(local_vad_callback_), by_ssrc = std::move(remote_vad_by_ssrc_),
                      by_biz = std::move(remote_vad_by_biz_), collect = std::move(collect_livedata_callback_),
                      hand = std::move(hand_action_callback_), share = std::move(screen_share_callback_),
                      detector = std::move(detector_callback_), record = std::move(record_callback_)] {});
    for (auto& view : supervising_) VideoFrameCallback::Release(std::move(view.second));
    supervising_.clear();
    // Ignores frames from now on; the root keeps it (among the sinks) until
    // the engine lets go of it.
    if (camera_data_callback_) VideoFrameCallback::Release(std::move(camera_data_callback_));
    sinks_.clear();
    remote_vad_by_ssrc_.clear();
    remote_vad_by_biz_.clear();
    microphone_recording_callback_.reset();
    local_vad_callback_.reset();
    camera_data_callback_.reset();
  }
  StopCommandClient(live_client_, command);
  root.reset();  // the root goes here unless a connect in flight still holds it
}

void LivePlayEngineImpl::NotifyNetworkType(int32_t network_type, int64_t* room_id, std::string* scheduler_host) {
  std::lock_guard<std::recursive_mutex> lock(mu_);
  if (live_) {
    if (command_) command_->SetNetworkType(network_type);
    live_->SetNetworkType(network_type);
  } else {
    LUMEN_LOG(kWarning, kTag) << "NetworkTypeChanged failed: live_ is null";
  }
  if (room_config_) {
    *room_id = room_config_->room_id;
    *scheduler_host = room_config_->scheduler_host;
  }
}

// ---- video ---------------------------------------------------------------------

void LivePlayEngineImpl::KeepSinkLocked(const std::shared_ptr<VideoFrameCallback>& renderer) {
  for (const auto& kept : sinks_)
    if (kept == renderer) return;
  sinks_.push_back(renderer);
}

int LivePlayEngineImpl::VideoStartReceive(const tavel::VideoTrackInfo& info, napi_env env, napi_value callback) {
  auto renderer = VideoFrameCallback::CreateRenderer(info.user_id, info.type, env, callback);
  return Call("VideoStartReceive failed: live_ is null", [&](tavel::LivePlayEngine* live) {
    KeepSinkLocked(renderer);
    const int result = live->VideoStartReceive(info, renderer.get());
    renderer->SetEnabled(true);
    return result;
  });
}

int LivePlayEngineImpl::VideoStopReceive(const tavel::VideoTrackInfo& info) {
  return Call("VideoStopReceive failed: live_ is null", [&](tavel::LivePlayEngine* live) {
    const int result = live->VideoStopReceive(info);
    VideoFrameCallback::RemoveRenderer(VideoFrameCallback::RendererId(info.user_id, info.type), true);
    return result;
  });
}

namespace {

struct CaptureTexts {
  const char* send_failed;
  const char* capture_failed;
};

CaptureTexts TextsOf(LivePlayEngineImpl::Capture kind) {
  switch (kind) {
    case LivePlayEngineImpl::Capture::kAISticker:
      return {"VideoStartCaptureWithAISticker failed: VideoStartSend failed",
              "VideoStartCaptureWithAISticker failed: live_ is null or VideoStartCaptureWithAISticker failed"};
    case LivePlayEngineImpl::Capture::kHD:
      return {"VideoStartCaptureHD failed: VideoStartSend failed",
              "VideoStartCaptureHD failed: live_ is null or VideoStartCapture failed"};
    case LivePlayEngineImpl::Capture::kGroup:
      return {"VideoStartCaptureAndSendToGroup failed: VideoStartSendToGroup failed",
              "VideoStartCaptureAndSendToGroup failed: live_ is null"};
    default:
      return {"VideoStartCapture failed: VideoStartSend failed",
              "VideoStartCapture failed: live_ is null or VideoStartCapture failed"};
  }
}

}  // namespace

int LivePlayEngineImpl::VideoStartCapture(Capture kind, const tavel::VideoTrackInfo& info, napi_env env,
                                          napi_value callback, const std::vector<int64_t>& users) {
  auto renderer = VideoFrameCallback::CreateRenderer(kLocalUser, info.type, env, callback);
  std::lock_guard<std::recursive_mutex> lock(mu_);
  if (live_) KeepSinkLocked(renderer);
  return StartCaptureLocked(kind, info, renderer.get(), users);
}

int LivePlayEngineImpl::StartCaptureLocked(Capture kind, const tavel::VideoTrackInfo& info,
                                           tavel::VideoSinkInterface* sink, const std::vector<int64_t>& users) {
  const CaptureTexts texts = TextsOf(kind);
  tavel::LiveDeviceEngine* device = device_engine_->device();
  int started = -1;
  if (live_) {
    switch (kind) {
      case Capture::kAISticker: started = live_->VideoStartCaptureWithAISticker(info.type, sink, device); break;
      case Capture::kHD: started = live_->VideoStartCaptureHD(info.type, sink, device); break;
      default: started = live_->VideoStartCapture(info.type, sink, device); break;
    }
  }
  if (!live_ || started != 0) {
    LUMEN_LOG(kWarning, kTag) << texts.capture_failed;
    return -1;
  }
  static_cast<VideoFrameCallback*>(sink)->SetEnabled(true);
  const int sent = kind == Capture::kGroup ? live_->VideoStartSendToGroup(info, users) : live_->VideoStartSend(info);
  if (sent < 0) {
    live_->VideoStopCapture(info.type);
    LUMEN_LOG(kWarning, kTag) << texts.send_failed;
    return -1;
  }
  return 0;
}

int LivePlayEngineImpl::VideoStopCapture(bool hd, const tavel::VideoTrackInfo& info) {
  const char* send_failed = hd ? "VideoStopCaptureHD failed: VideoStopSend failed" : "VideoStopCapture failed: VideoStopSend failed";
  const char* capture_failed = hd ? "VideoStopCaptureHD failed: live_ is null or VideoStopCapture failed"
                                  : "VideoStopCapture failed: live_ is null or VideoStopCapture failed";
  std::lock_guard<std::recursive_mutex> lock(mu_);
  if (!live_) {
    LUMEN_LOG(kWarning, kTag) << capture_failed;
    return -1;
  }
  if (live_->VideoStopSend(info) < 0) LUMEN_LOG(kWarning, kTag) << send_failed;
  const int stopped = live_->VideoStopCapture(info.type);
  const int32_t renderer_id = VideoFrameCallback::RendererId(kLocalUser, info.type);
  VideoFrameCallback::SetLocalRendererId(renderer_id);
  VideoFrameCallback::RemoveRenderer(renderer_id, true);
  if (stopped != 0) {
    LUMEN_LOG(kWarning, kTag) << capture_failed;
    return -1;
  }
  return 0;
}

int LivePlayEngineImpl::StartCameraAndPublish(const tavel::BizInfo& info, napi_env env, napi_value callback) {
  auto renderer = VideoFrameCallback::CreateRendererWithBizType(info.user_id, info.biz_type, env, callback);
  return Call("StartCameraAndPublish failed: live_ is null", [&](tavel::LivePlayEngine* live) {
    KeepSinkLocked(renderer);
    const int result = live->StartCameraAndPublish(info, renderer.get(), device_engine_->device());
    renderer->SetEnabled(true);
    return result;
  });
}

int LivePlayEngineImpl::StopCameraAndUnpublish(const tavel::BizInfo& info) {
  return Call("StopCameraAndUnpublish failed: live_ is null", [&](tavel::LivePlayEngine* live) {
    const int result = live->StopCameraAndUnpublish(info);
    VideoFrameCallback::RemoveRenderer(VideoFrameCallback::RendererId(info.user_id, info.biz_type), true);
    return result;
  });
}

int LivePlayEngineImpl::SubscribeVideo(const tavel::BizInfo& info, napi_env env, napi_value callback) {
  auto renderer = VideoFrameCallback::CreateRendererWithBizType(info.user_id, info.biz_type, env, callback);
  return Call("SubscribeVideo failed: live_ is null", [&](tavel::LivePlayEngine* live) {
    KeepSinkLocked(renderer);
    const int result = live->SubscribeVideo(info, renderer.get());
    renderer->SetEnabled(true);
    return result;
  });
}

int LivePlayEngineImpl::UnsubscribeVideo(const tavel::BizInfo& info) {
  return Call("UnsubscribeVideo failed: live_ is null", [&](tavel::LivePlayEngine* live) {
    const int result = live->UnsubscribeVideo(info);
    VideoFrameCallback::RemoveRenderer(VideoFrameCallback::RendererId(info.user_id, info.biz_type), true);
    return result;
  });
}

int LivePlayEngineImpl::RegisterCameraDataCallback(napi_env env, napi_value callback, int32_t option) {
  std::lock_guard<std::recursive_mutex> lock(mu_);
  if (!live_ || camera_data_callback_) {
    LUMEN_LOG(kWarning, kTag) << "RegisterCameraDataCallback failed: live_ is null or camera_data_callback_ already exists";
    return -1;
  }
  camera_data_callback_ = VideoFrameCallback::CreateDirectRenderer(env, callback);
  KeepSinkLocked(camera_data_callback_);
  camera_data_option_ = option;
  live_->RegisterCameraDataCallback(camera_data_callback_.get(), option);
  return 0;
}

int LivePlayEngineImpl::UnregisterCameraDataCallback() {
  std::lock_guard<std::recursive_mutex> lock(mu_);
  if (!live_ || !camera_data_callback_) {
    LUMEN_LOG(kWarning, kTag) << "UnregisterCameraDataCallback failed: live_ is null or camera_data_callback_ is null";
    return -1;
  }
  const int result = live_->UnregisterCameraDataCallback();
  VideoFrameCallback::Release(std::move(camera_data_callback_));
  return result;
}

// ---- microphone recording -----------------------------------------------------

int LivePlayEngineImpl::StartRecording(Recording kind, napi_env env, napi_value callback,
                                       const tavel::AudioTrackInfo& audio, const tavel::BizInfo& biz,
                                       const std::vector<int64_t>& users, bool send) {
  static constexpr const char* kBusy[] = {
      "AudioStartRecording failed: live_ is null or microphone_recording_callback_ already exists",
      "AudioStartRepeatRecording failed: live_ is null or microphone_recording_callback_ is not null",
      "StartMicAndPublish failed: live_ is null or microphone_recording_callback_ is not null",
  };
  std::lock_guard<std::recursive_mutex> lock(mu_);
  if (!live_ || microphone_recording_callback_) {
    LUMEN_LOG(kWarning, kTag) << kBusy[static_cast<int>(kind)];
    return -1;
  }
  microphone_recording_callback_ = std::make_shared<MicrophoneRecordingCallbackImpl>(env, callback, callback_->gate());
  auto* cb = microphone_recording_callback_.get();
  int result = -1;
  switch (kind) {
    case Recording::kRecording: result = live_->AudioStartRecording(audio, cb, users); break;
    case Recording::kRepeat: result = live_->AudioStartRepeatRecording(audio, cb); break;
    case Recording::kMicAndPublish: result = live_->StartMicAndPublish(biz, send, cb); break;
  }
  return result;
}

void LivePlayEngineImpl::ReleaseRecordingCallback() { microphone_recording_callback_.reset(); }

int LivePlayEngineImpl::AudioStopRecording(const tavel::AudioTrackInfo& info) {
  std::lock_guard<std::recursive_mutex> lock(mu_);
  if (!live_ || !microphone_recording_callback_) {
    LUMEN_LOG(kWarning, kTag) << "AudioStopRecording failed: live_ is null or microphone_recording_callback_ does not exist";
    return -1;
  }
  const int result = live_->AudioStopRecording(info);
  ReleaseRecordingCallback();
  CallbackDispatcher::PurgeType(kItemMicrophoneData);
  return result;
}

int LivePlayEngineImpl::AudioStopRecordAndSend(tavel::RecordingMicrophoneInfo* result) {
  return Call("AudioStopRecordAndSend failed: live_ is null", [&](tavel::LivePlayEngine* live) {
    const int code = live->AudioStopRecordAndSend(result);
    if (code != 0) LUMEN_LOG(kWarning, kTag) << "AudioStopRecordAndSend failed: live_->AudioStopRecordAndSend returned " << code;
    return code;
  });
}

int LivePlayEngineImpl::AudioStopRepeatRecording(const tavel::AudioTrackInfo& info,
                                                 tavel::RecordingMicrophoneInfo* result) {
  std::lock_guard<std::recursive_mutex> lock(mu_);
  if (!live_ || !microphone_recording_callback_) {
    LUMEN_LOG(kWarning, kTag) << "AudioStopRepeatRecording failed: live_ is null or microphone_recording_callback_ is null";
    return -1;
  }
  const int code = live_->AudioStopRepeatRecording(info, result);
  if (code != 0) LUMEN_LOG(kWarning, kTag) << "AudioStopRepeatRecording failed: live_->AudioStopRepeatRecording returned " << code;
  ReleaseRecordingCallback();
  return code;
}

int LivePlayEngineImpl::StopMicAndUnpublish(const tavel::BizInfo& info, tavel::RecordingMicrophoneInfo* result) {
  std::lock_guard<std::recursive_mutex> lock(mu_);
  if (!live_ || !microphone_recording_callback_) {
    LUMEN_LOG(kWarning, kTag) << "StopMicAndUnpublish failed: live_ is null or microphone_recording_callback_ is null";
    return -1;
  }
  const int code = live_->StopMicAndUnpublish(info, result);
  if (code != 0) LUMEN_LOG(kWarning, kTag) << "StopMicAndUnpublish failed: live_->StopMicAndUnpublish returned " << code;
  ReleaseRecordingCallback();
  return code;
}

// ---- voice activity -------------------------------------------------------------

int LivePlayEngineImpl::RegisterLocalVadCallback(napi_env env, napi_value callback) {
  std::lock_guard<std::recursive_mutex> lock(mu_);
  if (!live_) {
    LUMEN_LOG(kWarning, kTag) << "RegisterLocalVadCallback failed: live_ is null";
    return -1;
  }
  auto vad = std::make_shared<VadCallbackImpl>(env, callback, kItemLocalVad, IdentityKey{}, callback_->gate());
  const int result = live_->RegisterLocalVadCallback(vad.get());
  local_vad_callback_ = std::move(vad);  // the old one only after the engine let go of it
  return result;
}

int LivePlayEngineImpl::UnregisterLocalVadCallback() {
  return Call("UnregisterLocalVadCallback failed: live_ is null", [&](tavel::LivePlayEngine* live) {
    const int result = live->UnregisterLocalVadCallback();
    local_vad_callback_.reset();
    CallbackDispatcher::PurgeType(kItemLocalVad);
    return result;
  });
}

int LivePlayEngineImpl::RegisterRemoteVadCallback(int32_t ssrc, napi_env env, napi_value callback) {
  auto vad = std::make_shared<VadCallbackImpl>(env, callback, kItemDefault, IdentityKey{}, callback_->gate());
  return Call("RegisterRemoteVadCallback failed: live_ is null", [&](tavel::LivePlayEngine* live) {
    const int result = live->RegisterRemoteVadCallback(ssrc, vad.get());
    remote_vad_by_ssrc_[ssrc] = vad;
    return result;
  });
}

int LivePlayEngineImpl::RegisterRemoteVadCallback(const tavel::BizInfo& info, napi_env env, napi_value callback) {
  auto vad = std::make_shared<VadCallbackImpl>(env, callback, kItemDefault, ToIdentityKey(info), callback_->gate());
  return Call("RegisterRemoteVadCallback failed: live_ is null", [&](tavel::LivePlayEngine* live) {
    const int result = live->RegisterRemoteVadCallback(info, vad.get());
    remote_vad_by_biz_[info] = vad;
    return result;
  });
}

int LivePlayEngineImpl::UnregisterRemoteVadCallback(int32_t ssrc) {
  return Call("UnregisterRemoteVadCallback failed: live_ is null", [&](tavel::LivePlayEngine* live) {
    const int result = live->UnregisterRemoteVadCallback(ssrc);
    if (result != 0)
      LUMEN_LOG(kWarning, kTag) << "UnregisterRemoteVadCallback failed: live_->UnregisterRemoteVadCallback returned " << result;
    remote_vad_by_ssrc_.erase(ssrc);
    return result;
  });
}

int LivePlayEngineImpl::UnregisterRemoteVadCallback(const tavel::BizInfo& info) {
  return Call("UnregisterRemoteVadCallback failed: live_ is null", [&](tavel::LivePlayEngine* live) {
    const int result = live->UnregisterRemoteVadCallback(info);
    if (result != 0)
      LUMEN_LOG(kWarning, kTag) << "UnregisterRemoteVadCallback failed: live_->UnregisterRemoteVadCallback returned " << result;
    remote_vad_by_biz_.erase(info);
    return result;
  });
}

// ---- communication, supervision, detection, screen share ---------------------------
//
// A feature's holder is replaced or released only once the engine call that
// replaced or removed it has returned; until then the engine may still call it.

std::shared_ptr<DeliveryGate> LivePlayEngineImpl::callback_gate() const { return callback_->gate(); }

int LivePlayEngineImpl::StartSupervising(const tavel::VideoTrackInfo& info, napi_env env, napi_value view) {
  auto renderer = VideoFrameCallback::CreateDirectRenderer(env, view);
  return Call("StartSupervising failed: live_ is null", [&](tavel::LivePlayEngine* live) {
    KeepSinkLocked(renderer);
    const int result = live->StartSupervising(info, renderer.get());
    renderer->SetEnabled(true);
    auto& slot = supervising_[{info.user_id, info.type}];
    if (slot && slot != renderer) VideoFrameCallback::Release(std::move(slot));
    slot = renderer;
    return result;
  });
}

int LivePlayEngineImpl::StopSupervising(const tavel::VideoTrackInfo& info) {
  return Call("StopSupervising failed: live_ is null", [&](tavel::LivePlayEngine* live) {
    const int result = live->StopSupervising(info);
    auto it = supervising_.find({info.user_id, info.type});
    if (it != supervising_.end()) {
      VideoFrameCallback::Release(std::move(it->second));
      supervising_.erase(it);
    }
    return result;
  });
}

int LivePlayEngineImpl::StartHandActionCheck(const tavel::HandActionCheckConfig& config, napi_env env,
                                             napi_value callback) {
  auto holder = MakeHolder<HandActionCallbackImpl>(env, callback);
  return Call("StartHandActionCheck failed: live_ is null", [&](tavel::LivePlayEngine* live) {
    const int result = live->StartHandActionCheck(config, holder.get());
    hand_action_callback_ = std::move(holder);
    return result;
  });
}

int LivePlayEngineImpl::StopHandActionCheck() {
  return Call("StopHandActionCheck failed: live_ is null", [&](tavel::LivePlayEngine* live) {
    const int result = live->StopHandActionCheck();
    hand_action_callback_.reset();
    CallbackDispatcher::PurgeType(kItemHandAction);
    return result;
  });
}

int LivePlayEngineImpl::StartCollectLiveData(int32_t first, int32_t second, napi_env env, napi_value callback) {
  std::lock_guard<std::recursive_mutex> lock(mu_);
  if (!live_ || collect_livedata_callback_) {
    LUMEN_LOG(kWarning, kTag)
        << "StartCollectLiveData failed: live_ is null or collect_livedata_callback_ already exists";
    return -1;
  }
  collect_livedata_callback_ = MakeHolder<CollectLiveDataCallbackImpl>(env, callback);
  return live_->StartCollectLiveData(first, second, collect_livedata_callback_.get());
}

int LivePlayEngineImpl::StopCollectLiveData() {
  std::lock_guard<std::recursive_mutex> lock(mu_);
  if (!live_ || !collect_livedata_callback_) {
    LUMEN_LOG(kWarning, kTag)
        << "StopCollectLiveData failed: live_ is null or collect_livedata_callback_ does not exist";
    return -1;
  }
  const int result = live_->StopCollectLiveData();
  collect_livedata_callback_.reset();
  // Data collected before the stop is not delivered after it.
  CallbackDispatcher::PurgeType(kItemCollectLiveData);
  return result;
}

int LivePlayEngineImpl::StartScreenShare(const tavel::VideoTrackInfo& info, tavel::ScreenShareConfig config,
                                         std::shared_ptr<ScreenShareCallbackImpl> callback) {
  LUMEN_LOG(kInfo, kTag) << "LivePlayEngineImpl::StartScreenShare() in ";
  std::lock_guard<std::recursive_mutex> lock(mu_);
  if (!live_) {
    LUMEN_LOG(kInfo, kTag) << "LivePlayEngineImpl::StartScreenShare() end , live_ is nullptr ";
    return -1;
  }
  tavel::BizInfo biz;
  const bool converted = tavel::BizTypeWrapper::ToBizInfo(info, biz);
  LUMEN_LOG(kInfo, kTag) << "LivePlayEngineImpl::StartScreenShare() ToBizInfo() return " << converted
                         << " binfo:" << ToString(biz);
  // Never share under a business identity the engine could not derive.
  if (!converted) return -1;
  config.callback = callback.get();
  const int result = live_->StartScreenShare(biz, config);
  if (callback) screen_share_callback_ = std::move(callback);
  LUMEN_LOG(kInfo, kTag) << "LivePlayEngine_StartScreenShare() call end,  StartScreenShare() function ret " << result;
  return result;
}

int LivePlayEngineImpl::StopScreenShare() {
  LUMEN_LOG(kInfo, kTag) << "LivePlayEngineImpl::StopScreenShare() start";
  const int result = Call("StopScreenShare failed: live_ is null", [&](tavel::LivePlayEngine* live) {
    const int stopped = live->StopScreenShare();
    screen_share_callback_.reset();
    return stopped;
  });
  LUMEN_LOG(kInfo, kTag) << "LivePlayEngineImpl::StopScreenShare() end";
  return result;
}

int LivePlayEngineImpl::EnableStaticFrameDetector(const korin::FrameValidDetectorConfig& config,
                                                  std::shared_ptr<StaticFrameDetectorCallbackImpl> callback) {
  return Call("EnableStaticFrameDetector failed: live_ is null", [&](tavel::LivePlayEngine* live) {
    const int result = live->EnableStaticFrameDetector(config, callback.get());
    detector_callback_ = std::move(callback);
    return result;
  });
}

int LivePlayEngineImpl::StartCameraVideoRecord(const tavel::CameraVideoRecordConfig& config,
                                               std::shared_ptr<CameraVideoRecordCallbackImpl> callback) {
  return Call("StartCameraVideoRecord failed: live_ is null", [&](tavel::LivePlayEngine* live) {
    const int result = live->StartCameraVideoRecord(config, callback.get());
    // Kept past the stop: the engine reports the finished file after it.
    if (callback) record_callback_ = std::move(callback);
    return result;
  });
}

}  // namespace lumen_addon
