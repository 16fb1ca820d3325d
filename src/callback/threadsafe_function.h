// The one way the QX groups call JavaScript from engine threads: a Node-API
// thread-safe function per JavaScript function, with work items that run on
// the JavaScript thread. Safe to call from any thread at any time: after
// Release, after Node finalised the function, or after the environment's
// teardown, a call drops its work and answers false.
#ifndef LUMEN_CALLBACK_THREADSAFE_FUNCTION_H_
#define LUMEN_CALLBACK_THREADSAFE_FUNCTION_H_

#include <napi.h>

#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace lumen_addon {

class JsFunctionBridge {
 public:
  // Runs on the JavaScript thread with the function; env is live. The work
  // owns copies of everything it delivers.
  using Work = std::function<void(Napi::Env env, Napi::Function fn)>;

  // No async resource, unbounded queue, one initial thread, and unref'd: a
  // bridge never keeps the process alive. `fn` may be undefined (work that
  // calls methods of objects it holds references to). Null after a failure,
  // which is raised as a JavaScript exception.
  static std::shared_ptr<JsFunctionBridge> Create(napi_env env, napi_value fn, const char* resource_name);
  ~JsFunctionBridge();

  JsFunctionBridge(const JsFunctionBridge&) = delete;
  JsFunctionBridge& operator=(const JsFunctionBridge&) = delete;

  // Any thread. The queue is unbounded, so `blocking` never waits; it is the
  // mode the engine's contract names. False when the work was dropped.
  bool Call(Work work, bool blocking = true);
  // Any thread, idempotent. Release the function only once the engine object
  // that calls it can no longer do so; abort also drops queued work.
  void Release(bool abort = false);
  bool released() const;

  struct State;

 private:
  explicit JsFunctionBridge(std::shared_ptr<State> state) : state_(std::move(state)) {}
  std::shared_ptr<State> state_;
};

}  // namespace lumen_addon

#endif  // LUMEN_CALLBACK_THREADSAFE_FUNCTION_H_
