// What an engine object was handed stays allocated until the list is
// cleared: retired objects are silenced at once, kept ones are left as they
// are, and both are freed only by Clear.
#include "qx_base/keep_alive.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

namespace lumen_addon {
namespace {

struct Handed {
  explicit Handed(int* freed) : freed(freed) {}
  ~Handed() { ++*freed; }
  void Retire() { ++retired; }
  int* freed;
  int retired = 0;
};

TEST(KeepAlive, RetireSilencesAtOnceAndFreesOnlyOnClear) {
  int freed = 0;
  KeepAlive list;
  auto handed = std::make_shared<Handed>(&freed);
  std::weak_ptr<Handed> watch = handed;
  list.Retire(std::move(handed));
  ASSERT_FALSE(watch.expired());
  EXPECT_EQ(watch.lock()->retired, 1);
  EXPECT_EQ(freed, 0);
  list.Clear();
  EXPECT_TRUE(watch.expired());
  EXPECT_EQ(freed, 1);
}

TEST(KeepAlive, KeepLeavesTheObjectAsItIsUntilClear) {
  int freed = 0;
  KeepAlive list;
  auto sink = std::make_shared<Handed>(&freed);
  list.Keep(sink);
  list.Keep(std::shared_ptr<Handed>());  // ignored
  EXPECT_EQ(sink->retired, 0);
  std::weak_ptr<Handed> watch = sink;
  sink.reset();
  EXPECT_FALSE(watch.expired()) << "kept objects outlive their other owners";
  list.Clear();
  EXPECT_TRUE(watch.expired());
  EXPECT_EQ(freed, 1);
}

TEST(KeepAlive, KeepAndClearFromManyThreads) {
  int freed = 0;  // only ever touched by destructors run under Clear or at the end
  {
    KeepAlive list;
    std::vector<std::thread> threads;
    std::vector<std::shared_ptr<Handed>> made;
    for (int i = 0; i < 64; ++i) made.push_back(std::make_shared<Handed>(&freed));
    for (int t = 0; t < 4; ++t)
      threads.emplace_back([&list, &made, t] {
        for (int i = t; i < 64; i += 4) list.Keep(made[i]);
      });
    for (auto& th : threads) th.join();
    made.clear();
    EXPECT_EQ(freed, 0);
    list.Clear();
    EXPECT_EQ(freed, 64);
  }
}

}  // namespace
}  // namespace lumen_addon
