// The simulated environment services: media dump upload, face detection, the
// download accelerator, the network probe's answers, the newer SDK entry
// points with their log callback, and the shared device settings.
#include <memory>
#include <mutex>

#include "korin/environment_services.h"
#include "korin/qx_engine_sdk.h"
#include "korin/skiff.h"
#include "live/internal.h"
#include "sim/records.h"
#include "sim/services.h"
#include "sim/sim.h"

namespace korin {

inline std::string ToJson(const QXUserConfig& v) { return sim::JsonObject("user_id", v.user_id, "user_type", v.user_type); }
inline std::string ToJson(const QXInitConfig& v) {
  return sim::JsonObject("tenant_id", v.tenant_id, "product_id", v.product_id, "tally_host", v.tally_host,
                         "service_host", v.service_host, "test_environment", v.test_environment, "user_config",
                         sim::RawText{ToJson(v.user_config)}, "cache_path", v.cache_path);
}
inline std::string ToJson(const QXDeviceSettingInfo& v) {
  return sim::JsonObject("agc_status", v.agc_status, "preprocessor_mode", v.preprocessor_mode, "mic_volume",
                         v.mic_volume, "speaker_volume", v.speaker_volume);
}

}  // namespace korin

inline std::string ToJson(const SkiffConfig& v) {
  return sim::JsonObject("download_path", v.download_path, "app_type", v.app_type, "proxy_host", v.proxy_host,
                         "proxy_port", v.proxy_port, "parallel_project_count", v.parallel_project_count,
                         "parallel_task_count", v.parallel_task_count, "parallel_block_count",
                         v.parallel_block_count);
}

namespace SkiffV2 {
inline std::string ToJson(const SkiffConfigV2& v) {
  return sim::JsonObject("cache_dir", v.cache_dir, "proxy", v.proxy, "max_connections", v.max_connections, "app_type",
                         v.app_type);
}
}  // namespace SkiffV2

namespace sim {
namespace {

struct ServiceState {
  std::mutex mu;
  ProbeResult probe;
  korin::FaceDetectResult face;
};

ServiceState& S() {
  static auto* s = [] {
    auto* state = new ServiceState;
    OnReset([state] {
      std::lock_guard<std::mutex> lock(state->mu);
      state->probe = ProbeResult{};
      state->face = korin::FaceDetectResult{};
    });
    return state;
  }();
  return *s;
}

}  // namespace

void SetProbeResult(const ProbeResult& result) {
  std::lock_guard<std::mutex> lock(S().mu);
  S().probe = result;
}

void FillProbeResult(korin::transport_v2::NetworkProberContext* c) {
  std::lock_guard<std::mutex> lock(S().mu);
  c->is_connected = S().probe.is_connected;
  c->rtt = S().probe.rtt;
  c->loss_rate = S().probe.loss_rate;
}

void SetFaceResult(const korin::FaceDetectResult& result) {
  std::lock_guard<std::mutex> lock(S().mu);
  S().face = result;
}

korin::FaceDetectResult FaceResult() {
  std::lock_guard<std::mutex> lock(S().mu);
  return S().face;
}

}  // namespace sim

