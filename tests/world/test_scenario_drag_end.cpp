// A drag on the map ends with its release wherever that comes: over a
// window, off the map, after the game lost the input or a question opened.
// What it leaves must never be built by a later release. Played through the
// frame loop on the real game.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <vector>

#include "gui/screen_window.h"
#include "iso/iso_welt.h"
#include "model/data_exchange.h"
#include "network/str_junction_list.h"
#include "support/scenario.h"
#include "ui/str_preview.h"
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

// A track dragged from (300, 300) to a point of the screen region
// [sx0, sx1) x [sy0, sy1), well inside the map, where the pointer rests
// while the player looks at the preview. The map stays put, and the track
// that the release lays ends where the preview ended.
void TrackEndsWhereItsPreviewEnded(Scenario& game, int sx0, int sx1, int sy0, int sy1) {
  game.ChooseTool(2, STRASSE_SCHIENE, -1);
  game.Run({Move(300, 300), Wait(40)});
  ASSERT_EQ(CUserInt::selObj.panelShown, 0);
  int x0 = -1, y0 = -1;
  ASSERT_EQ(game.Map().MouseKoorToIsoKoor(300, 300, &x0, &y0), 0);
  // A point of the region over a cell of the same row or column, a few
  // cells on; (dx, dy) steps from the start cell towards it.
  Point end;
  int x1 = -1, y1 = -1;
  for (int sy = sy0; sy < sy1 && x1 < 0; sy += 2)
    for (int sx = sx0; sx < sx1 && x1 < 0; sx += 2) {
      int tx = -1, ty = -1;
      if (game.Map().MouseKoorToIsoKoor(sx, sy, &tx, &ty) != 0) continue;
      if ((tx == x0 && std::abs(ty - y0) > 2) || (ty == y0 && std::abs(tx - x0) > 2)) end = {sx, sy}, x1 = tx, y1 = ty;
    }
  ASSERT_GE(x1, 0);
  const int dx = (x1 > x0) - (x1 < x0), dy = (y1 > y0) - (y1 < y0);
  const int length = std::abs(x1 - x0) + std::abs(y1 - y0);
  auto type = [&](int k) {
    return game.Map().GetTypeAt(static_cast<unsigned short>(x0 + k * dx), static_cast<unsigned short>(y0 + k * dy),
                                ISO_LAYER_GROUND);
  };
  // What stands past the end before the drag, beyond the two cells deep
  // junction that ends a track; the release leaves it so.
  const int past[3] = {type(length + 2), type(length + 3), type(length + 4)};

  game.Run({Move(300, 300), Press(300, 300)});
  for (int i = 1; i <= 6; ++i) game.Do(Move(300 + (end.x - 300) * i / 6, 300 + (end.y - 300) * i / 6));
  ASSERT_TRUE(game.Ui().GetBuildStreetStatus());
  const int ox = game.Map().GetPixelOffsetX(), oy = game.Map().GetPixelOffsetY();
  const int centreX = game.Map().GetCenterX(), centreY = game.Map().GetCenterY();
  game.Do(Wait(600));
  EXPECT_FALSE(game.Map().IsPanning());
  EXPECT_EQ(game.Map().GetPixelOffsetX(), ox);
  EXPECT_EQ(game.Map().GetPixelOffsetY(), oy);
  EXPECT_EQ(game.Map().GetCenterX(), centreX);
  EXPECT_EQ(game.Map().GetCenterY(), centreY);
  const CStrPreviewRect* preview = game.Ui().GetStrPreviewRect();
  ASSERT_NE(preview, nullptr);
  EXPECT_EQ(preview->GetEndX(), x1);
  EXPECT_EQ(preview->GetEndY(), y1);

  game.Run({Release(end.x, end.y), Frames(2)});
  for (int k = 0; k <= length; ++k)
    EXPECT_TRUE(type(k) == OBJ_RAIL_PIECE || type(k) == OBJ_RAIL_JUNCTION) << "no track " << k << " cells on";
  for (int k = 2; k <= 4; ++k)
    EXPECT_EQ(type(length + k), past[k - 2]) << "track " << length + k << " cells on, past the preview";
}

// Low on the map at 800 x 600 with the bottom panel hidden: below the
// panel's top edge.
TEST(ScenarioDragEnd, ATrackDraggedLowOnTheMapEndsWhereItsPreviewEnded) {
  Scenario game;
  ASSERT_EQ(game.Height(), 600);
  TrackEndsWhereItsPreviewEnded(game, 60, 740, 500, 540);
}

