// Simulated replay rooms. Each journals its operations and plays the
// recorded class (recorded_class.h) on a thread of its own: a clock that
// follows play, pause, seek and rate, chunks and action statuses as play
// passes them, frames to the sinks, buffering around seeks, completion at
// the end. Its callback's events are firers "replayRoom:<n>.<Event>".
#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "korin/replay/replay_engine.h"
#include "live/internal.h"
#include "replay/recorded_class.h"
#include "replay/registry.h"
#include "replay/replay_clock.h"
#include "replay/replay_records.h"
#include "sim/methods.h"
#include "sim/replay.h"
#include "sim/sim.h"

namespace korin {
namespace replay {

VideoSink::VideoSink() { live::CountObject("replayVideoSinks", 1); }
VideoSink::~VideoSink() { live::CountObject("replayVideoSinks", -1); }
ActionStatusCallback::ActionStatusCallback() { live::CountObject("replayActionStatusCallbacks", 1); }
ActionStatusCallback::~ActionStatusCallback() { live::CountObject("replayActionStatusCallbacks", -1); }
ReplayEngineCallback::ReplayEngineCallback() { live::CountObject("replayEngineCallbacks", 1); }
ReplayEngineCallback::~ReplayEngineCallback() { live::CountObject("replayEngineCallbacks", -1); }
ReplayEngine::~ReplayEngine() = default;

namespace {

std::string Op(const char* method) { return std::string("korin.replay.ReplayEngine.") + method; }
template <typename F>
const void* Fn(const F& f) {
  return f ? &f : nullptr;
}

constexpr double kNever = 1e300;
constexpr auto kLongestSleep = std::chrono::milliseconds(50);

// Owner of the completions held with after_leave: released by reset only.
const char kAfterLeave = 0;

struct CompletionRules {
  std::mutex mu;
  sim::ReplayCompletions value;
};

CompletionRules& Rules() {
  static auto* r = new CompletionRules;
  return *r;
}

// Chunks handed over as views of engine memory that is overwritten once the
// call returns, so that a callee keeping a pointer shows it. Each call gets
// memory of its own: a completion may be called again.
class ChunkBatch {
 public:
  explicit ChunkBatch(std::vector<sim::ReplayChunkBytes> items) : items_(std::move(items)) {}
  template <typename F>
  void Hand(F&& f) const {
    std::vector<sim::ReplayChunkBytes> mine = items_;
    ChunkList list;
    for (const auto& c : mine) list.push_back({c.npt, c.data.data(), c.data.size()});
    f(list);
    for (auto& c : mine) std::fill(c.data.begin(), c.data.end(), 0xDD);
  }

 private:
  std::vector<sim::ReplayChunkBytes> items_;
};

// Fired chunks: npt, bytes (or a string), npt, bytes, ...
std::vector<sim::ReplayChunkBytes> ChunksFrom(const sim::Args& a) {
  std::vector<sim::ReplayChunkBytes> out;
  for (size_t i = 0; i < a.size(); i += 2) {
    const sim::Bytes* b = a.Buf(i + 1);
    const std::string s = b ? std::string() : a.Str(i + 1);
    out.push_back({a.Int(i), b ? *b : sim::Bytes(s.begin(), s.end())});
  }
  return out;
}

std::string StreamName(const BizInfo& b) {
  return std::to_string(b.biz_type) + ":" + std::to_string(b.user_id) + ":" + std::to_string(b.group_id);
}

class SimRoom : public ReplayEngine {
 public:
  explicit SimRoom(ReplayEngineCallback* callback) : callback_(callback) {
    id_ = room_replay::Live<SimRoom>().Add(this);
    prefix_ = "replayRoom:" + std::to_string(id_);
    live::CountObject("roomReplayEngines", 1);
    HoldEvents();
    thread_ = std::thread([this] { Run(); });
  }

  ~SimRoom() override {
    room_replay::Live<SimRoom>().Remove(id_);
    {
      std::lock_guard<std::mutex> lock(mu_);
      stop_ = true;
    }
    cv_.notify_all();
    synced_.notify_all();
    thread_.join();  // what it had not delivered yet is dropped, timed completions uncalled
    sim::Release(this);
    live::CountObject("roomReplayEngines", -1);
  }

