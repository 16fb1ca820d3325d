// Serves the engine from the cache store and tells the JavaScript live
// client object of writes and removals.
#ifndef LUMEN_ENGINE_CACHE_PROVIDER_IMPL_H_
#define LUMEN_ENGINE_CACHE_PROVIDER_IMPL_H_

#include <cstdint>
#include <memory>
#include <string>

#include "lumen/live_client.h"

namespace lumen_addon {

class AddonCallback;

class CacheProviderImpl : public lumen::CacheProvider {
 public:
  explicit CacheProviderImpl(std::shared_ptr<AddonCallback> live_client) : live_client_(std::move(live_client)) {}
  int Get(const std::string& key, uint8_t* buffer, int capacity) override;
  void Set(const std::string& key, const uint8_t* data, int size) override;
  void Remove(const std::string& key) override;

 private:
  std::shared_ptr<AddonCallback> live_client_;
};

}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_CACHE_PROVIDER_IMPL_H_