// A game started at 1024 x 768: right of where the edge band of an 800
// pixels wide screen begins.
TEST(ScenarioDragEnd, ATrackDraggedFarRightOnAWideScreenEndsWhereItsPreviewEnded) {
  Scenario game("AUFLOESUNG=1024\n");
  ASSERT_EQ(game.Width(), 1024);
  TrackEndsWhereItsPreviewEnded(game, 800, 960, 520, 660);
}

// A track dragged to the screen's left edge, the pointer resting there:
// the map pans, the preview grows with the cells that pass under the
// pointer, and the release lays the track the preview showed.
TEST(ScenarioDragEnd, ATrackHeldAtTheScreensEdgeGrowsWithThePanAndEndsWhereItsPreviewEnds) {
  Scenario game;
  game.ChooseTool(2, STRASSE_SCHIENE, -1);
  game.Run({Move(400, 300), Wait(40)});
  int x0 = -1, y0 = -1;
  ASSERT_EQ(game.Map().MouseKoorToIsoKoor(400, 300, &x0, &y0), 0);
  auto type = [&](int x, int y) {
    return x < 0 || y < 0 || x >= ISO_MAP_SIZE || y >= ISO_MAP_SIZE
               ? -1
               : game.Map().GetTypeAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), ISO_LAYER_GROUND);
  };
  // The map before the drag: what stands past the track's end stays.
  std::vector<int> before;
  for (int x = 0; x < ISO_MAP_SIZE; ++x)
    for (int y = 0; y < ISO_MAP_SIZE; ++y) before.push_back(type(x, y));
  game.Run({Move(400, 300), Press(400, 300)});
  for (int x = 350; x >= 50; x -= 50) game.Do(Move(x, 300));
  game.Do(Move(8, 300));
  ASSERT_TRUE(game.Ui().GetBuildStreetStatus());
  const CStrPreviewRect* preview = game.Ui().GetStrPreviewRect();
  ASSERT_NE(preview, nullptr);
  auto length = [&] { return std::abs(preview->GetEndX() - x0) + std::abs(preview->GetEndY() - y0); };
  const int arrived = length();
  ASSERT_GT(arrived, 2);

  game.Do(Wait(400));
  EXPECT_TRUE(game.Map().IsPanning());
  const int endX = preview->GetEndX(), endY = preview->GetEndY();
  EXPECT_GT(length(), arrived + 2) << "the preview grows while the map pans under the pointer";
  ASSERT_TRUE(endX == x0 || endY == y0) << "the preview runs along one axis";

  game.Run({Release(8, 300), Frames(2)});
  const int dx = (endX > x0) - (endX < x0), dy = (endY > y0) - (endY < y0);
  const int cells = std::abs(endX - x0) + std::abs(endY - y0);
  for (int k = 0; k <= cells; ++k) {
    const int t = type(x0 + k * dx, y0 + k * dy);
    EXPECT_TRUE(t == OBJ_RAIL_PIECE || t == OBJ_RAIL_JUNCTION) << "no track " << k << " cells on";
  }
  // Past the junction, two cells deep, that ends the track.
  for (int k = cells + 2; k <= cells + 4; ++k) {
    const int x = x0 + k * dx, y = y0 + k * dy;
    if (x < 0 || y < 0 || x >= ISO_MAP_SIZE || y >= ISO_MAP_SIZE) break;
    EXPECT_EQ(type(x, y), before[x * ISO_MAP_SIZE + y]) << "track " << k << " cells on, past the preview";
  }
}

// A zone dragged to the screen's left edge and held there: the area's far
// corner follows the cells that the pan brings under the pointer.
TEST(ScenarioDragEnd, AZoneHeldAtTheScreensEdgeGrowsWithThePan) {
  Scenario game;
  StreetAcross(game);
  const Point from{400, 300};
  StartZoneDrag(game, from, {50, 300});
  game.Do(Move(8, 300));
  const int arrivedX = CUserInt::selObj.endX, arrivedY = CUserInt::selObj.endY;
  game.Do(Wait(400));
  ASSERT_TRUE(game.Map().IsPanning());
  int tx = -1, ty = -1;
  ASSERT_EQ(game.Map().MouseKoorToIsoKoor(8, 300, &tx, &ty), 0);
  EXPECT_TRUE(tx != arrivedX || ty != arrivedY) << "the map panned cells under the pointer";
  EXPECT_EQ(CUserInt::selObj.endX, tx);
  EXPECT_EQ(CUserInt::selObj.endY, ty);
  game.Do(Release(8, 300));
}

}  // namespace
