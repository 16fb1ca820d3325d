// QXCameraRecordEngine_*: the camera record engine class by handle. These
// exports never throw: bad arguments are an error line "<export> invalid
// arguments" (tag "QXCameraRecordEngine") and -1; records are read strictly.
// A zero handle is "<export> record_engine is null", any other number that
// is no live engine "<export>: not a live camera record engine handle", -1.
#include <napi.h>

#include <memory>
#include <string>

#include "QXRecordEngine/qx_camera_record_engine_addon.h"
#include "QXRecordEngine/qx_record_engine_args.h"
#include "QXRecordEngine/qx_video_from_native_source_addon.h"
#include "addon/groups.h"
#include "common/convert.h"
#include "common/export_table.h"
#include "common/forward.h"
#include "common/logging.h"
#include "common/pending_exception.h"
#include "common/record_reader.h"
#include "qx_base/handle_arg.h"

namespace lumen_addon {
namespace {

using korin::QXCameraRecordEngineAddon;
using Engine = QXCameraRecordEngineAddon;

constexpr HandleKind kKind = HandleKind::kCameraRecordEngine;

// A non-zero result is logged with the export's name, then answered.
int32_t Logged(const Napi::CallbackInfo& info, int32_t result) {
  if (result != 0) LUMEN_LOG(kError, kQXRecordTag) << RowOf(info).name << " failed, ret" << result;
  return result;
}

struct Recorder {
  using Wrapper = Engine;
  static constexpr std::size_t kFirstArg = 1;
  static std::shared_ptr<Engine> Find(const Napi::CallbackInfo& info) {
    if (IsZeroHandle(info[0])) {
      LUMEN_LOG(kError, kQXRecordTag) << RowOf(info).name << " record_engine is null";
      return nullptr;
    }
    return HandleArg<Engine>(info);
  }
  static Napi::Value Missing(const Napi::CallbackInfo& info) { return js::Number(info.Env(), -1); }
};

// ---- records ------------------------------------------------------------------------

using korin::RecordEngineConfig;
const record::Field<RecordEngineConfig> kRequired[] = {
    LUMEN_FIELD("rootDir", RecordEngineConfig, root_path, kString),
    LUMEN_FIELD("recordMode", RecordEngineConfig, record_mode, kInt32),
};
const record::Field<RecordEngineConfig> kOptional[] = {
    LUMEN_FIELD("pauseWithSegment", RecordEngineConfig, pause_with_segment, kBool),
    LUMEN_FIELD("audioDeviceStartPlayout", RecordEngineConfig, audio_device_need_start_playout, kBool),
    LUMEN_FIELD("audioDeviceEnableBuildInAec", RecordEngineConfig, audio_device_enable_builtin_aec, kBool),
    LUMEN_FIELD("enableInsertPictureWhenCloseCamera", RecordEngineConfig, enable_insert_picture_when_close_camera, kBool),
    LUMEN_FIELD("insertPicturePathWhenCloseCamera", RecordEngineConfig, insert_picture_path_when_close_camera, kString),
};

struct Preview {
  std::string camera_device_id;
  int32_t preview_width = 0;
  int32_t preview_height = 0;
  int32_t preview_fps = 0;
  std::string surface_id;
};
const record::Field<Preview> kPreview[] = {
    LUMEN_FIELD("cameraDeviceId", Preview, camera_device_id, kString),
    LUMEN_FIELD("previewWidth", Preview, preview_width, kInt32),
    LUMEN_FIELD("previewHeight", Preview, preview_height, kInt32),
    LUMEN_FIELD("previewFps", Preview, preview_fps, kInt32),
    LUMEN_FIELD("surfaceId", Preview, surface_id, kString),
};

using korin::QXRecordConfig;
const record::Field<QXRecordConfig> kRecord[] = {
    LUMEN_FIELD("fileOutPath", QXRecordConfig, file_out_path, kString),
    LUMEN_FIELD("encWidth", QXRecordConfig, enc_width, kInt32),
    LUMEN_FIELD("encHeight", QXRecordConfig, enc_height, kInt32),
    LUMEN_FIELD("encFps", QXRecordConfig, enc_fps, kInt32),
    LUMEN_FIELD("encVideoBitrate", QXRecordConfig, enc_video_bitrate, kInt32),
    LUMEN_FIELD("encVideoGopSize", QXRecordConfig, enc_video_gop_size, kInt32),
    LUMEN_FIELD("encAudioBitrate", QXRecordConfig, enc_audio_bitrate, kInt32),
};

using korin::QXPictureConfig;
const record::Field<QXPictureConfig> kPicture[] = {
    LUMEN_FIELD("picWidth", QXPictureConfig, pic_width, kInt32),
    LUMEN_FIELD("picHeight", QXPictureConfig, pic_height, kInt32),
    LUMEN_FIELD("needMirror", QXPictureConfig, need_mirror, kInt32),
};

struct Switch {
  bool is_front = false;
};
const record::Field<Switch> kSwitch[] = {LUMEN_FIELD("isFront", Switch, is_front, kBool)};

// ---- exports --------------------------------------------------------------------------

Napi::Value Create(const Napi::CallbackInfo& info) {
  Napi::Env env = info.Env();
  RecordEngineConfig config;
  if (!ReadQuietly(info[0], kRequired, config, record::kStrict) ||
      !ReadQuietly(info[0], kOptional, config, record::kStrictPresent))
    return InvalidArguments(info);
  auto engine = std::make_shared<Engine>(env, config);
  DiscardPendingException(env);  // a strand that could not be made: the engine has none
  const int32_t result = engine->InitRecord();
  if (result != 0) {
    Logged(info, result);
    return js::Number(env, 0);
  }
  return HandleValue(env, HandleRegistry::Add(kKind, engine));
}

Napi::Value Destroy(const Napi::CallbackInfo& info) {
  if (IsZeroHandle(info[0])) {
    LUMEN_LOG(kError, kQXRecordTag) << "QXCameraRecordEngine_destroy record engine is null";
    return js::Number(info.Env(), -1);
  }
  std::shared_ptr<Engine> engine = TakeHandleArg<Engine>(info);
  if (!engine) return js::Number(info.Env(), -1);
  const int32_t result = Logged(info, engine->UnInitRecord());
  // An export further up the stack (a preview handler that destroyed its
  // engine) keeps it until it returns.
  engine.reset();
  return js::Number(info.Env(), result);
}

// The sink viewRender.nativeSource.getNativeHandler() names: only a live
// native video source of this module. Runs JavaScript; what it throws is
// taken, the export never throws.
std::shared_ptr<QXVideoFromNativeSourceAddon> ViewSink(Napi::Env env, const Napi::Value& view) {
  if (!view.IsObject()) return nullptr;
  Napi::Value source = js::Get(view.As<Napi::Object>(), "nativeSource");
  if (DiscardPendingException(env) || source.IsEmpty() || !source.IsObject()) return nullptr;
  Napi::Value handler = js::Get(source.As<Napi::Object>(), "getNativeHandler");
  if (DiscardPendingException(env) || handler.IsEmpty() || !handler.IsFunction()) return nullptr;
  Napi::Value number = handler.As<Napi::Function>().Call(source, {});
  if (DiscardPendingException(env) || number.IsEmpty() || !number.IsNumber()) return nullptr;
  return HandleRegistry::Find<QXVideoFromNativeSourceAddon>(HandleKind::kNativeVideoSource,
                                                            HandleFromNumber(number.As<Napi::Number>().DoubleValue()));
}

int32_t StartPreview(const Napi::CallbackInfo& info, Engine& engine) {
  Napi::Env env = info.Env();
  Preview preview;
  if (!ReadQuietly(info[1], kPreview, preview, record::kStrictPresent)) return InvalidArguments(info, -1);
  Napi::Value view = js::Get(info[1].As<Napi::Object>(), "viewRender");
  if (DiscardPendingException(env)) return InvalidArguments(info, -1);
  std::shared_ptr<QXVideoFromNativeSourceAddon> sink;
  if (record::Present(view)) {
    sink = ViewSink(env, view);
    if (!sink) {
      LUMEN_LOG(kError, kQXRecordTag) << "StartCamera failed, viewRender is not a valid QXVideoSink";
      return -1;
    }
  }
  // The handler ran JavaScript: the engine may have been destroyed meanwhile.
  if (HandleRegistry::Find<Engine>(kKind, ToHandle(info[0])).get() != &engine) {
    LogNotLive(info, kKind);
    return -1;
  }
  korin::QXCameraConfig camera;
  camera.camera_device_id = preview.camera_device_id;
  camera.preview_width = preview.preview_width;
  camera.preview_height = preview.preview_height;
  camera.preview_fps = preview.preview_fps;
  return Logged(info, engine.StartCamera(camera, preview.surface_id, sink));
}

int32_t StartRecord(const Napi::CallbackInfo& info, Engine& engine) {
  QXRecordConfig config;
  if (!ReadQuietly(info[1], kRecord, config, record::kStrictPresent)) return InvalidArguments(info, -1);
  return Logged(info, engine.StartRecord(config));
}

int32_t StopRecord(const Napi::CallbackInfo& info, Engine& engine) {
  return Logged(info, engine.StopRecord(info[1].As<Napi::Boolean>().Value()));
}

int32_t TakePicture(const Napi::CallbackInfo& info, Engine& engine) {
  QXPictureConfig config;
  if (!ReadQuietly(info[1], kPicture, config, record::kStrictPresent)) return InvalidArguments(info, -1);
  return Logged(info, engine.TakePicture(config, info[1]));
}

int32_t SwitchCamera(const Napi::CallbackInfo& info, Engine& engine) {
  Switch s;
  if (!ReadQuietly(info[1], kSwitch, s, record::kStrictPresent)) return InvalidArguments(info, -1);
  return engine.SwitchCamera(s.is_front);
}

int32_t Register(const Napi::CallbackInfo& info, Engine& engine) {
  return Logged(info, engine.RegisterEngineCallback(info[1]));
}

Napi::Value Duration(const Napi::CallbackInfo& info, Engine& engine) {
  return js::Number(info.Env(), static_cast<double>(engine.GetRecordDurationMs()));
}

template <int32_t (Engine::*Method)()>
int32_t Call(const Napi::CallbackInfo& info, Engine& engine) {
  return Logged(info, (engine.*Method)());
}

constexpr HandleArgs kOnEngine = Handles(kKind);

#define QXCAMERA_ROW(js_name, handler, types) \
  {"QXCameraRecordEngine_" js_name, (OnEngine<Recorder, handler>),     \
   QX_RECORD_ADMISSION(types, "QXCameraRecordEngine_" js_name), kMinusOne, nullptr, kOnEngine}

const ExportRow kRows[] = {
    {"QXCameraRecordEngine_create", Create, QX_RECORD_ADMISSION("o", "QXCameraRecordEngine_create"), kMinusOne},
    {"QXCameraRecordEngine_destroy", Destroy, QX_RECORD_ADMISSION("n", "QXCameraRecordEngine_destroy"), kMinusOne, nullptr,
     kOnEngine},
    QXCAMERA_ROW("startPreview", StartPreview, "no"),
    QXCAMERA_ROW("stopPreview", Call<&Engine::StopCamera>, "n"),
    QXCAMERA_ROW("startRecord", StartRecord, "no"),
    QXCAMERA_ROW("stopRecord", StopRecord, "nb"),
    QXCAMERA_ROW("pauseRecord", Call<&Engine::PauseRecord>, "n"),
    QXCAMERA_ROW("resumeRecord", Call<&Engine::ResumeRecord>, "n"),
    QXCAMERA_ROW("registerRecordListener", Register, "nc"),
    QXCAMERA_ROW("deleteLastSegment", Call<&Engine::DeleteLastSegment>, "n"),
    QXCAMERA_ROW("deleteAllSegment", Call<&Engine::DeleteAllSegment>, "n"),
    QXCAMERA_ROW("takePicture", TakePicture, "nc"),
    QXCAMERA_ROW("getRecordDurationMs", Duration, "n"),
    QXCAMERA_ROW("switchCamera", SwitchCamera, "no"),
};

#undef QXCAMERA_ROW

}  // namespace

void RegisterQXCameraRecordEngineGroup(napi_env env, napi_value exports) { AddExports(env, exports, kRows); }

}  // namespace lumen_addon
