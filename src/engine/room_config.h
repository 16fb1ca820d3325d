// The room ticket JavaScript passes at connect, as the engine's room and
// command-client configurations.
#ifndef LUMEN_ENGINE_ROOM_CONFIG_H_
#define LUMEN_ENGINE_ROOM_CONFIG_H_

#include <napi.h>

#include <string>

#include "lumen/live_client.h"
#include "tavel/live_play_engine.h"

namespace lumen_addon {

tavel::LiveRoomConfig ToRoomConfig(const Napi::Value& ticket, const std::string& sdk_version);
lumen::CommandClientConfig ToCommandClientConfig(const Napi::Value& ticket);

}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_ROOM_CONFIG_H_
