// What a room hands the engine for one received video stream: the engine's
// frames go into a one-frame mailbox on the engine thread, and the newest
// reaches the stream's render object (OnVideoRenderFrame) on the room's
// strand, in an ArrayBuffer that is reused while the frame size holds. How a
// frame becomes pixels is the kind's (QXReplayVideoSink, QXReplayVideoReceiver).
//
// Once retired (the stream stopped, or its room left) nothing more reaches
// the render object; the output itself stays with the room until the
// engine is destroyed, which may still be calling it.
#ifndef LUMEN_QXREPLAY_QXREPLAYVIDEOOUTPUT_H_
#define LUMEN_QXREPLAY_QXREPLAYVIDEOOUTPUT_H_

#include <napi.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "korin/replay/replay_engine.h"
#include "qx_base/frame_array_buffer.h"
#include "qx_base/frame_mailbox.h"
#include "qx_base/listener.h"
#include "qx_base/strand.h"

namespace lumen_addon {

class QXReplayVideoOutput : public korin::replay::VideoSink,
                            public std::enable_shared_from_this<QXReplayVideoOutput> {
 public:
  // FrameInfo::format of the pixels handed to JavaScript.
  static constexpr int32_t kAbgr = 0;
  static constexpr int32_t kI420 = 1;

  // Engine thread.
  void OnFrame(const korin::replay::VideoFrame& frame) final;

  // JavaScript thread: frames reach `render` from now on.
  void Bind(napi_value render) { render_->Set(render); }
  // JavaScript thread: nothing more reaches the render object.
  void Retire();

  // Frames accepted, replaced while waiting, delivered.
  FrameMailbox::Counts counts() const { return mailbox_.counts(); }

 protected:
  // JavaScript thread.
  QXReplayVideoOutput(napi_env env, std::shared_ptr<Strand> strand, int32_t format);
  // Engine thread: the bytes of `frame`'s pixels, and (under the mailbox's
  // lock) writing them into `dst`; false drops the frame.
  virtual size_t SizeOf(const korin::replay::VideoFrame& frame) const = 0;
  virtual bool Fill(const korin::replay::VideoFrame& frame, uint8_t* dst) = 0;

 private:
  // JavaScript thread.
  void Deliver(Napi::Env env);
  void Wake();

  const std::shared_ptr<Strand> strand_;
  const std::shared_ptr<Listener> render_;
  const int32_t format_;
  FrameMailbox mailbox_;
  FrameArrayBuffer buffer_;
};

}  // namespace lumen_addon

#endif  // LUMEN_QXREPLAY_QXREPLAYVIDEOOUTPUT_H_
