#pragma once
// A small screen for the tests that draw layouts, and a world host whose
// micro-cell view is switched by the test.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>

#include "framework/qno_display.h"
#include "micro_test_layouts.h"
#include "worldbase/zor_world_host.h"

namespace microtest {

class ShowCells : public CWorldHost {
 public:
  bool GetShowMicroZellen() override { return show; }
  bool show = false;
};

class MicroDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    surface = SDL_CreateRGBSurface(SDL_SWSURFACE, 120, 80, 16, 0xF800, 0x07E0, 0x001F, 0);
    QnoDisplayCreateStruct cs;
    cs.screenWidth = cs.viewWidth = 120;
    cs.screenHeight = cs.viewHeight = 80;
    display.Create(nullptr, &cs, surface);
    CWorldHost::Install(&host);
    TestCar::s_drawn = 0;
  }
  void TearDown() override {
    CWorldHost::Install(nullptr);
    SDL_FreeSurface(surface);
  }
  uint16_t At(int x, int y) const {
    return reinterpret_cast<const uint16_t*>(static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch)[x];
  }
  int Count(uint16_t colour) const {
    int n = 0;
    for (int y = 0; y < surface->h; ++y)
      for (int x = 0; x < surface->w; ++x) n += At(x, y) == colour;
    return n;
  }
  uint16_t Colour(uint8_t r, uint8_t g, uint8_t b) const {
    return static_cast<uint16_t>(display.GetRenderBuffer()->GetClosestColor(r, g, b));
  }

  SDL_Surface* surface = nullptr;
  QnoDisplay display;
  ShowCells host;
};

}  // namespace microtest
