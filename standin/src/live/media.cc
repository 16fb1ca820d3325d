// Synthetic media of the simulated live class: frames for the video sinks the
// add-on hands over, microphone audio for its recording callback, and the
// settings and statistics the control module reads.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

#include "live/internal.h"
#include "sim/frames.h"
#include "sim/live.h"
#include "sim/sim.h"

namespace live {

const char kCameraSink[] = "sink:camera";

std::string RemoteSink(int user_id, int type) {
  return sim::kSinkPrefix + std::to_string(user_id) + ":" + std::to_string(type);
}

std::string LocalSink(int type) { return std::string(sim::kSinkPrefix) + "local:" + std::to_string(type); }

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kMaxSide = 8192;
constexpr int kLocalUser = 256;

// Pixels an engine-side producer already made for the frame being fired.
thread_local const uint8_t* tl_pixels = nullptr;

struct SinkClock {
  Clock::time_point due;
  int64_t frame = 0;
};

struct Video {
  std::mutex mu;
  std::condition_variable cv;
  std::thread ticker;
  bool running = false;
  sim::VideoSpec all;
  std::map<std::string, sim::VideoSpec> per_sink;
  std::map<std::string, SinkClock> clocks;  // of the sinks held now
  std::set<std::string> inflight;           // one frame per sink at a time: a slow sink skips ticks
  std::map<std::string, uint64_t> stats;
};

Video& V() {
  static Video* v = new Video;
  return *v;
}

int64_t NowUs() {
  return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now().time_since_epoch()).count();
}

void PutPixel(uint8_t* p, uint8_t b, uint8_t g, uint8_t r) {
  p[0] = b;
  p[1] = g;
  p[2] = r;
  p[3] = 255;
}

// A saturated colour whose hue is spread by the golden ratio over user ids.
void UserColour(int user_id, uint8_t* b, uint8_t* g, uint8_t* r) {
  double h = std::fmod(static_cast<uint32_t>(user_id) * 0.6180339887498949, 1.0) * 6;
  int sector = static_cast<int>(h);
  double f = h - sector;
  auto c = [](double v) { return static_cast<uint8_t>(std::lround(40 + v * 215)); };
  double rgb[6][3] = {{1, f, 0}, {1 - f, 1, 0}, {0, 1, f}, {0, 1 - f, 1}, {f, 0, 1}, {1, 0, 1 - f}};
  *r = c(rgb[sector % 6][0]);
  *g = c(rgb[sector % 6][1]);
  *b = c(rgb[sector % 6][2]);
}

}  // namespace

void HoldSink(const void* owner, const std::string& name, tavel::VideoSinkInterface* sink) {
  HoldFrameSink(owner, name, [sink](const korin::QXVideoFrame& frame) { sink->OnFrame(frame); });
}

void HoldFrameSink(const void* owner, const std::string& name, FrameTarget deliver) {
  sim::Hold(owner, name, [name, deliver = std::move(deliver)](const sim::Args& a) {
    int64_t w = a.Int(0), h = a.Int(1);
    if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide) return;
    // Frames live in engine memory that is gone once OnFrame returns.
    std::unique_ptr<uint8_t[]> own;
    const uint8_t* pixels = tl_pixels;
    if (!pixels) {
      own.reset(new uint8_t[w * h * 4]);
      sim::Pattern(static_cast<int>(w), static_cast<int>(h), a.Int(2), own.get());
      pixels = own.get();
    }
    korin::QXVideoFrame frame;
    frame.width = static_cast<int>(w);
    frame.height = static_cast<int>(h);
    frame.timestampUs = NowUs();
    frame.buffer = sim::ViewBGRA(pixels, frame.width, frame.height, frame.width * 4);
    // (width, height, seed, format): the same picture in the format asked for.
    korin::QXI420Buffer planes;
    if (a.Int(3) == static_cast<int64_t>(korin::QXPixelFormat::kI420) && sim::ToI420(frame.buffer, &planes))
      frame.buffer = sim::View(planes);
    deliver(frame);
    std::lock_guard<std::mutex> lock(V().mu);
    ++V().stats[name];
  });
}

void ReleaseSink(const void* owner, const std::string& name) { sim::ReleaseName(name, owner); }

