#include "common/stream_identity.h"

#include <sstream>

#include "common/record_reader.h"

namespace lumen_addon {

namespace {

using tavel::AudioTrackInfo;
using tavel::BizInfo;
using tavel::VideoTrackInfo;

const record::Field<BizInfo> kBizInfo[] = {
    LUMEN_FIELD("bizType", BizInfo, biz_type, kInt32),
    LUMEN_FIELD("userId", BizInfo, user_id, kInt32),
    LUMEN_FIELD("groupId", BizInfo, group_id, kInt32),
    LUMEN_FIELD("collect", BizInfo, collect, kCollect),
};

const record::Field<VideoTrackInfo> kVideoTrackInfo[] = {
    LUMEN_FIELD("type", VideoTrackInfo, type, kInt32),
    LUMEN_FIELD("userId", VideoTrackInfo, user_id, kInt32),
    LUMEN_FIELD("ssrc", VideoTrackInfo, ssrc, kInt64),
    LUMEN_FIELD("ssrcFec", VideoTrackInfo, ssrc_fec, kInt64),
    LUMEN_FIELD("ssrcNack", VideoTrackInfo, ssrc_nack, kInt64),
    LUMEN_FIELD("groupId", VideoTrackInfo, group_id, kInt32),
    LUMEN_FIELD("collect", VideoTrackInfo, collect, kCollect),
};

const record::Field<AudioTrackInfo> kAudioTrackInfo[] = {
    LUMEN_FIELD("type", AudioTrackInfo, type, kInt32),
    LUMEN_FIELD("userId", AudioTrackInfo, user_id, kInt32),
    LUMEN_FIELD("ssrc", AudioTrackInfo, ssrc, kInt64),
    LUMEN_FIELD("groupId", AudioTrackInfo, group_id, kInt32),
    LUMEN_FIELD("collect", AudioTrackInfo, collect, kCollect),
};

}  // namespace

BizInfo ToBizInfo(const Napi::Value& v) { return record::Read(v, kBizInfo); }
VideoTrackInfo ToVideoTrackInfo(const Napi::Value& v) { return record::Read(v, kVideoTrackInfo); }
AudioTrackInfo ToAudioTrackInfo(const Napi::Value& v) { return record::Read(v, kAudioTrackInfo); }

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

}  // namespace lumen_addon
