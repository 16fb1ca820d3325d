// Stream identities from JavaScript objects: BizInfo, VideoTrackInfo,
// AudioTrackInfo and user-id lists, and their text form for log lines.
// The conversion never fails; callers check beforehand that they got an object.
#ifndef LUMEN_COMMON_STREAM_IDENTITY_H_
#define LUMEN_COMMON_STREAM_IDENTITY_H_

#include <napi.h>

#include <string>

#include "common/forward.h"
#include "tavel/biz_info.h"

namespace lumen_addon {

tavel::BizInfo ToBizInfo(const Napi::Value& v);
tavel::VideoTrackInfo ToVideoTrackInfo(const Napi::Value& v);
tavel::AudioTrackInfo ToAudioTrackInfo(const Napi::Value& v);

std::string ToString(const tavel::VideoTrackInfo& info);
std::string ToString(const tavel::BizInfo& info);

template <>
struct From<tavel::BizInfo> {
  static tavel::BizInfo Read(const Napi::Value& v) { return ToBizInfo(v); }
};
template <>
struct From<tavel::VideoTrackInfo> {
  static tavel::VideoTrackInfo Read(const Napi::Value& v) { return ToVideoTrackInfo(v); }
};
template <>
struct From<tavel::AudioTrackInfo> {
  static tavel::AudioTrackInfo Read(const Napi::Value& v) { return ToAudioTrackInfo(v); }
};

}  // namespace lumen_addon

#endif  // LUMEN_COMMON_STREAM_IDENTITY_H_
