#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "framework/zor_util.h"
#include "support/test_support.h"

TEST(Util, Remove1013StripsOnlyTrailingLineEnds) {
  char a[] = "text\r\n";
  char b[] = "text\n\r\n\r";
  char c[] = "two\nlines\n";
  char d[] = "\r\n\n";
  zor_remove1013(a);
  zor_remove1013(b);
  zor_remove1013(c);
  zor_remove1013(d);
  EXPECT_STREQ(a, "text");
  EXPECT_STREQ(b, "text");
  EXPECT_STREQ(c, "two\nlines");
  EXPECT_STREQ(d, "");
  zor_remove1013(nullptr);
}

TEST(Util, ItoaWritesSignAndLowerCaseDigits) {
  char buf[40];
  EXPECT_STREQ(kfx_itoa(-255, buf, 16), "-ff");
  EXPECT_STREQ(kfx_itoa(0, buf, 2), "0");
  EXPECT_STREQ(kfx_itoa(0, buf, 16), "0");
  EXPECT_STREQ(kfx_itoa(5, buf, 2), "101");
  EXPECT_STREQ(kfx_itoa(12000, buf, 10), "12000");
  EXPECT_STREQ(kfx_itoa(INT_MIN, buf, 10), "-2147483648");
}

TEST(Util, StrdupAndStrupr) {
  char* copy = kfx_strdup("wind");
  ASSERT_NE(copy, nullptr);
  EXPECT_STREQ(kfx_strupr(copy), "WIND");
  std::free(copy);
  EXPECT_EQ(kfx_strdup(nullptr), nullptr);
  EXPECT_EQ(kfx_strupr(nullptr), nullptr);
}

TEST(Util, DirectoriesAcceptBackslashes) {
  const auto home = std::filesystem::current_path();
  EXPECT_EQ(_mkdir("Save\\Game"), -1);  // parent missing
  EXPECT_EQ(_mkdir("Save"), 0);
  EXPECT_EQ(_mkdir("Save\\Game"), 0);
  EXPECT_EQ(_mkdir("Save\\Game"), -1);  // exists
  EXPECT_EQ(_mkdir(nullptr), -1);
  EXPECT_EQ(_chdir("no\\such"), -1);
  EXPECT_EQ(std::filesystem::current_path(), home);
  EXPECT_EQ(_chdir(nullptr), -1);
  EXPECT_EQ(_chdir("Save\\Game"), 1);
  EXPECT_EQ(std::filesystem::current_path(), home / "Save" / "Game");
  std::filesystem::current_path(home);
}

TEST(Util, LineStepsLikeBresenham) {
  std::vector<std::pair<int, int>> pts;
  CLine flat(0, 0, 4, 2);
  for (int i = 0; i < 4; ++i) {
    int x, y;
    flat.GetNext(&x, &y);
    pts.emplace_back(x, y);
  }
  EXPECT_EQ(pts, (std::vector<std::pair<int, int>>{{1, 0}, {2, 1}, {3, 1}, {4, 2}}));
  pts.clear();
  CLine steep(5, 5, 4, 1);
  for (int i = 0; i < 4; ++i) {
    int x, y;
    steep.GetNext(&x, &y);
    pts.emplace_back(x, y);
  }
  EXPECT_EQ(pts.back(), std::make_pair(4, 1));
  for (size_t i = 0; i < pts.size(); ++i) EXPECT_EQ(pts[i].second, 4 - static_cast<int>(i));
}

TEST(Util, SortedListKeepsKeysAscending) {
  struct Item {
    int key;
    int payload;
  };
  QnoSortedList list(sizeof(Item));
  for (int k : {5, 1, 9, 5, 3}) {
    Item it{k, k * 10 + static_cast<int>(list.GetCount())};
    list.Insert(&it);
  }
  ASSERT_EQ(list.GetCount(), 5u);
  std::vector<int> keys;
  for (unsigned i = 0; i < list.GetCount(); ++i) keys.push_back(static_cast<const Item*>(list.GetAt(i))->key);
  EXPECT_EQ(keys, (std::vector<int>{1, 3, 5, 5, 9}));
  // Equal keys keep their insertion order.
  EXPECT_LT(static_cast<const Item*>(list.GetAt(2))->payload, static_cast<const Item*>(list.GetAt(3))->payload);
  EXPECT_EQ(list.GetAt(5), nullptr);
  list.Clear();
  EXPECT_EQ(list.GetCount(), 0u);
}

