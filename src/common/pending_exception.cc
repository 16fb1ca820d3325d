#include "common/pending_exception.h"

namespace lumen_addon {

void SurfacePendingException(napi_env env) {
  bool pending = false;
  if (env == nullptr || napi_is_exception_pending(env, &pending) != napi_ok || !pending) return;
  napi_value error = nullptr;
  if (napi_get_and_clear_last_exception(env, &error) == napi_ok) napi_fatal_exception(env, error);
}

bool DiscardPendingException(napi_env env) {
  bool pending = false;
  if (env == nullptr || napi_is_exception_pending(env, &pending) != napi_ok || !pending) return false;
  napi_value ignored = nullptr;
  napi_get_and_clear_last_exception(env, &ignored);
  return true;
}

}  // namespace lumen_addon
