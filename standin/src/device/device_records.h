// Journal forms of the device records.
#ifndef LIVE_ENGINE_DEVICE_DEVICE_RECORDS_H_
#define LIVE_ENGINE_DEVICE_DEVICE_RECORDS_H_

#include <string>

#include "korin/audio_device.h"
#include "sim/sim.h"
#include "tavel/device_engine.h"

#define SIM_DF(f) #f, v.f

namespace tavel {
inline std::string ToJson(const VideoCaptureFormat& v) {
  return sim::JsonObject(SIM_DF(width), SIM_DF(height), SIM_DF(fps), SIM_DF(pixel_format));
}
inline std::string ToJson(const MicrophoneRecordingParam& v) {
  return sim::JsonObject(SIM_DF(sink), SIM_DF(mode), SIM_DF(sample_rate), SIM_DF(channels), SIM_DF(timeout_ms));
}
inline std::string ToJson(const Ticket& v) {
  return sim::JsonObject(SIM_DF(engine_params), SIM_DF(sdk_version), SIM_DF(value));
}
}  // namespace tavel

namespace korin {
inline std::string ToJson(const AudioRecordingParam& v) {
  return sim::JsonObject(SIM_DF(sample_rate), SIM_DF(reserved0), SIM_DF(bit_rate), SIM_DF(flag0), SIM_DF(flag1),
                         SIM_DF(device_option_b), SIM_DF(device_option_a), SIM_DF(timeout_ms), SIM_DF(str0),
                         SIM_DF(str1), SIM_DF(processing_mask), SIM_DF(mode), SIM_DF(scene), SIM_DF(str2),
                         SIM_DF(reserved1));
}
}  // namespace korin

#undef SIM_DF

#endif  // LIVE_ENGINE_DEVICE_DEVICE_RECORDS_H_
