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

// Converted here, on the engine thread, straight into the mailbox: the
// JavaScript thread only copies the newest frame out.
void QXVideoFromNativeSourceAddon::OnFrame(const korin::QXVideoFrame& frame) {
  korin::QXI420Buffer converted;
  korin::QXPixelBuffer i420 = frame.buffer;
  if (i420.format != korin::QXPixelFormat::kI420) {
    if (!korin::ConvertToI420(frame.buffer, &converted)) {
      LUMEN_LOG(kError, kTag) << "Failed to convert video frame to I420";
      return;
    }
    i420 = converted.View();
  }
  if (i420.width <= 0 || i420.height <= 0) return;
  FrameInfo info;
  info.width = i420.width;
  info.height = i420.height;
  info.stride = i420.width * 4;
  info.format = static_cast<int32_t>(frame.buffer.format);
  info.timestamp_us = frame.timestampUs;
  const size_t size = static_cast<size_t>(info.stride) * static_cast<size_t>(info.height);
  mailbox_.Put(
      size, info,
      [&](uint8_t* dst) {
        return tavel::I420ToABGR(i420.data[0], i420.stride[0], i420.data[1], i420.stride[1], i420.data[2],
                                 i420.stride[2], dst, info.stride, info.width, info.height) == 0;
      },
      [&] {
        strand_->Post([self = weak_from_this()](Napi::Env env) {
          if (auto source = self.lock()) source->Deliver(env);
        });
      });
}

void QXVideoFromNativeSourceAddon::Deliver(Napi::Env env) {
  for (;;) {
    const size_t size = mailbox_.PendingSize();
    if (size == 0 || !listener_->IsSet()) return;
    // Node-API directly: at the environment's teardown no JavaScript object
    // can be made, and that is no error to raise.
    void* data = nullptr;
    napi_value pixels = nullptr;
    if (napi_create_arraybuffer(env, size, &data, &pixels) != napi_ok) return;
    FrameInfo info;
    switch (mailbox_.TakeInto(data, size, &info)) {
      case FrameMailbox::Take::kNone: return;
      case FrameMailbox::Take::kResized: continue;
      case FrameMailbox::Take::kTaken: break;
    }
    Napi::Object frame = Napi::Object::New(env);
    frame.Set("width", Napi::Number::New(env, info.width));
    frame.Set("height", Napi::Number::New(env, info.height));
    frame.Set("dataBuffer", Napi::Value(env, pixels));
    frame.Set("bufferType", Napi::Number::New(env, info.format));
    listener_->Call("onNativeFrame", {frame});
    return;
  }
}

}  // namespace lumen_addon
