// One replay room as JavaScript holds it (a "replay room" handle): the
// engine, the strand all its deliveries travel on (events, seek and fetch
// completions, frame wake-ups, action statuses), the listener its events
// reach, the completions it owes, and what it handed the engine (the
// callback, each stream's video output and action-status callback), which
// stays allocated until the engine is destroyed.
#ifndef LUMEN_QXREPLAY_QXREPLAYROOM_H_
#define LUMEN_QXREPLAY_QXREPLAYROOM_H_

#include <napi.h>

#include <cstdint>
#include <map>
#include <memory>
#include <utility>

#include "QXReplay/QXReplayActionStatusCallback.h"
#include "QXReplay/QXReplayCallback.h"
#include "QXReplay/QXReplayVideoOutput.h"
#include "korin/replay/replay_engine.h"
#include "qx_base/keep_alive.h"
#include "qx_base/listener.h"
#include "qx_base/reply_table.h"
#include "qx_base/strand.h"

namespace lumen_addon {

// JavaScript thread only.
class QXReplayRoom {
 public:
  // Creates the callback and the engine and enters the room. Null when the
  // engine could not be created (nothing is left allocated) or the strand
  // could not be made (raised).
  static std::shared_ptr<QXReplayRoom> Enter(Napi::Env env, const korin::replay::RoomInfo& info, napi_value listener);
  // Destroys the engine first; then nothing more reaches JavaScript, owed
  // completions are let go uncalled, and what the engine was handed is freed.
  ~QXReplayRoom();
  QXReplayRoom(const QXReplayRoom&) = delete;
  QXReplayRoom& operator=(const QXReplayRoom&) = delete;

  // The forwarding frame's look-in: the engine lives as long as this object.
  template <typename Op>
  bool Visit(Op&& op) {
    op(engine_);
    return true;
  }
  korin::replay::ReplayEngine* engine() const { return engine_; }

  // Each request gets an id of its own; its function is called at most once,
  // on the room's strand, however often the engine completes it.
  void SeekTo(int64_t position_ms, napi_value fn);
  void FetchUserData(int64_t start_npt, int64_t end_npt, napi_value fn);
  void FetchRadioData(int64_t start_npt, int64_t end_npt, napi_value fn);

  // A stream received again keeps its video output, bound to the new render
  // object.
  void VideoStartReceive(const korin::replay::BizInfo& stream, napi_value render);
  void VideoStopReceive(const korin::replay::BizInfo& stream);
  // Without a listener (anything but an object or a function) the engine is
  // handed no action-status callback.
  void AudioStartReceive(const korin::replay::BizInfo& stream, napi_value listener);
  void AudioStopReceive(const korin::replay::BizInfo& stream);

  // Which video output the room's streams get, read when the room was made.
  bool video_refactor() const { return video_refactor_; }

 private:
  QXReplayRoom(napi_env env, std::shared_ptr<Strand> strand);
  void Fetch(int (korin::replay::ReplayEngine::*fetch)(int64_t, int64_t, korin::replay::ReplayEngine::FetchCompletion),
             int64_t start_npt, int64_t end_npt, napi_value fn);

  // The stream's output or callback, replaced or stopped: nothing more
  // reaches JavaScript through it, and the engine may still be calling it.
  template <typename Map>
  void RetireStream(Map& streams, const korin::replay::BizInfo& stream) {
    auto it = streams.find(stream);
    if (it == streams.end()) return;
    handed_.Retire(std::move(it->second));
    streams.erase(it);
  }

  const napi_env env_;
  const std::shared_ptr<Strand> strand_;
  const std::shared_ptr<Listener> listener_;
  const bool video_refactor_;
  std::unique_ptr<QXReplayCallback> callback_;
  korin::replay::ReplayEngine* engine_ = nullptr;
  ReplyTable seeks_;
  ReplyTable fetches_;
  std::map<korin::replay::BizInfo, std::shared_ptr<QXReplayVideoOutput>> videos_;
  std::map<korin::replay::BizInfo, std::shared_ptr<QXReplayActionStatusCallback>> audios_;
  KeepAlive handed_;
};

}  // namespace lumen_addon

#endif  // LUMEN_QXREPLAY_QXREPLAYROOM_H_
