// A street drawn again where a track crosses it leaves the level crossing's
// picture on the crossing's cells, and its own tiles beside it; a street
// taken away from under a crossing leaves the track whole.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <utility>

#include "iso/iso_info.h"
#include "iso/iso_object.h"
#include "rail_scene.h"
#include "rail_storm.h"

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

// The cells whose picture or group differ, with both.
std::string Changed(const std::map<std::pair<int, int>, std::pair<int, int>>& before,
                    const std::map<std::pair<int, int>, std::pair<int, int>>& after) {
  std::string out;
  for (const auto& [at, was] : before) {
    const auto now = after.at(at);
    if (now == was) continue;
    for (const std::string& part :
         {std::string(" "), std::to_string(at.first), std::string("/"), std::to_string(at.second), std::string(": "),
          std::to_string(was.first), std::string(","), std::to_string(was.second), std::string(" -> "),
          std::to_string(now.first), std::string(","), std::to_string(now.second)})
      out += part;
  }
  return out;
}

TEST(StreetUnderCrossing, DrawingTheStreetAgainKeepsTheCrossingsPicture) {
  for (bool trackFirst : {false, true}) {
    SCOPED_TRACE(trackFirst ? "track first" : "street first");
    RailWorld w;
    ASSERT_TRUE(w.StreetAndTrack(trackFirst));
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

// Every cell near (x, y) that a level crossing covers.
template <typename W>
std::set<std::pair<int, int>> CrossingCells(W& rails, int x, int y) {
  std::set<std::pair<int, int>> out;
  for (int cx = x - 4; cx <= x + 4; ++cx)
    for (int cy = y - 4; cy <= y + 4; ++cy)
      if (rails->HasGrdCrossingAt(static_cast<short>(cx), static_cast<short>(cy))) out.insert({cx, cy});
  return out;
}

TEST(StreetUnderCrossing, TakingTheStreetsDrawingAwayAndBackKeepsTheCrossingsPicture) {
  for (int type : {1, 2, 4}) {
    SCOPED_TRACE(testing::Message() << "street type " << type);
    RailWorld w;
    ASSERT_EQ(w.Build(10, 10, 10, 30, static_cast<TStrassenType>(type)), STR_BUILD_OK);
    ASSERT_EQ(w.Track(2, 20, 30, 20), STR_BUILD_OK);
    ASSERT_EQ(w.Crossings().size(), 1u);
    CStrStrasse* street = w.StreetBetween(10, 10, 10, 30);
    ASSERT_NE(street, nullptr);
    const auto before = GroundAround(w, 10, 20);
    const auto cells = CrossingCells(w.rails, 10, 20);
    ASSERT_FALSE(cells.empty());
    ASSERT_EQ(street->RemoveFromIsoWelt(false), 0);
    // The crossing's cells keep its picture while the street is away.
    for (const auto& [x, y] : cells) {
      const CIsoObjGroup* g =
          w.map->GetGroupAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), ISO_LAYER_GROUND);
      EXPECT_TRUE(g && g->GetResID() == before.at({x, y}).second) << x << "/" << y;
    }
    ASSERT_EQ(street->InsertIntoIsoWelt(), 0);
    // Every type gives back exactly what was there: a four-lane group laid
    // on the tile before the crossing leaves the crossing's row to it.
    EXPECT_EQ(Changed(before, GroundAround(w, 10, 20)), "");
  }
}

// A street deleted from under a level crossing: the crossing goes, the
// track is drawn whole over the cells it covered, and both networks pass
// every check of the rail storm and a save and load after each step.
TEST(StreetUnderCrossing, DeletingTheStreetLeavesThePlainTrack) {
  g_ZorLoadVersion = 240;
  for (const char* type : {"1", "2", "4"}) {
    SCOPED_TRACE(testing::Message() << "street type " << type);
    stormtest::RailStormWorld sw;
    const std::string t = type;
    const std::vector<stormtest::Op> ops =
        stormtest::Parse("B 4 28 20 28 " + t + "\nB 12 10 12 28 " + t + "\nB 4 20 24 20 9\nD 12 10 12 28 " + t + "\n");
    std::set<std::pair<int, int>> cells;
    for (size_t i = 0; i < ops.size(); ++i) {
      if (ops[i].kind == 'D') cells = CrossingCells(sw.rails, 12, 20);
      int result = -1;
      for (const std::string& f : stormtest::RailStep(sw, ops[i], static_cast<int>(i), 1, &result))
        ADD_FAILURE() << "step " << i + 1 << ": " << f;
      ASSERT_EQ(result, ops[i].kind == 'B' ? STR_BUILD_OK : 0) << stormtest::Format(ops[i]);
    }
    ASSERT_FALSE(cells.empty());
    EXPECT_EQ(stormtest::CountCrossings(sw), 0u);
    for (const auto& [x, y] : cells) {
      SCOPED_TRACE(testing::Message() << x << "/" << y);
      EXPECT_FALSE(sw.rails->HasGrdCrossingAt(static_cast<short>(x), static_cast<short>(y)));
      EXPECT_EQ(sw.w.map->GetTypeAt(x, y, ISO_LAYER_GROUND), OBJ_RAIL_PIECE);
      const CIsoObjGroup* g =
          sw.w.map->GetGroupAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), ISO_LAYER_GROUND);
      EXPECT_TRUE(g && g->GetResID() == CStrSchienen::kStraightResID);
    }
    // Off the track the street's cells are plain ground again.
    EXPECT_EQ(sw.w.map->GetTypeAt(12, 14, ISO_LAYER_GROUND), OBJ_GROUND);
    EXPECT_EQ(sw.w.map->GetTypeAt(12, 25, ISO_LAYER_GROUND), OBJ_GROUND);
  }
  g_ZorLoadVersion = 0;
}

}  // namespace
