// Controls of the simulated recorders (docs/sim-recording.md).
#ifndef LIVE_ENGINE_CONTROL_RECORDING_CONTROL_H_
#define LIVE_ENGINE_CONTROL_RECORDING_CONTROL_H_

#include <napi.h>

namespace recording_control {

// recordingClock({ manual }?): switches the clock when given; answers its ms.
Napi::Value RecordingClock(const Napi::CallbackInfo& info);
// advanceRecordingClock(ms): moves a manual clock on; answers its ms.
Napi::Value AdvanceRecordingClock(const Napi::CallbackInfo& info);
// setRecordingTiming({ exportStepMs, thumbnailIntervalMs, pictureDelayMs }):
// merges the keys given; answers the whole timing.
Napi::Value SetRecordingTiming(const Napi::CallbackInfo& info);
// readSegment(path): { width, height, fps, spans: [{ startMs, endMs }],
// durationMs }, or null when the file is not a segment file.
Napi::Value ReadSegment(const Napi::CallbackInfo& info);
// writeSegment(path, { width, height, fps, spans }): true once written.
Napi::Value WriteSegment(const Napi::CallbackInfo& info);
// recordedTimeAt({ fps, spans }, positionMs): the recorded time shown there.
Napi::Value RecordedTimeAt(const Napi::CallbackInfo& info);
// drawRecordedTime(width, height, ms): { width, height, stride, buffer }.
Napi::Value DrawRecordedTime(const Napi::CallbackInfo& info);
// readRecordedTime(bytes, offset = 0): the ms a thumbnail's first pixel carries.
Napi::Value ReadRecordedTime(const Napi::CallbackInfo& info);
// thumbnailStride(width): the bytes between a thumbnail's rows.
Napi::Value ThumbnailStride(const Napi::CallbackInfo& info);
// surfaces(): { surfaceId: frames drawn } of every surface sink made.
Napi::Value Surfaces(const Napi::CallbackInfo& info);
// cameraPicture(width, height, mirror): the bytes a taken picture carries.
Napi::Value CameraPicture(const Napi::CallbackInfo& info);
// thumbnailsOf(path, { width, height, durationMs, seekMs }): a thumbnail tool
// run on the file: [{ timestampUs, width, height, stride, buffer }] in the
// order made, or the code of the call that failed.
Napi::Value ThumbnailsOf(const Napi::CallbackInfo& info);

}  // namespace recording_control

#endif  // LIVE_ENGINE_CONTROL_RECORDING_CONTROL_H_
