#include "common/handle_registry.h"

#include <cmath>
#include <map>
#include <mutex>

namespace lumen_addon {

namespace {

struct Entry {
  std::shared_ptr<void> object;
  uint64_t order;
};

struct Table {
  std::mutex mu;
  std::map<std::pair<HandleKind, uint64_t>, Entry> live;
  uint64_t next_order = 0;
};

Table& T() {
  static auto* table = new Table;  // engine threads may look up until the process ends
  return *table;
}

constexpr double kMaxHandle = 9007199254740992.0;  // 2^53: beyond it numbers skip integers

}  // namespace

const char* HandleKindName(HandleKind kind) {
  switch (kind) {
    case HandleKind::kDeviceModule: return "device module";
    case HandleKind::kPlayer: return "player";
    case HandleKind::kExternalDataSource: return "external data source";
    case HandleKind::kDownloadListener: return "download listener";
    case HandleKind::kReplayRoom: return "replay room";
    case HandleKind::kReplayDownloader: return "replay downloader";
    case HandleKind::kCameraRecordEngine: return "camera record engine";
    case HandleKind::kNativeVideoSource: return "native video source";
    case HandleKind::kThumbnailTool: return "thumbnail tool";
    case HandleKind::kAgent: return "agent";
    case HandleKind::kCount: break;
  }
  return "handle";
}

uint64_t HandleFromNumber(double number) {
  if (!(number >= 1 && number <= kMaxHandle) || std::floor(number) != number) return 0;
  return static_cast<uint64_t>(number);
}

uint64_t HandleRegistry::Add(HandleKind kind, std::shared_ptr<void> object) {
  if (!object) return 0;
  const auto handle = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(object.get()));
  Table& t = T();
  std::lock_guard<std::mutex> lock(t.mu);
  t.live[{kind, handle}] = Entry{std::move(object), t.next_order++};
  return handle;
}

std::shared_ptr<void> HandleRegistry::FindAny(HandleKind kind, uint64_t handle) {
  if (handle == 0) return nullptr;
  Table& t = T();
  std::lock_guard<std::mutex> lock(t.mu);
  auto it = t.live.find({kind, handle});
  return it == t.live.end() ? nullptr : it->second.object;
}

std::shared_ptr<void> HandleRegistry::RemoveAny(HandleKind kind, uint64_t handle) {
  if (handle == 0) return nullptr;
  std::shared_ptr<void> gone;
  Table& t = T();
  std::lock_guard<std::mutex> lock(t.mu);
  auto it = t.live.find({kind, handle});
  if (it == t.live.end()) return nullptr;
  gone = std::move(it->second.object);
  t.live.erase(it);
  return gone;
}

std::vector<std::pair<HandleKind, std::shared_ptr<void>>> HandleRegistry::TakeAll() {
  std::map<uint64_t, std::pair<HandleKind, std::shared_ptr<void>>, std::greater<uint64_t>> newest_first;
  {
    Table& t = T();
    std::lock_guard<std::mutex> lock(t.mu);
    for (auto& [key, entry] : t.live) newest_first[entry.order] = {key.first, std::move(entry.object)};
    t.live.clear();
  }
  std::vector<std::pair<HandleKind, std::shared_ptr<void>>> out;
  out.reserve(newest_first.size());
  for (auto& [order, item] : newest_first) out.push_back(std::move(item));
  return out;
}

std::size_t HandleRegistry::Count(HandleKind kind) {
  Table& t = T();
  std::lock_guard<std::mutex> lock(t.mu);
  std::size_t n = 0;
  for (const auto& [key, entry] : t.live)
    if (key.first == kind) ++n;
  return n;
}

}  // namespace lumen_addon
