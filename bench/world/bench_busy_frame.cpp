// One pass of the game's frame loop (a turn and a frame at 1024 x 768) over
// busy towns, on the generated game data, headless: a grid of crossings,
// lights at every junction of three or more arms, six bus lines with their
// buses, and every street carrying a share of its capacity, so that the
// micro simulation fills the streets with cars.
//
// Towns: `--towns=NxN/S/F,...` (N crossings a side, S cells apart, F % of
// the capacity); by default 10x10/6/80, 24x24/5/80 and 30x30/4 at 40, 80
// and 120 %. For each town, BM_ScreenMemcpy: the same-run yardstick, a copy
// of the 1024 x 768 16-bit screen; BM_BusyTurnAndFrame/level:
// `CZorFrameLoop::Iterate` with the clock one turn on, at the map's levels
// 2, 1 (closest) and 4 (farthest), its `ratio` that of its CPU time to the
// town's yardstick.
//
// Checked: every street and light is made, every line has its stops, the
// screen is 1024 x 768; at levels 1 and 2 at least 100 cars stand on the
// map before and after each timing and the screen changes; level 4 shows
// no cars and another picture than level 2. Before a town is timed, the
// same town built a second time runs 40 passes at each level with every
// street evaluated in the walk over the junctions' street arrays before
// each turn; the timed town must show the same loads, lights and picture
// after every one of those passes; one fingerprint of them all goes to the
// standard error, and must equal the town's pinned print where it has one.
// A failed check makes the program exit non-zero. Every town starts from
// the same fixed seed.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "../bench_clock.h"
#include "../bench_min_time.h"
#include "bench_game.h"
#include "bench_town_parts.h"
#include "iso/iso_welt.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "network/str_ampel.h"
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
constexpr uint32_t kSeed = 20261209;
// The map's cells a side; a town keeps this far from its edges.
constexpr int kMapCells = 128;
constexpr int kMargin = 6;

struct TownSize {
  int nodes = 10;
  int spacing = 6;
  int flowPercent = 80;
  std::string Name() const {
    return std::to_string(nodes) + "x" + std::to_string(nodes) + "/" + std::to_string(spacing) + "/" +
           std::to_string(flowPercent);
  }
};

// "NxN/S/F" with N of 4..60, S of 3..12 and F of 1..200; false otherwise.
bool ParseTown(const std::string& text, TownSize& town) {
  int n = 0, m = 0, spacing = 0, flow = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%dx%d/%d/%d%c", &n, &m, &spacing, &flow, &tail) != 4 || n != m) return false;
  if (n < 4 || n > 60 || spacing < 3 || spacing > 12 || flow < 1 || flow > 200) return false;
  if ((n - 1) * spacing > kMapCells - 2 * kMargin) return false;
  town = {n, spacing, flow};
  return true;
}

struct BusyTown : benchworld::Game {
  explicit BusyTown(const TownSize& size, bool wholeEvaluation)
      : benchworld::Game("zor_busyframe", "AUFLOESUNG=1024\n"),
        size(size),
        origin(std::min(42, kMapCells - kMargin - (size.nodes - 1) * size.spacing)),
        wholeEvaluation(wholeEvaluation) {
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
    world->GetIsoWelt()->SetIsoCenter(Node(size.nodes / 2), Node(size.nodes / 2));
    for (int i = 0; i < 300; ++i) Pass();
  }
  ~BusyTown() { loop.reset(); }

  int Node(int i) const { return origin + size.spacing * i; }

