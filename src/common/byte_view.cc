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
  if (v.IsEmpty() || !v.IsArray()) return out;
  auto a = v.As<Napi::Array>();
  const uint32_t n = a.Length();
  if (n > kMaxListLength) {
    Napi::RangeError::New(v.Env(), "lists are limited to " + std::to_string(kMaxListLength) + " elements")
        .ThrowAsJavaScriptException();
    return out;
  }
  out.reserve(n);
  for (uint32_t i = 0; i < n; ++i) {
    Napi::Value element = a.Get(i);
    // A throwing element getter: its exception is raised, the rest unread.
    if (element.IsEmpty()) break;
    out.push_back(ToUtf8(element));
  }
  return out;
}

}  // namespace js
}  // namespace lumen_addon
