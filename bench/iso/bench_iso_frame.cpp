// One frame of the map on a real city: a grid of streets and junctions
// built with the street tool's operation, the generated game data's
// catalogue groups in every rotation, trees and ground, mixed at random with
// a fixed seed. Frames at the three levels and two screen sizes with a warm and a
// cold sprite render cache, a turn and a zoom each with the first frame
// after them, and a full-screen memcpy of the same screen as the yardstick.
//
// Every configuration first draws its frame twice, once the way it is timed
// and once the plain, uncached way, and compares the checksums; a frame that
// differs, or that shows too little of the city, fails the configuration
// and makes the program exit non-zero.
#include <benchmark/benchmark.h>

#include <SDL.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "../bench_clock.h"
#include "../../tests/network/network_object_host.h"
#include "../../tests/sim/sim_test_city.h"
#include "../../tests/sim/sim_work_dir.h"
#include "framework/qno_display.h"
#include "framework/qno_log.h"
#include "framework/qno_resource.h"
#include "iso/iso_group_walk.h"
#include "iso/iso_welt.h"
#include "manifest.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "world/zor_startup_tables.h"

namespace {

bool g_failed = false;

// The map's host as the game's is on a change of level or rotation: the
// street network lays its cell layouts again for the new view.
class ViewHost : public NetObjectHost {
 public:
  void TurnMicroSim() override {
    ++viewChanges;
    CStrJunctionList::TurnNetworksMicroSim(net, nullptr);
  }
  CStrJunctionList* net = nullptr;
  int viewChanges = 0;
};

constexpr uint32_t kSeed = 20240611;
// Ground tiles: plain lawn and paving, and the ones that carry a bush or trees.
constexpr int kPlainGround[] = {10538, 10539, 10540, 10541, 10542, 10543, 10547, 39641};
constexpr int kTreeGround[] = {10544, 10545, 39640, 39642};

// The street grid: nodes kStreetStep cells apart from kStreetFirst on, over
// the whole map.
constexpr int kStreetStep = 9;
constexpr int kStreetFirst = 5;

// The level of a zoom index: index 0 has the largest tiles.
constexpr TIsoZoomStufe kLevel[3] = {ISO_ZOOM_1, ISO_ZOOM_2, ISO_ZOOM_4};

uint32_t Checksum(SDL_Surface* s) {
  uint32_t h = 2166136261u;
  for (int y = 0; y < s->h; ++y) {
    const uint8_t* row = static_cast<const uint8_t*>(s->pixels) + y * s->pitch;
    for (int i = 0; i < 2 * s->w; ++i) h = (h ^ row[i]) * 16777619u;
  }
  return h;
}

int DistinctColours(SDL_Surface* s) {
  std::set<uint16_t> seen;
  for (int y = 0; y < s->h; ++y) {
    const auto* row = reinterpret_cast<const uint16_t*>(static_cast<const uint8_t*>(s->pixels) + y * s->pitch);
    for (int x = 0; x < s->w; ++x) seen.insert(row[x]);
  }
  return static_cast<int>(seen.size());
}

// The city and a screen of one size, shared by the runs of that size.
struct City {
  QnoResourceManager resources;
  SDL_Surface* surface = nullptr;
  QnoDisplay display;
  ViewHost host;
  simtest::TestParts parts;
  std::unique_ptr<CIsoWelt> map;
  std::unique_ptr<CSimWelt> sim;
  std::unique_ptr<CStrJunctionList> net;
  int streets = 0;          // streets built
  int refusedStreets = 0;   // streets the network refused
  int streetCells = 0;      // cells showing a street or a junction
  std::vector<uint8_t> copySource;
  int placed = 0;        // groups on the map
  int placedPairs = 0;   // distinct (group, direction) pairs among them
  int pairs = 0;         // (group, direction) pairs of the catalogue
  bool archivesOpen = true;
  bool simOk = false;

