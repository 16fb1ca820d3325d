#ifndef RECORD_ENGINE_CAMERA_RECORD_ENGINE_H_
#define RECORD_ENGINE_CAMERA_RECORD_ENGINE_H_

#include <cstdint>
#include <string>

#include "engine_export.h"
#include "korin/video_frame.h"

namespace record_engine {

struct CameraRecordEngineConfig {
  int32_t record_mode = 0;
  // In the system code page.
  std::string place_holder_image_path;
};

struct CameraPreviewConfig {
  std::string camera_guid;
  int32_t preview_width = 640;
  int32_t preview_height = 480;
  int32_t preview_fps = 15;
  int32_t scale_mode = 0;
};

struct RecordConfig {
  // In the system code page.
  std::string output_dir;
  int32_t record_width = 640;
  int32_t record_height = 480;
  int32_t scale_mode = 0;
  int32_t video_bitrate = 800000;
  int32_t audio_bitrate = 64000;
};

// The recorder's own events, registered once; preview frames arrive here
// while the preview runs.
class ENGINE_API CameraRecordEngineCallback {
 public:
  virtual ~CameraRecordEngineCallback();
  virtual void OnPreviewFrame(const korin::QXVideoFrame& frame) = 0;
  virtual void OnPreviewStarted() = 0;
  virtual void OnPreviewStopped() = 0;
  virtual void OnCameraError(int code, const std::string& message) = 0;
  virtual void OnRecordProgress(int64_t duration_ms) = 0;
};

// The events of one recording, given with its start.
class ENGINE_API CameraRecordCallback {
 public:
  virtual ~CameraRecordCallback();
  virtual void OnRecordStarted() = 0;
  // The recording's file; empty when it was not kept.
  virtual void OnRecordStopped(const std::string& path) = 0;
  virtual void OnRecordError(int code, const std::string& message) = 0;
};

class ENGINE_API CameraRecordEngineInterface {
 public:
  static CameraRecordEngineInterface* createNewCameraRecordEngine(const CameraRecordEngineConfig& config);
  static void releaseCameraRecordEngine(CameraRecordEngineInterface* engine);
  virtual ~CameraRecordEngineInterface();

  virtual int init(const std::string& engine_params, const std::string& sdk_version) = 0;
  // The engine stops calling a callback once the call that replaced it returned.
  virtual int registerCallback(CameraRecordEngineCallback* callback) = 0;
  virtual int startPreview(const CameraPreviewConfig& config) = 0;
  virtual int stopPreview() = 0;
  // `callback` hears this recording's events until the next start.
  virtual int startRecord(const RecordConfig& config, CameraRecordCallback* callback) = 0;
  virtual int stopRecord(bool need_save) = 0;
};

}  // namespace record_engine

#endif  // RECORD_ENGINE_CAMERA_RECORD_ENGINE_H_
