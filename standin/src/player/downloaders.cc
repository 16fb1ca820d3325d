// Simulated downloaders and key preloader. Query answers and listener events
// wait as firers until the control module fires them:
//   "downloaderV2.getDownloadStatus"     answers every pending status query
//   "downloaderV2.getTemporaryCacheSize" answers every pending size query
//   "downloaderV2.listener#<n>"          the n-th listener added (from 1)
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "korin/qx_player_downloader.h"
#include "live/internal.h"
#include "player/player_records.h"
#include "sim/sim.h"

namespace korin {

QXPlayerCoreDownloaderInterface::~QXPlayerCoreDownloaderInterface() = default;
QXPlayerCoreDownloadListener::~QXPlayerCoreDownloadListener() = default;
QXPlayerCoreDownloaderV2Interface::~QXPlayerCoreDownloaderV2Interface() = default;
QXPlayerCoreDecryptionKeyPreloaderInterface::~QXPlayerCoreDecryptionKeyPreloaderInterface() = default;

namespace {

class SimDownloader : public QXPlayerCoreDownloaderInterface {
 public:
  void AddDownload(const QXPlayerCoreDownloadRequest& r) override { sim::Note("korin.QXPlayerCoreDownloader.AddDownload", r); }
  void RemoveResourceWithUrl(const std::string& url) override {
    sim::Note("korin.QXPlayerCoreDownloader.RemoveResourceWithUrl", url);
  }
  void RemoveResourceWithId(const std::string& id) override {
    sim::Note("korin.QXPlayerCoreDownloader.RemoveResourceWithId", id);
  }
  void Pause() override {
    sim::Note("korin.QXPlayerCoreDownloader.Pause");
    std::lock_guard<std::mutex> lock(mu_);
    paused_ = true;
  }
  void Resume() override {
    sim::Note("korin.QXPlayerCoreDownloader.Resume");
    std::lock_guard<std::mutex> lock(mu_);
    paused_ = false;
  }
  bool IsPaused() override {
    sim::Note("korin.QXPlayerCoreDownloader.IsPaused");
    std::lock_guard<std::mutex> lock(mu_);
    return paused_;
  }
  void Reset() {
    std::lock_guard<std::mutex> lock(mu_);
    paused_ = false;
  }

 private:
  std::mutex mu_;
  bool paused_ = false;
};

SimDownloader* SharedDownloader() {
  static auto* d = new SimDownloader;
  return d;
}

class SimPreloader : public QXPlayerCoreDecryptionKeyPreloaderInterface {
 public:
  void Preload(const QXPlayerCoreDataSource& s) override { sim::Note("korin.QXPlayerCoreDecryptionKeyPreloader.Preload", s); }
};

QXPlayerCoreDownloadStatus StatusFrom(const sim::Args& a, const QXPlayerCoreDownloadRequest& request) {
  QXPlayerCoreDownloadStatus s;
  s.request = request;
  if (a.Has(0)) s.request.url = a.Str(0);
  s.download_size = static_cast<uint64_t>(a.Num(1));
  s.total_size = static_cast<uint64_t>(a.Num(2));
  s.state = static_cast<int32_t>(a.Int(3));
  s.error = static_cast<int32_t>(a.Int(4));
  s.download_speed = a.Num(5);
  return s;
}

class SimDownloaderV2 : public QXPlayerCoreDownloaderV2Interface {
 public:
  SimDownloaderV2() {
    live::CountObject("playerDownloadersV2", 1);
    sim::Hold(this, "downloaderV2.getDownloadStatus", [this](const sim::Args& a) {
      std::vector<StatusAnswer> answers;
      {
        std::lock_guard<std::mutex> lock(mu_);
        answers.swap(status_queries_);
      }
      std::vector<QXPlayerCoreDownloadStatus> statuses;
      if (a.size() > 0) statuses.push_back(StatusFrom(a, QXPlayerCoreDownloadRequest()));
      for (auto& answer : answers) answer(statuses);
    });
    sim::Hold(this, "downloaderV2.getTemporaryCacheSize", [this](const sim::Args& a) {
      std::vector<SizeAnswer> answers;
      {
        std::lock_guard<std::mutex> lock(mu_);
        answers.swap(size_queries_);
      }
      for (auto& answer : answers) answer(a.Int(0));
    });
  }
  ~SimDownloaderV2() override {
    sim::Release(this);
    // Unanswered queries are dropped here, never answered.
    std::lock_guard<std::mutex> lock(mu_);
    status_queries_.clear();
    size_queries_.clear();
    live::CountObject("playerDownloadersV2", -1);
  }

