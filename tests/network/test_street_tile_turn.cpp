// A street's turn on its visible tiles drives the micro simulation: the
// surplus that the evaluation of its counts gives is spent by its cells on
// new cars, and the cars they count come back in the next evaluation.
#include <gtest/gtest.h>

#include <vector>

#include "framework/zor_seams.h"
#include "microsim/micro_test_host.h"
#include "street_scene.h"
#include "worldbase/zor_world_host.h"

namespace {

using namespace streettest;

// The micro-cell debug view: every flow counts as half the capacity.
struct DebugView : CWorldHost {
  DebugView() { CWorldHost::Install(this); }
  ~DebugView() override { CWorldHost::Install(nullptr); }
  bool GetShowMicroZellen() override { return true; }
};

int CarsOn(CStrStrasse* s, int x0, int x1, int y) {
  int n = 0;
  for (int x = x0; x <= x1; ++x)
    if (CQnoMicroZelle* z = s->GetMicroZellen(static_cast<unsigned short>(x), static_cast<unsigned short>(y)))
      for (int i = 0; i < z->GetCount(); ++i) n += z->GetZelle(i)->m_pCar != nullptr;
  return n;
}

TEST_F(StreetScene, AStreetThatWantsCarsGetsThemOnItsVisibleTilesAndCountsThem) {
  microtest::ScriptHost cars;
  CMicroSimHost::Install(&cars);
  cars.SetFrameTime(40);
  ZorManualClock clock{1000};
  ZorSetClock(&clock);
  zor_srandom(7);
  DebugView debug;
  CStrJunction* a = Junction(10, 10);
  CStrJunction* b = Junction(16, 10);
  CStrStrasse* s = Street(a, b);
  a->LinkStreet(s);
  b->LinkStreet(s);
  ASSERT_EQ(s->InsertIntoIsoWelt(), 0);
  for (int x = 11; x <= 15; ++x) ASSERT_NE(s->GetMicroZellen(static_cast<unsigned short>(x), 10), nullptr) << x;

  // Four empty turns on each of the five tiles: 20 counts of no car at a
  // ratio of 0.5 give trunc((0 - 0.5) x 10) = -5 each way, rate 250.
  for (int turn = 0; turn < 4; ++turn)
    for (int x = 11; x <= 15; ++x) s->OnPlayloopTurn(static_cast<short>(x), 10);
  EXPECT_EQ(CarsOn(s, 11, 15, 10), 0);
  EXPECT_EQ(s->GetMesspunkte(), 20);
  net->BerechneISOAuslastung();
  EXPECT_EQ(s->GetUeberschuss(), -5);
  EXPECT_EQ(s->GetRate(), 250);

  // The cells spend the wish on new cars, one surplus unit per car, and
  // count each new car on its tile. This layout leads nowhere, so the cars
  // leave again within their turn.
  auto added = [&] { return s->GetUeberschuss() + 5 + s->GetUeberschussSecond() + 5; };
  int rounds = 0;
  while (added() == 0 && ++rounds < 200) {
    for (int x = 11; x <= 15; ++x) s->OnPlayloopTurn(static_cast<short>(x), 10);
    clock.Advance(40);
  }
  ASSERT_GT(added(), 0);
  EXPECT_LE(s->GetUeberschuss(), 0);
  EXPECT_LE(s->GetUeberschussSecond(), 0);
  const int counts = s->GetMesspunkte();
  EXPECT_EQ(counts, 5 * rounds);
  // Each new car was counted once, on the tile it came into: with cf and cb
  // cars among n counts the evaluation wishes (1.2 cf / n - 0.5) n / 2 and
  // (cb / n - 0.5) n / 2 cars, rounded toward zero or one car beyond.
  const int cf = s->GetUeberschuss() + 5, cb = s->GetUeberschussSecond() + 5;
  net->BerechneISOAuslastung();
  auto rounded = [](int surplus, double wish) {
    const int t = static_cast<int>(wish);
    return surplus == t || surplus == t + (wish > 0 ? 1 : -1);
  };
  const double wishForward = (1.2 * cf / counts - 0.5) * counts / 2;
  const double wishBackward = (1.0 * cb / counts - 0.5) * counts / 2;
  EXPECT_TRUE(rounded(s->GetUeberschuss(), wishForward)) << cf << " of " << counts;
  EXPECT_TRUE(rounded(s->GetUeberschussSecond(), wishBackward)) << cb << " of " << counts;
  EXPECT_EQ(CarsOn(s, 11, 15, 10), 0);

  s->RemoveMicroSim();
  ZorSetClock(nullptr);
  CMicroSimHost::Install(nullptr);
}

// What the turns of a street from (10, y) to (26, y) leave, round after
// round from the same seed: the counts, the surplus either way (a new car
// takes one unit of it) and the cars on every tile. With
// `stages`, every stage the map's walk asks ahead of a tile's turn (and the
// one placing asks) is asked before it, for the tile and for the tiles
// beside it, which the street does not hold.
std::vector<int> TurnsOfALongStreet(StreetScene& scene, int y, bool stages) {
  microtest::ScriptHost cars;
  CMicroSimHost::Install(&cars);
  cars.SetFrameTime(40);
  ZorManualClock clock{1000};
  ZorSetClock(&clock);
  zor_srandom(11);
  DebugView debug;
  CStrJunction* a = scene.Junction(10, y);
  CStrJunction* b = scene.Junction(26, y);
  CStrStrasse* s = scene.Street(a, b);
  a->LinkStreet(s);
  b->LinkStreet(s);
  std::vector<int> seen;
  if (s->InsertIntoIsoWelt() != 0) return seen;
  const auto sy = static_cast<short>(y);
  for (int round = 0; round < 60; ++round) {
    for (short x = 11; x <= 25; ++x) {
      if (stages)
        for (int stage = 4; stage >= 0; --stage)
          for (short side = -1; side <= 1; ++side) s->PrefetchTurn(x, static_cast<short>(sy + side), stage);
      s->OnPlayloopTurn(x, sy);
    }
    // The street's own evaluation: the network's would draw for the other
    // street as well.
    if (round % 4 == 3) s->BerechneISOAuslastung();
    clock.Advance(40);
    seen.push_back(s->GetMesspunkte());
    seen.push_back(s->GetUeberschuss());
    seen.push_back(s->GetUeberschussSecond());
    for (int x = 11; x <= 25; ++x) seen.push_back(CarsOn(s, x, x, y));
  }
  s->RemoveMicroSim();
  // Without its cells the street asks for nothing.
  for (int stage = 4; stage >= 0; --stage) s->PrefetchTurn(12, sy, stage);
  seen.push_back(s->GetMicroZellenGroup() == nullptr);
  ZorSetClock(nullptr);
  CMicroSimHost::Install(nullptr);
  return seen;
}

// The street's tiles outnumber the members its group keeps in itself and
// in its block, so the stages look members up in all three places.
TEST_F(StreetScene, TheStagesAskedAheadOfALongStreetsTurnsChangeNothingTheTurnsDo) {
  const std::vector<int> plain = TurnsOfALongStreet(*this, 10, false);
  const std::vector<int> asked = TurnsOfALongStreet(*this, 20, true);
  constexpr size_t kRound = 18;
  ASSERT_EQ(plain.size(), 60 * kRound + 1);
  EXPECT_EQ(asked, plain);
  EXPECT_EQ(plain.back(), 1);
  // The street wished for cars and made some: a surplus rose between two
  // evaluations.
  int made = 0;
  for (size_t at = kRound; at + 1 < plain.size(); at += kRound)
    if (at / kRound % 4 != 3) made += (plain[at + 1] - plain[at + 1 - kRound]) + (plain[at + 2] - plain[at + 2 - kRound]);
  EXPECT_GT(made, 0);
}

}  // namespace
