#include "QXReplay/QXReplayCallback.h"

#include <utility>
#include <vector>

#include "QXReplay/QXReplayRecords.h"

namespace lumen_addon {

namespace {

// JavaScript thread. A method that is undefined or null counts as absent;
// a getter that throws leaves its exception for the strand to surface.
void DeliverChunks(Napi::Env env, const Listener& listener, const char* with_chunk_data, const char* plain,
                   const std::vector<ReplayChunk>& chunks) {
  Napi::Object object = listener.Get();
  if (object.IsEmpty()) return;
  Napi::Value method = object.Get(with_chunk_data);
  if (method.IsEmpty()) return;
  if (!method.IsUndefined() && !method.IsNull())
    listener.Call(with_chunk_data, ToJsArgs(env, chunks));
  else
    listener.Call(plain, {ChunkBuffers(env, chunks)});
}

}  // namespace

void QXReplayCallback::OnMetaResolved() { strand_->Emit(listener_, "onMetaResolved"); }
void QXReplayCallback::OnError(int32_t error_code, int32_t sub_code) {
  strand_->Emit(listener_, "onError", error_code, sub_code);
}
void QXReplayCallback::OnSnapshot(const korin::replay::ChunkList& chunks) {
  EmitChunks("onSnapshotWithChunkData", "onSnapshot", chunks);
}
void QXReplayCallback::OnUserData(const korin::replay::ChunkList& chunks) {
  EmitChunks("onUserDataWithChunkData", "onUserData", chunks);
}
void QXReplayCallback::OnRadioMessage(const korin::replay::ChunkList& chunks) {
  EmitChunks("onRadioMessageWithChunkData", "onRadioMessage", chunks);
}
void QXReplayCallback::OnBufferStarted() { strand_->Emit(listener_, "onBufferStarted"); }
void QXReplayCallback::OnBufferEnded() { strand_->Emit(listener_, "onBufferEnded"); }
void QXReplayCallback::OnCompleted() { strand_->Emit(listener_, "onCompleted"); }

void QXReplayCallback::EmitChunks(const char* with_chunk_data, const char* plain, const korin::replay::ChunkList& chunks) {
  strand_->Post([listener = listener_, with_chunk_data, plain, copy = CopyChunks(chunks)](Napi::Env env) {
    DeliverChunks(env, *listener, with_chunk_data, plain, copy);
  });
}

}  // namespace lumen_addon
