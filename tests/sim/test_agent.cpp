// Agents and their lists: the plan of the day with its hour slots, the
// destinations it takes over or chooses anew, the persons it brings to the
// districts, and the list's order, iterator and removals.
#include <gtest/gtest.h>

#include <string>

#include "sim/sim_error.h"
#include "sim/sim_statistic_server.h"
#include "sim_test_agents.h"

namespace {

using simtest::AgentCity;
using simtest::Thrown;

struct Agents : AgentCity {
  // A home district (0..7, 0..7) and a work district (16..23, 0..7).
  CSimLocation* house = nullptr;
  CSimLocation* office = nullptr;
  CSimLocation* shop = nullptr;
  void SetUp() override {
    AgentCity::SetUp();
    house = Build(1, 1, {.homes = 500});
    office = Build(17, 1, {.jobs = 500});
    shop = Build(33, 1, {.shops = 100});
  }
  // The persons each kind counts in the city.
  std::vector<unsigned> Persons() {
    return {city->NrOfResidents(), city->NrOfWorkers(), city->NrOfScholars(), city->NrOfConsumers(),
            city->NrOfLeisurers()};
  }
};

TEST_F(Agents, ANewAgentLivesInItsDistrictAndIsRefusedWhereNoHomeIsFree) {
  CSimAgent* a = Resident(1, 1);
  EXPECT_EQ(a->pHomeDestination()->pLocation(), house);
  EXPECT_EQ(DistrictOf(1, 1)->NrOfResidents(), 50);
  EXPECT_EQ(city->NrOfResidents(), 50u);
  // A district without homes, and one whose 40 homes are too few for 50.
  EXPECT_EQ(Thrown([&] { Resident(60, 60); }), std::string("Fehler in CSimAgent::Create(): <Keine Home-Location im Bezirk>\n"));
  Build(60, 1, {.homes = 40});
  EXPECT_EQ(Thrown([&] { Resident(60, 1); }), std::string("Fehler in CSimAgent::Create(): <Kein Platz im Bezirk>\n"));
  EXPECT_EQ(city->NrOfResidents(), 50u);
  // Destroying gives the homes back.
  a->Destroy();
  EXPECT_EQ(city->NrOfResidents(), 0u);
  EXPECT_THROW(a->StatusGroup(), const char*);
}

TEST_F(Agents, TripsTakeTheFirstFreeHourUpToFourLaterWrappingAtMidnight) {
  CSimAgent* a = Resident(1, 1);
  a->ClearTrips();
  for (int i = 0; i < 5; ++i) a->AddTrip(22, SIM_DEST_HOME, 1, SIM_DEST_WORK, 1);
  for (int h : {22, 23, 0, 1, 2}) EXPECT_NE(a->pTrip(h), nullptr) << h;
  EXPECT_EQ(a->pTrip(3), nullptr);
  EXPECT_EQ(a->pTrip(21), nullptr);
  EXPECT_EQ(Thrown([&] { a->AddTrip(22, SIM_DEST_HOME, 1, SIM_DEST_WORK, 1); }),
            std::string("Fehler in CSimAgent::AddTrip(): <Zeitlag zu gross>\n"));
  a->UpdateDestinationList();
  // All five use the one work destination: its persons count once.
  EXPECT_EQ(city->NrOfWorkers(), 50u);
  EXPECT_EQ(a->pDestinationList()->NrOfDestinations(), 2);
  // Adding outside a re-planning is refused.
  EXPECT_THROW(a->AddTrip(5, SIM_DEST_HOME, 1, SIM_DEST_WORK, 1), const char*);
}

TEST_F(Agents, ReplanningKeepsHomeAndTheDestinationsStillUsedAndReleasesTheRest) {
  CSimAgent* a = Resident(1, 1);
  a->ClearTrips();
  a->AddTrip(7, SIM_DEST_HOME, 1, SIM_DEST_WORK, 1);
  a->AddTrip(16, SIM_DEST_WORK, 1, SIM_DEST_SHOPPING, 1);
  a->AddTrip(18, SIM_DEST_SHOPPING, 1, SIM_DEST_HOME, 1);
  a->UpdateDestinationList();
  EXPECT_EQ(Persons(), (std::vector<unsigned>{50, 50, 0, 50, 0}));
  CSimTrip* first = a->pTrip(7);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->pToDestination()->pLocation(), office);
  CSimDestination* shopping = a->pDestinationList()->FindDestination(SIM_DEST_SHOPPING, 1);
  // The new plan goes shopping only: work is given back, shopping and home
  // stay where they were.
  a->ClearTrips();
  EXPECT_EQ(a->pTrip(7), nullptr);
  a->AddTrip(10, SIM_DEST_HOME, 1, SIM_DEST_SHOPPING, 1);
  a->AddTrip(11, SIM_DEST_SHOPPING, 1, SIM_DEST_HOME, 1);
  a->UpdateDestinationList();
  EXPECT_EQ(Persons(), (std::vector<unsigned>{50, 0, 0, 50, 0}));
  EXPECT_EQ(a->pDestinationList()->FindDestination(SIM_DEST_SHOPPING, 1), shopping);
  EXPECT_EQ(a->pHomeDestination()->pLocation(), house);
  EXPECT_EQ(a->pDestinationList()->NrOfDestinations(), 2);
}

