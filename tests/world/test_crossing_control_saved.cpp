// The control of the town's crossings as the demand model holds it, set by
// the crossing objects and given back to it after a save and a load.
#include <gtest/gtest.h>

#include "network/crossing_objects.h"
#include "sim/sim_traffic_slot.h"
#include "sim/sim_welt.h"
#include "support/test_support.h"
#include "world/town_fixture.h"

namespace {

struct Control {
  ESimCrossingType type;
  int nw, ne;
};

struct CrossingControl : towntest::Town {
  CKreuzObj* At(int x, int y) {
    CStrJunction* j = world.GetStreetNet()->FindJunctionAt(static_cast<short>(x), static_cast<short>(y));
    return j ? j->GetKreuzObject() : nullptr;
  }
  // The crossing's control in the demand model's editing hour and in the
  // hour the views read.
  void Expect(CKreuzObj* o, const Control& want, const char* when) {
    SCOPED_TRACE(when);
    ASSERT_NE(o, nullptr);
    const auto id = static_cast<short>(o->GetSimID());
    CSimWelt* sim = world.GetSimWelt();
    for (CSimTrafficSlot* slot : {sim->EditingSlot(), sim->ActiveSlot()}) {
      ASSERT_NE(slot, nullptr);
      const CSimCrossing* c = slot->GetCrossing(id);
      ASSERT_NE(c, nullptr);
      EXPECT_EQ(c->CrossingType(), want.type);
      if (want.type != SIM_CROSSING_SIGNAL) continue;
      EXPECT_EQ(c->NW_GoTime(), want.nw);
      EXPECT_EQ(c->NE_GoTime(), want.ne);
    }
  }
};

TEST_F(CrossingControl, LightsReachTheDemandModelAsASignalAndSignsAsAPriorityRoadBeforeAndAfterALoad) {
  // A four-arm crossing at (60, 63) and a T junction at (63, 63).
  ASSERT_EQ(Street(54, 63, 60, 63), STR_BUILD_OK);
  ASSERT_EQ(Street(63, 63, 63, 58), STR_BUILD_OK);
  CKreuzObj* lights = At(60, 63);
  CKreuzObj* signs = At(63, 63);
  ASSERT_NE(lights, nullptr);
  ASSERT_NE(signs, nullptr);
  ASSERT_EQ(lights->SetVarData("KR.AMPEL", 2), 0);
  ASSERT_EQ(lights->SetVarData("KR.AMPEL.TIME", 90), 0);
  ASSERT_EQ(lights->SetVarData("KR.AMPEL.QUOTE", 0.6), 0);
  ASSERT_EQ(signs->SetVarData("KR.AMPEL", 1), 0);
  // The priority streets' green is 54 s of the 90, the others' 36 s.
  const Control signal{SIM_CROSSING_SIGNAL, 54, 36};
  const Control priority{SIM_CROSSING_PRIORITY, 0, 0};
  // The next hours' networks carry the control on.
  world.SetGameSpeed(CZorvaWorld::kGameSpeedSum - 400);
  CSimWelt* sim = world.GetSimWelt();
  const int from = sim->Date().TicksFromStart();
  for (int i = 0; i < 20000 && sim->Date().TicksFromStart() < from + 2; ++i) {
    zortest::Clock().Advance(zortest::Scenario::kFrameMs);
    world.OnPlayloopTurn();
  }
  ASSERT_GE(sim->Date().TicksFromStart(), from + 2);
  Expect(lights, signal, "set");
  Expect(signs, priority, "set");

  ASSERT_EQ(world.SerializeGameStore("SaveGame/CONTROL.GMD"), 0);
  ASSERT_EQ(world.SerializeGameLoad("SaveGame/CONTROL.GMD"), 0);
  lights = At(60, 63);
  signs = At(63, 63);
  Expect(lights, signal, "loaded");
  Expect(signs, priority, "loaded");
  // Lights taken away leave the crossing uncontrolled.
  ASSERT_EQ(lights->SetVarData("KR.AMPEL", 0.0), 0);
  const auto id = static_cast<short>(lights->GetSimID());
  EXPECT_EQ(world.GetSimWelt()->EditingSlot()->GetCrossing(id)->CrossingType(), SIM_CROSSING_NONE);
}

}  // namespace
