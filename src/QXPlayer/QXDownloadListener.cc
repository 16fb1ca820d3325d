#include "QXPlayer/QXDownloadListener.h"

#include "QXPlayer/QXPlayerRecords.h"

namespace lumen_addon {

std::shared_ptr<QXDownloadListener> QXDownloadListener::Create(napi_env env, napi_value listener) {
  auto target = std::make_shared<QXPlayerCallbackTarget>(env);
  target->Set(listener);
  auto tsfn = JsFunctionBridge::Create(env, nullptr, "downloaderV2_downloadListener");
  if (!tsfn) {
    target->Clear();
    return nullptr;
  }
  return std::shared_ptr<QXDownloadListener>(new QXDownloadListener(std::move(tsfn), std::move(target)));
}

QXDownloadListener::~QXDownloadListener() {
  tsfn_->Release();
  target_->Clear();
}

void QXDownloadListener::OnDownloadStatusChanged(const korin::QXPlayerCoreDownloadStatus& status) {
  tsfn_->Call([target = target_, status](Napi::Env env, Napi::Function) {
    napi_value arg = qxplayer::DownloadStatusToJs(env, status);
    target->Call("onDownloadStatusChanged", 1, &arg);
  });
}

}  // namespace lumen_addon
