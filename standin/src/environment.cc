// Process-wide services of the engine: switches, analytics, utilities.
#include <cstring>

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

namespace {
class SimTallyClient : public TallyClientV2 {
 public:
  void PostValueEntry(const ValueEntry& entry, int count, int flag) override {
    sim::CaptureTally({entry.url, entry.str_values, entry.num_values, count, flag});
  }
  void PostSerializedEntry(const std::string& url, const std::string& serialized) override {
    sim::CaptureTally({url, {{"serialized", serialized}}, {}, 1, 0});
  }
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
