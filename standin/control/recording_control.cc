#include "recording_control.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "korin/qx_video_thumbnail_tools.h"
#include "record_fields.h"
#include "sim/live.h"
#include "sim/recording.h"

namespace recording_control {
namespace {

using replay_control::ReadFields;

double Num(const Napi::Value& v, double def = 0) { return v.IsNumber() ? v.As<Napi::Number>().DoubleValue() : def; }
std::string Path(const Napi::CallbackInfo& info) {
  return info.Length() > 0 && info[0].IsString() ? info[0].As<Napi::String>().Utf8Value() : std::string();
}

sim::Segment ToSegment(const Napi::Value& v) {
  sim::Segment s;
  ReadFields(v, "width", s.width, "height", s.height, "fps", s.fps);
  Napi::Value spans = v.IsObject() ? v.As<Napi::Object>().Get("spans") : v;
  if (!spans.IsArray()) return s;
  Napi::Array a = spans.As<Napi::Array>();
  for (uint32_t i = 0; i < a.Length(); ++i) {
    sim::Span span;
    ReadFields(a.Get(i), "startMs", span.start_ms, "endMs", span.end_ms);
    s.spans.push_back(span);
  }
  return s;
}

bool Side(const Napi::CallbackInfo& info, size_t i, int* out) {
  *out = static_cast<int>(info.Length() > i ? Num(info[i]) : 0);
  if (*out >= 1 && *out <= 8192) return true;
  Napi::RangeError::New(info.Env(), "width and height must be 1..8192").ThrowAsJavaScriptException();
  return false;
}

}  // namespace

Napi::Value RecordingClock(const Napi::CallbackInfo& info) {
  if (info.Length() > 0 && info[0].IsObject())
    sim::SetRecordingClockManual(info[0].As<Napi::Object>().Get("manual").ToBoolean().Value());
  return Napi::Number::New(info.Env(), static_cast<double>(sim::RecordingClockMs()));
}

Napi::Value AdvanceRecordingClock(const Napi::CallbackInfo& info) {
  sim::AdvanceRecordingClock(static_cast<int64_t>(info.Length() > 0 ? Num(info[0]) : 0));
  return Napi::Number::New(info.Env(), static_cast<double>(sim::RecordingClockMs()));
}

Napi::Value SetRecordingTiming(const Napi::CallbackInfo& info) {
  sim::RecordingTiming t = sim::GetRecordingTiming();
  if (info.Length() > 0 && info[0].IsObject()) {
    ReadFields(info[0], "exportStepMs", t.export_step_ms, "thumbnailIntervalMs", t.thumbnail_interval_ms,
               "pictureDelayMs", t.picture_delay_ms);
    sim::SetRecordingTiming(t);
  }
  Napi::Object out = Napi::Object::New(info.Env());
  out.Set("exportStepMs", t.export_step_ms);
  out.Set("thumbnailIntervalMs", t.thumbnail_interval_ms);
  out.Set("pictureDelayMs", t.picture_delay_ms);
  return out;
}

Napi::Value ReadSegment(const Napi::CallbackInfo& info) {
  Napi::Env env = info.Env();
  sim::Segment s;
  if (!sim::ReadSegment(Path(info), &s)) return env.Null();
  Napi::Object out = Napi::Object::New(env);
  out.Set("width", s.width);
  out.Set("height", s.height);
  out.Set("fps", s.fps);
  Napi::Array spans = Napi::Array::New(env, s.spans.size());
  for (size_t i = 0; i < s.spans.size(); ++i) {
    Napi::Object span = Napi::Object::New(env);
    span.Set("startMs", static_cast<double>(s.spans[i].start_ms));
    span.Set("endMs", static_cast<double>(s.spans[i].end_ms));
    spans.Set(static_cast<uint32_t>(i), span);
  }
  out.Set("spans", spans);
  out.Set("durationMs", static_cast<double>(s.DurationMs()));
  return out;
}

Napi::Value WriteSegment(const Napi::CallbackInfo& info) {
  const bool ok = sim::WriteSegment(Path(info), ToSegment(info.Length() > 1 ? info[1] : info.Env().Undefined()));
  return Napi::Boolean::New(info.Env(), ok);
}

Napi::Value RecordedTimeAt(const Napi::CallbackInfo& info) {
  const sim::Segment s = ToSegment(info.Length() > 0 ? info[0] : info.Env().Undefined());
  const auto at = static_cast<int64_t>(info.Length() > 1 ? Num(info[1]) : 0);
  return Napi::Number::New(info.Env(), static_cast<double>(s.RecordedTimeAt(at)));
}

Napi::Value DrawRecordedTime(const Napi::CallbackInfo& info) {
  int w, h;
  if (!Side(info, 0, &w) || !Side(info, 1, &h)) return info.Env().Undefined();
  const sim::Picture p = sim::DrawRecordedTime(w, h, static_cast<int64_t>(info.Length() > 2 ? Num(info[2]) : 0));
  Napi::Object out = Napi::Object::New(info.Env());
  out.Set("width", p.width);
  out.Set("height", p.height);
  out.Set("stride", p.stride);
  out.Set("buffer", Napi::Buffer<uint8_t>::Copy(info.Env(), p.pixels.data(), p.pixels.size()));
  return out;
}

Napi::Value ReadRecordedTime(const Napi::CallbackInfo& info) {
  Napi::Env env = info.Env();
  if (info.Length() < 1 || !info[0].IsTypedArray()) {
    Napi::TypeError::New(env, "readRecordedTime(bytes, offset): bytes must be a typed array").ThrowAsJavaScriptException();
    return env.Undefined();
  }
  Napi::TypedArray bytes = info[0].As<Napi::TypedArray>();
  const auto offset = static_cast<size_t>(std::max(0.0, info.Length() > 1 ? Num(info[1]) : 0));
  if (offset + 4 > bytes.ByteLength()) return env.Null();
  const auto* p = static_cast<const uint8_t*>(bytes.ArrayBuffer().Data()) + bytes.ByteOffset() + offset;
  return Napi::Number::New(env, static_cast<double>(sim::ReadRecordedTime(p)));
}

Napi::Value ThumbnailStride(const Napi::CallbackInfo& info) {
  return Napi::Number::New(info.Env(), sim::ThumbnailStride(static_cast<int>(info.Length() > 0 ? Num(info[0]) : 0)));
}

Napi::Value Surfaces(const Napi::CallbackInfo& info) {
  Napi::Object out = Napi::Object::New(info.Env());
  for (const auto& [surface, frames] : sim::SurfaceFrames()) out.Set(surface, static_cast<double>(frames));
  return out;
}

Napi::Value CameraPicture(const Napi::CallbackInfo& info) {
  int w, h;
  if (!Side(info, 0, &w) || !Side(info, 1, &h)) return info.Env().Undefined();
  auto out = Napi::Buffer<uint8_t>::New(info.Env(), static_cast<size_t>(w) * h * 4);
  sim::Pattern(w, h, sim::kPictureSeed, out.Data());
  if (info.Length() > 2 && info[2].ToBoolean().Value()) {
    for (int y = 0; y < h; ++y) {
      auto* row = reinterpret_cast<uint32_t*>(out.Data() + static_cast<size_t>(y) * w * 4);
      std::reverse(row, row + w);
    }
  }
  return out;
}

namespace {

struct Thumbnail {
  int64_t timestamp_us;
  int width;
  int height;
  std::vector<uint8_t> bytes;
};

class Collector : public korin::QXVideoThumbnailToolCallback {
 public:
  void OnThumbnailReady(const korin::QXVideoFrame& frame) override {
    const uint8_t* pixels = frame.buffer.data[0];
    const size_t size = static_cast<size_t>(frame.buffer.stride[0]) * frame.height;
    std::lock_guard<std::mutex> lock(mu_);
    got_.push_back({frame.timestampUs, frame.width, frame.height, std::vector<uint8_t>(pixels, pixels + size)});
    cv_.notify_all();
  }
  std::vector<Thumbnail> Wait(size_t count) {
    std::unique_lock<std::mutex> lock(mu_);
    cv_.wait_for(lock, std::chrono::seconds(10), [&] { return got_.size() >= count; });
    return got_;
  }

