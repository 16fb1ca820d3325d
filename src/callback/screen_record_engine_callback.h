// Events of the screen recorders, copied on engine threads and delivered to
// the callback object given to screenRecordEngine_createScreenCapture (item
// type 105); and the results of a recording's frame detector.
#ifndef LUMEN_CALLBACK_SCREEN_RECORD_ENGINE_CALLBACK_H_
#define LUMEN_CALLBACK_SCREEN_RECORD_ENGINE_CALLBACK_H_

#include <napi.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "callback/addon_callback.h"
#include "callback/async_callback_item.h"
#include "korin/frame_valid_detector.h"
#include "korin/qx_screen_record_engine.h"
#include "record_engine/record_engine.h"

namespace lumen_addon {

// The classic recorder's callback; the newer recorder reaches it through an
// adapter of its own. Must be owned by a std::shared_ptr: items keep it by it.
class RecordEngineCallbackBridge : public record_engine::RecordEngineCallback,
                                   public AddonCallback,
                                   public std::enable_shared_from_this<RecordEngineCallbackBridge> {
 public:
  RecordEngineCallbackBridge(napi_env env, napi_value callback) : AddonCallback(env, callback) {}

  void OnRecordStarted() override;
  void OnRecordPaused() override;
  void OnRecordResumed() override;
  void OnRecordStopped(const std::string& path) override;
  void OnError(int level, int code, const std::string& message) override;
  void OnScreenCaptureApiChanged(int api_type) override;
  void OnSegmentDeleted() override;
  void OnMergeProgress(int progress) override;
  void OnFirstFrameReady() override;

  // What a newer recorder is given: it forwards every event here and keeps
  // the bridge alive while the recorder may call it.
  std::unique_ptr<korin::QXScreenRecordEngineCallback> NewAdapter();

 private:
  // `line`: what the item logs when it is delivered ("" for nothing).
  void Post(const char* method, std::vector<EventArg> args = {}, std::string line = std::string());
};

// The result callback of a recording's frame detector: `target` is a
// function, called with the result, or an object whose
// onDetectResultCallback is. It stays referenced while the engine keeps the
// function this answers.
std::function<void(const korin::FrameDetectResult&)> FrameDetectorForwarder(napi_env env, napi_value target);

}  // namespace lumen_addon

#endif  // LUMEN_CALLBACK_SCREEN_RECORD_ENGINE_CALLBACK_H_
