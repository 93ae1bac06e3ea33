#include <algorithm>
#include <random>
#include <vector>

#include "sim/sim_row_sweep.h"
#include "sim_test_city.h"
#include "support/test_support.h"

using simtest::BuildGrid;
using simtest::MakeTrips;
using simtest::ReferenceCosts;
using simtest::TripSpec;

namespace {
// The cost of a chain of streets as the searches count it: each street's
// travel time and a crossing's penalty between two streets.
int PathCost(const CSimRoutingMatrix& r, const std::vector<int>& path) {
  int cost = -CSimRoutingMatrix::kCrossingPenalty;
  for (int e : path) cost += r.Street(e)->TravelTime() + CSimRoutingMatrix::kCrossingPenalty;
  return cost;
}

void CheckAgainstReference(CSimTrafficSlot& slot) {
  const auto ref = ReferenceCosts(slot);
  const CSimRoutingMatrix& r = slot.Routing();
  for (int i = 0; i < r.N(); ++i)
    for (int j = 0; j < r.N(); ++j) ASSERT_EQ(r.Entry(i, j)->cost, ref[i][j]) << i << " -> " << j;
}

// Every matrix route is a chain of streets from origin to destination whose
// times and lengths add up to the entry and whose ends are the entry's
// first and last streets; pairs the reference cannot join have no route.
void CheckMatrixChains(CSimTrafficSlot& slot) {
  const auto ref = ReferenceCosts(slot);
  const CSimRoutingMatrix& r = slot.Routing();
  for (int from = 0; from < r.N(); ++from)
    for (int to = 0; to < r.N(); ++to) {
      const Route* entry = r.Entry(from, to);
      ASSERT_EQ(entry->cost, ref[from][to]) << from << " -> " << to;
      std::vector<int> path;
      if (from == to || entry->cost >= Route::kNoRoute) {
        EXPECT_FALSE(r.MatrixPath(from, to, path));
        continue;
      }
      ASSERT_TRUE(r.MatrixPath(from, to, path));
      int cost = -CSimRoutingMatrix::kCrossingPenalty, length = 0, at = from;
      for (int e : path) {
        ASSERT_EQ(r.Street(e)->pStartCrossing()->MatrixIndex(), at);
        cost += r.Street(e)->TravelTime() + CSimRoutingMatrix::kCrossingPenalty;
        length += r.Street(e)->StreetLength();
        at = r.Street(e)->pEndCrossing()->MatrixIndex();
      }
      EXPECT_EQ(at, to);
      EXPECT_EQ(cost, entry->cost) << from << " -> " << to;
      EXPECT_EQ(length, entry->length) << from << " -> " << to;
      EXPECT_EQ(path.front(), entry->firstStreet);
      EXPECT_EQ(path.back(), entry->lastStreet);
    }
}

void RunFullPass(CSimTrafficSlot& slot) {
  slot.CalcRoutingMatrix();
  while (slot.CalcRoutingMatrix2(30, 1000000)) {
  }
}
}  // namespace

// A trip names its crossings by id; the routing answers their indexes
// from a table made at the set-up, for the crossings still created only.
TEST(Routing, CrossingsAreFoundByIdWhileTheyStayCreated) {
  CSimTrafficSlot slot(nullptr, nullptr);
  slot.Create(1, CSimDate(6), nullptr);
  BuildGrid(slot, 4, 3, [](int i) { return 150 + 10 * i; });
  for (short id : {13, 14, 15}) ASSERT_TRUE(slot.AddCrossing(id, SIM_CROSSING_NONE, 30, 30));
  ASSERT_TRUE(slot.RemoveCrossing(13));
  slot.InitRouting();
  const CSimRoutingMatrix& r = slot.Routing();
  ASSERT_EQ(r.N(), 14);
  for (short id = 1; id <= 15; ++id) {
    const CSimCrossing* c = slot.GetCrossing(id);
    EXPECT_EQ(r.IndexOf(id), c ? c->MatrixIndex() : -1) << id;
  }
  EXPECT_EQ(r.IndexOf(13), -1);
  EXPECT_EQ(r.IndexOf(14), 12);
  for (int id : {0, 16, -3, 40000}) EXPECT_EQ(r.IndexOf(id), -1) << id;
  // Taken away after the set-up: no index, and the others keep theirs.
  ASSERT_TRUE(slot.RemoveCrossing(14));
  EXPECT_EQ(r.IndexOf(14), -1);
  EXPECT_EQ(r.IndexOf(15), 13);
  EXPECT_EQ(r.IndexOf(12), 11);
}

