// One simulated hour (routing and assignment) on synthetic grid cities,
// and beside it the all-pairs shortest paths of the same graph computed
// with the Boost Graph Library as the reference for the route costs.
#include "../bench_clock.h"
#include "bench_grid.h"
#include <benchmark/benchmark.h>

#include <algorithm>
#include <boost/graph/adjacency_list.hpp>
#include <boost/graph/dijkstra_shortest_paths.hpp>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <limits>
#include <memory>
#include <vector>

#include "../../tests/sim/sim_work_dir.h"
#include "framework/zor_seams.h"
#include "sim/sim_error.h"
#include "sim/sim_traffic_slot.h"
#include "sim/sim_trip.h"
#include "sim/sim_welt.h"
#include "sim/sim_world_links.h"

namespace {

// Set when a configuration computed a wrong result; main then fails.
bool g_failed = false;

// Resets the process's resident high-water mark, so that the next reading
// is the peak of this configuration alone and not of an earlier one.
void ResetPeakRss() {
  if (FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
    std::fputs("5", f);
    std::fclose(f);
  }
}

double CpuMs() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}


double WallMs() {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

struct TripSpec {
  short from, to;
  unsigned size;
};

class BenchCity : public CSimCityModell {
 public:
  bool Create(CSimLocationFactory*, CSimWelt*) override { return true; }
  void Destroy() override {}
  bool StartNextIntervall(const CSimDate&) override { return true; }
  CSimTrip* Trips(int) override {
    CSimTrip* head = nullptr;
    for (const TripSpec& s : trips) {
      auto* t = new CSimTrip;
      t->SetCrossings(s.from, s.to);
      t->SetSize(s.size);
      t->SetTransportationMode(SIM_MODE_CAR);
      t->SetNextPtr(head);
      head = t;
    }
    return head;
  }
  void CalculateTripStats(CSimTrafficSlot*) override {}
  void CalculateParkingData() override {}
  bool RegisterLocation(CSimLocation*, short) override { return true; }
  bool RemoveLocation(CSimLocation*) override { return true; }
  CSimDistrict* pDistrict(short) override { return nullptr; }
  bool Save(FILE*) override { return true; }
  bool Load(FILE*) override { return true; }
  std::vector<TripSpec> trips;
};

class BenchParts : public CSimWeltParts {
 public:
  CSimCityModell* NewCityModell() override { return new BenchCity; }
  CBusNetMatrix* NewBusNetMatrix() override { return nullptr; }
  CCyberNet* NewCyberNet() override { return reinterpret_cast<CCyberNet*>(this); }
  bool ReadCyberNet(CCyberNet*, FILE*) override { return true; }
  void DeleteCyberNet(CCyberNet*) override {}
  const char* CyberNetDefinition() override { return ""; }
  bool TakeBusNetChanged() override { return false; }
};

void GridSize(int crossings, int& w, int& h) {
  switch (crossings) {
    case 100: w = 10, h = 10; break;
    case 300: w = 20, h = 15; break;
    case 1000: w = 40, h = 25; break;
    default: w = 50, h = 40; break;
  }
}

// A grid city: streets in both directions with lengths of 150..550 m, and
// trips of 1..20 vehicles between random crossings.
std::unique_ptr<CSimWelt> MakeCity(BenchParts& parts, int crossings, int trips) {
  auto w = std::make_unique<CSimWelt>(&parts);
  if (!simtest::InSimWorkDir([&] { return w->Create(nullptr); })) g_failed = true;
  int gw, gh;
  GridSize(crossings, gw, gh);
  unsigned x = 77;
  AddGridStreets(*w, gw, gh, x);
  auto next = [&x]() { return NextGridRandom(x); };
  auto* city = static_cast<BenchCity*>(w->pCityModell());
  for (int i = 0; i < trips; ++i)
    city->trips.push_back({static_cast<short>(1 + next() % (gw * gh)), static_cast<short>(1 + next() % (gw * gh)),
                           1 + static_cast<unsigned>(next() % 20)});
  return w;
}

// The active slot's streets as a Boost graph weighted with the slot's final
// travel times plus the crossing penalty.
using Graph = boost::adjacency_list<boost::vecS, boost::vecS, boost::directedS, boost::no_property,
                                    boost::property<boost::edge_weight_t, int>>;

Graph ReferenceGraph(const CSimRoutingMatrix& r) {
  Graph g(r.N());
  for (int e = 0; e < r.NrOfStreets(); ++e) {
    CSimStreet* s = r.Street(e);
    boost::add_edge(s->pStartCrossing()->MatrixIndex(), s->pEndCrossing()->MatrixIndex(),
                    s->TravelTime() + CSimRoutingMatrix::kCrossingPenalty, g);
  }
  return g;
}

// Costs of every pair, in the matrix's convention; returns the mismatches.
long CompareWithReference(const Graph& g, const CSimRoutingMatrix& r, std::vector<int>& dist) {
  long mismatches = 0;
  const int n = r.N();
  for (int i = 0; i < n; ++i) {
    boost::dijkstra_shortest_paths(g, i, boost::distance_map(dist.data()));
    for (int j = 0; j < n; ++j) {
      int cost = i == j ? 0 : dist[j] - CSimRoutingMatrix::kCrossingPenalty;
      if (i != j && (dist[j] == std::numeric_limits<int>::max() || cost >= Route::kNoRoute)) cost = Route::kNoRoute;
      if (r.Entry(i, j)->cost != cost) ++mismatches;
    }
  }
  return mismatches;
}

// CPU time of one all-pairs Dijkstra with Boost, the median of three.
double BoostAllPairsMs(const Graph& g, int n) {
  std::vector<int> dist(n);
  double runs[3];
  for (double& ms : runs) {
    const double t0 = CpuMs();
    for (int i = 0; i < n; ++i) {
      boost::dijkstra_shortest_paths(g, i, boost::distance_map(dist.data()));
      benchmark::DoNotOptimize(dist.data());
    }
    ms = CpuMs() - t0;
  }
  std::sort(runs, runs + 3);
  return runs[1];
}

// A fingerprint of the hour's street flows (low 32 bits, exact in a double).
double FlowPrint(const CSimRoutingMatrix& r) {
  uint64_t h = 1469598103934665603ull;
  for (int e = 0; e < r.NrOfStreets(); ++e) {
    h = (h ^ static_cast<uint64_t>(r.Street(e)->CarFlow())) * 1099511628211ull;
    h = (h ^ static_cast<uint64_t>(r.Street(e)->ID())) * 1099511628211ull;
  }
  return static_cast<double>(h & 0xffffffffu);
}

// A fingerprint of the hour's result: its flows and every route of the
// matrix (cost, length and first street).
uint64_t HourPrint(const CSimRoutingMatrix& r) {
  uint64_t h = static_cast<uint64_t>(FlowPrint(r));
  for (int to = 0; to < r.N(); ++to)
    for (int from = 0; from < r.N(); ++from) {
      const Route* e = r.Entry(from, to);
      for (int v : {e->cost, e->length, e->firstStreet}) h = (h ^ static_cast<uint32_t>(v)) * 1099511628211ull;
    }
  return h;
}

// One simulated hour per iteration. Besides the wall time of the whole
// hour it reports the hour's CPU time, the longest single Computate call
// (wall time, which other processes on the core stretch, and CPU time),
// the CPU time and longest call of the world's first hour,
// the configuration's own peak resident memory and, measured in the same
// run on the same graph, Boost's all-pairs Dijkstra and the ratio of the
// two. A route cost that differs from Boost's is an error, and so are
// first-hour flows or routes that differ from the last hour's.
void BM_SimulatedHour(benchmark::State& state) {
  const int crossings = static_cast<int>(state.range(0));
  const int trips = static_cast<int>(state.range(1));
  ResetPeakRss();
  BenchParts parts;
  auto world = MakeCity(parts, crossings, trips);
  long calls = 0;
  double cpu = 0.0, longest = 0.0, longestCpu = 0.0;
  // The world's first hour, which meets the network's matrix, search
  // state and elimination order for the first time.
  double firstHourCpu = -1.0, firstHourLongestCpu = 0.0;
  uint64_t firstHourPrint = 0;
  for (auto _ : state) {
    const double c0 = CpuMs();
    world->StartNextIntervall(false);
    const bool first = firstHourCpu < 0.0;
    for (;;) {
      const double t0 = WallMs(), c1 = ThreadCpuMs();
      const int st = world->Computate(0);
      const double callCpu = ThreadCpuMs() - c1;
      longest = std::max(longest, WallMs() - t0);
      longestCpu = std::max(longestCpu, callCpu);
      if (first) firstHourLongestCpu = std::max(firstHourLongestCpu, callCpu);
      ++calls;
      if (st == 0) break;
    }
    world->ActivateCalculatedSlot();
    cpu += CpuMs() - c0;
    if (first) {
      firstHourCpu = CpuMs() - c0;
      firstHourPrint = HourPrint(world->ActiveSlot()->Routing());
    }
  }
  const double peakMb = PeakRssKb() / 1024.0;
  // The first hour is held to a later one: a run of one hour computes a
  // second, untimed.
  if (state.iterations() == 1) {
    world->StartNextIntervall(false);
    while (world->Computate(0) != 0) {
    }
    world->ActivateCalculatedSlot();
  }
  const CSimRoutingMatrix& r = world->ActiveSlot()->Routing();
  const Graph g = ReferenceGraph(r);
  std::vector<int> dist(r.N());
  const long mismatches = CompareWithReference(g, r, dist);
  const double hourMs = cpu / static_cast<double>(state.iterations());
  const double boostMs = BoostAllPairsMs(g, r.N());
  state.counters["hour_cpu_ms"] = hourMs;
  state.counters["boost_ms"] = boostMs;
  state.counters["ratio"] = boostMs > 0.0 ? hourMs / boostMs : 0.0;
  state.counters["longest_call_ms"] = longest;
  state.counters["longest_call_cpu_ms"] = longestCpu;
  state.counters["first_hour_cpu_ms"] = firstHourCpu;
  state.counters["first_hour_longest_call_cpu_ms"] = firstHourLongestCpu;
  state.counters["computate_calls"] = static_cast<double>(calls) / static_cast<double>(state.iterations());
  state.counters["peak_rss_MB"] = peakMb;
  state.counters["route_bytes_per_pair"] = static_cast<double>(r.MatrixBytes()) / (double(r.N()) * r.N());
  state.counters["cost_mismatches"] = static_cast<double>(mismatches);
  state.counters["flow_print"] = FlowPrint(r);
  if (mismatches != 0) {
    g_failed = true;
    state.SkipWithError("route costs differ from the Boost all-pairs reference");
  } else if (firstHourPrint != HourPrint(r)) {
    // Every hour loads the same trips onto the same streets: the first,
    // whatever it set up or spread over its slices, ends as the last.
    g_failed = true;
    state.SkipWithError("the first hour's flows or routes differ from the last hour's");
  }
}

void Sizes(benchmark::internal::Benchmark* b) {
  for (int n : {100, 300, 1000, 2000})
    for (int t : {1000, 5000, 20000}) b->Args({n, t});
}

}  // namespace

BENCHMARK(BM_SimulatedHour)->Apply(Sizes)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  SimCloseErrorLog();
  if (g_failed) std::fprintf(stderr, "sim_bench: a configuration computed wrong routes or flows\n");
  return g_failed ? 1 : 0;
}
