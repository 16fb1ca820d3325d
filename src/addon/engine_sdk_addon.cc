// engineSdk_*: application start-up, engine-wide switches, and the creation,
// connection and destruction of the main engines.
#include "addon/groups.h"
#include "beauty/beauty_sync.h"
#include "common/convert.h"
#include "common/export_table.h"
#include "common/forward.h"
#include "engine/cache_store.h"
#include "engine/engine_manager.h"
#include "engine/live_play_engine_impl.h"
#include "korin/sdk_services.h"
#include "tavel/source_flag.h"
#include "win/platform_utils_win.h"

namespace lumen_addon {
namespace {

EngineManager* Manager() { return EngineManager::instance(); }

Napi::Value Num(const Napi::CallbackInfo& info, int result) { return js::Number(info.Env(), result); }

// Creating or connecting an engine is followed by the beauty state sync.
Napi::Value Synced(const Napi::CallbackInfo& info, int result) {
  if (result != -1) SyncBeautyState();
  return Num(info, result);
}

Napi::Value Refuse(const Napi::CallbackInfo& info, const char* message) {
  Napi::Error::New(info.Env(), message).ThrowAsJavaScriptException();
  return Num(info, -1);
}

Napi::Value OnAppInit(const Napi::CallbackInfo& info) {
  Napi::Object client = js::ToObject(info[0]);
  const std::string version = js::ToUtf8(info[1]);
  Manager()->OnAppInit(info.Env(), client, version);
  return Napi::Value();
}

Napi::Value SetUserConfig(const Napi::CallbackInfo& info) {
  Manager()->SetUserConfig(info.Env(), info[0]);
  return Napi::Value();
}

Napi::Value OnNetworkTypeChanged(const Napi::CallbackInfo& info) {
  Manager()->NetworkTypeChanged(js::ToInt32(info[0]));
  return Napi::Value();
}

Napi::Value CreateLocalEngine(const Napi::CallbackInfo& info) {
  const int32_t user_id = js::ToInt32(info[1]);
  const std::string text = js::ToUtf8(info[2]);
  return Synced(info, Manager()->CreateLocalEngine(info.Env(), info[0], user_id, text));
}

Napi::Value DestroyLocalEngine(const Napi::CallbackInfo& info) { return Num(info, Manager()->DestroyLocalEngine()); }

Napi::Value CreateLivePlayEngine(const Napi::CallbackInfo& info) {
  return Num(info, Manager()->CreateLivePlayEngine(info.Env(), info[0]));
}

Napi::Value ConnectLivePlayEngine(const Napi::CallbackInfo& info) {
  auto engine = Manager()->CurrentLivePlayEngine();
  if (!engine) return Refuse(info, "Live play engine is not created yet");
  return Synced(info, engine->Connect(info.Env(), info[0]));
}

Napi::Value ConnectLivePlayEngineAndConfigDevice(const Napi::CallbackInfo& info) {
  auto engine = Manager()->CurrentLivePlayEngine();
  if (!engine) return Refuse(info, "Live play engine is not created yet");
  const std::string path = js::ToUtf8(info[1]);
  CachedDeviceSettings settings = ReadCachedDeviceSettings(info[2]);
  return Num(info, engine->ConnectAndConfigDevice(info.Env(), info[0], path, std::move(settings)));
}

Napi::Value LeaveLiveRoom(const Napi::CallbackInfo& info) {
  const int result = Manager()->DestroyLivePlayEngine();
  tavel::UpdateEngineParams(2, "");
  return Num(info, result);
}

Napi::Value CreateReplayEngine(const Napi::CallbackInfo& info) {
  const std::string path = js::ToUtf8(info[1]);
  return Synced(info, Manager()->CreateReplayEngine(info.Env(), info[0], path));
}

Napi::Value DestroyReplayEngine(const Napi::CallbackInfo& info) { return Num(info, Manager()->DestroyReplayEngine()); }

Napi::Value IsTestEnvironment(const Napi::CallbackInfo& info) {
  return js::Boolean(info.Env(), Manager()->IsTestEnvironment());
}

Napi::Value CreateStreamingEngine(const Napi::CallbackInfo& info) {
  const std::string params = js::ToUtf8(info[2]);
  return Num(info, Manager()->CreateStreamingEngine(info.Env(), info[0], info[1], params));
}

Napi::Value DestroyStreamingEngine(const Napi::CallbackInfo& info) {
  return Num(info, Manager()->DestroyStreamingEngine());
}

Napi::Value InitDumpManager(const Napi::CallbackInfo& info) {
  korin::media_dump::Init(js::ToInt64(info[0]), js::ToUtf8(info[1]), js::ToUtf8(info[2]), js::ToUtf8(info[3]),
                          js::ToUtf8(info[4]), js::ToBool(info[5]), Manager()->live_client(), 0);
  return Napi::Value();
}

Napi::Value SetOutRoomParameters(const Napi::CallbackInfo& info) {
  const std::string parameters = js::ToUtf8(info[0]);
  if (lumen::LiveClient* client = Manager()->live_client()) client->SetOutRoomParameters(parameters);
  return Napi::Value();
}

Napi::Value CreateLiveReplayEngine(const Napi::CallbackInfo& info) {
  const std::string path = js::ToUtf8(info[1]);
  js::ToUtf8(info[3]);  // required, unused
  return Synced(info, Manager()->CreateLiveReplayEngine(info.Env(), info[0], path, info[2]));
}

Napi::Value DestroyLiveReplayEngine(const Napi::CallbackInfo& info) {
  const int result = Manager()->DestroyLiveReplayEngine();
  tavel::UpdateEngineParams(2, "");
  return Num(info, result);
}

Napi::Value OpenReplayMedia(const Napi::CallbackInfo& info) {
  if (!Manager()->HasLiveReplayEngine()) return Refuse(info, "Live replay engine is not created yet.");
  return Num(info, Manager()->OpenLiveReplayMedia());
}

Napi::Value UpdateEngineParams(const Napi::CallbackInfo& info) {
  const int32_t type = js::ToInt32(info[0]);
  const std::string params = js::ToUtf8(info[1]);
  if (type == 1 || type == 2) tavel::UpdateEngineParams(type, params);
  return Napi::Value();
}

Napi::Value GetSourceFlag(const Napi::CallbackInfo& info) {
  if (info.Length() < 1 || !info[0].IsString()) return js::Boolean(info.Env(), false);
  return js::Boolean(info.Env(), tavel::GetSourceFlagWithKey(js::ToUtf8(info[0])));
}

Napi::Value SetEngineGlobalCacheFolder(const Napi::CallbackInfo& info) {
  korin::SetEngineGlobalCacheFolder(js::ToUtf8(info[0]));
  return Num(info, 0);
}

Napi::Value CurrentEngineType(const Napi::CallbackInfo& info) { return Num(info, Manager()->CurrentEngineType()); }

const ExportRow kRows[] = {
    {"engineSdk_onAppInit", OnAppInit, AtLeast("cs", "Expected arguments : live client, sdk version"), kVoid},
    {"engineSdk_loadCache", ForwardFunction<cache_store::Put>, AtLeast("st", "Expected arguments : key, value"), kVoid},
    {"engineSdk_setUserConfig", SetUserConfig, AtLeast("o", "Expected arguments : engineParams"), kVoid},
    {"engineSdk_onNetworkTypeChanged", OnNetworkTypeChanged, AtLeast("n", "Expected arguments : network type"), kVoid},
    {"engineSdk_createLocalEngine", CreateLocalEngine, AtLeast("cns", "Expected arguments : callback, userId"), kMinusOne},
    {"engineSdk_destroyLocalEngine", DestroyLocalEngine, Free(), kMinusOne},
    {"engineSdk_createLivePlayEngine", CreateLivePlayEngine, AtLeast("c", "Expected arguments : callbacks"), kMinusOne},
    {"engineSdk_connectLivePlayEngine", ConnectLivePlayEngine, AtLeast("o", "Expected arguments : ticket"), kMinusOne},
    {"engineSdk_connectLivePlayEngineAndConfigDevice", ConnectLivePlayEngineAndConfigDevice,
     Exactly("oso", "Expected arguments: config, audioParamPath, deviceCachedInfo"), kMinusOne},
    {"engineSdk_leaveLiveRoom", LeaveLiveRoom, Free(), kMinusOne},
    {"engineSdk_createReplayEngine", CreateReplayEngine, AtLeast("cs", "Expected arguments : callback"), kMinusOne},
    {"engineSdk_destroyReplayEngine", DestroyReplayEngine, Free(), kMinusOne},
    {"engineSdk_getPlatform", ForwardFunction<platform::PlatformString>, Free(), kVoid},
    {"engineSdk_isTestEnvironment", IsTestEnvironment, Free(), kVoid},
    {"engineSdk_createStreamingEngine", CreateStreamingEngine,
     Lenient("ocs", "Expected arguments : config, callback, engine_params"), kMinusOne},
    {"engineSdk_destroyStreamingEngine", DestroyStreamingEngine, Free(), kMinusOne},
    {"engineSdk_initDumpManager", InitDumpManager, AtLeast("nssssb", "Expected arguments : engineParams"), kVoid},
    {"engineSdk_initThreadMonitor", ForwardFunction<korin::thread_monitor::Init>, NoArgs("Expected 0 arguments "), kVoid},
    {"engineSdk_updateSourceFlag", ForwardFunction<tavel::SetSourceFlag>, AtLeast("s", "Expected arguments : engineParams"), kVoid},
    {"engineSdk_setOutRoomParameters", SetOutRoomParameters, AtLeast("s", "Expected arguments : engineParams"), kVoid},
    {"engineSdk_createLiveReplayEngine", CreateLiveReplayEngine,
     AtLeast("cscs", "CreateLiveReplayEngine: invalid arguments"), kMinusOne},
    {"engineSdk_destroyLiveReplayEngine", DestroyLiveReplayEngine, Free(), kMinusOne},
    {"engineSdk_openReplayMedia", OpenReplayMedia, Free(), kMinusOne},
    {"engineSdk_updateEngineParams", UpdateEngineParams,
     AtLeast("ns", "Expected arguments : engineParamsType, engineParams"), kVoid},
    {"engineSdk_getSourceFlag", GetSourceFlag, Free(), kVoid},
    {"engineSdk_setEngineGlobalCacheFolder", SetEngineGlobalCacheFolder,
     AtLeast("s", "Expected arguments : cache folder"), kMinusOne},
    {"engineSdk_currentEngineType", CurrentEngineType, Free(), kMinusOne},
};

}  // namespace

void RegisterEngineSdkGroup(napi_env env, napi_value exports) { AddExports(env, exports, kRows); }

}  // namespace lumen_addon
