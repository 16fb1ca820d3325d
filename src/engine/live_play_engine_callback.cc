#include "engine/live_play_engine_callback.h"

#include <atomic>
#include <cstring>
#include <utility>
#include <vector>

#include "beauty/beauty_hooks.h"
#include "callback/async_callback_item.h"
#include "callback/callback_dispatcher.h"
#include "callback/engine_event_item.h"
#include "engine/background_work.h"
#include "tavel/source_flag.h"
#include "tavel/tally.h"

namespace lumen_addon {

namespace {

std::atomic<LivePlayEngineCallback::AutoLeaveFn> g_auto_leave{nullptr};

void Tally(const char* url) {
  tavel::tallyv2::ValueEntry entry;
  entry.url = url;
  if (auto client = tavel::tallyv2::TallyClientV2::singleton()) client->PostValueEntry(entry, 1, 0);
}

class CommandDisconnectedItem : public EngineEventItem {
 public:
  using EngineEventItem::EngineEventItem;
  void Run() override {
    if (!Delivering()) return;
    Tally("sdk/event/CmdClientOnDisconnectedCallbackItem");
    EventItem::Run();
  }
};

// The beauty manager sees the state change before JavaScript does.
class BeautyItem : public EngineEventItem {
 public:
  enum Kind { kReady, kBeautyError, kAIStickerError };

  BeautyItem(std::shared_ptr<AddonCallback> holder, const DeliveryGate* gate, const char* method, Kind kind,
             bool ready, int code)
      : EngineEventItem(std::move(holder), gate, method, kItemDefault, {kind == kReady ? Arg(ready) : Arg(code)}),
        kind_(kind),
        ready_(ready),
        code_(code) {}

  void Run() override {
    if (!Delivering()) return;
    switch (kind_) {
      case kReady:
        beauty::SetBeautyReady(ready_);
        break;
      case kBeautyError:
        beauty::OnBeautyError(code_);
        break;
      case kAIStickerError:
        beauty::OnAIStickerError(code_);
        break;
    }
    EventItem::Run();
  }

 private:
  Kind kind_;
  bool ready_;
  int code_;
};

class VadItem : public EngineEventItem {
 public:
  VadItem(std::shared_ptr<AddonCallback> holder, const DeliveryGate* gate, int32_t type, const IdentityKey& identity,
          int status)
      : EngineEventItem(std::move(holder), gate, "onAudioVadStatusChange", type, {Arg(status)}), identity_(identity) {}
  IdentityKey Identity() const override { return identity_; }

