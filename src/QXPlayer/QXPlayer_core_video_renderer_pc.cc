#include "QXPlayer/QXPlayer_core_video_renderer_pc.h"

#include <atomic>
#include <cstring>
#include <utility>

#include "common/logging.h"
#include "common/pending_exception.h"
#include "qx_base/frame_array_buffer.h"
#include "qx_base/frame_mailbox.h"
#include "tavel/media_utils.h"
#include "tavel/source_flag.h"

namespace lumen_addon {

namespace {

constexpr char kTag[] = "QXPlayerCoreVideoRendererPCInternal";
constexpr char kMethod[] = "OnVideoRenderFrame";
constexpr int32_t kFormatAbgr = 0;
constexpr int32_t kFormatI420 = 1;

}  // namespace

// Shared by the renderer, its wake-up handle and a delivery in progress: a
// render object's callback may destroy the player, and with it the renderer,
// while its own delivery is still on the stack.
struct QXPlayerCoreVideoRendererPCInternal::Shared {
  // The newest converted frame, between the render thread and the
  // JavaScript thread. The rotation buffer is used inside its fills only,
  // under its lock.
  FrameMailbox mailbox;
  AlignedBuffer rotation;
  std::atomic<bool> output_i420{false};
  bool disallow_rotate = false;
  uv_async_t* wake = nullptr;

  // JavaScript thread only.
  napi_env env = nullptr;
  // Strong, as callback objects are: a render object passed as a temporary
  // keeps receiving frames until the player goes.
  napi_ref render = nullptr;
  std::unique_ptr<FrameArrayBuffer> buffer;
  napi_async_context async = nullptr;
  bool dead = false;
  bool delivering = false;

