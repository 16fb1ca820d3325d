#include "QXPlayer/QXPlayerRecords.h"

#include <string>

#include "common/convert.h"

namespace lumen_addon {
namespace qxplayer {

namespace {


std::vector<std::string> Strings(const Napi::Value& v) {
  std::vector<std::string> out;
  js::EachElement(v, [&](const Napi::Value& e) { out.push_back(js::ToUtf8(e)); });
  return out;
}

// Reads `key` into `field` only when it is present and not undefined.
class Reader {
 public:
  explicit Reader(const Napi::Value& v) : o_(js::ToObject(v)) {}
  template <typename T>
  Reader& Int(const char* key, T& field) {
    if (Napi::Value v = Present(key); !v.IsEmpty()) field = static_cast<T>(sizeof(T) == 8 ? js::ToInt64(v) : js::ToInt32(v));
    return *this;
  }
  Reader& Float(const char* key, float& field) {
    if (Napi::Value v = Present(key); !v.IsEmpty()) field = static_cast<float>(js::ToDouble(v));
    return *this;
  }
  Reader& Bool(const char* key, bool& field) {
    if (Napi::Value v = Present(key); !v.IsEmpty()) field = js::ToBool(v);
    return *this;
  }
  Reader& Str(const char* key, std::string& field) {
    if (Napi::Value v = Present(key); !v.IsEmpty()) field = js::ToUtf8(v);
    return *this;
  }
  Reader& StrList(const char* key, std::vector<std::string>& field) {
    if (Napi::Value v = Present(key); !v.IsEmpty()) field = Strings(v);
    return *this;
  }
  Napi::Value Present(const char* key) {
    if (o_.IsEmpty()) return Napi::Value();
    Napi::Value v = js::Get(o_, key);
    return v.IsEmpty() || v.IsUndefined() ? Napi::Value() : v;
  }

