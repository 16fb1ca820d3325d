// The replay engine's and the replay downloader's records to and from
// JavaScript, one field table each. Input records are read strictly: an
// absent (or undefined) key keeps the default, a key of another type
// raises Node-API's TypeError and the export does nothing more. Records are
// converted by type: From<T> reads export arguments, ToJs<T> writes results
// and event arguments.
#ifndef LUMEN_QXREPLAY_QXREPLAYRECORDS_H_
#define LUMEN_QXREPLAY_QXREPLAYRECORDS_H_

#include <napi.h>

#include <cstdint>
#include <vector>

#include "common/forward.h"
#include "common/to_js.h"
#include "korin/replay/replay_downloader.h"
#include "korin/replay/replay_engine.h"

namespace lumen_addon {

// A chunk of the room's data with a copy of its bytes, made on the engine
// thread: the engine's own bytes are gone once its call returns.
struct ReplayChunk {
  int64_t npt = 0;
  std::vector<uint8_t> bytes;
};
std::vector<ReplayChunk> CopyChunks(const korin::replay::ChunkList& chunks);
// JavaScript thread: each chunk's bytes as an ArrayBuffer of its own.
Napi::Value ChunkBuffers(Napi::Env env, const std::vector<ReplayChunk>& chunks);

template <>
struct From<korin::replay::RoomInfo> {
  static korin::replay::RoomInfo Read(const Napi::Value& v);
};
template <>
struct From<korin::replay::BizInfo> {
  static korin::replay::BizInfo Read(const Napi::Value& v);
};
template <>
struct From<korin::replay::DownloadRoomInfo> {
  static korin::replay::DownloadRoomInfo Read(const Napi::Value& v);
};
template <>
struct From<korin::replay::DownloadRequest> {
  static korin::replay::DownloadRequest Read(const Napi::Value& v);
};
template <>
struct From<korin::replay::DownloaderConfig> {
  static korin::replay::DownloaderConfig Read(const Napi::Value& v);
};

// { npt, data: ArrayBuffer }
template <>
struct ToJs<ReplayChunk> {
  static Napi::Value New(Napi::Env env, const ReplayChunk& c);
};
template <>
struct ToJs<korin::replay::ReplayState> {
  static Napi::Value New(Napi::Env env, const korin::replay::ReplayState& s);
};
template <>
struct ToJs<korin::replay::ActionStatus> {
  static Napi::Value New(Napi::Env env, const korin::replay::ActionStatus& s);
};
template <>
struct ToJs<korin::replay::DownloadStatus> {
  static Napi::Value New(Napi::Env env, const korin::replay::DownloadStatus& s);
};

}  // namespace lumen_addon

#endif  // LUMEN_QXREPLAY_QXREPLAYRECORDS_H_