  int EnterRoom(const RoomInfo& info) override {
    sim::Note(Op("EnterRoom"), info);
    const int scripted = sim::ScriptedInt(Op("EnterRoom"), 0);
    return Locked([&](double now) {
      if (entered_) return -1;
      const sim::ReplayClass c = sim::GetReplayClass();
      class_ = c;
      duration_ = c.duration_ms;
      entered_ = true;
      room_ = info;
      anchor_pos_ = static_cast<double>(std::clamp<int64_t>(info.time_to_play_ms, 0, duration_));
      if (scripted != 0) {
        failed_ = true;
        error_ = {scripted, 1};
        Schedule(now + c.enter_delay_ms, false, [this, scripted] {
          Emit([this, scripted] { if (callback_) callback_->OnError(scripted, 1); });
        });
        return scripted;
      }
      Schedule(now + c.enter_delay_ms, false, [this] {
        meta_ = true;
        refresh_ = true;
        ChunkBatch snapshot(sim::ReplayTimeline("snapshot", Position(), 0, duration_, room_.room_id));
        Emit([this] { if (callback_) callback_->OnMetaResolved(); });
        Emit([this, snapshot] {
          if (callback_) snapshot.Hand([this](const ChunkList& l) { callback_->OnSnapshot(l); });
        });
      });
      return 0;
    });
  }

  int Play() override {
    sim::Note(Op("Play"));
    return sim::ScriptedInt(Op("Play"), Locked([&](double) {
      if (!entered_ || failed_) return -1;
      if (completed_) {
        completed_ = false;
        anchor_pos_ = 0;
      }
      play_wanted_ = true;
      return 0;
    }));
  }

  int Pause() override {
    sim::Note(Op("Pause"));
    return sim::ScriptedInt(Op("Pause"), Locked([&](double) {
      if (!entered_ || failed_) return -1;
      play_wanted_ = false;
      return 0;
    }));
  }

  int SeekTo(int64_t position_ms, SeekCompletion completion) override {
    sim::Note(Op("SeekTo"), position_ms, Fn(completion));
    Completion call = [c = std::move(completion)](const sim::Args&) {
      if (c) c();
    };
    const sim::ReplayCompletions rules = sim::GetReplayCompletions();
    uint64_t n = 0;
    const int result = Locked([&](double now) {
      if (!entered_ || failed_) return -1;
      anchor_pos_ = static_cast<double>(std::clamp<int64_t>(position_ms, 0, duration_));
      completed_ = false;
      if (seeks_in_flight_++ == 0) Emit([this] { if (callback_) callback_->OnBufferStarted(); });
      const double done = now + class_.buffer_ms;
      Schedule(done, false, [this] {
        if (--seeks_in_flight_ > 0) return;
        refresh_ = true;
        Emit([this] { if (callback_) callback_->OnBufferEnded(); });
      });
      n = ++seeks_;
      if (!rules.hold) ScheduleCompletion(done, rules, std::move(call));
      return 0;
    });
    if (result == 0 && rules.hold) HoldCompletion("seek", n, rules, std::move(call));
    return sim::ScriptedInt(Op("SeekTo"), result);
  }

  int VideoStartReceive(const BizInfo& stream, VideoSink* sink) override {
    sim::Note(Op("VideoStartReceive"), stream, static_cast<const void*>(sink));
    if (!sink) return sim::ScriptedInt(Op("VideoStartReceive"), -1);
    {
      std::lock_guard<std::mutex> lock(deliver_mu_);
      sinks_[stream] = sink;
    }
    sim::Hold(this, VideoFirer(stream), [this, stream](const sim::Args& a) { FireFrame(stream, a); });
    Locked([&](double) {
      refresh_ = true;
      return 0;
    });
    return sim::ScriptedInt(Op("VideoStartReceive"), 0);
  }

