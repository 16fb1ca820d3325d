#ifndef KORIN_RECORD_ENGINE_CONFIG_H_
#define KORIN_RECORD_ENGINE_CONFIG_H_

#include <cstdint>
#include <string>

#include "korin/frame_valid_detector.h"

namespace korin {

// How a screen or camera recorder of the newer kind records.
struct RecordEngineConfig {
  std::string root_path;
  bool audio_device_enable_builtin_aec = false;
  bool audio_device_need_start_playout = false;
  bool pause_with_segment = false;
  bool auto_adjust_encode_size_with_capture_size = false;
  bool audio_capture_always_on = false;
  int32_t record_mode = 0;
  bool enable_audio_mix = false;
  int32_t record_audio_mode = 0;
  bool enable_audio_aec = false;
  bool enable_agc_when_pause = false;
  bool enable_v5_render = false;
  bool enable_insert_picture_when_close_camera = false;
  std::string insert_picture_path_when_close_camera;
  FrameValidDetectorConfig frame_detector;
};

}  // namespace korin

#endif  // KORIN_RECORD_ENGINE_CONFIG_H_
