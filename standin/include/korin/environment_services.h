// Process-wide services of the engine library that the host configures:
// media dump upload, face detection, the download accelerator's statistics.
#ifndef KORIN_ENVIRONMENT_SERVICES_H_
#define KORIN_ENVIRONMENT_SERVICES_H_

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine_export.h"

namespace korin {

namespace media_dump {
ENGINE_API int RefreshUploadDataInLiveScene();
ENGINE_API int UpdateSalvageRules(const std::string& rules);
ENGINE_API int StartUpload();
ENGINE_API int StopUpload();
}  // namespace media_dump

enum class FaceDetectStatus : int32_t {
  kOk = 0,
  kNoFace = 1,
  kFileNotFound = -1,
  kDecodeFailed = -2,
  kInvalidFormat = -4,
  kInvalidSize = -5,
};

// Pixel formats of DetectFaceSyncWithBuffer.
enum FaceImageFormat : int32_t {
  kFaceImageI420 = 1,   // width * height * 3 / 2 bytes (chroma rounded up)
  kFaceImageRgb24 = 2,  // width * height * 3
  kFaceImageRgba = 3,   // width * height * 4
};

struct FaceDetectResult {
  float face_left = 0;
  float face_right = 0;
  float face_top = 0;
  float face_bottom = 0;
  float score = 0;
  float yaw = 0;
  float pitch = 0;
  float eye_distance = 0;
  int32_t id = 0;
  int32_t action = 0;
  int32_t pic_width = 0;
  int32_t pic_height = 0;
};

class ENGINE_API FaceDetectUtil {
 public:
  static FaceDetectStatus DetectFaceSync(const std::string& image_path, FaceDetectResult* result);
  // Reads exactly the bytes the format needs for width x height from data.
  static FaceDetectStatus DetectFaceSyncWithBuffer(const uint8_t* data, size_t size, int width, int height,
                                                   int format, FaceDetectResult* result);
};

}  // namespace korin

#endif  // KORIN_ENVIRONMENT_SERVICES_H_
