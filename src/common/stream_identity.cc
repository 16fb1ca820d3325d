#include "common/stream_identity.h"

#include <cstring>
#include <sstream>

#include "common/convert.h"

namespace lumen {

namespace {

// "collect" counts only when present and neither undefined nor null.
bool CollectAt(const Napi::Object& o) {
  Napi::Value v = js::Get(o, "collect");
  return js::IsSet(v) && js::ToBool(v);
}

}  // namespace

tavel::BizInfo ToBizInfo(const Napi::Value& v) {
  Napi::Object o = js::ToObject(v);
  tavel::BizInfo b;
  b.biz_type = js::Int32At(o, "bizType");
  b.user_id = js::Int32At(o, "userId");
  b.group_id = js::Int32At(o, "groupId");
  b.collect = CollectAt(o);
  return b;
}

tavel::VideoTrackInfo ToVideoTrackInfo(const Napi::Value& v) {
  Napi::Object o = js::ToObject(v);
  tavel::VideoTrackInfo t;
  t.type = js::Int32At(o, "type");
  t.user_id = js::Int32At(o, "userId");
  t.ssrc = js::Int64At(o, "ssrc");
  t.ssrc_fec = js::Int64At(o, "ssrcFec");
  t.ssrc_nack = js::Int64At(o, "ssrcNack");
  t.group_id = js::Int32At(o, "groupId");
  t.collect = CollectAt(o);
  return t;
}

tavel::AudioTrackInfo ToAudioTrackInfo(const Napi::Value& v) {
  Napi::Object o = js::ToObject(v);
  tavel::AudioTrackInfo t;
  t.type = js::Int32At(o, "type");
  t.user_id = js::Int32At(o, "userId");
  t.ssrc = js::Int64At(o, "ssrc");
  t.group_id = js::Int32At(o, "groupId");
  t.collect = CollectAt(o);
  return t;
}

std::string ToString(const tavel::VideoTrackInfo& i) {
  std::ostringstream os;
  os << "VideoTrackInfo={type:" << i.type << ",group_id:" << i.group_id << ",user_id:" << i.user_id
     << ",ssrc:" << i.ssrc << ",ssrc_fec:" << i.ssrc_fec << ",ssrc_nack:" << i.ssrc_nack
     << ",collect:" << (i.collect ? 1 : 0) << "}";
  return os.str();
}

std::string ToString(const tavel::BizInfo& i) {
  std::ostringstream os;
  os << "BizInfo={biz_type:" << i.biz_type << ",user_id:" << i.user_id << ",group_id:" << i.group_id
     << ",collect:" << (i.collect ? 1 : 0) << "}";
  return os.str();
}

IdentityKey ToIdentityKey(const tavel::BizInfo& info) {
  IdentityKey key{};
  std::memcpy(key.data(), &info.biz_type, 4);
  std::memcpy(key.data() + 4, &info.user_id, 4);
  std::memcpy(key.data() + 8, &info.group_id, 4);
  key[12] = info.collect ? 1 : 0;
  return key;
}

}  // namespace lumen
