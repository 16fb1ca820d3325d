// The dispatcher's queue, run under ThreadSanitizer: ordering, priority,
// purging, draining, renderer counts and wake-ups.
#include "callback/callback_queue.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <functional>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <memory>
#include <thread>
#include <vector>

namespace lumen_addon {
namespace {

// Counts what happens to the items of one test.
struct Probe {
  std::atomic<int> released{0};
  std::atomic<int> destroyed{0};
};

class Item : public CallbackItem {
 public:
  Item(int32_t type, int tag, Probe* probe = nullptr, int32_t renderer = 0)
      : type_(type), tag_(tag), renderer_(renderer), probe_(probe) {}
  ~Item() override {
    if (probe_) probe_->destroyed++;
  }
  void Run() override {}
  void ReleaseData() override {
    if (probe_) probe_->released++;
  }
  int32_t Type() const override { return type_; }
  int32_t RendererId() const override { return renderer_; }
  int tag() const { return tag_; }

 private:
  int32_t type_;
  int tag_;
  int32_t renderer_;
  Probe* probe_;
};

void CountWake(void* context) { static_cast<std::atomic<int>*>(context)->fetch_add(1); }

class CallbackQueueTest : public ::testing::Test {
 protected:
  void SetUp() override { queue_.Open(CountWake, &wakes_); }

  // Takes everything, in order, as tags; the taken items are destroyed.
  std::vector<int> TakeAll() {
    std::vector<int> tags;
    while (CallbackItem* raw = queue_.Take()) {
      std::unique_ptr<CallbackItem> item(raw);
      tags.push_back(static_cast<Item*>(raw)->tag());
    }
    return tags;
  }

  std::atomic<int> wakes_{0};
  Probe probe_;
  CallbackQueue queue_;
};

TEST(CallbackQueueClosed, DropsPostsUntilOpened) {
  Probe probe;
  std::atomic<int> wakes{0};
  CallbackQueue queue;
  EXPECT_TRUE(queue.closing());
  EXPECT_FALSE(queue.Post(new Item(kItemDefault, 1, &probe)));
  EXPECT_EQ(probe.destroyed, 1);
  EXPECT_EQ(queue.Take(), nullptr);

  queue.Open(CountWake, &wakes);
  EXPECT_TRUE(queue.Post(new Item(kItemDefault, 2, &probe)));
  EXPECT_EQ(wakes, 1);
  EXPECT_EQ(queue.size(), 1u);
}

TEST_F(CallbackQueueTest, PostsFromManyThreadsReachTakeInPerThreadOrder) {
  constexpr int kThreads = 4, kPerThread = 3000;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([this, t] {
      for (int i = 0; i < kPerThread; ++i)
        // Every tenth item is a priority item: each queue keeps its own order.
        queue_.Post(new Item(i % 10 == 0 ? kItemCommandConnection : kItemDefault, t * kPerThread + i, &probe_));
    });
  }
  // Taken while the threads still post, as the JavaScript thread does.
  std::vector<int> taken;
  while (taken.size() < size_t{kThreads} * kPerThread) {
    if (CallbackItem* raw = queue_.Take()) {
      taken.push_back(static_cast<Item*>(raw)->tag());
      delete raw;
    } else {
      std::this_thread::yield();
    }
  }
  for (auto& th : threads) th.join();

