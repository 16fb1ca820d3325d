// JSON forms of the engine's records for the journal. They live in the
// records' own namespaces so that sim::ArgsJson finds them by ADL.
#ifndef LIVE_ENGINE_SIM_RECORDS_H_
#define LIVE_ENGINE_SIM_RECORDS_H_

#include <string>

#include "korin/frame_valid_detector.h"
#include "korin/sdk_services.h"
#include "lumen/live_client.h"
#include "sim/sim.h"
#include "tavel/biz_info.h"
#include "tavel/live_engine.h"
#include "tavel/live_play_engine.h"

#define SIM_F(f) #f, v.f

namespace tavel {

inline std::string ToJson(const BizInfo& v) {
  return sim::JsonObject(SIM_F(biz_type), SIM_F(user_id), SIM_F(group_id), SIM_F(collect));
}

inline std::string ToJson(const VideoTrackInfo& v) {
  return sim::JsonObject(SIM_F(type), SIM_F(group_id), SIM_F(user_id), SIM_F(ssrc), SIM_F(ssrc_fec),
                         SIM_F(ssrc_nack), SIM_F(collect));
}

inline std::string ToJson(const AudioTrackInfo& v) {
  return sim::JsonObject(SIM_F(type), SIM_F(group_id), SIM_F(user_id), SIM_F(ssrc), SIM_F(reserved),
                         SIM_F(collect));
}

inline std::string ToJson(const LiveRoomConfig& v) {
  return sim::JsonObject(SIM_F(room_id), SIM_F(user_id), SIM_F(user_type), SIM_F(app_type), SIM_F(app_version),
                         SIM_F(sdk_version), SIM_F(engine_parameters), SIM_F(signature), SIM_F(network_type),
                         SIM_F(scheduler_host));
}

inline std::string ToJson(const LocalEngineConfig& v) {
  return sim::JsonObject(SIM_F(user_id), SIM_F(text), SIM_F(sdk_version), SIM_F(app_version), SIM_F(app_type));
}

inline std::string ToJson(const ReplayOpenConfig& v) {
  return sim::JsonObject(SIM_F(media_path), SIM_F(sdk_version), SIM_F(start_position_ms), SIM_F(loop));
}

inline std::string ToJson(const HandActionCheckConfig& v) {
  return sim::JsonObject(SIM_F(model_path), SIM_F(resize_size), SIM_F(threshold), SIM_F(delay_frames),
                         SIM_F(delay_threshold));
}

inline std::string ToJson(const ScreenShareConfig& v) {
  return sim::JsonObject(SIM_F(capture_type), SIM_F(capture_api_type), SIM_F(source_id), SIM_F(exclude_window_list),
                         SIM_F(callback));
}

inline std::string ToJson(const FaceInfo& v) {
  return sim::JsonObject(SIM_F(face_id), SIM_F(action), SIM_F(left_eye_pos_x), SIM_F(left_eye_pos_y),
                         SIM_F(right_eye_pos_x), SIM_F(right_eye_pos_y), SIM_F(mouth_pos_x), SIM_F(mouth_pos_y),
                         SIM_F(eyes_pos_x), SIM_F(eyes_pos_y), SIM_F(nose_pos_x), SIM_F(nose_pos_y),
                         SIM_F(eye_distance), SIM_F(yaw), SIM_F(pitch), SIM_F(roll));
}

inline std::string ToJson(const CameraVideoRecordConfig& v) {
  return sim::JsonObject(SIM_F(root_path_dir), SIM_F(video_bitrate_kbps));
}

inline std::string ToJson(const BeautyConfig& v) { return sim::JsonObject(SIM_F(resource_path)); }

inline std::string ToJson(const BeautyParam& v) {
  return sim::JsonObject(SIM_F(cheek_degree), SIM_F(eye_degree), SIM_F(smooth_degree), SIM_F(whiten_degree));
}

}  // namespace tavel

namespace korin {

inline std::string ToJson(const FrameValidDetectorConfig& v) {
  return sim::JsonObject(SIM_F(enable_detect), SIM_F(always_detect), SIM_F(valid_detect_cnt), SIM_F(accuracy),
                         SIM_F(detect_interval_ms), "callback", static_cast<bool>(v.callback));
}

}  // namespace korin

namespace lumen {

inline std::string ToJson(const LiveClientConfig& v) {
  return sim::JsonObject(SIM_F(http_executor), SIM_F(cache_provider), SIM_F(enable_quic), SIM_F(enable_ipv6),
                         SIM_F(enable_debug));
}

inline std::string ToJson(const CommandClientConfig& v) {
  return sim::JsonObject(SIM_F(room_id), SIM_F(user_id), SIM_F(team_id), SIM_F(disable_radio), SIM_F(user_type),
                         SIM_F(app_type), SIM_F(app_version), SIM_F(sdk_version), SIM_F(client_type),
                         SIM_F(signature), SIM_F(persistent_cookie), SIM_F(session_cookie), SIM_F(scheduler_host),
                         SIM_F(features), SIM_F(auth_extension));
}

inline std::string ToJson(const UserRecord& v) {
  return sim::JsonObject(SIM_F(user_type), SIM_F(room_id), SIM_F(network_type), SIM_F(app_version), SIM_F(app_type),
                         SIM_F(sdk_version), SIM_F(product_id), SIM_F(scheduler_host));
}

}  // namespace lumen

namespace korin {
namespace transport_v2 {

inline std::string ToJson(const NetworkProberContext& v) {
  return sim::JsonObject(SIM_F(app_version), SIM_F(sdk_version), SIM_F(scheduler_host), SIM_F(app_type),
                         SIM_F(user_type), SIM_F(http_executor), SIM_F(cache_provider), SIM_F(is_connected),
                         SIM_F(rtt), SIM_F(loss_rate));
}

}  // namespace transport_v2
}  // namespace korin

#undef SIM_F

#endif  // LIVE_ENGINE_SIM_RECORDS_H_
