// Process-wide services of the engine: switches, analytics, utilities.
#include <cstring>
#include <mutex>

#include "korin/sdk_log_sink.h"
#include "rtc/source_flag.h"
#include "rtc/string_utils.h"
#include "sim/sim.h"
#include "tavel/engine_test.h"
#include "tavel/media_utils.h"
#include "tavel/source_flag.h"
#include "tavel/tally.h"

namespace rtc {

SourceFlag* SourceFlag::instance() {
  static SourceFlag* flag = new SourceFlag;
  return flag;
}

bool SourceFlag::is_enable(const std::string& key) const { return sim::Flag(key); }

std::string Utf8ToAnsi(const std::string& utf8) { return utf8; }
std::string AnsiToUtf8(const std::string& ansi) { return ansi; }

}  // namespace rtc

namespace tavel {

void SetSourceFlag(const std::string& text) {
  sim::Record("tavel.SetSourceFlag", sim::ArgsJson(text));
  sim::SetFlags(text);
}

bool GetSourceFlagWithKey(const std::string& key) { return sim::Flag(key); }
bool GetAudioEngineSourceFlagWithKey(const std::string& key) { return sim::Flag(key); }

int UpdateEngineParams(int type, const std::string& params) {
  return sim::Call("tavel.UpdateEngineParams", type, params);
}

int EngineTest::ExecuteOpenglTest() { return sim::Call("tavel.EngineTest.ExecuteOpenglTest"); }

void FastMemoryCopy(void* dst, const void* src, size_t size) {
  if (size) std::memcpy(dst, src, size);
}

int I420ToABGR(const uint8_t* src_y, int stride_y, const uint8_t* src_u, int stride_u,
               const uint8_t* src_v, int stride_v, uint8_t* dst, int dst_stride, int width,
               int height) {
  if (!src_y || !src_u || !src_v || !dst || width <= 0 || height <= 0) return -1;
  auto clamp = [](int v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); };
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      int c = src_y[y * stride_y + x] - 16;
      int d = src_u[(y / 2) * stride_u + x / 2] - 128;
      int e = src_v[(y / 2) * stride_v + x / 2] - 128;
      uint8_t* p = dst + y * dst_stride + x * 4;
      p[0] = clamp((298 * c + 409 * e + 128) >> 8);
      p[1] = clamp((298 * c - 100 * d - 208 * e + 128) >> 8);
      p[2] = clamp((298 * c + 516 * d + 128) >> 8);
      p[3] = 255;
    }
  }
  return 0;
}

int ARGBRotate(const uint8_t* src, int src_stride, uint8_t* dst, int dst_stride, int width,
               int height, int rotation) {
  if (!src || !dst || width <= 0 || height <= 0) return -1;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      int dx = x, dy = y;
      switch (rotation) {
        case 90: dx = height - 1 - y; dy = x; break;
        case 180: dx = width - 1 - x; dy = height - 1 - y; break;
        case 270: dx = y; dy = width - 1 - x; break;
        default: break;
      }
      std::memcpy(dst + dy * dst_stride + dx * 4, src + y * src_stride + x * 4, 4);
    }
  }
  return 0;
}

namespace tallyv2 {

TallyClientV2::~TallyClientV2() = default;
LocalTallyObserver::~LocalTallyObserver() = default;

namespace {
struct RawJson {
  std::string text;
};
inline std::string ToJson(const RawJson& r) { return r.text; }

class SimTallyClient : public TallyClientV2 {
 public:
  void PostValueEntry(const ValueEntry& entry, int count, int flag) override {
    sim::CaptureTally({entry.url, entry.str_values, entry.num_values, count, flag});
    Observe([&](LocalTallyObserver* o) { o->OnLocalTallyPostValueEntry(entry, count); });
  }
  void PostSerializedEntry(const std::string& url, const std::string& serialized) override {
    sim::CaptureTally({url, {{"serialized", serialized}}, {}, 1, 0});
  }
  // The rest is journalled; see docs/sim-services.md.
  void PostSerialized(const std::string& url, const std::string& serialized, int category) override {
    sim::Note("tavel.tallyv2.TallyClientV2.PostSerialized", url, serialized, category);
    sim::CaptureTally({url, {{"serialized", serialized}}, {}, category, 0});
  }
  void UpdateConfig(const TallyConfig& c) override {
    sim::Note("tavel.tallyv2.TallyClientV2.UpdateConfig", RawJson{sim::JsonObject("user_id", c.user_id, "server_host", c.server_host)});
  }
  void UpdateHeader(const TallyMaps& header, int category) override {
    sim::Note("tavel.tallyv2.TallyClientV2.UpdateHeader", MapsJson(header), category);
    Observe([&](LocalTallyObserver* o) { o->OnLocalTallyUpdateHeader(header, category); });
  }
  void UpdateCommonState(const TallyMaps& state, int category) override {
    sim::Note("tavel.tallyv2.TallyClientV2.UpdateCommonState", MapsJson(state), category);
  }
  void SetLocalTallyObserver(LocalTallyObserver* observer) override {
    sim::Note("tavel.tallyv2.TallyClientV2.SetLocalTallyObserver", observer);
    std::lock_guard<std::mutex> lock(mu_);
    observer_ = observer;
  }

 private:
  // The observer is called under the lock, so that it is not called any
  // more once a replacement has returned; with the no-wait switch on it is
  // called outside it, and a replaced one may still be running.
  template <typename F>
  void Observe(F f) {
    if (sim::NoWait()) {
      LocalTallyObserver* observer = nullptr;
      {
        std::lock_guard<std::mutex> lock(mu_);
        observer = observer_;
      }
      if (observer) f(observer);
      return;
    }
    std::lock_guard<std::mutex> lock(mu_);
    if (observer_) f(observer_);
  }
  static RawJson MapsJson(const TallyMaps& m) {
    std::string str = "{", num = "{";
    for (auto& kv : m.str_values) str += (str.size() > 1 ? "," : "") + sim::Quote(kv.first) + ":" + sim::Quote(kv.second);
    for (auto& kv : m.num_values) num += (num.size() > 1 ? "," : "") + sim::Quote(kv.first) + ":" + sim::ToJson(kv.second);
    return {"{\"str\":" + str + "},\"num\":" + num + "},\"removeStr\":" + sim::ToJson(m.remove_str_values) +
            ",\"removeNum\":" + sim::ToJson(m.remove_num_values) + "}"};
  }
  std::mutex mu_;
  LocalTallyObserver* observer_ = nullptr;
};
}  // namespace

std::shared_ptr<TallyClientV2> TallyClientV2::singleton() {
  static auto* client = new std::shared_ptr<TallyClientV2>(std::make_shared<SimTallyClient>());
  return *client;
}

}  // namespace tallyv2
}  // namespace tavel

namespace korin {

SdkLogExecutor::~SdkLogExecutor() = default;

SdkLogSink::SdkLogSink(std::shared_ptr<SdkLogExecutor> executor) : executor_(std::move(executor)) {}
SdkLogSink::~SdkLogSink() = default;

void SdkLogSink::OnLogRecord(const rtc::LogRecord& record) {
  if (executor_) executor_->Log(record.message, record.fields);
}

}  // namespace korin
