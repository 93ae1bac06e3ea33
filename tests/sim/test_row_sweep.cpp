#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "framework/zor_seams.h"
#include "sim/sim_row_sweep.h"
#include "support/test_support.h"

namespace {

struct Graph {
  int n = 0;
  std::vector<int> from, to, weight;
  void Add(int a, int b, int w) {
    from.push_back(a);
    to.push_back(b);
    weight.push_back(w);
  }
  int Arcs() const { return static_cast<int>(from.size()); }
};

// Distances to `target` by relaxing every arc until nothing changes,
// capped like the sweep's.
std::vector<int> Reference(const Graph& g, int target, int cap) {
  std::vector<long> d(static_cast<size_t>(g.n), cap);
  d[static_cast<size_t>(target)] = 0;
  for (bool changed = true; changed;) {
    changed = false;
    for (size_t i = 0; i < g.from.size(); ++i) {
      if (g.weight[i] >= cap) continue;
      const long via = g.weight[i] + d[static_cast<size_t>(g.to[i])];
      if (via < d[static_cast<size_t>(g.from[i])]) {
        d[static_cast<size_t>(g.from[i])] = via;
        changed = true;
      }
    }
  }
  std::vector<int> out;
  for (long v : d) out.push_back(static_cast<int>(std::min<long>(v, cap)));
  return out;
}

void Build(CSimRowSweep& sweep, const Graph& g, int cap) {
  sweep.SetGraph(g.n, g.from.data(), g.to.data(), g.Arcs());
  while (!sweep.Build(1000000)) {
  }
  sweep.SetWeights(g.weight.data(), cap);
}

// Every target, four to a sweep; the lanes of a last, partial group stay
// at the cap.
void ExpectAllDistances(const CSimRowSweep& sweep, const Graph& g, int cap) {
  const size_t lanes = CSimRowSweep::kLanes;
  std::vector<int32_t> dist(static_cast<size_t>(g.n) * lanes);
  auto at = [&](int rank, int lane) { return dist[static_cast<size_t>(rank) * lanes + static_cast<size_t>(lane)]; };
  for (int first = 0; first < g.n; first += CSimRowSweep::kLanes) {
    int targets[CSimRowSweep::kLanes];
    for (int k = 0; k < CSimRowSweep::kLanes; ++k) targets[k] = first + k < g.n ? first + k : -1;
    sweep.DistancesTo(targets, dist.data());
    for (int k = 0; k < CSimRowSweep::kLanes; ++k) {
      if (targets[k] < 0) {
        for (int r = 0; r < g.n; ++r) ASSERT_EQ(at(r, k), cap);
        continue;
      }
      const std::vector<int> ref = Reference(g, targets[k], cap);
      for (int v = 0; v < g.n; ++v)
        ASSERT_EQ(at(sweep.RankOf(v), k), ref[static_cast<size_t>(v)]) << v << " -> " << targets[k];
    }
  }
}

// A grid with streets both ways, some one way or missing, a few parallel
// streets and loops, and weights from 20 up to beyond the cap.
Graph RandomGrid(int w, int h, unsigned seed, int cap) {
  std::mt19937 rng(seed);
  Graph g;
  g.n = w * h;
  auto weight = [&] {
    return rng() % 10 == 0 ? cap / 3 + static_cast<int>(rng() % static_cast<unsigned>(cap)) : 20 + static_cast<int>(rng() % 400);
  };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int v = y * w + x;
      if (x + 1 < w && rng() % 8 != 0) g.Add(v, v + 1, weight());
      if (x + 1 < w && rng() % 8 != 0) g.Add(v + 1, v, weight());
      if (y + 1 < h && rng() % 8 != 0) g.Add(v, v + w, weight());
      if (y + 1 < h && rng() % 8 != 0) g.Add(v + w, v, weight());
      if (rng() % 17 == 0 && x + 1 < w) g.Add(v, v + 1, weight());
      if (rng() % 23 == 0) g.Add(v, v, weight());
      if (rng() % 29 == 0 && v + w + 2 < g.n) g.Add(v, v + w + 2, weight());
    }
  return g;
}

}  // namespace

TEST(RowSweep, DistancesEqualTheReferenceOnGridsWithGapsAndSlowStreets) {
  for (unsigned seed : {1u, 2u, 3u}) {
    const int cap = 3000;
    const Graph g = RandomGrid(9, 7, seed, cap);
    CSimRowSweep sweep;
    Build(sweep, g, cap);
    ASSERT_TRUE(sweep.Ready());
    ExpectAllDistances(sweep, g, cap);
  }
}

