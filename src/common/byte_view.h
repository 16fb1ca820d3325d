// Bytes handed to the engine without a copy, for the duration of one call.
#ifndef LUMEN_COMMON_BYTE_VIEW_H_
#define LUMEN_COMMON_BYTE_VIEW_H_

#include <napi.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lumen_addon {
namespace js {

struct ByteView {
  const uint8_t* data = nullptr;
  size_t size = 0;
};

// The bytes an ArrayBuffer, a typed array of any element size or a DataView
// covers (offset and length honoured); empty for anything else and for a
// detached buffer. Valid only until JavaScript runs again: take it after
// every other argument was converted, right before the engine call.
ByteView ViewBytes(const Napi::Value& v);

// Array elements coerced to strings; a non-array gives an empty list, a
// longer one than kMaxListLength an empty list and a RangeError.
std::vector<std::string> StringList(const Napi::Value& v);

}  // namespace js
}  // namespace lumen_addon

#endif  // LUMEN_COMMON_BYTE_VIEW_H_
