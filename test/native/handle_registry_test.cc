// The registry of objects JavaScript holds as numbers, under ThreadSanitizer:
// only live objects of the asked kind are found, whatever number comes in,
// and look-ups racing removal never reach a freed object.
#include "qx_base/handle_registry.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <limits>
#include <set>
#include <thread>
#include <vector>

namespace lumen_addon {
namespace {

struct Object {
  explicit Object(int v, std::atomic<int>* freed = nullptr) : value(v), freed_(freed) {}
  ~Object() {
    if (freed_) ++*freed_;
  }
  int value;
  std::atomic<int>* freed_;
};

TEST(HandleFromNumber, AcceptsOnlyPositiveIntegersUpTo2To53) {
  EXPECT_EQ(HandleFromNumber(1), 1u);
  EXPECT_EQ(HandleFromNumber(140737488355328.0), 140737488355328u);
  EXPECT_EQ(HandleFromNumber(9007199254740992.0), 9007199254740992u);
  EXPECT_EQ(HandleFromNumber(0), 0u);
  EXPECT_EQ(HandleFromNumber(-4096), 0u);
  EXPECT_EQ(HandleFromNumber(4096.5), 0u);
  EXPECT_EQ(HandleFromNumber(9007199254740994.0), 0u);
  EXPECT_EQ(HandleFromNumber(std::numeric_limits<double>::infinity()), 0u);
  EXPECT_EQ(HandleFromNumber(std::nan("")), 0u);
}

TEST(HandleRegistry, FindsLiveObjectsOfTheirKindOnly) {
  auto player = std::make_shared<Object>(7);
  const uint64_t h = HandleRegistry::Add(HandleKind::kPlayer, player);
  EXPECT_GT(h, 0u);
  EXPECT_LE(h, 9007199254740992u) << "a JavaScript number holds it exactly";
  EXPECT_EQ(HandleRegistry::Find<Object>(HandleKind::kPlayer, h), player);
  EXPECT_EQ(HandleRegistry::Find<Object>(HandleKind::kAgent, h), nullptr);
  EXPECT_EQ(HandleRegistry::Find<Object>(HandleKind::kPlayer, h + 8), nullptr);
  EXPECT_EQ(HandleRegistry::Find<Object>(HandleKind::kPlayer, 0), nullptr);
  EXPECT_EQ(HandleRegistry::Count(HandleKind::kPlayer), 1u);

  EXPECT_EQ(HandleRegistry::Remove<Object>(HandleKind::kPlayer, h), player);
  EXPECT_EQ(HandleRegistry::Find<Object>(HandleKind::kPlayer, h), nullptr);
  EXPECT_EQ(HandleRegistry::Remove<Object>(HandleKind::kPlayer, h), nullptr) << "a second destroy finds nothing";
  EXPECT_EQ(HandleRegistry::Count(HandleKind::kPlayer), 0u);
}

TEST(HandleRegistry, ACallInFlightKeepsARemovedObjectAlive) {
  std::atomic<int> freed{0};
  uint64_t h = HandleRegistry::Add(HandleKind::kDeviceModule, std::make_shared<Object>(1, &freed));
  auto in_flight = HandleRegistry::Find<Object>(HandleKind::kDeviceModule, h);
  HandleRegistry::Remove<Object>(HandleKind::kDeviceModule, h).reset();
  EXPECT_EQ(freed.load(), 0);
  EXPECT_EQ(in_flight->value, 1);
  in_flight.reset();
  EXPECT_EQ(freed.load(), 1);
}

TEST(HandleRegistry, TakeAllHandsEverythingOverNewestFirst) {
  std::vector<uint64_t> handles;
  for (int i = 0; i < 5; ++i)
    handles.push_back(HandleRegistry::Add(i % 2 ? HandleKind::kPlayer : HandleKind::kAgent, std::make_shared<Object>(i)));
  auto all = HandleRegistry::TakeAll();
  ASSERT_EQ(all.size(), 5u);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(static_cast<Object*>(all[i].second.get())->value, 4 - i);
  EXPECT_EQ(all[0].first, HandleKind::kAgent);
  EXPECT_EQ(HandleRegistry::Find<Object>(HandleKind::kAgent, handles[0]), nullptr);
  EXPECT_EQ(HandleRegistry::Count(HandleKind::kPlayer), 0u);
}

// The allocator hands a freed block to the next object of its size: the
// number of the destroyed object must not name the new one.
TEST(HandleRegistry, ARemovedIdStaysDeadWhenANewObjectLandsAtTheSameAddress) {
  auto first = std::make_shared<Object>(1);
  const void* address = first.get();
  const uint64_t stale = HandleRegistry::Add(HandleKind::kPlayer, first);
  first.reset();
  HandleRegistry::Remove<Object>(HandleKind::kPlayer, stale).reset();

  std::vector<std::shared_ptr<Object>> made;
  std::shared_ptr<Object> twin;
  for (int i = 0; i < 10000 && !twin; ++i) {
    auto o = std::make_shared<Object>(2);
    if (o.get() == address) twin = o;
    made.push_back(std::move(o));
  }
  ASSERT_TRUE(twin) << "the allocator never reused the block";
  const uint64_t fresh = HandleRegistry::Add(HandleKind::kPlayer, twin);
  EXPECT_NE(fresh, stale);
  EXPECT_EQ(HandleRegistry::Find<Object>(HandleKind::kPlayer, stale), nullptr);
  EXPECT_EQ(HandleRegistry::Remove<Object>(HandleKind::kPlayer, stale), nullptr) << "the old number destroys nothing";
  EXPECT_EQ(HandleRegistry::Find<Object>(HandleKind::kPlayer, fresh), twin);
  HandleRegistry::Remove<Object>(HandleKind::kPlayer, fresh);
}

TEST(HandleRegistry, IdsAreNeverIssuedTwiceAcrossKinds) {
  std::set<uint64_t> seen;
  const HandleKind kinds[] = {HandleKind::kPlayer, HandleKind::kAgent, HandleKind::kDeviceModule};
  for (int i = 0; i < 3000; ++i) {
    const HandleKind kind = kinds[i % 3];
    const uint64_t h = HandleRegistry::Add(kind, std::make_shared<Object>(i));
    EXPECT_TRUE(seen.insert(h).second) << h;
    HandleRegistry::Remove<Object>(kind, h);
  }
  EXPECT_EQ(HandleRegistry::Add(HandleKind::kNone, std::make_shared<Object>(0)), 0u) << "kNone is no kind";
  EXPECT_EQ(HandleRegistry::Add(HandleKind::kPlayer, nullptr), 0u);
}

// Engine-side threads look objects up while the JavaScript side creates and
// destroys them: every object found is whole, and all are freed at the end.
TEST(HandleRegistry, LookUpsRacingDestroysNeverSeeAFreedObject) {
  std::atomic<int> freed{0};
  std::atomic<bool> stop{false};
  std::atomic<uint64_t> latest{0};
  std::atomic<long> found{0};
  std::vector<std::thread> readers;
  for (int t = 0; t < 3; ++t) {
    readers.emplace_back([&] {
      while (!stop.load()) {
        if (auto o = HandleRegistry::Find<Object>(HandleKind::kPlayer, latest.load())) {
          EXPECT_EQ(o->value, 42);
          ++found;
        }
      }
    });
  }
  constexpr int kRounds = 20000;
  for (int i = 0; i < kRounds; ++i) {
    const uint64_t h = HandleRegistry::Add(HandleKind::kPlayer, std::make_shared<Object>(42, &freed));
    latest.store(h);
    HandleRegistry::Remove<Object>(HandleKind::kPlayer, h).reset();
  }
  stop.store(true);
  for (auto& r : readers) r.join();
  EXPECT_EQ(freed.load(), kRounds);
  EXPECT_EQ(HandleRegistry::Count(HandleKind::kPlayer), 0u);
}

}  // namespace
}  // namespace lumen_addon
