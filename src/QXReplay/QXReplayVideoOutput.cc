#include "QXReplay/QXReplayVideoOutput.h"

namespace lumen_addon {

QXReplayVideoOutput::QXReplayVideoOutput(napi_env env, std::shared_ptr<Strand> strand, int32_t format)
    : strand_(std::move(strand)),
      render_(std::make_shared<Listener>(env, "QXReplay_videoStartReceive")),
      format_(format),
      buffer_(env) {}

void QXReplayVideoOutput::OnFrame(const korin::replay::VideoFrame& frame) {
  if (frame.width <= 0 || frame.height <= 0 || !frame.data_y || !frame.data_u || !frame.data_v) return;
  FrameInfo info;
  info.width = frame.width;
  info.height = frame.height;
  info.format = format_;
  info.timestamp_us = frame.timestamp_us;
  mailbox_.Put(SizeOf(frame), info, [&](uint8_t* dst) { return Fill(frame, dst); }, [this] { Wake(); });
}

// Under the mailbox's lock, so that no wake-up follows Retire.
void QXReplayVideoOutput::Wake() {
  strand_->Post([self = weak_from_this()](Napi::Env env) {
    if (auto output = self.lock()) output->Deliver(env);
  });
}

void QXReplayVideoOutput::Retire() {
  mailbox_.Close();
  render_->Clear();
  buffer_.Reset();
}

void QXReplayVideoOutput::Deliver(Napi::Env env) {
  FrameInfo info;
  bool again = false;
  napi_value buffer = buffer_.Take(mailbox_, &info, &again);
  if (again) Wake();
  if (!buffer) return;
  Napi::Object frame = Napi::Object::New(env);
  frame.Set("width", Napi::Number::New(env, info.width));
  frame.Set("height", Napi::Number::New(env, info.height));
  frame.Set("rotation", Napi::Number::New(env, 0));
  frame.Set("buffer", Napi::Value(env, buffer));
  frame.Set("format", Napi::String::New(env, info.format == kI420 ? "i420" : "abgr"));
  // The render object may stop the stream or leave the room meanwhile:
  // the strand's work holds this output until it returns.
  render_->Call("OnVideoRenderFrame", {frame});
}

}  // namespace lumen_addon
