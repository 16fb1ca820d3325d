// The JavaScript object a player's events are delivered to. Shared between
// the player and the events in flight, which may outlive the player; touched
// only on the JavaScript thread, and freed anywhere without calling Node.
#ifndef LUMEN_QXPLAYER_QXPLAYERCALLBACKTARGET_H_
#define LUMEN_QXPLAYER_QXPLAYERCALLBACKTARGET_H_

#include <napi.h>

namespace lumen_addon {

class QXPlayerCallbackTarget {
 public:
  explicit QXPlayerCallbackTarget(napi_env env) : env_(env) {}
  QXPlayerCallbackTarget(const QXPlayerCallbackTarget&) = delete;
  QXPlayerCallbackTarget& operator=(const QXPlayerCallbackTarget&) = delete;

  // JavaScript thread. A strong reference: the object lives while it is set.
  void Set(napi_value object);
  void Clear();
  // JavaScript thread: the object, or an empty value when none is set.
  Napi::Object Get() const;

  // JavaScript thread: calls `method` of the object with `this` the object.
  // No object, or a property that is undefined or null, skips the event; a
  // failure or a throw is left pending for the caller.
  void Call(const char* method, size_t argc, const napi_value* argv) const;

 private:
  napi_env env_;
  napi_ref ref_ = nullptr;
};

}  // namespace lumen_addon

#endif  // LUMEN_QXPLAYER_QXPLAYERCALLBACKTARGET_H_
