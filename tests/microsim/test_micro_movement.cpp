// Counting, spawning, removing and moving the vehicles of the layouts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "framework/qno_log.h"
#include "iso/iso_welt.h"
#include "micro_test_host.h"
#include "support/test_support.h"
#include "worldbase/zor_world_host.h"

using namespace microtest;

namespace {

// Distance along a chain of `spacing`-pixel cells, tenths of a pixel.
int Along(CQnoMicroZelle& layout, const CCar* car, int spacing) {
  const int i = CellOf(layout, car);
  if (i < 0) return -1;
  return i * spacing * 10 + (spacing * 10 - layout.GetZelle(i)->m_Position);
}

// A line vehicle standing in the cell; its line is a token that counting
// never reads.
CMicroOpnv* StandBus(Cell* cell) {
  static int line = 0;
  auto* bus = new CMicroOpnv;
  bus->Create(reinterpret_cast<COpnvLine*>(&line), 0);
  CQnoMicroZelle::HoldVehicle(cell, bus);
  cell->m_Position = 10;
  bus->SetMicroSimObject(cell);
  return bus;
}

}  // namespace

// ---------------------------------------------------------------- counting

TEST_F(MovementTest, CarsAreSpawnedAtTheRateWhileTheStreetWantsMore) {
  // One cell without successor: a spawned car is counted, then discarded
  // because it cannot be placed, so every turn sees an empty cell.
  LayoutPtr one = Make({C(1, 2, 0, 0)});
  one->SetFirstSimID(7);
  int spawned = 0, none = 0;
  for (int turn = 0; turn < 4000; ++turn) {
    int c1 = 0, c2 = 0, s1 = -1000000, s2 = 0;
    one->ZaehleAutos(7, 8, c1, c2, s1, s2, 250, 900);
    spawned += c1;
    none += c2;
    EXPECT_EQ(s1, -1000000 + c1);
  }
  EXPECT_NEAR(spawned / 4000.0, 0.25, 0.03);
  EXPECT_EQ(none, 0) << "no cell carries the second direction";

  // A rate of 0 spawns nothing; a surplus of cars spawns nothing.
  for (int turn = 0; turn < 500; ++turn) {
    int c1 = 0, c2 = 0, s1 = -5, s2 = 3;
    one->ZaehleAutos(7, 8, c1, c2, s1, s2, 0, 1000);
    EXPECT_EQ(c1, 0);
    one->ZaehleAutos(8, 7, c1, c2, s1, s2, 1000, 1000);
    EXPECT_EQ(c2, 0) << "surplus 3 wants no more cars";
  }
  EXPECT_EQ(TestCar::s_alive, 0);
}

TEST_F(MovementTest, SpawningStopsAtTheSurplusAndTheRateIsSharedByTheCells) {
  LayoutPtr lane = Chain(8, 40, false);
  int c1 = 0, c2 = 0, s1 = -3, s2 = 0;
  lane->ZaehleAutos(7, 0, c1, c2, s1, s2, 8000, 0);  // 1000 per cell: every free cell wants a car
  EXPECT_EQ(c1, 3);
  EXPECT_EQ(s1, 0);
  EXPECT_EQ(CarsIn(*lane), 3);
  // Counting again sees the three placed cars and adds none.
  lane->ZaehleAutos(7, 0, c1, c2, s1, s2, 8000, 0);
  EXPECT_EQ(c1, 3);
  EXPECT_EQ(CarsIn(*lane), 3);

  // A car made for a cell out of view is given up at once, but counts:
  // the two hidden cells take two of the three, the first cell in view the
  // third. Without a picture to wear no car is made, hidden or not.
  for (int sprite : {3, -1}) {
    host.sprite = sprite;
    LayoutPtr hidden = Chain(8, 40, false);
    hidden->GetZelle(0)->m_Visible = 0;
    hidden->GetZelle(1)->m_Visible = 0;
    c1 = 0;
    s1 = -3;
    hidden->ZaehleAutos(7, 0, c1, c2, s1, s2, 8000, 0);
    EXPECT_EQ(CarsIn(*hidden), sprite < 0 ? 0 : 1) << sprite;
    EXPECT_EQ(c1, sprite < 0 ? 0 : 3) << sprite;
    EXPECT_EQ(s1, sprite < 0 ? -3 : 0) << sprite;
    for (int i : {0, 1}) EXPECT_EQ(hidden->GetZelle(i)->m_Position, Cell::kNoPosition) << sprite;
    if (sprite > 0) {
      EXPECT_NE(hidden->GetZelle(2)->m_pCar, nullptr);
    }
  }
  host.sprite = 3;
}

TEST_F(MovementTest, RemovalGrowsLikelierWithTheSurplusInBothDirections) {
  // The rate grows with the surplus; a parked car goes with chance rate /
  // 1000 whichever direction its cell carries.
  for (uint16_t dir : {7, 8}) {
    for (int rate : {200, 800}) {
      LayoutPtr one = Make({C(1, 2, 0, 0, {}, 0)});
      one->SetFirstSimID(dir);
      int removed = 0;
      for (int turn = 0; turn < 3000; ++turn) {
        if (!one->GetZelle(0)->m_pCar) Park(one->GetZelle(0));
        int c1 = 0, c2 = 0, s1 = 1, s2 = 1;
        one->ZaehleAutos(7, 8, c1, c2, s1, s2, rate, rate);
        const int left = dir == 7 ? s1 : s2;
        const int counted = dir == 7 ? c1 : c2;
        if (left == 0) {
          ++removed;
          EXPECT_EQ(counted, 0);
          EXPECT_EQ(one->GetZelle(0)->m_pCar, nullptr);
          EXPECT_EQ(one->GetZelle(0)->m_Position, Cell::kNoPosition);
        } else {
          EXPECT_EQ(counted, 1);
        }
      }
      EXPECT_NEAR(removed / 3000.0, rate / 1000.0, 0.03) << "direction " << dir << " rate " << rate;
    }
  }
  // No surplus: the car is counted and stays, whatever the chance.
  LayoutPtr one = Make({C(1, 2, 0, 0)});
  one->SetFirstSimID(7);
  TestCar* car = Park(one->GetZelle(0));
  for (int turn = 0; turn < 200; ++turn) {
    int c1 = 0, c2 = 0, s1 = 0, s2 = 0;
    one->ZaehleAutos(7, 8, c1, c2, s1, s2, 1000, 1000);
    ASSERT_EQ(c1, 1);
  }
  EXPECT_EQ(one->GetZelle(0)->m_pCar, car);
}