TEST(Routing, TwoStreetsAndOneCrossingPenalty) {
  CSimTrafficSlot slot(nullptr, nullptr);
  slot.Create(1, CSimDate(6), nullptr);
  for (short c = 1; c <= 4; ++c) slot.AddCrossing(c, SIM_CROSSING_NONE, 30, 30);
  // 417 m at 13.9 m/s is 30 s, 556 m is 40 s.
  slot.AddStreet(1, 1, 1, 2, 3, 417, -1.0, 0);
  slot.AddStreet(2, 2, 1, 3, 3, 556, -1.0, 0);
  slot.InitRouting();
  RunFullPass(slot);
  Route* r = slot.pRoute(1, 3);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->cost, 30 + 40 + 20);
  EXPECT_EQ(r->length, 417 + 556);
  EXPECT_FALSE(r->Direct());
  EXPECT_TRUE(slot.pRoute(1, 2)->Direct());
  EXPECT_EQ(slot.pRoute(1, 1)->cost, 0);
  EXPECT_EQ(slot.pRoute(1, 1)->length, -1);
  EXPECT_EQ(slot.pRoute(3, 1)->cost, Route::kNoRoute);  // one-way streets only
  EXPECT_EQ(slot.pRoute(1, 4)->cost, Route::kNoRoute);
  EXPECT_EQ(slot.pRoute(1, 99), nullptr);
}

TEST(Routing, ParallelStreetsTheFasterWins) {
  CSimTrafficSlot slot(nullptr, nullptr);
  slot.Create(1, CSimDate(6), nullptr);
  slot.AddCrossing(1, SIM_CROSSING_NONE, 30, 30);
  slot.AddCrossing(2, SIM_CROSSING_NONE, 30, 30);
  slot.AddStreet(5, 1, 1, 2, 3, 556, -1.0, 0);
  slot.AddStreet(6, 1, 2, 2, 0, 417, -1.0, 0);
  slot.InitRouting();
  RunFullPass(slot);
  const Route* r = slot.pRoute(1, 2);
  EXPECT_EQ(r->cost, 30);
  EXPECT_EQ(slot.Routing().Street(r->firstStreet)->ID(), 6);
}

TEST(Routing, SlicesCoverThirtyCrossingsOrTheTimeBudget) {
  CSimTrafficSlot empty(nullptr, nullptr);
  empty.Create(1, CSimDate(6), nullptr);
  empty.InitRouting();
  empty.CalcRoutingMatrix();
  EXPECT_FALSE(empty.CalcRoutingMatrix2(30, 20));

  CSimTrafficSlot slot(nullptr, nullptr);
  slot.Create(1, CSimDate(6), nullptr);
  BuildGrid(slot, 15, 5, [](int i) { return 100 + 7 * (i % 13); });
  slot.InitRouting();
  ASSERT_EQ(slot.NrOfRoutedCrossings(), 75);
  slot.CalcRoutingMatrix();
  // The order of the crossings for the sweeps takes far less than the
  // budget here, so the first slice has rows too, a sweep's lanes at a time.
  EXPECT_TRUE(slot.CalcRoutingMatrix2(30, 20));
  EXPECT_EQ(slot.Routing().Cursor(), 30);
  EXPECT_TRUE(slot.CalcRoutingMatrix2(30, 20));
  EXPECT_EQ(slot.Routing().Cursor(), 60);
  EXPECT_FALSE(slot.CalcRoutingMatrix2(30, 20));
  CheckAgainstReference(slot);

  // Each read of this clock advances it 1 ms: with 5 ms a slice ends after
  // a fixed number of rows and the next one continues from there. The
  // order of the same network is kept, so no slice goes to it.
  ZorManualClock clock;
  clock.SetReadCost(1);
  ZorClock* old = ZorGetClock();
  ZorSetClock(&clock);
  slot.CalcRoutingMatrix();
  EXPECT_TRUE(slot.CalcRoutingMatrix2(75, 5));
  // The slice ends by the clock before its 75 rows, after whole sweeps.
  const int first = slot.Routing().Cursor();
  EXPECT_GT(first, 0);
  EXPECT_LT(first, 75);
  EXPECT_EQ(first % CSimRowSweep::kLanes, 0);
  EXPECT_TRUE(slot.CalcRoutingMatrix2(75, 5));
  EXPECT_EQ(slot.Routing().Cursor(), 2 * first);

  // A network met for the first time: its order is built over slices of
  // their own. The slice that finishes it has spent half its time (each
  // read of the clock costs 1 ms of 4), so the weights and the first rows
  // wait for the next slice, which writes rows within its budget.
  CSimTrafficSlot fresh(nullptr, nullptr);
  fresh.Create(2, CSimDate(6), nullptr);
  BuildGrid(fresh, 13, 9, [](int i) { return 120 + 11 * (i % 7); });
  fresh.InitRouting();
  const CSimRoutingMatrix& r = fresh.Routing();
  std::vector<int> from, to;
  for (int e = 0; e < r.NrOfStreets(); ++e) {
    from.push_back(r.Street(e)->pStartCrossing()->MatrixIndex());
    to.push_back(r.Street(e)->pEndCrossing()->MatrixIndex());
  }
  fresh.CalcRoutingMatrix();
  // Another sweep of the same streets sees the order once it is built.
  auto orderBuilt = [&] {
    CSimRowSweep probe;
    probe.SetGraph(r.N(), from.data(), to.data(), r.NrOfStreets());
    return probe.Ready();
  };
  ASSERT_FALSE(orderBuilt());
  int slices = 0;
  while (!orderBuilt()) {
    ASSERT_TRUE(fresh.CalcRoutingMatrix2(200, 4));
    ASSERT_LT(++slices, 1000);
    EXPECT_EQ(r.Cursor(), 0) << "slice " << slices;
  }
  EXPECT_GT(slices, 1);
  EXPECT_TRUE(fresh.CalcRoutingMatrix2(200, 4));
  EXPECT_GT(r.Cursor(), 0);
  EXPECT_LT(r.Cursor(), r.N());
  ZorSetClock(old);
  while (fresh.CalcRoutingMatrix2(200, 4)) {
  }
  CheckAgainstReference(fresh);
}

