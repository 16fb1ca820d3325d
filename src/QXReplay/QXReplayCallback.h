// A room's events, from the replay engine's threads to the named methods of
// the room's listener: each one is copied (chunk bytes included) and emitted
// on the room's strand, in the order the engine reported them, behind or
// before the room's completions and frames as they were posted.
#ifndef LUMEN_QXREPLAY_QXREPLAYCALLBACK_H_
#define LUMEN_QXREPLAY_QXREPLAYCALLBACK_H_

#include <memory>

#include "korin/replay/replay_engine.h"
#include "qx_base/listener.h"
#include "qx_base/strand.h"

namespace lumen_addon {

class QXReplayCallback : public korin::replay::ReplayEngineCallback {
 public:
  QXReplayCallback(std::shared_ptr<Strand> strand, std::shared_ptr<Listener> listener)
      : strand_(std::move(strand)), listener_(std::move(listener)) {}

  void OnMetaResolved() override;
  void OnError(int32_t error_code, int32_t sub_code) override;
  // The listener's ...WithChunkData method, when it has one, gets chunk
  // objects ({ npt, data }); otherwise the plain method gets the bytes alone.
  void OnSnapshot(const korin::replay::ChunkList& chunks) override;
  void OnUserData(const korin::replay::ChunkList& chunks) override;
  void OnRadioMessage(const korin::replay::ChunkList& chunks) override;
  void OnBufferStarted() override;
  void OnBufferEnded() override;
  void OnCompleted() override;

 private:
  void EmitChunks(const char* with_chunk_data, const char* plain, const korin::replay::ChunkList& chunks);
  const std::shared_ptr<Strand> strand_;
  const std::shared_ptr<Listener> listener_;
};

}  // namespace lumen_addon

#endif  // LUMEN_QXREPLAY_QXREPLAYCALLBACK_H_
