#include "qx_base/listener.h"

#include <string>

namespace lumen_addon {

Listener::Listener(napi_env env, const char* registered_by, OnMissing on_missing)
    : env_(env), registered_by_(registered_by), on_missing_(on_missing), js_thread_(std::this_thread::get_id()) {}

std::shared_ptr<Listener> Listener::Make(napi_env env, const char* registered_by, napi_value object) {
  auto listener = std::make_shared<Listener>(env, registered_by);
  listener->Set(object);
  return listener;
}

Listener::~Listener() {
  if (ref_ && std::this_thread::get_id() == js_thread_) napi_delete_reference(env_, ref_);
}

void Listener::Set(napi_value object) {
  Clear();
  napi_valuetype type = napi_undefined;
  if (!object || napi_typeof(env_, object, &type) != napi_ok || (type != napi_object && type != napi_function)) return;
  if (napi_create_reference(env_, object, 1, &ref_) != napi_ok) {
    ref_ = nullptr;
    Napi::Error::New(env_).ThrowAsJavaScriptException();
  }
}

void Listener::Clear() {
  if (ref_) napi_delete_reference(env_, ref_);
  ref_ = nullptr;
}

Napi::Object Listener::Get() const {
  napi_value object = nullptr;
  if (!ref_ || napi_get_reference_value(env_, ref_, &object) != napi_ok || !object) return Napi::Object();
  return Napi::Object(env_, object);
}

void Listener::Call(const char* method, const std::vector<napi_value>& args) const {
  Napi::Object object = Get();
  if (object.IsEmpty()) return;
  napi_value fn = nullptr;
  // A throwing getter leaves its exception pending.
  if (napi_get_named_property(env_, object, method, &fn) != napi_ok) return;
  napi_valuetype type = napi_undefined;
  if (napi_typeof(env_, fn, &type) != napi_ok) return;
  if (type == napi_undefined || type == napi_null) {
    if (on_missing_) on_missing_(method);
    return;
  }
  if (type != napi_function) {
    Napi::TypeError::New(env_, std::string(method) + " is not a function on the listener registered by " +
                                   registered_by_)
        .ThrowAsJavaScriptException();
    return;
  }
  napi_value ignored = nullptr;
  napi_call_function(env_, object, fn, args.size(), args.data(), &ignored);
}

void Listener::Invoke(const std::vector<napi_value>& args) const {
  Napi::Object fn = Get();
  if (fn.IsEmpty() || !fn.IsFunction()) return;
  napi_value undefined = nullptr, ignored = nullptr;
  napi_get_undefined(env_, &undefined);
  napi_call_function(env_, undefined, fn, args.size(), args.data(), &ignored);
}

}  // namespace lumen_addon
