// A player's events, from its threads to the named methods of the player's
// callback object: each one is copied and emitted on the player's strand, in
// the order the player reported them.
#ifndef LUMEN_QXPLAYER_QXPLAYERCALLBACKBRIDGE_H_
#define LUMEN_QXPLAYER_QXPLAYERCALLBACKBRIDGE_H_

#include <memory>
#include <string>

#include "korin/qx_player_core.h"
#include "qx_base/listener.h"
#include "qx_base/strand.h"

namespace lumen_addon {

class QXPlayerCallbackBridge : public korin::QXPlayerCoreCallback {
 public:
  QXPlayerCallbackBridge(std::shared_ptr<Strand> strand, std::shared_ptr<Listener> listener)
      : strand_(std::move(strand)), listener_(std::move(listener)) {}

  void OnPlayerV2Error(int what, int extra) override;
  void OnPrepared() override;
  void OnCompleted() override;
  void OnBufferStarted(int32_t reason) override;
  void OnBufferingUpdated(int32_t percent) override;
  void OnBufferingEnd(int32_t reason) override;
  void OnVideoSizeChanged(int16_t width, int16_t height, int16_t sar_num, int16_t sar_den) override;
  void OnFirstVideoFrameRendered() override;
  void OnFirstAudioFrameRendered() override;
  void OnInfo(int what, int64_t extra, const std::string& text) override;
  void OnSeekCompleted(int64_t position_ms, int64_t extra) override;
  void OnTotalDurationChanged(int64_t duration_ms, int32_t segment_count) override;
  void OnCurrentSegmentChanged(int32_t segment_index) override;
  void OnSegmentCompleted(int32_t segment_index) override;
  void OnVideoPointHit(const korin::QXPlayerCoreVideoPoint& point) override;
  void OnPlaybackStateChanged(int32_t state) override;
  void OnSubtitle(const std::string& text, bool show) override;
  void OnSubtitleFailed(int32_t error) override;

 private:
  template <typename... A>
  void Emit(const char* method, A... args) {
    strand_->Emit(listener_, method, args...);
  }
  const std::shared_ptr<Strand> strand_;
  const std::shared_ptr<Listener> listener_;
};

}  // namespace lumen_addon

#endif  // LUMEN_QXPLAYER_QXPLAYERCALLBACKBRIDGE_H_
