// Public transport run from its windows with the mouse: the player opens
// the group from the game bar, goes to the lines page, starts a bus line and
// clicks its stops on the map, buys buses on the fleet page, raises the
// base fare, puts a bus on the line from the lines page, and sees the bus
// drive and the purchase and the staff in the accounts. A fleet purchase
// entered but not booked is guarded by a question before a page is left:
// no keeps the entry, yes drops it and turns the page.
#include <gtest/gtest.h>

#include <SDL.h>

#include <filesystem>

#include "measures/opnv.h"
#include "gui/gui_host.h"
#include "gui/screen_window.h"
#include "measures/opnv_line.h"
#include "measures/opnv_net.h"
#include "scenario_opnv_steps.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;

// Screen points of the windows' controls: window 120 stands at (411, 0),
// its pages at (462, 21).
constexpr int kGroupX = 411, kPageX = 462, kPageY = 21;
// The button of the bar, shown while the mouse is on the bar, and the
// first button of its menu.
constexpr int kBarButtonX = 678, kBarButtonY = 523;
constexpr int kMenuOpnvX = 678, kMenuOpnvY = 438;

struct Point {
  int x, y;
};
// The page buttons in the column.
Point Tab(int n) { return {kGroupX + 28, 45 + 43 * n + 18}; }
constexpr int kTabFinances = 0, kTabFleet = 1, kTabLines = 2, kTabFares = 6;
// Controls on the pages, by their place on the page.
Point OnPage(int x, int y) { return {kPageX + x, kPageY + y}; }

bool Open(Scenario& game, int id) { return game.Ui().IsWindowOpen(id) == 0; }

// What public transport answers for a value of its windows.
double Value(COpnv& opnv, const char* key) {
  double v = -1;
  EXPECT_EQ(opnv.GetVarData(key, &v), 0) << key;
  return v;
}

// A street under the screen point (200, 260) with a bus stop five cells
// to each side of it; the standard tool afterwards.
void StreetWithTwoStops(Scenario& game, Cell& c, CSecondLayerObject*& west, CSecondLayerObject*& east) {
  ASSERT_EQ(game.Map().MouseKoorToIsoKoor(200, 260, &c.x, &c.y), 0);
  ASSERT_EQ(BuildStreet(game.World(), c.x - 8, c.y, c.x + 8, c.y), STR_BUILD_OK);
  west = PlaceStop(game, 1, {c.x - 5, c.y});
  east = PlaceStop(game, 1, {c.x + 5, c.y});
  game.Ui().SetToolNr(1, -1, -1);
}

