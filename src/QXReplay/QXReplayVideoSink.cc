#include "QXReplay/QXReplayVideoSink.h"

#include "tavel/media_utils.h"

namespace lumen_addon {

size_t QXReplayVideoSink::SizeOf(const korin::replay::VideoFrame& f) const {
  return static_cast<size_t>(f.width) * static_cast<size_t>(f.height) * 4;
}

bool QXReplayVideoSink::Fill(const korin::replay::VideoFrame& f, uint8_t* dst) {
  return tavel::I420ToABGR(f.data_y, f.stride_y, f.data_u, f.stride_u, f.data_v, f.stride_v, dst, f.width * 4, f.width,
                           f.height) == 0;
}

}  // namespace lumen_addon
