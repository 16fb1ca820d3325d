#include "live/playback.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>

#include "live/internal.h"
#include "sim/live.h"
#include "sim/methods.h"
#include "sim/records.h"
#include "sim/sim.h"

namespace tavel {

inline std::string ToJson(const ReplayPacketInfo& v) {
  return sim::JsonObject("is_audio", v.is_audio, "is_rtp", v.is_rtp);
}

inline std::string ToJson(const AudioFormat& v) {
  return sim::JsonObject("sample_rate", v.sample_rate, "channels", v.channels, "audio_format", v.audio_format);
}

MediaPlayerCallback::~MediaPlayerCallback() = default;

}  // namespace tavel

namespace live {

namespace {

std::string BytesJson(const uint8_t* data, size_t size) {
  return sim::JsonObject("size", static_cast<uint64_t>(size), "checksum", Checksum(data, size));
}

uint32_t Le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

std::string ReplaySink(int64_t user, int32_t type) {
  return sim::kSinkPrefix + std::to_string(user) + ":" + std::to_string(type) + ":replay";
}

}  // namespace

uint32_t Checksum(const uint8_t* data, size_t size) {
  uint32_t h = 2166136261u;
  for (size_t i = 0; i < size; ++i) h = (h ^ data[i]) * 16777619u;
  return h;
}

#define RP(name) "tavel.ReplayEngine." #name

// ---- replay ---------------------------------------------------------------------------

void Replay::RegisterCallback(tavel::ReplayEngineCallback* cb) {
  sim::Note(RP(RegisterCallback), cb);
  HoldReplayCallback(owner_, cb);
}
int Replay::Open(const tavel::ReplayOpenConfig& c, lumen::LiveClient* client) { return sim::Call(RP(Open), c, client); }
int Replay::Stop() {
  {
    std::lock_guard<std::mutex> lock(mu_);
    playing_ = false;
  }
  return sim::Call(RP(Stop));
}
int Replay::Play() {
  int r = sim::Call(RP(Play));
  std::lock_guard<std::mutex> lock(mu_);
  if (r == 0) playing_ = true;
  return r;
}
int Replay::Pause() {
  int r = sim::Call(RP(Pause));
  std::lock_guard<std::mutex> lock(mu_);
  if (r == 0) playing_ = false;
  return r;
}
int Replay::SetPlaySpeed(float speed) { return sim::Call(RP(SetPlaySpeed), speed); }

int Replay::ReceivePacket(const uint8_t* data, size_t size, const tavel::ReplayPacketInfo& info) {
  sim::Record(RP(ReceivePacket), "[" + BytesJson(data, size) + "," + ToJson(info) + "]");
  int result = sim::ScriptedInt(RP(ReceivePacket), 0);
  if (result != 0 || info.is_audio || size < kReplayFrameHeader || std::memcmp(data, "LRVF", 4) != 0) return result;
  const int64_t user = Le32(data + 4);
  const auto type = static_cast<int32_t>(Le32(data + 8));
  const int w = Le16(data + 12), h = Le16(data + 14);
  const int64_t frame = Le32(data + 16);
  if (w == 0 || h == 0) return result;
  std::string name;
  {
    std::lock_guard<std::mutex> lock(mu_);
    auto it = sinks_.find({user, type});
    if (!playing_ || it == sinks_.end()) return result;
    name = it->second;
  }
  // The packet is the caller's only during this call.
  const size_t n = static_cast<size_t>(w) * h * 4;
  auto pixels = std::make_shared<std::vector<uint8_t>>(n);
  if (size == kReplayFrameHeader + n) {
    std::memcpy(pixels->data(), data + kReplayFrameHeader, n);
  } else {
    sim::TestPattern(w, h, static_cast<int>(user), frame, pixels->data());
  }
  sim::RunOnEngineThread(static_cast<int>(std::hash<std::string>()(name) % 8),
                         [name, w, h, frame, pixels] { sim::DeliverFrame(name, w, h, frame, pixels->data()); },
                         false);
  return result;
}

int Replay::RequestReset() { return sim::Call(RP(RequestReset)); }
int Replay::ConfirmReset() { return sim::Call(RP(ConfirmReset)); }
int Replay::SetStreamInfo(const uint8_t* data, int32_t size) {
  sim::Record(RP(SetStreamInfo), "[" + BytesJson(data, size > 0 ? static_cast<size_t>(size) : 0) + "]");
  return sim::ScriptedInt(RP(SetStreamInfo), 0);
}

int Replay::StartSink(int result, int64_t user, int32_t type, tavel::VideoSinkInterface* sink) {
  if (result != 0 || !sink) return result;
  std::string name = ReplaySink(user, type);
  HoldSink(owner_, name, sink);
  std::lock_guard<std::mutex> lock(mu_);
  sinks_[{user, type}] = name;
  return result;
}

int Replay::StopSink(int result, int64_t user, int32_t type) {
  std::string name = ReplaySink(user, type);
  {
    std::lock_guard<std::mutex> lock(mu_);
    sinks_.erase({user, type});
  }
  // Returns once a frame being delivered there is done.
  ReleaseSink(owner_, name);
  return result;
}

int Replay::VideoStartPlay(uint32_t u, int32_t t, tavel::VideoSinkInterface* s) {
  return StartSink(sim::Call(RP(VideoStartPlay), u, t, s), u, t, s);
}
int Replay::VideoStartPlay(const tavel::BizInfo& i, tavel::VideoSinkInterface* s) {
  return StartSink(sim::Call(RP(VideoStartPlayBiz), i, s), static_cast<uint32_t>(i.user_id), i.biz_type, s);
}
int Replay::VideoStopPlay(uint32_t u, int32_t t) { return StopSink(sim::Call(RP(VideoStopPlay), u, t), u, t); }
int Replay::VideoStopPlay(const tavel::BizInfo& i) {
  return StopSink(sim::Call(RP(VideoStopPlayBiz), i), static_cast<uint32_t>(i.user_id), i.biz_type);
}
int Replay::AudioStartPlay(int32_t u, bool play) { return sim::Call(RP(AudioStartPlay), u, play); }
int Replay::AudioStartPlay(const tavel::BizInfo& i) { return sim::Call(RP(AudioStartPlayBiz), i); }
int Replay::AudioStopPlay(int32_t u) { return sim::Call(RP(AudioStopPlay), u); }
int Replay::AudioStopPlay(const tavel::BizInfo& i) { return sim::Call(RP(AudioStopPlayBiz), i); }
int Replay::SetVoiceAdjustParameters(uint32_t u, int32_t v) { return sim::Call(RP(SetVoiceAdjustParameters), u, v); }
int Replay::SetVoiceAdjustParameters(const tavel::BizInfo& i, int32_t p) {
  return sim::Call(RP(SetVoiceAdjustParametersBiz), i, p);
}

// ---- media players --------------------------------------------------------------------
#define MP(name) "tavel.MediaPlayerEngine." #name

namespace {
std::string PlayerSink(int32_t id) { return sim::kSinkPrefix + std::string("1280:") + std::to_string(id) + ":player"; }

bool IsLocalFile(const std::string& url) { return url.find("://") == std::string::npos; }
bool Exists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}
}  // namespace

