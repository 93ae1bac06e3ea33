// Destinations and their lists, the choice of a destination by the gravity
// rule, and the savegame records of agents and destinations.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "framework/zor_record.h"
#include "sim/sim_error.h"
#include "sim/sim_statistic_server.h"
#include "sim_test_agents.h"
#include "support/test_support.h"

namespace {

using simtest::AgentCity;
using simtest::Thrown;
using zortest::ByteList;
using zortest::RecordFile;

TEST(DestinationList, KindAndCountAreUniqueAndRemovingRestartsAWalkOnTheRemovedOne) {
  CSimLocation place;
  CSimDestinationList list;
  EXPECT_THROW(list.Insert(nullptr), const char*);
  list.Create();
  auto make = [&](ESimDestination k, unsigned c) {
    auto* d = new CSimDestination;
    d->Create(k, c, &place);
    return d;
  };
  list.Insert(make(SIM_DEST_WORK, 1));
  CSimDestination* twice = make(SIM_DEST_WORK, 1);
  EXPECT_EQ(Thrown([&] { list.Insert(twice); }), std::string("Fehler in CSimDestinationList::Insert(): <No destination found>\n"));
  delete twice;
  list.Insert(make(SIM_DEST_WORK, 2));
  list.Insert(make(SIM_DEST_HOME, 1));
  // Newest in front.
  list.ResetIterator();
  EXPECT_EQ(list.pNextDestination()->Destination(), SIM_DEST_HOME);
  CSimDestination* second = list.pNextDestination();
  EXPECT_EQ(second->Count(), 2u);
  EXPECT_EQ(list.Remove(SIM_DEST_WORK, 2), second);
  EXPECT_EQ(second->pNext(), nullptr);
  EXPECT_EQ(list.pNextDestination()->Destination(), SIM_DEST_HOME);
  EXPECT_EQ(list.Remove(SIM_DEST_SHOPPING, 1), nullptr);
  EXPECT_EQ(list.NrOfDestinations(), 2);
  second->Destroy();
  delete second;
  // Kinds above 8 and missing locations are refused.
  CSimDestination bad;
  EXPECT_EQ(Thrown([&] { bad.Create(static_cast<ESimDestination>(9), 1, &place); }),
            std::string("Fehler in CSimDestination::Create(): Invalid Destination\n"));
  EXPECT_THROW(bad.Create(SIM_DEST_WORK, 1, nullptr), const char*);
  EXPECT_THROW(bad.Destination(), const char*);
  list.Destroy();
  EXPECT_THROW(list.pNextDestination(), const char*);
}

struct Choice : AgentCity {
  // Draws the district of `kind` for the agent n times.
  std::map<short, int> Draws(ESimDestination kind, CSimAgent* a, int n) {
    std::map<short, int> seen;
    for (int i = 0; i < n; ++i) {
      CSimLocation* l = city->FindLocation(kind, a);
      ++seen[l ? l->GetDistrictID() : 0];
    }
    return seen;
  }
};

TEST_F(Choice, AHomeIsDrawnByFreeHomesAloneAndNeverWhereFewerThanTheAgentAreFree) {
  Build(1, 1, {.homes = 300});      // district 1
  Build(120, 120, {.homes = 100});  // district 256
  Build(64, 8, {.homes = 49});      // district 25: too few for 50
  CSimAgent* a = Resident(1, 1);     // takes 50 of district 1's 300
  auto seen = Draws(SIM_DEST_HOME, a, 3000);
  EXPECT_EQ(seen[25], 0);
  EXPECT_EQ(seen[0], 0);
  // 250 : 100 free homes, whatever the distance.
  EXPECT_NEAR(seen[1] / 3000.0, 250.0 / 350.0, 0.03);
  EXPECT_NEAR(seen[256] / 3000.0, 100.0 / 350.0, 0.03);
}

TEST_F(Choice, AwayFromHomeNearDistrictsWinByThePowerOfTheInverseTravelTime) {
  Build(1, 1, {.homes = 300});
  Build(9, 1, {.jobs = 200});      // district 2, next door: 1/T = 24
  Build(120, 1, {.jobs = 20000});  // district 16, far: 1/T below 2
  CSimAgent* a = Resident(1, 1);
  // With the gravity exponent 1 the neighbour weighs 200 x 5760 against
  // 20000 x 25 (1/T = 1.6): about 70 % of the draws.
  auto seen = Draws(SIM_DEST_WORK, a, 2000);
  EXPECT_NEAR(seen[2] / 2000.0, 1152000.0 / (1152000.0 + 500000.0), 0.03);
  EXPECT_EQ(seen[2] + seen[16], 2000);
}

TEST_F(Choice, LargeCapacitiesAndTheNearestDistrictDoNotOverflowTheWeights) {
  // The home district itself has 1/T = 3600, so (1/T)^2 x 10 is above
  // 10^8; with 60000 jobs its weight is far beyond 32 bits.
  Build(1, 1, {.homes = 300, .jobs = 60000});
  Build(120, 120, {.jobs = 60000});
  CSimAgent* a = Resident(1, 1);
  auto seen = Draws(SIM_DEST_WORK, a, 500);
  EXPECT_EQ(seen[1], 500);
  // Shops count without a capacity limit, so draws go on for ever.
  Build(2, 2, {.shops = 50});
  seen = Draws(SIM_DEST_SHOPPING, a, 50);
  EXPECT_EQ(seen[1], 50);
}

TEST_F(Choice, TheDrawReachesEveryDistrictOfTheGrid) {
  // One home in each of the 256 districts, weighted equally: a draw that
  // loses its upper bits or turns negative misses some.
  for (int x = 0; x < 16; ++x)
    for (int y = 0; y < 16; ++y) Build(x * 8 + 3, y * 8 + 3, {.homes = 60});
  CSimAgent* a = Resident(3, 3);
  auto seen = Draws(SIM_DEST_HOME, a, 25600);
  EXPECT_EQ(seen[0], 0);
  // District 1 has 10 free homes left, fewer than the agent.
  EXPECT_EQ(seen[1], 0);
  int reached = 0;
  for (auto [id, n] : seen) reached += n > 0;
  EXPECT_EQ(reached, 255);
  for (short id = 2; id <= 256; ++id) EXPECT_NEAR(seen[id], 100, 45) << id;
}

TEST_F(Choice, ANullAgentOrAnUnknownKindFindsNothing) {
  Build(1, 1, {.homes = 300});
  CSimAgent* a = Resident(1, 1);
  EXPECT_EQ(city->FindLocation(SIM_DEST_HOME, nullptr), nullptr);
  EXPECT_EQ(SimLastError(), 2);
  EXPECT_EQ(city->FindLocation(SIM_DEST_NONE, a), nullptr);
  EXPECT_EQ(SimLastError(), 1);
  EXPECT_EQ(city->FindLocation(SIM_DEST_WORK, a), nullptr);
}

// --- records ---

struct Records : AgentCity {
  void SetUp() override {
    AgentCity::SetUp();
    Build(1, 1, {.homes = 500});
    Build(17, 1, {.jobs = 500});
    Build(33, 9, {.shops = 100, .leisure = 100});
  }
  CSimAgent* Planned(ESimStatusGroup group) {
    CSimAgent* a = Resident(1, 1, group);
    a->ClearTrips();
    a->AddTrip(7, SIM_DEST_HOME, 1, SIM_DEST_WORK, 1);
    a->AddTrip(16, SIM_DEST_WORK, 1, SIM_DEST_SHOPPING, 1);
    a->AddTrip(18, SIM_DEST_SHOPPING, 1, SIM_DEST_HOME, 1);
    a->UpdateDestinationList();
    return a;
  }
};

TEST_F(Records, AnAgentIsWrittenFieldByFieldInItsDocumentedLayout) {
  CSimAgent* a = Planned(SIM_GROUP_UNEMPLOYED_CAR);
  RecordFile file;
  ASSERT_TRUE(a->Save(file.f()));
  const ByteList bytes = file.Bytes();
  // size, group, 3 destinations of 10 bytes, 3 x (hour + 44-byte trip), end.
  ASSERT_EQ(bytes.size(), 4u + 4 + 4 + 3 * 10 + 3 * 48 + 4);
  EXPECT_EQ(bytes[0], 50);
  EXPECT_EQ(bytes[4], 2);
  EXPECT_EQ(bytes[8], 3);
  // The first destination: shopping (3), count 1, district 21 (x 4, y 1).
  EXPECT_EQ((ByteList{bytes.begin() + 12, bytes.begin() + 22}), (ByteList{3, 0, 0, 0, 1, 0, 0, 0, 21, 0}));
  EXPECT_EQ(bytes[42], 7);
  // The end of the trips names each destination's building by its cell in
  // the district: (1, 1) of its district for all three, six bits each
  // (x << 3 | y = 9) under the two top bits.
  EXPECT_EQ((ByteList{bytes.end() - 4, bytes.end()}), (ByteList{0x49, 0x92, 0x00, 0xC0}));
}

TEST_F(Records, TheListKeepsItsAgentsTheirDistrictsTripsAndOrderThroughASaveAndLoad) {
  CSimAgentList list;
  for (ESimStatusGroup g : {SIM_GROUP_EMPLOYED_CAR, SIM_GROUP_STUDENT, SIM_GROUP_UNEMPLOYED_NO_CAR})
    list.InsertAgent(Planned(g));
  RecordFile file;
  ASSERT_TRUE(list.Save(file.f()));
  const ByteList saved = file.Bytes();
  EXPECT_EQ(saved.back(), 'E');
  const std::vector<unsigned> persons{city->NrOfResidents(), city->NrOfWorkers(), city->NrOfConsumers()};
  // The model drops its agents before it loads.
  list.Destroy(false);
  for (CSimAgent* a : agents) a->Destroy();
  EXPECT_EQ(city->NrOfResidents(), 0u);
  std::rewind(file.f());
  EXPECT_EQ(list.Load(file.f(), city.get()), 0);
  ASSERT_EQ(list.NrOfElements(), 3);
  EXPECT_EQ((std::vector<unsigned>{city->NrOfResidents(), city->NrOfWorkers(), city->NrOfConsumers()}), persons);
  list.ResetIterator();
  CSimAgent* first = list.pNextAgent();
  EXPECT_EQ(first->StatusGroup(), SIM_GROUP_UNEMPLOYED_NO_CAR);
  EXPECT_EQ(first->pTrip(16)->pToDestination()->Destination(), SIM_DEST_SHOPPING);
  EXPECT_TRUE(first->pTrip(16)->TripValid());
  EXPECT_EQ(first->pDestinationList()->FindDestination(SIM_DEST_WORK, 1)->pLocation()->GetDistrictID(), 3);
  // Saved again, the section is the same to the byte.
  RecordFile again;
  ASSERT_TRUE(list.Save(again.f()));
  EXPECT_EQ(again.Bytes(), saved);
  list.Destroy(true);
}

// An agent section entry with the given size, group, one destination (home
// in district 1) and a walk from home to home at 7.
ByteList Body(int32_t size, int32_t group) {
  RecordFile f;
  ZorRecordWriter w(f.f());
  w.U8('A');
  w.I32(size);
  w.I32(group);
  w.I32(1);
  w.I32(SIM_DEST_HOME);
  w.U32(1);
  w.I16(1);
  w.I32(7);
  for (uint32_t v : {0u, 1u, 0u, 1u, 50u, 0u, 0u, 0u, 0u, 0u, 0u}) w.U32(v);
  w.I32(25);
  return f.Bytes();
}

TEST_F(Records, AgentsOfNoPersonsTooManyOrAnUnknownGroupAreRefusedAndTheReadingStaysInStep) {
  ByteList section;
  for (auto [size, group] : {std::pair{50, 7}, std::pair{0, 1}, std::pair{2000000000, 1}, std::pair{50, -1},
                             std::pair{50, 3}})
    for (uint8_t b : Body(size, group)) section.push_back(b);
  section.push_back('E');
  section.push_back('X');
  RecordFile file(section);
  CSimAgentList list;
  EXPECT_EQ(list.Load(file.f(), city.get()), 4);
  ASSERT_EQ(list.NrOfElements(), 1);
  list.ResetIterator();
  EXPECT_EQ(list.pNextAgent()->StatusGroup(), SIM_GROUP_UNEMPLOYED_NO_CAR);
  // Only the one agent took a home, and the reading stopped at the end tag.
  EXPECT_EQ(city->NrOfResidents(), 50u);
  EXPECT_EQ(std::fgetc(file.f()), 'X');
  list.Destroy(true);
}

TEST_F(Records, ATagThatIsNeitherAgentNorEndIsAFaultOfTheWholeSection) {
  RecordFile file(ByteList{'Q'});
  CSimAgentList list;
  EXPECT_EQ(Thrown([&] { list.Load(file.f(), city.get()); }),
            std::string("Fehler in CSimAgentList::Load(): Unknown ID in file\n"));
}

TEST_F(Records, ADestinationListOfMoreThanAHundredIsRefusedBeforeAnyIsRead) {
  CSimAgent* a = Resident(1, 1);
  RecordFile file(ByteList{101, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0});
  CSimDestinationList list;
  EXPECT_EQ(Thrown([&] { list.Load(file.f(), city.get(), a); }),
            std::string("Fehler in CSimDestionationList::Load(): Nr Of Destinations <0 or > 100\n"));
  EXPECT_EQ(std::ftell(file.f()), 4);
  EXPECT_EQ(city->NrOfResidents(), 50u);
  list.Destroy();
}

TEST_F(Records, ADestinationWithoutRoomIsLeftOutAndItsLinkUndone) {
  // Two work destinations saved for a district with room for one agent.
  Build(25, 1, {.jobs = 60});
  CSimAgent* a = Resident(1, 1);
  RecordFile file;
  ZorRecordWriter w(file.f());
  w.I32(2);
  for (uint32_t count : {1u, 2u}) {
    w.I32(SIM_DEST_WORK);
    w.U32(count);
    w.I16(4);
  }
  std::rewind(file.f());
  CSimDestinationList list;
  list.Load(file.f(), city.get(), a);
  EXPECT_EQ(list.NrOfDestinations(), 1);
  EXPECT_EQ(city->pDistrict(4)->NrOfWorkers(), 50);
  // The list reads back in the saved order.
  EXPECT_EQ(list.pFirst()->Count(), 1u);
  list.ResetIterator();
  while (CSimDestination* d = list.pNextDestination()) d->pLocation()->pDistrict()->UnlinkAgent(d->Destination(), a);
  list.Destroy();
}

// --- distance class and access grade ---

TEST_F(Choice, DistanceClassesFollowTheAirLineUntilCarsHaveBeenMeasured) {
  EXPECT_EQ(city->Entfernungsklasse(short{1}, short{2}), 0);   // 24
  EXPECT_EQ(city->Entfernungsklasse(short{1}, short{4}), 1);   // 8
  EXPECT_EQ(city->Entfernungsklasse(short{1}, short{6}), 1);   // 4.8
  EXPECT_EQ(city->Entfernungsklasse(short{1}, short{8}), 2);   // 3.43
  EXPECT_EQ(city->Entfernungsklasse(short{1}, short{13}), 3);  // 2.0
  // Measured: 3600 / (1195 + 5) = 3 per hour.
  city->NewCarData(1, 2, 1195);
  EXPECT_EQ(city->Entfernungsklasse(short{1}, short{2}), 2);
  // Two buildings of one district are near whatever their travel time.
  city->NewCarData(1, 1, 5000);
  CSimLocation* a = Build(1, 1, {.homes = 60});
  CSimLocation* b = Build(6, 6, {.jobs = 60});
  EXPECT_EQ(city->Entfernungsklasse(a, b), 0);
}

TEST_F(Choice, WithoutBusRoutesEveryPlaceIsUnservedAndAnEmptyDistrictUnknown) {
  CSimLocation* a = Build(1, 1, {.homes = 60});
  CSimLocation* b = Build(40, 40, {.jobs = 60});
  EXPECT_EQ(city->Erschliessunggrad(a, b), 3);
  EXPECT_EQ(city->Erschliessunggrad(a->GetDistrictID(), b->GetDistrictID()), 3);
  EXPECT_EQ(city->Erschliessunggrad(a->GetDistrictID(), short{100}), 4);
  EXPECT_THROW(city->Erschliessunggrad(short{0}, short{1}), const char*);
}

}  // namespace
