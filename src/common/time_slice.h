// One wake-up of a queue that the JavaScript thread drains (the dispatcher,
// the HTTP executor): it runs what was queued when it began, and what is
// posted while it runs only until it has lasted kWakeupNs. Producers faster
// than the callbacks they feed would otherwise keep the JavaScript thread
// there for ever, its timers and I/O starved; the rest runs at the next
// wake-up.
#ifndef LUMEN_COMMON_TIME_SLICE_H_
#define LUMEN_COMMON_TIME_SLICE_H_

#include <uv.h>

#include <cstddef>
#include <cstdint>

namespace lumen_addon {

class TimeSlice {
 public:
  static constexpr uint64_t kWakeupNs = 50 * 1000 * 1000;

  // `queued`: the items waiting when the wake-up began.
  explicit TimeSlice(size_t queued) : queued_(queued), began_(uv_hrtime()) {}

  // After each item: true when the wake-up should end here.
  bool Spent() {
    if (queued_ > 0) --queued_;
    return queued_ == 0 && uv_hrtime() - began_ > kWakeupNs;
  }

 private:
  size_t queued_;
  uint64_t began_;
};

}  // namespace lumen_addon

#endif  // LUMEN_COMMON_TIME_SLICE_H_
