// The newer SDK entry points and the shared device settings.
#ifndef KORIN_QX_ENGINE_SDK_H_
#define KORIN_QX_ENGINE_SDK_H_

#include <cstdint>
#include <string>
#include <vector>

#include "engine_export.h"
#include "rtc/logging.h"

namespace korin {

struct QXUserConfig {
  int64_t user_id = 0;
  int32_t user_type = 0;
};

struct QXInitConfig {
  int32_t tenant_id = 0;
  int32_t product_id = 0;
  std::string tally_host;
  std::string service_host;
  bool test_environment = false;
  QXUserConfig user_config;
  std::string cache_path;
};

struct QXResultInfo {
  int32_t code = 0;
  std::string message;
};

// Receives every log record of the engine once the SDK is initialised, on
// the thread that wrote it.
class ENGINE_API QXLogCallback {
 public:
  virtual ~QXLogCallback();
  virtual void OnLogMessage(const std::string& message, const std::vector<rtc::LogField>& fields) = 0;
};

class ENGINE_API QXEngineSdk {
 public:
  // A later Init replaces the log callback; the engine lets go of the
  // earlier one before it returns. Null removes it.
  static QXResultInfo Init(const QXInitConfig& config, QXLogCallback* log_callback);
  static std::string Version();
  static QXResultInfo UpdateUserConfig(const QXUserConfig& config);
  static QXResultInfo UpdateEnvironment(bool test_environment, const std::string& first, const std::string& second);
  static void UpdateCookie(const std::string& cookies);
};

struct QXDeviceSettingInfo {
  bool agc_status = false;
  int32_t preprocessor_mode = 0;
  int32_t mic_volume = 0;
  int32_t speaker_volume = 0;
};

class ENGINE_API QXDeviceSettingCallback {
 public:
  virtual ~QXDeviceSettingCallback();
  virtual void OnDeviceSettingChanged(const QXDeviceSettingInfo& info) = 0;
};

class ENGINE_API QXDeviceSetting {
 public:
  static QXDeviceSetting* GetInstance();
  virtual ~QXDeviceSetting();
  virtual void UpdateSetting(const QXDeviceSettingInfo& info) = 0;
  // Null removes the callback; the engine no longer calls the old one once
  // this returns.
  virtual void SetDeviceSettingCallback(QXDeviceSettingCallback* callback) = 0;
};

}  // namespace korin

#endif  // KORIN_QX_ENGINE_SDK_H_
