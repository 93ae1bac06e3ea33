// The street tools' join marking on a full 128 x 128 map, and one removal
// with the removal tool, on a grid of streets that covers the whole map.
//
// Yardsticks in the same run: for the marking, one pass over every tile
// that reads the tile's ground type and object (the least any marking
// does); for the removal, the street network's own removal and rebuild of
// the same street without the interface around it. Every run is checked:
// the marking must give the same codes and arrows each time, and a removal
// must take its street out and book its price; otherwise the program exits
// non-zero.
#include "../bench_clock.h"
#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <cstdio>

#include "../network/bench_network_scene.h"
#include "framework/qno_log.h"
#include "framework/qno_resource.h"
#include "measures/preise.h"
#include "network/rail_junction_list.h"
#include "ui/user_int.h"
#include "worldbase/zor_world_host.h"

namespace {

using namespace netbench;

class BookingHost : public CWorldHost {
 public:
  BookingHost() { CWorldHost::Install(this); }
  ~BookingHost() override { CWorldHost::Install(nullptr); }
  double GetPreis(int entry, int cls) override { return CPreise::GetPreis(entry, cls); }
  void VarAddValue(const char*, double value) override { booked += value; }
  double booked = 0;
};

class BenchUi : public CUserInt {
 public:
  void SetAchtungWindow(int id) override { warning = id; }
  using CUserInt::CheckSelStreet;
  using CUserInt::DeleteStreet;
  int warning = 0;
};

// A grid of 22 x 22 nodes 6 cells apart over the whole map, with an empty
// rail network beside it.
struct Town {
  Town() : n(22, 6, GridOrder::kLongRows, GameData()) {
    delete CPreise::SetPreise();
    rails = std::make_unique<CStrSchJuncList>(n.map.get(), n.sim.get());
    rails->Create();
    n.net->SetRailNet(rails.get());
    Network::Expect(ui.OnCreate(nullptr, nullptr, nullptr, n.map.get(), n.net.get()), 0);
  }
  ~Town() {
    n.net->SetRailNet(nullptr);
    rails->Destroy();
  }
  Network n;
  std::unique_ptr<CStrSchJuncList> rails;
  BookingHost booking;
  BenchUi ui;
};

// Codes and arrows of the marking, as one fingerprint.
uint64_t Fingerprint(CUserInt& ui, int* joinable) {
  uint64_t h = 1469598103934665603ull;
  *joinable = 0;
  for (int x = 0; x < 128; ++x)
    for (int y = 0; y < 128; ++y) {
      h = (h ^ ui.GetTileMask(x, y)) * 1099511628211ull;
      h = (h ^ ui.GetTileMask2(x, y)) * 1099511628211ull;
      *joinable += ui.GetTileMask(x, y) == 1;
    }
  return h;
}

double Ms(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
  return std::chrono::duration<double, std::milli>(b - a).count();
}


void BM_JoinMarkingFullMap(benchmark::State& state) {
  OpenErrorLog("/dev/null");
  Town t;
  const int type = static_cast<int>(state.range(0));
  CUserInt::selObj.subtool = type;
  t.ui.CheckSelStreet(0, 0);
  int joinable = 0;
  const uint64_t print = Fingerprint(t.ui, &joinable);
  if (joinable <= 1000) std::fprintf(stderr, "joinable tiles: %d\n", joinable);
  Network::Expect(joinable > 1000, 1);
  double markSum = 0, yardSum = 0, markCpu = 0, yardCpu = 0;
  long sink = 0;
  for (auto _ : state) {
    const double c0 = ThreadCpuMs();
    const auto t0 = std::chrono::steady_clock::now();
    for (int x = 0; x < 128; ++x)
      for (int y = 0; y < 128; ++y)
        sink += t.n.map->GetTypeAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), ISO_LAYER_GROUND) +
                (t.n.map->GetIsoTileObject(x, y, ISO_LAYER_GROUND) != nullptr);
    const auto t1 = std::chrono::steady_clock::now();
    const double c1 = ThreadCpuMs();
    t.ui.CheckSelStreet(0, 0);
    const auto t2 = std::chrono::steady_clock::now();
    const double c2 = ThreadCpuMs();
    yardCpu += c1 - c0;
    markCpu += c2 - c1;
    int again = 0;
    Network::Expect(Fingerprint(t.ui, &again) == print, 1);
    yardSum += Ms(t0, t1);
    markSum += Ms(t1, t2);
    state.SetIterationTime(Ms(t1, t2) / 1000.0);
    if (g_failed) {
      state.SkipWithError("the marking changed between runs");
      break;
    }
  }
  benchmark::DoNotOptimize(sink);
  const double runs = static_cast<double>(state.iterations());
  state.counters["joinable_tiles"] = joinable;
  state.counters["marking_ms"] = markSum / runs;
  state.counters["yardstick_ms"] = yardSum / runs;
  state.counters["ratio"] = yardSum > 0 ? markSum / yardSum : 0.0;
  state.counters["marking_cpu_ms"] = markCpu / runs;
  state.counters["yardstick_cpu_ms"] = yardCpu / runs;
  state.counters["cpu_ratio"] = yardCpu > 0 ? markCpu / yardCpu : 0.0;
}
BENCHMARK(BM_JoinMarkingFullMap)->Arg(STRASSE_2)->Arg(STRASSE_VIERSPURIG)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_RemoveStreet(benchmark::State& state) {
  OpenErrorLog("/dev/null");
  Town t;
  const int mid = 10;
  const int junctions = static_cast<int>(t.n.net->GetNumber());
  double removeSum = 0, yardSum = 0, removeCpu = 0, yardCpu = 0;
  for (auto _ : state) {
    // The yardstick: the network alone removes and rebuilds the street.
    CStrStrasse* s = t.n.StreetAt(mid, mid);
    double c0 = ThreadCpuMs();
    auto t0 = std::chrono::steady_clock::now();
    Network::Expect(s ? t.n.net->DeleteStreet(s) : -1, 0);
    auto t1 = std::chrono::steady_clock::now();
    yardCpu += ThreadCpuMs() - c0;
    Network::Expect(t.n.Build(mid, mid, mid + 1, mid), STR_BUILD_OK);
    yardSum += Ms(t0, t1);
    // The removal tool on the street's middle tile.
    const double booked = t.booking.booked;
    c0 = ThreadCpuMs();
    t0 = std::chrono::steady_clock::now();
    t.ui.DeleteStreet(mid * 6 + 3, mid * 6);
    t1 = std::chrono::steady_clock::now();
    removeCpu += ThreadCpuMs() - c0;
    Network::Expect(t.ui.warning, 0);
    Network::Expect(t.n.StreetAt(mid, mid) == nullptr, 1);
    Network::Expect(t.booking.booked > booked, 1);
    Network::Expect(t.n.Build(mid, mid, mid + 1, mid), STR_BUILD_OK);
    Network::Expect(static_cast<int>(t.n.net->GetNumber()), junctions);
    removeSum += Ms(t0, t1);
    state.SetIterationTime(Ms(t0, t1) / 1000.0);
    if (g_failed) {
      state.SkipWithError("wrong removal result");
      break;
    }
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["junctions"] = junctions;
  state.counters["removal_ms"] = removeSum / runs;
  state.counters["yardstick_ms"] = yardSum / runs;
  state.counters["ratio"] = yardSum > 0 ? removeSum / yardSum : 0.0;
  state.counters["removal_cpu_ms"] = removeCpu / runs;
  state.counters["yardstick_cpu_ms"] = yardCpu / runs;
  state.counters["cpu_ratio"] = yardCpu > 0 ? removeCpu / yardCpu : 0.0;
}
// The demand model never gives an id twice: every rebuild takes new ones,
// so the run is kept to a fixed number of removals.
BENCHMARK(BM_RemoveStreet)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return g_failed ? 1 : 0;
}
