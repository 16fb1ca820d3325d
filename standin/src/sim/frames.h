// Pixel buffers as the simulated engine makes them.
#ifndef STANDIN_SIM_FRAMES_H_
#define STANDIN_SIM_FRAMES_H_

#include <cstdint>

#include "engine_export.h"
#include "korin/video_frame.h"

namespace sim {

// korin::ConvertToI420 without its script: the engine's own conversions.
ENGINE_API bool ToI420(const korin::QXPixelBuffer& src, korin::QXI420Buffer* out);
// Buffers over pixels held elsewhere.
ENGINE_API korin::QXPixelBuffer View(const korin::QXI420Buffer& planes);
ENGINE_API korin::QXPixelBuffer ViewBGRA(const uint8_t* pixels, int width, int height, int stride);

}  // namespace sim

#endif  // STANDIN_SIM_FRAMES_H_