  int VideoStopReceive(const BizInfo& stream) override {
    sim::Note(Op("VideoStopReceive"), stream);
    sim::ReleaseName(VideoFirer(stream), this);
    {
      std::lock_guard<std::mutex> lock(deliver_mu_);  // waits for a frame being drawn
      sinks_.erase(stream);
    }
    return sim::ScriptedInt(Op("VideoStopReceive"), 0);
  }

  int AudioStartReceive(const BizInfo& stream, ActionStatusCallback* callback) override {
    sim::Note(Op("AudioStartReceive"), stream, static_cast<const void*>(callback));
    {
      std::lock_guard<std::mutex> lock(mu_);
      audio_[stream] = callback != nullptr;
    }
    {
      std::lock_guard<std::mutex> lock(deliver_mu_);
      audio_callbacks_[stream] = callback;
    }
    if (callback) {
      sim::Hold(this, AudioFirer(stream), [this, stream](const sim::Args& a) {
        ActionStatus s;
        s.action_type = static_cast<int32_t>(a.Int(0));
        s.duration_ms = a.Int(1);
        s.extra_data = a.Str(2);
        DeliverStatus(stream, s);
      });
    } else {
      sim::ReleaseName(AudioFirer(stream), this);
    }
    return sim::ScriptedInt(Op("AudioStartReceive"), 0);
  }

  int AudioStopReceive(const BizInfo& stream) override {
    sim::Note(Op("AudioStopReceive"), stream);
    sim::ReleaseName(AudioFirer(stream), this);
    {
      std::lock_guard<std::mutex> lock(mu_);
      audio_.erase(stream);
    }
    {
      std::lock_guard<std::mutex> lock(deliver_mu_);  // waits for a status being delivered
      audio_callbacks_.erase(stream);
    }
    return sim::ScriptedInt(Op("AudioStopReceive"), 0);
  }

  int SetPlayRate(float rate) override {
    sim::Note(Op("SetPlayRate"), rate);
    if (!(rate > 0.0f && rate <= 16.0f)) return sim::ScriptedInt(Op("SetPlayRate"), -1);
    return sim::ScriptedInt(Op("SetPlayRate"), Locked([&](double) {
      rate_ = rate;
      return 0;
    }));
  }

  int SetMute(bool mute) override {
    sim::Note(Op("SetMute"), mute);
    return sim::ScriptedInt(Op("SetMute"), Locked([&](double) {
      mute_ = mute;
      return 0;
    }));
  }

  ReplayState GetState() override {
    sim::Note(Op("GetState"));
    ReplayState s;
    Locked([&](double) {
      s = StateNow();
      return 0;
    });
    return s;
  }

  int FetchUserData(int64_t start, int64_t end, FetchCompletion completion) override {
    return Fetch("FetchUserData", "user", start, end, std::move(completion));
  }

  int FetchRadioData(int64_t start, int64_t end, FetchCompletion completion) override {
    return Fetch("FetchRadioData", "radio", start, end, std::move(completion));
  }

  int32_t GetSpeechOutputLevel(const BizInfo& stream) override {
    sim::Note(Op("GetSpeechOutputLevel"), stream);
    int32_t level = 0;
    Locked([&](double) {
      const int role = sim::ReplayRoleOf(stream);
      if (role >= 0 && audio_.count(stream) && Running() && !mute_)
        level = room_replay::SpeechLevel(role, Position());
      return 0;
    });
    return sim::ScriptedInt(Op("GetSpeechOutputLevel"), level);
  }

  // ---- control side ----
  sim::ReplayRoomView View() {
    sim::ReplayRoomView v;
    v.id = id_;
    Locked([&](double) {
      v.state = StateNow();
      v.mute = mute_;
      for (const auto& kv : audio_) v.audio.emplace_back(kv.first, kv.second);
      for (const auto& kv : tasks_) v.pending_completions += kv.second.completion;
      return 0;
    });
    {
      std::lock_guard<std::mutex> lock(deliver_mu_);
      for (const auto& kv : sinks_) v.video.emplace_back(kv.first, frames_[kv.first]);
    }
    for (const std::string& name : sim::HeldNames())
      if (name.compare(0, prefix_.size() + 1, prefix_ + ".") == 0 &&
          (name.find(".seek#") != std::string::npos || name.find(".fetch") != std::string::npos))
        ++v.held_completions;
    return v;
  }

