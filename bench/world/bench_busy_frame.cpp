// One pass of the game's frame loop (a turn and a frame at 1024 x 768) over
// a busy town, on the generated game data, headless: a grid of 10 x 10
// crossings, lights at every junction of three or more arms, six bus lines
// with their buses, and every street carrying 80 % of its capacity, so that
// the micro simulation fills the streets with cars.
//
// BM_BusyTurnAndFrame/level: `CZorFrameLoop::Iterate` with the clock one
// turn on, at the map's levels 1 (closest), 2 and 4. BM_ScreenMemcpy: the
// same-run yardstick, a copy of the 1024 x 768 16-bit screen.
//
// Checked: every street and light is made, every line has its stops, the
// screen is 1024 x 768; at levels 1 and 2 at least 100 cars stand on the
// map before and after each timing and the screen changes; level 4 shows
// no cars and another picture than level 2. A failed check makes the
// program exit non-zero. The game starts from a fixed seed.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "../bench_clock.h"
#include "bench_game.h"
#include "bench_town_parts.h"
#include "iso/iso_welt.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/str_net_lengths.h"
#include "network/str_strasse.h"
#include "sim/sim_network.h"
#include "sim/sim_traffic_slot.h"
#include "sim/sim_welt.h"
#include "ui/user_int.h"
#include "world/zor_frame_loop.h"
#include "world/zor_world.h"

namespace {

bool g_failed = false;

void Fail(benchmark::State& state, const char* what) {
  std::fprintf(stderr, "world_busy_frame_bench: %s\n", what);
  g_failed = true;
  state.SkipWithError(what);
}

constexpr int kTurnMs = 40;
constexpr int kNodes = 10;
constexpr int kSpacing = 6;
constexpr int kOrigin = 42;
constexpr int kFlowPercent = 80;
int Node(int i) { return kOrigin + kSpacing * i; }

struct BusyTown : benchworld::Game {
  BusyTown() : benchworld::Game("zor_busyframe", "AUFLOESUNG=1024\n") {
    if (!world) return;
    loop = std::make_unique<CZorFrameLoop>(world.get());
    // The start-up windows are closed as they open, as a player would.
    for (int i = 0; i < 40 && (world->GetStartupPhase() != 0 || world->IsPause()); ++i) {
      Pass();
      for (int id : {249, 237, 246, 245, 160}) world->DeActivateWindow(id);
      world->SetPause(false);
    }
    // No hour starts while the town runs: its flows stay as they are set.
    world->SetGameSpeed(CZorvaWorld::kGameSpeedSum - std::numeric_limits<int>::max() / 2);
    ok = Build();
    world->GetIsoWelt()->SetIsoCenter(Node(kNodes / 2), Node(kNodes / 2));
    for (int i = 0; i < 300; ++i) Pass();
  }
  ~BusyTown() { loop.reset(); }

  void Pass() {
    clock.Advance(kTurnMs);
    loop->Iterate();
  }

  bool Build() {
    if (benchworld::BuildStreetGrid(*world, kNodes, kSpacing, kOrigin) != 0) return false;
    CStrJunctionList* net = world->GetStreetNet();
    for (CZorvaObject* o = net->GetHead(); o; o = o->GetNext()) {
      auto* junction = static_cast<CStrJunction*>(o);
      if (junction->GetAnzLinkedStreets() < 3) continue;
      if (junction->SetAmpelData(Ampel_Ampel, 20, 0.5f) != 0) return false;
      ++lights;
    }
    // Six lines along the rows 2 to 7, each over three stops mid-block.
    COpnv& opnv = *world->GetOpnv();
    for (int row = 2; row < 8; ++row) {
      COpnvLine* line = opnv.CreateNewLine(NET_BUS);
      if (!line) return false;
      for (int col : {1, 4, 7}) {
        CSecondLayerObject* stop = benchworld::PlaceStop(*world, OBJ_BUSSTOP_SIGN, Node(col) + kSpacing / 2, Node(row));
        if (!stop || line->ToolAddHstTail(stop, benchworld::StreetIdOf(stop)) != 0) return false;
      }
      lines.push_back(line);
    }
    opnv.CheckMakeVirtuellNet();
    int buses = 0;
    for (COpnvLine* line : lines) buses += line->GetData()->vehiclesNeeded;
    if (opnv.SetVarData("OPNV.FP.BUS.NORMAL.BUYSELL", buses) != 0 || opnv.SetVarData("OPNV.FP.BUS.BUYSELL.OK", 1) != 0)
      return false;
    for (COpnvLine* line : lines) {
      opnv.SetActiveLine(line->GetID());
      for (int i = 0; i < line->GetData()->vehiclesNeeded; ++i)
        if (opnv.SetVarData("OPNV.MOVEFP.PLUS", 1) != 0) return false;
    }
    // The hour that holds the streets, then every direction of every street
    // at its share of the capacity.
    CSimWelt* sim = world->GetSimWelt();
    if (sim->StartNextIntervall(false) <= 0) return false;
    while (sim->Computate(1) != 0) {
    }
    if (!sim->ActivateCalculatedSlot()) return false;
    auto feed = [&](int id) {
      CSimStreet* s = id ? sim->ActiveSlot()->GetStreet(static_cast<short>(id)) : nullptr;
      if (!s) return;
      s->ResetCarFlow();
      s->AddCarFlow(s->Capacity() * kFlowPercent / 100);
      ++fed;
    };
    StrForEachStreet(net, [&](CStrStrasse* s) {
      feed(s->GetSimID());
      feed(s->GetSimIDSecond());
    });
    net->UpdateCarFlow();
    return lights > 0 && fed > 0;
  }