TEST(Routing, MatrixEqualsTheReferenceOnLoadedNetworks) {
  std::mt19937 rng(99);
  CSimTrafficSlot slot(nullptr, nullptr);
  slot.Create(1, CSimDate(6), nullptr);
  BuildGrid(slot, 8, 6, [&](int) { return 50 + static_cast<int>(rng() % 900); });
  slot.RemoveStreet(3);  // some one-way pieces
  slot.RemoveStreet(20);
  slot.InitRouting();
  RunFullPass(slot);
  CheckAgainstReference(slot);
  const CSimRoutingMatrix& r = slot.Routing();
  for (int e = 0; e < r.NrOfStreets(); ++e) r.Street(e)->AddCarFlow(static_cast<int>(rng() % 2500));
  RunFullPass(slot);
  CheckAgainstReference(slot);
}

TEST(Routing, SearchedPathsCostWhatTheReferenceSays) {
  std::mt19937 rng(5);
  CSimTrafficSlot slot(nullptr, nullptr);
  slot.Create(1, CSimDate(6), nullptr);
  BuildGrid(slot, 7, 7, [&](int) { return 80 + static_cast<int>(rng() % 600); });
  slot.SwitchToComputateMode(nullptr);
  slot.InitRouting();
  CSimRoutingMatrix& r = const_cast<CSimRoutingMatrix&>(slot.Routing());
  r.StartPass(false);  // a light pass measures the landmarks at free flow
  EXPECT_FALSE(r.Slice(30, 20));
  for (int round = 0; round < 3; ++round) {
    if (round > 0)
      for (int e = 0; e < r.NrOfStreets(); ++e) r.Street(e)->AddCarFlow(static_cast<int>(rng() % 1500));
    r.StartPass(false);
    r.Slice(30, 20);
    const auto ref = ReferenceCosts(slot);
    for (int i = 0; i < r.N(); i += 3)
      for (int j = 0; j < r.N(); j += 2) {
        if (i == j) continue;
        std::vector<int> path;
        ASSERT_TRUE(r.FindPath(i, j, path));
        int cost = -CSimRoutingMatrix::kCrossingPenalty, at = i;
        for (int e : path) {
          ASSERT_EQ(r.Street(e)->pStartCrossing()->MatrixIndex(), at);
          cost += r.Street(e)->TravelTime() + CSimRoutingMatrix::kCrossingPenalty;
          at = r.Street(e)->pEndCrossing()->MatrixIndex();
        }
        EXPECT_EQ(at, j);
        EXPECT_EQ(cost, ref[i][j]) << i << " -> " << j << " round " << round;
      }
  }
}

TEST(Routing, RowsAnswerNoRouteUntilAFullPassWritesThemAndThenHoldTheRoutes) {
  std::mt19937 rng(17);
  CSimTrafficSlot slot(nullptr, nullptr);
  slot.Create(1, CSimDate(6), nullptr);
  BuildGrid(slot, 6, 5, [&](int) { return 120 + static_cast<int>(rng() % 500); });
  slot.InitRouting();
  CSimRoutingMatrix& r = const_cast<CSimRoutingMatrix&>(slot.Routing());
  std::vector<int> path;
  EXPECT_EQ(r.Entry(3, 3)->cost, 0);
  EXPECT_EQ(r.Entry(3, 4)->cost, Route::kNoRoute);
  EXPECT_EQ(r.Entry(3, 4)->firstStreet, -1);
  EXPECT_EQ(r.Entry(3, 0)->cost, Route::kNoRoute);
  EXPECT_EQ(r.Entry(0, 0)->cost, 0);
  EXPECT_FALSE(r.MatrixPath(3, 4, path));
  // A full pass cut short after a few rows: those rows hold routes, the
  // rest still answer "no route".
  r.StartPass(true);
  EXPECT_TRUE(r.Slice(4, 1000000));
  EXPECT_LT(r.Entry(9, 2)->cost, Route::kNoRoute);
  EXPECT_EQ(r.Entry(9, 5)->cost, Route::kNoRoute);
  EXPECT_FALSE(r.MatrixPath(9, 5, path));
  while (r.Slice(30, 1000000)) {
  }
  // Every matrix route is a chain of streets from origin to destination
  // whose times and lengths add up to the entry, the same as a search gives.
  CheckMatrixChains(slot);
  for (int from = 0; from < r.N(); ++from)
    for (int to = 0; to < r.N(); ++to) {
      if (from == to) continue;
      std::vector<int> searched;
      ASSERT_TRUE(r.FindPath(from, to, searched));
      EXPECT_EQ(PathCost(r, searched), r.Entry(from, to)->cost);
    }
  EXPECT_FALSE(r.MatrixPath(2, 2, path));
  EXPECT_FALSE(r.MatrixPath(-1, 2, path));
  EXPECT_FALSE(r.MatrixPath(2, r.N(), path));
}