TEST(ScenarioOpnvWindow, APlayerMakesABusLineBuysABusRaisesAFareAndTheLineRuns) {
  Clock().Set(0);
  std::filesystem::create_directories("SaveGame");
  Scenario game;
  CZorvaWorld& world = game.World();
  COpnv& opnv = *world.GetOpnv();
  auto click = [&](Point p) { game.Click(p.x, p.y).Do(Wait(40)); };

  // A street with two bus stops.
  Cell c;
  CSecondLayerObject *west = nullptr, *east = nullptr;
  StreetWithTwoStops(game, c, west, east);
  ASSERT_TRUE(west && east);
  game.Do(Wait(40));

  // The bar's public-transport button opens its menu; the menu's first
  // button the group with the finances page.
  ASSERT_FALSE(Open(game, 120));
  game.Run({Move(600, 590), Wait(40)});
  game.Click(kBarButtonX, kBarButtonY).Do(Wait(40));
  ASSERT_TRUE(Open(game, 25));
  click({kMenuOpnvX, kMenuOpnvY});
  ASSERT_TRUE(Open(game, 120));
  EXPECT_TRUE(Open(game, 122));
  EXPECT_FALSE(Open(game, 25));

  // The lines page; its new-line button starts the line tool and closes
  // the group until the line is made.
  click(Tab(kTabLines));
  ASSERT_TRUE(Open(game, 129));
  EXPECT_FALSE(Open(game, 122));
  click(OnPage(243 + 27, 48 + 8));
  EXPECT_EQ(CUserInt::selObj.tool, 20);
  EXPECT_FALSE(Open(game, 120));

  // The stops clicked on the map one after the other make the line.
  int sx = 0, sy = 0;
  ASSERT_TRUE(ScreenOf(game, {c.x - 5, c.y}, sx, sy));
  game.Click(sx, sy).Do(Wait(40));
  ASSERT_NE(CUserInt::selObj.editedLine, nullptr);
  COpnvLine* line = CUserInt::selObj.editedLine;
  const int number = line->GetID();
  EXPECT_EQ(CUserInt::selObj.tool, 21);
  ASSERT_TRUE(ScreenOf(game, {c.x + 5, c.y}, sx, sy));
  game.Click(sx, sy).Do(Wait(40));
  EXPECT_EQ(line->GetData()->stopsOneWay, 2);
  EXPECT_GT(line->GetData()->vehiclesNeeded, 0);
  // A right click on the map ends the editing and brings the lines page back.
  game.Click(sx, sy, kRight).Do(Wait(40));
  EXPECT_EQ(CUserInt::selObj.tool, 1);
  ASSERT_EQ(opnv.GetLineByID(number), line) << "the line stays";
  EXPECT_TRUE(Open(game, 129));
  EXPECT_TRUE(Open(game, 120));

  // The fleet page: three standard buses entered and booked.
  const double money = Value(opnv, "OPNV.F.COST.BUS");
  click(Tab(kTabFleet));
  ASSERT_TRUE(Open(game, 126));
  for (int i = 0; i < 3; ++i) click(OnPage(254 + 51, 52 + 7));
  EXPECT_EQ(Value(opnv, "OPNV.FP.BUS.NORMAL.BUYSELL"), 3);
  EXPECT_EQ(Value(opnv, "OPNV.FP.BUS.BUYSELL.COST"), 3 * 150000);

  // Leaving the page now asks first; "no" keeps the page and the entry.
  click(Tab(kTabFares));
  ASSERT_TRUE(Open(game, 247));
  EXPECT_TRUE(Open(game, 126));
  EXPECT_FALSE(Open(game, 125));
  click({250 + 215 + 28, 150 + 83 + 8});
  EXPECT_FALSE(Open(game, 247));
  EXPECT_TRUE(Open(game, 126));
  EXPECT_EQ(Value(opnv, "OPNV.FP.BUS.NORMAL.BUYSELL"), 3);

  click(OnPage(234 + 37, 204 + 8));
  EXPECT_EQ(Value(opnv, "OPNV.FP.BUS.NORMAL"), 3);
  EXPECT_EQ(Value(opnv, "OPNV.FP.BUS.NORMAL.BUYSELL"), 0);
  EXPECT_EQ(Value(opnv, "OPNV.F.COST.BUS") - money, 3 * 150000);

  // One more entered: "yes" drops it and goes on to the fares page.
  click(OnPage(254 + 51, 52 + 7));
  click(Tab(kTabFares));
  ASSERT_TRUE(Open(game, 247));
  click({250 + 16 + 28, 150 + 83 + 8});
  EXPECT_FALSE(Open(game, 247));
  ASSERT_TRUE(Open(game, 125));
  EXPECT_FALSE(Open(game, 126));
  EXPECT_EQ(Value(opnv, "OPNV.FP.BUS.NORMAL.BUYSELL"), 0);
  EXPECT_EQ(Value(opnv, "OPNV.FP.BUS.NORMAL"), 3);

  // The fares page: the base fare one step up.
  const double baseFare = Value(opnv, "OPNV.PRICE.BASE");
  click(OnPage(260 + 4, 33 + 8));
  EXPECT_GT(Value(opnv, "OPNV.PRICE.BASE"), baseFare);

  // Back on the lines page the line's row puts a bus on the line.
  click(Tab(kTabLines));
  ASSERT_TRUE(Open(game, 129));
  game.Do(Wait(200));
  click(OnPage(14 + 114 + 49 + 4, 115 + 2 + 8));
  EXPECT_EQ(line->GetFpAssigned(), 1);
  EXPECT_EQ(opnv.GetFreeFp(FLEET_NORMAL), 2);
  game.Shot("opnv_window_lines");

  // Hours go by: the bus drives the line and its staff is paid.
  world.SetGameSpeed(CZorvaWorld::kGameSpeedSum - 400);
  for (int waited = 0; waited < 4000 && line->GetVehicleCount() == 0; waited += 200) game.Do(Wait(200));
  EXPECT_GT(line->GetVehicleCount(), 0) << "a bus went out on the line";
  game.Do(Wait(1000));
  EXPECT_GT(Value(opnv, "OPNV.PERS.DRIVER.NEEDED"), 0);
  // A year of the game passes in a few seconds here: what was booked is in
  // this year's or last year's accounts.
  EXPECT_GT(Value(opnv, "OPNV.F.COST.PERS") + Value(opnv, "OPNV.F.LY.COST.PERS"), 0);
  EXPECT_EQ(Value(opnv, "OPNV.F.COST.BUS") + Value(opnv, "OPNV.F.LY.COST.BUS") - money, 3 * 150000);
  click(Tab(kTabFinances));
  EXPECT_TRUE(Open(game, 122));
}

