// Long runs of the movement on a layout that exercises every rule at once,
// checked against the trajectory the movement is known to produce: a
// fingerprint of every cell (vehicle kind, position, sprite offset, old
// position, time stamp, choice) chained over every turn; and the placing of
// a car that cannot leave its cell.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "micro_test_host.h"

using namespace microtest;

namespace {

using TrajectoryTest = MovementTest;

// A ring drawn at isometric slants (so that sprite offsets are fractions):
// 1-2-3-4, a fork at 4 into street 11 (5-6-7) and street 12 (8-9-10) whose
// cells 6 and 9 lock each other, merging into 11, then 12-13-14 on the
// outer lane of street 13 with 17-18 its inner lane beside it (17 leads
// into 18, 18 into 15), and 15-16 back to 1.
LayoutPtr Junction() {
  const std::vector<zorgen::MicroCellContent> cells = {
      C(1, 2, 0, 0, {2}, 16),        C(2, 2, 16, 8, {3}, 1),        C(3, 2, 30, 15, {4}, 2),
      C(4, 2, 46, 23, {5, 8}, 3),    C(5, 2, 62, 27, {6}, 4),       C(6, 2, 78, 35, {7}, 5),
      C(7, 2, 92, 44, {11}, 6),      C(8, 99, 58, 37, {9}, 4),      C(9, 99, 70, 47, {10}, 8),
      C(10, 99, 84, 55, {11}, 9),     C(11, 2, 104, 56, {12}, 7),    C(12, 1, 118, 64, {13}, 11),
      C(13, 1, 134, 72, {14}, 12),   C(14, 1, 148, 80, {15}, 13),   C(15, 2, 120, 100, {16}, 14),
      C(16, 2, 60, 70, {1}, 15),     C(17, 2, 128, 60, {18}, 0),    C(18, 2, 142, 68, {15}, 17),
  };
  LayoutPtr layout = Make(cells);
  layout->SetFirstSimID(7);
  for (int i : {4, 5, 6}) layout->GetZelle(i)->m_SimID = 11;
  for (int i : {7, 8, 9}) layout->GetZelle(i)->m_SimID = 12;
  for (int i : {11, 12, 13, 16, 17}) layout->GetZelle(i)->m_SimID = 13;
  layout->SimIDsChanged();
  layout->GetZelle(5)->m_pConflict[0] = layout->GetZelle(8);
  layout->GetZelle(8)->m_pConflict[0] = layout->GetZelle(5);
  layout->SetScreenPos(200, 150);
  return layout;
}

uint64_t Mix(uint64_t h, uint64_t v) {
  h ^= v;
  return h * 0x100000001B3ULL;
}

uint64_t Fingerprint(CQnoMicroZelle& layout, uint64_t h) {
  for (int i = 0; i < layout.GetCount(); ++i) {
    const Cell* c = layout.GetZelle(i);
    uint32_t x = 0, y = 0;
    std::memcpy(&x, &c->m_CarX, 4);
    std::memcpy(&y, &c->m_CarY, 4);
    h = Mix(h, static_cast<uint64_t>(i) << 8 | c->m_CarKind);
    h = Mix(h, static_cast<uint32_t>(c->m_Position));
    h = Mix(h, static_cast<uint64_t>(x) << 32 | y);
    h = Mix(h, static_cast<uint32_t>(c->m_OldPosition));
    h = Mix(h, c->m_TimeStamp);
    h = Mix(h, static_cast<uint64_t>(c->m_Choice) << 8 | c->m_Locked);
  }
  return h;
}

struct Outcome {
  std::vector<uint64_t> checkpoints;  // fingerprints after turns 499, 999, ...
  int spawned = 0, removed = 0, lanesChanged = 0, throughEachBranch[2] = {};
  bool busAlive = false;
};

// 3000 turns: spawning and removal in every turn, frame times from 20 to
// 69 ms, the bus lane rule on for every other 500 turns, cell 15 out of
// view for 40 turns in every 400, a bus driving round with the cars, car
// sizes of every type.
Outcome Drive(ScriptHost& host) {
  zor_srandom(4321);
  host.lineTurnsInto = 12;
  host.velocity[7] = 20.0;  // class 80
  host.velocity[11] = 5.0;  // class 34
  host.velocity[12] = 10.0; // class 57; street 13 is unknown
  host.flow[11] = 300;
  host.flow[12] = 100;
  LayoutPtr layout = Junction();
  int line = 0;
  auto* bus = new CMicroOpnv;
  bus->Create(reinterpret_cast<COpnvLine*>(&line), 0);
  layout->GetZelle(1)->m_Choice = 0;
  EXPECT_EQ(layout->SetzeFahrzeug(layout->GetZelle(1), bus, 0, false, false, false), 0);
  Outcome run;
  uint64_t h = 0xCBF29CE484222325ULL;
  for (int turn = 0; turn < 3000; ++turn) {
    host.sizeType = turn % 6;
    host.SetFrameTime(static_cast<uint32_t>(20 + (turn * 7) % 50));
    host.SetWorldTime(static_cast<uint32_t>(1000 + 40 * turn));
    layout->GetZelle(14)->m_Visible = turn % 400 < 360 ? 1 : 0;
    int c1 = 0, c2 = 0, s1 = (turn / 250) % 2 ? 2 : -3, s2 = -1;
    const int before = layout->GetVehicleCount();
    layout->ZaehleAutos(7, 13, c1, c2, s1, s2, 3000, 2000);
    const int after = layout->GetVehicleCount();
    (after > before ? run.spawned : run.removed) += after > before ? after - before : before - after;
    const bool wasInner = layout->GetZelle(16)->m_pCar;
    const CCar* atFork = layout->GetZelle(3)->m_pCar;
    layout->MoveCars(4, 5, (turn / 500) % 2 == 0);
    run.lanesChanged += !wasInner && layout->GetZelle(16)->m_pCar ? 1 : 0;
    if (atFork) {
      run.throughEachBranch[0] += layout->GetZelle(4)->m_pCar == atFork ? 1 : 0;
      run.throughEachBranch[1] += layout->GetZelle(7)->m_pCar == atFork ? 1 : 0;
    }
    h = Fingerprint(*layout, h);
    if (turn % 500 == 499) run.checkpoints.push_back(h);
  }
  run.busAlive = host.linesTold == 0;
  return run;
}

}  // namespace

