// The shortest way between two junctions on street grids of 20 x 20 to
// 60 x 60 nodes (the map holds no larger grid of streets with a tile
// between; rows drawn whole, so that the demand model's street ids last),
// from one corner's junction to the farthest one, which makes
// the search settle nearly every junction; and the check that a street can
// go, between the two ends of an inner street. The same run times a plain
// Dijkstra over the same graph, held in arrays built beforehand, as the
// yardstick. Every way found is walked and must cost what the yardstick's
// costs; a wrong one makes the program exit non-zero.
#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>
#include <queue>
#include <unordered_map>
#include <vector>

#include "../../tests/network/way_yardstick.h"
#include "bench_network_scene.h"
#include "framework/qno_log.h"

namespace {

using namespace netbench;

// The graph in index arrays: the yardstick's own copy.
struct Arrays {
  explicit Arrays(CStrJunctionList& net) {
    for (CZorvaObject* o = net.GetHead(); o; o = o->GetNext()) {
      index[static_cast<CStrJunction*>(o)] = static_cast<int>(first.size());
      first.push_back(0);
    }
    std::vector<std::vector<std::pair<int, int>>> out(first.size());
    for (CZorvaObject* o = net.GetHead(); o; o = o->GetNext()) {
      auto* j = static_cast<CStrJunction*>(o);
      for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) {
        CStrStrasse* s = j->GetStreetByNR(i);
        if (s->GetStartJunction() == j && s->GetSimID()) out[index[j]].push_back({index[s->GetEndJunction()], s->GetLaenge()});
        if (s->GetEndJunction() == j && s->GetSimIDSecond())
          out[index[j]].push_back({index[s->GetStartJunction()], s->GetLaenge()});
      }
    }
    first.push_back(0);
    for (size_t v = 0; v < out.size(); ++v) {
      first[v] = static_cast<int>(to.size());
      for (auto [w, l] : out[v]) {
        to.push_back(w);
        length.push_back(l);
      }
    }
    first[out.size()] = static_cast<int>(to.size());
  }
  int Cost(int from, int target) const {
    std::vector<int> dist(first.size() - 1, -1);
    using E = std::pair<int, int>;
    std::priority_queue<E, std::vector<E>, std::greater<E>> open;
    dist[from] = 0;
    open.push({0, from});
    while (!open.empty()) {
      auto [c, v] = open.top();
      open.pop();
      if (c != dist[v]) continue;
      if (v == target) return c;
      for (int e = first[v]; e < first[v + 1]; ++e) {
        const int n = c + length[e];
        if (dist[to[e]] != -1 && dist[to[e]] <= n) continue;
        dist[to[e]] = n;
        open.push({n, to[e]});
      }
    }
    return -1;
  }
  std::unordered_map<CStrJunction*, int> index;
  std::vector<int> first, to, length;
};

double Ms(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
  return std::chrono::duration<double, std::milli>(b - a).count();
}

void BM_ShortestWay(benchmark::State& state) {
  OpenErrorLog("/dev/null");
  const int k = static_cast<int>(state.range(0));
  Network n(k, 127 / (k - 1) >= 2 ? 127 / (k - 1) : 2, GridOrder::kLongRows);
  const int step = n.step;
  CStrJunction* from = n.net->FindJunctionAt(0, static_cast<short>(step));
  CStrJunction* to = n.net->FindJunctionAt(static_cast<short>((k - 1) * step), static_cast<short>((k - 2) * step));
  const waytest::Graph graph(*n.net);
  const Arrays arrays(*n.net);
  if (!from || !to) {
    state.SkipWithError("no corner junctions");
    g_failed = true;
    return;
  }
  const int want = graph.Cost(from, to);
  // Every street of the grid runs both ways under ids of its own.
  long missing = 0;
  for (CZorvaObject* o = n.net->GetHead(); o; o = o->GetNext()) {
    auto* j = static_cast<CStrJunction*>(o);
    for (int i = 0; i < j->GetAnzLinkedStreets(); ++i)
      missing += j->GetStreetByNR(i)->GetSimID() == 0 || j->GetStreetByNR(i)->GetSimIDSecond() == 0;
  }
  if (want < 0 || missing > 0) {
    std::fprintf(stderr, "network_way_bench: %ld street ends without both ids, cost %d\n", missing, want);
    state.SkipWithError("the grid is not joined both ways");
    g_failed = true;
    return;
  }
  std::vector<short> ids(801);
  double waySum = 0, wayMax = 0, refSum = 0;
  for (auto _ : state) {
    int count = 0;
    const auto t0 = std::chrono::steady_clock::now();
    const int r = n.net->GetWayFromJunctionToJunction(from, to, ids.data(), &count, static_cast<int>(ids.size()));
    const auto t1 = std::chrono::steady_clock::now();
    const int ref = arrays.Cost(arrays.index.at(from), arrays.index.at(to));
    const auto t2 = std::chrono::steady_clock::now();
    if (r != 0 || graph.Replay(from, to, ids.data(), count) != want || ref != want) {
      state.SkipWithError("wrong way");
      g_failed = true;
      break;
    }
    const double w = Ms(t0, t1);
    waySum += w;
    wayMax = std::max(wayMax, w);
    refSum += Ms(t1, t2);
    state.SetIterationTime(w / 1000.0);
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["junctions"] = static_cast<double>(n.net->GetNumber());
  state.counters["way_ms"] = waySum / runs;
  state.counters["way_max_ms"] = wayMax;
  state.counters["yardstick_ms"] = refSum / runs;
  state.counters["ratio"] = refSum > 0 ? waySum / refSum : 0;
  state.counters["cost"] = want;
}
BENCHMARK(BM_ShortestWay)->Arg(20)->Arg(40)->Arg(60)->UseManualTime()->Unit(benchmark::kMillisecond);

// The check a deletion makes: an inner street of the grid, whose ends the
// rest of the grid still joins.
void BM_CheckForWay(benchmark::State& state) {
  OpenErrorLog("/dev/null");
  const int k = static_cast<int>(state.range(0));
  Network n(k, 127 / (k - 1) >= 2 ? 127 / (k - 1) : 2, GridOrder::kLongRows);
  CStrStrasse* s = n.StreetAt(k / 2, k / 2);
  double sum = 0, max = 0;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    const int r = s ? n.net->CheckForWayFromJunctionToJunction(s->GetStartJunction(), s->GetEndJunction(), s) : -1;
    const auto t1 = std::chrono::steady_clock::now();
    if (r != 0) {
      state.SkipWithError("no way round an inner street");
      g_failed = true;
      break;
    }
    sum += Ms(t0, t1);
    max = std::max(max, Ms(t0, t1));
    state.SetIterationTime(Ms(t0, t1) / 1000.0);
  }
  state.counters["check_ms"] = sum / static_cast<double>(state.iterations());
  state.counters["check_max_ms"] = max;
}
BENCHMARK(BM_CheckForWay)->Arg(60)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return g_failed ? 1 : 0;
}
