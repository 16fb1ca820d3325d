// The video output of rooms made with replayVideoRefactor20251118 off: each
// frame's planes are copied as they are, packed I420 (Y, then U, then V,
// rows without padding, chroma planes of ceil(width / 2) x ceil(height / 2)),
// and handed to JavaScript with format "i420".
#ifndef LUMEN_QXREPLAY_QXREPLAYVIDEORECEIVER_H_
#define LUMEN_QXREPLAY_QXREPLAYVIDEORECEIVER_H_

#include "QXReplay/QXReplayVideoOutput.h"

namespace lumen_addon {

class QXReplayVideoReceiver : public QXReplayVideoOutput {
 public:
  QXReplayVideoReceiver(napi_env env, std::shared_ptr<Strand> strand)
      : QXReplayVideoOutput(env, std::move(strand), kI420) {}

 protected:
  size_t SizeOf(const korin::replay::VideoFrame& frame) const override;
  bool Fill(const korin::replay::VideoFrame& frame, uint8_t* dst) override;
};

}  // namespace lumen_addon

#endif  // LUMEN_QXREPLAY_QXREPLAYVIDEORECEIVER_H_
