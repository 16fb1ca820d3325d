#include "beauty/beauty_sync.h"

#include "beauty/beauty_manager.h"

namespace lumen_addon {

void SyncBeautyState() { BeautyManager::Instance()->SyncCurrentState(); }

}  // namespace lumen_addon
