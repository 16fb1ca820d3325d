// QXVideoFromNativeSource_*: native video sinks by handle, to be named by a
// render object's getNativeHandler() in QXCameraRecordEngine_startPreview.
// These exports never throw.
#include <napi.h>

#include <memory>

#include "QXRecordEngine/qx_record_engine_args.h"
#include "QXRecordEngine/qx_video_from_native_source_addon.h"
#include "addon/groups.h"
#include "common/convert.h"
#include "common/export_table.h"
#include "common/logging.h"
#include "common/pending_exception.h"
#include "qx_base/handle_arg.h"

namespace lumen_addon {
namespace {

constexpr HandleKind kKind = HandleKind::kNativeVideoSource;

Napi::Value Create(const Napi::CallbackInfo& info) {
  Napi::Env env = info.Env();
  std::shared_ptr<QXVideoFromNativeSourceAddon> source = QXVideoFromNativeSourceAddon::Create(env, info[0]);
  if (!source) {
    DiscardPendingException(env);
    LUMEN_LOG(kError, kQXRecordTag) << "QXVideoFromNativeSource_create failed";
    return js::Number(env, 0);
  }
  return HandleValue(env, HandleRegistry::Add(kKind, source));
}

// Silenced at once; freed once no camera record engine holds it either.
Napi::Value Destroy(const Napi::CallbackInfo& info) {
  if (IsZeroHandle(info[0])) {
    LUMEN_LOG(kError, kQXRecordTag) << "QXVideoFromNativeSource_destroy native source is null";
    return js::Number(info.Env(), -1);
  }
  std::shared_ptr<QXVideoFromNativeSourceAddon> source = TakeHandleArg<QXVideoFromNativeSourceAddon>(info);
  if (!source) return js::Number(info.Env(), -1);
  source->Retire();
  return js::Number(info.Env(), 0);
}

const ExportRow kRows[] = {
    {"QXVideoFromNativeSource_create", Create, QX_RECORD_ADMISSION("c", "QXVideoFromNativeSource_create"), kMinusOne},
    {"QXVideoFromNativeSource_destroy", Destroy, QX_RECORD_ADMISSION("n", "QXVideoFromNativeSource_destroy"), kMinusOne,
     nullptr, Handles(kKind)},
};

}  // namespace

void RegisterQXVideoFromNativeSourceGroup(napi_env env, napi_value exports) { AddExports(env, exports, kRows); }

}  // namespace lumen_addon