TEST_F(Agents, AWholeDayDrawnForManyAgentsCountsEachDestinationOnceInItsDistrict) {
  Build(2, 2, {.homes = 5000});
  Build(18, 9, {.jobs = 5000, .leisure = 50, .school = 20000});
  CSimStatisticServer server(city.get());
  for (int i = 0; i < 60; ++i) {
    CSimAgent* a = Resident(2, 2, static_cast<ESimStatusGroup>(i % kSimStatusGroups));
    for (int plan = 0; plan < 3; ++plan) server.CreateTripList(a);
  }
  std::vector<unsigned> counted(5, 0);
  int trips = 0;
  for (CSimAgent* a : agents) {
    for (CSimDestination* d = a->pDestinationList()->pFirst(); d; d = d->pNext())
      counted[d->Destination()] += static_cast<unsigned>(a->Size());
    for (int h = 0; h < CSimAgent::kHours; ++h)
      if (CSimTrip* t = a->pTrip(h)) {
        ++trips;
        // Every trip joins two destinations the agent holds.
        EXPECT_EQ(a->pDestinationList()->FindDestination(t->pFromDestination()->Destination(), 1),
                  t->pFromDestination());
        EXPECT_EQ(a->pDestinationList()->FindDestination(t->pToDestination()->Destination(), 1), t->pToDestination());
        // Without a slot there is no route, so the drawn mode stays.
        EXPECT_NE(t->TransportationMode(), SIM_MODE_NONE);
      }
  }
  EXPECT_GT(trips, 60);
  EXPECT_EQ(Persons(), counted);
}

TEST_F(Agents, AChainThatCannotBePlacedDestroysTheAgent) {
  // No school anywhere: a student's education trip finds no location.
  CSimStatisticServer server(city.get());
  int dropped = 0;
  for (int i = 0; i < 30; ++i) {
    CSimAgent* a = Resident(1, 1, SIM_GROUP_STUDENT);
    const std::string text = Thrown([&] { server.CreateTripList(a); });
    if (text.empty()) continue;
    ++dropped;
    EXPECT_EQ(text, "Fehler in CSimStatisticServer::CreateTripList(): Kann keine Trip-Liste erstellen\n");
    EXPECT_FALSE(a->IsValid());
  }
  EXPECT_GT(dropped, 10);
  // Those dropped gave their homes back.
  int valid = 0;
  for (CSimAgent* a : agents) valid += a->IsValid();
  EXPECT_EQ(city->NrOfResidents(), static_cast<unsigned>(50 * valid));
}

TEST_F(Agents, ACopyOfAnHourIsMappedToCrossingsAndOwnedByTheCaller) {
  house->SetNearestCrossing(11);
  office->SetNearestCrossing(12);
  CSimAgent* a = Resident(1, 1);
  a->ClearTrips();
  a->AddTrip(8, SIM_DEST_HOME, 1, SIM_DEST_WORK, 1);
  a->UpdateDestinationList();
  EXPECT_EQ(a->pCopyOfTrip(9), nullptr);
  CSimTrip* copy = a->pCopyOfTrip(8);
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, a->pTrip(8));
  EXPECT_TRUE(copy->CrossingsMapped());
  EXPECT_EQ(copy->FromCrossing(), 11);
  EXPECT_EQ(copy->ToCrossing(), 12);
  EXPECT_EQ(copy->Size(), 50u);
  delete copy;
  EXPECT_EQ(Thrown([&] { a->pCopyOfTrip(24); }),
            std::string("Fehler in CSimAgent::pTrip(): <time sollte zwischen 0 und 23 liegen>\n"));
}

TEST_F(Agents, ARemovedBuildingMovesTheDestinationToAnotherOfItsDistrict) {
  CSimLocation* second = Build(18, 2, {.jobs = 500});
  CSimAgent* a = Resident(1, 1);
  a->ClearTrips();
  a->AddTrip(8, SIM_DEST_HOME, 1, SIM_DEST_WORK, 1);
  a->UpdateDestinationList();
  CSimDestination* work = a->pDestinationList()->FindDestination(SIM_DEST_WORK, 1);
  CSimLocation* used = work->pLocation();
  CSimLocation* other = used == office ? second : office;
  ASSERT_TRUE(city->RemoveLocation(used));
  EXPECT_TRUE(a->IsValid());
  EXPECT_EQ(work->pLocation(), other);
  EXPECT_EQ(city->NrOfWorkers(), 50u);
  // The last work place of the city goes: the agent cannot stay.
  ASSERT_TRUE(city->RemoveLocation(other));
  EXPECT_FALSE(a->IsValid());
  EXPECT_EQ(city->NrOfWorkers(), 0u);
  EXPECT_EQ(city->NrOfResidents(), 0u);
}

