// Registration functions of the export groups, in registration order.
#ifndef LUMEN_ADDON_GROUPS_H_
#define LUMEN_ADDON_GROUPS_H_

#include <node_api.h>

namespace lumen_addon {

using ExportGroup = void (*)(napi_env env, napi_value exports);

void RegisterEngineSdkGroup(napi_env env, napi_value exports);
void RegisterLivePlayEngineGroup(napi_env env, napi_value exports);
void RegisterLogGroup(napi_env env, napi_value exports);
void RegisterMediaPlayerEngineGroup(napi_env env, napi_value exports);
void RegisterReplayEngineGroup(napi_env env, napi_value exports);
void RegisterStreamingEngineGroup(napi_env env, napi_value exports);
void RegisterAudioRenderEngineGroup(napi_env env, napi_value exports);

// Environment teardown of the log group: removes and frees its sinks.
void ReleaseLogSinks();

}  // namespace lumen_addon

#endif  // LUMEN_ADDON_GROUPS_H_
