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

TEST(Seams, ClockIsDrivenByHand) {
  zortest::Clock().Set(1000);
  EXPECT_EQ(kfx_GetTicks(), 1000u);
  zortest::Clock().Advance(250);
  EXPECT_EQ(kfx_GetTicks(), 1250u);
}
