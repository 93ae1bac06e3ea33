#pragma once
// The player's street drags, played with the mouse through the frame loop:
// a tool chosen from the bar's network menu, where the map's cells lie on
// the screen, a drag from one cell to another and the warning it leaves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>

#include "gui/screen_window.h"
#include "iso/iso_welt.h"
#include "model/message.h"
#include "support/scenario.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

namespace dragsteps {

using zortest::Move;
using zortest::Press;
using zortest::Release;
using zortest::Scenario;
using zortest::Wait;

// The bar's network button and the menu it opens, with the rows of its
// tool buttons by street type.
constexpr int kNetworkButton[2] = {495 + 18, 505 + 18};
constexpr int kNetworkMenu = 20;
inline int MenuRow(int type) { return type == 1 ? 17 : type == 2 ? 54 : type == 4 ? 91 : 165; }

// Map cell -> the screen point in the middle of those that show it.
using ScreenCells = std::map<std::pair<int, int>, std::pair<int, int>>;

// Where each cell of the current view lies on the screen, away from the
// bar; cells shown by too few points to be pressed are left out.
inline ScreenCells MapScreen(Scenario& game) {
  std::map<std::pair<int, int>, std::pair<long, long>> sum;
  std::map<std::pair<int, int>, int> count;
  for (int sy = 60; sy < 420; sy += 2)
    for (int sx = 20; sx < 780; sx += 2) {
      int x = 0, y = 0;
      if (game.Map().MouseKoorToIsoKoor(sx, sy, &x, &y) != 0) continue;
      sum[{x, y}].first += sx;
      sum[{x, y}].second += sy;
      ++count[{x, y}];
    }
  ScreenCells screen;
  for (auto& [cell, s] : sum)
    if (const int n = count[cell]; n >= 20) screen[cell] = {static_cast<int>(s.first / n), static_cast<int>(s.second / n)};
  return screen;
}

inline std::pair<int, int> At(const ScreenCells& screen, int x, int y) {
  auto it = screen.find({x, y});
  EXPECT_NE(it, screen.end()) << x << "/" << y << " is not on the screen";
  return it == screen.end() ? std::pair<int, int>{0, 0} : it->second;
}

// The player opens the bar's network menu and presses the tool's button.
inline void ChooseFromBar(Scenario& game, int type) {
  game.Run({Move(600, 590), Wait(40)});
  game.Click(kNetworkButton[0], kNetworkButton[1]).Do(Wait(40));
  ASSERT_EQ(game.Ui().IsWindowOpen(kNetworkMenu), 0) << "the menu opens above its button";
  CScreenWindow* menu = CUserInt::topWindow->GetWindowByID(kNetworkMenu);
  game.Click(menu->GetRealPosX() + 5 + 18, menu->GetRealPosY() + MenuRow(type) + 18).Do(Wait(40));
  ASSERT_EQ(CUserInt::selObj.tool, 2);
  ASSERT_EQ(CUserInt::selObj.subtool, type);
  // Away from the menu, which closes when the pointer leaves it.
  game.Run({Move(300, 200), Wait(40)});
}

// Presses on one cell, moves over every cell to the other and lets go.
inline void Drag(Scenario& game, const ScreenCells& screen, int x1, int y1, int x2, int y2,
                 const char* shot = nullptr) {
  std::pair<int, int> p = At(screen, x1, y1);
  game.Run({Move(p.first, p.second), Press(p.first, p.second)});
  const int n = std::max(std::abs(x2 - x1), std::abs(y2 - y1));
  for (int k = 1; k <= n; ++k) {
    p = At(screen, x1 + (x2 - x1) * k / n, y1 + (y2 - y1) * k / n);
    game.Do(Move(p.first, p.second));
  }
  if (shot) game.Shot(shot);
  game.Run({Release(p.first, p.second), zortest::Frames(2)});
}

// The warning the window shows, "" while it is closed; a click closes it.
inline std::string Warning(Scenario& game) {
  if (game.Ui().IsWindowOpen(CUserInt::kWarningWindow) != 0) return "";
  const char* text = game.World().GetMessage()->GetAchtungMessage();
  return text ? text : "";
}
inline void CloseWarning(Scenario& game) {
  if (game.Ui().IsWindowOpen(CUserInt::kWarningWindow) == 0) game.ClickIn(CUserInt::kWarningWindow, 150, 40);
}

}  // namespace dragsteps