  std::vector<int> last_normal(kThreads, -1), last_priority(kThreads, -1), seen(kThreads, 0);
  for (int tag : taken) {
    const int t = tag / kPerThread, i = tag % kPerThread;
    std::vector<int>& last = i % 10 == 0 ? last_priority : last_normal;
    EXPECT_GT(i, last[t]) << "thread " << t << " item " << i << " came after " << last[t];
    last[t] = i;
    seen[t]++;
  }
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(seen[t], kPerThread) << "thread " << t;
  EXPECT_EQ(queue_.Take(), nullptr);
  EXPECT_GE(wakes_, 1);
  EXPECT_LE(wakes_, kThreads * kPerThread);
  EXPECT_EQ(probe_.destroyed, kThreads * kPerThread);
}

TEST_F(CallbackQueueTest, ConnectionAndRoomEntryItemsAreTakenFirst) {
  queue_.Post(new Item(kItemDefault, 1));
  queue_.Post(new Item(kItemMediaConnection, 2));
  queue_.Post(new Item(kItemLog, 3));
  queue_.Post(new Item(kItemEnterRoom, 4));
  queue_.Post(new Item(kItemLocalVad, 5));  // 112: neighbours of the priority types are normal
  queue_.Post(new Item(kItemCommandConnection, 6));
  queue_.Post(new Item(kItemCollectLiveData, 7));

  std::unique_ptr<CallbackItem> first(queue_.Take());
  EXPECT_EQ(static_cast<Item*>(first.get())->tag(), 2);
  // A priority item posted after ordinary ones still queued overtakes them.
  queue_.Post(new Item(kItemMediaConnection, 8));
  EXPECT_EQ(TakeAll(), (std::vector<int>{4, 6, 8, 1, 3, 5, 7}));
}

TEST_F(CallbackQueueTest, PurgeTypeRemovesOnlyNormalItemsOfThatType) {
  queue_.Post(new Item(kItemMicrophoneData, 1, &probe_));
  queue_.Post(new Item(kItemDefault, 2, &probe_));
  queue_.Post(new Item(kItemMicrophoneData, 3, &probe_));
  queue_.Post(new Item(kItemLog, 4, &probe_));
  queue_.Post(new Item(kItemMediaConnection, 5, &probe_));

  queue_.PurgeType(kItemMicrophoneData);
  EXPECT_EQ(probe_.released, 2);
  EXPECT_EQ(probe_.destroyed, 2);

  // The priority queue is never purged, whatever the type.
  queue_.PurgeType(kItemMediaConnection);
  EXPECT_EQ(probe_.destroyed, 2);
  EXPECT_EQ(TakeAll(), (std::vector<int>{5, 2, 4}));
}

// An event of one of several objects that share an item type.
class HeldItem : public Item {
 public:
  HeldItem(int32_t type, int tag, const void* holder, Probe* probe = nullptr)
      : Item(type, tag, probe), holder_(holder) {}
  const void* Holder() const override { return holder_; }

