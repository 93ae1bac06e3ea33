// A car at its cell's edge is drawn whole with its cell's vehicles and a
// second time, cut to the tile in front, with that tile's. In a frame drawn
// again from its packed runs the second draw is passed over when it would
// change no pixel: it is drawn when a sprite drawn between the two covers
// the car inside the tile, or another car was drawn there in between, and
// every frame equals drawing everything in turn.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/gfx_test_util.h"
#include "framework/qno_display.h"
#include "framework/qno_resource.h"
#include "framework/qno_sprite.h"
#include "iso/iso_geometry.h"
#include "micro_test_host.h"
#include "microsim/micro_car.h"

using namespace microtest;

namespace {

class SpriteHost : public ScriptHost {
 public:
  QnoResourceManager *resources = nullptr;
  QnoResourceManager *GetResources() override { return resources; }
};

// A screen and the display that draws into it.
struct Screen {
  gfxtest::MemSurface surface{100, 70};
  QnoDisplay display;
  Screen() {
    QnoDisplayCreateStruct cs;
    cs.screenWidth = cs.viewWidth = 100;
    cs.screenHeight = cs.viewHeight = 70;
    display.Create(nullptr, &cs, surface.s);
  }
  QnoRenderBuffer *Buffer() { return display.GetRenderBuffer(); }
  std::vector<uint16_t> Shown() const {
    std::vector<uint16_t> v;
    for (int y = 0; y < 70; ++y)
      for (int x = 0; x < 100; ++x) v.push_back(surface.At(x, y));
    return v;
  }
};

constexpr int kDir = 10;
constexpr uint16_t kGroundColour = 0x0421, kRoofColour = 0x7BEF;

class SecondDrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CMicroSimHost::Install(&host);
    m_zoom = g_ZoomStufe;
    g_ZoomStufe = ISO_ZOOM_2;
    // Every pixel of the car's picture its own.
    zorgen::Image16 picture(12, 8, 0, 1);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 12; ++x) picture.At(x, y) = static_cast<uint16_t>(0x8000 + 16 * y + x);
    const uint32_t id = CCar::m_SpriteResID[host.sprite][1][CCar::kDirections - 1 - kDir];
    gfxtest::AddArchive(resources, "cars.gla", {{id, zorgen::WriteSprite(picture)}});
    host.resources = &resources;
  }
  void TearDown() override {
    g_ZoomStufe = m_zoom;
    CMicroSimHost::Install(nullptr);
  }

  SpriteHost host;
  QnoResourceManager resources;

 private:
  TIsoZoomStufe m_zoom = ISO_ZOOM_2;
};

