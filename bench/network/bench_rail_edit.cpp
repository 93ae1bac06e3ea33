// Building one street in a network of about 2,000 street junctions on the
// map of the generated game data while a
// rail network of at least 500 rail junctions lies beside it: every street
// edit ends with the level-crossing checks of every street against the
// tracks. The yardstick is the same edit in the same run with the rail
// network detached. Every edit is checked: a wrong result code, junction
// count or level-crossing count fails the configuration and makes the
// program exit non-zero.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "bench_network_scene.h"
#include "framework/qno_log.h"
#include "framework/qno_resource.h"
#include "network/rail_junction.h"
#include "network/rail_junction_list.h"
#include "network/rail_track.h"

namespace {

using namespace netbench;

// A comb of tracks below and beside the street grid (which covers cells 0
// to 88): a line along y = 124, lines from it towards -y every six cells,
// and short branches to +x from them every four cells, until the rail
// network holds `want` junctions. A street from the grid along y = 22
// crosses the lines beside the grid at level crossings.
constexpr int kCrossingRow = 22;

struct Railway {
  Railway(Network& n, int want) {
    CStrBuildLine street(88, kCrossingRow, 126, kCrossingRow);
    Network::Expect(n.net->CreateStreet(&street, STRASSE_1), STR_BUILD_OK);
    rails = std::make_unique<CStrSchJuncList>(n.map.get(), n.sim.get());
    rails->Create();
    Build(0, 124, 124, 124);
    for (int x = 3; x <= 123 && Junctions() < want; x += 6) {
      const int top = x <= 88 ? 92 : 2;
      Build(x, 124, x, top);
      for (int y = 120; y >= top + 3 && x + 5 <= 126 && Junctions() < want; y -= 4)
        if (std::abs(y - kCrossingRow) > 4) Build(x, y, x + 3, y);
    }
  }
  ~Railway() { rails->Destroy(); }
  int Junctions() const { return static_cast<int>(rails->GetNumber()); }
  void Build(int x1, int y1, int x2, int y2) {
    CStrBuildLine line(static_cast<short>(x1), static_cast<short>(y1), static_cast<short>(x2), static_cast<short>(y2));
    const int r = rails->CreateStreet(&line, STRASSE_SCHIENE);
    if (r != STR_BUILD_OK) std::fprintf(stderr, "track %d/%d-%d/%d: %d\n", x1, y1, x2, y2, r);
    Network::Expect(r, STR_BUILD_OK);
  }
  int Crossings() {
    int n = 0;
    for (CZorvaObject* o = rails->GetHead(); o; o = o->GetNext()) {
      auto* j = static_cast<CStrSchJunction*>(o);
      for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) {
        CStrStrasse* t = j->GetStreetByNR(i);
        if (t->GetStartJunction() != j) continue;
        for (int k = 1; CStrStrassenTeil* p = t->GetStrassenTeil(k); ++k)
          n += p->GetExtraTeilList() ? static_cast<int>(p->GetExtraTeilList()->GetNumber()) : 0;
      }
    }
    return n;
  }
  std::unique_ptr<CStrSchJuncList> rails;
};

// One delete and build of the inner street; the build's time in ms.
double EditOnce(Network& n, int mid, int junctions) {
  CStrStrasse* s = n.StreetAt(mid, mid);
  Network::Expect(s ? n.net->DeleteStreet(s) : -1, 0);
  const auto t0 = std::chrono::steady_clock::now();
  const int built = n.Build(mid, mid, mid + 1, mid);
  const auto t1 = std::chrono::steady_clock::now();
  Network::Expect(built, STR_BUILD_OK);
  Network::Expect(static_cast<int>(n.net->GetNumber()), junctions);
  return std::chrono::duration<double, std::milli>(t1 - t0).count();
}

void BM_BuildStreetBesideRailway(benchmark::State& state) {
  OpenErrorLog("/dev/null");
  // The generated game data: the level crossings and rail groups are laid
  // as in the game.
  QnoResourceManager resources;
  char path[1024];
  QnoMakeValidPathname(ZOR_GAMEDATA_DIR, "ZORVANTA", ".GLA", path, sizeof path);
  Network::Expect(resources.AddWadFile(path), 0);
  const int k = 45;
  Network n(k, 2, GridOrder::kCellByCell, &resources);
  Railway r(n, 500);
  const int junctions = static_cast<int>(n.net->GetNumber());
  Network::Expect(junctions >= 2000, 1);
  Network::Expect(r.Junctions() >= 500, 1);
  const int railJunctions = r.Junctions();
  // The lines beside the grid cross the street.
  const int crossings = r.Crossings();
  Network::Expect(crossings > 0, 1);
  n.net->SetRailNet(r.rails.get());
  double withSum = 0.0, withoutSum = 0.0;
  for (auto _ : state) {
    n.net->SetRailNet(nullptr);
    const double without = EditOnce(n, k / 2, junctions);
    n.net->SetRailNet(r.rails.get());
    const double with = EditOnce(n, k / 2, junctions);
    Network::Expect(r.Junctions(), railJunctions);
    Network::Expect(r.Crossings(), crossings);
    withSum += with;
    withoutSum += without;
    state.SetIterationTime(with / 1000.0);
    if (g_failed) {
      state.SkipWithError("wrong edit result");
      break;
    }
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["junctions"] = junctions;
  state.counters["rail_junctions"] = railJunctions;
  state.counters["crossings"] = crossings;
  state.counters["build_ms"] = withSum / runs;
  state.counters["yardstick_ms"] = withoutSum / runs;
  state.counters["ratio"] = withoutSum > 0 ? withSum / withoutSum : 0.0;
}
BENCHMARK(BM_BuildStreetBesideRailway)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return g_failed ? 1 : 0;
}
