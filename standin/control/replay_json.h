// The room replay's records as JSON text with the names JavaScript sees.
#ifndef LIVE_ENGINE_CONTROL_REPLAY_JSON_H_
#define LIVE_ENGINE_CONTROL_REPLAY_JSON_H_

#include <string>
#include <vector>

#include "korin/replay/replay_downloader.h"
#include "korin/replay/replay_engine.h"
#include "sim/sim.h"

namespace replay_control {

template <typename T, typename F>
sim::RawText JsonList(const std::vector<T>& items, F&& each) {
  std::string out = "[";
  for (size_t i = 0; i < items.size(); ++i) out += (i ? "," : "") + each(items[i]);
  return {out + "]"};
}

inline std::string BizJson(const korin::replay::BizInfo& b) {
  return sim::JsonObject("bizType", b.biz_type, "userId", b.user_id, "groupId", b.group_id);
}

inline std::string StateJson(const korin::replay::ReplayState& s) {
  return sim::JsonObject("roomId", s.room_id, "live", s.live, "timeToPlayMs", s.time_to_play_ms, "state", s.state,
                         "seeking", s.seeking, "buffering", s.buffering, "playRate", s.play_rate, "positionMs",
                         s.position_ms, "durationMs", s.duration_ms, "videoStreams", JsonList(s.video_streams, BizJson),
                         "audioStreams", JsonList(s.audio_streams, BizJson), "error",
                         sim::RawText{sim::JsonObject("errorCode", s.error.error_code, "subCode", s.error.sub_code)});
}

inline std::string DownloadRoomJson(const korin::replay::DownloadRoomInfo& r) {
  return sim::JsonObject("roomId", r.room_id, "businessId", r.business_id, "isSlim", r.is_slim, "isAdmin", r.is_admin);
}

inline std::string DownloadStatusJson(const korin::replay::DownloadStatus& d) {
  const korin::replay::DownloadRequest& r = d.request;
  const std::string request = sim::JsonObject(
      "host", r.host, "roomInfo", sim::RawText{DownloadRoomJson(r.room_info)}, "signature", r.signature,
      "enableEvicted", r.enable_evicted, "spans",
      JsonList(r.spans,
               [](const korin::replay::DownloadSpan& s) {
                 return sim::JsonObject("startNpt", s.start_npt, "endNpt", s.end_npt);
               }),
      "startNpt", r.start_npt, "endNpt", r.end_npt);
  return sim::JsonObject("request", sim::RawText{request}, "downloadSize", d.download_size, "totalSize",
                         d.total_size, "state", d.state, "error", d.error);
}

}  // namespace replay_control

#endif  // LIVE_ENGINE_CONTROL_REPLAY_JSON_H_
