#include "QXPlayer/QXPlayerCallbackTarget.h"

namespace lumen_addon {

void QXPlayerCallbackTarget::Set(napi_value object) {
  Clear();
  if (napi_create_reference(env_, object, 1, &ref_) != napi_ok) {
    ref_ = nullptr;
    Napi::Error::New(env_).ThrowAsJavaScriptException();
  }
}

void QXPlayerCallbackTarget::Clear() {
  if (ref_) napi_delete_reference(env_, ref_);
  ref_ = nullptr;
}

Napi::Object QXPlayerCallbackTarget::Get() const {
  napi_value object = nullptr;
  if (!ref_ || napi_get_reference_value(env_, ref_, &object) != napi_ok || !object) return Napi::Object();
  return Napi::Object(env_, object);
}

void QXPlayerCallbackTarget::Call(const char* method, size_t argc, const napi_value* argv) const {
  Napi::Object object = Get();
  if (object.IsEmpty()) return;
  napi_value fn = nullptr;
  if (napi_get_named_property(env_, object, method, &fn) != napi_ok) return;
  napi_valuetype type = napi_undefined;
  if (napi_typeof(env_, fn, &type) != napi_ok || type == napi_undefined || type == napi_null) return;
  if (type != napi_function) {
    Napi::TypeError::New(env_, std::string(method) + " is not a function").ThrowAsJavaScriptException();
    return;
  }
  napi_value ignored = nullptr;
  napi_call_function(env_, object, fn, argc, argv, &ignored);
}

}  // namespace lumen_addon
