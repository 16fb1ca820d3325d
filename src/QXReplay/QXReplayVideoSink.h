// The video output of rooms made with replayVideoRefactor20251118 on (the
// default): each frame is converted to ABGR on the engine thread, straight
// into the stream's mailbox.
#ifndef LUMEN_QXREPLAY_QXREPLAYVIDEOSINK_H_
#define LUMEN_QXREPLAY_QXREPLAYVIDEOSINK_H_

#include "QXReplay/QXReplayVideoOutput.h"

namespace lumen_addon {

class QXReplayVideoSink : public QXReplayVideoOutput {
 public:
  QXReplayVideoSink(napi_env env, std::shared_ptr<Strand> strand) : QXReplayVideoOutput(env, std::move(strand), kAbgr) {}

 protected:
  size_t SizeOf(const korin::replay::VideoFrame& frame) const override;
  bool Fill(const korin::replay::VideoFrame& frame, uint8_t* dst) override;
};

}  // namespace lumen_addon

#endif  // LUMEN_QXREPLAY_QXREPLAYVIDEOSINK_H_
