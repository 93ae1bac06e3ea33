// Saving and loading a large town: a 47 x 47 grid of streets two cells
// apart (2,205 junctions) and a river on every cell the streets leave free,
// so that every cell of the map is built. The game runs headless on the
// generated game data.
//
// BM_Save: `SerializeGameStore` of the whole game to its savegame and
// companion (built in memory, written beside the old pair, renamed).
// BM_SerializeOnly: its in-memory part, which is all that the periodic save
// does on the frame (its files are written on a worker thread).
// BM_Load: `SerializeGameLoad` of that savegame into the running game.
// BM_LoadAndLoadedHour: the same, and then the demand model's routing pass
// over the loaded network, which the turns after a load run in slices.
// BM_WriteYardstick: the same bytes written with one fwrite per file, in the
// same run, so the container's cost reads as a ratio.
//
// Checked: the save returns 0, the load returns 0 and gives back the same
// junction count, and a save after the load writes the same bytes. A failed
// check makes the program exit non-zero.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "../bench_min_time.h"
#include "bench_game.h"
#include "framework/zor_file_layer.h"
#include "iso/iso_welt.h"
#include "network/str_junction_list.h"
#include "sim/sim_welt.h"
#include "world/zor_savegame.h"
#include "world/zor_world.h"
#include "worldbase/zor_world_obj.h"

namespace {

bool g_failed = false;

void Fail(benchmark::State& state, const char* what) {
  std::fprintf(stderr, "world_savegame_bench: %s\n", what);
  g_failed = true;
  state.SkipWithError(what);
}

constexpr int kGrid = 47;
constexpr int kStep = 2;
constexpr const char* kGame = "SaveGame/BIG.GMD";

struct Town : benchworld::Game {
  Town() : Game("zor_savebench") {
    if (!world) return;
    CStrJunctionList* net = world->GetStreetNet();
    const int o = (128 - (kGrid - 1) * kStep) / 2;
    auto build = [&](int i1, int j1, int i2, int j2) {
      CStrBuildLine line(static_cast<short>(o + i1 * kStep), static_cast<short>(o + j1 * kStep),
                         static_cast<short>(o + i2 * kStep), static_cast<short>(o + j2 * kStep));
      refused += net->CreateStreet(&line, STRASSE_1) != STR_BUILD_OK;
    };
    for (int j = 0; j < kGrid; ++j)
      for (int i = 0; i + 1 < kGrid; ++i) build(i, j, i + 1, j), build(j, i, j, i + 1);
    // Rivers on the cells between the streets and around the grid.
    const int end = o + (kGrid - 1) * kStep;
    for (int x = 0; x < 128; ++x)
      for (int y = 0; y < 128; ++y) {
        const bool inside = x >= o && x <= end && y >= o && y <= end;
        if (inside && ((x - o) % kStep == 0 || (y - o) % kStep == 0)) continue;
        if (world->CreateObject(OBJ_RIVER, 38398, CIsoRichtung(0), x, y, static_cast<ESimLocationHeight>(0), nullptr,
                                0, nullptr, 0, -1))
          ++rivers;
      }
    std::system("mkdir -p SaveGame");
  }
  int refused = 0;
  int rivers = 0;
};

// Made and ended in main, while the game's own statics are alive.
Town* g_town = nullptr;
Town& TheTown() { return *g_town; }

void BM_Save(benchmark::State& state) {
  Town& town = TheTown();
  for (auto _ : state)
    if (town.world->SerializeGameStore(kGame) != 0) Fail(state, "the save failed");
  state.counters["junctions"] = static_cast<double>(town.world->GetStreetNet()->GetNumber());
  state.counters["rivers"] = town.rivers;
  std::string bytes;
  ZorReadFile(ZorFileLayer::Real(), kGame, bytes);
  state.counters["bytes"] = static_cast<double>(bytes.size());
}

// The part of the save that builds the bytes in memory: the periodic save's
// time on the frame.
void BM_SerializeOnly(benchmark::State& state) {
  Town& town = TheTown();
  std::string binary, companion;
  for (auto _ : state)
    if (!town.world->SerializeToMemory(binary, companion)) Fail(state, "the game could not be serialised");
}

void BM_WriteYardstick(benchmark::State& state) {
  Town& town = TheTown();
  std::string binary, companion;
  if (!town.world->SerializeToMemory(binary, companion)) Fail(state, "no bytes to write");
  for (auto _ : state) {
    for (const auto& [path, bytes] : {std::pair{"SaveGame/PLAIN.GMD", &binary}, std::pair{"SaveGame/PLAIN.GMM", &companion}}) {
      FILE* f = std::fopen(path, "wb");
      if (!f || std::fwrite(bytes->data(), 1, bytes->size(), f) != bytes->size() || std::fclose(f) != 0)
        Fail(state, "the yardstick could not write");
    }
  }
}

void BM_Load(benchmark::State& state) {
  Town& town = TheTown();
  const uint32_t junctions = town.world->GetStreetNet()->GetNumber();
  // A first load numbers the demand model's streets as every later one does.
  if (town.world->SerializeGameStore(kGame) != 0 || town.world->SerializeGameLoad(kGame) != 0 ||
      town.world->SerializeGameStore(kGame) != 0)
    Fail(state, "the first save and load failed");
  std::string saved;
  ZorReadFile(ZorFileLayer::Real(), kGame, saved);
  for (auto _ : state) {
    if (town.world->SerializeGameLoad(kGame) != 0) Fail(state, "the load failed");
    state.PauseTiming();
    if (town.world->GetStreetNet()->GetNumber() != junctions) Fail(state, "the load lost junctions");
    state.ResumeTiming();
  }
  std::string binary, companion;
  if (!town.world->SerializeToMemory(binary, companion) || binary != saved) {
    size_t at = 0;
    while (at < binary.size() && at < saved.size() && binary[at] == saved[at]) ++at;
    std::fprintf(stderr, "world_savegame_bench: %zu and %zu bytes, first difference at %zu\n", saved.size(),
                 binary.size(), at);
    Fail(state, "the game loaded does not save to the bytes it was loaded from");
  }
}

// The load and the loaded hour's routing pass that the turns after it run.
void BM_LoadAndLoadedHour(benchmark::State& state) {
  Town& town = TheTown();
  if (town.world->SerializeGameStore(kGame) != 0) Fail(state, "the save failed");
  int slices = 0;
  for (auto _ : state) {
    if (town.world->SerializeGameLoad(kGame) != 0) Fail(state, "the load failed");
    CSimWelt* sim = town.world->GetSimWelt();
    if (!sim->LoadedHourPending()) Fail(state, "the load left no routing pass to run");
    for (slices = 0; sim->LoadedHourPending() && slices < 1000000; ++slices) sim->Computate(0);
  }
  state.counters["slices"] = slices;
}

BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SerializeOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteYardstick)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadAndLoadedHour)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  char defaultMinTime[] = "--benchmark_min_time=1.0";
  InitializeWithMinTime({argv, argv + argc}, defaultMinTime);
  auto town = std::make_unique<Town>();
  g_town = town.get();
  if (town->refused != 0) {
    std::fprintf(stderr, "world_savegame_bench: %d streets refused\n", town->refused);
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  town.reset();
  return g_failed ? 1 : 0;
}