TEST_F(MovementTest, LineVehiclesAreNeitherCountedNorRemoved) {
  LayoutPtr one = Make({C(1, 2, 0, 0, {}, 0)});
  one->SetFirstSimID(7);
  CMicroOpnv* bus = StandBus(one->GetZelle(0));
  int c1 = 0, c2 = 0, s1 = 5, s2 = 0;
  one->ZaehleAutos(7, 8, c1, c2, s1, s2, 1000, 1000);
  EXPECT_EQ(c1, 0);
  EXPECT_EQ(s1, 5);
  EXPECT_EQ(one->GetZelle(0)->m_pCar, bus);
}

TEST_F(MovementTest, EveryCellOfADirectionDrawsOnceWhetherOrNotItActs) {
  // 21 cells (two words of keys and a part): ids 7, 8, none in turn, a
  // private car in every even cell, a line vehicle in cell 4.
  auto build = [this](LayoutPtr& lane) {
    lane = Chain(21, 40, false);
    for (int i = 0; i < lane->GetCount(); ++i) {
      lane->GetZelle(i)->m_SimID = static_cast<uint16_t>(i % 3 == 0 ? 7 : i % 3 == 1 ? 8 : 0);
      if (i % 2 == 0 && i != 4) Park(lane->GetZelle(i));
    }
    lane->SimIDsChanged();
    StandBus(lane->GetZelle(4));
  };
  auto side = [](int i) { return i % 3 == 0 ? 1 : i % 3 == 1 ? 2 : 0; };
  LayoutPtr lane;
  build(lane);
  // Nothing can act: the cars are counted and the view's sequence moves on
  // by one value for each of the 14 cells of either direction; the city's
  // sequence never moves.
  ZorRandom& view = zor_view_random();
  uint64_t city = zor_random_state();
  const uint64_t start = view.State();
  int c1 = 0, c2 = 0, s1 = 0, s2 = 0;
  lane->ZaehleAutos(7, 8, c1, c2, s1, s2, 21000, 21000);
  EXPECT_EQ(std::make_pair(c1, c2), std::make_pair(4, 2));
  const uint64_t after = view.State();
  view.SetState(start);
  for (int i = 0; i < 14; ++i) view.Next();
  EXPECT_EQ(after, view.State());
  EXPECT_EQ(zor_random_state(), city);

  // Too many cars, forward alone or both ways at once: the cars removed
  // are the ones whose own draw falls below their direction's rate while
  // its surplus lasts (it may run out within a word of keys, after which
  // that direction's cars are counted in bulk again), and the other
  // cells' draws between them still count.
  struct Case {
    int surplus1, surplus2, rate1, rate2;
  };
  for (const Case& k : {Case{2, 0, 600, 0}, Case{2, 3, 600, 400}, Case{9, 1, 900, 999}, Case{1, 5, 50, 1000}}) {
    for (uint64_t seed : {1u, 2u, 3u, 4u, 5u}) {
      build(lane);
      zor_srandom(static_cast<uint32_t>(seed));
      const uint64_t from = view.State();
      std::vector<bool> held(21);
      int surplus[3] = {0, k.surplus1, k.surplus2}, counted[3] = {0, 0, 0};
      const int rate[3] = {0, k.rate1, k.rate2};
      for (int i = 0; i < 21; ++i) {
        const auto at = static_cast<size_t>(i);
        held[at] = lane->GetZelle(i)->m_pCar != nullptr;
        const int d = side(i);
        if (!d) continue;
        const int r = view.Next() % 1000;
        if (!held[at] || i == 4) continue;  // free, or the line vehicle
        if (r < rate[d] && surplus[d] > 0) {
          held[at] = false;
          --surplus[d];
        } else {
          ++counted[d];
        }
      }
      const uint64_t expectedEnd = view.State();
      const uint64_t cityBefore = zor_random_state();
      view.SetState(from);
      c1 = c2 = 0;
      s1 = k.surplus1;
      s2 = k.surplus2;
      lane->ZaehleAutos(7, 8, c1, c2, s1, s2, k.rate1 * 21, k.rate2 * 21);
      const std::string what = "seed " + std::to_string(seed) + " rates " + std::to_string(k.rate1) + "/" +
                               std::to_string(k.rate2);
      EXPECT_EQ(std::make_pair(s1, s2), std::make_pair(surplus[1], surplus[2])) << what;
      EXPECT_EQ(std::make_pair(c1, c2), std::make_pair(counted[1], counted[2])) << what;
      for (int i = 0; i < 21; ++i)
        EXPECT_EQ(lane->GetZelle(i)->m_pCar != nullptr, held[static_cast<size_t>(i)]) << what << " cell " << i;
      EXPECT_EQ(view.State(), expectedEnd) << what;
      EXPECT_EQ(zor_random_state(), cityBefore) << what;
    }
  }

  // Too few cars backward, every free cell wants one: the first two free
  // cells of id 8 take a car each, and the rest are counted.
  build(lane);
  city = zor_random_state();
  c1 = c2 = 0;
  s1 = 0;
  s2 = -2;
  lane->ZaehleAutos(7, 8, c1, c2, s1, s2, 0, 1000 * 21);
  EXPECT_EQ(s2, 0);
  EXPECT_EQ(c2, 4);
  EXPECT_NE(lane->GetZelle(1)->m_pCar, nullptr);
  EXPECT_NE(lane->GetZelle(7)->m_pCar, nullptr);
  EXPECT_EQ(lane->GetZelle(13)->m_pCar, nullptr);
  EXPECT_EQ(lane->GetZelle(19)->m_pCar, nullptr);
  EXPECT_EQ(zor_random_state(), city);
}

