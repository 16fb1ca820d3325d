#include "qx_base/frame_mailbox.h"

#include <cstdlib>
#include <cstring>

namespace lumen_addon {

namespace {
constexpr uintptr_t kAlign = 64;
}  // namespace

bool AlignedBuffer::Fit(size_t size) {
  if (block_ && size_ == size) return true;
  Free();
  if (size == 0 || size > SIZE_MAX - kAlign) return false;
  block_ = static_cast<uint8_t*>(std::malloc(size + kAlign - 1));
  if (!block_) return false;
  size_ = size;
  return true;
}

void AlignedBuffer::Free() {
  std::free(block_);
  block_ = nullptr;
  size_ = 0;
}

uint8_t* AlignedBuffer::data() const {
  return reinterpret_cast<uint8_t*>((reinterpret_cast<uintptr_t>(block_) + kAlign - 1) & ~(kAlign - 1));
}

bool CopyRows(uint8_t*& dst, const uint8_t* src, int stride, size_t row, size_t rows) {
  if (stride < 0 || static_cast<size_t>(stride) < row) return false;
  if (static_cast<size_t>(stride) == row) {
    std::memcpy(dst, src, row * rows);
  } else {
    for (size_t r = 0; r < rows; ++r) std::memcpy(dst + row * r, src + static_cast<size_t>(stride) * r, row);
  }
  dst += row * rows;
  return true;
}

size_t PackedI420Size(size_t width, size_t height) { return width * height + 2 * ((width + 1) / 2) * ((height + 1) / 2); }

bool CopyI420(uint8_t*& dst, const uint8_t* y, int stride_y, const uint8_t* u, int stride_u, const uint8_t* v,
              int stride_v, size_t width, size_t height) {
  const size_t cw = (width + 1) / 2, ch = (height + 1) / 2;
  return CopyRows(dst, y, stride_y, width, height) && CopyRows(dst, u, stride_u, cw, ch) &&
         CopyRows(dst, v, stride_v, cw, ch);
}

size_t FrameMailbox::PendingSize() const {
  std::lock_guard<std::mutex> lock(mu_);
  return pending_ ? staging_.size() : 0;
}

void FrameMailbox::Close() {
  std::lock_guard<std::mutex> lock(mu_);
  closed_ = true;
  pending_ = false;
  staging_.Free();
}

FrameMailbox::Counts FrameMailbox::counts() const {
  std::lock_guard<std::mutex> lock(mu_);
  return Counts{put_, replaced_, taken_};
}

}  // namespace lumen_addon
