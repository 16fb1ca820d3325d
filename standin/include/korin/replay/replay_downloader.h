#ifndef KORIN_REPLAY_REPLAY_DOWNLOADER_H_
#define KORIN_REPLAY_REPLAY_DOWNLOADER_H_

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine_export.h"

namespace korin {
namespace replay {

struct DownloadRoomInfo {
  int64_t room_id = 0;
  std::string business_id;
  bool is_slim = false;
  bool is_admin = false;
};

struct DownloadSpan {
  int64_t start_npt = 0;
  int64_t end_npt = 0;
};

struct DownloadRequest {
  std::string host;
  DownloadRoomInfo room_info;
  std::string signature;
  bool enable_evicted = false;
  std::vector<DownloadSpan> spans;  // none: start_npt .. end_npt
  int64_t start_npt = 0;
  int64_t end_npt = 0;
};

// DownloadStatus::state
enum DownloadStateCode : int32_t {
  kDownloadWaiting = 0,
  kDownloadRunning = 1,
  kDownloadPaused = 2,
  kDownloadCompleted = 3,
  kDownloadFailed = 4,
};

struct DownloadStatus {
  DownloadRequest request;
  int64_t download_size = 0;
  int64_t total_size = 0;
  int32_t state = kDownloadWaiting;
  int32_t error = 0;
};

struct DownloaderConfig {
  int32_t max_parallel_downloads = 2;
  int64_t user_id = 0;
};

class ENGINE_API ReplayDownloader {
 public:
  // Answers run later on a downloader thread; none runs once Destroy has
  // returned, and the unanswered are dropped.
  using StatusAnswer = std::function<void(const std::vector<DownloadStatus>& statuses)>;
  using SizeAnswer = std::function<void(int64_t bytes)>;

  static ReplayDownloader* Create();
  static void Destroy(ReplayDownloader* downloader);
  static void SetCacheDirectory(const std::string& directory, int64_t max_size);
  virtual ~ReplayDownloader();

  virtual bool Initialize(const DownloaderConfig& config) = 0;
  virtual bool IsInitialized() = 0;
  virtual void AddDownloadRequest(const DownloadRequest& request) = 0;
  virtual void Pause(const DownloadRoomInfo& room) = 0;
  virtual void Resume(const DownloadRoomInfo& room) = 0;
  virtual void PauseAll() = 0;
  virtual void ResumeAll() = 0;
  // delete_files: the room's downloaded files go too.
  virtual void Remove(const DownloadRoomInfo& room, bool delete_files) = 0;
  // Every download of the room's id, whatever its business.
  virtual void RemoveWithRoomId(const DownloadRoomInfo& room, bool delete_files) = 0;
  virtual void RemoveAll(bool delete_files) = 0;
  virtual void GetDownloadStatus(StatusAnswer answer) = 0;
  virtual void GetTemporaryCacheSize(SizeAnswer answer) = 0;
  virtual int64_t GetTemporaryCacheSizeSync() = 0;
  // force: also what a download still uses.
  virtual void RemoveTemporaryCache(bool force) = 0;
};

}  // namespace replay
}  // namespace korin

#endif  // KORIN_REPLAY_REPLAY_DOWNLOADER_H_
