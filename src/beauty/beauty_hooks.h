// Where beauty events reach the beauty manager. The manager keeps the beauty
// and AI-sticker state across engine lifetimes; until it installs its hooks
// the events only pass on to JavaScript. JavaScript thread only.
#ifndef LUMEN_BEAUTY_BEAUTY_HOOKS_H_
#define LUMEN_BEAUTY_BEAUTY_HOOKS_H_

#include <atomic>

#include "common/logging.h"

namespace lumen_addon {
namespace beauty {

struct Hooks {
  // ready: mark ready and apply the pending configuration; not ready: reset.
  void (*set_beauty_ready)(bool ready) = nullptr;
  void (*on_beauty_error)(int code) = nullptr;
  void (*on_ai_sticker_error)(int code) = nullptr;
};

namespace internal {
inline std::atomic<void (*)(bool)>& SetReadyHook() {
  static std::atomic<void (*)(bool)> hook{nullptr};
  return hook;
}
inline std::atomic<void (*)(int)>& BeautyErrorHook() {
  static std::atomic<void (*)(int)> hook{nullptr};
  return hook;
}
inline std::atomic<void (*)(int)>& AIStickerErrorHook() {
  static std::atomic<void (*)(int)> hook{nullptr};
  return hook;
}
}  // namespace internal

// Replaces every hook; a null member restores the no-op.
inline void InstallHooks(const Hooks& hooks) {
  internal::SetReadyHook().store(hooks.set_beauty_ready);
  internal::BeautyErrorHook().store(hooks.on_beauty_error);
  internal::AIStickerErrorHook().store(hooks.on_ai_sticker_error);
}

// The info line belongs to the manager's state change, so it is written here
// whether or not a manager is installed; hooks must not write it again.
inline void SetBeautyReady(bool ready) {
  if (auto hook = internal::SetReadyHook().load()) hook(ready);
  LUMEN_LOG_UNTAGGED(kInfo) << "BeautyManager::SetBeautyReady, SetBeautyReady ready:" << ready;
}

inline void OnBeautyError(int code) {
  if (auto hook = internal::BeautyErrorHook().load()) hook(code);
}

inline void OnAIStickerError(int code) {
  if (auto hook = internal::AIStickerErrorHook().load()) hook(code);
}

}  // namespace beauty
}  // namespace lumen_addon

#endif  // LUMEN_BEAUTY_BEAUTY_HOOKS_H_
