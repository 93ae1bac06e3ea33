// Traffic lights over the hand-driven clock: which cells are locked when,
// how a group's priority pair leads and the other pair follows, and how
// lights move between slots as streets come and go.
#include <gtest/gtest.h>

#include "framework/zor_seams.h"
#include "microsim/micro_cells.h"
#include "network/str_ampel.h"

namespace {

// Street pointers the group only compares; they are never dereferenced.
CStrStrasse* S(int n) { return reinterpret_cast<CStrStrasse*>(static_cast<uintptr_t>(0x1000 * n)); }

struct Clocked : ::testing::Test {
  // Starts above 0: a start time of 0 means "not started".
  ZorManualClock clock{10000};
  void SetUp() override { ZorSetClock(&clock); }
  void TearDown() override { ZorSetClock(nullptr); }
};

// A light on two cells of its own.
struct Light {
  BinaryMicroSimObject a, b;
  CAmpel* light = new CAmpel;
  explicit Light(int32_t gelb = 1000, int32_t rot = 4000, int32_t gruen = 4000) {
    light->Create();
    light->SetTimes(gelb, rot, gruen);
    EXPECT_EQ(light->LinkZelle(&a, &b), 0);
    EXPECT_EQ(light->LinkZelle(&b, &a), 1);
  }
  bool Red() const { return a.m_Locked && b.m_Locked; }
  bool Green() const { return !a.m_Locked && !b.m_Locked; }
};

using LightCycle = Clocked;

TEST_F(LightCycle, ALightIsOpenForGreenThenClosedForBothAmbersAndRed) {
  Light l;
  CAmpel& c = *l.light;
  l.a.m_Locked = l.b.m_Locked = 1;
  c.OnPlayloopTurn();  // starts the cycle open
  EXPECT_TRUE(l.Green());
  clock.Advance(3999);
  c.OnPlayloopTurn();
  EXPECT_TRUE(l.Green());
  clock.Advance(1);
  c.OnPlayloopTurn();
  EXPECT_TRUE(l.Red());
  // Closed until 2 x 1000 + 4000 + 4000 = 10000 ms after the start.
  clock.Advance(5999);
  c.OnPlayloopTurn();
  EXPECT_TRUE(l.Red());
  clock.Advance(1);
  c.OnPlayloopTurn();
  EXPECT_TRUE(l.Green());
  // Several turns at one moment change nothing.
  c.OnPlayloopTurn();
  c.OnPlayloopTurn();
  EXPECT_TRUE(l.Green());
  c.Destroy();
  delete l.light;
}

TEST_F(LightCycle, CellsAreLinkedOnceAndForgottenOrReleasedOnRequest) {
  BinaryMicroSimObject a, b, c;
  CAmpel light;
  light.Create();
  EXPECT_EQ(light.GetGelb(), 1000);
  EXPECT_EQ(light.GetRot(), 4000);
  EXPECT_EQ(light.GetGruen(), 4000);
  EXPECT_EQ(light.LinkZelle(nullptr, &b), 1);
  // A one-lane arm: the second slot stays empty until a second lane comes.
  EXPECT_EQ(light.LinkZelle(&a, nullptr), 0);
  EXPECT_EQ(light.GetZelle(0), &a);
  EXPECT_EQ(light.GetZelle(1), nullptr);
  EXPECT_EQ(light.LinkZelle(&c, &b), 0);
  EXPECT_EQ(light.GetZelle(0), &a);
  EXPECT_EQ(light.GetZelle(1), &b);
  EXPECT_EQ(light.LinkZelle(&c, &c), 1);
  EXPECT_EQ(light.ReLinkZelle(nullptr, &c), 1);
  EXPECT_EQ(light.GetZelle(0), &a);
  // Forgetting leaves the lock; destroying releases it.
  a.m_Locked = b.m_Locked = 1;
  light.RemoveLinkedZellen();
  EXPECT_EQ(a.m_Locked, 1);
  EXPECT_EQ(light.ReLinkZelle(&a, &b), 0);
  // Following a light that shows green (one that never ran) closes both.
  a.m_Locked = b.m_Locked = 0;
  CAmpel open;
  EXPECT_EQ(light.Invert(&open), 0);
  EXPECT_EQ(a.m_Locked, 1);
  EXPECT_EQ(b.m_Locked, 1);
  light.Destroy();
  EXPECT_EQ(a.m_Locked, 0);
  EXPECT_EQ(b.m_Locked, 0);
  EXPECT_EQ(light.GetZelle(0), nullptr);
  // A light without cells does not run.
  light.OnPlayloopTurn();
  EXPECT_EQ(light.Invert(nullptr), 1);
}

using LightGroup = Clocked;

TEST_F(LightGroup, TheOtherArmsAreClosedExactlyWhileThePriorityArmsAreOpen) {
  CAmpelGroup group(nullptr);
  group.Create(60, 0.5f);
  EXPECT_EQ(group.GetCycleTime(), 6000);
  EXPECT_EQ(group.GetShare(), 3000);
  Light p0, p1, o0, o1;
  ASSERT_EQ(group.Add(p0.light, S(1)), 0);
  // Without a junction no pair is opposite: the new light leads.
  ASSERT_EQ(group.Add(p1.light, S(2)), 0);
  ASSERT_EQ(group.Add(o0.light, S(3)), 0);
  ASSERT_EQ(group.Add(o1.light, S(4)), 0);
  group.ChangeAmpelData(60, 0.5f);
  CStrStrasse* a = nullptr;
  CStrStrasse* b = nullptr;
  group.GetPriorityStreets(&a, &b);
  CAmpel* lead = group.GetAmpelForStreet(a);
  ASSERT_NE(lead, nullptr);
  EXPECT_EQ(lead->GetGruen(), 3000);
  EXPECT_EQ(lead->GetGelb(), 500);
  EXPECT_EQ(lead->GetRot(), 2500);
  group.GetNonPriorityStreets(&a, &b);
  ASSERT_NE(group.GetAmpelForStreet(a), nullptr);
  EXPECT_EQ(group.GetAmpelForStreet(a)->GetGruen(), 2500);
  EXPECT_EQ(group.GetAmpelForStreet(a)->GetRot(), 3000);

  auto lockOf = [&](int slot) { return group.GetAmpel(slot)->GetZelle(0)->m_Locked; };
  EXPECT_EQ(group.OnPlayloopTurn(), -1);
  for (int t : {0, 2999}) {
    clock.Set(10000 + static_cast<uint32_t>(t));
    group.OnPlayloopTurn();
    EXPECT_EQ(lockOf(0), 0) << t;
    EXPECT_EQ(lockOf(1), 0) << t;
    EXPECT_EQ(lockOf(2), 1) << t;
    EXPECT_EQ(lockOf(3), 1) << t;
  }
  // Closed for cycle + 500 - share = 3500 ms, while the others are open.
  for (int t : {3000, 6499}) {
    clock.Set(10000 + static_cast<uint32_t>(t));
    group.OnPlayloopTurn();
    EXPECT_EQ(lockOf(0), 1) << t;
    EXPECT_EQ(lockOf(2), 0) << t;
    EXPECT_EQ(lockOf(3), 0) << t;
  }
  clock.Set(16500);
  group.OnPlayloopTurn();
  EXPECT_EQ(lockOf(0), 0);
  EXPECT_EQ(lockOf(2), 1);
  group.Destroy();
  EXPECT_EQ(p0.a.m_Locked, 0);
  EXPECT_EQ(o0.a.m_Locked, 0);
  EXPECT_EQ(group.GetAmpel(0), nullptr);
}

TEST_F(LightGroup, AFollowerWithoutItsLeaderFollowsTheOtherPriorityLight) {
  for (int present : {0, 1}) {
    SCOPED_TRACE(present);
    Light lead, follow;
    CAmpelGroup group(nullptr);
    group.Create(60, 0.5f);
    ASSERT_EQ(group.Add(lead.light, S(1)), 0);
    ASSERT_EQ(group.Add(follow.light, S(2)), 0);  // leads now: slots 0 and 2 swap
    ASSERT_EQ(group.GetAmpel(0), follow.light);
    ASSERT_EQ(group.GetAmpel(2), lead.light);
    if (present == 1) {
      // Slot 0 empty, slot 1 leads: slot 2 follows slot 1.
      group.ChangePriorityStreets(nullptr, S(2), S(1), nullptr);
      ASSERT_EQ(group.GetAmpel(1), follow.light);
    }
    // A follower of slot 1 takes its lock before slot 1 runs, so it
    // follows one turn later; the map gives a junction several turns.
    auto turns = [&](uint32_t at) {
      clock.Set(at);
      group.OnPlayloopTurn();
      group.OnPlayloopTurn();
    };
    turns(20000);
    EXPECT_TRUE(follow.Green());
    EXPECT_TRUE(lead.Red());
    turns(20000 + 3000);
    EXPECT_TRUE(follow.Red());
    EXPECT_TRUE(lead.Green());
    turns(20000 + 6500);
    EXPECT_TRUE(follow.Green());
    EXPECT_TRUE(lead.Red());
  }
}

// Arms that change slots run as a pair: a light that ran and one that
// only followed, made the priority pair, open and close together.
TEST_F(LightGroup, APriorityPairOfALightThatRanAndAFollowerRunsAsOne) {
  CAmpelGroup group(nullptr);
  group.Create(60, 0.5f);
  Light p, q;
  ASSERT_EQ(group.Add(p.light, S(1)), 0);
  ASSERT_EQ(group.Add(q.light, S(2)), 0);  // q leads, p follows
  for (uint32_t t : {20000u, 21000u}) {
    clock.Set(t);
    group.OnPlayloopTurn();
  }
  ASSERT_EQ(group.ChangePriorityStreets(S(1), S(2), nullptr, nullptr), 0);
  for (uint32_t t = 21000; t < 21000 + 2 * 6500; t += 250) {
    clock.Set(t);
    group.OnPlayloopTurn();
    ASSERT_EQ(p.a.m_Locked, q.a.m_Locked) << t;
  }
  // A priority light whose arm led nothing in when the pair started again
  // keeps the pair's time: its cells given back in the middle of a cycle,
  // it shows what its partner shows.
  ASSERT_EQ(group.ChangePriorityStreets(S(2), S(1), nullptr, nullptr), 0);
  p.light->RemoveLinkedZellen();
  for (uint32_t t = 40000; t < 40000 + 2 * 6500; t += 250) {
    if (t == 43250) p.light->ReLinkZelle(&p.a, &p.b);
    clock.Set(t);
    group.OnPlayloopTurn();
    if (t >= 43250) {
      ASSERT_EQ(p.a.m_Locked, q.a.m_Locked) << t;
    }
  }
}

TEST(LightSlots, RemovingAPriorityStreetHandsThePriorityToTheOtherPair) {
  CAmpelGroup group(nullptr);
  group.Create();
  EXPECT_EQ(group.GetCycleTime(), 7000);
  EXPECT_EQ(group.GetShare(), 3500);
  for (int i = 1; i <= 4; ++i) ASSERT_EQ(group.Add(new CAmpel, S(i)), 0);
  EXPECT_EQ(group.Add(new CAmpel, S(5)), 1);  // full
  EXPECT_EQ(group.Add(nullptr, S(5)), 0);     // no light: nothing added
  EXPECT_EQ(group.Add(new CAmpel, nullptr), 1);
  // No pair is opposite: each new light leads and the one it displaces
  // yields into a free slot of the other pair, overwriting none.
  const CStrStrasse* order[] = {S(3), S(4), S(1), S(2)};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(group.GetLinkedStreetsNr(i), order[i]) << i;
  EXPECT_EQ(group.GetLinkedStreetsNr(4), nullptr);
  // With all four slots held, indexes past either end delete nothing.
  for (int i : {-1, 4, 5, 6, 7}) group.CheckDeleteAmpel(i);
  for (int i = 0; i < 4; ++i) EXPECT_NE(group.GetAmpel(i), nullptr) << i;
  CAmpel* kept = group.GetAmpelForStreet(S(4));
  CAmpel* third = group.GetAmpelForStreet(S(1));
  CAmpel* fourth = group.GetAmpelForStreet(S(2));
  ASSERT_EQ(group.RemoveFromStreet(S(3)), 0);
  EXPECT_EQ(group.GetLinkedStreetsNr(0), S(1));
  EXPECT_EQ(group.GetLinkedStreetsNr(1), S(2));
  EXPECT_EQ(group.GetLinkedStreetsNr(2), S(4));
  EXPECT_EQ(group.GetLinkedStreetsNr(3), nullptr);
  EXPECT_EQ(group.GetAmpel(0), third);
  EXPECT_EQ(group.GetAmpel(1), fourth);
  EXPECT_EQ(group.GetAmpel(2), kept);
  // Lights keep the times they were added with.
  EXPECT_EQ(kept->GetGruen(), 3500);
  // A non-priority street: slot 3 moves down.
  ASSERT_EQ(group.RemoveFromStreet(S(4)), 0);
  EXPECT_EQ(group.GetLinkedStreetsNr(2), nullptr);
  EXPECT_EQ(group.RemoveFromStreet(S(4)), 1);
  EXPECT_EQ(group.RemoveFromStreet(nullptr), 1);
  EXPECT_FALSE(group.HasStreet(nullptr));
  EXPECT_TRUE(group.HasStreet(S(2)));
  group.CheckDeleteAmpel(0);
  EXPECT_EQ(group.GetAmpel(0), nullptr);
  EXPECT_EQ(group.GetLinkedStreetsNr(0), S(1));
  group.CheckDeleteAmpel(7);
}

TEST(LightSlots, AStreetLeftOutOfANewPriorityTakesItsLightAndReleasesItsCells) {
  Light gone;
  CAmpelGroup group(nullptr);
  group.Create();
  ASSERT_EQ(group.Add(new CAmpel, S(1)), 0);
  ASSERT_EQ(group.Add(gone.light, S(2)), 0);
  gone.a.m_Locked = gone.b.m_Locked = 1;
  ASSERT_EQ(group.ChangePriorityStreets(S(1), nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(group.GetAmpelForStreet(S(2)), nullptr);
  EXPECT_TRUE(gone.Green());
}

TEST(LightSlots, ANonPriorityStreetLeavesAndTheLastMovesUp) {
  CAmpelGroup group(nullptr);
  group.Create();
  for (int i = 1; i <= 4; ++i) ASSERT_EQ(group.Add(new CAmpel, S(i)), 0);
  CAmpel* last = group.GetAmpel(3);
  CStrStrasse* lastStreet = group.GetLinkedStreetsNr(3);
  ASSERT_EQ(group.RemoveFromStreet(group.GetLinkedStreetsNr(2)), 0);
  EXPECT_EQ(group.GetAmpel(2), last);
  EXPECT_EQ(group.GetLinkedStreetsNr(2), lastStreet);
  EXPECT_EQ(group.GetAmpel(3), nullptr);
  EXPECT_EQ(group.GetLinkedStreetsNr(3), nullptr);
}

TEST(LightSlots, ChangedPriorityTakesEachStreetsLightAlong) {
  CAmpelGroup group(nullptr);
  group.Create();
  for (int i = 1; i <= 3; ++i) ASSERT_EQ(group.Add(new CAmpel, S(i)), 0);
  CAmpel* l1 = group.GetAmpelForStreet(S(1));
  CAmpel* l3 = group.GetAmpelForStreet(S(3));
  ASSERT_EQ(group.ChangePriorityStreets(S(1), S(3), S(9), nullptr), 0);
  EXPECT_EQ(group.GetAmpel(0), l1);
  EXPECT_EQ(group.GetAmpel(1), l3);
  EXPECT_EQ(group.GetAmpel(2), nullptr);  // a street the group did not hold
  EXPECT_EQ(group.GetLinkedStreetsNr(2), S(9));
  EXPECT_FALSE(group.HasStreet(S(2)));
  int lights = 0;
  for (int i = 0; i < CAmpelGroup::kSlots; ++i) lights += group.GetAmpel(i) ? 1 : 0;
  EXPECT_EQ(lights, 2);
  CVorfahrtGroup signs(nullptr);
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(signs.Add(S(i)), 0);
  EXPECT_EQ(signs.Add(S(5)), 1);
  EXPECT_EQ(signs.GetAmpel(0), nullptr);
  EXPECT_EQ(signs.GetCount(), 4);
}

}  // namespace