TEST(RowSweep, WeightsAndSumsAtTheCapMeanNoWay) {
  // 0 -> 1 -> 2 sums to the cap; 2 -> 3 weighs the cap itself; 3 -> 0 is
  // fine; 4 -> 3 -> 0 sums beyond it; 5 is joined to nothing.
  const int cap = 1000;
  Graph g;
  g.n = 6;
  g.Add(0, 1, 600);
  g.Add(1, 2, 400);
  g.Add(2, 3, cap);
  g.Add(3, 0, 20);
  g.Add(4, 3, 999);
  CSimRowSweep sweep;
  Build(sweep, g, cap);
  std::vector<int32_t> d(6 * CSimRowSweep::kLanes);
  int targets[CSimRowSweep::kLanes];
  std::fill(targets, targets + CSimRowSweep::kLanes, -1);
  targets[0] = 2;
  targets[1] = 0;
  targets[3] = 5;
  sweep.DistancesTo(targets, d.data());
  auto at = [&](int node, int lane) { return d[static_cast<size_t>(sweep.RankOf(node) * CSimRowSweep::kLanes + lane)]; };
  EXPECT_EQ(at(0, 0), cap);
  EXPECT_EQ(at(1, 0), 400);
  EXPECT_EQ(at(3, 0), cap);
  EXPECT_EQ(at(2, 0), 0);
  EXPECT_EQ(at(3, 1), 20);
  EXPECT_EQ(at(4, 1), cap);
  EXPECT_EQ(at(2, 1), cap);
  EXPECT_EQ(at(0, 1), 0);
  EXPECT_EQ(at(5, 3), 0);
  EXPECT_EQ(at(0, 3), cap);
  ExpectAllDistances(sweep, g, cap);
}

TEST(RowSweep, TheOrderIsKeptAndSharedForTheSameStreetsAndMadeAgainForOthers) {
  const int cap = 600020;
  Graph g = RandomGrid(14, 11, 7, cap);
  CSimRowSweep whole;
  Build(whole, g, cap);
  // Another network built since: the next sweep of the first one makes its
  // own order.
  CSimRowSweep elsewhere;
  Build(elsewhere, RandomGrid(5, 4, 9, cap), cap);

  // Each read of this clock advances it 1 ms, so a slice of 2 ms ends
  // after a few crossings.
  ZorManualClock clock;
  clock.SetReadCost(1);
  ZorClock* old = ZorGetClock();
  ZorSetClock(&clock);
  CSimRowSweep sliced;
  sliced.SetGraph(g.n, g.from.data(), g.to.data(), g.Arcs());
  int calls = 1;
  while (!sliced.Build(2)) ++calls;
  ZorSetClock(old);
  EXPECT_GT(calls, 3);
  EXPECT_EQ(sliced.Edges(), whole.Edges());
  for (int r = 0; r < g.n; ++r) ASSERT_EQ(sliced.NodeOf(r), whole.NodeOf(r)) << r;
  sliced.SetWeights(g.weight.data(), cap);
  ExpectAllDistances(sliced, g, cap);

  // A further sweep of the same network takes the order built last.
  // A further sweep of the same network reads the order built last, the
  // same copy and not one of its own.
  CSimRowSweep taken;
  taken.SetGraph(g.n, g.from.data(), g.to.data(), g.Arcs());
  ASSERT_TRUE(taken.Ready());
  EXPECT_TRUE(taken.SharesOrderWith(sliced));
  EXPECT_FALSE(taken.SharesOrderWith(whole));
  EXPECT_FALSE(taken.SharesOrderWith(elsewhere));
  taken.SetWeights(g.weight.data(), cap);
  ExpectAllDistances(taken, g, cap);
  const Graph first = g;

  // The same streets with other weights, some slower, some faster: the
  // order stays and the distances follow the new weights.
  std::mt19937 rng(3);
  for (int& w : g.weight) w = rng() % 2 ? w * 3 : std::max(20, w / 2);
  sliced.SetGraph(g.n, g.from.data(), g.to.data(), g.Arcs());
  EXPECT_TRUE(sliced.Ready());
  sliced.SetWeights(g.weight.data(), cap);
  ExpectAllDistances(sliced, g, cap);

  // One street fewer: the order is made again.
  g.from.pop_back();
  g.to.pop_back();
  g.weight.pop_back();
  sliced.SetGraph(g.n, g.from.data(), g.to.data(), g.Arcs());
  EXPECT_FALSE(sliced.Ready());
  // It lets go of the old order while it builds the new one.
  EXPECT_FALSE(sliced.SharesOrderWith(taken));
  Build(sliced, g, cap);
  ExpectAllDistances(sliced, g, cap);
  // The sweep that reads the shared order still has it whole, and its own
  // weights.
  EXPECT_FALSE(taken.SharesOrderWith(sliced));
  ExpectAllDistances(taken, first, cap);
}
