#ifndef KORIN_VIDEO_FRAME_H_
#define KORIN_VIDEO_FRAME_H_

#include <cstdint>
#include <vector>

#include "engine_export.h"

namespace korin {

// How a pixel buffer lays out its pixels.
enum class QXPixelFormat : int32_t {
  kUnknown = 0,
  // Planes Y, U, V; the chroma planes are halved both ways, rounded up.
  kI420 = 1,
  // One plane of 4-byte pixels, bytes B, G, R, A.
  kBGRA = 2,
};

// A frame's pixels as the engine holds them: the planes of its format and
// the bytes between the starts of their rows (at least a row's bytes; more
// when rows are padded). Planes the format does not use are null.
struct QXPixelBuffer {
  QXPixelFormat format = QXPixelFormat::kUnknown;
  int width = 0;
  int height = 0;
  const uint8_t* data[3] = {nullptr, nullptr, nullptr};
  int stride[3] = {0, 0, 0};
};

// An I420 picture in memory of its own.
struct QXI420Buffer {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> y, u, v;
  int stride_y = 0;
  int stride_u = 0;
  int stride_v = 0;

  // Its planes as a pixel buffer, valid while it lives.
  QXPixelBuffer View() const {
    QXPixelBuffer b;
    b.format = QXPixelFormat::kI420;
    b.width = width;
    b.height = height;
    b.data[0] = y.data();
    b.data[1] = u.data();
    b.data[2] = v.data();
    b.stride[0] = stride_y;
    b.stride[1] = stride_u;
    b.stride[2] = stride_v;
    return b;
  }
};

// The picture of `src` as I420 in `out`. False, with `out` untouched, when
// it cannot be converted: an unknown format, planes missing, strides shorter
// than a row, or a size out of range.
ENGINE_API bool ConvertToI420(const QXPixelBuffer& src, QXI420Buffer* out);

// A decoded or captured frame. Its pixels are the engine's and valid only
// during the call that hands the frame over.
struct QXVideoFrame {
  int width = 0;
  int height = 0;
  int64_t timestampUs = 0;
  QXPixelBuffer buffer;
};

}  // namespace korin

#endif  // KORIN_VIDEO_FRAME_H_
