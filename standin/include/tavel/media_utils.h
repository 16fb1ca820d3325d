#ifndef TAVEL_MEDIA_UTILS_H_
#define TAVEL_MEDIA_UTILS_H_

#include <cstddef>
#include <cstdint>

#include "engine_export.h"

namespace tavel {

ENGINE_API void FastMemoryCopy(void* dst, const void* src, size_t size);

ENGINE_API int I420ToABGR(const uint8_t* src_y, int stride_y, const uint8_t* src_u,
                          int stride_u, const uint8_t* src_v, int stride_v,
                          uint8_t* dst_abgr, int dst_stride_abgr, int width,
                          int height);

// rotation in degrees: 0, 90, 180 or 270.
ENGINE_API int ARGBRotate(const uint8_t* src_argb, int src_stride, uint8_t* dst_argb,
                          int dst_stride, int width, int height, int rotation);

}  // namespace tavel

#endif  // TAVEL_MEDIA_UTILS_H_
