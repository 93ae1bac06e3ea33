// The player moves the map: dragging with the right button and turning and
// zooming by keys, played through the frame loop on the real game.
#include <gtest/gtest.h>

#include "iso/iso_geometry.h"
#include "iso/iso_welt.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;

// The middle of the map part of the screen, away from every edge band.
constexpr int kMidX = 400;
constexpr int kMidY = 250;

struct ScenarioMap : testing::Test {
  void TearDown() override {
    g_IsoRichtung = 0;
    g_ZoomStufe = ISO_ZOOM_1;
  }
  // Where the map draws cell (0, 0) on the screen.
  static std::pair<int, int> MapPosition(Scenario& game) {
    CIsoWelt& map = game.Map();
    int x = 0, y = 0;
    map.CalcIsoToXY(0, 0, &x, &y);
    return {map.GetOriginX() + x + map.GetPixelOffsetX(), map.GetOriginY() + y + map.GetPixelOffsetY()};
  }
};

TEST_F(ScenarioMap, RightDragMovesTheMapWithTheMouseAndTheFrameFollows) {
  Scenario game;
  const Region middle{300, 150, 500, 350};
  const auto before = MapPosition(game);
  const uint64_t frameBefore = game.Fingerprint(middle);
  game.Run({Move(kMidX, kMidY), Press(kMidX, kMidY, kRight), Wait(100)});
  game.Run({Move(kMidX + 60, kMidY + 20), Move(kMidX + 130, kMidY + 40), Wait(100)});
  const auto during = MapPosition(game);
  EXPECT_EQ(during.first, before.first + 130);
  EXPECT_EQ(during.second, before.second + 40);
  game.Run({Release(kMidX + 130, kMidY + 40, kRight), Move(kMidX, kMidY), Wait(100)});
  // Moving the mouse without the button leaves the map where it was put.
  EXPECT_EQ(MapPosition(game), during);
  EXPECT_NE(game.Fingerprint(middle), frameBefore);
  game.Shot("right-drag");
}

TEST_F(ScenarioMap, FramesRepeatWhileNothingHappens) {
  Scenario game;
  const Region middle{300, 150, 500, 350};
  game.Run({Move(kMidX, kMidY), Wait(200)});
  const uint64_t first = game.Fingerprint(middle);
  game.Run({Wait(200)});
  EXPECT_EQ(game.Fingerprint(middle), first);
  EXPECT_GT(game.FramesRun(), 20);
}

TEST_F(ScenarioMap, PngOfTheFrameHoldsItsPixels) {
  Scenario game;
  game.Run({Move(kMidX, kMidY), Wait(40)});
  if (Scenario::CanWritePng()) {
    ASSERT_TRUE(game.WritePng("frame.png"));
    const std::string png = ReadFile("frame.png");
    ASSERT_GT(png.size(), 100u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
  }
  // Writing into a folder that does not exist fails without harm.
  EXPECT_FALSE(game.WritePng("no/such/folder/frame.png"));
}

}  // namespace