TEST(Seams, RandomSequenceIsFixedBySeedAndNonNegative) {
  zor_srandom(7);
  std::vector<int> first;
  for (int i = 0; i < 100; ++i) first.push_back(zor_random());
  zor_srandom(7);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(zor_random(), first[static_cast<size_t>(i)]);
  zor_srandom(8);
  EXPECT_NE(zor_random(), first[0]);
  for (int v : first) EXPECT_GE(v, 0);
  // The chance is the same sequence scaled into [0, 1).
  zor_srandom(7);
  for (int i = 0; i < 100; ++i) {
    const double c = zor_chance();
    EXPECT_EQ(c, first[static_cast<size_t>(i)] / 2147483648.0);
    EXPECT_LT(c, 1.0);
  }
}

TEST(Seams, TheRandomStepAndJumpOnACopyGoAsTheSequenceGoes) {
  // A copy of the position steps as the sequence draws.
  zor_srandom(11);
  uint64_t copy = zor_random_state();
  for (int i = 0; i < 50; ++i) EXPECT_EQ(zor_random_next(copy), zor_random());
  EXPECT_EQ(copy, zor_random_state());
  // Small, odd, power-of-two and long jumps, each against as many draws.
  for (uint64_t n : {0ull, 1ull, 2ull, 3ull, 7ull, 8ull, 63ull, 64ull, 65ull, 1000ull, (1ull << 20) + 12345}) {
    zor_srandom(11);
    const uint64_t from = zor_random_state();
    for (uint64_t i = 0; i < n; ++i) zor_random();
    EXPECT_EQ(zor_random_jump(from, n), zor_random_state()) << n << " values jumped";
  }
  // Jumps add up, from any position, and a long one runs through the bits.
  const uint64_t from = 0x0123456789abcdefULL;
  EXPECT_EQ(zor_random_jump(zor_random_jump(from, 5), (1ull << 40) + 3), zor_random_jump(from, (1ull << 40) + 8));
  EXPECT_NE(zor_random_jump(from, 1ull << 40), from);
}

TEST(Seams, ClockIsDrivenByHand) {
  zortest::Clock().Set(1000);
  EXPECT_EQ(kfx_GetTicks(), 1000u);
  zortest::Clock().Advance(250);
  EXPECT_EQ(kfx_GetTicks(), 1250u);
  // A wait is noted and not slept: the time is the test's to move.
  kfx_Wait(40);
  kfx_Wait(2);
  EXPECT_EQ(kfx_GetTicks(), 1250u);
  EXPECT_EQ(zortest::Clock().Waits(), 2);
  EXPECT_EQ(zortest::Clock().LastWait(), 2u);
  EXPECT_EQ(zortest::Clock().WaitedMs(), 42u);
  // Each look may cost time, as work that watches the clock sees it.
  zortest::Clock().SetReadCost(3);
  EXPECT_EQ(kfx_GetTicks(), 1250u);
  EXPECT_EQ(kfx_GetTicks(), 1253u);
  zortest::Clock().SetReadCost(0);
}

namespace {
// Passes of `workMs` each, the waits the pacer asks for slept on the
// hand-driven clock; returns how many passes ended within `spanMs`.
int PacedPasses(ZorFramePacer& pacer, uint32_t workMs, uint32_t spanMs) {
  const uint32_t start = zortest::Clock().Now();
  int passes = 0;
  while (zortest::Clock().Now() - start < spanMs) {
    zortest::Clock().Advance(workMs);
    ++passes;
    const uint32_t waited = pacer.WaitForNextFrame();
    EXPECT_LE(waited, 17u);
    zortest::Clock().Advance(waited);
  }
  return passes;
}
}  // namespace

