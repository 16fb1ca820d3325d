#include "callback/async_callback_item.h"

#include <vector>

#include "callback/callback_dispatcher.h"
#include "common/logging.h"
#include "tavel/tally.h"

namespace lumen_addon {

namespace {

constexpr char kTag[] = "AsyncCallbackItemBase";

void Report(const char* url, std::map<std::string, std::string> params = {}) {
  tavel::tallyv2::ValueEntry entry;
  entry.url = url;
  entry.str_values = std::move(params);
  if (auto client = tavel::tallyv2::TallyClientV2::singleton()) client->PostValueEntry(entry, 1, 0);
}

// A failing Node-API call leaves its error pending; the dispatcher's run
// function surfaces it as an uncaught exception after the item.
void RaiseFailure(napi_env env) { Napi::Error::New(env).ThrowAsJavaScriptException(); }

// A missing method, or a property that is not a function, is named in the
// error with the export that registered the object: an app registers many
// callbacks objects, and the exception surfaces far from any of its calls.
void CallMethod(napi_env env, napi_value object, napi_value fn, const char* method, const char* registered_by,
                size_t argc, const napi_value* argv) {
  napi_valuetype type = napi_undefined;
  if (napi_typeof(env, fn, &type) == napi_ok && type != napi_function) {
    std::string message = std::string(method) + " is not a function on the callbacks object";
    if (*registered_by) message += std::string(" registered by ") + registered_by;
    Napi::TypeError::New(env, message).ThrowAsJavaScriptException();
    return;
  }
  // A value that could not be made (the environment is being torn down, an
  // allocation failed) goes as undefined: V8 must never be handed a null.
  // Copied only then, so that the common call stays free of allocations.
  const napi_value* pass = argv;
  std::vector<napi_value> patched;
  for (size_t i = 0; i < argc; ++i) {
    if (argv[i]) continue;
    napi_value undefined = nullptr;
    if (napi_get_undefined(env, &undefined) != napi_ok) return;
    patched.assign(argv, argv + argc);
    for (napi_value& a : patched) a = a ? a : undefined;
    pass = patched.data();
    break;
  }
  napi_value ignored = nullptr;
  if (napi_call_function(env, object, fn, argc, pass, &ignored) != napi_ok) RaiseFailure(env);
}

// Looked up by a key made once per batch: making it from the name costs a
// string-table look-up, on every event of a burst.
napi_status GetMethod(napi_env env, napi_value object, const char* method, napi_value* fn) {
  if (napi_value key = CallbackDispatcher::MethodKey(env, method)) return napi_get_property(env, object, key, fn);
  return napi_get_named_property(env, object, method, fn);
}

}  // namespace

namespace {

struct HolderBin {
  bool on = false;
  std::vector<std::shared_ptr<AddonCallback>> held;
};
thread_local HolderBin t_bin;

}  // namespace

AsyncCallbackItemBase::~AsyncCallbackItemBase() {
  HolderBin& bin = t_bin;
  if (bin.on && addon_callback_) bin.held.push_back(std::move(addon_callback_));
}

void AsyncCallbackItemBase::DeferHolderReleases(bool on) {
  t_bin.on = on;
  if (!on) FlushHolderReleases();
}

void AsyncCallbackItemBase::FlushHolderReleases() {
  // Swapped out first: a holder's destructor may destroy items.
  std::vector<std::shared_ptr<AddonCallback>> gone;
  gone.swap(t_bin.held);
  gone.clear();
  if (t_bin.held.empty()) t_bin.held.swap(gone);  // keeps the capacity
}

bool AsyncCallbackItemBase::Runnable() const { return addon_callback_ && addon_callback_->GetJsEnv(); }

void AsyncCallbackItemBase::ExecuteAsyncJsCallBack(const char* method, size_t argc, const napi_value* argv) {
  Napi::Object object = addon_callback_ ? addon_callback_->GetJsCallback() : Napi::Object();
  if (object.IsEmpty()) {
    const char* holder = addon_callback_ ? "notnull" : "null";
    const char* js = object.IsEmpty() ? "null" : "notnull";
    Report("sdk/event/AddonCallbackError", {{"callback", holder}, {"js_callback", js}});
    LUMEN_LOG(kError, kTag) << "AsyncCallbackItemBase::ExecuteAsyncJsCallBack() addon_callback_ is " << holder
                            << " addon_callback_->GetJsCallback() is :" << (object.IsEmpty() ? "empty" : "not empty");
    return;
  }
  napi_env env = object.Env();
  napi_value fn = nullptr;
  if (GetMethod(env, object, method, &fn) != napi_ok) {
    RaiseFailure(env);
    Report("sdk/event/AddonNoFunctionError");
    LUMEN_LOG(kError, kTag) << "AsyncCallbackItemBase::ExecuteAsyncJsCallBack() GetJsCallback.Get(" << method
                            << ") is empty !";
    return;
  }
  CallMethod(env, object, fn, method, addon_callback_->RegisteredBy(), argc, argv);
}

void AsyncCallbackItemBase::ExecuteAsyncJsCallBack(napi_env env, const Napi::Object& object, const char* method,
                                                   napi_value argument, const char* registered_by) {
  if (object.IsEmpty()) {
    LUMEN_LOG(kError, kTag) << "AsyncCallbackItemBase::ExecuteAsyncJsCallBack js_object is empty";
    return;
  }
  napi_value fn = nullptr;
  if (GetMethod(env, object, method, &fn) != napi_ok) {
    RaiseFailure(env);
    LUMEN_LOG(kError, kTag) << "AsyncCallbackItemBase::ExecuteAsyncJsCallBack() js_object.Get(" << method
                            << ") is empty !";
    return;
  }
  CallMethod(env, object, fn, method, registered_by, 1, &argument);
}

napi_value EventArgToJs(napi_env env, const EventArg& arg) {
  Napi::Env e(env);
  if (auto* b = std::get_if<bool>(&arg)) return Napi::Boolean::New(e, *b);
  if (auto* d = std::get_if<double>(&arg)) return Napi::Number::New(e, *d);
  if (auto* s = std::get_if<std::string>(&arg)) return Napi::String::New(e, *s);
  if (auto* v = std::get_if<std::vector<uint8_t>>(&arg)) return Napi::Buffer<uint8_t>::Copy(e, v->data(), v->size());
  if (auto* f = std::get_if<std::shared_ptr<const EventFields>>(&arg)) {
    Napi::Object o = Napi::Object::New(e);
    for (const auto& [key, value] : (*f)->fields) o.Set(key, Napi::Value(e, EventArgToJs(env, value)));
    return o;
  }
  if (auto* l = std::get_if<std::shared_ptr<const EventList>>(&arg)) {
    Napi::Array a = Napi::Array::New(e, (*l)->items.size());
    for (size_t i = 0; i < (*l)->items.size(); ++i) a.Set(static_cast<uint32_t>(i), Napi::Value(e, EventArgToJs(env, (*l)->items[i])));
    return a;
  }
  return e.Undefined();
}

static_assert(sizeof(EventItem) <= ItemPool::kBlockSize, "the usual event fits a block of the item pool");

EventItem::EventItem(std::shared_ptr<AddonCallback> holder, const char* method, int32_t type,
                     std::vector<EventArg> args)
    : AsyncCallbackItemBase(std::move(holder)), method_(method), type_(type), scalars_{} {
  bool scalar = args.size() <= kInline;
  for (const EventArg& a : args) scalar = scalar && (std::holds_alternative<double>(a) || std::holds_alternative<bool>(a));
  if (!scalar) {
    argc_ = kListed;
    list_ = new std::vector<EventArg>(std::move(args));
    return;
  }
  // The vector is freed here, on the thread that made it.
  for (const EventArg& a : args) {
    if (const bool* b = std::get_if<bool>(&a)) {
      bools_ |= static_cast<uint8_t>(1u << argc_);
      scalars_[argc_++] = *b ? 1 : 0;
    } else {
      scalars_[argc_++] = std::get<double>(a);
    }
  }
}

EventItem::~EventItem() { EventItem::ReleaseData(); }

void EventItem::ReleaseData() {
  if (argc_ != kListed) return;
  delete list_;
  list_ = nullptr;
  argc_ = 0;
}

void EventItem::Run() {
  napi_env e = env();
  napi_value argv[8];
  size_t argc = 0;
  if (argc_ == kListed) {
    argc = list_->size() < 8 ? list_->size() : 8;
    for (size_t i = 0; i < argc; ++i) argv[i] = EventArgToJs(e, (*list_)[i]);
  } else {
    for (; argc < argc_; ++argc) {
      const bool ok = (bools_ >> argc) & 1 ? napi_get_boolean(e, scalars_[argc] != 0, &argv[argc]) == napi_ok
                                           : napi_create_double(e, scalars_[argc], &argv[argc]) == napi_ok;
      if (!ok) napi_get_undefined(e, &argv[argc]);
    }
  }
  ExecuteAsyncJsCallBack(method_, argc, argv);
}

bool PostEvent(std::shared_ptr<AddonCallback> holder, const char* method, int32_t type, std::vector<EventArg> args) {
  return CallbackDispatcher::Post(new EventItem(std::move(holder), method, type, std::move(args)));
}

}  // namespace lumen_addon
