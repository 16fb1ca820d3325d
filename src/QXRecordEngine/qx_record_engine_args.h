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
#include "common/pending_exception.h"
#include "common/record_reader.h"

namespace lumen_addon {

constexpr char kQXRecordTag[] = "QXCameraRecordEngine";

// The row's admission: QX_RECORD_ADMISSION("no", "QXCameraRecordEngine_startRecord").
#define QX_RECORD_ADMISSION(types, js_name) \
  ::lumen_addon::Logged(::lumen_addon::Exactly(types, js_name " invalid arguments"), ::lumen_addon::kQXRecordTag)

// The row's refusal line, then `answer`.
inline int32_t InvalidArguments(const Napi::CallbackInfo& info, int32_t answer) {
  Refuse(info);
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
  return !DiscardPendingException(v.Env());
}

}  // namespace lumen_addon

#endif  // LUMEN_QXRECORDENGINE_QX_RECORD_ENGINE_ARGS_H_