  City(int width, int height) {
    for (const char* name : {"ZORVANTA", "BSOUNDS", "UPDATE"}) {
      char path[1024];
      QnoMakeValidPathname(ZOR_GAMEDATA_DIR, name, ".GLA", path, sizeof path);
      archivesOpen &= resources.AddWadFile(path) == 0;
    }
    surface = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 16, 0xF800, 0x07E0, 0x001F, 0);
    QnoDisplayCreateStruct cs;
    cs.screenWidth = cs.viewWidth = width;
    cs.screenHeight = cs.viewHeight = height;
    display.Create(nullptr, &cs, surface);
    g_ZoomStufe = ISO_ZOOM_2;
    g_IsoRichtung = 0;
    map = std::make_unique<CIsoWelt>(&host, &resources, &display);
    map->OnCreate();
    for (const StreetTypeRow& t : kStreetTypes)
      map->DefineStreet(t.type, t.straight, 0, t.bend, 0, t.crossing, 0, t.tJunction, 0, t.end, 0, t.capacity);
    sim = std::make_unique<CSimWelt>(&parts);
    simOk = static_cast<bool>(simtest::InSimWorkDir([&] { return sim->Create(nullptr); }));
    CStrStrassenTeil::m_pIsoWelt = map.get();
    CStrExtTeil::m_pIsoWelt = map.get();
    net = std::make_unique<CStrJunctionList>(map.get(), sim.get());
    net->Create();
    host.net = net.get();
    Build();
    copySource.assign(static_cast<size_t>(surface->pitch) * height, 0x5A);
  }
  ~City() {
    host.net = nullptr;
    net->Destroy();
    net.reset();
    CStrStrassenTeil::m_pIsoWelt = nullptr;
    CStrExtTeil::m_pIsoWelt = nullptr;
    sim->Destroy();
    sim.reset();
    map.reset();
    SDL_FreeSurface(surface);
  }