 private:
  const void* holder_;
};

TEST_F(CallbackQueueTest, PurgeHolderRemovesOnlyThatHoldersItemsOfThatType) {
  int module = 0, camera = 0;
  queue_.Post(new HeldItem(kItemCameraRecord, 1, &module, &probe_));
  queue_.Post(new HeldItem(kItemCameraRecord, 2, &camera, &probe_));
  queue_.Post(new HeldItem(kItemCameraRecordState, 3, &camera, &probe_));
  queue_.Post(new HeldItem(kItemCameraRecord, 4, &module, &probe_));
  queue_.Post(new Item(kItemCameraRecord, 5, &probe_));
  queue_.Post(new HeldItem(kItemDefault, 6, &camera, &probe_));

  queue_.PurgeHolder(kItemCameraRecord, &camera);
  EXPECT_EQ(probe_.released, 1);
  EXPECT_EQ(probe_.destroyed, 1);
  // Nobody's items are not anybody's.
  queue_.PurgeHolder(kItemCameraRecord, nullptr);
  EXPECT_EQ(probe_.destroyed, 2);
  EXPECT_EQ(TakeAll(), (std::vector<int>{1, 3, 4, 6}));
}

// Two objects of one type post from threads of their own while one of them
// goes: every item of the other arrives, in its order, and no item of the
// one that went is left after its last purge.
TEST_F(CallbackQueueTest, PurgeHolderWhilePostingKeepsTheOtherHoldersItemsInOrder) {
  constexpr int kEach = 20000;
  int module = 0, camera = 0;
  std::atomic<bool> camera_done{false};
  std::thread kept([&] {
    for (int i = 0; i < kEach; ++i) queue_.Post(new HeldItem(kItemCameraRecord, i, &module));
  });
  std::thread purged([&] {
    for (int i = 0; i < kEach; ++i) queue_.Post(new HeldItem(kItemCameraRecord, kEach + i, &camera, &probe_));
    camera_done = true;
  });
  std::vector<int> seen;
  bool last = false;
  while (!last) {
    last = camera_done.load();
    queue_.PurgeHolder(kItemCameraRecord, &camera);
    // Takes a little between purges, as the JavaScript thread would.
    for (int n = 0; n < 50; ++n) {
      std::unique_ptr<CallbackItem> item(queue_.Take());
      if (!item) break;
      seen.push_back(static_cast<Item*>(item.get())->tag());
    }
  }
  kept.join();
  purged.join();
  for (std::unique_ptr<CallbackItem> item(queue_.Take()); item; item.reset(queue_.Take()))
    seen.push_back(static_cast<Item*>(item.get())->tag());

  std::vector<int> modules;
  for (int tag : seen)
    if (tag < kEach) modules.push_back(tag);
  ASSERT_EQ(modules.size(), static_cast<size_t>(kEach));
  for (int i = 0; i < kEach; ++i) ASSERT_EQ(modules[i], i);
  // Every camera item was either taken before its purge or destroyed by one.
  EXPECT_EQ(seen.size() - modules.size() + static_cast<size_t>(probe_.released.load()), static_cast<size_t>(kEach));
  EXPECT_EQ(queue_.size(), 0u);
}

TEST_F(CallbackQueueTest, DrainEngineKeepsOnlyLogItemsInOrder) {
  queue_.Post(new Item(kItemLog, 1, &probe_));
  queue_.Post(new Item(kItemDefault, 2, &probe_));
  queue_.Post(new Item(kItemEnterRoom, 3, &probe_));
  queue_.Post(new Item(kItemLog, 4, &probe_));
  queue_.Post(new Item(kItemScreenRecord, 5, &probe_));
  queue_.Post(new Item(kItemCommandConnection, 6, &probe_));
  queue_.Post(new Item(kItemLog, 7, &probe_));

  queue_.DrainEngine();
  EXPECT_EQ(probe_.released, 4);
  EXPECT_EQ(probe_.destroyed, 4);
  EXPECT_FALSE(queue_.closing());
  EXPECT_EQ(TakeAll(), (std::vector<int>{1, 4, 7}));

  // Still open afterwards: the environment goes on.
  EXPECT_TRUE(queue_.Post(new Item(kItemDefault, 8)));
  EXPECT_EQ(TakeAll(), (std::vector<int>{8}));
}

TEST_F(CallbackQueueTest, DrainClosingDestroysQueuedItemsAndDropsLaterPosts) {
  queue_.Post(new Item(kItemDefault, 1, &probe_));
  queue_.Post(new Item(kItemLog, 2, &probe_));
  queue_.Post(new Item(kItemEnterRoom, 3, &probe_));
  const int wakes_before = wakes_;

  EXPECT_EQ(queue_.DrainClosing(), 3u);
  EXPECT_TRUE(queue_.closing());
  EXPECT_EQ(probe_.released, 3);
  EXPECT_EQ(probe_.destroyed, 3);
  EXPECT_EQ(queue_.size(), 0u);

  EXPECT_FALSE(queue_.Post(new Item(kItemDefault, 4, &probe_)));
  EXPECT_FALSE(queue_.Post(new Item(kItemMediaConnection, 5, &probe_)));
  EXPECT_EQ(probe_.destroyed, 5);
  EXPECT_EQ(queue_.Take(), nullptr);
  queue_.Nudge();
  EXPECT_EQ(wakes_, wakes_before);
}

TEST_F(CallbackQueueTest, EveryItemPostedAcrossDrainClosingIsDestroyedOnce) {
  constexpr int kThreads = 4, kPerThread = 2000;
  std::atomic<int> accepted{0};
  std::atomic<bool> go{false};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      while (!go) std::this_thread::yield();
      for (int i = 0; i < kPerThread; ++i)
        if (queue_.Post(new Item(i % 3 ? kItemLog : kItemEnterRoom, t * kPerThread + i, &probe_))) accepted++;
    });
  }
  go = true;
  while (queue_.size() < 100) std::this_thread::yield();
  queue_.DrainClosing();
  const int wakes_at_close = wakes_;
  for (auto& th : threads) th.join();

  EXPECT_GT(accepted, 0);
  EXPECT_EQ(probe_.destroyed, kThreads * kPerThread);
  EXPECT_EQ(probe_.released, kThreads * kPerThread);
  EXPECT_GE(wakes_, 1);
  EXPECT_LE(wakes_, accepted.load());
  EXPECT_EQ(wakes_, wakes_at_close);
  EXPECT_EQ(queue_.size(), 0u);
}

