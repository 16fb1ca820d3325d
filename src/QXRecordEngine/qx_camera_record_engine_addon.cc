#include "QXRecordEngine/qx_camera_record_engine_addon.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "QXRecordEngine/camera_record_engine_addon_callback.h"
#include "common/logging.h"

namespace korin {
namespace {

constexpr char kTag[] = "QXCameraRecordEngineAddon";
using lumen_addon::kError;
using lumen_addon::kInfo;

}  // namespace

QXCameraRecordEngineAddon::QXCameraRecordEngineAddon(napi_env env, const RecordEngineConfig& config)
    : env_(env), strand_(lumen_addon::Strand::Create(env, "CameraRecordEngineAddonCallback")) {
  if (strand_) inner_engine_ = QXCameraRecordEngineInterface::CreateCameraRecordEngine(config);
}

QXCameraRecordEngineAddon::~QXCameraRecordEngineAddon() {
  if (inner_engine_) QXCameraRecordEngineInterface::DestroyCameraRecordEngine(inner_engine_);
  inner_engine_ = nullptr;
  LUMEN_LOG(kInfo, kTag) << "QXCameraRecordEngineAddon destroyed";
  if (strand_) strand_->Close();
  handed_.Retire(std::move(bridge_));
  surface_sink_.reset();
  handed_.Clear();
}

bool QXCameraRecordEngineAddon::Ready(const char* method) const {
  if (inner_engine_) return true;
  LUMEN_LOG(kError, kTag) << method << " failed, inner_engine_ is nullptr";
  return false;
}

int32_t QXCameraRecordEngineAddon::InitRecord() { return Ready("InitRecord") ? inner_engine_->InitRecord() : -1; }
int32_t QXCameraRecordEngineAddon::UnInitRecord() { return Ready("UnInitRecord") ? inner_engine_->UnInitRecord() : -1; }
int32_t QXCameraRecordEngineAddon::StartRecord(const QXRecordConfig& c) {
  return Ready("StartRecord") ? inner_engine_->StartRecord(c) : -1;
}
int32_t QXCameraRecordEngineAddon::StopRecord(bool save) { return Ready("StopRecord") ? inner_engine_->StopRecord(save) : -1; }
int32_t QXCameraRecordEngineAddon::PauseRecord() { return Ready("PauseRecord") ? inner_engine_->PauseRecord() : -1; }
int32_t QXCameraRecordEngineAddon::ResumeRecord() { return Ready("ResumeRecord") ? inner_engine_->ResumeRecord() : -1; }
int32_t QXCameraRecordEngineAddon::StopCamera() { return Ready("StopCamera") ? inner_engine_->StopCamera() : -1; }
int32_t QXCameraRecordEngineAddon::SwitchCamera(bool is_front) {
  return Ready("SwitchCamera") ? inner_engine_->SwitchCamera(is_front) : -1;
}
int32_t QXCameraRecordEngineAddon::DeleteLastSegment() {
  return Ready("DeleteLastSegment") ? inner_engine_->DeleteLastSegment() : -1;
}
int32_t QXCameraRecordEngineAddon::DeleteAllSegment() {
  return Ready("DeleteAllSegment") ? inner_engine_->DeleteAllSegment() : -1;
}
// Every method of the class answers 32 bits; a duration beyond them (24 days)
// saturates rather than wrapping negative, which would read as a failure.
int32_t QXCameraRecordEngineAddon::GetRecordDurationMs() {
  if (!Ready("GetTotalDurationMs")) return -1;
  const int64_t ms = inner_engine_->GetTotalDurationMs();
  return static_cast<int32_t>(std::clamp<int64_t>(ms, -1, INT32_MAX));
}

int32_t QXCameraRecordEngineAddon::StartCamera(QXCameraConfig config, const std::string& surface_id,
                                               std::shared_ptr<QXVideoSink> view) {
  if (!Ready("StartCamera")) return -1;
  std::shared_ptr<QXSurfaceRenderSinkInterface> surface;
  config.sink = view.get();
  if (!view && !surface_id.empty()) {
    SurfaceRenderConfig target;
    target.surface_id = surface_id;
    surface.reset(QXSurfaceRenderSinkInterface::Create(target), QXSurfaceRenderSinkInterface::Destroy);
    if (!surface) {
      LUMEN_LOG(kError, kTag) << "StartCamera failed, no surface render sink for " << surface_id;
      return -1;
    }
    config.sink = surface.get();
  }
  const int32_t result = inner_engine_->StartCamera(config);
  // Kept whatever the engine answered: it may hold either until it goes.
  handed_.Keep(view);
  if (surface) {
    handed_.Keep(surface);
    surface_sink_ = std::move(surface);
  }
  return result;
}

int32_t QXCameraRecordEngineAddon::RegisterEngineCallback(napi_value listener) {
  if (!Ready("RegisterEngineCallback")) return -1;
  auto next = std::make_shared<lumen_addon::CameraRecordEngineAddonCallback>(env_, strand_, listener);
  inner_engine_->SetCallback(next.get());
  handed_.Retire(std::exchange(bridge_, std::move(next)));
  return 0;
}

int32_t QXCameraRecordEngineAddon::TakePicture(const QXPictureConfig& config, napi_value target) {
  if (!Ready("TakePicture")) return -1;
  auto callback = std::make_shared<lumen_addon::QXTakePictureCallbackAddon>(env_, strand_, target);
  const int32_t result = inner_engine_->TakePicture(config, callback.get());
  handed_.Keep(std::move(callback));
  return result;
}

}  // namespace korin
