#include "engine/qx_video_thumbnail_tool_wrapper.h"

#include <utility>

#include "common/logging.h"
#include "engine/qx_video_thumbnail_tool_callback_addon_wrapper.h"

namespace lumen_addon {
namespace {

constexpr char kTag[] = "QXVideoThumbnailToolWrapper";

}  // namespace

std::shared_ptr<QXVideoThumbnailToolWrapper> QXVideoThumbnailToolWrapper::Create(napi_env env) {
  auto strand = Strand::Create(env, "QXVideoThumbnailToolCallbackAddonWrapper");
  if (!strand) return nullptr;
  std::shared_ptr<QXVideoThumbnailToolWrapper> tool(new QXVideoThumbnailToolWrapper(env, std::move(strand)));
  tool->tool_interface_ = korin::QXVideoThumbnailToolsInterface::Create();
  return tool;
}

QXVideoThumbnailToolWrapper::~QXVideoThumbnailToolWrapper() {
  if (tool_interface_) korin::QXVideoThumbnailToolsInterface::Destroy(tool_interface_);
  strand_->Close();
  handed_.Retire(std::move(callback_wrapper_));
  handed_.Clear();
}

int32_t QXVideoThumbnailToolWrapper::Init(const std::string& media_path) {
  if (!tool_interface_) {
    LUMEN_LOG(kError, kTag) << "QXVideoThumbnailToolWrapper::Init() tool_interface_ is null";
    return -1;
  }
  const int32_t result = tool_interface_->Init(media_path);
  if (result != 0) LUMEN_LOG(kError, kTag) << "QXVideoThumbnailToolWrapper::Init() init failed, ret:" << result;
  return result;
}

int32_t QXVideoThumbnailToolWrapper::SeekTo(int32_t position_ms) {
  if (!tool_interface_) {
    LUMEN_LOG(kError, kTag) << "QXVideoThumbnailToolWrapper::SeekTo() tool_interface_ is null";
    return -1;
  }
  const int32_t result = tool_interface_->SeekTo(position_ms);
  if (result != 0) LUMEN_LOG(kError, kTag) << "QXVideoThumbnailToolWrapper::SeekTo() seek failed, ret:" << result;
  return result;
}

int32_t QXVideoThumbnailToolWrapper::GetVideoThumbnails(const korin::QXVideoThumbnailConfig& config,
                                                        napi_value callback) {
  if (!tool_interface_) {
    LUMEN_LOG(kError, kTag) << "QXVideoThumbnailToolWrapper::GetVideoThumbnails() tool_interface_ is null";
    return -1;
  }
  auto next = std::make_shared<QXVideoThumbnailToolCallbackAddonWrapper>(env_, strand_, callback);
  const int32_t result = tool_interface_->GetVideoThumbnails(config, next.get());
  if (result != 0)
    LUMEN_LOG(kError, kTag) << "QXVideoThumbnailToolWrapper::GetVideoThumbnails() get thumbnail failed, ret:" << result;
  // Earlier requests go on with their own callbacks: kept, not silenced.
  handed_.Keep(std::exchange(callback_wrapper_, std::move(next)));
  return result;
}

}  // namespace lumen_addon
