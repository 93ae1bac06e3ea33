// Rebuilding the public-transport route matrix over synthetic towns of 200,
// 1,000 and 3,000 line stops, and beside it Boost's Dijkstra from every line
// stop over the same links as the same-run yardstick and the reference for
// every route cost.
#include "../bench_clock.h"
#include <benchmark/benchmark.h>

#include <algorithm>
#include <boost/graph/adjacency_list.hpp>
#include <boost/graph/dijkstra_shortest_paths.hpp>
#include <cstdio>
#include <deque>
#include <limits>
#include <vector>

#include "sim/sim_bus_matrix.h"
#include "sim/sim_line_data.h"

namespace {

bool g_failed = false;

class BenchLines : public CSimLineDataSource {
 public:
  void SimSetupLineDataCount() override { m_cursor = 0; }
  LineDataType* SimGetNextLineData() override { return m_cursor < lines.size() ? &lines[m_cursor++] : nullptr; }
  std::deque<LineDataType> lines;

 private:
  size_t m_cursor = 0;
};

// A town of stops on a square grid; lines of 20 to 40 stops run in straight
// stretches that turn now and then, so lines cross and share stops.
void MakeTown(BenchLines& town, int lineStops) {
  const int side = 40;
  unsigned x = 91;
  auto next = [&x]() { return (x = x * 1103515245u + 12345u) >> 8; };
  int total = 0;
  int16_t number = 1;
  while (total < lineStops) {
    LineDataType& d = town.lines.emplace_back();
    d.Reset(LineDataType::kNetBus);
    d.lineNumber = number++;
    d.headway = 5 + static_cast<int32_t>(next() % 16);
    d.active = 1;
    const int want = std::min(20 + static_cast<int>(next() % 21), lineStops - total);
    int cx = static_cast<int>(next() % side), cy = static_cast<int>(next() % side);
    int dir = static_cast<int>(next() % 4);
    std::vector<int> seen;
    int m = 0;
    for (int tries = 0; m < want && tries < 400; ++tries) {
      const int id = cy * side + cx + 1;
      if (std::find(seen.begin(), seen.end(), id) == seen.end()) {
        seen.push_back(id);
        d.stopIds[m] = static_cast<int16_t>(id);
        d.times[m] = m == 0 ? 30 : 60 + static_cast<int32_t>(next() % 120);
        d.distances[m] = m == 0 ? 1 : 300 + static_cast<int32_t>(next() % 400);
        ++m;
      }
      if (next() % 6 == 0) dir = static_cast<int>(next() % 4);
      const int dx[] = {1, 0, -1, 0}, dy[] = {0, 1, 0, -1};
      if (cx + dx[dir] < 0 || cx + dx[dir] >= side || cy + dy[dir] < 0 || cy + dy[dir] >= side) dir = (dir + 1) % 4;
      cx = std::clamp(cx + dx[dir], 0, side - 1);
      cy = std::clamp(cy + dy[dir], 0, side - 1);
    }
    d.stopsOneWay = static_cast<uint16_t>(m);
    d.stopEntries = static_cast<uint16_t>(2 * m);
    total += m;
  }
}

using Graph = boost::adjacency_list<boost::vecS, boost::vecS, boost::directedS, boost::no_property,
                                    boost::property<boost::edge_weight_t, int>>;

// The links as the rules give them, built apart from the matrix: rides both
// ways along a line, and at a shared stop the headway of the line boarded.
Graph ReferenceGraph(BenchLines& town) {
  std::vector<std::pair<int, int>> stops;  // real stop, headway in seconds
  std::vector<std::tuple<int, int, int>> edges;
  for (const LineDataType& d : town.lines) {
    for (int s = 0; s < d.stopsOneWay; ++s) {
      const int n = static_cast<int>(stops.size());
      stops.emplace_back(d.stopIds[s], d.headway * 60);
      if (s > 0) {
        edges.emplace_back(n - 1, n, d.times[s]);
        edges.emplace_back(n, n - 1, d.times[s]);
      }
    }
  }
  std::vector<std::vector<int>> byStop(4096);
  for (int i = 0; i < static_cast<int>(stops.size()); ++i) byStop[stops[i].first].push_back(i);
  for (const auto& same : byStop)
    for (int a : same)
      for (int b : same)
        if (a != b) edges.emplace_back(a, b, stops[b].second);
  Graph g(stops.size());
  for (auto [a, b, w] : edges) boost::add_edge(a, b, w, g);
  return g;
}

long Mismatches(const Graph& g, const CBusNetMatrix& m) {
  const int n = m.NrOfMatrixStops();
  std::vector<int> dist(n);
  long bad = 0;
  for (int i = 0; i < n; ++i) {
    boost::dijkstra_shortest_paths(g, i, boost::distance_map(dist.data()));
    for (int j = 0; j < n; ++j) {
      const int want = dist[j] >= CBusNetMatrix::kNoConnection ? CBusNetMatrix::kNoConnection : dist[j];
      if (m.Entry(i, j).cost != want) ++bad;
    }
  }
  return bad;
}

double BoostAllSourcesMs(const Graph& g, int n) {
  std::vector<int> dist(n);
  double runs[3];
  for (double& ms : runs) {
    const double t0 = ThreadCpuMs();
    for (int i = 0; i < n; ++i) {
      boost::dijkstra_shortest_paths(g, i, boost::distance_map(dist.data()));
      benchmark::DoNotOptimize(dist.data());
    }
    ms = ThreadCpuMs() - t0;
  }
  std::sort(runs, runs + 3);
  return runs[1];
}

void BM_BusMatrixRebuild(benchmark::State& state) {
  const int lineStops = static_cast<int>(state.range(0));
  BenchLines town;
  MakeTown(town, lineStops);
  CBusNetMatrix matrix(&town);
  double cpu = 0.0, longestSlice = 0.0, longestSetup = 0.0;
  long slices = 0;
  for (auto _ : state) {
    const double t0 = ThreadCpuMs();
    matrix.SetupMatrix();
    longestSetup = std::max(longestSetup, ThreadCpuMs() - t0);
    for (bool more = true; more;) {
      const double s0 = ThreadCpuMs();
      // The slot's slices: 30 line stops, or 6 ms.
      more = matrix.CalcBusNetMatrix(30, 6);
      longestSlice = std::max(longestSlice, ThreadCpuMs() - s0);
      ++slices;
    }
    cpu += ThreadCpuMs() - t0;
  }
  const int n = matrix.NrOfMatrixStops();
  const Graph g = ReferenceGraph(town);
  const long bad = Mismatches(g, matrix);
  const double rebuildMs = cpu / static_cast<double>(state.iterations());
  const double boostMs = BoostAllSourcesMs(g, n);
  state.counters["line_stops"] = n;
  state.counters["lines"] = matrix.NrOfLines();
  state.counters["transfer_stops"] = matrix.NrOfTransferStops();
  state.counters["rebuild_cpu_ms"] = rebuildMs;
  state.counters["boost_ms"] = boostMs;
  state.counters["ratio"] = boostMs > 0.0 ? rebuildMs / boostMs : 0.0;
  state.counters["longest_slice_ms"] = longestSlice;
  state.counters["longest_setup_ms"] = longestSetup;
  state.counters["slices"] = static_cast<double>(slices) / static_cast<double>(state.iterations());
  state.counters["bytes_per_pair"] = static_cast<double>(matrix.MatrixBytes()) / (static_cast<double>(n) * n);
  state.counters["cost_mismatches"] = static_cast<double>(bad);
  if (bad != 0 || n != lineStops) {
    g_failed = true;
    state.SkipWithError("route costs differ from the Boost reference, or the town is not of its size");
  }
}

// A headway change against the full rebuild, in the same run: the headway
// of one line goes up and down, and the matrix takes it with
// UpdateHeadways, searching its rows again in the slot's slices where the
// line meets others; the full rebuild of the same town is timed beside it.
// With the second argument 1 the changed line is one of 20 stops of its own
// that meets no other line.
void BM_BusMatrixHeadwayUpdate(benchmark::State& state) {
  const int lineStops = static_cast<int>(state.range(0));
  const bool alone = state.range(1) == 1;
  BenchLines town;
  MakeTown(town, lineStops - (alone ? 20 : 0));
  if (alone) {
    LineDataType& d = town.lines.emplace_back();
    d.Reset(LineDataType::kNetBus);
    d.lineNumber = static_cast<int16_t>(town.lines.size());
    d.headway = 10;
    d.active = 1;
    for (int m = 0; m < 20; ++m) {
      d.stopIds[m] = static_cast<int16_t>(2001 + m);
      d.times[m] = m == 0 ? 30 : 90;
      d.distances[m] = m == 0 ? 1 : 500;
    }
    d.stopsOneWay = 20;
    d.stopEntries = 40;
  }
  CBusNetMatrix matrix(&town);
  auto close = [&matrix](double& longest) {
    for (bool more = true; more;) {
      const double s0 = ThreadCpuMs();
      more = matrix.CalcBusNetMatrix(30, 6);
      longest = std::max(longest, ThreadCpuMs() - s0);
    }
  };
  double longestSlice = 0.0, rebuild[3], update = 0.0;
  for (double& ms : rebuild) {
    const double t0 = ThreadCpuMs();
    matrix.SetupMatrix();
    close(longestSlice);
    ms = ThreadCpuMs() - t0;
  }
  std::sort(rebuild, rebuild + 3);
  LineDataType& changed = alone ? town.lines.back() : town.lines.front();
  const int32_t headway = changed.headway;
  bool updated = true;
  for (auto _ : state) {
    changed.headway = changed.headway == headway ? headway + 7 : headway;
    const double t0 = ThreadCpuMs();
    updated = matrix.UpdateHeadways() && updated;
    close(longestSlice);
    update += ThreadCpuMs() - t0;
  }
  const long bad = Mismatches(ReferenceGraph(town), matrix);
  const double updateMs = update / static_cast<double>(state.iterations());
  state.counters["line_stops"] = matrix.NrOfMatrixStops();
  state.counters["rebuild_cpu_ms"] = rebuild[1];
  state.counters["update_cpu_ms"] = updateMs;
  state.counters["update_over_rebuild"] = rebuild[1] > 0.0 ? updateMs / rebuild[1] : 0.0;
  state.counters["longest_slice_ms"] = longestSlice;
  state.counters["cost_mismatches"] = static_cast<double>(bad);
  if (bad != 0 || !updated) {
    g_failed = true;
    state.SkipWithError("the updated matrix differs from the reference, or the update asked for a setup");
  }
}

}  // namespace

BENCHMARK(BM_BusMatrixHeadwayUpdate)->Args({1000, 0})->Args({1000, 1})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BusMatrixRebuild)->Arg(200)->Arg(1000)->Arg(3000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (g_failed) std::fprintf(stderr, "sim_bus_bench: a configuration computed wrong route costs\n");
  return g_failed ? 1 : 0;
}
