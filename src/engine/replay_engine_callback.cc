#include "engine/replay_engine_callback.h"

namespace lumen_addon {

void ReplayEngineCallbackImpl::OnReplayOpened(int result) { Post("onReplayOpened", Args(Arg(int32_t{result}))); }

}  // namespace lumen_addon
