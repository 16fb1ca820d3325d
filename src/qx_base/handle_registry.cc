#include "qx_base/handle_registry.h"

#include <cmath>
#include <map>
#include <mutex>

namespace lumen_addon {

namespace {

struct Entry {
  HandleKind kind;
  std::shared_ptr<void> object;
};

struct Table {
  std::mutex mu;
  // Ids are issued in increasing order, so the map's order is creation order.
  std::map<uint64_t, Entry> live;
  // Above 2^32, so that the small numbers a confused caller passes (a count,
  // an index, a flag) never name a live object.
  uint64_t next_id = (uint64_t{1} << 32) + 1;
};

Table& T() {
  static auto* table = new Table;  // engine threads may look up until the process ends
  return *table;
}

constexpr double kMaxHandle = 9007199254740992.0;  // 2^53: beyond it numbers skip integers

}  // namespace

uint64_t HandleFromNumber(double number) {
  if (!(number >= 1 && number <= kMaxHandle) || std::floor(number) != number) return 0;
  return static_cast<uint64_t>(number);
}

uint64_t HandleRegistry::Add(HandleKind kind, std::shared_ptr<void> object) {
  if (!object || kind == HandleKind::kNone) return 0;
  Table& t = T();
  std::lock_guard<std::mutex> lock(t.mu);
  // 2^53 ids outlast any process: one a nanosecond would take 104 days.
  if (t.next_id > static_cast<uint64_t>(kMaxHandle)) return 0;
  const uint64_t id = t.next_id++;
  t.live.emplace(id, Entry{kind, std::move(object)});
  return id;
}

std::shared_ptr<void> HandleRegistry::FindAny(HandleKind kind, uint64_t handle) {
  if (handle == 0) return nullptr;
  Table& t = T();
  std::lock_guard<std::mutex> lock(t.mu);
  auto it = t.live.find(handle);
  return it == t.live.end() || it->second.kind != kind ? nullptr : it->second.object;
}

std::shared_ptr<void> HandleRegistry::RemoveAny(HandleKind kind, uint64_t handle) {
  if (handle == 0) return nullptr;
  std::shared_ptr<void> gone;
  {
    Table& t = T();
    std::lock_guard<std::mutex> lock(t.mu);
    auto it = t.live.find(handle);
    if (it == t.live.end() || it->second.kind != kind) return nullptr;
    gone = std::move(it->second.object);
    t.live.erase(it);
  }
  return gone;
}

std::vector<std::pair<HandleKind, std::shared_ptr<void>>> HandleRegistry::TakeAll() {
  std::map<uint64_t, Entry> all;
  {
    Table& t = T();
    std::lock_guard<std::mutex> lock(t.mu);
    all.swap(t.live);
  }
  std::vector<std::pair<HandleKind, std::shared_ptr<void>>> out;
  out.reserve(all.size());
  for (auto it = all.rbegin(); it != all.rend(); ++it) out.emplace_back(it->second.kind, std::move(it->second.object));
  return out;
}

std::size_t HandleRegistry::Count(HandleKind kind) {
  Table& t = T();
  std::lock_guard<std::mutex> lock(t.mu);
  std::size_t n = 0;
  for (const auto& [id, entry] : t.live)
    if (entry.kind == kind) ++n;
  return n;
}

}  // namespace lumen_addon
