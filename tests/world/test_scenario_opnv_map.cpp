// Public-transport lines on the map: with the public-transport view on,
// each line's streets are drawn in its colour from its first stop to its
// last, and its stops carry their markers; the line selected in the line
// editor is drawn without the view.
#include <gtest/gtest.h>

#include "iso/iso_sel_obj.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "network/str_junction_list.h"
#include "scenario_opnv_steps.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;

// The pixels of the colour in the square of 2 x half + 1 around the middle
// of the screen points over the cell.
int ColourAround(Scenario& game, Cell cell, uint16_t colour, int half = 10) {
  long sumX = 0, sumY = 0, n = 0;
  for (int sy = 40; sy < 440; sy += 2)
    for (int sx = 20; sx < 500; sx += 2) {
      int x = -1, y = -1;
      if (game.Map().MouseKoorToIsoKoor(sx, sy, &x, &y) == 0 && x == cell.x && y == cell.y) sumX += sx, sumY += sy, ++n;
    }
  if (n == 0) return -1;
  const int cx = static_cast<int>(sumX / n), cy = static_cast<int>(sumY / n);
  return game.CountPixels({cx - half, cy - half, cx + half + 1, cy + half + 1}, colour);
}

uint16_t ColourOf(const COpnvLine* line) {
  unsigned char r = 0, g = 0, b = 0;
  line->GetColor(r, g, b);
  return Scenario::Rgb(r, g, b);
}

TEST(ScenarioOpnvMap, LinesAreDrawnInTheirColoursAlongTheirStreetsWithMarkersAtTheirStops) {
  Clock().Set(0);
  Scenario game;
  CZorvaWorld& world = game.World();
  COpnv& opnv = *world.GetOpnv();
  Cell c;
  ASSERT_EQ(game.Map().MouseKoorToIsoKoor(250, 220, &c.x, &c.y), 0);
  // An avenue with a street off it at its middle.
  auto street = [&](int x1, int y1, int x2, int y2) { return BuildStreet(world, x1, y1, x2, y2); };
  ASSERT_EQ(street(c.x - 10, c.y, c.x + 9, c.y), STR_BUILD_OK);
  ASSERT_EQ(street(c.x, c.y, c.x, c.y + 9), STR_BUILD_OK);
  CSecondLayerObject* farWest = PlaceStop(game, 1, {c.x - 7, c.y});
  CSecondLayerObject* west = PlaceStop(game, 1, {c.x - 3, c.y});
  CSecondLayerObject* east = PlaceStop(game, 1, {c.x + 5, c.y});
  CSecondLayerObject* south = PlaceStop(game, 1, {c.x, c.y + 6});
  ASSERT_TRUE(farWest && west && east && south);
  // Across the junction along the avenue; from the side street round the
  // corner; and on the avenue's west street alone.
  COpnvLine* across = MakeLine(opnv, NET_BUS, {west, east});
  COpnvLine* corner = MakeLine(opnv, NET_BUS, {south, east});
  COpnvLine* short_ = MakeLine(opnv, NET_BUS, {farWest, west});
  ASSERT_TRUE(across && corner && short_);
  ASSERT_GT(across->GetData()->streetsOneWay, 1);
  ASSERT_EQ(short_->GetData()->streetsOneWay, 1);
  const uint16_t colours[] = {ColourOf(across), ColourOf(corner), ColourOf(short_)};
  ASSERT_NE(colours[0], colours[1]);
  ASSERT_NE(colours[0], colours[2]);
  ASSERT_NE(colours[1], colours[2]);
  const uint16_t marker = Scenario::Rgb(250, 210, 40);
  CUserInt& ui = game.Ui();
  ui.SetToolNr(0, 0, -1);
  game.Run({Move(700, 100), Frames(1)});

  // Where the lines run, counted without the view and with it: the
  // avenue east of the junction, the side street, the avenue's west half,
  // the avenue just west of the junction.
  const Cell places[] = {{c.x + 3, c.y}, {c.x, c.y + 3}, {c.x - 5, c.y}, {c.x - 2, c.y}};
  enum { kEast, kSide, kWest, kNearJunction };
  const Cell stops[] = {{c.x - 7, c.y}, {c.x - 3, c.y}, {c.x + 5, c.y}, {c.x, c.y + 6}};
  int off[3][4], markerOff[4];
  for (int k = 0; k < 3; ++k)
    for (int p = 0; p < 4; ++p) off[k][p] = ColourAround(game, places[p], colours[k]);
  for (int s = 0; s < 4; ++s) markerOff[s] = ColourAround(game, stops[s], marker, 5);
  // The pixels the drawing added in the line's colour at the place.
  auto added = [&](int k, int p) { return ColourAround(game, places[p], colours[k]) - off[k][p]; };

  ui.SetFilter(1, true);
  ASSERT_EQ(ui.GetFilter(1), 1);
  game.Do(Frames(1));
  game.Shot("opnv_map_lines");
  // The line across the junction runs on both halves of the avenue, not
  // down the side street.
  EXPECT_GT(added(0, kEast), 20);
  EXPECT_GT(added(0, kNearJunction), 20);
  EXPECT_LE(added(0, kSide), 0);
  // The corner line comes up the side street and turns east, not west.
  EXPECT_GT(added(1, kSide), 20);
  EXPECT_GT(added(1, kEast), 20);
  EXPECT_LE(added(1, kWest), 0);
  // The line on one street stays on the avenue's west half.
  EXPECT_GT(added(2, kWest), 20);
  EXPECT_LE(added(2, kEast), 0);
  EXPECT_LE(added(2, kSide), 0);
  // Every stop wears its marker.
  for (int s = 0; s < 4; ++s) EXPECT_GT(ColourAround(game, stops[s], marker, 5) - markerOff[s], 10) << s;

  // Without the view only the line chosen in the editor is drawn.
  ui.SetFilter(1, false);
  CUserInt::selObj.selectedLine = corner;
  game.Do(Frames(1));
  EXPECT_GT(added(1, kSide), 20);
  EXPECT_LE(added(0, kNearJunction), 0);
  EXPECT_LE(added(2, kWest), 0);
  for (int s : {0, 1}) EXPECT_LE(ColourAround(game, stops[s], marker, 5) - markerOff[s], 0) << s;
  CUserInt::selObj.selectedLine = nullptr;
}

}  // namespace
