// Registration functions of the export groups, in registration order.
#ifndef LUMEN_ADDON_GROUPS_H_
#define LUMEN_ADDON_GROUPS_H_

#include <node_api.h>

namespace lumen_addon {

using ExportGroup = void (*)(napi_env env, napi_value exports);

void RegisterEngineSdkGroup(napi_env env, napi_value exports);
void RegisterLivePlayEngineGroup(napi_env env, napi_value exports);
void RegisterDumpDataUploadGroup(napi_env env, napi_value exports);
void RegisterDetectFaceGroup(napi_env env, napi_value exports);
void RegisterLogGroup(napi_env env, napi_value exports);
void RegisterQXPlayerGroup(napi_env env, napi_value exports);
void RegisterTallyV2Group(napi_env env, napi_value exports);
void RegisterSkiffGroup(napi_env env, napi_value exports);
void RegisterHttpRequestCallbackGroup(napi_env env, napi_value exports);
void RegisterNetworkProberGroup(napi_env env, napi_value exports);
void RegisterQXReplayGroup(napi_env env, napi_value exports);
void RegisterQXReplayDownloaderGroup(napi_env env, napi_value exports);
void RegisterQXCameraRecordEngineGroup(napi_env env, napi_value exports);
void RegisterQXVideoFromNativeSourceGroup(napi_env env, napi_value exports);
void RegisterQXAIAgentGroup(napi_env env, napi_value exports);
void RegisterVideoThumbnailToolGroup(napi_env env, napi_value exports);
void RegisterQXEngineSdkGroup(napi_env env, napi_value exports);
void RegisterQXDeviceSettingGroup(napi_env env, napi_value exports);
void RegisterDeviceEngineGroup(napi_env env, napi_value exports);
void RegisterBeautyEngineGroup(napi_env env, napi_value exports);
void RegisterMediaPlayerEngineGroup(napi_env env, napi_value exports);
void RegisterReplayEngineGroup(napi_env env, napi_value exports);
void RegisterStreamingEngineGroup(napi_env env, napi_value exports);
void RegisterScreenRecordEngineGroup(napi_env env, napi_value exports);
void RegisterCameraRecordEngineGroup(napi_env env, napi_value exports);
void RegisterMediaTrackEditorEngineGroup(napi_env env, napi_value exports);
void RegisterAudioRenderEngineGroup(napi_env env, napi_value exports);

// Environment teardown of the log group: removes and frees its sinks.
void ReleaseLogSinks();
// Environment teardown of the player group, after its handles: the V2 downloader.
void ReleaseQXPlayerGroup();
// Environment teardown of the environment services: unregisters what the
// engine holds of theirs (log callback, analytics observer, device-setting
// callback) and frees it.
void ReleaseServices();

}  // namespace lumen_addon

#endif  // LUMEN_ADDON_GROUPS_H_
