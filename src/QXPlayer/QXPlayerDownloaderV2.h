// The V2 downloader, one per process: the library's downloader, the strand
// its query answers travel on (a reply table), and the listeners it was
// handed, kept until it is destroyed.
#ifndef LUMEN_QXPLAYER_QXPLAYERDOWNLOADERV2_H_
#define LUMEN_QXPLAYER_QXPLAYERDOWNLOADERV2_H_

#include <napi.h>

#include <memory>

#include "QXPlayer/QXDownloadListener.h"
#include "korin/qx_player_downloader.h"
#include "qx_base/keep_alive.h"
#include "qx_base/reply_table.h"
#include "qx_base/strand.h"

namespace lumen_addon {

// JavaScript thread only.
class QXPlayerDownloaderV2 {
 public:
  // Null when the library made none, or it would not initialise.
  static std::shared_ptr<QXPlayerDownloaderV2> Create(napi_env env, const korin::QXPlayerCoreDownloaderV2Config& config);
  // Destroys the library's downloader first, then lets go of what it called;
  // queries never answered are dropped uncalled.
  ~QXPlayerDownloaderV2();
  QXPlayerDownloaderV2(const QXPlayerDownloaderV2&) = delete;
  QXPlayerDownloaderV2& operator=(const QXPlayerDownloaderV2&) = delete;

  // The forwarding frame's look-in: the library's downloader lives as long as this.
  template <typename Op>
  bool Visit(Op&& op) {
    op(engine_);
    return true;
  }

  // The answer reaches `fn` on the JavaScript thread, once.
  void GetDownloadStatus(napi_value fn);
  void GetTemporaryCacheSize(napi_value fn);

  void AddListener(const korin::QXPlayerCoreDownloadRequest& request, std::shared_ptr<QXDownloadListener> listener);
  void RemoveListener(const korin::QXPlayerCoreDownloadRequest& request, QXDownloadListener* listener);
  // Removes it and retires it: kept until the downloader goes.
  void ReleaseListener(const korin::QXPlayerCoreDownloadRequest& request, std::shared_ptr<QXDownloadListener> listener);

 private:
  QXPlayerDownloaderV2(korin::QXPlayerCoreDownloaderV2Interface* engine, std::shared_ptr<Strand> strand)
      : engine_(engine), strand_(std::move(strand)), replies_(strand_) {}
  korin::QXPlayerCoreDownloaderV2Interface* engine_;
  std::shared_ptr<Strand> strand_;
  ReplyTable replies_;
  KeepAlive handed_;
};

}  // namespace lumen_addon

#endif  // LUMEN_QXPLAYER_QXPLAYERDOWNLOADERV2_H_
