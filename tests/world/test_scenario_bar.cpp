// The player uses the bar at the bottom of the main screen: it shows when
// the mouse reaches the bottom edge, its view buttons turn and zoom the map,
// its buttons explain themselves after a while, and a press on it drops the
// tool. Played through the frame loop on the real game.
#include <gtest/gtest.h>

#include <SDL.h>

#include <string>

#include "iso/iso_geometry.h"
#include "support/scenario.h"
#include "ui/user_int.h"

namespace {

using namespace zortest;

// The centres of the bar's view buttons at 800 x 600.
constexpr int kTurnRight[2] = {266, 519};
constexpr int kZoomIn[2] = {283, 529};
constexpr int kZoomOut[2] = {303, 539};
constexpr int kTurnLeft[2] = {321, 548};
// A place on the bar away from its buttons.
constexpr int kBarX = 600;
constexpr int kBarY = 590;

// Shows the bar and clicks one of its buttons, then lets the deferred
// action run.
void Press(Scenario& game, const int (&button)[2]) {
  game.Run({Move(kBarX, kBarY), Wait(40)});
  game.Click(button[0], button[1]).Do(Wait(100));
}

TEST(ScenarioBar, ViewButtonsTurnAndZoomTheMap) {
  Scenario game;
  const TIsoZoomStufe zoom = g_ZoomStufe;
  ASSERT_EQ(g_IsoRichtung, 0);
  Press(game, kTurnRight);
  EXPECT_EQ(g_IsoRichtung, 1);
  EXPECT_EQ(CUserInt::selObj.panelShown, 1) << "the bar stays while the mouse is on it";
  Press(game, kTurnLeft);
  Press(game, kTurnLeft);
  EXPECT_EQ(g_IsoRichtung, 3);
  Press(game, kZoomIn);
  EXPECT_GT(g_ZoomStufe, zoom);
  game.Shot("bar-zoomed-in");
  Press(game, kZoomOut);
  EXPECT_EQ(g_ZoomStufe, zoom);
}

TEST(ScenarioBar, AButtonExplainsItselfAfterTheMouseRestsOnIt) {
  Scenario game;
  // Right of the button, where its explanation is written, clear of the cursor.
  const Region beside{kZoomIn[0] + 17, kZoomIn[1] - 7, kZoomIn[0] + 117, kZoomIn[1] + 13};
  game.Run({Move(kBarX, kBarY), Wait(40), Move(kZoomIn[0], kZoomIn[1]), Wait(100)});
  const uint64_t plain = game.Fingerprint(beside);
  game.Do(Wait(1000));
  ASSERT_NE(game.Ui().GetBalloonText(), nullptr);
  EXPECT_NE(game.Fingerprint(beside), plain);
  game.Shot("bar-balloon");
  // Moving on along the bar takes the explanation away.
  game.Run({Move(kBarX, kBarY), Wait(100)});
  EXPECT_EQ(game.Fingerprint(beside), plain);
}

TEST(ScenarioBar, TheZoomButtonsSayInEnglishWhatTheyDo) {
  for (const auto* button : {&kZoomIn, &kZoomOut}) {
    Scenario game("LANGUAGE=1\n");
    game.Run({Move(kBarX, kBarY), Wait(40), Move((*button)[0], (*button)[1]), Wait(1000)});
    ASSERT_NE(game.Ui().GetBalloonText(), nullptr);
    const std::string says = game.Ui().GetBalloonText();
    const int tileWidth = Tile_Size_X[IsoZoomIndex()];
    Press(game, *button);
    const int after = Tile_Size_X[IsoZoomIndex()];
    ASSERT_NE(after, tileWidth) << says;
    // Smaller tiles show more of the map: the view zooms out.
    EXPECT_EQ(says, after < tileWidth ? "Zoom out" : "Zoom in");
  }
}

// Light pixels of a view button's picture around its centre: the lens and
// its handle. The bar of a plus covers more of the lens than a minus does.
int LightPixels(Scenario& game, const int (&button)[2]) {
  int n = 0;
  for (int y = button[1] - 8; y < button[1] + 8; ++y)
    for (int x = button[0] - 9; x < button[0] + 9; ++x) {
      const uint16_t p = game.Pixel(x, y);
      const int r = (p >> 11) << 3, g = ((p >> 5) & 63) << 2, b = (p & 31) << 3;
      if (r > 150 && g > 150 && b > 150) ++n;
    }
  return n;
}

// The magnifier with the minus shows more of the map, the one with the plus
// less, as the player expects from their pictures.
TEST(ScenarioBar, TheZoomButtonsPicturesShowWhichWayTheyZoom) {
  Scenario game;
  game.Run({Move(kBarX, kBarY), Wait(40)});
  const int first = LightPixels(game, kZoomIn);
  const int second = LightPixels(game, kZoomOut);
  ASSERT_GT(second, 20) << "the second magnifier is drawn";
  const int tileWidth = Tile_Size_X[IsoZoomIndex()];
  Press(game, kZoomIn);
  ASSERT_LT(Tile_Size_X[IsoZoomIndex()], tileWidth) << "the first button shows more of the map";
  EXPECT_GT(first, second) << "the first magnifier shows a minus, the second a plus";
}

TEST(ScenarioBar, APressOnTheBarDropsTheTool) {
  Scenario game;
  game.Run({Move(400, 250), Wait(40)});
  game.Key(SDLK_6);
  ASSERT_EQ(CUserInt::selObj.tool, 2);
  game.Run({Move(kBarX, kBarY), Wait(40)});
  EXPECT_EQ(game.Ui().GetCursorID(), CUserInt::kCursorWindow);
  game.Click(kBarX, kBarY).Do(Wait(40));
  EXPECT_EQ(CUserInt::selObj.tool, 1);
  game.Run({Move(400, 250), Wait(40)});
  EXPECT_EQ(game.Ui().GetCursorID(), 1409);
}

}  // namespace