  void ReleaseJs() {
    if (render) napi_delete_reference(env, render);
    render = nullptr;
    if (async) napi_async_destroy(env, async);
    async = nullptr;
  }
};

namespace {

using Shared = QXPlayerCoreVideoRendererPCInternal::Shared;

// The libuv handle and the share that keeps the renderer's state alive until
// libuv has closed it.
struct Wake {
  uv_async_t handle;
  std::shared_ptr<Shared> shared;
};

void RaiseFailure(napi_env env) {
  bool pending = false;
  if (napi_is_exception_pending(env, &pending) == napi_ok && !pending) {
    const napi_extended_error_info* info = nullptr;
    napi_get_last_error_info(env, &info);
    napi_throw_error(env, nullptr, info && info->error_message ? info->error_message : "Error in native callback");
  }
  SurfacePendingException(env);
}

napi_value FrameObject(napi_env env, const FrameInfo& f, napi_value buffer) {
  napi_value frame = nullptr, v = nullptr;
  if (napi_create_object(env, &frame) != napi_ok) return nullptr;
  auto set = [&](const char* key, napi_value value) {
    if (value) napi_set_named_property(env, frame, key, value);
  };
  napi_create_int32(env, f.width, &v), set("width", v);
  napi_create_int32(env, f.height, &v), set("height", v);
  napi_create_int32(env, 0, &v), set("rotation", v);
  set("buffer", buffer);
  napi_create_string_utf8(env, f.format == kFormatI420 ? "i420" : "abgr", NAPI_AUTO_LENGTH, &v), set("format", v);
  napi_create_int32(env, f.alpha_type, &v), set("alphaType", v);
  return frame;
}

void Deliver(const std::shared_ptr<Shared>& shared) {
  Shared& s = *shared;
  napi_env env = s.env;
  napi_handle_scope scope = nullptr;
  if (napi_open_handle_scope(env, &scope) != napi_ok) return;
  struct CloseScope {
    napi_env env;
    napi_handle_scope scope;
    ~CloseScope() {
      if (napi_close_handle_scope(env, scope) != napi_ok)
        napi_fatal_error("HandleScope::~HandleScope", NAPI_AUTO_LENGTH, "napi_close_handle_scope", NAPI_AUTO_LENGTH);
    }
  } close{env, scope};

  napi_value render = nullptr;
  if (!s.render || napi_get_reference_value(env, s.render, &render) != napi_ok || !render) return;  // collected

  FrameInfo info;
  bool again = false;
  napi_value ab = s.buffer->Take(s.mailbox, &info, &again);
  // Sizes changing faster than we can follow: the next turn of the loop.
  if (again) uv_async_send(s.wake);
  if (!ab) {
    SurfacePendingException(env);
    return;
  }

  // JavaScript runs with no lock held: it may call any export, destroy the
  // player included.
  napi_value frame = FrameObject(env, info, ab);
  napi_value fn = nullptr;
  if (!frame || napi_get_named_property(env, render, kMethod, &fn) != napi_ok) {
    // Without a pending exception JavaScript can no longer run (teardown).
    bool pending = false;
    if (napi_is_exception_pending(env, &pending) == napi_ok && pending) {
      LUMEN_LOG(kError, "AsyncCallbackItemBase")
          << "AsyncCallbackItemBase::ExecuteAsyncJsCallBack() js_object.Get(" << kMethod << ") is empty !";
      SurfacePendingException(env);
    }
    return;
  }
  napi_valuetype type = napi_undefined;
  if (napi_typeof(env, fn, &type) != napi_ok || type == napi_undefined || type == napi_null) return;
  if (type != napi_function) {
    napi_throw_type_error(env, nullptr,
                          "OnVideoRenderFrame is not a function on the listener registered by QXPlayer_initPlayerWithRender");
    SurfacePendingException(env);
    return;
  }
  s.delivering = true;
  if (napi_make_callback(env, s.async, render, fn, 1, &frame, nullptr) != napi_ok) RaiseFailure(env);
  s.delivering = false;
  if (s.dead) s.ReleaseJs();  // the callback destroyed the renderer
}

void OnWake(uv_async_t* handle) {
  std::shared_ptr<Shared> shared = static_cast<Wake*>(handle->data)->shared;
  if (shared && !shared->dead) Deliver(shared);
}

}  // namespace

int QXPlayerCoreVideoRendererPCInternal::NormalizeRotation(int degrees) {
  int r = degrees % 360;
  if (r < 0) r += 360;
  return (r == 90 || r == 180 || r == 270) ? r : 0;
}

std::unique_ptr<QXPlayerCoreVideoRendererPCInternal> QXPlayerCoreVideoRendererPCInternal::Create(napi_env env,
                                                                                              napi_value render) {
  auto shared = std::make_shared<Shared>();
  shared->env = env;
  shared->buffer = std::make_unique<FrameArrayBuffer>(env);
  shared->disallow_rotate = tavel::GetSourceFlagWithKey("QX_DISALLOW_HANDLE_ROTATE");
  uv_loop_t* loop = nullptr;
  napi_value resource = nullptr, name = nullptr;
  if (napi_get_uv_event_loop(env, &loop) != napi_ok || !loop || napi_create_reference(env, render, 1, &shared->render) != napi_ok ||
      napi_create_object(env, &resource) != napi_ok ||
      napi_create_string_utf8(env, "QXPlayerRenderer", NAPI_AUTO_LENGTH, &name) != napi_ok ||
      napi_async_init(env, resource, name, &shared->async) != napi_ok) {
    RaiseFailure(env);
    shared->ReleaseJs();
    return nullptr;
  }
  auto* wake = new Wake;
  wake->shared = shared;
  wake->handle.data = wake;
  uv_async_init(loop, &wake->handle, OnWake);
  // Frames never keep the process alive.
  uv_unref(reinterpret_cast<uv_handle_t*>(&wake->handle));
  shared->wake = &wake->handle;
  return std::unique_ptr<QXPlayerCoreVideoRendererPCInternal>(new QXPlayerCoreVideoRendererPCInternal(shared));
}

QXPlayerCoreVideoRendererPCInternal::~QXPlayerCoreVideoRendererPCInternal() {
  Shared& s = *shared_;
  s.dead = true;
  // No wake-up follows once the mailbox is closed.
  s.mailbox.Close();
  // The handle's memory (and through it the shared state) lives until libuv
  // has closed it.
  uv_close(reinterpret_cast<uv_handle_t*>(s.wake), [](uv_handle_t* h) { delete static_cast<Wake*>(h->data); });
  LUMEN_LOG(kInfo, kTag) << "Call Release() ";
  if (s.buffer->held()) {
    LUMEN_LOG(kInfo, kTag) << "Release() object_buffer_.Reset()";
    s.buffer->Reset();
  }
  if (!s.delivering) s.ReleaseJs();
  LUMEN_LOG(kInfo, kTag) << "~QXPlayerCoreVideoRendererPCInternal() !";
}

void QXPlayerCoreVideoRendererPCInternal::SetOutputI420(bool on) { shared_->output_i420.store(on); }

void QXPlayerCoreVideoRendererPCInternal::OnFrame(korin::QXPlayerCoreVideoFrame* raw) {
  std::unique_ptr<korin::QXPlayerCoreVideoFrame> frame(raw);
  if (!frame) return;
  const int w = frame->width(), h = frame->height();
  const uint8_t *y = frame->data_y(), *u = frame->data_u(), *v = frame->data_v();
  if (w <= 0 || h <= 0 || !y || !u || !v) return;
  Shared& s = *shared_;
  const bool i420 = s.output_i420.load();
  const int rotation = NormalizeRotation(frame->rotation());
  const bool rotate = rotation != 0 && !s.disallow_rotate && !i420;
  const bool quarter = rotate && rotation % 180 != 0;
  const size_t ws = static_cast<size_t>(w), hs = static_cast<size_t>(h);
  const size_t size = i420 ? ws * hs + (hs / 2) * (ws / 2) * 2 : ws * hs * 4;
  FrameInfo info;
  info.width = quarter ? h : w;
  info.height = quarter ? w : h;
  info.format = i420 ? kFormatI420 : kFormatAbgr;
  info.alpha_type = frame->alpha_type();
  s.mailbox.Put(
      size, info,
      [&](uint8_t* dst) {
        if (i420) {
          for (int row = 0; row < h; ++row, dst += ws) std::memcpy(dst, y + static_cast<size_t>(row) * frame->stride_y(), ws);
          for (int row = 0; row < h / 2; ++row, dst += ws / 2)
            std::memcpy(dst, u + static_cast<size_t>(row) * frame->stride_u(), ws / 2);
          for (int row = 0; row < h / 2; ++row, dst += ws / 2)
            std::memcpy(dst, v + static_cast<size_t>(row) * frame->stride_v(), ws / 2);
          return true;
        }
        if (rotate && !s.rotation.Fit(size)) return false;
        uint8_t* converted = rotate ? s.rotation.data() : dst;
        tavel::I420ToABGR(y, frame->stride_y(), u, frame->stride_u(), v, frame->stride_v(), converted, w * 4, w, h);
        if (rotate) tavel::ARGBRotate(converted, w * 4, dst, quarter ? h * 4 : w * 4, w, h, rotation);
        return true;
      },
      [&] { uv_async_send(s.wake); });
}

}  // namespace lumen_addon
