// Parking search times: the districts' demand spread over the car parks in
// reach, the car parks' use and load, the search times and the parking map.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "framework/zor_seams.h"
#include "sim/sim_city_model.h"
#include "sim/sim_location_factory.h"
#include "sim/sim_parking_data.h"
#include "sim/sim_welt.h"
#include "sim_test_city.h"
#include "sim_test_locations.h"

namespace {

using simtest::Capacities;
using simtest::MakeLocation;

struct CarParks : CSimParkingDataSource {
  std::vector<ParkingDataType> records;
  size_t cursor = 0;
  void SimSetupParkingDataCount() override { cursor = 0; }
  ParkingDataType* SimGetNextParkingData() override { return cursor < records.size() ? &records[cursor++] : nullptr; }
};

struct ParkingParts : simtest::TestParts {
  CarParks parks;
  CSimParkingDataSource* ParkingData() override { return &parks; }
};

// Homes in district (1, 1); work, shops, leisure and schools two or more
// districts away.
struct Search : testing::Test {
  static constexpr short kHome = 1 + 16 * 1 + 1;
  CSimLocationFactory factory;
  ParkingParts parts;
  CSimWelt world{&parts};
  std::unique_ptr<CSimCityModell> city = std::make_unique<CSimCityModell>();
  std::vector<std::unique_ptr<CSimLocation>> locations;

  CSimLocation* Add(int x, int y, const Capacities& c) {
    locations.push_back(MakeLocation(x, y, c));
    EXPECT_TRUE(city->RegisterLocation(locations.back().get(), 0));
    return locations.back().get();
  }
  void SetUp() override {
    try { SetUpTown(); } catch (const char* e) { FAIL() << e; }
  }
  void SetUpTown() {
    zor_srandom(5);
    parts.parks.records.reserve(8);
    ASSERT_TRUE(city->Create(&factory, &world));
    Add(10, 10, {.homes = 2000});
    Add(10, 40, {.jobs = 3000, .shops = 400});
    Add(30, 30, {.jobs = 1000, .leisure = 500, .school = 800});
    Add(60, 60, {.parking = 50});  // parking where nobody comes
  }
  void TearDown() override { city.reset(); }
  void Residents(int agents) {
    try {
      for (int i = 0; i < agents; ++i) ASSERT_TRUE(city->CreateNewAgent(city->pDistrict(kHome)));
    } catch (const char* e) {
      FAIL() << e;
    }
  }
  ParkingDataType& CarPark(short district, int carPlaces, float price, int microcarPlaces = 0) {
    ParkingDataType& p = parts.parks.records.emplace_back();
    p.sizeClass = 3;
    p.places = carPlaces + microcarPlaces;
    p.carPlaces = carPlaces;
    p.microcarPlaces = microcarPlaces;
    p.price = price;
    p.districtId = district;
    p.carLoad = 0.7f;  // stale figures are overwritten
    p.carPlacesUsed = 99;
    return p;
  }
  CSimDistrict& Home() { return *city->pDistrictAt(1, 1); }
  // A district's parking demand: ten per resident, eight per worker, two per
  // consumer and three per person who comes for a private trip.
  static double Demand(const CSimDistrict& d) {
    return 10.0 * d.NrOfResidents() + 8.0 * d.NrOfWorkers() + 2.0 * d.NrOfConsumers() + 3.0 * d.NrOfLeisurers();
  }
  double Demand() { return Demand(Home()); }
};

TEST(ParkingDistances, ACarParkReachesItsDistrictAndTheEightAroundIt) {
  double w[CSimCityModell::kDistricts];
  CSimCityModell::CalcDistMap(w, 18, 1);  // (1, 1), guidance or reservation
  EXPECT_DOUBLE_EQ(w[17], 1.2);
  EXPECT_DOUBLE_EQ(w[16], 0.9);
  EXPECT_DOUBLE_EQ(w[1], 0.9);
  EXPECT_DOUBLE_EQ(w[0], 0.6);
  EXPECT_DOUBLE_EQ(w[34], 0.6);
  EXPECT_EQ(w[3], 0.0);
  CSimCityModell::CalcDistMap(w, 1, 2);  // the grid's corner, both systems
  EXPECT_DOUBLE_EQ(w[0], 1.4);
  EXPECT_DOUBLE_EQ(w[17], 0.7);
  CSimCityModell::CalcDistMap(w, 0, 0);  // no district: no reach
  for (double v : w) EXPECT_EQ(v, 0.0);
}

TEST_F(Search, WithoutCarParksTheTimeComesFromSupplyAndDemand) {
  Residents(6);
  const double demand = Demand();
  ASSERT_GT(demand, 0.0);
  // Places for more than the demand: below 90 s, as 90 x D / S gives.
  const int places = static_cast<int>(demand / 24.0 * 1.5) + 1;
  Add(12, 12, {.parking = places});
  city->CalculateParkingData();
  const int seconds = static_cast<int>(90.0 * demand / (places * 24.0));
  EXPECT_EQ(Home().Parksuchzeit(), seconds);
  // The map takes the time before it is cut to whole seconds.
  EXPECT_FLOAT_EQ(city->ParkingQuality(1, 1), static_cast<float>(1.0 - 90.0 * demand / (places * 24.0) / 360.0));
  // The thematic map's parking layer shows this map.
  const float* shown = city->GetPointerToStatisticMap(QNO_MAP_V_PARKRAUM);
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown[16 * 1 + 1], city->ParkingQuality(1, 1));
  // Parking where nobody comes: 0 s, and no value on the map.
  EXPECT_EQ(city->pDistrictAt(7, 7)->Parksuchzeit(), 0);
  EXPECT_EQ(city->ParkingQuality(7, 7), 0.0f);
  EXPECT_EQ(city->ParkingQuality(16, 0), 0.0f);
}

