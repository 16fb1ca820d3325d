// The V2 downloader, one per process: its query answers on a strand of its
// own, and the listeners it was handed, kept until it is destroyed.
#ifndef LUMEN_QXPLAYER_QXPLAYERDOWNLOADERV2_H_
#define LUMEN_QXPLAYER_QXPLAYERDOWNLOADERV2_H_

#include <memory>

#include "QXPlayer/QXDownloadListener.h"
#include "QXPlayer/QXPlayerRecords.h"  // the answers' conversions
#include "korin/qx_player_downloader.h"
#include "qx_base/keep_alive.h"
#include "qx_base/library_downloader.h"

namespace lumen_addon {

class QXPlayerDownloaderV2 : public LibraryDownloader<korin::QXPlayerCoreDownloaderV2Interface> {
 public:
  // Null when the library made none, or it would not initialise.
  static std::shared_ptr<QXPlayerDownloaderV2> Create(napi_env env, const korin::QXPlayerCoreDownloaderV2Config& config);
  // Destroys the library's downloader first, then lets go of what it called;
  // queries never answered, and answers queued, are dropped uncalled.
  ~QXPlayerDownloaderV2();

  void AddListener(const korin::QXPlayerCoreDownloadRequest& request, std::shared_ptr<QXDownloadListener> listener);
  void RemoveListener(const korin::QXPlayerCoreDownloadRequest& request, QXDownloadListener* listener);
  // Removes it and retires it: kept until the downloader goes.
  void ReleaseListener(const korin::QXPlayerCoreDownloadRequest& request, std::shared_ptr<QXDownloadListener> listener);

 private:
  using LibraryDownloader::LibraryDownloader;
  KeepAlive handed_;
};

}  // namespace lumen_addon

#endif  // LUMEN_QXPLAYER_QXPLAYERDOWNLOADERV2_H_
