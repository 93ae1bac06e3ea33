// The location factory's rules for the city's growth and decline on the
// real game: low buildings of a district taken down until the amount is
// met, isolated zoned lots far from streets turned into buildings of their
// kind and density; and the car reach a building shows.
#include <gtest/gtest.h>

#include <vector>

#include "framework/zor_seams.h"
#include "iso/iso_welt.h"
#include "measures/building_object.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "network/street_objects.h"
#include "world/town_fixture.h"
#include "world/zor_world.h"

namespace {

using towntest::Town;

// The district of the town's streets: cells 56-63 both ways.
constexpr int kDistrict = 7 + 16 * 7 + 1;

// A single-cell building of the kind and height class with homes or jobs;
// 0 when the catalogue has none.
int OneCellOf(TObjectType kind, int height) {
  const int row = Town::RowWith(kind, height, kind == OBJ_RESIDENTIAL ? 24 : 36, 1, 1);
  return row < 0 ? 0 : CBuildingDataList::GetPotentialByNr(row)->resId;
}

struct Rules : Town {
  CBuildingObject* Put(TObjectType kind, int resId, int x, int y) {
    auto* b = dynamic_cast<CBuildingObject*>(Place(kind, resId, x, y));
    EXPECT_NE(b, nullptr) << kind << " at " << x << "/" << y;
    return b;
  }
  TObjectType TypeAt(int x, int y) {
    return world.GetIsoWelt()->GetTypeAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y),
                                         ISO_LAYER_GROUND);
  }
  // A zoned lot of the kind with its density.
  CBuildingObject* Lot(TObjectType kind, int density, int x, int y) {
    int nr = -1;
    const int resId = CBuildingDataList::GetBuildingResIDByType(kind, density, &nr);
    EXPECT_GT(resId, 0) << kind << " " << density;
    auto* lot = dynamic_cast<CBuildingObject*>(Place(kind, resId, x, y, 0, static_cast<ESimLocationHeight>(density)));
    EXPECT_NE(lot, nullptr) << "a lot at " << x << "/" << y;
    return lot;
  }
};

TEST_F(Rules, LessSpaceTakesDownLowHousesInWalkOrderUntilTheAmountIsMet) {
  const int low = OneCellOf(OBJ_RESIDENTIAL, 1);
  const int tallRow = Town::RowWith(OBJ_RESIDENTIAL, 3, 24, 0, 0);
  ASSERT_GT(low, 0);
  ASSERT_GE(tallRow, 0);
  // Walk order is x before y: (57, 58) comes before (57, 61) and (58, 57);
  // the tall house (up to three cells each way) stands last.
  CBuildingObject* first = Put(OBJ_RESIDENTIAL, low, 57, 58);
  CBuildingObject* tall = Put(OBJ_RESIDENTIAL, CBuildingDataList::GetPotentialByNr(tallRow)->resId, 61, 56);
  Put(OBJ_RESIDENTIAL, low, 57, 61);
  Put(OBJ_RESIDENTIAL, low, 58, 57);
  Put(OBJ_RESIDENTIAL, low, 64, 58);  // the next district
  ASSERT_TRUE(first && tall);
  const int homes = first->GetSimLocation()->NrOfHomes();
  ASSERT_GT(homes, 0);
  ASSERT_EQ(tall->GetHeight(), 3);
  const int locations = Factory()->GetLocationCount();

  // Nothing asked, nothing goes.
  int amount = 0;
  EXPECT_EQ(Factory()->LessSpaceNeeded2(kDistrict, 0, amount), 0);
  EXPECT_EQ(Factory()->GetLocationCount(), locations);
  // One house's homes: the first house in walk order goes, and no other.
  amount = homes;
  EXPECT_EQ(Factory()->LessSpaceNeeded2(kDistrict, 0, amount), 0);
  EXPECT_EQ(amount, 0);
  EXPECT_EQ(TypeAt(57, 58), OBJ_GROUND);
  EXPECT_EQ(TypeAt(57, 61), OBJ_RESIDENTIAL);
  EXPECT_EQ(TypeAt(58, 57), OBJ_RESIDENTIAL);
  EXPECT_EQ(Factory()->GetLocationCount(), locations - 1);
  // A large amount takes every low house of the district, and only those.
  amount = 100000;
  EXPECT_EQ(Factory()->LessSpaceNeeded2(kDistrict, 0, amount), 0);
  EXPECT_EQ(TypeAt(57, 61), OBJ_GROUND);
  EXPECT_EQ(TypeAt(58, 57), OBJ_GROUND);
  EXPECT_EQ(TypeAt(61, 56), OBJ_RESIDENTIAL) << "a tall house stays";
  EXPECT_EQ(TypeAt(64, 58), OBJ_RESIDENTIAL) << "another district's house stays";
  EXPECT_GT(amount, 0);
  EXPECT_EQ(Factory()->GetLocationCount(), locations - 3);
}

