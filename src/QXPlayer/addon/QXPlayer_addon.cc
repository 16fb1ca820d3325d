// The QXPlayer_* group: players, their renderer, downloads, the key
// preloader and external data sources. Players, data sources and download
// listeners are held by JavaScript as handles; a number that is not a live
// object of the export's kind is never dereferenced.
#include <napi.h>

#include <memory>
#include <vector>

#include "QXPlayer/QXDownloadListener.h"
#include "QXPlayer/QXPlayer.h"
#include "QXPlayer/QXPlayerRecords.h"
#include "addon/groups.h"
#include "common/convert.h"
#include "common/export_table.h"
#include "common/handle_arg.h"
#include "common/logging.h"
#include "korin/qx_player_core.h"
#include "korin/qx_player_downloader.h"

namespace lumen_addon {
namespace {

constexpr char kTag[] = "EngineAddon";
constexpr char kPtr[] = "Expected arguments: player_ptr";

using korin::QXPlayerCore;

Napi::Value Bool(const Napi::CallbackInfo& info, bool b) { return js::Boolean(info.Env(), b); }
Napi::Value Num(const Napi::CallbackInfo& info, double d) { return js::Number(info.Env(), d); }
Napi::Value Undefined(const Napi::CallbackInfo& info) { return info.Env().Undefined(); }

std::shared_ptr<QXPlayer> Player(const Napi::CallbackInfo& info, const char* missing = "QXPlpayer is not created yet.") {
  auto player = HandleArg<QXPlayer>(info[0], HandleKind::kPlayer, RowOf(info).name);
  if (!player) LUMEN_LOG(kError, kTag) << missing;
  return player;
}

// Throws `message` and answers the row's failure value.
Napi::Value Refuse(const Napi::CallbackInfo& info, const char* message) {
  Napi::Error::New(info.Env(), message).ThrowAsJavaScriptException();
  return FailureValue(info.Env(), RowOf(info).failure);
}

bool OptionalBool(const Napi::CallbackInfo& info, size_t i) { return info.Length() > i && info[i].IsBoolean() && info[i].As<Napi::Boolean>().Value(); }

// ---- players -----------------------------------------------------------------

Napi::Value Constructor(const Napi::CallbackInfo& info) {
  return HandleValue(info.Env(), HandleRegistry::Add(HandleKind::kPlayer, std::make_shared<QXPlayer>(info.Env())));
}

Napi::Value GlobalInit(const Napi::CallbackInfo& info) {
  QXPlayerCore::GlobalInit();
  return Undefined(info);
}

Napi::Value GetVersion(const Napi::CallbackInfo& info) { return js::String(info.Env(), QXPlayerCore::GetVersion()); }

Napi::Value CheckAndRemoveCache(const Napi::CallbackInfo& info) {
  QXPlayerCore::CheckAndRemoveCache(info[0].As<Napi::String>().Utf8Value(),
                                    static_cast<int64_t>(info[1].As<Napi::Number>().Int64Value()),
                                    info[2].As<Napi::Number>().FloatValue());
  return Undefined(info);
}

template <bool kShortAudio>
Napi::Value InitPlayer(const Napi::CallbackInfo& info) {
  auto p = Player(info);
  if (!p) return Bool(info, false);
  p->Init(info.Env(), nullptr, kShortAudio);
  return Bool(info, true);
}

Napi::Value InitPlayerWithRender(const Napi::CallbackInfo& info) {
  auto p = Player(info);
  if (!p) return Bool(info, false);
  p->Init(info.Env(), info[1], false);
  return Bool(info, true);
}

Napi::Value SetOutputYuv(const Napi::CallbackInfo& info) {
  auto p = Player(info, "QXPlayer is not created yet.");
  if (p && p->renderer()) p->renderer()->SetOutputI420(info[1].As<Napi::Boolean>().Value());
  return Undefined(info);
}

// Arguments are read before the core is looked at: a getter may destroy the player.
Napi::Value SetDataSources(const Napi::CallbackInfo& info) {
  auto p = Player(info);
  if (!p) return Undefined(info);
  auto sources = qxplayer::ReadDataSources(info[1]);
  const bool flag = OptionalBool(info, 2);
  if (p->core()) p->core()->SetDataSources(sources, flag);
  return Undefined(info);
}

Napi::Value SetDataSource(const Napi::CallbackInfo& info) {
  auto p = Player(info);
  if (!p) return Undefined(info);
  auto source = qxplayer::ReadDataSource(info[1]);
  const bool flag = info.Length() == 3 && OptionalBool(info, 2);
  if (p->core()) p->core()->SetDataSources({source}, flag);
  return Undefined(info);
}

Napi::Value SetSubtitles(const Napi::CallbackInfo& info) {
  auto p = Player(info);
  if (!p) return Undefined(info);
  auto subtitles = qxplayer::ReadDataSources(info[1]);
  if (p->core()) p->core()->SetSubtitles(subtitles);
  return Undefined(info);
}

Napi::Value SetOptions(const Napi::CallbackInfo& info) {
  auto p = Player(info);
  if (!p) return Undefined(info);
  korin::QXPlayerCoreOptions options = qxplayer::ReadOptions(info[1]);
  p->options() = options;
  return Undefined(info);
}

Napi::Value SetCallback(const Napi::CallbackInfo& info) {
  auto p = Player(info);
  if (p) p->target().Set(info[1]);
  return Undefined(info);
}

Napi::Value Destroy(const Napi::CallbackInfo& info) {
  auto p = HandleRegistry::Remove<QXPlayer>(HandleKind::kPlayer, ToHandle(info[0]));
  if (!p) {
    LUMEN_LOG(kError, kTag) << "QXPlpayer is not created yet.";
    return Bool(info, false);
  }
  p->Destroy();
  return Bool(info, true);
}

// Actions: true for any live player, whether or not its core exists.
using CoreAction = void (*)(const Napi::CallbackInfo& info, QXPlayer& player);

template <CoreAction Op>
Napi::Value Action(const Napi::CallbackInfo& info) {
  auto p = Player(info);
  if (!p) return Bool(info, false);
  Op(info, *p);
  return Bool(info, true);
}

void Prepare(const Napi::CallbackInfo&, QXPlayer& p) {
  if (p.core()) p.core()->Prepare(p.options());
}
void Play(const Napi::CallbackInfo&, QXPlayer& p) {
  if (p.core()) p.core()->Play();
}
void Pause(const Napi::CallbackInfo&, QXPlayer& p) {
  if (p.core()) p.core()->Pause();
}
void SetMute(const Napi::CallbackInfo& info, QXPlayer& p) {
  if (p.core()) p.core()->SetMute(info[1].As<Napi::Boolean>().Value());
}
void SetBlind(const Napi::CallbackInfo& info, QXPlayer& p) {
  if (p.core()) p.core()->SetBlind(info[1].As<Napi::Boolean>().Value());
}
void SetPlayRate(const Napi::CallbackInfo& info, QXPlayer& p) {
  if (p.core()) p.core()->SetPlayRate(info[1].As<Napi::Number>().FloatValue());
}
void SetVolume(const Napi::CallbackInfo& info, QXPlayer& p) {
  if (p.core()) p.core()->SetVolume(info[1].As<Napi::Number>().FloatValue(), info[2].As<Napi::Number>().FloatValue());
}
void SetLazyLoad(const Napi::CallbackInfo& info, QXPlayer& p) {
  if (p.core()) p.core()->SetLazyLoad(info[1].As<Napi::Boolean>().Value());
}
void SetSegmentAutoPlay(const Napi::CallbackInfo& info, QXPlayer& p) {
  if (p.core()) p.core()->SetSegmentAutoPlay(info[1].As<Napi::Boolean>().Value());
}
void MarkVideoPoint(const Napi::CallbackInfo& info, QXPlayer& p) {
  const korin::QXPlayerCoreVideoPoint point = qxplayer::ReadVideoPoint(info[1]);
  if (p.core()) p.core()->MarkVideoPoint(point);
}

Napi::Value SetLooping(const Napi::CallbackInfo& info) {
  if (!info[1].IsBoolean()) return Refuse(info, "invalid arguments");
  auto p = Player(info);
  if (!p) return Bool(info, false);
  if (p->core()) p->core()->SetLooping(info[1].As<Napi::Boolean>().Value());
  return Bool(info, true);
}

int64_t Int64Of(const Napi::Value& v) { return v.As<Napi::Number>().Int64Value(); }

Napi::Value SeekTo(const Napi::CallbackInfo& info) {
  const bool extra = info.Length() > 2;
  if (extra && !info[2].IsNumber()) return Refuse(info, "the third arg should be number");
  auto p = Player(info);
  if (!p) return Bool(info, false);
  if (QXPlayerCore* core = p->core()) {
    if (extra)
      core->SeekTo(Int64Of(info[1]), Int64Of(info[2]));
    else
      core->SeekTo(Int64Of(info[1]));
  }
  return Bool(info, true);
}

Napi::Value SeekToSegment(const Napi::CallbackInfo& info) {
  const bool extra = info.Length() > 3;
  if (extra && !info[3].IsNumber()) return Refuse(info, "the fourth arg should be number");
  auto p = Player(info);
  if (!p) return Bool(info, false);
  if (QXPlayerCore* core = p->core()) {
    const int32_t segment = info[1].As<Napi::Number>().Int32Value();
    if (extra)
      core->SeekToSegment(segment, Int64Of(info[2]), Int64Of(info[3]));
    else
      core->SeekToSegment(segment, Int64Of(info[2]));
  }
  return Bool(info, true);
}

Napi::Value IsPlaying(const Napi::CallbackInfo& info) {
  auto p = Player(info);
  return Bool(info, p && p->core() && p->core()->IsPlaying());
}

// Getters: 0 without a live player or before initialisation.
template <typename R, R (QXPlayerCore::*Get)()>
Napi::Value Getter(const Napi::CallbackInfo& info) {
  auto p = Player(info);
  QXPlayerCore* core = p ? p->core() : nullptr;
  return Num(info, core ? static_cast<double>((core->*Get)()) : 0);
}

#define GETTER(R, M) Getter<R, &QXPlayerCore::M>

Napi::Value GetSegmentDuration(const Napi::CallbackInfo& info) {
  auto p = Player(info);
  QXPlayerCore* core = p ? p->core() : nullptr;
  return Num(info, core ? static_cast<double>(core->GetSegmentDuration(info[1].As<Napi::Number>().Int32Value())) : 0);
}

Napi::Value InsertSegment(const Napi::CallbackInfo& info) {
  auto p = Player(info);
  if (!p) return Undefined(info);
  const korin::QXPlayerCoreDataSource source = qxplayer::ReadDataSource(info[1]);
  const int32_t index = info[2].As<Napi::Number>().Int32Value();
  if (p->core()) p->core()->InsertSegment(source, index);
  return Undefined(info);
}

Napi::Value DeleteSegment(const Napi::CallbackInfo& info) {
  auto p = Player(info);
  if (p && p->core()) p->core()->DeleteSegment(info[1].As<Napi::Number>().Int32Value());
  return Undefined(info);
}

Napi::Value GetPlaybackStatus(const Napi::CallbackInfo& info) {
  auto p = Player(info);
  if (!p || !p->core()) return Undefined(info);
  return qxplayer::PlaybackStatusToJs(info.Env(), p->core()->GetPlaybackStatus());
}

// ---- external data sources ---------------------------------------------------

using DataSource = korin::QXPlayerCoreExternalDataSource;

Napi::Value DataSourceConstructor(const Napi::CallbackInfo& info) {
  std::shared_ptr<DataSource> source = DataSource::Create();
  return HandleValue(info.Env(), HandleRegistry::Add(HandleKind::kExternalDataSource, source));
}

// The bytes of a typed array, a Buffer, a DataView or an ArrayBuffer.
std::vector<uint8_t> BytesOf(const Napi::Value& v) {
  if (v.IsArrayBuffer()) {
    auto ab = v.As<Napi::ArrayBuffer>();
    const auto* p = static_cast<const uint8_t*>(ab.Data());
    return p ? std::vector<uint8_t>(p, p + ab.ByteLength()) : std::vector<uint8_t>();
  }
  if (v.IsDataView()) {
    auto dv = v.As<Napi::DataView>();
    Napi::ArrayBuffer ab = dv.ArrayBuffer();
    const auto* p = static_cast<const uint8_t*>(ab.Data());
    if (!p || dv.ByteOffset() + dv.ByteLength() > ab.ByteLength()) return {};
    return std::vector<uint8_t>(p + dv.ByteOffset(), p + dv.ByteOffset() + dv.ByteLength());
  }
  return js::Bytes(v);
}

// data: { type, seekPosition, data } (the bytes also accepted as `bytes`).
Napi::Value PushData(const Napi::CallbackInfo& info) {
  auto source = HandleArg<DataSource>(info[0], HandleKind::kExternalDataSource, RowOf(info).name);
  if (!source) return Num(info, -1);
  Napi::Object data = js::ToObject(info[1]);
  if (data.IsEmpty()) return Num(info, -1);
  const int32_t type = js::Int32At(data, "type");
  const int64_t seek = js::Int64At(data, "seekPosition");
  Napi::Value bytes_value = js::Get(data, "data");
  if (!js::IsSet(bytes_value)) bytes_value = js::Get(data, "bytes");
  // Read last: a getter above may have detached the buffer.
  const std::vector<uint8_t> bytes = BytesOf(bytes_value);
  return Num(info, source->PushData(type, seek, bytes.data(), bytes.size()));
}

Napi::Value DataSourceDestroy(const Napi::CallbackInfo& info) {
  // Players reading from it keep their share; it is freed with the last.
  if (!HandleRegistry::Remove<DataSource>(HandleKind::kExternalDataSource, ToHandle(info[0])))
    LUMEN_LOG(kWarning, kTag) << RowOf(info).name << ": not a live external data source handle";
  return Undefined(info);
}

Napi::Value SetExternalDataSource(const Napi::CallbackInfo& info) {
  auto p = Player(info);
  if (!p) return Undefined(info);
  std::shared_ptr<DataSource> source;
  if (ToHandle(info[1]) != 0) {
    source = HandleArg<DataSource>(info[1], HandleKind::kExternalDataSource, RowOf(info).name);
    if (!source) return Undefined(info);
  }
  if (p->core()) p->core()->SetExternalDataSource(std::move(source));
  return Undefined(info);
}

// ---- shared downloader and preloader -------------------------------------------

using Downloader = korin::QXPlayerCoreDownloaderInterface;

Napi::Value SetCacheDirectory(const Napi::CallbackInfo& info) {
  Downloader::SetCacheDirectory(info[0].As<Napi::String>().Utf8Value(), Int64Of(info[1]));
  return Undefined(info);
}

template <void (*Op)(const Napi::CallbackInfo& info, Downloader& d)>
Napi::Value WithDownloader(const Napi::CallbackInfo& info) {
  if (Downloader* d = Downloader::GetDownloader()) Op(info, *d);
  return Undefined(info);
}
void AddDownload(const Napi::CallbackInfo& info, Downloader& d) { d.AddDownload(qxplayer::ReadRequest(info[0])); }
void RemoveWithUrl(const Napi::CallbackInfo& info, Downloader& d) { d.RemoveResourceWithUrl(info[0].As<Napi::String>().Utf8Value()); }
void RemoveWithId(const Napi::CallbackInfo& info, Downloader& d) { d.RemoveResourceWithId(info[0].As<Napi::String>().Utf8Value()); }
void DownloaderPause(const Napi::CallbackInfo&, Downloader& d) { d.Pause(); }
void DownloaderResume(const Napi::CallbackInfo&, Downloader& d) { d.Resume(); }

Napi::Value DownloaderIsPaused(const Napi::CallbackInfo& info) {
  Downloader* d = Downloader::GetDownloader();
  return Bool(info, d == nullptr || d->IsPaused());
}

Napi::Value Preload(const Napi::CallbackInfo& info) {
  const korin::QXPlayerCoreDataSource source = qxplayer::ReadDataSource(info[0]);
  if (auto* preloader = korin::QXPlayerCoreDecryptionKeyPreloaderInterface::GetPreloader()) preloader->Preload(source);
  return Undefined(info);
}

// ---- V2 downloader ---------------------------------------------------------------

using DownloaderV2 = korin::QXPlayerCoreDownloaderV2Interface;

// One per process; only the JavaScript thread touches the slot.
DownloaderV2* g_downloader_v2 = nullptr;

DownloaderV2* V2() {
  if (!g_downloader_v2) LUMEN_LOG(kWarning, kTag) << "downloaderV2 is not initialized.";
  return g_downloader_v2;
}

Napi::Value V2Init(const Napi::CallbackInfo& info) {
  const korin::QXPlayerCoreDownloaderV2Config config = qxplayer::ReadDownloaderConfig(info[0]);
  if (g_downloader_v2) return Bool(info, true);  // the first one stays
  g_downloader_v2 = DownloaderV2::Create();
  return Bool(info, g_downloader_v2 && g_downloader_v2->Init(config));
}

Napi::Value V2Destroy(const Napi::CallbackInfo& info) {
  DownloaderV2* d = g_downloader_v2;
  g_downloader_v2 = nullptr;
  if (d) DownloaderV2::Destroy(d);
  return Undefined(info);
}

Napi::Value V2IsInitialized(const Napi::CallbackInfo& info) { return Bool(info, g_downloader_v2 != nullptr); }

using RequestOp = void (DownloaderV2::*)(const korin::QXPlayerCoreDownloadRequest&);
template <RequestOp Op>
Napi::Value V2Request(const Napi::CallbackInfo& info) {
  const korin::QXPlayerCoreDownloadRequest request = qxplayer::ReadRequest(info[0]);
  if (DownloaderV2* d = V2()) (d->*Op)(request);
  return Undefined(info);
}

template <void (DownloaderV2::*Op)()>
Napi::Value V2All(const Napi::CallbackInfo& info) {
  if (DownloaderV2* d = V2()) (d->*Op)();
  return Undefined(info);
}

// One answer per query: the function is released on the JavaScript thread
// once it has been called; an answer never given releases it with the query.
template <typename Answer, typename Convert>
Answer OneAnswer(const Napi::CallbackInfo& info, const char* name, Convert convert) {
  std::shared_ptr<JsFunctionBridge> tsfn = JsFunctionBridge::Create(info.Env(), info[0], name);
  return [tsfn, convert](const auto& value) {
    if (!tsfn) return;
    tsfn->Call([tsfn, convert, value](Napi::Env env, Napi::Function fn) {
      napi_value arg = convert(env, value);
      tsfn->Release();
      if (!fn.IsEmpty()) fn.Call({arg});
    });
  };
}

Napi::Value V2GetDownloadStatus(const Napi::CallbackInfo& info) {
  DownloaderV2* d = V2();
  if (!d) return Undefined(info);
  d->GetDownloadStatus(OneAnswer<DownloaderV2::StatusAnswer>(
      info, "downloaderV2_getDownloadStatus",
      [](Napi::Env env, const std::vector<korin::QXPlayerCoreDownloadStatus>& statuses) -> napi_value {
        Napi::Array a = Napi::Array::New(env, statuses.size());
        for (uint32_t i = 0; i < statuses.size(); ++i) a.Set(i, qxplayer::DownloadStatusToJs(env, statuses[i]));
        return a;
      }));
  return Undefined(info);
}

Napi::Value V2GetTemporaryCacheSize(const Napi::CallbackInfo& info) {
  DownloaderV2* d = V2();
  if (!d) return Undefined(info);
  d->GetTemporaryCacheSize(OneAnswer<DownloaderV2::SizeAnswer>(
      info, "downloaderV2_getTemporaryCacheSize",
      [](Napi::Env env, int64_t bytes) -> napi_value { return Napi::Number::New(env, static_cast<double>(bytes)); }));
  return Undefined(info);
}

// What JavaScript holds for a listener: the listener and the request it was
// added with. Freed on the JavaScript thread, after the downloader has let go.
struct ListenerEntry {
  std::shared_ptr<QXDownloadListener> listener;
  korin::QXPlayerCoreDownloadRequest request;
  ~ListenerEntry() {
    if (g_downloader_v2) g_downloader_v2->RemoveDownloadListener(request, listener.get());
  }
};

Napi::Value V2AddDownloadListener(const Napi::CallbackInfo& info) {
  korin::QXPlayerCoreDownloadRequest request = qxplayer::ReadRequest(info[0]);
  DownloaderV2* d = V2();
  if (!d) return Num(info, 0);
  auto listener = QXDownloadListener::Create(info.Env(), info[1]);
  if (!listener) return Num(info, 0);
  auto entry = std::make_shared<ListenerEntry>();
  entry->listener = listener;
  entry->request = request;
  d->AddDownloadListener(request, listener.get());
  return HandleValue(info.Env(), HandleRegistry::Add(HandleKind::kDownloadListener, entry));
}

Napi::Value V2RemoveDownloadListener(const Napi::CallbackInfo& info) {
  const korin::QXPlayerCoreDownloadRequest request = qxplayer::ReadRequest(info[0]);
  auto entry = HandleArg<ListenerEntry>(info[1], HandleKind::kDownloadListener, RowOf(info).name);
  if (entry && g_downloader_v2) g_downloader_v2->RemoveDownloadListener(request, entry->listener.get());
  return Undefined(info);
}

Napi::Value V2ReleaseDownloadListener(const Napi::CallbackInfo& info) {
  if (!HandleRegistry::Remove<ListenerEntry>(HandleKind::kDownloadListener, ToHandle(info[0])))
    LUMEN_LOG(kWarning, kTag) << RowOf(info).name << ": not a live download listener handle";
  return Undefined(info);
}

// ---- the table ---------------------------------------------------------------------

constexpr Failure kZero = FailWith(0);
constexpr char kPlayer[] = "player";
constexpr char kSource[] = "external data source";
constexpr char kListener[] = "download listener";

#define P(name, handler, types, message, failure) {"QXPlayer_" name, handler, AtLeast(types, message), failure, nullptr, kPlayer}
#define PLAYER_ACTION(name, op, types, message) P(name, Action<op>, types, message, kZero)
#define PLAYER_GET(name, R, M) P(name, GETTER(R, M), "n", kPtr, kZero)
#define ROW(name, handler, admission, failure) {name, handler, admission, failure}

const ExportRow kRows[] = {
    ROW("QXPlayer_constructor", Constructor, Free(), kZero),
    ROW("QXPlayer_globalInit", GlobalInit, Free(), kVoid),
    ROW("QXPlayer_getVersion", GetVersion, Free(), kVoid),
    ROW("QXPlayer_checkAndRemoveCache", CheckAndRemoveCache, AtLeast("snn", "invalid arguments"), kVoid),
    P("initPlayer", InitPlayer<false>, "n", kPtr, kZero),
    P("initPlayerWithShortAudioMode", InitPlayer<true>, "n", kPtr, kZero),
    P("initPlayerWithRender", InitPlayerWithRender, "no", "Expected arguments: player_ptr, render", kZero),
    P("setOutputYuv", SetOutputYuv, "nb", "Expected arguments: player_ptr, enable", kVoid),
    P("setDataSources", SetDataSources, "na", "Expected arguments: player_ptr, datasources", kVoid),
    P("setDataSource", SetDataSource, "no", "Expected arguments: pos, player_ptr", kVoid),
    P("setSubtitles", SetSubtitles, "na", "Expected arguments: player_ptr, subtitles", kVoid),
    P("setOptions", SetOptions, "no", "Expected arguments: player_ptr, options", kVoid),
    P("setCallback", SetCallback, "nc", "Expected arguments: player_ptr, callback", kVoid),
    PLAYER_ACTION("prepare", Prepare, "n", kPtr),
    PLAYER_ACTION("play", Play, "n", kPtr),
    PLAYER_ACTION("pause", Pause, "n", kPtr),
    P("seekTo", SeekTo, "nn", "Expected arguments: player_ptr, pos", kZero),
    P("seekToSegment", SeekToSegment, "nnn", "Expected arguments: player_ptr, segment, pos", kZero),
    P("destroy", Destroy, "n", kPtr, kZero),
    PLAYER_ACTION("setMute", SetMute, "nb", "Expected arguments: player_ptr, mute"),
    PLAYER_ACTION("setBlind", SetBlind, "nb", "Expected arguments: player_ptr, blind"),
    PLAYER_ACTION("setPlayRate", SetPlayRate, "nn", "Expected arguments: player_ptr, rate"),
    P("setLooping", SetLooping, "n*", "Expected 2 arguments", kZero),
    PLAYER_ACTION("setVolume", SetVolume, "nnn", "Expected arguments: player_ptr, left, right"),
    PLAYER_ACTION("setLazyLoad", SetLazyLoad, "nb", "Expected arguments: player_ptr, lazyLoad"),
    P("isPlaying", IsPlaying, "n", kPtr, kZero),
    PLAYER_GET("getVideoWidth", int16_t, GetVideoWidth),
    PLAYER_GET("getVideoHeight", int16_t, GetVideoHeight),
    PLAYER_GET("getVideoSarNum", int16_t, GetVideoSarNum),
    PLAYER_GET("getVideoSarDen", int16_t, GetVideoSarDen),
    PLAYER_GET("getVideoRotate", int16_t, GetVideoRotate),
    PLAYER_GET("getVideoFPS", int8_t, GetVideoFPS),
    PLAYER_GET("getDuration", int64_t, GetDuration),
    PLAYER_GET("getCurrentPosition", int64_t, GetCurrentPosition),
    PLAYER_GET("getPlayablePosition", int64_t, GetPlayablePosition),
    PLAYER_GET("getIOSpeedInBytesPerSecond", int64_t, GetIOSpeedInBytesPerSecond),
    PLAYER_GET("getSegmentNum", int32_t, GetSegmentNum),
    PLAYER_GET("getCurrentIndex", int32_t, GetCurrentIndex),
    P("getSegmentDuration", GetSegmentDuration, "nn", "Expected arguments: player_ptr, duration", kZero),
    P("insertSegment", InsertSegment, "non", "Expected arguments: player_ptr, segment, index", kVoid),
    P("deleteSegment", DeleteSegment, "nn", "Expected arguments: id, playerPtr", kVoid),
    PLAYER_ACTION("setSegmentAutoPlay", SetSegmentAutoPlay, "nb", "Expected arguments: id, auto play"),
    PLAYER_ACTION("markVideoPoint", MarkVideoPoint, "no", "Expected arguments: id, object"),
    P("getId", GETTER(int64_t, GetId), "n", "invalid arguments.", kMinusOne),
    P("getPlaybackStatus", GetPlaybackStatus, "n", kPtr, kVoid),
    P("setExternalDataSource", SetExternalDataSource, "nn", "Expected arguments: player_ptr, ds_ptr", kVoid),

    ROW("QXPlayer_downloader_setCacheDirectory", SetCacheDirectory, AtLeast("sn", "Expected 2 arguments"), kVoid),
    ROW("QXPlayer_downloader_addDownload", WithDownloader<AddDownload>, AtLeast("o", "Expected 1 arguments"), kVoid),
    ROW("QXPlayer_downloader_removeResourceWithUrl", WithDownloader<RemoveWithUrl>, AtLeast("s", "Expected 1 arguments"), kVoid),
    ROW("QXPlayer_downloader_removeResourceWithId", WithDownloader<RemoveWithId>, AtLeast("s", "Expected 1 arguments"), kVoid),
    ROW("QXPlayer_downloader_pause", WithDownloader<DownloaderPause>, Free(), kVoid),
    ROW("QXPlayer_downloader_resume", WithDownloader<DownloaderResume>, Free(), kVoid),
    ROW("QXPlayer_downloader_isPaused", DownloaderIsPaused, Free(), kVoid),

    ROW("QXPlayer_downloaderV2_init", V2Init, AtLeast("o", "Expected 1 argument: config"), kZero),
    ROW("QXPlayer_downloaderV2_destroy", V2Destroy, Free(), kVoid),
    ROW("QXPlayer_downloaderV2_isInitialized", V2IsInitialized, Free(), kVoid),
    ROW("QXPlayer_downloaderV2_addDownloadRequest", V2Request<&DownloaderV2::AddDownloadRequest>, AtLeast("o", "Expected 1 argument: request"), kVoid),
    ROW("QXPlayer_downloaderV2_pause", V2Request<&DownloaderV2::Pause>, AtLeast("o", "Expected 1 argument: request"), kVoid),
    ROW("QXPlayer_downloaderV2_resume", V2Request<&DownloaderV2::Resume>, AtLeast("o", "Expected 1 argument: request"), kVoid),
    ROW("QXPlayer_downloaderV2_clearTask", V2Request<&DownloaderV2::ClearTask>, AtLeast("o", "Expected 1 argument: request"), kVoid),
    ROW("QXPlayer_downloaderV2_remove", V2Request<&DownloaderV2::Remove>, AtLeast("o", "Expected 1 argument: request"), kVoid),
    ROW("QXPlayer_downloaderV2_pauseAll", V2All<&DownloaderV2::PauseAll>, Free(), kVoid),
    ROW("QXPlayer_downloaderV2_resumeAll", V2All<&DownloaderV2::ResumeAll>, Free(), kVoid),
    ROW("QXPlayer_downloaderV2_clearAllTemporaryTask", V2All<&DownloaderV2::ClearAllTemporaryTask>, Free(), kVoid),
    ROW("QXPlayer_downloaderV2_removeAll", V2All<&DownloaderV2::RemoveAll>, Free(), kVoid),
    ROW("QXPlayer_downloaderV2_removeTemporaryCache", V2All<&DownloaderV2::RemoveTemporaryCache>, Free(), kVoid),
    ROW("QXPlayer_downloaderV2_getDownloadStatus", V2GetDownloadStatus, AtLeast("f", "Expected 1 argument: callback"), kVoid),
    ROW("QXPlayer_downloaderV2_getTemporaryCacheSize", V2GetTemporaryCacheSize, AtLeast("f", "Expected 1 argument: callback"), kVoid),
    ROW("QXPlayer_downloaderV2_addDownloadListener", V2AddDownloadListener, AtLeast("oc", "Expected 2 arguments: request, listener"), kZero),
    ROW("QXPlayer_downloaderV2_removeDownloadListener", V2RemoveDownloadListener, AtLeast("on", "Expected 2 arguments: request, handle"), kVoid),
    {"QXPlayer_downloaderV2_releaseDownloadListener", V2ReleaseDownloadListener, AtLeast("n", "Expected 1 argument: handle"), kVoid, nullptr, kListener},

    ROW("QXPlayer_preloader_preload", Preload, AtLeast("o", "Expected 1 arguments"), kVoid),

    ROW("QXPlayerExternalDataSource_constructor", DataSourceConstructor, Free(), kZero),
    {"QXPlayerExternalDataSource_pushData", PushData, AtLeast("no", "Expected arguments: ds_ptr, data"), kMinusOne, nullptr, kSource},
    {"QXPlayerExternalDataSource_destroy", DataSourceDestroy, AtLeast("n", "Expected arguments: ds_ptr"), kVoid, nullptr, kSource},
};

}  // namespace

void RegisterQXPlayerGroup(napi_env env, napi_value exports) { AddExports(env, exports, kRows); }

void ReleaseQXPlayerGroup() {
  DownloaderV2* d = g_downloader_v2;
  g_downloader_v2 = nullptr;
  if (d) DownloaderV2::Destroy(d);
}

}  // namespace lumen_addon
