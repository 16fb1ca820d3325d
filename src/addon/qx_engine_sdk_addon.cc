// QXEngineSdk_*: the SDK's own initialisation, user, environment and cookies,
// and the "addon_log" executor that hands JavaScript every engine log record.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "addon/groups.h"
#include "addon/services.h"
#include "common/convert.h"
#include "common/export_table.h"
#include "common/logging.h"
#include "common/record_reader.h"
#include "korin/qx_engine_sdk.h"
#include "qx_base/keep_alive.h"
#include "qx_base/listener.h"
#include "qx_base/strand.h"

namespace lumen_addon {

// A log record's fields, as { key, value } objects.
template <>
struct ToJs<rtc::LogField> {
  static Napi::Value New(Napi::Env env, const rtc::LogField& f) {
    Napi::Object o = Napi::Object::New(env);
    o.Set("key", f.key);
    o.Set("value", f.value);
    return o;
  }
};

namespace {

using korin::QXInitConfig;
using korin::QXUserConfig;

class AddonLogCallback : public korin::QXLogCallback {
 public:
  AddonLogCallback(std::shared_ptr<Strand> strand, std::shared_ptr<Listener> listener)
      : strand_(std::move(strand)), listener_(std::move(listener)) {}

  void OnLogMessage(const std::string& message, const std::vector<rtc::LogField>& fields) override {
    if (LogDelivery::Active()) return;
    strand_->Post([listener = listener_, message, fields](Napi::Env env) {
      LogDelivery delivering;
      Emit(env, *listener, "onLogMessage", message, fields);
    });
  }

  // JavaScript thread: nothing more reaches the executor.
  void Retire() {
    strand_->Close();
    listener_->Clear();
  }

 private:
  const std::shared_ptr<Strand> strand_;
  const std::shared_ptr<Listener> listener_;
};

// The engine may call the current callback for as long as it lives, and a
// replaced one while Init returns: both stay for the process.
std::shared_ptr<AddonLogCallback>& Current() {
  static auto* callback = new std::shared_ptr<AddonLogCallback>;
  return *callback;
}

const record::Field<QXUserConfig> kUserConfig[] = {
    LUMEN_FIELD("userId", QXUserConfig, user_id, kInt64),
    LUMEN_FIELD("userType", QXUserConfig, user_type, kInt32),
};

// userConfig is read only when it is an object.
void ReadUser(const Napi::Value& v, QXInitConfig& c, record::Policy policy) {
  if (!v.IsEmpty() && v.IsObject()) record::Read(v, kUserConfig, c.user_config, policy);
}

const record::Field<QXInitConfig> kInitConfig[] = {
    LUMEN_FIELD("tenantId", QXInitConfig, tenant_id, kInt32),
    LUMEN_FIELD("productId", QXInitConfig, product_id, kInt32),
    LUMEN_FIELD("tallyHost", QXInitConfig, tally_host, kString),
    LUMEN_FIELD("serviceHost", QXInitConfig, service_host, kString),
    LUMEN_FIELD("testEnvironment", QXInitConfig, test_environment, kBool),
    {"userConfig", ReadUser, nullptr},
    LUMEN_FIELD("cachePath", QXInitConfig, cache_path, kString),
};

Napi::Value Init(const Napi::CallbackInfo& info) {
  Napi::Env env = info.Env();
  QXInitConfig config;
  record::Read(info[0], kInitConfig, config, record::kStrictPresent);
  // A value of the wrong type was raised: nothing reaches the engine.
  if (env.IsExceptionPending()) return js::Number(env, -1);

  std::shared_ptr<AddonLogCallback> callback;
  if (auto strand = Strand::Create(env, "addon_log"))
    callback = std::make_shared<AddonLogCallback>(std::move(strand), Listener::Make(env, "QXEngineSdk_Init", info[1]));
  const korin::QXResultInfo result = korin::QXEngineSdk::Init(config, callback.get());
  KeepAlive::ForProcess().Retire(std::exchange(Current(), std::move(callback)));
  return js::Number(env, result.code);
}

Napi::Value Version(const Napi::CallbackInfo& info) { return js::String(info.Env(), korin::QXEngineSdk::Version()); }

Napi::Value UpdateUserConfig(const Napi::CallbackInfo& info) {
  QXUserConfig config;
  record::Read(info[0], kUserConfig, config, record::kStrictPresent);
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

// The engine may call the callback until the process ends: it stays, and
// nothing more reaches the environment's executor.
void ReleaseQXEngineSdkLog() { KeepAlive::ForProcess().Retire(std::exchange(Current(), nullptr)); }

}  // namespace lumen_addon
