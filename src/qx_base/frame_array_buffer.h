// The JavaScript side of a frame mailbox: the waiting frame copied into one
// ArrayBuffer that is handed out again and again while the frame size holds,
// so that drawing a stream allocates nothing per frame. A new one is made
// when the size changes or JavaScript detached (transferred) the old one.
// JavaScript must consume the pixels before its callback returns.
#ifndef LUMEN_QX_BASE_FRAME_ARRAY_BUFFER_H_
#define LUMEN_QX_BASE_FRAME_ARRAY_BUFFER_H_

#include <node_api.h>

#include "qx_base/frame_mailbox.h"

namespace lumen_addon {

// JavaScript thread only.
class FrameArrayBuffer {
 public:
  explicit FrameArrayBuffer(napi_env env) : env_(env) {}
  ~FrameArrayBuffer() { Reset(); }
  FrameArrayBuffer(const FrameArrayBuffer&) = delete;
  FrameArrayBuffer& operator=(const FrameArrayBuffer&) = delete;

  // The waiting frame, copied out of the mailbox (under its lock) into the
  // cached ArrayBuffer, which is made without that lock: allocating may run
  // the garbage collector. Null when nothing waits, when a failing Node call
  // was raised, or (`*again` set) when sizes changed faster than this could
  // follow: ask on a later turn.
  napi_value Take(FrameMailbox& mailbox, FrameInfo* info, bool* again);

  bool held() const { return ref_ != nullptr; }
  // Lets go of the cached ArrayBuffer.
  void Reset();

 private:
  napi_value Fit(size_t size, void** data);
  napi_env env_;
  napi_ref ref_ = nullptr;
};

}  // namespace lumen_addon

#endif  // LUMEN_QX_BASE_FRAME_ARRAY_BUFFER_H_
