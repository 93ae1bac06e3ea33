// The interface's maps on a map covered by a street grid: the thematic
// map's full rebuild in the street-load layer (16,384 colour look-ups and
// the turned screen picture), its screen picture alone after a view change,
// and one changed cell reaching both maps. The yardstick in the same run is
// a walk over the 16,384 cells reading each one's type and object.
//
// Every configuration checks its result: the rebuilt picture shows each
// cell's colour from the view filter, a view change rebuilds no world
// picture, and a changed cell reaches both maps' pictures; a wrong result
// fails the configuration and makes the program exit non-zero.
#include "../bench_clock.h"
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

#include "../network/bench_network_scene.h"
#include "framework/qno_log.h"
#include "framework/qno_resource.h"
#include "ui/user_int.h"

namespace {

using namespace netbench;

// A 22 x 22 grid of streets six cells apart, with the controller and its
// maps on it; the thematic map shows the street loads.
struct Town {
  Town() : n(22, 6, GridOrder::kLongRows, GameData()) {
    Network::Expect(ui.OnCreate(nullptr, nullptr, nullptr, n.map.get(), n.net.get()), 0);
    map = ui.GetTwoDMap();
    small = ui.GetSmallMap();
    map->ChangeFilter(7);
    map->DisplayHideMap(DISPLAY_SHOW);
    small->DisplayHideMap(DISPLAY_SHOW);
  }
  Network n;
  CUserInt ui;
  CTwoDMap* map = nullptr;
  CSmallMap* small = nullptr;
};

double Ms(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
  return std::chrono::duration<double, std::milli>(b - a).count();
}

// The yardstick: every cell's type and object.
long Walk(CIsoWelt& map) {
  long sink = 0;
  for (int x = 0; x < 128; ++x)
    for (int y = 0; y < 128; ++y)
      sink += map.GetTypeAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), ISO_LAYER_GROUND) +
              (map.GetIsoTileObject(x, y, ISO_LAYER_GROUND) != nullptr);
  return sink;
}

// Every cell of the world picture shows the view filter's colour.
bool PictureMatchesFilter(const CTwoDMap& map) {
  int streets = 0;
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 128; ++x) {
      TMap_ColorHeight c;
      CViewFilter::GetIsoTileColor(map.GetMapIndex(), x, y, &c);
      if (CTwoDMap::WorldPicture().Get(y, 127 - x) != CMapPicture::Closest(nullptr, c.red, c.green, c.blue))
        return false;
      streets += c.blue == 0 && c.green == 255;
    }
  return streets > 1000;
}

// Wall and thread CPU time summed over the runs of one measured step.
struct Timer {
  double wall = 0, cpu = 0;
  template <class F>
  double Time(F&& step) {
    const double c0 = ThreadCpuMs();
    const auto t0 = std::chrono::steady_clock::now();
    step();
    const auto t1 = std::chrono::steady_clock::now();
    cpu += ThreadCpuMs() - c0;
    wall += Ms(t0, t1);
    return Ms(t0, t1);
  }
};

void Report(benchmark::State& state, const char* name, const Timer& measured, const Timer& yard) {
  const double runs = static_cast<double>(state.iterations());
  state.counters[name] = measured.wall / runs;
  state.counters["yardstick_ms"] = yard.wall / runs;
  state.counters["ratio"] = yard.wall > 0 ? measured.wall / yard.wall : 0.0;
  state.counters["cpu_ratio"] = yard.cpu > 0 ? measured.cpu / yard.cpu : 0.0;
}

void BM_ThematicMapFullRebuild(benchmark::State& state) {
  OpenErrorLog("/dev/null");
  Town t;
  if (!PictureMatchesFilter(*t.map)) g_failed = true;
  Timer measured, yard;
  long sink = 0;
  for (auto _ : state) {
    yard.Time([&] { sink += Walk(*t.n.map); });
    const int builds = CTwoDMap::GetWorldBuilds();
    t.map->UpdateAll();
    state.SetIterationTime(measured.Time([&] { t.map->OnPlayloopTurn(); }) / 1000.0);
    if (CTwoDMap::GetWorldBuilds() != builds + 1) g_failed = true;
    if (g_failed) {
      state.SkipWithError("wrong picture");
      break;
    }
  }
  if (!PictureMatchesFilter(*t.map)) state.SkipWithError("wrong picture after the runs"), g_failed = true;
  benchmark::DoNotOptimize(sink);
  Report(state, "rebuild_ms", measured, yard);
}
BENCHMARK(BM_ThematicMapFullRebuild)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ThematicMapViewChange(benchmark::State& state) {
  OpenErrorLog("/dev/null");
  Town t;
  IsoViewRectType rect = t.n.map->GetViewRect();
  Timer measured, yard;
  long sink = 0;
  int step = 0;
  for (auto _ : state) {
    yard.Time([&] { sink += Walk(*t.n.map); });
    // One scroll step: the view moves by a cell and the frame follows.
    const int d = (++step & 1) ? 1 : -1;
    for (int32_t* v : {&rect.k0x, &rect.k1x, &rect.k2x, &rect.k3x}) *v += d;
    const int builds = CTwoDMap::GetWorldBuilds();
    state.SetIterationTime(measured.Time([&] {
      CViewFilter::UpdateViewRect(rect);
      t.map->OnPlayloopTurn();
    }) / 1000.0);
    if (CTwoDMap::GetWorldBuilds() != builds) {
      state.SkipWithError("a view change rebuilt the world picture");
      g_failed = true;
      break;
    }
  }
  benchmark::DoNotOptimize(sink);
  Report(state, "view_change_ms", measured, yard);
}
BENCHMARK(BM_ThematicMapViewChange)->UseManualTime()->Unit(benchmark::kMillisecond);

// Every cell of the map changes once: both maps take its new colour.
void BM_CellUpdateAllCells(benchmark::State& state) {
  OpenErrorLog("/dev/null");
  Town t;
  Timer measured, yard;
  long sink = 0;
  for (auto _ : state) {
    yard.Time([&] { sink += Walk(*t.n.map); });
    // A cell whose thematic pixel is cleared gets it back from the update.
    CMapPicture& world = const_cast<CMapPicture&>(CTwoDMap::WorldPicture());
    const uint16_t before = world.Get(0, 127);
    world.Set(0, 127, 1);
    state.SetIterationTime(measured.Time([&] {
      for (int x = 0; x < 128; ++x)
        for (int y = 0; y < 128; ++y) CViewFilter::Update(x, y);
    }) / 1000.0);
    if (world.Get(0, 127) != before) {
      state.SkipWithError("a changed cell did not reach the thematic map");
      g_failed = true;
      break;
    }
  }
  benchmark::DoNotOptimize(sink);
  Report(state, "all_cells_ms", measured, yard);
  state.counters["per_cell_us"] = measured.wall / static_cast<double>(state.iterations()) * 1000.0 / 16384.0;
}
BENCHMARK(BM_CellUpdateAllCells)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return g_failed ? 1 : 0;
}
