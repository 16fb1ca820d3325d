// cameraRecordEngine_*: the camera recorder, with its preview.
#include <string>

#include "addon/groups.h"
#include "common/convert.h"
#include "common/export_table.h"
#include "common/forward.h"
#include "common/logging.h"
#include "common/record_reader.h"
#include "engine/camera_record_engine_impl.h"
#include "engine/engine_manager.h"
#include "rtc/string_utils.h"

namespace lumen_addon {
namespace {

using Impl = CameraRecordEngineImpl;
using Engine = record_engine::CameraRecordEngineInterface;

// Without a recorder each export logs its own line (its row's text).
struct Camera {
  using Wrapper = Impl;
  static std::shared_ptr<Wrapper> Find(const Napi::CallbackInfo&) {
    return EngineManager::instance()->CurrentCameraRecordEngine();
  }
  static Napi::Value Missing(const Napi::CallbackInfo& info) {
    LUMEN_LOG(kError, Impl::kTag) << RowOf(info).text;
    return js::Number(info.Env(), -1);
  }
};

using record_engine::CameraPreviewConfig;
const record::Field<CameraPreviewConfig> kPreviewFields[] = {
    LUMEN_FIELD("cameraGUID", CameraPreviewConfig, camera_guid, kString),
};
const record::Field<CameraPreviewConfig> kPreviewOptionalFields[] = {
    LUMEN_FIELD("previewWidth", CameraPreviewConfig, preview_width, kInt32),
    LUMEN_FIELD("previewHeight", CameraPreviewConfig, preview_height, kInt32),
    LUMEN_FIELD("previewFps", CameraPreviewConfig, preview_fps, kInt32),
    LUMEN_FIELD("scaleMode", CameraPreviewConfig, scale_mode, kInt32),
};

using record_engine::RecordConfig;
const record::Field<RecordConfig> kRecordFields[] = {
    LUMEN_FIELD("rootDir", RecordConfig, output_dir, kString),
};
const record::Field<RecordConfig> kRecordOptionalFields[] = {
    LUMEN_FIELD("recordWidth", RecordConfig, record_width, kInt32),
    LUMEN_FIELD("recordHeight", RecordConfig, record_height, kInt32),
    LUMEN_FIELD("scaleMode", RecordConfig, scale_mode, kInt32),
    LUMEN_FIELD("recordVideoBitrate", RecordConfig, video_bitrate, kInt32),
    LUMEN_FIELD("recordAudioBitrate", RecordConfig, audio_bitrate, kInt32),
};

// Always-read keys first, then the optional ones over the record's defaults.
template <typename R, std::size_t N, std::size_t M>
R ReadConfig(const Napi::Value& v, const record::Field<R> (&always)[N], const record::Field<R> (&optional)[M]) {
  R r;
  record::Read(v, always, r);
  record::Read(v, optional, r, record::kPresentOnly);
  return r;
}

Napi::Value Create(const Napi::CallbackInfo& info) {
  return js::Number(info.Env(), EngineManager::instance()->CreateCameraRecordEngine(info.Env(), info[1], info[0]));
}

Napi::Value Destroy(const Napi::CallbackInfo& info) {
  return js::Number(info.Env(), EngineManager::instance()->DestroyCameraRecordEngine());
}

int StartRecord(const Napi::CallbackInfo& info, Impl& camera) {
  RecordConfig config = ReadConfig(info[0], kRecordFields, kRecordOptionalFields);
  config.output_dir = rtc::Utf8ToAnsi(config.output_dir);
  return camera.StartRecord(RowOf(info).text, config, info.Env(), info[1]);
}

int StartPreview(const Napi::CallbackInfo& info, Impl& camera) {
  const CameraPreviewConfig config = ReadConfig(info[0], kPreviewFields, kPreviewOptionalFields);
  return camera.StartPreview("startPreview() engine_ is null", config, info.Env(), info[1]);
}

int StopPreview(const Napi::CallbackInfo& info, Impl& camera) { return camera.StopPreview(RowOf(info).text); }

#define ROW(js_name, handler, admission, text) {"cameraRecordEngine_" js_name, handler, admission, kMinusOne, text}

const ExportRow kRows[] = {
    ROW("createCameraRecorder", Create, AtLeast("co", "Expected 3 arguments: callback, params, sdk_version"), nullptr),
    ROW("destroyCameraRecorder", Destroy, NoArgs("Expected 0 arguments"), nullptr),
    ROW("startRecord", (OnEngine<Camera, StartRecord>), AtLeast("oc", "Expected 2 arguments: config, callback"),
        "startRecord() engine is null"),
    ROW("stopRecord", (Forward<Camera, &Engine::stopRecord>), AtLeast("b", "Expected 1 arguments: need_save"),
        "stopRecord() engine is null"),
    ROW("startPreview", (OnEngine<Camera, StartPreview>), AtLeast("oc", "Expected 1 arguments: config, callback"),
        "startPreview() engine is null"),
    ROW("stopPreview", (OnEngine<Camera, StopPreview>), NoArgs("Expected 0 arguments"), "stopPreview() engine is null"),
};

}  // namespace

void RegisterCameraRecordEngineGroup(napi_env env, napi_value exports) { AddExports(env, exports, kRows); }

}  // namespace lumen_addon
