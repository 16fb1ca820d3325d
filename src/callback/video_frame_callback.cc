#include "callback/video_frame_callback.h"

#include <chrono>
#include <cstdlib>
#include <map>
#include <utility>
#include <vector>

#include "callback/async_callback_item.h"
#include "callback/callback_dispatcher.h"
#include "common/logging.h"
#include "tavel/media_utils.h"
#include "tavel/source_flag.h"

namespace lumen_addon {

namespace {

constexpr char kTag[] = "VideoFrameCallback";
constexpr size_t kAlign = 64;

struct Registry {
  std::mutex mu;
  std::map<int32_t, std::shared_ptr<VideoFrameCallback>> renderers;
  // Removed without destroy: the engine may still call them through its raw
  // sink pointer, so they are never freed.
  std::vector<std::shared_ptr<VideoFrameCallback>> retired;
  int32_t local_renderer_id = 0;
};

Registry& Reg() {
  static auto* registry = new Registry;  // engine threads may outlive static destruction
  return *registry;
}

int64_t NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

}  // namespace

// Carries the renderer only: the pixels stay in the renderer, so every
// queued item of a renderer delivers its newest frame.
class VideoFrameCallback::FrameItem : public CallbackItem {
 public:
  explicit FrameItem(std::shared_ptr<VideoFrameCallback> renderer) : renderer_(std::move(renderer)) {}

  int32_t Type() const override { return renderer_->item_type_; }
  int32_t RendererId() const override { return renderer_->renderer_id_; }

  void Run() override {
    VideoFrameCallback* r = renderer_.get();
    if (r->renderer_id_ != kDirectRendererId && Find(r->renderer_id_).get() != r) return;
    if (!r->alive_) return;
    napi_env env = r->GetJsEnv();
    if (!env) return;
    Napi::Object target;
    napi_value frame = r->BuildFrame(env, &target);
    // Called without the frame mutex: JavaScript may call back into the renderer.
    if (frame) AsyncCallbackItemBase::ExecuteAsyncJsCallBack(env, target, "onVideoFrame", frame, r->RegisteredBy());
  }

 private:
  std::shared_ptr<VideoFrameCallback> renderer_;
};

// Frees a renderer's frame on the JavaScript thread; when purged unrun, its
// destructor does the same.
class VideoFrameCallback::ReleaseItem : public CallbackItem {
 public:
  explicit ReleaseItem(std::shared_ptr<VideoFrameCallback> renderer) : renderer_(std::move(renderer)) {}
  ~ReleaseItem() override {
    if (!done_) Release();
  }

  void Run() override { Release(); }

 private:
  void Release() {
    done_ = true;
    renderer_->ReleaseFrame();
    // A removed renderer never calls JavaScript again, but may stay
    // allocated (retired, or still held by an engine until its root goes):
    // it need not keep the object alive meanwhile.
    renderer_->ClearJsObject();
  }

