// The space rules on a real map and street network: a location's street
// access (turned footprints, the map's edges), a street that alone serves
// a building, like neighbours, and the place for a larger building over a
// block of small ones.
#include <gtest/gtest.h>

#include <vector>

#include "framework/zor_pointer_list.h"
#include "framework/zor_seams.h"
#include "measures/building_object.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/street_objects.h"
#include "world/map_fixture.h"

namespace {

using maptest::kGroup1x1;
using maptest::kGroup2x3;
using maptest::kGroupWide;

struct SpaceRules : maptest::MapFixture<CZorvaWorld> {
  CBuildingObject* Make(TObjectType kind, int resId, int dir, int x, int y) {
    auto* b = dynamic_cast<CBuildingObject*>(world->CreateObject(
        kind, resId, CIsoRichtung(dir), x, y, static_cast<ESimLocationHeight>(0), nullptr, 0, nullptr, 0, -1));
    EXPECT_NE(b, nullptr) << "at " << x << "/" << y;
    EXPECT_TRUE(b && b->GetSimLocation());
    return b;
  }
  int Build(int x1, int y1, int x2, int y2) {
    CStrBuildLine line(static_cast<short>(x1), static_cast<short>(y1), static_cast<short>(x2), static_cast<short>(y2));
    return world->GetStreetNet()->CreateStreet(&line, STRASSE_1);
  }
  CStreetObj* StreetObjAt(int x, int y) { return dynamic_cast<CStreetObj*>(Object(x, y)); }
  int Access(CBuildingObject* b, int distance, SimLocationSizeType* size = nullptr) {
    return world->CheckLocationForStreetDistance(b->GetSimLocation(), distance, size);
  }
};

TEST_F(SpaceRules, StreetAccessLooksAroundTheTurnedFootprintInsideTheMap) {
  ASSERT_EQ(Build(10, 40, 40, 40), STR_BUILD_OK);
  CBuildingObject* near = Make(OBJ_OFFICE, kGroup1x1, 0, 20, 43);
  EXPECT_EQ(Access(near, 3), 0);
  EXPECT_EQ(Access(near, 2), 1);
  // A distance below 1 counts as 1.
  CBuildingObject* beside = Make(OBJ_OFFICE, kGroup1x1, 0, 25, 41);
  EXPECT_EQ(Access(beside, 0), 0);
  // Three wide and one deep, turned: one wide and three deep, so its far
  // side comes within one cell of the street only when turned.
  SimLocationSizeType wide{3, 1};
  CBuildingObject* flat = Make(OBJ_OFFICE, kGroupWide, 0, 30, 36);
  EXPECT_EQ(Access(flat, 1, &wide), 1);
  CBuildingObject* turned = Make(OBJ_OFFICE, kGroupWide, 1, 34, 37);
  EXPECT_EQ(Access(turned, 1, &wide), 0);
  // A size beyond ten cells counts as one cell.
  SimLocationSizeType huge{11, 11};
  EXPECT_EQ(Access(flat, 1, &huge), 1);
  // At the map's corners the rectangle stops at the edge.
  EXPECT_EQ(Access(Make(OBJ_OFFICE, kGroup1x1, 0, 0, 0), 3), 1);
  EXPECT_EQ(Access(Make(OBJ_OFFICE, kGroup1x1, 0, 127, 127), 5), 1);
}

TEST_F(SpaceRules, AStreetThatAloneServesABuildingMayNotGo) {
  // A main street, a dead-end side street down to (20, 50) with an office
  // beside its end.
  ASSERT_EQ(Build(10, 40, 40, 40), STR_BUILD_OK);
  ASSERT_EQ(Build(20, 40, 20, 50), STR_BUILD_OK);
  CBuildingObject* office = Make(OBJ_OFFICE, kGroup1x1, 0, 21, 51);
  CStrJunction* end = world->GetStreetNet()->FindJunctionAt(20, 50);
  ASSERT_NE(end, nullptr);
  ASSERT_EQ(end->RegisterLocation(office->GetSimLocation()), 0);
  CStreetObj* side = StreetObjAt(20, 45);
  ASSERT_NE(side, nullptr);
  int x = -1, y = -1, w = -1, d = -1;
  EXPECT_EQ(world->CheckStreetForRemove(side, x, y, w, d), 1);
  EXPECT_EQ(x, 21);
  EXPECT_EQ(y, 51);
  EXPECT_EQ(w, 1);
  EXPECT_EQ(d, 1);
  // The main street is not the office's: it may go.
  x = -1;
  EXPECT_EQ(world->CheckStreetForRemove(StreetObjAt(30, 40), x, y, w, d), 0);
  EXPECT_EQ(x, -1);
  // A second street within reach of the office: the side street may go.
  ASSERT_EQ(Build(30, 40, 30, 52), STR_BUILD_OK);
  ASSERT_EQ(Build(30, 52, 23, 52), STR_BUILD_OK);
  EXPECT_EQ(world->CheckStreetForRemove(side, x, y, w, d), 0);
  int ox = -1, oy = 0, ow = 0, od = 0;
  EXPECT_EQ(world->CheckLocationForOtherStreetDistance(office->GetSimLocation(), 3, nullptr, side, ox, oy, ow, od), 0);
  EXPECT_EQ(ox, -1);
}

TEST_F(SpaceRules, TheNearestCrossingIsTheStreetsNearerEndUnlessExcluded) {
  ASSERT_EQ(Build(10, 40, 40, 40), STR_BUILD_OK);
  CStrJunction* west = world->GetStreetNet()->FindJunctionAt(10, 40);
  CStrJunction* east = world->GetStreetNet()->FindJunctionAt(40, 40);
  ASSERT_TRUE(west && east);
  Make(OBJ_OFFICE, kGroup1x1, 0, 35, 42);
  int distance = -7;
  // The street beside the office offers both its ends; the east end is 5 away.
  EXPECT_EQ(world->GetNearestCrossing(35, 42, &distance, 0), static_cast<short>(east->GetSimID()));
  EXPECT_EQ(distance, 5);
  EXPECT_EQ(world->GetNearestCrossing(35, 42, &distance, static_cast<short>(east->GetSimID())),
            static_cast<short>(west->GetSimID()));
  EXPECT_EQ(distance, 25);
}

TEST_F(SpaceRules, LikeNeighboursAreCountedUpToTwoCellsAway) {
  CBuildingObject* home = Make(OBJ_RESIDENTIAL, kGroup1x1, 0, 60, 60);
  // No neighbour of its like.
  EXPECT_TRUE(world->CheckResComIndForOnlyOne(OBJ_RESIDENTIAL, home->GetSimLocation(), SIM_HEIGHT_ANY));
  // Two on the left: never.
  Make(OBJ_RESIDENTIAL, kGroup1x1, 0, 59, 60);
  Make(OBJ_RESIDENTIAL, kGroup1x1, 0, 58, 60);
  for (int i = 0; i < 50; ++i)
    EXPECT_FALSE(world->CheckResComIndForOnlyOne(OBJ_RESIDENTIAL, home->GetSimLocation(), SIM_HEIGHT_ANY));
  // One, behind a cell of another kind that ends the walk: one time in ten.
  CBuildingObject* lone = Make(OBJ_RESIDENTIAL, kGroup1x1, 0, 80, 80);
  Make(OBJ_RESIDENTIAL, kGroup1x1, 0, 80, 81);
  Make(OBJ_OFFICE, kGroup1x1, 0, 81, 80);
  Make(OBJ_RESIDENTIAL, kGroup1x1, 0, 82, 80);
  zor_srandom(7);
  int yes = 0;
  for (int i = 0; i < 2000; ++i) yes += world->CheckResComIndForOnlyOne(OBJ_RESIDENTIAL, lone->GetSimLocation(), SIM_HEIGHT_ANY);
  EXPECT_GT(yes, 120);
  EXPECT_LT(yes, 280);
}

TEST_F(SpaceRules, ALargerBuildingTakesTheBlockOfSmallOnesBesideAStreet) {
  ASSERT_EQ(Build(10, 40, 40, 40), STR_BUILD_OK);
  // A block of 3 x 3 small offices below the street; the asking one at its
  // far corner.
  std::vector<CBuildingObject*> block;
  for (int x = 20; x <= 22; ++x)
    for (int y = 41; y <= 43; ++y) block.push_back(Make(OBJ_OFFICE, kGroup1x1, 0, x, y));
  CBuildingObject* asking = Make(OBJ_OFFICE, kGroup1x1, 0, 23, 44);
  ASSERT_TRUE(asking);
  CBuildingObject* corner = block.back();  // (22, 43)
  CLocationList replaced(0, 0);
  TIsoRichtung dir = ISO_RICHTUNG_0;
  int x = -1, y = -1;
  for (uint32_t seed : {1u, 2u, 3u, 4u}) {
    zor_srandom(seed);
    CLocationList list(0, 0);
    ASSERT_EQ(world->SearchEmptySpaceFor(OBJ_OFFICE, corner->GetSimLocation(), kGroup2x3, SIM_HEIGHT_ANY, &list, &dir,
                                         &x, &y),
              0);
    // Two by three, or three by two when turned, from the block's corner.
    const bool turned = dir == ISO_RICHTUNG_1 || dir == ISO_RICHTUNG_3;
    EXPECT_EQ(x, turned ? 20 : 21);
    EXPECT_EQ(y, turned ? 42 : 41);
    // The five other offices under it, each once; never the asking one.
    EXPECT_EQ(list.GetCount(), 5);
    list.SetupLocationCount(0);
    while (CSimLocation* l = list.GetNextLocation()) EXPECT_NE(l, corner->GetSimLocation());
  }
  // Far from every street nothing is looked for.
  CBuildingObject* remote = Make(OBJ_OFFICE, kGroup1x1, 0, 100, 100);
  x = -1;
  EXPECT_EQ(world->SearchEmptySpaceFor(OBJ_OFFICE, remote->GetSimLocation(), kGroup2x3, SIM_HEIGHT_ANY, &replaced,
                                       &dir, &x, &y),
            1);
  EXPECT_EQ(replaced.GetCount(), 0);
  EXPECT_EQ(x, -1);
}

}  // namespace