namespace korin {

namespace media_dump {
int RefreshUploadDataInLiveScene() { return sim::Call("korin.media_dump.RefreshUploadDataInLiveScene"); }
int UpdateSalvageRules(const std::string& rules) { return sim::Call("korin.media_dump.UpdateSalvageRules", rules); }
int StartUpload() { return sim::Call("korin.media_dump.StartUpload"); }
int StopUpload() { return sim::Call("korin.media_dump.StopUpload"); }
}  // namespace media_dump

namespace {

size_t FaceImageSize(int width, int height, int format) {
  const size_t w = static_cast<size_t>(width), h = static_cast<size_t>(height);
  switch (format) {
    case kFaceImageI420: return w * h + 2 * (((w + 1) / 2) * ((h + 1) / 2));
    case kFaceImageRgb24: return w * h * 3;
    case kFaceImageRgba: return w * h * 4;
    default: return 0;
  }
}

FaceDetectStatus Detected(const std::string& op, FaceDetectResult* result) {
  const int status = sim::ScriptedInt(op, 0);
  if (result && status == 0) *result = sim::FaceResult();
  return static_cast<FaceDetectStatus>(status);
}

}  // namespace

FaceDetectStatus FaceDetectUtil::DetectFaceSync(const std::string& path, FaceDetectResult* result) {
  sim::Note("korin.FaceDetectUtil.DetectFaceSync", path);
  return Detected("korin.FaceDetectUtil.DetectFaceSync", result);
}

// Reads every byte the picture needs, as a detector would: the journal
// carries their sum, so callers can see which bytes were handed over.
FaceDetectStatus FaceDetectUtil::DetectFaceSyncWithBuffer(const uint8_t* data, size_t size, int width, int height,
                                                          int format, FaceDetectResult* result) {
  const size_t need = width > 0 && height > 0 && width <= 16384 && height <= 16384 ? FaceImageSize(width, height, format) : 0;
  if (need == 0) {
    sim::Note("korin.FaceDetectUtil.DetectFaceSyncWithBuffer", static_cast<double>(size), width, height, format, 0);
    return FaceDetectStatus::kInvalidSize;
  }
  uint64_t sum = 0;
  if (data && size >= need)
    for (size_t i = 0; i < need; ++i) sum += data[i];
  sim::Note("korin.FaceDetectUtil.DetectFaceSyncWithBuffer", static_cast<double>(size), width, height, format,
            static_cast<double>(sum));
  if (!data || size < need) return FaceDetectStatus::kInvalidSize;
  return Detected("korin.FaceDetectUtil.DetectFaceSyncWithBuffer", result);
}

// ---- the newer SDK entry points ------------------------------------------------

namespace {

// Hands every log record to the SDK's log callback.
class QXLogSink : public rtc::LogSink {
 public:
  explicit QXLogSink(QXLogCallback* callback) : callback_(callback) {}
  void OnLogRecord(const rtc::LogRecord& record) override { callback_->OnLogMessage(record.message, record.fields); }