// ---------------------------------------------------------------- moving

TEST_F(MovementTest, ACarMovesCellByCellAtTheSpeedOfItsStreet) {
  host.velocity[7] = 20.0;  // class 80, 40 at zoom factor 2
  LayoutPtr lane = Chain(10, 20, false);
  TestCar* car = Place(*lane, 0);
  EXPECT_EQ(Along(*lane, car, 20), 0);
  int last = 0;
  for (int turn = 0; turn < 10; ++turn) {
    lane->MoveCars(3, 4, false);
    const int now = Along(*lane, car, 20);
    EXPECT_EQ(now - last, 16) << "40 ms x 40 / 100 tenths of a pixel per turn";
    last = now;
  }
  EXPECT_EQ(car->GetMaxSpeed(), 40);
  EXPECT_EQ(CellOf(*lane, car), 0);
  // A long frame is capped at 150 / zf = 75 tenths.
  host.SetFrameTime(1000);
  lane->MoveCars(3, 4, false);
  EXPECT_EQ(Along(*lane, car, 20), last + 75);
  // Slower streets, slower cars.
  host.SetFrameTime(40);
  host.velocity[7] = 5.0;  // class 34 -> 17
  last = Along(*lane, car, 20);
  lane->MoveCars(3, 4, false);
  EXPECT_EQ(Along(*lane, car, 20) - last, 6);  // 40 x 17 / 100 = 6.8, truncated in the placing
}

TEST_F(MovementTest, TheSpeedItsStepAndTheirCapFollowTheZoomFactor) {
  // Class 80 divided by the zoom factor (1, 2, 3 at zoom levels 1, 2, 4),
  // its step truncated in the placing; a long frame's step capped at
  // 150 / zf; class 22 at zoom factor 3 keeps 7.
  struct Case {
    TIsoZoomStufe zoom;
    int speed, perTurn, capped, slowPerTurn;
  };
  for (const Case c : {Case{ISO_ZOOM_1, 80, 32, 150, 8}, Case{ISO_ZOOM_2, 40, 16, 75, 4},
                       Case{ISO_ZOOM_4, 26, 10, 50, 2}}) {
    g_ZoomStufe = c.zoom;
    host.velocity[7] = 20.0;
    host.SetFrameTime(40);
    LayoutPtr lane = Chain(12, 40, false);
    TestCar* car = Place(*lane, 0);
    int last = Along(*lane, car, 40);
    for (int turn = 0; turn < 3; ++turn) {
      lane->MoveCars(0, 0, false);
      EXPECT_EQ(Along(*lane, car, 40) - last, c.perTurn) << c.zoom;
      last = Along(*lane, car, 40);
    }
    EXPECT_EQ(car->GetMaxSpeed(), c.speed) << c.zoom;
    host.SetFrameTime(1000);
    lane->MoveCars(0, 0, false);
    EXPECT_EQ(Along(*lane, car, 40) - last, c.capped) << c.zoom;
    last = Along(*lane, car, 40);
    host.SetFrameTime(40);
    host.velocity[7] = 0.0;
    lane->MoveCars(0, 0, false);
    EXPECT_EQ(Along(*lane, car, 40) - last, c.slowPerTurn) << c.zoom;
  }
}

TEST_F(MovementTest, TheFirstVehicleAsksItsStreetsSpeedWhateverItsSimId) {
  // Sim id 0 as well: a host may know a street by it.
  for (const uint16_t simId : {0, 7, 65535}) {
    host.velocity[simId] = 5.0;  // class 34 -> 17
    LayoutPtr lane = Chain(6, 20, false, simId);
    TestCar* car = Place(*lane, 0);
    const int before = Along(*lane, car, 20);
    lane->MoveCars(0, 0, false);
    EXPECT_EQ(car->GetMaxSpeed(), 17) << simId;
    EXPECT_EQ(Along(*lane, car, 20) - before, 6) << simId;
  }
}

TEST_F(MovementTest, SpeedClassesFollowTheStreetsVelocity) {
  LayoutPtr one = Make({C(1, 2, 0, 0)});
  one->SetFirstSimID(9);
  int speed = -1;
  EXPECT_EQ(CQnoMicroZelle::CalcMaxSpeed(one->GetZelle(0), speed), 1);
  EXPECT_EQ(speed, 0);
  const std::pair<double, int> classes[] = {{0.0, 22}, {2.99, 22}, {3.0, 34}, {8.99, 34},
                                            {9.0, 57}, {14.89, 57}, {14.9, 80}, {100.0, 80}};
  for (auto [v, cls] : classes) {
    host.velocity[9] = v;
    EXPECT_EQ(CQnoMicroZelle::CalcMaxSpeed(one->GetZelle(0), speed), 0);
    EXPECT_EQ(speed, cls) << v;
  }
  EXPECT_EQ(Laenge(0, 1), 160);
  EXPECT_EQ(Laenge(1, 3), 140);
  EXPECT_EQ(Laenge(4, 1), 320);
  EXPECT_EQ(Laenge(5, 1), 500);
  EXPECT_EQ(Laenge(0, 2), 80);
  EXPECT_EQ(Laenge(2, 2), 160);
}

