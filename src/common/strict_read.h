// Strict reads for the QX groups: a value of another type is not coerced;
// the Node-API error is raised as a JavaScript exception and the field keeps
// its default.
#ifndef LUMEN_COMMON_STRICT_READ_H_
#define LUMEN_COMMON_STRICT_READ_H_

#include <napi.h>

#include <cstdint>
#include <string>

namespace lumen_addon {
namespace strict {

inline bool Raise(napi_env env) {
  Napi::Error::New(env).ThrowAsJavaScriptException();
  return false;
}

inline bool Read(const Napi::Value& v, int64_t* out) {
  int64_t n = 0;
  if (v.IsEmpty() || napi_get_value_int64(v.Env(), v, &n) != napi_ok) return v.IsEmpty() ? false : Raise(v.Env());
  *out = n;
  return true;
}
inline bool Read(const Napi::Value& v, int32_t* out) {
  int32_t n = 0;
  if (v.IsEmpty() || napi_get_value_int32(v.Env(), v, &n) != napi_ok) return v.IsEmpty() ? false : Raise(v.Env());
  *out = n;
  return true;
}
inline bool Read(const Napi::Value& v, double* out) {
  double n = 0;
  if (v.IsEmpty() || napi_get_value_double(v.Env(), v, &n) != napi_ok) return v.IsEmpty() ? false : Raise(v.Env());
  *out = n;
  return true;
}
inline bool Read(const Napi::Value& v, bool* out) {
  bool b = false;
  if (v.IsEmpty() || napi_get_value_bool(v.Env(), v, &b) != napi_ok) return v.IsEmpty() ? false : Raise(v.Env());
  *out = b;
  return true;
}
inline bool Read(const Napi::Value& v, std::string* out) {
  if (v.IsEmpty()) return false;
  if (!v.IsString()) {
    size_t n = 0;
    napi_get_value_string_utf8(v.Env(), v, nullptr, 0, &n);  // sets the "string expected" error
    return Raise(v.Env());
  }
  *out = v.As<Napi::String>().Utf8Value();
  return true;
}

// The key's value when the object has it (a throwing getter raises and
// reads as absent).
inline Napi::Value Present(const Napi::Object& o, const char* key) {
  if (o.IsEmpty() || !o.Has(key)) return Napi::Value();
  return o.Get(key);
}

// Reads `key` into `out` when present; answers whether it was read.
template <typename T>
bool ReadAt(const Napi::Object& o, const char* key, T* out) {
  Napi::Value v = Present(o, key);
  return !v.IsEmpty() && Read(v, out);
}

// Always reads `key`: absent reads as undefined and raises like a wrong type.
template <typename T>
bool ReadRequired(const Napi::Object& o, const char* key, T* out) {
  if (o.IsEmpty()) return false;
  Napi::Value v = o.Get(key);
  return Read(v, out);
}

}  // namespace strict
}  // namespace lumen_addon

#endif  // LUMEN_COMMON_STRICT_READ_H_
