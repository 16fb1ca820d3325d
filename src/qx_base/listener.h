// The JavaScript object a native QX object delivers its events to (a
// player's callback object, an agent's, a download listener, a room's
// listener, ...): held strongly while set, set and cleared on the JavaScript
// thread only. Work in flight shares the holder, never the native object, so
// an event that runs after its object was destroyed finds the holder cleared
// and is dropped.
#ifndef LUMEN_QX_BASE_LISTENER_H_
#define LUMEN_QX_BASE_LISTENER_H_

#include <napi.h>

#include <memory>
#include <thread>
#include <vector>

#include "common/to_js.h"

namespace lumen_addon {

class Listener {
 public:
  // Called on the JavaScript thread with the method's name when the
  // listener has no such method (undefined or null); none: skipped silently.
  using OnMissing = void (*)(const char* method);

  // JavaScript thread. `registered_by`: the export that registers listeners
  // here (a string literal), named in the error of a method that is not a
  // function.
  Listener(napi_env env, const char* registered_by, OnMissing on_missing = nullptr);
  // One set to `object` (anything but an object or a function: empty).
  static std::shared_ptr<Listener> Make(napi_env env, const char* registered_by, napi_value object);
  // Clears the reference when destroyed on the JavaScript thread; elsewhere
  // its owner must have cleared it.
  ~Listener();
  Listener(const Listener&) = delete;
  Listener& operator=(const Listener&) = delete;

  // JavaScript thread. Anything but an object or a function leaves it empty.
  void Set(napi_value object);
  void Clear();
  Napi::Object Get() const;
  bool IsSet() const { return ref_ != nullptr; }

  // JavaScript thread: calls `method` with `this` the object. No object set:
  // nothing. A method that is undefined or null: OnMissing. A property that
  // is no function raises a TypeError "<method> is not a function on the
  // listener registered by <export>". What the method throws stays pending
  // for the caller (a strand surfaces it as an 'uncaughtException').
  void Call(const char* method, const std::vector<napi_value>& args) const;
  // JavaScript thread: a listener that is itself a function, called with
  // `this` undefined (anything else: nothing).
  void Invoke(const std::vector<napi_value>& args) const;

 private:
  napi_env env_;
  const char* registered_by_;
  OnMissing on_missing_;
  std::thread::id js_thread_;
  napi_ref ref_ = nullptr;
};

// JavaScript thread: the listener's `method` with the arguments converted by
// ToJs<T> (method null: the listener itself, a function). Strand::Emit posts
// the same from any thread.
template <typename... A>
void Emit(Napi::Env env, const Listener& listener, const char* method, const A&... args) {
  if (!listener.IsSet()) return;
  if (method)
    listener.Call(method, ToJsArgs(env, args...));
  else
    listener.Invoke(ToJsArgs(env, args...));
}

}  // namespace lumen_addon

#endif  // LUMEN_QX_BASE_LISTENER_H_
