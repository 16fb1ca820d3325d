// The callbacks adapter of an engine whose events its own export group
// delivers: it keeps the JavaScript callbacks object.
#ifndef LUMEN_ENGINE_ENGINE_CALLBACK_HOLDER_H_
#define LUMEN_ENGINE_ENGINE_CALLBACK_HOLDER_H_

#include <napi.h>

#include "callback/addon_callback.h"

namespace lumen_addon {

template <typename EngineCallback>
class EngineCallbackHolder : public EngineCallback, public AddonCallback {
 public:
  EngineCallbackHolder(napi_env env, napi_value callbacks) : AddonCallback(env, callbacks) {}
};

}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_ENGINE_CALLBACK_HOLDER_H_
