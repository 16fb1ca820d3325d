// Simulated player core: journals every operation, answers scripted values,
// holds its callback's events as firers "player:<id>.<Event>", and draws a
// moving I420 picture into the renderer its factory hands it.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

#include "korin/qx_player_core.h"
#include "live/internal.h"
#include "player/player_records.h"
#include "player/player_sim.h"
#include "sim/methods.h"
#include "sim/sim.h"
#include "tavel/media_utils.h"

namespace korin {

QXPlayerCoreDataSource::QXPlayerCoreDataSource()
    : clip_start_ms(0),
      clip_end_ms(-1),
      preset_media_mine(0),
      io_scheme(0),
      cache(true),
      is_live(false),
      start_at_position_ms(0),
      hls_start_segment_index(-1),
      hls_preset_start_time_ms(-1) {}

QXPlayerCoreOptions::QXPlayerCoreOptions()
    : disable_video(false),
      disable_audio(false),
      mute(false),
      blind(false),
      play_rate(1.0f),
      looping(false),
      left_volume(1.0f),
      right_volume(1.0f),
      start_on_prepared(true),
      accurate_seek(false),
      hardware_decode_avc(true),
      ready_to_play_buffer_ms(500),
      buffer_size_bytes(16 << 20),
      buffering_end_threshold_ms(1000),
      master_clock_type(0),
      show_info(false),
      show_hud_info(false),
      lazy_load(false),
      segment_auto_play(true),
      step_on_prepared(false),
      seek_after_complete_auto_start(false),
      audio_send_out(false),
      video_send_out(false),
      use_prepared(false),
      enable_fade_in(false),
      pause_at_end_of_segment(false),
      use_h265_first(false) {}

QXPlayerCoreCallback::~QXPlayerCoreCallback() = default;
QXPlayerCoreVideoFrame::~QXPlayerCoreVideoFrame() = default;
QXPlayerCoreVideoRendererInterface::~QXPlayerCoreVideoRendererInterface() = default;
QXPlayerCoreFactory::~QXPlayerCoreFactory() = default;
QXPlayerCoreFactoryDefault::QXPlayerCoreFactoryDefault(VideoFrameCallback video, AudioFrameCallback audio)
    : video_(std::move(video)), audio_(std::move(audio)) {}
QXPlayerCoreFactoryDefault::~QXPlayerCoreFactoryDefault() = default;
QXPlayerCoreExternalDataSource::~QXPlayerCoreExternalDataSource() = default;
QXPlayerCore::~QXPlayerCore() = default;

namespace {

constexpr int kStridePad = 16;  // frames carry strides wider than their rows
constexpr uint8_t kPadByte = 0xEE;

uint8_t PictureY(int x, int y, int64_t i) { return static_cast<uint8_t>(x + 2 * y + 5 * i); }
uint8_t PictureU(int x, int y, int64_t i) { return static_cast<uint8_t>(3 * x + y + i); }
uint8_t PictureV(int x, int y, int64_t i) { return static_cast<uint8_t>(x + 3 * y + 2 * i); }

class SimFrame : public QXPlayerCoreVideoFrame {
 public:
  SimFrame(int width, int height, int rotation, int alpha_type, int64_t index)
      : w_(width), h_(height), rotation_(rotation), alpha_(alpha_type) {
    const int cw = (w_ + 1) / 2, ch = (h_ + 1) / 2;
    sy_ = w_ + kStridePad;
    sc_ = cw + kStridePad;
    y_.assign(static_cast<size_t>(sy_) * h_, kPadByte);
    u_.assign(static_cast<size_t>(sc_) * ch, kPadByte);
    v_.assign(static_cast<size_t>(sc_) * ch, kPadByte);
    for (int y = 0; y < h_; ++y)
      for (int x = 0; x < w_; ++x) y_[static_cast<size_t>(y) * sy_ + x] = PictureY(x, y, index);
    for (int y = 0; y < ch; ++y)
      for (int x = 0; x < cw; ++x) {
        u_[static_cast<size_t>(y) * sc_ + x] = PictureU(x, y, index);
        v_[static_cast<size_t>(y) * sc_ + x] = PictureV(x, y, index);
      }
  }
  int16_t rotation() const override { return static_cast<int16_t>(rotation_); }
  int width() const override { return w_; }
  int height() const override { return h_; }
  int alpha_type() const override { return alpha_; }
  const uint8_t* data_y() const override { return y_.data(); }
  const uint8_t* data_u() const override { return u_.data(); }
  const uint8_t* data_v() const override { return v_.data(); }
  int stride_y() const override { return sy_; }
  int stride_u() const override { return sc_; }
  int stride_v() const override { return sc_; }