  void Build() {
    std::mt19937 rng(kSeed);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<uint32_t>(n)); };
    // Ground everywhere, a fifth of it with trees.
    for (int x = 0; x < ISO_MAP_SIZE; ++x)
      for (int y = 0; y < ISO_MAP_SIZE; ++y) {
        const int id = pick(5) == 0 ? kTreeGround[pick(4)] : kPlainGround[pick(8)];
        map->SetIsoTileAt(x, y, ISO_LAYER_GROUND, CIsoRichtung(pick(4)), id, nullptr);
      }
    BuildStreets();
    // Street and junction cells take no group.
    std::vector<bool> taken(ISO_MAP_SIZE * ISO_MAP_SIZE, false);
    for (int x = 0; x < ISO_MAP_SIZE; ++x)
      for (int y = 0; y < ISO_MAP_SIZE; ++y) {
        const TObjectType t = map->GetTypeAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), ISO_LAYER_GROUND);
        if (t == OBJ_STREET_PIECE || t == OBJ_CROSSING) {
          taken[x * ISO_MAP_SIZE + y] = true;
          ++streetCells;
        }
      }
    auto place = [&](const zorgen::IsoGroupArt& g, int dir, int x, int y) {
      bool free = true;
      IsoVisitGroupPlacement(dir, g.width, g.depth, [&](const IsoGroupCell& p) {
        const int cx = x + p.dx, cy = y + p.dy;
        free = cx < ISO_MAP_SIZE && cy < ISO_MAP_SIZE && !taken[cx * ISO_MAP_SIZE + cy];
        return free;
      });
      if (!free) return false;
      const TBaseType layer = g.UpperLayer() ? ISO_LAYER_UPPER : ISO_LAYER_GROUND;
      if (map->SetIsoGroupTurnedAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), layer,
                                   static_cast<int>(g.id), nullptr, CIsoRichtung(dir)) != 0)
        return false;
      IsoVisitGroupPlacement(dir, g.width, g.depth, [&](const IsoGroupCell& p) {
        taken[(x + p.dx) * ISO_MAP_SIZE + y + p.dy] = true;
        return true;
      });
      ++placed;
      return true;
    };
    // Every group of the catalogue in every direction, near the middle
    // first, then the rest of the map filled at random; the building mark
    // is an overlay, not a building.
    std::vector<std::pair<const zorgen::IsoGroupArt*, int>> all;
    for (const zorgen::IsoGroupArt& g : zorgen::IsoGroups())
      if (g.design != zorgen::IsoDesign::Marker)
        for (int dir = 0; dir < 4; ++dir) all.push_back({&g, dir});
    pairs = static_cast<int>(all.size());
    std::shuffle(all.begin(), all.end(), rng);
    for (const auto& [g, dir] : all)
      for (int attempt = 0; attempt < 4000; ++attempt) {
        const int spread = attempt < 400 ? 60 : ISO_MAP_SIZE, from = (ISO_MAP_SIZE - spread) / 2;
        if (place(*g, dir, from + pick(spread), from + pick(spread))) {
          ++placedPairs;
          break;
        }
      }
    for (int attempt = 0; attempt < 60000; ++attempt) {
      const auto& [g, dir] = all[static_cast<size_t>(pick(static_cast<int>(all.size())))];
      place(*g, dir, pick(ISO_MAP_SIZE), pick(ISO_MAP_SIZE));
    }
  }

  // A grid of nodes over the map joined street by street, as the player
  // drags them, each street from the network built so far: the first row,
  // the columns down from it, then the other rows across the columns;
  // one-tile streets of both widths, every third row one-way.
  void BuildStreets() {
    const int nodes = (ISO_MAP_SIZE - 1 - kStreetFirst) / kStreetStep + 1;
    auto node = [](int i) { return static_cast<short>(kStreetFirst + kStreetStep * i); };
    auto build = [&](int i1, int j1, int i2, int j2, TStrassenType t) {
      CStrBuildLine line(node(i1), node(j1), node(i2), node(j2));
      if (net->CreateStreet(&line, t) == STR_BUILD_OK)
        ++streets;
      else
        ++refusedStreets;
    };
    auto row = [](int j) { return j % 3 == 2 ? STRASSE_EINBAHN : j % 2 ? STRASSE_2 : STRASSE_1; };
    for (int i = 0; i + 1 < nodes; ++i) build(i, 0, i + 1, 0, row(0));
    for (int i = 0; i < nodes; ++i)
      for (int j = 0; j + 1 < nodes; ++j) build(i, j, i, j + 1, i % 2 ? STRASSE_2 : STRASSE_1);
    for (int j = 1; j < nodes; ++j)
      for (int i = 0; i + 1 < nodes; ++i) build(i, j, i + 1, j, row(j));
  }

  void SetLevel(int zoomIndex, int rotation = 0) {
    g_ZoomStufe = kLevel[zoomIndex];
    g_IsoRichtung = rotation;
    map->GetUpdateRndLst()->Update();
    map->SetIsoCenter(64, 64);
    map->ResetCompleteSpriteRenderList();
    // The layouts of the level and rotation, as a zoom leaves them.
    net->TurnMicroSim();
  }

  void Clear() { SDL_FillRect(surface, nullptr, 0); }

  // Draws frames until the cache has settled: the covers of the ground are
  // worked out over the first frames after a change.
  void Settle(bool diagonal) {
    const int frames = static_cast<int>(ISO_MAP_SIZE * ISO_MAP_SIZE / CIsoWelt::kCoverCellsPerFrame) + 2;
    for (int i = 0; i < frames; ++i)
      diagonal ? map->RenderSpriteList_Diagonal(&display) : map->RenderSpriteList_Left_Right(&display);
  }

  // The frame drawn the plain, uncached way.
  uint32_t PlainChecksum() {
    Clear();
    map->Render(&display);
    return Checksum(surface);
  }
};

// One city at a time, as the game has one map: the map, its objects and
// the street network keep pointers to the map in shared statics, which a
// second city would take over and the first one's end would clear.
City& CityOf(int width) {
  static std::unique_ptr<City> city;
  static int cityWidth = 0;
  if (!city || cityWidth != width) {
    city.reset();
    city = std::make_unique<City>(width, width == 800 ? 600 : 768);
    cityWidth = width;
  }
  return *city;
}

int ZoomIndexOfTile(int tileWidth) {
  for (int i = 0; i < 3; ++i)
    if (Tile_Size_X[i] == tileWidth) return i;
  return -1;
}

