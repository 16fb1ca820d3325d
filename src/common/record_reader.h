// Engine records read from JavaScript objects, described as data: each field
// is a key, the record member it fills and how the value is coerced. Keys are
// read in table order (getters run in that order).
#ifndef LUMEN_COMMON_RECORD_READER_H_
#define LUMEN_COMMON_RECORD_READER_H_

#include <napi.h>

#include <cstdint>
#include <string>

#include "common/convert.h"

namespace lumen_addon {
namespace record {

enum Coerce {
  kInt32,      // number → int32 (wraps modulo 2^32)
  kInt32Wide,  // number → int32, widened with its sign into a 64-bit member
  kUint32,     // number → uint32
  kInt64,      // number → int64
  kBool,       // JavaScript truthiness
  kCollect,    // truthiness, but only when present and neither undefined nor null
  kString,     // UTF-8; absent, undefined or null stay empty
};

template <typename R>
struct Field {
  const char* key;
  void (*read)(const Napi::Value& value, R& record);
};

template <typename T>
struct MemberOf;
template <typename C, typename M>
struct MemberOf<M C::*> {
  using Class = C;
  using Type = M;
};

template <auto Member, Coerce How>
void Assign(const Napi::Value& v, typename MemberOf<decltype(Member)>::Class& r) {
  using T = typename MemberOf<decltype(Member)>::Type;
  if constexpr (How == kInt32) r.*Member = static_cast<T>(js::ToInt32(v));
  if constexpr (How == kInt32Wide) r.*Member = static_cast<T>(static_cast<int64_t>(js::ToInt32(v)));
  if constexpr (How == kUint32) r.*Member = static_cast<T>(js::ToUint32(v));
  if constexpr (How == kInt64) r.*Member = static_cast<T>(js::ToInt64(v));
  if constexpr (How == kBool) r.*Member = js::ToBool(v);
  if constexpr (How == kCollect) r.*Member = js::IsSet(v) && js::ToBool(v);
  if constexpr (How == kString) r.*Member = js::IsSet(v) ? js::ToUtf8(v) : std::string();
}

// Fills `r` from the object `v` (coerced to an object) field by field.
template <typename R, std::size_t N>
void Read(const Napi::Value& v, const Field<R> (&fields)[N], R& r) {
  Napi::Object o = js::ToObject(v);
  for (const Field<R>& f : fields) f.read(js::Get(o, f.key), r);
}

template <typename R, std::size_t N>
R Read(const Napi::Value& v, const Field<R> (&fields)[N]) {
  R r{};
  Read(v, fields, r);
  return r;
}

}  // namespace record
}  // namespace lumen_addon

// One row of a field table: LUMEN_FIELD("bizType", tavel::BizInfo, biz_type, kInt32).
#define LUMEN_FIELD(key, Record, member, how) \
  ::lumen_addon::record::Field<Record> { key, &::lumen_addon::record::Assign<&Record::member, ::lumen_addon::record::how> }

#endif  // LUMEN_COMMON_RECORD_READER_H_
