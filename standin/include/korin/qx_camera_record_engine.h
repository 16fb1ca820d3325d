#ifndef KORIN_QX_CAMERA_RECORD_ENGINE_H_
#define KORIN_QX_CAMERA_RECORD_ENGINE_H_

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine_export.h"
#include "korin/qx_video_sink.h"
#include "korin/record_engine_config.h"

namespace korin {

struct QXCameraConfig {
  std::string camera_device_id;
  int32_t preview_width = 0;
  int32_t preview_height = 0;
  int32_t preview_fps = 0;
  // Where preview frames go; none: the preview is not shown.
  QXVideoSink* sink = nullptr;
};

struct QXRecordConfig {
  // Empty: a file of the engine's choice under the root path.
  std::string file_out_path;
  int32_t enc_width = 0;
  int32_t enc_height = 0;
  int32_t enc_fps = 0;
  int32_t enc_video_bitrate = 0;
  int32_t enc_video_gop_size = 0;
  int32_t enc_audio_bitrate = 0;
};

struct QXPictureConfig {
  // 0: the preview's size.
  int32_t pic_width = 0;
  int32_t pic_height = 0;
  int32_t need_mirror = 0;
};

// A camera; position 0 faces the user.
struct QXCameraDeviceInfo {
  int32_t position = 0;
  int32_t type = 0;
  std::string guid;
  std::string name;
};

// A picture taken; `data` lives until OnTakePictureResult returns.
struct QXPicture {
  int32_t width = 0;
  int32_t height = 0;
  int32_t error_code = 0;
  int32_t type = 0;
  const uint8_t* data = nullptr;
  size_t size = 0;
};

class ENGINE_API QXCameraRecordEngineCallback {
 public:
  virtual ~QXCameraRecordEngineCallback();
  virtual void OnCameraStarted() = 0;
  virtual void OnCameraSwitched(const QXCameraDeviceInfo& device) = 0;
  virtual void OnCameraStopped() = 0;
  virtual void OnSegmentDeleted() = 0;
  virtual void OnMergeProgress(int progress) = 0;
  virtual void OnRecordStarted() = 0;
  virtual void OnRecordStopped(const std::string& path) = 0;
  virtual void OnRecordPaused() = 0;
  virtual void OnRecordResumed() = 0;
  virtual void OnError(int level, int code, const std::string& message) = 0;
};

class ENGINE_API QXTakePictureCallback {
 public:
  virtual ~QXTakePictureCallback();
  virtual void OnTakePictureResult(const QXPicture& picture) = 0;
};

// The newer camera recorder: a preview into a sink, segmented recording.
class ENGINE_API QXCameraRecordEngineInterface {
 public:
  static QXCameraRecordEngineInterface* CreateCameraRecordEngine(const RecordEngineConfig& config);
  static void DestroyCameraRecordEngine(QXCameraRecordEngineInterface* engine);
  virtual ~QXCameraRecordEngineInterface();

  // Camera operations.
  virtual int StartCamera(const QXCameraConfig& config) = 0;
  virtual int StopCamera() = 0;
  virtual int SwitchCamera(bool is_front) = 0;
  // The picture callback is called once, unless the call fails.
  virtual int TakePicture(const QXPictureConfig& config, QXTakePictureCallback* callback) = 0;

  // Record operations.
  virtual int InitRecord() = 0;
  virtual int UnInitRecord() = 0;
  virtual int StartRecord(const QXRecordConfig& config) = 0;
  virtual int StopRecord(bool save) = 0;
  virtual int PauseRecord() = 0;
  virtual int ResumeRecord() = 0;
  virtual int DeleteLastSegment() = 0;
  virtual int DeleteAllSegment() = 0;
  virtual int64_t GetTotalDurationMs() = 0;
  // The engine stops calling a callback once the call that replaced it returned.
  virtual int SetCallback(QXCameraRecordEngineCallback* callback) = 0;
};

}  // namespace korin

#endif  // KORIN_QX_CAMERA_RECORD_ENGINE_H_
