// Groups on the map's cells: where each part lands in each direction, that
// an incomplete group changes nothing, the placement checks, and removal.
#include <gtest/gtest.h>

#include "framework/zor_list.h"
#include "world/map_fixture.h"
#include "network/street_objects.h"

namespace {

using namespace maptest;

struct GroupTest : MapFixture<CZorvaWorld> {
  CWorldObj* NewObject(TObjectType type) {
    auto* o = new CWorldObj;
    o->Create();
    o->SetType(type);
    world->GetObjectList()->AddHead(o, 0);
    return o;
  }
  int Place(int x, int y, int resId, int dir, CWorldObj* obj, int layer = 0) {
    return map->SetIsoGroupTurnedAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y),
                                    static_cast<TBaseType>(layer), resId, obj, CIsoRichtung(dir));
  }
};

TEST_F(GroupTest, PartsLandOnTheirTurnedCells) {
  CWorldObj* o = NewObject(OBJ_RESIDENTIAL);
  // W 2, D 3 turned to 1 covers x 10..12 and y 20..21.
  ASSERT_EQ(Place(10, 20, kGroup2x3, 1, o), 0);
  for (int x = 9; x <= 13; ++x)
    for (int y = 19; y <= 22; ++y)
      EXPECT_EQ(Object(x, y) == o, x >= 10 && x <= 12 && y >= 20 && y <= 21) << x << "," << y;
  EXPECT_EQ(ResID(10, 20), PartTile(0, 2));
  EXPECT_EQ(ResID(12, 20), PartTile(0, 0));
  EXPECT_EQ(ResID(10, 21), PartTile(1, 2));
  CIsoObjGroup* g = map->GetGroupAt(12, 21, ISO_LAYER_GROUND);
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->GetStartPosX(), 10);
  EXPECT_EQ(g->GetStartPosY(), 20);
  EXPECT_EQ(g->GetTurnedSizeX(), 3);
  EXPECT_EQ(g->GetRichtung(), 1);

  ASSERT_EQ(Place(30, 30, kGroup2x3, 0, o), 0);
  EXPECT_EQ(ResID(31, 32), PartTile(1, 2));
  ASSERT_EQ(Place(40, 40, kGroup2x3, 2, o), 0);
  EXPECT_EQ(ResID(40, 40), PartTile(1, 2));
  EXPECT_EQ(ResID(41, 42), PartTile(0, 0));
  ASSERT_EQ(Place(50, 50, kGroup2x3, 3, o), 0);
  EXPECT_EQ(ResID(50, 50), PartTile(1, 0));
  EXPECT_EQ(ResID(52, 51), PartTile(0, 2));
  EXPECT_EQ(Object(53, 50), world->CreateObjectEmpty());
}

TEST_F(GroupTest, IncompleteOrMissingGroupChangesNoCell) {
  CWorldObj* o = NewObject(OBJ_OFFICE);
  const int before = ResID(20, 20);
  CWorldObj* ground = Object(20, 20);
  for (int dir = 0; dir < 4; ++dir) {
    EXPECT_EQ(Place(20, 20, kGroupHole, dir, o), 1) << dir;
    for (int x = 20; x <= 21; ++x)
      for (int y = 20; y <= 21; ++y) {
        EXPECT_NE(Object(x, y), o);
        EXPECT_EQ(map->GetGroupAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y),
                                  ISO_LAYER_GROUND),
                  nullptr);
      }
  }
  EXPECT_EQ(ResID(20, 20), before);
  EXPECT_EQ(Object(20, 20), ground);
  EXPECT_EQ(Place(20, 20, kMissing, 0, o), 1);
  EXPECT_EQ(Place(20, 20, kGroupEmpty, 0, o), 1);
  // A group reaching past the grid's edge is refused before it starts.
  EXPECT_EQ(Place(126, 5, kGroupWide, 0, o), 1);
  EXPECT_NE(Object(126, 5), o);
}

