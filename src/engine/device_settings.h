// The user's device settings cached by the app, applied to the live device
// engine once a class has connected. Read on the JavaScript thread, applied
// on the background connect thread.
#ifndef LUMEN_ENGINE_DEVICE_SETTINGS_H_
#define LUMEN_ENGINE_DEVICE_SETTINGS_H_

#include <napi.h>

#include <cstdint>
#include <string>

#include "tavel/device_engine.h"

namespace lumen_addon {

class DeviceEngineImpl;

struct CachedDeviceSettings {
  std::string capture_name;
  std::string capture_guid;
  tavel::VideoCaptureFormat capture_format;
  bool record_is_default = false;
  std::string record_name;
  std::string record_guid;
  bool playout_is_default = false;
  std::string playout_name;
  std::string playout_guid;
  int32_t speaker_volume = 0;
  int32_t mic_volume = 0;  // -1: not set
  bool agc = false;
};

// The pixel format of a capture format's name, and the name written for one.
int32_t PixelFormatFromName(const std::string& name);
const char* PixelFormatName(int32_t format);
tavel::VideoCaptureFormat ToCaptureFormat(const Napi::Value& value);

CachedDeviceSettings ReadCachedDeviceSettings(const Napi::Value& value);
// Always 0; what the engine answers is not reported.
int ApplyCachedDeviceSettings(DeviceEngineImpl& device, const CachedDeviceSettings& settings);

}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_DEVICE_SETTINGS_H_
