// One frame of the micro simulation on a dense grid of linked tile layouts
// with every lane busy: rows of tiles joined into rings, two lanes a tile
// (one each way), a vehicle in every other cell at the start. Reports the time per
// vehicle step and per cell a vehicle crossed, and the same run's
// yardstick: a walk that follows each vehicle's successor links as far as
// it moved and sums the cells' positions, the least any mover must do.
// Before timing, 50 frames must leave the cars in the cells and positions
// of the reference (a checksum); the car count must hold throughout.
// Times are the thread's own CPU time, which other processes on the shared
// core do not stretch.
#include "../bench_clock.h"
#include <benchmark/benchmark.h>

#include <ctime>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

#include "framework/zor_seams.h"
#include "iso/iso_blob.h"
#include "iso/iso_geometry.h"
#include "microsim/micro_car.h"
#include "microsim/micro_cells.h"
#include "microsim/micro_host.h"
#include "microsim/micro_simulation.h"
#include "writers/iso_writers.h"

namespace {

using Cell = BinaryMicroSimObject;

constexpr int kTileCells = 8;     // 4 cells each way
constexpr int kTileWidth = 40;    // pixels between tile anchors
constexpr uint16_t kForward = 1;  // sim ids of the two ring directions
constexpr uint16_t kBackward = 2;

class BenchHost : public CMicroSimHost {
 public:
  bool GetStreetVelocity(uint16_t simId, double& v) override {
    v = 20.0;
    return simId != 0;
  }
};

zorgen::MicroCellContent C(uint16_t id, int16_t x, int16_t y, uint32_t succ, uint32_t pred) {
  zorgen::MicroCellContent c;
  c.id = id;
  c.laneKind = 2;
  c.x = x;
  c.y = y;
  c.successors[0] = succ;
  c.predecessor = pred;
  c.nextRender = id < kTileCells ? id + 1u : 0u;
  return c;
}

// One tile: cells 1-4 along +x, cells 5-8 back along -x, 10 pixels apart.
CQnoMicroZelle* Tile() {
  zorgen::MicroLayoutContent content;
  content.firstRender = 1;
  content.cells = {C(1, 0, 0, 2, 0),   C(2, 10, 0, 3, 1),  C(3, 20, 0, 4, 2),  C(4, 30, 0, 0, 3),
                   C(5, 30, 10, 6, 0), C(6, 20, 10, 7, 5), C(7, 10, 10, 8, 6), C(8, 0, 10, 0, 7)};
  static const zorgen::Bytes bytes = zorgen::WriteMicroLayout(content);
  CQnoMicroZelle* z = CQnoMicroZelle::Create(MicroLayoutBlob(bytes.data(), static_cast<uint32_t>(bytes.size())), true);
  z->Konvert();
  return z;
}

// A lane of cells 10 pixels apart through the given points.
CQnoMicroZelle* Lane(const std::vector<std::pair<int, int>>& points, uint16_t simId) {
  zorgen::MicroLayoutContent content;
  content.firstRender = 1;
  const auto n = static_cast<uint16_t>(points.size());
  for (uint16_t i = 1; i <= n; ++i) {
    zorgen::MicroCellContent c = C(i, static_cast<int16_t>(points[i - 1].first),
                                   static_cast<int16_t>(points[i - 1].second), i < n ? i + 1u : 0u, i - 1u);
    c.nextRender = i < n ? i + 1u : 0u;
    content.cells.push_back(c);
  }
  const zorgen::Bytes bytes = zorgen::WriteMicroLayout(content);
  CQnoMicroZelle* z = CQnoMicroZelle::Create(MicroLayoutBlob(bytes.data(), static_cast<uint32_t>(bytes.size())), true);
  z->Konvert();
  z->SetFirstSimID(simId);
  z->SetScreenPos(0, 0);
  return z;
}

struct Grid {
  std::vector<std::unique_ptr<CQnoMicroZelle>> tiles;
  int cars = 0;

