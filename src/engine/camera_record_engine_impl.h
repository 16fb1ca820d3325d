// The camera recorder behind cameraRecordEngine_*: preview into a renderer
// of its own (a direct renderer, never registered), and one
// recording at a time. Used on the JavaScript thread only; preview frames
// and events cross through the callback adapter.
#ifndef LUMEN_ENGINE_CAMERA_RECORD_ENGINE_IMPL_H_
#define LUMEN_ENGINE_CAMERA_RECORD_ENGINE_IMPL_H_

#include <napi.h>

#include <memory>
#include <string>
#include <vector>

#include "common/logging.h"
#include "engine/camera_record_engine_callback.h"
#include "record_engine/camera_record_engine.h"

namespace lumen_addon {

class CameraRecordEngineImpl {
 public:
  static constexpr char kTag[] = "CameraRecordEngineImpl";

  // Creates the engine and registers the callback object's adapter with it.
  CameraRecordEngineImpl(napi_env env, napi_value callback, const record_engine::CameraRecordEngineConfig& config);
  ~CameraRecordEngineImpl();
  CameraRecordEngineImpl(const CameraRecordEngineImpl&) = delete;
  CameraRecordEngineImpl& operator=(const CameraRecordEngineImpl&) = delete;

  bool has_engine() const { return engine_ != nullptr; }

  // Runs `op` with the engine, or logs `failure` and answers -1 without one.
  template <typename Op>
  int Call(const char* failure, Op&& op) {
    if (!engine_) {
      LUMEN_LOG(kError, kTag) << failure;
      return -1;
    }
    return op(engine_);
  }

  int StartRecord(const char* failure, const record_engine::RecordConfig& config, napi_env env, napi_value callback);
  int StartPreview(const char* failure, const record_engine::CameraPreviewConfig& config, napi_env env,
                   napi_value callback);
  int StopPreview(const char* failure);

  // Deletes the engine, then lets go of the preview and of what the engine
  // was handed; the recorder's queued events go, the device modules' stay.
  void Shutdown();

 private:
  const std::shared_ptr<CameraRecordEngineCallbackImpl> events_;
  record_engine::CameraRecordEngineInterface* engine_ = nullptr;
  // Each recording's callback, kept until the engine is gone.
  std::vector<std::shared_ptr<CameraRecordCallbackImpl>> recordings_;
};

}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_CAMERA_RECORD_ENGINE_IMPL_H_
