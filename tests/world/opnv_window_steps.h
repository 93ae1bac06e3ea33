#pragma once
// The player's way to the public-transport windows with the mouse: the
// bar's buttons (shown while the mouse is on the bar), the group's page
// buttons, places on its pages and buttons of the menus that open over
// the bar.
#include <gtest/gtest.h>

#include "gui/screen_window.h"
#include "support/scenario.h"
#include "ui/user_int.h"

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

}  // namespace zortest
