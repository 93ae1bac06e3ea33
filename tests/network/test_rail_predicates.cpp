// What the rail preview asks a track about its cells: the cells before a
// bend, and where a level crossing still fits; and the repair of the
// streets under a track's level crossings.
#include <gtest/gtest.h>

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
  // Within two cells of the crossing's cells (x 39 to 42).
  EXPECT_FALSE(t->PointIsSpaceForRailCrossing(37, 20));
  EXPECT_FALSE(t->PointIsSpaceForRailCrossing(44, 20));
  EXPECT_TRUE(t->PointIsSpaceForRailCrossing(36, 20));
  EXPECT_TRUE(t->PointIsSpaceForRailCrossing(45, 20));
  // Within two cells of an end junction's group.
  EXPECT_FALSE(t->PointIsSpaceForRailCrossing(58, 20));
  EXPECT_FALSE(t->PointIsSpaceForRailCrossing(20, 43));
  // Off the track there is no direction.
  EXPECT_FALSE(t->PointIsSpaceForRailCrossing(30, 25));
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

}  // namespace
