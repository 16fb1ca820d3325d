#include "QXPlayer/QXPlayerCallbackBridge.h"

#include <array>
#include <vector>

namespace lumen_addon {

std::unique_ptr<QXPlayerCallbackBridge> QXPlayerCallbackBridge::Create(napi_env env,
                                                                     std::shared_ptr<QXPlayerCallbackTarget> target) {
  auto tsfn = JsFunctionBridge::Create(env, nullptr, "QXPlayer");
  if (!tsfn) return nullptr;
  return std::unique_ptr<QXPlayerCallbackBridge>(new QXPlayerCallbackBridge(std::move(tsfn), std::move(target)));
}

QXPlayerCallbackBridge::~QXPlayerCallbackBridge() { tsfn_->Release(); }

template <typename Build>
void QXPlayerCallbackBridge::Post(const char* method, Build build) {
  // The closure holds the target, never the bridge: it may run after the
  // player is gone, and then finds the target cleared.
  tsfn_->Call([target = target_, method, build = std::move(build)](Napi::Env env, Napi::Function) {
    std::array<napi_value, 4> argv{};
    const size_t argc = build(env, argv.data());
    target->Call(method, argc, argv.data());
  });
}

void QXPlayerCallbackBridge::PostNumbers(const char* method, std::initializer_list<double> numbers) {
  Post(method, [n = std::vector<double>(numbers)](Napi::Env env, napi_value* argv) {
    for (size_t i = 0; i < n.size(); ++i) argv[i] = Napi::Number::New(env, n[i]);
    return n.size();
  });
}

void QXPlayerCallbackBridge::OnPlayerV2Error(int what, int extra) { PostNumbers("OnPlayerV2Error", {double(what), double(extra)}); }
void QXPlayerCallbackBridge::OnPrepared() { PostNumbers("OnPrepared", {}); }
void QXPlayerCallbackBridge::OnCompleted() { PostNumbers("OnCompleted", {}); }
void QXPlayerCallbackBridge::OnBufferStarted(int32_t reason) { PostNumbers("OnBufferStarted", {double(reason)}); }
void QXPlayerCallbackBridge::OnBufferingUpdated(int32_t percent) { PostNumbers("OnBufferingUpdated", {double(percent)}); }
void QXPlayerCallbackBridge::OnBufferingEnd(int32_t reason) { PostNumbers("OnBufferingEnd", {double(reason)}); }
void QXPlayerCallbackBridge::OnVideoSizeChanged(int16_t width, int16_t height, int16_t sar_num, int16_t sar_den) {
  PostNumbers("OnVideoSizeChanged", {double(width), double(height), double(sar_num), double(sar_den)});
}
void QXPlayerCallbackBridge::OnFirstVideoFrameRendered() { PostNumbers("OnFirstVideoFrameRendered", {}); }
void QXPlayerCallbackBridge::OnFirstAudioFrameRendered() { PostNumbers("OnFirstAudioFrameRendered", {}); }

void QXPlayerCallbackBridge::OnInfo(int what, int64_t extra, const std::string& text) {
  Post("OnInfo", [what, extra, text](Napi::Env env, napi_value* argv) {
    argv[0] = Napi::Number::New(env, what);
    argv[1] = Napi::Number::New(env, static_cast<double>(extra));
    argv[2] = Napi::String::New(env, text);
    return size_t{3};
  });
}

void QXPlayerCallbackBridge::OnSeekCompleted(int64_t position_ms, int64_t extra) {
  PostNumbers("OnSeekCompleted", {double(position_ms), double(extra)});
}
void QXPlayerCallbackBridge::OnTotalDurationChanged(int64_t duration_ms, int32_t segment_count) {
  PostNumbers("OnTotalDurationChanged", {double(duration_ms), double(segment_count)});
}
void QXPlayerCallbackBridge::OnCurrentSegmentChanged(int32_t index) { PostNumbers("OnCurrentSegmentChanged", {double(index)}); }
void QXPlayerCallbackBridge::OnSegmentCompleted(int32_t index) { PostNumbers("OnSegmentCompleted", {double(index)}); }

void QXPlayerCallbackBridge::OnVideoPointHit(const korin::QXPlayerCoreVideoPoint& point) {
  Post("OnVideoPointHit", [p = point](Napi::Env env, napi_value* argv) {
    Napi::Object o = Napi::Object::New(env);
    o.Set("segmentIndex", Napi::Number::New(env, p.segment_index));
    o.Set("pos", Napi::Number::New(env, static_cast<double>(p.pos)));
    o.Set("autoPause", Napi::Boolean::New(env, p.auto_pause));
    o.Set("useVideo", Napi::Boolean::New(env, p.use_video));
    argv[0] = o;
    return size_t{1};
  });
}

// Not forwarded to JavaScript.
void QXPlayerCallbackBridge::OnPlaybackStateChanged(int32_t) {}

void QXPlayerCallbackBridge::OnSubtitle(const std::string& text, bool show) {
  Post("OnSubtitle", [text, show](Napi::Env env, napi_value* argv) {
    Napi::Object o = Napi::Object::New(env);
    o.Set("text", Napi::String::New(env, text));
    o.Set("show", Napi::Boolean::New(env, show));
    argv[0] = o;
    return size_t{1};
  });
}

void QXPlayerCallbackBridge::OnSubtitleFailed(int32_t error) { PostNumbers("OnSubtitleFailed", {double(error)}); }

}  // namespace lumen_addon
