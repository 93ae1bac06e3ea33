// A town with streets, homes, offices, a shop, a school and a park, and a
// population target: through the frame loop the city fills its free homes
// with agents of 50 persons, they plan their days, and the hours carry
// their car trips onto the streets.
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "model/data_exchange.h"
#include "network/str_junction_list.h"
#include "sim/sim_city_model.h"
#include "sim/sim_traffic_slot.h"
#include "sim/sim_welt.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "world/zor_world.h"
#include "worldbase/building_catalogue.h"

namespace {

using namespace zortest;

constexpr int kTurnMs = 50;
constexpr int kHourMs = 400;

// Two parallel avenues joined by three cross streets, with buildings on
// both sides of them in several districts.
void BuildTown(CZorvaWorld& world) {
  CStrJunctionList* net = world.GetStreetNet();
  auto street = [&](int x1, int y1, int x2, int y2) {
    CStrBuildLine line(static_cast<short>(x1), static_cast<short>(y1), static_cast<short>(x2), static_cast<short>(y2));
    ASSERT_EQ(net->CreateStreet(&line, STRASSE_1), STR_BUILD_OK);
  };
  // An avenue, three streets off it, and a second avenue joining their ends.
  street(30, 30, 60, 30);
  for (int x : {30, 45, 60}) street(x, 30, x, 42);
  street(30, 42, 45, 42);
  street(45, 42, 60, 42);
  const std::tuple<TObjectType, int, int> buildings[] = {
      {OBJ_RESIDENTIAL, 32, 28}, {OBJ_RESIDENTIAL, 36, 28}, {OBJ_RESIDENTIAL, 52, 28}, {OBJ_RESIDENTIAL, 56, 44},
      {OBJ_RESIDENTIAL, 33, 44}, {OBJ_OFFICE, 47, 32},      {OBJ_OFFICE, 58, 40},      {OBJ_INDUSTRY, 40, 40},
      {OBJ_SHOPPING, 43, 28},    {OBJ_SCHOOL, 32, 36},      {OBJ_PARK, 50, 44},        {OBJ_SPORTS, 38, 32}};
  for (const auto& [kind, x, y] : buildings) {
    // The smallest building of each kind.
    const int resId = CBuildingDataList::GetBuildingResIDByType(kind, 1, nullptr);
    ASSERT_GT(resId, 0) << kind;
    ASSERT_NE(world.CreateObject(kind, resId, CIsoRichtung(0), x, y, static_cast<ESimLocationHeight>(0), nullptr, 0,
                                 nullptr, 0, -1),
              nullptr)
        << kind << " at " << x << "/" << y;
  }
}

TEST(CityScenario, AgentsMoveIntoFreeHomesAndTheirCarTripsLoadTheStreets) {
  Clock().Set(0);
  Scenario game;
  CZorvaWorld& world = game.World();
  BuildTown(world);
  world.SetGameSpeed(CZorvaWorld::kGameSpeedSum - kHourMs);
  CSimCityModell* city = world.GetSimWelt()->pCityModell();
  ASSERT_NE(city, nullptr);
  ASSERT_GT(city->NrOfHomes(), 100u);
  ASSERT_GT(city->NrOfJobs(), city->NrOfHomes() * 0.6);
  EXPECT_EQ(city->NrOfAgents(), 0);
  // Without a target the city keeps the people it has.
  for (int turn = 0; turn < 4 * kHourMs / kTurnMs; ++turn) {
    Clock().Advance(kTurnMs);
    world.OnPlayloopTurn();
  }
  EXPECT_EQ(city->NrOfAgents(), 0);

  world.GetDataExchange()->SetTargetPeople(static_cast<int>(city->NrOfHomes()));
  long carFlow = 0;
  int hoursWithFlow = 0;
  const int firstHour = world.GetSimWelt()->Date().TicksFromStart();
  int hour = firstHour;
  for (int turn = 0; turn < 40 * kHourMs / kTurnMs; ++turn) {
    Clock().Advance(kTurnMs);
    world.OnPlayloopTurn();
    if (world.GetSimWelt()->Date().TicksFromStart() == hour) continue;
    hour = world.GetSimWelt()->Date().TicksFromStart();
    long flow = 0;
    for (short id = 1; id < 200; ++id)
      if (world.GetSimWelt()->GetStreet(id, 2)) flow += world.GetSimWelt()->CarFlow(id);
    carFlow += flow;
    hoursWithFlow += flow > 0 ? 1 : 0;
  }
  EXPECT_GT(hour - firstHour, 20);
  // Every free home that fits an agent of 50 has one, and the people of
  // the agents are the city's residents.
  EXPECT_GT(city->NrOfAgents(), 0);
  EXPECT_EQ(city->NrOfResidents(), static_cast<unsigned>(city->NrOfAgents()) * 50u);
  EXPECT_LE(city->NrOfResidents(), city->NrOfHomes());
  EXPECT_GT(city->NrOfResidents() + 50 * 5, city->NrOfHomes());
  int g[5];
  city->GetGroupType(g[0], g[1], g[2], g[3], g[4]);
  EXPECT_EQ(g[0] + g[1] + g[2] + g[3] + g[4], city->NrOfAgents());
  EXPECT_GT(carFlow, 0);
  EXPECT_GT(hoursWithFlow, 3);

  // A target 100 below the residents removes nobody; 101 below removes
  // three agents (the surplus goes from -101 to 49), and then the city
  // stays as it is.
  auto runHours = [&](int hours) {
    for (int turn = 0; turn < hours * kHourMs / kTurnMs; ++turn) {
      Clock().Advance(kTurnMs);
      world.OnPlayloopTurn();
    }
  };
  const unsigned full = city->NrOfResidents();
  world.GetDataExchange()->SetTargetPeople(static_cast<int>(full) - 100);
  runHours(3);
  EXPECT_EQ(city->NrOfResidents(), full);
  world.GetDataExchange()->SetTargetPeople(static_cast<int>(full) - 101);
  runHours(3);
  EXPECT_EQ(city->NrOfResidents(), full - 150);
  EXPECT_EQ(city->NrOfAgents() * 50, static_cast<int>(full) - 150);
}

}  // namespace
