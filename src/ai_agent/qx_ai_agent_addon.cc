// QXAIAgent_*: the AI voice agent. Agents are held in the handle registry:
// a number that is no live agent is refused with "agent_ptr is 0" and
// never dereferenced. Arguments are read strictly.
#include <memory>

#include "addon/groups.h"
#include "ai_agent/qx_ai_agent.h"
#include "common/convert.h"
#include "common/export_table.h"
#include "common/forward.h"
#include "common/logging.h"
#include "common/record_reader.h"
#include "korin/qx_ai_agent.h"
#include "qx_base/handle_arg.h"

namespace lumen_addon {
namespace {

constexpr char kTag[] = "QXAIAgentAddon";

struct Agent : ByHandle<QXAIAgent> {
  static Napi::Value Missing(const Napi::CallbackInfo& info) {
    Napi::Error::New(info.Env(), "agent_ptr is 0").ThrowAsJavaScriptException();
    return js::Number(info.Env(), -1);
  }
};

using Engine = korin::QXAIAgentInterface;
using korin::QXAIAgentConfig;
using korin::QXAICameraConfig;

// Read strictly: a value of another type (or none) raises a TypeError and
// keeps the default. enableVideo is read only when it holds a boolean.
const record::Field<QXAIAgentConfig> kConfig[] = {
    LUMEN_FIELD("userId", QXAIAgentConfig, user_id, kInt64),
    LUMEN_FIELD("agentId", QXAIAgentConfig, agent_id, kInt64),
    LUMEN_FIELD("signature", QXAIAgentConfig, signature, kString),
    LUMEN_FIELD("authExtension", QXAIAgentConfig, auth_extension, kString),
    LUMEN_FIELD("noTimeout", QXAIAgentConfig, no_timeout, kBool),
};
// Present keys only, strictly.
const record::Field<QXAICameraConfig> kCameraConfig[] = {
    LUMEN_FIELD("hd", QXAICameraConfig, hd, kBool),
    LUMEN_FIELD("cameraDeviceId", QXAICameraConfig, camera_device_id, kString),
    LUMEN_FIELD("useFrontCamera", QXAICameraConfig, use_front_camera, kBool),
};

Napi::Value CreateInstance(const Napi::CallbackInfo& info) {
  Napi::Env env = info.Env();
  QXAIAgentConfig config;
  record::Read(info[0], kConfig, config, record::kStrict);
  Napi::Value video = js::Get(js::ToObject(info[0]), "enableVideo");
  if (!video.IsEmpty() && video.IsBoolean()) config.enable_video = video.As<Napi::Boolean>().Value();
  // A value of the wrong type was raised: no agent JavaScript could not reach.
  if (env.IsExceptionPending()) return js::Number(env, -1);
  std::shared_ptr<QXAIAgent> agent = QXAIAgent::Create(env, config, info[1]);
  if (!agent) {
    LUMEN_LOG(kError, kTag) << "QXAIAgent_createInstance: no agent created";
    return js::Number(env, 0);
  }
  return HandleValue(env, HandleRegistry::Add(HandleKind::kAgent, agent));
}

Napi::Value DestroyInstance(const Napi::CallbackInfo& info) {
  std::shared_ptr<QXAIAgent> agent = TakeHandleArg<QXAIAgent>(info);
  if (!agent) return Agent::Missing(info);
  // Calls still running keep it until they return.
  agent.reset();
  return js::Number(info.Env(), 0);
}


int Listen(const Napi::CallbackInfo&, QXAIAgent& a) { return a.StartListening(); }
int ListenWithProvider(const Napi::CallbackInfo& info, QXAIAgent& a) { return a.StartListeningWithProvider(info.Env(), info[1]); }
int StopListening(const Napi::CallbackInfo&, QXAIAgent& a) { return a.StopListening(); }
int RegisterAction(const Napi::CallbackInfo& info, QXAIAgent& a) { return a.RegisterActionCallback(info.Env(), info[1]); }
int UnregisterAction(const Napi::CallbackInfo&, QXAIAgent& a) { return a.UnregisterActionCallback(); }
int RegisterPlayStatus(const Napi::CallbackInfo& info, QXAIAgent& a) {
  return a.RegisterAudioPlayStatusCallback(info.Env(), info[1]);
}
int UnregisterPlayStatus(const Napi::CallbackInfo&, QXAIAgent& a) { return a.UnregisterAudioPlayStatusCallback(); }

int PublishCamera(const Napi::CallbackInfo& info, QXAIAgent& a) {
  QXAICameraConfig config;
  record::Read(info[1], kCameraConfig, config, record::kStrictPresent);
  if (info.Env().IsExceptionPending()) return -1;
  return a.agent()->PublishCamera(config);
}

constexpr char kHandleMessage[] = "Expected arguments: agent_ptr";

constexpr HandleArgs kOnAgent = Handles(HandleKind::kAgent);

#define AGENT_ROW(js_name, handler, types, message) \
  {"QXAIAgent_" js_name, handler, Exactly(types, message), kMinusOne, "QXAIAgent_" js_name, kOnAgent}

const ExportRow kRows[] = {
    {"QXAIAgent_createInstance", CreateInstance, Exactly("oc", "Expected arguments: config, callback"), kMinusOne},
    {"QXAIAgent_destroyInstance", DestroyInstance, Exactly("n", kHandleMessage), kMinusOne, nullptr, kOnAgent},
    AGENT_ROW("start", (Forward<Agent, &Engine::Start>), "n", kHandleMessage),
    AGENT_ROW("stop", (Forward<Agent, &Engine::Stop>), "n", kHandleMessage),
    AGENT_ROW("startListening", (OnEngine<Agent, Listen>), "n", kHandleMessage),
    AGENT_ROW("startListeningWithProvider", (OnEngine<Agent, ListenWithProvider>), "no",
              "Expected arguments: agent_ptr, handler"),
    AGENT_ROW("stopListening", (OnEngine<Agent, StopListening>), "n", kHandleMessage),
    AGENT_ROW("setMicrophoneSendMute", (Forward<Agent, &Engine::SetMicrophoneSendMute>), "nb",
              "Expected arguments: agent_ptr, mute"),
    AGENT_ROW("setAIPlayoutMute", (Forward<Agent, &Engine::SetAIPlayoutMute>), "nb", "Expected arguments: agent_ptr, mute"),
    AGENT_ROW("sendMessage", (Forward<Agent, &Engine::SendMessage>), "ns", "Expected arguments: agent_ptr, message"),
    AGENT_ROW("getConnectionState", (Forward<Agent, &Engine::GetConnectionState>), "n", kHandleMessage),
    AGENT_ROW("getServerClockDiffMs", (Forward<Agent, &Engine::GetServerClockDiffMs, ValueOrZero>), "n", kHandleMessage),
    AGENT_ROW("registerActionCallback", (OnEngine<Agent, RegisterAction>), "nc", "Expected arguments: agent_ptr, callback"),
    AGENT_ROW("unRegisterActionCallback", (OnEngine<Agent, UnregisterAction>), "n", kHandleMessage),
    AGENT_ROW("registerAIAgentAudioPlayStatusCallback", (OnEngine<Agent, RegisterPlayStatus>), "nf",
              "Expected arguments: agent_ptr, callback"),
    AGENT_ROW("unRegisterAIAgentAudioPlayStatusCallback", (OnEngine<Agent, UnregisterPlayStatus>), "n", kHandleMessage),
    AGENT_ROW("getUserAudioLevel", (Forward<Agent, &Engine::GetUserAudioLevel, ValueOrZero>), "n", kHandleMessage),
    AGENT_ROW("getAIAudioLevel", (Forward<Agent, &Engine::GetAIAudioLevel, ValueOrZero>), "n", kHandleMessage),
    AGENT_ROW("publishCamera", (OnEngine<Agent, PublishCamera>), "no", "Expected arguments: agent_ptr, config"),
    AGENT_ROW("unpublishCamera", (Forward<Agent, &Engine::UnpublishCamera>), "n", kHandleMessage),
};

#undef AGENT_ROW

}  // namespace

void RegisterQXAIAgentGroup(napi_env env, napi_value exports) { AddExports(env, exports, kRows); }

}  // namespace lumen_addon