TEST_F(TrajectoryTest, EveryRuleTogetherFollowsTheKnownTrajectoryForThreeThousandTurns) {
  const Outcome run = Drive(host);
  // The run reaches every rule it is meant to exercise.
  EXPECT_GT(run.spawned, 100);
  EXPECT_GT(run.removed, 100);
  EXPECT_GT(run.lanesChanged, 0) << "cars left the outer lane for the inner one";
  EXPECT_GT(run.throughEachBranch[0], 10);
  EXPECT_GT(run.throughEachBranch[1], 2);
  EXPECT_TRUE(run.busAlive);
  // The movement draws from the view's random sequence, which starts for
  // the seed at a place of its own.
  const std::vector<uint64_t> known = {0xfada51c5c466c2f3ULL, 0x6879324b8f66c542ULL, 0xcac08672c0df89c9ULL,
                                       0x995b93e223dd868dULL, 0x0047eacd77220343ULL, 0x56998f9fc88b88dbULL};
  EXPECT_EQ(run.checkpoints, known);
}

TEST_F(TrajectoryTest, ACarHeldOnTheVeryPointOfItsSuccessorIsDrawnThere) {
  // Cells 1 and 2 lie on one point; 2 is taken, so the car in 1 cannot go
  // on however far it is sent: it stays at the cell's point, offset 0.
  LayoutPtr lane = Make({C(1, 2, 0, 0, {2}, 0, 2), C(2, 2, 0, 0, {3}, 1, 3), C(3, 2, 10, 5, {}, 2)});
  lane->SetFirstSimID(7);
  lane->SetScreenPos(40, 40);
  TestCar* held = Park(lane->GetZelle(0), 0);
  Park(lane->GetZelle(1), 60);
  for (const double distance : {0.5, 10.0, 250.0}) {
    EXPECT_EQ(lane->BewegeFahrzeug(lane->GetZelle(0), held, distance, nullptr, false, 0, 0, false, false), 0);
    EXPECT_EQ(lane->GetZelle(0)->m_pCar, held);
    EXPECT_EQ(lane->GetZelle(0)->m_Position, 0);
    EXPECT_EQ(lane->GetZelle(0)->m_CarX, 0.0f) << distance;
    EXPECT_EQ(lane->GetZelle(0)->m_CarY, 0.0f) << distance;
  }
  // Free and unlocked, the next cell takes it; locked again, it stays.
  lane->RemoveVehicle(lane->GetZelle(1));
  lane->GetZelle(1)->m_Locked = 1;
  EXPECT_EQ(lane->BewegeFahrzeug(lane->GetZelle(0), held, 3.0, nullptr, false, 0, 0, false, false), 0);
  EXPECT_EQ(lane->GetZelle(0)->m_pCar, held);
  EXPECT_EQ(lane->GetZelle(0)->m_CarX, 0.0f);
  lane->GetZelle(1)->m_Locked = 0;
  EXPECT_EQ(lane->BewegeFahrzeug(lane->GetZelle(0), held, 3.0, nullptr, false, 0, 0, false, false), 0);
  EXPECT_EQ(lane->GetZelle(1)->m_pCar, held);
  EXPECT_EQ(held->GetMicroSimObject(), lane->GetZelle(1));
  EXPECT_EQ(lane->GetZelle(0)->m_pCar, nullptr);
}