  void Pass() {
    clock.Advance(kTurnMs);
    // The reference: every street evaluated where the walk over the
    // junctions' street arrays meets it, just before the turn (whose own
    // evaluation then finds nothing counted).
    if (wholeEvaluation) {
      const bool fixedRatio = world->GetShowMicroZellen();
      CStrJunctionList* net = world->GetStreetNet();
      for (CZorvaObject* o = net->GetHead(); o; o = o->GetNext()) {
        auto* j = static_cast<CStrJunction*>(o);
        for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) j->GetStreetByNR(i)->BerechneISOAuslastung(fixedRatio);
      }
    }
    loop->Iterate();
  }

  // A timed pass, out of line: instruction counts collected over this
  // function alone (callgrind's --toggle-collect) leave out the town's
  // building, its checks and the warm-up passes.
  __attribute__((noinline)) void TimedPass() { Pass(); }

  // A fingerprint of what the player sees of the streets: every
  // direction's surplus and rate, and the lock of every light's cells.
  uint64_t Loads() const {
    uint64_t print = 1469598103934665603ull;
    auto mix = [&print](int64_t v) { print = (print ^ static_cast<uint64_t>(v)) * 1099511628211ull; };
    StrForEachStreet(world->GetStreetNet(), [&](CStrStrasse* s) {
      mix(s->GetUeberschuss());
      mix(s->GetUeberschussSecond());
      mix(s->GetRate());
      mix(s->GetRateSecond());
    });
    CStrJunctionList* net = world->GetStreetNet();
    for (CZorvaObject* o = net->GetHead(); o; o = o->GetNext()) {
      const CAmpelGroup* group = static_cast<CStrJunction*>(o)->GetAmpelGroup();
      for (int i = 0; group && i < CAmpelGroup::kSlots; ++i)
        for (int c = 0; c < 2; ++c) {
          const CAmpel* light = group->GetAmpel(i);
          const BinaryMicroSimObject* cell = light ? light->GetZelle(c) : nullptr;
          mix(cell ? cell->m_Locked : -1);
        }
    }
    return print;
  }

  bool Build() {
    if (benchworld::BuildStreetGrid(*world, size.nodes, size.spacing, origin) != 0) return false;
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
        CSecondLayerObject* stop =
            benchworld::PlaceStop(*world, OBJ_BUSSTOP_SIGN, Node(col) + size.spacing / 2, Node(row));
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
      s->AddCarFlow(s->Capacity() * size.flowPercent / 100);
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

  TownSize size;
  int origin;
  bool wholeEvaluation;
  std::unique_ptr<CZorFrameLoop> loop;
  std::vector<COpnvLine*> lines;
  bool ok = false;
  int lights = 0;
  int fed = 0;
  int level = 2;
  uint64_t levelTwoScreen = 0;
};

// The fingerprint of a town's checked passes, pinned from a run of the
// program: the same-run evaluation above holds the town to itself, this
// holds it to the towns as they were pinned, so that a change of what the
// cars, lights or pictures do cannot pass unseen. A change that moves it on
// purpose pins it again, with the reason. Towns given on the command line
// without a pinned print are held to the same-run evaluation alone.
struct PinnedTown {
  const char* name;
  uint64_t print;
};
constexpr PinnedTown kPinned[] = {
    {"10x10/6/80", 0xefd501d6dbc0ffa5ULL},  {"24x24/5/80", 0xa4c98e56a4c11b63ULL},
    {"30x30/4/40", 0xb4fca4ce910ec071ULL},  {"30x30/4/80", 0x8bef0372e8bcf233ULL},
    {"30x30/4/120", 0x74ca41966c547a4fULL},
};

std::vector<TownSize> g_towns;
std::unique_ptr<BusyTown> g_town;
int g_townIndex = -1;
double g_yardstickMs = 0;

// The levels in the order they are timed; the check runs the same order.
constexpr int kLevels[] = {2, 1, 4};
constexpr int kCheckPasses = 40;

// The fingerprints of loads, lights and screen after each checked pass.
std::vector<uint64_t> CheckRun(BusyTown& town) {
  std::vector<uint64_t> prints;
  for (int level : kLevels) {
    town.ShowLevel(level);
    for (int i = 0; i < kCheckPasses; ++i) {
      town.Pass();
      prints.push_back(town.Loads());
      prints.push_back(town.Screen());
    }
  }
  town.ShowLevel(2);
  return prints;
}

// The town of `index`, built when another was last timed: first the
// reference with every street evaluated, then the town to time, both from
// the same seed, held to each other over the checked passes.
BusyTown& TownAt(benchmark::State& state, int index) {
  if (g_townIndex == index) return *g_town;
  g_town.reset();
  const TownSize& size = g_towns[static_cast<size_t>(index)];
  std::vector<uint64_t> reference;
  {
    ZorFixStartupSeed(kSeed);
    BusyTown whole(size, true);
    if (whole.ok) reference = CheckRun(whole);
  }
  ZorFixStartupSeed(kSeed);
  g_town = std::make_unique<BusyTown>(size, false);
  g_townIndex = index;
  if (g_town->dir.empty() || g_town->world->GetStartupPhase() != 0) Fail(state, "the game did not start");
  if (!g_town->ok) Fail(state, "the town refused a street, light, stop or line");
  else {
    const std::vector<uint64_t> prints = CheckRun(*g_town);
    if (prints != reference) Fail(state, "the loads, lights or picture differ from those of the whole evaluation");
    // One fingerprint of all the checked passes: two builds that change no
    // picture, load or light show the same.
    uint64_t all = 1469598103934665603ull;
    for (uint64_t p : prints) all = (all ^ p) * 1099511628211ull;
    std::fprintf(stderr, "world_busy_frame_bench: town %s checked, passes' print %016llx\n", size.Name().c_str(),
                 static_cast<unsigned long long>(all));
    const PinnedTown* pinned = nullptr;
    for (const PinnedTown& p : kPinned)
      if (size.Name() == p.name) pinned = &p;
    if (!pinned)
      std::fprintf(stderr, "world_busy_frame_bench: town %s has no pinned print\n", size.Name().c_str());
    else if (pinned->print != all)
      Fail(state, "the checked passes' print differs from the town's pinned print");
  }
  return *g_town;
}