// ---- microphone -----------------------------------------------------------
namespace {

struct Mic {
  std::mutex mu;
  std::condition_variable cv;
  std::thread producer;
  bool running = false;
  bool notify_on_exit = false;
  int interval_ms = 10;
  const void* owner = nullptr;  // the recording's root, while armed
  bool armed = false;
  bool started = false;  // OnAudioRecordingStart was called for this recording
  bool stop_requested = false;
  int64_t next_sample = 0;
  sim::AudioStats stats;
};

Mic& M() {
  static Mic* m = new Mic;
  return *m;
}

constexpr char kMicStart[] = "MicrophoneRecordingCallback.OnAudioRecordingStart";
constexpr char kMicStop[] = "MicrophoneRecordingCallback.OnAudioRecordingStop";
constexpr char kMicPcm[] = "MicrophoneRecordingCallback.OnMicrophoneRecordedPcmData";

bool FireMic(const char* name, const void* owner, sim::Args args = sim::Args()) {
  return sim::FireHere(name, args, nullptr, owner);
}

// Every call into the recording callback comes from this one thread, so a
// stop is always heard after the last chunk.
void MicLoop() {
  Mic& m = M();
  std::unique_lock<std::mutex> lock(m.mu);
  auto next = Clock::now();
  while (m.running) {
    if (m.stop_requested) {
      const void* owner = m.owner;
      lock.unlock();
      bool heard = FireMic(kMicStop, owner);
      lock.lock();
      m.stats.stops += heard;
      m.started = m.stop_requested = false;
      m.cv.notify_all();
      continue;
    }
    if (Clock::now() < next) {
      m.cv.wait_until(lock, next);
      continue;
    }
    next += std::chrono::milliseconds(m.interval_ms);
    if (next < Clock::now()) next = Clock::now() + std::chrono::milliseconds(m.interval_ms);
    if (!m.armed) continue;
    const void* owner = m.owner;
    bool first = !m.started;
    m.started = true;
    int64_t sample = m.next_sample;
    m.next_sample += sim::kMicChunkSamples;
    lock.unlock();
    bool started = first && FireMic(kMicStart, owner);
    sim::Bytes pcm(sim::kMicChunkSamples * 2);
    for (int i = 0; i < sim::kMicChunkSamples; ++i) {
      auto v = static_cast<uint16_t>(sim::MicSample(sample + i));
      pcm[2 * i] = static_cast<uint8_t>(v & 0xff);
      pcm[2 * i + 1] = static_cast<uint8_t>(v >> 8);
    }
    bool chunk = FireMic(kMicPcm, owner, sim::ArgsOf(std::move(pcm)));
    lock.lock();
    m.stats.starts += started;
    m.stats.chunks += chunk;
  }
  if (m.notify_on_exit && m.armed && m.started) {
    const void* owner = m.owner;
    lock.unlock();
    bool heard = FireMic(kMicStop, owner);
    lock.lock();
    m.stats.stops += heard;
  }
  m.started = m.stop_requested = false;
  m.cv.notify_all();
}

}  // namespace

void MicRegistered(const void* owner) {
  std::lock_guard<std::mutex> lock(M().mu);
  M().owner = owner;
  M().armed = true;
  M().started = false;
  M().next_sample = 0;
}

void MicStopped(const void* owner) {
  Mic& m = M();
  std::unique_lock<std::mutex> lock(m.mu);
  if (m.owner != owner || !m.armed) return;
  m.armed = false;
  if (m.started && m.running) {
    m.stop_requested = true;
    m.cv.notify_all();
    m.cv.wait(lock, [&] { return !m.stop_requested || !m.running; });
  }
  m.started = false;
  m.owner = nullptr;
}

void MicDropped(const void* owner) {
  std::lock_guard<std::mutex> lock(M().mu);
  if (M().owner != owner) return;
  M().armed = M().started = false;
  M().owner = nullptr;
}

// ---- settings and counts ----------------------------------------------------
namespace {

tavel::RecordingMicrophoneInfo DefaultRecordingInfo() {
  // Distinct, non-zero, and wider than 32 bits where the field is.
  tavel::RecordingMicrophoneInfo i;
  i.encoded_recorded_ms = 4294967396LL;
  i.encoded_voice_activity_ms = 2345;
  i.encoded_non_zero_sample_count = 34567;
  i.pcm_recorded_sample_count = 456789;
  i.pcm_recorded_sample_max = 32100;
  i.recording_start_time_ms = 1767225600123LL;
  i.start_during_interruption = true;
  i.interruption_after_start = false;
  i.error_code = 11;
  i.hint = 22;
  return i;
}

constexpr int kDefaultConnectDelayMs = 5;

struct Settings {
  std::mutex mu;
  tavel::RecordingMicrophoneInfo recording = DefaultRecordingInfo();
  std::map<std::string, int> objects;
  std::atomic<bool> auto_connect{true};
  std::atomic<int> connect_delay_ms{kDefaultConnectDelayMs};
};

Settings& St() {
  static Settings* s = new Settings;
  return *s;
}

}  // namespace

