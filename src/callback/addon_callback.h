// Holds a JavaScript callback object strongly for an engine-side holder.
// Items keep their holder by shared ownership, so a holder outlives every
// item that may still run against it, whichever thread drops it last.
#ifndef LUMEN_CALLBACK_ADDON_CALLBACK_H_
#define LUMEN_CALLBACK_ADDON_CALLBACK_H_

#include <napi.h>

#include <mutex>

namespace lumen_addon {

class AddonCallback {
 public:
  AddonCallback() = default;
  AddonCallback(napi_env env, napi_value object);
  AddonCallback(const AddonCallback&) = delete;
  AddonCallback& operator=(const AddonCallback&) = delete;
  // May run on any thread: off the JavaScript thread the reference is handed
  // to the dispatcher and deleted there.
  virtual ~AddonCallback();

  // JavaScript thread only.
  Napi::Object GetJsCallback() const;
  napi_env GetJsEnv() const { return env_; }
  void SetJsCallback(napi_env env, napi_value object);
  void ClearJsCallback();
  // The export that handed the object over ("" when none is known).
  const char* RegisteredBy() const { return registered_by_ ? registered_by_ : ""; }

 private:
  napi_env env_ = nullptr;
  napi_ref ref_ = nullptr;
  const char* registered_by_ = nullptr;  // an export row's name: static storage
};

// Deletes `ref` now on the JavaScript thread, or later on it from elsewhere.
void DeleteReferenceSafely(napi_env env, napi_ref ref);

}  // namespace lumen_addon

#endif  // LUMEN_CALLBACK_ADDON_CALLBACK_H_