TEST_F(SecondDrawTest, DrawnAgainOnlyWhereSomethingBetweenCoversTheCarInTheTileInFront) {
  const zorgen::Bytes ground = zorgen::WriteSprite(gfxtest::Solid(96, 66, kGroundColour));
  const zorgen::Bytes roof = zorgen::WriteSprite(gfxtest::Solid(6, 3, kRoofColour));
  enum Between { kNothing, kSpriteBetween, kSpriteAfter, kCarBetween, kCarElsewhere };
  for (const Between between : {kNothing, kSpriteBetween, kSpriteAfter, kCarBetween, kCarElsewhere}) {
    const std::string what = "case " + std::to_string(between);
    CCar car, other;
    ASSERT_EQ(car.CreateCar(nullptr), 0);
    ASSERT_EQ(other.CreateCar(nullptr), 0);
    // The car's picture stands at (34, 26) to (46, 34); the tile in front
    // holds its top rows whole.
    car.SetScreenXYPos(40, 32, -1, -1);
    car.SetRichtungsIndex(kDir);
    const int tileX = 30, tileY = 24;
    ASSERT_GE(Tile_Size_X[1], 20);
    ASSERT_GE(Tile_Size_Y[1], 10);
    // The sequence: the ground, the car's cell, what lies between, the
    // tile in front, a sprite after it.
    const bool carBetween = between == kCarBetween || between == kCarElsewhere;
    const std::vector<gfxtest::SequenceItem> items{{false, ground.data(), 2, 2},
                                                   {true, nullptr, 0, 0},
                                                   {carBetween, roof.data(), between == kSpriteBetween ? 37 : 80, 27},
                                                   {true, nullptr, 0, 0},
                                                   {false, roof.data(), between == kSpriteAfter ? 37 : 80, 27}};
    auto work = [&](Screen &s, size_t i) {
      if (i == 1) car.Render(&s.display, kDir, 40, 32);
      if (i == 2) other.Render(&s.display, kDir, between == kCarBetween ? 43 : 80, 33);
      if (i == 3) car.RenderSecondPosition(&s.display, tileX, tileY);
    };
    Screen each, kept;
    for (Screen *s : {&each, &kept}) s->surface.Fill(0xFFFF);
    QnoVisibleRuns visible;
    gfxtest::PackSequence(visible, kept.Buffer(), items);
    if (HasFatalFailure()) return;
    const QnoSpriteTarget eachTarget(each.Buffer());
    for (int frame = 0; frame < 3; ++frame) {
      for (size_t i = 0; i < items.size(); ++i)
        items[i].overlay ? work(each, i) : eachTarget.Draw(items[i].sprite, items[i].x, items[i].y);
      const uint64_t passed = CCar::GetPassedSecondDraws();
      kept.Buffer()->SetPictureKept(true);
      visible.Draw([&](size_t i) { work(kept, i); });
      kept.Buffer()->SetPictureKept(false);
      ASSERT_EQ(kept.Shown(), each.Shown()) << what << " frame " << frame;
      const bool needed = between == kSpriteBetween || between == kCarBetween;
      EXPECT_EQ(CCar::GetPassedSecondDraws() - passed, needed ? 0u : 1u) << what << " frame " << frame;
    }
  }
}

// Drawn outside a packed frame's overlays, or moved since its first draw,
// the car is always drawn a second time.
TEST_F(SecondDrawTest, ACarMovedSinceItsFirstDrawOrDrawnOutsideAPackedFrameIsDrawnAgain) {
  CCar car;
  ASSERT_EQ(car.CreateCar(nullptr), 0);
  car.SetScreenXYPos(40, 32, -1, -1);
  car.SetRichtungsIndex(kDir);
  Screen s;
  s.surface.Fill(0xFFFF);
  const uint64_t passed = CCar::GetPassedSecondDraws();
  car.Render(&s.display, kDir, 40, 32);
  car.RenderSecondPosition(&s.display, 30, 24);
  EXPECT_EQ(CCar::GetPassedSecondDraws(), passed);

  QnoVisibleRuns visible;
  const zorgen::Bytes ground = zorgen::WriteSprite(gfxtest::Solid(96, 66, kGroundColour));
  visible.Begin(QnoSpriteTarget(s.Buffer()));
  visible.OverlayBackwards(2);
  visible.OverlayBackwards(1);
  ASSERT_TRUE(visible.AddBackwards(ground.data(), 2, 2));
  visible.Pack();
  // First drawn one pixel to the right of where the second draw puts it.
  visible.Draw([&](size_t i) {
    if (i == 1) car.Render(&s.display, kDir, 41, 32);
    if (i == 2) car.RenderSecondPosition(&s.display, 30, 24);
  });
  EXPECT_EQ(CCar::GetPassedSecondDraws(), passed);
  // At the same place it is passed over.
  visible.Draw([&](size_t i) {
    if (i == 1) car.Render(&s.display, kDir, 40, 32);
    if (i == 2) car.RenderSecondPosition(&s.display, 30, 24);
  });
  EXPECT_EQ(CCar::GetPassedSecondDraws(), passed + 1);
}

}  // namespace