  // Returns once the room's thread has stepped to `t` and delivered that step.
  void SyncTo(double t) {
    std::unique_lock<std::mutex> lock(mu_);
    wanted_ = std::max(wanted_, t);
    cv_.notify_all();
    synced_.wait(lock, [&] { return stop_ || stepped_to_ >= t; });
  }

 private:
  using Completion = std::function<void(const sim::Args&)>;
  struct Task {
    bool completion;
    std::function<void()> run;  // under mu_
  };

  // Runs f(now) under the state lock once the room has caught up with the
  // clock, then lets the room's thread deliver what that produced.
  template <typename F>
  int Locked(F&& f) {
    int result;
    {
      std::lock_guard<std::mutex> lock(mu_);
      const double now = room_replay::Now();
      Step(now);
      result = f(now);
      poke_ = true;
    }
    cv_.notify_all();
    return result;
  }

  bool Running() const {
    return entered_ && meta_ && !failed_ && play_wanted_ && !completed_ && seeks_in_flight_ == 0;
  }
  int64_t Position() const { return static_cast<int64_t>(anchor_pos_); }

  void Emit(std::function<void()> event) { outbox_.push_back(std::move(event)); }

  void Schedule(double due, bool completion, std::function<void()> run) {
    tasks_.emplace(std::make_pair(due, ++task_seq_), Task{completion, std::move(run)});
  }

  void ScheduleCompletion(double done, const sim::ReplayCompletions& rules, Completion call) {
    auto shared = std::make_shared<Completion>(std::move(call));
    Schedule(done + rules.delay_ms, true, [this, shared, times = rules.times] {
      for (int i = 0; i < times; ++i) Emit([shared] { (*shared)(sim::Args()); });
    });
  }

  void HoldCompletion(const char* kind, uint64_t n, const sim::ReplayCompletions& rules, Completion call) {
    sim::Hold(rules.after_leave ? static_cast<const void*>(&kAfterLeave) : this,
              prefix_ + "." + kind + "#" + std::to_string(n), std::move(call));
  }

  int Fetch(const char* method, const char* kind, int64_t start, int64_t end, FetchCompletion completion) {
    sim::Note(Op(method), start, end, Fn(completion));
    const sim::ReplayCompletions rules = sim::GetReplayCompletions();
    uint64_t n = 0;
    Completion call;
    const int result = Locked([&](double now) {
      if (!entered_) return -1;
      n = ++fetches_[kind];
      // Everything the answer needs is copied: it may come after the room is gone.
      call = [kind = std::string(kind), start, end, duration = duration_, room = room_.room_id,
              c = std::move(completion)](const sim::Args& a) {
        ChunkBatch batch(a.size() ? ChunksFrom(a) : sim::ReplayTimeline(kind, start, end, duration, room));
        if (c) batch.Hand(c);
      };
      if (!rules.hold) ScheduleCompletion(now, rules, std::move(call));
      return 0;
    });
    if (result == 0 && rules.hold) HoldCompletion(kind[0] == 'u' ? "fetchUserData" : "fetchRadioData", n, rules,
                                                  std::move(call));
    return sim::ScriptedInt(Op(method), result);
  }

  ReplayState StateNow() const {
    ReplayState s;
    s.room_id = room_.room_id;
    s.live = room_.live;
    s.time_to_play_ms = room_.time_to_play_ms;
    s.state = !entered_ ? kReplayIdle
              : failed_ ? kReplayFailed
              : !meta_  ? kReplayEntering
              : completed_ ? kReplayCompleted
              : play_wanted_ ? kReplayPlaying
                             : kReplayPaused;
    s.seeking = s.buffering = seeks_in_flight_ > 0;
    s.play_rate = rate_;
    s.position_ms = Position();
    if (meta_) {
      s.duration_ms = duration_;
      for (int r = 0; r < sim::kReplayRoles; ++r) {
        s.video_streams.push_back(sim::ReplayStream(r));
        s.audio_streams.push_back(sim::ReplayStream(r));
      }
    }
    s.error = error_;
    return s;
  }

