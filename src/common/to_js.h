// Native values to JavaScript, chosen by type: the mirror of From<T>
// (src/common/forward.h). Numbers, booleans, strings, bytes (a Buffer with a
// copy) and lists of any of them; a record type gets its specialisation next
// to its field table (src/common/record_reader.h writes records).
//
//   Napi::Value v = ToJs<int64_t>::New(env, 2);
#ifndef LUMEN_COMMON_TO_JS_H_
#define LUMEN_COMMON_TO_JS_H_

#include <napi.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

namespace lumen_addon {

template <typename T, typename = void>
struct ToJs;

template <>
struct ToJs<bool> {
  static Napi::Value New(Napi::Env env, bool b) { return Napi::Boolean::New(env, b); }
};
template <typename T>
struct ToJs<T, std::enable_if_t<std::is_arithmetic_v<T> && !std::is_same_v<T, bool>>> {
  static Napi::Value New(Napi::Env env, T n) { return Napi::Number::New(env, static_cast<double>(n)); }
};
template <>
struct ToJs<std::string> {
  static Napi::Value New(Napi::Env env, const std::string& s) { return Napi::String::New(env, s); }
};
template <>
struct ToJs<const char*> {
  static Napi::Value New(Napi::Env env, const char* s) { return Napi::String::New(env, s ? s : ""); }
};
// Bytes become a Buffer of their own: JavaScript may keep it.
template <>
struct ToJs<std::vector<uint8_t>> {
  static Napi::Value New(Napi::Env env, const std::vector<uint8_t>& b) {
    return Napi::Buffer<uint8_t>::Copy(env, b.data(), b.size());
  }
};
template <typename T>
struct ToJs<std::vector<T>, std::enable_if_t<!std::is_same_v<T, uint8_t>>> {
  static Napi::Value New(Napi::Env env, const std::vector<T>& list) {
    Napi::Array a = Napi::Array::New(env, list.size());
    for (uint32_t i = 0; i < list.size(); ++i) a.Set(i, ToJs<T>::New(env, list[i]));
    return a;
  }
};

// An object made for one event, key by key, without a record type of its
// own: JsObject(Kv("actionType", 4), Kv("extraData", bytes)).
template <typename V>
struct KeyValue {
  const char* key;
  V value;
};
template <typename V>
KeyValue<std::decay_t<V>> Kv(const char* key, V&& value) {
  return {key, std::forward<V>(value)};
}
template <typename... V>
struct KeyValues {
  std::tuple<KeyValue<V>...> fields;
};
template <typename... V>
KeyValues<V...> JsObject(KeyValue<V>... fields) {
  return {{std::move(fields)...}};
}
template <typename... V>
struct ToJs<KeyValues<V...>> {
  static Napi::Value New(Napi::Env env, const KeyValues<V...>& o) {
    Napi::Object object = Napi::Object::New(env);
    std::apply([&](const auto&... kv) { (object.Set(kv.key, ToJs<std::decay_t<decltype(kv.value)>>::New(env, kv.value)), ...); },
               o.fields);
    return object;
  }
};

// The arguments of one call, converted in order.
template <typename... A>
std::vector<napi_value> ToJsArgs([[maybe_unused]] Napi::Env env, const A&... args) {
  return {static_cast<napi_value>(ToJs<std::decay_t<A>>::New(env, args))...};
}

}  // namespace lumen_addon

#endif  // LUMEN_COMMON_TO_JS_H_
