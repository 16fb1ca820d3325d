// class HttpRequestCallback: how JavaScript answers the engine's HTTP requests.
#include "addon/groups.h"
#include "client/http_request_callback.h"

namespace lumen_addon {

void RegisterHttpRequestCallbackGroup(napi_env env, napi_value exports) { HttpRequestCallback::Register(env, exports); }

}  // namespace lumen_addon
