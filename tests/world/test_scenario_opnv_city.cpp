// Public transport carrying a town's people: homes, offices and shops along
// the streets, stops placed with the stop tool near both, two bus lines
// meeting at a stop and a tram line, vehicles on the lines, and simulated
// hours in which the people who choose the bus ride the lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "iso/iso_welt.h"
#include "measures/building_object.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "measures/opnv_net.h"
#include "microsim/micro_car.h"
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
  LineTown town;
  ASSERT_NO_FATAL_FAILURE(BuildLineTown(game, town));
  COpnvLine* one = town.lines[0];
  COpnvLine* two = town.lines[1];
  COpnvLine* tram = town.lines[2];

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
