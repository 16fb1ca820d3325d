#include "engine/current_engine.h"

#include "engine/engine_manager.h"
#include "engine/live_play_engine_impl.h"
#include "engine/local_engine_impl.h"
#include "engine/replay_engine_impl.h"
#include "engine/streaming_engine_impl.h"

namespace lumen_addon {

std::shared_ptr<EngineImplBase> CurrentEngineWithCompanions() {
  EngineManager* manager = EngineManager::instance();
  if (auto local = manager->CurrentLocalEngine()) return local;
  if (auto live = manager->CurrentLivePlayEngine()) return live;
  if (auto replay = manager->CurrentReplayEngine()) return replay;
  if (auto streaming = manager->CurrentStreamingEngine()) return streaming;
  return nullptr;
}

}  // namespace lumen_addon