// The next hour of the same slot writes into the previous hour's matrix:
// its rows answer "no route" again until the new full pass reaches them,
// and then hold the routes of the new travel times, also after the network
// grew and the matrix had to be made larger.
TEST(Routing, AnotherHourReusesTheMatrixWithoutItsOldRoutes) {
  std::mt19937 rng(29);
  CSimTrafficSlot slot(nullptr, nullptr);
  slot.Create(1, CSimDate(6), nullptr);
  BuildGrid(slot, 5, 4, [&](int) { return 120 + static_cast<int>(rng() % 500); });
  slot.InitRouting();
  RunFullPass(slot);
  CSimRoutingMatrix& r = const_cast<CSimRoutingMatrix&>(slot.Routing());
  ASSERT_LT(r.Entry(7, 3)->cost, Route::kNoRoute);
  const Route* before = r.Matrix();
  for (int e = 0; e < r.NrOfStreets(); e += 3) r.Street(e)->AddCarFlow(900 + static_cast<int>(rng() % 900));
  slot.InitRouting();
  EXPECT_EQ(r.Matrix(), before);
  EXPECT_EQ(r.Entry(7, 3)->cost, Route::kNoRoute);
  EXPECT_EQ(r.Entry(3, 3)->cost, 0);
  std::vector<int> path;
  EXPECT_FALSE(r.MatrixPath(7, 3, path));
  r.StartPass(true);
  EXPECT_TRUE(r.Slice(2, 1000000));
  EXPECT_EQ(r.Entry(7, 3)->cost, Route::kNoRoute);
  RunFullPass(slot);
  CheckAgainstReference(slot);
  for (short c = 21; c <= 22; ++c) slot.AddCrossing(c, SIM_CROSSING_NONE, 30, 30);
  slot.AddStreet(200, 20, 2, 21, 0, 300, -1.0, 0);
  slot.AddStreet(201, 21, 2, 22, 0, 300, -1.0, 0);
  slot.InitRouting();
  ASSERT_EQ(r.N(), 22);
  RunFullPass(slot);
  CheckAgainstReference(slot);
  EXPECT_LT(slot.pRoute(1, 22)->cost, Route::kNoRoute);
}

TEST(Routing, SearchesFindNoRouteOverStreetsTooSlowToUse) {
  // A ring whose streets are all at the travel-time cap: every crossing
  // reaches every other, but no route costs less than "no route".
  CSimTrafficSlot slot(nullptr, nullptr);
  slot.Create(1, CSimDate(6), nullptr);
  for (short c = 1; c <= 4; ++c) slot.AddCrossing(c, SIM_CROSSING_NONE, 30, 30);
  for (short c = 1; c <= 4; ++c) {
    const short next = static_cast<short>(c % 4 + 1);
    slot.AddStreet(c, c, 1, next, 3, 300, 0.0, 0);
    slot.AddStreet(static_cast<short>(c + 4), next, 3, c, 1, 300, 0.0, 0);
  }
  slot.InitRouting();
  CSimRoutingMatrix& r = const_cast<CSimRoutingMatrix&>(slot.Routing());
  ASSERT_EQ(r.Street(0)->TravelTime(), CSimStreet::kMaxTravelTime);
  std::vector<int> path;
  // The first light pass measures the landmarks, later ones measure them
  // again; neither kind of search may report a route.
  for (int pass = 0; pass < CSimRoutingMatrix::kRemeasurePasses * 2 + 1; ++pass) {
    r.StartPass(false);
    r.Slice(30, 20);
    for (int from = 0; from < 4; ++from)
      for (int to = 0; to < 4; ++to) EXPECT_FALSE(r.FindPath(from, to, path)) << from << " -> " << to;
  }
  EXPECT_TRUE(path.empty());
  r.StartPass(true);
  while (r.Slice(30, 20)) {
  }
  EXPECT_EQ(r.Entry(0, 1)->cost, Route::kNoRoute);
}

