// Control module of the stand-in engine: lets tests, benchmarks and the demo
// drive the simulation from JavaScript. Loaded as require('<package>/sim').
#include <napi.h>

#include <algorithm>
#include <cstring>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <type_traits>
#include <vector>

#include "device_control.h"
#include "replay_control.h"
#include "recording_control.h"
#include "korin/video_frame.h"
#include "rtc/logging.h"
#include "sim/frames.h"
#include "tavel/media_utils.h"
#include "player/player_sim.h"
#include "sim/ai_agent.h"
#include "sim/http.h"
#include "sim/live.h"
#include "sim/services.h"
#include "sim/sim.h"

namespace {

sim::Value ToValue(const Napi::Value& v) {
  if (v.IsBoolean()) return v.As<Napi::Boolean>().Value();
  if (v.IsNumber()) return v.As<Napi::Number>().DoubleValue();
  if (v.IsString()) return v.As<Napi::String>().Utf8Value();
  if (v.IsTypedArray()) {
    auto ta = v.As<Napi::TypedArray>();
    auto* p = static_cast<uint8_t*>(ta.ArrayBuffer().Data()) + ta.ByteOffset();
    return sim::Bytes(p, p + ta.ByteLength());
  }
  if (v.IsArrayBuffer()) {
    auto ab = v.As<Napi::ArrayBuffer>();
    auto* p = static_cast<uint8_t*>(ab.Data());
    return sim::Bytes(p, p + ab.ByteLength());
  }
  return sim::Value{};
}

Napi::Value FromValue(Napi::Env env, const sim::Value& v) {
  if (auto* b = std::get_if<bool>(&v)) return Napi::Boolean::New(env, *b);
  if (auto* d = std::get_if<double>(&v)) return Napi::Number::New(env, *d);
  if (auto* s = std::get_if<std::string>(&v)) return Napi::String::New(env, *s);
  if (auto* b = std::get_if<sim::Bytes>(&v)) return Napi::Buffer<uint8_t>::Copy(env, b->data(), b->size());
  return env.Undefined();
}

sim::Args ToArgs(const Napi::Value& v) {
  std::vector<sim::Value> out;
  if (v.IsArray()) {
    auto a = v.As<Napi::Array>();
    for (uint32_t i = 0; i < a.Length(); ++i) out.push_back(ToValue(a.Get(i)));
  }
  return sim::Args(std::move(out));
}

std::string Str(const Napi::CallbackInfo& info, size_t i) {
  return info.Length() > i && info[i].IsString() ? info[i].As<Napi::String>().Utf8Value() : std::string();
}

int Int(const Napi::CallbackInfo& info, size_t i, int def) {
  return info.Length() > i && info[i].IsNumber() ? info[i].As<Napi::Number>().Int32Value() : def;
}

Napi::Value Reset(const Napi::CallbackInfo& info) {
  // Producers first: engine threads are never idle while they feed them.
  sim::StopVideo();
  sim::StopAudio(false);
  replay_control::DropProbes();
  sim::WaitEngineThreadsIdle();
  sim::Reset();
  return info.Env().Undefined();
}

Napi::Value Journal(const Napi::CallbackInfo& info) {
  auto entries = sim::Journal();
  auto out = Napi::Array::New(info.Env(), entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    auto o = Napi::Object::New(info.Env());
    o.Set("seq", Napi::Number::New(info.Env(), static_cast<double>(entries[i].seq)));
    o.Set("op", entries[i].op);
    o.Set("args", entries[i].args);
    out.Set(static_cast<uint32_t>(i), o);
  }
  return out;
}

Napi::Value ClearJournal(const Napi::CallbackInfo& info) {
  sim::ClearJournal();
  return info.Env().Undefined();
}

// script(op, value, times = -1)
Napi::Value Script(const Napi::CallbackInfo& info) {
  sim::Script(Str(info, 0), info.Length() > 1 ? ToValue(info[1]) : sim::Value{}, Int(info, 2, -1));
  return info.Env().Undefined();
}

Napi::Value SetSourceFlags(const Napi::CallbackInfo& info) {
  sim::SetFlags(Str(info, 0));
  return info.Env().Undefined();
}

Napi::Value Flags(const Napi::CallbackInfo& info) {
  auto o = Napi::Object::New(info.Env());
  for (auto& kv : sim::Flags()) o.Set(kv.first, kv.second);
  return o;
}

Napi::Value Held(const Napi::CallbackInfo& info) {
  auto names = sim::HeldNames();
  auto out = Napi::Array::New(info.Env(), names.size());
  for (size_t i = 0; i < names.size(); ++i) out.Set(static_cast<uint32_t>(i), names[i]);
  return out;
}

// fire(name, args, thread): runs the held callback on an engine thread and
// returns once it has run (so whatever it posted is queued); false if none held.
Napi::Value Fire(const Napi::CallbackInfo& info) {
  std::string name = Str(info, 0);
  sim::Args args = info.Length() > 1 ? ToArgs(info[1]) : sim::Args();
  bool fired = false;
  sim::RunOnEngineThread(Int(info, 2, 0), [&] { fired = sim::FireHere(name, args); }, true);
  return Napi::Boolean::New(info.Env(), fired);
}

// Resolves a promise on the JavaScript thread once every engine-thread task
// of a batch has finished.
// With `counted`, it resolves to the sum of what the tasks reported.
// A batch may outlive the environment that started it (a worker that ends,
// or a process exiting, while engine threads still run it). Node frees the
// thread-safe function at teardown: the last task then lets the batch go
// without calling it, and a call queued just before the teardown reaches
// CallJs without an environment, which lets it go too.
class Batch {
 public:
  Batch(Napi::Env env, int tasks, bool counted = false)
      : env_(env),
        left_(tasks),
        counted_(counted),
        life_(std::make_shared<Life>()),
        hook_(new std::shared_ptr<Life>(life_)) {
    // Fails while the environment is being terminated: the call then answers
    // nothing (a promise left unset would hand V8 a garbage handle).
    if (napi_create_promise(env, &deferred_, &promise_) != napi_ok) {
      deferred_ = nullptr;
      promise_ = nullptr;
    }
    if (napi_add_env_cleanup_hook(env, EnvGone, hook_) != napi_ok) {
      delete hook_;
      hook_ = nullptr;
    }
    napi_value name = nullptr;
    if (napi_create_string_utf8(env, "sim-batch", NAPI_AUTO_LENGTH, &name) != napi_ok ||
        napi_create_threadsafe_function(env, nullptr, nullptr, name, 0, 1, nullptr, nullptr, nullptr, CallJs,
                                        &tsfn_) != napi_ok) {
      tsfn_ = nullptr;
    }
  }
  Napi::Value Promise() const { return Napi::Value(env_, promise_); }
  void Done(int64_t count = 0) {
    total_ += count;
    if (left_.fetch_sub(1) != 1) return;
    const std::shared_ptr<Life> life = life_;  // the batch may be deleted under the lock
    std::lock_guard<std::mutex> lock(life->mu);
    if (!life->env_alive || !tsfn_ || napi_call_threadsafe_function(tsfn_, this, napi_tsfn_blocking) != napi_ok)
      delete this;
  }

