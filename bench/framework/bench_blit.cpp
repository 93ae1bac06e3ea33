// Blitting speed in megapixels per second against memcpy of the same bytes,
// at 800x600 and 1024x768: full-screen opaque and transparent pictures, and
// run-length sprites unclipped and clipped.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "framework/qno_bitmap.h"
#include "framework/qno_display.h"
#include "framework/qno_sprite.h"
#include "writers/blob_writers.h"

namespace {

struct Screen {
  SDL_Surface* s;
  QnoRenderBuffer rb;
  Screen(int w, int h) : s(SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 16, 0xF800, 0x07E0, 0x001F, 0)) {
    QnoDisplayCreateStruct cs;
    cs.screenWidth = w, cs.screenHeight = h;
    rb.Create(nullptr, &cs, s);
  }
  ~Screen() { SDL_FreeSurface(s); }
};

// A picture with a quarter of its pixels transparent, in stripes.
zorgen::Image16 Picture(int w, int h) {
  zorgen::Image16 im(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      im.At(x, y) = static_cast<uint16_t>(x * 7 + y * 3);
      im.Visible(x, y) = ((x / 8) % 4) != 0;
    }
  return im;
}

void Report(benchmark::State& state, int64_t pixels) {
  state.counters["MPix/s"] = benchmark::Counter(static_cast<double>(pixels) * state.iterations() / 1e6,
                                                benchmark::Counter::kIsRate);
}

void BM_Memcpy(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  std::vector<uint16_t> a(static_cast<size_t>(w) * h, 1), b(a.size());
  for (auto _ : state) {
    std::memcpy(b.data(), a.data(), a.size() * 2);
    benchmark::DoNotOptimize(b.data());
  }
  Report(state, int64_t{w} * h);
}

void BM_BitmapOpaque(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  Screen screen(w, h);
  zorgen::Bytes blob = zorgen::WriteQbmp16(Picture(w, h), zorgen::KEY_565, false);
  for (auto _ : state) screen.rb.DrawBitmap(reinterpret_cast<QnoBitmap*>(blob.data()), w / 2, h / 2, 0);
  Report(state, int64_t{w} * h);
}

void BM_BitmapTransparent(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  Screen screen(w, h);
  zorgen::Bytes blob = zorgen::WriteQbmp16(Picture(w, h), zorgen::KEY_565, false);
  for (auto _ : state) screen.rb.DrawBitmap(reinterpret_cast<QnoBitmap*>(blob.data()), w / 2, h / 2, 1);
  Report(state, int64_t{w} * h);
}

// Sprites of the largest tile size covering the screen, whole or cut at the
// screen's edges (the grid is shifted by half a sprite).
void Sprites(benchmark::State& state, bool clipped) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  Screen screen(w, h);
  zorgen::Bytes blob = zorgen::WriteSprite(Picture(90, 46));
  const int shift = clipped ? 45 : 0;
  for (auto _ : state)
    for (int y = -shift / 2; y + 46 <= h + (clipped ? 46 : 0); y += 46)
      for (int x = -shift; x + 90 <= w + (clipped ? 90 : 0); x += 90) CIsoSprite::RenderClipped(&screen.rb, blob.data(), x, y);
  Report(state, int64_t{w} * h);
}

void BM_SpriteUnclipped(benchmark::State& state) { Sprites(state, false); }
void BM_SpriteClipped(benchmark::State& state) { Sprites(state, true); }

}  // namespace

BENCHMARK(BM_Memcpy)->Args({800, 600})->Args({1024, 768});
BENCHMARK(BM_BitmapOpaque)->Args({800, 600})->Args({1024, 768});
BENCHMARK(BM_BitmapTransparent)->Args({800, 600})->Args({1024, 768});
BENCHMARK(BM_SpriteUnclipped)->Args({800, 600})->Args({1024, 768});
BENCHMARK(BM_SpriteClipped)->Args({800, 600})->Args({1024, 768});
BENCHMARK_MAIN();
