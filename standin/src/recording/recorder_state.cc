#include "recording/recorder_state.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>

#include "record_engine/common_error_code.h"


namespace sim {
namespace {

struct ClockState {
  std::mutex mu;
  bool manual = false;
  int64_t manual_ms = 0;
  RecordingTiming timing;
  std::map<std::string, int> numbers;
};

ClockState& C() {
  static ClockState* c = [] {
    auto* state = new ClockState;
    OnReset([state] {
      std::lock_guard<std::mutex> lock(state->mu);
      state->manual = false;
      state->manual_ms = 0;
      state->timing = RecordingTiming();
      state->numbers.clear();
    });
    return state;
  }();
  return *c;
}

int64_t SteadyMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

constexpr char kSegmentMagic[] = "lumen-standin-segment 1";

}  // namespace

int64_t RecordingClockMs() {
  std::lock_guard<std::mutex> lock(C().mu);
  return C().manual ? C().manual_ms : SteadyMs();
}

void SetRecordingClockManual(bool manual) {
  std::lock_guard<std::mutex> lock(C().mu);
  if (manual && !C().manual) C().manual_ms = 0;
  C().manual = manual;
}

void AdvanceRecordingClock(int64_t ms) {
  std::lock_guard<std::mutex> lock(C().mu);
  C().manual_ms += std::max<int64_t>(0, ms);
}

void SetRecordingTiming(const RecordingTiming& timing) {
  std::lock_guard<std::mutex> lock(C().mu);
  C().timing = timing;
}

RecordingTiming GetRecordingTiming() {
  std::lock_guard<std::mutex> lock(C().mu);
  return C().timing;
}

int64_t Segment::DurationMs() const {
  int64_t total = 0;
  for (const Span& s : spans) total += s.end_ms - s.start_ms;
  return total;
}

int64_t Segment::RecordedTimeAt(int64_t position_ms) const {
  const int64_t duration = DurationMs();
  if (duration <= 0) return -1;
  int64_t p = std::min(std::max<int64_t>(0, position_ms), duration - 1);
  // The frame shown at p is the last one captured at or before it.
  if (fps > 0) p = p * fps / 1000 * 1000 / fps;
  for (const Span& s : spans) {
    const int64_t length = s.end_ms - s.start_ms;
    if (p < length) return s.start_ms + p;
    p -= length;
  }
  return spans.back().end_ms - 1;
}

bool WriteSegment(const std::string& path, const Segment& segment) {
  // Absolute paths only: the working directory is nobody's recording folder.
  const bool absolute = !path.empty() && (path[0] == '/' || path[0] == '\\' || (path.size() > 2 && path[1] == ':'));
  if (!absolute) return false;
  std::ofstream out(path, std::ios::trunc);
  if (!out) return false;
  out << kSegmentMagic << "\n"
      << "size " << segment.width << " " << segment.height << "\n"
      << "fps " << segment.fps << "\n";
  for (const Span& s : segment.spans) out << "span " << s.start_ms << " " << s.end_ms << "\n";
  out.flush();
  return static_cast<bool>(out);
}

bool ReadSegment(const std::string& path, Segment* segment) {
  std::ifstream in(path);
  std::string line;
  if (!in || !std::getline(in, line) || line != kSegmentMagic) return false;
  Segment s;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string key;
    fields >> key;
    if (key == "size") {
      fields >> s.width >> s.height;
    } else if (key == "fps") {
      fields >> s.fps;
    } else if (key == "span") {
      Span span;
      fields >> span.start_ms >> span.end_ms;
      if (!fields || span.end_ms < span.start_ms) return false;
      s.spans.push_back(span);
    }
    if (!fields) return false;
  }
  *segment = std::move(s);
  return true;
}

int ThumbnailStride(int width) { return ((std::max(0, width) * 4 + 63) / 64) * 64 + 64; }

namespace {

// Digits 0-9 and '.', 3 x 5 cells, top row first, high bit left.
constexpr uint8_t kGlyphs[11][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1}, {7, 4, 7, 1, 7},
    {7, 4, 7, 5, 7}, {7, 1, 1, 1, 1}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7}, {0, 0, 0, 0, 2},
};

}  // namespace

