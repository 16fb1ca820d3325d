// The kinds of native objects JavaScript holds as numbers. Export rows name
// the kind each handle argument carries; the registry (src/qx_base) keeps
// the live objects of each kind.
#ifndef LUMEN_COMMON_HANDLE_KIND_H_
#define LUMEN_COMMON_HANDLE_KIND_H_

#include <cstdint>

namespace lumen_addon {

enum class HandleKind : uint8_t {
  kNone,  // not a handle argument
  kDeviceModule,
  kPlayer,
  kExternalDataSource,
  kDownloadListener,
  kReplayRoom,
  kReplayDownloader,
  kCameraRecordEngine,
  kNativeVideoSource,
  kThumbnailTool,
  kAgent,
  kCount,
};

// "player", "device module", ...; "handle" for kNone.
const char* HandleKindName(HandleKind kind);

}  // namespace lumen_addon

#endif  // LUMEN_COMMON_HANDLE_KIND_H_
