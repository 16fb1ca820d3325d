// The JavaScript class HttpRequestCallback: each instance owns at most one
// engine request and completes it once, through onSuccess or onFailed.
#ifndef LUMEN_CLIENT_HTTP_REQUEST_CALLBACK_H_
#define LUMEN_CLIENT_HTTP_REQUEST_CALLBACK_H_

#include <napi.h>

#include <memory>

#include "client/http_executor_manager.h"

namespace lumen_addon {

class HttpRequestCallback : public Napi::ObjectWrap<HttpRequestCallback> {
 public:
  // Defines the class as the exports' "HttpRequestCallback" and keeps its
  // constructor for the manager.
  static void Register(napi_env env, napi_value exports);
  // Environment teardown.
  static void ReleaseConstructor();
  // A new instance owning `entry`; empty (after an error line) without the
  // constructor, and the entry is then let go uncompleted.
  static Napi::Value NewInstance(Napi::Env env, std::unique_ptr<HttpEntry> entry);

  explicit HttpRequestCallback(const Napi::CallbackInfo& info);
  // An instance collected while it still owns its request completes it as
  // failed, so that the engine does not wait for ever; after the
  // environment's teardown the request is only let go.
  ~HttpRequestCallback() override;

  static constexpr char kDropped[] = "HttpRequestCallback was collected without an answer";

 private:
  Napi::Value OnSuccess(const Napi::CallbackInfo& info);
  Napi::Value OnFailed(const Napi::CallbackInfo& info);

  std::unique_ptr<HttpEntry> entry_;
};

}  // namespace lumen_addon

#endif  // LUMEN_CLIENT_HTTP_REQUEST_CALLBACK_H_