  // Under mu_: runs the tasks due by `now` in their order, playing the class
  // between them, and ends the class when play reaches its end first.
  void Step(double now) {
    for (;;) {
      const double t_task = tasks_.empty() ? kNever : tasks_.begin()->first.first;
      const double t_end = Running() ? anchor_time_ + (static_cast<double>(duration_) - anchor_pos_) / rate_ : kNever;
      const double t = std::min(t_task, t_end);
      if (t > now) break;
      PlayTo(t);
      if (t_end <= t_task) {
        completed_ = true;
        play_wanted_ = false;
        anchor_pos_ = static_cast<double>(duration_);
        Emit([this] { if (callback_) callback_->OnCompleted(); });
        continue;
      }
      Task task = std::move(tasks_.begin()->second);
      tasks_.erase(tasks_.begin());
      task.run();
    }
    PlayTo(now);
  }

  void PlayTo(double t) {
    t = std::max(t, anchor_time_);
    if (Running()) {
      const double pos = std::min(static_cast<double>(duration_), anchor_pos_ + (t - anchor_time_) * rate_);
      Pass(static_cast<int64_t>(std::ceil(anchor_pos_)), static_cast<int64_t>(std::ceil(pos)));
      anchor_pos_ = pos;
    }
    anchor_time_ = t;
  }

  // What play passed over, from <= npt < to: chunks of a kind in a row go
  // in one call, each action status in its own.
  void Pass(int64_t from, int64_t to) {
    if (from >= to) return;
    struct Item {
      int64_t npt;
      int kind;  // 0 user data, 1 radio, 2 status
      BizInfo stream;
      ActionStatus status;
      sim::ReplayChunkBytes chunk;
    };
    std::vector<Item> items;
    for (int kind = 0; kind < 2; ++kind)
      for (auto& c : sim::ReplayTimeline(kind ? "radio" : "user", from, to, duration_, room_.room_id))
        items.push_back({c.npt, kind, {}, {}, std::move(c)});
    for (const auto& kv : audio_) {
      if (!kv.second) continue;
      for (auto& s : room_replay::ActionStatuses(sim::ReplayRoleOf(kv.first), from, to, duration_))
        items.push_back({s.npt, 2, kv.first, std::move(s.status), {}});
    }
    std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.npt < b.npt; });
    for (size_t i = 0; i < items.size();) {
      if (items[i].kind == 2) {
        Emit([this, stream = items[i].stream, status = items[i].status] { DeliverStatus(stream, status); });
        ++i;
        continue;
      }
      const bool radio = items[i].kind == 1;
      std::vector<sim::ReplayChunkBytes> run;
      for (; i < items.size() && items[i].kind == (radio ? 1 : 0); ++i) run.push_back(std::move(items[i].chunk));
      Emit([this, radio, batch = ChunkBatch(std::move(run))] {
        if (!callback_) return;
        batch.Hand([&](const ChunkList& l) { radio ? callback_->OnRadioMessage(l) : callback_->OnUserData(l); });
      });
    }
  }

  void DeliverStatus(const BizInfo& stream, const ActionStatus& status) {
    std::lock_guard<std::mutex> lock(deliver_mu_);
    auto it = audio_callbacks_.find(stream);
    if (it != audio_callbacks_.end() && it->second) it->second->OnActionStatus(status);
  }

  // Under deliver_mu_.
  void DrawTo(const BizInfo& stream, VideoSink* sink, room_replay::FrameBuffer& buffer, int role, int width,
              int height, int64_t pos, int64_t duration) {
    VideoFrame f = buffer.Draw(role, width, height, pos, duration, frames_[stream]++);
    f.timestamp_us = std::chrono::duration_cast<std::chrono::microseconds>(
                         std::chrono::steady_clock::now().time_since_epoch()).count();
    sink->OnFrame(f);
  }

