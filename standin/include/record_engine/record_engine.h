#ifndef RECORD_ENGINE_RECORD_ENGINE_H_
#define RECORD_ENGINE_RECORD_ENGINE_H_

#include <cstdint>
#include <string>
#include <vector>

#include "engine_export.h"

namespace record_engine {

// A window or a screen that can be captured.
struct Source {
  int64_t id = 0;
  std::string title;
  int32_t width = 0;
  int32_t height = 0;
};

struct WindowStatus {
  int32_t pos_x = 0;
  int32_t pos_y = 0;
  int32_t width = 0;
  int32_t height = 0;
  bool minimized = false;
  bool on_screen = false;
  double scaling_factor = 1;
  bool unfound = false;
};

class ENGINE_API RecordEngineInterface {
 public:
  static std::vector<Source> GetWindowsList();
  static std::vector<Source> GetScreenList();
  static WindowStatus GetWindowStatus(int64_t id);
  virtual ~RecordEngineInterface();
};

}  // namespace record_engine

#endif  // RECORD_ENGINE_RECORD_ENGINE_H_
