#include <gtest/gtest.h>

#include <SDL.h>

#include "framework/qno_display.h"
#include "gui/item_bitmap.h"
#include "gui/item_shapes.h"
#include "gui_fakes.h"
#include "support/test_support.h"

namespace {
struct Pictures : ::testing::Test {
  SDL_Surface* surface = nullptr;
  QnoDisplay display;
  FakeHost host;
  void SetUp() override {
    surface = SDL_CreateRGBSurface(SDL_SWSURFACE, 200, 100, 16, 0xF800, 0x07E0, 0x001F, 0);
    QnoDisplayCreateStruct cs;
    cs.screenWidth = cs.viewWidth = 200;
    cs.screenHeight = cs.viewHeight = 100;
    display.Create(nullptr, &cs, surface);
  }
  void TearDown() override { SDL_FreeSurface(surface); }
  uint16_t Pixel(int x, int y) {
    return reinterpret_cast<uint16_t*>(static_cast<uint8_t*>(surface->pixels) + y * surface->pitch)[x];
  }
  int CountRow(int y, uint16_t p) {
    int n = 0;
    for (int x = 0; x < 200; ++x) n += Pixel(x, y) == p;
    return n;
  }
};
}  // namespace

TEST_F(Pictures, IndicatorBarsGrowFromTheMiddle) {
  CItemBitmap item;
  item.Create(0, 0, 10, 10, 14, -1, -1, -1, -1);
  item.RenderBalken(&display, 0.5f, 50, 10, 60, 10, 36, 20);
  EXPECT_EQ(CountRow(15, 0x0700) + CountRow(15, 0xF000), 0);
  item.RenderBalken(&display, 1.0f, 50, 10, 60, 10, 36, 20);
  // (1.0 - 0.5) x 2 x 36: a longer bar would reach into the next column.
  EXPECT_EQ(CountRow(15, 0x0700), 36);
  EXPECT_EQ(Pixel(60, 10), 0x0700);
  EXPECT_EQ(Pixel(59, 10), 0);
  item.RenderBalken(&display, -3.0f, 50, 40, 60, 40, 36, 20);
  EXPECT_EQ(CountRow(45, 0xF000), 36);
  EXPECT_EQ(Pixel(49, 45), 0xF000);
  EXPECT_EQ(Pixel(50, 45), 0);
}

TEST_F(Pictures, ValueBarsAndTheirFallbacks) {
  CItemBalkenMinMax bar;
  bar.Create(10, 10, 100, 9, 10, FILL_SOLID, 0x1111, 0x2222);
  auto* var = new FakeVar(VAR_INT, "B", 150, 0, 100);
  bar.AddVar(var);
  double v, lo, hi;
  bar.GetShownRange(&v, &lo, &hi);
  EXPECT_EQ(v, 0);  // above its maximum: an empty 0-1 bar
  EXPECT_EQ(hi, 1);
  bar.Render(&display, nullptr, 0, 0);
  EXPECT_EQ(CountRow(12, 0x1111), 0);
  var->m_value = 25;
  bar.Render(&display, nullptr, 0, 0);
  EXPECT_EQ(Pixel(10, 19), 0x1111);   // bottom edge inclusive
  EXPECT_EQ(Pixel(33, 12), 0x1111);   // X + 25 - 1 is the value mark
  EXPECT_EQ(Pixel(34, 12), 0x2222);
  EXPECT_EQ(Pixel(109, 12), 0);

  CItemBalkenMinMax level;
  level.Create(0, 50, 120, 10, 10, FILL_LEVEL, 0, 0);
  level.AddVar(new FakeVar(VAR_INT, "L", 4, 0, 12));
  level.Render(&display, nullptr, 0, 0);
  const uint16_t red = static_cast<uint16_t>(display.GetRenderBuffer()->GetClosestColor(255, 0, 0));
  const uint16_t green = static_cast<uint16_t>(display.GetRenderBuffer()->GetClosestColor(0, 255, 0));
  EXPECT_EQ(CountRow(55, red), 70);
  EXPECT_EQ(CountRow(55, green), 0);
}

TEST_F(Pictures, RectanglesFillOrFrame) {
  CItemRect rect;
  rect.Create(5, 5, 20, 10, 4, FILL_FRAME, 0xFF0000, 2000);
  rect.Render(&display, nullptr, 10, 10);
  const uint16_t red = static_cast<uint16_t>(display.GetRenderBuffer()->GetClosestColor(255, 0, 0));
  EXPECT_EQ(Pixel(15, 15), red);
  EXPECT_EQ(Pixel(34, 24), red);
  EXPECT_EQ(Pixel(35, 24), 0);
  EXPECT_EQ(Pixel(20, 20), 0);
  rect.SetHighlightColour(0x0000FF);
  rect.HighLightOn();
  CItemRect fill;
  fill.Create(0, 60, 3, 3, 4, FILL_SOLID, 0x00FF00, 2000);
  fill.Render(&display, nullptr, 0, 0);
  EXPECT_EQ(Pixel(2, 62), static_cast<uint16_t>(display.GetRenderBuffer()->GetClosestColor(0, 255, 0)));
  EXPECT_EQ(Pixel(3, 62), 0);
}

TEST_F(Pictures, VariableFramesNeverDivideByZero) {
  CItemBitmap item;
  item.Create(0, 0, 10, 10, 19, 28521, 17, -1, -1);
  auto* capacity = new FakeVar(VAR_INT, "CAP", 0);
  auto* used = new FakeVar(VAR_INT, "USED", 30);
  item.AddVar(capacity);  // the last variable is the divisor
  item.AddVar(used);
  EXPECT_EQ(item.ButtonFrame(nullptr), 0);
  capacity->m_value = 60;
  EXPECT_EQ(item.ButtonFrame(nullptr), 8);  // trunc(30 / 60 * 17)

  CItemBitmap button;
  button.Create(0, 0, 10, 10, 13, -1, -1, -1, -1);
  EXPECT_EQ(button.ButtonFrame(nullptr), 0);
  button.SetState(-1);
  button.HighLightOn();
  EXPECT_EQ(button.ButtonFrame(nullptr), 1);
  button.SetPressed(8, 0, 0, 0);
  EXPECT_EQ(button.ButtonFrame(nullptr), 2);
  button.SetHighlightLock(true);
  EXPECT_EQ(button.ButtonFrame(nullptr), 1);
}

TEST_F(Pictures, SliderKnobColours) {
  CItemBitmap knob;
  knob.Create(10, 10, 11, 18, 35, -1, -1, -1, -1);
  knob.SetKnob(10, 10, 11, 18);
  knob.Render(&display, nullptr, 0, 0);
  QnoRenderBuffer* b = display.GetRenderBuffer();
  EXPECT_EQ(Pixel(10, 10), b->GetClosestColor(126, 150, 225));
  EXPECT_EQ(Pixel(11, 20), b->GetClosestColor(126, 150, 225));
  EXPECT_EQ(Pixel(12, 12), b->GetClosestColor(255, 255, 255));
  EXPECT_EQ(Pixel(15, 20), b->GetClosestColor(107, 125, 183));
  EXPECT_EQ(Pixel(20, 27), b->GetClosestColor(41, 52, 76));
  knob.SetShown(0);
  SDL_FillRect(surface, nullptr, 0);
  knob.Render(&display, nullptr, 0, 0);
  EXPECT_EQ(Pixel(15, 20), 0);
}
