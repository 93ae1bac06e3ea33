// The network's lookups around a building: the nearest crossing seen in the
// strips of cells around it, with its distance from the centre.
#include <gtest/gtest.h>

#include <cmath>

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

}  // namespace
