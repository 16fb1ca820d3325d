// The queue between engine threads and the JavaScript thread, free of any
// Node-API so that its logic can be tested natively: a priority queue for
// connection and room-entry items, a normal queue for everything else, and
// a closing flag after which posts are dropped.
#ifndef LUMEN_CALLBACK_CALLBACK_QUEUE_H_
#define LUMEN_CALLBACK_CALLBACK_QUEUE_H_

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <unordered_map>

namespace lumen_addon {

enum ItemType : int32_t {
  kItemDefault = 0,
  kItemMicrophoneData = 101,
  kItemHandAction = 102,
  kItemCollectLiveData = 103,
  kItemLog = 104,
  kItemScreenRecord = 105,
  kItemExportStatus = 106,
  kItemCameraRecord = 107,
  kItemMediaConnection = 108,
  kItemCommandConnection = 109,
  kItemEnterRoom = 110,
  kItemCameraRecordState = 111,
  kItemLocalVad = 112,
};

inline bool IsPriorityType(int32_t type) {
  return type == kItemMediaConnection || type == kItemCommandConnection || type == kItemEnterRoom;
}

using IdentityKey = std::array<uint8_t, 16>;

// One queued event. Run happens on the JavaScript thread only.
class CallbackItem {
 public:
  virtual ~CallbackItem() = default;
  // False when the item has nowhere to deliver to; it is then skipped.
  virtual bool Runnable() const { return true; }
  virtual void Run() = 0;
  virtual void ReleaseData() {}
  virtual int32_t Type() const { return kItemDefault; }
  virtual IdentityKey Identity() const { return IdentityKey{}; }
  virtual int32_t RendererId() const { return 0; }
};

class CallbackQueue {
 public:
  // Called under the queue mutex each time an item was queued; it must not
  // block (it only wakes the JavaScript thread).
  using Wake = void (*)(void* context);

  CallbackQueue() = default;
  CallbackQueue(const CallbackQueue&) = delete;
  CallbackQueue& operator=(const CallbackQueue&) = delete;
  ~CallbackQueue();

  // Opens the queue (again) with the wake-up of the current environment.
  void Open(Wake wake, void* context);

  // Any thread. Takes ownership; false when closing (the item is destroyed).
  bool Post(CallbackItem* item);

  // Priority items first; nullptr when both queues are empty.
  CallbackItem* Take();

  // Wakes the JavaScript thread without queueing anything (while open).
  void Nudge();

  // Releases and destroys the normal-queue items of `type`.
  void PurgeType(int32_t type);

  // Teardown: closes, then releases and destroys every item.
  void DrainClosing();
  // Engine tear-down: every item but the log items (type 104), which keep their order.
  void DrainEngine();

  // Normal-queue items whose renderer id is `renderer_id`.
  int CountRenderer(int32_t renderer_id);

  bool closing() const { return closing_.load(std::memory_order_acquire); }
  size_t size();

 private:
  // Engine threads hold it only to link an item in: a waiter spins briefly
  // before it sleeps, since sleeping and waking cost far more than the wait.
  class PostLock {
   public:
    void lock();
    void unlock() { mu_.unlock(); }

   private:
    std::mutex mu_;
  };

  static void Destroy(CallbackItem* item);
  void DrainPriorityLocked(std::deque<CallbackItem*>& out);
  void CountOutLocked(const CallbackItem* item);
  CallbackItem* TakePriorityLocked();

  // Lock order: take_mu_, then mu_.
  // The taking side: `taken_` holds normal items moved out of `normal_` in
  // one go, all older than any item in `normal_`; they count as queued.
  std::mutex take_mu_;
  std::deque<CallbackItem*> taken_;

  PostLock mu_;
  std::deque<CallbackItem*> normal_;
  std::deque<CallbackItem*> priority_;
  // Read without the lock, so that taking needs no lock while there is none.
  std::atomic<size_t> priority_size_{0};
  // Normal-queue items per renderer id (those in `taken_` included), so that
  // a frame's look-up does not scan the queue.
  std::unordered_map<int32_t, int> per_renderer_;
  std::atomic<bool> closing_{true};  // closed until an environment opens it; written under mu_
  Wake wake_ = nullptr;
  void* wake_context_ = nullptr;
};

}  // namespace lumen_addon

#endif  // LUMEN_CALLBACK_CALLBACK_QUEUE_H_
