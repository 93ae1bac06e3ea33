// The city model with agents: the trips of an hour, the hourly re-planning,
// the statistics of the agents, the removal of a building the agents use,
// the savegame of the agents and the growth of the population.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <memory>
#include <vector>

#include "framework/zor_seams.h"
#include "sim/sim_agent.h"
#include "sim/sim_city_model.h"
#include "sim/sim_error.h"
#include "sim/sim_location_factory.h"
#include "sim/sim_welt.h"
#include "sim_test_city.h"
#include "sim_test_locations.h"

namespace {

// The game's side of the demand model: growth targets and the version of
// the savegame being read.
struct TownParts : simtest::TestParts {
  bool targets = false;
  int jobs = 0, homes = 0, people = 0;
  int version = kCurrentVersion;
  bool GrowthTargets(int& j, int& h, int& p) override {
    j = jobs, h = homes, p = people;
    return targets;
  }
  int LoadVersion() override { return version; }
  // Where the file stood at each step of the loading indicator.
  std::vector<long> progress;
  void LoadProgress(FILE* file) override { progress.push_back(std::ftell(file)); }
};

using simtest::Capacities;
using simtest::MakeLocation;

// A town of four districts: homes in two, work, shops, schools and leisure
// in the others.
struct Town : testing::Test {
  CSimLocationFactory factory;
  TownParts parts;
  CSimWelt world{&parts};
  std::unique_ptr<CSimCityModell> city = std::make_unique<CSimCityModell>();
  std::vector<std::unique_ptr<CSimLocation>> locations;

