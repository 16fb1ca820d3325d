#include "engine/screen_record_params.h"

#include <cstdio>

#include "callback/screen_record_engine_callback.h"
#include "common/convert.h"
#include "common/logging.h"
#include "common/record_reader.h"

namespace lumen_addon {

namespace {

constexpr char kTag[] = "ScreenRecordEngineImpl";

using record_engine::RecordParams;
const record::Field<RecordParams> kClassicFields[] = {
    LUMEN_FIELD("cropTopOffset", RecordParams, crop_top_offset, kInt32),
    LUMEN_FIELD("cropLeftOffset", RecordParams, crop_left_offset, kInt32),
    LUMEN_FIELD("cropWidth", RecordParams, crop_width, kInt32),
    LUMEN_FIELD("cropHeight", RecordParams, crop_height, kInt32),
    LUMEN_FIELD("targetWidth", RecordParams, target_width, kInt32),
    LUMEN_FIELD("targetHeight", RecordParams, target_height, kInt32),
    LUMEN_FIELD("windId", RecordParams, wind_id, kInt64),
    LUMEN_FIELD("rootDir", RecordParams, root_dir, kString),
    LUMEN_FIELD("videoFps", RecordParams, video_fps, kInt32),
    LUMEN_FIELD("videoBitrate", RecordParams, video_bitrate, kInt32),
    LUMEN_FIELD("videoGopSize", RecordParams, video_gop_size, kInt32),
    LUMEN_FIELD("enableAec", RecordParams, enable_aec, kBool),
    LUMEN_FIELD("enableAudioMix", RecordParams, enable_audio_mix, kBool),
    LUMEN_FIELD("audioSampleRate", RecordParams, audio_sample_rate, kInt32),
    LUMEN_FIELD("audioChannels", RecordParams, audio_channels, kInt32),
    LUMEN_FIELD("audioBitrate", RecordParams, audio_bitrate, kInt32),
    LUMEN_FIELD("videoEncodeLevel", RecordParams, video_encode_level, kString),
    LUMEN_FIELD("captureSourceType", RecordParams, capture_source_type, kInt32),
    LUMEN_FIELD("captureSourceTitle", RecordParams, capture_source_title, kString),
    LUMEN_FIELD("needCaptureMouse", RecordParams, need_capture_mouse, kBool),
    LUMEN_FIELD("captureApiType", RecordParams, capture_api_type, kInt32),
    LUMEN_FIELD("excludeWindList", RecordParams, exclude_wind_list, kNumbers),
};

using korin::FrameValidDetectorConfig;
const record::Field<FrameValidDetectorConfig> kClassicDetectorFields[] = {
    LUMEN_FIELD("enableDetect", FrameValidDetectorConfig, enable_detect, kBool),
    LUMEN_FIELD("alwaysDetect", FrameValidDetectorConfig, always_detect, kBool),
    LUMEN_FIELD("validDetectCnt", FrameValidDetectorConfig, valid_detect_cnt, kInt32),
    LUMEN_FIELD("accuracy", FrameValidDetectorConfig, accuracy, kInt32),
    LUMEN_FIELD("detectIntervalMs", FrameValidDetectorConfig, detect_interval_ms, kInt32),
};
const record::Field<FrameValidDetectorConfig> kDetectorFields[] = {
    LUMEN_FIELD("enableDetect", FrameValidDetectorConfig, enable_detect, kBool),
    LUMEN_FIELD("accuracy", FrameValidDetectorConfig, accuracy, kInt32),
    LUMEN_FIELD("detectIntervalMs", FrameValidDetectorConfig, detect_interval_ms, kInt32),
};

using korin::RecordEngineConfig;
const record::Field<RecordEngineConfig> kEngineFields[] = {
    LUMEN_FIELD("rootDir", RecordEngineConfig, root_path, kString),
    LUMEN_FIELD("enableAec", RecordEngineConfig, enable_audio_aec, kBool),
    LUMEN_FIELD("enableAudioMix", RecordEngineConfig, enable_audio_mix, kBool),
    LUMEN_FIELD("audioDeviceNeedStartPlayout", RecordEngineConfig, audio_device_need_start_playout, kBool),
    LUMEN_FIELD("pauseWithSegment", RecordEngineConfig, pause_with_segment, kBool),
};
const record::Field<RecordEngineConfig> kEngineTailFields[] = {
    LUMEN_FIELD("audioCaptureAlwaysOn", RecordEngineConfig, audio_capture_always_on, kBool),
};

using korin::ScreenCaptureConfig;
const record::Field<ScreenCaptureConfig> kCaptureFields[] = {
    LUMEN_FIELD("targetWidth", ScreenCaptureConfig, width, kInt32),
    LUMEN_FIELD("targetHeight", ScreenCaptureConfig, height, kInt32),
    LUMEN_FIELD("videoFps", ScreenCaptureConfig, frame_rate, kNumber),
    LUMEN_FIELD("needCaptureMouse", ScreenCaptureConfig, capture_cursor, kBool),
    LUMEN_FIELD("captureSourceType", ScreenCaptureConfig, capture_type, kInt32),
    LUMEN_FIELD("captureApiType", ScreenCaptureConfig, api_type, kInt32),
    LUMEN_FIELD("windId", ScreenCaptureConfig, window_or_screen_id, kInt64),
    LUMEN_FIELD("captureSourceTitle", ScreenCaptureConfig, source_title, kString),
    LUMEN_FIELD("excludeWindList", ScreenCaptureConfig, exclude_window_list, kNumbers),
    LUMEN_FIELD("cropLeftOffset", ScreenCaptureConfig, crop_left_offset, kInt32),
    LUMEN_FIELD("cropTopOffset", ScreenCaptureConfig, crop_top_offset, kInt32),
    LUMEN_FIELD("cropWidth", ScreenCaptureConfig, crop_width, kInt32),
    LUMEN_FIELD("cropHeight", ScreenCaptureConfig, crop_height, kInt32),
    LUMEN_FIELD("updateWhenDirty", ScreenCaptureConfig, update_when_dirty, kBool),
};

using korin::MediaRecordConfig;
const record::Field<MediaRecordConfig> kMediaFields[] = {
    LUMEN_FIELD("targetWidth", MediaRecordConfig, video_enc_width, kInt32),
    LUMEN_FIELD("targetHeight", MediaRecordConfig, video_enc_height, kInt32),
    LUMEN_FIELD("videoFps", MediaRecordConfig, video_enc_fps, kInt32),
    LUMEN_FIELD("videoBitrate", MediaRecordConfig, video_enc_bitrate, kInt32),
    LUMEN_FIELD("videoGopSize", MediaRecordConfig, video_gop_size, kInt32),
    LUMEN_FIELD("audioBitrate", MediaRecordConfig, audio_enc_bitrate, kInt32),
    LUMEN_FIELD("audioSampleRate", MediaRecordConfig, audio_sample_rate, kInt32),
    LUMEN_FIELD("videoEncodeLevel", MediaRecordConfig, video_encode_level, kString),
};

// frameDetectorCfg, when present: its fields and its result callback.
template <std::size_t N>
void ReadDetector(const Napi::Object& params, const record::Field<FrameValidDetectorConfig> (&fields)[N],
                  FrameValidDetectorConfig& detector) {
  if (!js::Has(params, "frameDetectorCfg")) return;
  const Napi::Value cfg = js::Get(params, "frameDetectorCfg");
  record::Read(cfg, fields, detector, record::kPresentOnly);
  const Napi::Object o = js::ToObject(cfg);
  if (!js::Has(o, "callbackWithResult")) return;
  const Napi::Value target = js::Get(o, "callbackWithResult");
  if (!target.IsEmpty() && target.IsObject()) detector.result_callback = FrameDetectorForwarder(params.Env(), target);
}

RecordEngineConfig ToNewEngineConfig(const Napi::Object& params, bool agc_when_pause) {
  RecordEngineConfig c;
  c.root_path.clear();
  c.audio_device_enable_builtin_aec = false;
  c.audio_device_need_start_playout = true;
  c.enable_audio_aec = true;
  c.audio_capture_always_on = true;
  c.record_audio_mode = -1;
  c.insert_picture_path_when_close_camera.clear();
  c.frame_detector = FrameValidDetectorConfig();
  c.enable_agc_when_pause = agc_when_pause;
  record::Read(params, kEngineFields, c, record::kPresentOnly);
  ReadDetector(params, kDetectorFields, c.frame_detector);
  record::Read(params, kEngineTailFields, c, record::kPresentOnly);
  LUMEN_LOG(kInfo, kTag) << "ScreenRecordEngineImpl::ObjectToNewEngineConfig success :"
                         << "root_path:" << c.root_path << " audio_device_enable_builtin_aec:"
                         << c.audio_device_enable_builtin_aec << " audio_device_need_start_playout:"
                         << c.audio_device_need_start_playout << " pause_with_segment:" << c.pause_with_segment
                         << " auto_adjust_encode_size_with_capture_size:" << c.auto_adjust_encode_size_with_capture_size
                         << " audio_capture_always_on:" << c.audio_capture_always_on << " record_mode:" << c.record_mode
                         << " enable_audio_mix:" << c.enable_audio_mix << " record_audio_mode:" << c.record_audio_mode
                         << " enable_audio_aec:" << c.enable_audio_aec << " enable_agc_when_pause:"
                         << c.enable_agc_when_pause << " enable_v5_render:" << c.enable_v5_render
                         << " enable_insert_picture_when_close_camera:" << c.enable_insert_picture_when_close_camera
                         << " insert_picture_path_when_close_camera:" << c.insert_picture_path_when_close_camera
                         << DetectorText(c.frame_detector);
  return c;
}

ScreenCaptureConfig ToCaptureConfig(const Napi::Object& params) {
  ScreenCaptureConfig c;
  record::Read(params, kCaptureFields, c, record::kPresentOnly);
  char fps[32];
  std::snprintf(fps, sizeof fps, "%f", static_cast<double>(c.frame_rate));
  LUMEN_LOG(kInfo, kTag) << "ScreenRecordEngineImpl::ObjectToCaptureConfig success :"
                         << "width:" << c.width << " height:" << c.height << " frame_rate:" << fps
                         << " capture_cursor:" << c.capture_cursor << " capture_type:" << c.capture_type
                         << " api_type:" << c.api_type << " window_or_screen_id:" << c.window_or_screen_id
                         << " crop_left_offset:" << c.crop_left_offset << " crop_top_offset:" << c.crop_top_offset
                         << " crop_width:" << c.crop_width << " crop_height:" << c.crop_height
                         << " update_when_dirty:" << c.update_when_dirty << " min_fps:" << c.min_fps
                         << " exclude_window_list_size:" << c.exclude_window_list.size()
                         << " enable_gpu_pipeline:" << c.enable_gpu_pipeline;
  return c;
}

MediaRecordConfig ToMediaRecordConfig(const Napi::Object& params) {
  MediaRecordConfig c;
  c.file_output_path.clear();
  c.video_enc_width = 1280;
  c.video_enc_height = 720;
  c.video_enc_fps = 30;
  c.video_enc_bitrate = 1000000;
  c.video_gop_size = 30;
  c.video_gop_size_in_ms = -1;
  c.video_encode_level = "fast";
  c.audio_enc_bitrate = 64000;
  c.audio_sample_rate = 16000;
  c.audio_channel_num = 1;
  c.enable_surface_encoder = false;
  record::Read(params, kMediaFields, c, record::kPresentOnly);
  LUMEN_LOG(kInfo, kTag) << "ScreenRecordEngineImpl::ObjectToMediaRecordConfig success :"
                         << "file_output_path:" << c.file_output_path << " mux_format:" << c.mux_format
                         << " video_codec_type:" << c.video_codec_type << " audio_codec_type:" << c.audio_codec_type
                         << " mp4_disable_edts:" << c.mp4_disable_edts << " mp4_disable_fast_start:"
                         << c.mp4_disable_fast_start << " fill_silent_audio_packets:" << c.fill_silent_audio_packets
                         << " video_enc_width:" << c.video_enc_width << " video_enc_height:" << c.video_enc_height
                         << " video_enc_fps:" << c.video_enc_fps << " video_enc_bitrate:" << c.video_enc_bitrate
                         << " video_gop_size:" << c.video_gop_size << " video_gop_size_in_ms:"
                         << c.video_gop_size_in_ms << " video_encode_level:" << c.video_encode_level
                         << " audio_enc_bitrate:" << c.audio_enc_bitrate << " audio_sample_rate:"
                         << c.audio_sample_rate << " audio_channel_num:" << c.audio_channel_num
                         << " audio_sample_format:" << c.audio_sample_format << " enable_surface_encoder:"
                         << c.enable_surface_encoder;
  return c;
}

}  // namespace

std::string DetectorText(const FrameValidDetectorConfig& d) {
  return "enable_detect:" + std::to_string(d.enable_detect) + ",always_detect:" + std::to_string(d.always_detect) +
         ",valid_detect_cnt:" + std::to_string(d.valid_detect_cnt) + ", accuracy:" + std::to_string(d.accuracy) +
         ", detect_interval_ms:" + std::to_string(d.detect_interval_ms);
}

ScreenRecordParams ReadScreenRecordParams(const Napi::Value& value, bool screen_recorder, bool agc_when_pause) {
  ScreenRecordParams p;
  const Napi::Object params = js::ToObject(value);
  if (screen_recorder) {
    p.engine = ToNewEngineConfig(params, agc_when_pause);
    p.capture = ToCaptureConfig(params);
    p.media = ToMediaRecordConfig(params);
  } else {
    record::Read(params, kClassicFields, p.classic, record::kPresentOnly);
    ReadDetector(params, kClassicDetectorFields, p.classic.frame_detector);
  }
  return p;
}

}  // namespace lumen_addon
