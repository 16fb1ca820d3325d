// QXEngineSdk_*: the SDK's own initialisation, user, environment and cookies,
// and the "addon_log" executor that hands JavaScript every engine log record.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "addon/groups.h"
#include "addon/services.h"
#include "callback/addon_callback.h"
#include "callback/threadsafe_function.h"
#include "common/convert.h"
#include "common/export_table.h"
#include "common/strict_read.h"
#include "korin/qx_engine_sdk.h"

namespace lumen_addon {
namespace {

// Set while a record is delivered to onLogMessage on this thread: lines
// written meanwhile (by the method, or about its failure) would come back
// as records of their own, for ever.
thread_local bool t_delivering = false;

class AddonLogCallback : public korin::QXLogCallback {
 public:
  AddonLogCallback(std::shared_ptr<JsFunctionBridge> bridge, std::shared_ptr<AddonCallback> target)
      : bridge_(std::move(bridge)), target_(std::move(target)) {}

  void OnLogMessage(const std::string& message, const std::vector<rtc::LogField>& fields) override {
    if (t_delivering) return;
    std::shared_ptr<AddonCallback> target = target_;
    bridge_->Call([target, message, fields](Napi::Env env, Napi::Function) {
      Napi::Object object = target->GetJsCallback();
      if (object.IsEmpty()) return;
      Napi::Value method = object.Get("onLogMessage");
      if (method.IsEmpty() || !method.IsFunction()) return;
      Napi::Array list = Napi::Array::New(env, fields.size());
      for (size_t i = 0; i < fields.size(); ++i) {
        Napi::Object f = Napi::Object::New(env);
        f.Set("key", fields[i].key);
        f.Set("value", fields[i].value);
        list.Set(static_cast<uint32_t>(i), f);
      }
      t_delivering = true;
      method.As<Napi::Function>().Call(object, {Napi::String::New(env, message), list});
      t_delivering = false;
    });
  }

 private:
  std::shared_ptr<JsFunctionBridge> bridge_;
  std::shared_ptr<AddonCallback> target_;
};

// The engine may call the callback for as long as it lives: the current one
// is kept for the process (its bridge closes with the environment, after
// which records are dropped) and replaced by a later Init.
std::unique_ptr<AddonLogCallback>& LogCallback() {
  static auto* callback = new std::unique_ptr<AddonLogCallback>;
  return *callback;
}

korin::QXUserConfig ReadUserConfig(const Napi::Value& v) {
  korin::QXUserConfig c;
  Napi::Object o = js::ToObject(v);
  strict::ReadAt(o, "userId", &c.user_id);
  strict::ReadAt(o, "userType", &c.user_type);
  return c;
}

Napi::Value Init(const Napi::CallbackInfo& info) {
  Napi::Env env = info.Env();
  korin::QXInitConfig config;
  Napi::Object o = info[0].As<Napi::Object>();
  strict::ReadAt(o, "tenantId", &config.tenant_id);
  strict::ReadAt(o, "productId", &config.product_id);
  strict::ReadAt(o, "tallyHost", &config.tally_host);
  strict::ReadAt(o, "serviceHost", &config.service_host);
  strict::ReadAt(o, "testEnvironment", &config.test_environment);
  Napi::Value user = strict::Present(o, "userConfig");
  if (!user.IsEmpty() && user.IsObject()) config.user_config = ReadUserConfig(user);
  strict::ReadAt(o, "cachePath", &config.cache_path);
  // A value of the wrong type was raised: nothing reaches the engine.
  if (env.IsExceptionPending()) return js::Number(env, -1);

  auto bridge = JsFunctionBridge::Create(env, nullptr, "addon_log");
  std::unique_ptr<AddonLogCallback> callback;
  if (bridge) callback = std::make_unique<AddonLogCallback>(bridge, std::make_shared<AddonCallback>(env, info[1]));
  const korin::QXResultInfo result = korin::QXEngineSdk::Init(config, callback.get());
  // The engine has let go of the previous callback.
  LogCallback() = std::move(callback);
  return js::Number(env, result.code);
}

Napi::Value Version(const Napi::CallbackInfo& info) { return js::String(info.Env(), korin::QXEngineSdk::Version()); }

Napi::Value UpdateUserConfig(const Napi::CallbackInfo& info) {
  const korin::QXUserConfig config = ReadUserConfig(info[0]);
  if (info.Env().IsExceptionPending()) return js::Number(info.Env(), -1);
  return js::Number(info.Env(), korin::QXEngineSdk::UpdateUserConfig(config).code);
}

Napi::Value UpdateEnvironment(const Napi::CallbackInfo& info) {
  const bool test = info[0].As<Napi::Boolean>().Value();
  const std::string first = info[1].As<Napi::String>().Utf8Value();
  const std::string second = info[2].As<Napi::String>().Utf8Value();
  return js::Number(info.Env(), korin::QXEngineSdk::UpdateEnvironment(test, first, second).code);
}

Napi::Value UpdateCookie(const Napi::CallbackInfo& info) {
  korin::QXEngineSdk::UpdateCookie(info[0].As<Napi::String>().Utf8Value());
  return Napi::Value();
}

const ExportRow kRows[] = {
    {"QXEngineSdk_Init", Init, AtLeast("oc", "invalid arguments: QXInitConfig, QXLogCallback"), kMinusOne},
    {"QXEngineSdk_Version", Version, Free(), kVoid},
    {"QXEngineSdk_UpdateUserConfig", UpdateUserConfig, AtLeast("o", "invalid arguments: user_config"), kMinusOne},
    {"QXEngineSdk_UpdateEnvironment", UpdateEnvironment, AtLeast("bss", "invalid arguments: test environment"),
     kMinusOne},
    {"QXEngineSdk_UpdateCookie", UpdateCookie, Exactly("s", "Expected 1 arguments: cookies"), kVoid},
};

}  // namespace

void RegisterQXEngineSdkGroup(napi_env env, napi_value exports) { AddExports(env, exports, kRows); }

// Nothing to let go: the engine may hold the callback until the process ends.
void ReleaseQXEngineSdkLog() {}

}  // namespace lumen_addon
