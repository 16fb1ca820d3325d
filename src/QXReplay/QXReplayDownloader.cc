#include "QXReplay/QXReplayDownloader.h"

namespace lumen_addon {

using korin::replay::ReplayDownloader;

std::shared_ptr<QXReplayDownloader> QXReplayDownloader::Create(napi_env env,
                                                               const korin::replay::DownloaderConfig& config) {
  auto strand = Strand::Create(env, "QXReplayDownload");
  if (!strand) return nullptr;
  ReplayDownloader* engine = Make(config, &ReplayDownloader::Initialize);
  if (!engine) return nullptr;
  return std::shared_ptr<QXReplayDownloader>(new QXReplayDownloader(engine, std::move(strand)));
}

QXReplayDownloader::~QXReplayDownloader() {
  DestroyEngine();
  replies_.DropAllAfterQueued();
}

}  // namespace lumen_addon