TEST_F(Rules, LessWorkTakesDownOfficesOrIndustryByOneDraw) {
  const int office = OneCellOf(OBJ_OFFICE, 1), industry = OneCellOf(OBJ_INDUSTRY, 1);
  ASSERT_GT(office, 0);
  ASSERT_GT(industry, 0);
  int offices = 0, industries = 0;
  for (uint32_t seed = 1; seed <= 30; ++seed) {
    ASSERT_NE(Put(OBJ_OFFICE, office, 57, 58), nullptr);
    ASSERT_NE(Put(OBJ_INDUSTRY, industry, 58, 58), nullptr);
    ASSERT_NE(Put(OBJ_RESIDENTIAL, OneCellOf(OBJ_RESIDENTIAL, 1), 59, 58), nullptr);
    zor_srandom(seed);
    int amount = 100000;
    EXPECT_EQ(Factory()->LessSpaceNeeded2(kDistrict, 1, amount), 0);
    const bool officeGone = TypeAt(57, 58) == OBJ_GROUND, industryGone = TypeAt(58, 58) == OBJ_GROUND;
    EXPECT_NE(officeGone, industryGone) << "one kind a call, seed " << seed;
    EXPECT_EQ(TypeAt(59, 58), OBJ_RESIDENTIAL) << "work never takes homes";
    offices += officeGone;
    industries += industryGone;
    for (int x = 57; x <= 59; ++x) world.RemoveObject(x, 58, ISO_LAYER_GROUND, false);
  }
  // Offices two times in three.
  EXPECT_GT(offices, industries);
  EXPECT_GT(industries, 0);
}

TEST_F(Rules, DistrictIdsBeyondTheMapsReachNoCell) {
  // Houses in the first district (cells 0-7) and the last (120-127).
  const int low = OneCellOf(OBJ_RESIDENTIAL, 1);
  ASSERT_NE(Put(OBJ_RESIDENTIAL, low, 0, 0), nullptr);
  ASSERT_NE(Put(OBJ_RESIDENTIAL, low, 127, 127), nullptr);
  const int locations = Factory()->GetLocationCount();
  for (int district : {0, -1, 257, 1000}) {
    int amount = 100000;
    EXPECT_EQ(Factory()->LessSpaceNeeded2(district, 0, amount), 0) << district;
    EXPECT_EQ(amount, 100000) << district;
  }
  EXPECT_EQ(Factory()->GetLocationCount(), locations);
  for (int district : {1, 256}) {
    int amount = 1;
    EXPECT_EQ(Factory()->LessSpaceNeeded2(district, 0, amount), 0) << district;
    EXPECT_LT(amount, 1) << district;
  }
  EXPECT_EQ(TypeAt(0, 0), OBJ_GROUND);
  EXPECT_EQ(TypeAt(127, 127), OBJ_GROUND);
}

TEST_F(Rules, WithoutAMapOrBeforeItIsMadeTheFactoryChangesNothing) {
  CSimLocationFactory unmade;
  int amount = 10;
  EXPECT_EQ(unmade.LessSpaceNeeded2(kDistrict, 0, amount), 1);
  EXPECT_EQ(unmade.MoreSpaceNeeded2(kDistrict, 0, amount), 1);
  EXPECT_EQ(unmade.CheckResIndComOnlyOneTile(), 1);
  EXPECT_EQ(amount, 10);
}