TEST_F(MovementTest, ACarFurtherBackThanItsCellsStepStandsAtTheCellsPoint) {
  // 300 tenths to go on a step of 200: its move of 16 leaves it short of
  // the cell's own point, where it is placed; from there it moves on.
  host.velocity[7] = 20.0;
  LayoutPtr lane = Chain(4, 20, false);
  Cell* cell = lane->GetZelle(0);
  TestCar* car = Park(cell, 300);
  lane->MoveCars(0, 0, false);
  EXPECT_EQ(CellOf(*lane, car), 0);
  EXPECT_EQ(cell->m_OldPosition, 300);
  EXPECT_EQ(cell->m_Position, 200);
  EXPECT_EQ(cell->m_CarX, 0.0f);
  lane->MoveCars(0, 0, false);
  EXPECT_EQ(cell->m_Position, 184);
  EXPECT_EQ(cell->m_CarX, 1.6f);
}

TEST_F(MovementTest, ASpriteOffsetBeyond700PixelsIsReportedAndOneOfExactly700IsNot) {
  // A car held before a locked cell stands at the cell's end, its sprite
  // offset the whole step to the next cell.
  host.velocity[7] = 20.0;
  for (const int spacing : {700, 701, 710}) {
    LayoutPtr lane = Chain(3, spacing, false);
    TestCar* car = Place(*lane, 0);
    Cell* cell = lane->GetZelle(0);
    cell->m_Position = 10;
    lane->GetZelle(1)->m_Locked = 1;
    OpenErrorLog("errors.log");
    lane->MoveCars(0, 0, false);
    CloseErrorLog();
    const std::string log = zortest::ReadFile("errors.log");
    EXPECT_EQ(CellOf(*lane, car), 0) << spacing;
    EXPECT_EQ(cell->m_Position, 0) << spacing;
    EXPECT_EQ(cell->m_CarX, static_cast<float>(spacing)) << spacing;
    EXPECT_EQ(log.find("CarOffset zu gro") != std::string::npos, spacing > 700) << spacing;
    if (spacing > 700) {
      EXPECT_NE(log.find(std::to_string(spacing) + "/0"), std::string::npos) << log;
    }
  }
}

TEST_F(MovementTest, ASizeBeyondTheKnownTypesMeasuresAsTheOtherSize) {
  // The gap to a car two cells on: the cells' spacing less its position,
  // the searching car's length and its own, by the size each cell keeps.
  LayoutPtr lane = Chain(4, 40, false);
  Place(*lane, 2);
  Cell* ahead = lane->GetZelle(2);
  Cell* own = lane->GetZelle(1);
  for (const int zf : {1, 2}) {
    g_ZoomStufe = zf == 2 ? ISO_ZOOM_2 : ISO_ZOOM_1;
    for (const int size : {0, 4, 5, 6, 200, 255}) {
      ahead->m_CarSize = static_cast<uint8_t>(size);
      const int length = Laenge(size, zf);
      double gap = 0.0;
      EXPECT_EQ(CQnoMicroZelle::FindAhead(own, 100, 5000.0, gap, false), ahead->m_pCar) << size;
      EXPECT_EQ(gap, 400 + 400 - ahead->m_Position - 100 - length) << zf << " " << size;
    }
  }
}

TEST_F(MovementTest, AFollowerKeepsItsGapAndStopsBehindACarAtALockedCell) {
  host.velocity[7] = 20.0;
  LayoutPtr lane = Chain(12, 20, false);
  lane->GetZelle(9)->m_Locked = 1;
  TestCar* leader = Place(*lane, 3);
  TestCar* follower = Place(*lane, 0);
  const int minGap = Laenge(0, 2) * 2;
  int stillFor = 0, last = -1;
  for (int turn = 0; turn < 400; ++turn) {
    lane->MoveCars(0, 0, false);
    const int a = Along(*lane, leader, 20), b = Along(*lane, follower, 20);
    ASSERT_GE(a, 0);
    ASSERT_GE(b, 0);
    ASSERT_GE(a - b, minGap) << "turn " << turn;
    ASSERT_LT(CellOf(*lane, leader), 9) << "nothing enters a locked cell";
    stillFor = b == last ? stillFor + 1 : 0;
    last = b;
  }
  EXPECT_EQ(CellOf(*lane, leader), 8);
  EXPECT_GT(stillFor, 100) << "the follower came to a stop";
  EXPECT_LE(Along(*lane, leader, 20) - last, minGap + 16 + 200) << "it closed up";
  // Unlocked, both drive on and leave at the lane's end.
  lane->GetZelle(9)->m_Locked = 0;
  for (int turn = 0; turn < 400 && CarsIn(*lane); ++turn) lane->MoveCars(0, 0, false);
  EXPECT_EQ(CarsIn(*lane), 0);
  EXPECT_EQ(TestCar::s_alive, 0);
}

TEST_F(MovementTest, AFollowerStopsFurtherBackBehindALongerLeader) {
  // The follower (size type 0) closes up to a leader at a locked cell and
  // stops where its gap search last let it enter a cell: leaders of one
  // length hold it at one place, and sizes beyond the known ones (or below
  // them) count as the longest.
  host.velocity[7] = 20.0;
  std::map<int, int> gapOf;
  for (int size : {-1, 0, 1, 2, 3, 4, 5, 9}) {
    LayoutPtr lane = Chain(12, 20, false);
    lane->GetZelle(9)->m_Locked = 1;
    TestCar* leader = new TestCar;
    leader->SetSizeType(size);
    lane->GetZelle(8)->m_Choice = 0;
    ASSERT_EQ(lane->SetzeFahrzeug(lane->GetZelle(8), leader, 0, false, false, false), 0);
    TestCar* follower = Place(*lane, 0);
    for (int turn = 0; turn < 200; ++turn) lane->MoveCars(0, 0, false);
    gapOf[size] = Along(*lane, leader, 20) - Along(*lane, follower, 20);
  }
  EXPECT_EQ(gapOf[0], 200);
  EXPECT_EQ(gapOf[1], 200);
  for (int size : {2, 3, 4}) EXPECT_EQ(gapOf[size], 240) << size;
  for (int size : {-1, 5, 9}) EXPECT_EQ(gapOf[size], 296) << size;
}

