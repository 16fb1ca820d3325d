// Native objects that JavaScript holds as numbers (device modules, players,
// agents, ...). JavaScript gets the object's address, as the engine's users
// expect, but the add-on never turns a number back into a pointer: it looks
// the number up among the live objects of the export's kind. A stale, forged
// or malformed number finds nothing, and the export gives its neutral answer.
// Node-free, so that it is tested natively under ThreadSanitizer.
#ifndef LUMEN_COMMON_HANDLE_REGISTRY_H_
#define LUMEN_COMMON_HANDLE_REGISTRY_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace lumen_addon {

enum class HandleKind : uint8_t {
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

const char* HandleKindName(HandleKind kind);

// A JavaScript number as a handle: a positive integer up to 2^53, else 0.
uint64_t HandleFromNumber(double number);

class HandleRegistry {
 public:
  // Registers a live object and answers its handle (its address). The
  // registry shares its ownership until it is removed.
  static uint64_t Add(HandleKind kind, std::shared_ptr<void> object);

  // The live object of that kind, shared for the caller's use; null for 0,
  // a removed object, or a number that never was one of that kind.
  template <typename T>
  static std::shared_ptr<T> Find(HandleKind kind, uint64_t handle) {
    return std::static_pointer_cast<T>(FindAny(kind, handle));
  }

  // Takes the object out (its destroy export); null when it was not live.
  // Whoever gets it destroys it; calls in flight keep it until they return.
  template <typename T>
  static std::shared_ptr<T> Remove(HandleKind kind, uint64_t handle) {
    return std::static_pointer_cast<T>(RemoveAny(kind, handle));
  }

  // Every live object, newest first, for the environment's teardown.
  static std::vector<std::pair<HandleKind, std::shared_ptr<void>>> TakeAll();

  static std::size_t Count(HandleKind kind);

 private:
  static std::shared_ptr<void> FindAny(HandleKind kind, uint64_t handle);
  static std::shared_ptr<void> RemoveAny(HandleKind kind, uint64_t handle);
};

}  // namespace lumen_addon

#endif  // LUMEN_COMMON_HANDLE_REGISTRY_H_
