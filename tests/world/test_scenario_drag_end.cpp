// A drag on the map ends with its release wherever that comes: over a
// window, off the map, after the game lost the input or a question opened.
// What it leaves must never be built by a later release. Played through the
// frame loop on the real game.
#include <gtest/gtest.h>

#include <SDL.h>

#include "gui/screen_window.h"
#include "iso/iso_welt.h"
#include "model/data_exchange.h"
#include "network/str_junction_list.h"
#include "support/scenario.h"
#include "world/scenario_street_across.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;

struct Point {
  int x = -1, y = -1;
};

Point ScreenOf(Scenario& game, int tx, int ty) {
  Point p;
  EXPECT_TRUE(game.ScreenOfCell(tx, ty, &p.x, &p.y)) << tx << "/" << ty;
  return p;
}

double Money(Scenario& game) {
  double value = 0;
  EXPECT_EQ(game.World().GetDataExchange()->GetVarData("F.KONTO", &value), 0);
  return value;
}

// Residential zones in the rectangle of cells.
int Zones(Scenario& game, int x0, int y0, int x1, int y1) {
  int count = 0;
  for (int x = x0; x <= x1; ++x)
    for (int y = y0; y <= y1; ++y)
      count += game.Map().GetTypeAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y),
                                    ISO_LAYER_GROUND) == OBJ_ZONE_RESIDENTIAL;
  return count;
}

// The residential zone tool pressed at one cell and moved to another, the
// button still held.
void StartZoneDrag(Scenario& game, Point from, Point to) {
  game.ChooseTool(10, 1, -1);
  game.Run({Move(from.x, from.y), Press(from.x, from.y)});
  for (int i = 1; i <= 4; ++i) game.Do(Move(from.x + (to.x - from.x) * i / 4, from.y + (to.y - from.y) * i / 4));
  EXPECT_EQ(CUserInt::selObj.leftDrag, 1);
  EXPECT_NE(CUserInt::selObj.startX, -1);
}

constexpr int kOptionsPage = 163;

TEST(ScenarioDragEnd, AZoneDragReleasedOverAWindowLaysNothingThenOrLater) {
  Scenario game;
  const StreetTown town = StreetAcross(game);
  game.Ui().ActivateWindow(kOptionsPage, 1);
  CScreenWindow* page = CUserInt::topWindow->GetWindowByID(kOptionsPage);
  ASSERT_NE(page, nullptr);
  ASSERT_EQ(game.Ui().IsWindowOpen(kOptionsPage), 0);
  const Point over{page->GetRealPosX() + page->GetSizeX() / 2, page->GetRealPosY() + page->GetSizeY() / 2};
  const double before = Money(game);

  // The cells west of the town lie clear of the page.
  StartZoneDrag(game, ScreenOf(game, town.sx - 6, town.sy - 4), ScreenOf(game, town.sx - 4, town.sy - 2));
  game.Do(Move(over.x, over.y));
  game.Do(Release(over.x, over.y));
  EXPECT_EQ(Zones(game, town.sx - 8, town.sy - 8, town.sx + 8, town.sy - 1), 0);

  // The pointer goes back over the map, a press lands on the window and
  // its release on the map: that release ends no drag, so nothing is laid.
  const Point back = ScreenOf(game, town.sx - 3, town.sy - 3);
  game.Do(Move(back.x, back.y));
  EXPECT_EQ(CUserInt::selObj.startX, -1) << "no area preview follows the pointer";
  game.Run({Move(over.x, over.y), Press(over.x, over.y), Move(back.x, back.y), Release(back.x, back.y)});
  EXPECT_EQ(Zones(game, town.sx - 8, town.sy - 8, town.sx + 8, town.sy - 1), 0);
  EXPECT_EQ(Money(game), before);
  EXPECT_EQ(game.Ui().GetBuildStreetStatus(), false);

  // A drag that starts and ends on the map still lays its zones.
  game.Ui().DeActivateWindow(kOptionsPage, 0);
  const Point a = ScreenOf(game, town.sx + 2, town.sy - 3), b = ScreenOf(game, town.sx + 3, town.sy - 2);
  game.Drag(a.x, a.y, b.x, b.y);
  EXPECT_EQ(Zones(game, town.sx - 8, town.sy - 8, town.sx + 8, town.sy - 1), 4);
  EXPECT_LT(Money(game), before);
}

TEST(ScenarioDragEnd, LosingTheInputEndsADragWithoutBuilding) {
  Scenario game;
  const StreetTown town = StreetAcross(game);
  const double before = Money(game);
  const Point from = ScreenOf(game, town.sx + 2, town.sy - 4), to = ScreenOf(game, town.sx + 4, town.sy - 2);
  StartZoneDrag(game, from, to);
  game.LoseFocus();
  // The release comes late, on the map, after the player switched back.
  game.Run({Move(to.x, to.y), Release(to.x, to.y)});
  EXPECT_EQ(Zones(game, town.sx - 8, town.sy - 8, town.sx + 8, town.sy - 1), 0);
  EXPECT_EQ(Money(game), before);
  EXPECT_EQ(CUserInt::selObj.leftButton, 0);

  // A street drag too.
  game.ChooseTool(2, STRASSE_1, -1);
  const Point s0 = ScreenOf(game, town.sx - 6, town.sy + 4), s1 = ScreenOf(game, town.sx + 2, town.sy + 4);
  game.Run({Move(s0.x, s0.y), Press(s0.x, s0.y), Move(s1.x, s1.y)});
  ASSERT_TRUE(game.Ui().GetBuildStreetStatus());
  game.LoseFocus();
  EXPECT_FALSE(game.Ui().GetBuildStreetStatus());
  game.Do(Release(s1.x, s1.y));
  EXPECT_EQ(game.Map().GetTypeAt(static_cast<unsigned short>(town.sx - 2), static_cast<unsigned short>(town.sy + 4),
                                 ISO_LAYER_GROUND),
            OBJ_GROUND);
  EXPECT_EQ(Money(game), before);
}

TEST(ScenarioDragEnd, AQuestionOpenedDuringADragEndsItWithoutBuilding) {
  Scenario game;
  const StreetTown town = StreetAcross(game);
  const double before = Money(game);
  const Point to = ScreenOf(game, town.sx + 4, town.sy - 2);
  StartZoneDrag(game, ScreenOf(game, town.sx + 2, town.sy - 4), to);
  // Escape with only the main screen open asks whether to quit; N answers no.
  game.Key(SDLK_ESCAPE).Do(Wait(40));
  ASSERT_EQ(game.Ui().IsWindowOpen(CUserInt::kYesNoWindow), 0);
  game.Key('n').Do(Wait(40));
  ASSERT_NE(game.Ui().IsWindowOpen(CUserInt::kYesNoWindow), 0);
  game.Do(Release(to.x, to.y));
  EXPECT_EQ(Zones(game, town.sx - 8, town.sy - 8, town.sx + 8, town.sy - 1), 0);
  EXPECT_EQ(Money(game), before);
}

}  // namespace
