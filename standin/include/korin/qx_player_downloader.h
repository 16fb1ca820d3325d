#ifndef KORIN_QX_PLAYER_DOWNLOADER_H_
#define KORIN_QX_PLAYER_DOWNLOADER_H_

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine_export.h"
#include "korin/qx_player_core.h"

namespace korin {

struct QXPlayerCoreDownloadRequest {
  std::string source_id;
  std::string url;
  std::vector<std::string> url_prefixes;
  int64_t position = 0;
  int64_t length = -1;
  bool enable_evicted = false;
  int32_t prefer_width = 0;
  int32_t prefer_height = 0;
  bool prefer_h265 = false;
  std::string key_server;
};

struct QXPlayerCoreDownloadStatus {
  QXPlayerCoreDownloadRequest request;
  uint64_t download_size = 0;
  uint64_t total_size = 0;
  int32_t state = 0;
  int32_t error = 0;
  double download_speed = 0;
};

// The library's shared downloader.
class ENGINE_API QXPlayerCoreDownloaderInterface {
 public:
  static void SetCacheDirectory(const std::string& directory, int64_t max_size);
  // Null when the library runs without one.
  static QXPlayerCoreDownloaderInterface* GetDownloader();
  virtual ~QXPlayerCoreDownloaderInterface();
  virtual void AddDownload(const QXPlayerCoreDownloadRequest& request) = 0;
  virtual void RemoveResourceWithUrl(const std::string& url) = 0;
  virtual void RemoveResourceWithId(const std::string& id) = 0;
  virtual void Pause() = 0;
  virtual void Resume() = 0;
  virtual bool IsPaused() = 0;
};

struct QXPlayerCoreDownloaderV2Config {
  int32_t max_parallel_downloads = 2;
  std::string user_id;
};

// Called on the downloader's threads until removed.
class ENGINE_API QXPlayerCoreDownloadListener {
 public:
  virtual ~QXPlayerCoreDownloadListener();
  virtual void OnDownloadStatusChanged(const QXPlayerCoreDownloadStatus& status) = 0;
};

class ENGINE_API QXPlayerCoreDownloaderV2Interface {
 public:
  using StatusAnswer = std::function<void(const std::vector<QXPlayerCoreDownloadStatus>&)>;
  using SizeAnswer = std::function<void(int64_t bytes)>;

  static QXPlayerCoreDownloaderV2Interface* Create();
  // No listener is called and no answer given once Destroy has returned.
  static void Destroy(QXPlayerCoreDownloaderV2Interface* downloader);
  virtual ~QXPlayerCoreDownloaderV2Interface();

  virtual bool Init(const QXPlayerCoreDownloaderV2Config& config) = 0;
  virtual void AddDownloadRequest(const QXPlayerCoreDownloadRequest& request) = 0;
  virtual void Pause(const QXPlayerCoreDownloadRequest& request) = 0;
  virtual void Resume(const QXPlayerCoreDownloadRequest& request) = 0;
  virtual void ClearTask(const QXPlayerCoreDownloadRequest& request) = 0;
  virtual void Remove(const QXPlayerCoreDownloadRequest& request) = 0;
  virtual void PauseAll() = 0;
  virtual void ResumeAll() = 0;
  virtual void ClearAllTemporaryTask() = 0;
  virtual void RemoveAll() = 0;
  virtual void RemoveTemporaryCache() = 0;
  // Answered later, on a downloader thread.
  virtual void GetDownloadStatus(StatusAnswer answer) = 0;
  virtual void GetTemporaryCacheSize(SizeAnswer answer) = 0;
  // A call of a removed listener may still be running when
  // RemoveDownloadListener returns: listeners stay valid until Destroy.
  virtual void AddDownloadListener(const QXPlayerCoreDownloadRequest& request,
                                   QXPlayerCoreDownloadListener* listener) = 0;
  virtual void RemoveDownloadListener(const QXPlayerCoreDownloadRequest& request,
                                      QXPlayerCoreDownloadListener* listener) = 0;
};

class ENGINE_API QXPlayerCoreDecryptionKeyPreloaderInterface {
 public:
  // Null when the library runs without one.
  static QXPlayerCoreDecryptionKeyPreloaderInterface* GetPreloader();
  virtual ~QXPlayerCoreDecryptionKeyPreloaderInterface();
  virtual void Preload(const QXPlayerCoreDataSource& source) = 0;
};

}  // namespace korin

#endif  // KORIN_QX_PLAYER_DOWNLOADER_H_
