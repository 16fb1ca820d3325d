#include "callback/callback_queue.h"

#include <utility>

namespace lumen {

CallbackQueue::~CallbackQueue() { DrainClosing(); }

void CallbackQueue::Destroy(CallbackItem* item) {
  item->ReleaseData();
  delete item;
}

void CallbackQueue::Open(Wake wake, void* context) {
  std::lock_guard<std::mutex> lock(mu_);
  wake_ = wake;
  wake_context_ = context;
  closing_ = false;
}

bool CallbackQueue::Post(CallbackItem* item) {
  {
    std::lock_guard<std::mutex> lock(mu_);
    if (!closing_) {
      if (IsPriorityType(item->Type())) {
        priority_.push_back(item);
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
  std::lock_guard<std::mutex> lock(mu_);
  if (!closing_ && wake_) wake_(wake_context_);
}

CallbackItem* CallbackQueue::Take() {
  std::lock_guard<std::mutex> lock(mu_);
  std::deque<CallbackItem*>& q = !priority_.empty() ? priority_ : normal_;
  if (q.empty()) return nullptr;
  CallbackItem* item = q.front();
  q.pop_front();
  if (&q == &normal_) CountOutLocked(item);
  return item;
}

void CallbackQueue::PurgeType(int32_t type) {
  std::deque<CallbackItem*> gone;
  {
    std::lock_guard<std::mutex> lock(mu_);
    std::deque<CallbackItem*> kept;
    for (CallbackItem* item : normal_) {
      if (item->Type() == type) {
        CountOutLocked(item);
        gone.push_back(item);
      } else {
        kept.push_back(item);
      }
    }
    normal_.swap(kept);
  }
  // Destroyed outside the lock: a destructor may post (release items do).
  for (CallbackItem* item : gone) Destroy(item);
}

void CallbackQueue::DrainPriorityLocked(std::deque<CallbackItem*>& out) {
  for (CallbackItem* item : priority_) out.push_back(item);
  priority_.clear();
}

void CallbackQueue::DrainClosing() {
  std::deque<CallbackItem*> gone;
  {
    std::lock_guard<std::mutex> lock(mu_);
    closing_ = true;
    wake_ = nullptr;
    wake_context_ = nullptr;
    gone.swap(normal_);
    per_renderer_.clear();
    DrainPriorityLocked(gone);
  }
  for (CallbackItem* item : gone) Destroy(item);
}

void CallbackQueue::DrainEngine() {
  std::deque<CallbackItem*> gone;
  {
    std::lock_guard<std::mutex> lock(mu_);
    std::deque<CallbackItem*> kept;
    for (CallbackItem* item : normal_) (item->Type() == kItemLog ? kept : gone).push_back(item);
    normal_.swap(kept);
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
  std::lock_guard<std::mutex> lock(mu_);
  auto it = per_renderer_.find(renderer_id);
  return it == per_renderer_.end() ? 0 : it->second;
}

bool CallbackQueue::closing() {
  std::lock_guard<std::mutex> lock(mu_);
  return closing_;
}

size_t CallbackQueue::size() {
  std::lock_guard<std::mutex> lock(mu_);
  return normal_.size() + priority_.size();
}

}  // namespace lumen