TEST_F(CallbackQueueTest, CountRendererFollowsPostsTakesAndPurges) {
  constexpr int32_t kFrame = 7;  // any item type a renderer may carry
  queue_.Post(new Item(kFrame, 1, nullptr, 41));
  queue_.Post(new Item(kFrame, 2, nullptr, 41));
  queue_.Post(new Item(kItemDefault, 3, nullptr, 60));
  queue_.Post(new Item(kFrame, 4, nullptr, 41));
  queue_.Post(new Item(kItemDefault, 5));
  // Priority items are not counted against their renderer.
  queue_.Post(new Item(kItemEnterRoom, 6, nullptr, 41));
  EXPECT_EQ(queue_.CountRenderer(41), 3);
  EXPECT_EQ(queue_.CountRenderer(60), 1);
  EXPECT_EQ(queue_.CountRenderer(99), 0);

  delete queue_.Take();  // the priority item
  EXPECT_EQ(queue_.CountRenderer(41), 3);
  delete queue_.Take();  // tag 1
  EXPECT_EQ(queue_.CountRenderer(41), 2);

  queue_.PurgeType(kFrame);
  EXPECT_EQ(queue_.CountRenderer(41), 0);
  EXPECT_EQ(queue_.CountRenderer(60), 1);

  queue_.Post(new Item(kFrame, 7, nullptr, 60));
  EXPECT_EQ(queue_.CountRenderer(60), 2);
  queue_.DrainEngine();
  EXPECT_EQ(queue_.CountRenderer(60), 0);
  EXPECT_EQ(TakeAll(), (std::vector<int>{}));
}

// Taking moves every queued normal item out of the posters' way at once;
// until each is taken it must still count as queued for every operation.
TEST_F(CallbackQueueTest, ItemsMovedOutByATakeStayQueuedUntilTakenThemselves) {
  queue_.Post(new Item(kItemDefault, 1, &probe_));
  queue_.Post(new Item(kItemMicrophoneData, 2, &probe_));
  queue_.Post(new Item(kItemDefault, 3, &probe_, 41));
  queue_.Post(new Item(kItemLog, 4, &probe_));
  queue_.Post(new Item(kItemMicrophoneData, 5, &probe_));
  std::unique_ptr<CallbackItem> first(queue_.Take());
  EXPECT_EQ(static_cast<Item*>(first.get())->tag(), 1);
  queue_.Post(new Item(kItemDefault, 6, &probe_));
  EXPECT_EQ(queue_.size(), 5u);
  EXPECT_EQ(queue_.CountRenderer(41), 1);

  queue_.PurgeType(kItemMicrophoneData);
  EXPECT_EQ(probe_.released, 2);
  // Posted after the batch left, still overtaking what is left of it.
  queue_.Post(new Item(kItemEnterRoom, 7, &probe_));
  std::unique_ptr<CallbackItem> next(queue_.Take());
  EXPECT_EQ(static_cast<Item*>(next.get())->tag(), 7);
  queue_.DrainEngine();
  EXPECT_EQ(queue_.CountRenderer(41), 0);
  EXPECT_EQ(probe_.released, 4);
  EXPECT_EQ(TakeAll(), (std::vector<int>{4}));

  queue_.Post(new Item(kItemDefault, 8, &probe_));
  queue_.Post(new Item(kItemDefault, 9, &probe_));
  std::unique_ptr<CallbackItem> eighth(queue_.Take());
  queue_.DrainClosing();
  EXPECT_EQ(probe_.released, 5);
  EXPECT_EQ(queue_.Take(), nullptr);
}

// A post wakes the JavaScript thread only when it finds its queue empty:
// every later one is taken by the run that wake-up starts.
TEST_F(CallbackQueueTest, WakesWhenAQueueTurnsNonEmptyAndNudgeWakesWithoutQueueing) {
  for (int i = 0; i < 5; ++i) queue_.Post(new Item(i % 2 ? kItemDefault : kItemMediaConnection, i));
  EXPECT_EQ(wakes_, 2);  // one per queue
  for (int tag : {0, 2, 4}) {
    std::unique_ptr<CallbackItem> item(queue_.Take());
    EXPECT_EQ(static_cast<Item*>(item.get())->tag(), tag);
  }
  EXPECT_EQ(wakes_, 2);
  queue_.Post(new Item(kItemMediaConnection, 5));
  EXPECT_EQ(wakes_, 3);
  // The normal items posted first still wait for the run they woke.
  queue_.Post(new Item(kItemDefault, 6));
  EXPECT_EQ(wakes_, 3);
  delete queue_.Take();  // 5
  delete queue_.Take();  // 1: the normal items left the posters' list with it
  queue_.Post(new Item(kItemDefault, 7));
  EXPECT_EQ(wakes_, 4);

  queue_.Nudge();
  EXPECT_EQ(wakes_, 5);
  EXPECT_EQ(queue_.size(), 3u);

  queue_.PurgeType(kItemDefault);
  queue_.DrainEngine();
  EXPECT_EQ(wakes_, 5);
  queue_.Post(new Item(kItemDefault, 8));
  EXPECT_EQ(wakes_, 6);
  EXPECT_EQ(TakeAll(), (std::vector<int>{8}));
}

