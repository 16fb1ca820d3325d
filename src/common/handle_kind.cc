#include "common/handle_kind.h"

namespace lumen_addon {

const char* HandleKindName(HandleKind kind) {
  switch (kind) {
    case HandleKind::kDeviceModule: return "device module";
    case HandleKind::kPlayer: return "player";
    case HandleKind::kExternalDataSource: return "external data source";
    case HandleKind::kDownloadListener: return "download listener";
    case HandleKind::kReplayRoom: return "replay room";
    case HandleKind::kReplayDownloader: return "replay downloader";
    case HandleKind::kCameraRecordEngine: return "camera record engine";
    case HandleKind::kNativeVideoSource: return "native video source";
    case HandleKind::kThumbnailTool: return "thumbnail tool";
    case HandleKind::kAgent: return "agent";
    case HandleKind::kNone:
    case HandleKind::kCount: break;
  }
  return "handle";
}

}  // namespace lumen_addon
