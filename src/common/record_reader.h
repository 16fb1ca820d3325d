// Engine records to and from JavaScript objects, described as data: one
// field table per record, each row a key, the record member it fills and
// how the value converts. The same table reads a record (Read, under the
// caller's policy) and writes one (Write). Keys are read and written in
// table order (getters run in that order).
//
//   const record::Field<tavel::BizInfo> kBizInfo[] = {
//       LUMEN_FIELD("bizType", tavel::BizInfo, biz_type, kInt32), ...};
//   tavel::BizInfo b = record::Read(value, kBizInfo);                      // classic: coerced
//   record::Read(value, kOptions, options, record::kPresentOnly);          // absent keys keep defaults
//   record::Read(value, kConfig, config, record::kStrict);                 // QX: no coercion
//   Napi::Object o = record::Write(env, kBizInfo, b);
#ifndef LUMEN_COMMON_RECORD_READER_H_
#define LUMEN_COMMON_RECORD_READER_H_

#include <napi.h>

#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "common/convert.h"

namespace lumen_addon {
namespace record {

enum Coerce {
  kInt32,      // number → int32 (wraps modulo 2^32)
  kInt32Wide,  // number → int32, widened with its sign into a 64-bit member
  kUint32,     // number → uint32
  kInt64,      // number → int64
  kNumber,     // number → the member's floating type
  kBool,       // JavaScript truthiness
  kCollect,    // truthiness, but only when present and neither undefined nor null
  kString,     // UTF-8; absent, undefined or null stay empty
  kStrings,    // array of strings, each coerced; not an array: empty
  kNumbers,    // array of numbers (64-bit integers or doubles), each coerced
  kBytes,      // the bytes of a typed array or Buffer, copied; written as a Buffer of their own
};

// How a table is read. Values that are absent or undefined are "not present".
enum Policy : uint8_t {
  kCoerceAll = 0,    // every key, coerced; one not present coerces like undefined (0, "", false)
  kPresentOnly = 1,  // present keys only, coerced; the others keep the record's defaults
  kStrict = 2,       // every key, not coerced: another type (or none) raises a TypeError and keeps the default
  kStrictPresent = kPresentOnly | kStrict,  // present keys only, not coerced
};

template <typename R>
struct Field {
  const char* key;
  // `v` may be empty (a throwing getter; its exception is pending).
  void (*read)(const Napi::Value& v, R& record, Policy policy);
  // Null: the field is not written.
  Napi::Value (*write)(Napi::Env env, const R& record);
  // The key the field is written under, when it differs from `key`.
  const char* write_key = nullptr;
};

// ---- strict reads: a value of another type raises Node-API's TypeError ----
namespace strict {

inline bool Raise(napi_env env) {
  Napi::Error::New(env).ThrowAsJavaScriptException();
  return false;
}
inline bool Read(const Napi::Value& v, int64_t* out) {
  int64_t n = 0;
  if (v.IsEmpty()) return false;
  if (napi_get_value_int64(v.Env(), v, &n) != napi_ok) return Raise(v.Env());
  *out = n;
  return true;
}
inline bool Read(const Napi::Value& v, int32_t* out) {
  int32_t n = 0;
  if (v.IsEmpty()) return false;
  if (napi_get_value_int32(v.Env(), v, &n) != napi_ok) return Raise(v.Env());
  *out = n;
  return true;
}
inline bool Read(const Napi::Value& v, uint32_t* out) {
  uint32_t n = 0;
  if (v.IsEmpty()) return false;
  if (napi_get_value_uint32(v.Env(), v, &n) != napi_ok) return Raise(v.Env());
  *out = n;
  return true;
}
inline bool Read(const Napi::Value& v, double* out) {
  double n = 0;
  if (v.IsEmpty()) return false;
  if (napi_get_value_double(v.Env(), v, &n) != napi_ok) return Raise(v.Env());
  *out = n;
  return true;
}
inline bool Read(const Napi::Value& v, bool* out) {
  bool b = false;
  if (v.IsEmpty()) return false;
  if (napi_get_value_bool(v.Env(), v, &b) != napi_ok) return Raise(v.Env());
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

}  // namespace strict

template <typename T>
struct MemberOf;
template <typename C, typename M>
struct MemberOf<M C::*> {
  using Class = C;
  using Type = M;
};

// What a strict read of a field reads before it is stored in the member.
template <Coerce How>
using StrictType = std::conditional_t<
    How == kInt32 || How == kInt32Wide, int32_t,
    std::conditional_t<How == kUint32, uint32_t,
                       std::conditional_t<How == kInt64, int64_t,
                                          std::conditional_t<How == kNumber, double,
                                                             std::conditional_t<How == kString, std::string, bool>>>>>;

template <auto Member, Coerce How>
void Assign(const Napi::Value& v, typename MemberOf<decltype(Member)>::Class& r, Policy policy) {
  using T = typename MemberOf<decltype(Member)>::Type;
  if constexpr (How == kBytes) {
    r.*Member = js::Bytes(v);
    return;
  } else if constexpr (How == kStrings || How == kNumbers) {
    // Lists are never read strictly: each element is coerced.
    r.*Member = T();
    js::EachElement(v, [&](const Napi::Value& e) {
      if constexpr (How == kStrings)
        (r.*Member).push_back(js::ToUtf8(e));
      else
        (r.*Member).push_back(static_cast<typename T::value_type>(js::ToDouble(e)));
    });
    return;
  } else {
    if (policy & kStrict) {
      StrictType<How> value{};
      if (strict::Read(v, &value)) r.*Member = static_cast<T>(value);
      return;
    }
    if constexpr (How == kInt32) r.*Member = static_cast<T>(js::ToInt32(v));
    if constexpr (How == kInt32Wide) r.*Member = static_cast<T>(static_cast<int64_t>(js::ToInt32(v)));
    if constexpr (How == kUint32) r.*Member = static_cast<T>(js::ToUint32(v));
    if constexpr (How == kInt64) r.*Member = static_cast<T>(js::ToInt64(v));
    if constexpr (How == kNumber) r.*Member = static_cast<T>(js::ToDouble(v));
    if constexpr (How == kBool) r.*Member = js::ToBool(v);
    if constexpr (How == kCollect) r.*Member = js::IsSet(v) && js::ToBool(v);
    if constexpr (How == kString) r.*Member = js::IsSet(v) ? js::ToUtf8(v) : std::string();
  }
}

template <auto Member, Coerce How>
Napi::Value Put(Napi::Env env, const typename MemberOf<decltype(Member)>::Class& r) {
  const auto& value = r.*Member;
  if constexpr (How == kBool || How == kCollect) {
    return Napi::Boolean::New(env, value);
  } else if constexpr (How == kBytes) {
    return Napi::Buffer<uint8_t>::Copy(env, value.data(), value.size());
  } else if constexpr (How == kString) {
    return Napi::String::New(env, value);
  } else if constexpr (How == kStrings || How == kNumbers) {
    Napi::Array a = Napi::Array::New(env, value.size());
    for (uint32_t i = 0; i < value.size(); ++i) {
      if constexpr (How == kStrings)
        a.Set(i, Napi::String::New(env, value[i]));
      else
        a.Set(i, Napi::Number::New(env, static_cast<double>(value[i])));
    }
    return a;
  } else {
    return Napi::Number::New(env, static_cast<double>(value));
  }
}

// Present: neither missing nor undefined (a throwing getter reads as empty,
// its exception pending).
inline bool Present(const Napi::Value& v) { return !v.IsEmpty() && !v.IsUndefined(); }

// Fills `r` from the object `v` (coerced to an object) under `policy`.
template <typename R, std::size_t N>
void Read(const Napi::Value& v, const Field<R> (&fields)[N], R& r, Policy policy = kCoerceAll) {
  Napi::Object o = js::ToObject(v);
  const bool strict = (policy & kStrict) != 0;
  for (const Field<R>& f : fields) {
    Napi::Value value = js::Get(o, f.key);
    if ((policy & kPresentOnly) && !Present(value)) continue;
    f.read(value, r, policy);
    // After a failed strict read nothing else is read: the call is refused.
    if (strict && !v.IsEmpty() && v.Env().IsExceptionPending()) return;
  }
}

template <typename R, std::size_t N>
R Read(const Napi::Value& v, const Field<R> (&fields)[N], Policy policy = kCoerceAll) {
  R r{};
  Read(v, fields, r, policy);
  return r;
}

// A new object with every written field of `r`, in table order.
template <typename R, std::size_t N>
Napi::Object Write(Napi::Env env, const Field<R> (&fields)[N], const R& r) {
  Napi::Object o = Napi::Object::New(env);
  for (const Field<R>& f : fields)
    if (f.write) o.Set(f.write_key ? f.write_key : f.key, f.write(env, r));
  return o;
}

// Fields that hold records of their own, read and written by their table
// (`Table`: a field table with static storage). Nested reads follow the
// outer policy; a list of records is an array of objects.
template <auto Member, auto& Table>
void ReadNested(const Napi::Value& v, typename MemberOf<decltype(Member)>::Class& r, Policy policy) {
  Read(v, Table, r.*Member, policy);
}
template <auto Member, auto& Table>
Napi::Value WriteNested(Napi::Env env, const typename MemberOf<decltype(Member)>::Class& r) {
  return Write(env, Table, r.*Member);
}
template <auto Member, auto& Table>
void ReadNestedList(const Napi::Value& v, typename MemberOf<decltype(Member)>::Class& r, Policy policy) {
  using List = typename MemberOf<decltype(Member)>::Type;
  r.*Member = List();
  js::EachElement(v, [&](const Napi::Value& e) {
    typename List::value_type item{};
    Read(e, Table, item, policy);
    (r.*Member).push_back(std::move(item));
  });
}
template <auto Member, auto& Table>
Napi::Value WriteNestedList(Napi::Env env, const typename MemberOf<decltype(Member)>::Class& r) {
  const auto& list = r.*Member;
  Napi::Array a = Napi::Array::New(env, list.size());
  for (uint32_t i = 0; i < list.size(); ++i) a.Set(i, Write(env, Table, list[i]));
  return a;
}

}  // namespace record
}  // namespace lumen_addon

// One row of a field table: LUMEN_FIELD("bizType", tavel::BizInfo, biz_type, kInt32).
#define LUMEN_FIELD(key, Record, member, how)                                                               \
  ::lumen_addon::record::Field<Record> {                                                                    \
    key, &::lumen_addon::record::Assign<&Record::member, ::lumen_addon::record::how>,                       \
        &::lumen_addon::record::Put<&Record::member, ::lumen_addon::record::how>                            \
  }
// A record of its own, by its table: LUMEN_NESTED("errorInfo", Status, error_info, kErrorInfo).
#define LUMEN_NESTED(key, Record, member, table)                                                            \
  ::lumen_addon::record::Field<Record> {                                                                    \
    key, &::lumen_addon::record::ReadNested<&Record::member, table>,                                        \
        &::lumen_addon::record::WriteNested<&Record::member, table>                                         \
  }
// A list of records, each by its table.
#define LUMEN_NESTED_LIST(key, Record, member, table)                                                       \
  ::lumen_addon::record::Field<Record> {                                                                    \
    key, &::lumen_addon::record::ReadNestedList<&Record::member, table>,                                    \
        &::lumen_addon::record::WriteNestedList<&Record::member, table>                                     \
  }
// The same, written under another key than the one it is read from.
#define LUMEN_FIELD_AS(key, write_key, Record, member, how)                                                 \
  ::lumen_addon::record::Field<Record> {                                                                    \
    key, &::lumen_addon::record::Assign<&Record::member, ::lumen_addon::record::how>,                       \
        &::lumen_addon::record::Put<&Record::member, ::lumen_addon::record::how>, write_key                 \
  }

#endif  // LUMEN_COMMON_RECORD_READER_H_
