#ifndef KORIN_QX_SCREEN_RECORD_ENGINE_H_
#define KORIN_QX_SCREEN_RECORD_ENGINE_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine_export.h"
#include "korin/record_engine_config.h"

namespace korin {

// What the screen recorder captures.
struct ScreenCaptureConfig {
  int32_t width = 0;
  int32_t height = 0;
  float frame_rate = 0;
  bool capture_cursor = false;
  int32_t capture_type = 0;
  int32_t api_type = 0;
  int64_t window_or_screen_id = 0;
  std::string source_title;
  std::vector<int64_t> exclude_window_list;
  int32_t crop_left_offset = 0;
  int32_t crop_top_offset = 0;
  int32_t crop_width = 0;
  int32_t crop_height = 0;
  bool update_when_dirty = false;
  int32_t min_fps = 0;
  bool enable_gpu_pipeline = false;
};

// How the captured picture and sound are encoded.
struct MediaRecordConfig {
  std::string file_output_path;
  int32_t mux_format = 0;
  int32_t video_codec_type = 0;
  int32_t audio_codec_type = 0;
  bool mp4_disable_edts = false;
  bool mp4_disable_fast_start = false;
  bool fill_silent_audio_packets = false;
  int32_t video_enc_width = 0;
  int32_t video_enc_height = 0;
  int32_t video_enc_fps = 0;
  int32_t video_enc_bitrate = 0;
  int32_t video_gop_size = 0;
  int32_t video_gop_size_in_ms = 0;
  std::string video_encode_level;
  int32_t audio_enc_bitrate = 0;
  int32_t audio_sample_rate = 0;
  int32_t audio_channel_num = 0;
  int32_t audio_sample_format = 0;
  bool enable_surface_encoder = false;
};

// Events of the screen recorder, on engine threads.
class ENGINE_API QXScreenRecordEngineCallback {
 public:
  virtual ~QXScreenRecordEngineCallback();
  virtual void OnRecordStarted() = 0;
  virtual void OnRecordPaused() = 0;
  virtual void OnRecordResumed() = 0;
  virtual void OnRecordStopped(const std::string& path) = 0;
  virtual void OnError(int level, int code, const std::string& message) = 0;
  virtual void OnScreenCaptureApiChanged(int api_type) = 0;
  virtual void OnSegmentDeleted() = 0;
  virtual void OnMergeProgress(int progress) = 0;
  virtual void OnFirstFrameReady() = 0;
};

// The newer screen recorder: one per recording, made from its engine
// record, then initialised, capturing, recording. A pause ends a segment.
class ENGINE_API QXScreenRecordEngineInterface {
 public:
  static QXScreenRecordEngineInterface* CreateScreenRecordEngine(const RecordEngineConfig& config);
  static void DestroyScreenRecordEngine(QXScreenRecordEngineInterface* engine);
  virtual ~QXScreenRecordEngineInterface();

  // The engine stops calling a callback once the call that replaced it returned.
  virtual void SetCallback(QXScreenRecordEngineCallback* callback) = 0;
  virtual int InitRecord() = 0;
  virtual int StartCapture(const ScreenCaptureConfig& config) = 0;
  virtual int StartRecord(const MediaRecordConfig& config) = 0;
  virtual int PauseRecord() = 0;
  virtual int ResumeRecord() = 0;
  virtual int StopRecord(bool save) = 0;
  virtual int DeleteLastSegment() = 0;
  virtual int64_t GetRecordDurationMs() = 0;
  virtual int InputAudioData(const uint8_t* data, size_t size) = 0;
};

}  // namespace korin

#endif  // KORIN_QX_SCREEN_RECORD_ENGINE_H_