  void DrawFrames(int64_t pos, int64_t duration, const sim::ReplayClass& c) {
    std::lock_guard<std::mutex> lock(deliver_mu_);
    for (const auto& kv : sinks_) {
      const int role = sim::ReplayRoleOf(kv.first);
      if (role < 0) continue;
      const bool teacher = role == sim::kReplayTeacher;
      DrawTo(kv.first, kv.second, buffers_[role], role, teacher ? c.teacher_width : c.student_width,
             teacher ? c.teacher_height : c.student_height, pos, duration);
    }
  }

  // A frame on the firing thread: [positionMs, width, height], each
  // defaulting to the room's; a stream not recorded looks like the teacher.
  void FireFrame(const BizInfo& stream, const sim::Args& a) {
    const int role = std::max(0, sim::ReplayRoleOf(stream));
    int64_t pos, duration;
    int width, height;
    {
      std::lock_guard<std::mutex> lock(mu_);
      pos = a.Has(0) ? a.Int(0) : Position();
      duration = duration_;
      const bool teacher = role == sim::kReplayTeacher;
      width = static_cast<int>(std::clamp<int64_t>(a.Int(1, teacher ? class_.teacher_width : class_.student_width), 32, 4096));
      height = static_cast<int>(std::clamp<int64_t>(a.Int(2, teacher ? class_.teacher_height : class_.student_height), 8, 4096));
    }
    room_replay::FrameBuffer buffer;
    std::lock_guard<std::mutex> lock(deliver_mu_);
    auto it = sinks_.find(stream);
    if (it != sinks_.end()) DrawTo(stream, it->second, buffer, role, width, height, pos, duration);
  }

  std::string VideoFirer(const BizInfo& b) const { return prefix_ + ".video:" + StreamName(b); }
  std::string AudioFirer(const BizInfo& b) const { return prefix_ + ".audio:" + StreamName(b) + ".OnActionStatus"; }

  void HoldEvents() {
    if (!callback_) return;
    using C = ReplayEngineCallback;
    sim::HoldMethods<C>(this, prefix_, callback_,
                        {SIM_METHOD(OnMetaResolved), SIM_METHOD(OnError), SIM_METHOD(OnBufferStarted),
                         SIM_METHOD(OnBufferEnded), SIM_METHOD(OnCompleted)});
    ReplayEngineCallback* cb = callback_;
    const std::pair<const char*, void (C::*)(const ChunkList&)> chunk_events[] = {
        {".OnSnapshot", &C::OnSnapshot}, {".OnUserData", &C::OnUserData}, {".OnRadioMessage", &C::OnRadioMessage}};
    for (const auto& e : chunk_events) {
      sim::Hold(this, prefix_ + e.first, [cb, m = e.second](const sim::Args& a) {
        ChunkBatch(ChunksFrom(a)).Hand([&](const ChunkList& l) { (cb->*m)(l); });
      });
    }
  }

  // The room's thread: steps the class, delivers what it produced, draws.
  void Run() {
    using Steady = std::chrono::steady_clock;
    std::unique_lock<std::mutex> lock(mu_);
    Steady::time_point next_frame = Steady::now();
    while (!stop_) {
      poke_ = false;
      const double now = room_replay::Now();
      Step(now);
      std::vector<std::function<void()>> events;
      events.swap(outbox_);
      const bool running = Running();
      const Steady::time_point real = Steady::now();
      const auto period = std::chrono::microseconds(class_.fps > 0 ? 1000000 / class_.fps : 0);
      bool draw = refresh_ && meta_ && !failed_;
      refresh_ = false;
      if (!running || class_.fps == 0) {
        next_frame = real;
      } else if (real >= next_frame) {
        draw = true;
        next_frame += period;
        if (next_frame < real) next_frame = real + period;
      }
      const int64_t pos = Position(), duration = duration_;
      const sim::ReplayClass c = class_;
      lock.unlock();
      for (auto& e : events) e();
      events.clear();  // completions' closures go here, off the lock
      if (draw) DrawFrames(pos, duration, c);
      lock.lock();
      stepped_to_ = now;
      synced_.notify_all();
      Steady::time_point wake = real + kLongestSleep;
      if (running && c.fps > 0) wake = std::min(wake, next_frame);
      if (!room_replay::Manual()) {
        double next = tasks_.empty() ? kNever : tasks_.begin()->first.first;
        if (Running()) next = std::min(next, anchor_time_ + (static_cast<double>(duration_) - anchor_pos_) / rate_);
        if (next - now < kLongestSleep.count())
          wake = std::min(wake, real + std::chrono::microseconds(static_cast<int64_t>(std::max(0.0, next - now) * 1000)));
      }
      cv_.wait_until(lock, wake, [&] { return stop_ || poke_ || !outbox_.empty() || refresh_ || wanted_ > stepped_to_; });
    }
  }