Picture DrawRecordedTime(int width, int height, int64_t recorded_ms) {
  Picture p;
  p.width = std::max(1, width);
  p.height = std::max(1, height);
  p.stride = ThumbnailStride(p.width);
  p.pixels.assign(static_cast<size_t>(p.stride) * p.height, 0xEE);
  const int64_t ms = std::max<int64_t>(0, recorded_ms);
  // A hue per second, spread by the golden ratio, so that neighbours differ.
  const double hue = std::fmod(static_cast<double>(ms / 1000) * 0.6180339887498949, 1.0);
  const uint8_t background[3] = {static_cast<uint8_t>(60 + 120 * hue), static_cast<uint8_t>(180 - 120 * hue),
                                 static_cast<uint8_t>(40 + 100 * std::fabs(0.5 - hue))};
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      uint8_t* px = &p.pixels[static_cast<size_t>(y) * p.stride + x * 4];
      px[0] = background[0];
      px[1] = background[1];
      px[2] = background[2];
      px[3] = 255;
    }
  // Seconds with one decimal, in white, as large as fits.
  char text[32];
  std::snprintf(text, sizeof text, "%lld.%lld", static_cast<long long>(ms / 1000),
                static_cast<long long>(ms / 100 % 10));
  const int chars = static_cast<int>(std::char_traits<char>::length(text));
  const int scale = std::max(1, std::min(p.width / (chars * 4 + 1), p.height / 7));
  const int x0 = std::max(0, (p.width - (chars * 4 - 1) * scale) / 2);
  const int y0 = std::max(0, (p.height - 5 * scale) / 2);
  for (int c = 0; c < chars; ++c) {
    const uint8_t* glyph = kGlyphs[text[c] == '.' ? 10 : text[c] - '0'];
    for (int row = 0; row < 5; ++row)
      for (int col = 0; col < 3; ++col) {
        if (!(glyph[row] & (4 >> col))) continue;
        for (int dy = 0; dy < scale; ++dy)
          for (int dx = 0; dx < scale; ++dx) {
            const int x = x0 + (c * 4 + col) * scale + dx, y = y0 + row * scale + dy;
            if (x >= p.width || y >= p.height) continue;
            uint8_t* px = &p.pixels[static_cast<size_t>(y) * p.stride + x * 4];
            px[0] = px[1] = px[2] = 255;
          }
      }
  }
  uint8_t* first = p.pixels.data();
  first[0] = static_cast<uint8_t>(ms);
  first[1] = static_cast<uint8_t>(ms >> 8);
  first[2] = static_cast<uint8_t>(ms >> 16);
  first[3] = 255;
  return p;
}

int64_t ReadRecordedTime(const uint8_t* first_pixel) {
  return first_pixel[0] | (first_pixel[1] << 8) | (static_cast<int64_t>(first_pixel[2]) << 16);
}

}  // namespace sim