TEST_F(MovementTest, TheGapSearchFollowsTheLastWayOfAForkAhead) {
  // 1 -> 2, which forks to 3 (its first way) and 4 (its last); 3 and 4
  // lead on. A follower in 1 with a long step looks through 2 into 4 and
  // stops for a car there, not for one in 3.
  host.velocity[7] = 20.0;
  host.SetFrameTime(1000);  // a step of 75 tenths, so the search reaches past 2
  for (const int occupied : {2, 3}) {
    LayoutPtr fork = Make({C(1, 2, 0, 0, {2}, 0, 2), C(2, 2, 10, 0, {3, 4}, 1, 3), C(3, 2, 20, 0, {5}, 2, 4),
                           C(4, 2, 10, 10, {6}, 2, 5), C(5, 2, 30, 0, {}, 3, 6), C(6, 2, 10, 20, {}, 4)});
    fork->SetFirstSimID(7);
    fork->SetScreenPos(100, 100);
    TestCar* follower = Park(fork->GetZelle(0), 40);
    Park(fork->GetZelle(occupied), 90);
    fork->MoveCars(0, 0, false);
    if (occupied == 3) {
      // Its gap: 40 + 100 + 100 less 90 and two lengths of 80: below 0.
      EXPECT_EQ(CellOf(*fork, follower), 0);
      EXPECT_EQ(fork->GetZelle(0)->m_Position, 40);
    } else {
      EXPECT_NE(CellOf(*fork, follower), 0) << "nothing ahead on the last way: it drove on";
    }
  }
}

TEST_F(MovementTest, EveryVehicleMovesOnceWhereverItsCellLiesInALongLayout) {
  // Cells on either side of each eighth cell and the last ones of a layout
  // whose count is no multiple of eight: each car moves one step a turn.
  host.velocity[7] = 20.0;
  for (int n : {7, 8, 9, 17, 23}) {
    LayoutPtr lane = Chain(n, 40, false);
    std::vector<int> cells;
    for (int i = 0; i < n; i += 2) cells.push_back(i);
    if (n % 2 == 0) cells.push_back(n - 1);
    std::vector<TestCar*> cars;
    for (int i : cells)
      if (i < n - 1) cars.push_back(Place(*lane, i));
    std::vector<int> before;
    for (TestCar* car : cars) before.push_back(Along(*lane, car, 40));
    lane->MoveCars(0, 0, false);
    for (size_t k = 0; k < cars.size(); ++k) EXPECT_EQ(Along(*lane, cars[k], 40) - before[k], 16) << n << " " << k;
  }
}

TEST_F(MovementTest, CarsOnAClosedLoopStayOnItForTenThousandTurns) {
  host.velocity[7] = 20.0;
  LayoutPtr ring = Chain(16, 25, true);
  // The ring closes from the last cell back to the first, 375 pixels away:
  // the cars run round it.
  std::vector<TestCar*> cars;
  for (int cell : {0, 3, 6, 9, 12}) cars.push_back(Place(*ring, cell));
  int laps = 0, lastCell = 0;
  for (int turn = 0; turn < 10000; ++turn) {
    host.SetFrameTime(static_cast<uint32_t>(20 + turn % 40));
    ring->MoveCars(1, 1, false);
    ASSERT_EQ(CarsIn(*ring), 5) << "turn " << turn;
    const int cell = CellOf(*ring, cars[0]);
    ASSERT_GE(cell, 0);
    if (cell < lastCell) ++laps;
    lastCell = cell;
  }
  EXPECT_EQ(TestCar::s_alive, 5);
  EXPECT_GT(laps, 3) << "the cars drove round";
  for (TestCar* car : cars) EXPECT_EQ(car->GetMicroSimObject()->m_pCar, car);
}

namespace {
// Every cell holds beside its vehicle what the vehicle says of itself, and
// the layout's count of held vehicles is what a recount finds.
void ExpectHeldAsTheVehiclesSay(CQnoMicroZelle& layout, int turn) {
  int held = 0;
  for (int i = 0; i < layout.GetCount(); ++i) {
    const Cell* c = layout.GetZelle(i);
    if (!c->m_pCar) {
      ASSERT_EQ(c->m_CarKind, Cell::kNoVehicle) << "turn " << turn << " cell " << i;
      continue;
    }
    ++held;
    const CCar* car = c->m_pCar;
    ASSERT_EQ(c->m_CarKind, car->IsAuto() ? Cell::kPrivateCar : Cell::kLineVehicle) << "turn " << turn;
    const int size = car->GetCarSizeType();
    ASSERT_EQ(c->m_CarSize, size >= 0 && size <= 4 ? size : Cell::kOtherSize) << "turn " << turn;
    ASSERT_EQ(c->m_CarSpeed, car->GetMaxSpeed()) << "turn " << turn;
  }
  ASSERT_EQ(layout.GetVehicleCount(), held) << "turn " << turn;
}
}  // namespace

