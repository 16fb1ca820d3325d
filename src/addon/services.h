// What the environment-service groups leave with the engine, let go of at
// the environment's teardown (see ReleaseServices in groups.h).
#ifndef LUMEN_ADDON_SERVICES_H_
#define LUMEN_ADDON_SERVICES_H_

namespace lumen_addon {

void ReleaseLocalTallyObserver();
void ReleaseQXEngineSdkLog();
void ReleaseDeviceSettingCallback();

}  // namespace lumen_addon

#endif  // LUMEN_ADDON_SERVICES_H_
