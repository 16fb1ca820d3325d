#include "callback/screen_record_engine_callback.h"

#include <utility>

#include "callback/callback_dispatcher.h"
#include "callback/callback_queue.h"
#include "common/logging.h"

namespace lumen_addon {

namespace {

constexpr char kBridgeTag[] = "RecordEngineCallbackBridge";
constexpr char kItemTag[] = "ScreenRecordEngineCallback";

class ScreenRecordItem : public EventItem {
 public:
  ScreenRecordItem(std::shared_ptr<AddonCallback> holder, const char* method, std::vector<EventArg> args,
                   std::string line)
      : EventItem(std::move(holder), method, kItemScreenRecord, std::move(args)), line_(std::move(line)) {}
  void Run() override {
    if (!line_.empty()) LUMEN_LOG(kInfo, kItemTag) << line_;
    EventItem::Run();
  }

 private:
  std::string line_;
};

class Adapter : public korin::QXScreenRecordEngineCallback {
 public:
  explicit Adapter(std::shared_ptr<RecordEngineCallbackBridge> bridge) : bridge_(std::move(bridge)) {}
  void OnRecordStarted() override { bridge_->OnRecordStarted(); }
  void OnRecordPaused() override { bridge_->OnRecordPaused(); }
  void OnRecordResumed() override { bridge_->OnRecordResumed(); }
  void OnRecordStopped(const std::string& path) override { bridge_->OnRecordStopped(path); }
  void OnError(int level, int code, const std::string& message) override { bridge_->OnError(level, code, message); }
  void OnScreenCaptureApiChanged(int api_type) override { bridge_->OnScreenCaptureApiChanged(api_type); }
  void OnSegmentDeleted() override { bridge_->OnSegmentDeleted(); }
  void OnMergeProgress(int progress) override { bridge_->OnMergeProgress(progress); }
  void OnFirstFrameReady() override { bridge_->OnFirstFrameReady(); }

 private:
  const std::shared_ptr<RecordEngineCallbackBridge> bridge_;
};

// One detection result for a function or for an object's method.
class DetectResultItem : public AsyncCallbackItemBase {
 public:
  DetectResultItem(std::shared_ptr<AddonCallback> holder, EventArg result)
      : AsyncCallbackItemBase(std::move(holder)), result_(std::move(result)) {}
  int32_t Type() const override { return kItemScreenRecord; }
  void Run() override {
    napi_env e = env();
    napi_value arg = EventArgToJs(e, result_);
    Napi::Object target = addon_callback_->GetJsCallback();
    if (target.IsEmpty() || !target.IsFunction()) {
      ExecuteAsyncJsCallBack("onDetectResultCallback", 1, &arg);
      return;
    }
    napi_value ignored = nullptr;
    if (napi_call_function(e, Napi::Env(e).Undefined(), target, 1, &arg, &ignored) != napi_ok)
      Napi::Error::New(Napi::Env(e)).ThrowAsJavaScriptException();
  }

 private:
  EventArg result_;
};

}  // namespace

void RecordEngineCallbackBridge::Post(const char* method, std::vector<EventArg> args, std::string line) {
  auto self = weak_from_this().lock();
  if (!self) return;
  CallbackDispatcher::Post(new ScreenRecordItem(std::move(self), method, std::move(args), std::move(line)));
}

// The delivery lines are built only when they will be written.
#define LINE(text) (LogOn(kInfo) ? std::string() + text : std::string())

void RecordEngineCallbackBridge::OnRecordStarted() { Post("onRecordStarted", {}, LINE("onRecordStarted")); }
void RecordEngineCallbackBridge::OnRecordPaused() { Post("onRecordPaused", {}, LINE("onRecordPaused")); }
void RecordEngineCallbackBridge::OnRecordResumed() { Post("onRecordResumed", {}, LINE("onRecordResumed")); }
void RecordEngineCallbackBridge::OnRecordStopped(const std::string& path) {
  Post("onRecordStopped", Args(Arg(path)), LINE("onRecordStopped"));
}

void RecordEngineCallbackBridge::OnError(int level, int code, const std::string& message) {
  LUMEN_LOG(kInfo, kBridgeTag) << "OnError called with level: " << level << ", code: " << code
                               << ", message: " << message;
  Post("onErrorStatus", Args(Fields(Field("errorCode", Arg(int32_t{code})), Field("message", Arg(message)))),
       LINE("onRecordError code: " + std::to_string(code) + " message: " + message));
}

void RecordEngineCallbackBridge::OnScreenCaptureApiChanged(int api_type) {
  LUMEN_LOG(kInfo, kBridgeTag) << "OnScreenCaptureApiChanged called with api_type: " << api_type;
  Post("onCaptureApiChanged", Args(Fields(Field("api_type", Arg(int32_t{api_type})))),
       LINE("onCaptureApiChanged :" + std::to_string(api_type)));
}

void RecordEngineCallbackBridge::OnSegmentDeleted() {
  LUMEN_LOG(kInfo, kBridgeTag) << "OnSegmentDeleted called";
  Post("onSegmentDeleted");
}

void RecordEngineCallbackBridge::OnMergeProgress(int progress) {
  LUMEN_LOG(kInfo, kBridgeTag) << "OnMergeProgress called with progress: " << progress;
  Post("onMergeProgress", Args(Arg(int32_t{progress})));
}

void RecordEngineCallbackBridge::OnFirstFrameReady() {
  LUMEN_LOG(kInfo, kBridgeTag) << "OnFirstFrameReady called";
  Post("onFirstFrameReady");
}

#undef LINE

std::unique_ptr<korin::QXScreenRecordEngineCallback> RecordEngineCallbackBridge::NewAdapter() {
  return std::make_unique<Adapter>(shared_from_this());
}

std::function<void(const korin::FrameDetectResult&)> FrameDetectorForwarder(napi_env env, napi_value target) {
  auto holder = std::make_shared<AddonCallback>(env, target);
  return [holder](const korin::FrameDetectResult& r) {
    EventArg result = Fields(Field("isStatic", Arg(r.is_static)), Field("isBlack", Arg(r.is_black)),
                             Field("isGreen", Arg(r.is_green)), Field("isSolid", Arg(r.is_solid)),
                             Field("solidColor", Arg(r.solid_color)));
    CallbackDispatcher::Post(new DetectResultItem(holder, std::move(result)));
  };
}

}  // namespace lumen_addon
