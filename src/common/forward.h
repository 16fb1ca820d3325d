// The forwarding frame: an export whose work is one engine call is one table
// row. The engine method's parameter types choose the converters, the engine
// kind chooses the look-up, and the row carries the failure log text.
//
//   Forward<LivePlay, &tavel::LivePlayEngine::AudioStartSend>
//
// Order of a call, once admitted: the kind's look-up hands back an owner that
// keeps the wrapper alive for the whole call (a getter may leave the room
// meanwhile), then the arguments are converted with no lock of the add-on
// held (getters may call any export), then the wrapper's Call runs the engine
// method or logs the row's text and answers -1.
#ifndef LUMEN_COMMON_FORWARD_H_
#define LUMEN_COMMON_FORWARD_H_

#include <napi.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "common/convert.h"
#include "common/export_table.h"
#include "common/to_js.h"

namespace lumen_addon {

// Converters, one per engine parameter type (references and const removed).
// A group whose engine takes a type of its own specialises From for it next
// to that type's field table.
template <typename T, typename = void>
struct From;

template <typename T>
struct From<T, std::enable_if_t<std::is_integral_v<T> && std::is_signed_v<T> && (sizeof(T) <= 4)>> {
  static T Read(const Napi::Value& v) { return static_cast<T>(js::ToInt32(v)); }
};
template <typename T>
struct From<T, std::enable_if_t<std::is_integral_v<T> && std::is_unsigned_v<T> && !std::is_same_v<T, bool> &&
                                (sizeof(T) <= 4)>> {
  static T Read(const Napi::Value& v) { return static_cast<T>(js::ToUint32(v)); }
};
template <typename T>
struct From<T, std::enable_if_t<std::is_integral_v<T> && (sizeof(T) == 8)>> {
  static T Read(const Napi::Value& v) { return static_cast<T>(js::ToInt64(v)); }
};
template <>
struct From<bool> {
  static bool Read(const Napi::Value& v) { return js::ToBool(v); }
};
template <typename T>
struct From<T, std::enable_if_t<std::is_floating_point_v<T>>> {
  static T Read(const Napi::Value& v) { return static_cast<T>(js::ToDouble(v)); }
};
template <>
struct From<std::string> {
  static std::string Read(const Napi::Value& v) { return js::ToUtf8(v); }
};
template <>
struct From<std::vector<int64_t>> {
  static std::vector<int64_t> Read(const Napi::Value& v) { return js::Int64List(v); }
};
// Bytes are read after every other argument: a getter may detach the buffer.
template <>
struct From<std::vector<uint8_t>> {
  static constexpr bool kLast = true;
  static std::vector<uint8_t> Read(const Napi::Value& v) { return js::Bytes(v); }
};

template <typename T>
using Plain = std::remove_cv_t<std::remove_reference_t<T>>;

template <typename T, typename = void>
struct ReadLast : std::false_type {};
template <typename T>
struct ReadLast<T, std::void_t<decltype(From<T>::kLast)>> : std::bool_constant<From<T>::kLast> {};

// The engine method's shape.
template <typename M>
struct MethodOf;
template <typename R, typename C, typename... A>
struct MethodOf<R (C::*)(A...)> {
  using Engine = C;
  using Result = R;
  using Args = std::tuple<Plain<A>...>;
};

// Reads info[0..] into the method's parameter types, in argument order
// except that bytes come last.
template <typename Args, std::size_t... I>
Args ReadArgs([[maybe_unused]] const Napi::CallbackInfo& info, [[maybe_unused]] std::size_t first,
              std::index_sequence<I...>) {
  Args args{};
  [[maybe_unused]] auto read = [&](auto index, bool last_pass) {
    constexpr std::size_t i = decltype(index)::value;
    using T = std::tuple_element_t<i, Args>;
    if (ReadLast<T>::value == last_pass) std::get<i>(args) = From<T>::Read(info[first + i]);
  };
  (read(std::integral_constant<std::size_t, I>{}, false), ...);
  (read(std::integral_constant<std::size_t, I>{}, true), ...);
  return args;
}

// Engine parameters are read from info[first], info[first + 1], ...
template <typename Args>
Args ReadArgs(const Napi::CallbackInfo& info, std::size_t first = 0) {
  return ReadArgs<Args>(info, first, std::make_index_sequence<std::tuple_size_v<Args>>{});
}

template <typename F>
struct FunctionOf;
template <typename R, typename... A>
struct FunctionOf<R (*)(A...)> {
  using Result = R;
  using Args = std::tuple<Plain<A>...>;
};

// A pass-through export to a free function of the engine library (or of the
// add-on) that needs no engine; the result by type (void: undefined).
template <auto Fn>
Napi::Value ForwardFunction(const Napi::CallbackInfo& info) {
  auto args = ReadArgs<typename FunctionOf<decltype(Fn)>::Args>(info);
  using R = typename FunctionOf<decltype(Fn)>::Result;
  if constexpr (std::is_void_v<R>) {
    std::apply(Fn, args);
    return Napi::Value();
  } else {
    return ToJs<Plain<R>>::New(info.Env(), std::apply(Fn, args));
  }
}

// Picks one overload of an engine method: Overload<const tavel::BizInfo&>(&E::M).
template <typename... A, typename R, typename C>
constexpr auto Overload(R (C::*method)(A...)) {
  return method;
}

// An engine kind describes where its engine lives:
//   struct Kind {
//     using Wrapper = ...;                                   // see the result policies below
//     static std::shared_ptr<Wrapper> Find(const Napi::CallbackInfo&);  // owning, null when none
//     static Napi::Value Missing(const Napi::CallbackInfo&);  // logs, answers the neutral value
//     static constexpr std::size_t kFirstArg = 0;             // 1 when info[0] is a handle
//   };
// Kinds of objects JavaScript holds by handle: ByHandle (src/qx_base/handle_arg.h).
template <typename Kind, typename = void>
struct FirstArg : std::integral_constant<std::size_t, 0> {};
template <typename Kind>
struct FirstArg<Kind, std::void_t<decltype(Kind::kFirstArg)>> : std::integral_constant<std::size_t, Kind::kFirstArg> {};

// A handler with logic of its own on the same frame: the owner is found and
// `Op(info, wrapper)` answers the export's number (or its value).
template <typename Kind, auto Op>
Napi::Value OnEngine(const Napi::CallbackInfo& info) {
  auto owner = Kind::Find(info);
  if (!owner) return Kind::Missing(info);
  if constexpr (std::is_same_v<decltype(Op(info, *owner)), Napi::Value>) {
    return Op(info, *owner);
  } else {
    return js::Number(info.Env(), Op(info, *owner));
  }
}

// Result policies: what a forwarded export answers.
//
// EngineCode (the default): the engine's int. The wrapper's
//   `int Call(const char* failure, Op)` logs the row's text and answers -1
//   when its engine is gone.
// TrueIfLive: true once the handle named a live object, whether or not it
//   had an engine object to call (the player's actions); false otherwise.
// ValueOrZero: the method's value by ToJs<R>; 0 (false for a boolean) when
//   there is no engine object or no live object (the player's getters).
// NoAnswer: undefined, after the call (or without one).
// The last three use the wrapper's `bool Visit(Op)`: runs op(engine) when
// there is one, and answers whether it ran.
struct EngineCode {
  template <typename R>
  static Napi::Value Missing(const Napi::CallbackInfo&, Napi::Value logged) { return logged; }
  template <typename R, typename W, typename Op>
  static Napi::Value Answer(const Napi::CallbackInfo& info, W& w, Op&& op) {
    return js::Number(info.Env(), w.Call(RowOf(info).text, op));
  }
};
struct TrueIfLive {
  template <typename R>
  static Napi::Value Missing(const Napi::CallbackInfo& info, Napi::Value) { return js::Boolean(info.Env(), false); }
  template <typename R, typename W, typename Op>
  static Napi::Value Answer(const Napi::CallbackInfo& info, W& w, Op&& op) {
    w.Visit([&](auto* e) { op(e); });
    return js::Boolean(info.Env(), true);
  }
};
struct ValueOrZero {
  template <typename R>
  static Napi::Value Missing(const Napi::CallbackInfo& info, Napi::Value) { return ToJs<R>::New(info.Env(), R{}); }
  template <typename R, typename W, typename Op>
  static Napi::Value Answer(const Napi::CallbackInfo& info, W& w, Op&& op) {
    R value{};
    w.Visit([&](auto* e) { value = op(e); });
    return ToJs<R>::New(info.Env(), value);
  }
};
struct NoAnswer {
  template <typename R>
  static Napi::Value Missing(const Napi::CallbackInfo& info, Napi::Value) { return info.Env().Undefined(); }
  template <typename R, typename W, typename Op>
  static Napi::Value Answer(const Napi::CallbackInfo& info, W& w, Op&& op) {
    w.Visit([&](auto* e) { op(e); });
    return info.Env().Undefined();
  }
};

// For groups that read their records strictly: once reading an argument
// raised (a key of another type), the engine is not called and the row's
// failure value is answered; otherwise `P` answers.
template <typename P>
struct UnlessRaised {
  template <typename R>
  static Napi::Value Missing(const Napi::CallbackInfo& info, Napi::Value logged) {
    return P::template Missing<R>(info, logged);
  }
  template <typename R, typename W, typename Op>
  static Napi::Value Answer(const Napi::CallbackInfo& info, W& w, Op&& op) {
    if (info.Env().IsExceptionPending()) return FailureValue(info.Env(), RowOf(info).failure);
    return P::template Answer<R>(info, w, std::forward<Op>(op));
  }
};

// A pass-through export: the kind finds the owner, the arguments are read by
// the method's parameter types, and the policy answers.
template <typename Kind, auto Method, typename Policy = EngineCode>
Napi::Value Forward(const Napi::CallbackInfo& info) {
  using Shape = MethodOf<decltype(Method)>;
  using R = Plain<typename Shape::Result>;
  auto owner = Kind::Find(info);
  if (!owner) return Policy::template Missing<R>(info, Kind::Missing(info));
  auto args = ReadArgs<typename Shape::Args>(info, FirstArg<Kind>::value);
  using Engine = typename Shape::Engine;
  return Policy::template Answer<R>(info, *owner, [&](Engine* engine) {
    return std::apply([&](auto&... a) { return (engine->*Method)(a...); }, args);
  });
}

// A pass-through export to a method of the wrapper itself (one that logs, or
// keeps what the engine is handed): the arguments are converted by its
// parameter types, the result by its type.
template <typename Kind, auto Method>
Napi::Value ForwardWrapper(const Napi::CallbackInfo& info) {
  auto owner = Kind::Find(info);
  if (!owner) return Kind::Missing(info);
  using Shape = MethodOf<decltype(Method)>;
  auto args = ReadArgs<typename Shape::Args>(info, FirstArg<Kind>::value);
  return ToJs<Plain<typename Shape::Result>>::New(info.Env(),
                                                   std::apply([&](auto&... a) { return ((*owner).*Method)(a...); }, args));
}

}  // namespace lumen_addon

#endif  // LUMEN_COMMON_FORWARD_H_