  ReplayEngineCallback* const callback_;
  int64_t id_ = 0;
  std::string prefix_;
  std::thread thread_;

  std::mutex mu_;  // the room's state; taken before deliver_mu_
  std::condition_variable cv_;      // wakes the room's thread
  std::condition_variable synced_;  // the thread finished a step
  bool stop_ = false, poke_ = false;
  double stepped_to_ = -kNever, wanted_ = -kNever;
  sim::ReplayClass class_;
  RoomInfo room_;
  int64_t duration_ = 0;
  bool entered_ = false, meta_ = false, failed_ = false, play_wanted_ = false, completed_ = false, mute_ = false;
  bool refresh_ = false;  // draw one frame of the position now
  ReplayError error_;
  double anchor_pos_ = 0;   // the position at anchor_time_; play is passed up to it
  double anchor_time_ = 0;  // room clock
  float rate_ = 1.0f;
  int seeks_in_flight_ = 0;
  uint64_t seeks_ = 0, task_seq_ = 0;
  std::map<std::string, uint64_t> fetches_;
  std::map<std::pair<double, uint64_t>, Task> tasks_;
  std::vector<std::function<void()>> outbox_;  // delivered by the room's thread, in order
  std::map<BizInfo, bool> audio_;              // received streams, with a callback

  std::mutex deliver_mu_;  // held while a sink or status callback runs
  std::map<BizInfo, VideoSink*> sinks_;
  std::map<BizInfo, uint32_t> frames_;
  std::map<BizInfo, ActionStatusCallback*> audio_callbacks_;
  room_replay::FrameBuffer buffers_[sim::kReplayRoles];  // the room's thread's own
};

const bool kResetHook = (sim::OnReset([] {
  sim::SetReplayCompletions(sim::ReplayCompletions());
  sim::Release(&kAfterLeave);
}), true);

}  // namespace

ReplayEngine* ReplayEngine::Create(ReplayEngineCallback* callback) {
  sim::Note(Op("Create"), static_cast<const void*>(callback));
  if (!sim::ScriptedBool(Op("Create"), true)) return nullptr;
  return new SimRoom(callback);
}

void ReplayEngine::Destroy(ReplayEngine* engine) {
  sim::Note(Op("Destroy"), static_cast<const void*>(engine));
  delete engine;
}

}  // namespace replay
}  // namespace korin

namespace sim {

void SetReplayCompletions(const ReplayCompletions& in) {
  ReplayCompletions c = in;
  c.delay_ms = std::clamp(c.delay_ms, 0, 60000);
  c.times = std::clamp(c.times, 0, 10);
  auto& r = korin::replay::Rules();
  std::lock_guard<std::mutex> lock(r.mu);
  r.value = c;
}

ReplayCompletions GetReplayCompletions() {
  auto& r = korin::replay::Rules();
  std::lock_guard<std::mutex> lock(r.mu);
  return r.value;
}

double AdvanceReplayClock(double ms) {
  const double target = room_replay::Advance(ms);
  room_replay::Live<korin::replay::SimRoom>().ForEach([&](korin::replay::SimRoom& room) { room.SyncTo(target); });
  return target;
}

std::vector<ReplayRoomView> ReplayRooms() {
  std::vector<ReplayRoomView> out;
  room_replay::Live<korin::replay::SimRoom>().ForEach([&](korin::replay::SimRoom& room) { out.push_back(room.View()); });
  return out;
}

}  // namespace sim
