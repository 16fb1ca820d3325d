#include "QXRecordEngine/camera_record_engine_addon_callback.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "common/convert.h"
#include "common/logging.h"

namespace lumen_addon {
namespace {

constexpr char kTag[] = "QXCameraRecordEngineAddon";

void LogMissing(const char* method) { LUMEN_LOG(kWarning, kTag) << method << " callback is empty"; }

}  // namespace

CameraRecordEngineAddonCallback::CameraRecordEngineAddonCallback(napi_env env, std::shared_ptr<Strand> strand,
                                                                 napi_value listener)
    : strand_(std::move(strand)),
      listener_(std::make_shared<Listener>(env, "QXCameraRecordEngine_registerRecordListener", LogMissing)) {
  listener_->Set(listener);
}

template <typename... A>
void CameraRecordEngineAddonCallback::Emit(const char* event, const char* method, A... args) {
  LUMEN_LOG(kInfo, kTag) << event;
  strand_->Emit(listener_, method, std::move(args)...);
}

void CameraRecordEngineAddonCallback::OnCameraStarted() { Emit("OnCameraStarted", "onPreviewStarted"); }
void CameraRecordEngineAddonCallback::OnCameraSwitched(const korin::QXCameraDeviceInfo& d) {
  Emit("OnCameraSwitched", "onCameraSwitched",
       JsObject(Kv("deviceId", d.guid), Kv("deviceName", d.name), Kv("deviceType", d.type),
                Kv("isFront", d.position == 0)));
}
void CameraRecordEngineAddonCallback::OnCameraStopped() { Emit("OnCameraStopped", "onPreviewStopped"); }
void CameraRecordEngineAddonCallback::OnSegmentDeleted() { Emit("OnSegmentDeleted", "onSegmentDeleted"); }
void CameraRecordEngineAddonCallback::OnMergeProgress(int progress) {
  Emit("OnMergeProgress", "onMergeProgress", int32_t{progress});
}
void CameraRecordEngineAddonCallback::OnRecordStarted() { Emit("OnRecordStarted", "onRecordStarted"); }
void CameraRecordEngineAddonCallback::OnRecordStopped(const std::string& path) {
  Emit("OnRecordStopped", "onRecordStopped", path);
}
void CameraRecordEngineAddonCallback::OnRecordPaused() { Emit("OnRecordPaused", "onRecordPaused"); }
void CameraRecordEngineAddonCallback::OnRecordResumed() { Emit("OnRecordResumed", "onRecordResumed"); }
void CameraRecordEngineAddonCallback::OnError(int level, int code, const std::string& message) {
  Emit("OnError", "onError", int32_t{level}, int32_t{code}, message);
}

QXTakePictureCallbackAddon::QXTakePictureCallbackAddon(napi_env env, std::shared_ptr<Strand> strand, napi_value target)
    : strand_(std::move(strand)), listener_(Listener::Make(env, "QXCameraRecordEngine_takePicture", target)) {}

// The bytes live until this returns: copied into the work. The result comes
// once, so the picture object is let go once it has it.
void QXTakePictureCallbackAddon::OnTakePictureResult(const korin::QXPicture& p) {
  std::vector<uint8_t> bytes;
  if (p.data && p.size) bytes.assign(p.data, p.data + p.size);
  strand_->Post([listener = listener_, width = p.width, height = p.height, error = p.error_code, type = p.type,
                 bytes = std::move(bytes)](Napi::Env env) {
    if (!listener->IsSet()) return;
    // Node-API directly: at the environment's teardown nothing can be made.
    napi_value data = js::CopyArrayBuffer(env, bytes.data(), bytes.size());
    if (!data) return;
    Napi::Object result = Napi::Object::New(env);
    result.Set("width", Napi::Number::New(env, width));
    result.Set("height", Napi::Number::New(env, height));
    result.Set("errorCode", Napi::Number::New(env, error));
    result.Set("type", Napi::Number::New(env, type));
    result.Set("data", Napi::Value(env, data));
    listener->Call("onTakePictureResult", {result});
    listener->Clear();
  });
}

}  // namespace lumen_addon
