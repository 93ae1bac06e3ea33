// A bus line made the way a player makes one, with the mouse only: buses
// bought on the fleet page, sign stops chosen from the bar's stop menu and
// placed beside the streets, the lines page's new-line button, and the
// stops clicked on the map, at the cell a stop stands on or at the sign's
// picture, which stands up above it. The line window opens, the lines page
// lists the line, its row puts the buses on it, and a bus drives.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "iso/iso_geometry.h"
#include "iso/iso_welt.h"
#include "measures/building_object.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "measures/opnv_net.h"
#include "opnv_window_steps.h"
#include "scenario_opnv_steps.h"
#include "support/scenario.h"
#include "ui/user_int.h"
#include "world/zor_world.h"
#include "worldbase/building_catalogue.h"

namespace {

using namespace zortest;

// Where the mouse rests while the map is looked at: on the map, clear of
// the stops and the windows.
constexpr Point kAside = {40, 430};
// The lines page's list.
const Region kLineList = {kPageX + 14, kPageY + 115, kPageX + 14 + 280, kPageY + 115 + 127};

// The screen's pixels around a point, with the mouse resting aside.
std::vector<uint16_t> Around(Scenario& game, Point p, int r) {
  game.Run({Move(kAside.x, kAside.y), Wait(60)});
  std::vector<uint16_t> out;
  for (int y = p.y - r; y <= p.y + r; ++y)
    for (int x = p.x - r; x <= p.x + r; ++x) out.push_back(game.Pixel(x, y));
  return out;
}

// The points of the sign's picture over other cells than its own: the
// pixels the stop changed above the middle of its cell, top first.
std::vector<Point> SignOverOtherCells(Scenario& game, Point middle, int r, const std::vector<uint16_t>& before,
                                      const std::vector<uint16_t>& after, Cell stop) {
  std::vector<Point> out;
  const int side = 2 * r + 1;
  for (int j = 0; j < r; ++j)
    for (int i = 0; i < side; ++i) {
      if (before[j * side + i] == after[j * side + i]) continue;
      const Point p = {middle.x - r + i, middle.y - r + j};
      int x = -1, y = -1;
      if (game.Map().MouseKoorToIsoKoor(p.x, p.y, &x, &y) == 0 && (x != stop.x || y != stop.y)) out.push_back(p);
    }
  return out;
}

TEST(ScenarioLineByHand, StopsClickedAtTheirCellOrTheirSignMakeALineThatListsTakesBusesAndRuns) {
  Scenario game;
  CZorvaWorld& world = game.World();
  COpnv& opnv = *world.GetOpnv();
  // An avenue with a street turning off it at its east end, homes along
  // the avenue and offices along the side street.
  Cell o;
  ASSERT_EQ(game.Map().MouseKoorToIsoKoor(250, 220, &o.x, &o.y), 0);
  o.x -= 8;
  o.y -= 4;
  ASSERT_EQ(BuildStreet(world, o.x, o.y, o.x + 16, o.y), STR_BUILD_OK);
  ASSERT_EQ(BuildStreet(world, o.x + 16, o.y, o.x + 16, o.y + 10), STR_BUILD_OK);
  const std::tuple<TObjectType, int, int> buildings[] = {{OBJ_RESIDENTIAL, 1, -2}, {OBJ_RESIDENTIAL, 4, -2},
                                                         {OBJ_RESIDENTIAL, 7, -2}, {OBJ_RESIDENTIAL, 10, -2},
                                                         {OBJ_OFFICE, 18, 4},      {OBJ_OFFICE, 18, 7}};
  for (const auto& [kind, x, y] : buildings) {
    const int resId = CBuildingDataList::GetBuildingResIDByType(kind, 1, nullptr);
    ASSERT_GT(resId, 0) << kind;
    ASSERT_NE(world.CreateObject(kind, resId, CIsoRichtung(0), o.x + x, o.y + y, static_cast<ESimLocationHeight>(0),
                                 nullptr, 0, nullptr, 0, -1),
              nullptr)
        << kind << " at " << x << "/" << y;
  }
  game.Do(Wait(40));

  // Four standard buses entered on the fleet page and booked.
  ASSERT_NO_FATAL_FAILURE(BuyBusesWithTheMouse(game, 4));
  EXPECT_EQ(opnv.GetFreeFp(FLEET_NORMAL), 4);

  // The sign stop from the bar's stop menu, placed on three street cells:
  // two on the avenue, one on the side street.
  ASSERT_NO_FATAL_FAILURE(ChooseSignStop(game));
  const Cell cells[3] = {{o.x + 4, o.y}, {o.x + 11, o.y}, {o.x + 16, o.y + 6}};
  constexpr int kR = 40;
  CSecondLayerObject* stops[3] = {};
  Point middles[3];
  std::vector<Point> signs[3];
  for (int i = 0; i < 3; ++i) {
    middles[i] = MiddleOf(game, cells[i].x, cells[i].y);
    const std::vector<uint16_t> before = Around(game, middles[i], kR);
    game.Run({Move(middles[i].x, middles[i].y), Wait(40)});
    ASSERT_EQ(CUserInt::selObj.busStopShowable, 1) << "the sign shows at stop " << i;
    ClickAt(game, middles[i]);
    stops[i] = dynamic_cast<CSecondLayerObject*>(game.Map().GetIsoTileObject(cells[i].x, cells[i].y, ISO_LAYER_UPPER));
    ASSERT_NE(stops[i], nullptr) << "the click places stop " << i;
    ASSERT_EQ(stops[i]->GetType(), OBJ_BUSSTOP_SIGN);
    signs[i] = SignOverOtherCells(game, middles[i], kR, before, Around(game, middles[i], kR), cells[i]);
    // The sign reaches above its own cell on the screen.
    ASSERT_FALSE(signs[i].empty()) << "stop " << i;
  }
  ASSERT_EQ(opnv.GetHstCount(), 3);

  // The lines page's new-line button; the first stop clicked at the top of
  // its sign, the second at its cell, the third at its sign's lowest point
  // over another cell. A right click ends the editing; the lines page is
  // back and lists the line.
  ASSERT_NO_FATAL_FAILURE(OpenLinesPage(game));
  const uint64_t emptyList = game.Fingerprint(kLineList);
  COpnvLine* line = LineByClicks(game, NET_BUS, {signs[0].front(), middles[1], signs[2].back()});
  ASSERT_NE(line, nullptr);
  const int number = line->GetID();
  ASSERT_EQ(opnv.GetLineByID(number), line) << "the line stays";
  ASSERT_EQ(line->GetData()->stopsOneWay, 3) << "the side street's stop joins the avenue's";
  for (int i = 0; i < 3; ++i) EXPECT_EQ(line->GetData()->stopIds[i], stops[i]->GetID()) << i;
  EXPECT_GT(line->GetData()->length, 0.0f);
  ASSERT_GT(line->GetData()->vehiclesNeeded, 0);
  EXPECT_NE(game.Fingerprint(kLineList), emptyList) << "the line has its row";

  // The row's plus puts the buses on the line, one a click.
  for (int i = 0; i < 3; ++i) ClickAt(game, FirstRowPlus());
  EXPECT_EQ(line->GetFpAssigned(), 3);
  EXPECT_EQ(opnv.GetFreeFp(FLEET_NORMAL), 1);

  // Game hours go by: a bus drives on the map.
  world.SetGameSpeed(CZorvaWorld::kGameSpeedSum - 400);
  for (int waited = 0; waited < 4000 && line->GetVehicleCount() == 0; waited += 200) game.Do(Wait(200));
  EXPECT_GT(line->GetVehicleCount(), 0) << "a bus went out on the line";
  game.Shot("line-by-hand");
}

// A sign is found by whatever pixel of it is clicked, in each of the four
// turns of the map and at each zoom: the line tool hands the stop's cell
// on, and so does the stop remover.
// The cells handed to the map calls named `name` by a click at p.
std::vector<Cell> ClickHands(Scenario& game, Point p, const char* name) {
  const int from = game.Ui().GetMapCallCount();
  game.Click(p.x, p.y);
  std::vector<Cell> cells;
  for (int i = from; i < game.Ui().GetMapCallCount(); ++i) {
    const CUserInt::MapCall& call = game.Ui().GetMapCall(i);
    if (std::string(call.name) == name) cells.push_back({call.x, call.y});
  }
  return cells;
}

TEST(ScenarioLineByHand, EveryPixelOfASignPointsTheLineToolAtItsStopInEveryViewOfTheMap) {
  Scenario game;
  CZorvaWorld& world = game.World();
  Cell c;
  ASSERT_EQ(game.Map().MouseKoorToIsoKoor(400, 260, &c.x, &c.y), 0);
  ASSERT_EQ(BuildStreet(world, c.x - 6, c.y, c.x + 6, c.y), STR_BUILD_OK);
  const Cell stopCell = c;

  // The views: four turns at the middle zoom, then one turn zoomed in and
  // one zoomed out.
  auto view = [&](int v) {
    while (g_IsoRichtung != (v & 3)) game.Map().UserIntTurnRight();
    game.Do(Wait(60));
  };
  constexpr int kViews = 6, kR = 60;
  auto setView = [&](int v) {
    view(v);
    if (v == 4) game.Map().UserIntZoomIn();
    if (v == 5) game.Map().UserIntZoomOut(), game.Map().UserIntZoomOut();
    if (v >= 4) game.Do(Wait(60));
  };
  auto resetZoom = [&](int v) {
    if (v == 4) game.Map().UserIntZoomOut();
    if (v == 5) game.Map().UserIntZoomIn();
  };
  std::vector<uint16_t> before[kViews];
  Point middles[kViews];
  for (int v = 0; v < kViews; ++v) {
    setView(v);
    middles[v] = MiddleOf(game, stopCell.x, stopCell.y);
    before[v] = Around(game, middles[v], kR);
    resetZoom(v);
  }
  view(0);
  CSecondLayerObject* stop = PlaceStop(game, 1, stopCell);
  ASSERT_NE(stop, nullptr);

  // The tool that adds nothing: each click only hands a cell on.
  game.Ui().SetToolNr(18, -1, -1);
  for (int v = 0; v < kViews; ++v) {
    setView(v);
    ASSERT_EQ(MiddleOf(game, stopCell.x, stopCell.y).x, middles[v].x) << "view " << v;
    const std::vector<Point> sign =
        SignOverOtherCells(game, middles[v], kR, before[v], Around(game, middles[v], kR), stopCell);
    ASSERT_FALSE(sign.empty()) << "view " << v;
    // A dozen of its pixels, spread from the top of the sign down.
    const size_t step = std::max<size_t>(1, sign.size() / 12);
    for (size_t k = 0; k < sign.size(); k += step) {
      const Point p = sign[k];
      const std::vector<Cell> handed = ClickHands(game, p, "BuildRemoveOpnvLine");
      for (const Cell& cell : handed) {
        EXPECT_EQ(cell.x, stopCell.x) << "view " << v << " at " << p.x << "/" << p.y;
        EXPECT_EQ(cell.y, stopCell.y) << "view " << v << " at " << p.x << "/" << p.y;
      }
      EXPECT_FALSE(handed.empty()) << "view " << v << " at " << p.x << "/" << p.y;
    }
    resetZoom(v);
  }
  view(0);

  // A point higher over the stop than any sign reaches is the cell under
  // it: the look down from it ends above the stop's cell.
  {
    const int tileHeight = Tile_Size_Y[1];
    const Point high = {middles[0].x, middles[0].y - tileHeight / 2 - tileHeight * 7 / 4};
    Cell under;
    ASSERT_EQ(game.Map().MouseKoorToIsoKoor(high.x, high.y, &under.x, &under.y), 0);
    const std::vector<Cell> handed = ClickHands(game, high, "BuildRemoveOpnvLine");
    for (const Cell& cell : handed) {
      EXPECT_EQ(cell.x, under.x);
      EXPECT_EQ(cell.y, under.y);
    }
    EXPECT_FALSE(handed.empty());
  }

  // The stop remover, too, takes the stop whose sign is clicked.
  const std::vector<Point> sign = SignOverOtherCells(game, middles[0], kR, before[0], Around(game, middles[0], kR), stopCell);
  ASSERT_FALSE(sign.empty());
  game.Ui().SetToolNr(23, -1, -1);
  const std::vector<Cell> removing = ClickHands(game, sign.front(), "RemoveObject");
  for (const Cell& cell : removing) {
    EXPECT_EQ(cell.x, stopCell.x);
    EXPECT_EQ(cell.y, stopCell.y);
  }
  EXPECT_FALSE(removing.empty()) << "the removal of the stop is asked for";
}

}  // namespace