TEST_F(GroupTest, ChecksCoverTheTurnedRectangle) {
  EXPECT_EQ(map->CheckForEmptyNoObject(5, 5, ISO_LAYER_GROUND, ISO_RICHTUNG_0, -1), 0);
  CWorldObj* piece = world->CreateObject(OBJ_STREET_PIECE);
  ASSERT_EQ(map->SetIsoTileAt(6, 5, ISO_LAYER_GROUND, CIsoRichtung(0), kTile, piece), 0);
  EXPECT_EQ(map->CheckForEmptyNoObject(6, 5, ISO_LAYER_GROUND, ISO_RICHTUNG_0, -1), 1);
  // 3 x 1 from x 5 reaches the street at x 6; turned, it runs along y.
  EXPECT_EQ(map->CheckForEmptyNoObject(5, 5, ISO_LAYER_GROUND, ISO_RICHTUNG_0, kGroupWide), 1);
  EXPECT_EQ(map->CheckForEmptyNoObject(5, 5, ISO_LAYER_GROUND, ISO_RICHTUNG_1, kGroupWide), 0);
  EXPECT_EQ(map->CheckForTypeEmptyResComInd(5, 5, ISO_RICHTUNG_0, kGroupWide), 1);

  // The grid's edge: x 125..127 fits, x 126..128 does not.
  EXPECT_EQ(map->CheckForTypeEmptyResComInd(125, 9, ISO_RICHTUNG_0, kGroupWide), 0);
  EXPECT_EQ(map->CheckForTypeEmptyResComInd(126, 9, ISO_RICHTUNG_0, kGroupWide), 1);
  EXPECT_EQ(map->CheckForType(128, 9, ISO_LAYER_GROUND, OBJ_GROUND, ISO_RICHTUNG_0, -1, SIM_HEIGHT_ANY), 1);
  // A missing group resource raises no objection.
  EXPECT_EQ(map->CheckForTypeEmptyResComInd(127, 127, ISO_RICHTUNG_0, kMissing), 0);

  // Zoned areas count as free for buildings, not as empty.
  ASSERT_NE(world->CreateObject(OBJ_ZONE_INDUSTRIAL, kTile, CIsoRichtung(0), 8, 9, SIM_HEIGHT_ANY, nullptr, 0,
                                nullptr, 0, -1),
            nullptr);
  EXPECT_EQ(map->CheckForTypeEmptyResComInd(7, 9, ISO_RICHTUNG_0, kGroupWide), 0);
  EXPECT_EQ(map->CheckForType(7, 9, ISO_LAYER_GROUND, OBJ_GROUND, ISO_RICHTUNG_0, kGroupWide, SIM_HEIGHT_ANY), 1);
}

// The rule the factory builds by and the placing tools draw: every cell of
// the turned footprint on the map, on plain ground or a zone, with nothing
// standing on it.
TEST_F(GroupTest, ABuildingNeedsFreeLandUnderItsWholeTurnedFootprint) {
  EXPECT_TRUE(map->CanPlaceBuilding(30, 30, ISO_RICHTUNG_0, kGroupWide));
  ASSERT_NE(world->CreateObject(OBJ_ZONE_RESIDENTIAL, kTile, CIsoRichtung(0), 31, 30, SIM_HEIGHT_ANY, nullptr, 0,
                                nullptr, 0, -1),
            nullptr);
  EXPECT_TRUE(map->CanPlaceBuilding(30, 30, ISO_RICHTUNG_0, kGroupWide)) << "a zone is free land";
  // A street on the last cell of the 3 x 1 footprint; turned, the
  // footprint runs along y and misses it.
  CWorldObj* piece = world->CreateObject(OBJ_STREET_PIECE);
  ASSERT_EQ(map->SetIsoTileAt(32, 30, ISO_LAYER_GROUND, CIsoRichtung(0), kTile, piece), 0);
  EXPECT_FALSE(map->CanPlaceBuilding(30, 30, ISO_RICHTUNG_0, kGroupWide));
  EXPECT_TRUE(map->CanPlaceBuilding(30, 30, ISO_RICHTUNG_1, kGroupWide));
  EXPECT_FALSE(map->CanPlaceBuilding(32, 30, ISO_RICHTUNG_1, kGroupWide));
  // Something standing on plain ground takes the cell as well.
  ASSERT_EQ(map->SetIsoTileAt(31, 50, ISO_LAYER_UPPER, CIsoRichtung(0), kTile, NewObject(OBJ_TRAFFIC_SIGN)), 0);
  EXPECT_FALSE(map->CanPlaceBuilding(30, 50, ISO_RICHTUNG_0, kGroupWide));
  EXPECT_TRUE(map->CanPlaceBuilding(30, 51, ISO_RICHTUNG_0, kGroupWide));
  // The footprint must lie on the map.
  EXPECT_TRUE(map->CanPlaceBuilding(125, 60, ISO_RICHTUNG_0, kGroupWide));
  EXPECT_FALSE(map->CanPlaceBuilding(126, 60, ISO_RICHTUNG_0, kGroupWide));
}

