#include "engine/camera_record_engine_impl.h"

#include <utility>

#include "callback/callback_dispatcher.h"

namespace lumen_addon {

CameraRecordEngineImpl::CameraRecordEngineImpl(napi_env env, napi_value callback,
                                               const record_engine::CameraRecordEngineConfig& config)
    : events_(std::make_shared<CameraRecordEngineCallbackImpl>(env, callback)) {
  LUMEN_LOG(kInfo, kTag) << "CameraRecordEngineImpl()";
  engine_ = record_engine::CameraRecordEngineInterface::createNewCameraRecordEngine(config);
  if (engine_) engine_->registerCallback(events_.get());
}

CameraRecordEngineImpl::~CameraRecordEngineImpl() { Shutdown(); }

void CameraRecordEngineImpl::Shutdown() {
  if (engine_) record_engine::CameraRecordEngineInterface::releaseCameraRecordEngine(engine_);
  engine_ = nullptr;
  VideoFrameCallback::Release(events_->SetPreview(nullptr));
  CallbackDispatcher::PurgeHolder(kItemCameraRecord, events_.get());
  CallbackDispatcher::PurgeType(kItemCameraRecordState);
  recordings_.clear();
}

int CameraRecordEngineImpl::StartRecord(const char* failure, const record_engine::RecordConfig& config, napi_env env,
                                        napi_value callback) {
  return Call(failure, [&](record_engine::CameraRecordEngineInterface* engine) {
    auto recording = std::make_shared<CameraRecordCallbackImpl>(env, callback);
    const int r = engine->startRecord(config, recording.get());
    // The engine may call an earlier recording's callback until it is gone.
    if (r == 0) recordings_.push_back(std::move(recording));
    return r;
  });
}

int CameraRecordEngineImpl::StartPreview(const char* failure, const record_engine::CameraPreviewConfig& config,
                                         napi_env env, napi_value callback) {
  return Call(failure, [&](record_engine::CameraRecordEngineInterface* engine) {
    const int r = engine->startPreview(config);
    if (r == 0) VideoFrameCallback::Release(events_->SetPreview(VideoFrameCallback::CreateDirectRenderer(env, callback)));
    return r;
  });
}

int CameraRecordEngineImpl::StopPreview(const char* failure) {
  return Call(failure, [&](record_engine::CameraRecordEngineInterface* engine) {
    const int r = engine->stopPreview();
    VideoFrameCallback::Release(events_->SetPreview(nullptr));
    return r;
  });
}

}  // namespace lumen_addon
