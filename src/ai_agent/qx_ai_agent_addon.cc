#include "addon/groups.h"
namespace lumen_addon {
void RegisterQXAIAgentGroup(napi_env, napi_value) {}
}  // namespace lumen_addon
