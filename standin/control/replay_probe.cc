// Probes for the stand-in's own tests: clients of the public replay API, as
// the add-on is one. They record every event, completion and answer with a
// copy of its data (JSON text, taken by probeEvents), keep the newest frame
// of each stream, and keep what they hand the engine until it is destroyed.
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "korin/replay/replay_downloader.h"
#include "korin/replay/replay_engine.h"
#include "record_fields.h"
#include "replay_control.h"
#include "replay_json.h"
#include "sim/sim.h"
#include "tavel/media_utils.h"

namespace replay_control {
namespace {

using namespace korin::replay;

class ProbeLog {
 public:
  template <typename... A>
  void Add(const char* event, const A&... fields) {
    std::string json = sim::JsonObject("event", event, fields...);
    std::lock_guard<std::mutex> lock(mu_);
    events_.push_back(std::move(json));
  }
  std::vector<std::string> Take() {
    std::lock_guard<std::mutex> lock(mu_);
    std::vector<std::string> out;
    out.swap(events_);
    return out;
  }

 private:
  std::mutex mu_;
  std::vector<std::string> events_;
};

sim::RawText ChunksJson(const ChunkList& chunks) {
  return JsonList(chunks, [](const Chunk& c) {
    return sim::JsonObject("npt", c.npt, "data", std::vector<uint8_t>(c.data, c.data + c.size));
  });
}

class ProbeCallback : public ReplayEngineCallback {
 public:
  explicit ProbeCallback(std::shared_ptr<ProbeLog> log) : log_(std::move(log)) {}
  void OnMetaResolved() override { log_->Add("OnMetaResolved"); }
  void OnError(int32_t code, int32_t sub) override { log_->Add("OnError", "errorCode", code, "subCode", sub); }
  void OnSnapshot(const ChunkList& l) override { log_->Add("OnSnapshot", "chunks", ChunksJson(l)); }
  void OnUserData(const ChunkList& l) override { log_->Add("OnUserData", "chunks", ChunksJson(l)); }
  void OnRadioMessage(const ChunkList& l) override { log_->Add("OnRadioMessage", "chunks", ChunksJson(l)); }
  void OnBufferStarted() override { log_->Add("OnBufferStarted"); }
  void OnBufferEnded() override { log_->Add("OnBufferEnded"); }
  void OnCompleted() override { log_->Add("OnCompleted"); }

 private:
  std::shared_ptr<ProbeLog> log_;
};

class ProbeStatus : public ActionStatusCallback {
 public:
  ProbeStatus(std::shared_ptr<ProbeLog> log, const BizInfo& stream) : log_(std::move(log)), stream_(stream) {}
  void OnActionStatus(const ActionStatus& s) override {
    log_->Add("OnActionStatus", "stream", sim::RawText{BizJson(stream_)}, "actionType", s.action_type, "durationMs",
              s.duration_ms, "extraData", s.extra_data);
  }

 private:
  std::shared_ptr<ProbeLog> log_;
  BizInfo stream_;
};

// Keeps the newest frame packed (Y, then U and V), read through the strides.
class ProbeSink : public VideoSink {
 public:
  void OnFrame(const VideoFrame& f) override {
    const int cw = (f.width + 1) / 2, ch = (f.height + 1) / 2;
    std::vector<uint8_t> planes;
    planes.reserve(static_cast<size_t>(f.width) * f.height + 2 * static_cast<size_t>(cw) * ch);
    auto copy = [&](const uint8_t* p, int stride, int w, int h) {
      for (int row = 0; row < h; ++row) planes.insert(planes.end(), p + row * stride, p + row * stride + w);
    };
    copy(f.data_y, f.stride_y, f.width, f.height);
    copy(f.data_u, f.stride_u, cw, ch);
    copy(f.data_v, f.stride_v, cw, ch);
    std::lock_guard<std::mutex> lock(mu_);
    ++count_;
    width_ = f.width;
    height_ = f.height;
    npt_ = f.npt_ms;
    planes_.swap(planes);
  }
  Napi::Object Read(Napi::Env env, const BizInfo& stream) {
    std::lock_guard<std::mutex> lock(mu_);
    auto o = Napi::Object::New(env);
    o.Set("bizType", stream.biz_type);
    o.Set("userId", static_cast<double>(stream.user_id));
    o.Set("groupId", stream.group_id);
    o.Set("count", static_cast<double>(count_));
    o.Set("width", width_);
    o.Set("height", height_);
    o.Set("nptMs", static_cast<double>(npt_));
    o.Set("i420", Napi::Buffer<uint8_t>::Copy(env, planes_.data(), planes_.size()));
    auto abgr = Napi::Buffer<uint8_t>::New(env, static_cast<size_t>(width_) * height_ * 4);
    if (count_ > 0) {
      const int cw = (width_ + 1) / 2, ch = (height_ + 1) / 2;
      const uint8_t* y = planes_.data();
      const uint8_t* u = y + static_cast<size_t>(width_) * height_;
      tavel::I420ToABGR(y, width_, u, cw, u + static_cast<size_t>(cw) * ch, cw, abgr.Data(), width_ * 4, width_,
                        height_);
    }
    o.Set("abgr", abgr);
    return o;
  }

