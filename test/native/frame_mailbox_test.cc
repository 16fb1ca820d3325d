// The newest-frame slot between a producing engine thread and the consumer,
// under ThreadSanitizer: a consumer that falls behind gets the newest frame,
// never a queue of old ones, and whole frames only.
#include "qx_base/frame_mailbox.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

namespace lumen_addon {
namespace {

// A frame of `size` bytes, every byte the low byte of `n`, with `n` in front.
bool Fill(uint8_t* dst, size_t size, uint32_t n) {
  std::memset(dst, static_cast<int>(n & 0xff), size);
  std::memcpy(dst, &n, sizeof n);
  return true;
}

uint32_t NumberOf(const std::vector<uint8_t>& frame) {
  uint32_t n = 0;
  std::memcpy(&n, frame.data(), sizeof n);
  return n;
}

bool Whole(const std::vector<uint8_t>& frame) {
  const uint8_t low = static_cast<uint8_t>(NumberOf(frame) & 0xff);
  for (size_t i = sizeof(uint32_t); i < frame.size(); ++i)
    if (frame[i] != low) return false;
  return true;
}

FrameInfo Info(int n) {
  FrameInfo info;
  info.width = n;
  info.height = 2 * n;
  return info;
}

TEST(FrameMailbox, OnlyThePutThatFindsTheSlotEmptyAsksForAWakeUp) {
  FrameMailbox box;
  int wakes = 0;
  const auto put = [&](uint32_t n) { return box.Put(64, Info(n), [&](uint8_t* d) { return Fill(d, 64, n); }, [&] { ++wakes; }); };
  EXPECT_TRUE(put(1));
  EXPECT_FALSE(put(2));
  EXPECT_FALSE(put(3));
  EXPECT_EQ(wakes, 1);

  std::vector<uint8_t> out(64);
  FrameInfo info;
  ASSERT_EQ(box.PendingSize(), 64u);
  EXPECT_EQ(box.TakeInto(out.data(), out.size(), &info), FrameMailbox::Take::kTaken);
  EXPECT_EQ(NumberOf(out), 3u) << "the newest frame, not the first";
  EXPECT_EQ(info.width, 3);
  EXPECT_EQ(info.height, 6);
  EXPECT_EQ(box.TakeInto(out.data(), out.size(), &info), FrameMailbox::Take::kNone) << "taken once";
  EXPECT_TRUE(put(4)) << "an empty slot asks again";
  const FrameMailbox::Counts c = box.counts();
  EXPECT_EQ(c.put, 4u);
  EXPECT_EQ(c.replaced, 2u);
  EXPECT_EQ(c.taken, 1u);
}

TEST(FrameMailbox, AFrameOfAnotherSizeIsAskedForAgain) {
  FrameMailbox box;
  box.Put(64, Info(1), [&](uint8_t* d) { return Fill(d, 64, 1); });
  const size_t size = box.PendingSize();
  box.Put(128, Info(2), [&](uint8_t* d) { return Fill(d, 128, 2); });
  std::vector<uint8_t> out(size);
  FrameInfo info;
  EXPECT_EQ(box.TakeInto(out.data(), out.size(), &info), FrameMailbox::Take::kResized);
  out.resize(box.PendingSize());
  ASSERT_EQ(out.size(), 128u);
  EXPECT_EQ(box.TakeInto(out.data(), out.size(), &info), FrameMailbox::Take::kTaken);
  EXPECT_EQ(NumberOf(out), 2u);
}

TEST(FrameMailbox, PixelsStartOn64ByteBoundaries) {
  FrameMailbox box;
  for (size_t size : {1u, 63u, 640u * 360u * 4u + 3u}) {
    uintptr_t at = 1;
    box.Put(size, Info(1), [&](uint8_t* d) {
      at = reinterpret_cast<uintptr_t>(d);
      return true;
    });
    EXPECT_EQ(at % 64, 0u) << size;
  }
}

TEST(FrameMailbox, AFailedFillDropsTheWaitingFrameAndClosedDropsEverything) {
  FrameMailbox box;
  box.Put(64, Info(1), [&](uint8_t* d) { return Fill(d, 64, 1); });
  EXPECT_FALSE(box.Put(64, Info(2), [](uint8_t*) { return false; }));
  EXPECT_EQ(box.PendingSize(), 0u) << "a half-written slot is never delivered";

  int wakes = 0;
  box.Close();
  EXPECT_FALSE(box.Put(64, Info(3), [&](uint8_t* d) { return Fill(d, 64, 3); }, [&] { ++wakes; }));
  EXPECT_EQ(wakes, 0) << "no wake-up after Close";
  EXPECT_EQ(box.PendingSize(), 0u);
}

// An engine thread produces as fast as it can while the consumer takes a
// frame now and then: every frame taken is whole, numbers only grow, and
// each is the newest one put before the take.
// Planes arrive with padded rows, or packed, or with a stride that cannot
// hold a row (a broken frame, never read past).
TEST(CopyRows, PacksPaddedRowsAndRefusesAShortStride) {
  const uint8_t plane[] = {1, 2, 3, 0xee, 4, 5, 6, 0xee};
  std::vector<uint8_t> out(8, 0);
  uint8_t* dst = out.data();
  ASSERT_TRUE(CopyRows(dst, plane, 4, 3, 2));
  EXPECT_EQ(dst, out.data() + 6);
  EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + 6), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
  ASSERT_TRUE(CopyRows(dst, plane, 1, 1, 2));  // packed: the plane's first bytes
  EXPECT_EQ(out[6], 1);
  EXPECT_EQ(out[7], 2);

  uint8_t* before = dst;
  EXPECT_FALSE(CopyRows(dst, plane, 2, 3, 2));
  EXPECT_FALSE(CopyRows(dst, plane, -4, 3, 2));
  EXPECT_EQ(dst, before) << "nothing copied, the cursor kept";
}

TEST(FrameMailbox, ASlowConsumerGetsWholeNewestFramesOnly) {
  FrameMailbox box;
  constexpr size_t kSize = 4096;
  std::atomic<uint32_t> last_put{0};
  std::atomic<bool> stop{false};
  std::atomic<int> wakes{0};
  std::thread producer([&] {
    for (uint32_t n = 1; !stop.load(); ++n) {
      box.Put(kSize, Info(static_cast<int>(n)), [&](uint8_t* d) { return Fill(d, kSize, n); }, [&] { ++wakes; });
      last_put.store(n);
    }
  });
  std::vector<uint8_t> out(kSize);
  uint32_t previous = 0;
  int taken = 0;
  while (taken < 200) {
    std::this_thread::sleep_for(std::chrono::microseconds(200));
    const uint32_t before = last_put.load();
    FrameInfo info;
    if (box.TakeInto(out.data(), out.size(), &info) != FrameMailbox::Take::kTaken) continue;
    ++taken;
    const uint32_t n = NumberOf(out);
    ASSERT_TRUE(Whole(out)) << n;
    ASSERT_GT(n, previous);
    ASSERT_GE(n, before) << "an older frame than one put before the take";
    ASSERT_EQ(info.width, static_cast<int>(n)) << "the info of another frame";
    previous = n;
  }
  stop.store(true);
  producer.join();
  const FrameMailbox::Counts c = box.counts();
  EXPECT_GT(c.replaced, c.taken) << "the producer outran the consumer: frames were replaced, not queued";
  EXPECT_LE(static_cast<uint64_t>(wakes.load()), c.taken + 1) << "one wake-up per frame taken";
}

}  // namespace
}  // namespace lumen_addon
