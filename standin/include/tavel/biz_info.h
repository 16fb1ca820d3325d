#ifndef TAVEL_BIZ_INFO_H_
#define TAVEL_BIZ_INFO_H_

#include <cstdint>
#include <tuple>

#include "engine_export.h"

namespace tavel {

// A stream by business type, user and group.
struct BizInfo {
  int32_t biz_type = 0;
  int32_t user_id = 0;
  int32_t group_id = 0;
  bool collect = false;

  bool operator<(const BizInfo& o) const {
    return std::tie(biz_type, user_id, group_id, collect) < std::tie(o.biz_type, o.user_id, o.group_id, o.collect);
  }
};

struct VideoTrackInfo {
  int32_t type = 0;
  int32_t group_id = 0;
  int32_t user_id = 0;
  int64_t ssrc = 0;
  int64_t ssrc_fec = 0;
  int64_t ssrc_nack = 0;
  bool collect = false;
};

struct AudioTrackInfo {
  int32_t type = 0;
  int32_t group_id = 0;
  int32_t user_id = 0;
  int64_t ssrc = 0;
  uint64_t reserved = 0;
  bool collect = false;
};

class ENGINE_API BizTypeWrapper {
 public:
  static bool ToBizInfo(const VideoTrackInfo& track, BizInfo& biz);
};

}  // namespace tavel

#endif  // TAVEL_BIZ_INFO_H_
