// What the rail preview asks a track about its cells: the cells before a
// bend, and where a level crossing still fits; and the repair of the
// streets under a track's level crossings.
#include <gtest/gtest.h>

#include <utility>

#include "microsim/micro_cells.h"
#include "rail_scene.h"

namespace {

using namespace railtest;

TEST(RailPredicates, TheCellsBeforeABendLieThreeAndFourCellsIntoEitherPieceOnBothRows) {
  RailWorld w;
  // Up from (20, 40) to the bend at (20, 20), then on to (50, 20).
  ASSERT_EQ(w.Track(20, 40, 20, 20), STR_BUILD_OK);
  ASSERT_EQ(w.Track(20, 20, 50, 20), STR_BUILD_OK);
  CStrSchienen* t = w.Tracks().at(0);
  ASSERT_EQ(t->GetNumber(), 2u);
  for (int across : {20, 21}) {
    SCOPED_TRACE(across);
    const auto a = static_cast<short>(across);
    EXPECT_TRUE(t->PointIsBeforBend(a, 23));
    EXPECT_TRUE(t->PointIsBeforBend(23, a));
    EXPECT_TRUE(t->PointIsTwoBeforBend(a, 24));
    EXPECT_TRUE(t->PointIsTwoBeforBend(24, a));
    for (int along : {22, 24, 25, 30}) {
      EXPECT_FALSE(t->PointIsBeforBend(a, static_cast<short>(along))) << along;
      EXPECT_FALSE(t->PointIsBeforBend(static_cast<short>(along), a)) << along;
    }
    EXPECT_FALSE(t->PointIsTwoBeforBend(a, 23));
    EXPECT_FALSE(t->PointIsTwoBeforBend(23, a));
  }
  // Off the track's rows nothing is before the bend.
  EXPECT_FALSE(t->PointIsBeforBend(22, 23));
  EXPECT_FALSE(t->PointIsBeforBend(19, 23));
}

TEST(RailPredicates, AStraightTrackHasNoCellBeforeABend) {
  RailWorld w;
  ASSERT_EQ(w.Track(20, 20, 50, 20), STR_BUILD_OK);
  for (int x = 20; x <= 50; ++x) {
    EXPECT_FALSE(w.Tracks().at(0)->PointIsBeforBend(static_cast<short>(x), 20)) << x;
    EXPECT_FALSE(w.Tracks().at(0)->PointIsTwoBeforBend(static_cast<short>(x), 21)) << x;
  }
}

TEST(RailPredicates, ALevelCrossingFitsOnlyTwoCellsClearOfBendsJunctionsAndOtherCrossings) {
  RailWorld w;
  ASSERT_EQ(w.Build(40, 10, 40, 30), STR_BUILD_OK);
  ASSERT_EQ(w.Track(20, 45, 20, 20), STR_BUILD_OK);
  ASSERT_EQ(w.Track(20, 20, 60, 20), STR_BUILD_OK);
  ASSERT_EQ(w.Crossings().size(), 1u);  // the street at x 40
  CStrSchienen* t = w.Tracks().at(0);
  // Clear cells along both pieces.
  EXPECT_TRUE(t->PointIsSpaceForRailCrossing(30, 20));
  EXPECT_TRUE(t->PointIsSpaceForRailCrossing(20, 32));
  // On the bend, or within two cells of a cell before it.
  EXPECT_FALSE(t->PointIsSpaceForRailCrossing(20, 20));
  EXPECT_FALSE(t->PointIsSpaceForRailCrossing(25, 20));
  EXPECT_FALSE(t->PointIsSpaceForRailCrossing(20, 25));
  EXPECT_TRUE(t->PointIsSpaceForRailCrossing(26, 20));
  // Within two cells of the crossing's cells (x 39 to 41).
  EXPECT_FALSE(t->PointIsSpaceForRailCrossing(37, 20));
  EXPECT_FALSE(t->PointIsSpaceForRailCrossing(43, 20));
  EXPECT_TRUE(t->PointIsSpaceForRailCrossing(36, 20));
  EXPECT_TRUE(t->PointIsSpaceForRailCrossing(44, 20));
  // Within two cells of an end junction's group.
  EXPECT_FALSE(t->PointIsSpaceForRailCrossing(58, 20));
  EXPECT_FALSE(t->PointIsSpaceForRailCrossing(20, 43));
  // Off the track there is no direction.
  EXPECT_FALSE(t->PointIsSpaceForRailCrossing(30, 25));
}

TEST(RailPredicates, ADeadEndIsBuiltOnFromTheCellJustInsideItsGroupOnlyWhereTheTrackRunsOnPlainly) {
  RailWorld w;
  // A line from (20, 20) to (50, 20) and a branch down from (34, 20) to
  // (34, 45): dead ends at x 20 and x 50 (group towards +x) and at y 45.
  ASSERT_EQ(w.Track(20, 20, 50, 20), STR_BUILD_OK);
  ASSERT_EQ(w.Track(34, 20, 34, 45), STR_BUILD_OK);
  auto track = [&](int x, int y) { return w.TrackAt(x, y); };
  struct End {
    int x, y;  // the cell just inside the end's group
    int dx, dy;  // into the track
  };
  for (const End e : {End{22, 20, 1, 0}, End{49, 20, -1, 0}, End{34, 44, 0, -1}}) {
    SCOPED_TRACE(std::to_string(e.x) + "/" + std::to_string(e.y));
    CStrSchienen* t = track(e.x, e.y);
    ASSERT_NE(t, nullptr);
    const auto x = static_cast<short>(e.x), y = static_cast<short>(e.y);
    EXPECT_TRUE(t->PointBeforEndStueckSchienenAndRailLong(x, y, false));
    EXPECT_TRUE(t->PointBeforEndStueckSchienenAndRailLong(x, y, true));
    // One cell further in, and on the end's group, it is no such cell.
    for (int d : {1, -1}) {
      const auto nx = static_cast<short>(x + d * e.dx), ny = static_cast<short>(y + d * e.dy);
      EXPECT_FALSE(t->PointBeforEndStueckSchienenAndRailLong(nx, ny, false)) << d;
    }
  }
  // Before the T junction the cells are before a junction, but no dead end.
  for (const auto& [x, y] : {std::pair{32, 20}, std::pair{37, 20}, std::pair{34, 23}}) {
    bool deadEnd = false;
    CStrSchienen* t = track(x, y);
    ASSERT_NE(t, nullptr);
    ASSERT_TRUE(t->PointBeforJunction(static_cast<short>(x), static_cast<short>(y), deadEnd)) << x << "/" << y;
    EXPECT_FALSE(t->PointBeforEndStueckSchienenAndRailLong(static_cast<short>(x), static_cast<short>(y), false));
  }
  // A street is no track.
  ASSERT_EQ(w.Build(60, 10, 60, 30), STR_BUILD_OK);
  EXPECT_FALSE(w.StreetBetween(60, 10, 60, 30)->PointBeforEndStueckSchienenAndRailLong(60, 12, false));
}

TEST(RailPredicates, ADeadEndIsNotBuiltOnWhereAJunctionOrALevelCrossingFollowsWithinThreeCells) {
  RailWorld w;
  ASSERT_EQ(w.Build(45, 10, 45, 30), STR_BUILD_OK);
  // The crossing with the street at x 45 covers x 44 to 46: three cells in
  // from the end at x 50.
  ASSERT_EQ(w.Track(20, 20, 50, 20), STR_BUILD_OK);
  ASSERT_TRUE(w.rails->HasGrdCrossingAt(46, 20));
  ASSERT_FALSE(w.rails->HasGrdCrossingAt(47, 20));
  CStrSchienen* t = w.Tracks().at(0);
  EXPECT_TRUE(t->PointBeforEndStueckSchienenAndRailLong(49, 20, false));
  EXPECT_FALSE(t->PointBeforEndStueckSchienenAndRailLong(49, 20, true));
  // At the other end the track runs on plainly.
  EXPECT_TRUE(t->PointBeforEndStueckSchienenAndRailLong(22, 20, true));
  // A short branch whose third cell in is the T junction's group.
  ASSERT_EQ(w.Track(30, 20, 30, 26), STR_BUILD_OK);
  CStrSchienen* branch = w.TrackAt(30, 25);
  ASSERT_NE(branch, nullptr);
  EXPECT_TRUE(branch->PointBeforEndStueckSchienenAndRailLong(30, 25, false));
  EXPECT_FALSE(branch->PointBeforEndStueckSchienenAndRailLong(30, 25, true));
}

TEST(RailPredicates, RepairingTheStreetsUnderATracksCrossingsDrawsThemWithTheirCellsAgain) {
  RailWorld w;
  ASSERT_EQ(w.Build(10, 10, 10, 30), STR_BUILD_OK);
  ASSERT_EQ(w.Track(2, 20, 30, 20), STR_BUILD_OK);
  CStrStrasse* street = w.StreetBetween(10, 10, 10, 30);
  ASSERT_NE(street, nullptr);
  ASSERT_EQ(street->GetMicroZellen(10, 20), nullptr);
  CStrSchienen* track = w.Tracks().at(0);
  ASSERT_EQ(track->RemoveFromIsoWelt(true), 0);
  for (int y = 19; y <= 22; ++y) {
    EXPECT_EQ(w.GroundType(10, y), OBJ_STREET_PIECE) << y;
    EXPECT_NE(street->GetMicroZellen(10, static_cast<unsigned short>(y)), nullptr) << y;
  }
  // The track keeps its crossing, and draws it over the street again.
  ASSERT_EQ(w.Crossings().size(), 1u);
  ASSERT_EQ(track->InsertIntoIsoWelt(), 0);
  EXPECT_EQ(w.GroundType(10, 20), OBJ_RAIL_PIECE);
  EXPECT_EQ(street->GetMicroZellen(10, 20), nullptr);
  EXPECT_NE(street->GetMicroZellen(10, 19), nullptr);
}

TEST(RailPredicates, AStreetCellIsBeforeALevelCrossingOnlyBesideItAlongTheStreet) {
  // A street down y across a track along x, and the same turned: a street
  // along x across a track down y.
  for (const bool alongY : {true, false}) {
    SCOPED_TRACE(alongY ? "street along y" : "street along x");
    // The cell `along` the street and `across` it.
    auto cell = [alongY](int across, int along) {
      return alongY ? std::pair<short, short>(across, along) : std::pair<short, short>(along, across);
    };
    RailWorld w;
    const auto [s1x, s1y] = cell(44, 10);
    const auto [s2x, s2y] = cell(44, 30);
    const auto [t1x, t1y] = cell(20, 20);
    const auto [t2x, t2y] = cell(60, 20);
    ASSERT_EQ(w.Build(s1x, s1y, s2x, s2y), STR_BUILD_OK);
    ASSERT_EQ(w.Track(t1x, t1y, t2x, t2y), STR_BUILD_OK);
    ASSERT_EQ(w.Crossings().size(), 1u);
    ASSERT_EQ(w.Streets().size(), 1u);
    CStrStrasse* street = w.Streets().front();
    int first = -1, last = -1;
    for (int a = 10; a <= 30; ++a)
      if (const auto [x, y] = cell(44, a); w.rails->HasGrdCrossingAt(x, y)) {
        if (first < 0) first = a;
        last = a;
      }
    ASSERT_GT(first, 11);
    ASSERT_LT(last, 29);
    for (int a = 11; a <= 29; ++a) {
      const bool beside = a == first - 1 || a == last + 1;
      const auto [x, y] = cell(44, a);
      EXPECT_EQ(street->PointIsBeforeRailCrossing(x, y), beside) << "cell " << x << "/" << y;
    }
    // A cell beside the crossing has no room for another one.
    const auto [bx, by] = cell(44, first - 1);
    EXPECT_FALSE(street->PointIsSpaceForRailCrossing(bx, by));
    // Off the street, nothing is before a crossing.
    const auto [ox, oy] = cell(45, first - 1);
    EXPECT_FALSE(street->PointIsBeforeRailCrossing(ox, oy));
  }
}

}  // namespace
