// The per-turn evaluation of counted cars (`BerechneISOAuslastung`) on
// street grids of 250 / 1000 / 2000 / 4000 junctions, timed against a
// same-run yardstick: a walk over the same junctions' street arrays that
// only reads each street's id. Two cases: no street counted anything (the
// streets outside the view, the usual turn) and every street counted one
// tile (worst case). The evaluated values are checked; a wrong one makes
// the program exit non-zero.
#include "../bench_clock.h"
#include <benchmark/benchmark.h>

#include <ctime>
#include <vector>

#include "bench_network_scene.h"
#include "framework/qno_log.h"
#include "network/str_junction.h"

namespace {

using namespace netbench;

// Every entry of every junction's street array, as the pass walks them.
long Walk(CStrJunctionList& list) {
  long sum = 0;
  for (CZorvaObject* o = list.GetHead(); o; o = o->GetNext()) {
    auto* j = static_cast<CStrJunction*>(o);
    for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) sum += j->GetStreetByNR(i)->GetSimID();
  }
  return sum;
}

// The thread's CPU time in microseconds.
double CpuUs() { return ThreadCpuMs() * 1e3; }

void BM_BerechneISOAuslastung(benchmark::State& state) {
  OpenErrorLog("/dev/null");
  const int k = static_cast<int>(state.range(0));
  const bool counted = state.range(1) != 0;
  Network n(k, 127 / (k - 1) >= 2 ? 127 / (k - 1) : 2);
  if (g_failed) {
    state.SkipWithError("the grid was not built whole");
    return;
  }
  std::vector<CStrStrasse*> streets;
  long entries = 0;
  for (CZorvaObject* o = n.net->GetHead(); o; o = o->GetNext()) {
    auto* j = static_cast<CStrJunction*>(o);
    entries += j->GetAnzLinkedStreets();
    for (int i = 0; i < j->GetAnzLinkedStreets(); ++i)
      if (j->GetStreetByNR(i)->GetStartJunction() == j) streets.push_back(j->GetStreetByNR(i));
  }
  double passSum = 0.0, walkSum = 0.0;
  long sink = 0;
  for (auto _ : state) {
    // No flow on the grid: two cars at one count ask for 1.2 x 2 x 0.5 =
    // 1.2 cars forward (1, or 2 by the chance of the dropped 0.2) and
    // 2 x 0.5 = 1 car backward.
    if (counted)
      for (CStrStrasse* s : streets) s->FuegeMesspunktHinzu(2, 2);
    const double t0 = CpuUs();
    n.net->BerechneISOAuslastung();
    const double t1 = CpuUs();
    sink += Walk(*n.net);
    const double t2 = CpuUs();
    const double pass = t1 - t0;
    passSum += pass;
    walkSum += t2 - t1;
    state.SetIterationTime(pass / 1e6);
    CStrStrasse* probe = streets[streets.size() / 2];
    const int surplus = probe->GetUeberschuss();
    if (probe->GetMesspunkte() != 0 ||
        (counted && (surplus < 1 || surplus > 2 || probe->GetRate() != 1000 * surplus ||
                     probe->GetUeberschussSecond() != 1 || probe->GetRateSecond() != 1000))) {
      g_failed = true;
      state.SkipWithError("wrong evaluation");
      break;
    }
  }
  benchmark::DoNotOptimize(sink);
  const double runs = static_cast<double>(state.iterations());
  state.counters["streets"] = static_cast<double>(streets.size());
  state.counters["pass_us"] = passSum / runs;
  state.counters["walk_us"] = walkSum / runs;
  state.counters["ns_per_street"] = passSum * 1000.0 / runs / static_cast<double>(streets.size());
  state.counters["ratio_to_walk"] = walkSum > 0 ? passSum / walkSum : 0.0;
  state.counters["entries"] = static_cast<double>(entries);
}
BENCHMARK(BM_BerechneISOAuslastung)
    ->ArgsProduct({{16, 32, 45, 52}, {0, 1}})
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return g_failed ? 1 : 0;
}
