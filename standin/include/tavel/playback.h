#ifndef TAVEL_PLAYBACK_H_
#define TAVEL_PLAYBACK_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine_export.h"
#include "tavel/biz_info.h"
#include "tavel/video_sink.h"

namespace tavel {

// What a recorded packet carries.
struct ReplayPacketInfo {
  bool is_audio = false;
  bool is_rtp = false;
};

// PCM pushed to the audio render engine.
struct AudioFormat {
  int32_t sample_rate = 0;
  int32_t channels = 0;
  int32_t audio_format = 0;
};

// Events of the media players of one engine root.
class ENGINE_API MediaPlayerCallback {
 public:
  virtual ~MediaPlayerCallback();
  virtual void OnPrepared(int player_id) = 0;
  virtual void OnInfo(int player_id, int what, int extra) = 0;
  virtual void OnError(int player_id, int code, int extra) = 0;
  virtual void OnSeekComplete(int player_id) = 0;
  virtual void OnCompletion(int player_id) = 0;
  virtual void OnDecodingOneFrameElapsed(int player_id, int elapsed_ms) = 0;
  virtual void OnOpenFileFailed(int player_id, const std::string& file) = 0;
  virtual void OnBellCompletion(const std::string& file) = 0;
};

}  // namespace tavel

#endif  // TAVEL_PLAYBACK_H_