void FillRecordingInfo(tavel::RecordingMicrophoneInfo* info) {
  if (!info) return;
  std::lock_guard<std::mutex> lock(St().mu);
  *info = St().recording;
}

void CountObject(const char* kind, int delta) {
  std::lock_guard<std::mutex> lock(St().mu);
  St().objects[kind] += delta;
}

namespace {
const bool kResetHook = (sim::OnReset([] {
  sim::StopVideo();
  sim::StopAudio(false);
  {
    std::lock_guard<std::mutex> lock(V().mu);
    V().stats.clear();
  }
  {
    std::lock_guard<std::mutex> lock(M().mu);
    M().stats = {};
  }
  sim::SetAutoConnect(true, kDefaultConnectDelayMs);
  sim::SetRecordingInfo(DefaultRecordingInfo());
}), true);
}  // namespace

}  // namespace live

// ---- control ------------------------------------------------------------------
namespace sim {

std::vector<std::string> SinkNames() {
  std::vector<std::string> out;
  for (auto& n : HeldNames())
    if (n.compare(0, sizeof kSinkPrefix - 1, kSinkPrefix) == 0) out.push_back(n);
  return out;
}

void Pattern(int width, int height, int64_t seed, uint8_t* out) {
  auto s = static_cast<uint32_t>(static_cast<uint64_t>(seed) * 2654435761u);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      live::PutPixel(out + (static_cast<size_t>(y) * width + x) * 4, static_cast<uint8_t>(x + s),
                     static_cast<uint8_t>(y + (s >> 8)), static_cast<uint8_t>((x ^ y) + (s >> 16)));
    }
  }
}

void TestPattern(int width, int height, int user_id, int64_t frame, uint8_t* out) {
  static const uint8_t kBars[8][3] = {{191, 191, 191}, {0, 191, 191}, {191, 191, 0}, {0, 191, 0},
                                      {191, 0, 191},   {0, 0, 191},   {191, 0, 0},   {0, 0, 0}};  // B, G, R
  uint8_t ub, ug, ur;
  live::UserColour(user_id, &ub, &ug, &ur);
  int band = height * 3 / 4;  // bars above, the user's colour below
  int side = std::max(2, std::min(width, height) / 5);
  int travel = std::max(0, width - side);
  int64_t pos = travel ? frame * 4 % (2 * travel) : 0;
  int sx = static_cast<int>(pos < travel ? pos : 2 * travel - pos);
  int sy = std::max(0, (band - side) / 2);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t* p = out + (static_cast<size_t>(y) * width + x) * 4;
      bool square = x >= sx && x < sx + side && y >= sy && y < sy + side;
      if (y >= band || square) {
        live::PutPixel(p, ub, ug, ur);
      } else {
        const uint8_t* c = kBars[static_cast<int64_t>(x) * 8 / width];
        live::PutPixel(p, c[0], c[1], c[2]);
      }
    }
  }
}

int SinkUser(const std::string& name) {
  size_t start = sizeof kSinkPrefix - 1;
  if (name.compare(0, start, kSinkPrefix) != 0) return 0;
  std::string user = name.substr(start, name.find(':', start) - start);
  if (user == "local" || user == "camera") return live::kLocalUser;
  return std::atoi(user.c_str());
}

bool DeliverFrame(const std::string& name, int width, int height, int64_t seed, const uint8_t* pixels, int format) {
  if (name.compare(0, sizeof kSinkPrefix - 1, kSinkPrefix) != 0) return false;
  live::tl_pixels = pixels;
  bool fired = FireHere(name, ArgsOf(static_cast<double>(width), static_cast<double>(height),
                                static_cast<double>(seed), static_cast<double>(format)));
  live::tl_pixels = nullptr;
  return fired;
}

namespace {

sim::VideoSpec Clamped(sim::VideoSpec s) {
  s.width = std::max(1, std::min(s.width, live::kMaxSide));
  s.height = std::max(1, std::min(s.height, live::kMaxSide));
  s.fps = std::max(1, std::min(s.fps, 240));
  return s;
}

live::Clock::duration Period(const sim::VideoSpec& s) { return std::chrono::microseconds(1000000 / s.fps); }

// The ticks of a rate lie on one grid counted from the start, so all sinks of
// a rate are served in one wake-up however many there are.
live::Clock::time_point NextTick(live::Clock::time_point start, live::Clock::time_point after, const sim::VideoSpec& s) {
  auto p = Period(s);
  return start + ((after - start) / p + 1) * p;
}

// One frame of the sink's own clock, on the engine thread that always serves it.
void Produce(live::Video& v, const std::string& name, const sim::VideoSpec& s, int64_t frame) {
  int user = SinkUser(name);
  auto thread = static_cast<int>(std::hash<std::string>()(name) % 8);
  RunOnEngineThread(thread, [&v, name, s, user, frame] {
    std::unique_ptr<uint8_t[]> pixels(new uint8_t[static_cast<size_t>(s.width) * s.height * 4]);
    TestPattern(s.width, s.height, user, frame, pixels.get());
    DeliverFrame(name, s.width, s.height, frame, pixels.get());
    pixels.reset();
    std::lock_guard<std::mutex> l(v.mu);
    v.inflight.erase(name);
    v.cv.notify_all();
  }, false);
}

}  // namespace

