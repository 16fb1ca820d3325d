// videoThumbnailTool_*: thumbnail tools by handle. A zero handle is
// "<export> handler is null" (tag "VideoThumbnailTool"), any other number
// that is no live tool "<export>: not a live thumbnail tool handle"; both
// answer -1. Arguments are refused by throwing; requests are read strictly.
#include <napi.h>

#include <cstdint>
#include <memory>
#include <string>

#include "addon/groups.h"
#include "common/convert.h"
#include "common/export_table.h"
#include "common/forward.h"
#include "common/logging.h"
#include "common/record_reader.h"
#include "engine/qx_video_thumbnail_tool_wrapper.h"
#include "korin/qx_video_thumbnail_tools.h"
#include "qx_base/handle_arg.h"

namespace lumen_addon {
namespace {

constexpr char kTag[] = "VideoThumbnailTool";
constexpr HandleKind kKind = HandleKind::kThumbnailTool;
using Tool = QXVideoThumbnailToolWrapper;

// The log lines of one export: its zero handle and its failure.
struct Lines {
  const char* null_handle;
  const char* failed;
};

std::shared_ptr<Tool> FindTool(const Napi::CallbackInfo& info, const char* null_line) {
  if (IsZeroHandle(info[0])) {
    LUMEN_LOG(kError, kTag) << null_line;
    return nullptr;
  }
  return HandleArg<Tool>(info);
}

template <const Lines& L, int32_t (*Op)(const Napi::CallbackInfo&, Tool&)>
Napi::Value OnTool(const Napi::CallbackInfo& info) {
  std::shared_ptr<Tool> tool = FindTool(info, L.null_handle);
  if (!tool) return js::Number(info.Env(), -1);
  const int32_t result = Op(info, *tool);
  if (result != 0 && L.failed) LUMEN_LOG(kError, kTag) << L.failed << result;
  return js::Number(info.Env(), result);
}

using korin::QXVideoThumbnailConfig;
const record::Field<QXVideoThumbnailConfig> kRequest[] = {
    LUMEN_FIELD("width", QXVideoThumbnailConfig, width, kInt32),
    LUMEN_FIELD("height", QXVideoThumbnailConfig, height, kInt32),
    LUMEN_FIELD("durationMs", QXVideoThumbnailConfig, duration_ms, kInt32),
};

Napi::Value Create(const Napi::CallbackInfo& info) {
  std::shared_ptr<Tool> tool = Tool::Create(info.Env());
  if (!tool) return js::Number(info.Env(), 0);
  return HandleValue(info.Env(), HandleRegistry::Add(kKind, tool));
}

int32_t SetMediaPath(const Napi::CallbackInfo& info, Tool& tool) { return tool.Init(js::ToUtf8(info[1])); }
int32_t SeekTo(const Napi::CallbackInfo& info, Tool& tool) { return tool.SeekTo(js::ToInt32(info[1])); }
int32_t GetThumbnails(const Napi::CallbackInfo& info, Tool& tool) {
  QXVideoThumbnailConfig request;
  record::Read(info[1], kRequest, request, record::kStrictPresent);
  if (info.Env().IsExceptionPending()) return -1;  // the TypeError of a field of another type
  return tool.GetVideoThumbnails(request, info[2]);
}

// Ends the tool's requests; thumbnails already queued are dropped with it.
Napi::Value Release(const Napi::CallbackInfo& info) {
  if (IsZeroHandle(info[0])) {
    LUMEN_LOG(kError, kTag) << "VideoThumbnailTool_release handler is null";
    return js::Number(info.Env(), -1);
  }
  std::shared_ptr<Tool> tool = TakeHandleArg<Tool>(info);
  return js::Number(info.Env(), tool ? 0 : -1);
}

constexpr Lines kSetMediaPath{"VideoThumbnailTool_setMediaPath handler is null",
                              "VideoThumbnailTool_setMediaPath init failed, ret:"};
constexpr Lines kSeekTo{"VideoThumbnailTool_seekTo handler is null", "VideoThumbnailTool_seekTo failed, ret  :"};
constexpr Lines kGetThumbnails{"VideoThumbnailTool_getVideoThumbnails handler is null",
                               "VideoThumbnailTool_getVideoThumbnails failed, ret  :"};

constexpr HandleArgs kOnTool = Handles(kKind);

const ExportRow kRows[] = {
    {"videoThumbnailTool_create", Create, Free(), kMinusOne},
    {"videoThumbnailTool_setMediaPath", OnTool<kSetMediaPath, SetMediaPath>,
     AtLeast("ns", "Expected 2  arguments: handler, media_path"), kMinusOne, nullptr, kOnTool},
    {"videoThumbnailTool_seekTo", OnTool<kSeekTo, SeekTo>, AtLeast("nn", "Expected 2 arguments: handler, position"),
     kMinusOne, nullptr, kOnTool},
    {"videoThumbnailTool_getVideoThumbnails", OnTool<kGetThumbnails, GetThumbnails>,
     AtLeast("noc", "Expected 3 arguments: handler, config, callback"), kMinusOne, nullptr, kOnTool},
    {"videoThumbnailTool_release", Release, AtLeast("n", "Expected 1 arguments: handler"), kMinusOne, nullptr, kOnTool},
};

}  // namespace

void RegisterVideoThumbnailToolGroup(napi_env env, napi_value exports) { AddExports(env, exports, kRows); }

}  // namespace lumen_addon
