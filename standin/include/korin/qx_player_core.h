#ifndef KORIN_QX_PLAYER_CORE_H_
#define KORIN_QX_PLAYER_CORE_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine_export.h"

namespace korin {

// One source of a player: a file, a stream or one segment of a playlist.
struct ENGINE_API QXPlayerCoreDataSource {
  QXPlayerCoreDataSource();
  std::string source_id;
  std::string url;
  std::string cache_dir;
  std::vector<std::string> url_prefixes;
  // Hosts serving the same content; a group holds each host once.
  std::vector<std::set<std::string>> equivalent_hosts;
  int64_t clip_start_ms;
  int64_t clip_end_ms;  // -1: to the end
  int32_t preset_media_mine;
  int32_t io_scheme;
  bool cache;
  bool is_live;
  int64_t start_at_position_ms;
  int32_t hls_start_segment_index;  // -1: the playlist's own choice
  int64_t hls_preset_start_time_ms;
  std::string key_server;
  std::string http_proxy_server;
};

struct QXPlayerCoreBizInfo {
  int32_t biz_type = 0;
  int32_t user_id = 0;
  int32_t group_id = 0;
};

struct ENGINE_API QXPlayerCoreOptions {
  QXPlayerCoreOptions();
  bool disable_video;
  bool disable_audio;
  bool mute;
  bool blind;
  float play_rate;
  bool looping;
  float left_volume;
  float right_volume;
  bool start_on_prepared;
  bool accurate_seek;
  bool hardware_decode_avc;
  int64_t ready_to_play_buffer_ms;
  int64_t buffer_size_bytes;
  int64_t buffering_end_threshold_ms;
  int32_t master_clock_type;
  bool show_info;
  bool show_hud_info;
  bool lazy_load;
  bool segment_auto_play;
  bool step_on_prepared;
  bool seek_after_complete_auto_start;
  bool audio_send_out;
  bool video_send_out;
  QXPlayerCoreBizInfo biz_info;
  bool use_prepared;
  bool enable_fade_in;
  bool pause_at_end_of_segment;
  bool use_h265_first;
};

struct QXPlayerCoreVideoPoint {
  int32_t segment_index = 0;
  int64_t pos = 0;
  bool auto_pause = false;
  bool use_video = false;
};

struct QXPlayerCoreVideoParams {
  int32_t width = 0;
  int32_t height = 0;
  int32_t sar_num = 0;
  int32_t sar_den = 0;
  int32_t rotate = 0;
  int32_t fps = 0;
  int64_t bit_rate = 0;
};

struct QXPlayerCoreErrorInfo {
  int what = 0;
  int32_t extra = 0;
  std::string msg;
};

struct QXPlayerCorePlaybackStatus {
  int32_t state = 0;
  int64_t current_position_ms = 0;
  int64_t playable_position_ms = 0;
  std::vector<QXPlayerCoreVideoParams> video_params;
  int32_t playing_segment_index = 0;
  int32_t loading_segment_index = 0;
  std::vector<int64_t> durations;
  std::vector<QXPlayerCoreDataSource> datasources;
  QXPlayerCoreErrorInfo error_info;
  bool buffering = false;
  int32_t buffering_percent = 0;
  bool seeking = false;
  bool first_video_frame_rendered = false;
  bool first_audio_frame_rendered = false;
  int64_t io_speed_bytes_per_second = 0;
  float play_rate = 1.0f;
};

// Events of a player, called on the player's own threads.
class ENGINE_API QXPlayerCoreCallback {
 public:
  virtual ~QXPlayerCoreCallback();
  virtual void OnPlayerV2Error(int what, int extra) = 0;
  virtual void OnPrepared() = 0;
  virtual void OnCompleted() = 0;
  virtual void OnBufferStarted(int32_t reason) = 0;
  virtual void OnBufferingUpdated(int32_t percent) = 0;
  virtual void OnBufferingEnd(int32_t reason) = 0;
  virtual void OnVideoSizeChanged(int16_t width, int16_t height, int16_t sar_num, int16_t sar_den) = 0;
  virtual void OnFirstVideoFrameRendered() = 0;
  virtual void OnFirstAudioFrameRendered() = 0;
  virtual void OnInfo(int what, int64_t extra, const std::string& text) = 0;
  virtual void OnSeekCompleted(int64_t position_ms, int64_t extra) = 0;
  virtual void OnTotalDurationChanged(int64_t duration_ms, int32_t segment_count) = 0;
  virtual void OnCurrentSegmentChanged(int32_t segment_index) = 0;
  virtual void OnSegmentCompleted(int32_t segment_index) = 0;
  virtual void OnVideoPointHit(const QXPlayerCoreVideoPoint& point) = 0;
  virtual void OnPlaybackStateChanged(int32_t state) = 0;
  virtual void OnSubtitle(const std::string& text, bool show) = 0;
  virtual void OnSubtitleFailed(int32_t error) = 0;
};

// A decoded I420 frame; whoever receives it owns it.
class ENGINE_API QXPlayerCoreVideoFrame {
 public:
  virtual ~QXPlayerCoreVideoFrame();
  virtual int16_t rotation() const = 0;  // degrees
  virtual int width() const = 0;
  virtual int height() const = 0;
  virtual int alpha_type() const = 0;
  virtual const uint8_t* data_y() const = 0;
  virtual const uint8_t* data_u() const = 0;
  virtual const uint8_t* data_v() const = 0;
  virtual int stride_y() const = 0;
  virtual int stride_u() const = 0;
  virtual int stride_v() const = 0;
};

// Where a player draws its video, on its render thread.
class ENGINE_API QXPlayerCoreVideoRendererInterface {
 public:
  virtual ~QXPlayerCoreVideoRendererInterface();
  virtual void Start() {}
  virtual void Pause() {}
  virtual void EnableAlphaRender(bool) {}
  virtual void OnIdentityChanged(int64_t) {}
  // Takes ownership of `frame`.
  virtual void OnFrame(QXPlayerCoreVideoFrame* frame) = 0;
};

// What a player asks its host for. The renderer stays the factory's: the
// player only draws into it, and stops before the factory goes.
class ENGINE_API QXPlayerCoreFactory {
 public:
  virtual ~QXPlayerCoreFactory();
  virtual QXPlayerCoreVideoRendererInterface* GetVideoRenderer() = 0;
};

class ENGINE_API QXPlayerCoreFactoryDefault : public QXPlayerCoreFactory {
 public:
  using VideoFrameCallback = std::function<void(const QXPlayerCoreVideoFrame&)>;
  using AudioFrameCallback = std::function<void(const int16_t* samples, size_t count, int rate, int channels)>;
  QXPlayerCoreFactoryDefault(VideoFrameCallback video, AudioFrameCallback audio);
  ~QXPlayerCoreFactoryDefault() override;
  QXPlayerCoreVideoRendererInterface* GetVideoRenderer() override { return nullptr; }

