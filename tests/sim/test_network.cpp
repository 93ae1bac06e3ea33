#include <climits>
#include <cmath>

#include "sim/sim_network.h"
#include "sim/sim_traffic_slot.h"
#include "support/test_support.h"

namespace {
struct SlotFixture : ::testing::Test {
  CSimTrafficSlot slot{nullptr, nullptr};
  void SetUp() override {
    ASSERT_TRUE(slot.Create(1, CSimDate(6), nullptr));
    for (short c = 1; c <= 4; ++c) ASSERT_TRUE(slot.AddCrossing(c, SIM_CROSSING_NONE, 30, 30));
  }
};
}  // namespace

TEST(SimStreet, TravelTimeFollowsTheFlow) {
  CSimCrossing a, b;
  a.Create(1, SIM_CROSSING_NONE, 30, 30);
  b.Create(2, SIM_CROSSING_NONE, 30, 30);
  CSimStreet s;
  ASSERT_TRUE(s.Create(5, &a, 1, &b, 3, 139, -1.0, 0));
  EXPECT_EQ(s.Velocity(), static_cast<double>(13.9f));
  EXPECT_NEAR(s.FreeFlowTime(), 10.0000003, 1e-6);
  EXPECT_EQ(s.Capacity(), 1200);
  EXPECT_EQ(s.TravelTime(), 10);

  // At capacity the time doubles: floor(2 t0 + 0.5).
  s.AddCarFlow(1200);
  EXPECT_EQ(s.TravelTime(), static_cast<int>(std::floor(2 * s.FreeFlowTime() + 0.5)));
  // Guidance does not invalidate the cache; the next flow change does.
  s.SetVls(true);
  EXPECT_EQ(s.TravelTime(), 20);
  s.AddCarFlow(0);
  EXPECT_EQ(s.TravelTime(), static_cast<int>(std::floor((2 * s.FreeFlowTime() + 0.5) * 0.8)));
  s.ResetCarFlow();
  EXPECT_EQ(s.TravelTime(), 8);
}

TEST(SimStreet, FlowsCountBeyondSixteenBitsAndSaturateOnExport) {
  CSimCrossing a, b;
  a.Create(1, SIM_CROSSING_NONE, 30, 30);
  b.Create(2, SIM_CROSSING_NONE, 30, 30);
  CSimStreet s;
  s.Create(1, &a, 1, &b, 3, 500, -1.0, 0);
  for (int i = 0; i < 1000; ++i) s.AddCarFlow(50);  // 1000 agents of 50 persons
  EXPECT_EQ(s.CarFlow(), 50000);
  EXPECT_EQ(SimFlowToShort(s.CarFlow()), SHRT_MAX);
  EXPECT_EQ(SimFlowToShort(1234), 1234);
  s.AddCarFlow(INT_MAX);
  EXPECT_EQ(s.CarFlow(), INT_MAX);
  // A jammed street is capped rather than overflowing the seconds.
  EXPECT_EQ(s.TravelTime(), CSimStreet::kMaxTravelTime);
  CSimStreet still;
  still.Create(2, &a, 2, &b, 0, 500, 0.0, 0);  // velocity 0
  EXPECT_EQ(still.TravelTime(), CSimStreet::kMaxTravelTime);
}

TEST(SimStreet, LinkingRefusesTakenSidesAndUndoesHalfLinks) {
  CSimCrossing a, b;
  a.Create(1, SIM_CROSSING_NONE, 30, 30);
  b.Create(2, SIM_CROSSING_NONE, 30, 30);
  CSimStreet s1, s2, s3;
  ASSERT_TRUE(s1.Create(1, &a, 1, &b, 3, 100, -1.0, 0));
  EXPECT_FALSE(s1.Create(1, &a, 2, &b, 2, 100, -1.0, 0));  // already created
  EXPECT_FALSE(s2.Create(2, &a, 2, &b, 3, 100, -1.0, 0));  // b's side 3 is taken
  EXPECT_EQ(a.pOutStreet(2), nullptr);                      // the first link was undone
  EXPECT_EQ(a.NrOfOutStreets(), 1);
  EXPECT_FALSE(s3.Create(3, &a, 4, &b, 0, 100, -1.0, 0));
  EXPECT_FALSE(a.Destroy());  // a street is still linked
  s1.Destroy();
  EXPECT_TRUE(a.Destroy());
  EXPECT_EQ(a.ID(), 0);
}

