#include "addon/groups.h"
#include "addon/services.h"

namespace lumen_addon {

void ReleaseServices() {
  ReleaseDeviceSettingCallback();
  ReleaseLocalTallyObserver();
  ReleaseQXEngineSdkLog();
}

}  // namespace lumen_addon
