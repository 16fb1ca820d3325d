#include "engine/engine_root.h"

#include <atomic>

#include "engine/device_engine_impl.h"

namespace lumen_addon {

namespace {
std::atomic<int> g_alive{0};
}  // namespace

EngineRoot::EngineRoot() : root_(tavel::LiveEngine::Create()) {
  if (root_) ++g_alive;
}

EngineRoot::~EngineRoot() {
  if (root_) {
    if (device_) device_->UnregisterCallbacks();
    tavel::LiveEngine::Delete(root_);
    --g_alive;
  }
  device_.reset();
  std::vector<std::function<void()>> after;
  {
    std::lock_guard<std::mutex> lock(mu_);
    after.swap(after_);
  }
  for (auto& f : after) {
    f();
    f = nullptr;
  }
}

void EngineRoot::AtDeletion(std::function<void()> after) {
  std::lock_guard<std::mutex> lock(mu_);
  after_.push_back(std::move(after));
}

int EngineRoot::Alive() { return g_alive.load(); }

}  // namespace lumen_addon
