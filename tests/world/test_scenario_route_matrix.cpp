// The demand model's public-transport route matrices in the running game:
// the active hour always has one to ask, and a change of public transport
// is taken up by the next hour that is computed.
#include <gtest/gtest.h>

#include <vector>

#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "measures/opnv_net.h"
#include "sim/sim_bus_matrix.h"
#include "sim/sim_test_city.h"
#include "sim/sim_traffic_slot.h"
#include "sim/sim_welt.h"
#include "support/scenario.h"
#include "world/zor_sim_parts.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;

int Hours(Scenario& game) { return game.World().GetSimWelt()->Date().TicksFromStart(); }

// The lines a walk gives, as net type and number, twice over (a restarted
// walk gives the same), with null at its end.
std::vector<std::pair<int, int>> Walk(CSimLineDataSource& lines) {
  std::vector<std::pair<int, int>> seen;
  for (int round = 0; round < 2; ++round) {
    lines.SimSetupLineDataCount();
    while (const LineDataType* d = lines.SimGetNextLineData()) seen.emplace_back(d->netType, d->lineNumber);
    EXPECT_EQ(lines.SimGetNextLineData(), nullptr);
  }
  return seen;
}

// Stops 1, 2 (line 1, 60 s) and 2, 3 (line 3, 90 s), headway 10 minutes.
void Route(LineDataType& d, int16_t a, int16_t b, int32_t seconds) {
  d.stopsOneWay = 2;
  d.stopEntries = 4;
  d.stopIds[0] = a;
  d.stopIds[1] = b;
  d.times[1] = seconds;
  d.headway = 10;
}

TEST(ScenarioRouteMatrix, AChangeOfPublicTransportIsTakenByTheNextHour) {
  Scenario game("GAMESPEED=1000\n");
  CSimWelt* sim = game.World().GetSimWelt();
  ASSERT_TRUE(sim->pTrafficSlot(0)->HasBusNetMatrix());
  COpnv* opnv = game.World().GetOpnv();
  ASSERT_NE(opnv, nullptr);
  opnv->SetNewMatrix(true);
  const int start = Hours(game);
  for (int i = 0; i < 40 && Hours(game) < start + 2; ++i) game.Do(Wait(200));
  ASSERT_GE(Hours(game), start + 2) << "two hours have begun";
  EXPECT_FALSE(opnv->GetNewMatrix());
  EXPECT_TRUE(sim->pTrafficSlot(0)->HasBusNetMatrix());
}

// The walk the route matrices read in the game and the lines the sim tests
// hand them keep one contract: the active bus lines, the active tram lines,
// every virtual line; and the passengers go back to the lines' records.
TEST(ScenarioRouteMatrix, TheGamesLinesAndTheTestLinesAreWalkedAlike) {
  Scenario game;
  COpnv* opnv = game.World().GetOpnv();
  ASSERT_NE(opnv, nullptr);
  // Every game's operator runs the three nets: a game that lost one fails here.
  ASSERT_NE(opnv->GetBusNet(), nullptr);
  ASSERT_NE(opnv->GetTramNet(), nullptr);
  ASSERT_NE(opnv->GetVirNet(), nullptr);
  simtest::TestLines fake;
  auto add = [&](COpnvNet* net, NetActiveType type, int number, bool active) {
    auto* line = new COpnvLine(type);
    line->Create(number, nullptr, type);
    line->GetData()->active = active ? 1 : 0;
    net->AddOpnvLine(line);
    fake.Add(type, static_cast<int16_t>(number), {}, {}, 10).active = active ? 1 : 0;
    return line->GetData();
  };
  LineDataType* bus = add(opnv->GetBusNet(), NET_BUS, 1, true);
  add(opnv->GetBusNet(), NET_BUS, 2, false);
  LineDataType* tram = add(opnv->GetTramNet(), NET_TRAM, 3, true);
  add(opnv->GetVirNet(), NET_VIRTUELL, 1, false);
  CZorWorldSimParts parts(nullptr, &game.World());
  const std::vector<std::pair<int, int>> once = {{NET_BUS, 1}, {NET_TRAM, 3}, {NET_VIRTUELL, 1}};
  std::vector<std::pair<int, int>> twice = once;
  twice.insert(twice.end(), once.begin(), once.end());
  EXPECT_EQ(Walk(parts), twice);
  EXPECT_EQ(Walk(fake), twice);

  Route(*bus, 1, 2, 60);
  Route(*tram, 2, 3, 90);
  CBusNetMatrix matrix(&parts);
  matrix.Create();
  while (matrix.CalcBusNetMatrix(30, 1000)) {
  }
  CSimTrip trip;
  trip.SetSize(6);
  ASSERT_TRUE(matrix.FindBusRoute(1, 3, &trip, 0, true));
  EXPECT_EQ(trip.Fahrzeit(), 60 + 600 + 90);
  matrix.WriteBackBusData(9);
  EXPECT_EQ(bus->passengers[9], 6);
  EXPECT_EQ(tram->passengers[9], 6);
}

}  // namespace
