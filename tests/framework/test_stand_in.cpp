#include <gtest/gtest.h>

#include <string>

#include "framework/qno_log.h"
#include "framework/zor_stand_in.h"
#include "support/test_support.h"

namespace {

int Occurrences(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

int MapNotBuilt(int answer) {
  ZOR_STAND_IN("TestThematicMap");
  return answer;
}

void SoundNotBuilt() { ZOR_STAND_IN("TestSound"); }

}  // namespace

TEST(StandIn, TheFirstCallOfEachStandInIsLoggedAndEveryCallCounted) {
  OpenErrorLog("errors.log");
  EXPECT_EQ(ZorStandInCount("TestThematicMap::MapNotBuilt"), 0);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(MapNotBuilt(i), i) << "the stand-in still answers its callers";
  SoundNotBuilt();
  CloseErrorLog();
  EXPECT_EQ(ZorStandInCount("TestThematicMap::MapNotBuilt"), 3);
  EXPECT_EQ(ZorStandInCount("TestSound::SoundNotBuilt"), 1);
  const std::string log = zortest::ReadFile("errors.log");
  EXPECT_EQ(Occurrences(log, "Not built yet: TestThematicMap::MapNotBuilt"), 1);
  EXPECT_EQ(Occurrences(log, "Not built yet: TestSound::SoundNotBuilt"), 1);
  // Names are told apart exactly.
  EXPECT_EQ(ZorStandInCount("TestSound::MapNotBuilt"), 0);
  EXPECT_EQ(ZorStandInCount("MapNotBuilt"), 0);
}

TEST(StandIn, TheReachedStandInsAreListedWithTheirCountsAndAddUpToTheTotal) {
  const std::map<std::string, int> before = ZorStandInsReached();
  const int total = ZorStandInTotal();
  EXPECT_EQ(before.count("TestListed::Listed_"), 0u) << "a stand-in not yet reached is not listed";
  struct Listed {
    static void Listed_() { ZOR_STAND_IN("TestListed"); }
  };
  for (int i = 0; i < 4; ++i) Listed::Listed_();
  const std::map<std::string, int> after = ZorStandInsReached();
  ASSERT_EQ(after.count("TestListed::Listed_"), 1u);
  EXPECT_EQ(after.at("TestListed::Listed_"), 4);
  EXPECT_EQ(ZorStandInTotal(), total + 4);
  int sum = 0;
  for (const auto& [name, count] : after) {
    EXPECT_GT(count, 0) << name;
    sum += count;
  }
  EXPECT_EQ(sum, ZorStandInTotal());
  EXPECT_EQ(after.size(), before.size() + 1);
}