  CSimLocation* Add(int x, int y, const Capacities& c) {
    locations.push_back(MakeLocation(x, y, c));
    EXPECT_TRUE(city->RegisterLocation(locations.back().get(), 0));
    return locations.back().get();
  }
  void SetUp() override {
    zor_srandom(17);
    ASSERT_TRUE(city->Create(&factory, &world));
    Add(10, 10, {.homes = 1000});
    Add(20, 10, {.homes = 500});
    Add(10, 20, {.jobs = 3000, .shops = 400});
    Add(30, 30, {.jobs = 1000, .leisure = 500, .school = 800});
  }
  void TearDown() override {
    // Agents leave their districts before the locations go.
    city.reset();
  }
  int MakeAgents(int n, short district) {
    int made = 0;
    for (int i = 0; i < n; ++i) made += city->CreateNewAgent(city->pDistrict(district)) ? 1 : 0;
    return made;
  }
  // Saves the city and loads it back; the savegame's size in bytes.
  size_t SaveAndLoad() {
    char* buffer = nullptr;
    size_t size = 0;
    FILE* out = open_memstream(&buffer, &size);
    EXPECT_TRUE(city->Save(out));
    std::fclose(out);
    FILE* in = fmemopen(buffer, size, "rb");
    EXPECT_TRUE(city->Load(in));
    std::fclose(in);
    std::free(buffer);
    return size;
  }
  int TripsInHour(int hour) {
    int n = 0;
    for (CSimTrip* t = city->Trips(hour); t;) {
      CSimTrip* next = t->pNext();
      ++n;
      delete t;
      t = next;
    }
    return n;
  }
};

TEST_F(Town, NewAgentsLiveWhereHomesAreFreeAndCountTheirPersons) {
  const short home = CSimCityModell::DistrictID(1, 1);
  ASSERT_EQ(MakeAgents(6, home), 6);
  EXPECT_EQ(city->NrOfAgents(), 6);
  EXPECT_EQ(city->NrOfResidents(), 300u);
  EXPECT_EQ(city->pDistrict(home)->NrOfResidents(), 300);
  int g[5];
  city->GetGroupType(g[0], g[1], g[2], g[3], g[4]);
  EXPECT_EQ(g[0] + g[1] + g[2] + g[3] + g[4], 6);
  int w = 0, n = 0, s = 0;
  city->GetAgentReal(w, n, s);
  EXPECT_EQ(w + n + s, 100);
}

TEST_F(Town, AnHoursTripsAreCopiesScaledForCarsAndOwnedByTheCaller) {
  ASSERT_EQ(MakeAgents(20, CSimCityModell::DistrictID(1, 1)), 20);
  int planned = 0, inLists = 0;
  for (int h = 0; h < 24; ++h) {
    CSimTrip* chain = city->Trips(h);
    for (CSimTrip* t = chain; t; t = t->pNext()) {
      ++inLists;
      // 50 persons; a car carries 1.3 of them.
      EXPECT_EQ(t->Size(), t->TransportationMode() == SIM_MODE_CAR ? 38u : 50u);
    }
    for (CSimTrip* t = chain; t;) {
      CSimTrip* next = t->pNext();
      delete t;
      t = next;
    }
  }
  city->pAgentList()->ResetIterator();
  while (CSimAgent* a = city->pAgentList()->pNextAgent())
    for (int h = 0; h < 24; ++h) planned += a->pTrip(h) ? 1 : 0;
  EXPECT_GT(planned, 20);
  EXPECT_EQ(inLists, planned);
}

TEST_F(Town, AnAgentThatIsNoLongerValidLeavesTheListWithTheNextTrips) {
  ASSERT_EQ(MakeAgents(3, CSimCityModell::DistrictID(1, 1)), 3);
  city->pAgentList()->ResetIterator();
  CSimAgent* a = city->pAgentList()->pNextAgent();
  a->Destroy();
  EXPECT_EQ(city->NrOfResidents(), 100u);
  TripsInHour(8);
  EXPECT_EQ(city->NrOfAgents(), 2);
}

TEST_F(Town, ReplanningNeverDividesByZeroAndIsCappedByTheResidents) {
  // Two agents and the start count 20: (100 / 50) / 20 is 0.
  ASSERT_EQ(MakeAgents(2, CSimCityModell::DistrictID(1, 1)), 2);
  ASSERT_TRUE(city->StartNextIntervall(CSimDate(1)));
  // With fewer than 500 residents nobody is re-planned any more.
  EXPECT_EQ(city->ReplanCount(), 0);
  ASSERT_TRUE(city->StartNextIntervall(CSimDate(1)));
  EXPECT_EQ(city->NrOfAgents(), 2);

  ASSERT_EQ(MakeAgents(18, CSimCityModell::DistrictID(1, 1)), 18);
  ASSERT_TRUE(city->StartNextIntervall(CSimDate(1)));
  EXPECT_EQ(city->ReplanCount(), 2);  // 1000 residents / 500
  EXPECT_EQ(city->NrOfResidents(), 1000u);
}

TEST_F(Town, AnAgentWhoseDayCannotBePlannedAgainLeavesTheAgentListInTheSameHour) {
  ASSERT_EQ(MakeAgents(20, CSimCityModell::DistrictID(1, 1)), 20);
  // An agent without a home cannot plan a day; it stands first in the list.
  auto* homeless = new CSimAgent;
  homeless->Create(SIM_GROUP_EMPLOYED_CAR, 50, city.get(), nullptr);
  ASSERT_TRUE(city->pAgentList()->InsertAgent(homeless));
  ASSERT_EQ(city->NrOfAgents(), 21);
  // 1000 residents and the start count 20: every agent is a candidate.
  ASSERT_TRUE(city->StartNextIntervall(CSimDate(1)));
  EXPECT_EQ(city->NrOfAgents(), 20);
  int g[5];
  city->GetGroupType(g[0], g[1], g[2], g[3], g[4]);
  EXPECT_EQ(g[0] + g[1] + g[2] + g[3] + g[4], city->NrOfAgents());
  // The walk went on after the failed agent: the others keep their homes
  // and their days.
  int valid = 0, planned = 0;
  city->pAgentList()->ResetIterator();
  while (CSimAgent* a = city->pAgentList()->pNextAgent()) {
    valid += a->IsValid() ? 1 : 0;
    for (int h = 0; h < 24 && a->IsValid(); ++h) planned += a->pTrip(h) ? 1 : 0;
  }
  EXPECT_EQ(valid, 20);
  EXPECT_GT(planned, 20);
  EXPECT_EQ(city->NrOfResidents(), 1000u);
}

TEST_F(Town, StatisticsAverageOverTheAgentsTripsAndTheLengthBinsSkipShortAndLongTrips) {
  ASSERT_EQ(MakeAgents(10, CSimCityModell::DistrictID(1, 1)), 10);
  city->CalcStatisticData();
  // Without route data no trip is valid yet.
  EXPECT_EQ(city->NrOfMIVTrips() + city->NrOfBusTrips() + city->NrOfFeetTrips(), 0);
  EXPECT_EQ(city->ReisezeitMIV(), 0.0);

  // Trips of 399 m and of 40 km or more count in no bin; 800 m is bin 2,
  // which the smoothing spreads to bins 1 and 2.
  city->pAgentList()->ResetIterator();
  int placed = 0;
  while (CSimAgent* a = city->pAgentList()->pNextAgent())
    for (int h = 6; h <= 19; ++h)
      if (CSimTrip* t = a->pTrip(h)) {
        t->SetStreckenlaenge(placed == 0 ? 800 : placed % 2 ? 399 : 40000);
        if (placed == 0) t->SetTransportationMode(SIM_MODE_CAR);
        ++placed;
      }
  ASSERT_GT(placed, 2);
  city->CalcTripLengthDistibution();
  const double* car = city->pTripLengthDistribution(SIM_MODE_CAR);
  EXPECT_DOUBLE_EQ(car[1], 3.0);
  EXPECT_DOUBLE_EQ(car[2], 2.0);
  double rest = 0.0;
  for (const double* bins : {city->pTripLengthDistribution(SIM_MODE_BUS), city->pTripLengthDistribution(SIM_MODE_WALK)})
    for (int i = 0; i < 100; ++i) rest += bins[i];
  EXPECT_EQ(rest, 0.0);
}

TEST_F(Town, RemovingABuildingMovesItsAgentsAndNeverThrows) {
  const short home = CSimCityModell::DistrictID(1, 1);
  const short other = CSimCityModell::DistrictID(2, 1);
  CSimLocation* second = Add(11, 11, {.homes = 800});
  ASSERT_EQ(MakeAgents(10, home), 10);
  // The district keeps room: the agents move to the other house.
  ASSERT_TRUE(city->RemoveLocation(locations[0].get()));
  EXPECT_EQ(city->NrOfResidents(), 500u);
  EXPECT_EQ(city->pDistrict(home)->NrOfResidents(), 500);
  // The last house of the district goes: the 500 free homes next door take
  // them all.
  EXPECT_TRUE(city->RemoveLocation(second));
  EXPECT_EQ(city->pDistrict(home)->NrOfResidents(), 0);
  EXPECT_EQ(city->pDistrict(other)->NrOfResidents(), 500);
  EXPECT_EQ(city->NrOfAgents(), 10);
  // The city's last house goes: nobody finds a place, every agent leaves,
  // and the call returns instead of throwing.
  EXPECT_NO_THROW(city->RemoveLocation(locations[1].get()));
  TripsInHour(8);
  EXPECT_EQ(city->NrOfAgents(), 0);
  EXPECT_EQ(city->NrOfResidents(), 0u);
  EXPECT_EQ(city->NrOfWorkers() + city->NrOfConsumers() + city->NrOfScholars() + city->NrOfLeisurers(), 0u);
}

TEST_F(Town, SavedAgentsComeBackWithTheirGroupsAndPersonsAndTheRandomSequenceGoesOn) {
  ASSERT_EQ(MakeAgents(12, CSimCityModell::DistrictID(1, 1)), 12);
  char* buffer = nullptr;
  size_t size = 0;
  FILE* out = open_memstream(&buffer, &size);
  ASSERT_TRUE(city->Save(out));
  std::fclose(out);
  int before[5];
  city->GetGroupType(before[0], before[1], before[2], before[3], before[4]);

  FILE* in = fmemopen(buffer, size, "rb");
  const uint64_t state = zor_random_state();
  ASSERT_TRUE(city->Load(in));
  std::fclose(in);
  std::free(buffer);
  EXPECT_EQ(zor_random_state(), state);
  EXPECT_EQ(city->NrOfAgents(), 12);
  EXPECT_EQ(city->NrOfResidents(), 600u);
  int after[5];
  city->GetGroupType(after[0], after[1], after[2], after[3], after[4]);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(after[i], before[i]) << i;
}

TEST_F(Town, MorePeopleComeInAgentsOfFiftyWhereHomesAreFree) {
  city->MorePeople(49, false);
  EXPECT_EQ(city->NrOfAgents(), 0);
  city->MorePeople(120, true);
  EXPECT_LE(city->NrOfAgents(), 2);
  EXPECT_EQ(city->NrOfResidents(), static_cast<unsigned>(city->NrOfAgents()) * 50u);
  // Every home taken: no more agents, however many are asked for.
  city->MorePeople(100000, true);
  EXPECT_EQ(city->NrOfResidents(), 1500u);
  EXPECT_THROW(city->CreateNewAgent(nullptr), const char*);
}

// Agent records as a savegame of version 119 holds them: trips of 20 bytes,
// without their statistics and mode, and 25 after the trips.
std::string AsVersion119(const std::string& saved) {
  std::string old;
  size_t at = 0;
  auto copy = [&](size_t n) {
    old.append(saved, at, n);
    at += n;
  };
  auto i32 = [&]() {
    int32_t v = 0;
    std::memcpy(&v, saved.data() + at, 4);
    return v;
  };
  while (at < saved.size()) {
    const char tag = saved[at];
    copy(1);
    if (tag != 'A') break;
    copy(8);
    const int32_t n = i32();
    copy(4 + static_cast<size_t>(n) * 10);
    for (;;) {
      const int32_t h = i32();
      if (h < 0 || h > 23) {
        // Files of that time end the trips with 25.
        old.append("\x19\0\0\0", 4);
        at += 4;
        break;
      }
      copy(4);
      copy(20);
      at += 24;
    }
  }
  return old;
}

TEST_F(Town, AgentsOfAnOlderSavegameAreReadWithTheTripsOfItsVersion) {
  ASSERT_EQ(MakeAgents(12, CSimCityModell::DistrictID(1, 1)), 12);
  std::vector<std::vector<int>> hours;
  auto tripHours = [&] {
    std::vector<std::vector<int>> all;
    city->pAgentList()->ResetIterator();
    while (CSimAgent* a = city->pAgentList()->pNextAgent()) {
      all.emplace_back();
      for (int h = 0; h < 24; ++h)
        if (a->pTrip(h)) all.back().push_back(h);
    }
    return all;
  };
  hours = tripHours();
  char* buffer = nullptr;
  size_t size = 0;
  FILE* out = open_memstream(&buffer, &size);
  ASSERT_TRUE(city->Save(out));
  std::fclose(out);
  const std::string old = AsVersion119(std::string(buffer, size));
  std::free(buffer);
  ASSERT_LT(old.size(), size);

  // Read as a file of the current version, the short trips throw the
  // records out of step.
  FILE* in = fmemopen(const_cast<char*>(old.data()), old.size(), "rb");
  try {
    city->Load(in);
  } catch (const char*) {
  }
  std::fclose(in);
  EXPECT_LT(city->NrOfAgents(), 12);

  // The game says which version it reads: every agent comes back with its
  // trips in their hours.
  parts.version = 119;
  in = fmemopen(const_cast<char*>(old.data()), old.size(), "rb");
  ASSERT_TRUE(city->Load(in));
  std::fclose(in);
  EXPECT_EQ(city->NrOfAgents(), 12);
  EXPECT_EQ(tripHours(), hours);
  // Later loads read the current version again unless told otherwise.
  EXPECT_EQ(CSimAgent::LoadVersion(), CSimWeltParts::kCurrentVersion);
}

TEST_F(Town, TheCityStandsStillInTheFirstTwoHoursOfAGameAndThenFillsItsHomes) {
  // Homes in every district, so that every district drawn takes people.
  for (int x = 0; x < 16; ++x)
    for (int y = 0; y < 16; ++y) Add(x * 8 + 4, y * 8 + 4, {.homes = 100});
  parts.targets = true;
  parts.people = 500;
  parts.jobs = static_cast<int>(city->NrOfJobs());
  parts.homes = static_cast<int>(city->NrOfHomes());
  for (int t : {CSimWelt::kFirstHour, CSimWelt::kFirstHour + 1}) {
    ASSERT_TRUE(city->StartNextIntervall(CSimDate(t)));
    EXPECT_EQ(city->NrOfAgents(), 0) << t;
  }
  ASSERT_TRUE(city->StartNextIntervall(CSimDate(CSimWelt::kFirstHour + 2)));
  EXPECT_EQ(city->NrOfResidents(), 500u);
  // The same hour of a later day grows as well: the date counts the hours.
  parts.people = 1000;
  ASSERT_TRUE(city->StartNextIntervall(CSimDate(24 + CSimWelt::kFirstHour)));
  EXPECT_EQ(city->NrOfResidents(), 1000u);
  // A target 100 below the residents removes nobody; 101 below removes
  // three agents (the surplus goes from -101 to 49).
  parts.people = 900;
  ASSERT_TRUE(city->StartNextIntervall(CSimDate(24 + CSimWelt::kFirstHour + 1)));
  EXPECT_EQ(city->NrOfResidents(), 1000u);
  parts.people = 899;
  ASSERT_TRUE(city->StartNextIntervall(CSimDate(24 + CSimWelt::kFirstHour + 2)));
  EXPECT_EQ(city->NrOfResidents(), 850u);
  EXPECT_EQ(city->NrOfAgents(), 17);
}

TEST_F(Town, ALoadPutsEveryAgentBackIntoTheBuildingsItUsedInADenseTown) {
  // Several houses, offices and shops in the same districts: the district
  // alone does not tell which building an agent lived and worked in.
  for (int i = 0; i < 6; ++i) {
    Add(9 + i, 12, {.homes = 200});
    Add(9 + i, 21, {.jobs = 300, .shops = 50});
  }
  ASSERT_EQ(MakeAgents(24, CSimCityModell::DistrictID(1, 1)), 24);
  auto buildings = [&] {
    std::vector<std::vector<const CSimLocation*>> all;
    city->pAgentList()->ResetIterator();
    while (CSimAgent* a = city->pAgentList()->pNextAgent()) {
      all.emplace_back();
      for (CSimDestination* d = a->pDestinationList()->pFirst(); d; d = d->pNext()) all.back().push_back(d->pLocation());
    }
    return all;
  };
  const auto before = buildings();
  SaveAndLoad();
  EXPECT_EQ(buildings(), before);
}

TEST_F(Town, ANewAgentsGroupIsDrawnFromTheTargetSharesCorrectedByCarOwnership) {
  // No agents yet: with 450 cars per 1000 persons and no deduction, f = 0.5
  // and the weights 35, 35, 20, 20 and 12 make the bands (in percent of
  // 122) 0-28, 29-57, 58-73, 74-90 and 91-99 of the draw r mod 100.
  ASSERT_FLOAT_EQ(city->CarOwnership(), 450.0f);
  ASSERT_FLOAT_EQ(city->CarOwnerDeduction(), 0.0f);
  auto expected = [](int r) { return r <= 28 ? 0 : r <= 57 ? 1 : r <= 73 ? 2 : r <= 90 ? 3 : 4; };
  int seen[5] = {};
  for (uint32_t seed = 1; seed <= 300; ++seed) {
    zor_srandom(seed);
    const uint64_t state = zor_random_state();
    const int r = zor_random() % 100;
    zor_set_random_state(state);
    ASSERT_TRUE(city->CreateNewAgent(city->pDistrict(CSimCityModell::DistrictID(1, 1))));
    city->pAgentList()->ResetIterator();
    CSimAgent* agent = city->pAgentList()->pNextAgent();
    ASSERT_EQ(agent->StatusGroup(), expected(r)) << "draw " << r;
    ++seen[agent->StatusGroup()];
    // The agent leaves again, so that every draw starts from no agents.
    city->pAgentList()->RemoveAgent(agent, true);
  }
  for (int g = 0; g < 5; ++g) EXPECT_GT(seen[g], 0) << g;
}

TEST_F(Town, ALoadOfAgentsStepsTheLoadingIndicatorEveryThirtyTwoAgents) {
  Add(11, 11, {.homes = 5000});
  ASSERT_EQ(MakeAgents(100, CSimCityModell::DistrictID(1, 1)), 100);
  const size_t size = SaveAndLoad();
  EXPECT_EQ(city->NrOfAgents(), 100);
  // Before agents 1, 33, 65 and 97: from the block's start on, forwards.
  ASSERT_EQ(parts.progress.size(), 4u);
  EXPECT_EQ(parts.progress[0], 0);
  for (size_t i = 1; i < parts.progress.size(); ++i) EXPECT_GT(parts.progress[i], parts.progress[i - 1]) << i;
  EXPECT_LT(parts.progress.back(), static_cast<long>(size));
}

TEST_F(Town, NoAgentComesWhereJobsAreNotMoreThanSixTenthsOfTheResidents) {
  // 6700 residents and 4020 jobs want 10000 people: 4020 is not more than
  // 6700 x 0.6, so nobody moves in; one job more and people come.
  Add(11, 11, {.homes = 10000});
  Add(12, 21, {.jobs = 20, .shops = 20000, .leisure = 20000, .school = 20000});
  ASSERT_EQ(city->NrOfJobs(), 4020u);
  ASSERT_EQ(MakeAgents(134, CSimCityModell::DistrictID(1, 1)), 134);
  ASSERT_EQ(city->NrOfResidents(), 6700u);
  parts.targets = true;
  parts.people = 10000;
  city->CityPopulationChange(CSimDate(CSimWelt::kFirstHour + 5));
  EXPECT_EQ(city->NrOfResidents(), 6700u);
  Add(13, 21, {.jobs = 1});
  city->CityPopulationChange(CSimDate(CSimWelt::kFirstHour + 5));
  EXPECT_GT(city->NrOfResidents(), 6700u);
}

TEST_F(Town, ANewAgentWhoseGroupWeightsAreAllSpentBelongsToTheStudents) {
  // With 60 / 20 / 20 % targets and f = 0.5 the weights are 30 - (p0 - 5),
  // 30 - (p1 - 5), 10 - (p2 - 5), 10 - (p3 - 5) and 20 - (p4 - 2): 150
  // agents of 40, 40, 20, 20 and 30 in the groups spend every one of them.
  Add(11, 11, {.homes = 20000});
  Add(12, 21, {.jobs = 20000, .shops = 20000, .leisure = 20000, .school = 20000});
  city->SetAgentWorker_Target(60.0f);
  city->SetAgentNoWorker_Target(20.0f);
  city->SetAgentStudent_Target(20.0f);
  CSimDistrict* home = city->pDistrict(CSimCityModell::DistrictID(1, 1));
  const int mix[5] = {40, 40, 20, 20, 30};
  for (int g = 0; g < 5; ++g)
    for (int i = 0; i < mix[g]; ++i) {
      auto* agent = new CSimAgent;
      agent->Create(static_cast<ESimStatusGroup>(g), 50, city.get(), home);
      city->CreateTripList(agent);
      ASSERT_TRUE(city->pAgentList()->InsertAgent(agent));
    }
  city->CalculateAgentGroupDistribution();
  int g0, g1, g2, g3, g4;
  city->GetGroupType(g0, g1, g2, g3, g4);
  ASSERT_EQ(g0 + g1 + g2 + g3 + g4, 150);
  // Every draw of r gives group 4, where a draw from the bands would give
  // the workers first.
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    zor_srandom(seed);
    ASSERT_TRUE(city->CreateNewAgent(home));
    city->GetGroupType(g0, g1, g2, g3, g4);
    ASSERT_EQ(g4, 31) << "seed " << seed;
    // One student leaves again, so that every draw starts from the same mix.
    city->pAgentList()->ResetIterator();
    CSimAgent* student = nullptr;
    while (CSimAgent* a = city->pAgentList()->pNextAgent())
      if (a->StatusGroup() == 4) student = a;
    city->pAgentList()->RemoveAgent(student, true);
    city->CalculateAgentGroupDistribution();
  }
}

}  // namespace
