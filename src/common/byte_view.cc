#include "common/byte_view.h"

#include "common/convert.h"

namespace lumen_addon {
namespace js {

namespace {
ByteView Within(Napi::ArrayBuffer ab, size_t offset, size_t length) {
  // A detached or shrunken buffer reads as empty rather than out of bounds.
  if (ab.IsEmpty() || ab.Data() == nullptr || offset + length > ab.ByteLength()) return {};
  return {static_cast<const uint8_t*>(ab.Data()) + offset, length};
}
}  // namespace

ByteView ViewBytes(const Napi::Value& v) {
  if (v.IsEmpty()) return {};
  if (v.IsTypedArray()) {
    auto ta = v.As<Napi::TypedArray>();
    return Within(ta.ArrayBuffer(), ta.ByteOffset(), ta.ByteLength());
  }
  if (v.IsDataView()) {
    auto dv = v.As<Napi::DataView>();
    return Within(dv.ArrayBuffer(), dv.ByteOffset(), dv.ByteLength());
  }
  if (v.IsArrayBuffer()) {
    auto ab = v.As<Napi::ArrayBuffer>();
    return Within(ab, 0, ab.ByteLength());
  }
  return {};
}

std::vector<std::string> StringList(const Napi::Value& v) {
  std::vector<std::string> out;
  EachElement(v, [&](const Napi::Value& e) { out.push_back(ToUtf8(e)); });
  return out;
}

}  // namespace js
}  // namespace lumen_addon
