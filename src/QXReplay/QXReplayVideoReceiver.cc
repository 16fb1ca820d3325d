#include "QXReplay/QXReplayVideoReceiver.h"

namespace lumen_addon {

size_t QXReplayVideoReceiver::SizeOf(const korin::replay::VideoFrame& f) const {
  return PackedI420Size(static_cast<size_t>(f.width), static_cast<size_t>(f.height));
}

bool QXReplayVideoReceiver::Fill(const korin::replay::VideoFrame& f, uint8_t* dst) {
  return CopyI420(dst, f.data_y, f.stride_y, f.data_u, f.stride_u, f.data_v, f.stride_v, static_cast<size_t>(f.width),
                  static_cast<size_t>(f.height));
}

}  // namespace lumen_addon
