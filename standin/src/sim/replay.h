// What the control module drives in the simulated room replay: the recorded
// class every room plays, its clock, how completions arrive, and views of
// the rooms and downloaders alive (docs/sim-room-replay.md).
#ifndef LIVE_ENGINE_SIM_REPLAY_H_
#define LIVE_ENGINE_SIM_REPLAY_H_

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine_export.h"
#include "korin/replay/replay_downloader.h"
#include "korin/replay/replay_engine.h"
#include "sim/sim.h"

namespace sim {

// The recorded class, read by each room when it enters.
struct ReplayClass {
  int64_t duration_ms = 60000;
  int fps = 15;            // frames a second to each video sink while playing
  int buffer_ms = 100;     // a seek buffers this long (room clock)
  int enter_delay_ms = 20; // meta and snapshot come this long after EnterRoom
  int teacher_width = 640, teacher_height = 360;
  int student_width = 320, student_height = 180;
};
ENGINE_API void SetReplayClass(const ReplayClass& c);
ENGINE_API ReplayClass GetReplayClass();

// The recorded streams; anything else gets no frames, statuses or level.
enum ReplayRole { kReplayTeacher = 0, kReplayStudent = 1, kReplayRoles = 2 };
ENGINE_API korin::replay::BizInfo ReplayStream(int role);
ENGINE_API int ReplayRoleOf(const korin::replay::BizInfo& stream);  // -1: not recorded

// How seek and fetch completions arrive: after delay_ms (room clock),
// `times` times; or, with hold, as firers fired by the control module,
// which outlive their room with after_leave.
struct ReplayCompletions {
  bool hold = false;
  int delay_ms = 20;
  int times = 1;
  bool after_leave = false;
};
ENGINE_API void SetReplayCompletions(const ReplayCompletions& c);
ENGINE_API ReplayCompletions GetReplayCompletions();

// The rooms' clock, in milliseconds: real time, or manual time that moves
// only by AdvanceReplayClock, which returns once every room has stepped to
// the new time and delivered what that step produced.
ENGINE_API void SetReplayClockManual(bool manual);
ENGINE_API bool ReplayClockManual();
ENGINE_API double ReplayClockNow();
ENGINE_API double AdvanceReplayClock(double ms);

// The class's data. kind: "user", "radio" (start <= npt < end, within the
// class) or "snapshot" (the two chunks of a room entered at `start`).
struct ReplayChunkBytes {
  int64_t npt;
  Bytes data;
};
ENGINE_API std::vector<ReplayChunkBytes> ReplayTimeline(const std::string& kind, int64_t start, int64_t end,
                                                        int64_t duration_ms, int64_t room_id);

// A stream's picture at a position: I420 planes written with the strides given.
ENGINE_API void ReplayPicture(int role, int width, int height, int64_t position_ms, int64_t duration_ms,
                              uint32_t frame, uint8_t* y, int stride_y, uint8_t* u, int stride_u, uint8_t* v,
                              int stride_v);

struct ReplayRoomView {
  int64_t id = 0;  // the n of "replayRoom:<n>."
  korin::replay::ReplayState state;
  bool mute = false;
  std::vector<std::pair<korin::replay::BizInfo, uint32_t>> video;  // sinks held, frames drawn to each
  std::vector<std::pair<korin::replay::BizInfo, bool>> audio;      // streams received, with a callback
  int pending_completions = 0;  // timed completions not yet called
  int held_completions = 0;     // firers of this room's completions
};
ENGINE_API std::vector<ReplayRoomView> ReplayRooms();

struct ReplayDownloaderView {
  int64_t id = 0;  // the n of "replayDownloader:<n>."
  bool initialized = false;
  korin::replay::DownloaderConfig config;
  bool paused_all = false;
  std::vector<korin::replay::DownloadStatus> downloads;
  int status_queries = 0;  // waiting for an answer
  int size_queries = 0;
  int64_t temporary_cache_size = 0;
};
ENGINE_API std::vector<ReplayDownloaderView> ReplayDownloaders();

}  // namespace sim

#endif  // LIVE_ENGINE_SIM_REPLAY_H_
