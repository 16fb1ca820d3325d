// Module entry: registers the export groups in their fixed order, creates the
// callback dispatcher and installs the environment teardown.
#include <node_api.h>

#include "addon/groups.h"
#include "callback/callback_dispatcher.h"
#include "common/convert.h"
#include "common/export_table.h"
#include "engine/engine_manager.h"
#include "rtc/logging.h"
#include "tavel/engine_test.h"

namespace lumen {
namespace {

// Groups 1 to 21 of the registration order; engineTest_executeOpenglTest
// (22) follows them, then groups 23 to 28.
constexpr ExportGroup kGroupsBeforeTest[] = {
    RegisterEngineSdkGroup,       // 1: engineSdk_*
    RegisterLivePlayEngineGroup,  // 2: livePlayEngine_*
    RegisterLogGroup,             // 9: log_*
};
constexpr ExportGroup kGroupsAfterTest[] = {
    nullptr,
};

Napi::Value ExecuteOpenglTest(const Napi::CallbackInfo& info) {
  return js::Number(info.Env(), tavel::EngineTest::ExecuteOpenglTest());
}

const ExportRow kEngineTestRow[] = {
    {"engineTest_executeOpenglTest", ExecuteOpenglTest, Free(), kMinusOne},
};

void Teardown(void* record) {
  CallbackDispatcher* dispatcher = CallbackDispatcher::Get();
  if (dispatcher) dispatcher->DrainClosing();
  EngineManager::DestroyInstance();
  // No log sink of this environment may outlive it.
  rtc::LogMessage::ClearStreams();
  ReleaseLogSinks();
  if (dispatcher) dispatcher->Close();
  delete[] static_cast<void**>(record);
}

napi_value Init(napi_env env, napi_value exports) {
  for (ExportGroup group : kGroupsBeforeTest) group(env, exports);
  AddExports(env, exports, kEngineTestRow);
  for (ExportGroup group : kGroupsAfterTest)
    if (group) group(env, exports);

  CallbackDispatcher::Create(env);

  void** record = new void*[2]{nullptr, nullptr};
  if (napi_add_env_cleanup_hook(env, Teardown, record) != napi_ok) delete[] record;
  return exports;
}

}  // namespace
}  // namespace lumen

// The static initializer that NAPI_MODULE emits registers this record with
// napi_module_register when the module file is loaded.
static napi_module lumen_engine_addon_module = {
    1, 0, "src/addon/lumen_engine_addon", lumen::Init, "lumen_engine_addon", nullptr, {nullptr},
};

extern "C" __attribute__((constructor)) void _register_lumen_engine_addon_() {
  napi_module_register(&lumen_engine_addon_module);
}
