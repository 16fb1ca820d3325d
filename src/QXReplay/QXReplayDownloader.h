// One replay downloader as JavaScript holds it (a "replay downloader"
// handle): the library's downloader and the strand its query answers travel
// on, apart from every other downloader's.
#ifndef LUMEN_QXREPLAY_QXREPLAYDOWNLOADER_H_
#define LUMEN_QXREPLAY_QXREPLAYDOWNLOADER_H_

#include <napi.h>

#include <memory>

#include "korin/replay/replay_downloader.h"
#include "qx_base/reply_table.h"
#include "qx_base/strand.h"

namespace lumen_addon {

// JavaScript thread only.
class QXReplayDownloader {
 public:
  // Null when the library made no downloader, or it would not initialise
  // (it is destroyed again then), or the strand could not be made (raised).
  static std::shared_ptr<QXReplayDownloader> Create(napi_env env, const korin::replay::DownloaderConfig& config);
  // Destroys the library's downloader; answers it gave before still reach
  // their functions, the queries it never answered are let go uncalled.
  ~QXReplayDownloader();
  QXReplayDownloader(const QXReplayDownloader&) = delete;
  QXReplayDownloader& operator=(const QXReplayDownloader&) = delete;

  // The forwarding frame's look-in: the library's downloader lives as long as this.
  template <typename Op>
  bool Visit(Op&& op) {
    op(engine_);
    return true;
  }

  // The answer reaches `fn` on the JavaScript thread, once: the statuses, or
  // the byte count.
  void GetDownloadStatus(napi_value fn);
  void GetTemporaryCacheSize(napi_value fn);

 private:
  QXReplayDownloader(korin::replay::ReplayDownloader* engine, std::shared_ptr<Strand> strand)
      : engine_(engine), strand_(std::move(strand)), replies_(strand_) {}
  korin::replay::ReplayDownloader* engine_;
  std::shared_ptr<Strand> strand_;
  ReplyTable replies_;
};

}  // namespace lumen_addon

#endif  // LUMEN_QXREPLAY_QXREPLAYDOWNLOADER_H_
