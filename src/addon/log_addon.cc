// log_*: the engine's logging, and log records delivered to a JavaScript
// executor.
#include <memory>
#include <mutex>
#include <vector>

#include "addon/groups.h"
#include "callback/async_callback_item.h"
#include "callback/callback_dispatcher.h"
#include "common/convert.h"
#include "common/export_table.h"
#include "common/logging.h"
#include "korin/sdk_log_sink.h"

namespace lumen_addon {
namespace {

// One engine log record for the executor's log(message, fields).
class LogItem : public AsyncCallbackItemBase {
 public:
  LogItem(std::shared_ptr<AddonCallback> holder, std::string message, std::vector<rtc::LogField> fields)
      : AsyncCallbackItemBase(std::move(holder)), message_(std::move(message)), fields_(std::move(fields)) {}

  int32_t Type() const override { return kItemLog; }

  void Run() override {
    Napi::Env e(env());
    Napi::Array fields = Napi::Array::New(e, fields_.size());
    for (size_t i = 0; i < fields_.size(); ++i) {
      Napi::Object f = Napi::Object::New(e);
      f.Set("key", fields_[i].key);
      f.Set("value", fields_[i].value);
      fields.Set(static_cast<uint32_t>(i), f);
    }
    napi_value argv[] = {Napi::String::New(e, message_), fields};
    LogDelivery delivering;
    ExecuteAsyncJsCallBack("log", 2, argv);
  }

 private:
  std::string message_;
  std::vector<rtc::LogField> fields_;
};

class JsLogExecutor : public korin::SdkLogExecutor {
 public:
  explicit JsLogExecutor(std::shared_ptr<AddonCallback> holder) : holder_(std::move(holder)) {}
  void Log(const std::string& message, const std::vector<rtc::LogField>& fields) override {
    if (LogDelivery::Active()) return;
    CallbackDispatcher::Post(new LogItem(holder_, message, fields));
  }

 private:
  std::shared_ptr<AddonCallback> holder_;
};

// Sinks stay registered with the engine until the environment goes away.
std::vector<std::unique_ptr<korin::SdkLogSink>>& Sinks() {
  static auto* sinks = new std::vector<std::unique_ptr<korin::SdkLogSink>>;
  return *sinks;
}

Napi::Value Start(const Napi::CallbackInfo& info) {
  auto holder = std::make_shared<AddonCallback>(info.Env(), info[0]);
  auto sink = std::make_unique<korin::SdkLogSink>(std::make_shared<JsLogExecutor>(holder));
  rtc::LogMessage::AddLogToStream(sink.get(), rtc::LS_VERBOSE);
  Sinks().push_back(std::move(sink));
  return Napi::Value();
}

int MapLevel(int32_t level) {
  switch (level) {
    case 1: return kError;
    case 2: return kWarning;
    case 4: return kVerbose;
    default: return kInfo;
  }
}

Napi::Value LogMessage(const Napi::CallbackInfo& info) {
  const int sev = MapLevel(js::ToInt32(info[0]));
  if (!LogOn(sev)) return Napi::Value();
  const std::string tag = js::ToUtf8(info[1]);
  rtc::LogMessage("", 0, static_cast<rtc::LoggingSeverity>(sev), tag.c_str()).stream() << js::ToUtf8(info[2]);
  return Napi::Value();
}

Napi::Value AddEpisodeId(const Napi::CallbackInfo& info) {
  rtc::LogMessage::AddEpisodeId(js::ToUtf8(info[0]), js::ToInt64(info[1]));
  return Napi::Value();
}

Napi::Value RemoveEpisodeId(const Napi::CallbackInfo&) {
  rtc::LogMessage::RemoveEpisodeId();
  return Napi::Value();
}

Napi::Value SetSdkVersion(const Napi::CallbackInfo& info) {
  rtc::LogMessage::SetSdkVersion(js::ToUtf8(info[0]));
  return Napi::Value();
}

const ExportRow kRows[] = {
    {"log_start", Start, Exactly("cs", "Expected arguments : executor, log_path"), kVoid},
    {"log_logMessage", LogMessage, AtLeast("nss", "Expected arguments : level, tag, msg"), kVoid},
    {"log_addEpisodeId", AddEpisodeId, LenientMin("sn", "Expected arguments : roomType, episodeId"), kVoid},
    {"log_removeEpisodeId", RemoveEpisodeId, Free(), kVoid},
    {"log_setSdkVersion", SetSdkVersion, AtLeast("*", "Expected arguments : sdkVersion"), kVoid},
};

}  // namespace

void RegisterLogGroup(napi_env env, napi_value exports) { AddExports(env, exports, kRows); }

void ReleaseLogSinks() { Sinks().clear(); }

}  // namespace lumen_addon
