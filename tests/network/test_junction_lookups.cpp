// The network's lookups around a building: the nearest crossing seen in the
// strips of cells around it, with its distance from the centre.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "junction_scene.h"

namespace {

using namespace junctiontest;

TEST(JunctionLookups, TheNearestCrossingWithinThreeCellsIsFoundInEveryDirection) {
  World w;
  ASSERT_EQ(w.Build(20, 20, 20, 30), STR_BUILD_OK);
  CStrJunction* near = w.At(20, 20);
  CStrJunction* far = w.At(20, 30);
  ASSERT_NE(near, nullptr);
  ASSERT_NE(far, nullptr);
  for (int dx = -3; dx <= 3; ++dx)
    for (int dy = -3; dy <= 3; ++dy) {
      if (dx == 0 && dy >= 0) continue;  // the street's own cells
      SCOPED_TRACE(testing::Message() << "building at " << 20 + dx << "/" << 20 + dy);
      int dist = -2;
      CStrJunction* found = nullptr;
      EXPECT_EQ(w.net->GetNearestCrossing(static_cast<short>(20 + dx), static_cast<short>(20 + dy), &dist, 0, &found),
                near->GetSimID());
      EXPECT_EQ(found, near);
      EXPECT_EQ(dist, static_cast<int>(std::sqrt(dx * dx + dy * dy)));
      // Excluded, the street's other end is the nearest it shows.
      found = nullptr;
      const unsigned short other =
          w.net->GetNearestCrossing(static_cast<short>(20 + dx), static_cast<short>(20 + dy), &dist, near->GetSimID(), &found);
      if (dy > 0) {
        EXPECT_EQ(other, far->GetSimID());
        EXPECT_EQ(found, far);
      }
    }
}

// A deep building sees only the strips three cells round it: a crossing
// above them, nearer its centre than one in the strips, is not its nearest.
TEST(JunctionLookups, ADeepBuildingSeesOnlyTheStripsRoundIt) {
  constexpr int kDeepGroup = 562;  // 8 x 4 cells of buildings
  auto blobs = JunctionBlobs();
  std::vector<isotest::GroupPart> parts;
  for (uint32_t x = 0; x < 8; ++x)
    for (uint32_t y = 0; y < 4; ++y) parts.push_back({x, y, 0, isotest::kBuilding});
  blobs[kDeepGroup] = isotest::MakeGroup(8, 4, parts);
  World w(blobs);
  // One street round the group: its end 50/46 in the strip right of the
  // group, its end 44/36 a row above the strip over it.
  for (auto [x1, y1, x2, y2] : {std::array{50, 46, 60, 46}, {60, 46, 60, 36}, {60, 36, 44, 36}})
    ASSERT_EQ(w.Build(x1, y1, x2, y2), STR_BUILD_OK);
  ASSERT_EQ(w.map->SetIsoGroupAt(40, 40, ISO_LAYER_GROUND, kDeepGroup, nullptr), 0);
  int gw = 0, gd = 0;
  w.map->GetGroupSize(40, 40, ISO_LAYER_GROUND, gw, gd);
  ASSERT_EQ(gw, 8);
  ASSERT_EQ(gd, 4);
  int dist = -2;
  CStrJunction* found = nullptr;
  EXPECT_EQ(w.net->GetNearestCrossing(40, 40, &dist, 0, &found), w.At(50, 46)->GetSimID());
  EXPECT_EQ(found, w.At(50, 46));
  EXPECT_EQ(dist, 7);  // from the centre (44, 42): 6 east, 4 south
  CStrStrasse* street = nullptr;
  short hx = 0, hy = 0;
  EXPECT_TRUE(w.net->GetNearestStreet(40, 40, nullptr, &street, &hx, &hy));
  EXPECT_EQ(street, w.StreetBetween(50, 46, 44, 36));
  EXPECT_EQ(hx, 50);
  EXPECT_EQ(hy, 46);
}

}  // namespace
