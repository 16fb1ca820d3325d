// Handle arguments of exports: the number JavaScript passes at a position,
// looked up among the live objects of the kind the export's row names for
// that position (ExportRow::handles). A number that finds nothing is logged
// with the export's name; the caller answers its neutral value.
//
// Numbers that other code hands over as addresses (a camera record engine,
// the native video sink a render object's getNativeHandler() returns) follow
// the same rule: only an object this module registered under that kind is
// accepted; any other number is answered as the export answers a bad sink.
#ifndef LUMEN_QX_BASE_HANDLE_ARG_H_
#define LUMEN_QX_BASE_HANDLE_ARG_H_

#include <napi.h>

#include <cstddef>
#include <memory>

#include "common/export_table.h"
#include "common/logging.h"
#include "qx_base/handle_registry.h"

namespace lumen_addon {

inline uint64_t ToHandle(const Napi::Value& v) {
  if (v.IsEmpty() || !v.IsNumber()) return 0;
  return HandleFromNumber(v.As<Napi::Number>().DoubleValue());
}

// The number 0, the handle of nothing: exports that tell it apart from a
// stale number log their own "is null" line for it.
inline bool IsZeroHandle(const Napi::Value& v) {
  return !v.IsEmpty() && v.IsNumber() && v.As<Napi::Number>().DoubleValue() == 0;
}

// Answers a handle as the number JavaScript holds.
inline Napi::Value HandleValue(Napi::Env env, uint64_t handle) {
  return Napi::Number::New(env, static_cast<double>(handle));
}

inline HandleKind HandleKindAt(const Napi::CallbackInfo& info, std::size_t position) {
  return position < kMaxHandleArgs ? RowOf(info).handles.at[position] : HandleKind::kNone;
}

inline void LogNotLive(const Napi::CallbackInfo& info, HandleKind kind) {
  LUMEN_LOG(kWarning, "EngineAddon") << RowOf(info).name << ": not a live " << HandleKindName(kind) << " handle";
}

template <typename T, std::shared_ptr<T> (*Look)(HandleKind, uint64_t)>
std::shared_ptr<T> LookUp(const Napi::CallbackInfo& info, std::size_t position) {
  const HandleKind kind = HandleKindAt(info, position);
  std::shared_ptr<T> object = Look(kind, ToHandle(info[position]));
  if (!object) LogNotLive(info, kind);
  return object;
}

// The live object the handle at `position` names; null (logged) otherwise.
template <typename T>
std::shared_ptr<T> HandleArg(const Napi::CallbackInfo& info, std::size_t position = 0) {
  return LookUp<T, &HandleRegistry::Find<T>>(info, position);
}

// A destroy export: takes the object at `position` out of the registry;
// null (logged) when it was not live. Calls in flight keep their share.
template <typename T>
std::shared_ptr<T> TakeHandleArg(const Napi::CallbackInfo& info, std::size_t position = 0) {
  return LookUp<T, &HandleRegistry::Remove<T>>(info, position);
}

// The engine kind of objects JavaScript holds as handles (src/common/forward.h):
// info[0] is looked up as the row says; a number that finds nothing answers
// the row's failure value.
template <typename W>
struct ByHandle {
  using Wrapper = W;
  static constexpr std::size_t kFirstArg = 1;
  static std::shared_ptr<W> Find(const Napi::CallbackInfo& info) { return HandleArg<W>(info, 0); }
  static Napi::Value Missing(const Napi::CallbackInfo& info) { return FailureValue(info.Env(), RowOf(info).failure); }
};

}  // namespace lumen_addon

#endif  // LUMEN_QX_BASE_HANDLE_ARG_H_
