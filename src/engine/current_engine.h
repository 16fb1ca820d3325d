// The engine wrapper whose companions (media players, pushed audio) the
// export groups use: the first existing main engine in the order local, live
// play (or the live replay engine's live play part), replay, streaming. At
// most one of them exists at a time.
#ifndef LUMEN_ENGINE_CURRENT_ENGINE_H_
#define LUMEN_ENGINE_CURRENT_ENGINE_H_

#include <memory>

#include "engine/engine_impl_base.h"

namespace lumen_addon {

std::shared_ptr<EngineImplBase> CurrentEngineWithCompanions();

}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_CURRENT_ENGINE_H_