 private:
  std::mutex mu_;
  uint64_t count_ = 0;
  int width_ = 0, height_ = 0;
  int64_t npt_ = 0;
  std::vector<uint8_t> planes_;
};

struct RoomProbe {
  std::shared_ptr<ProbeLog> log;
  std::unique_ptr<ProbeCallback> callback;
  ReplayEngine* engine = nullptr;
  std::map<BizInfo, std::unique_ptr<ProbeSink>> sinks;  // a stream's sink is reused
  std::vector<std::unique_ptr<ProbeStatus>> statuses;
  ~RoomProbe() {
    if (engine) ReplayEngine::Destroy(engine);  // before what it was handed goes
  }
};

struct DownloaderProbe {
  std::shared_ptr<ProbeLog> log;
  ReplayDownloader* downloader = nullptr;
  ~DownloaderProbe() {
    if (downloader) ReplayDownloader::Destroy(downloader);
  }
};

struct Probes {
  std::mutex mu;
  int64_t next_id = 1;
  std::map<int64_t, std::unique_ptr<RoomProbe>> rooms;
  std::map<int64_t, std::unique_ptr<DownloaderProbe>> downloaders;
  std::map<int64_t, std::shared_ptr<ProbeLog>> logs;  // kept after destroy: completions may come later
};

Probes& P() {
  static auto* p = new Probes;
  return *p;
}

// ---- arguments ----
Napi::Value At(const Napi::CallbackInfo& info, size_t i) { return info.Length() > i ? info[i] : info.Env().Undefined(); }
double Num(const Napi::Value& v) { return v.IsNumber() ? v.As<Napi::Number>().DoubleValue() : 0; }
int64_t Int(const Napi::Value& v) { return static_cast<int64_t>(Num(v)); }
std::string Str(const Napi::Value& v) { return v.IsString() ? v.As<Napi::String>().Utf8Value() : std::string(); }
bool Bool(const Napi::Value& v) { return v.ToBoolean().Value(); }
Napi::Value Field(const Napi::Value& o, const char* key) {
  return o.IsObject() ? o.As<Napi::Object>().Get(key) : o.Env().Undefined();
}

BizInfo Biz(const Napi::Value& o) {
  BizInfo b;
  ReadFields(o, "bizType", b.biz_type, "userId", b.user_id, "groupId", b.group_id);
  return b;
}

RoomInfo Room(const Napi::Value& o) {
  RoomInfo r;
  ReadFields(o, "host", r.host, "roomId", r.room_id, "signature", r.signature, "businessId", r.business_id, "isAdmin",
             r.is_admin, "isSlim", r.is_slim, "live", r.live, "timeToPlayMs", r.time_to_play_ms,
             "forceFlushMetaInfo", r.force_flush_meta_info);
  return r;
}

DownloadRoomInfo DownloadRoom(const Napi::Value& o) {
  DownloadRoomInfo r;
  ReadFields(o, "roomId", r.room_id, "businessId", r.business_id, "isSlim", r.is_slim, "isAdmin", r.is_admin);
  return r;
}

DownloadRequest Request(const Napi::Value& o) {
  DownloadRequest r;
  ReadFields(o, "host", r.host, "signature", r.signature, "enableEvicted", r.enable_evicted, "startNpt", r.start_npt,
             "endNpt", r.end_npt);
  r.room_info = DownloadRoom(Field(o, "roomInfo"));
  const Napi::Value spans = Field(o, "spans");
  if (spans.IsArray()) {
    const Napi::Array a = spans.As<Napi::Array>();
    for (uint32_t i = 0; i < a.Length(); ++i) {
      DownloadSpan span;
      ReadFields(a.Get(i), "startNpt", span.start_npt, "endNpt", span.end_npt);
      r.spans.push_back(span);
    }
  }
  return r;
}

Napi::Value Number(Napi::Env env, double v) { return Napi::Number::New(env, v); }

// {result, tag}: what the engine answered and the tag its completion logs.
Napi::Value Requested(Napi::Env env, int result, int64_t tag) {
  auto o = Napi::Object::New(env);
  o.Set("result", result);
  o.Set("tag", static_cast<double>(tag));
  return o;
}

std::shared_ptr<ProbeLog> NewLog(int64_t* id) {
  std::lock_guard<std::mutex> lock(P().mu);
  *id = P().next_id++;
  auto log = std::make_shared<ProbeLog>();
  P().logs[*id] = log;
  return log;
}

int64_t NextTag() {
  static int64_t tag = 0;
  return ++tag;
}

Napi::Value CreateRoom(Napi::Env env, bool with_callback) {
  int64_t id;
  auto probe = std::make_unique<RoomProbe>();
  probe->log = NewLog(&id);
  if (with_callback) probe->callback = std::make_unique<ProbeCallback>(probe->log);
  probe->engine = ReplayEngine::Create(probe->callback.get());
  if (!probe->engine) return Number(env, 0);
  std::lock_guard<std::mutex> lock(P().mu);
  P().rooms[id] = std::move(probe);
  return Number(env, static_cast<double>(id));
}

Napi::Value CreateDownloader(Napi::Env env) {
  int64_t id;
  auto probe = std::make_unique<DownloaderProbe>();
  probe->log = NewLog(&id);
  probe->downloader = ReplayDownloader::Create();
  if (!probe->downloader) return Number(env, 0);
  std::lock_guard<std::mutex> lock(P().mu);
  P().downloaders[id] = std::move(probe);
  return Number(env, static_cast<double>(id));
}

template <typename T>
T* Find(std::map<int64_t, std::unique_ptr<T>>& probes, int64_t id) {
  std::lock_guard<std::mutex> lock(P().mu);
  auto it = probes.find(id);
  return it == probes.end() ? nullptr : it->second.get();
}

template <typename T>
void Erase(std::map<int64_t, std::unique_ptr<T>>& probes, int64_t id) {
  std::unique_ptr<T> gone;
  {
    std::lock_guard<std::mutex> lock(P().mu);
    auto it = probes.find(id);
    if (it == probes.end()) return;
    gone = std::move(it->second);
    probes.erase(it);
  }
}

// The probe an op addresses: null once 'create' or 'destroy' has been done
// (its answer in *done), or when there is no such probe (thrown).
template <typename T, typename Create>
T* Addressed(const Napi::CallbackInfo& info, std::map<int64_t, std::unique_ptr<T>>& probes, Create&& create,
             Napi::Value* done) {
  const std::string op = Str(At(info, 0));
  *done = info.Env().Undefined();
  if (op == "create") {
    *done = create();
    return nullptr;
  }
  const int64_t id = Int(At(info, 1));
  if (op == "destroy") {
    Erase(probes, id);
    return nullptr;
  }
  T* p = Find(probes, id);
  if (!p) Napi::Error::New(info.Env(), "no such probe").ThrowAsJavaScriptException();
  return p;
}

}  // namespace

// probeReplay('create', withCallback = true) answers a probe id (0: Create
// failed); probeReplay(op, id, ...args) calls the engine's op.
Napi::Value ProbeReplay(const Napi::CallbackInfo& info) {
  Napi::Env env = info.Env();
  const std::string op = Str(At(info, 0));
  Napi::Value done;
  RoomProbe* p = Addressed(info, P().rooms, [&] { return CreateRoom(env, info.Length() < 2 || Bool(info[1])); }, &done);
  if (!p) return done;
  ReplayEngine* e = p->engine;
  const Napi::Value a = At(info, 2), b = At(info, 3);
  if (op == "enterRoom") return Number(env, e->EnterRoom(Room(a)));
  if (op == "play") return Number(env, e->Play());
  if (op == "pause") return Number(env, e->Pause());
  if (op == "setPlayRate") return Number(env, e->SetPlayRate(static_cast<float>(Num(a))));
  if (op == "setMute") return Number(env, e->SetMute(Bool(a)));
  if (op == "getState") return Napi::String::New(env, StateJson(e->GetState()));
  if (op == "getSpeechOutputLevel") return Number(env, e->GetSpeechOutputLevel(Biz(a)));
  if (op == "seekTo") {
    const int64_t tag = NextTag();
    return Requested(env, e->SeekTo(Int(a), [log = p->log, tag] { log->Add("seek", "tag", tag); }), tag);
  }
  if (op == "fetchUserData" || op == "fetchRadioData") {
    const int64_t tag = NextTag();
    auto done = [log = p->log, tag, name = op](const ChunkList& l) { log->Add(name.c_str(), "tag", tag, "chunks", ChunksJson(l)); };
    return Requested(env, op == "fetchUserData" ? e->FetchUserData(Int(a), Int(b), done) : e->FetchRadioData(Int(a), Int(b), done),
                   tag);
  }
  const BizInfo stream = Biz(a);
  if (op == "videoStartReceive") {
    auto& sink = p->sinks[stream];
    if (!sink) sink = std::make_unique<ProbeSink>();
    return Number(env, e->VideoStartReceive(stream, sink.get()));
  }
  if (op == "videoStopReceive") return Number(env, e->VideoStopReceive(stream));
  if (op == "audioStartReceive") {
    ActionStatusCallback* cb = nullptr;
    if (info.Length() < 4 || Bool(b)) {
      p->statuses.push_back(std::make_unique<ProbeStatus>(p->log, stream));
      cb = p->statuses.back().get();
    }
    return Number(env, e->AudioStartReceive(stream, cb));
  }
  if (op == "audioStopReceive") return Number(env, e->AudioStopReceive(stream));
  Napi::Error::New(env, "no such replay op: " + op).ThrowAsJavaScriptException();
  return env.Undefined();
}

// probeDownloader('create') answers a probe id (0: Create failed);
// probeDownloader(op, id, ...args) calls the downloader's op.
Napi::Value ProbeDownloader(const Napi::CallbackInfo& info) {
  Napi::Env env = info.Env();
  const std::string op = Str(At(info, 0));
  Napi::Value done;
  DownloaderProbe* p = Addressed(info, P().downloaders, [&] { return CreateDownloader(env); }, &done);
  if (!p) return done;
  ReplayDownloader* d = p->downloader;
  const Napi::Value a = At(info, 2), b = At(info, 3);
  if (op == "initialize") {
    DownloaderConfig c;
    ReadFields(a, "maxParallelDownloads", c.max_parallel_downloads, "userId", c.user_id);
    return Napi::Boolean::New(env, d->Initialize(c));
  }
  if (op == "isInitialized") return Napi::Boolean::New(env, d->IsInitialized());
  if (op == "addDownloadRequest") d->AddDownloadRequest(Request(a));
  else if (op == "pause") d->Pause(DownloadRoom(a));
  else if (op == "resume") d->Resume(DownloadRoom(a));
  else if (op == "pauseAll") d->PauseAll();
  else if (op == "resumeAll") d->ResumeAll();
  else if (op == "remove") d->Remove(DownloadRoom(a), Bool(b));
  else if (op == "removeWithRoomId") d->RemoveWithRoomId(DownloadRoom(a), Bool(b));
  else if (op == "removeAll") d->RemoveAll(Bool(a));
  else if (op == "removeTemporaryCache") d->RemoveTemporaryCache(Bool(a));
  else if (op == "getTemporaryCacheSizeSync") return Number(env, static_cast<double>(d->GetTemporaryCacheSizeSync()));
  else if (op == "getDownloadStatus" || op == "getTemporaryCacheSize") {
    const int64_t tag = NextTag();
    if (op == "getDownloadStatus")
      d->GetDownloadStatus([log = p->log, tag](const std::vector<DownloadStatus>& s) {
        log->Add("status", "tag", tag, "statuses", JsonList(s, DownloadStatusJson));
      });
    else
      d->GetTemporaryCacheSize([log = p->log, tag](int64_t bytes) { log->Add("size", "tag", tag, "bytes", bytes); });
    return Number(env, static_cast<double>(tag));
  } else {
    Napi::Error::New(env, "no such downloader op: " + op).ThrowAsJavaScriptException();
  }
  return env.Undefined();
}

// probeEvents(id): the events a probe logged since the last call, as JSON texts.
Napi::Value ProbeEvents(const Napi::CallbackInfo& info) {
  std::shared_ptr<ProbeLog> log;
  {
    std::lock_guard<std::mutex> lock(P().mu);
    auto it = P().logs.find(Int(At(info, 0)));
    if (it != P().logs.end()) log = it->second;
  }
  const std::vector<std::string> events = log ? log->Take() : std::vector<std::string>();
  auto out = Napi::Array::New(info.Env(), events.size());
  for (size_t i = 0; i < events.size(); ++i) out.Set(static_cast<uint32_t>(i), events[i]);
  return out;
}

// probeFrames(id): each stream's count and newest frame, packed and converted.
Napi::Value ProbeFrames(const Napi::CallbackInfo& info) {
  Napi::Env env = info.Env();
  RoomProbe* p = Find(P().rooms, Int(At(info, 0)));
  auto out = Napi::Array::New(env);
  if (!p) return out;
  uint32_t i = 0;
  for (auto& kv : p->sinks) out.Set(i++, kv.second->Read(env, kv.first));
  return out;
}

void DropProbes() {
  Probes& p = P();
  std::map<int64_t, std::unique_ptr<RoomProbe>> rooms;
  std::map<int64_t, std::unique_ptr<DownloaderProbe>> downloaders;
  {
    std::lock_guard<std::mutex> lock(p.mu);
    rooms.swap(p.rooms);
    downloaders.swap(p.downloaders);
    p.logs.clear();
  }
}

}  // namespace replay_control
