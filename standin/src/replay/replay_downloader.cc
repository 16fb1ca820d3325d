// Simulated replay downloaders. Each keeps its requests' statuses; queries
// wait until the control module answers them through the firers
//   "replayDownloader:<n>.getDownloadStatus"      every status query waiting
//   "replayDownloader:<n>.getTemporaryCacheSize"  every size query waiting
//   "replayDownloader:<n>.progress"               sets a download's status
#include <algorithm>
#include <map>
#include <mutex>
#include <vector>

#include "korin/replay/replay_downloader.h"
#include "live/internal.h"
#include "replay/registry.h"
#include "replay/replay_records.h"
#include "sim/replay.h"
#include "sim/sim.h"

namespace korin {
namespace replay {

ReplayDownloader::~ReplayDownloader() = default;

namespace {

std::string Op(const char* method) { return std::string("korin.replay.ReplayDownloader.") + method; }

constexpr int64_t kBytesPerMs = 1000;
constexpr int64_t kTemporaryCache = 6442450951;  // 6 GiB + 7: wider than 32 bits

int64_t TotalSize(const DownloadRequest& r) {
  int64_t ms = 0;
  for (const auto& s : r.spans) ms += std::max<int64_t>(0, s.end_npt - s.start_npt);
  if (r.spans.empty()) ms = std::max<int64_t>(0, r.end_npt - r.start_npt);
  return ms * kBytesPerMs;
}

bool SameRoom(const DownloadRoomInfo& a, const DownloadRoomInfo& b) {
  return a.room_id == b.room_id && a.business_id == b.business_id;
}

class SimDownloader : public ReplayDownloader {
 public:
  SimDownloader() {
    id_ = room_replay::Live<SimDownloader>().Add(this);
    live::CountObject("replayDownloaders", 1);
    const std::string prefix = "replayDownloader:" + std::to_string(id_);
    sim::Hold(this, prefix + ".getDownloadStatus", [this](const sim::Args&) {
      std::vector<StatusAnswer> answers;
      std::vector<DownloadStatus> statuses;
      {
        std::lock_guard<std::mutex> lock(mu_);
        answers.swap(status_queries_);
        statuses = downloads_;
      }
      for (auto& answer : answers) answer(statuses);
    });
    sim::Hold(this, prefix + ".getTemporaryCacheSize", [this](const sim::Args& a) {
      std::vector<SizeAnswer> answers;
      int64_t bytes;
      {
        std::lock_guard<std::mutex> lock(mu_);
        answers.swap(size_queries_);
        bytes = a.Has(0) ? a.Int(0) : temporary_cache_;
      }
      for (auto& answer : answers) answer(bytes);
    });
    // [roomId (0: every download), downloadSize, state, error]
    sim::Hold(this, prefix + ".progress", [this](const sim::Args& a) {
      std::lock_guard<std::mutex> lock(mu_);
      for (auto& d : downloads_) {
        if (a.Int(0) != 0 && d.request.room_info.room_id != a.Int(0)) continue;
        if (a.Has(1)) d.download_size = a.Int(1);
        if (a.Has(3)) d.error = static_cast<int32_t>(a.Int(3));
        if (a.Has(2))
          d.state = static_cast<int32_t>(a.Int(2));
        else if (d.error != 0)
          d.state = kDownloadFailed;
        else if (d.download_size >= d.total_size)
          d.state = kDownloadCompleted;
      }
    });
  }

  ~SimDownloader() override {
    room_replay::Live<SimDownloader>().Remove(id_);
    sim::Release(this);  // waits for an answer being given
    {
      std::lock_guard<std::mutex> lock(mu_);
      status_queries_.clear();  // never answered
      size_queries_.clear();
    }
    live::CountObject("replayDownloaders", -1);
  }

  bool Initialize(const DownloaderConfig& config) override {
    sim::Note(Op("Initialize"), config);
    const bool ok = sim::ScriptedBool(Op("Initialize"), true);
    std::lock_guard<std::mutex> lock(mu_);
    if (ok) {
      initialized_ = true;
      config_ = config;
    }
    return ok;
  }

  bool IsInitialized() override {
    sim::Note(Op("IsInitialized"));
    std::lock_guard<std::mutex> lock(mu_);
    return initialized_;
  }

  void AddDownloadRequest(const DownloadRequest& request) override {
    sim::Note(Op("AddDownloadRequest"), request);
    std::lock_guard<std::mutex> lock(mu_);
    RemoveIf([&](const DownloadStatus& d) { return SameRoom(d.request.room_info, request.room_info); });
    DownloadStatus s;
    s.request = request;
    s.total_size = TotalSize(request);
    s.state = paused_all_ ? kDownloadPaused : kDownloadRunning;
    downloads_.push_back(s);
  }

  void Pause(const DownloadRoomInfo& room) override {
    sim::Note(Op("Pause"), room);
    SetState(room, kDownloadRunning, kDownloadPaused);
  }

  void Resume(const DownloadRoomInfo& room) override {
    sim::Note(Op("Resume"), room);
    SetState(room, kDownloadPaused, kDownloadRunning);
  }

