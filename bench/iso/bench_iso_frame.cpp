// One frame of a map built up on every cell, at the three zoom levels and
// two screen sizes, with a warm and a cold sprite render cache, and the
// cost of a turn with its full refresh; beside a full-screen memcpy.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "framework/qno_display.h"
#include "framework/qno_resource.h"
#include "iso/iso_welt.h"
#include "writers/blob_writers.h"
#include "writers/iso_writers.h"

namespace {

using zorgen::Bytes;
using zorgen::Rgb565;

constexpr int kGround = 500;
constexpr int kBuildingBase = 510;  // four kinds of building

Bytes Diamond(int zi, uint16_t colour) {
  const int w = Tile_Size_X[zi], h = Tile_Size_Y[zi];
  zorgen::Image16 img(w, h, colour, 0);
  for (int y = 0; y < h; ++y) {
    const int k = y < h / 2 ? y : h - 1 - y;
    for (int x = std::max(0, w / 2 - 1 - 2 * k); x < std::min(w, w / 2 + 1 + 2 * k); ++x) {
      img.Visible(x, y) = 1;
      img.At(x, y) = static_cast<uint16_t>(colour + (x + y) % 3);
    }
  }
  return zorgen::WriteSprite(img);
}

// A house: two walls and a roof, transparent around it.
Bytes House(int zi, int kind) {
  const int w = Tile_Size_X[zi] - 4 / (zi + 1), h = (2 + kind % 2) * Tile_Size_Y[zi];
  zorgen::Image16 img(w, h, Rgb565(200, 60 + 40 * kind, 40), 1);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (x >= w / 2) img.At(x, y) = Rgb565(150, 40 + 30 * kind, 30);
      if (y < h / 4 && std::abs(x - w / 2) > 2 * y) img.Visible(x, y) = 0;
    }
  return zorgen::WriteSprite(img);
}

Bytes Tile(uint32_t spriteBase, bool house) {
  zorgen::IsoTileContent content(house ? 2 : 1);
  for (int zi = 0; zi < 3; ++zi)
    for (int r = 0; r < 4; ++r) {
      content.At(zi, r, 0).spriteId = 600 + zi;
      if (house) {
        zorgen::IsoTileLayer& l = content.At(zi, r, 1);
        l.spriteId = spriteBase + 4 * zi + r;
        l.z = 6;
        l.x = static_cast<int16_t>(2 / (zi + 1));
        l.y = static_cast<int16_t>(Tile_Size_YDiv2[zi] / 2);
      }
    }
  return zorgen::WriteIsoTile(content);
}

// The map and a screen of one size, shared by the runs of that size.
struct World {
  QnoResourceManager resources;
  SDL_Surface* surface = nullptr;
  QnoDisplay display;
  std::unique_ptr<CIsoWelt> map;
  std::vector<uint8_t> copySource;

  World(int width, int height) {
    zorgen::GlaWriter w;
    for (int zi = 0; zi < 3; ++zi) w.Add(600 + zi, Diamond(zi, Rgb565(60, 150, 60)));
    w.Add(CIsoWelt::kOutsideGroundTile, Tile(0, false));
    w.Add(kGround, Tile(0, false));
    for (int kind = 0; kind < 4; ++kind) {
      const uint32_t base = 700 + 16 * kind;
      for (int zi = 0; zi < 3; ++zi)
        for (int r = 0; r < 4; ++r) w.Add(base + 4 * zi + r, House(zi, (kind + r) % 4));
      w.Add(kBuildingBase + kind, Tile(base, true));
    }
    const char* path = "iso_bench.gla";
    w.WriteFile(path);
    resources.AddWadFile(path);
    std::remove(path);
    surface = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 16, 0xF800, 0x07E0, 0x001F, 0);
    QnoDisplayCreateStruct cs;
    cs.screenWidth = cs.viewWidth = width;
    cs.screenHeight = cs.viewHeight = height;
    display.Create(nullptr, &cs, surface);
    map = std::make_unique<CIsoWelt>(nullptr, &resources, &display);
    map->OnCreate();
    for (int x = 0; x < ISO_MAP_SIZE; ++x)
      for (int y = 0; y < ISO_MAP_SIZE; ++y)
        map->SetIsoTileAt(x, y, ISO_LAYER_GROUND, CIsoRichtung((x + y) & 3), kBuildingBase + (x * 7 + y * 3) % 4,
                          nullptr);
    copySource.assign(static_cast<size_t>(surface->pitch) * height, 0x5A);
  }
  ~World() {
    map.reset();
    SDL_FreeSurface(surface);
  }

  void SetZoom(TIsoZoomStufe zoom) {
    g_ZoomStufe = zoom;
    g_IsoRichtung = 0;
    map->GetUpdateRndLst()->Update();
    map->SetIsoCenter(64, 64);
    map->ResetCompleteSpriteRenderList();
  }
};

