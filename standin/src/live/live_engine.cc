// Engine roots and their sub-interfaces: one instance of each per root, alive
// as long as the root. Deleting a root drops everything it holds and returns
// only once none of its callbacks is running.
#include <memory>

#include "live/internal.h"
#include "live/live_play.h"
#include "live/playback.h"
#include "sim/live.h"
#include "sim/records.h"
#include "sim/sim.h"

namespace live {

// ---- live play: connection and state ------------------------------------------
namespace {
// Connection events run on one engine thread, so they arrive in order.
constexpr int kConnectionThread = 7;
}  // namespace

void LivePlay::Shutdown() {
  ++*epoch_;
  MicDropped(owner_);
}

void LivePlay::RegisterCallback(tavel::LivePlayEngineCallback* cb, void* context) {
  sim::Note(LP(RegisterCallback), cb, context);
  HoldLivePlayCallback(owner_, cb);
}

void LivePlay::Announce(bool media, lumen::CommandClient* command) {
  if (!sim::AutoConnect()) return;
  auto epoch = epoch_;
  uint64_t mine = epoch->load();
  const void* owner = owner_;
  sim::RunOnEngineThreadAfter(kConnectionThread, sim::AutoConnectDelayMs(), [=] {
    auto fire = [&](const char* name, const void* holder) {
      if (epoch->load() == mine) sim::FireHere(name, sim::Args(), nullptr, holder);
    };
    if (media) {
      fire("LivePlayEngineCallback.OnMediaConnecting", owner);
      fire("LivePlayEngineCallback.OnMediaConnected", owner);
    }
    if (command) {
      fire("CommandClientCallback.OnCommandConnecting", command);
      fire("CommandClientCallback.OnCommandConnected", command);
    }
  });
}

int LivePlay::Connect(const tavel::LiveRoomConfig& config, lumen::LiveClient* client) {
  int result = sim::Call(LP(Connect), config, client);
  if (result != 0) return result;
  std::lock_guard<std::mutex> lock(mu_);
  connected_ = true;
  Announce(true, command_);
  return result;
}

int LivePlay::Disconnect() {
  int result = sim::Call(LP(Disconnect));
  std::lock_guard<std::mutex> lock(mu_);
  ++*epoch_;
  connected_ = false;
  command_ = nullptr;
  return result;
}

void LivePlay::SetCommandClient(lumen::CommandClient* client) {
  sim::Note(LP(SetCommandClient), client);
  std::lock_guard<std::mutex> lock(mu_);
  bool fresh = client != command_;
  command_ = client;
  if (connected_ && client && fresh) Announce(false, client);
}

int LivePlay::SetMicrophoneSendMute(bool mute) {
  int result = sim::Call(LP(SetMicrophoneSendMute), mute);
  std::lock_guard<std::mutex> lock(mu_);
  if (result == 0) mute_ = mute;
  return result;
}

int LivePlay::GetMicrophoneSendMute(bool* mute) {
  int result = sim::Call(LP(GetMicrophoneSendMute), mute);
  std::lock_guard<std::mutex> lock(mu_);
  if (mute) *mute = sim::ScriptedBool(LP(GetMicrophoneSendMute) ".mute", mute_);
  return result;
}

// ---- the other sub-interfaces ------------------------------------------------------
namespace {


class Local : public tavel::LocalEngine {
 public:
  explicit Local(const void* owner) : owner_(owner) {}
  void RegisterCallback(tavel::LocalEngineCallback* cb) override { sim::Note("tavel.LocalEngine.RegisterCallback", cb); HoldLocalEngineCallback(owner_, cb); }
  int Start(const tavel::LocalEngineConfig& c, lumen::LiveClient* client) override { return sim::Call("tavel.LocalEngine.Start", c, client); }

 private:
  const void* const owner_;
};

class Root : public tavel::LiveEngine {
 public:
  Root() { CountObject("roots", 1); }
  ~Root() override {
    play.Shutdown();
    sim::Release(this);
    CountObject("roots", -1);
  }

