// The one way the QX groups call JavaScript functions from engine threads:
// a Node-API thread-safe function per JavaScript function, with work items
// that run on the JavaScript thread.
#ifndef LUMEN_CALLBACK_THREADSAFE_FUNCTION_H_
#define LUMEN_CALLBACK_THREADSAFE_FUNCTION_H_

#include <napi.h>

#include <functional>
#include <memory>

namespace lumen_addon {

class JsFunctionBridge {
 public:
  // Runs on the JavaScript thread with the function; env is live.
  using Work = std::function<void(Napi::Env env, Napi::Function fn)>;

  // No async resource, unbounded queue, one initial thread.
  static std::unique_ptr<JsFunctionBridge> Create(napi_env env, napi_value fn, const char* resource_name);
  ~JsFunctionBridge();

  // Any thread. False when the function is closing (the work is dropped).
  bool Call(Work work, bool blocking = true);
  // Releases the function (abort: queued work is dropped, later calls fail).
  void Release(bool abort = false);

 private:
  explicit JsFunctionBridge(napi_threadsafe_function tsfn) : tsfn_(tsfn) {}
  napi_threadsafe_function tsfn_;
  bool released_ = false;
};

}  // namespace lumen_addon

#endif  // LUMEN_CALLBACK_THREADSAFE_FUNCTION_H_
