// Forwards a player's events from its threads to the named methods of the
// player's JavaScript callback object, through one thread-safe function.
#ifndef LUMEN_QXPLAYER_QXPLAYERCALLBACKBRIDGE_H_
#define LUMEN_QXPLAYER_QXPLAYERCALLBACKBRIDGE_H_

#include <napi.h>

#include <memory>
#include <string>

#include "QXPlayer/QXPlayerCallbackTarget.h"
#include "callback/threadsafe_function.h"
#include "korin/qx_player_core.h"

namespace lumen_addon {

class QXPlayerCallbackBridge : public korin::QXPlayerCoreCallback {
 public:
  // JavaScript thread. Null after a failure, raised as a JavaScript exception.
  static std::unique_ptr<QXPlayerCallbackBridge> Create(napi_env env, std::shared_ptr<QXPlayerCallbackTarget> target);
  // Only once the player can no longer call it.
  ~QXPlayerCallbackBridge() override;

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
  QXPlayerCallbackBridge(std::shared_ptr<JsFunctionBridge> tsfn, std::shared_ptr<QXPlayerCallbackTarget> target)
      : tsfn_(std::move(tsfn)), target_(std::move(target)) {}
  // `build` fills the arguments on the JavaScript thread from its own copies.
  template <typename Build>
  void Post(const char* method, Build build);
  void PostNumbers(const char* method, std::initializer_list<double> numbers);

  std::shared_ptr<JsFunctionBridge> tsfn_;
  std::shared_ptr<QXPlayerCallbackTarget> target_;
};

}  // namespace lumen_addon

#endif  // LUMEN_QXPLAYER_QXPLAYERCALLBACKBRIDGE_H_