TEST_F(CallbackQueueTest, PostsDuringARunDoNotWakeAndTheRunSeesThemBeforeItEnds) {
  queue_.BeginRun();
  queue_.Post(new Item(kItemDefault, 1));
  queue_.Post(new Item(kItemEnterRoom, 2));
  EXPECT_EQ(wakes_, 0);
  EXPECT_EQ(TakeAll(), (std::vector<int>{2, 1}));
  EXPECT_FALSE(queue_.EndRun());

  queue_.Post(new Item(kItemDefault, 3));
  EXPECT_EQ(wakes_, 1) << "a post after the run ended must wake";
  queue_.BeginRun();
  EXPECT_EQ(TakeAll(), (std::vector<int>{3}));
  queue_.Post(new Item(kItemDefault, 4));
  EXPECT_TRUE(queue_.EndRun()) << "an item no wake-up announced keeps the run going";
  queue_.Post(new Item(kItemDefault, 5));
  EXPECT_EQ(wakes_, 1);
  // Left with items that no wake-up announced: they get one.
  queue_.LeaveRun();
  EXPECT_EQ(wakes_, 2);
  queue_.Post(new Item(kItemDefault, 6));
  EXPECT_EQ(wakes_, 2);
  EXPECT_EQ(TakeAll(), (std::vector<int>{4, 5, 6}));
  queue_.LeaveRun();
  EXPECT_EQ(wakes_, 2);
}

// Asked once per turn of the event loop: it must see items whether they are
// still in the posters' lists or already moved out by the taking side.
TEST_F(CallbackQueueTest, PendingSeesItemsWhereverTheyWait) {
  EXPECT_FALSE(queue_.Pending());
  queue_.Post(new Item(kItemDefault, 1));
  queue_.Post(new Item(kItemDefault, 2));
  EXPECT_TRUE(queue_.Pending());
  EXPECT_EQ(queue_.size(), 2u);  // moved out of the posters' list
  EXPECT_TRUE(queue_.Pending());
  delete queue_.Take();
  EXPECT_TRUE(queue_.Pending());
  delete queue_.Take();
  EXPECT_FALSE(queue_.Pending());
  queue_.Post(new Item(kItemCommandConnection, 3));
  EXPECT_TRUE(queue_.Pending());
  queue_.DrainClosing();
  EXPECT_FALSE(queue_.Pending());
}

// The JavaScript thread runs only when woken and stops once Take answers
// nothing; a single lost wake-up leaves items behind for ever.
TEST_F(CallbackQueueTest, NoWakeUpIsLostWhileTheTakerSleepsBetweenRuns) {
  constexpr int kThreads = 4, kPerThread = 5000;
  std::mutex mu;
  std::condition_variable cv;
  int pending_wakes = 0;
  struct Signal {
    std::mutex* mu;
    std::condition_variable* cv;
    int* pending;
  } signal{&mu, &cv, &pending_wakes};
  queue_.DrainClosing();
  queue_.Open(
      [](void* context) {
        auto* s = static_cast<Signal*>(context);
        std::lock_guard<std::mutex> lock(*s->mu);
        ++*s->pending;
        s->cv->notify_one();
      },
      &signal);

  std::atomic<int> taken{0};
  std::thread taker([&] {
    while (taken < kThreads * kPerThread) {
      {
        std::unique_lock<std::mutex> lock(mu);
        if (!cv.wait_for(lock, std::chrono::seconds(10), [&] { return pending_wakes > 0; })) return;
        pending_wakes = 0;
      }
      // As the dispatcher runs: posts during a run do not wake, so the run
      // looks again before it ends.
      queue_.BeginRun();
      do {
        while (CallbackItem* item = queue_.Take()) {
          delete item;
          taken++;
        }
      } while (taken % 7 != 0 && queue_.EndRun());
      // Now and then a run stops early, as a yielding one does.
      queue_.LeaveRun();
    }
  });
  std::vector<std::thread> posters;
  for (int t = 0; t < kThreads; ++t) {
    posters.emplace_back([&, t] {
      for (int i = 0; i < kPerThread; ++i) {
        queue_.Post(new Item(i % 50 == 0 ? kItemEnterRoom : kItemDefault, i));
        if (i % (97 + t) == 0) std::this_thread::sleep_for(std::chrono::microseconds(50));
      }
    });
  }
  for (auto& th : posters) th.join();
  taker.join();
  EXPECT_EQ(taken, kThreads * kPerThread);
  EXPECT_EQ(queue_.size(), 0u);
}

