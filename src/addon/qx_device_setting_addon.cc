// QXDeviceSetting_*: device settings shared with the engine, in both
// directions.
#include <memory>
#include <utility>

#include "addon/groups.h"
#include "addon/services.h"
#include "common/convert.h"
#include "common/export_table.h"
#include "common/record_reader.h"
#include "korin/qx_engine_sdk.h"
#include "qx_base/keep_alive.h"
#include "qx_base/listener.h"
#include "qx_base/strand.h"
#include "rtc/source_flag.h"

namespace lumen_addon {

namespace {
using korin::QXDeviceSettingInfo;
// Both directions: what JavaScript updates and what the callback is given.
const record::Field<QXDeviceSettingInfo> kSetting[] = {
    LUMEN_FIELD("agcStatus", QXDeviceSettingInfo, agc_status, kBool),
    LUMEN_FIELD("preprocessorMode", QXDeviceSettingInfo, preprocessor_mode, kInt32),
    LUMEN_FIELD("micVolume", QXDeviceSettingInfo, mic_volume, kInt32),
    LUMEN_FIELD("speakerVolume", QXDeviceSettingInfo, speaker_volume, kInt32),
};
}  // namespace

template <>
struct ToJs<QXDeviceSettingInfo> {
  static Napi::Value New(Napi::Env env, const QXDeviceSettingInfo& s) { return record::Write(env, kSetting, s); }
};

namespace {

constexpr char kDisableSync[] = "disableSyncDeviceSetting20260205";

// Calls the function given to QXDeviceSetting_setDeviceSettingCallback with
// each setting, on a strand of its own (never waiting for JavaScript).
class DeviceSettingCallback : public korin::QXDeviceSettingCallback {
 public:
  DeviceSettingCallback(std::shared_ptr<Strand> strand, std::shared_ptr<Listener> function)
      : strand_(std::move(strand)), function_(std::move(function)) {}

  void OnDeviceSettingChanged(const QXDeviceSettingInfo& s) override { strand_->Emit(function_, nullptr, s); }

  // JavaScript thread: nothing more reaches the function.
  void Retire() {
    strand_->Close();
    function_->Clear();
  }

 private:
  const std::shared_ptr<Strand> strand_;
  const std::shared_ptr<Listener> function_;
};

// The engine may call the current callback, and a replaced one while the
// setter returns: both stay for the process.
std::shared_ptr<DeviceSettingCallback>& Current() {
  static auto* current = new std::shared_ptr<DeviceSettingCallback>;
  return *current;
}

Napi::Value UpdateSetting(const Napi::CallbackInfo& info) {
  // Switched off: not even the argument is read.
  if (rtc::SourceFlag::instance()->is_enable(kDisableSync)) return Napi::Value();
  QXDeviceSettingInfo setting;
  record::Read(info[0], kSetting, setting, record::kStrictPresent);
  if (info.Env().IsExceptionPending()) return Napi::Value();
  if (korin::QXDeviceSetting* engine = korin::QXDeviceSetting::GetInstance()) engine->UpdateSetting(setting);
  return Napi::Value();
}

Napi::Value SetDeviceSettingCallback(const Napi::CallbackInfo& info) {
  korin::QXDeviceSetting* engine = korin::QXDeviceSetting::GetInstance();
  if (!engine) return Napi::Value();
  std::shared_ptr<DeviceSettingCallback> callback;
  if (info[0].IsFunction()) {
    auto strand = Strand::Create(info.Env(), "QXDeviceSettingCallback");
    if (!strand) return Napi::Value();
    callback = std::make_shared<DeviceSettingCallback>(
        std::move(strand), Listener::Make(info.Env(), "QXDeviceSetting_setDeviceSettingCallback", info[0]));
  }
  engine->SetDeviceSettingCallback(callback.get());
  KeepAlive::ForProcess().Retire(std::exchange(Current(), std::move(callback)));
  return Napi::Value();
}

const ExportRow kRows[] = {
    {"QXDeviceSetting_updateSetting", UpdateSetting, AtLeast("o", "Expected arguments: setting (object)"), kVoid},
    {"QXDeviceSetting_setDeviceSettingCallback", SetDeviceSettingCallback,
     AtLeast("F", "Expected arguments: callback (function or null)"), kVoid},
};

}  // namespace

void RegisterQXDeviceSettingGroup(napi_env env, napi_value exports) { AddExports(env, exports, kRows); }

void ReleaseDeviceSettingCallback() {
  if (!Current()) return;
  if (korin::QXDeviceSetting* engine = korin::QXDeviceSetting::GetInstance()) engine->SetDeviceSettingCallback(nullptr);
  KeepAlive::ForProcess().Retire(std::exchange(Current(), nullptr));
}

}  // namespace lumen_addon
