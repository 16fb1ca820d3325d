// The add-on's own detached threads (background connect, automatic leave).
// They may hold the last share of an engine and so delete its root and its
// callback holders; the environment's teardown waits for them before the
// manager lets go of the live client and before Node-API references go.
#ifndef LUMEN_ENGINE_BACKGROUND_WORK_H_
#define LUMEN_ENGINE_BACKGROUND_WORK_H_

#include <functional>

namespace lumen_addon {

class BackgroundWork {
 public:
  // Counts the work at once, on the calling thread; `fn` and what it
  // captured are destroyed on the new thread before the count goes down.
  static void Start(std::function<void()> fn);
  // Blocks until no work started here is left. Teardown only: the work must
  // not wait for the JavaScript thread.
  static void WaitIdle();
};

}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_BACKGROUND_WORK_H_