  int Cars() {
    CZorvaList* cars = world->GetUserInt() ? world->GetUserInt()->GetCarList() : nullptr;
    return cars ? cars->GetCount() : 0;
  }

  // The map starts at level 2; one step out is level 1, one step in level 4.
  void ShowLevel(int wanted) {
    CIsoWelt* iso = world->GetIsoWelt();
    if (level == 1) iso->UserIntZoomIn();
    if (level == 4) iso->UserIntZoomOut();
    if (wanted == 1) iso->UserIntZoomOut();
    if (wanted == 4) iso->UserIntZoomIn();
    level = wanted;
  }

  // A fingerprint of the screen.
  uint64_t Screen() const {
    SDL_Surface* s = world->GetScreen();
    uint64_t print = 1469598103934665603ull;
    for (int y = 0; y < s->h; ++y) {
      const auto* row = static_cast<const uint8_t*>(s->pixels) + static_cast<size_t>(y) * s->pitch;
      for (int x = 0; x < s->w * 2; ++x) print = (print ^ row[x]) * 1099511628211ull;
    }
    return print;
  }

  std::unique_ptr<CZorFrameLoop> loop;
  std::vector<COpnvLine*> lines;
  bool ok = false;
  int lights = 0;
  int fed = 0;
  int level = 2;
  uint64_t levelTwoScreen = 0;
};

BusyTown* g_town = nullptr;

void BM_BusyTurnAndFrame(benchmark::State& state) {
  BusyTown& town = *g_town;
  if (!town.ok) Fail(state, "the town refused a street, light, stop or line");
  SDL_Surface* screen = town.world->GetScreen();
  if (!screen || screen->w != 1024 || screen->h != 768) Fail(state, "the screen is not 1024 x 768");
  town.ShowLevel(static_cast<int>(state.range(0)));
  for (int i = 0; i < 50; ++i) town.Pass();
  // The farthest level draws no cars: the micro simulation leaves them
  // off the map there, and the frame shows the town's streets alone.
  const bool carsShown = state.range(0) != 4;
  const uint64_t before = town.Screen();
  if (carsShown && town.Cars() < 100) Fail(state, "fewer than 100 cars on the map");
  if (!carsShown && (town.Cars() != 0 || before == town.levelTwoScreen)) Fail(state, "the level did not change");
  const double cpu0 = ThreadCpuMs();
  for (auto _ : state) town.Pass();
  const double cpu = ThreadCpuMs() - cpu0;
  if (carsShown && town.Cars() < 100) Fail(state, "the cars left the map");
  if (carsShown && town.Screen() == before) Fail(state, "nothing moved on the screen");
  if (state.range(0) == 2) town.levelTwoScreen = town.Screen();
  state.counters["cars"] = town.Cars();
  state.counters["lights"] = town.lights;
  state.counters["lines"] = static_cast<double>(town.lines.size());
  state.counters["cpu_ms"] = cpu / static_cast<double>(state.iterations());
}

void BM_ScreenMemcpy(benchmark::State& state) {
  SDL_Surface* screen = g_town->world->GetScreen();
  const size_t bytes = static_cast<size_t>(screen->pitch) * static_cast<size_t>(screen->h);
  std::vector<uint8_t> to(bytes);
  const double cpu0 = ThreadCpuMs();
  for (auto _ : state) {
    std::memcpy(to.data(), screen->pixels, bytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.counters["cpu_ms"] = (ThreadCpuMs() - cpu0) / static_cast<double>(state.iterations());
}

BENCHMARK(BM_ScreenMemcpy)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BusyTurnAndFrame)->Arg(2)->Arg(1)->Arg(4)->ArgName("level")->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  // A fixed seed: every run builds the same town and makes the same turns,
  // so instruction counts of two builds compare the same work.
  ZorFixStartupSeed(20261209);
  auto town = std::make_unique<BusyTown>();
  g_town = town.get();
  if (town->dir.empty() || town->world->GetStartupPhase() != 0) {
    std::fprintf(stderr, "world_busy_frame_bench: the game did not start\n");
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  town.reset();
  return g_failed ? 1 : 0;
}
