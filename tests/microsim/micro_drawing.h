#pragma once
// A small screen for the tests that draw layouts, and a world host whose
// micro-cell view is switched by the test.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>

#include "framework/gfx_test_util.h"
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
    QnoDisplayCreateStruct cs;
    cs.screenWidth = cs.viewWidth = 120;
    cs.screenHeight = cs.viewHeight = 80;
    display.Create(nullptr, &cs, surface);
    CWorldHost::Install(&host);
    TestCar::s_drawn = 0;
    TestCar::s_drawnCars.clear();
  }
  void TearDown() override { CWorldHost::Install(nullptr); }
  uint16_t At(int x, int y) const { return screen.At(x, y); }
  int Count(uint16_t colour) const { return screen.Count(colour); }
  uint16_t Colour(uint8_t r, uint8_t g, uint8_t b) const {
    return static_cast<uint16_t>(display.GetRenderBuffer()->GetClosestColor(r, g, b));
  }

  gfxtest::MemSurface screen{120, 80};
  SDL_Surface* surface = screen.s;
  QnoDisplay display;
  ShowCells host;
};

}  // namespace microtest