TEST(SimCrossing, TurningFlowsNeedBothStreets) {
  CSimCrossing a, b, c;
  a.Create(1, SIM_CROSSING_NONE, 30, 30);
  b.Create(2, SIM_CROSSING_NONE, 30, 30);
  c.Create(3, SIM_CROSSING_NONE, 30, 30);
  CSimStreet in, out;
  in.Create(1, &a, 1, &b, 3, 100, -1.0, 0);
  out.Create(2, &b, 1, &c, 3, 100, -1.0, 0);
  EXPECT_TRUE(b.AddCarFlow(3, 1, 40));
  EXPECT_FALSE(b.AddCarFlow(1, 3, 40));  // nothing enters at 1
  EXPECT_EQ(b.CarFlow(3, 1), 40);
  EXPECT_FALSE(b.DelaysValid());
  b.UpdateDelays();
  EXPECT_TRUE(b.DelaysValid());
  EXPECT_EQ(b.Delay(3, 2), 10);  // the movement that yields to nobody
  EXPECT_GT(b.Delay(3, 1), 10);
}

TEST(SimCrossing, SignalDelayStaysFiniteAtSaturation) {
  CSimCrossing a, b;
  a.Create(1, SIM_CROSSING_NONE, 30, 30);
  b.Create(2, SIM_CROSSING_NONE, 40, 20);
  ASSERT_TRUE(b.SetCrossingType(SIM_CROSSING_SIGNAL));
  CSimStreet in, out;
  in.Create(1, &a, 1, &b, 0, 100, -1.0, 0);
  out.Create(2, &b, 2, &a, 3, 100, -1.0, 0);
  b.AddCarFlow(0, 2, 900);
  b.UpdateDelays();
  // T = 67, g = 20 at side 0: 67 (1 - 20/67)^2 / 2
  EXPECT_EQ(b.Delay(0, 2), static_cast<int>(67.0 * std::pow(1 - 20.0 / 67, 2) / 2));
  b.AddCarFlow(0, 2, 2700);  // 3600 vehicles: the plain formula divides by s <= 0
  b.UpdateDelays();
  const int saturated = b.Delay(0, 2);
  EXPECT_GT(saturated, 0);
  EXPECT_EQ(saturated, static_cast<int>(67.0 * std::pow(1 - 20.0 / 67, 2) / (2 * 0.05)));
  EXPECT_FALSE(b.SetCrossingType(static_cast<ESimCrossingType>(7)));
  EXPECT_EQ(b.CrossingType(), SIM_CROSSING_SIGNAL);
}

TEST(SimCrossing, UnsignalledDelaysSurviveHugeConflictingFlows) {
  CSimCrossing x, n[4];
  x.Create(10, SIM_CROSSING_NONE, 30, 30);
  CSimStreet in[4], out[4];
  for (int d = 0; d < 4; ++d) {
    n[d].Create(static_cast<short>(d + 1), SIM_CROSSING_NONE, 30, 30);
    in[d].Create(static_cast<short>(d + 1), &n[d], 0, &x, d, 100, -1.0, 0);
    out[d].Create(static_cast<short>(d + 11), &x, d, &n[d], 1, 100, -1.0, 0);
  }
  for (int d = 0; d < 4; ++d)
    for (int o = 0; o < 4; ++o) x.AddCarFlow(d, o, 200000);
  x.UpdateDelays();
  for (int d = 0; d < 4; ++d)
    for (int o = 0; o < 4; ++o) {
      EXPECT_GE(x.Delay(d, o), 10);
      EXPECT_LE(x.Delay(d, o), 600010);
    }
}

using SlotEditing = SlotFixture;

TEST_F(SlotEditing, RemovedIdsStayTakenUntilTheNextSlot) {
  ASSERT_TRUE(slot.AddStreet(7, 1, 1, 2, 3, 100, -1.0, 0));
  EXPECT_FALSE(slot.AddStreet(7, 2, 1, 3, 3, 100, -1.0, 0));
  EXPECT_TRUE(slot.RemoveStreet(7));
  EXPECT_FALSE(slot.RemoveStreet(7));
  EXPECT_FALSE(slot.AddStreet(7, 1, 1, 2, 3, 100, -1.0, 0));
  EXPECT_EQ(slot.GetStreet(7), nullptr);

  CSimTrafficSlot next(nullptr, nullptr);
  ASSERT_TRUE(next.Create(2, CSimDate(7), &slot));
  EXPECT_TRUE(next.AddStreet(7, 1, 1, 2, 3, 100, -1.0, 0));
}

