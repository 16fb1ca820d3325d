// The agent's configuration and its camera's, read strictly.
#ifndef LUMEN_AI_AGENT_QX_AI_AGENT_RECORDS_H_
#define LUMEN_AI_AGENT_QX_AI_AGENT_RECORDS_H_

#include <napi.h>

#include "korin/qx_ai_agent.h"

namespace lumen_addon {

// Every key read strictly: a value of another type (or none) raises a
// TypeError and keeps the default. enableVideo is read only when it holds a
// boolean.
korin::QXAIAgentConfig ReadAgentConfig(const Napi::Value& v);
// Present keys only, strictly.
korin::QXAICameraConfig ReadCameraConfig(const Napi::Value& v);

}  // namespace lumen_addon

#endif  // LUMEN_AI_AGENT_QX_AI_AGENT_RECORDS_H_
