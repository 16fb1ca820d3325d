// The player core's records to and from JavaScript, one field table each.
// Every key of an input object is optional: an absent (or undefined) key
// keeps the library's default; present values are coerced, as the call
// conventions say. Records are converted by type: From<T> reads them as
// export arguments, ToJs<T> writes them as results and event arguments.
#ifndef LUMEN_QXPLAYER_QXPLAYERRECORDS_H_
#define LUMEN_QXPLAYER_QXPLAYERRECORDS_H_

#include <napi.h>

#include <string>
#include <vector>

#include "common/forward.h"
#include "common/to_js.h"
#include "korin/qx_player_core.h"
#include "korin/qx_player_downloader.h"

namespace lumen_addon {

template <>
struct From<korin::QXPlayerCoreDataSource> {
  static korin::QXPlayerCoreDataSource Read(const Napi::Value& v);
};
// Elements in array order, each coerced to an object; not an array: empty.
template <>
struct From<std::vector<korin::QXPlayerCoreDataSource>> {
  static std::vector<korin::QXPlayerCoreDataSource> Read(const Napi::Value& v);
};
template <>
struct From<korin::QXPlayerCoreOptions> {
  static korin::QXPlayerCoreOptions Read(const Napi::Value& v);
};
template <>
struct From<korin::QXPlayerCoreVideoPoint> {
  static korin::QXPlayerCoreVideoPoint Read(const Napi::Value& v);
};
template <>
struct From<korin::QXPlayerCoreDownloadRequest> {
  static korin::QXPlayerCoreDownloadRequest Read(const Napi::Value& v);
};
template <>
struct From<korin::QXPlayerCoreDownloaderV2Config> {
  static korin::QXPlayerCoreDownloaderV2Config Read(const Napi::Value& v);
};

template <>
struct ToJs<korin::QXPlayerCoreVideoPoint> {
  static Napi::Value New(Napi::Env env, const korin::QXPlayerCoreVideoPoint& p);
};
template <>
struct ToJs<korin::QXPlayerCorePlaybackStatus> {
  static Napi::Value New(Napi::Env env, const korin::QXPlayerCorePlaybackStatus& s);
};
template <>
struct ToJs<korin::QXPlayerCoreDownloadStatus> {
  static Napi::Value New(Napi::Env env, const korin::QXPlayerCoreDownloadStatus& s);
};

}  // namespace lumen_addon

#endif  // LUMEN_QXPLAYER_QXPLAYERRECORDS_H_