void BM_BusyTurnAndFrame(benchmark::State& state, int index) {
  BusyTown& town = TownAt(state, index);
  if (!town.ok) {
    for (auto _ : state) {
    }
    return;
  }
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
  for (auto _ : state) town.TimedPass();
  const double cpu = ThreadCpuMs() - cpu0;
  if (carsShown && town.Cars() < 100) Fail(state, "the cars left the map");
  if (carsShown && town.Screen() == before) Fail(state, "nothing moved on the screen");
  if (state.range(0) == 2) town.levelTwoScreen = town.Screen();
  state.counters["cars"] = town.Cars();
  state.counters["lights"] = town.lights;
  state.counters["lines"] = static_cast<double>(town.lines.size());
  state.counters["cpu_ms"] = cpu / static_cast<double>(state.iterations());
  if (g_yardstickMs > 0) state.counters["ratio"] = cpu / static_cast<double>(state.iterations()) / g_yardstickMs;
}

void BM_ScreenMemcpy(benchmark::State& state, int index) {
  SDL_Surface* screen = TownAt(state, index).world->GetScreen();
  const size_t bytes = static_cast<size_t>(screen->pitch) * static_cast<size_t>(screen->h);
  std::vector<uint8_t> to(bytes);
  const double cpu0 = ThreadCpuMs();
  for (auto _ : state) {
    std::memcpy(to.data(), screen->pixels, bytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  g_yardstickMs = (ThreadCpuMs() - cpu0) / static_cast<double>(state.iterations());
  state.counters["cpu_ms"] = g_yardstickMs;
}

}  // namespace

int main(int argc, char** argv) {
  // The program's own flag is taken out before the library reads the rest;
  // the library's minimum time defaults to one second a benchmark unless
  // --benchmark_min_time is given.
  std::vector<char*> args;
  std::string towns = "10x10/6/80,24x24/5/80,30x30/4/40,30x30/4/80,30x30/4/120";
  for (int i = 0; i < argc; ++i) {
    if (std::strncmp(argv[i], "--towns=", 8) == 0) {
      towns = argv[i] + 8;
      continue;
    }
    args.push_back(argv[i]);
  }
  for (size_t at = 0; at <= towns.size();) {
    const size_t comma = std::min(towns.find(',', at), towns.size());
    TownSize town;
    if (!ParseTown(towns.substr(at, comma - at), town)) {
      std::fprintf(stderr, "world_busy_frame_bench: a town is NxN/S/F (4..60 crossings, 3..12 apart, 1..200 %%): %s\n",
                   towns.substr(at, comma - at).c_str());
      return 2;
    }
    g_towns.push_back(town);
    at = comma + 1;
  }
  char defaultMinTime[] = "--benchmark_min_time=1.0";
  InitializeWithMinTime(args, defaultMinTime);
  for (int i = 0; i < static_cast<int>(g_towns.size()); ++i) {
    const std::string name = g_towns[static_cast<size_t>(i)].Name();
    benchmark::RegisterBenchmark(("BM_ScreenMemcpy/town:" + name).c_str(), BM_ScreenMemcpy, i)
        ->Unit(benchmark::kMicrosecond);
    auto* b = benchmark::RegisterBenchmark(("BM_BusyTurnAndFrame/town:" + name).c_str(), BM_BusyTurnAndFrame, i);
    for (int level : kLevels) b->Arg(level);
    b->ArgName("level")->Unit(benchmark::kMillisecond);
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  g_town.reset();
  return g_failed ? 1 : 0;
}
