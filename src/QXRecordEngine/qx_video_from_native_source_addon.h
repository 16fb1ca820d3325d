// A native video sink JavaScript holds by handle: camera preview frames
// handed to it on engine threads reach its listener's onNativeFrame as ABGR
// pixels. Engine threads only copy a frame's planes; the JavaScript thread
// converts (another format than I420 to I420 first, then ABGR). Only the
// newest frame waits for the JavaScript thread.
//
// The camera record engines it is handed to hold a share of it: once
// destroyed by JavaScript it is silenced at once (nothing more reaches the
// listener) but stays allocated while an engine may still call it.
#ifndef LUMEN_QXRECORDENGINE_QX_VIDEO_FROM_NATIVE_SOURCE_ADDON_H_
#define LUMEN_QXRECORDENGINE_QX_VIDEO_FROM_NATIVE_SOURCE_ADDON_H_

#include <napi.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "korin/qx_video_sink.h"
#include "qx_base/frame_mailbox.h"
#include "qx_base/listener.h"
#include "qx_base/strand.h"

namespace lumen_addon {

class QXVideoFromNativeSourceAddon : public korin::QXVideoSink,
                                     public std::enable_shared_from_this<QXVideoFromNativeSourceAddon> {
 public:
  // JavaScript thread. Null when the strand could not be made (raised).
  static std::shared_ptr<QXVideoFromNativeSourceAddon> Create(napi_env env, napi_value listener);
  ~QXVideoFromNativeSourceAddon() override;
  QXVideoFromNativeSourceAddon(const QXVideoFromNativeSourceAddon&) = delete;
  QXVideoFromNativeSourceAddon& operator=(const QXVideoFromNativeSourceAddon&) = delete;

  // Engine threads.
  void OnFrame(const korin::QXVideoFrame& frame) override;

  // JavaScript thread, idempotent: later frames are dropped, nothing more
  // reaches the listener.
  void Retire();

 private:
  QXVideoFromNativeSourceAddon(std::shared_ptr<Strand> strand, std::shared_ptr<Listener> listener)
      : strand_(std::move(strand)), listener_(std::move(listener)) {}
  void Deliver(Napi::Env env);

  const std::shared_ptr<Strand> strand_;
  const std::shared_ptr<Listener> listener_;
  FrameMailbox mailbox_;
  std::vector<uint8_t> taken_;  // JavaScript thread: the frame taken out
};

}  // namespace lumen_addon

#endif  // LUMEN_QXRECORDENGINE_QX_VIDEO_FROM_NATIVE_SOURCE_ADDON_H_
