// The holder of deviceEngine_capturePhoto: the engine hands it the picture on
// an engine thread; on the JavaScript thread the capture camera is closed,
// its renderer retired and the picture passed to onPictureCaptured.
#ifndef LUMEN_CALLBACK_PHOTO_CALLBACK_H_
#define LUMEN_CALLBACK_PHOTO_CALLBACK_H_

#include <napi.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "callback/addon_callback.h"

namespace lumen_addon {

// Must be owned by a std::shared_ptr; pictures reaching a holder not owned
// that way are dropped.
class PhotoCallbackImpl : public AddonCallback, public std::enable_shared_from_this<PhotoCallbackImpl> {
 public:
  static constexpr int32_t kCaptureTrackType = 10;

  PhotoCallbackImpl(napi_env env, napi_value callback) : AddonCallback(env, callback) {}

  // Run on a thread of its own once a picture was posted (stops the capture
  // that took it). Set before the holder is handed to the engine.
  void SetAfterCapture(std::function<void()> action) { after_capture_ = std::move(action); }

  // Engine thread.
  void OnPictureCaptured(const uint8_t* data, int length);

  // Closes the camera of a track type, as the engine manager installs (the
  // device engine it finds); -1 before it has.
  using CloseCameraFn = int (*)(int32_t track_type);
  static void SetCloseCamera(CloseCameraFn fn);
  static int CloseCamera(int32_t track_type);

 private:
  std::function<void()> after_capture_;
};

}  // namespace lumen_addon

#endif  // LUMEN_CALLBACK_PHOTO_CALLBACK_H_
