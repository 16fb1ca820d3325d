// The simulated AI agent: every call journalled with its scripted answer,
// events fired through held firers (those of the newest agent), and an
// audio pull loop that reads the host's provider every 20 ms while the
// agent listens to it.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "korin/qx_ai_agent.h"
#include "live/internal.h"
#include "sim/ai_agent.h"
#include "sim/sim.h"

namespace korin {

inline std::string ToJson(const QXAIAgentConfig& v) {
  return sim::JsonObject("user_id", v.user_id, "agent_id", v.agent_id, "signature", v.signature, "auth_extension",
                         v.auth_extension, "no_timeout", v.no_timeout, "enable_video", v.enable_video);
}
inline std::string ToJson(const QXAICameraConfig& v) {
  return sim::JsonObject("hd", v.hd, "camera_device_id", v.camera_device_id, "use_front_camera", v.use_front_camera);
}

}  // namespace korin

namespace sim {
namespace {

struct AudioState {
  std::mutex mu;
  AgentAudio audio;
};

AudioState& A() {
  static auto* a = [] {
    auto* state = new AudioState;
    OnReset([state] {
      std::lock_guard<std::mutex> lock(state->mu);
      state->audio = AgentAudio{};
    });
    return state;
  }();
  return *a;
}

}  // namespace

AgentAudio GetAgentAudio() {
  std::lock_guard<std::mutex> lock(A().mu);
  return A().audio;
}

}  // namespace sim

namespace korin {

QXAIAgentCallback::~QXAIAgentCallback() = default;
QXAIActionCallback::~QXAIActionCallback() = default;
QXAIAgentAudioPlayStatusCallback::~QXAIAgentAudioPlayStatusCallback() = default;
QXAIAudioProvider::~QXAIAudioProvider() = default;
QXAIAgentInterface::~QXAIAgentInterface() = default;

namespace {

constexpr char kPrefix[] = "korin.QXAIAgent.";

// Reads the provider every 20 ms until stopped. Destroying the loop waits
// until no read runs. What the agent's setters call, Retire(), waits the
// same while the no-wait switch is off; with it on the loop is only told to
// stop and kept in `stopping`, whose owner (the agent) waits for it when
// destroyed.
class PullLoop {
 public:
  explicit PullLoop(QXAIAudioProvider* provider) : state_(std::make_shared<State>()) {
    thread_ = std::thread([state = state_, provider] { Run(*state, provider); });
  }
  ~PullLoop() {
    Stop();
    if (thread_.joinable()) thread_.join();
  }
  static void Retire(std::unique_ptr<PullLoop> loop, std::vector<std::unique_ptr<PullLoop>>* stopping) {
    if (!loop || !sim::NoWait()) return;
    loop->Stop();
    stopping->push_back(std::move(loop));
  }

 private:
  struct State {
    std::mutex mu;
    std::condition_variable cv;
    bool stop = false;
  };
  void Stop() {
    {
      std::lock_guard<std::mutex> lock(state_->mu);
      state_->stop = true;
    }
    state_->cv.notify_all();
  }
  static void Run(State& state, QXAIAudioProvider* provider) {
    std::unique_lock<std::mutex> lock(state.mu);
    while (!state.stop) {
      lock.unlock();
      const int16_t* samples = nullptr;
      int32_t rate = 0, channels = 0;
      size_t frames = 0;
      const bool ok = provider->GetAudioData(&samples, &rate, &channels, &frames);
      {
        std::lock_guard<std::mutex> a(sim::A().mu);
        sim::AgentAudio& s = sim::A().audio;
        ++s.pulls;
        if (!ok || !samples) {
          ++s.failures;
        } else {
          s.sample_rate = rate;
          s.channels = channels;
          s.frames = frames;
          s.samples.assign(samples, samples + frames * static_cast<size_t>(channels > 0 ? channels : 0));
        }
      }
      lock.lock();
      state.cv.wait_for(lock, std::chrono::milliseconds(20), [&] { return state.stop; });
    }
  }

  std::shared_ptr<State> state_;
  std::thread thread_;
};

class AgentSim : public QXAIAgentInterface {
 public:
  explicit AgentSim(std::unique_ptr<QXAIAgentCallback> callback) : callback_(std::move(callback)) {
    live::CountObject("aiAgents", 1);
    QXAIAgentCallback* cb = callback_.get();
    sim::Hold(this, "QXAIAgentCallback.OnConnectionStateChanged",
              [cb](const sim::Args& a) { cb->OnConnectionStateChanged(static_cast<int32_t>(a.Int(0))); });
    sim::Hold(this, "QXAIAgentCallback.OnConnectionError", [cb](const sim::Args& a) {
      QXAIAgentConnectionError e;
      e.code = static_cast<int32_t>(a.Int(0));
      e.subcode = static_cast<int32_t>(a.Int(1));
      e.fail_reason = static_cast<int32_t>(a.Int(2));
      e.message = a.Str(3);
      cb->OnConnectionError(e);
    });
    sim::Hold(this, "QXAIAgentCallback.OnAIAgentVadStateChanged", [cb](const sim::Args& a) { cb->OnAIAgentVadStateChanged(a.Bool(0)); });
    sim::Hold(this, "QXAIAgentCallback.OnUserVadStateChanged", [cb](const sim::Args& a) { cb->OnUserVadStateChanged(a.Bool(0)); });
    // A string or a Buffer; its bytes are handed over with their length (no terminator).
    sim::Hold(this, "QXAIAgentCallback.OnAIAgentMessage", [cb](const sim::Args& a) {
      sim::Bytes copy = a.BytesOf(0);
      copy.push_back('!');  // a byte past the length that must not be read
      cb->OnAIAgentMessage(reinterpret_cast<const char*>(copy.data()), copy.size() - 1);
    });
  }
  ~AgentSim() override {
    pull_.reset();
    stopping_.clear();
    sim::Release(this);
    callback_.reset();
    live::CountObject("aiAgents", -1);
  }

