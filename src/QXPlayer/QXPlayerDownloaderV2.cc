#include "QXPlayer/QXPlayerDownloaderV2.h"

namespace lumen_addon {

using DownloaderV2 = korin::QXPlayerCoreDownloaderV2Interface;

std::shared_ptr<QXPlayerDownloaderV2> QXPlayerDownloaderV2::Create(napi_env env,
                                                                   const korin::QXPlayerCoreDownloaderV2Config& config) {
  auto strand = Strand::Create(env, "downloaderV2");
  if (!strand) return nullptr;
  DownloaderV2* engine = Make(config, &DownloaderV2::Init);
  if (!engine) return nullptr;
  return std::shared_ptr<QXPlayerDownloaderV2>(new QXPlayerDownloaderV2(engine, std::move(strand)));
}

QXPlayerDownloaderV2::~QXPlayerDownloaderV2() {
  DestroyEngine();
  strand_->Close();
  replies_.DropAll();
  handed_.Clear();
}

void QXPlayerDownloaderV2::AddListener(const korin::QXPlayerCoreDownloadRequest& request,
                                       std::shared_ptr<QXDownloadListener> listener) {
  engine_->AddDownloadListener(request, listener.get());
}

void QXPlayerDownloaderV2::RemoveListener(const korin::QXPlayerCoreDownloadRequest& request,
                                          QXDownloadListener* listener) {
  engine_->RemoveDownloadListener(request, listener);
}

void QXPlayerDownloaderV2::ReleaseListener(const korin::QXPlayerCoreDownloadRequest& request,
                                           std::shared_ptr<QXDownloadListener> listener) {
  engine_->RemoveDownloadListener(request, listener.get());
  handed_.Retire(std::move(listener));
}

}  // namespace lumen_addon