 private:
  int w_, h_, rotation_, alpha_, sy_ = 0, sc_ = 0;
  std::vector<uint8_t> y_, u_, v_;
};

class SimExternalDataSource : public QXPlayerCoreExternalDataSource {
 public:
  SimExternalDataSource() { live::CountObject("playerDataSources", 1); }
  ~SimExternalDataSource() override { live::CountObject("playerDataSources", -1); }
  int PushData(int32_t type, int64_t seek_position, const uint8_t* data, size_t size) override {
    sim::Note("korin.QXPlayerCoreExternalDataSource.PushData", type, seek_position, static_cast<int64_t>(size));
    const sim::Value scripted = sim::Scripted("korin.QXPlayerCoreExternalDataSource.PushData");
    if (auto* d = std::get_if<double>(&scripted)) return static_cast<int>(*d);
    std::lock_guard<std::mutex> lock(mu_);
    if (data && size) bytes_.insert(bytes_.end(), data, data + size);
    return static_cast<int>(size);
  }
  void Read(std::vector<uint8_t>* out) {
    std::lock_guard<std::mutex> lock(mu_);
    out->swap(bytes_);
    bytes_.clear();
  }

 private:
  std::mutex mu_;
  std::vector<uint8_t> bytes_;
};

class SimPlayerCore;

struct Players {
  std::mutex mu;
  std::map<int64_t, SimPlayerCore*> live;
  int64_t next_id = 1;
  sim::PlayerVideo video;
};

Players& P() {
  static auto* p = new Players;
  return *p;
}

class SimPlayerCore : public QXPlayerCore {
 public:
  SimPlayerCore(QXPlayerCoreCallback* callback, QXPlayerCoreFactory* factory) : factory_(factory) {
    {
      std::lock_guard<std::mutex> lock(P().mu);
      id_ = P().next_id++;
      P().live[id_] = this;
    }
    live::CountObject("players", 1);
    HoldEvents(callback);
  }

  ~SimPlayerCore() override {
    StopRendering();
    {
      std::lock_guard<std::mutex> lock(P().mu);  // waits for a control drawing into this player
      P().live.erase(id_);
    }
    sim::Release(this);  // waits for events being fired
    live::CountObject("players", -1);
  }