  void PauseAll() override {
    sim::Note(Op("PauseAll"));
    std::lock_guard<std::mutex> lock(mu_);
    paused_all_ = true;
    for (auto& d : downloads_)
      if (d.state == kDownloadRunning || d.state == kDownloadWaiting) d.state = kDownloadPaused;
  }

  void ResumeAll() override {
    sim::Note(Op("ResumeAll"));
    std::lock_guard<std::mutex> lock(mu_);
    paused_all_ = false;
    for (auto& d : downloads_)
      if (d.state == kDownloadPaused) d.state = kDownloadRunning;
  }

  void Remove(const DownloadRoomInfo& room, bool delete_files) override {
    sim::Note(Op("Remove"), room, delete_files);
    std::lock_guard<std::mutex> lock(mu_);
    RemoveIf([&](const DownloadStatus& d) { return SameRoom(d.request.room_info, room); });
  }

  void RemoveWithRoomId(const DownloadRoomInfo& room, bool delete_files) override {
    sim::Note(Op("RemoveWithRoomId"), room, delete_files);
    std::lock_guard<std::mutex> lock(mu_);
    RemoveIf([&](const DownloadStatus& d) { return d.request.room_info.room_id == room.room_id; });
  }

  void RemoveAll(bool delete_files) override {
    sim::Note(Op("RemoveAll"), delete_files);
    std::lock_guard<std::mutex> lock(mu_);
    downloads_.clear();
  }

  void GetDownloadStatus(StatusAnswer answer) override {
    sim::Note(Op("GetDownloadStatus"), static_cast<const void*>(answer ? &answer : nullptr));
    std::lock_guard<std::mutex> lock(mu_);
    if (answer) status_queries_.push_back(std::move(answer));
  }

  void GetTemporaryCacheSize(SizeAnswer answer) override {
    sim::Note(Op("GetTemporaryCacheSize"), static_cast<const void*>(answer ? &answer : nullptr));
    std::lock_guard<std::mutex> lock(mu_);
    if (answer) size_queries_.push_back(std::move(answer));
  }

  int64_t GetTemporaryCacheSizeSync() override {
    sim::Note(Op("GetTemporaryCacheSizeSync"));
    const sim::Value v = sim::Scripted(Op("GetTemporaryCacheSizeSync"));
    if (auto* d = std::get_if<double>(&v)) return static_cast<int64_t>(*d);
    std::lock_guard<std::mutex> lock(mu_);
    return temporary_cache_;
  }

  void RemoveTemporaryCache(bool force) override {
    sim::Note(Op("RemoveTemporaryCache"), force);
    std::lock_guard<std::mutex> lock(mu_);
    temporary_cache_ = 0;
  }

  sim::ReplayDownloaderView View() {
    std::lock_guard<std::mutex> lock(mu_);
    sim::ReplayDownloaderView v;
    v.id = id_;
    v.initialized = initialized_;
    v.config = config_;
    v.paused_all = paused_all_;
    v.downloads = downloads_;
    v.status_queries = static_cast<int>(status_queries_.size());
    v.size_queries = static_cast<int>(size_queries_.size());
    v.temporary_cache_size = temporary_cache_;
    return v;
  }

 private:
  template <typename F>
  void RemoveIf(F&& f) {
    downloads_.erase(std::remove_if(downloads_.begin(), downloads_.end(), f), downloads_.end());
  }

  void SetState(const DownloadRoomInfo& room, int32_t from, int32_t to) {
    std::lock_guard<std::mutex> lock(mu_);
    for (auto& d : downloads_)
      if (SameRoom(d.request.room_info, room) && d.state == from) d.state = to;
  }

  int64_t id_ = 0;
  std::mutex mu_;
  bool initialized_ = false;
  DownloaderConfig config_;
  bool paused_all_ = false;
  std::vector<DownloadStatus> downloads_;
  std::vector<StatusAnswer> status_queries_;
  std::vector<SizeAnswer> size_queries_;
  int64_t temporary_cache_ = kTemporaryCache;
};

}  // namespace

ReplayDownloader* ReplayDownloader::Create() {
  sim::Note(Op("Create"));
  if (!sim::ScriptedBool(Op("Create"), true)) return nullptr;
  return new SimDownloader;
}

void ReplayDownloader::Destroy(ReplayDownloader* downloader) {
  sim::Note(Op("Destroy"), static_cast<const void*>(downloader));
  delete downloader;
}

void ReplayDownloader::SetCacheDirectory(const std::string& directory, int64_t max_size) {
  sim::Note(Op("SetCacheDirectory"), directory, max_size);
}

}  // namespace replay
}  // namespace korin

namespace sim {

std::vector<ReplayDownloaderView> ReplayDownloaders() {
  std::vector<ReplayDownloaderView> out;
  room_replay::Live<korin::replay::SimDownloader>().ForEach([&](korin::replay::SimDownloader& d) { out.push_back(d.View()); });
  return out;
}

}  // namespace sim
