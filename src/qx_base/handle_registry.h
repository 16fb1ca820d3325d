// Native objects that JavaScript holds as numbers (device modules, players,
// agents, ...). A handle is an id from a process-wide counter, never an
// address and never issued twice: once its object is destroyed the number
// names nothing for the rest of the process, whatever the allocator does
// with the memory. Numbers are looked up by kind and id; a stale, forged or
// malformed number finds nothing and is never dereferenced.
// Node-free, so that it is tested natively under ThreadSanitizer.
#ifndef LUMEN_QX_BASE_HANDLE_REGISTRY_H_
#define LUMEN_QX_BASE_HANDLE_REGISTRY_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "common/handle_kind.h"

namespace lumen_addon {

// A JavaScript number as a handle: a positive integer up to 2^53, else 0.
uint64_t HandleFromNumber(double number);

class HandleRegistry {
 public:
  // Registers a live object and answers its new handle (0 for no object).
  // The registry shares its ownership until the object is removed.
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

  // Every live object, for the environment's teardown (newest first). An
  // object that refers to another holds a share of it, so the order in
  // which these are let go does not matter.
  static std::vector<std::pair<HandleKind, std::shared_ptr<void>>> TakeAll();

  static std::size_t Count(HandleKind kind);

 private:
  static std::shared_ptr<void> FindAny(HandleKind kind, uint64_t handle);
  static std::shared_ptr<void> RemoveAny(HandleKind kind, uint64_t handle);
};

}  // namespace lumen_addon

#endif  // LUMEN_QX_BASE_HANDLE_REGISTRY_H_