  bool Prepare(const QXPlayerCoreOptions& o) override { return Op("Prepare", o); }
  bool Play() override {
    const bool ok = Op("Play");
    playing_ = true;
    const sim::PlayerVideo v = sim::GetPlayerVideo();
    if (v.fps > 0 && factory_ && factory_->GetVideoRenderer()) StartRendering(v);
    return ok;
  }
  bool Pause() override {
    playing_ = false;
    StopRendering();
    return Op("Pause");
  }
  bool SeekTo(int64_t pos, int64_t extra) override { return Op("SeekTo", pos, extra); }
  bool SeekTo(int64_t pos) override { return Op("SeekTo", pos); }
  bool SeekToSegment(int32_t seg, int64_t pos, int64_t extra) override { return Op("SeekToSegment", seg, pos, extra); }
  bool SeekToSegment(int32_t seg, int64_t pos) override { return Op("SeekToSegment", seg, pos); }
  void StopBeforeRelease() override {
    playing_ = false;
    StopRendering();
    Op("StopBeforeRelease");
  }
  void SetMute(bool b) override { Op("SetMute", b); }
  void SetBlind(bool b) override { Op("SetBlind", b); }
  void SetPlayRate(float r) override { Op("SetPlayRate", r); }
  void SetLooping(bool b) override { Op("SetLooping", b); }
  void SetVolume(float l, float r) override { Op("SetVolume", l, r); }
  void SetLazyLoad(bool b) override { Op("SetLazyLoad", b); }
  void SetDataSources(const std::vector<QXPlayerCoreDataSource>& sources, bool flag) override {
    Op("SetDataSources", sources, flag);
    std::lock_guard<std::mutex> lock(mu_);
    sources_ = sources;
  }
  void SetExternalDataSource(std::shared_ptr<QXPlayerCoreExternalDataSource> source) override {
    Op("SetExternalDataSource", static_cast<const void*>(source.get()));
    std::lock_guard<std::mutex> lock(mu_);
    external_ = std::move(source);
  }
  void SetSubtitles(const std::vector<QXPlayerCoreDataSource>& subtitles) override { Op("SetSubtitles", subtitles); }
  bool IsPlaying() override {
    sim::Note(Name("IsPlaying"));
    return sim::ScriptedBool(Name("IsPlaying"), playing_);
  }
  int16_t GetVideoWidth() override { return static_cast<int16_t>(Int("GetVideoWidth", VideoSide(true))); }
  int16_t GetVideoHeight() override { return static_cast<int16_t>(Int("GetVideoHeight", VideoSide(false))); }
  int16_t GetVideoSarNum() override { return static_cast<int16_t>(Int("GetVideoSarNum", 1)); }
  int16_t GetVideoSarDen() override { return static_cast<int16_t>(Int("GetVideoSarDen", 1)); }
  int16_t GetVideoRotate() override { return static_cast<int16_t>(Int("GetVideoRotate", sim::GetPlayerVideo().rotation)); }
  int8_t GetVideoFPS() override { return static_cast<int8_t>(Int("GetVideoFPS", 25)); }
  int64_t GetSegmentDuration(int32_t index) override {
    sim::Note(Name("GetSegmentDuration"), index);
    return Scripted64("GetSegmentDuration", 60000);
  }
  int64_t GetDuration() override { return Int64("GetDuration", 60000); }
  int64_t GetCurrentPosition() override { return Int64("GetCurrentPosition", 0); }
  int64_t GetPlayablePosition() override { return Int64("GetPlayablePosition", 0); }
  int64_t GetIOSpeedInBytesPerSecond() override { return Int64("GetIOSpeedInBytesPerSecond", 0); }
  int32_t GetSegmentNum() override {
    int n = 0;
    {
      std::lock_guard<std::mutex> lock(mu_);
      n = static_cast<int>(sources_.size());
    }
    return Int("GetSegmentNum", n);
  }
  int32_t GetCurrentIndex() override { return Int("GetCurrentIndex", 0); }
  void InsertSegment(const QXPlayerCoreDataSource& source, int32_t index) override {
    Op("InsertSegment", source, index);
    std::lock_guard<std::mutex> lock(mu_);
    const auto at = static_cast<size_t>(std::clamp<int64_t>(index, 0, static_cast<int64_t>(sources_.size())));
    sources_.insert(sources_.begin() + static_cast<std::ptrdiff_t>(at), source);
  }
  void DeleteSegment(int32_t index) override {
    Op("DeleteSegment", index);
    std::lock_guard<std::mutex> lock(mu_);
    if (index >= 0 && static_cast<size_t>(index) < sources_.size()) sources_.erase(sources_.begin() + index);
  }
  void SetSegmentAutoPlay(bool on) override { Op("SetSegmentAutoPlay", on); }
  void MarkVideoPoint(const QXPlayerCoreVideoPoint& p) override { Op("MarkVideoPoint", p); }
  int64_t GetId() override { return id_; }

  // The status reflects the sources set; numbers come from the getters' scripts.
  QXPlayerCorePlaybackStatus GetPlaybackStatus() override {
    sim::Note(Name("GetPlaybackStatus"));
    QXPlayerCorePlaybackStatus s;
    s.state = sim::ScriptedInt(Name("Status.state"), playing_ ? 4 : 0);
    s.current_position_ms = Scripted64("GetCurrentPosition", 0);
    s.playable_position_ms = Scripted64("GetPlayablePosition", 0);
    const sim::PlayerVideo v = sim::GetPlayerVideo();
    s.video_params.push_back({v.width, v.height, 1, 1, v.rotation, 25, Scripted64("Status.bitRate", 0)});
    s.playing_segment_index = sim::ScriptedInt(Name("GetCurrentIndex"), 0);
    s.loading_segment_index = s.playing_segment_index;
    {
      std::lock_guard<std::mutex> lock(mu_);
      s.datasources = sources_;
    }
    for (size_t i = 0; i < s.datasources.size(); ++i) s.durations.push_back(60000 + static_cast<int64_t>(i));
    s.error_info.what = sim::ScriptedInt(Name("Status.errorWhat"), 0);
    s.error_info.extra = sim::ScriptedInt(Name("Status.errorExtra"), 0);
    s.error_info.msg = sim::ScriptedStr(Name("Status.errorMsg"), "");
    s.buffering = sim::ScriptedBool(Name("Status.buffering"), false);
    s.buffering_percent = sim::ScriptedInt(Name("Status.bufferingPercent"), 100);
    s.io_speed_bytes_per_second = Scripted64("GetIOSpeedInBytesPerSecond", 0);
    s.play_rate = 1.0f;
    return s;
  }

