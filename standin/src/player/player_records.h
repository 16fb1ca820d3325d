// JSON forms of the player core's records for the journal.
#ifndef LIVE_ENGINE_SIM_PLAYER_RECORDS_H_
#define LIVE_ENGINE_SIM_PLAYER_RECORDS_H_

#include <set>
#include <string>
#include <vector>

#include "korin/qx_player_core.h"
#include "korin/qx_player_downloader.h"
#include "sim/sim.h"

#define SIM_F(f) #f, v.f

namespace korin {

// Host groups as JSON text (a pre-built value for JsonObject).
struct HostGroupsJson {
  std::string text;
};
inline std::string ToJson(const HostGroupsJson& v) { return v.text; }
inline HostGroupsJson HostGroups(const std::vector<std::set<std::string>>& v) {
  std::string out = "[";
  for (size_t i = 0; i < v.size(); ++i)
    out += (i ? "," : "") + sim::ToJson(std::vector<std::string>(v[i].begin(), v[i].end()));
  return {out + "]"};
}

inline std::string ToJson(const QXPlayerCoreDataSource& v) {
  return sim::JsonObject(SIM_F(source_id), SIM_F(url), SIM_F(cache_dir), SIM_F(url_prefixes), "equivalent_hosts",
                         HostGroups(v.equivalent_hosts), SIM_F(clip_start_ms), SIM_F(clip_end_ms),
                         SIM_F(preset_media_mine), SIM_F(io_scheme), SIM_F(cache), SIM_F(is_live),
                         SIM_F(start_at_position_ms), SIM_F(hls_start_segment_index), SIM_F(hls_preset_start_time_ms),
                         SIM_F(key_server), SIM_F(http_proxy_server));
}

inline std::string ToJson(const QXPlayerCoreOptions& v) {
  return sim::JsonObject(
      SIM_F(disable_video), SIM_F(disable_audio), SIM_F(mute), SIM_F(blind), SIM_F(play_rate), SIM_F(looping),
      SIM_F(left_volume), SIM_F(right_volume), SIM_F(start_on_prepared), SIM_F(accurate_seek),
      SIM_F(hardware_decode_avc), SIM_F(ready_to_play_buffer_ms), SIM_F(buffer_size_bytes),
      SIM_F(buffering_end_threshold_ms), SIM_F(master_clock_type), SIM_F(show_info), SIM_F(show_hud_info),
      SIM_F(lazy_load), SIM_F(segment_auto_play), SIM_F(step_on_prepared), SIM_F(seek_after_complete_auto_start),
      SIM_F(audio_send_out), SIM_F(video_send_out), "biz_type", v.biz_info.biz_type, "biz_user_id",
      v.biz_info.user_id, "biz_group_id", v.biz_info.group_id, SIM_F(use_prepared), SIM_F(enable_fade_in),
      SIM_F(pause_at_end_of_segment), SIM_F(use_h265_first));
}

inline std::string ToJson(const QXPlayerCoreVideoPoint& v) {
  return sim::JsonObject(SIM_F(segment_index), SIM_F(pos), SIM_F(auto_pause), SIM_F(use_video));
}

inline std::string ToJson(const QXPlayerCoreDownloadRequest& v) {
  return sim::JsonObject(SIM_F(source_id), SIM_F(url), SIM_F(url_prefixes), SIM_F(position), SIM_F(length),
                         SIM_F(enable_evicted), SIM_F(prefer_width), SIM_F(prefer_height), SIM_F(prefer_h265),
                         SIM_F(key_server));
}

inline std::string ToJson(const QXPlayerCoreDownloaderV2Config& v) {
  return sim::JsonObject(SIM_F(max_parallel_downloads), SIM_F(user_id));
}

}  // namespace korin

#undef SIM_F

#endif  // LIVE_ENGINE_SIM_PLAYER_RECORDS_H_
