// A street drawn again where a track crosses it leaves the level crossing's
// picture on the crossing's cells, and its own tiles beside it.
#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "iso/iso_info.h"
#include "iso/iso_object.h"
#include "rail_scene.h"

namespace {

using namespace railtest;

// The ground picture and group of every cell around (x, y).
std::map<std::pair<int, int>, std::pair<int, int>> GroundAround(RailWorld& w, int x, int y) {
  std::map<std::pair<int, int>, std::pair<int, int>> out;
  for (int cx = x - 4; cx <= x + 4; ++cx)
    for (int cy = y - 4; cy <= y + 4; ++cy) {
      const CIsoObjGroup* g =
          w.map->GetGroupAt(static_cast<unsigned short>(cx), static_cast<unsigned short>(cy), ISO_LAYER_GROUND);
      out[{cx, cy}] = {w.GroundRes(cx, cy), g ? g->GetResID() : 0};
    }
  return out;
}

TEST(StreetUnderCrossing, DrawingTheStreetAgainKeepsTheCrossingsPicture) {
  for (bool trackFirst : {false, true}) {
    SCOPED_TRACE(trackFirst ? "track first" : "street first");
    RailWorld w;
    if (trackFirst) {
      ASSERT_EQ(w.Track(2, 20, 30, 20), STR_BUILD_OK);
    }
    ASSERT_EQ(w.Build(10, 10, 10, 30), STR_BUILD_OK);
    if (!trackFirst) {
      ASSERT_EQ(w.Track(2, 20, 30, 20), STR_BUILD_OK);
    }
    ASSERT_EQ(w.Crossings().size(), 1u);
    CStrStrasse* street = w.StreetBetween(10, 10, 10, 30);
    ASSERT_NE(street, nullptr);
    int under = 0;
    for (int y = 10; y <= 30; ++y) under += w.rails->HasGrdCrossingAt(10, static_cast<short>(y));
    ASSERT_GT(under, 0);
    const auto before = GroundAround(w, 10, 20);
    ASSERT_EQ(street->InsertIntoIsoWelt(), 0);
    EXPECT_EQ(GroundAround(w, 10, 20), before);
    // The tiles of the street off the crossing are the street's.
    EXPECT_EQ(w.GroundType(10, 14), OBJ_STREET_PIECE);
    EXPECT_EQ(w.GroundType(10, 26), OBJ_STREET_PIECE);
  }
}

}  // namespace