TEST(FramePacer, KeepsASteadySixtyFramesASecond) {
  for (uint32_t start : {0u, 0xFFFFFC00u}) {  // also across the wrap of the tick count
    zortest::Clock().Set(start);
    ZorFramePacer pacer(60);
    EXPECT_EQ(PacedPasses(pacer, 3, 1000), 60) << start;
    EXPECT_EQ(PacedPasses(pacer, 9, 3000), 180) << start;
  }
  // Work that takes no time at all still gets one frame at a time.
  zortest::Clock().Set(500);
  ZorFramePacer pacer(60);
  EXPECT_EQ(PacedPasses(pacer, 0, 1000), 60);
}

TEST(FramePacer, ALatePassDoesNotWaitAndNoBurstFollows) {
  zortest::Clock().Set(0);
  ZorFramePacer pacer(60);
  zortest::Clock().Advance(5);
  EXPECT_EQ(pacer.WaitForNextFrame(), 11u) << "the first frame is due 16 ms after the start";
  zortest::Clock().Advance(11 + 20);
  EXPECT_EQ(pacer.WaitForNextFrame(), 0u) << "a pass that ends late";
  // Far behind: the next frames are paced from now on, not rushed.
  zortest::Clock().Advance(200);
  EXPECT_EQ(pacer.WaitForNextFrame(), 0u);
  zortest::Clock().Advance(4);
  EXPECT_EQ(pacer.WaitForNextFrame(), 12u);
  zortest::Clock().Advance(12 + 4);
  EXPECT_EQ(pacer.WaitForNextFrame(), 13u);
  // Late by less than a frame: the next frame keeps its time, 66 ms after
  // the count began.
  zortest::Clock().Advance(13 + 20);
  EXPECT_EQ(pacer.WaitForNextFrame(), 0u);
  zortest::Clock().Advance(1);
  EXPECT_EQ(pacer.WaitForNextFrame(), 12u);
  // Late by a whole frame (17 ms after 83 ms) starts the count afresh.
  zortest::Clock().Advance(12 + 34);
  EXPECT_EQ(pacer.WaitForNextFrame(), 0u);
  zortest::Clock().Advance(4);
  EXPECT_EQ(pacer.WaitForNextFrame(), 12u);
}

TEST(FramePacer, APassEndingRightOnTimeAsksForNoWait) {
  zortest::Clock().Set(0);
  zortest::Clock().ForgetWaits();
  ZorFramePacer pacer(60);
  zortest::Clock().Advance(16);
  EXPECT_EQ(pacer.WaitForNextFrame(), 0u);
  EXPECT_EQ(zortest::Clock().Waits(), 0);
  // At 25 frames a second a frame is 40 ms, and 40 ms late is a whole one.
  ZorFramePacer slow(25);
  zortest::Clock().Advance(80);
  EXPECT_EQ(slow.WaitForNextFrame(), 0u);
  zortest::Clock().Advance(10);
  EXPECT_EQ(slow.WaitForNextFrame(), 30u);
}

TEST(FramePacer, AClockThatStandsStillWaitsOneFrameAtATime) {
  zortest::Clock().Set(100);
  zortest::Clock().ForgetWaits();
  ZorFramePacer pacer(60);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(pacer.WaitForNextFrame(), 16u) << i;
  EXPECT_EQ(zortest::Clock().Waits(), 4);
  EXPECT_EQ(zortest::Clock().Now(), 100u);
  // After the wait, slept, the next frame follows on the new count.
  zortest::Clock().Advance(16 + 4);
  EXPECT_EQ(pacer.WaitForNextFrame(), 13u);
  // A clock put back does not make the pacer wait for the old times.
  zortest::Clock().Set(50);
  EXPECT_EQ(pacer.WaitForNextFrame(), 16u);
  // Another rate keeps its own period.
  ZorFramePacer slow(25);
  EXPECT_EQ(slow.WaitForNextFrame(), 40u);
}
