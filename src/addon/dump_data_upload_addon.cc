// dumpDataUpload_*: upload of the engine's diagnostic media dumps.
#include "addon/groups.h"
#include "common/convert.h"
#include "common/export_table.h"
#include "korin/environment_services.h"

namespace lumen_addon {
namespace {

// The engine's answers are not passed on: these exports answer 0.
template <int (*Fn)()>
Napi::Value Call(const Napi::CallbackInfo& info) {
  Fn();
  return js::Number(info.Env(), 0);
}

Napi::Value UpdateSalvageRules(const Napi::CallbackInfo& info) {
  korin::media_dump::UpdateSalvageRules(js::ToUtf8(info[0]));
  return js::Number(info.Env(), 0);
}

const ExportRow kRows[] = {
    {"dumpDataUpload_refreshUploadDataInLiveScene", Call<korin::media_dump::RefreshUploadDataInLiveScene>,
     NoArgs("Expected 0 arguments"), kMinusOne},
    {"dumpDataUpload_updateSalvageRules", UpdateSalvageRules, Exactly("s", "Expected 1 arguments, 1st is string"),
     kMinusOne},
    {"dumpDataUpload_startUpload", Call<korin::media_dump::StartUpload>, NoArgs("Expected 0 arguments"), kMinusOne},
    {"dumpDataUpload_stopUpload", Call<korin::media_dump::StopUpload>, NoArgs("Expected 0 arguments"), kMinusOne},
};

}  // namespace

void RegisterDumpDataUploadGroup(napi_env env, napi_value exports) { AddExports(env, exports, kRows); }

}  // namespace lumen_addon