void StartVideo(const VideoSpec& all, const std::map<std::string, VideoSpec>& per_sink) {
  StopVideo();
  live::Video& v = live::V();
  std::lock_guard<std::mutex> lock(v.mu);
  v.all = Clamped(all);
  v.per_sink.clear();
  for (auto& kv : per_sink) v.per_sink[kv.first] = Clamped(kv.second);
  v.clocks.clear();
  v.running = true;
  v.ticker = std::thread([&v] {
    std::unique_lock<std::mutex> lock(v.mu);
    const auto start = live::Clock::now();
    while (v.running) {
      auto now = live::Clock::now();
      // A sink held from now on is noticed at the next tick of the default rate.
      auto wake = NextTick(start, now, v.all);
      std::set<std::string> held;
      for (const std::string& name : SinkNames()) {
        held.insert(name);
        auto spec = v.per_sink.find(name);
        const VideoSpec& s = spec == v.per_sink.end() ? v.all : spec->second;
        live::SinkClock& c = v.clocks.emplace(name, live::SinkClock{now, 0}).first->second;
        if (c.due <= now) {
          // The picture moves with the ticks: one skipped still advances it.
          int64_t frame = c.frame++;
          if (v.inflight.insert(name).second) Produce(v, name, s, frame);
          c.due = NextTick(start, now, s);
        }
        wake = std::min(wake, c.due);
      }
      // A sink dropped and held again starts its picture over.
      for (auto it = v.clocks.begin(); it != v.clocks.end();) it = held.count(it->first) ? std::next(it) : v.clocks.erase(it);
      v.cv.wait_until(lock, wake, [&] { return !v.running; });
    }
  });
}

void StopVideo() {
  live::Video& v = live::V();
  std::thread ticker;
  {
    std::lock_guard<std::mutex> lock(v.mu);
    v.running = false;
    ticker = std::move(v.ticker);
  }
  v.cv.notify_all();
  if (ticker.joinable()) ticker.join();
  std::unique_lock<std::mutex> lock(v.mu);
  v.cv.wait(lock, [&] { return v.inflight.empty(); });
}

std::map<std::string, uint64_t> VideoStats() {
  std::lock_guard<std::mutex> lock(live::V().mu);
  return live::V().stats;
}

void StartAudio(int interval_ms) {
  live::Mic& m = live::M();
  std::lock_guard<std::mutex> lock(m.mu);
  m.interval_ms = std::max(1, interval_ms);
  if (m.running) return;
  m.running = true;
  m.notify_on_exit = false;
  m.producer = std::thread(live::MicLoop);
}

void StopAudio(bool notify) {
  live::Mic& m = live::M();
  std::thread producer;
  {
    std::lock_guard<std::mutex> lock(m.mu);
    m.running = false;
    m.notify_on_exit = notify;
    producer = std::move(m.producer);
  }
  m.cv.notify_all();
  if (producer.joinable()) producer.join();
}

AudioStats GetAudioStats() {
  std::lock_guard<std::mutex> lock(live::M().mu);
  return live::M().stats;
}

int16_t MicSample(int64_t index) {
  constexpr double kTwoPi = 6.283185307179586;
  return static_cast<int16_t>(std::lround(8000 * std::sin(kTwoPi * 440 * static_cast<double>(index % kMicSampleRate) /
                                                          kMicSampleRate)));
}

void SetAutoConnect(bool on, int delay_ms) {
  live::St().auto_connect = on;
  live::St().connect_delay_ms = std::max(0, delay_ms);
}

bool AutoConnect() { return live::St().auto_connect; }
int AutoConnectDelayMs() { return live::St().connect_delay_ms; }

void SetRecordingInfo(const tavel::RecordingMicrophoneInfo& info) {
  std::lock_guard<std::mutex> lock(live::St().mu);
  live::St().recording = info;
}

tavel::RecordingMicrophoneInfo RecordingInfo() {
  std::lock_guard<std::mutex> lock(live::St().mu);
  return live::St().recording;
}

std::map<std::string, int> LiveObjects() {
  std::lock_guard<std::mutex> lock(live::St().mu);
  return live::St().objects;
}

}  // namespace sim
