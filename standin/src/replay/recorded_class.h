// The recorded class every simulated replay room plays: a teacher and a
// student stream, user data, radio messages and action statuses at fixed
// play times, and a picture that shows the play position.
#ifndef LIVE_ENGINE_REPLAY_RECORDED_CLASS_H_
#define LIVE_ENGINE_REPLAY_RECORDED_CLASS_H_

#include <cstdint>
#include <vector>

#include "korin/replay/replay_engine.h"
#include "sim/replay.h"

namespace room_replay {

// Every item of a kind sits at offset + k * period.
struct Cadence {
  int64_t offset_ms;
  int64_t period_ms;
};
constexpr Cadence kUserData{500, 1000};
constexpr Cadence kRadio{2000, 5000};
constexpr Cadence kStatuses[sim::kReplayRoles] = {{1000, 3000}, {2500, 6000}};

// Play times of the items in from <= npt < to, within the class.
std::vector<int64_t> Times(Cadence c, int64_t from, int64_t to, int64_t duration_ms);

struct StatusAt {
  int64_t npt;
  korin::replay::ActionStatus status;
};
std::vector<StatusAt> ActionStatuses(int role, int64_t from, int64_t to, int64_t duration_ms);

// What a received, playing, unmuted stream's speech level is at a position.
int32_t SpeechLevel(int role, int64_t position_ms);

// A frame's planes in engine memory, strides wider than rows.
class FrameBuffer {
 public:
  korin::replay::VideoFrame Draw(int role, int width, int height, int64_t position_ms, int64_t duration_ms,
                                 uint32_t frame);

 private:
  std::vector<uint8_t> y_, u_, v_;
};

}  // namespace room_replay

#endif  // LIVE_ENGINE_REPLAY_RECORDED_CLASS_H_
