// What an engine object was handed (a callback, an audio provider, a sink)
// stays allocated until that engine object is gone: the engine may be
// calling it on one of its threads when a setter or a remover returns.
// Replacing or unregistering retires the old object: its Retire() closes
// its strand and clears its listener at once, so nothing more reaches
// JavaScript, and the object itself waits here until the wrapper of the
// engine object clears the list after destroying it. Process-lived setters
// (the engine's services) retire into KeepAlive::ForProcess(), which is
// never cleared.
#ifndef LUMEN_QX_BASE_KEEP_ALIVE_H_
#define LUMEN_QX_BASE_KEEP_ALIVE_H_

#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace lumen_addon {

class KeepAlive {
 public:
  // JavaScript thread: `object->Retire()`, then kept. Null is ignored.
  template <typename T>
  void Retire(std::shared_ptr<T> object) {
    if (!object) return;
    object->Retire();
    std::lock_guard<std::mutex> lock(mu_);
    kept_.push_back(std::move(object));
  }
  // Kept as it is, for objects that stay in use elsewhere or have nothing
  // to silence (a sink other engine objects may be drawing into, a native
  // surface). Null is ignored.
  template <typename T>
  void Keep(std::shared_ptr<T> object) {
    if (!object) return;
    std::lock_guard<std::mutex> lock(mu_);
    kept_.push_back(std::move(object));
  }
  // Once the engine object that was handed them is destroyed.
  void Clear() {
    std::vector<std::shared_ptr<void>> gone;
    {
      std::lock_guard<std::mutex> lock(mu_);
      gone.swap(kept_);
    }
  }
  static KeepAlive& ForProcess() {
    static auto* process = new KeepAlive;  // never freed: the engine's services live as long
    return *process;
  }

 private:
  std::mutex mu_;
  std::vector<std::shared_ptr<void>> kept_;
};

}  // namespace lumen_addon

#endif  // LUMEN_QX_BASE_KEEP_ALIVE_H_