int MediaPlayer::RegisterCallback(tavel::MediaPlayerCallback* cb) {
  sim::Note(MP(RegisterCallback), cb);
  using C = tavel::MediaPlayerCallback;
  sim::HoldMethods<C>(owner_, "MediaPlayerCallback", cb,
                      {SIM_METHOD(OnPrepared), SIM_METHOD(OnInfo), SIM_METHOD(OnError), SIM_METHOD(OnSeekComplete),
                       SIM_METHOD(OnCompletion), SIM_METHOD(OnDecodingOneFrameElapsed), SIM_METHOD(OnOpenFileFailed),
                       SIM_METHOD(OnBellCompletion)});
  return sim::ScriptedInt(MP(RegisterCallback), 0);
}

int MediaPlayer::PrepareAsync(const std::string& url, const std::vector<std::string>& prefixes,
                              const std::string& extra, int32_t stream_id, tavel::VideoSinkInterface* sink,
                              int32_t* player_id, bool sendout, bool playout, const tavel::VideoTrackInfo& info) {
  int result = sim::Call(MP(PrepareAsync), url, prefixes, extra, stream_id, sink, sendout, playout, info);
  if (result == 0 && prefixes.empty() && IsLocalFile(url) && !Exists(url)) result = kFileNotFound;
  if (result != 0) return result;
  int32_t id;
  {
    std::lock_guard<std::mutex> lock(mu_);
    id = next_id_++;
  }
  if (player_id) *player_id = id;
  if (sink) HoldSink(owner_, PlayerSink(id), sink);
  return result;
}

