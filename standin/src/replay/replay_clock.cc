#include "replay/replay_clock.h"

#include <algorithm>
#include <chrono>
#include <mutex>

#include "sim/replay.h"
#include "sim/sim.h"

namespace room_replay {
namespace {

struct Clock {
  std::mutex mu;
  bool manual = false;
  double offset = 0;  // real time: steady clock + offset
  double frozen = 0;  // manual time
};

Clock& K() {
  static auto* k = new Clock;
  return *k;
}

double Steady() {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double NowLocked(const Clock& k) { return k.manual ? k.frozen : Steady() + k.offset; }

}  // namespace

double Now() {
  std::lock_guard<std::mutex> lock(K().mu);
  return NowLocked(K());
}

bool Manual() {
  std::lock_guard<std::mutex> lock(K().mu);
  return K().manual;
}

double Advance(double ms) {
  std::lock_guard<std::mutex> lock(K().mu);
  if (K().manual) K().frozen += std::max(0.0, ms);
  return NowLocked(K());
}

}  // namespace room_replay

namespace sim {

void SetReplayClockManual(bool manual) {
  room_replay::Clock& k = room_replay::K();
  std::lock_guard<std::mutex> lock(k.mu);
  if (manual == k.manual) return;
  if (manual)
    k.frozen = room_replay::Steady() + k.offset;
  else
    k.offset = k.frozen - room_replay::Steady();
  k.manual = manual;
}

bool ReplayClockManual() { return room_replay::Manual(); }
double ReplayClockNow() { return room_replay::Now(); }

namespace {
const bool kResetHook = (OnReset([] { SetReplayClockManual(false); }), true);
}  // namespace

}  // namespace sim
