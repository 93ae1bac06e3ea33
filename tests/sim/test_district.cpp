// The districts of the city model: ids, the locations they hold and the
// capacities these bring to the district and the city, and the choice of a
// location within a district.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <vector>

#include "framework/zor_seams.h"
#include "sim/sim_city_model.h"
#include "sim/sim_error.h"
#include "sim/sim_location_factory.h"
#include "sim/sim_welt.h"
#include "sim_test_locations.h"

namespace {

using simtest::Capacities;
using simtest::MakeLocation;

struct City : testing::Test {
  CSimLocationFactory factory;
  CSimWelt world{nullptr};
  // The locations outlive the model, as the game's factory keeps them.
  std::vector<std::unique_ptr<CSimLocation>> locations;
  std::unique_ptr<CSimCityModell> city = std::make_unique<CSimCityModell>();
  CSimLocation* Keep(std::unique_ptr<CSimLocation> l) {
    locations.push_back(std::move(l));
    return locations.back().get();
  }
  void SetUp() override { ASSERT_TRUE(city->Create(&factory, &world)); }
};

TEST_F(City, IdsRunColumnFirstAndRefuseCellsOutsideTheGrid) {
  EXPECT_EQ(CSimCityModell::DistrictID(0, 0), 1);
  EXPECT_EQ(CSimCityModell::DistrictID(15, 0), 16);
  EXPECT_EQ(CSimCityModell::DistrictID(0, 15), 241);
  EXPECT_EQ(CSimCityModell::DistrictID(15, 15), 256);
  EXPECT_EQ(CSimCityModell::DistrictID(16, 0), 0);
  EXPECT_EQ(SimLastError(), 1);
  EXPECT_EQ(CSimCityModell::DistrictID(0, -1), 0);
  int x = -1, y = -1;
  ASSERT_TRUE(CSimCityModell::District(35, x, y));
  EXPECT_EQ(x, 2);
  EXPECT_EQ(y, 2);
  EXPECT_FALSE(CSimCityModell::District(0, x, y));
  EXPECT_FALSE(CSimCityModell::District(257, x, y));
  for (short id = 1; id <= 256; ++id) EXPECT_EQ(city->pDistrict(id)->ID(), id);
  EXPECT_THROW(city->pDistrict(257), const char*);
  EXPECT_THROW(city->pDistrict(0), const char*);
}

TEST_F(City, ALocationGoesToTheDistrictOfItsCellAndBringsItsCapacities) {
  CSimLocation* east = Keep(MakeLocation(127, 0, {.homes = 40, .jobs = 7, .parking = 3, .type = 1, .height = 2}));
  CSimLocation* south = Keep(MakeLocation(0, 127, {.jobs = 90, .shops = 12, .leisure = 5, .school = 30, .type = 2, .height = 3}));
  ASSERT_TRUE(city->RegisterLocation(east, 0));
  ASSERT_TRUE(city->RegisterLocation(south, 0));
  EXPECT_EQ(east->GetDistrictID(), 16);
  EXPECT_EQ(south->GetDistrictID(), 241);
  CSimDistrict* d16 = city->pDistrict(16);
  EXPECT_EQ(d16->NrOfHomes(), 40);
  EXPECT_EQ(d16->NrOfJobs(), 7);
  EXPECT_EQ(d16->NrOfParking(), 3);
  EXPECT_EQ(d16->NrOfResSpace(), 2);
  EXPECT_EQ(city->pDistrict(241)->NrOfComSpace(), 3);
  EXPECT_EQ(city->pDistrict(241)->NrOfSchoolSeats(), 30);
  EXPECT_EQ(city->NrOfHomes(), 40u);
  EXPECT_EQ(city->NrOfJobs(), 97u);
  EXPECT_EQ(city->NrOfShops(), 12u);
  EXPECT_EQ(city->NrOfLeisurePoints(), 5u);
  EXPECT_EQ(city->NrOfParking(), 3u);
  EXPECT_EQ(city->NrOfResSpace(), 2u);
  EXPECT_EQ(city->NrOfComSpace(), 3u);

  // A given id wins over the cell.
  CSimLocation* elsewhere = Keep(MakeLocation(0, 0, {.homes = 5}));
  ASSERT_TRUE(city->RegisterLocation(elsewhere, 100));
  EXPECT_EQ(elsewhere->GetDistrictID(), 100);

  ASSERT_TRUE(city->RemoveLocation(east));
  EXPECT_EQ(d16->NrOfHomes(), 0);
  EXPECT_EQ(d16->NrOfLocations(), 0);
  EXPECT_EQ(city->NrOfHomes(), 5u);
  EXPECT_EQ(city->NrOfJobs(), 90u);
  EXPECT_EQ(city->NrOfResSpace(), 0u);
  // The locations outlive the model and forget their districts with it.
  city->Destroy();
  EXPECT_EQ(south->GetDistrictID(), 0);
  EXPECT_EQ(elsewhere->GetDistrictID(), 0);
}

TEST_F(City, LocationsOutsideTheMapOrUnknownAreRefusedAndCountNothing) {
  EXPECT_FALSE(city->RegisterLocation(nullptr, 0));
  EXPECT_EQ(SimLastError(), 2);
  CSimLocation* off = Keep(MakeLocation(128, 5, {.homes = 10}));
  EXPECT_FALSE(city->RegisterLocation(off, 0));
  EXPECT_EQ(SimLastError(), 1);
  CSimLocation* negative = Keep(MakeLocation(-3, 5, {.homes = 10}));
  EXPECT_FALSE(city->RegisterLocation(negative, 0));
  EXPECT_FALSE(city->RegisterLocation(negative, 300));
  EXPECT_EQ(city->NrOfHomes(), 0u);

  CSimLocation* in = Keep(MakeLocation(9, 9, {.homes = 10}));
  CSimLocation* stranger = Keep(MakeLocation(9, 9, {.homes = 99}));
  ASSERT_TRUE(city->RegisterLocation(in, 0));
  // A location that the district does not hold changes no counter.
  stranger->SetDistrict(city->pDistrict(18));
  EXPECT_FALSE(city->pDistrict(18)->RemoveLocation(stranger));
  EXPECT_EQ(SimLastError(), 1);
  EXPECT_EQ(city->pDistrict(18)->NrOfHomes(), 10);
  EXPECT_EQ(city->NrOfHomes(), 10u);
  // Without a district it is refused by the model and nothing throws.
  CSimLocation* loose = Keep(MakeLocation(9, 9, {.homes = 1}));
  EXPECT_FALSE(city->RemoveLocation(loose));
  EXPECT_EQ(city->NrOfHomes(), 10u);
}

TEST_F(City, ALocationIsFoundOnlyAmongThoseThatOfferTheKind) {
  CSimLocation* house = Keep(MakeLocation(20, 20, {.homes = 30}));
  CSimLocation* shop = Keep(MakeLocation(21, 20, {.shops = 8, .type = 2}));
  CSimLocation* office = Keep(MakeLocation(22, 21, {.jobs = 50, .type = 2}));
  CSimDistrict* d = city->pDistrict(CSimCityModell::DistrictID(2, 2));
  EXPECT_EQ(d->pFindLocation(SIM_DEST_HOME, 50), nullptr);
  for (CSimLocation* l : {house, shop, office}) ASSERT_TRUE(city->RegisterLocation(l, 0));
  zor_srandom(7);
  std::set<CSimLocation*> any;
  for (int i = 0; i < 200; ++i) {
    EXPECT_EQ(d->pFindLocation(SIM_DEST_SHOPPING, 50), shop);
    EXPECT_EQ(d->pFindLocation(SIM_DEST_HOME, 50), house);
    EXPECT_EQ(d->pFindLocation(SIM_DEST_WORK, 50), office);
    any.insert(d->pFindLocation(SIM_DEST_OTHER, 50));
  }
  // Nobody here offers leisure; a kind without a capacity takes any.
  EXPECT_EQ(d->pFindLocation(SIM_DEST_LEISURE, 50), nullptr);
  EXPECT_EQ(any.size(), 3u);
}

TEST_F(City, FreeRoomIsHomesOrJobsOrSeatsLessThosePlacedAndOtherKindsAreAlwaysFree) {
  CSimLocation* house = Keep(MakeLocation(40, 40, {.homes = 40, .jobs = 60, .school = 10}));
  ASSERT_TRUE(city->RegisterLocation(house, 0));
  CSimDistrict* d = city->pDistrict(house->GetDistrictID());
  EXPECT_FALSE(d->CheckForEmptyDestination(SIM_DEST_HOME, 50));
  EXPECT_TRUE(d->CheckForEmptyDestination(SIM_DEST_HOME, 40));
  EXPECT_TRUE(d->CheckForEmptyDestination(SIM_DEST_WORK, 50));
  EXPECT_FALSE(d->CheckForEmptyDestination(SIM_DEST_EDUCATION, 11));
  EXPECT_TRUE(d->CheckForEmptyDestination(SIM_DEST_SHOPPING, 5000));
  EXPECT_TRUE(city->pDistrict(1)->CheckForEmptyDestination(SIM_DEST_LEISURE, 5000));
}

TEST(District, OneThatIsNotCreatedThrowsOnItsReadersAndAModelIsNeeded) {
  CSimDistrict d;
  EXPECT_THROW(d.NrOfHomes(), const char*);
  EXPECT_THROW(d.ID(), const char*);
  EXPECT_FALSE(d.Create(3, nullptr));
  EXPECT_EQ(SimLastError(), 2);
  EXPECT_FALSE(d.IsValid());
  EXPECT_EQ(d.Zugangszeit(), 70);
  EXPECT_EQ(d.Parksuchzeit(), 70);
}

}  // namespace
