// mediaTrackEditorEngine_*: recorded media cut, joined and exported.
#include <string>

#include "addon/groups.h"
#include "common/convert.h"
#include "common/export_table.h"
#include "common/forward.h"
#include "engine/engine_manager.h"
#include "engine/media_track_editor_engine_impl.h"

namespace lumen_addon {
namespace {

using Impl = MediaTrackEditorEngineImpl;

// Without an editor every export but create and destroy throws, unlogged.
struct Editor {
  using Wrapper = Impl;
  static std::shared_ptr<Wrapper> Find(const Napi::CallbackInfo&) {
    return EngineManager::instance()->CurrentMediaTrackEditor();
  }
  static Napi::Value Missing(const Napi::CallbackInfo& info) {
    Napi::Error::New(info.Env(), "media track editor engine is not created").ThrowAsJavaScriptException();
    return js::Number(info.Env(), -1);
  }
};

Napi::Value Create(const Napi::CallbackInfo& info) {
  return js::Number(info.Env(), EngineManager::instance()->CreateMediaTrackEditor().first);
}

Napi::Value Destroy(const Napi::CallbackInfo& info) {
  return js::Number(info.Env(), EngineManager::instance()->DestroyMediaTrackEditor());
}

template <bool kSegments>
int Export(const Napi::CallbackInfo& info, Impl& editor) {
  return editor.Export(js::ToUtf8(info[0]), info.Env(), info[1], kSegments);
}

#define ROW(js_name, handler, admission) {"mediaTrackEditorEngine_" js_name, handler, admission, kMinusOne}
#define WRAPPED(js_name, Method, admission) ROW(js_name, (ForwardWrapper<Editor, &Impl::Method>), admission)

const ExportRow kRows[] = {
    ROW("createMediaTrackEditor", Create, Free()),
    ROW("destroyMediaTrackEditor", Destroy, Free()),
    WRAPPED("mediaTrackInsert", Insert, AtLeast("sn", "Expected 2 arguments: path, pos")),
    WRAPPED("mediaTrackDelete", Delete, AtLeast("nn", "Expected 2 arguments: startPos, endPos")),
    WRAPPED("mediaTrackAppend", Append, AtLeast("s", "Expected 1 arguments: path")),
    WRAPPED("mediaTrackReplace", Replace, AtLeast("snn", "Expected 3 arguments: path, startPos, endPos")),
    WRAPPED("getMediaTrackDuration", Duration, Free()),
    ROW("mediaTrackExport", (OnEngine<Editor, Export<false>>), AtLeast("sc", "Expected 2 arguments: path, callback")),
    ROW("mediaTrackExportWithSegInfo", (OnEngine<Editor, Export<true>>),
        AtLeast("sc", "Expected 2 arguments: path, callback")),
};

}  // namespace

void RegisterMediaTrackEditorEngineGroup(napi_env env, napi_value exports) { AddExports(env, exports, kRows); }

}  // namespace lumen_addon
