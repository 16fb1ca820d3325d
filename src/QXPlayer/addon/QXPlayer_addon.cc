// The QXPlayer_* group: players, their renderer, downloads, the key
// preloader and external data sources. Players, data sources and download
// listeners are held by JavaScript as handles; a number that is not a live
// object of the kind its row names is never dereferenced.
#include <napi.h>

#include <memory>
#include <vector>

#include "QXPlayer/QXDownloadListener.h"
#include "QXPlayer/QXPlayer.h"
#include "QXPlayer/QXPlayerDownloaderV2.h"
#include "QXPlayer/QXPlayerRecords.h"
#include "addon/groups.h"
#include "common/byte_view.h"
#include "common/convert.h"
#include "common/export_table.h"
#include "common/forward.h"
#include "common/logging.h"
#include "korin/qx_player_core.h"
#include "korin/qx_player_downloader.h"
#include "qx_base/handle_arg.h"

namespace lumen_addon {
namespace {

constexpr char kTag[] = "EngineAddon";
constexpr char kPtr[] = "Expected arguments: player_ptr";

using korin::QXPlayerCore;
using Downloader = korin::QXPlayerCoreDownloaderInterface;
using DownloaderV2 = korin::QXPlayerCoreDownloaderV2Interface;
using Preloader = korin::QXPlayerCoreDecryptionKeyPreloaderInterface;
using DataSource = korin::QXPlayerCoreExternalDataSource;

Napi::Value Bool(const Napi::CallbackInfo& info, bool b) { return js::Boolean(info.Env(), b); }
Napi::Value Undefined(const Napi::CallbackInfo& info) { return info.Env().Undefined(); }

// Throws `message` and answers the row's failure value.
Napi::Value Refuse(const Napi::CallbackInfo& info, const char* message) {
  Napi::Error::New(info.Env(), message).ThrowAsJavaScriptException();
  return FailureValue(info.Env(), RowOf(info).failure);
}

bool OptionalBool(const Napi::CallbackInfo& info, size_t i) {
  return info.Length() > i && info[i].IsBoolean() && info[i].As<Napi::Boolean>().Value();
}

// ---- engine kinds ----------------------------------------------------------------

void LogNoPlayer() { LUMEN_LOG(kError, kTag) << "QXPlpayer is not created yet."; }

// A player by its handle (info[0]); a number that is no live player is
// logged as the group's missing player.
struct Player : ByHandle<QXPlayer> {
  static std::shared_ptr<QXPlayer> Find(const Napi::CallbackInfo& info) {
    auto player = HandleArg<QXPlayer>(info);
    if (!player) LogNoPlayer();
    return player;
  }
};

// An engine object the library owns and hands out per call (null: none).
template <typename E>
struct Borrowed {
  E* engine;
  template <typename Op>
  bool Visit(Op&& op) {
    if (!engine) return false;
    op(engine);
    return true;
  }
};
template <typename E, E* (*Get)()>
struct LibraryObject {
  using Wrapper = Borrowed<E>;
  static std::shared_ptr<Wrapper> Find(const Napi::CallbackInfo&) { return std::make_shared<Wrapper>(Wrapper{Get()}); }
  static Napi::Value Missing(const Napi::CallbackInfo& info) { return info.Env().Undefined(); }
};
using SharedDownloader = LibraryObject<Downloader, &Downloader::GetDownloader>;
using KeyPreloader = LibraryObject<Preloader, &Preloader::GetPreloader>;

// One V2 downloader per process; only the JavaScript thread touches the slot.
std::shared_ptr<QXPlayerDownloaderV2>& V2Slot() {
  static auto* slot = new std::shared_ptr<QXPlayerDownloaderV2>;
  return *slot;
}

struct V2 {
  using Wrapper = QXPlayerDownloaderV2;
  static std::shared_ptr<QXPlayerDownloaderV2> Find(const Napi::CallbackInfo&) {
    if (!V2Slot()) LUMEN_LOG(kWarning, kTag) << "downloaderV2 is not initialized.";
    return V2Slot();
  }
  static Napi::Value Missing(const Napi::CallbackInfo& info) { return info.Env().Undefined(); }
};

// ---- players -----------------------------------------------------------------------

Napi::Value Constructor(const Napi::CallbackInfo& info) {
  return HandleValue(info.Env(), HandleRegistry::Add(HandleKind::kPlayer, std::make_shared<QXPlayer>(info.Env())));
}

// The render object, when there is one, is the second argument.
template <bool kShortAudio, bool kWithRender = false>
Napi::Value InitPlayer(const Napi::CallbackInfo& info) {
  auto p = Player::Find(info);
  if (!p) return Bool(info, false);
  p->Init(info.Env(), kWithRender ? static_cast<napi_value>(info[1]) : nullptr, kShortAudio);
  return Bool(info, true);
}

Napi::Value SetOutputYuv(const Napi::CallbackInfo& info) {
  auto p = HandleArg<QXPlayer>(info);
  if (!p) LUMEN_LOG(kError, kTag) << "QXPlayer is not created yet.";
  if (p && p->renderer()) p->renderer()->SetOutputI420(info[1].As<Napi::Boolean>().Value());
  return Undefined(info);
}

// Arguments are read before the core is looked at: a getter may destroy the player.
Napi::Value SetDataSources(const Napi::CallbackInfo& info) {
  auto p = Player::Find(info);
  if (!p) return Undefined(info);
  auto sources = From<std::vector<korin::QXPlayerCoreDataSource>>::Read(info[1]);
  const bool flag = OptionalBool(info, 2);
  p->Visit([&](QXPlayerCore* core) { core->SetDataSources(sources, flag); });
  return Undefined(info);
}

Napi::Value SetDataSource(const Napi::CallbackInfo& info) {
  auto p = Player::Find(info);
  if (!p) return Undefined(info);
  auto source = From<korin::QXPlayerCoreDataSource>::Read(info[1]);
  const bool flag = info.Length() == 3 && OptionalBool(info, 2);
  p->Visit([&](QXPlayerCore* core) { core->SetDataSources({source}, flag); });
  return Undefined(info);
}

Napi::Value SetOptions(const Napi::CallbackInfo& info) {
  auto p = Player::Find(info);
  if (!p) return Undefined(info);
  korin::QXPlayerCoreOptions options = From<korin::QXPlayerCoreOptions>::Read(info[1]);
  p->options() = options;
  return Undefined(info);
}

Napi::Value SetCallback(const Napi::CallbackInfo& info) {
  if (auto p = Player::Find(info)) p->listener().Set(info[1]);
  return Undefined(info);
}

Napi::Value Prepare(const Napi::CallbackInfo& info) {
  auto p = Player::Find(info);
  if (!p) return Bool(info, false);
  p->Visit([&](QXPlayerCore* core) { core->Prepare(p->options()); });
  return Bool(info, true);
}

Napi::Value Destroy(const Napi::CallbackInfo& info) {
  auto p = TakeHandleArg<QXPlayer>(info);
  if (!p) {
    LogNoPlayer();
    return Bool(info, false);
  }
  p->Destroy();
  return Bool(info, true);
}

Napi::Value SetLooping(const Napi::CallbackInfo& info) {
  if (!info[1].IsBoolean()) return Refuse(info, "invalid arguments");
  return Forward<Player, &QXPlayerCore::SetLooping, TrueIfLive>(info);
}

int64_t Int64Of(const Napi::Value& v) { return v.As<Napi::Number>().Int64Value(); }

// The optional last argument picks the overload; when present it must be a number.
Napi::Value SeekTo(const Napi::CallbackInfo& info) {
  const bool extra = info.Length() > 2;
  if (extra && !info[2].IsNumber()) return Refuse(info, "the third arg should be number");
  auto p = Player::Find(info);
  if (!p) return Bool(info, false);
  p->Visit([&](QXPlayerCore* core) {
    if (extra)
      core->SeekTo(Int64Of(info[1]), Int64Of(info[2]));
    else
      core->SeekTo(Int64Of(info[1]));
  });
  return Bool(info, true);
}

Napi::Value SeekToSegment(const Napi::CallbackInfo& info) {
  const bool extra = info.Length() > 3;
  if (extra && !info[3].IsNumber()) return Refuse(info, "the fourth arg should be number");
  auto p = Player::Find(info);
  if (!p) return Bool(info, false);
  p->Visit([&](QXPlayerCore* core) {
    const int32_t segment = info[1].As<Napi::Number>().Int32Value();
    if (extra)
      core->SeekToSegment(segment, Int64Of(info[2]), Int64Of(info[3]));
    else
      core->SeekToSegment(segment, Int64Of(info[2]));
  });
  return Bool(info, true);
}

// Undefined without a live player or before initialisation.
Napi::Value GetPlaybackStatus(const Napi::CallbackInfo& info) {
  auto p = Player::Find(info);
  Napi::Value status = Undefined(info);
  if (p) p->Visit([&](QXPlayerCore* core) { status = ToJs<korin::QXPlayerCorePlaybackStatus>::New(info.Env(), core->GetPlaybackStatus()); });
  return status;
}

// ---- external data sources -----------------------------------------------------------

Napi::Value DataSourceConstructor(const Napi::CallbackInfo& info) {
  std::shared_ptr<DataSource> source = DataSource::Create();
  return HandleValue(info.Env(), HandleRegistry::Add(HandleKind::kExternalDataSource, source));
}

// data: { type, seekPosition, data } (the bytes also accepted as `bytes`).
Napi::Value PushData(const Napi::CallbackInfo& info) {
  auto source = HandleArg<DataSource>(info);
  if (!source) return js::Number(info.Env(), -1);
  Napi::Object data = js::ToObject(info[1]);
  if (data.IsEmpty()) return js::Number(info.Env(), -1);
  const int32_t type = js::Int32At(data, "type");
  const int64_t seek = js::Int64At(data, "seekPosition");
  Napi::Value bytes_value = js::Get(data, "data");
  if (!js::IsSet(bytes_value)) bytes_value = js::Get(data, "bytes");
  // Viewed last: a getter above may have detached the buffer.
  const js::ByteView bytes = js::ViewBytes(bytes_value);
  return js::Number(info.Env(), source->PushData(type, seek, bytes.data, bytes.size));
}

Napi::Value DataSourceDestroy(const Napi::CallbackInfo& info) {
  // Players reading from it keep their share; it is freed with the last.
  TakeHandleArg<DataSource>(info);
  return Undefined(info);
}

// ds_ptr 0 detaches; any other number must be a live data source.
Napi::Value SetExternalDataSource(const Napi::CallbackInfo& info) {
  auto p = Player::Find(info);
  if (!p) return Undefined(info);
  std::shared_ptr<DataSource> source;
  if (ToHandle(info[1]) != 0) {
    source = HandleArg<DataSource>(info, 1);
    if (!source) return Undefined(info);
  }
  p->Visit([&](QXPlayerCore* core) { core->SetExternalDataSource(std::move(source)); });
  return Undefined(info);
}

// ---- shared downloader and V2 downloader --------------------------------------------

Napi::Value DownloaderIsPaused(const Napi::CallbackInfo& info) {
  Downloader* d = Downloader::GetDownloader();
  return Bool(info, d == nullptr || d->IsPaused());
}

Napi::Value V2Init(const Napi::CallbackInfo& info) {
  const auto config = From<korin::QXPlayerCoreDownloaderV2Config>::Read(info[0]);
  if (V2Slot()) return Bool(info, true);  // the first one stays
  V2Slot() = QXPlayerDownloaderV2::Create(info.Env(), config);
  return Bool(info, V2Slot() != nullptr);
}

Napi::Value V2Destroy(const Napi::CallbackInfo& info) {
  std::shared_ptr<QXPlayerDownloaderV2> gone;
  gone.swap(V2Slot());
  return Undefined(info);
}

Napi::Value V2IsInitialized(const Napi::CallbackInfo& info) { return Bool(info, V2Slot() != nullptr); }

Napi::Value V2GetDownloadStatus(const Napi::CallbackInfo& info) {
  if (auto d = V2::Find(info)) d->GetDownloadStatus(info[0]);
  return Undefined(info);
}

Napi::Value V2GetTemporaryCacheSize(const Napi::CallbackInfo& info) {
  if (auto d = V2::Find(info)) d->GetTemporaryCacheSize(info[0]);
  return Undefined(info);
}

// What JavaScript holds for a listener: the listener, the request it was
// added with and the downloader it was handed to. Letting go of it (release,
// or the environment's teardown) retires the listener into that downloader.
struct ListenerEntry {
  std::shared_ptr<QXDownloadListener> listener;
  korin::QXPlayerCoreDownloadRequest request;
  std::weak_ptr<QXPlayerDownloaderV2> downloader;
  ~ListenerEntry() {
    if (auto d = downloader.lock())
      d->ReleaseListener(request, std::move(listener));
    else
      listener->Retire();
  }
};

Napi::Value V2AddDownloadListener(const Napi::CallbackInfo& info) {
  const auto request = From<korin::QXPlayerCoreDownloadRequest>::Read(info[0]);
  auto d = V2::Find(info);
  if (!d) return js::Number(info.Env(), 0);
  auto listener = QXDownloadListener::Create(info.Env(), info[1]);
  if (!listener) return js::Number(info.Env(), 0);
  auto entry = std::make_shared<ListenerEntry>();
  entry->listener = listener;
  entry->request = request;
  entry->downloader = d;
  d->AddListener(request, listener);
  return HandleValue(info.Env(), HandleRegistry::Add(HandleKind::kDownloadListener, entry));
}

Napi::Value V2RemoveDownloadListener(const Napi::CallbackInfo& info) {
  const auto request = From<korin::QXPlayerCoreDownloadRequest>::Read(info[0]);
  auto entry = HandleArg<ListenerEntry>(info, 1);
  if (!entry) return Undefined(info);
  if (auto d = entry->downloader.lock()) d->RemoveListener(request, entry->listener.get());
  return Undefined(info);
}

Napi::Value V2ReleaseDownloadListener(const Napi::CallbackInfo& info) {
  TakeHandleArg<ListenerEntry>(info);
  return Undefined(info);
}

// ---- the table ------------------------------------------------------------------------

constexpr Failure kZero = FailWith(0);
constexpr HandleArgs kOnPlayer = Handles(HandleKind::kPlayer);

#define P(name, handler, types, message, failure) \
  {"QXPlayer_" name, handler, AtLeast(types, message), failure, nullptr, kOnPlayer}
// Actions answer true for a live player, whether or not its core exists.
#define ACTION(name, Method, types, message) P(name, (Forward<Player, &QXPlayerCore::Method, TrueIfLive>), types, message, kZero)
// Getters answer 0 without a live player or before initialisation.
#define GETTER(name, Method, types, message) P(name, (Forward<Player, &QXPlayerCore::Method, ValueOrZero>), types, message, kZero)
#define APPLY(name, Method, types, message) P(name, (Forward<Player, &QXPlayerCore::Method, NoAnswer>), types, message, kVoid)
#define ROW(name, handler, admission, failure) {name, handler, admission, failure}
#define V2_ROW(name, Method, admission) ROW("QXPlayer_downloaderV2_" name, (Forward<V2, &DownloaderV2::Method, NoAnswer>), admission, kVoid)
#define SHARED(name, Method, admission) ROW("QXPlayer_downloader_" name, (Forward<SharedDownloader, &Downloader::Method, NoAnswer>), admission, kVoid)

const ExportRow kRows[] = {
    ROW("QXPlayer_constructor", Constructor, Free(), kZero),
    ROW("QXPlayer_globalInit", ForwardFunction<&QXPlayerCore::GlobalInit>, Free(), kVoid),
    ROW("QXPlayer_getVersion", ForwardFunction<&QXPlayerCore::GetVersion>, Free(), kVoid),
    ROW("QXPlayer_checkAndRemoveCache", ForwardFunction<&QXPlayerCore::CheckAndRemoveCache>, AtLeast("snn", "invalid arguments"), kVoid),
    P("initPlayer", InitPlayer<false>, "n", kPtr, kZero),
    P("initPlayerWithShortAudioMode", InitPlayer<true>, "n", kPtr, kZero),
    P("initPlayerWithRender", (InitPlayer<false, true>), "no", "Expected arguments: player_ptr, render", kZero),
    P("setOutputYuv", SetOutputYuv, "nb", "Expected arguments: player_ptr, enable", kVoid),
    P("setDataSources", SetDataSources, "na", "Expected arguments: player_ptr, datasources", kVoid),
    P("setDataSource", SetDataSource, "no", "Expected arguments: pos, player_ptr", kVoid),
    APPLY("setSubtitles", SetSubtitles, "na", "Expected arguments: player_ptr, subtitles"),
    P("setOptions", SetOptions, "no", "Expected arguments: player_ptr, options", kVoid),
    P("setCallback", SetCallback, "nc", "Expected arguments: player_ptr, callback", kVoid),
    P("prepare", Prepare, "n", kPtr, kZero),
    ACTION("play", Play, "n", kPtr),
    ACTION("pause", Pause, "n", kPtr),
    P("seekTo", SeekTo, "nn", "Expected arguments: player_ptr, pos", kZero),
    P("seekToSegment", SeekToSegment, "nnn", "Expected arguments: player_ptr, segment, pos", kZero),
    P("destroy", Destroy, "n", kPtr, kZero),
    ACTION("setMute", SetMute, "nb", "Expected arguments: player_ptr, mute"),
    ACTION("setBlind", SetBlind, "nb", "Expected arguments: player_ptr, blind"),
    ACTION("setPlayRate", SetPlayRate, "nn", "Expected arguments: player_ptr, rate"),
    P("setLooping", SetLooping, "n*", "Expected 2 arguments", kZero),
    ACTION("setVolume", SetVolume, "nnn", "Expected arguments: player_ptr, left, right"),
    ACTION("setLazyLoad", SetLazyLoad, "nb", "Expected arguments: player_ptr, lazyLoad"),
    GETTER("isPlaying", IsPlaying, "n", kPtr),
    GETTER("getVideoWidth", GetVideoWidth, "n", kPtr),
    GETTER("getVideoHeight", GetVideoHeight, "n", kPtr),
    GETTER("getVideoSarNum", GetVideoSarNum, "n", kPtr),
    GETTER("getVideoSarDen", GetVideoSarDen, "n", kPtr),
    GETTER("getVideoRotate", GetVideoRotate, "n", kPtr),
    GETTER("getVideoFPS", GetVideoFPS, "n", kPtr),
    GETTER("getDuration", GetDuration, "n", kPtr),
    GETTER("getCurrentPosition", GetCurrentPosition, "n", kPtr),
    GETTER("getPlayablePosition", GetPlayablePosition, "n", kPtr),
    GETTER("getIOSpeedInBytesPerSecond", GetIOSpeedInBytesPerSecond, "n", kPtr),
    GETTER("getSegmentNum", GetSegmentNum, "n", kPtr),
    GETTER("getCurrentIndex", GetCurrentIndex, "n", kPtr),
    GETTER("getSegmentDuration", GetSegmentDuration, "nn", "Expected arguments: player_ptr, duration"),
    APPLY("insertSegment", InsertSegment, "non", "Expected arguments: player_ptr, segment, index"),
    APPLY("deleteSegment", DeleteSegment, "nn", "Expected arguments: id, playerPtr"),
    ACTION("setSegmentAutoPlay", SetSegmentAutoPlay, "nb", "Expected arguments: id, auto play"),
    ACTION("markVideoPoint", MarkVideoPoint, "no", "Expected arguments: id, object"),
    P("getId", (Forward<Player, &QXPlayerCore::GetId, ValueOrZero>), "n", "invalid arguments.", kMinusOne),
    P("getPlaybackStatus", GetPlaybackStatus, "n", kPtr, kVoid),
    {"QXPlayer_setExternalDataSource", SetExternalDataSource, AtLeast("nn", "Expected arguments: player_ptr, ds_ptr"),
     kVoid, nullptr, Handles(HandleKind::kPlayer, HandleKind::kExternalDataSource)},

    ROW("QXPlayer_downloader_setCacheDirectory", ForwardFunction<&Downloader::SetCacheDirectory>,
        AtLeast("sn", "Expected 2 arguments"), kVoid),
    SHARED("addDownload", AddDownload, AtLeast("o", "Expected 1 arguments")),
    SHARED("removeResourceWithUrl", RemoveResourceWithUrl, AtLeast("s", "Expected 1 arguments")),
    SHARED("removeResourceWithId", RemoveResourceWithId, AtLeast("s", "Expected 1 arguments")),
    SHARED("pause", Pause, Free()),
    SHARED("resume", Resume, Free()),
    ROW("QXPlayer_downloader_isPaused", DownloaderIsPaused, Free(), kVoid),

    ROW("QXPlayer_downloaderV2_init", V2Init, AtLeast("o", "Expected 1 argument: config"), kZero),
    ROW("QXPlayer_downloaderV2_destroy", V2Destroy, Free(), kVoid),
    ROW("QXPlayer_downloaderV2_isInitialized", V2IsInitialized, Free(), kVoid),
    V2_ROW("addDownloadRequest", AddDownloadRequest, AtLeast("o", "Expected 1 argument: request")),
    V2_ROW("pause", Pause, AtLeast("o", "Expected 1 argument: request")),
    V2_ROW("resume", Resume, AtLeast("o", "Expected 1 argument: request")),
    V2_ROW("clearTask", ClearTask, AtLeast("o", "Expected 1 argument: request")),
    V2_ROW("remove", Remove, AtLeast("o", "Expected 1 argument: request")),
    V2_ROW("pauseAll", PauseAll, Free()),
    V2_ROW("resumeAll", ResumeAll, Free()),
    V2_ROW("clearAllTemporaryTask", ClearAllTemporaryTask, Free()),
    V2_ROW("removeAll", RemoveAll, Free()),
    V2_ROW("removeTemporaryCache", RemoveTemporaryCache, Free()),
    ROW("QXPlayer_downloaderV2_getDownloadStatus", V2GetDownloadStatus, AtLeast("f", "Expected 1 argument: callback"), kVoid),
    ROW("QXPlayer_downloaderV2_getTemporaryCacheSize", V2GetTemporaryCacheSize,
        AtLeast("f", "Expected 1 argument: callback"), kVoid),
    ROW("QXPlayer_downloaderV2_addDownloadListener", V2AddDownloadListener,
        AtLeast("oc", "Expected 2 arguments: request, listener"), kZero),
    {"QXPlayer_downloaderV2_removeDownloadListener", V2RemoveDownloadListener,
     AtLeast("on", "Expected 2 arguments: request, handle"), kVoid, nullptr,
     Handles(HandleKind::kNone, HandleKind::kDownloadListener)},
    {"QXPlayer_downloaderV2_releaseDownloadListener", V2ReleaseDownloadListener,
     AtLeast("n", "Expected 1 argument: handle"), kVoid, nullptr, Handles(HandleKind::kDownloadListener)},

    ROW("QXPlayer_preloader_preload", (Forward<KeyPreloader, &Preloader::Preload, NoAnswer>),
        AtLeast("o", "Expected 1 arguments"), kVoid),

    ROW("QXPlayerExternalDataSource_constructor", DataSourceConstructor, Free(), kZero),
    {"QXPlayerExternalDataSource_pushData", PushData, AtLeast("no", "Expected arguments: ds_ptr, data"), kMinusOne,
     nullptr, Handles(HandleKind::kExternalDataSource)},
    {"QXPlayerExternalDataSource_destroy", DataSourceDestroy, AtLeast("n", "Expected arguments: ds_ptr"), kVoid,
     nullptr, Handles(HandleKind::kExternalDataSource)},
};

}  // namespace

void RegisterQXPlayerGroup(napi_env env, napi_value exports) { AddExports(env, exports, kRows); }

void ReleaseQXPlayerGroup() { V2Slot().reset(); }

}  // namespace lumen_addon
