#include "engine/room_config.h"

#include "common/record_reader.h"

namespace lumen_addon {

namespace {

using lumen::CommandClientConfig;
using tavel::LiveRoomConfig;

const record::Field<LiveRoomConfig> kRoom[] = {
    LUMEN_FIELD("room_id", LiveRoomConfig, room_id, kInt32Wide),
    LUMEN_FIELD("user_id", LiveRoomConfig, user_id, kInt32Wide),
    LUMEN_FIELD("user_type", LiveRoomConfig, user_type, kInt32),
    LUMEN_FIELD("app_type", LiveRoomConfig, app_type, kInt32),
    LUMEN_FIELD("app_version", LiveRoomConfig, app_version, kString),
    LUMEN_FIELD("engine_parameters", LiveRoomConfig, engine_parameters, kString),
    LUMEN_FIELD("signature", LiveRoomConfig, signature, kString),
    LUMEN_FIELD("network_type", LiveRoomConfig, network_type, kInt32),
    LUMEN_FIELD("scheduler_host", LiveRoomConfig, scheduler_host, kString),
};

// Up to the SDK version; the client type follows it, then the rest.
const record::Field<CommandClientConfig> kCommandHead[] = {
    LUMEN_FIELD("room_id", CommandClientConfig, room_id, kInt32Wide),
    LUMEN_FIELD("user_id", CommandClientConfig, user_id, kInt32Wide),
    LUMEN_FIELD("team_id", CommandClientConfig, team_id, kInt32),
    LUMEN_FIELD("disable_radio", CommandClientConfig, disable_radio, kBool),
    LUMEN_FIELD("user_type", CommandClientConfig, user_type, kInt32),
    LUMEN_FIELD("app_type", CommandClientConfig, app_type, kInt32),
    LUMEN_FIELD("app_version", CommandClientConfig, app_version, kString),
    LUMEN_FIELD("sdk_version", CommandClientConfig, sdk_version, kString),
};

const record::Field<CommandClientConfig> kCommandTail[] = {
    LUMEN_FIELD("signature", CommandClientConfig, signature, kString),
    LUMEN_FIELD("persistentCookie", CommandClientConfig, persistent_cookie, kString),
    LUMEN_FIELD("sessionCookie", CommandClientConfig, session_cookie, kString),
};

}  // namespace

LiveRoomConfig ToRoomConfig(const Napi::Value& ticket, const std::string& sdk_version) {
  LiveRoomConfig c = record::Read(ticket, kRoom);
  c.sdk_version = sdk_version;  // the app's own SDK version wins over the ticket's
  return c;
}

CommandClientConfig ToCommandClientConfig(const Napi::Value& ticket) {
  CommandClientConfig c;
  record::Read(ticket, kCommandHead, c);
  c.client_type = 8;
  record::Read(ticket, kCommandTail, c);
  Napi::Object o = js::ToObject(ticket);
  std::vector<uint8_t> feature = js::Bytes(js::Get(o, "feature"));
  c.SetFeatures(feature.data(), feature.size());
  std::vector<uint8_t> auth = js::Bytes(js::Get(o, "authExtension"));
  c.SetAuthExtension(auth.data(), auth.size());
  c.scheduler_host = js::OptionalUtf8At(o, "scheduler_host");
  return c;
}

}  // namespace lumen_addon
