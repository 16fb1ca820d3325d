#include "QXReplay/QXReplayVideoReceiver.h"

namespace lumen_addon {

size_t QXReplayVideoReceiver::SizeOf(const korin::replay::VideoFrame& f) const {
  const size_t w = static_cast<size_t>(f.width), h = static_cast<size_t>(f.height);
  return w * h + 2 * ((w + 1) / 2) * ((h + 1) / 2);
}

bool QXReplayVideoReceiver::Fill(const korin::replay::VideoFrame& f, uint8_t* dst) {
  const size_t w = static_cast<size_t>(f.width), h = static_cast<size_t>(f.height);
  const size_t cw = (w + 1) / 2, ch = (h + 1) / 2;
  return CopyRows(dst, f.data_y, f.stride_y, w, h) && CopyRows(dst, f.data_u, f.stride_u, cw, ch) &&
         CopyRows(dst, f.data_v, f.stride_v, cw, ch);
}

}  // namespace lumen_addon
