// Building objects: their named values, sizes, the lists that hold them and
// their savegame records.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>

#include "framework/qno_log.h"
#include "measures/building_object.h"
#include "measures/park_ride.h"
#include "sim/sim_model_iface.h"
#include "support/test_support.h"

namespace {

using zortest::ByteList;
using zortest::RecordFile;

struct District : CSimDistrict {
  int Zugangszeit() const override { return 70; }
  int Parksuchzeit() const override { return 70; }
  short ID() const override { return 17; }
  int NrOfHomes() const override { return 400; }
  int NrOfResidents() const override { return 100; }
  int NrOfJobs() const override { return 200; }
  int NrOfWorkers() const override { return 200; }
};

struct Placed : testing::Test {
  // The building goes first, as the world removes buildings before their
  // locations.
  District district;
  CSimLocation location;
  CBuildingRCIObject building;
  void SetUp() override {
    CIsoRichtung dir(1);
    building.Create(4711, 10, 20, &dir, static_cast<ESimLocationHeight>(2));
    building.SetType(OBJ_RESIDENTIAL);
    PotentialType p;
    p.size.width = 2;
    p.size.depth = 3;
    p.SetWord(24, 40);  // homes
    p.SetWord(36, 10);  // jobs
    p.SetWord(40, 6);   // parking
    const CSimRasterPos at(10, 20);
    location.Create(&at, p.size, 8, SIM_HEIGHT_ANY);
    location.SetPotential(&p);
    building.SetSimLocation(&location);
  }
  double Value(const char* key) {
    double v = -99;
    EXPECT_EQ(building.GetVarData(key, &v), 0) << key;
    return v;
  }
};

TEST_F(Placed, KeysOfTheRecordAndOfTheLocation) {
  EXPECT_EQ(Value("BUILDING.XPOS"), 10);
  EXPECT_EQ(Value("BUILDING.YPOS"), 20);
  EXPECT_EQ(Value("BUILDING.RESID"), 4711);
  EXPECT_EQ(Value("BUILDING.RICHTUNG"), 1);
  EXPECT_EQ(Value("BUILDING.TYPE"), OBJ_RESIDENTIAL);
  EXPECT_EQ(Value("BUILDING.HEIGHT"), 2);
  EXPECT_EQ(Value("BUILDING.RES"), 40);
  EXPECT_EQ(Value("BUILDING.WORK"), 10);
  EXPECT_EQ(Value("BUILDING.PARKING"), 6);
  EXPECT_EQ(Value("BUILDING.SHOPPING"), 0);
  // No district: nothing is in use, and removal costs the base.
  EXPECT_EQ(Value("BUILDING.RES.USED"), 0);
  EXPECT_EQ(Value("BUILDING.REMOVECOST"), 51000);
  double v = 123;
  EXPECT_EQ(building.GetVarData("BUILDING.NOSUCHKEY", &v), 1);
  EXPECT_EQ(building.GetVarData("PH.PRICE", &v), 1);
  EXPECT_EQ(v, 123);
  EXPECT_EQ(building.SetVarData("BUILDING.XPOS", 3.0), 1);
}

TEST_F(Placed, UseQuotesComeFromTheDistrictInThePercentOfTheModel) {
  location.SetDistrict(&district);
  EXPECT_EQ(location.GetDistrictID(), 17);
  EXPECT_DOUBLE_EQ(location.QuoteHomesUsed(), 0.25);
  EXPECT_DOUBLE_EQ(location.QuoteWorkUsed(), 1.0);
  EXPECT_DOUBLE_EQ(Value("BUILDING.RES.USED"), 0.25 * 100.0f * static_cast<double>(1.4f));
  // (1 + (40 x 0.25 + 10 x 1) / 50) x 51000
  EXPECT_EQ(location.CalculateRemoveCost(), 71400);
  // A location without homes of its own uses none, whatever the district.
  PotentialType none;
  CSimLocation empty;
  empty.SetPotential(&none);
  empty.SetDistrict(&district);
  EXPECT_EQ(empty.QuoteHomesUsed(), 0.0);
  EXPECT_EQ(empty.CalculateRemoveCost(), 1000);
}

TEST_F(Placed, PublicTransportReachFallsWithTheNearestStop) {
  EXPECT_EQ(Value("BUILDING.OPNVREACH"), 0);
  const short ids[3] = {4, 5, 6};
  const int far[3] = {1600, 1700, 2000};
  location.SetNearestHst(ids, far, 3);
  EXPECT_EQ(Value("BUILDING.OPNVREACH"), 0);
  const int mixed[3] = {900, 750, 750};
  location.SetNearestHst(ids, mixed, 3);
  EXPECT_DOUBLE_EQ(Value("BUILDING.OPNVREACH"), 0.5);
  short id = 0;
  int d = 0;
  ASSERT_TRUE(location.GetNearestHst(id, d));
  EXPECT_EQ(id, 5);  // the first of the two nearest
  float lo = -1, hi = -1;
  EXPECT_EQ(building.GetVarMin("BUILDING.OPNVREACH", &lo), 0);
  EXPECT_EQ(building.GetVarMax("BUILDING.PKWREACH", &hi), 0);
  EXPECT_EQ(lo, 0.0f);
  EXPECT_EQ(hi, 1.0f);
  EXPECT_EQ(building.GetVarMax("BUILDING.RES", &hi), 1);
}

TEST_F(Placed, SizesTurnWithTheDirectionAndFallBackToTheTypeWithoutALocation) {
  EXPECT_EQ(building.GetXSize(), 2);
  EXPECT_EQ(building.GetYSize(), 3);
  EXPECT_EQ(building.GetXSizeRichtung(), 3);
  EXPECT_EQ(building.GetYSizeRichtung(), 2);
  location.SetBuilding(&building);
  EXPECT_EQ(location.GetXSizeRichtung(), 3);
  CSecondLayerObject stop;
  CIsoRichtung dir(0);
  stop.Create(1, 0, 0, &dir, SIM_HEIGHT_ANY);
  for (auto [type, w, d] : {std::tuple{OBJ_TRAMSTOP, 3, 2}, {OBJ_BUSSTOP_SHELTER, 1, 3},
                            {OBJ_BUSSTOP_SHELTER4, 1, 4}, {OBJ_BUSSTOP_SIGN, 1, 1}}) {
    stop.SetType(type);
    EXPECT_EQ(stop.GetXSize(), w) << type;
    EXPECT_EQ(stop.GetYSize(), d) << type;
  }
}

TEST_F(Placed, LocationsMeasureInHundredsACell) {
  CSimLocation a, b;
  const CSimRasterPos pa(10, 20), pb(13, 24);
  a.Create(&pa, {}, 1, SIM_HEIGHT_ANY);
  b.Create(&pb, {}, 1, SIM_HEIGHT_ANY);
  EXPECT_EQ(a.LocationDistance(&b), 500);
  EXPECT_EQ(a.LocationDistance(&a), 0);
  EXPECT_EQ(a.LocationDistance(nullptr), 1000000);
  EXPECT_THROW(a.pDistrict(), const char*);
}

TEST_F(Placed, TheRecordHoldsNameDataDistrictAndCapacitiesAndEveryReadIsChecked) {
  location.SetDistrict(&district);
  RecordFile file;
  ASSERT_EQ(building.SerializeGameStore(file.f(), nullptr), 0);
  const ByteList bytes = file.Bytes();
  ASSERT_EQ(bytes.size(), 4u + 140u);
  EXPECT_EQ(bytes[0], 140);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[4])), "BuildingObject");
  EXPECT_EQ(bytes[4 + 29], 'A');  // the field's rest keeps its filling
  EXPECT_EQ(bytes[34 + 20], OBJ_RESIDENTIAL);  // the type, refreshed
  EXPECT_EQ(bytes[34 + 32], 17);               // the district

  ByteList payload(bytes.begin() + 34, bytes.end());
  {
    RecordFile in(payload);
    BuildingDataType d;
    PotentialType p;
    short district = 0;
    ASSERT_EQ(CBuildingObject::SerializeGameLoad(in.f(), &d, &p, &district), 0);
    EXPECT_EQ(d.x, 10);
    EXPECT_EQ(d.y, 20);
    EXPECT_EQ(d.resId, 4711);
    EXPECT_EQ(d.height, 2);
    EXPECT_EQ(district, 17);
    EXPECT_EQ(p.Word(24), 40);
    EXPECT_EQ(p.size.depth, 3);
  }
  // Cut inside each of the three parts: placement, district, capacities.
  for (size_t cut : {size_t{20}, size_t{33}, size_t{60}, payload.size() - 1}) {
    RecordFile in(ByteList(payload.begin(), payload.begin() + static_cast<long>(cut)));
    BuildingDataType d;
    PotentialType p;
    p.resId = 99;
    short district = 0;
    EXPECT_EQ(CBuildingObject::SerializeGameLoad(in.f(), &d, &p, &district), 1) << cut;
    EXPECT_EQ(p.resId, 99) << cut;
  }
}

