#include "callback/callback_queue.h"

#include <thread>
#include <utility>

#if defined(__x86_64__) || defined(_M_X64) || defined(__i386__) || defined(_M_IX86)
#include <immintrin.h>
#define LUMEN_CPU_PAUSE() _mm_pause()
#else
#define LUMEN_CPU_PAUSE() std::this_thread::yield()
#endif

namespace lumen_addon {

void CallbackQueue::PostLock::lock() {
  // A holder keeps it for a few dozen nanoseconds; a holder that was
  // preempted is waited for asleep.
  for (int spin = 0; spin < 64; ++spin) {
    if (mu_.try_lock()) return;
    LUMEN_CPU_PAUSE();
  }
  mu_.lock();
}

CallbackQueue::~CallbackQueue() { DrainClosing(); }

void CallbackQueue::Destroy(CallbackItem* item) {
  item->ReleaseData();
  delete item;
}

void CallbackQueue::Open(Wake wake, void* context) {
  std::lock_guard<PostLock> lock(mu_);
  wake_ = wake;
  wake_context_ = context;
  closing_.store(false, std::memory_order_release);
}

bool CallbackQueue::Post(CallbackItem* item) {
  {
    std::lock_guard<PostLock> lock(mu_);
    if (!closing_.load(std::memory_order_relaxed)) {
      if (IsPriorityType(item->Type())) {
        priority_.push_back(item);
        priority_size_.store(priority_.size(), std::memory_order_release);
      } else {
        normal_.push_back(item);
        if (int32_t id = item->RendererId()) ++per_renderer_[id];
      }
      // Woken under the lock so that a closing environment never sees a
      // wake-up of a handle it has already closed.
      if (wake_) wake_(wake_context_);
      return true;
    }
  }
  Destroy(item);
  return false;
}

void CallbackQueue::Nudge() {
  std::lock_guard<PostLock> lock(mu_);
  if (!closing_.load(std::memory_order_relaxed) && wake_) wake_(wake_context_);
}

CallbackItem* CallbackQueue::TakePriorityLocked() {
  if (priority_.empty()) return nullptr;
  CallbackItem* item = priority_.front();
  priority_.pop_front();
  priority_size_.store(priority_.size(), std::memory_order_release);
  return item;
}

CallbackItem* CallbackQueue::Take() {
  if (priority_size_.load(std::memory_order_acquire) > 0) {
    std::lock_guard<PostLock> lock(mu_);
    if (CallbackItem* item = TakePriorityLocked()) return item;
  }
  // Normal items leave the posting side in batches: engine threads meet the
  // taking side once per batch instead of once per item.
  std::lock_guard<std::mutex> take(take_mu_);
  if (taken_.empty()) {
    std::lock_guard<PostLock> lock(mu_);
    if (CallbackItem* item = TakePriorityLocked()) return item;
    taken_.swap(normal_);
    if (taken_.empty()) return nullptr;
  }
  CallbackItem* item = taken_.front();
  taken_.pop_front();
  if (item->RendererId() != 0) {
    std::lock_guard<PostLock> lock(mu_);
    CountOutLocked(item);
  }
  return item;
}

void CallbackQueue::PurgeType(int32_t type) {
  std::deque<CallbackItem*> gone;
  {
    std::lock_guard<std::mutex> take(take_mu_);
    std::lock_guard<PostLock> lock(mu_);
    for (std::deque<CallbackItem*>* q : {&taken_, &normal_}) {
      std::deque<CallbackItem*> kept;
      for (CallbackItem* item : *q) {
        if (item->Type() == type) {
          CountOutLocked(item);
          gone.push_back(item);
        } else {
          kept.push_back(item);
        }
      }
      q->swap(kept);
    }
  }
  // Destroyed outside the locks: a destructor may post (release items do).
  for (CallbackItem* item : gone) Destroy(item);
}

void CallbackQueue::DrainPriorityLocked(std::deque<CallbackItem*>& out) {
  for (CallbackItem* item : priority_) out.push_back(item);
  priority_.clear();
  priority_size_.store(0, std::memory_order_release);
}

void CallbackQueue::DrainClosing() {
  std::deque<CallbackItem*> gone;
  {
    std::lock_guard<std::mutex> take(take_mu_);
    std::lock_guard<PostLock> lock(mu_);
    closing_.store(true, std::memory_order_release);
    wake_ = nullptr;
    wake_context_ = nullptr;
    gone.swap(taken_);
    for (CallbackItem* item : normal_) gone.push_back(item);
    normal_.clear();
    per_renderer_.clear();
    DrainPriorityLocked(gone);
  }
  for (CallbackItem* item : gone) Destroy(item);
}

void CallbackQueue::DrainEngine() {
  std::deque<CallbackItem*> gone;
  {
    std::lock_guard<std::mutex> take(take_mu_);
    std::lock_guard<PostLock> lock(mu_);
    for (std::deque<CallbackItem*>* q : {&taken_, &normal_}) {
      std::deque<CallbackItem*> kept;
      for (CallbackItem* item : *q) (item->Type() == kItemLog ? kept : gone).push_back(item);
      q->swap(kept);
    }
    per_renderer_.clear();  // log items carry no renderer
    DrainPriorityLocked(gone);
  }
  for (CallbackItem* item : gone) Destroy(item);
}

void CallbackQueue::CountOutLocked(const CallbackItem* item) {
  int32_t id = item->RendererId();
  if (id == 0) return;
  auto it = per_renderer_.find(id);
  if (it != per_renderer_.end() && --it->second <= 0) per_renderer_.erase(it);
}

int CallbackQueue::CountRenderer(int32_t renderer_id) {
  std::lock_guard<PostLock> lock(mu_);
  auto it = per_renderer_.find(renderer_id);
  return it == per_renderer_.end() ? 0 : it->second;
}

size_t CallbackQueue::size() {
  std::lock_guard<std::mutex> take(take_mu_);
  std::lock_guard<PostLock> lock(mu_);
  return taken_.size() + normal_.size() + priority_.size();
}

}  // namespace lumen_addon
