#include "replay_control.h"

#include <string>
#include <vector>

#include "record_fields.h"
#include "replay_json.h"
#include "sim/replay.h"
#include "sim/sim.h"
#include "tavel/media_utils.h"

namespace replay_control {
namespace {

double Arg(const Napi::CallbackInfo& info, size_t i, double def) {
  return info.Length() > i && info[i].IsNumber() ? info[i].As<Napi::Number>().DoubleValue() : def;
}

Napi::Value Json(Napi::Env env, const std::string& text) { return Napi::String::New(env, text); }

std::string ClassJson(const sim::ReplayClass& c) {
  auto stream = [&](int role, int width, int height) {
    const korin::replay::BizInfo b = sim::ReplayStream(role);
    return sim::RawText{sim::JsonObject("bizType", b.biz_type, "userId", b.user_id, "groupId", b.group_id, "width",
                                        width, "height", height)};
  };
  return sim::JsonObject("durationMs", c.duration_ms, "fps", c.fps, "bufferMs", c.buffer_ms, "enterDelayMs",
                         c.enter_delay_ms, "teacher", stream(sim::kReplayTeacher, c.teacher_width, c.teacher_height),
                         "student", stream(sim::kReplayStudent, c.student_width, c.student_height));
}

// The picture arguments: role, width, height, positionMs, durationMs, frame.
struct PictureArgs {
  int role, width, height;
  int64_t position, duration;
  uint32_t frame;
};

bool ReadPicture(const Napi::CallbackInfo& info, PictureArgs* p) {
  p->role = static_cast<int>(Arg(info, 0, 0));
  p->width = static_cast<int>(Arg(info, 1, 0));
  p->height = static_cast<int>(Arg(info, 2, 0));
  p->position = static_cast<int64_t>(Arg(info, 3, 0));
  p->duration = static_cast<int64_t>(Arg(info, 4, sim::GetReplayClass().duration_ms));
  p->frame = static_cast<uint32_t>(static_cast<int64_t>(Arg(info, 5, 0)));
  if (p->role >= 0 && p->role < sim::kReplayRoles && p->width >= 32 && p->width <= 4096 && p->height >= 8 &&
      p->height <= 4096)
    return true;
  Napi::RangeError::New(info.Env(), "role 0 or 1, width 32..4096, height 8..4096").ThrowAsJavaScriptException();
  return false;
}

std::vector<uint8_t> Picture(const PictureArgs& p) {
  const int cw = (p.width + 1) / 2, ch = (p.height + 1) / 2;
  std::vector<uint8_t> out(static_cast<size_t>(p.width) * p.height + 2 * static_cast<size_t>(cw) * ch);
  uint8_t* y = out.data();
  uint8_t* u = y + static_cast<size_t>(p.width) * p.height;
  uint8_t* v = u + static_cast<size_t>(cw) * ch;
  sim::ReplayPicture(p.role, p.width, p.height, p.position, p.duration, p.frame, y, p.width, u, cw, v, cw);
  return out;
}

}  // namespace

Napi::Value SetReplayClass(const Napi::CallbackInfo& info) {
  sim::ReplayClass c = sim::GetReplayClass();
  if (info.Length() > 0 && info[0].IsObject()) {
    const Napi::Value o = info[0];
    ReadFields(o, "durationMs", c.duration_ms, "fps", c.fps, "bufferMs", c.buffer_ms, "enterDelayMs",
               c.enter_delay_ms);
    ReadFields(o.As<Napi::Object>().Get("teacher"), "width", c.teacher_width, "height", c.teacher_height);
    ReadFields(o.As<Napi::Object>().Get("student"), "width", c.student_width, "height", c.student_height);
    sim::SetReplayClass(c);
  }
  return Json(info.Env(), ClassJson(sim::GetReplayClass()));
}

Napi::Value SetReplayCompletions(const Napi::CallbackInfo& info) {
  sim::ReplayCompletions c = sim::GetReplayCompletions();
  if (info.Length() > 0 && info[0].IsObject()) {
    ReadFields(info[0], "hold", c.hold, "delayMs", c.delay_ms, "times", c.times, "afterLeave", c.after_leave);
    sim::SetReplayCompletions(c);
  }
  c = sim::GetReplayCompletions();
  return Json(info.Env(), sim::JsonObject("hold", c.hold, "delayMs", c.delay_ms, "times", c.times, "afterLeave",
                                          c.after_leave));
}

Napi::Value SetReplayClock(const Napi::CallbackInfo& info) {
  if (info.Length() > 0) sim::SetReplayClockManual(info[0].ToBoolean().Value());
  return Napi::Number::New(info.Env(), sim::ReplayClockNow());
}

Napi::Value AdvanceReplayClock(const Napi::CallbackInfo& info) {
  return Napi::Number::New(info.Env(), sim::AdvanceReplayClock(Arg(info, 0, 0)));
}

Napi::Value ReplayRooms(const Napi::CallbackInfo& info) {
  const auto rooms = sim::ReplayRooms();
  return Json(info.Env(), JsonList(rooms, [](const sim::ReplayRoomView& v) {
                            auto video = JsonList(v.video, [](const auto& s) {
                              return sim::JsonObject("stream", sim::RawText{BizJson(s.first)}, "frames", s.second);
                            });
                            auto audio = JsonList(v.audio, [](const auto& s) {
                              return sim::JsonObject("stream", sim::RawText{BizJson(s.first)}, "callback", s.second);
                            });
                            return sim::JsonObject("id", v.id, "state", sim::RawText{StateJson(v.state)}, "mute",
                                                   v.mute, "video", video, "audio", audio, "pendingCompletions",
                                                   v.pending_completions, "heldCompletions", v.held_completions);
                          }).text);
}

Napi::Value ReplayDownloaders(const Napi::CallbackInfo& info) {
  const auto downloaders = sim::ReplayDownloaders();
  return Json(info.Env(), JsonList(downloaders, [](const sim::ReplayDownloaderView& v) {
                            return sim::JsonObject(
                                "id", v.id, "initialized", v.initialized, "config",
                                sim::RawText{sim::JsonObject("maxParallelDownloads", v.config.max_parallel_downloads,
                                                             "userId", v.config.user_id)},
                                "pausedAll", v.paused_all, "downloads", JsonList(v.downloads, DownloadStatusJson),
                                "statusQueries", v.status_queries, "sizeQueries", v.size_queries,
                                "temporaryCacheSize", v.temporary_cache_size);
                          }).text);
}

Napi::Value ReplayChunks(const Napi::CallbackInfo& info) {
  Napi::Env env = info.Env();
  const std::string kind = info.Length() > 0 && info[0].IsString() ? info[0].As<Napi::String>().Utf8Value() : "";
  const auto chunks = sim::ReplayTimeline(kind, static_cast<int64_t>(Arg(info, 1, 0)),
                                          static_cast<int64_t>(Arg(info, 2, 0)),
                                          static_cast<int64_t>(Arg(info, 3, sim::GetReplayClass().duration_ms)),
                                          static_cast<int64_t>(Arg(info, 4, 0)));
  auto out = Napi::Array::New(env, chunks.size());
  for (size_t i = 0; i < chunks.size(); ++i) {
    auto o = Napi::Object::New(env);
    o.Set("npt", static_cast<double>(chunks[i].npt));
    o.Set("data", Napi::Buffer<uint8_t>::Copy(env, chunks[i].data.data(), chunks[i].data.size()));
    out.Set(static_cast<uint32_t>(i), o);
  }
  return out;
}

Napi::Value ReplayPicture(const Napi::CallbackInfo& info) {
  PictureArgs p;
  if (!ReadPicture(info, &p)) return info.Env().Undefined();
  const std::vector<uint8_t> planes = Picture(p);
  return Napi::Buffer<uint8_t>::Copy(info.Env(), planes.data(), planes.size());
}

Napi::Value ReplayPictureAbgr(const Napi::CallbackInfo& info) {
  PictureArgs p;
  if (!ReadPicture(info, &p)) return info.Env().Undefined();
  const std::vector<uint8_t> planes = Picture(p);
  const int cw = (p.width + 1) / 2, ch = (p.height + 1) / 2;
  const uint8_t* y = planes.data();
  const uint8_t* u = y + static_cast<size_t>(p.width) * p.height;
  const uint8_t* v = u + static_cast<size_t>(cw) * ch;
  auto out = Napi::Buffer<uint8_t>::New(info.Env(), static_cast<size_t>(p.width) * p.height * 4);
  tavel::I420ToABGR(y, p.width, u, cw, v, cw, out.Data(), p.width * 4, p.width, p.height);
  return out;
}

Napi::Value SourceFlag(const Napi::CallbackInfo& info) {
  const std::string key = info.Length() > 0 && info[0].IsString() ? info[0].As<Napi::String>().Utf8Value() : "";
  return Napi::Boolean::New(info.Env(), sim::Flag(key));
}

}  // namespace replay_control
