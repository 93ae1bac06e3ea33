#pragma once
// The player's way to the public-transport windows with the mouse: the
// bar's buttons (shown while the mouse is on the bar), the group's page
// buttons, places on its pages and buttons of the menus that open over
// the bar.
#include <gtest/gtest.h>

#include "gui/screen_window.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "measures/opnv_net.h"
#include "support/scenario.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

namespace zortest {

struct Point {
  int x = -1, y = -1;
};

// The public-transport group stands at (411, 0), its pages at (462, 21).
constexpr int kGroupX = 411, kPageX = 462, kPageY = 21;
constexpr Point kBarRest = {600, 590};
constexpr Point kNetButton = {495 + 18, 505 + 18};
constexpr Point kOpnvButton = {678, 523};
constexpr Point kOpnvMenuFirst = {678, 438};

inline Point Tab(int n) { return {kGroupX + 28, 45 + 43 * n + 18}; }
constexpr int kTabFleet = 1, kTabLines = 2;
inline Point OnPage(int x, int y) { return {kPageX + x, kPageY + y}; }

// The centre of a 36 x 36 button at (x, y) of a window, where the window
// stands on the screen.
inline Point ButtonOf(int window, int x, int y) {
  CScreenWindow* win = CUserInt::topWindow ? CUserInt::topWindow->GetWindowByID(window) : nullptr;
  EXPECT_NE(win, nullptr) << window;
  if (!win) return {};
  return {win->GetRealPosX() + x + 18, win->GetRealPosY() + y + 18};
}

inline void ClickAt(Scenario& game, Point p) {
  ASSERT_GE(p.x, 0);
  game.Click(p.x, p.y).Do(Wait(40));
}

// A button of the bar: the mouse goes to the bar first, which shows them.
inline void BarButton(Scenario& game, Point button) {
  game.Run({Move(kBarRest.x, kBarRest.y), Wait(40)});
  ClickAt(game, button);
}

// A tram line made with the mouse: the lines page's new-line button, the
// two tram stops clicked on the map, a tram entered and bought on the fleet
// page and put on the line from its row. The line, or null.
inline COpnvLine* TramLineWithTheMouse(Scenario& g, Point first, Point second) {
  COpnv& opnv = *g.World().GetOpnv();
  BarButton(g, kOpnvButton);
  ClickAt(g, kOpnvMenuFirst);
  EXPECT_TRUE(g.IsOpen(120));
  ClickAt(g, Tab(kTabLines));
  ClickAt(g, OnPage(243 + 27, 48 + 8));
  EXPECT_EQ(CUserInt::selObj.tool, 20);
  ClickAt(g, first);
  COpnvLine* line = CUserInt::selObj.editedLine;
  if (!line) {
    ADD_FAILURE() << "the first stop starts the line";
    return nullptr;
  }
  EXPECT_EQ(line->GetNetType(), NET_TRAM);
  EXPECT_EQ(CUserInt::selObj.tool, 21);
  ClickAt(g, second);
  EXPECT_EQ(CUserInt::selObj.tool, 17);
  EXPECT_TRUE(g.IsOpen(227)) << "the line's window shows the new line";
  EXPECT_EQ(line->GetData()->stopsOneWay, 2);
  EXPECT_GT(line->GetData()->length, 0.0f);
  EXPECT_GT(line->GetData()->vehiclesNeeded, 0);
  EXPECT_NE(opnv.GetTramNet(), nullptr);
  if (opnv.GetTramNet()) {
    EXPECT_EQ(opnv.GetTramNet()->GetLineCount(), 1);
  }
  g.Click(second.x, second.y, kRight).Do(Wait(40));
  EXPECT_TRUE(g.IsOpen(120)) << "the lines page is back";

  ClickAt(g, Tab(kTabFleet));
  ClickAt(g, OnPage(254 + 51, 257 + 7));
  double trams = 0;
  EXPECT_EQ(opnv.GetVarData("OPNV.FP.TRAM.BUYSELL", &trams), 0);
  EXPECT_EQ(trams, 1);
  ClickAt(g, OnPage(234 + 37, 294 + 8));
  EXPECT_EQ(opnv.GetVarData("OPNV.FP.TRAM", &trams), 0);
  EXPECT_EQ(trams, 1) << "the tram is bought";
  ClickAt(g, Tab(kTabLines));
  g.Do(Wait(200));
  ClickAt(g, OnPage(14 + 114 + 49 + 4, 115 + 2 + 8));
  EXPECT_EQ(line->GetFpAssigned(), 1);
  return line;
}

// The hours go by at the top speed until a vehicle runs the line.
inline void UntilAVehicleRuns(Scenario& g, COpnvLine& line) {
  g.World().SetGameSpeed(CZorvaWorld::kGameSpeedSum - 400);
  for (int waited = 0; waited < 4000 && line.GetVehicleCount() == 0; waited += 200) g.Do(Wait(200));
}

}  // namespace zortest
