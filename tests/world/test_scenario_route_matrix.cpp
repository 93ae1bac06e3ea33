// The demand model's public-transport route matrices in the running game:
// the active hour always has one to ask, and a change of public transport
// is taken up by the next hour that is computed.
#include <gtest/gtest.h>

#include "measures/opnv.h"
#include "sim/sim_traffic_slot.h"
#include "sim/sim_welt.h"
#include "support/scenario.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;

int Hours(Scenario& game) { return game.World().GetSimWelt()->Date().TicksFromStart(); }

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

}  // namespace
