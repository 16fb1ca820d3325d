// Events of the camera recorder. The recorder's own events (item type 107,
// shared with the device modules) go to the callback object given at
// creation, and its preview frames to the preview's renderer while one is
// installed; each recording's start, stop and error (item type 111) go to
// the callback object given with that start.
#ifndef LUMEN_ENGINE_CAMERA_RECORD_ENGINE_CALLBACK_H_
#define LUMEN_ENGINE_CAMERA_RECORD_ENGINE_CALLBACK_H_

#include <napi.h>

#include <memory>
#include <mutex>
#include <string>

#include "callback/video_frame_callback.h"
#include "engine/event_holder.h"
#include "record_engine/camera_record_engine.h"

namespace lumen_addon {

class CameraRecordEngineCallbackImpl
    : public EventHolder<record_engine::CameraRecordEngineCallback, kItemCameraRecord> {
 public:
  using EventHolder::EventHolder;

  void OnPreviewFrame(const korin::QXVideoFrame& frame) override;
  void OnPreviewStarted() override;
  void OnPreviewStopped() override;
  void OnCameraError(int code, const std::string& message) override;
  void OnRecordProgress(int64_t duration_ms) override;

  // Installs the preview's renderer (none: no preview) and answers the one
  // it replaces. Once it returned, no frame reaches the old one.
  std::shared_ptr<VideoFrameCallback> SetPreview(std::shared_ptr<VideoFrameCallback> renderer);

 private:
  std::mutex preview_mu_;
  std::shared_ptr<VideoFrameCallback> preview_;
};

class CameraRecordCallbackImpl : public EventHolder<record_engine::CameraRecordCallback, kItemCameraRecordState> {
 public:
  using EventHolder::EventHolder;

  void OnRecordStarted() override;
  void OnRecordStopped(const std::string& path) override;
  void OnRecordError(int code, const std::string& message) override;
};

}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_CAMERA_RECORD_ENGINE_CALLBACK_H_
