// One pass of the game's frame loop (a turn and a frame at 800 x 600) in a
// town running 40 public-transport lines: 30 bus lines on six avenues and
// 10 tram lines on two tracks, each with the vehicles it needs, on the
// generated game data, headless.
//
// BM_TurnAndFrame: `CZorFrameLoop::Iterate` with the clock one turn on;
// the vehicles drive, dwell and turn at their ends. BM_FrameYardstick: the
// same pass on the same map before the streets, tracks and lines are made,
// in the same run, so the town's share reads as a difference and a ratio.
//
// Checked: every line is made with its stops, every line has the vehicles
// it shows out after the town has run, every vehicle stands in a cell of
// the micro simulation, and vehicles move during the timed passes. A failed
// check makes the program exit non-zero.
#include <benchmark/benchmark.h>

#include <SDL.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "../bench_min_time.h"
#include "bench_game.h"
#include "bench_town_parts.h"
#include "framework/qno_log.h"
#include "framework/zor_seams.h"
#include "iso/iso_welt.h"
#include "measures/building_object.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "microsim/micro_car.h"
#include "network/rail_junction_list.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "network/street_objects.h"
#include "worldbase/building_catalogue.h"
#include "world/zor_frame_loop.h"
#include "world/zor_world.h"

namespace {

bool g_failed = false;

void Fail(benchmark::State& state, const char* what) {
  std::fprintf(stderr, "world_opnv_frame_bench: %s\n", what);
  g_failed = true;
  state.SkipWithError(what);
}

constexpr int kTurnMs = 50;
constexpr int kHourMs = 400;
// Six avenues and two tracks in the part of the map the screen shows, with
// six stops each: the micro simulation moves vehicles where it is seen.
constexpr int kAvenues[] = {52, 55, 58, 61, 64, 67};
constexpr int kTracks[] = {49, 70};
constexpr int kFrom = 48, kTo = 72;
constexpr int kStopX[] = {51, 54, 57, 60, 63, 66};
// The stop pairs of the five lines of each avenue or track.
constexpr int kLineStops[5][3] = {{0, 2, 4}, {1, 3, 5}, {0, 5, -1}, {2, 3, -1}, {1, 4, -1}};

struct Town : benchworld::Game {
  Town() : benchworld::Game("zor_opnvframe") {
    if (!world) return;
    loop = std::make_unique<CZorFrameLoop>(world.get());
    for (int i = 0; i < 40 && world->GetStartupPhase() != 0; ++i) Pass();
    for (int id : {249, 237, 246, 245, 160}) world->DeActivateWindow(id);
    world->SetPause(false);
    for (int i = 0; i < 10; ++i) Pass();
  }
  ~Town() { loop.reset(); }
  // One pass of the frame loop, the clock one turn on.
  void Pass() {
    clock.Advance(kTurnMs);
    loop->Iterate();
  }

  // The 40 lines with their vehicles; false when the town refuses a part.
  bool MakeLines() {
    COpnv& opnv = *world->GetOpnv();
    CStrJunctionList* streets = world->GetStreetNet();
    auto build = [&](CStrJunctionList* net, int x1, int y1, int x2, int y2, TStrassenType type) {
      CStrBuildLine line(static_cast<short>(x1), static_cast<short>(y1), static_cast<short>(x2), static_cast<short>(y2));
      return net->CreateStreet(&line, type) == STR_BUILD_OK;
    };
    // Each avenue and track joins the one before through a cross street or
    // track at its end.
    if (!build(streets, kFrom, kAvenues[0], kTo, kAvenues[0], STRASSE_2) ||
        !build(streets, kFrom, kAvenues[0], kFrom, kAvenues[5], STRASSE_2))
      return false;
    for (int i = 1; i < 6; ++i)
      if (!build(streets, kFrom, kAvenues[i], kTo, kAvenues[i], STRASSE_2)) return false;
    for (int i = 0; i + 1 < 6; ++i)
      if (!build(streets, kTo, kAvenues[i], kTo, kAvenues[i + 1], STRASSE_2)) return false;
    CStrJunctionList* rails = streets->GetRailNet();
    if (!build(rails, kFrom, kTracks[0], kTo + 3, kTracks[0], STRASSE_SCHIENE) ||
        !build(rails, kTo + 3, kTracks[0], kTo + 3, kTracks[1], STRASSE_SCHIENE) ||
        !build(rails, kFrom, kTracks[1], kTo + 3, kTracks[1], STRASSE_SCHIENE))
      return false;
    auto makeLines = [&](int y, TObjectType kind, NetActiveType net) {
      CSecondLayerObject* stops[6] = {};
      for (int i = 0; i < 6; ++i)
        if (!(stops[i] = benchworld::PlaceStop(*world, kind, kStopX[i], y))) return false;
      for (const auto& pick : kLineStops) {
        COpnvLine* line = opnv.CreateNewLine(net);
        if (!line) return false;
        for (int s : pick)
          if (s >= 0 && line->ToolAddHstTail(stops[s], benchworld::StreetIdOf(stops[s])) != 0) return false;
        lines.push_back(line);
      }
      return true;
    };
    for (int y : kAvenues)
      if (!makeLines(y, OBJ_BUSSTOP_SIGN, NET_BUS)) return false;
    for (int y : kTracks)
      if (!makeLines(y, OBJ_TRAMSTOP, NET_TRAM)) return false;
    opnv.CheckMakeVirtuellNet();
    int buses = 0, trams = 0;
    for (COpnvLine* line : lines) (line->GetNetType() == NET_TRAM ? trams : buses) += line->GetData()->vehiclesNeeded;
    if (opnv.SetVarData("OPNV.FP.BUS.NORMAL.BUYSELL", buses) != 0 || opnv.SetVarData("OPNV.FP.BUS.BUYSELL.OK", 1) != 0 ||
        opnv.SetVarData("OPNV.FP.TRAM.BUYSELL", trams) != 0 || opnv.SetVarData("OPNV.FP.TRAM.BUYSELL.OK", 1) != 0)
      return false;
    for (COpnvLine* line : lines) {
      opnv.SetActiveLine(line->GetID());
      for (int i = 0; i < line->GetData()->vehiclesNeeded; ++i)
        if (opnv.SetVarData("OPNV.MOVEFP.PLUS", 1) != 0) return false;
    }
    // A line shows some of the vehicles it needs at a time.
    for (COpnvLine* line : lines) shown += COpnvLine::WantedVehicles(line->GetData()->vehiclesNeeded);
    return true;
  }

