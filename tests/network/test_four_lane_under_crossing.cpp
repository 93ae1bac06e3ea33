// A four-lane street that a track crosses, drawn again (by itself, when a
// junction is built on it elsewhere, and on loading): its group laid on the
// tile before the crossing reaches one tile further but leaves the level
// crossing's cells showing the crossing, whichever way the street was drawn
// and whichever side the track came from; and the cells of both networks
// still lead into live layouts.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "iso/iso_info.h"
#include "iso/iso_object.h"
#include "rail_storm.h"

namespace {

using stormtest::Op;
using stormtest::RailStormWorld;

// A step from 6 to 26 (or back) along y at x `at`, or along x at y `at`.
Op Line(bool alongY, int at, bool up, int type) {
  Op o;
  o.type = type;
  const int a = up ? 6 : 26, b = up ? 26 : 6;
  o.x1 = alongY ? at : a;
  o.x2 = alongY ? at : b;
  o.y1 = alongY ? a : at;
  o.y2 = alongY ? b : at;
  return o;
}

// A four-lane street across a track, away from the storm world's rivers:
// along y at x 14 (or along x at y 14) between 6 and 26, the track across
// it at 16; each drawn towards larger or smaller coordinates, and the track
// laid before or after the street.
struct Scene {
  bool alongY, streetUp, trackUp, trackFirst;

  Op Street() const { return Line(alongY, 14, streetUp, STRASSE_VIERSPURIG); }
  Op Track() const { return Line(!alongY, 16, trackUp, STRASSE_SCHIENE); }
  std::string Name() const {
    return std::string(alongY ? "street along y" : "street along x") + (streetUp ? " drawn up" : " drawn down") +
           (trackUp ? ", track drawn up" : ", track drawn down") + (trackFirst ? ", track first" : ", street first");
  }
};

std::vector<Scene> Scenes() {
  std::vector<Scene> out;
  for (bool alongY : {true, false})
    for (bool streetUp : {true, false})
      for (bool trackUp : {true, false})
        for (bool trackFirst : {false, true}) out.push_back({alongY, streetUp, trackUp, trackFirst});
  return out;
}

// Builds the scene with every step checked; false when a step failed.
bool Build(RailStormWorld& sw, const Scene& s) {
  int step = 0;
  for (const Op& o : s.trackFirst ? std::vector<Op>{s.Track(), s.Street()} : std::vector<Op>{s.Street(), s.Track()}) {
    int result = -1;
    for (const std::string& f : stormtest::RailStep(sw, o, step++, 0, &result)) ADD_FAILURE() << f;
    if (result != STR_BUILD_OK) return false;
  }
  return stormtest::CountCrossings(sw) == 1;
}

// The cells around the meeting that a level crossing covers.
std::set<std::pair<int, int>> CrossingCells(RailStormWorld& sw) {
  std::set<std::pair<int, int>> out;
  for (int x = 8; x <= 24; ++x)
    for (int y = 8; y <= 24; ++y)
      if (sw.rails->HasGrdCrossingAt(static_cast<short>(x), static_cast<short>(y))) out.insert({x, y});
  return out;
}

// The crossing's cells that do not show the four-lane crossing's group on
// the track's object.
std::string CoveredCrossingCells(CIsoWelt* map, const std::set<std::pair<int, int>>& cells) {
  std::ostringstream out;
  for (const auto& [x, y] : cells) {
    const CIsoObjGroup* g = map->GetGroupAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), ISO_LAYER_GROUND);
    if (!g || g->GetResID() != CGrdCrossing::kResID4 || map->GetTypeAt(x, y, ISO_LAYER_GROUND) != OBJ_RAIL_PIECE)
      out << ' ' << x << '/' << y << " shows " << (g ? g->GetResID() : 0);
  }
  return out.str();
}

CStrStrasse* FourLaneStreet(RailStormWorld& sw) {
  for (CStrStrasse* s : sw.w.Streets())
    if (s->GetStreetType() == STRASSE_VIERSPURIG) return s;
  return nullptr;
}

TEST(FourLaneUnderCrossing, DrawingTheStreetAgainLeavesTheCrossingShown) {
  for (const Scene& s : Scenes()) {
    SCOPED_TRACE(s.Name());
    RailStormWorld sw;
    ASSERT_TRUE(Build(sw, s));
    const auto cells = CrossingCells(sw);
    // Four cells across the track, two along it.
    ASSERT_EQ(cells.size(), 8u);
    ASSERT_EQ(CoveredCrossingCells(sw.w.map, cells), "");
    CStrStrasse* street = FourLaneStreet(sw);
    ASSERT_NE(street, nullptr);
    ASSERT_EQ(street->InsertIntoIsoWelt(), 0);
    EXPECT_EQ(CoveredCrossingCells(sw.w.map, cells), "");
    for (const std::string& f : stormtest::CheckAll(sw)) ADD_FAILURE() << f;
    // Drawn again once more, the picture holds.
    ASSERT_EQ(street->InsertIntoIsoWelt(), 0);
    EXPECT_EQ(CoveredCrossingCells(sw.w.map, cells), "");
  }
}