TEST_F(GroupTest, HeightIsTestedOnlyForGroups) {
  CWorldObj* house = world->CreateObject(OBJ_RESIDENTIAL, kGroup1x1, CIsoRichtung(0), 70, 70,
                                         static_cast<ESimLocationHeight>(2), nullptr, 0, nullptr, 0, -1);
  ASSERT_NE(house, nullptr);
  // The factory makes building locations of height class 0.
  const auto h2 = static_cast<ESimLocationHeight>(2);
  EXPECT_EQ(map->CheckForType(70, 70, ISO_LAYER_GROUND, OBJ_RESIDENTIAL, ISO_RICHTUNG_0, kGroup1x1, SIM_HEIGHT_ANY), 0);
  EXPECT_EQ(map->CheckForType(70, 70, ISO_LAYER_GROUND, OBJ_RESIDENTIAL, ISO_RICHTUNG_0, kGroup1x1, h2), 1);
  EXPECT_EQ(map->CheckForType(70, 70, ISO_LAYER_GROUND, OBJ_RESIDENTIAL, ISO_RICHTUNG_0, -1, h2), 0);
}

TEST_F(GroupTest, RemovingZonesStopsAtTheGridEdge) {
  for (int x = 124; x <= 127; ++x)
    ASSERT_NE(world->CreateObject(OBJ_ZONE_RESIDENTIAL, kTile, CIsoRichtung(0), x, 30, SIM_HEIGHT_ANY, nullptr, 0,
                                  nullptr, 0, -1),
              nullptr);
  const uint32_t listed = world->GetObjectList()->GetNumber();
  EXPECT_EQ(map->RemoveResComInd(124, 30, ISO_RICHTUNG_0, kGroupWide), 0);
  for (int x = 124; x <= 126; ++x) EXPECT_EQ(Type(x, 30), OBJ_GROUND);
  EXPECT_EQ(Type(127, 30), OBJ_ZONE_RESIDENTIAL);
  EXPECT_EQ(world->GetObjectList()->GetNumber(), listed - 3);
  // From x 126 the rectangle leaves the grid after clearing x 126 and 127.
  EXPECT_EQ(map->RemoveResComInd(126, 30, ISO_RICHTUNG_0, kGroupWide), 1);
  EXPECT_EQ(Type(127, 30), OBJ_GROUND);
  EXPECT_EQ(map->RemoveResComInd(-1, 30, ISO_RICHTUNG_0, -1), 1);
}

TEST_F(GroupTest, DeletingAGroupCanSpareCellsOfOtherObjects) {
  CWorldObj* a = NewObject(OBJ_OFFICE);
  CWorldObj* b = NewObject(OBJ_OFFICE);
  ASSERT_EQ(Place(60, 60, kGroup2x3, 0, a), 0);
  // Another object takes one cell; the other cells still hold a's group.
  ASSERT_EQ(map->SetIsoTileAt(61, 61, ISO_LAYER_GROUND, CIsoRichtung(0), kTile, b), 0);
  EXPECT_EQ(map->DeleteIsoGroupAt(60, 62, ISO_LAYER_GROUND, true), 0);
  EXPECT_EQ(Object(61, 61), b);
  for (int y = 60; y <= 62; ++y) EXPECT_EQ(Type(60, y), OBJ_GROUND);

  ASSERT_EQ(Place(80, 80, kGroup2x3, 0, a), 0);
  ASSERT_EQ(map->SetIsoTileAt(81, 81, ISO_LAYER_GROUND, CIsoRichtung(0), kTile, b), 0);
  EXPECT_EQ(map->DeleteIsoGroupAt(80, 80, ISO_LAYER_GROUND, false), 0);
  EXPECT_EQ(Type(81, 81), OBJ_GROUND);
  // A cell without a group just gets its ground back.
  ASSERT_EQ(map->SetIsoTileAt(90, 90, ISO_LAYER_GROUND, CIsoRichtung(0), kTile, b), 0);
  EXPECT_EQ(map->DeleteIsoGroupAt(90, 90, ISO_LAYER_GROUND, true), 0);
  EXPECT_EQ(Type(90, 90), OBJ_GROUND);
}

TEST_F(GroupTest, ZonedAreaKeepsTheGroundBeneathOnTheUpperLayer) {
  CWorldObj* zone = NewObject(OBJ_ZONE_COMMERCIAL);
  CWorldObj* ground = Object(15, 16);
  EXPECT_EQ(map->SetAusgewieseneFlaecheAt(15, 16, ISO_LAYER_GROUND, CIsoRichtung(2), kTile, zone), 0);
  EXPECT_EQ(Object(15, 16), zone);
  EXPECT_EQ(ResID(15, 16), kTile);
  EXPECT_EQ(Object(15, 16, 1), ground);
  EXPECT_EQ(map->SetAusgewieseneFlaecheAt(128, 16, ISO_LAYER_GROUND, CIsoRichtung(0), kTile, zone), 1);
  EXPECT_EQ(map->SetAusgewieseneFlaecheAt(3, -1, ISO_LAYER_GROUND, CIsoRichtung(0), kTile, zone), 1);
}

}  // namespace
