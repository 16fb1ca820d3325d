// Runs the engine's HTTP requests through JavaScript: engine threads queue
// them, the JavaScript thread is woken by the manager's own async handle,
// converts each request in queuing order and hands it to the live client's
// executeHttpRequest with an HttpRequestCallback that completes it.
#ifndef LUMEN_CLIENT_HTTP_EXECUTOR_MANAGER_H_
#define LUMEN_CLIENT_HTTP_EXECUTOR_MANAGER_H_

#include <napi.h>
#include <uv.h>

#include <cstdint>
#include <deque>
#include <memory>

#include "lumen/live_client.h"

namespace lumen_addon {

class AddonCallback;

// One request of the engine, owned by the queue, then by the
// HttpRequestCallback instance that completes it.
struct HttpEntry {
  lumen::HttpRequest request;
  std::shared_ptr<lumen::HttpCallback> callback;
  int value = 0;
  int64_t queued_ms = 0;  // wall clock, milliseconds
};

class HttpExecutorManager {
 public:
  // JavaScript thread (onAppInit): creates the manager unless it exists and
  // makes `live_client` the object whose executeHttpRequest runs requests.
  static void Ensure(napi_env env, napi_value live_client);
  // Environment teardown: closes the handle and drops queued requests
  // without calling JavaScript or the engine.
  static void Close();
  // JavaScript thread.
  static bool Exists();

  // Any thread. Without a manager the request is dropped and its callback let go.
  static void Enqueue(const lumen::HttpRequest& request, std::shared_ptr<lumen::HttpCallback> callback, int value);
  // Any thread, lock-free: requests wait in the queue.
  static bool HasPending();

  static int64_t NowMs();
  // "sdk/statistics/timeConsuming/httpRequest" with the step's name and time.
  static void ReportTime(const char* name, int64_t ms);

 private:
  explicit HttpExecutorManager(napi_env env);
  ~HttpExecutorManager();
  static void OnWake(uv_async_t* handle);
  std::unique_ptr<HttpEntry> Take();
  bool CanCallJs();
  void Run();
  void RunOne(std::unique_ptr<HttpEntry> entry);

  napi_env env_;
  uv_async_t* handle_ = nullptr;
  napi_ref env_ref_ = nullptr;
  napi_async_context async_context_ = nullptr;
  std::shared_ptr<AddonCallback> live_client_;
  std::deque<std::unique_ptr<HttpEntry>> queue_;  // under the manager mutex
};

}  // namespace lumen_addon

#endif  // LUMEN_CLIENT_HTTP_EXECUTOR_MANAGER_H_
