// Editing a street network of 250 / 1000 / 2000 / 4000 junctions: a grid
// of streets built with the street tool's operation fills the map, then
// one inner street is deleted (its two crossings become T junctions) and
// built again (they become crossings again), each edit timed alone.
// Every edit is checked: a wrong result code or junction count fails the
// configuration and makes the program exit non-zero.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>

#include "bench_network_scene.h"
#include "framework/qno_log.h"
#include "iso/iso_welt.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "network/street_objects.h"

namespace {

using namespace netbench;

void BM_DeleteAndBuildStreet(benchmark::State& state) {
  OpenErrorLog("/dev/null");
  const int k = static_cast<int>(state.range(0));
  // Rows drawn whole: a 64 x 64 grid built cell by cell runs out of the
  // demand model's street ids before it is complete.
  Network n(k, 127 / (k - 1) >= 2 ? 127 / (k - 1) : 2, GridOrder::kLongRows);
  const int mid = k / 2;
  const int junctions = static_cast<int>(n.net->GetNumber());
  double deleteMax = 0.0, buildMax = 0.0, deleteSum = 0.0, buildSum = 0.0;
  for (auto _ : state) {
    CStrStrasse* s = n.StreetAt(mid, mid);
    const auto t0 = std::chrono::steady_clock::now();
    const int deleted = s ? n.net->DeleteStreet(s) : -1;
    const auto t1 = std::chrono::steady_clock::now();
    const int built = n.Build(mid, mid, mid + 1, mid);
    const auto t2 = std::chrono::steady_clock::now();
    Network::Expect(deleted, 0);
    Network::Expect(built, STR_BUILD_OK);
    Network::Expect(static_cast<int>(n.net->GetNumber()), junctions);
    const double d = std::chrono::duration<double, std::milli>(t1 - t0).count();
    const double b = std::chrono::duration<double, std::milli>(t2 - t1).count();
    deleteSum += d;
    buildSum += b;
    deleteMax = std::max(deleteMax, d);
    buildMax = std::max(buildMax, b);
    state.SetIterationTime((d + b) / 1000.0);
    if (g_failed) {
      state.SkipWithError("wrong edit result");
      break;
    }
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["junctions"] = junctions;
  state.counters["delete_ms"] = deleteSum / runs;
  state.counters["build_ms"] = buildSum / runs;
  state.counters["delete_max_ms"] = deleteMax;
  state.counters["build_max_ms"] = buildMax;
}
BENCHMARK(BM_DeleteAndBuildStreet)->Arg(16)->Arg(32)->Arg(45)->Arg(64)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return g_failed ? 1 : 0;
}
