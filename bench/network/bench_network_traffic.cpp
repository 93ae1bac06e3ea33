// The per-turn traffic work of the running game on a dense street grid: the
// evaluation of counted cars (`BerechneISOAuslastung`) and the map's turn
// over the micro view, in which the visible street tiles count their cars,
// spawn new ones at the rate the evaluation asks for and move them. The game
// runs headless on the generated game data at 1024 x 768, zoom level 2, on
// a hand-driven clock 40 ms a turn. Every direction of every street carries
// a flow of 80 % of its capacity, so the streets keep wanting cars.
//
// Checked in every timed turn: the car list changes by exactly the cars
// added less the cars removed in it, cars are on the map and some of them
// moved. A failed check makes the program exit non-zero. The yardstick, in
// the same run, is one memcpy of the 16-bit screen.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <unistd.h>
#include <unordered_map>
#include <vector>

#include "framework/qno_log.h"
#include "framework/zor_pointer_list.h"
#include "framework/zor_seams.h"
#include "iso/iso_welt.h"
#include "microsim/micro_car.h"
#include "microsim/micro_cells.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "sim/sim_network.h"
#include "sim/sim_traffic_slot.h"
#include "sim/sim_welt.h"
#include "ui/user_int.h"
#include "world/zor_world.h"
#include "world/zor_world_hosts.h"

namespace {

bool g_failed = false;

void Fail(benchmark::State& state, const char* what) {
  std::fprintf(stderr, "network_traffic_bench: %s\n", what);
  g_failed = true;
  state.SkipWithError(what);
}

// The world's vehicle host, counting the cars it is told of.
class CountingHost : public CZorMicroHost {
 public:
  using CZorMicroHost::CZorMicroHost;
  void AddCar(CCar* car) override {
    ++added;
    CZorMicroHost::AddCar(car);
  }
  void RemoveCar(CCar* car) override {
    ++removed;
    CZorMicroHost::RemoveCar(car);
  }
  long added = 0, removed = 0;
};

// The game started in a temporary directory whose settings point at the
// generated data, with a k x k grid of streets `step` cells apart.
struct Game {
  Game(int k, int step) {
    char pattern[] = "/tmp/zor_traffic_XXXXXX";
    dir = mkdtemp(pattern) ? pattern : "";
    if (dir.empty() || chdir(dir.c_str()) != 0) return;
    if (FILE* f = std::fopen("ZORVANTA.INI", "w")) {
      std::fprintf(f, "[Allgemein]\nWADPATH=%s\nAUFLOESUNG=1024\n", ZOR_GAMEDATA_DIR);
      std::fclose(f);
    }
    OpenErrorLog("errors.log");
    std::strcpy(CZorvaWorld::m_sIniFile, "ZORVANTA.INI");
    // The world reads its settings when it is made, so only here.
    made = std::make_unique<CZorvaWorld>();
    CZorvaWorld& world = *made;
    world.Create();
    world.OnStartup();
    ZorSetClock(&clock);
    host = new CountingHost(world);
    CMicroSimHost::Install(host);
    CStrJunctionList* net = world.GetStreetNet();
    const int o = (128 - (k - 1) * step) / 2;
    auto build = [&](int i1, int j1, int i2, int j2) {
      CStrBuildLine line(static_cast<short>(o + i1 * step), static_cast<short>(o + j1 * step),
                         static_cast<short>(o + i2 * step), static_cast<short>(o + j2 * step));
      refused += net->CreateStreet(&line, STRASSE_1) != STR_BUILD_OK;
    };
    for (int j = 0; j < k; ++j)
      for (int i = 0; i + 1 < k; ++i) build(i, j, i + 1, j), build(j, i, j, i + 1);
    world.GetIsoWelt()->SetIsoCenter(64, 64);
  }
  ~Game() {
    CMicroSimHost::Install(nullptr);
    if (made) {
      made->OnShutdown();
      made->Destroy();
      made.reset();
    }
    delete host;
    ZorSetClock(nullptr);
    CloseErrorLog();
    if (!dir.empty()) std::system(("rm -rf " + dir).c_str());
  }

  // The active hour with every street direction at `percent` of its capacity.
  bool Feed(int percent) {
    CSimWelt* sim = made->GetSimWelt();
    if (sim->StartNextIntervall(false) <= 0) return false;
    for (int guard = 0; sim->Computate(1) != 0 && guard < 1000000; ++guard) {
    }
    if (!sim->ActivateCalculatedSlot()) return false;
    auto feed = [&](short id) {
      CSimStreet* s = id ? sim->ActiveSlot()->GetStreet(id) : nullptr;
      if (!s) return;
      if (s->Capacity() <= 0) s->SetCapacity(600);
      s->ResetCarFlow();
      s->AddCarFlow(s->Capacity() * percent / 100);
    };
    CStrJunctionList* net = made->GetStreetNet();
    for (CZorvaObject* o = net->GetHead(); o; o = o->GetNext()) {
      auto* junction = static_cast<CStrJunction*>(o);
      for (int n = 0; n < junction->GetAnzLinkedStreets(); ++n) {
        CStrStrasse* street = junction->GetStreetByNR(n);
        if (street->GetStartJunction() != junction) continue;
        ++streets;
        feed(street->GetSimID());
        feed(street->GetSimIDSecond());
      }
    }
    net->UpdateCarFlow();
    return true;
  }

