// Coercing conversions between JavaScript values and native ones. Admitted
// arguments are coerced, never strictly read: a numeric string becomes its
// number, any object becomes true. A failing Node-API call is raised as a
// JavaScript exception and the conversion answers an empty value.
#ifndef LUMEN_COMMON_CONVERT_H_
#define LUMEN_COMMON_CONVERT_H_

#include <napi.h>

#include <cstdint>
#include <string>
#include <vector>

namespace lumen_addon {
namespace js {

int32_t ToInt32(const Napi::Value& v);
uint32_t ToUint32(const Napi::Value& v);
int64_t ToInt64(const Napi::Value& v);
double ToDouble(const Napi::Value& v);
bool ToBool(const Napi::Value& v);
std::string ToUtf8(const Napi::Value& v);
Napi::Object ToObject(const Napi::Value& v);

// Keyed reads of a record; a missing key coerces like undefined (0, "NaN"...).
Napi::Value Get(const Napi::Object& o, const char* key);
bool Has(const Napi::Object& o, const char* key);
inline int32_t Int32At(const Napi::Object& o, const char* key) { return ToInt32(Get(o, key)); }
inline uint32_t Uint32At(const Napi::Object& o, const char* key) { return ToUint32(Get(o, key)); }
inline int64_t Int64At(const Napi::Object& o, const char* key) { return ToInt64(Get(o, key)); }
inline double DoubleAt(const Napi::Object& o, const char* key) { return ToDouble(Get(o, key)); }
inline bool BoolAt(const Napi::Object& o, const char* key) { return ToBool(Get(o, key)); }
inline std::string Utf8At(const Napi::Object& o, const char* key) { return ToUtf8(Get(o, key)); }
// Strings that are absent stay empty instead of becoming "undefined".
std::string OptionalUtf8At(const Napi::Object& o, const char* key);
// Present, and neither undefined nor null.
bool IsSet(const Napi::Value& v);

// Copies the bytes a typed array or Buffer views (offset and length honoured).
// Call it only after every other argument was converted: a getter may detach.
std::vector<uint8_t> Bytes(const Napi::Value& v);

// Array elements coerced one by one; a non-array gives an empty list, a
// longer one than kMaxListLength an empty list and a RangeError.
constexpr uint32_t kMaxListLength = 1u << 20;
// Runs `each` on the elements of an array in order; a non-array has none, a
// longer one than kMaxListLength none and a RangeError, and a throwing
// element getter ends the walk with its exception raised.
template <typename F>
void EachElement(const Napi::Value& v, F each) {
  if (v.IsEmpty() || !v.IsArray()) return;
  auto a = v.As<Napi::Array>();
  const uint32_t n = a.Length();
  // A length is the caller's to choose (new Array(2 ** 32 - 1)): reserving
  // or walking it would exhaust memory long before the engine saw the list.
  if (n > kMaxListLength) {
    Napi::RangeError::New(v.Env(), "lists are limited to " + std::to_string(kMaxListLength) + " elements")
        .ThrowAsJavaScriptException();
    return;
  }
  for (uint32_t i = 0; i < n; ++i) {
    Napi::Value e = a.Get(i);
    if (e.IsEmpty()) return;
    each(e);
  }
}

std::vector<int64_t> Int64List(const Napi::Value& v);
std::vector<int64_t> Int32WidenedList(const Napi::Value& v);

// Results.
inline Napi::Value Number(Napi::Env env, double d) { return Napi::Number::New(env, d); }
inline Napi::Value Boolean(Napi::Env env, bool b) { return Napi::Boolean::New(env, b); }
inline Napi::Value String(Napi::Env env, const std::string& s) { return Napi::String::New(env, s); }
Napi::Value CopyBuffer(Napi::Env env, const void* data, size_t size);
// A new ArrayBuffer holding a copy of the bytes; null, with nothing raised,
// when none can be made (the environment is being torn down).
napi_value CopyArrayBuffer(napi_env env, const void* data, size_t size);

}  // namespace js
}  // namespace lumen_addon

#endif  // LUMEN_COMMON_CONVERT_H_
