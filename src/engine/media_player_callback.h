// Events of the media players of one engine, for the callbacks object given
// to mediaPlayerEngine_registerMediaPlayerCallback.
#ifndef LUMEN_ENGINE_MEDIA_PLAYER_CALLBACK_H_
#define LUMEN_ENGINE_MEDIA_PLAYER_CALLBACK_H_

#include <string>

#include "engine/event_holder.h"
#include "tavel/live_engine.h"

namespace lumen_addon {

class MediaPlayerCallbackImpl : public EventHolder<tavel::MediaPlayerCallback> {
 public:
  using EventHolder::EventHolder;
  void OnPrepared(int player_id) override;
  void OnInfo(int player_id, int what, int extra) override;
  void OnError(int player_id, int code, int extra) override;
  void OnSeekComplete(int player_id) override;
  void OnCompletion(int player_id) override;
  void OnDecodingOneFrameElapsed(int player_id, int elapsed_ms) override;
  void OnOpenFileFailed(int player_id, const std::string& file) override;
  void OnBellCompletion(const std::string& file) override;
};

}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_MEDIA_PLAYER_CALLBACK_H_