  int VehiclesOut() const {
    int n = 0;
    for (COpnvLine* line : lines) n += line->GetVehicleCount();
    return n;
  }

  // A fingerprint of where every vehicle is drawn; false when a vehicle of
  // a line stands in no cell of the micro simulation.
  bool Positions(uint64_t& print) const {
    print = 1469598103934665603ull;
    for (COpnvLine* line : lines)
      for (int i = 0; i < COpnvLine::kVehicleSlots; ++i) {
        CMicroOpnv* v = line->GetVehicle(i);
        if (!v) continue;
        if (!v->GetMicroSimObject()) return false;
        int x = 0, y = 0, x2 = 0, y2 = 0;
        v->GetScreenXYPos(x, y, x2, y2);
        print = (print ^ static_cast<uint64_t>((x + 1000) * 4096 + (y + 1000))) * 1099511628211ull;
      }
    return true;
  }

  std::unique_ptr<CZorFrameLoop> loop;
  std::vector<COpnvLine*> lines;
  int shown = 0;
};

Town* g_town = nullptr;

void BM_FrameYardstick(benchmark::State& state) {
  Town& town = *g_town;
  if (!town.lines.empty()) Fail(state, "the yardstick runs before the lines are made");
  for (auto _ : state) town.Pass();
}

void BM_TurnAndFrame(benchmark::State& state) {
  Town& town = *g_town;
  if (town.lines.empty()) {
    if (!town.MakeLines()) Fail(state, "the town refused a street, stop or line");
    town.world->SetGameSpeed(CZorvaWorld::kGameSpeedSum - kHourMs);
    // The vehicles go out as the hours pass.
    town.world->SetPause(false);
    for (int i = 0; i < 4000 && town.VehiclesOut() < town.shown; ++i) {
      if (town.world->IsPause()) town.world->SetPause(false);
      town.Pass();
    }
  }
  if (town.lines.size() != 40) Fail(state, "not 40 lines");
  if (town.VehiclesOut() != town.shown) Fail(state, "not every line has its vehicles out");
  uint64_t before = 0, after = 0;
  town.world->SetPause(false);
  if (!town.Positions(before)) Fail(state, "a vehicle stands in no cell");
  for (auto _ : state) town.Pass();
  if (!town.Positions(after)) Fail(state, "a vehicle stands in no cell");
  if (after == before) Fail(state, "no vehicle moved");
  state.counters["lines"] = static_cast<double>(town.lines.size());
  state.counters["vehicles"] = town.VehiclesOut();
}

BENCHMARK(BM_FrameYardstick)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TurnAndFrame)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  char defaultMinTime[] = "--benchmark_min_time=1.0";
  InitializeWithMinTime({argv, argv + argc}, defaultMinTime);
  auto town = std::make_unique<Town>();
  g_town = town.get();
  if (town->dir.empty() || town->world->GetStartupPhase() != 0) {
    std::fprintf(stderr, "world_opnv_frame_bench: the game did not start\n");
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  town.reset();
  return g_failed ? 1 : 0;
}
