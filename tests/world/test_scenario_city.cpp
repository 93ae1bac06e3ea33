// A town with streets, homes, offices, a shop, a school and a park: through
// the frame loop the game's hours set the city's targets, the city fills its
// free homes with agents of 50 persons, they plan their days, the hours
// carry their car trips onto the streets, and the derived values describe
// the town's map and streets.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <tuple>

#include "model/data_exchange.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "network/street_objects.h"
#include "iso/iso_welt.h"
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

TEST(CityScenario, ANewTownFillsItsHomesAndItsCarTripsLoadTheStreetsWithoutATargetSetByHand) {
  Clock().Set(0);
  Scenario game;
  CZorvaWorld& world = game.World();
  BuildTown(world);
  world.SetGameSpeed(CZorvaWorld::kGameSpeedSum - kHourMs);
  CSimCityModell* city = world.GetSimWelt()->pCityModell();
  CDataExchange* dx = world.GetDataExchange();
  ASSERT_NE(city, nullptr);
  ASSERT_GT(city->NrOfHomes(), 100u);
  ASSERT_GT(city->NrOfJobs(), city->NrOfHomes() * 0.6);
  EXPECT_EQ(city->NrOfAgents(), 0);

  long carFlow = 0;
  int hoursWithFlow = 0;
  const int firstHour = world.GetSimWelt()->Date().TicksFromStart();
  int hour = firstHour;
  for (int turn = 0; turn < 60 * kHourMs / kTurnMs; ++turn) {
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
  EXPECT_GT(hour - firstHour, 30);
  // The hours set the target: a small town aims at 15000 people, with the
  // homes and jobs that go with them.
  EXPECT_EQ(dx->GetTargetPeople(), 15000);
  EXPECT_EQ(dx->GetTargetHomes(), static_cast<int>(15000.0L / 0.8f));
  EXPECT_GT(dx->GetTargetJobs(), 0);
  // People move into the free homes in agents of 50.
  EXPECT_GT(city->NrOfAgents(), 5);
  EXPECT_EQ(city->NrOfResidents(), static_cast<unsigned>(city->NrOfAgents()) * 50u);
  EXPECT_LE(city->NrOfResidents(), city->NrOfHomes());
  EXPECT_EQ(dx->DXCalc_People(), static_cast<int>(city->NrOfResidents()));
  EXPECT_EQ(dx->GetWorker(), static_cast<int>(city->NrOfResidents() * 0.6));
  int g[5];
  city->GetGroupType(g[0], g[1], g[2], g[3], g[4]);
  EXPECT_EQ(g[0] + g[1] + g[2] + g[3] + g[4], city->NrOfAgents());
  EXPECT_GT(carFlow, 0);
  EXPECT_GT(hoursWithFlow, 3);

  // The street net: every street is listed at both of its junctions and
  // counts once; all of them are of class 1.
  double listed = 0;
  for (CZorvaObject* o = world.GetStreetNet()->GetHead(); o; o = o->GetNext()) {
    auto* junction = static_cast<CStrJunction*>(o);
    for (int i = 0; i < junction->GetAnzLinkedStreets(); ++i) listed += junction->GetStreetByNR(i)->GetLaenge();
  }
  ASSERT_GT(listed, 0);
  EXPECT_FLOAT_EQ(dx->DXCalc_StreetNetLength(), static_cast<float>(listed / 2 / 1000));
  float c1 = 0, c2 = 0, c4 = 0, rail = 0;
  dx->GetStreetDistribution(&c1, &c2, &c4, &rail);
  EXPECT_FLOAT_EQ(c1, static_cast<float>(listed / 2 / 100));
  EXPECT_EQ(c2 + c4 + rail, 0.0f);
  // The map: houses, offices, industry and the streets are built up; the
  // streets are part of it.
  EXPECT_GT(dx->DXCalc_BebauteFlaeche(), 0.0f);
  EXPECT_GT(dx->GetTrafficArea(), 0.0f);
  EXPECT_LT(dx->GetTrafficArea(), dx->GetBebauteFlaeche());
  EXPECT_GT(dx->GetServiceArea() + dx->GetIndustryArea(), 0.0f);
  EXPECT_GT(dx->GetBuildingDensity(), 0.0f);
  EXPECT_LE(dx->GetBuildingDensity(), 1.0f);
  EXPECT_GE(dx->GetRaumtrennung(), 0.0f);
  EXPECT_LE(dx->GetRaumtrennung(), 1.0f);
}

// The street through the cell, or null.
CStrStrasse* StreetAt(CZorvaWorld& world, int x, int y) {
  auto* tile = dynamic_cast<CStreetObj*>(world.GetIsoWelt()->GetIsoTileObject(x, y, ISO_LAYER_GROUND));
  return tile ? tile->GetStreetList() : nullptr;
}

// Two avenues from x 20 to 70 at y 30 and 42, joined by cross streets at x
// 30, 45 and 60; homes north of the first avenue and offices south of the
// second, both around x 45, so that the middle cross street is their way.
// Industry on both sides of the offices gives the town jobs enough for
// every home to fill: with a dozen agents and more the afternoon's car
// trips do not hang on the draws of one or two of them.
void BuildCommuterTown(CZorvaWorld& world) {
  CStrJunctionList* net = world.GetStreetNet();
  auto street = [&](int x1, int y1, int x2, int y2) {
    CStrBuildLine line(static_cast<short>(x1), static_cast<short>(y1), static_cast<short>(x2), static_cast<short>(y2));
    ASSERT_EQ(net->CreateStreet(&line, STRASSE_1), STR_BUILD_OK) << x1 << "/" << y1 << "-" << x2 << "/" << y2;
  };
  street(20, 30, 70, 30);
  for (int x : {30, 45, 60}) street(x, 30, x, 42);
  street(30, 42, 45, 42);
  street(45, 42, 60, 42);
  street(30, 42, 24, 42);
  street(60, 42, 66, 42);
  auto place = [&](TObjectType kind, int x, int y, int height) {
    const int resId = CBuildingDataList::GetBuildingResIDByType(kind, height, nullptr);
    ASSERT_NE(world.CreateObject(kind, resId, CIsoRichtung(0), x, y, static_cast<ESimLocationHeight>(0), nullptr, 0,
                                 nullptr, 0, -1),
              nullptr)
        << kind << " at " << x << "/" << y;
  };
  for (int x = 40; x <= 50; x += 2) {
    place(OBJ_RESIDENTIAL, x, 28, 2);
    place(OBJ_OFFICE, x, 44, 1);
  }
  for (int x = 26; x <= 36; x += 2) place(OBJ_INDUSTRY, x, 44, 1);
  for (int x = 54; x <= 64; x += 2) place(OBJ_INDUSTRY, x, 44, 1);
  place(OBJ_SHOPPING, 43, 40, 1);
  place(OBJ_SCHOOL, 47, 32, 1);
}

// Cars per hour on the three cross streets (x 30, 45, 60; both directions)
// summed over the second day after noon, with the middle cross street
// taken away at that noon or not.
std::array<long, 3> SecondAfternoon(bool removeAtNoon) {
  Clock().Set(0);
  Scenario game;
  CZorvaWorld& world = game.World();
  BuildCommuterTown(world);
  world.SetGameSpeed(CZorvaWorld::kGameSpeedSum - kHourMs);
  CSimWelt* sim = world.GetSimWelt();
  std::array<long, 3> flows{};
  int hour = sim->Date().TicksFromStart();
  while (hour < 24 + 21) {
    Clock().Advance(kTurnMs);
    world.OnPlayloopTurn();
    if (sim->Date().TicksFromStart() == hour) continue;
    hour = sim->Date().TicksFromStart();
    if (hour == 24 + 12 && removeAtNoon) {
      EXPECT_EQ(world.GetStreetNet()->DeleteStreet(StreetAt(world, 45, 36)), 0);
    }
    if (hour <= 24 + 12) continue;
    for (int i = 0; i < 3; ++i)
      if (CStrStrasse* street = StreetAt(world, 30 + 15 * i, 36))
        flows[i] += sim->CarFlow(street->GetSimID()) + sim->CarFlow(street->GetSimIDSecond());
  }
  // The homes have filled: the comparison rests on a dozen agents' days.
  EXPECT_GE(sim->pCityModell()->NrOfAgents(), 10);
  return flows;
}

TEST(CityScenario, AStreetRemovedAtNoonSendsTheAfternoonsCarsOverTheOtherCrossStreets) {
  const std::array<long, 3> kept = SecondAfternoon(false), removed = SecondAfternoon(true);
  EXPECT_GT(kept[1], 0);
  EXPECT_EQ(removed[1], 0);
  EXPECT_GT(removed[0] + removed[2], kept[0] + kept[2]);
}

}  // namespace