 private:
  Napi::Object o_;
};

Napi::Array StringsToJs(Napi::Env env, const std::vector<std::string>& v) {
  Napi::Array a = Napi::Array::New(env, v.size());
  for (uint32_t i = 0; i < v.size(); ++i) a.Set(i, Napi::String::New(env, v[i]));
  return a;
}

Napi::Value Num(Napi::Env env, double d) { return Napi::Number::New(env, d); }

}  // namespace

korin::QXPlayerCoreDataSource ReadDataSource(const Napi::Value& v) {
  korin::QXPlayerCoreDataSource s;
  Reader r(v);
  r.Str("sourceId", s.source_id).Str("url", s.url).Str("cache_dir", s.cache_dir).StrList("urlPrefixes", s.url_prefixes);
  if (Napi::Value hosts = r.Present("equivalentHosts"); !hosts.IsEmpty()) {
    s.equivalent_hosts.clear();
    js::EachElement(hosts, [&](const Napi::Value& group) {
      const std::vector<std::string> names = Strings(group);
      s.equivalent_hosts.emplace_back(names.begin(), names.end());
    });
  }
  r.Int("clipStartMs", s.clip_start_ms)
      .Int("clipEndMs", s.clip_end_ms)
      .Int("presetMediaMine", s.preset_media_mine)
      .Int("ioScheme", s.io_scheme)
      .Bool("cache", s.cache)
      .Bool("isLive", s.is_live)
      .Int("startAtPositionMs", s.start_at_position_ms)
      .Int("hlsStartSegmentIndex", s.hls_start_segment_index)
      .Int("hlsPresetStartTimeMs", s.hls_preset_start_time_ms)
      .Str("keyServer", s.key_server)
      .Str("httpProxyServer", s.http_proxy_server);
  return s;
}

std::vector<korin::QXPlayerCoreDataSource> ReadDataSources(const Napi::Value& v) {
  std::vector<korin::QXPlayerCoreDataSource> out;
  js::EachElement(v, [&](const Napi::Value& e) { out.push_back(ReadDataSource(e)); });
  return out;
}

korin::QXPlayerCoreOptions ReadOptions(const Napi::Value& v) {
  korin::QXPlayerCoreOptions o;
  Reader r(v);
  r.Bool("disableVideo", o.disable_video)
      .Bool("disableAudio", o.disable_audio)
      .Bool("mute", o.mute)
      .Bool("blind", o.blind)
      .Float("playRate", o.play_rate)
      .Bool("looping", o.looping)
      .Float("leftVolume", o.left_volume)
      .Float("rightVolume", o.right_volume)
      .Bool("startOnPrepared", o.start_on_prepared)
      .Bool("accurateSeek", o.accurate_seek)
      .Bool("hardwareDecodeAVC", o.hardware_decode_avc)
      .Int("readyToPlayBufferMs", o.ready_to_play_buffer_ms)
      .Int("bufferSizeBytes", o.buffer_size_bytes)
      .Int("bufferingEndThresholdMs", o.buffering_end_threshold_ms)
      .Int("masterClockType", o.master_clock_type)
      .Bool("showInfo", o.show_info)
      .Bool("showHudInfo", o.show_hud_info)
      .Bool("lazyLoad", o.lazy_load)
      .Bool("segmentAutoPlay", o.segment_auto_play)
      .Bool("stepOnPrepared", o.step_on_prepared)
      .Bool("seekAfterCompleteAutoStart", o.seek_after_complete_auto_start)
      .Bool("audioSendOut", o.audio_send_out)
      .Bool("videoSendOut", o.video_send_out);
  if (Napi::Value biz = r.Present("bizInfo"); !biz.IsEmpty()) {
    Reader b(biz);
    b.Int("bizType", o.biz_info.biz_type).Int("userId", o.biz_info.user_id).Int("groupId", o.biz_info.group_id);
  }
  r.Bool("usePrepared", o.use_prepared)
      .Bool("enableFadeIn", o.enable_fade_in)
      .Bool("pauseAtEndOfSegment", o.pause_at_end_of_segment)
      .Bool("useH265First", o.use_h265_first);
  return o;
}

korin::QXPlayerCoreVideoPoint ReadVideoPoint(const Napi::Value& v) {
  korin::QXPlayerCoreVideoPoint p;
  Reader(v).Int("segmentIndex", p.segment_index).Int("pos", p.pos).Bool("autoPause", p.auto_pause).Bool("useVideo", p.use_video);
  return p;
}

korin::QXPlayerCoreDownloadRequest ReadRequest(const Napi::Value& v) {
  korin::QXPlayerCoreDownloadRequest q;
  Reader(v)
      .Str("sourceId", q.source_id)
      .Str("url", q.url)
      .StrList("urlPrefixes", q.url_prefixes)
      .Int("position", q.position)
      .Int("length", q.length)
      .Bool("enableEvicted", q.enable_evicted)
      .Int("preferWidth", q.prefer_width)
      .Int("preferHeight", q.prefer_height)
      .Bool("preferH265", q.prefer_h265)
      .Str("keyServer", q.key_server);
  return q;
}

korin::QXPlayerCoreDownloaderV2Config ReadDownloaderConfig(const Napi::Value& v) {
  korin::QXPlayerCoreDownloaderV2Config c;
  Reader(v).Int("maxParallelDownloads", c.max_parallel_downloads).Str("userId", c.user_id);
  return c;
}

Napi::Object DataSourceToJs(Napi::Env env, const korin::QXPlayerCoreDataSource& s) {
  Napi::Object o = Napi::Object::New(env);
  o.Set("url", s.url);
  o.Set("sourceId", s.source_id);
  o.Set("cacheDir", s.cache_dir);
  o.Set("urlPrefixes", StringsToJs(env, s.url_prefixes));
  Napi::Array hosts = Napi::Array::New(env, s.equivalent_hosts.size());
  for (uint32_t i = 0; i < s.equivalent_hosts.size(); ++i)
    hosts.Set(i, StringsToJs(env, {s.equivalent_hosts[i].begin(), s.equivalent_hosts[i].end()}));
  o.Set("equivalentHosts", hosts);
  o.Set("clipStartMs", Num(env, static_cast<double>(s.clip_start_ms)));
  o.Set("clipEndMs", Num(env, static_cast<double>(s.clip_end_ms)));
  o.Set("presetMediaMine", Num(env, s.preset_media_mine));
  o.Set("ioScheme", Num(env, s.io_scheme));
  o.Set("cache", Napi::Boolean::New(env, s.cache));
  o.Set("isLive", Napi::Boolean::New(env, s.is_live));
  o.Set("startAtPositionMs", Num(env, static_cast<double>(s.start_at_position_ms)));
  o.Set("hlsStartSegmentIndex", Num(env, s.hls_start_segment_index));
  o.Set("hlsPresetStartTimeMs", Num(env, static_cast<double>(s.hls_preset_start_time_ms)));
  o.Set("keyServer", s.key_server);
  o.Set("httpProxyServer", s.http_proxy_server);
  return o;
}

Napi::Object PlaybackStatusToJs(Napi::Env env, const korin::QXPlayerCorePlaybackStatus& s) {
  Napi::Object o = Napi::Object::New(env);
  o.Set("state", Num(env, s.state));
  o.Set("currentPositionMs", Num(env, static_cast<double>(s.current_position_ms)));
  o.Set("playablePositionMs", Num(env, static_cast<double>(s.playable_position_ms)));
  Napi::Array params = Napi::Array::New(env, s.video_params.size());
  for (uint32_t i = 0; i < s.video_params.size(); ++i) {
    const auto& p = s.video_params[i];
    Napi::Object e = Napi::Object::New(env);
    e.Set("width", Num(env, p.width));
    e.Set("height", Num(env, p.height));
    e.Set("sarNum", Num(env, p.sar_num));
    e.Set("sarDen", Num(env, p.sar_den));
    e.Set("rotate", Num(env, p.rotate));
    e.Set("fps", Num(env, p.fps));
    e.Set("bitRate", Num(env, static_cast<double>(p.bit_rate)));
    params.Set(i, e);
  }
  o.Set("videoParams", params);
  o.Set("playingSegmentIndex", Num(env, s.playing_segment_index));
  o.Set("loadingSegmentIndex", Num(env, s.loading_segment_index));
  Napi::Array durations = Napi::Array::New(env, s.durations.size());
  for (uint32_t i = 0; i < s.durations.size(); ++i) durations.Set(i, Num(env, static_cast<double>(s.durations[i])));
  o.Set("durations", durations);
  Napi::Array sources = Napi::Array::New(env, s.datasources.size());
  for (uint32_t i = 0; i < s.datasources.size(); ++i) sources.Set(i, DataSourceToJs(env, s.datasources[i]));
  o.Set("datasources", sources);
  Napi::Object error = Napi::Object::New(env);
  error.Set("what", Num(env, s.error_info.what));
  error.Set("extra", Num(env, s.error_info.extra));
  error.Set("msg", s.error_info.msg);
  o.Set("errorInfo", error);
  o.Set("buffering", Napi::Boolean::New(env, s.buffering));
  o.Set("bufferingPercent", Num(env, s.buffering_percent));
  o.Set("seeking", Napi::Boolean::New(env, s.seeking));
  o.Set("firstVideoFrameRendered", Napi::Boolean::New(env, s.first_video_frame_rendered));
  o.Set("firstAudioFrameRendered", Napi::Boolean::New(env, s.first_audio_frame_rendered));
  o.Set("ioSpeedBytesPerSecond", Num(env, static_cast<double>(s.io_speed_bytes_per_second)));
  o.Set("playRate", Num(env, s.play_rate));
  return o;
}

Napi::Object RequestToJs(Napi::Env env, const korin::QXPlayerCoreDownloadRequest& r) {
  Napi::Object o = Napi::Object::New(env);
  o.Set("sourceId", r.source_id);
  o.Set("url", r.url);
  o.Set("urlPrefixes", StringsToJs(env, r.url_prefixes));
  o.Set("position", Num(env, static_cast<double>(r.position)));
  o.Set("length", Num(env, static_cast<double>(r.length)));
  o.Set("enableEvicted", Napi::Boolean::New(env, r.enable_evicted));
  o.Set("preferWidth", Num(env, r.prefer_width));
  o.Set("preferHeight", Num(env, r.prefer_height));
  o.Set("preferH265", Napi::Boolean::New(env, r.prefer_h265));
  o.Set("keyServer", r.key_server);
  return o;
}

Napi::Object DownloadStatusToJs(Napi::Env env, const korin::QXPlayerCoreDownloadStatus& s) {
  Napi::Object o = Napi::Object::New(env);
  o.Set("request", RequestToJs(env, s.request));
  o.Set("downloadSize", Num(env, static_cast<double>(s.download_size)));
  o.Set("totalSize", Num(env, static_cast<double>(s.total_size)));
  o.Set("state", Num(env, s.state));
  o.Set("error", Num(env, s.error));
  o.Set("downloadSpeed", Num(env, s.download_speed));
  return o;
}

}  // namespace qxplayer
}  // namespace lumen_addon