TEST(SecondLayerRecord, CountsNameAndPlacementAndCarriesTheStopId) {
  CSecondLayerObject stop;
  CIsoRichtung dir(2);
  stop.Create(32290, 5, 6, &dir, SIM_HEIGHT_ANY);
  stop.SetType(OBJ_BUSSTOP_SIGN);
  stop.SetID(0xA1B2C3D4u);
  RecordFile file;
  ASSERT_EQ(stop.SerializeGameStore(file.f(), nullptr), 0);
  const ByteList bytes = file.Bytes();
  ASSERT_EQ(bytes.size(), 4u + 62u + 4u);
  EXPECT_EQ(bytes[0], 62);
  RecordFile in(ByteList(bytes.begin() + 34, bytes.end()));
  BuildingDataType d;
  unsigned int id = 0;
  ASSERT_EQ(CSecondLayerObject::SerializeGameLoad(in.f(), &d, &id), 0);
  EXPECT_EQ(id, 0xA1B2C3D4u);
  EXPECT_EQ(d.objectType, OBJ_BUSSTOP_SIGN);
  EXPECT_EQ(d.richtung, 2);
}

TEST(ParkRideRecord, TheStationFollowsOnlyInNewerSavegames) {
  CBuildingParkRideObject site(nullptr);
  CIsoRichtung dir(0);
  site.Create(OBJ_PARKRIDE, 33149, 1, 2, &dir, SIM_HEIGHT_ANY);
  ParkRideDataType station;
  station.lines = 7;
  site.SetData(&station);
  RecordFile file;
  ASSERT_EQ(site.SerializeGameStore(file.f(), nullptr), 0);
  const ByteList bytes = file.Bytes();
  ASSERT_EQ(bytes.size(), 4u + 140u + 32u);
  const ByteList payload(bytes.begin() + 34, bytes.end());
  RecordFile in(payload);
  ParkRideDataType back;
  ASSERT_EQ(CBuildingParkRideObject::SerializeGameLoad(in.f(), nullptr, nullptr, nullptr, &back, 190), 0);
  EXPECT_EQ(back.lines, 7);
  // An older savegame ends after the building part.
  RecordFile old(ByteList(payload.begin(), payload.end() - 32));
  EXPECT_EQ(CBuildingParkRideObject::SerializeGameLoad(old.f(), nullptr, nullptr, nullptr, &back, 189), 0);
  RecordFile cut(ByteList(payload.begin(), payload.end() - 1));
  EXPECT_EQ(CBuildingParkRideObject::SerializeGameLoad(cut.f(), nullptr, nullptr, nullptr, &back, 190), 1);
}

