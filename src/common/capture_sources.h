// The capture sources record_engine lists (windows, screens) as the arrays
// JavaScript gets: {id, title} each, or {id, title, width, height}.
#ifndef LUMEN_COMMON_CAPTURE_SOURCES_H_
#define LUMEN_COMMON_CAPTURE_SOURCES_H_

#include <napi.h>

#include <cstdint>
#include <vector>

#include "common/record_reader.h"
#include "record_engine/record_engine.h"

namespace lumen_addon {

namespace capture_sources {
using record_engine::Source;
inline const record::Field<Source> kNamed[] = {
    LUMEN_FIELD("id", Source, id, kInt64),
    LUMEN_FIELD("title", Source, title, kString),
};
inline const record::Field<Source> kSized[] = {
    LUMEN_FIELD("id", Source, id, kInt64),
    LUMEN_FIELD("title", Source, title, kString),
    LUMEN_FIELD("width", Source, width, kInt32),
    LUMEN_FIELD("height", Source, height, kInt32),
};
}  // namespace capture_sources

inline Napi::Array CaptureSourcesToJs(Napi::Env env, const std::vector<record_engine::Source>& list, bool sizes) {
  Napi::Array out = Napi::Array::New(env, list.size());
  for (uint32_t i = 0; i < list.size(); ++i)
    out.Set(i, sizes ? record::Write(env, capture_sources::kSized, list[i])
                     : record::Write(env, capture_sources::kNamed, list[i]));
  return out;
}

}  // namespace lumen_addon

#endif  // LUMEN_COMMON_CAPTURE_SOURCES_H_
