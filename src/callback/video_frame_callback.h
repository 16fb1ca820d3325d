// Video frames to JavaScript renderers. The engine calls a renderer's sink on
// its own thread; the renderer keeps only the newest frame and posts an item
// that carries no pixels. On the JavaScript thread the item hands the frame
// to the renderer object's onVideoFrame in a Buffer reused while the size
// stays the same.
//
// Renderers made from a user and a track (or business) type live in a
// process-wide registry keyed by renderer id = user id x 20 + type.
#ifndef LUMEN_CALLBACK_VIDEO_FRAME_CALLBACK_H_
#define LUMEN_CALLBACK_VIDEO_FRAME_CALLBACK_H_

#include <napi.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

#include "callback/addon_callback.h"
#include "tavel/video_sink.h"

namespace lumen_addon {

class VideoFrameCallback : public tavel::VideoSinkInterface,
                           public AddonCallback,
                           public std::enable_shared_from_this<VideoFrameCallback> {
 public:
  static constexpr int32_t kDirectRendererId = -1;
  static constexpr int32_t kLocalUserId = 256;

  // JavaScript thread. An id already registered answers the registered
  // renderer unchanged (its object is kept). Created disabled.
  static std::shared_ptr<VideoFrameCallback> CreateRenderer(int32_t user_id, int32_t track_type, napi_env env,
                                                            napi_value object, int32_t item_type = 0);
  static std::shared_ptr<VideoFrameCallback> CreateRendererWithBizType(int32_t user_id, int32_t biz_type, napi_env env,
                                                                       napi_value object);
  // A renderer for one engine sink of the caller's own: never registered,
  // no optimisations, enabled at once.
  static std::shared_ptr<VideoFrameCallback> CreateDirectRenderer(napi_env env, napi_value object);

  // Unregisters the renderer, and frees its frame and lets go of its object
  // on the JavaScript thread. Without `destroy` an engine may hold the sink
  // for ever: the renderer then stays allocated for the process lifetime and
  // ignores frames. With it, the renderer goes with the last share (engine
  // wrappers keep those they handed to an engine until its root is deleted).
  static void RemoveRenderer(int32_t renderer_id, bool destroy);
  // Removes without destroy a renderer that the caller keeps, together with
  // the engine it was handed to, until that engine can no longer call it.
  static void RemoveKeptRenderer(int32_t renderer_id);
  // Every registered renderer, destroyed: for engine tear-down.
  static void RemoveAllRenderers();
  // Frees a direct renderer's frame on the JavaScript thread.
  static void Release(std::shared_ptr<VideoFrameCallback> renderer);

  static int32_t RendererId(int32_t user_id, int32_t type);
  static int32_t LocalRendererId();
  static void SetLocalRendererId(int32_t renderer_id);
  // The registered renderer of `renderer_id`, or none.
  static std::shared_ptr<VideoFrameCallback> Find(int32_t renderer_id);

  ~VideoFrameCallback() override;

  void SetEnabled(bool enabled);
  // JavaScript thread.
  void ReplaceJsObject(napi_env env, napi_value object);
  void ClearJsObject();

  // Engine thread.
  void OnFrame(const korin::QXVideoFrame& frame) override;

  int32_t renderer_id() const { return renderer_id_; }
  int32_t item_type() const { return item_type_; }
  int32_t user_id() const { return user_id_; }
  bool alive() const { return alive_.load(); }

  // Constructed only by the factories above.
  struct Params {
    int32_t user_id;
    int32_t type;
    bool biz;
    int32_t renderer_id;
    int32_t item_type;
    bool copy_optimize;
    bool update_optimize;
  };
  VideoFrameCallback(napi_env env, napi_value object, const Params& params);

 private:
  class FrameItem;
  class ReleaseItem;

  static void Retire(std::shared_ptr<VideoFrameCallback> renderer);
  bool DropFrame();
  // JavaScript thread: the frame object for onVideoFrame, or empty when
  // there is nothing to deliver.
  napi_value BuildFrame(napi_env env, Napi::Object* target);
  napi_value HeldBufferLocked(napi_env env, size_t size);
  // Frees the frame and the pixel Buffer; any thread.
  void ReleaseFrame();
  void FreeNativeLocked();

  const int32_t user_id_;
  const int32_t type_;  // track type, or business type when biz_
  const bool biz_;
  const int32_t renderer_id_;
  const int32_t item_type_;
  const bool copy_optimize_;
  const bool update_optimize_;

  std::atomic<bool> alive_{true};

  std::mutex frame_mu_;
  bool enabled_ = false;
  int32_t width_ = 0;
  int32_t height_ = 0;
  uint8_t* native_alloc_ = nullptr;
  uint8_t* native_ = nullptr;  // 64-byte aligned inside native_alloc_
  size_t native_size_ = 0;
  // True while the native buffer holds pixels not yet copied into the
  // JavaScript Buffer.
  bool native_newer_ = false;
  napi_env buffer_env_ = nullptr;
  napi_ref buffer_ref_ = nullptr;
  size_t buffer_size_ = 0;
  // With the copy optimisation: the memory of the held Buffer when it lies
  // over a SharedArrayBuffer, which JavaScript can neither detach nor
  // transfer, so that the engine thread may write frames straight into it.
  uint8_t* shared_data_ = nullptr;
  bool shared_failed_ = false;  // no SharedArrayBuffer to be had: not asked again
  int32_t dropped_frames_ = 0;
  int64_t last_drop_log_ms_ = -1;
};

}  // namespace lumen_addon

#endif  // LUMEN_CALLBACK_VIDEO_FRAME_CALLBACK_H_
