// A JavaScript listener of one download request of the V2 downloader: its
// status changes reach the listener's onDownloadStatusChanged through a
// thread-safe function. JavaScript holds it by handle until it releases it.
#ifndef LUMEN_QXPLAYER_QXDOWNLOADLISTENER_H_
#define LUMEN_QXPLAYER_QXDOWNLOADLISTENER_H_

#include <napi.h>

#include <memory>

#include "QXPlayer/QXPlayerCallbackTarget.h"
#include "callback/threadsafe_function.h"
#include "korin/qx_player_downloader.h"

namespace lumen_addon {

class QXDownloadListener : public korin::QXPlayerCoreDownloadListener {
 public:
  // JavaScript thread; null after a failure, raised as a JavaScript exception.
  static std::shared_ptr<QXDownloadListener> Create(napi_env env, napi_value listener);
  // JavaScript thread, once no downloader can call it any more.
  ~QXDownloadListener() override;

  void OnDownloadStatusChanged(const korin::QXPlayerCoreDownloadStatus& status) override;

 private:
  QXDownloadListener(std::shared_ptr<JsFunctionBridge> tsfn, std::shared_ptr<QXPlayerCallbackTarget> target)
      : tsfn_(std::move(tsfn)), target_(std::move(target)) {}
  std::shared_ptr<JsFunctionBridge> tsfn_;
  std::shared_ptr<QXPlayerCallbackTarget> target_;
};

}  // namespace lumen_addon

#endif  // LUMEN_QXPLAYER_QXDOWNLOADLISTENER_H_