TEST_F(CallbackQueueTest, ReopeningAfterCloseUsesTheNewWakeUp) {
  queue_.DrainClosing();
  std::atomic<int> other{0};
  queue_.Open(CountWake, &other);
  EXPECT_TRUE(queue_.Post(new Item(kItemDefault, 1)));
  EXPECT_EQ(other, 1);
  EXPECT_EQ(wakes_, 0);
  EXPECT_EQ(TakeAll(), (std::vector<int>{1}));
}

// An item whose destructor posts again, as release items do: destruction
// must happen outside the queue's lock.
class Reposter : public Item {
 public:
  Reposter(CallbackQueue* queue, int32_t type, int tag, Probe* probe) : Item(type, tag, probe), queue_(queue) {}
  ~Reposter() override { queue_->Post(new Item(kItemLog, 100 + tag(), nullptr)); }

 private:
  CallbackQueue* queue_;
};

TEST_F(CallbackQueueTest, DestroyedItemsMayPostFromTheirDestructor) {
  queue_.Post(new Reposter(&queue_, kItemMicrophoneData, 1, &probe_));
  queue_.PurgeType(kItemMicrophoneData);
  queue_.Post(new Reposter(&queue_, kItemScreenRecord, 2, &probe_));
  queue_.DrainEngine();
  EXPECT_EQ(probe_.destroyed, 2);
  EXPECT_EQ(TakeAll(), (std::vector<int>{101, 102}));

  queue_.Post(new Reposter(&queue_, kItemDefault, 3, &probe_));
  queue_.DrainClosing();  // the repost meets a closed queue and is dropped
  EXPECT_EQ(probe_.destroyed, 3);
  EXPECT_EQ(queue_.size(), 0u);
}

// Microphone data has a bound of its own; state events never do.
TEST_F(CallbackQueueTest, MicrophoneDataStopsAtItsBoundWhileEveryOtherItemIsQueued) {
  constexpr int kMax = CallbackQueue::kMaxMicrophoneItems;
  auto fill = [&](int tag) {
    int accepted = 0;
    for (int i = 0; i < kMax + 5; ++i) accepted += queue_.Post(new Item(kItemMicrophoneData, tag, &probe_));
    return accepted;
  };
  EXPECT_EQ(fill(1), kMax);
  EXPECT_EQ(probe_.destroyed, 5);
  for (int i = 0; i < 2000; ++i) ASSERT_TRUE(queue_.Post(new Item(kItemLocalVad, 2)));
  EXPECT_TRUE(queue_.Post(new Item(kItemEnterRoom, 3)));

  delete queue_.Take();  // the room entry
  delete queue_.Take();  // a microphone chunk: room for one more
  EXPECT_TRUE(queue_.Post(new Item(kItemMicrophoneData, 4, &probe_)));
  EXPECT_FALSE(queue_.Post(new Item(kItemMicrophoneData, 5, &probe_)));

  // Purged, drained or closed, the chunks count no more.
  queue_.PurgeType(kItemMicrophoneData);
  EXPECT_EQ(fill(6), kMax);
  queue_.DrainEngine();
  EXPECT_EQ(fill(7), kMax);
  queue_.DrainClosing();
  queue_.Open(CountWake, &wakes_);
  EXPECT_EQ(fill(8), kMax);
}