 private:
  QXLogCallback* callback_;
};

std::mutex g_sdk_mu;
// Never destroyed: engine threads may still log through it while the
// process exits.
std::unique_ptr<QXLogSink>& g_log_sink = *new std::unique_ptr<QXLogSink>;

QXResultInfo Result(const std::string& op) {
  QXResultInfo r;
  r.code = sim::ScriptedInt(op, 0);
  r.message = r.code == 0 ? "ok" : "failed";
  return r;
}

}  // namespace

QXLogCallback::~QXLogCallback() = default;

QXResultInfo QXEngineSdk::Init(const QXInitConfig& config, QXLogCallback* log_callback) {
  sim::Note("korin.QXEngineSdk.Init", config, static_cast<const void*>(log_callback));
  std::lock_guard<std::mutex> lock(g_sdk_mu);
  if (g_log_sink) rtc::LogMessage::RemoveLogToStream(g_log_sink.get());
  g_log_sink.reset();
  if (log_callback) {
    g_log_sink = std::make_unique<QXLogSink>(log_callback);
    rtc::LogMessage::AddLogToStream(g_log_sink.get(), rtc::LS_VERBOSE);
  }
  return Result("korin.QXEngineSdk.Init");
}

std::string QXEngineSdk::Version() {
  sim::Note("korin.QXEngineSdk.Version");
  return sim::ScriptedStr("korin.QXEngineSdk.Version", "4.60.0-standin");
}

QXResultInfo QXEngineSdk::UpdateUserConfig(const QXUserConfig& config) {
  sim::Note("korin.QXEngineSdk.UpdateUserConfig", config);
  return Result("korin.QXEngineSdk.UpdateUserConfig");
}

QXResultInfo QXEngineSdk::UpdateEnvironment(bool test, const std::string& first, const std::string& second) {
  sim::Note("korin.QXEngineSdk.UpdateEnvironment", test, first, second);
  return Result("korin.QXEngineSdk.UpdateEnvironment");
}

void QXEngineSdk::UpdateCookie(const std::string& cookies) { sim::Note("korin.QXEngineSdk.UpdateCookie", cookies); }

QXDeviceSettingCallback::~QXDeviceSettingCallback() = default;
QXDeviceSetting::~QXDeviceSetting() = default;

namespace {

// OnDeviceSettingChanged is fired with [agcStatus, preprocessorMode, micVolume, speakerVolume].
class QXDeviceSettingSim : public QXDeviceSetting {
 public:
  void UpdateSetting(const QXDeviceSettingInfo& info) override { sim::Note("korin.QXDeviceSetting.UpdateSetting", info); }
  void SetDeviceSettingCallback(QXDeviceSettingCallback* callback) override {
    sim::Note("korin.QXDeviceSetting.SetDeviceSettingCallback", static_cast<const void*>(callback));
    if (!callback) {
      sim::ReleaseName("QXDeviceSettingCallback.OnDeviceSettingChanged", this);
      return;
    }
    sim::Hold(this, "QXDeviceSettingCallback.OnDeviceSettingChanged", [callback](const sim::Args& a) {
      QXDeviceSettingInfo info;
      info.agc_status = a.Bool(0);
      info.preprocessor_mode = static_cast<int32_t>(a.Int(1));
      info.mic_volume = static_cast<int32_t>(a.Int(2));
      info.speaker_volume = static_cast<int32_t>(a.Int(3));
      callback->OnDeviceSettingChanged(info);
    });
  }
};

}  // namespace

QXDeviceSetting* QXDeviceSetting::GetInstance() {
  static QXDeviceSetting* instance = new QXDeviceSettingSim;
  return instance;
}

}  // namespace korin

// ---- the download accelerator -------------------------------------------------------

SkiffDownloadStatisticCallback::~SkiffDownloadStatisticCallback() = default;

namespace {
// DownloadStatistic is fired with [url, "key=value" lines].
const char kSkiffOwner = 0;
}  // namespace

void Skiff::init(const SkiffConfig& config) { sim::Note("Skiff.init", config); }

void Skiff::setDownloadStatisticCallback(std::shared_ptr<SkiffDownloadStatisticCallback> callback) {
  sim::Note("Skiff.setDownloadStatisticCallback", static_cast<const void*>(callback.get()));
  if (!callback) {
    sim::ReleaseName("SkiffDownloadStatisticCallback.OnDownloadStatistic", &kSkiffOwner);
    return;
  }
  sim::Hold(&kSkiffOwner, "SkiffDownloadStatisticCallback.OnDownloadStatistic", [callback](const sim::Args& a) {
    std::map<std::string, std::string> values;
    const std::string lines = a.Str(1);
    for (size_t start = 0; start < lines.size();) {
      size_t end = lines.find('\n', start);
      if (end == std::string::npos) end = lines.size();
      const std::string line = lines.substr(start, end - start);
      const size_t eq = line.find('=');
      if (eq != std::string::npos) values[line.substr(0, eq)] = line.substr(eq + 1);
      start = end + 1;
    }
    callback->OnDownloadStatistic(a.Str(0), values);
  });
}

namespace SkiffV2 {

Skiff::~Skiff() = default;

namespace {
class SkiffSim : public Skiff {
 public:
  void Init() override { sim::Note("SkiffV2.Skiff.Init"); }
  void UpdataConfig(const SkiffConfigV2& config, bool restart) override {
    sim::Note("SkiffV2.Skiff.UpdataConfig", config, restart);
  }
  void onNetworkTypeChanged() override { sim::Note("SkiffV2.Skiff.onNetworkTypeChanged"); }
};
}  // namespace

Skiff* Skiff::Instance() {
  static Skiff* instance = new SkiffSim;
  return instance;
}

}  // namespace SkiffV2
