// Deliveries of the agent's thread-safe functions: a method of a JavaScript
// object looked up by name when the work runs.
#ifndef LUMEN_AI_AGENT_JS_METHOD_CALL_H_
#define LUMEN_AI_AGENT_JS_METHOD_CALL_H_

#include <napi.h>

#include <initializer_list>

namespace lumen_addon {

// An exception of the method (or of its look-up) becomes an
// 'uncaughtException'; later events are still delivered.
inline void SurfaceException(Napi::Env env) {
  if (!env.IsExceptionPending()) return;
  napi_value error = env.GetAndClearPendingException().Value();
  napi_fatal_exception(env, error);
}

// A method that is undefined or null drops the event silently.
inline void CallMethod(Napi::Env env, const Napi::Object& object, const char* method,
                       std::initializer_list<napi_value> args) {
  if (object.IsEmpty()) return;
  Napi::Value fn = object.Get(method);
  if (!fn.IsEmpty() && !fn.IsUndefined() && !fn.IsNull()) {
    napi_value ignored = nullptr;
    napi_call_function(env, object, fn, args.size(), args.begin(), &ignored);
  }
  SurfaceException(env);
}

}  // namespace lumen_addon

#endif  // LUMEN_AI_AGENT_JS_METHOD_CALL_H_