// The city of the run's width at the run's level, or null after failing
// the run when the city is not what it should be.
City* Prepare(benchmark::State& state) {
  City& c = CityOf(static_cast<int>(state.range(1)));
  const int zi = ZoomIndexOfTile(static_cast<int>(state.range(0)));
  if (!c.archivesOpen || !c.simOk || zi < 0 || c.placedPairs != c.pairs || c.placed < 1000 ||
      c.refusedStreets > 0 || c.streets < 300 || c.streetCells < 2000) {
    char text[200];
    std::snprintf(text, sizeof text,
                  "no city: archives %s, %d groups placed, %d of %d group directions, %d streets built, %d refused, "
                  "%d street cells",
                  c.archivesOpen ? "open" : "missing", c.placed, c.placedPairs, c.pairs, c.streets, c.refusedStreets,
                  c.streetCells);
    state.SkipWithError(text);
    g_failed = true;
    return nullptr;
  }
  c.SetLevel(zi);
  state.SetLabel("level " + std::to_string(static_cast<int>(kLevel[zi])));
  return &c;
}

// Fails the run unless the frame on the screen is the plain frame and shows
// the city.
bool Check(benchmark::State& state, City& c, uint32_t plain, const char* what) {
  const uint32_t drawn = Checksum(c.surface);
  const int colours = DistinctColours(c.surface);
  if (drawn != plain || colours < 200) {
    char text[160];
    std::snprintf(text, sizeof text, "%s: checksum %08x, plain %08x, %d colours", what, drawn, plain, colours);
    state.SkipWithError(text);
    g_failed = true;
    return false;
  }
  return true;
}

void BM_FrameWarm(benchmark::State& state) {
  City* c = Prepare(state);
  if (!c) return;
  const uint32_t plain = c->PlainChecksum();
  c->Settle(false);
  c->Clear();
  c->map->RenderSpriteList_Left_Right(&c->display);
  if (!Check(state, *c, plain, "warm frame")) return;
  const uint32_t builds = c->map->GetCacheBuildCount();
  const uint32_t replays = c->map->GetReplayedFrameCount();
  for (auto _ : state) {
    c->map->RenderSpriteList_Left_Right(&c->display);
    benchmark::ClobberMemory();
  }
  // The timed frames after the first are drawn another way (from the
  // pixels no later sprite draws over): the last one is checked too.
  c->Clear();
  c->map->RenderSpriteList_Left_Right(&c->display);
  if (!Check(state, *c, plain, "warm frame after the timed ones")) return;
  state.counters["hidden"] = c->map->GetHiddenSpriteCount();
  state.counters["cells"] = static_cast<double>(c->map->GetFrameCellCount());
  state.counters["rebuilds"] = c->map->GetCacheBuildCount() - builds;
  // The share of the timed frames drawn from the last frame's steps.
  state.counters["replayed"] =
      static_cast<double>(c->map->GetReplayedFrameCount() - replays) / static_cast<double>(state.iterations());
}

void BM_FrameCold(benchmark::State& state) {
  City* c = Prepare(state);
  if (!c) return;
  const uint32_t plain = c->PlainChecksum();
  c->Clear();
  c->map->ResetCompleteSpriteRenderList();
  c->map->RenderSpriteList_Left_Right(&c->display);
  if (!Check(state, *c, plain, "cold frame")) return;
  for (auto _ : state) {
    c->map->ResetCompleteSpriteRenderList();
    c->map->RenderSpriteList_Left_Right(&c->display);
    benchmark::ClobberMemory();
  }
}

// The warm frame drawn cell by cell from the cache, as when something
// changes every frame: the cache of one cell is dropped and made again
// before each frame, which draws the whole frame afresh.
void BM_FrameWarmAfresh(benchmark::State& state) {
  City* c = Prepare(state);
  if (!c) return;
  const uint32_t plain = c->PlainChecksum();
  c->Settle(false);
  const auto [x, y] = std::pair{64, 64};
  c->map->InvalidateSpriteRenderList(x, y);
  c->Clear();
  c->map->RenderSpriteList_Left_Right(&c->display);
  if (!Check(state, *c, plain, "warm frame drawn afresh")) return;
  const uint32_t replays = c->map->GetReplayedFrameCount();
  for (auto _ : state) {
    c->map->InvalidateSpriteRenderList(x, y);
    c->map->RenderSpriteList_Left_Right(&c->display);
    benchmark::ClobberMemory();
  }
  if (c->map->GetReplayedFrameCount() != replays) {
    state.SkipWithError("a frame after a change was replayed");
    g_failed = true;
  }
}

