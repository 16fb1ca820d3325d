// detectFaceSync, detectFaceSyncWithBuffer: face detection on a picture file
// or on pixels JavaScript holds, results written into the caller's object.
#include "addon/groups.h"
#include "common/convert.h"
#include "common/export_table.h"
#include "korin/environment_services.h"

namespace lumen_addon {
namespace {

constexpr int kBadSize = -5;
constexpr int kBadFormat = -4;

void WriteResult(const Napi::Value& target, const korin::FaceDetectResult& r) {
  Napi::Object o = js::ToObject(target);
  if (o.IsEmpty()) return;
  o.Set("faceLeft", r.face_left);
  o.Set("faceRight", r.face_right);
  o.Set("faceTop", r.face_top);
  o.Set("faceBottom", r.face_bottom);
  o.Set("score", r.score);
  o.Set("yaw", r.yaw);
  o.Set("pitch", r.pitch);
  o.Set("eyeDistance", r.eye_distance);
  o.Set("id", r.id);
  o.Set("action", r.action);
  o.Set("picWidth", r.pic_width);
  o.Set("picHeight", r.pic_height);
}

// Bytes a picture of that size and format takes; 0 for an unknown format.
size_t ImageSize(int64_t width, int64_t height, int format) {
  const auto w = static_cast<size_t>(width), h = static_cast<size_t>(height);
  switch (format) {
    case korin::kFaceImageI420: return w * h + 2 * (((w + 1) / 2) * ((h + 1) / 2));
    case korin::kFaceImageRgb24: return w * h * 3;
    case korin::kFaceImageRgba: return w * h * 4;
    default: return 0;
  }
}

Napi::Value DetectFaceSync(const Napi::CallbackInfo& info) {
  const std::string path = js::ToUtf8(info[0]);
  korin::FaceDetectResult result;
  const auto status = korin::FaceDetectUtil::DetectFaceSync(path, &result);
  WriteResult(info[1], result);
  return js::Number(info.Env(), static_cast<int>(status));
}

// The engine reads the picture straight from the JavaScript buffer, so its
// size is checked against what the format needs first: nothing past the
// buffer is ever read.
Napi::Value DetectFaceSyncWithBuffer(const Napi::CallbackInfo& info) {
  Napi::Env env = info.Env();
  const int32_t width = js::ToInt32(info[1]);
  const int32_t height = js::ToInt32(info[2]);
  const int32_t format = js::ToInt32(info[3]);
  auto view = info[0].As<Napi::TypedArray>();
  Napi::ArrayBuffer buffer = view.ArrayBuffer();
  const size_t offset = view.ByteOffset(), length = view.ByteLength();
  const bool readable = !buffer.IsEmpty() && buffer.Data() != nullptr && offset + length <= buffer.ByteLength();
  if (!readable || length == 0 || width < 1 || height < 1) return js::Number(env, kBadSize);
  if (format != korin::kFaceImageI420 && format != korin::kFaceImageRgb24 && format != korin::kFaceImageRgba)
    return js::Number(env, kBadFormat);
  // 16384 a side keeps the size far from overflowing.
  if (width > 16384 || height > 16384 || length < ImageSize(width, height, format)) return js::Number(env, kBadSize);
  korin::FaceDetectResult result;
  const auto* data = static_cast<const uint8_t*>(buffer.Data()) + offset;
  const auto status = korin::FaceDetectUtil::DetectFaceSyncWithBuffer(data, length, width, height, format, &result);
  WriteResult(info[4], result);
  return js::Number(env, static_cast<int>(status));
}

const ExportRow kRows[] = {
    {"detectFaceSync", DetectFaceSync, AtLeast("sw", "Expected arguments: imagePath (string), result (object)"),
     kMinusOne},
    {"detectFaceSyncWithBuffer", DetectFaceSyncWithBuffer,
     AtLeast("tnnnw",
             "Expected arguments: buffer (Buffer), width (number), height (number), format (number), result (object)"),
     FailWith(-10)},
};

}  // namespace

void RegisterDetectFaceGroup(napi_env env, napi_value exports) { AddExports(env, exports, kRows); }

}  // namespace lumen_addon
