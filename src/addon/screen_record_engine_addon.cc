// screenRecordEngine_*: the screen or a window recorded with the microphone.
#include <string>
#include <vector>

#include "addon/groups.h"
#include "common/byte_view.h"
#include "common/capture_sources.h"
#include "common/convert.h"
#include "common/export_table.h"
#include "common/forward.h"
#include "common/logging.h"
#include "engine/engine_manager.h"
#include "engine/screen_record_engine_impl.h"
#include "record_engine/record_engine.h"

namespace lumen_addon {
namespace {

using Impl = ScreenRecordEngineImpl;

struct Screen {
  using Wrapper = Impl;
  static std::shared_ptr<Wrapper> Find(const Napi::CallbackInfo&) {
    return EngineManager::instance()->CurrentScreenRecordEngine();
  }
  static Napi::Value Missing(const Napi::CallbackInfo& info) {
    LUMEN_LOG(kError, "EngineAddon") << "screen record engine is not created yet.";
    return js::Number(info.Env(), -1);
  }
};

Napi::Value Create(const Napi::CallbackInfo& info) {
  const std::string params = js::ToUtf8(info[1]);
  const std::string sdk_version = js::ToUtf8(info[2]);
  return js::Number(info.Env(), EngineManager::instance()->CreateScreenRecordEngine(info.Env(), info[0], params, sdk_version));
}

Napi::Value Destroy(const Napi::CallbackInfo& info) {
  return js::Number(info.Env(), EngineManager::instance()->DestroyScreenRecordEngine());
}

// The params object is read for the recorder this object uses.
int Start(const Napi::CallbackInfo& info, Impl& screen) {
  return screen.StartRecord(ReadScreenRecordParams(info[0], screen.uses_screen_recorder(), screen.agc_when_pause()));
}

// Exactly the bytes an ArrayBuffer or an Int8Array views; the count is the
// row's test, the kind has a message of its own.
Napi::Value NewAudioData(const Napi::CallbackInfo& info) {
  const Napi::Value data = info[0];
  if (!data.IsArrayBuffer() && !(data.IsTypedArray() && data.As<Napi::TypedArray>().TypedArrayType() == napi_int8_array)) {
    Napi::Error::New(info.Env(), "Expected arguments: arraybuffer or int8array").ThrowAsJavaScriptException();
    return js::Number(info.Env(), -1);
  }
  auto screen = Screen::Find(info);
  if (!screen) return Screen::Missing(info);
  const js::ByteView bytes = js::ViewBytes(data);
  return js::Number(info.Env(), screen->NewAudioData(bytes.data, bytes.size));
}

// Answered without a recorder; a type other than "screen" or "window" has none.
Napi::Value SupportedCapApiList(const Napi::CallbackInfo& info) {
  const std::string type = js::ToUtf8(info[0]);
  std::vector<int32_t> list;
  if (type == "screen") list = record_engine::RecordEngineInterface::GetSupportedCapApiList(record_engine::kCaptureScreen);
  if (type == "window") list = record_engine::RecordEngineInterface::GetSupportedCapApiList(record_engine::kCaptureWindow);
  return ToJs<std::vector<int32_t>>::New(info.Env(), list);
}

// Without the sizes the device engine's list gives.
Napi::Value WindowsList(const Napi::CallbackInfo& info) {
  return CaptureSourcesToJs(info.Env(), record_engine::RecordEngineInterface::GetWindowsList(), false);
}

constexpr char kNoParameter[] = "Invalid arguments, no need parameter !";

#define ROW(js_name, handler, admission) {"screenRecordEngine_" js_name, handler, admission, kMinusOne}
#define WRAPPED(js_name, Method, admission) ROW(js_name, (ForwardWrapper<Screen, &Impl::Method>), admission)

const ExportRow kRows[] = {
    ROW("createScreenCapture", Create, AtLeast("css", "Expected 3 arguments: callback, params, sdk_version")),
    ROW("destroyScreenCapture", Destroy, Free()),
    ROW("startScreenRecord", (OnEngine<Screen, Start>), AtLeast("o", "Expected 1 arguments : params")),
    WRAPPED("pauseScreenRecord", PauseRecord, Free()),
    WRAPPED("resumeScreenRecord", ResumeRecord, Free()),
    WRAPPED("stopScreenRecord", StopRecord, AtLeast("b", "Expected 1 arguments : bool")),
    ROW("newScreenAudioDataReady", NewAudioData, Exactly("*", "Expected 1 arguments")),
    ROW("getSupportedCapApiList", SupportedCapApiList, AtLeast("s", "Expected 1 arguments, 1st parameter to be string")),
    ROW("getWindowsList", WindowsList, NoArgs(kNoParameter)),
    WRAPPED("deleteLastSegment", DeleteLastSegment, NoArgs(kNoParameter)),
    WRAPPED("getRecordDurationMs", GetRecordDurationMs, NoArgs(kNoParameter)),
};

}  // namespace

void RegisterScreenRecordEngineGroup(napi_env env, napi_value exports) { AddExports(env, exports, kRows); }

}  // namespace lumen_addon
