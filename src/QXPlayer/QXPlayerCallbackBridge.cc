#include "QXPlayer/QXPlayerCallbackBridge.h"

#include "QXPlayer/QXPlayerRecords.h"

namespace lumen_addon {

void QXPlayerCallbackBridge::OnPlayerV2Error(int what, int extra) { Emit("OnPlayerV2Error", what, extra); }
void QXPlayerCallbackBridge::OnPrepared() { Emit("OnPrepared"); }
void QXPlayerCallbackBridge::OnCompleted() { Emit("OnCompleted"); }
void QXPlayerCallbackBridge::OnBufferStarted(int32_t reason) { Emit("OnBufferStarted", reason); }
void QXPlayerCallbackBridge::OnBufferingUpdated(int32_t percent) { Emit("OnBufferingUpdated", percent); }
void QXPlayerCallbackBridge::OnBufferingEnd(int32_t reason) { Emit("OnBufferingEnd", reason); }
void QXPlayerCallbackBridge::OnVideoSizeChanged(int16_t width, int16_t height, int16_t sar_num, int16_t sar_den) {
  Emit("OnVideoSizeChanged", width, height, sar_num, sar_den);
}
void QXPlayerCallbackBridge::OnFirstVideoFrameRendered() { Emit("OnFirstVideoFrameRendered"); }
void QXPlayerCallbackBridge::OnFirstAudioFrameRendered() { Emit("OnFirstAudioFrameRendered"); }
void QXPlayerCallbackBridge::OnInfo(int what, int64_t extra, const std::string& text) { Emit("OnInfo", what, extra, text); }
void QXPlayerCallbackBridge::OnSeekCompleted(int64_t position_ms, int64_t extra) {
  Emit("OnSeekCompleted", position_ms, extra);
}
void QXPlayerCallbackBridge::OnTotalDurationChanged(int64_t duration_ms, int32_t segment_count) {
  Emit("OnTotalDurationChanged", duration_ms, segment_count);
}
void QXPlayerCallbackBridge::OnCurrentSegmentChanged(int32_t index) { Emit("OnCurrentSegmentChanged", index); }
void QXPlayerCallbackBridge::OnSegmentCompleted(int32_t index) { Emit("OnSegmentCompleted", index); }
void QXPlayerCallbackBridge::OnVideoPointHit(const korin::QXPlayerCoreVideoPoint& point) { Emit("OnVideoPointHit", point); }
// Not forwarded to JavaScript.
void QXPlayerCallbackBridge::OnPlaybackStateChanged(int32_t) {}
void QXPlayerCallbackBridge::OnSubtitle(const std::string& text, bool show) {
  Emit("OnSubtitle", JsObject(Kv("text", text), Kv("show", show)));
}
void QXPlayerCallbackBridge::OnSubtitleFailed(int32_t error) { Emit("OnSubtitleFailed", error); }

}  // namespace lumen_addon