 private:
  std::mutex mu_;
  std::condition_variable cv_;
  std::vector<Thumbnail> got_;
};

}  // namespace

Napi::Value ThumbnailsOf(const Napi::CallbackInfo& info) {
  Napi::Env env = info.Env();
  korin::QXVideoThumbnailConfig config;
  int32_t seek = 0;
  if (info.Length() > 1)
    ReadFields(info[1], "width", config.width, "height", config.height, "durationMs", config.duration_ms, "seekMs", seek);
  sim::Segment media;
  sim::ReadSegment(Path(info), &media);
  korin::QXVideoThumbnailToolsInterface* tool = korin::QXVideoThumbnailToolsInterface::Create();
  if (!tool) return env.Null();
  Collector collector;
  int r = tool->Init(Path(info));
  if (r == 0 && seek != 0) r = tool->SeekTo(seek);
  if (r == 0) r = tool->GetVideoThumbnails(config, &collector);
  std::vector<Thumbnail> got;
  if (r == 0 && config.duration_ms > 0) {
    const int64_t left = std::max<int64_t>(0, media.DurationMs() - seek);
    got = collector.Wait(static_cast<size_t>((left + config.duration_ms - 1) / config.duration_ms));
  }
  korin::QXVideoThumbnailToolsInterface::Destroy(tool);
  if (r != 0) return Napi::Number::New(env, r);
  Napi::Array out = Napi::Array::New(env, got.size());
  for (size_t i = 0; i < got.size(); ++i) {
    Napi::Object t = Napi::Object::New(env);
    t.Set("timestampUs", static_cast<double>(got[i].timestamp_us));
    t.Set("width", got[i].width);
    t.Set("height", got[i].height);
    t.Set("stride", sim::ThumbnailStride(got[i].width));
    t.Set("buffer", Napi::Buffer<uint8_t>::Copy(env, got[i].bytes.data(), got[i].bytes.size()));
    out.Set(static_cast<uint32_t>(i), t);
  }
  return out;
}

}  // namespace recording_control