TEST_F(SlotEditing, CrossingsWithStreetsCannotBeRemoved) {
  ASSERT_TRUE(slot.AddStreet(1, 1, 1, 2, 3, 100, -1.0, 0));
  EXPECT_FALSE(slot.RemoveCrossing(1));
  EXPECT_FALSE(slot.AddStreet(2, 1, 2, 9, 0, 100, -1.0, 0));  // unknown crossing
  EXPECT_TRUE(slot.RemoveCrossing(3));
  EXPECT_FALSE(slot.AddStreet(3, 3, 1, 4, 3, 100, -1.0, 0));  // a removed crossing is not created
  EXPECT_TRUE(slot.IsCrossingValid(3));
  EXPECT_FALSE(slot.AddCrossing(3, SIM_CROSSING_NONE, 30, 30));
}

TEST_F(SlotEditing, RelinkResetsTheStreetOrKeepsItWhenRefused) {
  ASSERT_TRUE(slot.AddStreet(1, 1, 1, 2, 3, 100, 20.0, 900));
  ASSERT_TRUE(slot.AddStreet(2, 3, 1, 4, 3, 100, -1.0, 0));
  slot.SetStreetVls(1, true);
  ASSERT_TRUE(slot.RelinkStreet(1, 1, 1, 3, 0, 250));
  CSimStreet* s = slot.GetStreet(1);
  EXPECT_EQ(s->pEndCrossing()->ID(), 3);
  EXPECT_EQ(s->StreetLength(), 250);
  EXPECT_EQ(s->Capacity(), 1200);
  EXPECT_FALSE(s->Vls());
  // Side 3 of crossing 4 is taken: the street stays where it was.
  slot.SetStreetCapacity(1, 700);
  EXPECT_FALSE(slot.RelinkStreet(1, 1, 1, 4, 3, 300));
  s = slot.GetStreet(1);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->pEndCrossing()->ID(), 3);
  EXPECT_EQ(s->StreetLength(), 250);
  EXPECT_EQ(s->Capacity(), 700);
}

TEST_F(SlotEditing, MergeMovesTheStreetsOfTheMergedCrossing) {
  ASSERT_TRUE(slot.AddStreet(1, 1, 1, 2, 3, 100, -1.0, 0));
  ASSERT_TRUE(slot.AddStreet(2, 2, 1, 3, 3, 100, -1.0, 0));
  short kept = 4, merged = 2;
  ASSERT_TRUE(slot.MergeCrossings(kept, merged));
  EXPECT_EQ(slot.GetStreet(1)->pEndCrossing()->ID(), 4);
  EXPECT_EQ(slot.GetStreet(2)->pStartCrossing()->ID(), 4);
  EXPECT_EQ(slot.GetCrossing(2)->NrOfInStreets() + slot.GetCrossing(2)->NrOfOutStreets(), 0);
  // Crossings 4 and 3 now both have an in-street at side 3.
  short k2 = 4, m2 = 3;
  EXPECT_FALSE(slot.MergeCrossings(k2, m2));
}

TEST_F(SlotEditing, SettersAndQueriesFollowTheMode) {
  ASSERT_TRUE(slot.AddStreet(1, 1, 1, 2, 3, 139, -1.0, 0));
  EXPECT_FALSE(slot.SetStreetCapacity(99, 10));
  EXPECT_TRUE(slot.SetStreetVelocity(1, 27.8));
  EXPECT_EQ(slot.StreetTravelTime(1), 10);  // t0 stays until the next slot
  EXPECT_DOUBLE_EQ(slot.StreetVelocity(1), 27.8);
  EXPECT_EQ(slot.StreetLength(1), 0);  // only a computed slot answers
  short a = 0, b = 0;
  EXPECT_TRUE(slot.GetCrossingsOfStreet(1, a, b));
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 2);
  EXPECT_FALSE(slot.GetCrossingsOfStreet(9, a, b));
  EXPECT_TRUE(slot.SetCrossingType(2, SIM_CROSSING_SIGNAL));
  EXPECT_FALSE(slot.SetCrossingType(42, SIM_CROSSING_SIGNAL));

  CSimTrafficSlot next(nullptr, nullptr);
  ASSERT_TRUE(next.Create(2, CSimDate(7), &slot));
  EXPECT_EQ(next.StreetTravelTime(1), 5);  // 139 m at 27.8 m/s
  ASSERT_TRUE(slot.SwitchToComputateMode(nullptr));
  EXPECT_FALSE(slot.SetStreetCapacity(1, 10));
  EXPECT_FALSE(slot.SetCrossingType(2, SIM_CROSSING_NONE));
  EXPECT_FALSE(slot.AddCrossing(9, SIM_CROSSING_NONE, 30, 30));
  EXPECT_TRUE(slot.SetStreetVls(1, true));
  EXPECT_FALSE(slot.SwitchToComputateMode(nullptr));
}

