// The street network's log of the streets whose cells changed: what the
// rail network reads after each edit instead of walking every street.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <utility>
#include <vector>

#include "junction_scene.h"
#include "support/test_support.h"

namespace {

using junctiontest::World;
using zortest::ByteList;
using zortest::RecordFile;

bool Names(const std::vector<CStrStrasse*>& list, CStrStrasse* s) {
  return std::find(list.begin(), list.end(), s) != list.end();
}

TEST(CellIndexLog, NamesTheStreetsAnEditChangedOnceAndTheGoneOnesOnlyAsGone) {
  World w{junctiontest::GameData{}};
  std::vector<CStrStrasse*> changed, gone;
  ASSERT_EQ(w.Build(10, 10, 30, 10), STR_BUILD_OK);
  // The first call reaches back to nothing.
  EXPECT_FALSE(w.net->TakeIndexChanges(&changed, &gone));
  EXPECT_TRUE(w.net->TakeIndexChanges(&changed, &gone));
  EXPECT_TRUE(changed.empty());
  EXPECT_TRUE(gone.empty());

  // A street onto the middle of the first splits it: the new street and
  // both halves changed, each named once; the old whole street is gone.
  CStrStrasse* whole = w.StreetBetween(10, 10, 30, 10);
  ASSERT_NE(whole, nullptr);
  ASSERT_EQ(w.Build(20, 10, 20, 30), STR_BUILD_OK);
  ASSERT_TRUE(w.net->TakeIndexChanges(&changed, &gone));
  for (CStrStrasse* s : {w.StreetBetween(10, 10, 20, 10), w.StreetBetween(20, 10, 30, 10),
                         w.StreetBetween(20, 10, 20, 30)}) {
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(std::count(changed.begin(), changed.end(), s), 1);
  }
  // The split street is either kept as one half or gone.
  EXPECT_TRUE(Names(changed, whole) || Names(gone, whole));

  // Nothing happened since: both lists come back empty.
  ASSERT_TRUE(w.net->TakeIndexChanges(&changed, &gone));
  EXPECT_TRUE(changed.empty());
  EXPECT_TRUE(gone.empty());

  // A deleted street is named as gone, not as changed.
  CStrStrasse* side = w.StreetBetween(20, 10, 20, 30);
  ASSERT_EQ(w.net->DeleteStreet(side), 0);
  ASSERT_TRUE(w.net->TakeIndexChanges(&changed, &gone));
  EXPECT_TRUE(Names(gone, side));
  EXPECT_FALSE(Names(changed, side));
}

TEST(CellIndexLog, ALoadedNetworkNamesEveryStreetAndAnEmptiedOneStartsTheLogAgain) {
  std::vector<CStrStrasse*> changed, gone;
  RecordFile file;
  {
    World w{junctiontest::GameData{}};
    ASSERT_EQ(w.Build(10, 10, 30, 10), STR_BUILD_OK);
    ASSERT_EQ(w.Build(20, 10, 20, 30), STR_BUILD_OK);
    ASSERT_EQ(w.net->SerializeGameStore(file.f()), 0);
  }
  const ByteList bytes = file.Bytes();
  World v{junctiontest::GameData{}};
  v.net->TakeIndexChanges(&changed, &gone);
  file.Fill(bytes);
  g_ZorLoadVersion = 240;
  const int loaded = v.net->SerializeGameLoad(file.f());
  g_ZorLoadVersion = 0;
  ASSERT_EQ(loaded, 0);
  ASSERT_TRUE(v.net->TakeIndexChanges(&changed, &gone));
  for (CStrStrasse* s : {v.StreetBetween(10, 10, 20, 10), v.StreetBetween(20, 10, 30, 10),
                         v.StreetBetween(20, 10, 20, 30)}) {
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(std::count(changed.begin(), changed.end(), s), 1);
  }
  EXPECT_EQ(changed.size(), 3u);
  // Emptied, the network's streets went without a word: the log says it
  // does not reach back, and starts again.
  v.net->Destroy();
  v.net->Create();
  EXPECT_FALSE(v.net->TakeIndexChanges(&changed, &gone));
  EXPECT_TRUE(v.net->TakeIndexChanges(&changed, &gone));
  // Nor do its cells name anything gone, and so again once emptied after
  // streets were built in it (the map still shows the first ones).
  auto empty = [&](std::initializer_list<std::pair<int, int>> cells) {
    for (auto [x, y] : cells) {
      EXPECT_TRUE(v.net->JunctionsIndexedAt(x, y).empty()) << x << "," << y;
      EXPECT_TRUE(v.net->StreetsIndexedAt(x, y).empty()) << x << "," << y;
    }
  };
  empty({{10, 10}, {20, 10}, {20, 30}, {15, 10}});
  ASSERT_EQ(v.Build(50, 50, 70, 50), STR_BUILD_OK);
  ASSERT_EQ(v.Build(60, 50, 60, 70), STR_BUILD_OK);
  ASSERT_EQ(v.net->JunctionsIndexedAt(60, 50).size(), 1u);
  EXPECT_EQ(v.net->StreetsIndexedAt(55, 50).size(), 1u);
  v.net->Destroy();
  v.net->Create();
  empty({{50, 50}, {60, 50}, {60, 70}, {55, 50}});
}

}  // namespace