 protected:
  VideoFrameCallback video_;
  AudioFrameCallback audio_;
};

// Media bytes that the host feeds to a player. Players share its ownership.
class ENGINE_API QXPlayerCoreExternalDataSource {
 public:
  static std::shared_ptr<QXPlayerCoreExternalDataSource> Create();
  virtual ~QXPlayerCoreExternalDataSource();
  // Answers the bytes accepted, or a negative error.
  virtual int PushData(int32_t type, int64_t seek_position, const uint8_t* data, size_t size) = 0;
};

class ENGINE_API QXPlayerCore {
 public:
  static void GlobalInit();
  static std::string GetVersion();
  static void CheckAndRemoveCache(const std::string& directory, int64_t max_size, float ratio);
  // The player calls `callback` and draws into `factory`'s renderer until it
  // is deleted; both must outlive it.
  static QXPlayerCore* CreateQXPlayer(QXPlayerCoreCallback* callback, QXPlayerCoreFactory* factory,
                                      bool short_audio_mode, const std::string& name);
  virtual ~QXPlayerCore();

  virtual bool Prepare(const QXPlayerCoreOptions& options) = 0;
  virtual bool Play() = 0;
  virtual bool Pause() = 0;
  virtual bool SeekTo(int64_t position_ms, int64_t extra) = 0;
  virtual bool SeekTo(int64_t position_ms) = 0;
  virtual bool SeekToSegment(int32_t segment, int64_t position_ms, int64_t extra) = 0;
  virtual bool SeekToSegment(int32_t segment, int64_t position_ms) = 0;
  virtual void StopBeforeRelease() = 0;
  virtual void SetMute(bool mute) = 0;
  virtual void SetBlind(bool blind) = 0;
  virtual void SetPlayRate(float rate) = 0;
  virtual void SetLooping(bool looping) = 0;
  virtual void SetVolume(float left, float right) = 0;
  virtual void SetLazyLoad(bool lazy) = 0;
  virtual void SetDataSources(const std::vector<QXPlayerCoreDataSource>& sources, bool flag) = 0;
  virtual void SetExternalDataSource(std::shared_ptr<QXPlayerCoreExternalDataSource> source) = 0;
  virtual void SetSubtitles(const std::vector<QXPlayerCoreDataSource>& subtitles) = 0;
  virtual bool IsPlaying() = 0;
  virtual int16_t GetVideoWidth() = 0;
  virtual int16_t GetVideoHeight() = 0;
  virtual int16_t GetVideoSarNum() = 0;
  virtual int16_t GetVideoSarDen() = 0;
  virtual int16_t GetVideoRotate() = 0;
  virtual int8_t GetVideoFPS() = 0;
  virtual int64_t GetSegmentDuration(int32_t index) = 0;
  virtual int64_t GetDuration() = 0;
  virtual int64_t GetCurrentPosition() = 0;
  virtual int64_t GetPlayablePosition() = 0;
  virtual int64_t GetIOSpeedInBytesPerSecond() = 0;
  virtual int32_t GetSegmentNum() = 0;
  virtual int32_t GetCurrentIndex() = 0;
  virtual void InsertSegment(const QXPlayerCoreDataSource& source, int32_t index) = 0;
  virtual void DeleteSegment(int32_t index) = 0;
  virtual void SetSegmentAutoPlay(bool on) = 0;
  virtual void MarkVideoPoint(const QXPlayerCoreVideoPoint& point) = 0;
  virtual int64_t GetId() = 0;
  virtual QXPlayerCorePlaybackStatus GetPlaybackStatus() = 0;
};

}  // namespace korin

#endif  // KORIN_QX_PLAYER_CORE_H_
