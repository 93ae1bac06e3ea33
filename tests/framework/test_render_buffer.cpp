#include <gtest/gtest.h>

#include "framework/qno_display.h"
#include "gfx_test_util.h"

using gfxtest::Canvas;
using gfxtest::MemSurface;

TEST(RenderBuffer, FillRectIsHalfOpenAndTakesCornersInAnyOrder) {
  Canvas c(40, 40);
  c.rb.FillRect(10, 10, 10, 20, 0xFFFF);
  EXPECT_EQ(c.surface.CountNot(0), 0);
  c.rb.FillRect(20, 20, 10, 10, 0x1234);
  EXPECT_EQ(c.surface.CountNot(0), 100);
  EXPECT_EQ(c.surface.Box(0), (std::vector<int>{10, 10, 19, 19}));
  EXPECT_EQ(c.At(10, 10), 0x1234);
}

TEST(RenderBuffer, FillRectIsClippedAtEveryEdge) {
  Canvas c(30, 20);
  c.rb.SetClipRect(5, 4, 25, 16);
  c.rb.FillRect(-100, -100, 100, 100, 0xFFFF);
  EXPECT_EQ(c.surface.Box(0), (std::vector<int>{5, 4, 24, 15}));
  EXPECT_EQ(c.surface.CountNot(0), 20 * 12);
  // A clip rectangle beyond the buffer is kept inside it.
  c.rb.SetClipRect(-10, -10, 1000, 1000);
  c.rb.FillRect(-100, -100, 100, 100, 0x0F0F);
  EXPECT_EQ(c.surface.CountNot(0), 30 * 20);
}

TEST(RenderBuffer, FrameRectDrawsInclusiveOutlineAndDropsClippedSides) {
  Canvas c(40, 40);
  c.rb.FrameRect(0, 0, 9, 9, 0xFFFF);
  EXPECT_EQ(c.surface.CountNot(0), 36);
  for (int i = 0; i <= 9; ++i) {
    EXPECT_EQ(c.At(i, 0), 0xFFFF);
    EXPECT_EQ(c.At(i, 9), 0xFFFF);
    EXPECT_EQ(c.At(0, i), 0xFFFF);
    EXPECT_EQ(c.At(9, i), 0xFFFF);
  }
  EXPECT_EQ(c.At(5, 5), 0);

  Canvas d(40, 40);
  d.rb.SetClipRect(10, 0, 40, 40);
  d.rb.FrameRect(5, 5, 20, 15, 0xFFFF);
  // No left column at the clip edge; top and bottom rows start there.
  EXPECT_EQ(d.At(10, 10), 0);
  EXPECT_EQ(d.At(10, 5), 0xFFFF);
  EXPECT_EQ(d.At(20, 10), 0xFFFF);
  EXPECT_EQ(d.surface.CountNot(0), 11 * 2 + 9);
}

TEST(RenderBuffer, ClosestColourIs565) {
  Canvas c(4, 4);
  EXPECT_EQ(c.rb.GetClosestColor(255, 255, 255), 0xFFFFu);
  EXPECT_EQ(c.rb.GetClosestColor(255, 0, 0), 0xF800u);
  EXPECT_EQ(c.rb.GetClosestColor(0, 255, 0), 0x07E0u);
  EXPECT_EQ(c.rb.GetClosestColor(0, 0, 255), 0x001Fu);
  EXPECT_EQ(c.rb.GetColorFormat(), 565);
}

TEST(RenderBuffer, RowsFollowTheSurfacePitch) {
  // 13 pixels of 2 bytes: SDL pads the rows to 28 bytes.
  MemSurface s(13, 6);
  ASSERT_NE(s.s->pitch, 26);
  QnoDisplayCreateStruct cs;
  cs.screenWidth = 13, cs.screenHeight = 6;
  QnoRenderBuffer rb;
  rb.Create(nullptr, &cs, s.s);
  EXPECT_EQ(rb.GetPitch(), s.s->pitch);
  rb.FillRect(0, 0, 13, 6, 0xABCD);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 13; ++x) ASSERT_EQ(s.At(x, y), 0xABCD);
}