  std::shared_ptr<VideoFrameCallback> renderer_;
  bool done_ = false;
};

// ---- registry ---------------------------------------------------------------------

int32_t VideoFrameCallback::RendererId(int32_t user_id, int32_t type) {
  // Wraps instead of overflowing for out-of-range user ids.
  return static_cast<int32_t>(static_cast<uint32_t>(user_id) * 20u + static_cast<uint32_t>(type));
}

int32_t VideoFrameCallback::LocalRendererId() {
  std::lock_guard<std::mutex> lock(Reg().mu);
  return Reg().local_renderer_id;
}

void VideoFrameCallback::SetLocalRendererId(int32_t renderer_id) {
  std::lock_guard<std::mutex> lock(Reg().mu);
  Reg().local_renderer_id = renderer_id;
}

std::shared_ptr<VideoFrameCallback> VideoFrameCallback::Find(int32_t renderer_id) {
  std::lock_guard<std::mutex> lock(Reg().mu);
  auto it = Reg().renderers.find(renderer_id);
  return it == Reg().renderers.end() ? nullptr : it->second;
}

namespace {

std::shared_ptr<VideoFrameCallback> CreateRegistered(int32_t user_id, int32_t type, bool biz, napi_env env,
                                                     napi_value object, int32_t item_type) {
  Registry& reg = Reg();
  std::lock_guard<std::mutex> lock(reg.mu);
  const int32_t id = VideoFrameCallback::RendererId(user_id, type);
  if (user_id == VideoFrameCallback::kLocalUserId) reg.local_renderer_id = id;
  auto it = reg.renderers.find(id);
  if (it != reg.renderers.end()) return it->second;
  VideoFrameCallback::Params params{user_id,
                                    type,
                                    biz,
                                    id,
                                    item_type,
                                    tavel::GetSourceFlagWithKey("enableElectronFrameCopyOptimize"),
                                    tavel::GetSourceFlagWithKey("enableElectronFrameUpdateOptimize20260407")};
  auto renderer = std::make_shared<VideoFrameCallback>(env, object, params);
  reg.renderers.emplace(id, renderer);
  return renderer;
}

}  // namespace

std::shared_ptr<VideoFrameCallback> VideoFrameCallback::CreateRenderer(int32_t user_id, int32_t track_type,
                                                                       napi_env env, napi_value object,
                                                                       int32_t item_type) {
  return CreateRegistered(user_id, track_type, false, env, object, item_type);
}

std::shared_ptr<VideoFrameCallback> VideoFrameCallback::CreateRendererWithBizType(int32_t user_id, int32_t biz_type,
                                                                                  napi_env env, napi_value object) {
  return CreateRegistered(user_id, biz_type, true, env, object, 0);
}

std::shared_ptr<VideoFrameCallback> VideoFrameCallback::CreateDirectRenderer(napi_env env, napi_value object) {
  auto renderer =
      std::make_shared<VideoFrameCallback>(env, object, Params{0, 0, false, kDirectRendererId, 0, false, false});
  renderer->SetEnabled(true);
  return renderer;
}

void VideoFrameCallback::Retire(std::shared_ptr<VideoFrameCallback> renderer) {
  renderer->alive_ = false;
  CallbackDispatcher::Post(new ReleaseItem(std::move(renderer)));
}

void VideoFrameCallback::RemoveRenderer(int32_t renderer_id, bool destroy) {
  std::shared_ptr<VideoFrameCallback> renderer;
  {
    Registry& reg = Reg();
    std::lock_guard<std::mutex> lock(reg.mu);
    auto it = reg.renderers.find(renderer_id);
    if (it == reg.renderers.end()) return;
    renderer = std::move(it->second);
    reg.renderers.erase(it);
    renderer->alive_ = false;
    if (!destroy) reg.retired.push_back(renderer);
  }
  // Posted unlocked: a post while closing destroys the item at once.
  Retire(std::move(renderer));
}

void VideoFrameCallback::RemoveKeptRenderer(int32_t renderer_id) {
  std::shared_ptr<VideoFrameCallback> renderer;
  {
    std::lock_guard<std::mutex> lock(Reg().mu);
    auto it = Reg().renderers.find(renderer_id);
    if (it == Reg().renderers.end()) return;
    renderer = std::move(it->second);
    Reg().renderers.erase(it);
    renderer->alive_ = false;
  }
  Retire(std::move(renderer));
}

void VideoFrameCallback::RemoveAllRenderers() {
  std::map<int32_t, std::shared_ptr<VideoFrameCallback>> all;
  {
    std::lock_guard<std::mutex> lock(Reg().mu);
    all.swap(Reg().renderers);
    for (auto& kv : all) kv.second->alive_ = false;
  }
  for (auto& kv : all) Retire(std::move(kv.second));
}

void VideoFrameCallback::Release(std::shared_ptr<VideoFrameCallback> renderer) {
  if (renderer) Retire(std::move(renderer));
}

// ---- renderer ------------------------------------------------------------------------

VideoFrameCallback::VideoFrameCallback(napi_env env, napi_value object, const Params& params)
    : AddonCallback(env, object),
      user_id_(params.user_id),
      type_(params.type),
      biz_(params.biz),
      renderer_id_(params.renderer_id),
      item_type_(params.item_type),
      copy_optimize_(params.copy_optimize),
      update_optimize_(params.update_optimize) {}

VideoFrameCallback::~VideoFrameCallback() {
  FreeNativeLocked();  // nobody else can reach the renderer any more
  DeleteReferenceSafely(buffer_env_, buffer_ref_);
}

void VideoFrameCallback::SetEnabled(bool enabled) {
  std::lock_guard<std::mutex> lock(frame_mu_);
  enabled_ = enabled;
}

void VideoFrameCallback::ReplaceJsObject(napi_env env, napi_value object) {
  std::lock_guard<std::mutex> lock(frame_mu_);
  SetJsCallback(env, object);
}

void VideoFrameCallback::ClearJsObject() {
  std::lock_guard<std::mutex> lock(frame_mu_);
  ClearJsCallback();
}

void VideoFrameCallback::FreeNativeLocked() {
  std::free(native_alloc_);
  native_alloc_ = nullptr;
  native_ = nullptr;
  native_size_ = 0;
  native_newer_ = false;
}

void VideoFrameCallback::ReleaseFrame() {
  napi_env env;
  napi_ref ref;
  {
    std::lock_guard<std::mutex> lock(frame_mu_);
    FreeNativeLocked();
    width_ = 0;
    height_ = 0;
    enabled_ = false;
    env = buffer_env_;
    ref = buffer_ref_;
    buffer_env_ = nullptr;
    buffer_ref_ = nullptr;
    buffer_size_ = 0;
    shared_data_ = nullptr;
  }
  DeleteReferenceSafely(env, ref);
}

namespace {

// Renderers draw 4-byte pixels; a frame in another format or whose rows are
// shorter than its width is not one of theirs.
bool Drawable(const korin::QXVideoFrame& f) {
  const korin::QXPixelBuffer& b = f.buffer;
  return b.format == korin::QXPixelFormat::kBGRA && b.data[0] != nullptr && f.width > 0 && f.height > 0 &&
         b.width == f.width && b.height == f.height && b.stride[0] / 4 >= f.width;
}

// Packed rows in one copy, padded ones row by row.
void CopyPixels(uint8_t* dst, const korin::QXPixelBuffer& b, size_t row, size_t size) {
  const size_t stride = static_cast<size_t>(b.stride[0]);
  if (stride == row) {
    tavel::FastMemoryCopy(dst, b.data[0], size);
    return;
  }
  for (int y = 0; y < b.height; ++y) tavel::FastMemoryCopy(dst + row * y, b.data[0] + stride * y, row);
}

}  // namespace

void VideoFrameCallback::OnFrame(const korin::QXVideoFrame& frame) {
  if (!alive_ || !Drawable(frame)) return;
  // Items own the renderer; this keeps it alive should one of them be
  // destroyed right here (a post while closing).
  std::shared_ptr<VideoFrameCallback> self = weak_from_this().lock();
  if (!self) return;
  const size_t row = static_cast<size_t>(frame.width) * 4;
  const size_t size = row * static_cast<size_t>(frame.height);
  {
    std::lock_guard<std::mutex> lock(frame_mu_);
    if (!enabled_) return;
    if (shared_data_ && buffer_size_ == size) {
      // Straight into the Buffer JavaScript gets, one copy per frame: a
      // SharedArrayBuffer cannot be detached or transferred, and the held
      // reference keeps it alive. Never into any other JavaScript memory:
      // JavaScript may transfer an ArrayBuffer away at any time.
      FreeNativeLocked();
      width_ = frame.width;
      height_ = frame.height;
      CopyPixels(shared_data_, frame.buffer, row, size);
    } else {
    if (!native_ || native_size_ != size) {
      FreeNativeLocked();
      native_alloc_ = static_cast<uint8_t*>(std::malloc(size + kAlign - 1));
      if (!native_alloc_) return;
      native_ = reinterpret_cast<uint8_t*>((reinterpret_cast<uintptr_t>(native_alloc_) + kAlign - 1) &
                                           ~static_cast<uintptr_t>(kAlign - 1));
      native_size_ = size;
    }
    width_ = frame.width;
    height_ = frame.height;
    CopyPixels(native_, frame.buffer, row, size);
    native_newer_ = true;
    }
  }
  if (update_optimize_ && renderer_id_ != 0 && DropFrame()) return;
  CallbackDispatcher::Post(new FrameItem(std::move(self)));
}

bool VideoFrameCallback::DropFrame() {
  // The dispatcher's mutex is taken without the frame mutex held.
  if (CallbackDispatcher::CountRenderer(renderer_id_) <= 1) return false;
  bool log = false;
  int32_t count;
  int64_t diff_sec = -1;
  {
    std::lock_guard<std::mutex> lock(frame_mu_);
    count = dropped_frames_++;
    if (count % 30 == 0) {
      const int64_t now = NowMs();
      if (last_drop_log_ms_ >= 0) diff_sec = (now - last_drop_log_ms_) / 1000;
      last_drop_log_ms_ = now;
      log = true;
    }
  }
  if (log) {
    LUMEN_LOG(kWarning, kTag) << "frameUpdateOptimize drop frame, rendererId:" << renderer_id_
                              << " itemType:" << item_type_ << " droppedFrameCount:" << count
                              << " timeDiffSec:" << diff_sec;
  }
  return true;
}

// The Buffer handed out before, if it still has `size` bytes: JavaScript may
// have transferred its ArrayBuffer away (postMessage, structuredClone), which
// leaves it detached and empty.
napi_value VideoFrameCallback::HeldBufferLocked(napi_env env, size_t size) {
  if (!buffer_ref_ || buffer_size_ != size) return nullptr;
  napi_value v = nullptr;
  if (napi_get_reference_value(buffer_env_, buffer_ref_, &v) != napi_ok || v == nullptr) return nullptr;
  napi_typedarray_type type;
  size_t length = 0;
  void* data = nullptr;
  if (napi_get_typedarray_info(env, v, &type, &length, &data, nullptr, nullptr) != napi_ok) return nullptr;
  return data != nullptr && length == size ? v : nullptr;
}

namespace {

// Buffer.from(new SharedArrayBuffer(size)), or nullptr (no exception left)
// when none can be had. The globals may have been replaced: the result counts
// only if it is a Buffer of `size` bytes over the very SharedArrayBuffer made
// here, and that is no ArrayBuffer.
napi_value NewSharedBuffer(napi_env env, size_t size, uint8_t** data) {
  napi_value global, sab_ctor, buffer_ctor, from, length, sab, result = nullptr, backing = nullptr;
  bool ok = napi_get_global(env, &global) == napi_ok &&
            napi_get_named_property(env, global, "SharedArrayBuffer", &sab_ctor) == napi_ok &&
            napi_get_named_property(env, global, "Buffer", &buffer_ctor) == napi_ok &&
            napi_get_named_property(env, buffer_ctor, "from", &from) == napi_ok &&
            napi_create_double(env, static_cast<double>(size), &length) == napi_ok &&
            napi_new_instance(env, sab_ctor, 1, &length, &sab) == napi_ok &&
            napi_call_function(env, buffer_ctor, from, 1, &sab, &result) == napi_ok;
  bool is_typedarray = false, is_buffer = false, is_arraybuffer = true, same = false;
  napi_typedarray_type type;
  size_t count = 0, offset = 0;
  void* p = nullptr;
  ok = ok && napi_is_typedarray(env, result, &is_typedarray) == napi_ok && is_typedarray &&
       napi_is_buffer(env, result, &is_buffer) == napi_ok && is_buffer &&
       napi_get_typedarray_info(env, result, &type, &count, &p, &backing, &offset) == napi_ok &&
       type == napi_uint8_array && count == size && offset == 0 && p != nullptr &&
       napi_strict_equals(env, backing, sab, &same) == napi_ok && same &&
       napi_is_arraybuffer(env, sab, &is_arraybuffer) == napi_ok && !is_arraybuffer;
  if (ok) {
    *data = static_cast<uint8_t*>(p);
    return result;
  }
  bool pending = false;
  napi_value ignored = nullptr;
  if (napi_is_exception_pending(env, &pending) == napi_ok && pending) napi_get_and_clear_last_exception(env, &ignored);
  return nullptr;
}

}  // namespace

napi_value VideoFrameCallback::BuildFrame(napi_env env, Napi::Object* target) {
  Napi::Env e(env);
  Napi::Object object;
  Napi::Buffer<uint8_t> buffer;
  int32_t width, height;
  // A Buffer the engine thread may write into is made before the frame mutex
  // is taken: making it runs JavaScript, which may call back into the renderer.
  napi_value shared = nullptr;
  uint8_t* shared_data = nullptr;
  size_t shared_size = 0;
  if (copy_optimize_) {
    {
      std::lock_guard<std::mutex> lock(frame_mu_);
      const size_t size = static_cast<size_t>(width_) * static_cast<size_t>(height_) * 4;
      if (enabled_ && size && !shared_failed_ && !(shared_data_ && buffer_size_ == size)) shared_size = size;
    }
    if (shared_size) {
      shared = NewSharedBuffer(env, shared_size, &shared_data);
      if (!shared) {
        std::lock_guard<std::mutex> lock(frame_mu_);
        shared_failed_ = true;
      }
    }
  }
  {
    std::lock_guard<std::mutex> lock(frame_mu_);
    if (!enabled_ || (!native_ && !shared_data_)) return nullptr;
    object = GetJsCallback();
    if (object.IsEmpty()) return nullptr;
    width = width_;
    height = height_;
    const size_t size = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;

    bool fresh = false;
    const bool use_shared = shared && shared_size == size;
    if (!use_shared) {
      if (napi_value held = HeldBufferLocked(env, size)) buffer = Napi::Buffer<uint8_t>(env, held);
    }
    if (buffer.IsEmpty()) {
      // JavaScript-owned memory: external buffers are not allowed in Electron.
      buffer = use_shared ? Napi::Buffer<uint8_t>(env, shared) : Napi::Buffer<uint8_t>::New(e, size);
      if (buffer.IsEmpty()) return nullptr;
      napi_ref ref = nullptr;
      if (napi_create_reference(env, buffer, 1, &ref) != napi_ok) return nullptr;
      DeleteReferenceSafely(buffer_env_, buffer_ref_);
      buffer_env_ = env;
      buffer_ref_ = ref;
      buffer_size_ = size;
      shared_data_ = use_shared ? shared_data : nullptr;
      fresh = true;
    }
    // With the copy optimisation a frame is copied into the Buffer once,
    // however many queued items deliver it.
    // A Buffer whose memory cannot be read (its environment going) has no data.
    if (buffer.Data() == nullptr && size > 0) return nullptr;
    if (native_ && (!copy_optimize_ || fresh || native_newer_)) {
      tavel::FastMemoryCopy(buffer.Data(), native_, size);
      native_newer_ = false;
    }
  }

  // Set without the frame mutex: a setter up the prototype chain is
  // JavaScript, and may call back into this renderer.
  Napi::Object frame = Napi::Object::New(e);
  frame.Set("userId", Napi::Number::New(e, user_id_));
  frame.Set(biz_ ? "bizType" : "videoTrackType", Napi::Number::New(e, type_));
  frame.Set("width", Napi::Number::New(e, width));
  frame.Set("height", Napi::Number::New(e, height));
  frame.Set("buffer", buffer);
  *target = object;
  return frame;
}

}  // namespace lumen_addon
