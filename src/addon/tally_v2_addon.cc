// tallyV2_*: the engine's analytics client, configured and fed by JavaScript.
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "addon/groups.h"
#include "addon/services.h"
#include "callback/async_callback_item.h"
#include "callback/callback_dispatcher.h"
#include "common/convert.h"
#include "common/export_table.h"
#include "qx_base/keep_alive.h"
#include "tavel/tally.h"

namespace lumen_addon {
namespace {

using tavel::tallyv2::TallyClientV2;
using tavel::tallyv2::TallyMaps;
using tavel::tallyv2::ValueEntry;


void ReadStrValues(const Napi::Object& o, std::map<std::string, std::string>* out) {
  js::EachElement(js::Get(o, "strValues"), [&](const Napi::Value& e) {
    Napi::Object kv = js::ToObject(e);
    std::string key = js::Utf8At(kv, "key");
    (*out)[key] = js::Utf8At(kv, "value");
  });
}

void ReadNumValues(const Napi::Object& o, std::map<std::string, double>* out) {
  js::EachElement(js::Get(o, "numValues"), [&](const Napi::Value& e) {
    Napi::Object kv = js::ToObject(e);
    std::string key = js::Utf8At(kv, "key");
    (*out)[key] = js::DoubleAt(kv, "value");
  });
}

void ReadKeys(const Napi::Object& o, const char* name, std::vector<std::string>* out) {
  js::EachElement(js::Get(o, name), [&](const Napi::Value& e) { out->push_back(js::ToUtf8(e)); });
}

TallyMaps ReadMaps(const Napi::Value& v) {
  TallyMaps maps;
  Napi::Object o = js::ToObject(v);
  ReadStrValues(o, &maps.str_values);
  ReadNumValues(o, &maps.num_values);
  ReadKeys(o, "removeStrValues", &maps.remove_str_values);
  ReadKeys(o, "removeNumValues", &maps.remove_num_values);
  return maps;
}

Napi::Value UpdateConfig(const Napi::CallbackInfo& info) {
  Napi::Object o = js::ToObject(info[0]);
  tavel::tallyv2::TallyConfig config;
  config.user_id = js::Int64At(o, "userId");
  config.server_host = js::OptionalUtf8At(o, "serverHost");
  if (auto client = TallyClientV2::singleton()) client->UpdateConfig(config);
  return Napi::Value();
}

Napi::Value UpdateHeader(const Napi::CallbackInfo& info) {
  TallyMaps maps = ReadMaps(info[0]);
  const int32_t category = js::ToInt32(info[1]);
  if (auto client = TallyClientV2::singleton()) client->UpdateHeader(maps, category);
  return Napi::Value();
}

Napi::Value UpdateCommonState(const Napi::CallbackInfo& info) {
  TallyMaps maps = ReadMaps(info[0]);
  const int32_t category = js::ToInt32(info[1]);
  if (auto client = TallyClientV2::singleton()) client->UpdateCommonState(maps, category);
  return Napi::Value();
}

Napi::Value PostValueEntry(const Napi::CallbackInfo& info) {
  Napi::Object o = js::ToObject(info[0]);
  ValueEntry entry;
  entry.url = js::OptionalUtf8At(o, "url");
  ReadStrValues(o, &entry.str_values);
  ReadNumValues(o, &entry.num_values);
  const int32_t category = js::ToInt32(info[1]);
  if (auto client = TallyClientV2::singleton()) client->PostValueEntry(entry, category, 0);
  return Napi::Value();
}

Napi::Value PostSerializedEntry(const Napi::CallbackInfo& info) {
  Napi::Object o = js::ToObject(info[0]);
  const std::string url = js::OptionalUtf8At(o, "url");
  const std::string serialized = js::OptionalUtf8At(o, "serializedValue");
  const int32_t category = js::ToInt32(info[1]);
  if (auto client = TallyClientV2::singleton()) client->PostSerialized(url, serialized, category);
  return Napi::Value();
}

// ---- the local observer: what the client is given, back to JavaScript --------

using Pairs = std::vector<std::pair<std::string, EventArg>>;

Napi::Array PairArray(Napi::Env env, const Pairs& pairs) {
  Napi::Array out = Napi::Array::New(env, pairs.size());
  for (size_t i = 0; i < pairs.size(); ++i) {
    Napi::Object kv = Napi::Object::New(env);
    kv.Set("key", pairs[i].first);
    kv.Set("value", Napi::Value(env, EventArgToJs(env, pairs[i].second)));
    out.Set(static_cast<uint32_t>(i), kv);
  }
  return out;
}

constexpr char kUpdateHeader[] = "onLocalTallyUpdateHeader";
constexpr char kPostValueEntry[] = "onLocalTallyPostValueEntry";

// onLocalTallyUpdateHeader(strValues, numValues) and
// onLocalTallyPostValueEntry(url, values, category), values as { key, value }.
// Set while an item is delivered to the JavaScript observer. Entries posted
// meanwhile (the delivery's own failure report, or entries the observer's
// method posts) are not handed back to it: each would produce another, and
// the wake-up would never end.
thread_local bool t_delivering = false;

// Set once its observer was replaced: what it posted is no longer delivered.
using Retired = std::shared_ptr<const std::atomic<bool>>;

class LocalTallyItem : public AsyncCallbackItemBase {
 public:
  LocalTallyItem(std::shared_ptr<AddonCallback> holder, Retired retired, const char* method, std::string url,
                 Pairs first, Pairs second, int32_t category)
      : AsyncCallbackItemBase(std::move(holder)),
        retired_(std::move(retired)),
        method_(method),
        url_(std::move(url)),
        first_(std::move(first)),
        second_(std::move(second)),
        category_(category) {}
  int32_t Type() const override { return 0; }
  // A retired observer's entries are skipped without a word.
  bool Runnable() const override { return retired_->load() || AsyncCallbackItemBase::Runnable(); }
  void Run() override {
    if (retired_->load()) return;
    Napi::Env e(env());
    t_delivering = true;
    if (method_ == kPostValueEntry) {
      napi_value argv[] = {Napi::String::New(e, url_), PairArray(e, first_), Napi::Number::New(e, category_)};
      ExecuteAsyncJsCallBack(method_, 3, argv);
    } else {
      napi_value argv[] = {PairArray(e, first_), PairArray(e, second_)};
      ExecuteAsyncJsCallBack(method_, 2, argv);
    }
    t_delivering = false;
  }

