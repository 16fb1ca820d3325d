#include "common/convert.h"

#include <cstring>

namespace lumen_addon {
namespace js {

// An empty value is what a failed read (a throwing getter) leaves behind, and
// what a failed coercion answers (a Symbol or a BigInt to a number, a
// throwing valueOf or toString, any coercion while an exception is pending).
// It has no environment: reading it would take the fatal error path. Both
// convert to the empty result while the exception stays raised.
namespace {
Napi::Number AsNumber(const Napi::Value& v) { return v.IsEmpty() ? Napi::Number() : v.ToNumber(); }
}  // namespace

int32_t ToInt32(const Napi::Value& v) {
  Napi::Number n = AsNumber(v);
  return n.IsEmpty() ? 0 : n.Int32Value();
}
uint32_t ToUint32(const Napi::Value& v) {
  Napi::Number n = AsNumber(v);
  return n.IsEmpty() ? 0 : n.Uint32Value();
}
int64_t ToInt64(const Napi::Value& v) {
  Napi::Number n = AsNumber(v);
  return n.IsEmpty() ? 0 : n.Int64Value();
}
double ToDouble(const Napi::Value& v) {
  Napi::Number n = AsNumber(v);
  return n.IsEmpty() ? 0 : n.DoubleValue();
}
bool ToBool(const Napi::Value& v) {
  if (v.IsEmpty()) return false;
  Napi::Boolean b = v.ToBoolean();
  return !b.IsEmpty() && b.Value();
}
std::string ToUtf8(const Napi::Value& v) {
  if (v.IsEmpty()) return std::string();
  Napi::String s = v.ToString();
  return s.IsEmpty() ? std::string() : s.Utf8Value();
}
Napi::Object ToObject(const Napi::Value& v) { return v.IsEmpty() ? Napi::Object() : v.ToObject(); }

Napi::Value Get(const Napi::Object& o, const char* key) {
  if (o.IsEmpty()) return Napi::Value();
  return o.Get(key);
}

bool Has(const Napi::Object& o, const char* key) { return !o.IsEmpty() && o.Has(key); }

bool IsSet(const Napi::Value& v) { return !v.IsEmpty() && !v.IsUndefined() && !v.IsNull(); }

std::string OptionalUtf8At(const Napi::Object& o, const char* key) {
  Napi::Value v = Get(o, key);
  return IsSet(v) ? ToUtf8(v) : std::string();
}

std::vector<uint8_t> Bytes(const Napi::Value& v) {
  if (v.IsEmpty() || !v.IsTypedArray()) return {};
  auto ta = v.As<Napi::TypedArray>();
  Napi::ArrayBuffer ab = ta.ArrayBuffer();
  const size_t offset = ta.ByteOffset(), length = ta.ByteLength();
  // A detached or shrunken buffer reads as empty rather than out of bounds.
  if (ab.IsEmpty() || ab.Data() == nullptr || offset + length > ab.ByteLength()) return {};
  const auto* p = static_cast<const uint8_t*>(ab.Data()) + offset;
  return std::vector<uint8_t>(p, p + length);
}

namespace {
template <typename F>
std::vector<int64_t> MapArray(const Napi::Value& v, F each) {
  std::vector<int64_t> out;
  EachElement(v, [&](const Napi::Value& e) { out.push_back(each(e)); });
  return out;
}
}  // namespace

std::vector<int64_t> Int64List(const Napi::Value& v) {
  return MapArray(v, [](const Napi::Value& e) { return ToInt64(e); });
}

std::vector<int64_t> Int32WidenedList(const Napi::Value& v) {
  return MapArray(v, [](const Napi::Value& e) { return static_cast<int64_t>(ToInt32(e)); });
}

Napi::Value CopyBuffer(Napi::Env env, const void* data, size_t size) {
  return Napi::Buffer<uint8_t>::Copy(env, static_cast<const uint8_t*>(data), size);
}

napi_value CopyArrayBuffer(napi_env env, const void* data, size_t size) {
  void* copy = nullptr;
  napi_value ab = nullptr;
  if (napi_create_arraybuffer(env, size, &copy, &ab) != napi_ok) return nullptr;
  if (size) std::memcpy(copy, data, size);
  return ab;
}

}  // namespace js
}  // namespace lumen_addon