  // One turn's traffic work, as the world's turn runs it.
  void Turn() {
    clock.Advance(40);
    host->SetFrameTime(40);
    host->SetWorldTime(clock.Now());
    made->GetStreetNet()->BerechneISOAuslastung();
    made->GetIsoWelt()->OnPlayloopTurn();
  }
  CZorvaList* Cars() { return made && made->GetUserInt() ? made->GetUserInt()->GetCarList() : nullptr; }

  std::string dir;
  std::unique_ptr<CZorvaWorld> made;
  ZorManualClock clock{1000};
  CountingHost* host = nullptr;
  int refused = 0;
  int streets = 0;
};

struct Place {
  BinaryMicroSimObject* cell;
  int32_t position;
};

void BM_TrafficTurn(benchmark::State& state) {
  const int k = static_cast<int>(state.range(0));
  Game game(k, static_cast<int>(state.range(1)));
  CZorvaList* cars = game.Cars();
  if (game.refused != 0 || !cars) return Fail(state, "the grid could not be built");
  if (!game.Feed(static_cast<int>(state.range(2)))) return Fail(state, "no active hour");
  // Enough turns that the visible streets have spawned their cars.
  for (int t = 0; t < 300; ++t) game.Turn();
  if (cars->GetCount() == 0) return Fail(state, "no car came onto the streets");

  SDL_Surface* screen = game.made->GetScreen();
  std::vector<uint8_t> copy(static_cast<size_t>(screen->pitch) * static_cast<size_t>(screen->h));
  std::unordered_map<CCar*, Place> before;
  double turnSum = 0.0, copySum = 0.0;
  long moved = 0, present = 0, spawned = 0, gone = 0;
  for (auto _ : state) {
    before.clear();
    for (CZorvaPointer* p = cars->GetHeadZorvaPointer(); p; p = p->GetNextZorvaPointer()) {
      auto* car = static_cast<CCar*>(p->GetZorvaObject());
      BinaryMicroSimObject* cell = car->GetMicroSimObject();
      before[car] = {cell, cell ? cell->m_Position : 0};
    }
    const long count = cars->GetCount(), added = game.host->added, removed = game.host->removed;
    const auto t0 = std::chrono::steady_clock::now();
    game.Turn();
    const auto t1 = std::chrono::steady_clock::now();
    std::memcpy(copy.data(), screen->pixels, copy.size());
    benchmark::ClobberMemory();
    const auto t2 = std::chrono::steady_clock::now();
    const double turn = std::chrono::duration<double, std::micro>(t1 - t0).count();
    turnSum += turn;
    copySum += std::chrono::duration<double, std::micro>(t2 - t1).count();
    state.SetIterationTime(turn / 1e6);

    const long in = game.host->added - added, out = game.host->removed - removed;
    if (cars->GetCount() != count + in - out) return Fail(state, "cars not conserved in a turn");
    spawned += in;
    gone += out;
    long movedNow = 0;
    for (CZorvaPointer* p = cars->GetHeadZorvaPointer(); p; p = p->GetNextZorvaPointer()) {
      auto* car = static_cast<CCar*>(p->GetZorvaObject());
      auto it = before.find(car);
      BinaryMicroSimObject* cell = car->GetMicroSimObject();
      if (it != before.end() && cell && (it->second.cell != cell || it->second.position != cell->m_Position))
        ++movedNow;
    }
    moved += movedNow;
    present += cars->GetCount();
  }
  const double runs = static_cast<double>(state.iterations());
  if (runs > 0 && moved == 0) return Fail(state, "no car moved");
  state.counters["streets"] = game.streets;
  state.counters["cars"] = static_cast<double>(present) / runs;
  state.counters["moved_per_turn"] = static_cast<double>(moved) / runs;
  state.counters["spawned_per_turn"] = static_cast<double>(spawned) / runs;
  state.counters["removed_per_turn"] = static_cast<double>(gone) / runs;
  state.counters["turn_us"] = turnSum / runs;
  state.counters["us_per_move"] = moved > 0 ? turnSum / static_cast<double>(moved) : 0.0;
  state.counters["memcpy_us"] = copySum / runs;
  state.counters["ratio_to_memcpy"] = copySum > 0 ? turnSum / copySum : 0.0;
}
BENCHMARK(BM_TrafficTurn)
    ->Args({20, 4, 80})
    ->Args({32, 4, 80})
    ->Args({40, 3, 100})
    ->Args({40, 3, 120})
    ->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return g_failed ? 1 : 0;
}
