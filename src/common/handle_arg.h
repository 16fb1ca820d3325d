// Handle arguments of exports: the number JavaScript passes, looked up among
// the live objects of the export's kind. A number that finds nothing is
// logged with the export's name; the caller answers its neutral value.
#ifndef LUMEN_COMMON_HANDLE_ARG_H_
#define LUMEN_COMMON_HANDLE_ARG_H_

#include <napi.h>

#include <memory>

#include "common/handle_registry.h"
#include "common/logging.h"

namespace lumen_addon {

inline uint64_t ToHandle(const Napi::Value& v) {
  if (v.IsEmpty() || !v.IsNumber()) return 0;
  return HandleFromNumber(v.As<Napi::Number>().DoubleValue());
}

// Answers a handle as the number JavaScript holds.
inline Napi::Value HandleValue(Napi::Env env, uint64_t handle) {
  return Napi::Number::New(env, static_cast<double>(handle));
}

template <typename T>
std::shared_ptr<T> HandleArg(const Napi::Value& v, HandleKind kind, const char* export_name) {
  auto object = HandleRegistry::Find<T>(kind, ToHandle(v));
  if (!object) LUMEN_LOG(kWarning, "EngineAddon") << export_name << ": not a live " << HandleKindName(kind) << " handle";
  return object;
}

}  // namespace lumen_addon

#endif  // LUMEN_COMMON_HANDLE_ARG_H_
