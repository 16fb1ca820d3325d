#include "QXReplay/QXReplayDownloader.h"

#include "QXReplay/QXReplayRecords.h"

namespace lumen_addon {

using korin::replay::ReplayDownloader;

std::shared_ptr<QXReplayDownloader> QXReplayDownloader::Create(napi_env env,
                                                               const korin::replay::DownloaderConfig& config) {
  auto strand = Strand::Create(env, "QXReplayDownload");
  if (!strand) return nullptr;
  ReplayDownloader* engine = ReplayDownloader::Create();
  if (!engine) return nullptr;
  if (!engine->Initialize(config)) {
    ReplayDownloader::Destroy(engine);
    return nullptr;
  }
  return std::shared_ptr<QXReplayDownloader>(new QXReplayDownloader(engine, std::move(strand)));
}

QXReplayDownloader::~QXReplayDownloader() {
  ReplayDownloader::Destroy(engine_);
  replies_.DropAllAfterQueued();
}

void QXReplayDownloader::GetDownloadStatus(napi_value fn) {
  if (const uint32_t id = replies_.Add(fn)) engine_->GetDownloadStatus(replies_.Answerer(id));
}

void QXReplayDownloader::GetTemporaryCacheSize(napi_value fn) {
  if (const uint32_t id = replies_.Add(fn)) engine_->GetTemporaryCacheSize(replies_.Answerer(id));
}

}  // namespace lumen_addon
