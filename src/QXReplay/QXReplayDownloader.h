// One replay downloader as JavaScript holds it (a "replay downloader"
// handle), its query answers on a strand apart from every other downloader's.
#ifndef LUMEN_QXREPLAY_QXREPLAYDOWNLOADER_H_
#define LUMEN_QXREPLAY_QXREPLAYDOWNLOADER_H_

#include <memory>

#include "QXReplay/QXReplayRecords.h"  // the answers' conversions
#include "korin/replay/replay_downloader.h"
#include "qx_base/library_downloader.h"

namespace lumen_addon {

class QXReplayDownloader : public LibraryDownloader<korin::replay::ReplayDownloader> {
 public:
  // Null when the library made no downloader, or it would not initialise,
  // or the strand could not be made (raised).
  static std::shared_ptr<QXReplayDownloader> Create(napi_env env, const korin::replay::DownloaderConfig& config);
  // Destroys the library's downloader; answers it gave before still reach
  // their functions, the queries it never answered are let go uncalled.
  ~QXReplayDownloader();

 private:
  using LibraryDownloader::LibraryDownloader;
};

}  // namespace lumen_addon

#endif  // LUMEN_QXREPLAY_QXREPLAYDOWNLOADER_H_