// Landmarks measured again on loaded streets give bounds that only hold
// while no street gets faster: when streets get lighter again, searches
// still find routes of the least cost.
TEST(Routing, SearchesStayShortestWhenStreetsGetFasterAgain) {
  std::mt19937 rng(41);
  CSimTrafficSlot slot(nullptr, nullptr);
  slot.Create(1, CSimDate(6), nullptr);
  BuildGrid(slot, 7, 6, [&](int) { return 100 + static_cast<int>(rng() % 500); });
  slot.InitRouting();
  CSimRoutingMatrix& r = const_cast<CSimRoutingMatrix&>(slot.Routing());
  r.StartPass(false);  // the landmarks at free flow
  r.Slice(30, 20);
  for (int e = 0; e < r.NrOfStreets(); ++e) r.Street(e)->AddCarFlow(static_cast<int>(rng() % 3000));
  // Enough light passes for the landmarks to be measured again on these loads.
  for (int pass = 0; pass < CSimRoutingMatrix::kRemeasurePasses * 2 + 1; ++pass) {
    r.StartPass(false);
    r.Slice(30, 20);
  }
  // Lighter than at that measurement, still no lighter than free flow.
  for (int e = 0; e < r.NrOfStreets(); ++e) {
    r.Street(e)->ResetCarFlow();
    r.Street(e)->AddCarFlow(static_cast<int>(rng() % 400));
  }
  r.StartPass(false);
  r.Slice(30, 20);
  const auto ref = ReferenceCosts(slot);
  for (int i = 0; i < r.N(); ++i)
    for (int j = 0; j < r.N(); ++j) {
      if (i == j) continue;
      std::vector<int> path;
      ASSERT_TRUE(r.FindPath(i, j, path));
      const int cost = PathCost(r, path);
      EXPECT_EQ(cost, ref[i][j]) << i << " -> " << j;
    }
}

// A street too slow to use raises the greatest travel time to the cap: the
// rows of the crossings it does not touch stay exactly the same.
TEST(Routing, FullRowsAreTheSameOnEitherQueue) {
  auto build = [](CSimTrafficSlot& slot, bool slowStreet) {
    std::mt19937 rng(8);
    slot.Create(1, CSimDate(6), nullptr);
    BuildGrid(slot, 6, 6, [&](int) { return 150 + static_cast<int>(rng() % 400); });
    if (slowStreet) {
      slot.AddCrossing(200, SIM_CROSSING_NONE, 30, 30);
      slot.AddCrossing(201, SIM_CROSSING_NONE, 30, 30);
      slot.AddStreet(900, 200, 1, 201, 3, 300, 0.0, 0);
    }
    slot.InitRouting();
    RunFullPass(slot);
  };
  CSimTrafficSlot plain(nullptr, nullptr), wide(nullptr, nullptr);
  build(plain, false);
  build(wide, true);
  const CSimRoutingMatrix& a = plain.Routing();
  const CSimRoutingMatrix& b = wide.Routing();
  ASSERT_EQ(b.N(), a.N() + 2);
  ASSERT_EQ(b.Street(b.NrOfStreets() - 1)->TravelTime(), CSimStreet::kMaxTravelTime);
  int routes = 0;
  for (int i = 0; i < a.N(); ++i)
    for (int j = 0; j < a.N(); ++j) {
      const Route* x = a.Entry(i, j);
      const Route* y = b.Entry(i, j);
      EXPECT_EQ(x->cost, y->cost);
      EXPECT_EQ(x->length, y->length);
      EXPECT_EQ(x->firstStreet, y->firstStreet) << i << " -> " << j;
      EXPECT_EQ(x->lastStreet, y->lastStreet) << i << " -> " << j;
      routes += x->cost < Route::kNoRoute;
    }
  EXPECT_EQ(routes, a.N() * a.N());
  EXPECT_EQ(b.Entry(a.N(), a.N() + 1)->cost, Route::kNoRoute);
}

// Streets of a few metres take 0..2 s, so many crossings of a row wait
// with keys in the same bucket of the full pass, and costs fall within a
// bucket and across its edge; jammed streets at the travel-time cap leave
// some pairs beyond the longest route there can be. Every entry keeps the
// reference's cost and a chain of streets that adds up to it.
TEST(Routing, FullRowsWithKeysCloseTogetherAndAtTheCap) {
  std::mt19937 rng(41);
  CSimTrafficSlot slot(nullptr, nullptr);
  slot.Create(1, CSimDate(6), nullptr);
  BuildGrid(slot, 7, 6, [&](int pair) { return pair % 3 ? 1 + static_cast<int>(rng() % 30) : 150 + static_cast<int>(rng() % 400); });
  slot.RemoveStreet(7);
  slot.InitRouting();
  RunFullPass(slot);
  CheckMatrixChains(slot);
  const CSimRoutingMatrix& r = slot.Routing();
  int capped = 0;
  for (int e = 0; e < r.NrOfStreets(); ++e) {
    r.Street(e)->AddCarFlow(e % 11 == 0 ? 1000000 : static_cast<int>(rng() % 1500));
    capped += r.Street(e)->TravelTime() == CSimStreet::kMaxTravelTime;
  }
  ASSERT_GT(capped, 0);
  RunFullPass(slot);
  CheckMatrixChains(slot);
}

