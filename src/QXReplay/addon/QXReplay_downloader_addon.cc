// The QXReplay_downloader_* group: replay downloaders held by JavaScript as
// handles, each apart from the others. Every argument error throws "wrong
// arguments"; a number that is no live downloader is logged and answered
// with nothing (false from isInitialized, 0 from the synchronous cache
// size), never dereferenced. Records are read strictly.
#include <napi.h>

#include <memory>

#include "QXReplay/QXReplayDownloader.h"
#include "QXReplay/QXReplayRecords.h"
#include "addon/groups.h"
#include "common/export_table.h"
#include "common/forward.h"
#include "common/logging.h"
#include "korin/replay/replay_downloader.h"
#include "qx_base/handle_arg.h"

namespace lumen_addon {
namespace {

using korin::replay::ReplayDownloader;
using Downloader = ByHandle<QXReplayDownloader>;

Napi::Value Init(const Napi::CallbackInfo& info) {
  Napi::Env env = info.Env();
  const auto config = From<korin::replay::DownloaderConfig>::Read(info[0]);
  // A key of another type was raised: nothing is made.
  if (env.IsExceptionPending()) return Napi::Number::New(env, 0);
  std::shared_ptr<QXReplayDownloader> downloader = QXReplayDownloader::Create(env, config);
  if (!downloader) {
    LUMEN_LOG(kError, "EngineAddon") << "QXReplay_downloader_init: no downloader initialised";
    return Napi::Number::New(env, 0);
  }
  return HandleValue(env, HandleRegistry::Add(HandleKind::kReplayDownloader, downloader));
}

Napi::Value Destroy(const Napi::CallbackInfo& info) {
  TakeHandleArg<QXReplayDownloader>(info);
  return info.Env().Undefined();
}

// The queries are the shared downloader's.
template <void (LibraryDownloader<ReplayDownloader>::*kQuery)(napi_value)>
Napi::Value Query(const Napi::CallbackInfo& info, LibraryDownloader<ReplayDownloader>& downloader) {
  (downloader.*kQuery)(info[1]);
  return info.Env().Undefined();
}

constexpr char kWrong[] = "wrong arguments";
constexpr HandleArgs kOnDownloader = Handles(HandleKind::kReplayDownloader);

#define D_ROW(js_name, handler, types, failure) \
  {"QXReplay_downloader_" js_name, handler, AtLeast(types, kWrong), failure, nullptr, kOnDownloader}
#define D_APPLY(js_name, Method, types) \
  D_ROW(js_name, (Forward<Downloader, &ReplayDownloader::Method, UnlessRaised<NoAnswer>>), types, kVoid)

const ExportRow kRows[] = {
    {"QXReplay_downloader_setCacheDirectory", ForwardFunction<&ReplayDownloader::SetCacheDirectory>,
     AtLeast("sn", kWrong), kVoid},
    {"QXReplay_downloader_init", Init, AtLeast("o", kWrong), FailWith(0)},
    D_ROW("destroy", Destroy, "n", kVoid),
    D_ROW("isInitialized", (Forward<Downloader, &ReplayDownloader::IsInitialized, ValueOrZero>), "n", kFalse),
    D_APPLY("addDownloadRequest", AddDownloadRequest, "no"),
    D_APPLY("pause", Pause, "no"),
    D_APPLY("resume", Resume, "no"),
    D_APPLY("pauseAll", PauseAll, "n"),
    D_APPLY("resumeAll", ResumeAll, "n"),
    D_APPLY("remove", Remove, "nob"),
    D_APPLY("removeWithRoomId", RemoveWithRoomId, "nob"),
    D_APPLY("removeAll", RemoveAll, "nb"),
    D_ROW("getDownloadStatus", (OnEngine<Downloader, Query<&QXReplayDownloader::GetDownloadStatus>>), "nf", kVoid),
    D_ROW("getTemporaryCacheSize", (OnEngine<Downloader, Query<&QXReplayDownloader::GetTemporaryCacheSize>>), "nf",
          kVoid),
    D_ROW("getTemporaryCacheSizeSync", (Forward<Downloader, &ReplayDownloader::GetTemporaryCacheSizeSync, ValueOrZero>),
          "n", FailWith(0)),
    D_APPLY("removeTemporaryCache", RemoveTemporaryCache, "nb"),
};

#undef D_APPLY
#undef D_ROW

}  // namespace

void RegisterQXReplayDownloaderGroup(napi_env env, napi_value exports) { AddExports(env, exports, kRows); }

}  // namespace lumen_addon
