#include "ai_agent/qx_ai_agent_records.h"

#include "common/record_reader.h"

namespace lumen_addon {

namespace {

using korin::QXAIAgentConfig;
using korin::QXAICameraConfig;
using record::Field;

const Field<QXAIAgentConfig> kConfig[] = {
    LUMEN_FIELD("userId", QXAIAgentConfig, user_id, kInt64),
    LUMEN_FIELD("agentId", QXAIAgentConfig, agent_id, kInt64),
    LUMEN_FIELD("signature", QXAIAgentConfig, signature, kString),
    LUMEN_FIELD("authExtension", QXAIAgentConfig, auth_extension, kString),
    LUMEN_FIELD("noTimeout", QXAIAgentConfig, no_timeout, kBool),
};

const Field<QXAICameraConfig> kCameraConfig[] = {
    LUMEN_FIELD("hd", QXAICameraConfig, hd, kBool),
    LUMEN_FIELD("cameraDeviceId", QXAICameraConfig, camera_device_id, kString),
    LUMEN_FIELD("useFrontCamera", QXAICameraConfig, use_front_camera, kBool),
};

}  // namespace

QXAIAgentConfig ReadAgentConfig(const Napi::Value& v) {
  QXAIAgentConfig config;
  record::Read(v, kConfig, config, record::kStrict);
  Napi::Value video = js::Get(js::ToObject(v), "enableVideo");
  if (!video.IsEmpty() && video.IsBoolean()) config.enable_video = video.As<Napi::Boolean>().Value();
  return config;
}

QXAICameraConfig ReadCameraConfig(const Napi::Value& v) {
  QXAICameraConfig config;
  record::Read(v, kCameraConfig, config, record::kStrictPresent);
  return config;
}

}  // namespace lumen_addon
