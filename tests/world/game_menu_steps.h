#pragma once
// The player's steps through the game menu (window 160) and its load and
// save pages, played through the frame loop: places inside the windows,
// opening the menu from the bar, typing, answering the question and
// pressing the load button.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/scenario.h"
#include "support/test_support.h"
#include "world/zor_world.h"

namespace menusteps {

using zortest::KeyDown;
using zortest::KeyUp;
using zortest::Move;
using zortest::Scenario;
using zortest::Wait;

constexpr int kGameMenu = 160, kLoadPage = 161, kSavePage = 162, kSettingsPage = 163;
constexpr int kYesNo = 247, kWarning = 220;
// Places inside the windows, relative to each window.
constexpr int kSaveTab[2] = {28, 63}, kLoadTab[2] = {28, 106};
constexpr int kNameField[2] = {90, 253};
constexpr int kPageButton[2] = {232, 253};  // save on 162, load on 161
constexpr int kFreeMode[2] = {232, 64};
constexpr int kScenarioMode[2] = {232, 108};
constexpr int kDelete[2] = {232, 169};
constexpr int kFirstRow[2] = {12 + 60, 55 + 9};  // the load page's list, first row
constexpr int kSaveFirstRow[2] = {12 + 60, 36 + 9};  // the save page's list, first row
constexpr int kRowHeight = 18;
constexpr int kYes[2] = {44, 91};

// The bar's options button opens the game menu.
inline void OpenGameMenu(Scenario& game) {
  game.Run({Move(600, 590), Wait(40)});
  game.Click(400, 586).Do(Wait(40));
  ASSERT_TRUE(game.IsOpen(kGameMenu));
}

inline void Type(Scenario& game, const std::string& keys) {
  for (char c : keys) game.Run({KeyDown(c), KeyUp(c), Wait(60)});
}

inline void Yes(Scenario& game) {
  ASSERT_TRUE(game.IsOpen(kYesNo)) << "the question is asked";
  game.ClickIn(kYesNo, kYes[0], kYes[1]);
  game.Do(Wait(200));
}

// The load page's button, with a yes to the question that may come first.
inline void PressLoad(Scenario& game) {
  game.ClickIn(kLoadPage, kPageButton[0], kPageButton[1]);
  game.Do(Wait(100));
  if (game.IsOpen(kYesNo)) Yes(game);
  game.Do(Wait(200));
}

// Copies the savegames the build supplies into the savegame folder, as the
// game's layout does; false when this build made none. The build's folder
// may be another one of the same layout (ZOR_BINARY_DIR), such as one with
// towns grown from other seeds (scripts/scenario-seeds.py).
inline bool LayOutSuppliedGames() {
  namespace fs = std::filesystem;
  const fs::path supplied = zortest::BinaryDir() + "/gamedata/SaveGame";
  if (!fs::exists(supplied / "GND.TXT")) return false;
  fs::create_directories("SaveGame");
  for (const auto& entry : fs::directory_iterator(supplied))
    fs::copy_file(entry.path(), fs::path("SaveGame") / entry.path().filename(), fs::copy_options::overwrite_existing);
  return true;
}

// The game menu's load page in the scenario mode, which lists that many
// scenarios.
inline void OpenScenarioPage(Scenario& game, int listed) {
  game.Run({Move(400, 250), Wait(40)});
  ASSERT_NO_FATAL_FAILURE(OpenGameMenu(game));
  game.ClickIn(kGameMenu, kLoadTab[0], kLoadTab[1]);
  game.Do(Wait(40));
  ASSERT_TRUE(game.IsOpen(kLoadPage));
  game.ClickIn(kLoadPage, kScenarioMode[0], kScenarioMode[1]);
  game.Do(Wait(100));
  ASSERT_EQ(game.World().GetLoadSaveMaxName(), listed) << "the page lists the supplied scenarios";
}

// Chooses the scenario in `row` of the scenario page, which is `name`,
// and loads it.
inline void LoadScenario(Scenario& game, int listed, int row, const char* name) {
  ASSERT_NO_FATAL_FAILURE(OpenScenarioPage(game, listed));
  game.ClickIn(kLoadPage, kFirstRow[0], kFirstRow[1] + row * kRowHeight);
  game.Do(Wait(100));
  ASSERT_STREQ(game.World().GetLoadSaveName(), name);
  ASSERT_NO_FATAL_FAILURE(PressLoad(game));
}

}  // namespace menusteps
