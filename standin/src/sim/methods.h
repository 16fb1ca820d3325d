// Binds the methods of a callback interface the add-on registers to firers:
// each method is held as "<Prefix>.<Method>" and takes its parameters from
// the fired arguments, in the method's order.
#ifndef LIVE_ENGINE_SIM_METHODS_H_
#define LIVE_ENGINE_SIM_METHODS_H_

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "sim/sim.h"

namespace sim {

template <typename T, typename = void>
struct ArgOf;

// An integer right after a byte buffer is its length: the buffer's size when
// not given, never more than that size.
template <typename T>
struct ArgOf<T, std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool>>> {
  static T Get(const Args& a, size_t i) {
    const Bytes* prev = i > 0 ? a.Buf(i - 1) : nullptr;
    if (!prev) return static_cast<T>(a.Int(i));
    int64_t size = static_cast<int64_t>(prev->size());
    return static_cast<T>(a.Has(i) ? std::min(a.Int(i), size) : size);
  }
};
template <>
struct ArgOf<bool> {
  static bool Get(const Args& a, size_t i) { return a.Bool(i); }
};
template <>
struct ArgOf<double> {
  static double Get(const Args& a, size_t i) { return a.Num(i); }
};
template <>
struct ArgOf<std::string> {
  static std::string Get(const Args& a, size_t i) { return a.Str(i); }
};
// A string, or nullptr for null / absent.
template <>
struct ArgOf<const char*> {
  static const char* Get(const Args& a, size_t i) {
    auto* s = std::get_if<std::string>(&a.at(i));
    return s ? s->c_str() : nullptr;
  }
};
// A Buffer's bytes, or nullptr for null / absent.
template <>
struct ArgOf<const uint8_t*> {
  static const uint8_t* Get(const Args& a, size_t i) {
    const Bytes* b = a.Buf(i);
    return b ? b->data() : nullptr;
  }
};

template <typename C>
using BoundMethod = std::pair<const char*, std::function<void(C*, const Args&)>>;

template <typename C, typename... P, size_t... I>
void InvokeWith(C* c, void (C::*m)(P...), const Args& a, std::index_sequence<I...>) {
  (c->*m)(ArgOf<std::decay_t<P>>::Get(a, I)...);
}

template <typename C, typename... P>
BoundMethod<C> Method(const char* name, void (C::*m)(P...)) {
  return {name, [m](C* c, const Args& a) { InvokeWith(c, m, a, std::index_sequence_for<P...>{}); }};
}

// Holds every method of `callback` for `owner`; a null callback drops them.
template <typename C>
void HoldMethods(const void* owner, const std::string& prefix, C* callback,
                 const std::vector<BoundMethod<C>>& methods) {
  for (const auto& m : methods) {
    std::string name = prefix + "." + m.first;
    if (!callback) {
      ReleaseName(name, owner);
      continue;
    }
    auto fn = m.second;
    Hold(owner, name, [callback, fn](const Args& a) { fn(callback, a); });
  }
}

}  // namespace sim

// Inside a function that has `using C = <callback interface>;`.
#define SIM_METHOD(m) sim::Method(#m, &C::m)

#endif  // LIVE_ENGINE_SIM_METHODS_H_
