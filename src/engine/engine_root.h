// An engine root of the engine library, deleted with its last share.
//
// A wrapper holds one share and gives it up when it is shut down; an engine
// call that can take network time (a connect) runs without any lock of the
// add-on on a share of its own, so that a leave meanwhile neither waits for
// it nor deletes the root under it: the root then goes on the thread of that
// call once it returned. What the engine may call until the root is deleted
// (callback holders, sinks) is handed to the root and released after it.
#ifndef LUMEN_ENGINE_ENGINE_ROOT_H_
#define LUMEN_ENGINE_ENGINE_ROOT_H_

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "tavel/live_engine.h"

namespace lumen_addon {

class DeviceEngineImpl;

class EngineRoot {
 public:
  EngineRoot();
  EngineRoot(const EngineRoot&) = delete;
  EngineRoot& operator=(const EngineRoot&) = delete;
  // Unregisters the device callbacks, deletes the root, then runs what was
  // handed over with AtDeletion, in order.
  ~EngineRoot();

  tavel::LiveEngine* get() const { return root_; }
  void set_device(std::shared_ptr<DeviceEngineImpl> device) { device_ = std::move(device); }
  // Any thread.
  void AtDeletion(std::function<void()> after);

  // Roots made and not yet deleted, process-wide.
  static int Alive();

 private:
  tavel::LiveEngine* root_;
  std::shared_ptr<DeviceEngineImpl> device_;
  std::mutex mu_;
  std::vector<std::function<void()>> after_;
};

}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_ENGINE_ROOT_H_
