#include "engine/device_settings.h"

#include <chrono>
#include <cstring>

#include "common/convert.h"
#include "engine/device_engine_impl.h"
#include "tavel/tally.h"

namespace lumen_addon {

namespace {

// Read by whole-string comparison; "kIYUV" is only ever written.
constexpr const char* kReadNames[] = {nullptr, "I420", "IYUV", "RGB24", "ABGR", "ARGB", "ARGB4444", "RGB565",
                                      "ARGB1555", "YUY2", nullptr, "UYVY", "MJPEG", "NV21", "NV12", "BGRA"};

std::string OptionalString(const Napi::Object& o, const char* key) {
  Napi::Value v = js::Get(o, key);
  return v.IsEmpty() || v.IsUndefined() ? std::string() : js::ToUtf8(v);
}

template <typename Fn>
int WithBuffer(const std::string& s, Fn&& fn) {
  char buffer[tavel::kDeviceNameSize] = {};
  std::strncpy(buffer, s.c_str(), sizeof buffer - 1);
  return fn(buffer);
}

}  // namespace

int32_t PixelFormatFromName(const std::string& name) {
  for (int32_t i = 0; i < static_cast<int32_t>(sizeof kReadNames / sizeof *kReadNames); ++i)
    if (kReadNames[i] && name == kReadNames[i]) return i;
  return 0;
}

const char* PixelFormatName(int32_t format) {
  switch (format) {
    case 1: return "I420";
    case 2: return "kIYUV";
    case 3: return "RGB24";
    case 4: return "ABGR";
    case 5: return "ARGB";
    case 6: return "ARGB4444";
    case 7: return "RGB565";
    case 8: return "ARGB1555";
    case 9: return "YUY2";
    case 11: return "UYVY";
    case 12: return "MJPEG";
    case 13: return "NV21";
    case 14: return "NV12";
    case 15: return "BGRA";
    default: return "Unknown";
  }
}

tavel::VideoCaptureFormat ToCaptureFormat(const Napi::Value& value) {
  tavel::VideoCaptureFormat f;
  if (!js::IsSet(value)) return f;
  Napi::Object o = js::ToObject(value);
  if (o.IsEmpty()) return f;
  f.width = js::Int32At(o, "width");
  f.height = js::Int32At(o, "height");
  f.fps = js::Int32At(o, "fps");
  f.pixel_format = PixelFormatFromName(OptionalString(o, "videoColorSpace"));
  return f;
}

CachedDeviceSettings ReadCachedDeviceSettings(const Napi::Value& value) {
  CachedDeviceSettings s;
  Napi::Object o = js::ToObject(value);
  if (o.IsEmpty()) return s;
  auto part = [&](const char* key) {
    Napi::Value v = js::Get(o, key);
    return v.IsObject() ? v.As<Napi::Object>() : Napi::Object();
  };
  if (Napi::Object c = part("currentCaptureDeviceV2"); !c.IsEmpty()) {
    s.capture_name = OptionalString(c, "name");
    s.capture_guid = OptionalString(c, "guid");
  }
  s.capture_format = ToCaptureFormat(js::Get(o, "currentCaptureFormat"));
  if (Napi::Object r = part("currentRecordDeviceV2"); !r.IsEmpty()) {
    s.record_is_default = js::BoolAt(r, "isDefault");
    s.record_name = OptionalString(r, "name");
    s.record_guid = OptionalString(r, "guid");
  }
  if (Napi::Object p = part("currentPlayoutDeviceV2"); !p.IsEmpty()) {
    s.playout_is_default = js::BoolAt(p, "isDefault");
    s.playout_name = OptionalString(p, "name");
    s.playout_guid = OptionalString(p, "guid");
  }
  s.speaker_volume = js::Int32At(o, "speakerVolume");
  s.mic_volume = js::Int32At(o, "micVolume2");
  s.agc = js::BoolAt(o, "agcStatus2");
  return s;
}

int ApplyCachedDeviceSettings(DeviceEngineImpl& device, const CachedDeviceSettings& s) {
  const auto start = std::chrono::steady_clock::now();
  constexpr char kFailure[] = "settingDeviceWithCachedInfo failed: device_ is null";
  device.Call(kFailure, [&](tavel::LiveDeviceEngine* d) {
    if (s.playout_is_default) {
      d->SetDefaultPlayoutDevice();
    } else if (!s.playout_guid.empty()) {
      WithBuffer(s.playout_guid, [&](const char* g) { return d->SetPlayoutDevice(g); });
    }
    if (s.record_is_default) {
      d->SetDefaultRecordingDevice();
    } else if (!s.record_guid.empty()) {
      WithBuffer(s.record_guid, [&](const char* g) { return d->SetRecordingDevice(g); });
    }
    d->SetAgcStatus(s.agc);
    d->SetSpeakerVolume(static_cast<uint32_t>(s.speaker_volume));
    // Under automatic gain control the engine owns the microphone volume.
    if (s.mic_volume != -1 && !s.agc) d->SetMicVolume(static_cast<uint32_t>(s.mic_volume));
    return 0;
  });
  if (!s.capture_guid.empty()) device.SelectCaptureDevice(s.capture_guid, s.capture_format);
  const auto elapsed =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  tavel::tallyv2::ValueEntry entry;
  entry.url = "sdk/statistics/timeConsuming/deviceSetting";
  entry.str_values["name"] = "settingDeviceWithCachedInfo";
  entry.num_values["time"] = static_cast<double>(elapsed);
  if (auto client = tavel::tallyv2::TallyClientV2::singleton()) client->PostValueEntry(entry, 1, 0);
  return 0;
}

}  // namespace lumen_addon
