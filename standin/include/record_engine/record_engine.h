#ifndef RECORD_ENGINE_RECORD_ENGINE_H_
#define RECORD_ENGINE_RECORD_ENGINE_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine_export.h"
#include "korin/frame_valid_detector.h"

namespace record_engine {

// A window or a screen that can be captured.
struct Source {
  int64_t id = 0;
  std::string title;
  int32_t width = 0;
  int32_t height = 0;
};

struct WindowStatus {
  int32_t pos_x = 0;
  int32_t pos_y = 0;
  int32_t width = 0;
  int32_t height = 0;
  bool minimized = false;
  bool on_screen = false;
  double scaling_factor = 1;
  bool unfound = false;
};

enum CaptureSourceType : int32_t { kCaptureScreen = 0, kCaptureWindow = 1 };

// What the classic screen recorder records, and how.
struct RecordParams {
  int32_t crop_top_offset = 0;
  int32_t crop_left_offset = 0;
  int32_t crop_width = 0;
  int32_t crop_height = 0;
  int32_t target_width = 0;
  int32_t target_height = 0;
  int64_t wind_id = 0;
  std::string root_dir;
  int32_t video_fps = 0;
  int32_t video_bitrate = 0;
  int32_t video_gop_size = 0;
  bool enable_aec = false;
  bool enable_audio_mix = false;
  int32_t audio_sample_rate = 0;
  int32_t audio_channels = 0;
  int32_t audio_bitrate = 0;
  std::string video_encode_level;
  int32_t capture_source_type = kCaptureScreen;
  std::string capture_source_title;
  bool need_capture_mouse = false;
  int32_t capture_api_type = 0;
  std::vector<int64_t> exclude_wind_list;
  korin::FrameValidDetectorConfig frame_detector;
};

// Events of a screen recorder, on engine threads.
class ENGINE_API RecordEngineCallback {
 public:
  virtual ~RecordEngineCallback();
  virtual void OnRecordStarted() = 0;
  virtual void OnRecordPaused() = 0;
  virtual void OnRecordResumed() = 0;
  // The recording's file; empty when nothing was kept.
  virtual void OnRecordStopped(const std::string& path) = 0;
  virtual void OnError(int level, int code, const std::string& message) = 0;
  virtual void OnScreenCaptureApiChanged(int api_type) = 0;
  virtual void OnSegmentDeleted() = 0;
  virtual void OnMergeProgress(int progress) = 0;
  virtual void OnFirstFrameReady() = 0;
};

// The classic screen recorder. Audio comes from the host (InputAudioData).
class ENGINE_API RecordEngineInterface {
 public:
  static RecordEngineInterface* createNewRecordEngine();
  static void destroyRecordEngine(RecordEngineInterface* engine);
  static std::vector<Source> GetWindowsList();
  static std::vector<Source> GetScreenList();
  static WindowStatus GetWindowStatus(int64_t id);
  // The capture interfaces that serve a source type.
  static std::vector<int32_t> GetSupportedCapApiList(CaptureSourceType type);
  virtual ~RecordEngineInterface();

  // The engine stops calling a callback once the call that replaced it returned.
  virtual int setCallback(RecordEngineCallback* callback) = 0;
  virtual int startRecord(const RecordParams& params) = 0;
  virtual int pauseRecord() = 0;
  virtual int resumeRecord() = 0;
  // `save`: keep what was recorded.
  virtual int stopRecord(bool save) = 0;
  virtual int inputAudioData(const uint8_t* data, size_t size) = 0;
  virtual int64_t getRecordDurationMs() = 0;
};

}  // namespace record_engine

#endif  // RECORD_ENGINE_RECORD_ENGINE_H_
