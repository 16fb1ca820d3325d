#include "client/http_executor_impl.h"

#include <atomic>

namespace lumen_addon {

namespace {
std::atomic<HttpExecutorImpl::Forward> g_forward{nullptr};
}  // namespace

void HttpExecutorImpl::SetForward(Forward forward) { g_forward.store(forward); }

void HttpExecutorImpl::Execute(const lumen::HttpRequest& request, std::shared_ptr<lumen::HttpCallback> callback,
                               int value) {
  if (Forward forward = g_forward.load()) forward(request, std::move(callback), value);
}

}  // namespace lumen_addon
