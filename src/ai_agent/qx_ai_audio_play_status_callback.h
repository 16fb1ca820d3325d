// The agent's playout status to the function of
// QXAIAgent_registerAIAgentAudioPlayStatusCallback, called directly on the
// agent's strand. Retired like the action callback.
#ifndef LUMEN_AI_AGENT_QX_AI_AUDIO_PLAY_STATUS_CALLBACK_H_
#define LUMEN_AI_AGENT_QX_AI_AUDIO_PLAY_STATUS_CALLBACK_H_

#include <memory>

#include "korin/qx_ai_agent.h"
#include "qx_base/listener.h"
#include "qx_base/strand.h"

namespace lumen_addon {

class QXAIAudioPlayStatusCallback : public korin::QXAIAgentAudioPlayStatusCallback {
 public:
  QXAIAudioPlayStatusCallback(std::shared_ptr<Strand> strand, std::shared_ptr<Listener> function)
      : strand_(std::move(strand)), function_(std::move(function)) {}

  void OnAudioPlayStatus(int64_t pcm_index, int32_t play_status, int64_t play_pts_ms) override {
    strand_->Emit(function_, nullptr,
                  JsObject(Kv("pcmIndex", pcm_index), Kv("playStatus", play_status), Kv("playPtsMs", play_pts_ms)));
  }
  // JavaScript thread.
  void Retire() { function_->Clear(); }

 private:
  const std::shared_ptr<Strand> strand_;
  const std::shared_ptr<Listener> function_;
};

}  // namespace lumen_addon

#endif  // LUMEN_AI_AGENT_QX_AI_AUDIO_PLAY_STATUS_CALLBACK_H_
