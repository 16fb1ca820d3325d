// The live objects of one kind, by a number that is never reused (it names
// their firers). Removing an object waits for a ForEach in progress.
#ifndef LIVE_ENGINE_REPLAY_REGISTRY_H_
#define LIVE_ENGINE_REPLAY_REGISTRY_H_

#include <cstdint>
#include <map>
#include <mutex>

namespace room_replay {

template <typename T>
class Registry {
 public:
  int64_t Add(T* object) {
    std::lock_guard<std::mutex> lock(mu_);
    live_[next_id_] = object;
    return next_id_++;
  }
  void Remove(int64_t id) {
    std::lock_guard<std::mutex> lock(mu_);
    live_.erase(id);
  }
  // f(T&) for each, oldest first, with the registry locked.
  template <typename F>
  void ForEach(F&& f) {
    std::lock_guard<std::mutex> lock(mu_);
    for (auto& kv : live_) f(*kv.second);
  }

 private:
  std::mutex mu_;
  std::map<int64_t, T*> live_;
  int64_t next_id_ = 1;
};

// The process's registry of T, never destroyed: engine threads may outlive exit.
template <typename T>
Registry<T>& Live() {
  static auto* registry = new Registry<T>;
  return *registry;
}

}  // namespace room_replay

#endif  // LIVE_ENGINE_REPLAY_REGISTRY_H_
