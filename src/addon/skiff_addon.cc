// skiff_*: the download accelerator, both generations configured from one
// JavaScript configuration.
#include <memory>

#include "addon/groups.h"
#include "common/convert.h"
#include "common/export_table.h"
#include "common/record_reader.h"
#include "korin/skiff.h"
#include "tavel/tally.h"

namespace lumen_addon {
namespace {

const record::Field<SkiffConfig> kConfigFields[] = {
    LUMEN_FIELD("downloadPath", SkiffConfig, download_path, kString),
    LUMEN_FIELD("appType", SkiffConfig, app_type, kInt32),
    LUMEN_FIELD("proxyHost", SkiffConfig, proxy_host, kString),
    LUMEN_FIELD("proxyPort", SkiffConfig, proxy_port, kInt32),
    LUMEN_FIELD("parallelProjectCount", SkiffConfig, parallel_project_count, kInt32),
    LUMEN_FIELD("parallelTaskCount", SkiffConfig, parallel_task_count, kInt32),
    LUMEN_FIELD("parallelBlockCount", SkiffConfig, parallel_block_count, kInt32),
};

// The second generation caches where the first downloads, through the same
// proxy, with as many connections as the first runs tasks.
SkiffV2::SkiffConfigV2 DeriveV2(const SkiffConfig& c) {
  SkiffV2::SkiffConfigV2 v2;
  v2.cache_dir = c.download_path;
  if (!c.proxy_host.empty()) v2.proxy = c.proxy_host + ":" + std::to_string(c.proxy_port);
  v2.max_connections = c.parallel_task_count;
  v2.app_type = c.app_type;
  return v2;
}

Napi::Value Init(const Napi::CallbackInfo& info) {
  const SkiffConfig config = record::Read(info[0], kConfigFields);
  Skiff::init(config);
  if (SkiffV2::Skiff* v2 = SkiffV2::Skiff::Instance()) {
    v2->Init();
    v2->UpdataConfig(DeriveV2(config), false);
  }
  return Napi::Value();
}

// Download statistics go to the analytics client under the engine's own path.
class StatisticForwarder : public SkiffDownloadStatisticCallback {
 public:
  void OnDownloadStatistic(const std::string& url, const std::map<std::string, std::string>& values) override {
    auto client = tavel::tallyv2::TallyClientV2::singleton();
    if (!client) return;
    tavel::tallyv2::ValueEntry entry;
    entry.url = url;
    entry.str_values = values;
    client->PostValueEntry(entry, 1, 0);
  }
};

Napi::Value SetDownloadStatisticCallback(const Napi::CallbackInfo&) {
  Skiff::setDownloadStatisticCallback(std::make_shared<StatisticForwarder>());
  return Napi::Value();
}

Napi::Value OnNetworkTypeChanged(const Napi::CallbackInfo&) {
  if (SkiffV2::Skiff* v2 = SkiffV2::Skiff::Instance()) v2->onNetworkTypeChanged();
  return Napi::Value();
}

const ExportRow kRows[] = {
    {"skiff_init", Init, Exactly("o", "Expected arguments: config"), kVoid},
    {"skiff_setDownloadStatisticCallback", SetDownloadStatisticCallback, Free(), kVoid},
    {"skiff_onNetworkTypeChanged", OnNetworkTypeChanged, Free(), kVoid},
};

}  // namespace

void RegisterSkiffGroup(napi_env env, napi_value exports) { AddExports(env, exports, kRows); }

}  // namespace lumen_addon
