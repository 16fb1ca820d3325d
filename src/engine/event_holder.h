// A callbacks adapter whose engine events become plain callback items of
// `Type`: each event is copied on the engine thread and posted for the
// JavaScript callbacks object. Must be owned by a std::shared_ptr: items keep their
// holder alive by it.
#ifndef LUMEN_ENGINE_EVENT_HOLDER_H_
#define LUMEN_ENGINE_EVENT_HOLDER_H_

#include <napi.h>

#include <memory>
#include <utility>
#include <vector>

#include "callback/async_callback_item.h"
#include "callback/callback_queue.h"
#include "engine/engine_callback_holder.h"

namespace lumen_addon {

template <typename EngineCallback, int32_t Type = kItemDefault>
class EventHolder : public EngineCallbackHolder<EngineCallback>,
                    public std::enable_shared_from_this<EventHolder<EngineCallback, Type>> {
 public:
  EventHolder(napi_env env, napi_value callbacks) : EngineCallbackHolder<EngineCallback>(env, callbacks) {}

 protected:
  // Any thread.
  void Post(const char* method, std::vector<EventArg> args = {}) {
    if (auto self = this->weak_from_this().lock()) PostEvent(std::move(self), method, Type, std::move(args));
  }
};

}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_EVENT_HOLDER_H_
