#include "QXRecordEngine/qx_video_from_native_source_addon.h"

#include <cstddef>
#include <utility>

#include "common/logging.h"
#include "tavel/media_utils.h"

namespace lumen_addon {
namespace {

constexpr char kTag[] = "QXVideoFromNativeSourceAddon";

void LogNoOnFrame(const char*) { LUMEN_LOG(kWarning, kTag) << "OnFrame callback is empty"; }

}  // namespace

std::shared_ptr<QXVideoFromNativeSourceAddon> QXVideoFromNativeSourceAddon::Create(napi_env env, napi_value listener) {
  auto strand = Strand::Create(env, "QXVideoFromNativeSource");
  if (!strand) return nullptr;
  auto target = std::make_shared<Listener>(env, "QXVideoFromNativeSource_create", LogNoOnFrame);
  target->Set(listener);
  return std::shared_ptr<QXVideoFromNativeSourceAddon>(new QXVideoFromNativeSourceAddon(strand, target));
}

QXVideoFromNativeSourceAddon::~QXVideoFromNativeSourceAddon() {
  Retire();
  LUMEN_LOG(kInfo, kTag) << "QXVideoFromNativeSourceAddon destroyed";
}

void QXVideoFromNativeSourceAddon::Retire() {
  mailbox_.Close();
  strand_->Close();
  listener_->Clear();
}

namespace {

int Chroma(int n) { return (n + 1) / 2; }

bool PlaneOk(const korin::QXPixelBuffer& b, int i, int64_t row) { return b.data[i] != nullptr && b.stride[i] >= row; }

// The bytes of a frame's planes packed row after row; 0 when its format or
// layout is unusable (only its failure to convert is delivered).
size_t PackedSize(const korin::QXPixelBuffer& b) {
  const size_t w = static_cast<size_t>(b.width), h = static_cast<size_t>(b.height);
  switch (b.format) {
    case korin::QXPixelFormat::kI420:
      if (!PlaneOk(b, 0, b.width) || !PlaneOk(b, 1, Chroma(b.width)) || !PlaneOk(b, 2, Chroma(b.width))) return 0;
      return PackedI420Size(w, h);
    case korin::QXPixelFormat::kBGRA:
      if (!PlaneOk(b, 0, int64_t{b.width} * 4)) return 0;
      return w * 4 * h;
    default:
      return 0;
  }
}

// The packed copy seen as a pixel buffer of the frame's format again.
korin::QXPixelBuffer Unpacked(const uint8_t* p, const FrameInfo& info) {
  korin::QXPixelBuffer b;
  b.format = static_cast<korin::QXPixelFormat>(info.format);
  b.width = info.width;
  b.height = info.height;
  if (b.format == korin::QXPixelFormat::kI420) {
    const int cw = Chroma(info.width), ch = Chroma(info.height);
    b.data[0] = p;
    b.data[1] = p + static_cast<size_t>(info.width) * static_cast<size_t>(info.height);
    b.data[2] = b.data[1] + static_cast<size_t>(cw) * static_cast<size_t>(ch);
    b.stride[0] = info.width;
    b.stride[1] = b.stride[2] = cw;
  } else if (b.format == korin::QXPixelFormat::kBGRA) {
    b.data[0] = p;
    b.stride[0] = info.width * 4;
  }
  return b;
}

}  // namespace

// Engine threads only copy: the planes are the engine's for this call alone.
// Conversion waits for the JavaScript thread, and only for the newest frame.
void QXVideoFromNativeSourceAddon::OnFrame(const korin::QXVideoFrame& frame) {
  const korin::QXPixelBuffer& src = frame.buffer;
  if (src.width <= 0 || src.height <= 0) return;
  FrameInfo info;
  info.width = src.width;
  info.height = src.height;
  info.format = static_cast<int32_t>(src.format);
  info.timestamp_us = frame.timestampUs;
  const size_t packed = PackedSize(src);
  // A slot of one byte carries an unusable frame to its logged failure.
  if (packed == 0) info.format = static_cast<int32_t>(korin::QXPixelFormat::kUnknown);
  mailbox_.Put(
      packed == 0 ? 1 : packed, info,
      [&](uint8_t* dst) {
        const size_t w = static_cast<size_t>(src.width), h = static_cast<size_t>(src.height);
        if (packed == 0) return true;
        if (src.format == korin::QXPixelFormat::kI420)
          return CopyI420(dst, src.data[0], src.stride[0], src.data[1], src.stride[1], src.data[2], src.stride[2], w, h);
        return CopyRows(dst, src.data[0], src.stride[0], w * 4, h);  // BGRA, the only other usable format
      },
      [&] {
        strand_->Post([self = weak_from_this()](Napi::Env env) {
          if (auto source = self.lock()) source->Deliver(env);
        });
      });
}

void QXVideoFromNativeSourceAddon::Deliver(Napi::Env env) {
  FrameInfo info;
  for (;;) {
    const size_t size = mailbox_.PendingSize();
    if (size == 0 || !listener_->IsSet()) return;
    taken_.resize(size);
    const FrameMailbox::Take take = mailbox_.TakeInto(taken_.data(), size, &info);
    if (take == FrameMailbox::Take::kNone) return;
    if (take == FrameMailbox::Take::kTaken) break;
  }
  korin::QXPixelBuffer pixels = Unpacked(taken_.data(), info);
  korin::QXI420Buffer converted;
  if (pixels.format != korin::QXPixelFormat::kI420) {
    if (!korin::ConvertToI420(pixels, &converted)) {
      LUMEN_LOG(kError, kTag) << "Failed to convert video frame to I420";
      return;
    }
    pixels = converted.View();
  }
  // Node-API directly: at the environment's teardown no JavaScript object
  // can be made, and that is no error to raise.
  const int32_t stride = info.width * 4;
  void* data = nullptr;
  napi_value buffer = nullptr;
  if (napi_create_arraybuffer(env, static_cast<size_t>(stride) * static_cast<size_t>(info.height), &data, &buffer) !=
      napi_ok)
    return;
  if (tavel::I420ToABGR(pixels.data[0], pixels.stride[0], pixels.data[1], pixels.stride[1], pixels.data[2],
                        pixels.stride[2], static_cast<uint8_t*>(data), stride, info.width, info.height) != 0)
    return;
  Napi::Object frame = Napi::Object::New(env);
  frame.Set("width", Napi::Number::New(env, info.width));
  frame.Set("height", Napi::Number::New(env, info.height));
  frame.Set("dataBuffer", Napi::Value(env, buffer));
  frame.Set("bufferType", Napi::Number::New(env, info.format));
  listener_->Call("onNativeFrame", {frame});
}

}  // namespace lumen_addon