TEST_F(Rules, AnIsolatedLotFarFromStreetsBecomesABuildingOfItsKindAndDensity) {
  // Far from the town's streets (more than three cells) and alone.
  Lot(OBJ_ZONE_RESIDENTIAL, 1, 30, 30);
  Lot(OBJ_ZONE_RESIDENTIAL, 2, 30, 40);
  Lot(OBJ_ZONE_COMMERCIAL, 1, 40, 30);
  Lot(OBJ_ZONE_COMMERCIAL, 2, 40, 40);
  Lot(OBJ_ZONE_INDUSTRIAL, 2, 50, 30);
  // Within three cells of a street: it waits for a street-side building.
  Lot(OBJ_ZONE_RESIDENTIAL, 1, 57, 63);
  EXPECT_EQ(Factory()->CheckResIndComOnlyOneTile(), 0);
  struct Want {
    int x, y;
    TObjectType type;
    int height;
  };
  for (const Want& w : {Want{30, 30, OBJ_RESIDENTIAL, 1}, Want{40, 30, OBJ_OFFICE, 1}, Want{40, 40, OBJ_OFFICE, 2},
                        Want{50, 30, OBJ_INDUSTRY, 1}}) {
    CBuildingObject* b = BuildingAt(w.x, w.y);
    ASSERT_NE(b, nullptr) << w.x << "/" << w.y;
    EXPECT_EQ(b->GetType(), w.type) << w.x << "/" << w.y;
    EXPECT_EQ(b->GetHeight(), w.height) << w.x << "/" << w.y << ": the density of the lot, industry always 1";
    ASSERT_NE(b->GetSimLocation(), nullptr);
    EXPECT_EQ(b->GetSimLocation()->GetBuilding(), b);
  }
  EXPECT_EQ(TypeAt(57, 63), OBJ_ZONE_RESIDENTIAL);
  // The catalogue has no single-cell dense house: a dense residential lot
  // waits for one.
  TIsoRichtung dir = ISO_RICHTUNG_0;
  int dense = 0;
  ASSERT_EQ(CBuildingDataList::GetNrByData(OBJ_RESIDENTIAL, 1, 1, 2, dir, dense), -1);
  EXPECT_EQ(TypeAt(30, 40), OBJ_ZONE_RESIDENTIAL);
}

TEST_F(Rules, LotsWithTwoLikeNeighboursStayLotsWhileOneOfAnotherDensityIsAlone) {
  // One low lot, then three dense ones in a row: each dense lot has two like
  // neighbours; the low one has none of its density.
  Lot(OBJ_ZONE_RESIDENTIAL, 1, 30, 30);
  for (int x = 31; x <= 33; ++x) Lot(OBJ_ZONE_RESIDENTIAL, 2, x, 30);
  EXPECT_EQ(Factory()->CheckResIndComOnlyOneTile(), 0);
  EXPECT_EQ(TypeAt(30, 30), OBJ_RESIDENTIAL);
  for (int x = 31; x <= 33; ++x) EXPECT_EQ(TypeAt(x, 30), OBJ_ZONE_RESIDENTIAL) << x;
  // Done again, nothing more changes.
  const int locations = Factory()->GetLocationCount();
  EXPECT_EQ(Factory()->CheckResIndComOnlyOneTile(), 0);
  EXPECT_EQ(Factory()->GetLocationCount(), locations);
}

// ---- car reach ----

struct Reach : Town {
  void SetUp() override {
    Town::SetUp();
    ASSERT_NO_FATAL_FAILURE(LongStreetAt80());
  }
  CStrStrasse* StreetAt(int x, int y) {
    auto* piece = dynamic_cast<CStreetObj*>(world.GetIsoWelt()->GetIsoTileObject(x, y, ISO_LAYER_GROUND));
    return piece ? piece->GetStreetList() : nullptr;
  }
  double CarReachOf(CBuildingObject* b) {
    double reach = -1;
    EXPECT_EQ(b->GetVarData("BUILDING.PKWREACH", &reach), 0);
    return reach;
  }
  CBuildingObject* House(int x, int y) {
    auto* b = dynamic_cast<CBuildingObject*>(Place(OBJ_RESIDENTIAL, OneCellOf(OBJ_RESIDENTIAL, 1), x, y));
    EXPECT_NE(b, nullptr) << x << "/" << y;
    return b;
  }
};

