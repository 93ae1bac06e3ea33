// The statistics page's chart drawn on a 1024 x 768 screen: thirty
// recordings of a growing town, the city's group with three series shown,
// on the generated game data's font; a memcpy of the whole 16-bit screen is
// the yardstick in the same run.
//
// The chart is checked first: the population's line is drawn in its colour
// inside the chart's rectangle and rises from left to right, the labels
// around it stay on the statistics page, and two drawings give the same
// pixels; a wrong chart makes the program exit non-zero.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "model/data_exchange.h"
#include "model/statistik.h"

#include "bench_ui_hosts.h"

namespace {

bool g_failed = false;
constexpr int kW = 1024, kH = 768;
// The chart item's place on the page, with the group standing where it opens.
constexpr int kPageX = 206 + 51, kPageY = 50 + 21, kPageW = 439, kPageH = 303;
constexpr int kX = kPageX + 92, kY = kPageY + 49, kChartW = 253, kChartH = 115;

struct Scene {
  QnoResourceManager resources;
  QnoDisplay display;
  CUserInt* ui = nullptr;
  benchui::Hosts hosts{ui};
  SDL_Surface* surface = nullptr;
  CDataExchange dx;
  CStatistik stat;

  Scene() {
    surface = benchui::LoadScreen(resources, display, hosts, kW, kH);
    stat.Attach(&dx, nullptr);
    // Thirty recordings, every fourth hour from 5 to 17, a town that grows.
    for (int k = 0; k < CStatistik::kSlots; ++k) {
      dx.SetPeople(20000 + 900 * k);
      const int year = 1 + k / 4, hour = 5 + 4 * (k % 4);
      stat.OnPlayloopTurn(STime{hour, 1, year, static_cast<float>(year)}, STime{hour - 1, 1, year, 0});
    }
    stat.ChangeGruppe(0);
    stat.GruppeAlleAus();
    for (int s : {0, 1, 2}) stat.Toggle(s);
    stat.YearMax(CStatistik::kSlots);
  }
  ~Scene() { SDL_FreeSurface(surface); }
  Scene(const Scene&) = delete;
  Scene& operator=(const Scene&) = delete;

  void Draw() { stat.RenderStatistik(&display, &resources, kX, kY, kChartW, kChartH); }
  uint16_t Pixel(int x, int y) const {
    return reinterpret_cast<const uint16_t*>(static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch)[x];
  }

  bool Check() {
    display.GetRenderBuffer()->FillRect(0, 0, kW, kH, 0);
    Draw();
    const uint32_t first = benchui::Checksum(surface);
    Draw();
    const uint32_t second = benchui::Checksum(surface);
    const uint16_t colour = stat.GetSeries(0).pixel;
    int outside = 0, lineLeftX = kW, lineLeftY = -1, lineRightX = -1, lineRightY = -1, line = 0;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        const bool in = x >= kX && x < kX + kChartW && y >= kY && y < kY + kChartH;
        const bool onPage = x >= kPageX && x < kPageX + kPageW && y >= kPageY && y < kPageY + kPageH;
        const uint16_t p = Pixel(x, y);
        outside += !onPage && p != 0;
        if (!in) continue;
        if (p != colour) continue;
        ++line;
        // The topmost pixel of the line's leftmost and rightmost columns.
        if (x < lineLeftX || (x == lineLeftX && y < lineLeftY)) lineLeftX = x, lineLeftY = y;
        if (x > lineRightX || (x == lineRightX && y < lineRightY)) lineRightX = x, lineRightY = y;
      }
    const bool right = colour != 0 && line > kChartW / 2 && lineRightX - lineLeftX > kChartW / 2 &&
                       lineRightY < lineLeftY && outside == 0 && first == second;
    if (!right) {
      std::fprintf(stderr,
                   "statistics chart: wrong drawing (line %d pixels from (%d, %d) to (%d, %d), %d outside, checksums "
                   "%08x %08x)\n",
                   line, lineLeftX, lineLeftY, lineRightX, lineRightY, outside, first, second);
      g_failed = true;
    }
    return right;
  }
};

void BM_StatistikChart1024(benchmark::State& state) {
  Scene scene;
  if (!scene.Check()) {
    state.SkipWithError("wrong chart");
    return;
  }
  for (auto _ : state) {
    scene.Draw();
    benchmark::ClobberMemory();
  }
  state.counters["checksum"] = static_cast<double>(benchui::Checksum(scene.surface));
}

// The yardstick: one copy of the whole 1024 x 768 16-bit screen.
void BM_Screen1024Memcpy(benchmark::State& state) {
  std::vector<uint16_t> from(kW * kH, 0x1234), to(kW * kH);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), from.size() * sizeof(uint16_t));
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}

}  // namespace

BENCHMARK(BM_StatistikChart1024)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Screen1024Memcpy)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return g_failed ? 1 : 0;
}
