// The engine's cache, kept by the add-on: a map from key to bytes that the
// engine reads and writes from its threads and JavaScript preloads.
#ifndef LUMEN_ENGINE_CACHE_STORE_H_
#define LUMEN_ENGINE_CACHE_STORE_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "lumen/live_client.h"

namespace lumen {

class AddonCallback;

namespace cache_store {
void Put(const std::string& key, std::vector<uint8_t> bytes);
// Copies the value when it fits; answers its size, or 0 when absent or too large.
int Get(const std::string& key, uint8_t* buffer, int capacity);
void Remove(const std::string& key);
}  // namespace cache_store

// Serves the engine from the cache store and tells the JavaScript live
// client object of writes and removals.
class CacheProviderImpl : public lumen::CacheProvider {
 public:
  explicit CacheProviderImpl(std::shared_ptr<AddonCallback> live_client) : live_client_(std::move(live_client)) {}
  int Get(const std::string& key, uint8_t* buffer, int capacity) override;
  void Set(const std::string& key, const uint8_t* data, int size) override;
  void Remove(const std::string& key) override;

 private:
  std::shared_ptr<AddonCallback> live_client_;
};

// Hands the engine's HTTP requests to the HTTP executor, when there is one.
class HttpExecutorImpl : public lumen::HttpExecutor {
 public:
  using Forward = void (*)(std::shared_ptr<lumen::HttpRequest> request);
  // Installed by the HTTP executor manager while it exists.
  static void SetForward(Forward forward);
  void Execute(std::shared_ptr<lumen::HttpRequest> request) override;
};

}  // namespace lumen

#endif  // LUMEN_ENGINE_CACHE_STORE_H_
