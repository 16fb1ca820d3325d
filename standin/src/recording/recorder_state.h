// Shared by the simulated recorders: the timeline of one recording on the
// recorders' clock, the segment file it leaves, and the firing of the
// recorders' own events on engine threads.
#ifndef LIVE_ENGINE_RECORDING_RECORDER_STATE_H_
#define LIVE_ENGINE_RECORDING_RECORDER_STATE_H_

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "sim/recording.h"
#include "sim/sim.h"

namespace recording {

// A key that names one engine object among the held firers. Unlike its
// address it is never reused, so an event still on its way when the object
// is deleted finds nothing to fire, whatever is made in its place.
const void* NewOwnerKey();

// Fires `name` of `owner` on an engine thread soon, as an engine reports
// the outcome of a call after it returned.
void FireSoon(const void* owner, const std::string& name, sim::Args args = sim::Args());

// The number of the next object or request of a kind, from 1 (reset with
// the simulation).
int NextNumber(const char* kind);

// One recording: idle, recording or paused; spans of the recorders' clock
// measured from its start.
class Timeline {
 public:
  enum State { kIdle, kRecording, kPaused };

  // JavaScript thread and engine threads alike.
  bool Start();
  bool Pause();
  bool Resume();
  // The recording as its file holds it; the timeline is idle afterwards.
  bool Stop(sim::Segment* recorded);
  // Drops the last span (the segment since the last resume); false when none.
  bool DeleteLast();
  void DeleteAll();
  int64_t DurationMs();
  State state();
  void SetFormat(int width, int height, int fps);

 private:
  sim::Segment SnapshotLocked(int64_t now) const;

  std::mutex mu_;
  State state_ = kIdle;
  int64_t origin_ms_ = 0;
  int64_t open_since_ms_ = 0;
  sim::Segment segment_;
};

// Where a recording's file goes: `<root>/<kind>-<n>.seg`, or "" without a root.
std::string SegmentPath(const std::string& root, const char* kind);
// Writes the file; the path, or "" when nothing was kept or it failed.
std::string Keep(const std::string& path, const sim::Segment& segment, bool save);

// A recorder's recording and the events that report its calls' outcome,
// fired as "<events>.<Method>" of the recorder's owner key. Each takes the
// engine call's scripted result and answers the call's.
class Recording {
 public:
  // `kind` names its files; `first_frame`: a start also reports OnFirstFrameReady.
  Recording(std::string events, const char* kind, bool first_frame)
      : events_(std::move(events)), kind_(kind), first_frame_(first_frame) {}
  const void* owner() const { return owner_; }

  // `holding` runs once the start is sure to succeed, before its report: the
  // engine takes what the start was handed only then.
  int Started(int r, int width, int height, int fps, const std::function<void()>& holding = nullptr);
  int Paused(int r);
  int Resumed(int r);
  // The file is `file`, or one of the recorder's kind under `root`.
  int Stopped(int r, const std::string& root, const std::string& file, bool save);
  int SegmentDeleted(int r);
  void DeleteAll() { timeline_.DeleteAll(); }
  // The recording's length, unless `op` is scripted.
  int64_t DurationMs(const std::string& op);
  // Reports `method` soon; answers 0.
  int Report(const char* method, sim::Args args = sim::Args());

 private:
  const std::string events_;
  const char* const kind_;
  const bool first_frame_;
  const void* const owner_ = NewOwnerKey();
  Timeline timeline_;
};

}  // namespace recording

#endif  // LIVE_ENGINE_RECORDING_RECORDER_STATE_H_
