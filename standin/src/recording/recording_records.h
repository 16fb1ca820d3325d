// JSON forms of the recorders' records for the journal, in the records' own
// namespaces so that sim::ArgsJson finds them by ADL.
#ifndef LIVE_ENGINE_RECORDING_RECORDING_RECORDS_H_
#define LIVE_ENGINE_RECORDING_RECORDING_RECORDS_H_

#include <string>

#include "korin/qx_camera_record_engine.h"
#include "korin/qx_screen_record_engine.h"
#include "korin/qx_surface_render_sink.h"
#include "korin/qx_video_thumbnail_tools.h"
#include "korin/record_engine_config.h"
#include "record_engine/camera_record_engine.h"
#include "record_engine/record_engine.h"
#include "sim/records.h"
#include "sim/sim.h"

#define SIM_F(f) #f, v.f

namespace korin {

inline std::string DetectorJson(const FrameValidDetectorConfig& v) {
  return sim::JsonObject(SIM_F(enable_detect), SIM_F(always_detect), SIM_F(valid_detect_cnt), SIM_F(accuracy),
                         SIM_F(detect_interval_ms), "result_callback", static_cast<bool>(v.result_callback));
}

inline std::string ToJson(const RecordEngineConfig& v) {
  return sim::JsonObject(SIM_F(root_path), SIM_F(audio_device_enable_builtin_aec), SIM_F(audio_device_need_start_playout),
                         SIM_F(pause_with_segment), SIM_F(auto_adjust_encode_size_with_capture_size),
                         SIM_F(audio_capture_always_on), SIM_F(record_mode), SIM_F(enable_audio_mix),
                         SIM_F(record_audio_mode), SIM_F(enable_audio_aec), SIM_F(enable_agc_when_pause),
                         SIM_F(enable_v5_render), SIM_F(enable_insert_picture_when_close_camera),
                         SIM_F(insert_picture_path_when_close_camera), "frame_detector",
                         sim::RawText{DetectorJson(v.frame_detector)});
}

inline std::string ToJson(const ScreenCaptureConfig& v) {
  return sim::JsonObject(SIM_F(width), SIM_F(height), SIM_F(frame_rate), SIM_F(capture_cursor), SIM_F(capture_type),
                         SIM_F(api_type), SIM_F(window_or_screen_id), SIM_F(source_title), SIM_F(exclude_window_list),
                         SIM_F(crop_left_offset), SIM_F(crop_top_offset), SIM_F(crop_width), SIM_F(crop_height),
                         SIM_F(update_when_dirty), SIM_F(min_fps), SIM_F(enable_gpu_pipeline));
}

inline std::string ToJson(const MediaRecordConfig& v) {
  return sim::JsonObject(SIM_F(file_output_path), SIM_F(mux_format), SIM_F(video_codec_type), SIM_F(audio_codec_type),
                         SIM_F(mp4_disable_edts), SIM_F(mp4_disable_fast_start), SIM_F(fill_silent_audio_packets),
                         SIM_F(video_enc_width), SIM_F(video_enc_height), SIM_F(video_enc_fps), SIM_F(video_enc_bitrate),
                         SIM_F(video_gop_size), SIM_F(video_gop_size_in_ms), SIM_F(video_encode_level),
                         SIM_F(audio_enc_bitrate), SIM_F(audio_sample_rate), SIM_F(audio_channel_num),
                         SIM_F(audio_sample_format), SIM_F(enable_surface_encoder));
}

inline std::string ToJson(const QXCameraConfig& v) {
  return sim::JsonObject(SIM_F(camera_device_id), SIM_F(preview_width), SIM_F(preview_height), SIM_F(preview_fps),
                         "sink", static_cast<const void*>(v.sink));
}

inline std::string ToJson(const QXRecordConfig& v) {
  return sim::JsonObject(SIM_F(file_out_path), SIM_F(enc_width), SIM_F(enc_height), SIM_F(enc_fps),
                         SIM_F(enc_video_bitrate), SIM_F(enc_video_gop_size), SIM_F(enc_audio_bitrate));
}

inline std::string ToJson(const QXPictureConfig& v) {
  return sim::JsonObject(SIM_F(pic_width), SIM_F(pic_height), SIM_F(need_mirror));
}

inline std::string ToJson(const QXVideoThumbnailConfig& v) {
  return sim::JsonObject(SIM_F(width), SIM_F(height), SIM_F(duration_ms));
}

inline std::string ToJson(const SurfaceRenderConfig& v) { return sim::JsonObject(SIM_F(surface_id)); }

}  // namespace korin

namespace record_engine {

inline std::string ToJson(const RecordParams& v) {
  return sim::JsonObject(SIM_F(crop_top_offset), SIM_F(crop_left_offset), SIM_F(crop_width), SIM_F(crop_height),
                         SIM_F(target_width), SIM_F(target_height), SIM_F(wind_id), SIM_F(root_dir), SIM_F(video_fps),
                         SIM_F(video_bitrate), SIM_F(video_gop_size), SIM_F(enable_aec), SIM_F(enable_audio_mix),
                         SIM_F(audio_sample_rate), SIM_F(audio_channels), SIM_F(audio_bitrate),
                         SIM_F(video_encode_level), SIM_F(capture_source_type), SIM_F(capture_source_title),
                         SIM_F(need_capture_mouse), SIM_F(capture_api_type), SIM_F(exclude_wind_list),
                         "frame_detector", sim::RawText{korin::DetectorJson(v.frame_detector)});
}

inline std::string ToJson(const CameraRecordEngineConfig& v) {
  return sim::JsonObject(SIM_F(record_mode), SIM_F(place_holder_image_path));
}

inline std::string ToJson(const CameraPreviewConfig& v) {
  return sim::JsonObject(SIM_F(camera_guid), SIM_F(preview_width), SIM_F(preview_height), SIM_F(preview_fps),
                         SIM_F(scale_mode));
}

inline std::string ToJson(const RecordConfig& v) {
  return sim::JsonObject(SIM_F(output_dir), SIM_F(record_width), SIM_F(record_height), SIM_F(scale_mode),
                         SIM_F(video_bitrate), SIM_F(audio_bitrate));
}

}  // namespace record_engine

#undef SIM_F

#endif  // LIVE_ENGINE_RECORDING_RECORDING_RECORDS_H_