  // Control side.
  int64_t rendered() const { return rendered_.load(); }
  int64_t Draw(int w, int h, int rotation, int alpha, int64_t first, int64_t count) {
    QXPlayerCoreVideoRendererInterface* r = factory_ ? factory_->GetVideoRenderer() : nullptr;
    if (!r) return 0;
    for (int64_t i = 0; i < count; ++i) r->OnFrame(new SimFrame(w, h, rotation, alpha, first + i));
    return count;
  }
  bool ReadData(std::vector<uint8_t>* out) {
    std::shared_ptr<QXPlayerCoreExternalDataSource> source;
    {
      std::lock_guard<std::mutex> lock(mu_);
      source = external_;
    }
    if (!source) return false;
    static_cast<SimExternalDataSource*>(source.get())->Read(out);
    return true;
  }

 private:
  std::string Name(const char* op) const { return std::string("korin.QXPlayerCore.") + op; }
  // Actions succeed unless scripted otherwise.
  template <typename... A>
  bool Op(const char* op, const A&... a) {
    sim::Record(Name(op), sim::ArgsJson(a...));
    return sim::ScriptedBool(Name(op), true);
  }
  int Int(const char* op, int def) {
    sim::Note(Name(op));
    return sim::ScriptedInt(Name(op), def);
  }
  int64_t Scripted64(const char* op, int64_t def) {
    const sim::Value v = sim::Scripted(Name(op));
    if (auto* d = std::get_if<double>(&v)) return static_cast<int64_t>(*d);
    return def;
  }
  int64_t Int64(const char* op, int64_t def) {
    sim::Note(Name(op));
    return Scripted64(op, def);
  }
  int VideoSide(bool width) {
    const sim::PlayerVideo v = sim::GetPlayerVideo();
    return width ? v.width : v.height;
  }

  void HoldEvents(QXPlayerCoreCallback* cb) {
    if (!cb) return;
    using C = QXPlayerCoreCallback;
    const std::string prefix = "player:" + std::to_string(id_);
    sim::HoldMethods<C>(this, prefix, cb,
                        {SIM_METHOD(OnPlayerV2Error), SIM_METHOD(OnPrepared), SIM_METHOD(OnCompleted),
                         SIM_METHOD(OnBufferStarted), SIM_METHOD(OnBufferingUpdated), SIM_METHOD(OnBufferingEnd),
                         SIM_METHOD(OnVideoSizeChanged), SIM_METHOD(OnFirstVideoFrameRendered),
                         SIM_METHOD(OnFirstAudioFrameRendered), SIM_METHOD(OnInfo), SIM_METHOD(OnSeekCompleted),
                         SIM_METHOD(OnTotalDurationChanged), SIM_METHOD(OnCurrentSegmentChanged),
                         SIM_METHOD(OnSegmentCompleted), SIM_METHOD(OnPlaybackStateChanged), SIM_METHOD(OnSubtitle),
                         SIM_METHOD(OnSubtitleFailed)});
    sim::Hold(this, prefix + ".OnVideoPointHit", [cb](const sim::Args& a) {
      QXPlayerCoreVideoPoint p;
      p.segment_index = static_cast<int32_t>(a.Int(0));
      p.pos = a.Int(1);
      p.auto_pause = a.Bool(2);
      p.use_video = a.Bool(3);
      cb->OnVideoPointHit(p);
    });
  }

  void StartRendering(const sim::PlayerVideo& v) {
    std::lock_guard<std::mutex> lock(render_mu_);
    if (render_.joinable()) return;
    stop_ = false;
    rendered_.store(0);
    render_ = std::thread([this, v] {
      const auto period = std::chrono::microseconds(1000000 / std::max(1, v.fps));
      std::unique_lock<std::mutex> lock(render_mu_);
      for (int64_t i = 0; !stop_; ++i) {
        lock.unlock();
        Draw(v.width, v.height, v.rotation, v.alpha_type, i, 1);
        rendered_.store(i + 1);
        lock.lock();
        render_cv_.wait_for(lock, period, [this] { return stop_; });
      }
    });
  }
  void StopRendering() {
    std::thread t;
    {
      std::lock_guard<std::mutex> lock(render_mu_);
      stop_ = true;
      t.swap(render_);
    }
    render_cv_.notify_all();
    if (t.joinable()) t.join();
  }

