// The residents of the running town's districts: every person the city
// counts as a resident lives in a home of one of its districts, hour by
// hour, while the town grows along its avenue and after a house of it is
// pulled down; while it only grows no district houses more people than it
// has homes.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "iso/iso_object.h"
#include "scenario_measures_week.h"
#include "sim/sim_agent.h"
#include "sim/sim_destination.h"
#include "sim/sim_district.h"
#include "sim/sim_location.h"

namespace {

using namespace zortest;

// The people the agents bring home, each counted in the district of its
// home's location.
struct Homes {
  unsigned byDistrict[16][16] = {};
  unsigned total = 0;
};
Homes AgentsAtHome(CSimCityModell& city) {
  Homes h;
  CSimAgentList* agents = city.pAgentList();
  agents->ResetIterator();
  while (CSimAgent* a = agents->pNextAgent()) {
    if (!a->IsValid()) continue;
    CSimDestination* home = a->pHomeDestination();
    if (!home || !home->HasLocation()) continue;
    const short id = home->pLocation()->GetDistrictID();
    int x = 0, y = 0;
    if (!CSimCityModell::District(id, x, y)) continue;
    h.byDistrict[x][y] += static_cast<unsigned>(a->Size());
    h.total += static_cast<unsigned>(a->Size());
  }
  return h;
}

// The city's residents are those of its districts, as the measures read
// them and as the agents' homes place them, and so are its workers,
// scholars, shoppers and leisure-goers; with `growing`, no district is
// over-full. A house pulled down takes its homes from the district at once
// but moves only the agents it housed, so the district's other people may
// then outnumber its homes.
void ExpectResidentsHoused(CSimCityModell& city, const std::string& when, bool growing) {
  int read[16][16];
  ASSERT_TRUE(CMeasureHost::Get()->GetDistrictResidents(read)) << when;
  const Homes homes = AgentsAtHome(city);
  unsigned sum = 0, workers = 0, scholars = 0, consumers = 0, leisurers = 0;
  for (int x = 0; x < 16; ++x)
    for (int y = 0; y < 16; ++y) {
      CSimDistrict* d = city.pDistrictAt(x, y);
      workers += d->NrOfWorkers();
      scholars += d->NrOfScholars();
      consumers += d->NrOfConsumers();
      leisurers += d->NrOfLeisurers();
      EXPECT_EQ(read[x][y], static_cast<int>(d->NrOfResidents())) << when << " " << x << "/" << y;
      EXPECT_EQ(d->NrOfResidents(), homes.byDistrict[x][y]) << when << " " << x << "/" << y;
      if (growing) {
        EXPECT_LE(d->NrOfResidents(), d->NrOfHomes()) << when << " " << x << "/" << y;
      }
      sum += d->NrOfResidents();
    }
  EXPECT_EQ(city.NrOfResidents(), sum) << when;
  // The other persons the agents bring to their destinations count alike.
  EXPECT_EQ(city.NrOfWorkers(), workers) << when;
  EXPECT_EQ(city.NrOfScholars(), scholars) << when;
  EXPECT_EQ(city.NrOfConsumers(), consumers) << when;
  EXPECT_EQ(city.NrOfLeisurers(), leisurers) << when;
  EXPECT_EQ(homes.total, sum) << when;
}

// The agents whose destination of the kind lies at the location.
int AgentsAt(CSimCityModell& city, const CSimLocation* location, ESimDestination kind) {
  int n = 0;
  CSimAgentList* agents = city.pAgentList();
  agents->ResetIterator();
  while (CSimAgent* a = agents->pNextAgent()) {
    if (!a->IsValid()) continue;
    for (CSimDestination* d = a->pDestinationList()->pFirst(); d; d = d->pNext())
      if (d->Destination() == kind && d->HasLocation() && d->pLocation() == location) ++n;
  }
  return n;
}

// The house that the most agents call home.
const CSimLocation* FullestHouse(CSimCityModell& city) {
  std::map<const CSimLocation*, int> living;
  CSimAgentList* agents = city.pAgentList();
  agents->ResetIterator();
  while (CSimAgent* a = agents->pNextAgent()) {
    CSimDestination* home = a->IsValid() ? a->pHomeDestination() : nullptr;
    if (!home || !home->HasLocation()) continue;
    const CWorldObj* building = home->pLocation()->GetBuilding();
    if (building && building->GetType() == OBJ_RESIDENTIAL) ++living[home->pLocation()];
  }
  const CSimLocation* fullest = nullptr;
  for (const auto& [location, n] : living)
    if (!fullest || n > living[fullest]) fullest = location;
  return fullest;
}

// Runs the game for `days` simulated days, checking the residents at each
// new hour.
void RunDaysChecked(Scenario& game, int days, int& hours, bool growing) {
  const CSimWelt& sim = *game.World().GetSimWelt();
  CSimCityModell& city = *sim.pCityModell();
  ASSERT_NO_FATAL_FAILURE(RunDays(game, days, [&] {
    ++hours;
    ExpectResidentsHoused(city, "day " + std::to_string(sim.Date().Year()) + " hour " + std::to_string(sim.Date().Hour()),
                          growing);
  }));
}

TEST(CityDistrictResidents, EveryResidentLivesInADistrictHourByHourAsTheAvenueFillsAndLosesAHouse) {
  std::filesystem::create_directories("SaveGame");
  Scenario game;
  CZorvaWorld& world = game.World();
  CSimCityModell& city = *world.GetSimWelt()->pCityModell();
  ASSERT_NO_FATAL_FAILURE(BuildAvenue(world));
  ASSERT_NO_FATAL_FAILURE(PeopleInTown(game, 0));
  int hours = 0;
  ASSERT_NO_FATAL_FAILURE(RunDaysChecked(game, 3, hours, true));
  const unsigned filled = city.NrOfResidents();
  ASSERT_GT(filled, 0u) << "people have moved in along the avenue";
  EXPECT_GT(hours, 30);

  // The house most people live in goes: they move to homes free elsewhere
  // or leave, and either way the counts follow them.
  const CSimLocation* location = FullestHouse(city);
  ASSERT_NE(location, nullptr) << "somebody lives in a house";
  ASSERT_GT(AgentsAt(city, location, SIM_DEST_HOME), 0);
  CWorldObj* house = location->GetBuilding();
  CSimDistrict* district = location->pDistrict();
  const unsigned homesBefore = district->NrOfHomes();
  ASSERT_EQ(world.RemoveObject(house, 0, false), 0);
  EXPECT_LT(district->NrOfHomes(), homesBefore);
  EXPECT_EQ(AgentsAt(city, location, SIM_DEST_HOME), 0) << "nobody is left in the house pulled down";
  ASSERT_NO_FATAL_FAILURE(ExpectResidentsHoused(city, "after the house went", false));

  ASSERT_NO_FATAL_FAILURE(RunDaysChecked(game, 4, hours, false));
  EXPECT_GT(hours, 100);
  EXPECT_GT(city.NrOfResidents(), 0u);
}

}  // namespace