// Two halves of a grid joined only by streets at the travel-time cap: the
// landmark searches run up distances far beyond their ring's width, and the
// bounds they give must still keep every searched route shortest, on the
// first measurement and on the next.
TEST(Routing, LandmarksAcrossStreetsAtTheCapKeepSearchesShortest) {
  std::mt19937 rng(12);
  CSimTrafficSlot slot(nullptr, nullptr);
  slot.Create(1, CSimDate(6), nullptr);
  const int w = 6;
  BuildGrid(slot, w, 4, [&](int) { return 150 + static_cast<int>(rng() % 400); });
  slot.InitRouting();
  CSimRoutingMatrix& r = const_cast<CSimRoutingMatrix&>(slot.Routing());
  auto column = [&](CSimCrossing* c) { return (c->Key() - 1) % w; };
  int cut = 0;
  for (int e = 0; e < r.NrOfStreets(); ++e) {
    CSimStreet* s = r.Street(e);
    if (std::min(column(s->pStartCrossing()), column(s->pEndCrossing())) == 2 &&
        column(s->pStartCrossing()) != column(s->pEndCrossing())) {
      s->AddCarFlow(1000000);
      ASSERT_EQ(s->TravelTime(), CSimStreet::kMaxTravelTime);
      ++cut;
    }
  }
  ASSERT_EQ(cut, 8);
  for (int pass = 0; pass <= CSimRoutingMatrix::kRemeasurePasses; ++pass) {
    for (int e = 0; e < r.NrOfStreets(); ++e) r.Street(e)->AddCarFlow(static_cast<int>(rng() % 60));
    r.StartPass(false);
    r.Slice(30, 20);
    if (pass != 0 && pass != CSimRoutingMatrix::kRemeasurePasses) continue;
    const auto ref = ReferenceCosts(slot);
    int routes = 0;
    for (int from = 0; from < r.N(); ++from)
      for (int to = 0; to < r.N(); ++to) {
        if (from == to) continue;
        std::vector<int> path;
        const bool found = r.FindPath(from, to, path);
        ASSERT_EQ(found, ref[from][to] < Route::kNoRoute) << from << " -> " << to << " pass " << pass;
        const int cost = PathCost(r, path);
        if (found) {
          EXPECT_EQ(cost, ref[from][to]) << from << " -> " << to << " pass " << pass;
        }
        routes += found;
      }
    // Only pairs on the same side of the cut have a route.
    EXPECT_EQ(routes, 2 * 12 * 11);
  }
}

// A crossing that no street enters and one that no street leaves: some
// landmark distances are missing, so the searches take their bounds from
// the landmarks that each crossing does reach. Routes stay shortest on
// every pass, the crossing nothing enters is reached from nowhere, and the
// routes picked among equal costs stay the same.
TEST(Routing, SearchesOnANetworkWithDeadEnds) {
  std::mt19937 rng(12);
  CSimTrafficSlot slot(nullptr, nullptr);
  slot.Create(1, CSimDate(6), nullptr);
  BuildGrid(slot, 6, 5, [&](int) { return 100 + 100 * static_cast<int>(rng() % 4); });
  slot.AddCrossing(40, SIM_CROSSING_NONE, 30, 30);
  slot.AddCrossing(41, SIM_CROSSING_NONE, 30, 30);
  slot.AddStreet(300, 40, 1, 8, 3, 200, -1.0, 0);   // only leaves 40
  slot.AddStreet(301, 23, 1, 41, 3, 200, -1.0, 0);  // only enters 41
  slot.InitRouting();
  CSimRoutingMatrix& r = const_cast<CSimRoutingMatrix&>(slot.Routing());
  const int source = slot.GetCrossing(40)->MatrixIndex();
  const int sink = slot.GetCrossing(41)->MatrixIndex();
  uint64_t print = 1469598103934665603ull;
  for (int pass = 0; pass < 3; ++pass) {
    if (pass > 0)
      for (int e = 0; e < r.NrOfStreets(); ++e) r.Street(e)->AddCarFlow(static_cast<int>(rng() % 1200));
    r.StartPass(false);
    r.Slice(30, 20);
    const auto ref = ReferenceCosts(slot);
    for (int i = 0; i < r.N(); ++i)
      for (int j = 0; j < r.N(); ++j) {
        if (i == j) continue;
        std::vector<int> path;
        const bool found = r.FindPath(i, j, path);
        ASSERT_EQ(found, ref[i][j] < Route::kNoRoute) << i << " -> " << j;
        if (j == source || i == sink) {
          EXPECT_FALSE(found);
        }
        int cost = -CSimRoutingMatrix::kCrossingPenalty;
        for (int e : path) {
          cost += r.Street(e)->TravelTime() + CSimRoutingMatrix::kCrossingPenalty;
          print = (print ^ static_cast<uint64_t>(e)) * 1099511628211ull;
        }
        if (found) {
          EXPECT_EQ(cost, ref[i][j]) << i << " -> " << j << " pass " << pass;
        }
      }
  }
  EXPECT_EQ(print, 0x1e05649d16c37f03ull);
}

TEST(Routing, ADestroyedSlotHasNoRoutes) {
  CSimTrafficSlot slot(nullptr, nullptr);
  slot.Create(1, CSimDate(6), nullptr);
  BuildGrid(slot, 3, 3, [](int) { return 200; });
  slot.InitRouting();
  RunFullPass(slot);
  ASSERT_EQ(slot.Routing().N(), 9);
  slot.Destroy();
  EXPECT_EQ(slot.Routing().N(), 0);
  EXPECT_EQ(slot.Routing().NrOfStreets(), 0);
  EXPECT_EQ(slot.Routing().Crossing(0), nullptr);
  EXPECT_EQ(slot.Routing().Entry(0, 0), nullptr);
  EXPECT_EQ(slot.Routing().MatrixBytes(), 0u);
}

