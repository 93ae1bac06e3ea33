#pragma once
// Shared helpers of the drawing tests: 565 memory surfaces, render buffers
// over them, and archives written from blobs.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/qno_display.h"
#include "framework/qno_resource.h"
#include "framework/qno_sprite.h"
#include "support/test_support.h"
#include "writers/blob_writers.h"

namespace gfxtest {

struct MemSurface {
  SDL_Surface* s;
  MemSurface(int w, int h, int bpp = 16, uint32_t r = 0xF800, uint32_t g = 0x07E0, uint32_t b = 0x001F)
      : s(SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, bpp, r, g, b, 0)) {
    if (s) SDL_FillRect(s, nullptr, 0);
  }
  ~MemSurface() { SDL_FreeSurface(s); }
  MemSurface(const MemSurface&) = delete;
  MemSurface& operator=(const MemSurface&) = delete;
  uint16_t At(int x, int y) const {
    return reinterpret_cast<const uint16_t*>(static_cast<const uint8_t*>(s->pixels) + y * s->pitch)[x];
  }
  void Fill(uint16_t v) {
    for (int y = 0; y < s->h; ++y)
      for (int x = 0; x < s->w; ++x)
        reinterpret_cast<uint16_t*>(static_cast<uint8_t*>(s->pixels) + y * s->pitch)[x] = v;
  }
  // Pixels of `colour`.
  int Count(uint16_t colour) const {
    int n = 0;
    for (int y = 0; y < s->h; ++y)
      for (int x = 0; x < s->w; ++x) n += At(x, y) == colour;
    return n;
  }
  // Pixels that differ from `background`.
  int CountNot(uint16_t background) const { return s->w * s->h - Count(background); }
  // Bounding box of the pixels that differ from `background`: x0, y0, x1, y1 inclusive.
  std::vector<int> Box(uint16_t background) const {
    std::vector<int> b = {s->w, s->h, -1, -1};
    for (int y = 0; y < s->h; ++y)
      for (int x = 0; x < s->w; ++x)
        if (At(x, y) != background) {
          b[0] = std::min(b[0], x), b[1] = std::min(b[1], y);
          b[2] = std::max(b[2], x), b[3] = std::max(b[3], y);
        }
    return b;
  }
};

// A render buffer over a memory surface of the same size.
struct Canvas {
  MemSurface surface;
  QnoRenderBuffer rb;
  Canvas(int w, int h) : surface(w, h) {
    QnoDisplayCreateStruct cs;
    cs.screenWidth = cs.viewWidth = w;
    cs.screenHeight = cs.viewHeight = h;
    rb.Create(nullptr, &cs, surface.s);
  }
  uint16_t At(int x, int y) const { return surface.At(x, y); }
};

inline std::string WriteBytes(const std::string& path, const std::vector<uint8_t>& b) {
  zortest::WriteFile(path, std::string(b.begin(), b.end()));
  return path;
}

// A manager holding one archive with the given blobs.
inline void AddArchive(QnoResourceManager& m, const std::string& path,
                       const std::vector<std::pair<uint32_t, zorgen::Bytes>>& blobs) {
  zorgen::GlaWriter w;
  for (const auto& [id, b] : blobs) w.Add(id, b);
  ASSERT_TRUE(w.WriteFile(path));
  ASSERT_EQ(m.AddWadFile(path.c_str()), 0);
}

// A sequence of sprites and overlays (the sprite of an overlay is not
// drawn).
struct SequenceItem {
  bool overlay;
  const void* sprite;
  int x, y;
};

// Packs the sequence's visible runs for the buffer.
inline void PackSequence(QnoVisibleRuns& visible, QnoRenderBuffer* buffer, const std::vector<SequenceItem>& items) {
  visible.Begin(QnoSpriteTarget(buffer));
  for (size_t i = items.size(); i-- > 0;) {
    if (items[i].overlay)
      visible.OverlayBackwards(i);
    else
      ASSERT_TRUE(visible.AddBackwards(items[i].sprite, items[i].x, items[i].y));
  }
  visible.Pack();
}

// An image of solid colour with every pixel visible.
inline zorgen::Image16 Solid(int w, int h, uint16_t c) { return zorgen::Image16(w, h, c, 1); }

}  // namespace gfxtest
