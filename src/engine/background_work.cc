#include "engine/background_work.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace lumen_addon {

namespace {

struct Count {
  std::mutex mu;
  std::condition_variable idle;
  int running = 0;
};

Count& C() {
  static Count* c = new Count;  // threads may outlive static destruction
  return *c;
}

}  // namespace

void BackgroundWork::Start(std::function<void()> fn) {
  {
    std::lock_guard<std::mutex> lock(C().mu);
    ++C().running;
  }
  std::thread([fn = std::move(fn)]() mutable {
    fn();
    fn = nullptr;
    std::lock_guard<std::mutex> lock(C().mu);
    if (--C().running == 0) C().idle.notify_all();
  }).detach();
}

void BackgroundWork::WaitIdle() {
  std::unique_lock<std::mutex> lock(C().mu);
  C().idle.wait(lock, [] { return C().running == 0; });
}

}  // namespace lumen_addon
