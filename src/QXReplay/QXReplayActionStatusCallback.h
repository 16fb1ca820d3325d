// The action statuses of one received audio stream, to the listener given
// to QXReplay_audioStartReceive (onActionStatus), emitted on the room's
// strand. Retired when the stream stops or is received again: nothing more
// reaches the listener, and the room, whose engine may still be calling it,
// keeps it until the engine is destroyed.
#ifndef LUMEN_QXREPLAY_QXREPLAYACTIONSTATUSCALLBACK_H_
#define LUMEN_QXREPLAY_QXREPLAYACTIONSTATUSCALLBACK_H_

#include <memory>

#include "QXReplay/QXReplayRecords.h"
#include "korin/replay/replay_engine.h"
#include "qx_base/listener.h"
#include "qx_base/strand.h"

namespace lumen_addon {

class QXReplayActionStatusCallback : public korin::replay::ActionStatusCallback {
 public:
  QXReplayActionStatusCallback(std::shared_ptr<Strand> strand, std::shared_ptr<Listener> listener)
      : strand_(std::move(strand)), listener_(std::move(listener)) {}

  // Engine thread.
  void OnActionStatus(const korin::replay::ActionStatus& status) override {
    strand_->Emit(listener_, "onActionStatus", status);
  }
  // JavaScript thread.
  void Retire() { listener_->Clear(); }

 private:
  const std::shared_ptr<Strand> strand_;
  const std::shared_ptr<Listener> listener_;
};

}  // namespace lumen_addon

#endif  // LUMEN_QXREPLAY_QXREPLAYACTIONSTATUSCALLBACK_H_
