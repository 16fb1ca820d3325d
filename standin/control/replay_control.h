// Controls of the simulated room replay (docs/sim-room-replay.md).
#ifndef LIVE_ENGINE_CONTROL_REPLAY_CONTROL_H_
#define LIVE_ENGINE_CONTROL_REPLAY_CONTROL_H_

#include <napi.h>

namespace replay_control {

// Rows whose records come back as JSON text (sim/index.js parses them).
// setReplayClass(partial) and setReplayCompletions(partial) merge and answer the whole.
Napi::Value SetReplayClass(const Napi::CallbackInfo& info);
Napi::Value SetReplayCompletions(const Napi::CallbackInfo& info);
// setReplayClock(manual) answers the clock's time; advanceReplayClock(ms) too.
Napi::Value SetReplayClock(const Napi::CallbackInfo& info);
Napi::Value AdvanceReplayClock(const Napi::CallbackInfo& info);
Napi::Value ReplayRooms(const Napi::CallbackInfo& info);
Napi::Value ReplayDownloaders(const Napi::CallbackInfo& info);
// replayChunks(kind, start, end, durationMs, roomId): [{ npt, data }].
Napi::Value ReplayChunks(const Napi::CallbackInfo& info);
// replayPicture(role, width, height, positionMs, durationMs, frame): packed
// I420; replayPictureAbgr(...): the same converted.
Napi::Value ReplayPicture(const Napi::CallbackInfo& info);
Napi::Value ReplayPictureAbgr(const Napi::CallbackInfo& info);
// sourceFlag(key): what the engine reads for the key.
Napi::Value SourceFlag(const Napi::CallbackInfo& info);

// Probes: clients of the engine's public replay API that record what they
// are handed (replay_probe.cc).
Napi::Value ProbeReplay(const Napi::CallbackInfo& info);
Napi::Value ProbeDownloader(const Napi::CallbackInfo& info);
Napi::Value ProbeEvents(const Napi::CallbackInfo& info);
Napi::Value ProbeFrames(const Napi::CallbackInfo& info);
// Destroys every probe's engine object (reset).
void DropProbes();

}  // namespace replay_control

#endif  // LIVE_ENGINE_CONTROL_REPLAY_CONTROL_H_
