#ifndef KORIN_REPLAY_REPLAY_ENGINE_H_
#define KORIN_REPLAY_REPLAY_ENGINE_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "engine_export.h"

namespace korin {
namespace replay {

// The recorded class room to enter.
struct RoomInfo {
  std::string host;
  int64_t room_id = 0;
  std::string signature;
  std::string business_id;
  bool is_admin = false;
  bool is_slim = false;
  bool live = false;            // the class is still going on
  int64_t time_to_play_ms = 0;  // where play begins
  bool force_flush_meta_info = false;
};

// A stream of the room.
struct BizInfo {
  int32_t biz_type = 0;
  int64_t user_id = 0;
  int32_t group_id = 0;

  bool operator<(const BizInfo& o) const {
    return std::tie(biz_type, user_id, group_id) < std::tie(o.biz_type, o.user_id, o.group_id);
  }
  bool operator==(const BizInfo& o) const {
    return biz_type == o.biz_type && user_id == o.user_id && group_id == o.group_id;
  }
};

// A piece of the room's data at its play time. The bytes are the engine's
// and valid only during the call that hands the chunk over.
struct Chunk {
  int64_t npt = 0;
  const uint8_t* data = nullptr;
  size_t size = 0;
};
using ChunkList = std::vector<Chunk>;

struct ReplayError {
  int32_t error_code = 0;
  int32_t sub_code = 0;
};

// ReplayState::state
enum ReplayStateCode : int32_t {
  kReplayIdle = 0,       // created, no room entered
  kReplayEntering = 1,   // entered, meta not resolved yet
  kReplayPaused = 2,
  kReplayPlaying = 3,
  kReplayCompleted = 4,  // played to the end
  kReplayFailed = 5,     // see error
};

struct ReplayState {
  int64_t room_id = 0;
  bool live = false;
  int64_t time_to_play_ms = 0;
  int32_t state = kReplayIdle;
  bool seeking = false;
  bool buffering = false;
  float play_rate = 1.0f;
  int64_t position_ms = 0;
  int64_t duration_ms = 0;
  std::vector<BizInfo> video_streams;  // of the recording
  std::vector<BizInfo> audio_streams;
  ReplayError error;
};

struct ActionStatus {
  int32_t action_type = 0;
  int64_t duration_ms = 0;
  std::string extra_data;
};

// One decoded I420 frame of a stream. The planes are the engine's and valid
// only during OnFrame; rows may be shorter than their strides.
struct VideoFrame {
  int width = 0;
  int height = 0;
  int64_t npt_ms = 0;  // the play position the frame shows
  int64_t timestamp_us = 0;
  const uint8_t* data_y = nullptr;
  const uint8_t* data_u = nullptr;
  const uint8_t* data_v = nullptr;
  int stride_y = 0;
  int stride_u = 0;
  int stride_v = 0;
};

// Receives a stream's frames on an engine thread, from VideoStartReceive
// until the stream's VideoStopReceive, a VideoStartReceive that replaces it,
// or Destroy has returned. The engine does not own it.
class ENGINE_API VideoSink {
 public:
  VideoSink();
  VideoSink(const VideoSink&) = delete;
  VideoSink& operator=(const VideoSink&) = delete;
  virtual ~VideoSink();
  virtual void OnFrame(const VideoFrame& frame) = 0;
};

// What a received audio stream's speakers do, called like a VideoSink.
class ENGINE_API ActionStatusCallback {
 public:
  ActionStatusCallback();
  ActionStatusCallback(const ActionStatusCallback&) = delete;
  ActionStatusCallback& operator=(const ActionStatusCallback&) = delete;
  virtual ~ActionStatusCallback();
  virtual void OnActionStatus(const ActionStatus& status) = 0;
};

// Events of a replay room, called on engine threads until Destroy returns.
class ENGINE_API ReplayEngineCallback {
 public:
  ReplayEngineCallback();
  ReplayEngineCallback(const ReplayEngineCallback&) = delete;
  ReplayEngineCallback& operator=(const ReplayEngineCallback&) = delete;
  virtual ~ReplayEngineCallback();
  virtual void OnMetaResolved() = 0;
  virtual void OnError(int32_t error_code, int32_t sub_code) = 0;
  // The room's state where play begins.
  virtual void OnSnapshot(const ChunkList& chunks) = 0;
  virtual void OnUserData(const ChunkList& chunks) = 0;
  virtual void OnRadioMessage(const ChunkList& chunks) = 0;
  virtual void OnBufferStarted() = 0;
  virtual void OnBufferEnded() = 0;
  virtual void OnCompleted() = 0;
};

class ENGINE_API ReplayEngine {
 public:
  // Completions run on an engine thread. A completion owns what it needs:
  // the engine gives no promise to call it exactly once, nor to stop
  // calling it when Destroy returns.
  using SeekCompletion = std::function<void()>;
  using FetchCompletion = std::function<void(const ChunkList& chunks)>;

  // Null when no engine can be made. The callback may be null and must
  // outlive the engine.
  static ReplayEngine* Create(ReplayEngineCallback* callback);
  // Not from the engine's own threads.
  static void Destroy(ReplayEngine* engine);
  virtual ~ReplayEngine();

  virtual int EnterRoom(const RoomInfo& info) = 0;
  virtual int Play() = 0;
  virtual int Pause() = 0;
  virtual int SeekTo(int64_t position_ms, SeekCompletion completion) = 0;
  virtual int VideoStartReceive(const BizInfo& stream, VideoSink* sink) = 0;
  virtual int VideoStopReceive(const BizInfo& stream) = 0;
  // A null callback receives the audio without its action statuses.
  virtual int AudioStartReceive(const BizInfo& stream, ActionStatusCallback* callback) = 0;
  virtual int AudioStopReceive(const BizInfo& stream) = 0;
  virtual int SetPlayRate(float rate) = 0;
  virtual int SetMute(bool mute) = 0;
  virtual ReplayState GetState() = 0;
  // The chunks with start_npt <= npt < end_npt, in play order.
  virtual int FetchUserData(int64_t start_npt, int64_t end_npt, FetchCompletion completion) = 0;
  virtual int FetchRadioData(int64_t start_npt, int64_t end_npt, FetchCompletion completion) = 0;
  // 0 (silent) to 100.
  virtual int32_t GetSpeechOutputLevel(const BizInfo& stream) = 0;
};

}  // namespace replay
}  // namespace korin

#endif  // KORIN_REPLAY_REPLAY_ENGINE_H_
