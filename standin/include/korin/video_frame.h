#ifndef KORIN_VIDEO_FRAME_H_
#define KORIN_VIDEO_FRAME_H_

#include <cstdint>

namespace korin {

// A decoded or captured frame: width x height pixels of 4 bytes, rows packed.
struct QXVideoFrame {
  int width = 0;
  int height = 0;
  int64_t timestampUs = 0;
  const uint8_t* buffer = nullptr;
};

}  // namespace korin

#endif  // KORIN_VIDEO_FRAME_H_
