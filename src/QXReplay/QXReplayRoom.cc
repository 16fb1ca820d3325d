#include "QXReplay/QXReplayRoom.h"

#include <utility>

#include "QXReplay/QXReplayRecords.h"
#include "QXReplay/QXReplayVideoReceiver.h"
#include "QXReplay/QXReplayVideoSink.h"
#include "common/logging.h"
#include "tavel/source_flag.h"

namespace lumen_addon {

namespace {

constexpr char kTag[] = "QXReplayRoom";
using korin::replay::BizInfo;
using korin::replay::ReplayEngine;

}  // namespace

QXReplayRoom::QXReplayRoom(napi_env env, std::shared_ptr<Strand> strand)
    : env_(env),
      strand_(std::move(strand)),
      listener_(std::make_shared<Listener>(env, "QXReplay_enterRoom")),
      video_refactor_(tavel::GetSourceFlagWithKey("replayVideoRefactor20251118")),
      seeks_(strand_),
      fetches_(strand_) {}

std::shared_ptr<QXReplayRoom> QXReplayRoom::Enter(Napi::Env env, const korin::replay::RoomInfo& info,
                                                  napi_value listener) {
  auto strand = Strand::Create(env, "QXReplay");
  if (!strand) return nullptr;
  std::shared_ptr<QXReplayRoom> room(new QXReplayRoom(env, std::move(strand)));
  room->listener_->Set(listener);
  room->callback_ = std::make_unique<QXReplayCallback>(room->strand_, room->listener_);
  room->engine_ = ReplayEngine::Create(room->callback_.get());
  if (!room->engine_) return nullptr;
  const int result = room->engine_->EnterRoom(info);
  if (result != 0) LUMEN_LOG(kWarning, kTag) << "EnterRoom failed: " << result;
  return room;
}

QXReplayRoom::~QXReplayRoom() {
  if (engine_) ReplayEngine::Destroy(engine_);
  engine_ = nullptr;
  strand_->Close();
  listener_->Clear();
  seeks_.DropAll();
  fetches_.DropAll();
  for (auto& [stream, video] : videos_) handed_.Retire(std::move(video));
  for (auto& [stream, audio] : audios_) handed_.Retire(std::move(audio));
  videos_.clear();
  audios_.clear();
  handed_.Clear();
  callback_.reset();
}

void QXReplayRoom::SeekTo(int64_t position_ms, napi_value fn) {
  const uint32_t id = seeks_.Add(fn);
  if (!id) return;
  const int result = engine_->SeekTo(position_ms, seeks_.Answerer(id));
  // A refused request is never completed: its function would be owed for good.
  if (result != 0) {
    LUMEN_LOG(kWarning, kTag) << "SeekTo(" << position_ms << ") refused: " << result;
    seeks_.Drop(id);
  }
}

void QXReplayRoom::Fetch(int (ReplayEngine::*fetch)(int64_t, int64_t, ReplayEngine::FetchCompletion), int64_t start_npt,
                         int64_t end_npt, napi_value fn) {
  const uint32_t id = fetches_.Add(fn);
  if (!id) return;
  // The chunks' bytes are the engine's only while it calls: copied here.
  auto answer = fetches_.Answerer(id);
  const int result = (engine_->*fetch)(start_npt, end_npt, [answer](const korin::replay::ChunkList& chunks) {
    answer(CopyChunks(chunks));
  });
  if (result != 0) {
    LUMEN_LOG(kWarning, kTag) << "fetch of " << start_npt << " to " << end_npt << " refused: " << result;
    fetches_.Drop(id);
  }
}

void QXReplayRoom::FetchUserData(int64_t start_npt, int64_t end_npt, napi_value fn) {
  Fetch(&ReplayEngine::FetchUserData, start_npt, end_npt, fn);
}

void QXReplayRoom::FetchRadioData(int64_t start_npt, int64_t end_npt, napi_value fn) {
  Fetch(&ReplayEngine::FetchRadioData, start_npt, end_npt, fn);
}

void QXReplayRoom::VideoStartReceive(const BizInfo& stream, napi_value render) {
  std::shared_ptr<QXReplayVideoOutput>& output = videos_[stream];
  if (!output) {
    if (video_refactor_)
      output = std::make_shared<QXReplayVideoSink>(env_, strand_);
    else
      output = std::make_shared<QXReplayVideoReceiver>(env_, strand_);
  }
  output->Bind(render);
  const int result = engine_->VideoStartReceive(stream, output.get());
  if (result != 0) LUMEN_LOG(kWarning, kTag) << "VideoStartReceive failed: " << result;
}

void QXReplayRoom::VideoStopReceive(const BizInfo& stream) {
  engine_->VideoStopReceive(stream);
  RetireStream(videos_, stream);
}

void QXReplayRoom::AudioStartReceive(const BizInfo& stream, napi_value listener) {
  std::shared_ptr<QXReplayActionStatusCallback> next;
  if (auto held = Listener::Make(env_, "QXReplay_audioStartReceive", listener); held->IsSet())
    next = std::make_shared<QXReplayActionStatusCallback>(strand_, std::move(held));
  const int result = engine_->AudioStartReceive(stream, next.get());
  if (result != 0) LUMEN_LOG(kWarning, kTag) << "AudioStartReceive failed: " << result;
  RetireStream(audios_, stream);
  if (next) audios_.emplace(stream, std::move(next));
}

void QXReplayRoom::AudioStopReceive(const BizInfo& stream) {
  engine_->AudioStopReceive(stream);
  RetireStream(audios_, stream);
}

}  // namespace lumen_addon
