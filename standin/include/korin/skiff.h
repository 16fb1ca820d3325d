// The download accelerator, in its two generations.
#ifndef KORIN_SKIFF_H_
#define KORIN_SKIFF_H_

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "engine_export.h"

struct SkiffConfig {
  std::string download_path;
  int32_t app_type = 0;
  std::string proxy_host;
  int32_t proxy_port = 0;
  int32_t parallel_project_count = 0;
  int32_t parallel_task_count = 0;
  int32_t parallel_block_count = 0;
};

// One download's statistics, reported on an engine thread.
class ENGINE_API SkiffDownloadStatisticCallback {
 public:
  virtual ~SkiffDownloadStatisticCallback();
  virtual void OnDownloadStatistic(const std::string& url, const std::map<std::string, std::string>& values) = 0;
};

class ENGINE_API Skiff {
 public:
  static void init(const SkiffConfig& config);
  static void setDownloadStatisticCallback(std::shared_ptr<SkiffDownloadStatisticCallback> callback);
};

namespace SkiffV2 {

struct SkiffConfigV2 {
  std::string cache_dir;
  std::string proxy;  // "host:port", empty without a proxy
  int32_t max_connections = 0;
  int32_t app_type = 0;
};

class ENGINE_API Skiff {
 public:
  static Skiff* Instance();
  virtual ~Skiff();
  virtual void Init() = 0;
  virtual void UpdataConfig(const SkiffConfigV2& config, bool restart) = 0;
  virtual void onNetworkTypeChanged() = 0;
};

}  // namespace SkiffV2

#endif  // KORIN_SKIFF_H_
