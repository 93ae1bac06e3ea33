// The indicators' hourly pass on a town of 50,000 residents: a grid of 14 x
// 14 crossings seven cells apart over most of the map (every third street
// a main road) with houses, offices, industry, shops, schools and parks on
// every other cell of the blocks, the people moved in and two hours of
// their trips assigned, so that the streets carry the day's flows.
//
// BM_IndicatorHour/h: `CIndikatoren::OnPlayloopTurn` at hour h, the turn of
// the hour: the ratings, and the start of the hour's map (8 noise, 10
// emission, 12 living quality; 9 none).
// BM_MapSlices/h: the turns after it that make that map, a slice of rows
// each (`ContinueMap`), all of them; the counter longest_slice_ms is the
// longest one turn takes.
// BM_AllThreeMaps: the three maps made whole one after the other, as no
// turn does. BM_MapsMemcpy: the same run's yardstick, a copy of the three
// maps' bytes.
//
// Checked: the town has 50,000 residents; after each pass every rating lies
// in 0..1 and the score is a number; the map of the hour has values on at
// least 1,000 cells; the noise map made again from the same town is the
// same. A failed check makes the
// program exit non-zero.
#include "../bench_clock.h"
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "bench_game.h"
#include "bench_town_parts.h"
#include "model/indikatoren.h"
#include "network/str_junction_list.h"
#include "sim/sim_city_model.h"
#include "sim/sim_welt.h"
#include "worldbase/building_catalogue.h"

