// The engine's HTTP executor: hands each request to the HTTP executor
// manager while one is installed, and drops it otherwise.
#ifndef LUMEN_CLIENT_HTTP_EXECUTOR_IMPL_H_
#define LUMEN_CLIENT_HTTP_EXECUTOR_IMPL_H_

#include <memory>

#include "lumen/live_client.h"

namespace lumen_addon {

class HttpExecutorImpl : public lumen::HttpExecutor {
 public:
  using Forward = void (*)(const lumen::HttpRequest& request, std::shared_ptr<lumen::HttpCallback> callback,
                           int value);
  // Installed by the HTTP executor manager while it exists.
  static void SetForward(Forward forward);
  void Execute(const lumen::HttpRequest& request, std::shared_ptr<lumen::HttpCallback> callback,
               int value) override;
};

}  // namespace lumen_addon

#endif  // LUMEN_CLIENT_HTTP_EXECUTOR_IMPL_H_
