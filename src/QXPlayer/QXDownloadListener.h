// A JavaScript listener of one download request of the V2 downloader: its
// status changes reach the listener's onDownloadStatusChanged on a strand of
// its own. Once retired (removed or released) nothing more reaches the
// listener; the object itself stays with the downloader until the
// downloader is destroyed, which may still be calling it.
#ifndef LUMEN_QXPLAYER_QXDOWNLOADLISTENER_H_
#define LUMEN_QXPLAYER_QXDOWNLOADLISTENER_H_

#include <napi.h>

#include <memory>

#include "korin/qx_player_downloader.h"
#include "qx_base/listener.h"
#include "qx_base/strand.h"

namespace lumen_addon {

class QXDownloadListener : public korin::QXPlayerCoreDownloadListener {
 public:
  // JavaScript thread; null after a failure, raised as a JavaScript exception.
  static std::shared_ptr<QXDownloadListener> Create(napi_env env, napi_value listener);
  ~QXDownloadListener() override;

  // Engine threads.
  void OnDownloadStatusChanged(const korin::QXPlayerCoreDownloadStatus& status) override;

  // JavaScript thread: nothing more reaches the listener object.
  void Retire();

 private:
  QXDownloadListener(std::shared_ptr<Strand> strand, std::shared_ptr<Listener> listener)
      : strand_(std::move(strand)), listener_(std::move(listener)) {}
  const std::shared_ptr<Strand> strand_;
  const std::shared_ptr<Listener> listener_;
};

}  // namespace lumen_addon

#endif  // LUMEN_QXPLAYER_QXDOWNLOADLISTENER_H_