namespace recording {

const void* NewOwnerKey() {
  // Addresses in blocks that are never freed: unique and never reused.
  constexpr size_t kBlock = 1 << 20;
  static std::mutex mu;
  static const char* block = nullptr;
  static size_t used = kBlock;
  std::lock_guard<std::mutex> lock(mu);
  if (used == kBlock) {
    block = new char[kBlock];
    used = 0;
  }
  return block + used++;
}

void FireSoon(const void* owner, const std::string& name, sim::Args args) {
  // One thread per owner: its events keep their order.
  const auto thread = static_cast<int>(reinterpret_cast<uintptr_t>(owner) % 8);
  sim::RunOnEngineThread(thread, [owner, name, args = std::move(args)] { sim::FireHere(name, args, nullptr, owner); },
                         false);
}

int NextNumber(const char* kind) {
  std::lock_guard<std::mutex> lock(sim::C().mu);
  return ++sim::C().numbers[kind];
}

bool Timeline::Start() {
  std::lock_guard<std::mutex> lock(mu_);
  if (state_ != kIdle) return false;
  origin_ms_ = open_since_ms_ = sim::RecordingClockMs();
  segment_.spans.clear();
  state_ = kRecording;
  return true;
}

bool Timeline::Pause() {
  std::lock_guard<std::mutex> lock(mu_);
  if (state_ != kRecording) return false;
  segment_ = SnapshotLocked(sim::RecordingClockMs());
  state_ = kPaused;
  return true;
}

bool Timeline::Resume() {
  std::lock_guard<std::mutex> lock(mu_);
  if (state_ != kPaused) return false;
  open_since_ms_ = sim::RecordingClockMs();
  state_ = kRecording;
  return true;
}

bool Timeline::Stop(sim::Segment* recorded) {
  std::lock_guard<std::mutex> lock(mu_);
  if (state_ == kIdle) return false;
  *recorded = SnapshotLocked(sim::RecordingClockMs());
  segment_.spans.clear();
  state_ = kIdle;
  return true;
}

bool Timeline::DeleteLast() {
  std::lock_guard<std::mutex> lock(mu_);
  if (state_ == kIdle) return false;
  // While recording, the segment since the last resume is the last one: it
  // is dropped and recording goes on from now.
  const int64_t now = sim::RecordingClockMs();
  if (state_ == kRecording && now > open_since_ms_) {
    open_since_ms_ = now;
    return true;
  }
  if (segment_.spans.empty()) return false;
  segment_.spans.pop_back();
  return true;
}

void Timeline::DeleteAll() {
  std::lock_guard<std::mutex> lock(mu_);
  segment_.spans.clear();
  open_since_ms_ = sim::RecordingClockMs();
}

int64_t Timeline::DurationMs() {
  std::lock_guard<std::mutex> lock(mu_);
  return SnapshotLocked(sim::RecordingClockMs()).DurationMs();
}

Timeline::State Timeline::state() {
  std::lock_guard<std::mutex> lock(mu_);
  return state_;
}

void Timeline::SetFormat(int width, int height, int fps) {
  std::lock_guard<std::mutex> lock(mu_);
  segment_.width = width;
  segment_.height = height;
  segment_.fps = fps;
}

sim::Segment Timeline::SnapshotLocked(int64_t now) const {
  sim::Segment s = segment_;
  if (state_ == kRecording && now > open_since_ms_)
    s.spans.push_back({open_since_ms_ - origin_ms_, now - origin_ms_});
  return s;
}

std::string SegmentPath(const std::string& root, const char* kind) {
  if (root.empty()) return "";
  const char last = root.back();
  return root + (last == '/' || last == '\\' ? "" : "/") + kind + "-" + std::to_string(NextNumber(kind)) + ".seg";
}

std::string Keep(const std::string& path, const sim::Segment& segment, bool save) {
  if (!save || path.empty()) return "";
  return sim::WriteSegment(path, segment) ? path : "";
}

using record_engine::CommonErrorCode;

int Recording::Report(const char* method, sim::Args args) {
  FireSoon(owner_, events_ + "." + method, std::move(args));
  return 0;
}

int Recording::Started(int r, int width, int height, int fps, const std::function<void()>& holding) {
  if (r != 0) return r;
  timeline_.SetFormat(width, height, fps);
  if (!timeline_.Start()) return CommonErrorCode::kWrongState;
  if (holding) holding();
  Report("OnRecordStarted");
  if (first_frame_) Report("OnFirstFrameReady");
  return 0;
}

int Recording::Paused(int r) {
  return r != 0 ? r : timeline_.Pause() ? Report("OnRecordPaused") : CommonErrorCode::kWrongState;
}

int Recording::Resumed(int r) {
  return r != 0 ? r : timeline_.Resume() ? Report("OnRecordResumed") : CommonErrorCode::kWrongState;
}

int Recording::Stopped(int r, const std::string& root, const std::string& file, bool save) {
  if (r != 0) return r;
  sim::Segment recorded;
  if (!timeline_.Stop(&recorded)) return CommonErrorCode::kWrongState;
  const std::string path = file.empty() ? SegmentPath(root, kind_) : file;
  return Report("OnRecordStopped", sim::ArgsOf(Keep(path, recorded, save)));
}

int Recording::SegmentDeleted(int r) {
  return r != 0 ? r : timeline_.DeleteLast() ? Report("OnSegmentDeleted") : CommonErrorCode::kWrongState;
}

int64_t Recording::DurationMs(const std::string& op) {
  sim::Note(op);
  return sim::ScriptedInt(op, static_cast<int>(timeline_.DurationMs()));
}

}  // namespace recording