int MediaPlayer::Start(int32_t id) { return sim::Call(MP(Start), id); }
int MediaPlayer::Pause(int32_t id) { return sim::Call(MP(Pause), id); }
int MediaPlayer::SetLooping(int32_t id, bool loop) { return sim::Call(MP(SetLooping), id, loop); }
int MediaPlayer::SetSpeed(int32_t id, float speed) { return sim::Call(MP(SetSpeed), id, speed); }
int MediaPlayer::SetVolume(int32_t id, int32_t v, int32_t d) { return sim::Call(MP(SetVolume), id, v, d); }
int MediaPlayer::SeekTo(int32_t id, int64_t p, int32_t mode) { return sim::Call(MP(SeekTo), id, p, mode); }
int64_t MediaPlayer::GetCurrentPositionMs(int32_t id) { return sim::Call(MP(GetCurrentPositionMs), id); }
int64_t MediaPlayer::GetDurationMs(int32_t id) { return sim::Call(MP(GetDurationMs), id); }
int MediaPlayer::Destroy(int32_t id) {
  int result = sim::Call(MP(Destroy), id);
  ReleaseSink(owner_, PlayerSink(id));
  return result;
}
int MediaPlayer::RingBell(const std::string& file, float speed, int32_t volume) {
  return sim::Call(MP(RingBell), file, speed, volume);
}

// ---- streaming --------------------------------------------------------------------------
#define ST(name) "tavel.StreamingEngine." #name

int Streaming::Start(const lumen::CommandClientConfig& c, const std::string& params, lumen::LiveClient* client,
                     tavel::StreamingEngineCallback* cb) {
  int result = sim::Call(ST(Start), c, params, client, cb);
  if (result == 0) HoldStreamingCallback(owner_, cb);
  return result;
}
int Streaming::PrepareAsync(const std::vector<std::string>& urls, tavel::VideoSinkInterface* sink) {
  int result = sim::Call(ST(PrepareAsync), urls, sink);
  if (result == 0 && sink) HoldSink(owner_, sim::kSinkPrefix + std::string("0:0:streaming"), sink);
  return result;
}
int Streaming::SendUserData(const uint8_t* data, size_t size) {
  sim::Record(ST(SendUserData), "[" + BytesJson(data, size) + "]");
  return sim::ScriptedInt(ST(SendUserData), 0);
}
int Streaming::SendRadioData(const uint8_t* data, size_t size) {
  sim::Record(ST(SendRadioData), "[" + BytesJson(data, size) + "]");
  return sim::ScriptedInt(ST(SendRadioData), 0);
}
int Streaming::Mute(bool mute) {
  int result = sim::Call(ST(Mute), mute);
  std::lock_guard<std::mutex> lock(mu_);
  if (result == 0) muted_ = mute;
  return result;
}
bool Streaming::IsMute() {
  sim::Note(ST(IsMute));
  std::lock_guard<std::mutex> lock(mu_);
  return sim::ScriptedBool(ST(IsMute), muted_);
}
int Streaming::Pause() { return sim::Call(ST(Pause)); }
int Streaming::Start() { return sim::Call(ST(StartPlay)); }

// ---- pushed audio ---------------------------------------------------------------------
#define AR(name) "tavel.AudioRenderEngine." #name

int AudioRender::Init(const tavel::AudioFormat& f) { return sim::Call(AR(Init), f); }
int AudioRender::Start() { return sim::Call(AR(Start)); }
int AudioRender::Stop() { return sim::Call(AR(Stop)); }
int AudioRender::Release() {
  std::lock_guard<std::mutex> lock(mu_);
  buffered_ = 0;
  return sim::Call(AR(Release));
}
int AudioRender::GetSpaceCanPushInBytes() {
  sim::Note(AR(GetSpaceCanPushInBytes));
  std::lock_guard<std::mutex> lock(mu_);
  return sim::ScriptedInt(AR(GetSpaceCanPushInBytes), kCapacity - buffered_);
}
int AudioRender::PushAudioData(const uint8_t* data, size_t size) {
  sim::Record(AR(PushAudioData), "[" + BytesJson(data, size) + "]");
  int result = sim::ScriptedInt(AR(PushAudioData), 0);
  std::lock_guard<std::mutex> lock(mu_);
  if (result == 0) buffered_ = static_cast<int>(std::min<size_t>(kCapacity, buffered_ + size));
  return result;
}
int AudioRender::ClearPushedAudioData() {
  std::lock_guard<std::mutex> lock(mu_);
  buffered_ = 0;
  return sim::Call(AR(ClearPushedAudioData));
}

}  // namespace live