 private:
  IdentityKey identity_;
};

}  // namespace

// ---- LivePlayEngineCallback --------------------------------------------------

void LivePlayEngineCallback::SetAutoLeave(AutoLeaveFn leave) { g_auto_leave.store(leave); }

LivePlayEngineCallback::LivePlayEngineCallback(napi_env env, napi_value callbacks, bool relay)
    : AddonCallback(env, callbacks),
      relay_(relay),
      auto_leave_(tavel::GetSourceFlagWithKey("enableAutoLeaveRoom4660")) {}

std::shared_ptr<AddonCallback> LivePlayEngineCallback::Self() { return weak_from_this().lock(); }

void LivePlayEngineCallback::Post(const char* method, int32_t type, std::vector<EventArg> args) {
  if (auto self = Self()) PostEngineEvent(std::move(self), gate_.get(), method, type, std::move(args));
}

void LivePlayEngineCallback::PostEnterRoom(bool result) { Post("onEnterRoom", kItemEnterRoom, {Arg(result)}); }

void LivePlayEngineCallback::OnMediaConnected() {
  media_connected_ = true;
  Post("onMediaConnected", kItemMediaConnection);
}
void LivePlayEngineCallback::OnMediaConnecting() { Post("onMediaConnecting", kItemMediaConnection); }
void LivePlayEngineCallback::OnMediaReconnecting() { Post("onMediaReconnecting", kItemMediaConnection); }

void LivePlayEngineCallback::OnMediaDisconnected(bool by_user, int code, int sub_code, int extra) {
  Post("onMediaDisconnected", kItemDefault, {Arg(by_user), Arg(code), Arg(sub_code), Arg(extra)});
}

void LivePlayEngineCallback::OnAudioSharedConnectionStateChanged(int state) {
  Post("onAudioSharedConnectionStateChanged", kItemDefault, {Arg(state)});
}
void LivePlayEngineCallback::OnVideoSharedConnectionStateChanged(int state) {
  Post("onVideoSharedConnectionStateChanged", kItemDefault, {Arg(state)});
}
void LivePlayEngineCallback::OnServerTimestampOffset(int64_t offset) {
  Post("onServerTimestampOffset", kItemDefault, {Arg(offset)});
}
void LivePlayEngineCallback::OnRadioChannelConnecting() { Post("onRadioChannelConnecting", kItemDefault); }
void LivePlayEngineCallback::OnRadioChannelConnected() { Post("onRadioChannelConnected", kItemDefault); }

void LivePlayEngineCallback::OnRadioMessage(const uint8_t* data, int length) {
  const size_t size = HasData(data, length) ? static_cast<size_t>(length) : 0;
  Post("onRadioMessage", kItemDefault, {ArgBytes(data, size), Arg(length)});
}
void LivePlayEngineCallback::OnUserData(const uint8_t* data, int length) {
  const size_t size = HasData(data, length) ? static_cast<size_t>(length) : 0;
  Post("onUserData", kItemDefault, {ArgBytes(data, size), Arg(length)});
}

void LivePlayEngineCallback::OnNoSpeechTimeoutEvent() { Post("onNoSpeechTimeoutEvent", kItemDefault); }
void LivePlayEngineCallback::OnAudioInputNoVoiceWarning() { Post("onAudioInputNoVoiceWarning", kItemDefault); }

void LivePlayEngineCallback::OnRecordingDataException(int code) {
  Post("onRecordingDataException", kItemDefault, {Arg(code)});
}
void LivePlayEngineCallback::OnPlayoutDataException(int code) {
  Post("onPlayoutDataException", kItemDefault, {Arg(code)});
}
void LivePlayEngineCallback::OnLoopbackDataException(int code) {
  Post("onLoopbackDataException", kItemDefault, {Arg(code)});
}

void LivePlayEngineCallback::OnDeviceError(int type, int code, int extra) {
  Post("onDeviceError", kItemDefault, {Arg(type), Arg(code), Arg(extra)});
}
void LivePlayEngineCallback::OnDeviceEvent(int type, int code, int extra) {
  Post("onDeviceEvent", kItemDefault, {Arg(type), Arg(code), Arg(extra)});
}

void LivePlayEngineCallback::OnAudioInputDeviceChanged(int state) {
  Post("onAudioInputDeviceChanged", kItemDefault, {Arg(state)});
}
void LivePlayEngineCallback::OnAudioOutputDeviceChanged(int state) {
  Post("onAudioOutputDeviceChanged", kItemDefault, {Arg(state)});
}
void LivePlayEngineCallback::OnVideoInputDeviceChanged(int state) {
  Post("onVideoInputDeviceChanged", kItemDefault, {Arg(state)});
}
void LivePlayEngineCallback::OnDefaultAudioInputDeviceChanged(const char* id, const char* name) {
  Post("onDefaultAudioInputDeviceChanged", kItemDefault, {Arg(id), Arg(name)});
}
void LivePlayEngineCallback::OnDefaultAudioOutputDeviceChanged(const char* id, const char* name) {
  Post("onDefaultAudioOutputDeviceChanged", kItemDefault, {Arg(id), Arg(name)});
}

void LivePlayEngineCallback::OnVideoFrameReceived(int user_id, int track_type) {
  Post("onVideoFrameReceived", kItemDefault, {Arg(user_id), Arg(track_type)});
}

void LivePlayEngineCallback::OnBeautyReady(bool ready) {
  if (auto self = Self())
    CallbackDispatcher::Post(new BeautyItem(std::move(self), gate_.get(), "onBeautyReady", BeautyItem::kReady, ready, 0));
}
void LivePlayEngineCallback::OnBeautyError(int code) {
  if (auto self = Self())
    CallbackDispatcher::Post(new BeautyItem(std::move(self), gate_.get(), "onBeautyError", BeautyItem::kBeautyError, false, code));
}
void LivePlayEngineCallback::OnAIStickerReady(bool ready) { Post("onAIStickerReady", kItemDefault, {Arg(ready)}); }
void LivePlayEngineCallback::OnAIStickerError(int code) {
  if (auto self = Self())
    CallbackDispatcher::Post(
        new BeautyItem(std::move(self), gate_.get(), "onAIStickerError", BeautyItem::kAIStickerError, false, code));
}

void LivePlayEngineCallback::OnCommandConnecting() { Post("onCommandConnecting", kItemCommandConnection); }

void LivePlayEngineCallback::OnCommandConnected() {
  command_connected_ = true;
  Post("onCommandConnected", kItemCommandConnection);
}

void LivePlayEngineCallback::OnCommandReconnecting(const char* reason) {
  Post("onCommandReconnecting", kItemCommandConnection, {Arg(reason)});
}

void LivePlayEngineCallback::OnCommandDisconnected(int code, int sub_code, const char* reason, int extra) {
  // Held for the whole call: the automatic leave below may destroy the
  // engine, and with it the wrapper's share of this holder, at any moment.
  auto self = Self();
  Tally("sdk/event/OnDisconnected");
  if (auto_leave_ && media_connected_ && command_connected_) {
    const bool relay = relay_;
    // Not on the engine thread: destroying the engine waits for its threads.
    // Only this engine goes, not one created after it was left.
    BackgroundWork::Start([relay, gate = gate_, leave = g_auto_leave.load()] {
      Tally(relay ? "sdk/event/AutoDestroyLiveRelayEngine" : "sdk/event/AutoDestroyLiveEngine");
      if (leave) leave(gate.get(), relay);
    });
  }
  if (!self) return;
  CallbackDispatcher::Post(new CommandDisconnectedItem(std::move(self), gate_.get(), "onCommandDisconnected",
                                                       kItemDefault, {Arg(code), Arg(sub_code), Arg(reason), Arg(extra)}));
}

// ---- VadCallbackImpl -------------------------------------------------------------

IdentityKey ToIdentityKey(const tavel::BizInfo& info) {
  IdentityKey key{};
  std::memcpy(key.data(), &info.biz_type, 4);
  std::memcpy(key.data() + 4, &info.user_id, 4);
  std::memcpy(key.data() + 8, &info.group_id, 4);
  key[12] = info.collect ? 1 : 0;
  return key;
}


void VadCallbackImpl::OnAudioVadStatusChange(int status) {
  if (auto self = weak_from_this().lock())
    CallbackDispatcher::Post(new VadItem(std::move(self), gate_.get(), item_type_, identity_, status));
}

// ---- live class features --------------------------------------------------------

void FeatureCallback::Post(const char* method, int32_t type, std::vector<EventArg> args) {
  if (auto self = weak_from_this().lock()) PostEngineEvent(std::move(self), gate_.get(), method, type, std::move(args));
}

void HandActionCallbackImpl::OnHandAction(int action, double score) {
  Post("onHandAction", kItemHandAction, {Arg(action), Arg(score)});
}

void CollectLiveDataCallbackImpl::OnCollectLiveData(const uint8_t* data, int length) {
  Post("OnCollectLiveData", kItemCollectLiveData, {ArgBytes(data, HasData(data, length) ? static_cast<size_t>(length) : 0)});
}
void CollectLiveDataCallbackImpl::OnCollectError(int error) { Post("OnCollectError", kItemDefault, {Arg(error)}); }

void ScreenShareCallbackImpl::OnScreenShareStateChanged(int state, int code) {
  Post("onScreenShareStateChanged", kItemDefault, {Arg(state), Arg(code)});
}

void StaticFrameDetectorCallbackImpl::OnDetectStatusCallback(bool is_static, bool changed) {
  Post("onDetectStatusCallback", kItemDefault, {Arg(is_static), Arg(changed)});
}

void CameraVideoRecordCallbackImpl::OnRecordComplete(int code, const char* path) {
  Post("onRecordComplete", kItemDefault, {Arg(code), Arg(path)});
}

}  // namespace lumen_addon