TEST(RenderBuffer, SurfaceSmallerThanTheCreateRecordBoundsDrawing) {
  MemSurface s(10, 10);
  QnoDisplayCreateStruct cs;
  cs.screenWidth = 800, cs.screenHeight = 600;
  QnoRenderBuffer rb;
  rb.Create(nullptr, &cs, s.s);
  EXPECT_EQ(rb.GetWidth(), 10);
  EXPECT_EQ(rb.GetHeight(), 10);
  rb.FillRect(0, 0, 800, 600, 0xFFFF);
  EXPECT_EQ(s.CountNot(0), 100);
}

TEST(RenderBuffer, OtherPixelLayoutsAreRefusedAndNothingIsDrawn) {
  MemSurface deep(8, 8, 32, 0xFF0000, 0xFF00, 0xFF);
  MemSurface rgb555(8, 8, 16, 0x7C00, 0x03E0, 0x001F);
  for (SDL_Surface* s : {deep.s, rgb555.s}) {
    QnoDisplayCreateStruct cs;
    cs.screenWidth = cs.screenHeight = 8;
    QnoRenderBuffer rb;
    rb.Create(nullptr, &cs, s);
    EXPECT_EQ(rb.GetBuffer(), nullptr);
    rb.FillRect(0, 0, 8, 8, 0xFFFF);
    rb.FrameRect(0, 0, 7, 7, 0xFFFF);
  }
  EXPECT_EQ(reinterpret_cast<uint32_t*>(deep.s->pixels)[0], 0u);
  EXPECT_EQ(rgb555.CountNot(0), 0);
}

TEST(RenderBuffer, WithoutASurfaceDrawingStopsQuietly) {
  QnoRenderBuffer rb;
  QnoDisplayCreateStruct cs;
  cs.screenWidth = 64, cs.screenHeight = 64;
  rb.Create(nullptr, &cs, nullptr);
  EXPECT_EQ(rb.GetBuffer(), nullptr);
  rb.FillRect(0, 0, 64, 64, 0xFFFF);  // must not touch memory
  EXPECT_EQ(rb.FlipBuffer(), -1);
}

TEST(RenderBuffer, FramesPerSecondCountsFlipsOfTheLastSecond) {
  Canvas c(4, 4);
  for (int i = 0; i < 30; ++i) {
    zortest::Clock().Advance(34);
    c.rb.FlipBuffer();
  }
  EXPECT_EQ(c.rb.GetFramesPerSecond(), 30);
}

TEST(Display, CreateRecordsGeometryAndCentresTheView) {
  MemSurface s(800, 600);
  QnoView view;
  QnoDisplayCreateStruct cs;
  cs.screenWidth = 802, cs.screenHeight = 600, cs.viewWidth = 642, cs.viewHeight = 480;
  zortest::Clock().Set(777);
  view.Open(nullptr, &cs, s.s);
  QnoDisplay* d = view.GetDisplay();
  EXPECT_EQ(d->GetScreenWidth(), 800);
  EXPECT_EQ(d->GetViewWidth(), 640);
  EXPECT_EQ(d->GetViewOffsetX(), 80);
  EXPECT_EQ(d->GetViewOffsetY(), 60);
  EXPECT_EQ(d->GetVirtualWidth(), 640);
  EXPECT_FLOAT_EQ(d->GetScaleX(), 1.0f);
  EXPECT_EQ(d->GetStartTick(), 777u);
  ASSERT_NE(view.GetRenderBuffer(), nullptr);
  EXPECT_EQ(view.GetRenderBuffer()->GetSurface(), s.s);
  EXPECT_EQ(d->GetRealFrameRate(), 0);
}

TEST(Display, OpenScreenGivesA565SurfaceUnderTheDummyDriver) {
  ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
  QnoView view;
  SDL_Surface* screen = view.OpenScreen(nullptr, 320, 240, false, false);
  ASSERT_NE(screen, nullptr);
  EXPECT_TRUE(QnoIsSurface565(screen));
  QnoRenderBuffer* rb = view.GetRenderBuffer();
  rb->FillRect(0, 0, 320, 240, 0xF800);
  EXPECT_EQ(static_cast<uint16_t*>(screen->pixels)[0], 0xF800);
  EXPECT_EQ(view.GetDisplay()->FlipBuffer(), 0);
  SDL_Quit();
}
