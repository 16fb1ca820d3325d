// Controls of the simulated machine's devices (docs/sim-devices.md).
#ifndef LIVE_ENGINE_CONTROL_DEVICE_CONTROL_H_
#define LIVE_ENGINE_CONTROL_DEVICE_CONTROL_H_

#include <napi.h>

namespace device_control {

// setDevices({ cameras, microphones, speakers, windows, screens }): each list
// given replaces that kind; the others stay.
Napi::Value SetDevices(const Napi::CallbackInfo& info);
// setPlatform({ aero, winVersion }); answers { electronVersion }.
Napi::Value SetPlatform(const Napi::CallbackInfo& info);

}  // namespace device_control

#endif  // LIVE_ENGINE_CONTROL_DEVICE_CONTROL_H_
