// The street tool on a full map: a grid of about 2,000 street junctions
// fills the cells 0 to 88, and a side street runs down column 0 to row 126.
//
// BM_PreviewMove: one mouse move while a 128-cell street from that street
// across the whole map along row 120 is dragged: the end point, every
// legality check (the walk over all 128 cells and the network's own drag
// checks) and the drawing of the preview's 128 cells. The end moves
// between the last two cells, so every move evaluates a new end. The
// yardstick is the network's own drag check of the same rectangle.
//
// BM_Release: the release of that drag: the final end, the measuring of
// the networks before and after, the build through the network and the
// cost. The street is removed again, untimed, after each release.
//
// Times are the thread's CPU time. Every result is checked: a wrong verdict, build result, junction count
// or cost fails the configuration and makes the program exit non-zero.
#include "../bench_clock.h"
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <ctime>

#include "../network/bench_network_scene.h"
#include "framework/qno_display.h"
#include "framework/qno_log.h"
#include "framework/qno_resource.h"
#include "measures/preise.h"
#include "network/str_strassen_teil.h"
#include "ui/str_preview.h"
#include "ui/user_int.h"
#include "worldbase/zor_world_host.h"

namespace {

using namespace netbench;

constexpr int kRow = 120;

class PriceHost : public CWorldHost {
 public:
  double GetPreis(int entry, int cls) override { return CPreise::GetPreis(entry, cls); }
  void SetAchtungWindow(int) override {}
};

struct Town {
  Town() {
    OpenErrorLog("/dev/null");
    char path[1024];
    QnoMakeValidPathname(ZOR_GAMEDATA_DIR, "ZORVANTA", ".GLA", path, sizeof path);
    Network::Expect(resources.AddWadFile(path), 0);
    n = std::make_unique<Network>(45, 2, GridOrder::kCellByCell, &resources);
    CStrBuildLine column(0, 88, 0, 126);
    Network::Expect(n->net->CreateStreet(&column, STRASSE_1), STR_BUILD_OK);
    surface = SDL_CreateRGBSurface(SDL_SWSURFACE, 800, 600, 16, 0xF800, 0x07E0, 0x001F, 0);
    QnoDisplayCreateStruct cs;
    cs.screenWidth = cs.viewWidth = 800;
    cs.screenHeight = cs.viewHeight = 600;
    display.Create(nullptr, &cs, surface);
    n->map->SetIsoCenter(64, kRow);
    prices.reset(CPreise::SetPreise());
    CWorldHost::Install(&host);
  }
  ~Town() {
    CWorldHost::Install(nullptr);
    SDL_FreeSurface(surface);
  }
  Town(const Town&) = delete;
  Town& operator=(const Town&) = delete;

  QnoResourceManager resources;
  std::unique_ptr<Network> n;
  SDL_Surface* surface = nullptr;
  QnoDisplay display;
  PriceHost host;
  std::unique_ptr<CPreise> prices;
};

double Now() { return ThreadCpuMs(); }

double Ms(double a, double b) { return b - a; }

void BM_PreviewMove(benchmark::State& state) {
  Town t;
  CStrPreviewRect preview(t.n->map.get(), t.n->net.get(), nullptr);
  Network::Expect(preview.SetStartPoint(0, kRow, STRASSE_1), true);
  for (int x = 1; x <= 126; ++x) preview.SetEndPoint(static_cast<short>(x), kRow, STRASSE_1);
  double moveSum = 0, yardSum = 0;
  int end = 127;
  for (auto _ : state) {
    const auto t0 = Now();
    const bool valid = preview.SetEndPoint(static_cast<short>(end), kRow, STRASSE_1);
    const int drawn = preview.Render(&t.display, &t.resources);
    const auto t1 = Now();
    const int net = t.n->net->CheckDrag(0, kRow, static_cast<short>(end), kRow, STRASSE_1);
    const auto t2 = Now();
    Network::Expect(valid && preview.IsValid(), true);
    Network::Expect(preview.GetSelectionLength(), end);
    Network::Expect(drawn, 0);
    Network::Expect(net, 0);
    moveSum += Ms(t0, t1);
    yardSum += Ms(t1, t2);
    state.SetIterationTime(Ms(t0, t1) / 1000.0);
    end = end == 127 ? 126 : 127;
    if (g_failed) {
      state.SkipWithError("wrong preview result");
      break;
    }
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["junctions"] = static_cast<double>(t.n->net->GetNumber());
  state.counters["move_ms"] = moveSum / runs;
  state.counters["yardstick_ms"] = yardSum / runs;
  state.counters["ratio"] = yardSum > 0 ? moveSum / yardSum : 0.0;
}
BENCHMARK(BM_PreviewMove)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_Release(benchmark::State& state) {
  Town t;
  CStrJunctionList* net = t.n->net.get();
  const int junctions = static_cast<int>(net->GetNumber());
  CStrPreviewRect preview(t.n->map.get(), net, nullptr);
  double releaseSum = 0, releaseMax = 0;
  for (auto _ : state) {
    Network::Expect(preview.SetStartPoint(0, kRow, STRASSE_1), true);
    for (int x = 1; x <= 127; x += 7) preview.SetEndPoint(static_cast<short>(x), kRow, STRASSE_1);
    const auto t0 = Now();
    const CUserInt::NetLengths before = CUserInt::MeasureNetLengths(net, nullptr);
    const bool final = preview.SetFinalEndPos(127, kRow, STRASSE_1);
    const int built = final ? net->CreateStreet(&preview, STRASSE_1) : -1;
    const CUserInt::NetLengths after = CUserInt::MeasureNetLengths(net, nullptr);
    double streets = 0, tracks = 0;
    CUserInt::StreetChangeCosts(before, after, &streets, &tracks);
    const auto t1 = Now();
    Network::Expect(built, STR_BUILD_OK);
    // The new street from the T at 0/120 to 127/120: 127 cells, 25000 per 100.
    Network::Expect(static_cast<int>(std::lround(streets)), 25000 * 127);
    Network::Expect(static_cast<int>(net->GetNumber()), junctions + 2);
    CStrStrasse* s = nullptr;
    CStrStrassenTeil* piece = nullptr;
    net->PointHitStreet(64, kRow, &s, &piece);
    Network::Expect(s ? net->DeleteStreet(s) : -1, 0);
    Network::Expect(static_cast<int>(net->GetNumber()), junctions);
    const double ms = Ms(t0, t1);
    releaseSum += ms;
    releaseMax = std::max(releaseMax, ms);
    state.SetIterationTime(ms / 1000.0);
    if (g_failed) {
      state.SkipWithError("wrong release result");
      break;
    }
  }
  state.counters["junctions"] = junctions;
  state.counters["release_ms"] = releaseSum / static_cast<double>(state.iterations());
  state.counters["release_max_ms"] = releaseMax;
}
BENCHMARK(BM_Release)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return g_failed ? 1 : 0;
}
