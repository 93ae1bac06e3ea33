#pragma once
// The player's way to the public-transport windows with the mouse: the
// bar's buttons (shown while the mouse is on the bar), the group's page
// buttons, places on its pages and buttons of the menus that open over
// the bar.
#include <gtest/gtest.h>

#include <SDL.h>

#include <initializer_list>

#include "gui/screen_window.h"
#include "iso/iso_welt.h"
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

// The middle of the cell on the screen, where a player aims at it.
inline Point MiddleOf(Scenario& game, int cx, int cy) {
  long sumX = 0, sumY = 0, n = 0;
  for (int sy = 0; sy < 500; ++sy)
    for (int sx = 0; sx < 800; ++sx) {
      int x = -1, y = -1;
      if (game.Map().MouseKoorToIsoKoor(sx, sy, &x, &y) == 0 && x == cx && y == cy) {
        sumX += sx;
        sumY += sy;
        ++n;
      }
    }
  EXPECT_GT(n, 0) << cx << "/" << cy;
  if (n == 0) return {};
  return {static_cast<int>(sumX / n), static_cast<int>(sumY / n)};
}

// Standard buses entered on the fleet page of the open group and booked.
inline void BuyBusesOnTheFleetPage(Scenario& g, int buses) {
  ClickAt(g, Tab(kTabFleet));
  for (int i = 0; i < buses; ++i) ClickAt(g, OnPage(254 + 51, 52 + 7));
  ClickAt(g, OnPage(234 + 37, 204 + 8));
}

// The same from the bar; Escape puts the group away.
inline void BuyBusesWithTheMouse(Scenario& g, int buses) {
  BarButton(g, kOpnvButton);
  ClickAt(g, kOpnvMenuFirst);
  ASSERT_TRUE(g.IsOpen(120));
  BuyBusesOnTheFleetPage(g, buses);
  g.Key(SDLK_ESCAPE).Do(Wait(40));
}

// The sign stop chosen from the bar's stop menu.
inline void ChooseSignStop(Scenario& g) {
  BarButton(g, kNetButton);
  ClickAt(g, ButtonOf(20, 5, 128));
  ASSERT_TRUE(g.IsOpen(21));
  ClickAt(g, ButtonOf(21, 5, 16));
  ASSERT_EQ(CUserInt::selObj.tool, 5);
}

// The lines page of the public-transport group, from the bar.
inline void OpenLinesPage(Scenario& g) {
  BarButton(g, kOpnvButton);
  ClickAt(g, kOpnvMenuFirst);
  ClickAt(g, Tab(kTabLines));
  ASSERT_TRUE(g.IsOpen(129));
  g.Do(Wait(200));
}

// The lines page's row of the first line, its plus: one vehicle a click.
inline Point FirstRowPlus() { return OnPage(14 + 114 + 49 + 4, 115 + 2 + 8); }

// A line of the net the new-line button makes (the bus net, or the tram
// net once tracks are laid), made on the open lines page: its new-line
// button, the stops clicked on the map at the points given, in their
// order, and a right click that ends the editing and brings the page back.
// The line, or null.
inline COpnvLine* LineByClicks(Scenario& g, NetActiveType type, std::initializer_list<Point> stops) {
  ClickAt(g, OnPage(243 + 27, 48 + 8));
  EXPECT_EQ(CUserInt::selObj.tool, 20);
  EXPECT_FALSE(g.IsOpen(120)) << "the map is free for the clicks";
  COpnvLine* line = nullptr;
  int clicked = 0;
  for (const Point p : stops) {
    ClickAt(g, p);
    if (++clicked == 1) {
      line = CUserInt::selObj.editedLine;
      if (!line) {
        ADD_FAILURE() << "a click at the first stop starts the line";
        return nullptr;
      }
      EXPECT_EQ(line->GetNetType(), type);
      EXPECT_EQ(CUserInt::selObj.tool, 21);
    } else if (clicked == 2) {
      EXPECT_EQ(CUserInt::selObj.tool, 17);
      EXPECT_TRUE(g.IsOpen(227)) << "the line's window opens with the second stop";
    }
  }
  if (!line) return nullptr;
  const Point last = *(stops.end() - 1);
  g.Click(last.x, last.y, kRight).Do(Wait(40));
  EXPECT_EQ(CUserInt::selObj.tool, 1);
  EXPECT_TRUE(g.IsOpen(129)) << "the lines page is back";
  g.Do(Wait(200));
  return line;
}

// A tram line made with the mouse: the lines page's new-line button, the
// two tram stops clicked on the map, a tram entered and bought on the fleet
// page and put on the line from its row. The line, or null.
inline COpnvLine* TramLineWithTheMouse(Scenario& g, Point first, Point second) {
  COpnv& opnv = *g.World().GetOpnv();
  OpenLinesPage(g);
  COpnvLine* line = LineByClicks(g, NET_TRAM, {first, second});
  if (!line) return nullptr;
  EXPECT_EQ(line->GetData()->stopsOneWay, 2);
  EXPECT_GT(line->GetData()->length, 0.0f);
  EXPECT_GT(line->GetData()->vehiclesNeeded, 0);
  EXPECT_NE(opnv.GetTramNet(), nullptr);
  if (opnv.GetTramNet()) {
    EXPECT_EQ(opnv.GetTramNet()->GetLineCount(), 1);
  }

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
  ClickAt(g, FirstRowPlus());
  EXPECT_EQ(line->GetFpAssigned(), 1);
  return line;
}

// The hours go by at the top speed until a vehicle runs the line.
inline void UntilAVehicleRuns(Scenario& g, COpnvLine& line) {
  g.World().SetGameSpeed(CZorvaWorld::kGameSpeedSum - 400);
  for (int waited = 0; waited < 4000 && line.GetVehicleCount() == 0; waited += 200) g.Do(Wait(200));
}

}  // namespace zortest