// Streets faster than at the landmarks' first measurement make the
// landmarks be chosen and measured anew; the searches after that, and after
// the next measurement on loaded streets, stay shortest.
TEST(Routing, LandmarksChosenAgainKeepSearchesShortest) {
  std::mt19937 rng(77);
  CSimTrafficSlot slot(nullptr, nullptr);
  slot.Create(1, CSimDate(6), nullptr);
  BuildGrid(slot, 8, 5, [&](int) { return 100 + static_cast<int>(rng() % 500); });
  slot.InitRouting();
  CSimRoutingMatrix& r = const_cast<CSimRoutingMatrix&>(slot.Routing());
  auto load = [&](int most) {
    for (int e = 0; e < r.NrOfStreets(); ++e) r.Street(e)->AddCarFlow(static_cast<int>(rng() % most));
  };
  auto check = [&](const char* when) {
    const auto ref = ReferenceCosts(slot);
    for (int i = 0; i < r.N(); ++i)
      for (int j = 0; j < r.N(); ++j) {
        if (i == j) continue;
        std::vector<int> path;
        ASSERT_TRUE(r.FindPath(i, j, path)) << when;
        const int cost = PathCost(r, path);
        EXPECT_EQ(cost, ref[i][j]) << i << " -> " << j << " " << when;
      }
  };
  load(3000);
  r.StartPass(false);  // the first measurement, on loaded streets
  r.Slice(30, 20);
  for (int e = 0; e < r.NrOfStreets(); ++e) r.Street(e)->ResetCarFlow();
  r.StartPass(false);  // free flow: chosen and measured anew
  r.Slice(30, 20);
  check("after choosing again");
  for (int pass = 0; pass <= CSimRoutingMatrix::kRemeasurePasses; ++pass) {
    load(100);
    r.StartPass(false);
    r.Slice(30, 20);
  }
  check("after measuring again");
}

// On a grid of equal streets many routes cost the same, and crossings on
// them often rank equal under the landmarks' bounds: such ties are settled
// by the search with the first pass's bounds. Every search finds a route of
// the least cost, before and after the landmarks are measured again, and
// the routes picked stay the same.
TEST(Routing, SearchesBetweenRoutesOfEqualCost) {
  CSimTrafficSlot slot(nullptr, nullptr);
  slot.Create(1, CSimDate(6), nullptr);
  BuildGrid(slot, 5, 5, [](int) { return 300; });
  slot.InitRouting();
  CSimRoutingMatrix& r = const_cast<CSimRoutingMatrix&>(slot.Routing());
  uint64_t print = 1469598103934665603ull;
  auto check = [&](int round) {
    const auto ref = ReferenceCosts(slot);
    for (int i = 0; i < r.N(); ++i)
      for (int j = 0; j < r.N(); ++j) {
        if (i == j) continue;
        std::vector<int> path;
        ASSERT_TRUE(r.FindPath(i, j, path)) << i << " -> " << j << " round " << round;
        int cost = -CSimRoutingMatrix::kCrossingPenalty;
        for (int e : path) {
          cost += r.Street(e)->TravelTime() + CSimRoutingMatrix::kCrossingPenalty;
          print = (print ^ static_cast<uint64_t>(e)) * 1099511628211ull;
        }
        EXPECT_EQ(cost, ref[i][j]) << i << " -> " << j << " round " << round;
      }
  };
  r.StartPass(false);
  r.Slice(30, 20);
  check(0);
  for (int pass = 0; pass <= CSimRoutingMatrix::kRemeasurePasses; ++pass) {
    for (int e = 0; e < r.NrOfStreets(); ++e) r.Street(e)->AddCarFlow(20);
    r.StartPass(false);
    r.Slice(30, 20);
  }
  check(1);
  EXPECT_EQ(print, 0xa35bb1d2de1c2713ull);
}

// A slot torn down and set up again on a network of the same size (as a
// load does) takes the matrix that the old slot gave up, and answers none of
// its old routes before its own pass writes them.
// Every street into one crossing jams up to the travel-time cap, so the
// next full pass, on the same matrix, finds no route to it: the entries of
// its row that held routes must say so, while the other rows, where every
// crossing is reached, keep exact routes.
TEST(Routing, AFullPassAgainClearsRoutesThatNoLongerExist) {
  std::mt19937 rng(17);
  CSimTrafficSlot slot(nullptr, nullptr);
  slot.Create(1, CSimDate(6), nullptr);
  BuildGrid(slot, 5, 5, [&](int) { return 120 + static_cast<int>(rng() % 500); });
  slot.InitRouting();
  RunFullPass(slot);
  CSimRoutingMatrix& r = const_cast<CSimRoutingMatrix&>(slot.Routing());
  const int jammed = 12;
  ASSERT_LT(r.Entry(0, jammed)->cost, Route::kNoRoute);
  const Route* matrix = r.Matrix();
  for (int e = 0; e < r.NrOfStreets(); ++e)
    if (r.Street(e)->pEndCrossing()->MatrixIndex() == jammed) r.Street(e)->AddCarFlow(1000000);
  RunFullPass(slot);
  ASSERT_EQ(r.Matrix(), matrix);
  CheckMatrixChains(slot);
  std::vector<int> path;
  for (int from = 0; from < r.N(); ++from) {
    if (from == jammed) continue;
    const Route* e = r.Entry(from, jammed);
    EXPECT_EQ(e->cost, Route::kNoRoute) << from;
    EXPECT_EQ(e->firstStreet, -1) << from;
    EXPECT_EQ(e->lastStreet, -1) << from;
    EXPECT_FALSE(r.MatrixPath(from, jammed, path)) << from;
    EXPECT_LT(r.Entry(jammed, from)->cost, Route::kNoRoute) << from;
  }
}

