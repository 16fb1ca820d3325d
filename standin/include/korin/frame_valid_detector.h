#ifndef KORIN_FRAME_VALID_DETECTOR_H_
#define KORIN_FRAME_VALID_DETECTOR_H_

#include <cstdint>
#include <functional>

#include "engine_export.h"

namespace korin {

// Reports whether the captured picture has stopped changing.
class ENGINE_API FrameValidDetectorCallback {
 public:
  virtual ~FrameValidDetectorCallback();
  virtual void OnDetectStatusCallback(bool is_static, bool changed) = 0;
};

// What a recorder's detector found in the captured picture.
struct FrameDetectResult {
  bool is_static = false;
  bool is_black = false;
  bool is_green = false;
  bool is_solid = false;
  uint32_t solid_color = 0;
};

struct FrameValidDetectorConfig {
  bool enable_detect = false;
  bool always_detect = false;
  int32_t valid_detect_cnt = 30;
  int32_t accuracy = 100;
  int32_t detect_interval_ms = 0;
  // Detection results, on an engine thread (the device engine's form; the
  // live play engine takes a FrameValidDetectorCallback instead).
  std::function<void(bool valid, bool is_static)> callback;
  // The recorders' form: one result per detection, on an engine thread.
  std::function<void(const FrameDetectResult& result)> result_callback;
};

}  // namespace korin

#endif  // KORIN_FRAME_VALID_DETECTOR_H_
