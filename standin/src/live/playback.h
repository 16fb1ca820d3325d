// The simulated playback interfaces of one engine root: the packet-fed replay
// engine, the media players, the streaming engine and the pushed-audio
// renderer. Every method journals its arguments and answers its scripted
// result; bytes are journalled as their length and FNV-1a checksum.
#ifndef LIVE_ENGINE_LIVE_PLAYBACK_H_
#define LIVE_ENGINE_LIVE_PLAYBACK_H_

#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "tavel/live_engine.h"

namespace live {

// Video packets the stand-in replays: a 20-byte header ("LRVF", user id u32,
// stream type i32, width u16, height u16, frame index u32, little endian),
// then width x height x 4 pixels, or nothing for the user's test pattern.
constexpr size_t kReplayFrameHeader = 20;
// A media player prepare of a local file that does not exist.
constexpr int kFileNotFound = -1004;

uint32_t Checksum(const uint8_t* data, size_t size);

class Replay : public tavel::ReplayEngine {
 public:
  // A standalone replay engine (owner null) owns its callbacks itself.
  explicit Replay(const void* owner) : owner_(owner ? owner : this) {}
  const void* owner() const { return owner_; }

  void RegisterCallback(tavel::ReplayEngineCallback* cb) override;
  int Open(const tavel::ReplayOpenConfig& c, lumen::LiveClient* client) override;
  int Stop() override;
  int Play() override;
  int Pause() override;
  int SetPlaySpeed(float speed) override;
  int ReceivePacket(const uint8_t* data, size_t size, const tavel::ReplayPacketInfo& info) override;
  int RequestReset() override;
  int ConfirmReset() override;
  int SetStreamInfo(const uint8_t* data, int32_t size) override;
  int VideoStartPlay(uint32_t user_id, int32_t stream_type, tavel::VideoSinkInterface* sink) override;
  int VideoStartPlay(const tavel::BizInfo& info, tavel::VideoSinkInterface* sink) override;
  int VideoStopPlay(uint32_t user_id, int32_t stream_type) override;
  int VideoStopPlay(const tavel::BizInfo& info) override;
  int AudioStartPlay(int32_t user_id, bool play) override;
  int AudioStartPlay(const tavel::BizInfo& info) override;
  int AudioStopPlay(int32_t user_id) override;
  int AudioStopPlay(const tavel::BizInfo& info) override;
  int SetVoiceAdjustParameters(uint32_t user_id, int32_t value) override;
  int SetVoiceAdjustParameters(const tavel::BizInfo& info, int32_t position) override;

 private:
  int StartSink(int result, int64_t user, int32_t type, tavel::VideoSinkInterface* sink);
  int StopSink(int result, int64_t user, int32_t type);

  const void* const owner_;
  std::mutex mu_;
  bool playing_ = false;
  std::map<std::pair<int64_t, int32_t>, std::string> sinks_;
};

class MediaPlayer : public tavel::MediaPlayerEngine {
 public:
  explicit MediaPlayer(const void* owner) : owner_(owner) {}

  int RegisterCallback(tavel::MediaPlayerCallback* cb) override;
  int PrepareAsync(const std::string& url, const std::vector<std::string>& prefixes, const std::string& extra,
                   int32_t stream_id, tavel::VideoSinkInterface* sink, int32_t* player_id, bool sendout,
                   bool playout, const tavel::VideoTrackInfo& info) override;
  int Start(int32_t id) override;
  int Pause(int32_t id) override;
  int SetLooping(int32_t id, bool loop) override;
  int SetSpeed(int32_t id, float speed) override;
  int SetVolume(int32_t id, int32_t volume, int32_t delay_ms) override;
  int SeekTo(int32_t id, int64_t position_ms, int32_t mode) override;
  int64_t GetCurrentPositionMs(int32_t id) override;
  int64_t GetDurationMs(int32_t id) override;
  int Destroy(int32_t id) override;
  int RingBell(const std::string& file, float speed, int32_t volume) override;

 private:
  const void* const owner_;
  std::mutex mu_;
  int32_t next_id_ = 1;
};

class Streaming : public tavel::StreamingEngine {
 public:
  explicit Streaming(const void* owner) : owner_(owner) {}
  int Start(const lumen::CommandClientConfig& c, const std::string& params, lumen::LiveClient* client,
            tavel::StreamingEngineCallback* cb) override;
  int PrepareAsync(const std::vector<std::string>& urls, tavel::VideoSinkInterface* sink) override;
  int SendUserData(const uint8_t* data, size_t size) override;
  int SendRadioData(const uint8_t* data, size_t size) override;
  int Mute(bool mute) override;
  bool IsMute() override;
  int Pause() override;
  int Start() override;

 private:
  const void* const owner_;
  std::mutex mu_;
  bool muted_ = false;
};

class AudioRender : public tavel::AudioRenderEngine {
 public:
  // Bytes the simulated playout buffer holds.
  static constexpr int kCapacity = 32000;

  int Init(const tavel::AudioFormat& format) override;
  int Start() override;
  int Stop() override;
  int Release() override;
  int GetSpaceCanPushInBytes() override;
  int PushAudioData(const uint8_t* data, size_t size) override;
  int ClearPushedAudioData() override;

 private:
  std::mutex mu_;
  int buffered_ = 0;
};

}  // namespace live

#endif  // LIVE_ENGINE_LIVE_PLAYBACK_H_
