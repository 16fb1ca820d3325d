#include "QXPlayer/QXDownloadListener.h"

#include "QXPlayer/QXPlayerRecords.h"

namespace lumen_addon {

std::shared_ptr<QXDownloadListener> QXDownloadListener::Create(napi_env env, napi_value object) {
  auto strand = Strand::Create(env, "downloaderV2_downloadListener");
  if (!strand) return nullptr;
  auto listener = Listener::Make(env, "QXPlayer_downloaderV2_addDownloadListener", object);
  return std::shared_ptr<QXDownloadListener>(new QXDownloadListener(std::move(strand), std::move(listener)));
}

QXDownloadListener::~QXDownloadListener() { strand_->Close(); }

void QXDownloadListener::Retire() {
  strand_->Close();
  listener_->Clear();
}

void QXDownloadListener::OnDownloadStatusChanged(const korin::QXPlayerCoreDownloadStatus& status) {
  strand_->Emit(listener_, "onDownloadStatusChanged", status);
}

}  // namespace lumen_addon