TEST(FourLaneUnderCrossing, AJunctionBuiltOnTheStreetElsewhereLeavesTheCrossingShown) {
  for (const Scene& s : Scenes()) {
    SCOPED_TRACE(s.Name());
    RailStormWorld sw;
    ASSERT_TRUE(Build(sw, s));
    const auto cells = CrossingCells(sw);
    // A side street joins the four-lane street at 10 and at 22, on either
    // side of the crossing: the street is split and each part drawn again.
    int step = 2;
    for (int at : {10, 22}) {
      Op side;
      side.type = STRASSE_1;
      side.x1 = s.alongY ? 14 : at;
      side.y1 = s.alongY ? at : 14;
      side.x2 = s.alongY ? 6 : at;
      side.y2 = s.alongY ? at : 6;
      int result = -1;
      for (const std::string& f : stormtest::RailStep(sw, side, step++, 0, &result)) ADD_FAILURE() << f;
      ASSERT_EQ(result, STR_BUILD_OK);
      EXPECT_EQ(CrossingCells(sw), cells);
      EXPECT_EQ(CoveredCrossingCells(sw.w.map, cells), "");
    }
  }
}

// The tiles from 6 to 26 along the street and across its two tiles that
// carry the bus lane's layer along the tiles.
std::set<std::pair<int, int>> LaneCells(RailStormWorld& sw, const Scene& s) {
  std::set<std::pair<int, int>> out;
  for (int along = 6; along <= 26; ++along)
    for (int across : {14, 15}) {
      const int x = s.alongY ? across : along, y = s.alongY ? along : across;
      CIsoObjLst* objects = sw.w.map->GetIsoInfo(x, y)->GetIsoObjects(ISO_LAYER_GROUND);
      for (CZorvaObject* o = objects ? objects->GetHead() : nullptr; o; o = o->GetNext())
        if (static_cast<CIsoObject*>(o)->GetResID() == 31243) out.insert({x, y});
    }
  return out;
}

TEST(FourLaneUnderCrossing, ABusLaneLeavesTheCrossingBareAndGoesWhole) {
  for (const Scene& s : Scenes()) {
    SCOPED_TRACE(s.Name());
    RailStormWorld sw;
    ASSERT_TRUE(Build(sw, s));
    const auto crossing = CrossingCells(sw);
    CStrStrasse* street = FourLaneStreet(sw);
    ASSERT_NE(street, nullptr);
    ASSERT_EQ(street->CreateBusSpur(), 0);
    const auto lane = LaneCells(sw, s);
    // The lane runs on both sides of the track, on both tiles across...
    for (int along : {10, 22})
      for (int across : {14, 15})
        EXPECT_EQ(lane.count(s.alongY ? std::pair{across, along} : std::pair{along, across}), 1u)
            << along << " across " << across;
    // ...but on none of the crossing's.
    for (const auto& cell : crossing) EXPECT_EQ(lane.count(cell), 0u) << cell.first << '/' << cell.second;
    EXPECT_EQ(CoveredCrossingCells(sw.w.map, crossing), "");
    ASSERT_EQ(street->DeleteBusSpur(), 0);
    EXPECT_TRUE(LaneCells(sw, s).empty());
  }
}

TEST(FourLaneUnderCrossing, TheLoadedMapShowsTheCrossing) {
  g_ZorLoadVersion = 240;
  for (const Scene& s : Scenes()) {
    SCOPED_TRACE(s.Name());
    RailStormWorld sw;
    ASSERT_TRUE(Build(sw, s));
    const auto cells = CrossingCells(sw);
    EXPECT_TRUE(stormtest::WithLoadedCopy(sw, [&](RailStormWorld& loaded) {
      EXPECT_EQ(CrossingCells(loaded), cells);
      EXPECT_EQ(CoveredCrossingCells(loaded.w.map, cells), "");
      for (const std::string& f : stormtest::CheckAll(loaded)) ADD_FAILURE() << "after loading: " << f;
    }));
  }
  g_ZorLoadVersion = 0;
}

}  // namespace