namespace {

bool g_failed = false;

void Fail(benchmark::State& state, const char* what) {
  std::fprintf(stderr, "world_indicators_bench: %s\n", what);
  g_failed = true;
  state.SkipWithError(what);
}

constexpr int kNodes = 14, kSpacing = 7, kOrigin = 16;
constexpr unsigned kResidents = 50000;
constexpr int kCells = CIndikatoren::kGrid * CIndikatoren::kGrid;

struct Town : benchworld::Game {
  Town() : Game("zor_indbench") {
    if (!world) return;
    refused = benchworld::BuildStreetGrid(*world, kNodes, kSpacing, kOrigin);
    const TObjectType kinds[] = {OBJ_RESIDENTIAL, OBJ_OFFICE,   OBJ_RESIDENTIAL, OBJ_INDUSTRY,    OBJ_RESIDENTIAL,
                                 OBJ_OFFICE,      OBJ_SHOPPING, OBJ_RESIDENTIAL, OBJ_RESIDENTIAL, OBJ_SCHOOL,
                                 OBJ_RESIDENTIAL, OBJ_OFFICE,   OBJ_RESIDENTIAL, OBJ_PARK,        OBJ_OFFICE,
                                 OBJ_INDUSTRY};
    int n = 0;
    for (int bx = 0; bx + 1 < kNodes; ++bx)
      for (int by = 0; by + 1 < kNodes; ++by)
        for (int cx = 1; cx < kSpacing; cx += 2)
          for (int cy = 1; cy < kSpacing; cy += 2) {
            const TObjectType kind = kinds[n++ % (sizeof kinds / sizeof kinds[0])];
            const int resId = CBuildingDataList::GetBuildingResIDByType(kind, 1, nullptr);
            if (resId > 0 && world->CreateObject(kind, resId, CIsoRichtung(0), kOrigin + bx * kSpacing + cx,
                                                 kOrigin + by * kSpacing + cy, static_cast<ESimLocationHeight>(0),
                                                 nullptr, 0, nullptr, 0, -1))
              ++buildings;
          }
    CSimWelt* sim = world->GetSimWelt();
    CSimCityModell* city = sim->pCityModell();
    for (int i = 0; i < 500 && city->NrOfResidents() < kResidents; ++i)
      city->MorePeople(static_cast<int>(kResidents - city->NrOfResidents()), true);
    // Two hours of trips; the streets take the last one's flows as the
    // flows of every hour of their day.
    for (int h = 0; h < 2; ++h) {
      sim->StartNextIntervall(true);
      while (sim->Computate(0) != 0) {
      }
      sim->ActivateCalculatedSlot();
    }
    CStrJunctionList* net = world->GetStreetNet();
    net->UpdateCarFlow();
    for (int h = 1; h < 24; ++h) net->UpdateCarFlow24(h);
  }
  int refused = 0;
  int buildings = 0;
};

Town* g_town = nullptr;

STime Hour(int h) {
  STime t;
  t.hour = h;
  t.year = 1;
  t.fyear = 1.0f + static_cast<float>(h) / 24.0f;
  return t;
}

// Cells of the map above 0.
int Lit(const uint8_t* map, int below = 256) {
  int n = 0;
  for (int i = 0; i < kCells; ++i) n += map[i] > 0 && map[i] < below;
  return n;
}

bool RatingsSound(CIndikatoren& ind) {
  for (int i = 0; i < CIndikatoren::kPartials; ++i) {
    const double v = ind.GetIndikatorWert(i);
    if (!(v >= 0.0 && v <= 1.0)) return false;
  }
  return std::isfinite(ind.GetVarValue("I.SCORE"));
}

void FinishMap(CIndikatoren& ind) {
  while (ind.ContinueMap() != 0) {
  }
}

void CheckHour(benchmark::State& state, CIndikatoren& ind, int hour) {
  if (!RatingsSound(ind)) Fail(state, "a rating outside 0..1 or a score that is no number");
  const int lit = hour == 8 ? Lit(ind.GetLaermMap()) : hour == 10 ? Lit(ind.GetEmmissionsMap())
                                                        : hour == 12 ? Lit(ind.GetWohnqualitaetMap(), 255)
                                                                     : 1000;
  if (lit < 1000) Fail(state, "the map of the hour has too few cells with a value");
  state.counters["cells"] = lit;
}

// The hour's turn: the ratings and the start of the hour's map.
void BM_IndicatorHour(benchmark::State& state) {
  CIndikatoren& ind = *g_town->world->GetIndikatoren();
  const int hour = static_cast<int>(state.range(0));
  for (auto _ : state) {
    ind.OnPlayloopTurn(Hour(hour), Hour(hour - 1));
    state.PauseTiming();
    FinishMap(ind);
    state.ResumeTiming();
  }
  CheckHour(state, ind, hour);
}

// The turns after it that make the map, one slice each: all of them, and
// the longest slice (thread CPU time, median of the iterations).
void BM_MapSlices(benchmark::State& state) {
  CIndikatoren& ind = *g_town->world->GetIndikatoren();
  const int hour = static_cast<int>(state.range(0));
  std::vector<double> longest;
  int slices = 0;
  for (auto _ : state) {
    state.PauseTiming();
    ind.OnPlayloopTurn(Hour(hour), Hour(hour - 1));
    state.ResumeTiming();
    double worst = 0.0;
    slices = 0;
    for (int more = 1; more != 0; ++slices) {
      const double t0 = ThreadCpuMs();
      more = ind.ContinueMap();
      worst = std::max(worst, ThreadCpuMs() - t0);
    }
    longest.push_back(worst);
  }
  CheckHour(state, ind, hour);
  std::sort(longest.begin(), longest.end());
  state.counters["slices"] = slices;
  state.counters["longest_slice_ms"] = longest.empty() ? 0.0 : longest[longest.size() / 2];
}

void BM_AllThreeMaps(benchmark::State& state) {
  CIndikatoren& ind = *g_town->world->GetIndikatoren();
  for (auto _ : state) ind.UpdateMaps();
  // The noise map does not carry the last one over: made again, it is the same.
  std::vector<uint8_t> noise(ind.GetLaermMap(), ind.GetLaermMap() + kCells);
  ind.UpdateMaps();
  if (std::memcmp(noise.data(), ind.GetLaermMap(), kCells) != 0) Fail(state, "the noise map changed by itself");
}

void BM_MapsMemcpy(benchmark::State& state) {
  CIndikatoren& ind = *g_town->world->GetIndikatoren();
  std::vector<uint8_t> to(3 * kCells);
  for (auto _ : state) {
    std::memcpy(to.data(), ind.GetLaermMap(), kCells);
    std::memcpy(to.data() + kCells, ind.GetEmmissionsMap(), kCells);
    std::memcpy(to.data() + 2 * kCells, ind.GetWohnqualitaetMap(), kCells);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}

BENCHMARK(BM_IndicatorHour)->Arg(9)->Arg(8)->Arg(10)->Arg(12)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapSlices)->Arg(8)->Arg(10)->Arg(12)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AllThreeMaps)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapsMemcpy)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  auto town = std::make_unique<Town>();
  g_town = town.get();
  const unsigned residents = town->world ? town->world->GetSimWelt()->pCityModell()->NrOfResidents() : 0;
  std::fprintf(stderr, "world_indicators_bench: %d buildings, %u residents, %d streets refused\n", town->buildings,
               residents, town->refused);
  if (town->refused != 0 || residents < kResidents) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  town.reset();
  return g_failed ? 1 : 0;
}