TEST_F(MovementTest, CellsKeepTheirVehiclesKindSizeSpeedAndCountThroughSpawnsMovesAndRemovals) {
  // Two layouts in a ring: street 7 (known, speed from its class) leads
  // into street 9 (unknown, each vehicle keeps its own speed), which leads
  // back. Cars of every size type are spawned and removed, a bus drives
  // round with them, and for a while a cell of street 9 is out of view.
  host.velocity[7] = 5.0;  // class 34, 17 at zoom factor 2
  LayoutPtr a = Chain(8, 25, false, 7);
  LayoutPtr b = Chain(8, 25, false, 9);
  b->SetScreenPos(300, 100);
  a->SetNachfolger(a->GetZelle(7), b->GetZelle(0));
  b->SetNachfolger(b->GetZelle(7), a->GetZelle(0));
  // Each layout drawn at a tile of its own, where the map counts it while
  // it holds a vehicle.
  const int mapBefore[2] = {CIsoWelt::GetLayoutVehicles(5, 6), CIsoWelt::GetLayoutVehicles(6, 6)};
  a->PlaceOnTile(5, 6);
  b->PlaceOnTile(6, 6);
  auto expectMapCounts = [&](int turn) {
    EXPECT_EQ(CIsoWelt::GetLayoutVehicles(5, 6) - mapBefore[0], a->GetVehicleCount() > 0 ? 1 : 0) << "turn " << turn;
    EXPECT_EQ(CIsoWelt::GetLayoutVehicles(6, 6) - mapBefore[1], b->GetVehicleCount() > 0 ? 1 : 0) << "turn " << turn;
  };
  int line = 0;
  auto* bus = new CMicroOpnv;
  bus->Create(reinterpret_cast<COpnvLine*>(&line), 0);
  b->GetZelle(2)->m_Choice = 0;
  ASSERT_EQ(b->SetzeFahrzeug(b->GetZelle(2), bus, 0, false, false, false), 0);
  int spawned = 0, removed = 0;
  for (int turn = 0; turn < 3000; ++turn) {
    host.sizeType = turn % 7;
    host.SetFrameTime(static_cast<uint32_t>(20 + turn % 50));
    const bool hidden = (turn / 150) % 3 == 1, wasHidden = ((turn - 1) / 150) % 3 == 1;
    b->GetZelle(5)->m_Visible = hidden ? 0 : 1;
    const bool wantMore = (turn / 300) % 2 == 0;
    for (CQnoMicroZelle* layout : {a.get(), b.get()}) {
      const uint16_t id = layout == a.get() ? 7 : 9;
      int c1 = 0, c2 = 0, s1 = wantMore ? -2 : 1, s2 = 0;
      const int before = layout->GetVehicleCount();
      layout->ZaehleAutos(id, 0, c1, c2, s1, s2, 4000, 0);
      const int after = layout->GetVehicleCount();
      (after > before ? spawned : removed) += std::abs(after - before);
      ASSERT_NO_FATAL_FAILURE(ExpectHeldAsTheVehiclesSay(*layout, turn));
      layout->MoveCars(1, 1, false);
      // Street 7 sets its class; on street 9 a car keeps its own speed
      // unless it is above 80 / zf (a new car's 57). A car out of view
      // ends a layout's turn before the rest have moved.
      for (int i = 0; i < layout->GetCount(); ++i)
        if (const CCar* car = layout->GetZelle(i)->m_pCar; car && car->IsAuto() && hidden == wasHidden) {
          if (layout == a.get())
            ASSERT_EQ(car->GetMaxSpeed(), 17) << "turn " << turn;
          else
            ASSERT_TRUE(car->GetMaxSpeed() == 17 || car->GetMaxSpeed() == 40) << "turn " << turn;
        }
    }
    ASSERT_NO_FATAL_FAILURE(ExpectHeldAsTheVehiclesSay(*a, turn));
    ASSERT_NO_FATAL_FAILURE(ExpectHeldAsTheVehiclesSay(*b, turn));
    expectMapCounts(turn);
  }
  EXPECT_GT(spawned, 50);
  EXPECT_GT(removed, 50);
  EXPECT_NE(bus->GetMicroSimObject(), nullptr) << "the bus is still on the ring";
  // A layout that goes takes its vehicles along; the other keeps its count.
  b.reset();
  ExpectHeldAsTheVehiclesSay(*a, -1);
}

TEST_F(MovementTest, APrivateCarInAHiddenCellIsRemovedAndEndsTheTurn) {
  host.velocity[7] = 20.0;
  LayoutPtr lane = Chain(6, 20, false);
  TestCar* a = Place(*lane, 0);
  TestCar* b = Place(*lane, 3);
  lane->GetZelle(0)->m_Visible = 0;
  const int before = Along(*lane, b, 20);
  EXPECT_EQ(lane->MoveCars(0, 0, false), 0);
  EXPECT_EQ(CellOf(*lane, a), -1);
  EXPECT_EQ(TestCar::s_alive, 1);
  EXPECT_EQ(Along(*lane, b, 20), before) << "the rest of the layout waits for the next turn";
}

// ---------------------------------------------------------------- branches

namespace {
// Cell 1 branches into 2 (street 11) and 3 (street 12).
LayoutPtr Fork() {
  LayoutPtr f = Make({C(1, 2, 0, 0, {2, 3}), C(2, 2, 10, -10, {}, 1), C(3, 2, 10, 10, {}, 1)});
  f->GetZelle(1)->m_SimID = 11;
  f->GetZelle(2)->m_SimID = 12;
  return f;
}
}  // namespace

TEST_F(MovementTest, BranchesAreChosenInProportionToTheirFlows) {
  LayoutPtr f = Fork();
  TestCar car;
  host.flow[11] = 300;
  host.flow[12] = 100;
  int n[2] = {}, none = 0;
  for (int i = 0; i < 20000; ++i) {
    f->GetZelle(0)->m_Choice = Cell::kNoChoice;
    f->SplittTrafic(f->GetZelle(0), &car, false);
    const uint8_t c = f->GetZelle(0)->m_Choice;
    if (c < 2)
      ++n[c];
    else
      ++none;
  }
  EXPECT_EQ(none, 0) << "every car takes a branch";
  EXPECT_NEAR(n[0] / 20000.0, 0.75, 0.015);
  EXPECT_NEAR(n[1] / 20000.0, 0.25, 0.015);

  // A branch without flow is never taken; no flow at all leaves no choice.
  host.flow[11] = 0;
  for (int i = 0; i < 500; ++i) {
    f->SplittTrafic(f->GetZelle(0), &car, false);
    ASSERT_EQ(f->GetZelle(0)->m_Choice, 1);
  }
  host.flow[12] = 0;
  f->SplittTrafic(f->GetZelle(0), &car, false);
  EXPECT_EQ(f->GetZelle(0)->m_Choice, Cell::kNoChoice);
  host.flow.clear();
  f->GetZelle(0)->m_Choice = 0;
  f->SplittTrafic(f->GetZelle(0), &car, false);
  EXPECT_EQ(f->GetZelle(0)->m_Choice, Cell::kNoChoice) << "streets not known";
  // One successor is always chosen.
  f->SplittTrafic(f->GetZelle(1), &car, false);
  EXPECT_EQ(f->GetZelle(1)->m_Choice, 0);
}