TEST(BuildingList, CountingListsKeepTheListNumberAndOwnNothing) {
  CBuildingRCIObject a, b;
  {
    CBuildingList counting(0);
    counting.AddHeadBuilding(&a);
    counting.AddTailBuilding(&b);
    EXPECT_EQ(a.GetListNumber(), 1);
    CBuildingList quiet(1);
    quiet.AddHeadBuilding(&a);
    EXPECT_EQ(a.GetListNumber(), 1);
    CBuildingList copy(0);
    EXPECT_TRUE(counting.Copy(&copy));
    EXPECT_EQ(copy.GetCount(), 2);
    EXPECT_EQ(a.GetListNumber(), 2);
    copy.SetupBuildingCount(0);
    EXPECT_EQ(copy.GetNextBuilding(), &b);  // added at the head in turn
    EXPECT_EQ(copy.RemoveBuilding(&a), 0);
    EXPECT_EQ(copy.RemoveBuilding(&a), 1);
    EXPECT_EQ(a.GetListNumber(), 1);
    EXPECT_EQ(counting.RemoveHeadBuilding(), &a);
    EXPECT_EQ(a.GetListNumber(), 0);
  }
  CBuildingRCIObject c;
  OpenErrorLog("errors.log");
  c.DecrementListNumber();
  CloseErrorLog();
  EXPECT_EQ(c.GetListNumber(), -1);
  EXPECT_NE(zortest::ReadFile("errors.log").find("inListNumber<0"), std::string::npos);
}

}  // namespace