// A line chosen on the lines page is the active line; its delete button,
// after the question, removes it from public transport and from the page's
// list, and no line is active any more.
TEST(ScenarioOpnvWindow, ALineDeletedFromTheLinesPageIsGoneFromTheNetAndTheList) {
  Scenario game;
  CZorvaWorld& world = game.World();
  COpnv& opnv = *world.GetOpnv();
  auto click = [&](Point p) { game.Click(p.x, p.y).Do(Wait(40)); };
  Cell c;
  CSecondLayerObject *west = nullptr, *east = nullptr;
  StreetWithTwoStops(game, c, west, east);
  ASSERT_TRUE(west && east);
  CGuiHost& host = *CGuiHost::Get();

  // The lines page without lines, and then with one.
  const Region list = {kPageX + 14, kPageY + 115, kPageX + 14 + 280, kPageY + 115 + 127};
  auto openLinesPage = [&] {
    game.Run({Move(600, 590), Wait(40)});
    game.Click(kBarButtonX, kBarButtonY).Do(Wait(40));
    click({kMenuOpnvX, kMenuOpnvY});
    click(Tab(kTabLines));
    game.Do(Wait(200));
  };
  openLinesPage();
  ASSERT_TRUE(Open(game, 129));
  const uint64_t empty = game.Fingerprint(list);
  game.Key(SDLK_ESCAPE).Do(Wait(40));
  COpnvLine* line = MakeLine(opnv, NET_BUS, {west, east});
  ASSERT_NE(line, nullptr);
  const int number = line->GetID();
  openLinesPage();
  ASSERT_TRUE(Open(game, 129));
  EXPECT_NE(game.Fingerprint(list), empty) << "the line has its row";

  // Its name chooses it, and the line window shows it.
  int active = -1, kind = -1;
  EXPECT_FALSE(host.GetActiveLine(&active, &kind));
  click(OnPage(14 + 30, 115 + 8));
  EXPECT_EQ(CUserInt::topWindow->GetVarWorldObject(227), line);
  ASSERT_TRUE(host.GetActiveLine(&active, &kind));
  EXPECT_EQ(active, number);
  EXPECT_EQ(kind, NET_BUS);
  EXPECT_EQ(host.GetOpnvNet(), opnv.GetBusNet());

  // Deleted after the question.
  if (!Open(game, 129)) openLinesPage();
  ASSERT_TRUE(Open(game, 129));
  click(OnPage(14 + 268 + 7, 115 + 8));
  ASSERT_TRUE(Open(game, 247)) << "the player is asked first";
  EXPECT_EQ(opnv.GetLineByID(number), line);
  click({250 + 16 + 28, 150 + 83 + 8});
  game.Do(Wait(200));
  EXPECT_EQ(opnv.GetLineByID(number), nullptr);
  EXPECT_FALSE(host.GetActiveLine(&active, &kind));
  EXPECT_EQ(host.GetOpnvNet(), nullptr);
  // The line window let it go: its next frame, or the next load, would
  // read the freed line.
  EXPECT_EQ(CUserInt::topWindow->GetVarWorldObject(227), nullptr);
  EXPECT_EQ(CUserInt::selObj.editedLine, nullptr);
  ASSERT_TRUE(Open(game, 129));
  EXPECT_EQ(game.Fingerprint(list), empty) << "the row is gone";
}

}  // namespace