TEST_F(Search, VisitorsOnPrivateTripsAskForParkingWhereTheyGo) {
  // A park in district (6, 1) with nothing else: only those who spend their
  // free time there come.
  Add(50, 10, {.leisure = 900});
  Residents(12);
  CSimDistrict& park = *city->pDistrictAt(6, 1);
  ASSERT_GT(park.NrOfLeisurers(), 0);
  ASSERT_EQ(park.NrOfResidents() + park.NrOfWorkers() + park.NrOfConsumers(), 0);
  const double demand = Demand(park);
  EXPECT_EQ(demand, 3.0 * park.NrOfLeisurers());
  // Places for a bit more than that demand, in the same district.
  const int places = static_cast<int>(demand / 24.0) + 2;
  Add(52, 12, {.parking = places});
  city->CalculateParkingData();
  const double seconds = 90.0 * demand / (places * 24.0);
  ASSERT_GT(seconds, 60.0);
  EXPECT_EQ(park.Parksuchzeit(), static_cast<int>(seconds));
  // The visitors count as the district's persons: the map shows it.
  EXPECT_FLOAT_EQ(city->ParkingQuality(6, 1), static_cast<float>(1.0 - seconds / 360.0));
}

TEST_F(Search, DemandWithoutAnyPlaceInReachSearchesLongestNotShortest) {
  Residents(4);
  city->CalculateParkingData();
  EXPECT_EQ(Home().Parksuchzeit(), 360);
  EXPECT_FLOAT_EQ(city->ParkingQuality(1, 1), 0.03f);
  // A district with nobody and nothing keeps 0 s.
  EXPECT_EQ(city->pDistrictAt(15, 15)->Parksuchzeit(), 0);
}

TEST_F(Search, CarParksShortenTheSearchAndMoreDemandLengthensIt) {
  Residents(4);
  city->CalculateParkingData();
  const int without = Home().Parksuchzeit();
  ParkingDataType& park = CarPark(kHome, 400, 1.0f);
  city->CalculateParkingData();
  const int with = Home().Parksuchzeit();
  EXPECT_LT(with, without);
  EXPECT_GT(park.carLoad, 0.0f);
  EXPECT_LE(park.carLoad, 1.05f);
  EXPECT_EQ(park.carPlacesUsed, static_cast<int>(park.carLoad * 400 * 24 / 24 + 1e-3));
  EXPECT_EQ(park.microcarPlacesUsed, 0);  // no microcar share without its node
  EXPECT_EQ(park.microcarLoad, 0.0f);
  Residents(8);
  city->CalculateParkingData();
  EXPECT_GT(Home().Parksuchzeit(), with);
  EXPECT_GT(park.carLoad, 0.0f);
  // A car park two districts away does not reach the homes.
  parts.parks.records.clear();
  CarPark(kHome + 2, 400, 1.0f);
  city->CalculateParkingData();
  EXPECT_EQ(Home().Parksuchzeit(), without);
  EXPECT_EQ(parts.parks.records[0].carLoad, 0.0f);
}

TEST_F(Search, ADearerCarParkFillsLessAndAFullOneTakesNoMore) {
  Residents(10);
  ParkingDataType& cheap = CarPark(kHome, 200, 0.5f);
  ParkingDataType& dear = CarPark(kHome, 200, 2.0f);
  ParkingDataType& none = CarPark(kHome, 0, 1.0f, 30);
  city->CalculateParkingData();
  EXPECT_GT(cheap.carLoad, dear.carLoad);
  EXPECT_GT(dear.carLoad, 0.0f);
  // Places for microcars only take no car and show no load.
  EXPECT_EQ(none.carLoad, 0.0f);
  EXPECT_EQ(none.carPlacesUsed, 0);
  // The acceptance falls as a car park fills: none ends far beyond full.
  Residents(30);
  city->CalculateParkingData();
  EXPECT_LT(cheap.carLoad, 1.2f);
  EXPECT_GT(cheap.carLoad, 0.7f);
}

}  // namespace