TEST_F(SlotEditing, CopyKeepsRegulationGuidanceAndStreetData) {
  ASSERT_TRUE(slot.AddStreet(1, 1, 1, 2, 3, 300, 8.0, 600));
  ASSERT_TRUE(slot.SetCrossingType(2, SIM_CROSSING_SIGNAL));
  ASSERT_TRUE(slot.SetNW_GoTime(2, 45));
  ASSERT_TRUE(slot.SetNE_GoTime(2, 15));
  ASSERT_TRUE(slot.SetStreetVls(1, true));
  ASSERT_TRUE(slot.RemoveCrossing(4));
  CSimTrafficSlot next(nullptr, nullptr);
  ASSERT_TRUE(next.Create(2, CSimDate(7), &slot));
  CSimCrossing* c = next.GetCrossing(2);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->CrossingType(), SIM_CROSSING_SIGNAL);
  EXPECT_EQ(c->NW_GoTime(), 45);
  EXPECT_EQ(c->NE_GoTime(), 15);
  CSimStreet* s = next.GetStreet(1);
  ASSERT_NE(s, nullptr);
  EXPECT_TRUE(s->Vls());
  EXPECT_EQ(s->Capacity(), 600);
  EXPECT_DOUBLE_EQ(s->Velocity(), 8.0);
  EXPECT_EQ(s->CarFlow(), 0);
  EXPECT_EQ(next.GetCrossing(4), nullptr);
  EXPECT_FALSE(next.IsCrossingValid(4));  // removed crossings are not copied
  EXPECT_EQ(next.GetFirstCrossing()->Key(), 0);
}

TEST_F(SlotEditing, StreetsAreFoundByIdAtAnyIdAndOnlyWhileTheSlotHoldsThem) {
  // Ids in any order, the highest a street id can be among them.
  const short ids[] = {SHRT_MAX, 3, 250, 1, 4000};
  int side = 0;
  for (short id : ids) {
    ASSERT_TRUE(slot.AddStreet(id, 1 + side % 2, side / 2, 3 + side % 2, side / 2, 100 + id % 50, -1.0, 0))
        << id;
    ++side;
  }
  for (short id : ids) {
    CSimStreet* s = slot.GetStreet(id);
    ASSERT_NE(s, nullptr) << id;
    EXPECT_EQ(s->Key(), id);
    EXPECT_EQ(slot.StreetLength(id), 0) << "lengths are read in the computed mode only";
    EXPECT_TRUE(slot.SetStreetVelocity(id, 5.0 + id % 7));
    EXPECT_EQ(slot.StreetVelocity(id), 5.0 + id % 7);
  }
  // Ids between, beyond and below the streets' are none (0 is the slot's
  // own anchor street).
  for (short id : {short(-1), short(2), short(251), short(SHRT_MAX - 1), short(SHRT_MIN)}) {
    EXPECT_EQ(slot.GetStreet(id), nullptr) << id;
    EXPECT_EQ(slot.StreetVelocity(id), 0.0) << id;
    EXPECT_FALSE(slot.SetStreetVelocity(id, 3.0)) << id;
  }
  EXPECT_TRUE(slot.RemoveStreet(250));
  EXPECT_EQ(slot.GetStreet(250), nullptr);
  EXPECT_NE(slot.GetStreet(4000), nullptr);
  // A slot set up again holds none of them until they are added again.
  ASSERT_TRUE(slot.Destroy());
  ASSERT_TRUE(slot.Create(1, CSimDate(6), nullptr));
  for (short id : ids) EXPECT_EQ(slot.GetStreet(id), nullptr) << id;
  ASSERT_TRUE(slot.AddCrossing(1, SIM_CROSSING_NONE, 30, 30));
  ASSERT_TRUE(slot.AddCrossing(2, SIM_CROSSING_NONE, 30, 30));
  ASSERT_TRUE(slot.AddStreet(3, 1, 1, 2, 3, 100, -1.0, 0));
  EXPECT_NE(slot.GetStreet(3), nullptr);
  EXPECT_EQ(slot.GetStreet(SHRT_MAX), nullptr);
}
