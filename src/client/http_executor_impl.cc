#include "client/http_executor_impl.h"

#include <atomic>

namespace lumen_addon {

namespace {
std::atomic<HttpExecutorImpl::Forward> g_forward{nullptr};
}  // namespace

void HttpExecutorImpl::SetForward(Forward forward) { g_forward.store(forward); }

void HttpExecutorImpl::Execute(std::shared_ptr<lumen::HttpRequest> request) {
  if (Forward forward = g_forward.load()) forward(std::move(request));
}

}  // namespace lumen_addon
