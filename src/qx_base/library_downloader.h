// What the QX downloaders share: the library's downloader, made by its
// factory and initialised, and its two queries, each answered once on a
// strand of the downloader's own.
#ifndef LUMEN_QX_BASE_LIBRARY_DOWNLOADER_H_
#define LUMEN_QX_BASE_LIBRARY_DOWNLOADER_H_

#include <napi.h>

#include <memory>
#include <utility>

#include "qx_base/reply_table.h"
#include "qx_base/strand.h"

namespace lumen_addon {

// JavaScript thread only.
template <typename Engine>
class LibraryDownloader {
 public:
  LibraryDownloader(const LibraryDownloader&) = delete;
  LibraryDownloader& operator=(const LibraryDownloader&) = delete;

  // The forwarding frame's look-in: the library's downloader lives as long as this.
  template <typename Op>
  bool Visit(Op&& op) {
    op(engine_);
    return true;
  }

  // The answer reaches `fn` on the JavaScript thread, once: the statuses, or
  // the byte count.
  void GetDownloadStatus(napi_value fn) {
    if (const uint32_t id = replies_.Add(fn)) engine_->GetDownloadStatus(replies_.Answerer(id));
  }
  void GetTemporaryCacheSize(napi_value fn) {
    if (const uint32_t id = replies_.Add(fn)) engine_->GetTemporaryCacheSize(replies_.Answerer(id));
  }

 protected:
  // The library's downloader, initialised by `init`; null when the library
  // made none or it would not initialise (it is destroyed again then).
  template <typename Config, typename Init>
  static Engine* Make(const Config& config, Init init) {
    Engine* engine = Engine::Create();
    if (engine && !(engine->*init)(config)) Engine::Destroy(std::exchange(engine, nullptr));
    return engine;
  }

  LibraryDownloader(Engine* engine, std::shared_ptr<Strand> strand)
      : engine_(engine), strand_(std::move(strand)), replies_(strand_) {}
  // Each kind's destructor destroys the library's downloader first (nothing
  // calls in afterwards), then deals with the answers as it must.
  ~LibraryDownloader() = default;
  void DestroyEngine() { Engine::Destroy(engine_); }

  Engine* const engine_;
  const std::shared_ptr<Strand> strand_;
  ReplyTable replies_;
};

}  // namespace lumen_addon

#endif  // LUMEN_QX_BASE_LIBRARY_DOWNLOADER_H_