void BM_FrameDiagonalWarm(benchmark::State& state) {
  City* c = Prepare(state);
  if (!c) return;
  const uint32_t plain = c->PlainChecksum();
  c->Settle(true);
  c->Clear();
  c->map->RenderSpriteList_Diagonal(&c->display);
  // The diagonal walk orders the cells of a screen row differently; only
  // vanished work is caught here.
  if (plain == 0 || DistinctColours(c->surface) < 200) {
    state.SkipWithError("diagonal frame shows too little");
    g_failed = true;
    return;
  }
  for (auto _ : state) {
    c->map->RenderSpriteList_Diagonal(&c->display);
    benchmark::ClobberMemory();
  }
}

void BM_FramePlain(benchmark::State& state) {
  City* c = Prepare(state);
  if (!c) return;
  const uint32_t plain = c->PlainChecksum();
  if (!Check(state, *c, plain, "plain frame")) return;
  for (auto _ : state) {
    c->map->Render(&c->display);
    benchmark::ClobberMemory();
  }
}

// Fails the run unless the first frame after each of eight turns right
// (the first four to rotations not shown since the level was set, the
// next four back to them) is the plain frame of its rotation. Then each
// rotation is shown until its cache has settled, as a player who looks
// at it for a while.
bool CheckTurns(benchmark::State& state, City& c) {
  for (int turn = 0; turn < 12; ++turn) {
    if (turn >= 8) {
      c.map->UserIntTurnRight();
      c.Settle(false);
      continue;
    }
    c.map->UserIntTurnRight();
    c.Clear();
    c.map->RenderSpriteList_Left_Right(&c.display);
    const uint32_t turned = Checksum(c.surface);
    const uint32_t plain = c.PlainChecksum();
    c.Clear();
    c.map->RenderSpriteList_Left_Right(&c.display);
    if (turned != Checksum(c.surface) || !Check(state, c, plain, "frame after a turn")) {
      g_IsoRichtung = 0;
      return false;
    }
  }
  return true;
}

// Times turns right, each with everything it refreshes (the turned render
// lists, the view, the micro cells, the cache of the new rotation) and
// with what goes before it, and the first frame after it; counts the cache entries made and the frames drawn again from
// their steps per turn. What comes before a turn: nothing, a change to one
// cell of the view, or dropping every rotation's cache.
enum class BeforeTurn { Nothing, ChangeACell, DropCaches };
void TimeTurns(benchmark::State& state, BeforeTurn before) {
  City* c = Prepare(state);
  if (!c || !CheckTurns(state, *c)) return;
  const uint32_t builds = c->map->GetCacheBuildCount();
  const uint32_t replays = c->map->GetReplayedFrameCount();
  for (auto _ : state) {
    if (before == BeforeTurn::ChangeACell) c->map->InvalidateSpriteRenderList(64, 64);
    if (before == BeforeTurn::DropCaches) c->map->ResetCompleteSpriteRenderList();
    c->map->UserIntTurnRight();
    c->map->RenderSpriteList_Left_Right(&c->display);
    benchmark::ClobberMemory();
  }
  const uint32_t replayed = c->map->GetReplayedFrameCount() - replays;
  // The frame after the timed turns, held to the plain one.
  c->map->UserIntTurnRight();
  const uint32_t plain = c->PlainChecksum();
  c->Clear();
  c->map->RenderSpriteList_Left_Right(&c->display);
  if (!Check(state, *c, plain, "frame after the timed turns")) {
    g_IsoRichtung = 0;
    return;
  }
  state.counters["rebuilds"] = benchmark::Counter(c->map->GetCacheBuildCount() - builds, benchmark::Counter::kAvgIterations);
  state.counters["replayed"] = benchmark::Counter(replayed, benchmark::Counter::kAvgIterations);
  if (before != BeforeTurn::Nothing && replayed != 0) {
    state.SkipWithError("a frame after a change was drawn again from its steps");
    g_failed = true;
  }
  g_IsoRichtung = 0;
}