  QXPlayerCoreFactory* factory_;
  int64_t id_ = 0;
  std::atomic<bool> playing_{false};
  std::mutex mu_;
  std::vector<QXPlayerCoreDataSource> sources_;
  std::shared_ptr<QXPlayerCoreExternalDataSource> external_;
  std::mutex render_mu_;
  std::condition_variable render_cv_;
  std::thread render_;
  bool stop_ = false;
  std::atomic<int64_t> rendered_{0};
};

const bool kResetHook = (sim::OnReset([] {
  std::lock_guard<std::mutex> lock(P().mu);
  P().video = sim::PlayerVideo();
}), true);

}  // namespace

void QXPlayerCore::GlobalInit() { sim::Note("korin.QXPlayerCore.GlobalInit"); }

std::string QXPlayerCore::GetVersion() {
  sim::Note("korin.QXPlayerCore.GetVersion");
  return sim::ScriptedStr("korin.QXPlayerCore.GetVersion", "sim-player-1.0.0");
}

void QXPlayerCore::CheckAndRemoveCache(const std::string& directory, int64_t max_size, float ratio) {
  sim::Note("korin.QXPlayerCore.CheckAndRemoveCache", directory, max_size, ratio);
}

QXPlayerCore* QXPlayerCore::CreateQXPlayer(QXPlayerCoreCallback* callback, QXPlayerCoreFactory* factory,
                                           bool short_audio_mode, const std::string& name) {
  sim::Note("korin.QXPlayerCore.CreateQXPlayer", static_cast<const void*>(callback),
            static_cast<const void*>(factory), short_audio_mode, name);
  const sim::Value v = sim::Scripted("korin.QXPlayerCore.CreateQXPlayer");
  if (auto* b = std::get_if<bool>(&v); b && !*b) return nullptr;
  return new SimPlayerCore(callback, factory);
}

std::shared_ptr<QXPlayerCoreExternalDataSource> QXPlayerCoreExternalDataSource::Create() {
  sim::Note("korin.QXPlayerCoreExternalDataSource.Create");
  return std::make_shared<SimExternalDataSource>();
}

}  // namespace korin

namespace sim {

void SetPlayerVideo(const PlayerVideo& video) {
  std::lock_guard<std::mutex> lock(korin::P().mu);
  korin::P().video = video;
}

PlayerVideo GetPlayerVideo() {
  std::lock_guard<std::mutex> lock(korin::P().mu);
  return korin::P().video;
}

std::vector<int64_t> PlayerIds() {
  std::lock_guard<std::mutex> lock(korin::P().mu);
  std::vector<int64_t> out;
  for (auto& kv : korin::P().live) out.push_back(kv.first);
  return out;
}

int64_t DrawPlayerFrames(int64_t id, int width, int height, int rotation, int alpha_type, int64_t first,
                         int64_t count) {
  int64_t drawn = 0;
  for (int64_t i = 0; i < count; ++i) {
    // One frame at a time under the lock: the player cannot go meanwhile.
    std::lock_guard<std::mutex> lock(korin::P().mu);
    auto it = korin::P().live.find(id);
    if (it == korin::P().live.end()) break;
    const int64_t n = it->second->Draw(width, height, rotation, alpha_type, first + i, 1);
    if (n == 0) break;
    drawn += n;
  }
  return drawn;
}

std::vector<uint8_t> PlayerPicture(int width, int height, int64_t index) {
  const int cw = (width + 1) / 2, ch = (height + 1) / 2;
  std::vector<uint8_t> out(static_cast<size_t>(width) * height + 2 * static_cast<size_t>(cw) * ch);
  uint8_t* p = out.data();
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) *p++ = korin::PictureY(x, y, index);
  for (int y = 0; y < ch; ++y)
    for (int x = 0; x < cw; ++x) *p++ = korin::PictureU(x, y, index);
  for (int y = 0; y < ch; ++y)
    for (int x = 0; x < cw; ++x) *p++ = korin::PictureV(x, y, index);
  return out;
}

std::vector<uint8_t> PlayerPictureAbgr(int width, int height, int64_t index) {
  const std::vector<uint8_t> planes = PlayerPicture(width, height, index);
  const int cw = (width + 1) / 2, ch = (height + 1) / 2;
  std::vector<uint8_t> out(static_cast<size_t>(width) * height * 4);
  const uint8_t* y = planes.data();
  const uint8_t* u = y + static_cast<size_t>(width) * height;
  const uint8_t* v = u + static_cast<size_t>(cw) * ch;
  tavel::I420ToABGR(y, width, u, cw, v, cw, out.data(), width * 4, width, height);
  return out;
}

int64_t PlayerFramesRendered(int64_t id) {
  std::lock_guard<std::mutex> lock(korin::P().mu);
  auto it = korin::P().live.find(id);
  return it == korin::P().live.end() ? 0 : it->second->rendered();
}

bool ReadPlayerData(int64_t id, std::vector<uint8_t>* out) {
  std::lock_guard<std::mutex> lock(korin::P().mu);
  auto it = korin::P().live.find(id);
  return it != korin::P().live.end() && it->second->ReadData(out);
}

}  // namespace sim
