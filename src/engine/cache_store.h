// The engine's cache, kept by the add-on: a map from key to bytes that the
// engine reads and writes from its threads and JavaScript preloads.
#ifndef LUMEN_ENGINE_CACHE_STORE_H_
#define LUMEN_ENGINE_CACHE_STORE_H_

#include <cstdint>
#include <string>
#include <vector>

namespace lumen_addon {
namespace cache_store {

void Put(const std::string& key, std::vector<uint8_t> bytes);
// Copies the value when it fits; answers its size, or 0 when absent or too large.
int Get(const std::string& key, uint8_t* buffer, int capacity);
void Remove(const std::string& key);

}  // namespace cache_store
}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_CACHE_STORE_H_
