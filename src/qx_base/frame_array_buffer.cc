#include "qx_base/frame_array_buffer.h"

#include "tavel/media_utils.h"

namespace lumen_addon {

void FrameArrayBuffer::Reset() {
  if (ref_) napi_delete_reference(env_, ref_);
  ref_ = nullptr;
}

napi_value FrameArrayBuffer::Fit(size_t size, void** data) {
  napi_value ab = nullptr;
  if (ref_ && napi_get_reference_value(env_, ref_, &ab) == napi_ok && ab) {
    bool detached = false;
    size_t length = 0;
    if (napi_is_detached_arraybuffer(env_, ab, &detached) == napi_ok && !detached &&
        napi_get_arraybuffer_info(env_, ab, data, &length) == napi_ok && length == size && *data)
      return ab;
  }
  if (napi_create_arraybuffer(env_, size, data, &ab) != napi_ok) return nullptr;
  Reset();
  if (napi_create_reference(env_, ab, 1, &ref_) != napi_ok) ref_ = nullptr;
  return ab;
}

napi_value FrameArrayBuffer::Take(FrameMailbox& mailbox, FrameInfo* info, bool* again) {
  *again = false;
  for (int attempt = 0; attempt < 4; ++attempt) {
    const size_t size = mailbox.PendingSize();
    if (size == 0) return nullptr;
    void* data = nullptr;
    napi_value ab = Fit(size, &data);
    if (!ab) {
      bool pending = false;
      if (napi_is_exception_pending(env_, &pending) == napi_ok && !pending)
        napi_throw_error(env_, nullptr, "a frame's ArrayBuffer could not be made");
      return nullptr;
    }
    auto copy = [](void* dst, const uint8_t* src, size_t n) { tavel::FastMemoryCopy(dst, src, n); };
    switch (mailbox.TakeInto(data, size, info, copy)) {
      case FrameMailbox::Take::kTaken: return ab;
      case FrameMailbox::Take::kNone: return nullptr;
      case FrameMailbox::Take::kResized: break;
    }
  }
  *again = true;
  return nullptr;
}

}  // namespace lumen_addon