// --- the list ---

struct List : AgentCity {
  CSimAgent* Loose() {
    auto* a = new CSimAgent;
    agents.push_back(a);
    a->Create(SIM_GROUP_STUDENT, 50, city.get(), nullptr);
    return a;
  }
  static std::vector<CSimAgent*> Walk(CSimAgentList& l) {
    std::vector<CSimAgent*> v;
    l.ResetIterator();
    while (CSimAgent* a = l.pNextAgent()) v.push_back(a);
    return v;
  }
};

TEST_F(List, NewAgentsGoInFrontAndTheIteratorStaysAtTheEnd) {
  CSimAgentList l;
  CSimAgent *a = Loose(), *b = Loose(), *c = Loose();
  l.InsertAgent(a);
  l.InsertAgent(b);
  l.InsertAgent(c);
  EXPECT_EQ(Walk(l), (std::vector<CSimAgent*>{c, b, a}));
  EXPECT_EQ(l.pNextAgent(), nullptr);
  // A newcomer in front is not reached by a walk that has ended.
  CSimAgent* d = Loose();
  l.InsertAgent(d);
  EXPECT_EQ(l.pNextAgent(), nullptr);
  EXPECT_EQ(l.NrOfElements(), 4);
  CSimAgent invalid;
  EXPECT_THROW(l.InsertAgent(&invalid), const char*);
  EXPECT_THROW(CSimAgentListElement{nullptr}, const char*);
  l.Destroy(false);
}

TEST_F(List, RemovingTheAgentUnderTheIteratorContinuesWithTheNextOne) {
  CSimAgentList l;
  std::vector<CSimAgent*> v;
  for (int i = 0; i < 5; ++i) {
    v.push_back(Loose());
    l.InsertAgent(v.back());
  }
  // Order v4 v3 v2 v1 v0; walk to v2 and remove it, then v1 and v0 follow.
  l.ResetIterator();
  l.pNextAgent();
  l.pNextAgent();
  EXPECT_EQ(l.pNextAgent(), v[2]);
  EXPECT_TRUE(l.RemoveAgent(v[2], false));
  EXPECT_EQ(l.pNextAgent(), v[1]);
  // Removing the first while the iterator stands on it restarts at the front.
  l.ResetIterator();
  EXPECT_EQ(l.pNextAgent(), v[4]);
  EXPECT_TRUE(l.RemoveFirstAgent(false));
  EXPECT_EQ(l.pNextAgent(), v[3]);
  EXPECT_EQ(l.NrOfElements(), 3);
  EXPECT_FALSE(l.RemoveAgent(v[2], false));
  EXPECT_EQ(SimLastError(), 1);
  l.Destroy(false);
  EXPECT_FALSE(l.RemoveFirstAgent(false));
}

TEST_F(List, AnAgentListedTwiceLeavesByItsFrontElementAndIsDeletedOnce) {
  CSimAgentList l;
  CSimAgent *a = Loose(), *b = Loose();
  l.InsertAgent(a);
  l.InsertAgent(b);
  l.InsertAgent(a);
  EXPECT_EQ(Walk(l), (std::vector<CSimAgent*>{a, b, a}));
  EXPECT_TRUE(l.RemoveAgent(a, false));
  EXPECT_EQ(Walk(l), (std::vector<CSimAgent*>{b, a}));
  EXPECT_TRUE(l.Contains(a));
  l.InsertAgent(a);
  // The list deletes each of its agents once, however often listed.
  agents.clear();
  l.Destroy(true);
  EXPECT_EQ(l.NrOfElements(), 0);
  EXPECT_FALSE(l.Contains(a));
}

TEST_F(List, ManyRemovalsKeepTheOrderOfThoseLeft) {
  CSimAgentList l;
  std::vector<CSimAgent*> v;
  for (int i = 0; i < 400; ++i) {
    v.push_back(Loose());
    l.InsertAgent(v.back());
  }
  for (int i = 0; i < 400; i += 3) EXPECT_TRUE(l.RemoveAgent(v[i], false));
  // Freed elements are reused by new agents.
  CSimAgent* late = Loose();
  l.InsertAgent(late);
  std::vector<CSimAgent*> expected{late};
  for (int i = 399; i >= 0; --i)
    if (i % 3 != 0) expected.push_back(v[i]);
  EXPECT_EQ(Walk(l), expected);
  l.Destroy(false);
}

}  // namespace