  // Each row is a ring: its tiles are joined tile to tile, and two lanes of
  // cells 10 pixels apart lead from the row's last tile back to its first
  // and the other way, so that no link is longer than a cell.
  Grid(int rows, int tilesPerRow) {
    CMicroSimulation linker;
    for (int r = 0; r < rows; ++r) {
      const size_t first = tiles.size();
      const int y0 = r * 40;
      for (int t = 0; t < tilesPerRow; ++t) {
        tiles.emplace_back(Tile());
        CQnoMicroZelle* z = tiles.back().get();
        z->SetFirstSimID(kForward);
        for (int i = 4; i < kTileCells; ++i) z->GetZelle(i)->m_SimID = kBackward;
        z->SetScreenPos(t * kTileWidth, y0);
        if (t > 0) linker.Link(tiles[tiles.size() - 2].get(), z, STRASSE_1, kForward, kBackward);
      }
      CQnoMicroZelle* head = tiles[first].get();
      CQnoMicroZelle* tail = tiles.back().get();
      const int endX = (tilesPerRow - 1) * kTileWidth + 30;
      std::vector<std::pair<int, int>> back, ahead;
      for (int x = endX; x >= 0; x -= 10) back.emplace_back(x, y0 - 10);
      for (int x = 0; x <= endX; x += 10) ahead.emplace_back(x, y0 + 20);
      tiles.emplace_back(Lane(back, kForward));
      CQnoMicroZelle* b = tiles.back().get();
      tail->SetNachfolger(tail->GetZelle(3), b->GetZelle(0));
      b->SetNachfolger(b->GetZelle(b->GetCount() - 1), head->GetZelle(0));
      tiles.emplace_back(Lane(ahead, kBackward));
      CQnoMicroZelle* a = tiles.back().get();
      head->SetNachfolger(head->GetZelle(7), a->GetZelle(0));
      a->SetNachfolger(a->GetZelle(a->GetCount() - 1), tail->GetZelle(4));
    }
    for (auto& z : tiles)
      for (int i = 0; i < z->GetCount(); i += 2) {
        Cell* c = z->GetZelle(i);
        auto* car = new CCar;
        c->m_Choice = 0;
        if (z->SetzeFahrzeug(c, car, 0, false, false, false) == 0) ++cars;
      }
  }
  int Count() const {
    int n = 0;
    for (const auto& z : tiles)
      for (int i = 0; i < z->GetCount(); ++i) n += z->GetZelle(i)->m_pCar ? 1 : 0;
    return n;
  }
};

// Sums the position of every cell on the way from each vehicle's cell as
// far as `cells` successor links reach.
long Yardstick(Grid& g, int cells) {
  long sum = 0;
  for (auto& z : g.tiles)
    for (int i = 0; i < z->GetCount(); ++i) {
      const Cell* c = z->GetZelle(i);
      if (!c->m_pCar) continue;
      for (int k = 0; k < cells && c; ++k) {
        sum += c->m_Position + c->m_ScreenX;
        c = c->m_pNachfolger[c->m_AnzNachfolger ? c->m_AnzNachfolger - 1 : 0];
      }
    }
  return sum;
}

// A sum over the layouts' cells, in order, of where a car stands.
uint64_t Checksum(Grid& g) {
  uint64_t sum = 0, index = 0;
  for (auto& z : g.tiles)
    for (int i = 0; i < z->GetCount(); ++i, ++index) {
      const Cell* c = z->GetZelle(i);
      if (c->m_pCar) sum += (index + 1) * 0x9E3779B97F4A7C15ULL ^ static_cast<uint64_t>(c->m_Position + 40000);
    }
  return sum;
}

// The checksum after 50 frames for each grid size.
uint64_t ReferenceChecksum(int size) {
  switch (size) {
    case 16: return 0x7707f79517fabf00ULL;
    case 48: return 0x3a3af0f7524f2100ULL;
    default: return 0;
  }
}

// The thread's CPU time in nanoseconds.
double CpuNs() { return ThreadCpuMs() * 1e6; }

void BM_MoveCars(benchmark::State& state) {
  BenchHost host;
  CMicroSimHost::Install(&host);
  g_ZoomStufe = ISO_ZOOM_2;
  zor_srandom(7);
  host.SetFrameTime(40);
  Grid grid(static_cast<int>(state.range(0)), static_cast<int>(state.range(0)));
  const int cars = grid.Count();
  for (int f = 0; f < 50; ++f)
    for (auto& z : grid.tiles) z->MoveCars(0, 0, false);
  const uint64_t checksum = Checksum(grid);
  if (checksum != ReferenceChecksum(static_cast<int>(state.range(0))) || grid.Count() != cars) {
    std::fprintf(stderr, "grid %d: after 50 frames %d cars, checksum 0x%llxULL\n", static_cast<int>(state.range(0)),
                 grid.Count(), static_cast<unsigned long long>(checksum));
    std::exit(1);
  }
  double moveNs = 0, yardNs = 0;
  long steps = 0, frames = 0, crossed = 0;
  volatile long sink = 0;
  std::vector<CCar*> carList;
  std::vector<const Cell*> cellOf;
  for (auto& z : grid.tiles)
    for (int i = 0; i < z->GetCount(); ++i)
      if (CCar* c = z->GetZelle(i)->m_pCar) carList.push_back(c);
  for (auto _ : state) {
    cellOf.clear();
    for (CCar* c : carList) cellOf.push_back(c->GetMicroSimObject());
    double t0 = CpuNs();
    for (auto& z : grid.tiles) z->MoveCars(0, 0, false);
    double t1 = CpuNs();
    moveNs += t1 - t0;
    steps += cars;
    ++frames;
    for (size_t k = 0; k < carList.size(); ++k) crossed += carList[k]->GetMicroSimObject() != cellOf[k] ? 1 : 0;
    t0 = CpuNs();
    sink = sink + Yardstick(grid, 2);
    t1 = CpuNs();
    yardNs += t1 - t0;
  }
  const int after = grid.Count();
  if (after != cars) {
    std::fprintf(stderr, "car count changed: %d -> %d\n", cars, after);
    std::exit(1);
  }
  const double cellMoves = static_cast<double>(crossed);
  state.counters["vehicles"] = cars;
  state.counters["us_per_vehicle_step"] = moveNs / 1000.0 / static_cast<double>(steps);
  state.counters["us_per_vehicle_cell_move"] = moveNs / 1000.0 / cellMoves;
  state.counters["yardstick_us_per_vehicle"] = yardNs / 1000.0 / static_cast<double>(steps);
  state.counters["ratio"] = moveNs / yardNs;
  state.counters["frames"] = static_cast<double>(frames);
  state.counters["cell_moves_per_frame"] = cellMoves / static_cast<double>(frames);
  CMicroSimHost::Install(nullptr);
}

}  // namespace

BENCHMARK(BM_MoveCars)->Arg(16)->Arg(48)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
