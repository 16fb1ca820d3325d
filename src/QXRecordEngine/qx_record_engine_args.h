// Arguments of the exports that never throw (QXCameraRecordEngine_*,
// QXVideoFromNativeSource_*): a refusal, a record of the wrong shape or a
// getter that throws is an error line "<export> invalid arguments" under
// the tag "QXCameraRecordEngine" and -1.
#ifndef LUMEN_QXRECORDENGINE_QX_RECORD_ENGINE_ARGS_H_
#define LUMEN_QXRECORDENGINE_QX_RECORD_ENGINE_ARGS_H_

#include <napi.h>

#include <cstddef>
#include <cstdint>

#include "common/convert.h"
#include "common/export_table.h"
#include "common/logging.h"
#include "common/record_reader.h"

namespace lumen_addon {

constexpr char kQXRecordTag[] = "QXCameraRecordEngine";

// The row's admission: QX_RECORD_ADMISSION("no", "QXCameraRecordEngine_startRecord").
#define QX_RECORD_ADMISSION(types, js_name) \
  ::lumen_addon::Logged(::lumen_addon::Exactly(types, js_name " invalid arguments"), ::lumen_addon::kQXRecordTag)

// Takes a pending exception; true when there was one.
inline bool ClearPending(napi_env env) {
  bool pending = false;
  if (napi_is_exception_pending(env, &pending) != napi_ok || !pending) return false;
  napi_value ignored;
  napi_get_and_clear_last_exception(env, &ignored);
  return true;
}

// The row's refusal line, then `answer`.
inline int32_t InvalidArguments(const Napi::CallbackInfo& info, int32_t answer) {
  LUMEN_LOG(kError, kQXRecordTag) << RowOf(info).admission.message;
  return answer;
}
inline Napi::Value InvalidArguments(const Napi::CallbackInfo& info) {
  return js::Number(info.Env(), InvalidArguments(info, -1));
}

// Reads strictly; false, with nothing pending, when a value had another type
// (or a getter threw).
template <typename R, std::size_t N>
bool ReadQuietly(const Napi::Value& v, const record::Field<R> (&table)[N], R& r, record::Policy policy) {
  record::Read(v, table, r, policy);
  return !ClearPending(v.Env());
}

// The number 0, the handle of nothing; any other number is looked up.
inline bool IsZeroHandle(const Napi::Value& v) { return v.IsNumber() && v.As<Napi::Number>().DoubleValue() == 0; }

}  // namespace lumen_addon

#endif  // LUMEN_QXRECORDENGINE_QX_RECORD_ENGINE_ARGS_H_
