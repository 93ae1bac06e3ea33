// What the demand model's locations see of public transport: the nearest
// stop within the search distance of the building's cells, found again
// whenever a stop is built or removed and after a load; and the height
// class of the buildings the factory places.
#include <gtest/gtest.h>

#include <cstring>

#include "iso/iso_welt.h"
#include "measures/building_object.h"
#include "measures/opnv.h"
#include "world/town_fixture.h"
#include "world/zor_world.h"

namespace {

using towntest::Town;

constexpr int kBusStop = 32290;

struct Stops : Town {
  void SetUp() override {
    Town::SetUp();
    ASSERT_NO_FATAL_FAILURE(LongStreetAt80());
  }
  CSecondLayerObject* Stop(int x, int y) {
    auto* stop = dynamic_cast<CSecondLayerObject*>(Place(OBJ_BUSSTOP_SIGN, kBusStop, x, y));
    EXPECT_NE(stop, nullptr) << "a stop at " << x << "/" << y;
    return stop;
  }
  CSimLocation* House(int x, int y) {
    const int row = RowWith(OBJ_RESIDENTIAL, 1, 24, 1, 1);
    EXPECT_GE(row, 0);
    auto* house = dynamic_cast<CBuildingObject*>(
        Place(OBJ_RESIDENTIAL, CBuildingDataList::GetPotentialByNr(row)->resId, x, y));
    EXPECT_NE(house, nullptr) << "a house at " << x << "/" << y;
    return house ? house->GetSimLocation() : nullptr;
  }
  // The stop the location sees, 0 without one, and its distance.
  static short Seen(CSimLocation* location, int* distance = nullptr) {
    short id = 0;
    int d = 0;
    if (!location->GetNearestHst(id, d)) id = 0;
    if (distance) *distance = d;
    return id;
  }
};

TEST_F(Stops, ALocationSeesTheNearestStopStrictlyWithinFifteenCells) {
  CSimLocation* before = House(82, 60);
  ASSERT_NE(before, nullptr);
  EXPECT_EQ(Seen(before), 0) << "no stop yet";
  EXPECT_EQ(before->GetHstCount(), 0);
  CSecondLayerObject* stop = Stop(80, 64);
  ASSERT_NE(stop, nullptr);
  const auto id = static_cast<short>(stop->GetID());
  ASSERT_GT(id, 0);

  // Built before the stop: it looks again when the stop comes. Two cells
  // across and four along.
  int distance = 0;
  EXPECT_EQ(Seen(before, &distance), id);
  EXPECT_EQ(distance, 447);
  EXPECT_EQ(before->GetHstCount(), 1) << "the search reports the single nearest stop";
  // Built after it: it looks when it is made.
  CSimLocation* after = House(94, 64);
  ASSERT_NE(after, nullptr);
  EXPECT_EQ(Seen(after, &distance), id);
  EXPECT_EQ(distance, 1400);
  // Fifteen cells away is no longer near.
  CSimLocation* far = House(95, 64);
  ASSERT_NE(far, nullptr);
  EXPECT_EQ(Seen(far), 0);
  EXPECT_EQ(far->GetHstCount(), 0);

  // The reach that the building shows falls with the distance.
  double reach = -1;
  ASSERT_EQ(after->GetBuilding()->GetVarData("BUILDING.OPNVREACH", &reach), 0);
  EXPECT_DOUBLE_EQ(reach, 1.0 - 1400 / 1500.0);
  ASSERT_EQ(far->GetBuilding()->GetVarData("BUILDING.OPNVREACH", &reach), 0);
  EXPECT_EQ(reach, 0.0);
}

TEST_F(Stops, TheDistanceIsToTheNearestCellOfTheBuilding) {
  // The small school covers two cells each way: its second column is one
  // cell nearer the stop than its own cell, so a stop fifteen cells from
  // that cell is still near, and a house on that cell's column is not.
  int nr = -1;
  const int school = CBuildingDataList::GetBuildingResIDByType(OBJ_SCHOOL, 1, &nr);
  ASSERT_GT(school, 0);
  ASSERT_EQ(CBuildingDataList::GetXSizeByNr(nr, ISO_RICHTUNG_0), 2);
  ASSERT_EQ(CBuildingDataList::GetYSizeByNr(nr, ISO_RICHTUNG_0), 2);
  ASSERT_NE(Stop(80, 64), nullptr);
  auto* big = dynamic_cast<CBuildingObject*>(Place(OBJ_SCHOOL, school, 65, 64));
  ASSERT_NE(big, nullptr);
  ASSERT_EQ(big->GetXSizeRichtung(), 2);
  int distance = 0;
  EXPECT_NE(Seen(big->GetSimLocation(), &distance), 0);
  EXPECT_EQ(distance, 1400);
  CSimLocation* one = House(65, 67);
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(Seen(one), 0);
}

TEST_F(Stops, TheNearerOfTwoStopsWinsAndRemovingAStopIsSeenAtOnce) {
  CSimLocation* house = House(82, 60);
  ASSERT_NE(house, nullptr);
  CSecondLayerObject* farStop = Stop(80, 70);
  CSecondLayerObject* nearStop = Stop(80, 57);
  ASSERT_TRUE(farStop && nearStop);
  int distance = 0;
  EXPECT_EQ(Seen(house, &distance), static_cast<short>(nearStop->GetID()));
  EXPECT_EQ(distance, 360);

  // Removed with the stop tool's way: the location falls back to the other.
  ASSERT_EQ(world.RemoveObject(80, 57, ISO_LAYER_UPPER, true), 0);
  EXPECT_EQ(Seen(house, &distance), static_cast<short>(farStop->GetID()));
  EXPECT_EQ(distance, 1019);
  // Removed as an object: none is left.
  ASSERT_EQ(world.RemoveObject(farStop, 1, false), 0);
  EXPECT_EQ(Seen(house), 0);
  EXPECT_EQ(world.GetOpnv()->GetHstCount(), 0);
}

TEST_F(Stops, LocationsSeeTheirStopsAgainAfterALoad) {
  ASSERT_NE(House(82, 60), nullptr);
  CSecondLayerObject* stop = Stop(80, 64);
  ASSERT_NE(stop, nullptr);
  const auto id = static_cast<short>(stop->GetID());
  ASSERT_NE(House(95, 64), nullptr);
  // A house built after the stop is read before it: it learns of the stop
  // once the whole file is read.
  ASSERT_NE(House(82, 67), nullptr);
  ASSERT_EQ(world.SerializeGameStore("SaveGame/STOPS.GMD"), 0);
  ASSERT_EQ(world.SerializeGameLoad("SaveGame/STOPS.GMD"), 0);
  CBuildingObject* near = BuildingAt(82, 60);
  CBuildingObject* far = BuildingAt(95, 64);
  ASSERT_TRUE(near && near->GetSimLocation() && far && far->GetSimLocation());
  int distance = 0;
  EXPECT_EQ(Seen(near->GetSimLocation(), &distance), id);
  EXPECT_EQ(distance, 447);
  EXPECT_EQ(Seen(far->GetSimLocation()), 0);
  CBuildingObject* later = BuildingAt(82, 67);
  ASSERT_TRUE(later && later->GetSimLocation());
  EXPECT_EQ(Seen(later->GetSimLocation()), id);
}

// ---- heights ----

// The first catalogue row of the kind with the height class.
int RowOf(TObjectType kind, int height) {
  for (int n = 0; n < CBuildingDataList::GetRowCount(); ++n) {
    const PotentialType* row = CBuildingDataList::GetPotentialByNr(n);
    if (row->objectType == kind && row->height == height) return row->resId;
  }
  return 0;
}

double HeightOf(CBuildingObject* building) {
  double height = -1;
  EXPECT_EQ(building->GetVarData("BUILDING.HEIGHT", &height), 0);
  return height;
}

TEST_F(Town, ABuildingPlacedWithoutAHeightTakesItsKindsAndKeepsItThroughASave) {
  const int smallSchool = RowOf(OBJ_SCHOOL, 1), bigSchool = RowOf(OBJ_SCHOOL, 3), office = RowOf(OBJ_OFFICE, 2);
  ASSERT_GT(smallSchool, 0);
  ASSERT_GT(bigSchool, 0);
  ASSERT_GT(office, 0);
  // As the city's growth places them: no height class given.
  auto* big = dynamic_cast<CBuildingObject*>(Place(OBJ_SCHOOL, bigSchool, 62, 64));
  auto* tower = dynamic_cast<CBuildingObject*>(Place(OBJ_OFFICE, office, 61, 61));
  // As the palette places it: with the height class of the row.
  auto* small = dynamic_cast<CBuildingObject*>(Place(OBJ_SCHOOL, smallSchool, 56, 64, 0,
                                                     static_cast<ESimLocationHeight>(1)));
  ASSERT_TRUE(big && tower && small);
  EXPECT_EQ(HeightOf(big), 3);
  EXPECT_EQ(big->GetHeight(), 3);
  EXPECT_EQ(HeightOf(tower), 2);
  EXPECT_EQ(HeightOf(small), 1);
  // The children's voices belong to the small schools only.
  EXPECT_STREQ(small->GetSoundName(), "KINDER");
  EXPECT_STRNE(big->GetSoundName(), "KINDER");

  ASSERT_EQ(world.SerializeGameStore("SaveGame/HEIGHTS.GMD"), 0);
  ASSERT_EQ(world.SerializeGameLoad("SaveGame/HEIGHTS.GMD"), 0);
  for (const auto& [x, y, height, resId] :
       {std::tuple{62, 64, 3, bigSchool}, std::tuple{61, 61, 2, office}, std::tuple{56, 64, 1, smallSchool}}) {
    CBuildingObject* back = BuildingAt(x, y);
    ASSERT_NE(back, nullptr) << x << "/" << y;
    EXPECT_EQ(back->GetRESid(), resId);
    EXPECT_EQ(HeightOf(back), height) << x << "/" << y;
    EXPECT_EQ(back->GetHeight(), height) << x << "/" << y;
  }
  EXPECT_STRNE(BuildingAt(62, 64)->GetSoundName(), "KINDER");
  EXPECT_STREQ(BuildingAt(56, 64)->GetSoundName(), "KINDER");
}

TEST_F(Town, AZoneTakesTheDensityItWasLaidWith) {
  int nr = -1;
  const int lot = CBuildingDataList::GetBuildingResIDByType(OBJ_ZONE_RESIDENTIAL, 2, &nr);
  ASSERT_GT(lot, 0);
  auto* zone = dynamic_cast<CBuildingObject*>(Place(OBJ_ZONE_RESIDENTIAL, lot, 59, 61, 0,
                                                    static_cast<ESimLocationHeight>(3)));
  ASSERT_NE(zone, nullptr);
  EXPECT_EQ(zone->GetHeight(), 3);
  EXPECT_EQ(HeightOf(zone), 3);
  ASSERT_EQ(world.SerializeGameStore("SaveGame/ZONE.GMD"), 0);
  ASSERT_EQ(world.SerializeGameLoad("SaveGame/ZONE.GMD"), 0);
  ASSERT_NE(BuildingAt(59, 61), nullptr);
  EXPECT_EQ(BuildingAt(59, 61)->GetHeight(), 3);
  EXPECT_EQ(HeightOf(BuildingAt(59, 61)), 3);
}

}  // namespace
