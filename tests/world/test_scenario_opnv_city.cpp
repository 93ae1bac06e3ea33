// Public transport carrying a town's people: homes, offices and shops along
// the streets, stops placed with the stop tool near both, two bus lines
// meeting at a stop and a tram line, vehicles on the lines, and simulated
// hours in which the people who choose the bus ride the lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <tuple>

#include "iso/iso_welt.h"
#include "measures/building_object.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "measures/opnv_net.h"
#include "microsim/micro_car.h"
#include "network/rail_junction_list.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "network/street_objects.h"
#include "sim/sim_agent.h"
#include "sim/sim_city_model.h"
#include "sim/sim_location.h"
#include "sim/sim_trip.h"
#include "sim/sim_welt.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "scenario_opnv_steps.h"
#include "ui/user_int.h"
#include "world/zor_world.h"
#include "worldbase/building_catalogue.h"

namespace {

using namespace zortest;

constexpr int kTurnMs = 50;
constexpr int kHourMs = 400;

bool Serves(const COpnvLine* line, short stop) {
  const LineDataType* d = line->GetData();
  for (int i = 0; i < d->stopsOneWay; ++i)
    if (d->stopIds[i] == stop) return true;
  return false;
}

TEST(ScenarioOpnvCity, ATownsPeopleRideTheLinesChangeAtTheSharedStopAndPayTheirFares) {
  Clock().Set(0);
  std::filesystem::create_directories("SaveGame");
  Scenario game;
  CZorvaWorld& world = game.World();
  COpnv& opnv = *world.GetOpnv();
  Cell c;
  ASSERT_EQ(game.Map().MouseKoorToIsoKoor(250, 220, &c.x, &c.y), 0);
  // The town: an avenue, three streets off it and a second avenue, a track
  // between the left two streets; homes at the avenue's west end and beside
  // the track, offices, industry, a school and shops to the south and east.
  const int ox = c.x - 12, oy = c.y - 4;
  auto street = [&](int x1, int y1, int x2, int y2) {
    ASSERT_EQ(BuildStreet(world, ox + x1, oy + y1, ox + x2, oy + y2), STR_BUILD_OK);
  };
  street(0, 0, 24, 0);
  for (int x : {0, 16, 24}) street(x, 0, x, 10);
  street(0, 10, 16, 10);
  street(16, 10, 24, 10);
  CStrBuildLine track(static_cast<short>(ox + 1), static_cast<short>(oy + 3), static_cast<short>(ox + 14),
                      static_cast<short>(oy + 3));
  ASSERT_EQ(world.GetStreetNet()->GetRailNet()->CreateStreet(&track, STRASSE_SCHIENE), STR_BUILD_OK);
  const std::tuple<TObjectType, int, int> buildings[] = {
      {OBJ_RESIDENTIAL, 1, -2}, {OBJ_RESIDENTIAL, 4, -2}, {OBJ_RESIDENTIAL, 7, -2}, {OBJ_RESIDENTIAL, 2, -5},
      {OBJ_RESIDENTIAL, 5, -5}, {OBJ_RESIDENTIAL, 16, -2}, {OBJ_RESIDENTIAL, 18, 2}, {OBJ_OFFICE, 10, 12},
      {OBJ_OFFICE, 18, 7},      {OBJ_OFFICE, 22, 8},      {OBJ_INDUSTRY, 7, 12},     {OBJ_SHOPPING, 16, 12},
      {OBJ_SCHOOL, 21, 4},      {OBJ_PARK, 20, 12},       {OBJ_SPORTS, 3, 5},        {OBJ_RESIDENTIAL, 6, 5},
      {OBJ_OFFICE, 11, 5}};
  for (const auto& [kind, x, y] : buildings) {
    const int resId = CBuildingDataList::GetBuildingResIDByType(kind, 1, nullptr);
    ASSERT_GT(resId, 0) << kind;
    ASSERT_NE(world.CreateObject(kind, resId, CIsoRichtung(0), ox + x, oy + y, static_cast<ESimLocationHeight>(0),
                                 nullptr, 0, nullptr, 0, -1),
              nullptr)
        << kind << " at " << x << "/" << y;
  }
  // Stops: two on the avenue, one on the middle street, one on the second
  // avenue, two on the track.
  CSecondLayerObject* west = PlaceStop(game, 1, {ox + 4, oy});
  CSecondLayerObject* east = PlaceStop(game, 1, {ox + 18, oy});
  CSecondLayerObject* middle = PlaceStop(game, 1, {ox + 16, oy + 6});
  CSecondLayerObject* south = PlaceStop(game, 1, {ox + 10, oy + 10});
  CSecondLayerObject* tramWest = PlaceStop(game, 4, {ox + 4, oy + 3});
  CSecondLayerObject* tramEast = PlaceStop(game, 4, {ox + 10, oy + 3});
  ASSERT_TRUE(west && east && middle && south && tramWest && tramEast);
  // Two bus lines meeting at the east stop, and a tram line.
  COpnvLine* one = MakeLine(opnv, NET_BUS, {west, east});
  COpnvLine* two = MakeLine(opnv, NET_BUS, {south, middle, east});
  COpnvLine* tram = MakeLine(opnv, NET_TRAM, {tramWest, tramEast});
  ASSERT_TRUE(one && two && tram);
  opnv.CheckMakeVirtuellNet();
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.BUS.NORMAL.BUYSELL", 12), 0);
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.BUS.BUYSELL.OK", 1), 0);
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.TRAM.BUYSELL", 4), 0);
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.TRAM.BUYSELL.OK", 1), 0);
  for (COpnvLine* line : {one, two, tram}) {
    opnv.SetActiveLine(line->GetID());
    for (int i = 0; i < line->GetData()->vehiclesNeeded; ++i) ASSERT_EQ(opnv.SetVarData("OPNV.MOVEFP.PLUS", 1), 0);
  }

  // Eight simulated days of the game's own turns. Each hour the hour
  // just computed is read: its passengers per line, and its bus trips
  // whose two stops no line serves together, which change lines on the
  // way. Every frame the vehicles are watched at their stops.
  world.SetGameSpeed(CZorvaWorld::kGameSpeedSum - kHourMs);
  CSimWelt* sim = world.GetSimWelt();
  CSimCityModell* city = sim->pCityModell();
  COpnvLine* lines[] = {one, two, tram};
  int hour = sim->Date().TicksFromStart();
  int boardings[3] = {};
  int changingTrips = 0, dwellingFrames = 0, hoursWithFares = 0;
  double fares = COpnv::GetVarValue("OPNV.F.INCOME.TICKET.BUS");
  for (int turn = 0; turn < 192 * kHourMs / kTurnMs; ++turn) {
    Clock().Advance(kTurnMs);
    world.OnPlayloopTurn();
    for (COpnvLine* line : lines)
      for (int i = 0; i < 5; ++i)
        if (CMicroOpnv* v = line->GetVehicle(i); v && v->GetStopped()) ++dwellingFrames;
    if (sim->Date().TicksFromStart() == hour) continue;
    hour = sim->Date().TicksFromStart();
    const double nowFares = COpnv::GetVarValue("OPNV.F.INCOME.TICKET.BUS");
    hoursWithFares += nowFares > fares ? 1 : 0;
    fares = nowFares;
    const int done = (sim->Date().Hour() + 23) % 24;
    for (int k = 0; k < 3; ++k) boardings[k] += lines[k]->GetData()->passengers[done];
    CSimAgentList* agents = city->pAgentList();
    agents->ResetIterator();
    while (CSimAgent* agent = agents->pNextAgent()) {
      CSimTrip* trip = agent->pTrip(done);
      if (!trip || trip->TransportationMode() != SIM_MODE_BUS || !trip->TripValid()) continue;
      short from = 0, to = 0;
      int d1 = 0, d2 = 0;
      if (!trip->pFromDestination()->pLocation()->GetNearestHst(from, d1) ||
          !trip->pToDestination()->pLocation()->GetNearestHst(to, d2))
        continue;
      bool together = false;
      for (COpnvLine* line : lines) together = together || (Serves(line, from) && Serves(line, to));
      changingTrips += together ? 0 : 1;
    }
  }
  EXPECT_GT(city->NrOfAgents(), 5);
  for (int k = 0; k < 3; ++k) EXPECT_GT(boardings[k], 0) << "passengers on line " << lines[k]->GetID();
  EXPECT_GT(changingTrips, 0) << "trips between stops without a common line change at a shared stop";
  EXPECT_GT(hoursWithFares, 0) << "fares booked";
  EXPECT_GT(dwellingFrames, 0) << "vehicles dwelling at stops";
  game.Shot("opnv_city");

  // A savegame keeps every line with its stops and passengers, every stop
  // and the accounts.
  // Saving first does the hourly work of an hour the last turn activated:
  // the accounts are taken as they went into the savegame.
  ASSERT_EQ(world.SerializeGameStore("SaveGame/OPNVCITY.GMD"), 0);
  const double balance = COpnv::GetVarValue("OPNV.F.BILANZ");
  const double income = COpnv::GetVarValue("OPNV.F.INCOME");
  const int numbers[] = {one->GetID(), two->GetID(), tram->GetID()};
  int passengers[3][LineDataType::kHours];
  for (int k = 0; k < 3; ++k) std::copy_n(lines[k]->GetData()->passengers, LineDataType::kHours, passengers[k]);
  ASSERT_EQ(world.SerializeGameLoad("SaveGame/OPNVCITY.GMD"), 0);
  COpnv& loaded = *world.GetOpnv();
  EXPECT_EQ(loaded.GetHstCount(), 6);
  EXPECT_EQ(COpnv::GetVarValue("OPNV.F.BILANZ"), balance);
  EXPECT_EQ(COpnv::GetVarValue("OPNV.F.INCOME"), income);
  for (int k = 0; k < 3; ++k) {
    COpnvLine* line = loaded.GetLineByID(numbers[k]);
    ASSERT_NE(line, nullptr) << numbers[k];
    EXPECT_EQ(line->GetData()->stopsOneWay, k == 1 ? 3 : 2) << numbers[k];
    EXPECT_TRUE(std::equal(passengers[k], passengers[k] + LineDataType::kHours, line->GetData()->passengers))
        << numbers[k];
  }
}

}  // namespace
