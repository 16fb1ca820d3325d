// Reads keys of a JavaScript object into record fields, as a list of
// alternating keys and fields: a key that is absent, or whose value has not
// the field's kind (number, boolean, string), leaves its field as it was.
#ifndef LIVE_ENGINE_CONTROL_RECORD_FIELDS_H_
#define LIVE_ENGINE_CONTROL_RECORD_FIELDS_H_

#include <napi.h>

#include <string>
#include <type_traits>

namespace replay_control {

template <typename T>
void ReadField(const Napi::Value& v, T& field) {
  if constexpr (std::is_same_v<T, bool>) {
    if (v.IsBoolean()) field = v.As<Napi::Boolean>().Value();
  } else if constexpr (std::is_same_v<T, std::string>) {
    if (v.IsString()) field = v.As<Napi::String>().Utf8Value();
  } else {
    if (v.IsNumber()) field = static_cast<T>(v.As<Napi::Number>().DoubleValue());
  }
}

inline void ReadFields(const Napi::Value&) {}
template <typename T, typename... R>
void ReadFields(const Napi::Value& o, const char* key, T& field, R&... rest) {
  if (!o.IsObject()) return;
  ReadField(o.As<Napi::Object>().Get(key), field);
  ReadFields(o, rest...);
}

}  // namespace replay_control

#endif  // LIVE_ENGINE_CONTROL_RECORD_FIELDS_H_
