// The camera record engine's events, from engine threads to the listener of
// QXCameraRecordEngine_registerRecordListener, emitted on the engine
// object's strand; and the one-shot result of a picture, to the object given
// to QXCameraRecordEngine_takePicture. Each is retired (its listener
// cleared) when replaced, and kept until the engine is destroyed.
#ifndef LUMEN_QXRECORDENGINE_CAMERA_RECORD_ENGINE_ADDON_CALLBACK_H_
#define LUMEN_QXRECORDENGINE_CAMERA_RECORD_ENGINE_ADDON_CALLBACK_H_

#include <napi.h>

#include <memory>
#include <string>

#include "korin/qx_camera_record_engine.h"
#include "qx_base/listener.h"
#include "qx_base/strand.h"

namespace lumen_addon {

class CameraRecordEngineAddonCallback : public korin::QXCameraRecordEngineCallback {
 public:
  // JavaScript thread.
  CameraRecordEngineAddonCallback(napi_env env, std::shared_ptr<Strand> strand, napi_value listener);
  void Retire() { listener_->Clear(); }

  void OnCameraStarted() override;
  void OnCameraSwitched(const korin::QXCameraDeviceInfo& device) override;
  void OnCameraStopped() override;
  void OnSegmentDeleted() override;
  void OnMergeProgress(int progress) override;
  void OnRecordStarted() override;
  void OnRecordStopped(const std::string& path) override;
  void OnRecordPaused() override;
  void OnRecordResumed() override;
  void OnError(int level, int code, const std::string& message) override;

 private:
  template <typename... A>
  void Emit(const char* event, const char* method, A... args);

  const std::shared_ptr<Strand> strand_;
  const std::shared_ptr<Listener> listener_;
};

class QXTakePictureCallbackAddon : public korin::QXTakePictureCallback {
 public:
  // JavaScript thread.
  QXTakePictureCallbackAddon(napi_env env, std::shared_ptr<Strand> strand, napi_value target);
  void Retire() { listener_->Clear(); }

  void OnTakePictureResult(const korin::QXPicture& picture) override;

 private:
  const std::shared_ptr<Strand> strand_;
  const std::shared_ptr<Listener> listener_;
};

}  // namespace lumen_addon

#endif  // LUMEN_QXRECORDENGINE_CAMERA_RECORD_ENGINE_ADDON_CALLBACK_H_
