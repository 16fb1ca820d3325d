// QXDeviceSetting_*: device settings shared with the engine, in both
// directions.
#include <memory>
#include <utility>

#include "addon/groups.h"
#include "addon/services.h"
#include "callback/threadsafe_function.h"
#include "common/convert.h"
#include "common/export_table.h"
#include "common/strict_read.h"
#include "korin/qx_engine_sdk.h"
#include "rtc/source_flag.h"

namespace lumen_addon {
namespace {

constexpr char kDisableSync[] = "disableSyncDeviceSetting20260205";

class DeviceSettingCallback : public korin::QXDeviceSettingCallback {
 public:
  explicit DeviceSettingCallback(std::shared_ptr<JsFunctionBridge> bridge) : bridge_(std::move(bridge)) {}
  ~DeviceSettingCallback() override { bridge_->Release(); }

  // Never waits for the JavaScript thread.
  void OnDeviceSettingChanged(const korin::QXDeviceSettingInfo& s) override {
    bridge_->Call([s](Napi::Env env, Napi::Function fn) {
      if (fn.IsEmpty()) return;
      Napi::Object o = Napi::Object::New(env);
      o.Set("agcStatus", s.agc_status);
      o.Set("preprocessorMode", s.preprocessor_mode);
      o.Set("micVolume", s.mic_volume);
      o.Set("speakerVolume", s.speaker_volume);
      fn.Call(env.Undefined(), {o});
    }, false);
  }

 private:
  std::shared_ptr<JsFunctionBridge> bridge_;
};

// JavaScript thread only.
std::unique_ptr<DeviceSettingCallback>& Current() {
  static auto* current = new std::unique_ptr<DeviceSettingCallback>;
  return *current;
}

Napi::Value UpdateSetting(const Napi::CallbackInfo& info) {
  // Switched off: not even the argument is read.
  if (rtc::SourceFlag::instance()->is_enable(kDisableSync)) return Napi::Value();
  Napi::Object o = info[0].As<Napi::Object>();
  korin::QXDeviceSettingInfo setting;
  strict::ReadAt(o, "agcStatus", &setting.agc_status);
  strict::ReadAt(o, "preprocessorMode", &setting.preprocessor_mode);
  strict::ReadAt(o, "micVolume", &setting.mic_volume);
  strict::ReadAt(o, "speakerVolume", &setting.speaker_volume);
  if (info.Env().IsExceptionPending()) return Napi::Value();
  if (korin::QXDeviceSetting* engine = korin::QXDeviceSetting::GetInstance()) engine->UpdateSetting(setting);
  return Napi::Value();
}

Napi::Value SetDeviceSettingCallback(const Napi::CallbackInfo& info) {
  korin::QXDeviceSetting* engine = korin::QXDeviceSetting::GetInstance();
  if (!engine) return Napi::Value();
  std::unique_ptr<DeviceSettingCallback> callback;
  if (info[0].IsFunction()) {
    auto bridge = JsFunctionBridge::Create(info.Env(), info[0], "QXDeviceSettingCallback");
    if (!bridge) return Napi::Value();
    callback = std::make_unique<DeviceSettingCallback>(std::move(bridge));
  }
  engine->SetDeviceSettingCallback(callback.get());
  // The engine no longer calls the previous one.
  Current() = std::move(callback);
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
  Current().reset();
}

}  // namespace lumen_addon
