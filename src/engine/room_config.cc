#include "engine/room_config.h"

#include "common/convert.h"

namespace lumen {

tavel::LiveRoomConfig ToRoomConfig(const Napi::Value& ticket, const std::string& sdk_version) {
  Napi::Object o = js::ToObject(ticket);
  tavel::LiveRoomConfig c;
  c.room_id = js::Int32At(o, "room_id");
  c.user_id = js::Int32At(o, "user_id");
  c.user_type = js::Int32At(o, "user_type");
  c.app_type = js::Int32At(o, "app_type");
  c.app_version = js::OptionalUtf8At(o, "app_version");
  c.sdk_version = sdk_version;  // the app's own SDK version wins over the ticket's
  c.engine_parameters = js::OptionalUtf8At(o, "engine_parameters");
  c.signature = js::OptionalUtf8At(o, "signature");
  c.network_type = js::Int32At(o, "network_type");
  c.scheduler_host = js::OptionalUtf8At(o, "scheduler_host");
  return c;
}

lumen::CommandClientConfig ToCommandClientConfig(const Napi::Value& ticket) {
  Napi::Object o = js::ToObject(ticket);
  lumen::CommandClientConfig c;
  c.room_id = js::Int32At(o, "room_id");
  c.user_id = js::Int32At(o, "user_id");
  c.team_id = js::Int32At(o, "team_id");
  c.disable_radio = js::BoolAt(o, "disable_radio");
  c.user_type = js::Int32At(o, "user_type");
  c.app_type = js::Int32At(o, "app_type");
  c.app_version = js::OptionalUtf8At(o, "app_version");
  c.sdk_version = js::OptionalUtf8At(o, "sdk_version");
  c.client_type = 8;
  c.signature = js::OptionalUtf8At(o, "signature");
  c.persistent_cookie = js::OptionalUtf8At(o, "persistentCookie");
  c.session_cookie = js::OptionalUtf8At(o, "sessionCookie");
  std::vector<uint8_t> feature = js::Bytes(js::Get(o, "feature"));
  c.SetFeatures(feature.data(), feature.size());
  std::vector<uint8_t> auth = js::Bytes(js::Get(o, "authExtension"));
  c.SetAuthExtension(auth.data(), auth.size());
  c.scheduler_host = js::OptionalUtf8At(o, "scheduler_host");
  return c;
}

}  // namespace lumen
