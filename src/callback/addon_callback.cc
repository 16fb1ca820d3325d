#include "callback/addon_callback.h"

#include "callback/callback_dispatcher.h"
#include "common/export_table.h"

namespace lumen_addon {

AddonCallback::AddonCallback(napi_env env, napi_value object) { SetJsCallback(env, object); }

AddonCallback::~AddonCallback() { DeleteReferenceSafely(env_, ref_); }

Napi::Object AddonCallback::GetJsCallback() const {
  if (!ref_) return Napi::Object();
  napi_value v = nullptr;
  if (napi_get_reference_value(env_, ref_, &v) != napi_ok || v == nullptr) return Napi::Object();
  return Napi::Object(env_, v);
}

void AddonCallback::SetJsCallback(napi_env env, napi_value object) {
  ClearJsCallback();
  if (!env || !object) return;
  // Only objects can be held; anything else leaves the holder empty, and its
  // events are reported as undeliverable instead of failing here.
  napi_valuetype type = napi_undefined;
  if (napi_typeof(env, object, &type) != napi_ok || (type != napi_object && type != napi_function)) return;
  napi_ref ref = nullptr;
  if (napi_create_reference(env, object, 1, &ref) != napi_ok) {
    Napi::Error::New(env).ThrowAsJavaScriptException();
    return;
  }
  env_ = env;
  ref_ = ref;
  registered_by_ = CurrentExport();
}

void AddonCallback::ClearJsCallback() {
  DeleteReferenceSafely(env_, ref_);
  ref_ = nullptr;
  env_ = nullptr;
  registered_by_ = nullptr;
}

void DeleteReferenceSafely(napi_env env, napi_ref ref) {
  if (!env || !ref) return;
  CallbackDispatcher::DeleteReference(env, ref);
}

}  // namespace lumen_addon
