// The queue between engine threads and the JavaScript thread, free of any
// Node-API so that its logic can be tested natively: a priority queue for
// connection and room-entry items, a normal queue for everything else, and
// a closing state in which posts are dropped.
#ifndef LUMEN_CALLBACK_CALLBACK_QUEUE_H_
#define LUMEN_CALLBACK_CALLBACK_QUEUE_H_

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
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
//
// Items come from a pool of fixed-size blocks: an engine thread takes one
// from its own cache without a lock or a system call, and the JavaScript
// thread hands them back in batches (see ItemPool).
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
  // The object whose events this item delivers, when it has one: items of
  // one type may come from several objects that live and go apart.
  virtual const void* Holder() const { return nullptr; }

  static void* operator new(std::size_t size);
  static void operator delete(void* p, std::size_t size);

 private:
  friend class CallbackQueue;
  // Link while queued; owned by the queue.
  CallbackItem* queue_next_ = nullptr;
};

// Fixed-size blocks for items, recycled across threads. Each thread keeps
// a private cache; a thread with too many (the JavaScript thread, which
// frees what engine threads took) gives a batch back, and a thread whose
// cache is empty takes one. Blocks are carved from chunks and kept for
// reuse: a burst's memory serves the next burst instead of going back to
// the heap. Larger items come from the heap.
class ItemPool {
 public:
  static constexpr std::size_t kBlockSize = 64;
  static constexpr int kBatch = 128;

  static void* Allocate(std::size_t size);
  static void Free(void* p, std::size_t size);

  // Blocks given back and not yet taken again, process-wide.
  static std::size_t SharedBlocks();
};

// Lock-free for engine threads: a post is one compare-and-swap on a list
// head (two queues: connection and room-entry items, and the rest), plus a
// wake-up only when that list was empty. Frames also update their renderer's
// count under a small lock of their own. The taking side (the JavaScript
// thread, and the drains, which may run elsewhere) owns what it has taken
// under a lock no poster ever takes.
class CallbackQueue {
 public:
  // Called when a queue turns non-empty; it must not block (it only wakes
  // the JavaScript thread). Never called once closing.
  using Wake = void (*)(void* context);

  CallbackQueue() = default;
  CallbackQueue(const CallbackQueue&) = delete;
  CallbackQueue& operator=(const CallbackQueue&) = delete;
  ~CallbackQueue();

  // Opens the queue (again) with the wake-up of the current environment.
  void Open(Wake wake, void* context);

  // Microphone data queued at most: ten seconds of 10 ms chunks. A
  // JavaScript thread that stays blocked longer loses the newest chunks
  // instead of the process growing for as long as it is blocked; every
  // other item, state events included, is always queued.
  static constexpr int kMaxMicrophoneItems = 1000;

  // Any thread. Takes ownership; false when closing or when microphone data
  // is at its bound (the item is destroyed).
  bool Post(CallbackItem* item);

  // Priority items first; nullptr when both queues are empty.
  CallbackItem* Take();

  // Wakes the JavaScript thread without queueing anything (while open).
  void Nudge();

  // The taking side runs items: posts that find their list empty do not
  // wake it meanwhile (a wake-up is a system call on the posting thread).
  void BeginRun();
  // Ends the run; true when items were posted that no wake-up announces,
  // and the run goes on (BeginRun is in force again).
  bool EndRun();
  // Ends the run for good: items posted that no wake-up announces get one.
  void LeaveRun();

  // Releases and destroys the normal-queue items of `type`.
  void PurgeType(int32_t type);
  // The same for the items of `type` that `holder` produced; those of other
  // holders keep their places.
  void PurgeHolder(int32_t type, const void* holder);

  // Teardown: closes, then releases and destroys every item; answers how many.
  size_t DrainClosing();
  // Engine tear-down: every item but the log items (type 104), which keep their order.
  void DrainEngine();

  // Normal-queue items whose renderer id is `renderer_id`.
  int CountRenderer(int32_t renderer_id);

  bool closing() const { return closing_.load(std::memory_order_acquire); }
  size_t size();
  // Whether anything is queued; cheap when nothing is.
  bool Pending();

 private:
  // A list of items linked through queue_next_, oldest first.
  struct Chain {
    CallbackItem* head = nullptr;
    CallbackItem* tail = nullptr;
    size_t size = 0;
    void Append(CallbackItem* item);
    void Splice(Chain& other);
    CallbackItem* PopFront();
  };

  // A list head posters push onto, newest first; Closed() while closing.
  using Inbox = std::atomic<CallbackItem*>;
  static CallbackItem* Closed();

  static void Destroy(CallbackItem* item);
  static size_t DestroyAll(Chain& chain);
  bool Push(Inbox& inbox, CallbackItem* item);
  void CallWake();
  // Moves an inbox's items to the end of `into`, oldest first (take_mu_ held).
  static void Collect(Inbox& inbox, Chain& into, bool close);
  void CollectAllLocked(bool close);
  void CountOut(const CallbackItem* item);
  void CountOutLocked(const CallbackItem* item);
  // Releases and destroys the normal-queue items that `pick` picks out (and
  // every priority item with `priority_too`).
  template <typename Pick>
  void Purge(Pick pick, bool priority_too = false);
  // An item leaves the queue: taken, or destroyed by a drain.
  void Left(const CallbackItem* item);

  // Written by posters; each on a line of its own so that priority posts,
  // which are rare, leave the JavaScript thread's look at them cached.
  alignas(64) Inbox normal_in_{Closed()};
  alignas(64) Inbox priority_in_{Closed()};
  // Written by the taking side at the start and end of a run only.
  alignas(64) std::atomic<bool> taking_{false};

  // The taking side. Lock order: take_mu_, then count_mu_; wake_mu_ alone.
  alignas(64) std::mutex take_mu_;
  Chain normal_;
  Chain priority_;
  std::atomic<bool> closing_{true};  // closed until an environment opens it

  // Normal-queue items per renderer id, counted from before an item is
  // pushed until it is taken or destroyed, so that a frame's look-up does
  // not scan the queue. Only items with a renderer id take this lock.
  std::mutex count_mu_;
  std::unordered_map<int32_t, int> per_renderer_;
  std::atomic<int> microphone_items_{0};

  // Taken only to wake: by a post that found its queue empty, by Nudge, and
  // while opening and closing, so that no wake-up reaches a closed handle.
  std::mutex wake_mu_;
  Wake wake_ = nullptr;
  void* wake_context_ = nullptr;
};

}  // namespace lumen_addon

#endif  // LUMEN_CALLBACK_CALLBACK_QUEUE_H_
