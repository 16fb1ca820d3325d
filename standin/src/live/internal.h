// Shared by the simulated live-class components.
#ifndef LIVE_ENGINE_LIVE_INTERNAL_H_
#define LIVE_ENGINE_LIVE_INTERNAL_H_

#include <functional>
#include <string>

#include "korin/sdk_services.h"
#include "lumen/live_client.h"
#include "tavel/live_engine.h"
#include "tavel/live_play_engine.h"
#include "tavel/video_sink.h"

namespace live {

// Callbacks the add-on registers, held as "<Interface>.<Method>" firers.
void HoldLivePlayCallback(const void* owner, tavel::LivePlayEngineCallback* cb);
void HoldMicCallback(const void* owner, tavel::MicrophoneRecordingCallback* cb);
// scope: "local", "ssrc:<ssrc>" or "biz:<bizType>:<userId>:<groupId>:<collect>".
void HoldVadCallback(const void* owner, const std::string& scope, tavel::VadCallback* cb);
void HoldDeviceEventCallback(const void* owner, tavel::DeviceEventCallback* cb);
void HoldLocalEngineCallback(const void* owner, tavel::LocalEngineCallback* cb);
void HoldStreamingCallback(const void* owner, tavel::StreamingEngineCallback* cb);
void HoldReplayCallback(const void* owner, tavel::ReplayEngineCallback* cb);
void HoldCommandCallback(const void* owner, lumen::CommandClientCallback* cb);
void HoldTallyHandler(const void* owner, korin::TallyHandler* handler);
void HoldCacheProvider(const void* owner, lumen::CacheProvider* provider);
void HoldHttpExecutor(const void* owner, lumen::HttpExecutor* executor);
// Issues the room's scheduler look-up through the live client's executor.
void LookUpScheduler(const void* live_client, const lumen::CommandClientConfig& config);

void HoldHandActionCallback(const void* owner, tavel::HandActionCallback* cb);
void HoldCollectCallback(const void* owner, tavel::CollectLiveDataCallback* cb);
void HoldScreenShareCallback(const void* owner, tavel::ScreenShareCallback* cb);
void HoldDetectorCallback(const void* owner, korin::FrameValidDetectorCallback* cb);
void HoldRecordCallback(const void* owner, tavel::CameraVideoRecordCallback* cb);

std::string VadScope(int32_t ssrc);
std::string VadScope(const tavel::BizInfo& info);

// Video sinks.
std::string RemoteSink(int user_id, int type);
std::string LocalSink(int type);
std::string SuperviseSink(int user_id, int type);
extern const char kCameraSink[];
void HoldSink(const void* owner, const std::string& name, tavel::VideoSinkInterface* sink);
// The same for a sink of another interface: `deliver` gets each frame.
using FrameTarget = std::function<void(const korin::QXVideoFrame& frame)>;
void HoldFrameSink(const void* owner, const std::string& name, FrameTarget deliver);
void ReleaseSink(const void* owner, const std::string& name);

// The microphone recording of `owner` (its callback is held already).
void MicRegistered(const void* owner);
// Stopped by the engine: a recording that had started hears OnAudioRecordingStop.
void MicStopped(const void* owner);
// The owner is going away: no more calls, no stop.
void MicDropped(const void* owner);
void FillRecordingInfo(tavel::RecordingMicrophoneInfo* info);

void CountObject(const char* kind, int delta);

// The live device engine of a root (standin/src/device).
tavel::LiveDeviceEngine* NewLiveDevice(const void* owner);

}  // namespace live

#endif  // LIVE_ENGINE_LIVE_INTERNAL_H_