// Turning round and round: each rotation's cache is kept from the last
// time it was shown, and with nothing changed since, the first frame is
// drawn again from that time's steps.
void BM_TurnAndFirstFrame(benchmark::State& state) { TimeTurns(state, BeforeTurn::Nothing); }
// One cell of the view changed before each turn, as when the map changes
// between turns: the frame is drawn cell by cell from the kept cache, and
// the changed cell is made again.
void BM_TurnAfterAChangeAndFirstFrame(benchmark::State& state) { TimeTurns(state, BeforeTurn::ChangeACell); }
// Every turn to a rotation whose cache was dropped (as the first turn after
// a zoom): the first frame makes the cache entries of the whole view.
void BM_TurnToNewRotationAndFirstFrame(benchmark::State& state) { TimeTurns(state, BeforeTurn::DropCaches); }

// A zoom to the next level and back, each with its refresh and the first
// frame after it; the counter is the time of one zoom and its frame.
void BM_ZoomAndFirstFrame(benchmark::State& state) {
  City* c = Prepare(state);
  if (!c) return;
  const bool towardsSmaller = g_ZoomStufe != ISO_ZOOM_4;
  auto away = [&] { towardsSmaller ? c->map->UserIntZoomIn() : c->map->UserIntZoomOut(); };
  auto back = [&] { towardsSmaller ? c->map->UserIntZoomOut() : c->map->UserIntZoomIn(); };
  away();
  back();
  c->Clear();
  c->map->RenderSpriteList_Left_Right(&c->display);
  const uint32_t zoomed = Checksum(c->surface);
  const uint32_t plain = c->PlainChecksum();
  c->Clear();
  c->map->RenderSpriteList_Left_Right(&c->display);
  if (zoomed != Checksum(c->surface) || !Check(state, *c, plain, "frame after a zoom")) return;
  // Each way timed on its own as well: the zoom towards the level with
  // cell layouts lays them, the other way only lets them go, so the mean
  // hides the dearer way.
  double awayMs = 0, backMs = 0;
  for (auto _ : state) {
    const double t0 = ThreadCpuMs();
    away();
    c->map->RenderSpriteList_Left_Right(&c->display);
    const double t1 = ThreadCpuMs();
    back();
    c->map->RenderSpriteList_Left_Right(&c->display);
    benchmark::ClobberMemory();
    awayMs += t1 - t0;
    backMs += ThreadCpuMs() - t1;
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["us_per_zoom"] =
      benchmark::Counter(2e-6 * n, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["cpu_us_away"] = 1e3 * awayMs / n;
  state.counters["cpu_us_back"] = 1e3 * backMs / n;
}

void BM_FullScreenMemcpy(benchmark::State& state) {
  City& c = CityOf(static_cast<int>(state.range(1)));
  for (auto _ : state) {
    std::memcpy(c.surface->pixels, c.copySource.data(), c.copySource.size());
    benchmark::ClobberMemory();
  }
}

// Arguments: the tile width of the level (92 at level 1, the largest tiles;
// 24 at level 4, the smallest) and the screen width.
void Sizes(benchmark::internal::Benchmark* b) {
  for (int width : {800, 1024})
    for (int zi = 0; zi < 3; ++zi) b->Args({Tile_Size_X[zi], width});
  b->ArgNames({"tile", "width"})->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_FrameWarm)->Apply(Sizes);
BENCHMARK(BM_FrameWarmAfresh)->Apply(Sizes);
BENCHMARK(BM_FrameCold)->Apply(Sizes);
BENCHMARK(BM_FrameDiagonalWarm)->Apply(Sizes);
BENCHMARK(BM_FramePlain)->Apply(Sizes);
BENCHMARK(BM_TurnAndFirstFrame)->Apply(Sizes);
BENCHMARK(BM_TurnAfterAChangeAndFirstFrame)->Apply(Sizes);
BENCHMARK(BM_TurnToNewRotationAndFirstFrame)->Apply(Sizes);
BENCHMARK(BM_ZoomAndFirstFrame)->Apply(Sizes);
BENCHMARK(BM_FullScreenMemcpy)->Args({0, 800})->Args({0, 1024})->ArgNames({"tile", "width"})->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  // The game writes its diagnostics to a file as they come, a flush a
  // line; so does the benchmark, into a folder of its own.
  char dir[] = "/tmp/iso_bench_XXXXXX";
  if (!mkdtemp(dir)) return 1;
  const std::string log = std::string(dir) + "/errors.log";
  OpenErrorLog(log.c_str());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  CloseErrorLog();
  std::remove(log.c_str());
  rmdir(dir);
  return g_failed ? 1 : 0;
}
