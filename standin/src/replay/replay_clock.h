// The clock of the simulated replay rooms: real time, or manual time that
// only the control module moves. Continuous across switches.
#ifndef LIVE_ENGINE_REPLAY_REPLAY_CLOCK_H_
#define LIVE_ENGINE_REPLAY_REPLAY_CLOCK_H_

namespace room_replay {

// Milliseconds.
double Now();
bool Manual();
// Manual time only: moves it on and answers the new time (unchanged in real time).
double Advance(double ms);

}  // namespace room_replay

#endif  // LIVE_ENGINE_REPLAY_REPLAY_CLOCK_H_
