#include "QXPlayer/QXPlayerRecords.h"

#include <set>

#include "common/record_reader.h"

namespace lumen_addon {

namespace {

using korin::QXPlayerCoreBizInfo;
using korin::QXPlayerCoreDataSource;
using korin::QXPlayerCoreDownloaderV2Config;
using korin::QXPlayerCoreDownloadRequest;
using korin::QXPlayerCoreDownloadStatus;
using korin::QXPlayerCoreErrorInfo;
using korin::QXPlayerCoreOptions;
using korin::QXPlayerCorePlaybackStatus;
using korin::QXPlayerCoreVideoParams;
using korin::QXPlayerCoreVideoPoint;
using record::Field;

// Host groups: an array of arrays of names; a group holds each name once.
void ReadHosts(const Napi::Value& v, QXPlayerCoreDataSource& s, record::Policy) {
  s.equivalent_hosts.clear();
  js::EachElement(v, [&](const Napi::Value& group) {
    std::set<std::string> names;
    js::EachElement(group, [&](const Napi::Value& e) { names.insert(js::ToUtf8(e)); });
    s.equivalent_hosts.push_back(std::move(names));
  });
}
Napi::Value WriteHosts(Napi::Env env, const QXPlayerCoreDataSource& s) {
  std::vector<std::vector<std::string>> groups;
  for (const auto& g : s.equivalent_hosts) groups.emplace_back(g.begin(), g.end());
  return ToJs<std::vector<std::vector<std::string>>>::New(env, groups);
}

// The status names the cache directory cacheDir; data sources read cache_dir.
const Field<QXPlayerCoreDataSource> kDataSource[] = {
    LUMEN_FIELD("sourceId", QXPlayerCoreDataSource, source_id, kString),
    LUMEN_FIELD("url", QXPlayerCoreDataSource, url, kString),
    LUMEN_FIELD_AS("cache_dir", "cacheDir", QXPlayerCoreDataSource, cache_dir, kString),
    LUMEN_FIELD("urlPrefixes", QXPlayerCoreDataSource, url_prefixes, kStrings),
    {"equivalentHosts", ReadHosts, WriteHosts},
    LUMEN_FIELD("clipStartMs", QXPlayerCoreDataSource, clip_start_ms, kInt64),
    LUMEN_FIELD("clipEndMs", QXPlayerCoreDataSource, clip_end_ms, kInt64),
    LUMEN_FIELD("presetMediaMine", QXPlayerCoreDataSource, preset_media_mine, kInt32),
    LUMEN_FIELD("ioScheme", QXPlayerCoreDataSource, io_scheme, kInt32),
    LUMEN_FIELD("cache", QXPlayerCoreDataSource, cache, kBool),
    LUMEN_FIELD("isLive", QXPlayerCoreDataSource, is_live, kBool),
    LUMEN_FIELD("startAtPositionMs", QXPlayerCoreDataSource, start_at_position_ms, kInt64),
    LUMEN_FIELD("hlsStartSegmentIndex", QXPlayerCoreDataSource, hls_start_segment_index, kInt32),
    LUMEN_FIELD("hlsPresetStartTimeMs", QXPlayerCoreDataSource, hls_preset_start_time_ms, kInt64),
    LUMEN_FIELD("keyServer", QXPlayerCoreDataSource, key_server, kString),
    LUMEN_FIELD("httpProxyServer", QXPlayerCoreDataSource, http_proxy_server, kString),
};

const Field<QXPlayerCoreBizInfo> kBizInfo[] = {
    LUMEN_FIELD("bizType", QXPlayerCoreBizInfo, biz_type, kInt32),
    LUMEN_FIELD("userId", QXPlayerCoreBizInfo, user_id, kInt32),
    LUMEN_FIELD("groupId", QXPlayerCoreBizInfo, group_id, kInt32),
};

const Field<QXPlayerCoreOptions> kOptions[] = {
    LUMEN_FIELD("disableVideo", QXPlayerCoreOptions, disable_video, kBool),
    LUMEN_FIELD("disableAudio", QXPlayerCoreOptions, disable_audio, kBool),
    LUMEN_FIELD("mute", QXPlayerCoreOptions, mute, kBool),
    LUMEN_FIELD("blind", QXPlayerCoreOptions, blind, kBool),
    LUMEN_FIELD("playRate", QXPlayerCoreOptions, play_rate, kNumber),
    LUMEN_FIELD("looping", QXPlayerCoreOptions, looping, kBool),
    LUMEN_FIELD("leftVolume", QXPlayerCoreOptions, left_volume, kNumber),
    LUMEN_FIELD("rightVolume", QXPlayerCoreOptions, right_volume, kNumber),
    LUMEN_FIELD("startOnPrepared", QXPlayerCoreOptions, start_on_prepared, kBool),
    LUMEN_FIELD("accurateSeek", QXPlayerCoreOptions, accurate_seek, kBool),
    LUMEN_FIELD("hardwareDecodeAVC", QXPlayerCoreOptions, hardware_decode_avc, kBool),
    LUMEN_FIELD("readyToPlayBufferMs", QXPlayerCoreOptions, ready_to_play_buffer_ms, kInt64),
    LUMEN_FIELD("bufferSizeBytes", QXPlayerCoreOptions, buffer_size_bytes, kInt64),
    LUMEN_FIELD("bufferingEndThresholdMs", QXPlayerCoreOptions, buffering_end_threshold_ms, kInt64),
    LUMEN_FIELD("masterClockType", QXPlayerCoreOptions, master_clock_type, kInt32),
    LUMEN_FIELD("showInfo", QXPlayerCoreOptions, show_info, kBool),
    LUMEN_FIELD("showHudInfo", QXPlayerCoreOptions, show_hud_info, kBool),
    LUMEN_FIELD("lazyLoad", QXPlayerCoreOptions, lazy_load, kBool),
    LUMEN_FIELD("segmentAutoPlay", QXPlayerCoreOptions, segment_auto_play, kBool),
    LUMEN_FIELD("stepOnPrepared", QXPlayerCoreOptions, step_on_prepared, kBool),
    LUMEN_FIELD("seekAfterCompleteAutoStart", QXPlayerCoreOptions, seek_after_complete_auto_start, kBool),
    LUMEN_FIELD("audioSendOut", QXPlayerCoreOptions, audio_send_out, kBool),
    LUMEN_FIELD("videoSendOut", QXPlayerCoreOptions, video_send_out, kBool),
    LUMEN_NESTED("bizInfo", QXPlayerCoreOptions, biz_info, kBizInfo),
    LUMEN_FIELD("usePrepared", QXPlayerCoreOptions, use_prepared, kBool),
    LUMEN_FIELD("enableFadeIn", QXPlayerCoreOptions, enable_fade_in, kBool),
    LUMEN_FIELD("pauseAtEndOfSegment", QXPlayerCoreOptions, pause_at_end_of_segment, kBool),
    LUMEN_FIELD("useH265First", QXPlayerCoreOptions, use_h265_first, kBool),
};

const Field<QXPlayerCoreVideoPoint> kVideoPoint[] = {
    LUMEN_FIELD("segmentIndex", QXPlayerCoreVideoPoint, segment_index, kInt32),
    LUMEN_FIELD("pos", QXPlayerCoreVideoPoint, pos, kInt64),
    LUMEN_FIELD("autoPause", QXPlayerCoreVideoPoint, auto_pause, kBool),
    LUMEN_FIELD("useVideo", QXPlayerCoreVideoPoint, use_video, kBool),
};

const Field<QXPlayerCoreVideoParams> kVideoParams[] = {
    LUMEN_FIELD("width", QXPlayerCoreVideoParams, width, kInt32),
    LUMEN_FIELD("height", QXPlayerCoreVideoParams, height, kInt32),
    LUMEN_FIELD("sarNum", QXPlayerCoreVideoParams, sar_num, kInt32),
    LUMEN_FIELD("sarDen", QXPlayerCoreVideoParams, sar_den, kInt32),
    LUMEN_FIELD("rotate", QXPlayerCoreVideoParams, rotate, kInt32),
    LUMEN_FIELD("fps", QXPlayerCoreVideoParams, fps, kInt32),
    LUMEN_FIELD("bitRate", QXPlayerCoreVideoParams, bit_rate, kInt64),
};

const Field<QXPlayerCoreErrorInfo> kErrorInfo[] = {
    LUMEN_FIELD("what", QXPlayerCoreErrorInfo, what, kInt32),
    LUMEN_FIELD("extra", QXPlayerCoreErrorInfo, extra, kInt32),
    LUMEN_FIELD("msg", QXPlayerCoreErrorInfo, msg, kString),
};

const Field<QXPlayerCorePlaybackStatus> kPlaybackStatus[] = {
    LUMEN_FIELD("state", QXPlayerCorePlaybackStatus, state, kInt32),
    LUMEN_FIELD("currentPositionMs", QXPlayerCorePlaybackStatus, current_position_ms, kInt64),
    LUMEN_FIELD("playablePositionMs", QXPlayerCorePlaybackStatus, playable_position_ms, kInt64),
    LUMEN_NESTED_LIST("videoParams", QXPlayerCorePlaybackStatus, video_params, kVideoParams),
    LUMEN_FIELD("playingSegmentIndex", QXPlayerCorePlaybackStatus, playing_segment_index, kInt32),
    LUMEN_FIELD("loadingSegmentIndex", QXPlayerCorePlaybackStatus, loading_segment_index, kInt32),
    LUMEN_FIELD("durations", QXPlayerCorePlaybackStatus, durations, kNumbers),
    LUMEN_NESTED_LIST("datasources", QXPlayerCorePlaybackStatus, datasources, kDataSource),
    LUMEN_NESTED("errorInfo", QXPlayerCorePlaybackStatus, error_info, kErrorInfo),
    LUMEN_FIELD("buffering", QXPlayerCorePlaybackStatus, buffering, kBool),
    LUMEN_FIELD("bufferingPercent", QXPlayerCorePlaybackStatus, buffering_percent, kInt32),
    LUMEN_FIELD("seeking", QXPlayerCorePlaybackStatus, seeking, kBool),
    LUMEN_FIELD("firstVideoFrameRendered", QXPlayerCorePlaybackStatus, first_video_frame_rendered, kBool),
    LUMEN_FIELD("firstAudioFrameRendered", QXPlayerCorePlaybackStatus, first_audio_frame_rendered, kBool),
    LUMEN_FIELD("ioSpeedBytesPerSecond", QXPlayerCorePlaybackStatus, io_speed_bytes_per_second, kInt64),
    LUMEN_FIELD("playRate", QXPlayerCorePlaybackStatus, play_rate, kNumber),
};

const Field<QXPlayerCoreDownloadRequest> kRequest[] = {
    LUMEN_FIELD("sourceId", QXPlayerCoreDownloadRequest, source_id, kString),
    LUMEN_FIELD("url", QXPlayerCoreDownloadRequest, url, kString),
    LUMEN_FIELD("urlPrefixes", QXPlayerCoreDownloadRequest, url_prefixes, kStrings),
    LUMEN_FIELD("position", QXPlayerCoreDownloadRequest, position, kInt64),
    LUMEN_FIELD("length", QXPlayerCoreDownloadRequest, length, kInt64),
    LUMEN_FIELD("enableEvicted", QXPlayerCoreDownloadRequest, enable_evicted, kBool),
    LUMEN_FIELD("preferWidth", QXPlayerCoreDownloadRequest, prefer_width, kInt32),
    LUMEN_FIELD("preferHeight", QXPlayerCoreDownloadRequest, prefer_height, kInt32),
    LUMEN_FIELD("preferH265", QXPlayerCoreDownloadRequest, prefer_h265, kBool),
    LUMEN_FIELD("keyServer", QXPlayerCoreDownloadRequest, key_server, kString),
};

const Field<QXPlayerCoreDownloadStatus> kDownloadStatus[] = {
    LUMEN_NESTED("request", QXPlayerCoreDownloadStatus, request, kRequest),
    LUMEN_FIELD("downloadSize", QXPlayerCoreDownloadStatus, download_size, kInt64),
    LUMEN_FIELD("totalSize", QXPlayerCoreDownloadStatus, total_size, kInt64),
    LUMEN_FIELD("state", QXPlayerCoreDownloadStatus, state, kInt32),
    LUMEN_FIELD("error", QXPlayerCoreDownloadStatus, error, kInt32),
    LUMEN_FIELD("downloadSpeed", QXPlayerCoreDownloadStatus, download_speed, kNumber),
};

const Field<QXPlayerCoreDownloaderV2Config> kDownloaderConfig[] = {
    LUMEN_FIELD("maxParallelDownloads", QXPlayerCoreDownloaderV2Config, max_parallel_downloads, kInt32),
    LUMEN_FIELD("userId", QXPlayerCoreDownloaderV2Config, user_id, kString),
};

// Input records keep the library's defaults for keys not given.
constexpr record::Policy kInput = record::kPresentOnly;

}  // namespace

QXPlayerCoreDataSource From<QXPlayerCoreDataSource>::Read(const Napi::Value& v) {
  return record::Read(v, kDataSource, kInput);
}

std::vector<QXPlayerCoreDataSource> From<std::vector<QXPlayerCoreDataSource>>::Read(const Napi::Value& v) {
  std::vector<QXPlayerCoreDataSource> out;
  js::EachElement(v, [&](const Napi::Value& e) { out.push_back(record::Read(e, kDataSource, kInput)); });
  return out;
}

QXPlayerCoreOptions From<QXPlayerCoreOptions>::Read(const Napi::Value& v) { return record::Read(v, kOptions, kInput); }

QXPlayerCoreVideoPoint From<QXPlayerCoreVideoPoint>::Read(const Napi::Value& v) {
  return record::Read(v, kVideoPoint, kInput);
}

QXPlayerCoreDownloadRequest From<QXPlayerCoreDownloadRequest>::Read(const Napi::Value& v) {
  return record::Read(v, kRequest, kInput);
}

QXPlayerCoreDownloaderV2Config From<QXPlayerCoreDownloaderV2Config>::Read(const Napi::Value& v) {
  return record::Read(v, kDownloaderConfig, kInput);
}

Napi::Value ToJs<QXPlayerCoreVideoPoint>::New(Napi::Env env, const QXPlayerCoreVideoPoint& p) {
  return record::Write(env, kVideoPoint, p);
}

Napi::Value ToJs<QXPlayerCorePlaybackStatus>::New(Napi::Env env, const QXPlayerCorePlaybackStatus& s) {
  return record::Write(env, kPlaybackStatus, s);
}

Napi::Value ToJs<QXPlayerCoreDownloadStatus>::New(Napi::Env env, const QXPlayerCoreDownloadStatus& s) {
  return record::Write(env, kDownloadStatus, s);
}

}  // namespace lumen_addon
