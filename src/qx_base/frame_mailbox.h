// The newest video frame of one stream, between the engine thread that
// produces frames and the JavaScript thread that draws them: one slot, not a
// queue. A frame put while the previous one is still waiting replaces it, so
// however long JavaScript is blocked, one frame of memory is held and the
// first one delivered afterwards is the newest. Only the put that finds the
// slot empty asks for a wake-up; the consumer (a renderer's libuv handle, or
// work posted on a strand) takes whatever is newest when it runs.
//
// Pixels start on a 64-byte boundary (vectorised conversion and copy), and
// the slot's buffer is reused while the frame size holds.
// Node-free, so that it is tested natively under ThreadSanitizer.
#ifndef LUMEN_QX_BASE_FRAME_MAILBOX_H_
#define LUMEN_QX_BASE_FRAME_MAILBOX_H_

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <mutex>

namespace lumen_addon {

// A heap block whose data starts on a 64-byte boundary, kept while its size
// holds.
class AlignedBuffer {
 public:
  AlignedBuffer() = default;
  ~AlignedBuffer() { Free(); }
  AlignedBuffer(const AlignedBuffer&) = delete;
  AlignedBuffer& operator=(const AlignedBuffer&) = delete;
  // False when the memory could not be had (the buffer is then empty).
  bool Fit(size_t size);
  void Free();
  uint8_t* data() const;
  size_t size() const { return size_; }

 private:
  uint8_t* block_ = nullptr;
  size_t size_ = 0;
};

// What a frame says about its pixels besides their bytes.
struct FrameInfo {
  int32_t width = 0;
  int32_t height = 0;
  int32_t stride = 0;
  int32_t format = 0;
  int32_t alpha_type = 0;
  int64_t timestamp_us = 0;
};

// Fills a slot with one plane: `rows` rows of `row` bytes, from a plane
// whose rows start `stride` bytes apart, packed at `dst`, which is moved
// past them. False, with nothing copied, when a row does not fit its stride.
bool CopyRows(uint8_t*& dst, const uint8_t* src, int stride, size_t row, size_t rows);

// An I420 frame packed plane after plane: Y, then U and V of
// ceil(width / 2) x ceil(height / 2), rows without padding.
size_t PackedI420Size(size_t width, size_t height);
// Fills a slot with an I420 frame's three planes so packed (CopyRows each).
bool CopyI420(uint8_t*& dst, const uint8_t* y, int stride_y, const uint8_t* u, int stride_u, const uint8_t* v,
              int stride_v, size_t width, size_t height);

class FrameMailbox {
 public:
  // Producer (any thread): `fill(uint8_t* pixels)` writes the frame's `size`
  // bytes into the slot, under the mailbox's lock, and answers false to drop
  // it (and the frame waiting there). Answers true when the caller must wake the consumer: the slot was
  // empty. A frame that replaces a waiting one needs no wake-up of its own.
  template <typename Fill>
  bool Put(size_t size, const FrameInfo& info, Fill&& fill) {
    return Put(size, info, fill, [] {});
  }
  // The same, with the wake-up made under the mailbox's lock, so that none
  // follows Close (a libuv handle being closed must not be signalled).
  template <typename Fill, typename Wake>
  bool Put(size_t size, const FrameInfo& info, Fill&& fill, Wake&& wake) {
    std::lock_guard<std::mutex> lock(mu_);
    if (closed_) return false;
    // A failed fill has spoilt the slot: a frame waiting there goes too.
    if (size == 0 || !staging_.Fit(size) || !fill(staging_.data())) {
      pending_ = false;
      return false;
    }
    info_ = info;
    ++put_;
    if (pending_) {
      ++replaced_;
      return false;
    }
    pending_ = true;
    wake();
    return true;
  }

  // Consumer: the size of the waiting frame, 0 when none waits.
  size_t PendingSize() const;

  // Consumer: copies the waiting frame into `dst` with `copy(dst, src, n)`
  // when it still has `size` bytes and empties the slot. kResized: a frame
  // of another size replaced it since PendingSize (ask again); kNone:
  // nothing waits.
  enum class Take { kNone, kTaken, kResized };
  template <typename Copy>
  Take TakeInto(void* dst, size_t size, FrameInfo* info, Copy&& copy) {
    std::lock_guard<std::mutex> lock(mu_);
    if (!pending_) return Take::kNone;
    if (staging_.size() != size) return Take::kResized;
    copy(dst, staging_.data(), size);
    *info = info_;
    pending_ = false;
    ++taken_;
    return Take::kTaken;
  }
  Take TakeInto(void* dst, size_t size, FrameInfo* info) {
    return TakeInto(dst, size, info, [](void* d, const uint8_t* s, size_t n) { std::memcpy(d, s, n); });
  }

  // Any thread: frees the slot; later puts are dropped.
  void Close();

  struct Counts {
    uint64_t put = 0;       // frames accepted
    uint64_t replaced = 0;  // of those, replaced while waiting
    uint64_t taken = 0;     // delivered
  };
  Counts counts() const;

 private:
  mutable std::mutex mu_;
  AlignedBuffer staging_;
  FrameInfo info_;
  bool pending_ = false;
  bool closed_ = false;
  uint64_t put_ = 0;
  uint64_t replaced_ = 0;
  uint64_t taken_ = 0;
};

}  // namespace lumen_addon

#endif  // LUMEN_QX_BASE_FRAME_MAILBOX_H_