// ---- the item pool ----------------------------------------------------------------

// Blocks are handed between threads: a test runs its allocations and frees
// on threads of its own, whose caches start empty and are given back when
// they end.
void OnThread(const std::function<void()>& fn) { std::thread(fn).join(); }

TEST(ItemPool, BlocksFreedByTheTakingThreadServeAnotherThreadsPosts) {
  constexpr int kCount = 2 * ItemPool::kBatch;
  std::vector<CallbackItem*> items;
  OnThread([&] {
    for (int i = 0; i < kCount; ++i) items.push_back(new Item(kItemDefault, i));
  });
  const std::set<void*> freed(items.begin(), items.end());
  ASSERT_EQ(freed.size(), size_t{kCount});
  const size_t before = ItemPool::SharedBlocks();
  OnThread([&] {
    for (CallbackItem* item : items) delete item;
  });
  EXPECT_EQ(ItemPool::SharedBlocks(), before + kCount);

  std::vector<CallbackItem*> again;
  OnThread([&] {
    for (int i = 0; i < kCount; ++i) again.push_back(new Item(kItemDefault, i));
  });
  EXPECT_EQ(ItemPool::SharedBlocks(), before);
  for (CallbackItem* item : again) {
    EXPECT_EQ(freed.count(item), 1u) << "a block given back was not reused";
    delete item;
  }
}

TEST(ItemPool, ItemsLargerThanABlockComeFromTheHeap) {
  struct Large : Item {
    Large() : Item(kItemDefault, 1) { bytes.fill(7); }
    std::array<uint8_t, 4 * ItemPool::kBlockSize> bytes;
  };
  const size_t before = ItemPool::SharedBlocks();
  OnThread([] {
    std::unique_ptr<Large> large(new Large);
    for (uint8_t b : large->bytes) ASSERT_EQ(b, 7);
  });
  // A block freed into the pool would have been given back as the thread ended.
  EXPECT_EQ(ItemPool::SharedBlocks(), before);
}

// Each item carries its own copy of who posted it; a block handed out twice
// while in use, or changed by the pool while queued, breaks it.
class Signed : public CallbackItem {
 public:
  Signed(uint32_t thread, uint32_t index) : thread_(thread), index_(index), check_(~(thread * 1000003u + index)) {}
  void Run() override {}
  bool Intact() const { return check_ == ~(thread_ * 1000003u + index_); }
  uint32_t thread() const { return thread_; }
  uint32_t index() const { return index_; }

 private:
  uint32_t thread_, index_, check_;
};

TEST_F(CallbackQueueTest, PooledItemsStayIntactWhileThreadsPostAndTheTakerFrees) {
  constexpr uint32_t kThreads = 4, kPerThread = 20000;
  std::vector<std::thread> posters;
  for (uint32_t t = 0; t < kThreads; ++t) {
    posters.emplace_back([this, t] {
      for (uint32_t i = 0; i < kPerThread; ++i) ASSERT_TRUE(queue_.Post(new Signed(t, i)));
    });
  }
  std::vector<uint32_t> next(kThreads, 0);
  uint32_t taken = 0, broken = 0;
  while (taken < kThreads * kPerThread) {
    std::unique_ptr<CallbackItem> raw(queue_.Take());
    if (!raw) {
      std::this_thread::yield();
      continue;
    }
    auto* item = static_cast<Signed*>(raw.get());
    if (!item->Intact() || item->thread() >= kThreads || item->index() != next[item->thread()]) {
      ++broken;
    } else {
      ++next[item->thread()];
    }
    ++taken;
  }
  for (auto& th : posters) th.join();
  EXPECT_EQ(broken, 0u);
  for (uint32_t t = 0; t < kThreads; ++t) EXPECT_EQ(next[t], kPerThread);
}

TEST(CallbackQueueLifetime, DestructorDestroysWhatIsStillQueued) {
  Probe probe;
  std::atomic<int> wakes{0};
  {
    CallbackQueue queue;
    queue.Open(CountWake, &wakes);
    queue.Post(new Item(kItemDefault, 1, &probe));
    queue.Post(new Item(kItemEnterRoom, 2, &probe));
  }
  EXPECT_EQ(probe.released, 2);
  EXPECT_EQ(probe.destroyed, 2);
}

}  // namespace
}  // namespace lumen_addon