  LivePlay play{this};
  AudioRender audio_render;
  MediaPlayer media_player{this};
  Beauty beauty{this};
  std::unique_ptr<tavel::LiveDeviceEngine> device{NewLiveDevice(this)};
  Local local{this};
  Streaming streaming{this};
  Replay replay{this};
};

template <typename M>
M* Interface(const char* op, tavel::LiveEngine* root, M Root::*member) {
  sim::Note(op, root);
  if (!root || !sim::ScriptedBool(op, true)) return nullptr;
  return &(static_cast<Root*>(root)->*member);
}

}  // namespace
}  // namespace live

namespace tavel {

using live::Interface;
using live::Root;

LiveEngine* LiveEngine::Create() {
  sim::Note("tavel.LiveEngine.Create");
  return sim::ScriptedBool("tavel.LiveEngine.Create", true) ? new Root : nullptr;
}

int LiveEngine::Delete(LiveEngine*& engine) {
  int result = sim::Call("tavel.LiveEngine.Delete", engine);
  delete static_cast<Root*>(engine);
  engine = nullptr;
  return result;
}

LiveEngine::~LiveEngine() = default;

LivePlayEngine* LivePlayEngine::GetInterface(LiveEngine* r) { return Interface(LP(GetInterface), r, &Root::play); }
AudioRenderEngine* AudioRenderEngine::GetInterface(LiveEngine* r) { return Interface("tavel.AudioRenderEngine.GetInterface", r, &Root::audio_render); }
MediaPlayerEngine* MediaPlayerEngine::GetInterface(LiveEngine* r) { return Interface("tavel.MediaPlayerEngine.GetInterface", r, &Root::media_player); }
LiveBeautyEngine* LiveBeautyEngine::GetInterface(LiveEngine* r) { return Interface("tavel.LiveBeautyEngine.GetInterface", r, &Root::beauty); }
LiveDeviceEngine* LiveDeviceEngine::GetInterface(LiveEngine* r) {
  auto* device = Interface("tavel.LiveDeviceEngine.GetInterface", r, &Root::device);
  return device ? device->get() : nullptr;
}
LocalEngine* LocalEngine::GetInterface(LiveEngine* r) { return Interface("tavel.LocalEngine.GetInterface", r, &Root::local); }
StreamingEngine* StreamingEngine::GetInterface(LiveEngine* r) { return Interface("tavel.StreamingEngine.GetInterface", r, &Root::streaming); }
ReplayEngine* ReplayEngine::GetInterface(LiveEngine* r) { return Interface("tavel.ReplayEngine.GetInterface", r, &Root::replay); }

ReplayEngine* ReplayEngine::Create() {
  sim::Note("tavel.ReplayEngine.Create");
  if (!sim::ScriptedBool("tavel.ReplayEngine.Create", true)) return nullptr;
  live::CountObject("replayEngines", 1);
  return new live::Replay(nullptr);
}

void ReplayEngine::Destroy(ReplayEngine* engine) {
  sim::Note("tavel.ReplayEngine.Destroy", engine);
  if (!engine) return;
  auto* replay = static_cast<live::Replay*>(engine);
  sim::Release(replay->owner());
  live::CountObject("replayEngines", -1);
  delete replay;
}

LivePlayEngine::~LivePlayEngine() = default;
AudioRenderEngine::~AudioRenderEngine() = default;
MediaPlayerEngine::~MediaPlayerEngine() = default;
LiveBeautyEngine::~LiveBeautyEngine() = default;
LiveDeviceEngine::~LiveDeviceEngine() = default;
LocalEngine::~LocalEngine() = default;
StreamingEngine::~StreamingEngine() = default;
ReplayEngine::~ReplayEngine() = default;

LivePlayEngineCallback::~LivePlayEngineCallback() = default;
MicrophoneRecordingCallback::~MicrophoneRecordingCallback() = default;
VadCallback::~VadCallback() = default;
HandActionCallback::~HandActionCallback() = default;
CollectLiveDataCallback::~CollectLiveDataCallback() = default;
ScreenShareCallback::~ScreenShareCallback() = default;
CameraVideoRecordCallback::~CameraVideoRecordCallback() = default;
DeviceEventCallback::~DeviceEventCallback() = default;
LocalEngineCallback::~LocalEngineCallback() = default;
StreamingEngineCallback::~StreamingEngineCallback() = default;
ReplayEngineCallback::~ReplayEngineCallback() = default;
VideoSinkInterface::~VideoSinkInterface() = default;

}  // namespace tavel

korin::FrameValidDetectorCallback::~FrameValidDetectorCallback() = default;
