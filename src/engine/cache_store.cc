#include "engine/cache_store.h"

#include <cstring>
#include <map>
#include <mutex>

namespace lumen_addon {

namespace {

struct Store {
  std::mutex mu;
  std::map<std::string, std::vector<uint8_t>> entries;
};

Store& S() {
  static auto* s = new Store;  // engine threads may use it until the process ends
  return *s;
}

}  // namespace

namespace cache_store {

void Put(const std::string& key, std::vector<uint8_t> bytes) {
  std::lock_guard<std::mutex> lock(S().mu);
  S().entries[key] = std::move(bytes);
}

int Get(const std::string& key, uint8_t* buffer, int capacity) {
  std::lock_guard<std::mutex> lock(S().mu);
  auto it = S().entries.find(key);
  if (it == S().entries.end() || capacity < 0 || it->second.size() > static_cast<size_t>(capacity)) return 0;
  if (!it->second.empty() && buffer) std::memcpy(buffer, it->second.data(), it->second.size());
  return static_cast<int>(it->second.size());
}

void Remove(const std::string& key) {
  std::lock_guard<std::mutex> lock(S().mu);
  S().entries.erase(key);
}

}  // namespace cache_store

}  // namespace lumen_addon
