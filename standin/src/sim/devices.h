// The machine's devices as the simulated device engines see them: cameras,
// microphones, speakers, windows and screens, scripted by the control module.
#ifndef LIVE_ENGINE_SIM_DEVICES_H_
#define LIVE_ENGINE_SIM_DEVICES_H_

#include <cstdint>
#include <string>
#include <vector>

#include "engine_export.h"
#include "record_engine/record_engine.h"
#include "tavel/device_engine.h"

namespace sim {

struct DeviceEntry {
  std::string name;
  std::string guid;
  uint32_t transport_type = 0;
  bool is_default = false;
  std::vector<tavel::VideoCaptureFormat> formats;  // cameras
};

struct WindowEntry {
  record_engine::Source source;
  record_engine::WindowStatus status;
};

// kind: "cameras", "microphones", "speakers".
ENGINE_API void SetDevices(const std::string& kind, std::vector<DeviceEntry> devices);
ENGINE_API std::vector<DeviceEntry> Devices(const std::string& kind);
ENGINE_API void SetWindows(std::vector<WindowEntry> windows);
ENGINE_API void SetScreens(std::vector<record_engine::Source> screens);
ENGINE_API void SetAeroEnabled(bool on);
ENGINE_API void SetWinVersion(int version);
ENGINE_API int ElectronVersion();

}  // namespace sim

#endif  // LIVE_ENGINE_SIM_DEVICES_H_