TEST_F(Reach, TheFirstStreetWithinFiveCellsGivesItsSpeedAndTypeAndNoneGivesZero) {
  CStrStrasse* street = StreetAt(80, 60);
  ASSERT_NE(street, nullptr);
  ASSERT_EQ(street->GetStreetType(), STRASSE_1);
  // No hour has passed: no load to lower the reach.
  ASSERT_EQ(street->GetAuslastung24(), 0);
  street->SetVelocity(13.9 / 2);
  CBuildingObject* five = House(85, 60);
  CBuildingObject* six = House(86, 60);
  ASSERT_TRUE(five && six);
  // An ordinary street counts three quarters at full speed.
  EXPECT_DOUBLE_EQ(CarReachOf(five), 0.75 / 2);
  EXPECT_EQ(CarReachOf(six), 0.0);
  // Faster than the measure is no better than it.
  street->SetVelocity(40.0);
  EXPECT_DOUBLE_EQ(CarReachOf(five), 1.0);
  // A standstill gives nothing.
  street->SetVelocity(0.0);
  EXPECT_EQ(CarReachOf(five), 0.0);
}

TEST_F(Reach, ColumnsAreLookedAtFromTheLeftSoTheNearerColumnWinsOverTheNearerRow) {
  // Streets at x 80 (north to south) and at y 66 east of it: a house at
  // (84, 63) has the second three rows away, the first four columns away.
  ASSERT_EQ(Street(80, 66, 92, 66), STR_BUILD_OK);
  CStrStrasse* left = StreetAt(80, 63);
  CStrStrasse* below = StreetAt(86, 66);
  ASSERT_TRUE(left && below);
  ASSERT_NE(left, below);
  left->SetVelocity(13.9 / 4);
  below->SetVelocity(13.9);
  CBuildingObject* house = House(84, 63);
  ASSERT_NE(house, nullptr);
  EXPECT_DOUBLE_EQ(CarReachOf(house), 0.75 / 4);
  // At the map's edge the window stops at the edge.
  CBuildingObject* corner = House(0, 0);
  ASSERT_NE(corner, nullptr);
  EXPECT_EQ(CarReachOf(corner), 0.0);
}

TEST(CarReach, AFourLaneStreetCountsInFull) {
  zortest::Scenario game;
  CZorvaWorld& world = game.World();
  // The town's first street, two cells wide at x 100 and 101.
  CStrBuildLine line(100, 40, 100, 90);
  ASSERT_EQ(world.GetStreetNet()->CreateStreet(&line, STRASSE_VIERSPURIG), STR_BUILD_OK);
  auto* piece = dynamic_cast<CStreetObj*>(world.GetIsoWelt()->GetIsoTileObject(101, 60, ISO_LAYER_GROUND));
  ASSERT_NE(piece, nullptr);
  CStrStrasse* street = piece->GetStreetList();
  ASSERT_NE(street, nullptr);
  ASSERT_EQ(street->GetStreetType(), STRASSE_VIERSPURIG);
  street->SetVelocity(13.9 / 2);
  // Five cells from the street's second column, six from its first.
  auto* house = dynamic_cast<CBuildingObject*>(world.CreateObject(
      OBJ_RESIDENTIAL, OneCellOf(OBJ_RESIDENTIAL, 1), CIsoRichtung(0), 106, 60, SIM_HEIGHT_ANY, nullptr, 0, nullptr, 0,
      -1));
  ASSERT_NE(house, nullptr);
  double reach = -1;
  ASSERT_EQ(house->GetVarData("BUILDING.PKWREACH", &reach), 0);
  EXPECT_DOUBLE_EQ(reach, 0.5);
}

}  // namespace