 private:
  struct Life {
    std::mutex mu;
    bool env_alive = true;
  };
  static void EnvGone(void* data) {
    auto* life = static_cast<std::shared_ptr<Life>*>(data);
    {
      std::lock_guard<std::mutex> lock((*life)->mu);
      (*life)->env_alive = false;
    }
    delete life;
  }
  static void CallJs(napi_env env, napi_value, void*, void* data) {
    auto* self = static_cast<Batch*>(data);
    if (env != nullptr) {
      Napi::Env e(env);
      if (self->deferred_) {
        napi_value value = self->counted_ ? Napi::Number::New(e, static_cast<double>(self->total_.load())) : e.Undefined();
        napi_resolve_deferred(env, self->deferred_, value);
      }
      napi_release_threadsafe_function(self->tsfn_, napi_tsfn_release);
      if (self->hook_) {
        napi_remove_env_cleanup_hook(env, EnvGone, self->hook_);
        delete self->hook_;
      }
    }
    delete self;
  }

  napi_env env_;
  napi_deferred deferred_ = nullptr;
  napi_value promise_ = nullptr;
  napi_threadsafe_function tsfn_ = nullptr;
  std::atomic<int> left_;
  std::atomic<int64_t> total_{0};
  const bool counted_;
  std::shared_ptr<Life> life_;
  std::shared_ptr<Life>* hook_;  // the cleanup hook's share; freed by whichever of hook and batch ends first
};

// fireMany(name, args, count, threads): count firings spread over threads,
// without blocking JavaScript. Resolves when all have run.
Napi::Value FireMany(const Napi::CallbackInfo& info) {
  std::string name = Str(info, 0);
  auto args = std::make_shared<sim::Args>(info.Length() > 1 ? ToArgs(info[1]) : sim::Args());
  int count = Int(info, 2, 1);
  int threads = std::max(1, std::min(8, Int(info, 3, 1)));
  auto* batch = new Batch(info.Env(), threads);
  Napi::Value promise = batch->Promise();
  for (int t = 0; t < threads; ++t) {
    int mine = count / threads + (t < count % threads ? 1 : 0);
    sim::RunOnEngineThread(t, [=] {
      // Whatever a drop cut short is fired one by one, each finding what is held then.
      for (int64_t i = sim::FireRepeatedly(name, *args, mine); i < mine; ++i) sim::FireHere(name, *args);
      batch->Done();
    }, false);
  }
  return promise;
}

// fireAfter(name, args, delayMs): fires once on an engine thread after the
// delay; nothing keeps the event loop alive meanwhile.
Napi::Value FireAfter(const Napi::CallbackInfo& info) {
  std::string name = Str(info, 0);
  auto args = std::make_shared<sim::Args>(info.Length() > 1 ? ToArgs(info[1]) : sim::Args());
  sim::RunOnEngineThreadAfter(0, std::max(0, Int(info, 2, 0)), [name, args] { sim::FireHere(name, *args); });
  return info.Env().Undefined();
}

// writeLogs(severity, tag, text, count, threads): log records written from
// engine threads, text suffixed with " #<thread>:<index>". Resolves when done.
Napi::Value WriteLogs(const Napi::CallbackInfo& info) {
  int sev = Int(info, 0, rtc::LS_INFO);
  std::string tag = Str(info, 1), text = Str(info, 2);
  int count = Int(info, 3, 1);
  int threads = std::max(1, std::min(8, Int(info, 4, 1)));
  auto* batch = new Batch(info.Env(), threads);
  Napi::Value promise = batch->Promise();
  for (int t = 0; t < threads; ++t) {
    sim::RunOnEngineThread(t, [=] {
      for (int i = 0; i < count; ++i) {
        if (sev >= rtc::LogMessage::min_sev_)
          rtc::LogMessage("engine/sim", t, static_cast<rtc::LoggingSeverity>(sev), tag.c_str()).stream()
              << text << " #" << t << ":" << i;
      }
      batch->Done();
    }, false);
  }
  return promise;
}

Napi::Value LogLines(const Napi::CallbackInfo& info) {
  auto lines = sim::LogLines();
  auto out = Napi::Array::New(info.Env(), lines.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    auto o = Napi::Object::New(info.Env());
    o.Set("file", lines[i].file);
    o.Set("line", lines[i].line);
    o.Set("severity", lines[i].severity);
    o.Set("tag", lines[i].tag);
    o.Set("text", lines[i].text);
    out.Set(static_cast<uint32_t>(i), o);
  }
  return out;
}

Napi::Value ClearLogLines(const Napi::CallbackInfo& info) {
  sim::ClearLogLines();
  return info.Env().Undefined();
}

Napi::Value LogMessagesBuilt(const Napi::CallbackInfo& info) {
  return Napi::Number::New(info.Env(), static_cast<double>(sim::LogMessagesBuilt()));
}

Napi::Value MinSeverity(const Napi::CallbackInfo& info) {
  if (info.Length() > 0 && info[0].IsNumber())
    rtc::LogMessage::min_sev_ = static_cast<rtc::LoggingSeverity>(info[0].As<Napi::Number>().Int32Value());
  return Napi::Number::New(info.Env(), rtc::LogMessage::min_sev_);
}

Napi::Value Tally(const Napi::CallbackInfo& info) {
  auto entries = sim::TallyEntries();
  auto out = Napi::Array::New(info.Env(), entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    auto o = Napi::Object::New(info.Env());
    o.Set("url", entries[i].url);
    auto str = Napi::Object::New(info.Env());
    for (auto& kv : entries[i].str_values) str.Set(kv.first, kv.second);
    auto num = Napi::Object::New(info.Env());
    for (auto& kv : entries[i].num_values) num.Set(kv.first, kv.second);
    o.Set("strValues", str);
    o.Set("numValues", num);
    o.Set("count", entries[i].count);
    o.Set("flag", entries[i].flag);
    out.Set(static_cast<uint32_t>(i), o);
  }
  return out;
}

Napi::Value WaitIdle(const Napi::CallbackInfo& info) {
  sim::WaitEngineThreadsIdle();
  return info.Env().Undefined();
}

// setNoWait(on): setters and removers return without waiting for a firing
// of what they dropped (off again after reset()).
Napi::Value SetNoWait(const Napi::CallbackInfo& info) {
  sim::SetNoWait(info.Length() > 0 && info[0].ToBoolean().Value());
  return info.Env().Undefined();
}

// ---- live class: video, audio, connection, recording, cache ----------------

Napi::Array Strings(Napi::Env env, const std::vector<std::string>& v) {
  auto out = Napi::Array::New(env, v.size());
  for (size_t i = 0; i < v.size(); ++i) out.Set(static_cast<uint32_t>(i), v[i]);
  return out;
}

Napi::Value Sinks(const Napi::CallbackInfo& info) { return Strings(info.Env(), sim::SinkNames()); }

// Frame sides the control accepts; false after throwing otherwise.
bool FrameSize(const Napi::CallbackInfo& info, size_t i, int* width, int* height) {
  *width = Int(info, i, 0);
  *height = Int(info, i + 1, 0);
  if (*width >= 1 && *height >= 1 && *width <= 8192 && *height <= 8192) return true;
  Napi::RangeError::New(info.Env(), "width and height must be 1..8192").ThrowAsJavaScriptException();
  return false;
}

double Num(const Napi::CallbackInfo& info, size_t i, double def) {
  return info.Length() > i && info[i].IsNumber() ? info[i].As<Napi::Number>().DoubleValue() : def;
}

// pushFrame(name, width, height, seed, format): one frame of Pattern(seed)
// to the sink, on an engine thread, in a pixel buffer of `format` ('bgra' by
// default, or 'i420'); returns once OnFrame has returned.
Napi::Value PushFrame(const Napi::CallbackInfo& info) {
  int w, h;
  if (!FrameSize(info, 1, &w, &h)) return info.Env().Undefined();
  std::string name = Str(info, 0);
  auto seed = static_cast<int64_t>(Num(info, 3, 0));
  const int format = Str(info, 4) == "i420" ? static_cast<int>(korin::QXPixelFormat::kI420) : 0;
  bool delivered = false;
  sim::RunOnEngineThread(0, [&] { delivered = sim::DeliverFrame(name, w, h, seed, nullptr, format); }, true);
  return Napi::Boolean::New(info.Env(), delivered);
}

// abgrOf(width, height, seed): the ABGR pixels that Pattern(seed) makes
// through the engine's own conversions (to I420, then to ABGR), as a Buffer.
Napi::Value AbgrOf(const Napi::CallbackInfo& info) {
  int w, h;
  if (!FrameSize(info, 0, &w, &h)) return info.Env().Undefined();
  std::vector<uint8_t> pattern(static_cast<size_t>(w) * h * 4);
  sim::Pattern(w, h, static_cast<int64_t>(Num(info, 2, 0)), pattern.data());
  korin::QXI420Buffer planes;
  if (!sim::ToI420(sim::ViewBGRA(pattern.data(), w, h, w * 4), &planes)) return info.Env().Null();
  Napi::Buffer<uint8_t> out = Napi::Buffer<uint8_t>::New(info.Env(), pattern.size());
  tavel::I420ToABGR(planes.y.data(), planes.stride_y, planes.u.data(), planes.stride_u, planes.v.data(),
                    planes.stride_v, out.Data(), w * 4, w, h);
  return out;
}

// pushFrames(name, width, height, count, threads): a flood without blocking
// JavaScript; thread t sends Pattern(t). Resolves to the frames delivered.
Napi::Value PushFrames(const Napi::CallbackInfo& info) {
  int w, h;
  if (!FrameSize(info, 1, &w, &h)) return info.Env().Undefined();
  std::string name = Str(info, 0);
  int count = std::max(0, Int(info, 3, 1));
  int threads = std::max(1, std::min(8, Int(info, 4, 1)));
  auto* batch = new Batch(info.Env(), threads, true);
  Napi::Value promise = batch->Promise();
  for (int t = 0; t < threads; ++t) {
    int mine = count / threads + (t < count % threads ? 1 : 0);
    sim::RunOnEngineThread(t, [=] {
      std::vector<uint8_t> pixels(static_cast<size_t>(w) * h * 4);
      sim::Pattern(w, h, t, pixels.data());
      int64_t delivered = 0;
      for (int i = 0; i < mine; ++i) delivered += sim::DeliverFrame(name, w, h, t, pixels.data());
      batch->Done(delivered);
    }, false);
  }
  return promise;
}

// startVideo(width, height, fps, [[sinkName, width, height, fps], ...])
Napi::Value StartVideo(const Napi::CallbackInfo& info) {
  sim::VideoSpec all;
  if (!FrameSize(info, 0, &all.width, &all.height)) return info.Env().Undefined();
  all.fps = Int(info, 2, 15);
  std::map<std::string, sim::VideoSpec> per_sink;
  if (info.Length() > 3 && info[3].IsArray()) {
    auto list = info[3].As<Napi::Array>();
    for (uint32_t i = 0; i < list.Length(); ++i) {
      Napi::Value row = list.Get(i);
      if (!row.IsArray()) continue;
      auto r = row.As<Napi::Array>();
      auto num = [&](uint32_t k, int def) {
        Napi::Value x = r.Get(k);
        return x.IsNumber() ? x.As<Napi::Number>().Int32Value() : def;
      };
      sim::VideoSpec s{num(1, all.width), num(2, all.height), num(3, all.fps)};
      if (s.width < 1 || s.height < 1 || s.width > 8192 || s.height > 8192) {
        Napi::RangeError::New(info.Env(), "width and height must be 1..8192").ThrowAsJavaScriptException();
        return info.Env().Undefined();
      }
      Napi::Value name = r.Get(0u);
      if (name.IsString()) per_sink[name.As<Napi::String>().Utf8Value()] = s;
    }
  }
  sim::StartVideo(all, per_sink);
  return info.Env().Undefined();
}

Napi::Value StopVideo(const Napi::CallbackInfo& info) {
  sim::StopVideo();
  return info.Env().Undefined();
}

Napi::Value VideoStats(const Napi::CallbackInfo& info) {
  auto o = Napi::Object::New(info.Env());
  for (auto& kv : sim::VideoStats()) o.Set(kv.first, static_cast<double>(kv.second));
  return o;
}

// pattern(width, height, seed) and testPattern(width, height, userId, frame):
// the pictures the engine sends, for comparison.
Napi::Value PatternBuffer(const Napi::CallbackInfo& info) {
  int w, h;
  if (!FrameSize(info, 0, &w, &h)) return info.Env().Undefined();
  auto out = Napi::Buffer<uint8_t>::New(info.Env(), static_cast<size_t>(w) * h * 4);
  sim::Pattern(w, h, static_cast<int64_t>(Num(info, 2, 0)), out.Data());
  return out;
}

Napi::Value TestPatternBuffer(const Napi::CallbackInfo& info) {
  int w, h;
  if (!FrameSize(info, 0, &w, &h)) return info.Env().Undefined();
  auto out = Napi::Buffer<uint8_t>::New(info.Env(), static_cast<size_t>(w) * h * 4);
  sim::TestPattern(w, h, Int(info, 2, 0), static_cast<int64_t>(Num(info, 3, 0)), out.Data());
  return out;
}

Napi::Value StartAudio(const Napi::CallbackInfo& info) {
  sim::StartAudio(Int(info, 0, 10));
  return info.Env().Undefined();
}

// stopAudio(): a recording that had started hears OnAudioRecordingStop.
Napi::Value StopAudio(const Napi::CallbackInfo& info) {
  sim::StopAudio(true);
  return info.Env().Undefined();
}

Napi::Value AudioStats(const Napi::CallbackInfo& info) {
  sim::AudioStats s = sim::GetAudioStats();
  auto o = Napi::Object::New(info.Env());
  o.Set("starts", static_cast<double>(s.starts));
  o.Set("chunks", static_cast<double>(s.chunks));
  o.Set("stops", static_cast<double>(s.stops));
  return o;
}

// setAutoConnect(on, delayMs)
Napi::Value SetAutoConnect(const Napi::CallbackInfo& info) {
  bool on = info.Length() > 0 && info[0].ToBoolean().Value();
  sim::SetAutoConnect(on, Int(info, 1, sim::AutoConnectDelayMs()));
  return info.Env().Undefined();
}

template <typename T>
void ReadField(const Napi::Object& in, const char* key, T& field) {
  if (!in.Has(key)) return;
  Napi::Value v = in.Get(key);
  if constexpr (std::is_same_v<T, bool>)
    field = v.ToBoolean().Value();
  else
    field = static_cast<T>(v.ToNumber().DoubleValue());
}

template <typename T>
Napi::Value FieldValue(Napi::Env env, T field) {
  if constexpr (std::is_same_v<T, bool>)
    return Napi::Boolean::New(env, field);
  else
    return Napi::Number::New(env, static_cast<double>(field));
}

#define SIM_RECORDING_FIELDS(X)                                                                         \
  X(encodedRecordedMs, encoded_recorded_ms) X(encodedVoiceActivityMs, encoded_voice_activity_ms)        \
  X(encodedNonZeroSampleCount, encoded_non_zero_sample_count)                                            \
  X(pcmRecordedSampleCount, pcm_recorded_sample_count) X(pcmRecordedSampleMax, pcm_recorded_sample_max) \
  X(recordingStartTimeMs, recording_start_time_ms) X(startDuringInterruption, start_during_interruption) \
  X(interruptionAfterStart, interruption_after_start) X(errorCode, error_code) X(hint, hint)

// setRecordingInfo(partial): merges the keys given (the add-on's JavaScript
// names) into what the recording stops write; returns the whole record.
Napi::Value SetRecordingInfo(const Napi::CallbackInfo& info) {
  tavel::RecordingMicrophoneInfo r = sim::RecordingInfo();
  if (info.Length() > 0 && info[0].IsObject()) {
    auto in = info[0].As<Napi::Object>();
#define SIM_READ(js, field) ReadField(in, #js, r.field);
    SIM_RECORDING_FIELDS(SIM_READ)
#undef SIM_READ
    sim::SetRecordingInfo(r);
  }
  auto out = Napi::Object::New(info.Env());
#define SIM_WRITE(js, field) out.Set(#js, FieldValue(info.Env(), r.field));
  SIM_RECORDING_FIELDS(SIM_WRITE)
#undef SIM_WRITE
  return out;
}

// cacheGet(key, capacity): the host cache provider's Get, called on an
// engine thread: { size, bytes } with bytes the whole capacity-sized buffer
// (0xEE where nothing was written); null when no provider is held.
Napi::Value CacheGet(const Napi::CallbackInfo& info) {
  std::string key = Str(info, 0);
  double capacity = Num(info, 1, 0);
  sim::Args answer;
  bool fired = false;
  sim::RunOnEngineThread(0, [&] {
    fired = sim::FireHere("CacheProvider.Get", sim::ArgsOf(key, capacity), &answer, nullptr);
  }, true);
  if (!fired) return info.Env().Null();
  auto o = Napi::Object::New(info.Env());
  o.Set("size", answer.Num(0));
  o.Set("bytes", FromValue(info.Env(), answer.at(1)));
  return o;
}

Napi::Value Objects(const Napi::CallbackInfo& info) {
  auto o = Napi::Object::New(info.Env());
  for (auto& kv : sim::LiveObjects()) o.Set(kv.first, kv.second);
  return o;
}

// delayCalls(op, ms, times = -1), releaseDelayed(op = all)
Napi::Value DelayCalls(const Napi::CallbackInfo& info) {
  sim::DelayCalls(Str(info, 0), Int(info, 1, 0), Int(info, 2, -1));
  return info.Env().Undefined();
}

Napi::Value ReleaseDelayed(const Napi::CallbackInfo& info) {
  sim::ReleaseDelayed(Str(info, 0));
  return info.Env().Undefined();
}

// ---- HTTP requests of the engine ----------------------------------------------

// httpRequest(args, thread): one request through the held HTTP executor,
// issued on an engine thread (args as the HttpExecutor.Execute firer takes
// them); answers its id once Execute has returned, or null with no executor.
Napi::Value HttpRequest(const Napi::CallbackInfo& info) {
  sim::Args args = info.Length() > 0 ? ToArgs(info[0]) : sim::Args();
  sim::Args answer;
  bool fired = false;
  sim::RunOnEngineThread(Int(info, 1, 0), [&] { fired = sim::FireHere("HttpExecutor.Execute", args, &answer, nullptr); },
                         true);
  if (!fired) return info.Env().Null();
  return Napi::Number::New(info.Env(), answer.Num(0));
}

// httpCompletions(): [{ id, url, type, value, ok, message, statusCode,
// headers: [{ name, value }], body }], one per completion, in order.
Napi::Value HttpCompletions(const Napi::CallbackInfo& info) {
  Napi::Env env = info.Env();
  auto list = sim::HttpCompletions();
  auto out = Napi::Array::New(env, list.size());
  for (size_t i = 0; i < list.size(); ++i) {
    const sim::HttpCompletion& c = list[i];
    auto o = Napi::Object::New(env);
    o.Set("id", static_cast<double>(c.id));
    o.Set("url", c.url);
    o.Set("type", c.type);
    o.Set("value", c.value);
    o.Set("ok", c.ok);
    o.Set("message", c.message);
    o.Set("statusCode", c.status);
    auto headers = Napi::Array::New(env, c.headers.size());
    for (size_t h = 0; h < c.headers.size(); ++h) {
      auto pair = Napi::Object::New(env);
      pair.Set("name", c.headers[h].first);
      pair.Set("value", c.headers[h].second);
      headers.Set(static_cast<uint32_t>(h), pair);
    }
    o.Set("headers", headers);
    o.Set("body", Napi::Buffer<uint8_t>::Copy(env, c.body.data(), c.body.size()));
    out.Set(static_cast<uint32_t>(i), o);
  }
  return out;
}

Napi::Value HttpIssued(const Napi::CallbackInfo& info) {
  return Napi::Number::New(info.Env(), static_cast<double>(sim::HttpIssued()));
}

// ---- environment services ---------------------------------------------------------

// setProbeResult({ isConnected, rtt, lossRate }): what the network probe reports.
Napi::Value SetProbeResult(const Napi::CallbackInfo& info) {
  sim::ProbeResult r;
  if (info.Length() > 0 && info[0].IsObject()) {
    auto in = info[0].As<Napi::Object>();
    ReadField(in, "isConnected", r.is_connected);
    ReadField(in, "rtt", r.rtt);
    ReadField(in, "lossRate", r.loss_rate);
  }
  sim::SetProbeResult(r);
  return info.Env().Undefined();
}

// setFaceResult({ faceLeft, ..., picHeight }): the face a detection finds
// when its status (scripted, default 0) is 0.
Napi::Value SetFaceResult(const Napi::CallbackInfo& info) {
  korin::FaceDetectResult r;
  if (info.Length() > 0 && info[0].IsObject()) {
    auto in = info[0].As<Napi::Object>();
    ReadField(in, "faceLeft", r.face_left);
    ReadField(in, "faceRight", r.face_right);
    ReadField(in, "faceTop", r.face_top);
    ReadField(in, "faceBottom", r.face_bottom);
    ReadField(in, "score", r.score);
    ReadField(in, "yaw", r.yaw);
    ReadField(in, "pitch", r.pitch);
    ReadField(in, "eyeDistance", r.eye_distance);
    ReadField(in, "id", r.id);
    ReadField(in, "action", r.action);
    ReadField(in, "picWidth", r.pic_width);
    ReadField(in, "picHeight", r.pic_height);
  }
  sim::SetFaceResult(r);
  return info.Env().Undefined();
}

// agentAudio(): { pulls, failures, sampleRate, channels, frames, samples }
// of the AI agent's audio pull loop; samples (an Int16Array) are those of
// the last successful pull.
Napi::Value AgentAudio(const Napi::CallbackInfo& info) {
  Napi::Env env = info.Env();
  sim::AgentAudio a = sim::GetAgentAudio();
  auto o = Napi::Object::New(env);
  o.Set("pulls", static_cast<double>(a.pulls));
  o.Set("failures", static_cast<double>(a.failures));
  o.Set("sampleRate", a.sample_rate);
  o.Set("channels", a.channels);
  o.Set("frames", static_cast<double>(a.frames));
  auto buffer = Napi::ArrayBuffer::New(env, a.samples.size() * sizeof(int16_t));
  if (!a.samples.empty()) std::memcpy(buffer.Data(), a.samples.data(), a.samples.size() * sizeof(int16_t));
  o.Set("samples", Napi::TypedArrayOf<int16_t>::New(env, a.samples.size(), buffer, 0));
  return o;
}

// The first value a script holds, for tests of the control module itself.
Napi::Value Scripted(const Napi::CallbackInfo& info) { return FromValue(info.Env(), sim::Scripted(Str(info, 0))); }

// ---- player core: video, external data -------------------------------------

// setPlayerVideo(width, height, rotation, fps, alphaType): what playing
// players draw on their render threads (fps 0: nothing).
Napi::Value SetPlayerVideo(const Napi::CallbackInfo& info) {
  int w, h;
  if (!FrameSize(info, 0, &w, &h)) return info.Env().Undefined();
  sim::PlayerVideo v;
  v.width = w;
  v.height = h;
  v.rotation = Int(info, 2, 0);
  v.fps = std::max(0, std::min(1000, Int(info, 3, 0)));
  v.alpha_type = Int(info, 4, 0);
  sim::SetPlayerVideo(v);
  return info.Env().Undefined();
}

Napi::Value Players(const Napi::CallbackInfo& info) {
  auto ids = sim::PlayerIds();
  auto out = Napi::Array::New(info.Env(), ids.size());
  for (size_t i = 0; i < ids.size(); ++i) out.Set(static_cast<uint32_t>(i), static_cast<double>(ids[i]));
  return out;
}

// playerFramesRendered(id): frames the player's render thread has drawn
// since it last started (frame i is picture i).
Napi::Value PlayerFramesRendered(const Napi::CallbackInfo& info) {
  return Napi::Number::New(info.Env(), static_cast<double>(sim::PlayerFramesRendered(static_cast<int64_t>(Num(info, 0, 0)))));
}

// drawPlayerFrames(id, width, height, rotation, first, count, alphaType): on
// an engine thread; returns the frames drawn once the renderer has them.
Napi::Value DrawPlayerFrames(const Napi::CallbackInfo& info) {
  int w, h;
  if (!FrameSize(info, 1, &w, &h)) return info.Env().Undefined();
  const auto id = static_cast<int64_t>(Num(info, 0, 0));
  const int rotation = Int(info, 3, 0);
  const auto first = static_cast<int64_t>(Num(info, 4, 0));
  const auto count = static_cast<int64_t>(std::max(0.0, Num(info, 5, 1)));
  const int alpha = Int(info, 6, 0);
  int64_t drawn = 0;
  sim::RunOnEngineThread(0, [&] { drawn = sim::DrawPlayerFrames(id, w, h, rotation, alpha, first, count); }, true);
  return Napi::Number::New(info.Env(), static_cast<double>(drawn));
}

// playerPicture(width, height, index): packed Y, U, V planes of a frame;
// playerPictureAbgr(width, height, index): the same frame converted.
Napi::Value PlayerPicture(const Napi::CallbackInfo& info) {
  int w, h;
  if (!FrameSize(info, 0, &w, &h)) return info.Env().Undefined();
  auto bytes = sim::PlayerPicture(w, h, static_cast<int64_t>(Num(info, 2, 0)));
  return Napi::Buffer<uint8_t>::Copy(info.Env(), bytes.data(), bytes.size());
}

Napi::Value PlayerPictureAbgr(const Napi::CallbackInfo& info) {
  int w, h;
  if (!FrameSize(info, 0, &w, &h)) return info.Env().Undefined();
  auto bytes = sim::PlayerPictureAbgr(w, h, static_cast<int64_t>(Num(info, 2, 0)));
  return Napi::Buffer<uint8_t>::Copy(info.Env(), bytes.data(), bytes.size());
}

// readPlayerData(id): the bytes the player's external data source got since
// the last read, read on an engine thread; null when it has none.
Napi::Value ReadPlayerData(const Napi::CallbackInfo& info) {
  const auto id = static_cast<int64_t>(Num(info, 0, 0));
  std::vector<uint8_t> bytes;
  bool found = false;
  sim::RunOnEngineThread(0, [&] { found = sim::ReadPlayerData(id, &bytes); }, true);
  if (!found) return info.Env().Null();
  return Napi::Buffer<uint8_t>::Copy(info.Env(), bytes.data(), bytes.size());
}

Napi::Object Init(Napi::Env env, Napi::Object exports) {
  struct Row { const char* name; Napi::Function::Callback fn; };
  static const Row kRows[] = {
      {"reset", Reset},
      {"journal", Journal},
      {"clearJournal", ClearJournal},
      {"script", Script},
      {"scripted", Scripted},
      {"delayCalls", DelayCalls},
      {"releaseDelayed", ReleaseDelayed},
      {"setSourceFlags", SetSourceFlags},
      {"flags", Flags},
      {"held", Held},
      {"fire", Fire},
      {"fireMany", FireMany},
      {"fireAfter", FireAfter},
      {"writeLogs", WriteLogs},
      {"logLines", LogLines},
      {"clearLogLines", ClearLogLines},
      {"logMessagesBuilt", LogMessagesBuilt},
      {"minSeverity", MinSeverity},
      {"tally", Tally},
      {"waitIdle", WaitIdle},
      {"setNoWait", SetNoWait},
      {"sinks", Sinks},
      {"pushFrame", PushFrame},
      {"pushFrames", PushFrames},
      {"abgrOf", AbgrOf},
      {"startVideo", StartVideo},
      {"stopVideo", StopVideo},
      {"videoStats", VideoStats},
      {"pattern", PatternBuffer},
      {"testPattern", TestPatternBuffer},
      {"startAudio", StartAudio},
      {"stopAudio", StopAudio},
      {"audioStats", AudioStats},
      {"setAutoConnect", SetAutoConnect},
      {"setRecordingInfo", SetRecordingInfo},
      {"cacheGet", CacheGet},
      {"objects", Objects},
      {"setPlayerVideo", SetPlayerVideo},
      {"players", Players},
      {"drawPlayerFrames", DrawPlayerFrames},
      {"playerFramesRendered", PlayerFramesRendered},
      {"playerPicture", PlayerPicture},
      {"playerPictureAbgr", PlayerPictureAbgr},
      {"readPlayerData", ReadPlayerData},
      {"httpRequest", HttpRequest},
      {"httpCompletions", HttpCompletions},
      {"httpIssued", HttpIssued},
      {"setProbeResult", SetProbeResult},
      {"setFaceResult", SetFaceResult},
      {"agentAudio", AgentAudio},
      {"setDevices", device_control::SetDevices},
      {"setPlatform", device_control::SetPlatform},
      {"setReplayClass", replay_control::SetReplayClass},
      {"setReplayCompletions", replay_control::SetReplayCompletions},
      {"setReplayClock", replay_control::SetReplayClock},
      {"advanceReplayClock", replay_control::AdvanceReplayClock},
      {"replayRooms", replay_control::ReplayRooms},
      {"replayDownloaders", replay_control::ReplayDownloaders},
      {"replayChunks", replay_control::ReplayChunks},
      {"replayPicture", replay_control::ReplayPicture},
      {"replayPictureAbgr", replay_control::ReplayPictureAbgr},
      {"sourceFlag", replay_control::SourceFlag},
      {"probeReplay", replay_control::ProbeReplay},
      {"probeDownloader", replay_control::ProbeDownloader},
      {"probeEvents", replay_control::ProbeEvents},
      {"probeFrames", replay_control::ProbeFrames},
      {"recordingClock", recording_control::RecordingClock},
      {"advanceRecordingClock", recording_control::AdvanceRecordingClock},
      {"setRecordingTiming", recording_control::SetRecordingTiming},
      {"readSegment", recording_control::ReadSegment},
      {"writeSegment", recording_control::WriteSegment},
      {"recordedTimeAt", recording_control::RecordedTimeAt},
      {"drawRecordedTime", recording_control::DrawRecordedTime},
      {"readRecordedTime", recording_control::ReadRecordedTime},
      {"thumbnailStride", recording_control::ThumbnailStride},
      {"surfaces", recording_control::Surfaces},
      {"cameraPicture", recording_control::CameraPicture},
      {"thumbnailsOf", recording_control::ThumbnailsOf},
  };
  for (const Row& r : kRows) exports.Set(r.name, Napi::Function::New(env, r.fn, r.name));
  return exports;
}

}  // namespace

NODE_API_MODULE(lumen_engine_sim, Init)