TEST(Routing, ASlotSetUpAgainTakesTheGivenUpMatrixWithoutItsRoutes) {
  std::mt19937 rng(31);
  auto grid = [&](CSimTrafficSlot& slot, int w, int h) {
    slot.Create(1, CSimDate(6), nullptr);
    BuildGrid(slot, w, h, [&](int) { return 120 + static_cast<int>(rng() % 500); });
    slot.InitRouting();
  };
  const Route* given = nullptr;
  {
    CSimTrafficSlot old(nullptr, nullptr);
    grid(old, 4, 4);
    RunFullPass(old);
    ASSERT_LT(old.Routing().Entry(5, 10)->cost, Route::kNoRoute);
    given = const_cast<CSimRoutingMatrix&>(old.Routing()).Matrix();
    old.Destroy();
  }
  // Another size makes its own matrix.
  CSimTrafficSlot other(nullptr, nullptr);
  grid(other, 3, 5);
  EXPECT_NE(const_cast<CSimRoutingMatrix&>(other.Routing()).Matrix(), given);
  CSimTrafficSlot slot(nullptr, nullptr);
  grid(slot, 4, 4);
  CSimRoutingMatrix& r = const_cast<CSimRoutingMatrix&>(slot.Routing());
  EXPECT_EQ(r.Matrix(), given);
  EXPECT_EQ(r.Entry(5, 10)->cost, Route::kNoRoute);
  EXPECT_EQ(r.Entry(10, 10)->cost, 0);
  std::vector<int> path;
  EXPECT_FALSE(r.MatrixPath(5, 10, path));
  RunFullPass(slot);
  CheckAgainstReference(slot);
  RunFullPass(other);
  CheckAgainstReference(other);
  // Each block is handed out once.
  CSimTrafficSlot third(nullptr, nullptr);
  grid(third, 4, 4);
  EXPECT_NE(const_cast<CSimRoutingMatrix&>(third.Routing()).Matrix(), given);
  third.Destroy();
  other.Destroy();
  slot.Destroy();
}

// The searches bound each crossing with 16-bit copies of the landmark
// distances while all of them fit, and with the 32-bit table once the
// landmarks measured again on jammed streets lie farther apart. Routes
// stay shortest both ways.
TEST(Routing, SearchesStayShortestWhenLandmarkDistancesOutgrowSixteenBits) {
  std::mt19937 rng(21);
  CSimTrafficSlot slot(nullptr, nullptr);
  slot.Create(1, CSimDate(6), nullptr);
  BuildGrid(slot, 6, 5, [&](int) { return 150 + static_cast<int>(rng() % 400); });
  slot.InitRouting();
  CSimRoutingMatrix& r = const_cast<CSimRoutingMatrix&>(slot.Routing());
  auto checkSearches = [&](const char* when) {
    const auto ref = ReferenceCosts(slot);
    int farthest = 0;
    for (int from = 0; from < r.N(); ++from)
      for (int to = 0; to < r.N(); ++to) {
        if (from == to) continue;
        std::vector<int> path;
        EXPECT_TRUE(r.FindPath(from, to, path)) << from << " -> " << to << " " << when;
        const int cost = PathCost(r, path);
        EXPECT_EQ(cost, ref[from][to]) << from << " -> " << to << " " << when;
        farthest = std::max(farthest, cost);
      }
    return farthest;
  };
  r.StartPass(false);
  r.Slice(30, 20);
  EXPECT_TRUE(r.ShortLandmarkBounds());
  EXPECT_LT(checkSearches("free flow"), 32768 / 8);
  // Jammed streets of about 1 500 to 10 000 s: the far pairs lie beyond
  // 16 bits.
  for (int e = 0; e < r.NrOfStreets(); ++e) r.Street(e)->AddCarFlow(3800 + static_cast<int>(rng() % 1500));
  for (int pass = 0; pass < CSimRoutingMatrix::kRemeasurePasses; ++pass) {
    r.StartPass(false);
    r.Slice(30, 20);
  }
  EXPECT_FALSE(r.ShortLandmarkBounds());
  EXPECT_GT(checkSearches("jammed"), 32768);
}
