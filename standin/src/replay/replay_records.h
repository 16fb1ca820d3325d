// JSON forms of the room replay's records for the journal, with the C++
// field names.
#ifndef LIVE_ENGINE_REPLAY_REPLAY_RECORDS_H_
#define LIVE_ENGINE_REPLAY_REPLAY_RECORDS_H_

#include <string>

#include "korin/replay/replay_downloader.h"
#include "korin/replay/replay_engine.h"
#include "sim/sim.h"

#define SIM_F(f) #f, v.f

namespace korin {
namespace replay {

inline std::string ToJson(const RoomInfo& v) {
  return sim::JsonObject(SIM_F(host), SIM_F(room_id), SIM_F(signature), SIM_F(business_id), SIM_F(is_admin),
                         SIM_F(is_slim), SIM_F(live), SIM_F(time_to_play_ms), SIM_F(force_flush_meta_info));
}

inline std::string ToJson(const BizInfo& v) { return sim::JsonObject(SIM_F(biz_type), SIM_F(user_id), SIM_F(group_id)); }

inline std::string ToJson(const DownloadRoomInfo& v) {
  return sim::JsonObject(SIM_F(room_id), SIM_F(business_id), SIM_F(is_slim), SIM_F(is_admin));
}

inline std::string ToJson(const DownloadSpan& v) { return sim::JsonObject(SIM_F(start_npt), SIM_F(end_npt)); }

inline std::string ToJson(const DownloadRequest& v) {
  return sim::JsonObject(SIM_F(host), "room_info", sim::RawText{ToJson(v.room_info)}, SIM_F(signature),
                         SIM_F(enable_evicted), "spans", sim::RawText{sim::ToJson(v.spans)}, SIM_F(start_npt),
                         SIM_F(end_npt));
}

inline std::string ToJson(const DownloaderConfig& v) {
  return sim::JsonObject(SIM_F(max_parallel_downloads), SIM_F(user_id));
}

}  // namespace replay
}  // namespace korin

#undef SIM_F

#endif  // LIVE_ENGINE_REPLAY_REPLAY_RECORDS_H_
