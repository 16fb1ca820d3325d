// What the control module drives in the simulated recorders: the clock they
// record by, how fast their own work runs, and what their segment files
// hold. A segment file maps each position of a recording to the time (on the
// recorder's clock, from the start of the recording) at which that frame was
// captured, so that a picture of the recording can show when it was taken.
#ifndef LIVE_ENGINE_SIM_RECORDING_H_
#define LIVE_ENGINE_SIM_RECORDING_H_

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine_export.h"

namespace sim {

// The recorders' clock in milliseconds. It follows the steady clock unless
// manual, when it moves only by AdvanceRecordingClock.
ENGINE_API int64_t RecordingClockMs();
ENGINE_API void SetRecordingClockManual(bool manual);
ENGINE_API void AdvanceRecordingClock(int64_t ms);

// How the engines' own work is paced (milliseconds; -1 holds it until its
// firer is fired by name).
struct RecordingTiming {
  int export_step_ms = -1;        // between an export's progress reports
  int thumbnail_interval_ms = 0;  // between a request's thumbnails
  int picture_delay_ms = 0;       // from TakePicture to its result
};
ENGINE_API void SetRecordingTiming(const RecordingTiming& timing);
ENGINE_API RecordingTiming GetRecordingTiming();

// Recorded time spans, in milliseconds from the start of the recording.
struct Span {
  int64_t start_ms = 0;
  int64_t end_ms = 0;
};

// One recording as its file holds it: frame size and rate, and the spans
// of the recorder's clock it covers, in order (a pause leaves a gap).
struct ENGINE_API Segment {
  int width = 0;
  int height = 0;
  int fps = 0;
  std::vector<Span> spans;

  int64_t DurationMs() const;
  // The recorded time of the frame shown at `position_ms` (clamped into the
  // recording); -1 for an empty one.
  int64_t RecordedTimeAt(int64_t position_ms) const;
};
// Writes only at an absolute path (a relative one fails).
ENGINE_API bool WriteSegment(const std::string& path, const Segment& segment);
ENGINE_API bool ReadSegment(const std::string& path, Segment* segment);

// A thumbnail: 4-byte pixels (B, G, R, A) in rows of `stride` bytes, wider
// than width * 4 (the padding holds 0xEE). It shows the recorded time as
// digits on a background whose colour changes with the second, and carries it
// machine-readably in its first pixel: B + G * 256 + R * 65536 milliseconds.
struct Picture {
  int width = 0;
  int height = 0;
  int stride = 0;
  std::vector<uint8_t> pixels;
};
ENGINE_API int ThumbnailStride(int width);
ENGINE_API Picture DrawRecordedTime(int width, int height, int64_t recorded_ms);
ENGINE_API int64_t ReadRecordedTime(const uint8_t* first_pixel);

// The picture every TakePicture answers (before mirroring): Pattern(width,
// height, kPictureSeed).
constexpr int64_t kPictureSeed = 0x5eed;

// Surfaces that surface sinks were made for, with the frames drawn on each.
ENGINE_API std::map<std::string, uint64_t> SurfaceFrames();

}  // namespace sim

#endif  // LIVE_ENGINE_SIM_RECORDING_H_