 private:
  Retired retired_;
  const char* method_;
  std::string url_;
  Pairs first_, second_;
  int32_t category_;
};

class LocalTallyObserver : public tavel::tallyv2::LocalTallyObserver {
 public:
  explicit LocalTallyObserver(std::shared_ptr<AddonCallback> holder) : holder_(std::move(holder)) {}
  void OnLocalTallyUpdateHeader(const TallyMaps& header, int) override {
    if (t_delivering || retired_->load()) return;
    Pairs str, num;
    for (const auto& kv : header.str_values) str.emplace_back(kv.first, kv.second);
    for (const auto& kv : header.num_values) num.emplace_back(kv.first, kv.second);
    CallbackDispatcher::Post(new LocalTallyItem(holder_, retired_, kUpdateHeader, "", std::move(str),
                                                std::move(num), 0));
  }
  void OnLocalTallyPostValueEntry(const ValueEntry& entry, int category) override {
    if (t_delivering || retired_->load()) return;
    Pairs values;
    for (const auto& kv : entry.str_values) values.emplace_back(kv.first, kv.second);
    for (const auto& kv : entry.num_values) values.emplace_back(kv.first, kv.second);
    CallbackDispatcher::Post(
        new LocalTallyItem(holder_, retired_, kPostValueEntry, entry.url, std::move(values), {}, category));
  }

  // JavaScript thread: nothing more reaches the observer object.
  void Retire() {
    retired_->store(true);
    holder_->ClearJsCallback();
  }

 private:
  std::shared_ptr<AddonCallback> holder_;
  const std::shared_ptr<std::atomic<bool>> retired_ = std::make_shared<std::atomic<bool>>(false);
};

// JavaScript thread only. The client may call the current observer, and a
// replaced one while the setter returns: both stay for the process.
std::shared_ptr<LocalTallyObserver>& Observer() {
  static auto* observer = new std::shared_ptr<LocalTallyObserver>;
  return *observer;
}

Napi::Value SetLocalTallyCallbackForTest(const Napi::CallbackInfo& info) {
  auto observer = std::make_shared<LocalTallyObserver>(std::make_shared<AddonCallback>(info.Env(), info[0]));
  auto client = TallyClientV2::singleton();
  if (!client) return Napi::Value();
  client->SetLocalTallyObserver(observer.get());
  KeepAlive::ForProcess().Retire(std::exchange(Observer(), std::move(observer)));
  return Napi::Value();
}

const ExportRow kRows[] = {
    {"tallyV2_updateConfig", UpdateConfig, AtLeast("o", "Expected arguments : config"), kVoid},
    {"tallyV2_updateHeader", UpdateHeader, AtLeast("on", "Expected arguments : header, category"), kVoid},
    {"tallyV2_updateCommonState", UpdateCommonState, AtLeast("on", "Expected arguments : common_state, category"),
     kVoid},
    {"tallyV2_postValueEntry", PostValueEntry, AtLeast("on", "Expected arguments : entry, category"), kVoid},
    {"tallyV2_postSerializedEntry", PostSerializedEntry, AtLeast("on", "Expected arguments : entry, category"), kVoid},
    {"tallyV2_setLocalTallyCallbackForTest", SetLocalTallyCallbackForTest,
     AtLeast("c", "Expected arguments : clientLocalTallyCallback"), kVoid},
};

}  // namespace

void RegisterTallyV2Group(napi_env env, napi_value exports) { AddExports(env, exports, kRows); }

void ReleaseLocalTallyObserver() {
  if (!Observer()) return;
  if (auto client = TallyClientV2::singleton()) client->SetLocalTallyObserver(nullptr);
  KeepAlive::ForProcess().Retire(std::exchange(Observer(), nullptr));
}

}  // namespace lumen_addon
