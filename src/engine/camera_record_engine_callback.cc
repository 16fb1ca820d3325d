#include "engine/camera_record_engine_callback.h"

#include <utility>

namespace lumen_addon {

void CameraRecordEngineCallbackImpl::OnPreviewFrame(const korin::QXVideoFrame& frame) {
  // Held across the hand-over, so that SetPreview waits for a frame in flight.
  std::lock_guard<std::mutex> lock(preview_mu_);
  if (preview_) preview_->OnFrame(frame);
}

std::shared_ptr<VideoFrameCallback> CameraRecordEngineCallbackImpl::SetPreview(
    std::shared_ptr<VideoFrameCallback> renderer) {
  std::lock_guard<std::mutex> lock(preview_mu_);
  std::swap(preview_, renderer);
  return renderer;
}

void CameraRecordEngineCallbackImpl::OnPreviewStarted() { Post("onPreviewStarted"); }
void CameraRecordEngineCallbackImpl::OnPreviewStopped() { Post("onPreviewStopped"); }
void CameraRecordEngineCallbackImpl::OnCameraError(int code, const std::string& message) {
  Post("onCameraError", Args(Arg(int32_t{code}), Arg(message)));
}
void CameraRecordEngineCallbackImpl::OnRecordProgress(int64_t duration_ms) {
  Post("onRecordProgress", Args(Arg(duration_ms)));
}

void CameraRecordCallbackImpl::OnRecordStarted() { Post("onRecordStarted"); }
void CameraRecordCallbackImpl::OnRecordStopped(const std::string& path) { Post("onRecordStopped", Args(Arg(path))); }
void CameraRecordCallbackImpl::OnRecordError(int code, const std::string& message) {
  Post("onRecordError", Args(Arg(int32_t{code}), Arg(message)));
}

}  // namespace lumen_addon