TEST_F(MovementTest, CarsAtAForkWithoutFlowLeaveTheSimulation) {
  LayoutPtr f = Fork();
  f->SetScreenPos(0, 0);
  auto* car = new TestCar;
  EXPECT_EQ(f->SetzeFahrzeug(f->GetZelle(0), car, 0, false, true, false), 2);
  EXPECT_EQ(TestCar::s_alive, 0);
  host.flow[12] = 50;
  car = new TestCar;
  EXPECT_EQ(f->SetzeFahrzeug(f->GetZelle(0), car, 0, false, true, false), 0);
  EXPECT_EQ(f->GetNextZelle(f->GetZelle(0)), f->GetZelle(2));
}

// ---------------------------------------------------------------- the cell's neighbours

TEST_F(MovementTest, AVehicleLocksItsConflictCellsWhileItStands) {
  LayoutPtr lane = Chain(4, 20, false);
  Cell* guarded = lane->GetZelle(3);
  lane->GetZelle(0)->m_pConflict[0] = guarded;
  Place(*lane, 0);
  EXPECT_EQ(guarded->m_Locked, 1);
  lane->RemoveVehicle(lane->GetZelle(0));
  EXPECT_EQ(guarded->m_Locked, 0);
  EXPECT_EQ(lane->GetZelle(0)->m_Position, Cell::kNoPosition);
  // A moving vehicle takes the lock along.
  host.velocity[7] = 20.0;
  Place(*lane, 0);
  for (int turn = 0; turn < 20 && lane->GetZelle(0)->m_pCar; ++turn) lane->MoveCars(0, 0, false);
  EXPECT_EQ(lane->GetZelle(0)->m_pCar, nullptr);
  EXPECT_EQ(guarded->m_Locked, 0);
}

TEST_F(MovementTest, AMovingCarLocksAndFreesAConflictCellInEverySlot) {
  host.velocity[7] = 20.0;
  for (int slot = 0; slot < Cell::kLinks; ++slot) {
    LayoutPtr lane = Chain(6, 20, false);
    Cell* guarded = lane->GetZelle(5);
    lane->GetZelle(1)->m_pConflict[slot] = guarded;
    // 10 tenths before cell 1 and 16 a turn: the first move enters it.
    TestCar* car = Park(lane->GetZelle(0), 10);
    lane->MoveCars(0, 0, false);
    ASSERT_EQ(CellOf(*lane, car), 1) << slot;
    EXPECT_EQ(guarded->m_Locked, 1) << slot;
    for (int turn = 0; turn < 40 && CellOf(*lane, car) == 1; ++turn) {
      EXPECT_EQ(guarded->m_Locked, 1) << slot << " turn " << turn;
      lane->MoveCars(0, 0, false);
    }
    EXPECT_EQ(CellOf(*lane, car), 2) << slot;
    EXPECT_EQ(guarded->m_Locked, 0) << slot;
  }
}

TEST_F(MovementTest, ALongStepGoesOnThroughTheCellThatItsOwnLockHeld) {
  // Cells 1 pixel apart and a step of 40 tenths: leaving its cell, a car
  // unlocks the conflict cell two on and drives into it and beyond in the
  // same move.
  host.velocity[7] = 20.0;
  host.SetFrameTime(100);
  LayoutPtr lane = Chain(8, 1, false);
  lane->GetZelle(0)->m_pConflict[0] = lane->GetZelle(2);
  TestCar* car = Place(*lane, 0);
  ASSERT_EQ(lane->GetZelle(2)->m_Locked, 1);
  lane->MoveCars(0, 0, false);
  EXPECT_EQ(CellOf(*lane, car), 3);
  EXPECT_EQ(lane->GetZelle(2)->m_Locked, 0);
}

TEST_F(MovementTest, AVehicleAtTheEndOfItsCellsIsRemoved) {
  LayoutPtr lane = Chain(2, 20, false);
  // From the last cell there is nowhere to go.
  Park(lane->GetZelle(1), 30, Cell::kNoChoice);
  EXPECT_EQ(lane->BewegeFahrzeug(lane->GetZelle(1), lane->GetZelle(1)->m_pCar, 10.0, nullptr, false, 0, 0, false,
                                 false),
            1);
  EXPECT_EQ(lane->GetZelle(1)->m_pCar, nullptr);
  EXPECT_EQ(lane->GetZelle(1)->m_Position, Cell::kNoPosition);
  EXPECT_EQ(TestCar::s_alive, 0);
  // A car that reaches the next cell's point exactly stays at the end of
  // its own cell; any further and it is in the next one.
  LayoutPtr two = Chain(3, 20, false);
  TestCar* c = Place(*two, 0);
  EXPECT_EQ(two->BewegeFahrzeug(two->GetZelle(0), c, 200.0, nullptr, false, 0, 0, false, false), 0);
  EXPECT_EQ(CellOf(*two, c), 0);
  EXPECT_EQ(two->GetZelle(0)->m_Position, 0);
  EXPECT_EQ(two->BewegeFahrzeug(two->GetZelle(0), c, 0.5, nullptr, false, 0, 0, false, false), 0);
  EXPECT_EQ(CellOf(*two, c), 1);
}

