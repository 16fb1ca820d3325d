#include "engine/cache_provider_impl.h"

#include <vector>

#include "callback/async_callback_item.h"
#include "engine/cache_store.h"

namespace lumen_addon {

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

}  // namespace lumen_addon
