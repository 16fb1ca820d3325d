// The camera record engine class: the engine library's newer camera recorder
// (korin::QXCameraRecordEngineInterface) with its preview sinks, its record
// listener and its picture callbacks. A public symbol of the module, so that
// native code loaded beside it can drive a recorder too; JavaScript drives it
// through the QXCameraRecordEngine_* exports.
//
// JavaScript thread only. Whatever the engine was handed (listener bridges,
// picture callbacks, surface sinks, native video sources) stays allocated
// until the engine is destroyed; replaced listeners are silenced at once.
#ifndef LUMEN_QXRECORDENGINE_QX_CAMERA_RECORD_ENGINE_ADDON_H_
#define LUMEN_QXRECORDENGINE_QX_CAMERA_RECORD_ENGINE_ADDON_H_

#include <napi.h>

#include <cstdint>
#include <memory>
#include <string>

#include "korin/qx_camera_record_engine.h"
#include "korin/qx_surface_render_sink.h"
#include "korin/record_engine_config.h"
#include "qx_base/keep_alive.h"
#include "qx_base/strand.h"

#if defined(_WIN32)
#define QX_CAMERA_RECORD_ENGINE_ADDON_API __declspec(dllexport)
#else
#define QX_CAMERA_RECORD_ENGINE_ADDON_API __attribute__((visibility("default")))
#endif

namespace lumen_addon {
class CameraRecordEngineAddonCallback;
}

namespace korin {

class QX_CAMERA_RECORD_ENGINE_ADDON_API QXCameraRecordEngineAddon {
 public:
  // Creates the inner engine (none when the library makes none, or the
  // event strand cannot be made: every method then answers -1 and logs).
  QXCameraRecordEngineAddon(napi_env env, const RecordEngineConfig& config);
  // Destroys the inner engine first, then what it was handed.
  ~QXCameraRecordEngineAddon();
  QXCameraRecordEngineAddon(const QXCameraRecordEngineAddon&) = delete;
  QXCameraRecordEngineAddon& operator=(const QXCameraRecordEngineAddon&) = delete;

  int32_t InitRecord();
  int32_t UnInitRecord();
  int32_t StartRecord(const QXRecordConfig& config);
  int32_t StopRecord(bool save);
  int32_t PauseRecord();
  int32_t ResumeRecord();
  // The preview goes to `view` when given, else to a new surface sink for
  // `surface_id` when that is not empty, else nowhere (`config.sink` is
  // set here). -1 when the surface sink cannot be made.
  int32_t StartCamera(QXCameraConfig config, const std::string& surface_id, std::shared_ptr<QXVideoSink> view);
  int32_t StopCamera();
  int32_t SwitchCamera(bool is_front);
  int32_t DeleteLastSegment();
  int32_t DeleteAllSegment();
  int32_t GetRecordDurationMs();
  // Events go to `listener` from now on; the one before hears nothing more.
  int32_t RegisterEngineCallback(napi_value listener);
  // The result goes to `target`'s onTakePictureResult, once.
  int32_t TakePicture(const QXPictureConfig& config, napi_value target);

 private:
  bool Ready(const char* method) const;

  std::shared_ptr<lumen_addon::CameraRecordEngineAddonCallback> bridge_;
  QXCameraRecordEngineInterface* inner_engine_ = nullptr;
  std::shared_ptr<QXSurfaceRenderSinkInterface> surface_sink_;
  napi_env env_;
  std::shared_ptr<lumen_addon::Strand> strand_;
  lumen_addon::KeepAlive handed_;
};

}  // namespace korin

#endif  // LUMEN_QXRECORDENGINE_QX_CAMERA_RECORD_ENGINE_ADDON_H_
