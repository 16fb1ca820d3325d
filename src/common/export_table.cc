#include "common/export_table.h"

#include <cstring>
#include <string>

#include "common/logging.h"

namespace lumen_addon {

namespace {

// The callback data of one export function; freed with the function.
struct ExportRecord {
  const ExportRow* row;
  void* reserved;
};

thread_local const char* t_current_export = nullptr;

// Restores the outer export's name when a re-entrant one returns.
class CurrentExportScope {
 public:
  explicit CurrentExportScope(const char* name) : outer_(t_current_export) { t_current_export = name; }
  ~CurrentExportScope() { t_current_export = outer_; }
  CurrentExportScope(const CurrentExportScope&) = delete;
  CurrentExportScope& operator=(const CurrentExportScope&) = delete;

 private:
  const char* outer_;
};

napi_value Trampoline(napi_env env, napi_callback_info cbinfo) {
  Napi::CallbackInfo info(env, cbinfo);
  const ExportRow& row = *static_cast<ExportRecord*>(info.Data())->row;
  CurrentExportScope scope(row.name);
  if (!Admit(info, row.admission)) return FailureValue(info.Env(), row.failure);
  return row.handler(info);
}

void RefuseWith(Napi::Env env, const Admission& a) {
  if (a.refusal == Refusal::kLog)
    LUMEN_LOG(kError, a.tag ? a.tag : "EngineAddon") << (a.message ? a.message : "invalid arguments");
  else
    Napi::Error::New(env, a.message).ThrowAsJavaScriptException();
}

void FreeRecord(napi_env, void* data, void*) { delete static_cast<ExportRecord*>(data); }

void RaisePending(napi_env env) { Napi::Error::New(env).ThrowAsJavaScriptException(); }

const char* CheckName(Check check) {
  switch (check) {
    case Check::kFree: return "free";
    case Check::kNone: return "none";
    case Check::kAtLeast: return "atLeast";
    case Check::kExactly: return "exactly";
    case Check::kLenient: return "lenient";
    case Check::kLenientMin: return "lenientMin";
  }
  return "free";
}

// Symbol.for(kDescriptionKey), looked up once per registration.
Napi::Value DescriptionSymbol(Napi::Env env) {
  Napi::Value symbol = env.Global().Get("Symbol");
  if (symbol.IsEmpty() || !symbol.IsFunction()) return Napi::Value();
  Napi::Value make = symbol.As<Napi::Object>().Get("for");
  if (make.IsEmpty() || !make.IsFunction()) return Napi::Value();
  return make.As<Napi::Function>().Call(symbol, {Napi::String::New(env, kDescriptionKey)});
}

Napi::Value OrNull(Napi::Env env, const char* text) {
  return text ? Napi::String::New(env, text) : env.Null();
}

void Describe(Napi::Env env, const Napi::Value& key, napi_value fn, const ExportRow& row) {
  Napi::Object d = Napi::Object::New(env);
  const std::string name = row.name;
  d.Set("name", name);
  d.Set("group", name.substr(0, name.find('_')));
  d.Set("check", CheckName(row.admission.check));
  d.Set("types", row.admission.types);
  d.Set("message", OrNull(env, row.admission.message));
  d.Set("refusal", row.admission.refusal == Refusal::kLog ? "log" : "throw");
  d.Set("tag", OrNull(env, row.admission.tag));
  d.Set("failure", FailureValue(env, row.failure));
  d.Set("forwards", Napi::Boolean::New(env, row.text != nullptr));
  // handle: the kind of the first argument; handles: the kind of each
  // argument position, null where there is no handle.
  const HandleKind first = row.handles.at[0];
  d.Set("handle", first == HandleKind::kNone ? env.Null() : Napi::String::New(env, HandleKindName(first)));
  std::size_t last = kMaxHandleArgs;
  while (last > 0 && row.handles.at[last - 1] == HandleKind::kNone) --last;
  Napi::Array handles = Napi::Array::New(env, last);
  for (std::size_t i = 0; i < last; ++i) {
    const HandleKind k = row.handles.at[i];
    handles.Set(static_cast<uint32_t>(i), k == HandleKind::kNone ? env.Null() : Napi::String::New(env, HandleKindName(k)));
  }
  d.Set("handles", handles);
  d.Freeze();
  napi_property_descriptor p{nullptr, key, nullptr, nullptr, nullptr, d, napi_default, nullptr};
  napi_define_properties(env, fn, 1, &p);
}

}  // namespace

Napi::Value FailureValue(Napi::Env env, const Failure& failure) {
  switch (failure.kind) {
    case Failure::kUndefined: return env.Undefined();
    case Failure::kFalse: return Napi::Boolean::New(env, false);
    case Failure::kNumber: break;
  }
  return Napi::Number::New(env, failure.value);
}

const ExportRow& RowOf(const Napi::CallbackInfo& info) { return *static_cast<ExportRecord*>(info.Data())->row; }

const char* CurrentExport() { return t_current_export; }

bool HasType(const Napi::Value& v, char letter) {
  switch (letter) {
    case 'o':
    case 'c':
    case 'w': return v.IsObject();  // functions are objects too
    case 'f': return v.IsFunction();
    case 'F': return v.IsFunction() || v.IsNull();
    case 's': return v.IsString();
    case 'n': return v.IsNumber();
    case 'b': return v.IsBoolean();
    case 'a': return v.IsArray();
    case 't': return v.IsTypedArray() || v.IsBuffer();
    case 'B': return v.IsArrayBuffer() || v.IsTypedArray() || v.IsDataView();
    case '*': return true;
    default: return false;
  }
}

bool Admit(const Napi::CallbackInfo& info, const Admission& a) {
  const std::size_t want = std::strlen(a.types);
  const std::size_t have = info.Length();
  auto typed = [&](std::size_t i) { return i < have && HasType(info[i], a.types[i]); };
  auto all_typed = [&] {
    for (std::size_t i = 0; i < want; ++i)
      if (!typed(i)) return false;
    return true;
  };
  auto any_typed = [&] {
    for (std::size_t i = 0; i < want; ++i)
      if (typed(i)) return true;
    return false;
  };

  bool ok = true;
  switch (a.check) {
    case Check::kFree: ok = true; break;
    case Check::kNone: ok = have == 0; break;
    case Check::kAtLeast: ok = have >= want && all_typed(); break;
    case Check::kExactly: ok = have == want && all_typed(); break;
    case Check::kLenient: ok = have == want || any_typed(); break;
    case Check::kLenientMin: ok = have >= want || any_typed(); break;
  }
  if (ok) return true;
  RefuseWith(info.Env(), a);
  return false;
}

void Refuse(const Napi::CallbackInfo& info) { RefuseWith(info.Env(), RowOf(info).admission); }

void AddExports(napi_env env, napi_value exports, const ExportRow* rows, std::size_t count) {
  const Napi::Value key = DescriptionSymbol(Napi::Env(env));
  for (std::size_t i = 0; i < count; ++i) {
    auto* record = new ExportRecord{&rows[i], nullptr};
    napi_value fn = nullptr;
    if (napi_create_function(env, nullptr, NAPI_AUTO_LENGTH, Trampoline, record, &fn) != napi_ok) {
      delete record;
      RaisePending(env);
      continue;
    }
    // Without its finalizer the record is kept for the process: the function still needs it.
    if (napi_add_finalizer(env, fn, record, FreeRecord, nullptr, nullptr) != napi_ok) RaisePending(env);
    if (!key.IsEmpty()) Describe(Napi::Env(env), key, fn, rows[i]);
    if (napi_set_named_property(env, exports, rows[i].name, fn) != napi_ok) RaisePending(env);
  }
}

}  // namespace lumen_addon