TEST_F(MovementTest, ACarWithoutAChosenWayTakesItsCellsOnlyWayAsItMoves) {
  host.velocity[7] = 20.0;  // 16 tenths a turn, as above
  LayoutPtr lane = Chain(4, 20, false);
  TestCar* car = Park(lane->GetZelle(0), 150, Cell::kNoChoice);
  lane->MoveCars(3, 4, false);
  // The only way on is chosen first, then the car moves along it.
  EXPECT_EQ(lane->GetZelle(0)->m_Choice, 0);
  EXPECT_EQ(lane->GetZelle(0)->m_pCar, car);
  EXPECT_EQ(lane->GetZelle(0)->m_Position, 150 - 16);
  // With a way chosen, the next turn moves it on the same way.
  lane->MoveCars(3, 4, false);
  EXPECT_EQ(lane->GetZelle(0)->m_Choice, 0);
  EXPECT_EQ(lane->GetZelle(0)->m_Position, 150 - 32);
}

TEST_F(MovementTest, AHiddenCellTakesNoPrivateCarButKeepsItsOccupant) {
  LayoutPtr lane = Chain(3, 20, false);
  lane->GetZelle(0)->m_Visible = 0;
  auto* car = new TestCar;
  lane->GetZelle(0)->m_Choice = 0;
  EXPECT_EQ(lane->SetzeFahrzeug(lane->GetZelle(0), car, 0, false, false, false), 1);
  EXPECT_EQ(TestCar::s_alive, 0);
  TestCar* occupant = Park(lane->GetZelle(1), 70);
  lane->GetZelle(1)->m_Visible = 0;
  EXPECT_EQ(lane->SetzeFahrzeug(lane->GetZelle(1), new TestCar, 0, false, false, false), 1);
  EXPECT_EQ(lane->GetZelle(1)->m_pCar, occupant);
  EXPECT_EQ(lane->GetZelle(1)->m_Position, 70);
}

namespace {
class CellViewHost : public CWorldHost {
 public:
  bool GetShowMicroZellen() override { return true; }
};
}  // namespace

TEST_F(MovementTest, WithTheCellViewOnABranchWithoutFlowIsDrawnAtRandom) {
  CellViewHost view;
  CWorldHost::Install(&view);
  LayoutPtr f = Make({C(1, 2, 0, 0, {2, 3, 4}), C(2, 2, 10, -10, {}, 1), C(3, 2, 10, 10, {}, 1),
                      C(4, 2, 10, 0, {}, 1)});
  TestCar car;
  int n[4] = {};
  for (int i = 0; i < 3000; ++i) {
    f->SplittTrafic(f->GetZelle(0), &car, false);
    ASSERT_LT(f->GetZelle(0)->m_Choice, 3);
    ++n[f->GetZelle(0)->m_Choice];
  }
  CWorldHost::Install(nullptr);
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(n[i] / 3000.0, 1.0 / 3, 0.04) << i;
}

namespace {
// The private cars of each direction as a plain walk over the cells finds
// them.
std::pair<int, int> PlainCount(CQnoMicroZelle& layout, uint16_t id1, uint16_t id2) {
  std::pair<int, int> n{0, 0};
  for (int i = 0; i < layout.GetCount(); ++i) {
    const Cell* c = layout.GetZelle(i);
    if (!c->m_pCar || !c->m_pCar->IsAuto()) continue;
    if (c->m_SimID == id1)
      ++n.first;
    else if (c->m_SimID == id2)
      ++n.second;
  }
  return n;
}
}  // namespace

TEST_F(MovementTest, CountingFollowsEveryChangeOfTheCellsSimIds) {
  // Cars in four cells of a lane and a bus in a fifth, with the changes
  // before the one under test made. The layout is counted for a pair of
  // ids, its cells' ids change, and it is counted for the same pair again:
  // the counts must be what a walk over the cells finds. Rate 0 and
  // surplus 0: nothing comes or goes.
  using Change = void (*)(CQnoMicroZelle&);
  const std::pair<const char*, Change> changes[] = {
      {"every cell", [](CQnoMicroZelle& l) { l.SetFirstSimID(8); }},
      {"back from a cell", [](CQnoMicroZelle& l) { l.SetFirstSimID(l.GetZelle(2), 9); }},
      {"on from a cell", [](CQnoMicroZelle& l) { l.SetSecSimID(l.GetZelle(4), 7); }},
      {"written from outside",
       [](CQnoMicroZelle& l) {
         l.GetZelle(1)->m_SimID = 0;
         l.GetZelle(3)->m_SimID = 0;
         l.SimIDsChanged();
       }},
      {"taken from neighbours", [](CQnoMicroZelle& l) { l.UpdateSimID(); }},
      {"the exit closed", [](CQnoMicroZelle& l) { l.CloseExit(l.GetZelle(5)); }},
  };
  const std::pair<uint16_t, uint16_t> pairs[] = {{7, 8}, {8, 7}, {9, 0}, {0, 9}, {7, 7}};
  for (size_t k = 0; k < std::size(changes); ++k) {
    for (auto [id1, id2] : pairs) {
      LayoutPtr lane = Chain(6, 10, false, 7);
      for (int i : {0, 2, 3, 5}) Park(lane->GetZelle(i));
      int line = 0;
      auto* bus = new CMicroOpnv;
      bus->Create(reinterpret_cast<COpnvLine*>(&line), 0);
      CQnoMicroZelle::HoldVehicle(lane->GetZelle(4), bus);
      bus->SetMicroSimObject(lane->GetZelle(4));
      for (size_t j = 0; j < k; ++j) changes[j].second(*lane);
      int c1 = -1, c2 = -1, s1 = 0, s2 = 0;
      lane->ZaehleAutos(id1, id2, c1, c2, s1, s2, 0, 0);
      const std::vector<uint16_t> before = SimIds(*lane);
      changes[k].second(*lane);
      EXPECT_NE(SimIds(*lane), before) << changes[k].first << " changed no id";
      lane->ZaehleAutos(id1, id2, c1, c2, s1, s2, 0, 0);
      EXPECT_EQ(std::make_pair(c1, c2), PlainCount(*lane, id1, id2))
          << changes[k].first << ", ids " << id1 << "/" << id2;
      EXPECT_EQ(CarsIn(*lane), 5);
    }
  }
}
