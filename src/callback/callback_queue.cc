#include "callback/callback_queue.h"

#if defined(__linux__)
#include <sys/mman.h>
#endif

#include <new>
#include <utility>
#include <vector>

// Under AddressSanitizer every item comes from the heap, so that a use after
// free of an item is still caught.
#if defined(__SANITIZE_ADDRESS__)
#define LUMEN_ITEM_POOL 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LUMEN_ITEM_POOL 0
#endif
#endif
#ifndef LUMEN_ITEM_POOL
#define LUMEN_ITEM_POOL 1
#endif

namespace lumen_addon {

// ---- item pool ----------------------------------------------------------------------

namespace {

struct Block {
  Block* next;
};

// Blocks are carved from chunks of this many: a burst grows the heap a
// chunk at a time instead of an item at a time.
constexpr std::size_t kChunkBlocks = 4096;

struct Carver {
  char* next = nullptr;
  std::size_t left = 0;
};
thread_local Carver tl_carver;

// Mapped with its pages already present where the system allows it: a
// burst of posts then faults in no page one at a time.
char* NewChunk() {
  constexpr std::size_t kBytes = kChunkBlocks * ItemPool::kBlockSize;
#if defined(__linux__)
  void* p = mmap(nullptr, kBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
  if (p != MAP_FAILED) return static_cast<char*>(p);
#endif
  return static_cast<char*>(::operator new(kBytes));
}

void* NewBlock() {
  Carver& c = tl_carver;
  if (!c.left) {
    c.next = NewChunk();
    c.left = kChunkBlocks;
  }
  void* p = c.next;
  c.next += ItemPool::kBlockSize;
  --c.left;
  return p;
}

// Returned batches of blocks, each a chain through Block::next.
struct SharedBatches {
  std::mutex mu;
  std::vector<std::pair<Block*, int>> batches;
  std::size_t blocks = 0;
};

SharedBatches& Shared() {
  static auto* shared = new SharedBatches;  // engine threads may outlive static destruction
  return *shared;
}

void GiveBack(Block* chain, int count) {
  if (!chain) return;
  SharedBatches& s = Shared();
  std::lock_guard<std::mutex> lock(s.mu);
  s.batches.emplace_back(chain, count);
  s.blocks += static_cast<std::size_t>(count);
}

struct LocalCache {
  Block* free = nullptr;
  int count = 0;
  ~LocalCache();
};

thread_local LocalCache tl_cache;
// Set once the thread's cache is destroyed: blocks freed later in the
// thread's exit are given back one by one.
thread_local bool tl_cache_gone = false;

LocalCache::~LocalCache() {
  tl_cache_gone = true;
  GiveBack(free, count);
  free = nullptr;
  count = 0;
}

void* Allocate() {
  if (tl_cache_gone) return NewBlock();
  LocalCache& c = tl_cache;
  if (!c.free) {
    // Never waits: a thread giving a batch back holds the lock for a
    // pointer's push, and a poster that finds it busy carves a new block.
    SharedBatches& s = Shared();
    std::unique_lock<std::mutex> lock(s.mu, std::try_to_lock);
    if (lock.owns_lock() && !s.batches.empty()) {
      c.free = s.batches.back().first;
      c.count = s.batches.back().second;
      s.blocks -= static_cast<std::size_t>(c.count);
      s.batches.pop_back();
    }
  }
  if (Block* b = c.free) {
    c.free = b->next;
    --c.count;
    return b;
  }
  return NewBlock();
}

void Free(void* p) {
  auto* b = static_cast<Block*>(p);
  b->next = nullptr;
  if (tl_cache_gone) return GiveBack(b, 1);
  LocalCache& c = tl_cache;
  b->next = c.free;
  c.free = b;
  if (++c.count < 2 * ItemPool::kBatch) return;
  // Keeps one batch for this thread's own posts; gives the other back.
  Block* batch = c.free;
  Block* last = batch;
  for (int i = 1; i < ItemPool::kBatch; ++i) last = last->next;
  c.free = last->next;
  last->next = nullptr;
  c.count -= ItemPool::kBatch;
  GiveBack(batch, ItemPool::kBatch);
}

}  // namespace

void* ItemPool::Allocate(std::size_t size) {
  if (!LUMEN_ITEM_POOL || size > kBlockSize) return ::operator new(size);
  return lumen_addon::Allocate();
}

void ItemPool::Free(void* p, std::size_t size) {
  if (!p) return;
  if (!LUMEN_ITEM_POOL || size > kBlockSize) return ::operator delete(p);
  lumen_addon::Free(p);
}

std::size_t ItemPool::SharedBlocks() {
  std::lock_guard<std::mutex> lock(Shared().mu);
  return Shared().blocks;
}

void* CallbackItem::operator new(std::size_t size) { return ItemPool::Allocate(size); }
void CallbackItem::operator delete(void* p, std::size_t size) { ItemPool::Free(p, size); }

// ---- chains --------------------------------------------------------------------------

void CallbackQueue::Chain::Append(CallbackItem* item) {
  item->queue_next_ = nullptr;
  if (tail) tail->queue_next_ = item;
  else head = item;
  tail = item;
  ++size;
}

void CallbackQueue::Chain::Splice(Chain& other) {
  if (!other.head) return;
  if (tail) tail->queue_next_ = other.head;
  else head = other.head;
  tail = other.tail;
  size += other.size;
  other = Chain{};
}

CallbackItem* CallbackQueue::Chain::PopFront() {
  CallbackItem* item = head;
  if (!item) return nullptr;
  head = item->queue_next_;
  if (!head) tail = nullptr;
  item->queue_next_ = nullptr;
  --size;
  return item;
}

// ---- queue ---------------------------------------------------------------------------

CallbackItem* CallbackQueue::Closed() {
  static char sentinel;
  return reinterpret_cast<CallbackItem*>(&sentinel);
}

CallbackQueue::~CallbackQueue() { DrainClosing(); }

void CallbackQueue::Destroy(CallbackItem* item) {
  item->ReleaseData();
  delete item;
}

// Destroyed outside the locks: a destructor may post (release items do).
size_t CallbackQueue::DestroyAll(Chain& chain) {
  size_t n = 0;
  for (; CallbackItem* item = chain.PopFront(); ++n) Destroy(item);
  return n;
}

void CallbackQueue::Open(Wake wake, void* context) {
  {
    std::lock_guard<std::mutex> lock(wake_mu_);
    wake_ = wake;
    wake_context_ = context;
  }
  std::lock_guard<std::mutex> take(take_mu_);
  for (Inbox* in : {&normal_in_, &priority_in_}) {
    CallbackItem* expected = Closed();
    in->compare_exchange_strong(expected, nullptr, std::memory_order_acq_rel);
  }
  closing_.store(false, std::memory_order_release);
}

void CallbackQueue::CallWake() {
  std::lock_guard<std::mutex> lock(wake_mu_);
  if (wake_) wake_(wake_context_);
}

bool CallbackQueue::Push(Inbox& inbox, CallbackItem* item) {
  CallbackItem* head = inbox.load(std::memory_order_relaxed);
  do {
    if (head == Closed()) return false;
    item->queue_next_ = head;
  } while (!inbox.compare_exchange_weak(head, item, std::memory_order_seq_cst, std::memory_order_relaxed));
  // Only the post that found the list empty wakes: the taking side empties
  // a list only by taking all of it, and runs again after this wake-up, or
  // sees the item when it ends a run that is going on (EndRun).
  if (!head && !taking_.load(std::memory_order_seq_cst)) CallWake();
  return true;
}

void CallbackQueue::BeginRun() { taking_.store(true, std::memory_order_seq_cst); }

bool CallbackQueue::EndRun() {
  taking_.store(false, std::memory_order_seq_cst);
  // Either a post saw the run ended and woke, or its item is seen here.
  for (Inbox* in : {&priority_in_, &normal_in_}) {
    CallbackItem* head = in->load(std::memory_order_seq_cst);
    if (head && head != Closed()) {
      taking_.store(true, std::memory_order_seq_cst);
      return true;
    }
  }
  return false;
}

bool CallbackQueue::Post(CallbackItem* item) {
  if (IsPriorityType(item->Type())) {
    if (Push(priority_in_, item)) return true;
  } else {
    // Counted before it can be taken, so that taking never counts out first.
    const bool microphone = item->Type() == kItemMicrophoneData;
    if (microphone && microphone_items_.fetch_add(1, std::memory_order_relaxed) >= kMaxMicrophoneItems) {
      microphone_items_.fetch_sub(1, std::memory_order_relaxed);
      Destroy(item);
      return false;
    }
    const int32_t id = item->RendererId();
    if (id) {
      std::lock_guard<std::mutex> lock(count_mu_);
      ++per_renderer_[id];
    }
    if (Push(normal_in_, item)) return true;
    if (id) CountOut(item);
    if (microphone) microphone_items_.fetch_sub(1, std::memory_order_relaxed);
  }
  Destroy(item);
  return false;
}

void CallbackQueue::LeaveRun() {
  if (EndRun()) {
    taking_.store(false, std::memory_order_seq_cst);
    CallWake();
  }
}

void CallbackQueue::Nudge() {
  if (!closing()) CallWake();
}

void CallbackQueue::Collect(Inbox& inbox, Chain& into, bool close) {
  // Under take_mu_ only posters change the list: it stays closed if it is.
  CallbackItem* seen = inbox.load(std::memory_order_relaxed);
  if (seen == Closed() || (!close && !seen)) return;
  CallbackItem* newest = inbox.exchange(close ? Closed() : nullptr, std::memory_order_acq_rel);
  // Newest first: reversed onto a chain of its own, then appended.
  Chain batch;
  for (CallbackItem* item = newest; item;) {
    CallbackItem* older = item->queue_next_;
    item->queue_next_ = batch.head;
    batch.head = item;
    if (!batch.tail) batch.tail = item;
    ++batch.size;
    item = older;
  }
  into.Splice(batch);
}

void CallbackQueue::CollectAllLocked(bool close) {
  Collect(priority_in_, priority_, close);
  Collect(normal_in_, normal_, close);
}

CallbackItem* CallbackQueue::Take() {
  std::lock_guard<std::mutex> take(take_mu_);
  // Priority posts are rare: their list head is seldom written, and reading
  // it costs the JavaScript thread a cached load per item.
  Collect(priority_in_, priority_, false);
  if (CallbackItem* item = priority_.PopFront()) return item;
  // Normal items leave the posters' list in batches: posters meet the
  // taking side once per batch instead of once per item.
  if (!normal_.head) Collect(normal_in_, normal_, false);
  CallbackItem* item = normal_.PopFront();
  if (item) Left(item);
  return item;
}

void CallbackQueue::Left(const CallbackItem* item) {
  if (item->Type() == kItemMicrophoneData) microphone_items_.fetch_sub(1, std::memory_order_relaxed);
  CountOut(item);
}

void CallbackQueue::CountOut(const CallbackItem* item) {
  if (item->RendererId() == 0) return;
  std::lock_guard<std::mutex> lock(count_mu_);
  CountOutLocked(item);
}

void CallbackQueue::CountOutLocked(const CallbackItem* item) {
  const int32_t id = item->RendererId();
  if (id == 0) return;
  auto it = per_renderer_.find(id);
  if (it != per_renderer_.end() && --it->second <= 0) per_renderer_.erase(it);
}

template <typename Pick>
void CallbackQueue::Purge(Pick pick, bool priority_too) {
  Chain gone;
  {
    std::lock_guard<std::mutex> take(take_mu_);
    CollectAllLocked(false);
    Chain kept;
    std::lock_guard<std::mutex> count(count_mu_);
    while (CallbackItem* item = normal_.PopFront()) {
      if (pick(item)) {
        CountOutLocked(item);
        if (item->Type() == kItemMicrophoneData) microphone_items_.fetch_sub(1, std::memory_order_relaxed);
        gone.Append(item);
      } else {
        kept.Append(item);
      }
    }
    normal_.Splice(kept);
    if (priority_too) gone.Splice(priority_);
  }
  DestroyAll(gone);
}

void CallbackQueue::PurgeType(int32_t type) {
  Purge([type](const CallbackItem* item) { return item->Type() == type; });
}

void CallbackQueue::PurgeHolder(int32_t type, const void* holder) {
  Purge([type, holder](const CallbackItem* item) { return item->Type() == type && item->Holder() == holder; });
}

size_t CallbackQueue::DrainClosing() {
  Chain gone;
  {
    std::lock_guard<std::mutex> take(take_mu_);
    closing_.store(true, std::memory_order_release);
    // Closed first: a post from now on is dropped by its poster.
    CollectAllLocked(true);
    for (CallbackItem* item = normal_.head; item; item = item->queue_next_)
      if (item->Type() == kItemMicrophoneData) microphone_items_.fetch_sub(1, std::memory_order_relaxed);
    gone.Splice(normal_);
    gone.Splice(priority_);
    std::lock_guard<std::mutex> count(count_mu_);
    per_renderer_.clear();
  }
  {
    // A post that found its list empty just before closing may be waking
    // now; once this returns no wake-up is made any more.
    std::lock_guard<std::mutex> lock(wake_mu_);
    wake_ = nullptr;
    wake_context_ = nullptr;
  }
  return DestroyAll(gone);
}

void CallbackQueue::DrainEngine() {
  Purge([](const CallbackItem* item) { return item->Type() != kItemLog; }, true);
}

int CallbackQueue::CountRenderer(int32_t renderer_id) {
  std::lock_guard<std::mutex> lock(count_mu_);
  auto it = per_renderer_.find(renderer_id);
  return it == per_renderer_.end() ? 0 : it->second;
}

bool CallbackQueue::Pending() {
  for (Inbox* in : {&priority_in_, &normal_in_}) {
    CallbackItem* head = in->load(std::memory_order_acquire);
    if (head && head != Closed()) return true;
  }
  std::lock_guard<std::mutex> take(take_mu_);
  return normal_.head || priority_.head;
}

size_t CallbackQueue::size() {
  std::lock_guard<std::mutex> take(take_mu_);
  CollectAllLocked(false);
  return normal_.size + priority_.size;
}

}  // namespace lumen_addon
