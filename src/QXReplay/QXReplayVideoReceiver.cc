#include "QXReplay/QXReplayVideoReceiver.h"

#include <cstring>

namespace lumen_addon {

namespace {

// Rows of `width` bytes from a plane whose rows are `stride` apart; false
// for a stride too short to hold a row.
bool CopyPlane(uint8_t*& dst, const uint8_t* src, int stride, size_t width, size_t rows) {
  if (stride < 0 || static_cast<size_t>(stride) < width) return false;
  for (size_t row = 0; row < rows; ++row, dst += width) std::memcpy(dst, src + row * static_cast<size_t>(stride), width);
  return true;
}

}  // namespace

size_t QXReplayVideoReceiver::SizeOf(const korin::replay::VideoFrame& f) const {
  const size_t w = static_cast<size_t>(f.width), h = static_cast<size_t>(f.height);
  return w * h + 2 * ((w + 1) / 2) * ((h + 1) / 2);
}

bool QXReplayVideoReceiver::Fill(const korin::replay::VideoFrame& f, uint8_t* dst) {
  const size_t w = static_cast<size_t>(f.width), h = static_cast<size_t>(f.height);
  const size_t cw = (w + 1) / 2, ch = (h + 1) / 2;
  return CopyPlane(dst, f.data_y, f.stride_y, w, h) && CopyPlane(dst, f.data_u, f.stride_u, cw, ch) &&
         CopyPlane(dst, f.data_v, f.stride_v, cw, ch);
}

}  // namespace lumen_addon
