// Frame buffers: the conversion to I420 that consumers of other formats use.
// Scripted false ("korin.ConvertToI420"), it fails as a real conversion does
// on memory it cannot read.
#include <cstring>
#include <utility>

#include "korin/video_frame.h"
#include "sim/frames.h"
#include "sim/sim.h"

namespace sim {
namespace {

using korin::QXI420Buffer;
using korin::QXPixelBuffer;

constexpr int kMaxSide = 8192;

uint8_t Clamp(int v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); }

void Allocate(int width, int height, QXI420Buffer* b) {
  const int cw = (width + 1) / 2, ch = (height + 1) / 2;
  b->width = width;
  b->height = height;
  b->stride_y = width;
  b->stride_u = b->stride_v = cw;
  b->y.assign(static_cast<size_t>(width) * height, 0);
  b->u.assign(static_cast<size_t>(cw) * ch, 0);
  b->v.assign(static_cast<size_t>(cw) * ch, 0);
}

// BT.601 studio range, the inverse of tavel::I420ToABGR; chroma from the
// mean of each 2x2 block (of what there is of it at an odd edge).
void FromBGRA(const QXPixelBuffer& s, QXI420Buffer* b) {
  for (int y = 0; y < s.height; ++y) {
    const uint8_t* row = s.data[0] + static_cast<size_t>(y) * s.stride[0];
    uint8_t* out = b->y.data() + static_cast<size_t>(y) * b->stride_y;
    for (int x = 0; x < s.width; ++x) {
      const uint8_t* p = row + x * 4;
      out[x] = Clamp(((66 * p[2] + 129 * p[1] + 25 * p[0] + 128) >> 8) + 16);
    }
  }
  for (int cy = 0; cy < (s.height + 1) / 2; ++cy) {
    for (int cx = 0; cx < (s.width + 1) / 2; ++cx) {
      int r = 0, g = 0, bl = 0, n = 0;
      for (int dy = 0; dy < 2 && cy * 2 + dy < s.height; ++dy)
        for (int dx = 0; dx < 2 && cx * 2 + dx < s.width; ++dx) {
          const uint8_t* p = s.data[0] + static_cast<size_t>(cy * 2 + dy) * s.stride[0] + (cx * 2 + dx) * 4;
          bl += p[0];
          g += p[1];
          r += p[2];
          ++n;
        }
      r = (r + n / 2) / n;
      g = (g + n / 2) / n;
      bl = (bl + n / 2) / n;
      b->u[static_cast<size_t>(cy) * b->stride_u + cx] = Clamp(((-38 * r - 74 * g + 112 * bl + 128) >> 8) + 128);
      b->v[static_cast<size_t>(cy) * b->stride_v + cx] = Clamp(((112 * r - 94 * g - 18 * bl + 128) >> 8) + 128);
    }
  }
}

void CopyPlane(const uint8_t* src, int src_stride, uint8_t* dst, int dst_stride, int width, int height) {
  for (int y = 0; y < height; ++y)
    std::memcpy(dst + static_cast<size_t>(y) * dst_stride, src + static_cast<size_t>(y) * src_stride, width);
}

}  // namespace

bool ToI420(const korin::QXPixelBuffer& s, korin::QXI420Buffer* out) {
  using korin::QXPixelFormat;
  if (!out || s.width <= 0 || s.height <= 0 || s.width > kMaxSide || s.height > kMaxSide) return false;
  const int cw = (s.width + 1) / 2, ch = (s.height + 1) / 2;
  switch (s.format) {
    case QXPixelFormat::kBGRA:
      if (!s.data[0] || s.stride[0] < s.width * 4) return false;
      break;
    case QXPixelFormat::kI420:
      if (!s.data[0] || !s.data[1] || !s.data[2] || s.stride[0] < s.width || s.stride[1] < cw || s.stride[2] < cw)
        return false;
      break;
    default:
      return false;
  }
  korin::QXI420Buffer b;
  Allocate(s.width, s.height, &b);
  if (s.format == QXPixelFormat::kBGRA) {
    FromBGRA(s, &b);
  } else {
    CopyPlane(s.data[0], s.stride[0], b.y.data(), b.stride_y, s.width, s.height);
    CopyPlane(s.data[1], s.stride[1], b.u.data(), b.stride_u, cw, ch);
    CopyPlane(s.data[2], s.stride[2], b.v.data(), b.stride_v, cw, ch);
  }
  *out = std::move(b);
  return true;
}

korin::QXPixelBuffer View(const korin::QXI420Buffer& b) { return b.View(); }

korin::QXPixelBuffer ViewBGRA(const uint8_t* pixels, int width, int height, int stride) {
  korin::QXPixelBuffer v;
  v.format = korin::QXPixelFormat::kBGRA;
  v.width = width;
  v.height = height;
  v.data[0] = pixels;
  v.stride[0] = stride;
  return v;
}

}  // namespace sim

namespace korin {

bool ConvertToI420(const QXPixelBuffer& src, QXI420Buffer* out) {
  return sim::ScriptedBool("korin.ConvertToI420", true) && sim::ToI420(src, out);
}

}  // namespace korin