  int Start() override { return sim::Call(Op("Start")); }
  int Stop() override { return sim::Call(Op("Stop")); }
  int StartListening() override {
    PullLoop::Retire(std::move(pull_), &stopping_);
    return sim::Call(Op("StartListening"));
  }
  int StartListeningWithProvider(QXAIAudioProvider* provider) override {
    PullLoop::Retire(std::move(pull_), &stopping_);
    const int r = sim::Call(Op("StartListeningWithProvider"), static_cast<const void*>(provider));
    if (provider && r == 0) pull_ = std::make_unique<PullLoop>(provider);
    return r;
  }
  int StopListening() override {
    PullLoop::Retire(std::move(pull_), &stopping_);
    return sim::Call(Op("StopListening"));
  }
  int SetMicrophoneSendMute(bool mute) override { return sim::Call(Op("SetMicrophoneSendMute"), mute); }
  int SetAIPlayoutMute(bool mute) override { return sim::Call(Op("SetAIPlayoutMute"), mute); }
  int SendMessage(const std::string& message) override { return sim::Call(Op("SendMessage"), message); }
  int GetConnectionState() override { return sim::Call(Op("GetConnectionState")); }
  int64_t GetServerClockDiffMs() override {
    sim::Note(Op("GetServerClockDiffMs"));
    sim::Value v = sim::Scripted(Op("GetServerClockDiffMs"));
    auto* d = std::get_if<double>(&v);
    return d ? static_cast<int64_t>(*d) : 0;
  }
  int RegisterActionCallback(QXAIActionCallback* cb) override {
    if (!cb) {
      sim::ReleaseName("QXAIActionCallback.OnActionStatus", this);
    } else {
      sim::Hold(this, "QXAIActionCallback.OnActionStatus", [cb](const sim::Args& a) {
        const sim::Bytes* extra = a.Buf(2);
        cb->OnActionStatus(static_cast<int32_t>(a.Int(0)), a.Int(1), extra ? extra->data() : nullptr, extra ? extra->size() : 0);
      });
    }
    return sim::Call(Op("RegisterActionCallback"), static_cast<const void*>(cb));
  }
  int UnRegisterActionCallback() override {
    sim::ReleaseName("QXAIActionCallback.OnActionStatus", this);
    return sim::Call(Op("UnRegisterActionCallback"));
  }
  int RegisterAIAgentAudioPlayStatusCallback(QXAIAgentAudioPlayStatusCallback* cb) override {
    if (!cb) {
      sim::ReleaseName("QXAIAgentAudioPlayStatusCallback.OnAudioPlayStatus", this);
    } else {
      sim::Hold(this, "QXAIAgentAudioPlayStatusCallback.OnAudioPlayStatus", [cb](const sim::Args& a) {
        cb->OnAudioPlayStatus(a.Int(0), static_cast<int32_t>(a.Int(1)), a.Int(2));
      });
    }
    return sim::Call(Op("RegisterAIAgentAudioPlayStatusCallback"), static_cast<const void*>(cb));
  }
  int UnRegisterAIAgentAudioPlayStatusCallback() override {
    sim::ReleaseName("QXAIAgentAudioPlayStatusCallback.OnAudioPlayStatus", this);
    return sim::Call(Op("UnRegisterAIAgentAudioPlayStatusCallback"));
  }
  float GetUserAudioLevel() override { return Level("GetUserAudioLevel"); }
  float GetAIAudioLevel() override { return Level("GetAIAudioLevel"); }
  int PublishCamera(const QXAICameraConfig& config) override { return sim::Call(Op("PublishCamera"), config); }
  int UnpublishCamera() override { return sim::Call(Op("UnpublishCamera")); }

 private:
  static std::string Op(const char* name) { return std::string(kPrefix) + name; }
  float Level(const char* name) {
    sim::Note(Op(name));
    sim::Value v = sim::Scripted(Op(name));
    auto* d = std::get_if<double>(&v);
    return d ? static_cast<float>(*d) : 0.0f;
  }

  std::unique_ptr<QXAIAgentCallback> callback_;
  std::unique_ptr<PullLoop> pull_;
  std::vector<std::unique_ptr<PullLoop>> stopping_;
};

}  // namespace

QXAIAgentInterface* QXAIAgentFactory::CreateAIAgent(const QXAIAgentConfig& config,
                                                    std::unique_ptr<QXAIAgentCallback> callback) {
  sim::Note("korin.QXAIAgentFactory.CreateAIAgent", config);
  if (!sim::ScriptedBool("korin.QXAIAgentFactory.CreateAIAgent", true)) return nullptr;
  return new AgentSim(std::move(callback));
}

void QXAIAgentFactory::DestroyAIAgent(QXAIAgentInterface* agent) {
  sim::Note("korin.QXAIAgentFactory.DestroyAIAgent", static_cast<const void*>(agent));
  delete static_cast<AgentSim*>(agent);
}

}  // namespace korin
