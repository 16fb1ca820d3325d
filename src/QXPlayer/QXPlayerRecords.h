// The player core's records to and from JavaScript. Every key of an input
// object is optional: an absent (or undefined) key keeps the library's
// default. Present values are coerced as the call conventions say.
#ifndef LUMEN_QXPLAYER_QXPLAYERRECORDS_H_
#define LUMEN_QXPLAYER_QXPLAYERRECORDS_H_

#include <napi.h>

#include <vector>

#include "korin/qx_player_core.h"
#include "korin/qx_player_downloader.h"

namespace lumen_addon {
namespace qxplayer {

korin::QXPlayerCoreDataSource ReadDataSource(const Napi::Value& v);
// Elements in array order, each coerced to an object; not an array: empty.
std::vector<korin::QXPlayerCoreDataSource> ReadDataSources(const Napi::Value& v);
korin::QXPlayerCoreOptions ReadOptions(const Napi::Value& v);
korin::QXPlayerCoreVideoPoint ReadVideoPoint(const Napi::Value& v);
korin::QXPlayerCoreDownloadRequest ReadRequest(const Napi::Value& v);
korin::QXPlayerCoreDownloaderV2Config ReadDownloaderConfig(const Napi::Value& v);

Napi::Object DataSourceToJs(Napi::Env env, const korin::QXPlayerCoreDataSource& s);
Napi::Object PlaybackStatusToJs(Napi::Env env, const korin::QXPlayerCorePlaybackStatus& s);
Napi::Object RequestToJs(Napi::Env env, const korin::QXPlayerCoreDownloadRequest& r);
Napi::Object DownloadStatusToJs(Napi::Env env, const korin::QXPlayerCoreDownloadStatus& s);

}  // namespace qxplayer
}  // namespace lumen_addon

#endif  // LUMEN_QXPLAYER_QXPLAYERRECORDS_H_
