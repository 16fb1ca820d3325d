#include "engine/cache_store.h"

#include <atomic>
#include <cstring>
#include <map>
#include <mutex>

#include "callback/async_callback_item.h"

namespace lumen {

namespace {

struct Store {
  std::mutex mu;
  std::map<std::string, std::vector<uint8_t>> entries;
};

Store& S() {
  static auto* s = new Store;  // engine threads may use it until the process ends
  return *s;
}

std::atomic<HttpExecutorImpl::Forward> g_forward{nullptr};

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

int CacheProviderImpl::Get(const std::string& key, uint8_t* buffer, int capacity) {
  return cache_store::Get(key, buffer, capacity);
}

void CacheProviderImpl::Set(const std::string& key, const uint8_t* data, int size) {
  const size_t n = data && size > 0 ? static_cast<size_t>(size) : 0;
  std::vector<uint8_t> bytes(data, data + n);
  cache_store::Put(key, bytes);
  PostEvent(live_client_, "onWriteCache", kItemDefault, {Arg(key), EventArg(std::move(bytes))});
}

void CacheProviderImpl::Remove(const std::string& key) {
  cache_store::Remove(key);
  PostEvent(live_client_, "onDeleteCache", kItemDefault, {Arg(key)});
}

void HttpExecutorImpl::SetForward(Forward forward) { g_forward.store(forward); }

void HttpExecutorImpl::Execute(std::shared_ptr<lumen::HttpRequest> request) {
  if (Forward forward = g_forward.load()) forward(std::move(request));
}

}  // namespace lumen
