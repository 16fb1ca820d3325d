#include "beauty/beauty_sync.h"

namespace lumen_addon {

// Nothing is stored until the beauty exports exist; the manager fills this in.
void SyncBeautyState() {}

}  // namespace lumen_addon