  bool Init(const QXPlayerCoreDownloaderV2Config& c) override {
    sim::Note(Name("Init"), c);
    return sim::ScriptedBool(Name("Init"), true);
  }
  void AddDownloadRequest(const QXPlayerCoreDownloadRequest& r) override { sim::Note(Name("AddDownloadRequest"), r); }
  void Pause(const QXPlayerCoreDownloadRequest& r) override { sim::Note(Name("Pause"), r); }
  void Resume(const QXPlayerCoreDownloadRequest& r) override { sim::Note(Name("Resume"), r); }
  void ClearTask(const QXPlayerCoreDownloadRequest& r) override { sim::Note(Name("ClearTask"), r); }
  void Remove(const QXPlayerCoreDownloadRequest& r) override { sim::Note(Name("Remove"), r); }
  void PauseAll() override { sim::Note(Name("PauseAll")); }
  void ResumeAll() override { sim::Note(Name("ResumeAll")); }
  void ClearAllTemporaryTask() override { sim::Note(Name("ClearAllTemporaryTask")); }
  void RemoveAll() override { sim::Note(Name("RemoveAll")); }
  void RemoveTemporaryCache() override { sim::Note(Name("RemoveTemporaryCache")); }
  void GetDownloadStatus(StatusAnswer answer) override {
    sim::Note(Name("GetDownloadStatus"));
    std::lock_guard<std::mutex> lock(mu_);
    status_queries_.push_back(std::move(answer));
  }
  void GetTemporaryCacheSize(SizeAnswer answer) override {
    sim::Note(Name("GetTemporaryCacheSize"));
    std::lock_guard<std::mutex> lock(mu_);
    size_queries_.push_back(std::move(answer));
  }
  void AddDownloadListener(const QXPlayerCoreDownloadRequest& r, QXPlayerCoreDownloadListener* l) override {
    sim::Note(Name("AddDownloadListener"), r, static_cast<const void*>(l));
    if (!l) return;
    std::string name;
    {
      std::lock_guard<std::mutex> lock(mu_);
      name = "downloaderV2.listener#" + std::to_string(++listeners_added_);
      listener_names_.emplace(l, name);
    }
    sim::Hold(this, name, [l, r](const sim::Args& a) { l->OnDownloadStatusChanged(StatusFrom(a, r)); });
  }
  void RemoveDownloadListener(const QXPlayerCoreDownloadRequest& r, QXPlayerCoreDownloadListener* l) override {
    sim::Note(Name("RemoveDownloadListener"), r, static_cast<const void*>(l));
    std::vector<std::string> names;
    {
      std::lock_guard<std::mutex> lock(mu_);
      auto range = listener_names_.equal_range(l);
      for (auto it = range.first; it != range.second; ++it) names.push_back(it->second);
      listener_names_.erase(l);
    }
    for (auto& n : names) sim::ReleaseName(n, this);  // waits for a firing in progress
  }

 private:
  static std::string Name(const char* op) { return std::string("korin.QXPlayerCoreDownloaderV2.") + op; }
  std::mutex mu_;
  std::vector<StatusAnswer> status_queries_;
  std::vector<SizeAnswer> size_queries_;
  std::multimap<QXPlayerCoreDownloadListener*, std::string> listener_names_;
  int listeners_added_ = 0;
};

const bool kResetHook = (sim::OnReset([] { SharedDownloader()->Reset(); }), true);

}  // namespace

void QXPlayerCoreDownloaderInterface::SetCacheDirectory(const std::string& directory, int64_t max_size) {
  sim::Note("korin.QXPlayerCoreDownloader.SetCacheDirectory", directory, max_size);
}

QXPlayerCoreDownloaderInterface* QXPlayerCoreDownloaderInterface::GetDownloader() {
  return sim::ScriptedBool("korin.QXPlayerCoreDownloader.GetDownloader", true) ? SharedDownloader() : nullptr;
}

QXPlayerCoreDownloaderV2Interface* QXPlayerCoreDownloaderV2Interface::Create() {
  sim::Note("korin.QXPlayerCoreDownloaderV2.Create");
  return new SimDownloaderV2;
}

void QXPlayerCoreDownloaderV2Interface::Destroy(QXPlayerCoreDownloaderV2Interface* downloader) {
  sim::Note("korin.QXPlayerCoreDownloaderV2.Destroy");
  delete downloader;
}

QXPlayerCoreDecryptionKeyPreloaderInterface* QXPlayerCoreDecryptionKeyPreloaderInterface::GetPreloader() {
  static auto* p = new SimPreloader;
  return sim::ScriptedBool("korin.QXPlayerCoreDecryptionKeyPreloader.GetPreloader", true) ? p : nullptr;
}

}  // namespace korin