World& WorldOf(int width) {
  static std::unique_ptr<World> small, large;
  std::unique_ptr<World>& w = width == 800 ? small : large;
  if (!w) w = std::make_unique<World>(width, width == 800 ? 600 : 768);
  return *w;
}

void BM_FrameWarm(benchmark::State& state) {
  World& w = WorldOf(static_cast<int>(state.range(1)));
  w.SetZoom(static_cast<TIsoZoomStufe>(state.range(0)));
  w.map->RenderSpriteList_Left_Right(&w.display);
  for (auto _ : state) {
    w.map->RenderSpriteList_Left_Right(&w.display);
    benchmark::ClobberMemory();
  }
}

void BM_FrameCold(benchmark::State& state) {
  World& w = WorldOf(static_cast<int>(state.range(1)));
  w.SetZoom(static_cast<TIsoZoomStufe>(state.range(0)));
  for (auto _ : state) {
    w.map->ResetCompleteSpriteRenderList();
    w.map->RenderSpriteList_Left_Right(&w.display);
    benchmark::ClobberMemory();
  }
}

void BM_FrameDiagonalWarm(benchmark::State& state) {
  World& w = WorldOf(static_cast<int>(state.range(1)));
  w.SetZoom(static_cast<TIsoZoomStufe>(state.range(0)));
  w.map->RenderSpriteList_Diagonal(&w.display);
  for (auto _ : state) {
    w.map->RenderSpriteList_Diagonal(&w.display);
    benchmark::ClobberMemory();
  }
}

void BM_FramePlain(benchmark::State& state) {
  World& w = WorldOf(static_cast<int>(state.range(1)));
  w.SetZoom(static_cast<TIsoZoomStufe>(state.range(0)));
  for (auto _ : state) {
    w.map->Render(&w.display);
    benchmark::ClobberMemory();
  }
}

// A turn with everything it refreshes (all render lists, the view, the
// cache) and the first frame after it.
void BM_TurnAndFirstFrame(benchmark::State& state) {
  World& w = WorldOf(static_cast<int>(state.range(1)));
  w.SetZoom(static_cast<TIsoZoomStufe>(state.range(0)));
  for (auto _ : state) {
    w.map->UserIntTurnRight();
    w.map->RenderSpriteList_Left_Right(&w.display);
    benchmark::ClobberMemory();
  }
  g_IsoRichtung = 0;
}

// Zooming in and out again, each with its refresh and a frame.
void BM_ZoomAndFirstFrame(benchmark::State& state) {
  World& w = WorldOf(static_cast<int>(state.range(1)));
  w.SetZoom(ISO_ZOOM_2);
  for (auto _ : state) {
    w.map->UserIntZoomIn();
    w.map->RenderSpriteList_Left_Right(&w.display);
    w.map->UserIntZoomOut();
    w.map->RenderSpriteList_Left_Right(&w.display);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(2 * state.iterations());
}

void BM_FullScreenMemcpy(benchmark::State& state) {
  World& w = WorldOf(static_cast<int>(state.range(1)));
  for (auto _ : state) {
    std::memcpy(w.surface->pixels, w.copySource.data(), w.copySource.size());
    benchmark::ClobberMemory();
  }
}

void Sizes(benchmark::internal::Benchmark* b) {
  for (int width : {800, 1024})
    for (int zoom : {1, 2, 4}) b->Args({zoom, width});
  b->ArgNames({"zoom", "width"})->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_FrameWarm)->Apply(Sizes);
BENCHMARK(BM_FrameCold)->Apply(Sizes);
BENCHMARK(BM_FrameDiagonalWarm)->Apply(Sizes);
BENCHMARK(BM_FramePlain)->Apply(Sizes);
BENCHMARK(BM_TurnAndFirstFrame)->Apply(Sizes);
BENCHMARK(BM_ZoomAndFirstFrame)->Args({2, 800})->Args({2, 1024})->ArgNames({"zoom", "width"})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FullScreenMemcpy)->Args({0, 800})->Args({0, 1024})->ArgNames({"zoom", "width"})->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
