#include "callback/photo_callback.h"

#include <atomic>
#include <thread>
#include <utility>

#include "callback/async_callback_item.h"
#include "callback/callback_dispatcher.h"
#include "callback/video_frame_callback.h"

namespace lumen_addon {

namespace {

std::atomic<PhotoCallbackImpl::CloseCameraFn> g_close_camera{nullptr};

class PictureItem : public EventItem {
 public:
  PictureItem(std::shared_ptr<AddonCallback> holder, const uint8_t* data, int length)
      : EventItem(std::move(holder), "onPictureCaptured", kItemDefault, {ArgBytes(data, static_cast<size_t>(length))}) {
  }

  void Run() override {
    constexpr int32_t kTrack = PhotoCallbackImpl::kCaptureTrackType;
    PhotoCallbackImpl::CloseCamera(kTrack);
    // The camera is closed but the engine may still hold the renderer's sink.
    const int32_t id = VideoFrameCallback::RendererId(VideoFrameCallback::kLocalUserId, kTrack);
    VideoFrameCallback::SetLocalRendererId(id);
    VideoFrameCallback::RemoveRenderer(id, false);
    EventItem::Run();
  }
};

}  // namespace

void PhotoCallbackImpl::SetCloseCamera(CloseCameraFn fn) { g_close_camera.store(fn); }

int PhotoCallbackImpl::CloseCamera(int32_t track_type) {
  CloseCameraFn close = g_close_camera.load();
  return close ? close(track_type) : -1;
}

void PhotoCallbackImpl::OnPictureCaptured(const uint8_t* data, int length) {
  auto self = weak_from_this().lock();
  if (!self) return;
  if (!data || length < 0) length = 0;
  CallbackDispatcher::Post(new PictureItem(std::move(self), data, length));
  if (after_capture_) std::thread(after_capture_).detach();
}

}  // namespace lumen_addon
