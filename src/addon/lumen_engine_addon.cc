// Module entry: registers the export groups in their fixed order, creates the
// callback dispatcher and installs the environment teardown.
#include <node_api.h>
#include <uv.h>

#include <mutex>

#include "addon/groups.h"
#include "callback/callback_dispatcher.h"
#include "callback/video_frame_callback.h"
#include "client/http_executor_manager.h"
#include "client/http_request_callback.h"
#include "common/convert.h"
#include "common/export_table.h"
#include "common/logging.h"
#include "engine/engine_manager.h"
#include "qx_base/handle_registry.h"
#include "rtc/logging.h"
#include "tavel/engine_test.h"
#include "win/platform_utils_win.h"

namespace lumen_addon {
namespace {

// Groups 1 to 21 of the registration order; engineTest_executeOpenglTest
// (22) follows them, then groups 23 to 28.
constexpr ExportGroup kGroupsBeforeTest[] = {
    RegisterEngineSdkGroup,            // 1: engineSdk_*
    RegisterLivePlayEngineGroup,       // 2: livePlayEngine_*
    RegisterDeviceEngineGroup,         // 3: deviceEngine_*
    RegisterMediaPlayerEngineGroup,    // 4: mediaPlayerEngine_*
    RegisterReplayEngineGroup,         // 5: replayEngine_*
    RegisterDumpDataUploadGroup,       // 6: dumpDataUpload_*
    RegisterBeautyEngineGroup,         // 7: beautyEngine_*
    RegisterDetectFaceGroup,           // 8: detectFaceSync, detectFaceSyncWithBuffer
    RegisterLogGroup,                  // 9: log_*
    RegisterTallyV2Group,              // 10: tallyV2_*
    RegisterSkiffGroup,                // 11: skiff_*
    RegisterHttpRequestCallbackGroup,  // 12: class HttpRequestCallback
    RegisterStreamingEngineGroup,      // 13: streamingEngine_*
    RegisterScreenRecordEngineGroup,   // 14: screenRecordEngine_*
    RegisterCameraRecordEngineGroup,   // 15: cameraRecordEngine_*
    RegisterMediaTrackEditorEngineGroup,  // 16: mediaTrackEditorEngine_*
    RegisterQXPlayerGroup,             // 17: QXPlayer_*, QXPlayerExternalDataSource_*
    RegisterAudioRenderEngineGroup,    // 18: audioRenderEngine_*
    RegisterNetworkProberGroup,        // 19: networkProber_*
    RegisterQXReplayGroup,             // 20: QXReplay_*
    RegisterQXReplayDownloaderGroup,   // 21: QXReplay_downloader_*
};
constexpr ExportGroup kGroupsAfterTest[] = {
    RegisterQXCameraRecordEngineGroup,     // 23: QXCameraRecordEngine_*
    RegisterQXVideoFromNativeSourceGroup,  // 24: QXVideoFromNativeSource_*
    RegisterQXAIAgentGroup,                // 25: QXAIAgent_*
    RegisterQXEngineSdkGroup,              // 26: QXEngineSdk_*
    RegisterVideoThumbnailToolGroup,       // 27: videoThumbnailTool_*
    RegisterQXDeviceSettingGroup,          // 28: QXDeviceSetting_*
};

Napi::Value ExecuteOpenglTest(const Napi::CallbackInfo& info) {
  return js::Number(info.Env(), tavel::EngineTest::ExecuteOpenglTest());
}

const ExportRow kEngineTestRow[] = {
    {"engineTest_executeOpenglTest", ExecuteOpenglTest, Free(), kMinusOne},
};

// The dispatcher, the engine manager and the renderer registry are
// process-wide: they serve one JavaScript environment at a time, the one that
// loaded the module first, until its teardown. An environment is told by its
// event loop: each load gets a napi_env of its own.
constexpr char kTag[] = "EngineAddon";

std::mutex g_env_mu;
uv_loop_t* g_loop = nullptr;
napi_env g_env = nullptr;
napi_ref g_exports = nullptr;

constexpr char kEnvironmentInUse[] =
    "lumen_engine_addon serves one JavaScript environment at a time and is in use by another one of this "
    "process (the main thread or a worker); load it there, or after that environment has ended";

void Teardown(void* record) {
  // What is queued goes first, undelivered, while everything it refers to is
  // still alive; no engine thread can queue anything after this.
  CallbackDispatcher* dispatcher = CallbackDispatcher::Get();
  const size_t released = dispatcher ? dispatcher->DrainClosing() : 0;
  LUMEN_LOG(kInfo, kTag) << "environment teardown: " << released << " queued callback items released";
  // Objects JavaScript held by handle, newest first: each stops its engine
  // object before it frees what that object calls.
  auto held = HandleRegistry::TakeAll();
  LUMEN_LOG(kInfo, kTag) << "environment teardown: " << held.size() << " objects held by handle destroyed";
  for (auto& [kind, object] : held) object.reset();
  ReleaseQXPlayerGroup();
  EngineManager::DestroyInstance();
  HttpExecutorManager::Close();
  // Whatever the release switch says: their objects belong to this environment.
  VideoFrameCallback::RemoveAllRenderers();
  // No log sink of this environment may outlive it.
  rtc::LogMessage::ClearStreams();
  ReleaseLogSinks();
  ReleaseServices();
  HttpRequestCallback::ReleaseConstructor();
  if (dispatcher) dispatcher->Close();
  delete[] static_cast<void**>(record);
  std::lock_guard<std::mutex> lock(g_env_mu);
  if (g_exports) napi_delete_reference(g_env, g_exports);
  g_exports = nullptr;
  g_env = nullptr;
  g_loop = nullptr;
}

napi_value Init(napi_env env, napi_value exports) {
  uv_loop_t* loop = nullptr;
  if (napi_get_uv_event_loop(env, &loop) != napi_ok || loop == nullptr) {
    napi_throw_error(env, nullptr, "lumen_engine_addon: no event loop");
    return nullptr;
  }
  {
    std::lock_guard<std::mutex> lock(g_env_mu);
    if (g_loop && g_loop != loop) {
      napi_throw_error(env, "ERR_LUMEN_ENVIRONMENT_IN_USE", kEnvironmentInUse);
      return nullptr;
    }
    if (g_loop == loop) {
      // Loaded again in the same environment (its require cache cleared):
      // the same module object, so that one napi_env holds all the state.
      napi_value first = nullptr;
      if (napi_get_reference_value(g_env, g_exports, &first) != napi_ok || first == nullptr)
        napi_throw_error(env, nullptr, "lumen_engine_addon: the module object of this environment is gone");
      return first;
    }
    g_loop = loop;
    g_env = env;
    platform::PinModule(&g_env_mu);
    if (napi_create_reference(env, exports, 1, &g_exports) != napi_ok) g_exports = nullptr;
  }

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
}  // namespace lumen_addon

// The static initializer that NAPI_MODULE emits registers this record with
// napi_module_register when the module file is loaded.
static napi_module lumen_engine_addon_module = {
    1, 0, "src/addon/lumen_engine_addon", lumen_addon::Init, "lumen_engine_addon", nullptr, {nullptr},
};

extern "C" NAPI_MODULE_EXPORT void _register_lumen_engine_addon_() { napi_module_register(&lumen_engine_addon_module); }
#if defined(_MSC_VER)
// MSVC has no constructor attribute; a static object's constructor runs at load too.
namespace {
struct Registrar {
  Registrar() { _register_lumen_engine_addon_(); }
} g_registrar;
}  // namespace
#else
__attribute__((constructor)) static void RegisterAtLoad() { _register_lumen_engine_addon_(); }
#endif

// The constructor runs once per process, and Node forgets its registration
// when the environment that loaded the module first goes away (a worker):
// later loads find the module through this symbol instead.
extern "C" NAPI_MODULE_EXPORT napi_value napi_register_module_v1(napi_env env, napi_value exports) {
  return lumen_addon::Init(env, exports);
}
