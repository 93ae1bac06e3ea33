// The player scrolls a list of saved games with its slider and picks one:
// a window with a savegame list, made by the world's window-building
// operations as the game's builders make theirs, opened by the interface,
// dragged on the slider, and a row clicked. Played through the frame loop
// on the real game at 800 x 600.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "gui/dialog_selection_list.h"
#include "gui/gui_host.h"
#include "gui/item_text.h"
#include "gui/screen_window.h"
#include "support/scenario.h"
#include "ui/user_int.h"
#include "world/zor_savegame.h"
#include "world/town_fixture.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;

constexpr int kWindow = 990;
constexpr int kGames = 12;
// The list's place on the screen, and its slider's.
constexpr int kListX = 300 + 10, kListY = 100 + 10;
constexpr int kSliderX = kListX + 153 + 7, kSliderTop = kListY + 16, kSliderHeight = 94;

// The window as the load and save pages lay out theirs: a background, the
// list of kind 19 with its scroll buttons and slider.
CDialogSelectionList* BuildListWindow(CZorvaWorld& w) {
  w.AddWindow(kWindow, 300, 100, 190, 150, 1, WINDOW_NORMAL, POSITION_FIXED, 0);
  w.AddItem(kWindow, -1, 0, 0, 190, 150, 4, FILL_SOLID, 0xC8D0E8);
  w.AddDialog(kWindow, 1, 10, 10, 170, 126, 19, "games");
  w.AddItem(kWindow, 1, 153, 0, 15, 16, 13, 25935, -1);
  w.AddAction(kWindow, 1, -2, 16, WHEN_LEFT_DOWN, INOUT_INSIDE, 1, -1, -1, "up", -1);
  w.AddItem(kWindow, 1, 153, 16, 15, kSliderHeight, 35, -1, -1);
  w.AddAction(kWindow, 1, -2, 119, WHEN_LEFT_HELD, INOUT_INSIDE, 1, -1, -1, "slider", -1);
  w.AddItem(kWindow, 1, 153, 110, 15, 16, 13, 25936, -1);
  w.AddAction(kWindow, 1, -2, 17, WHEN_LEFT_DOWN, INOUT_INSIDE, 1, -1, -1, "down", -1);
  CScreenWindow* window = CUserInt::topWindow->GetWindowByID(kWindow);
  return window ? dynamic_cast<CDialogSelectionList*>(window->GetDialogs()->GetDialogByID(1)) : nullptr;
}

// The name the list's top row shows.
std::string TopRow(CDialogSelectionList* list) {
  std::string top;
  int topY = 1 << 20;
  list->GetItems()->ForEach([&](CItem* i) {
    if (i->GetClassCode() == ITEM_CLASS_TEXT && i->GetYPos() < topY) {
      topY = i->GetYPos();
      top = static_cast<CItemText*>(i)->GetText();
    }
  });
  return top;
}

TEST(ScenarioSelectionList, TheSliderScrollsTheSavedGamesAndAClickedRowSelectsItsGame) {
  Scenario game;
  std::filesystem::create_directories("SaveGame");
  const std::string extension = ZorSaveExtension(1);
  // One saved game and the others as links to its files.
  game.World().SetLoadSaveName("SPIEL01");
  ASSERT_EQ(game.World().SaveGame(), 0);
  const std::string saved = "SaveGame/SPIEL01" + extension;
  for (int i = 2; i <= kGames; ++i) {
    char name[64];
    std::snprintf(name, sizeof name, "SaveGame/SPIEL%02d%s", i, extension.c_str());
    std::filesystem::create_hard_link(saved, name);
    std::filesystem::create_hard_link(ZorCompanionName(saved), ZorCompanionName(name));
  }
  ASSERT_EQ(game.World().MakeLoadSaveGamesFromDirectory(nullptr, false), kGames);

  CDialogSelectionList* list = BuildListWindow(game.World());
  ASSERT_NE(list, nullptr) << "the world made the dialog a selection list";
  game.Ui().ActivateWindow(kWindow);
  CUserInt::topWindow->SetZorvaList(kWindow, -2, nullptr, 1);
  game.Run({Move(kListX + 40, kListY + 40), Wait(100)});
  ASSERT_EQ(game.Ui().IsWindowOpen(kWindow), 0);
  EXPECT_EQ(TopRow(list), "SPIEL01");
  EXPECT_EQ(list->GetVisibleRows(), 7);

  // The knob covers 7 of 12 rows; dragged down by 20 px it shows the
  // games from the row under the pointer on.
  const int knob = kSliderHeight * 7 / kGames;
  game.Drag(kSliderX, kSliderTop + knob / 2, kSliderX, kSliderTop + knob / 2 + 20).Do(Wait(100));
  const int first = static_cast<int>((20.0) / (kSliderHeight - knob) * kGames);
  EXPECT_EQ(list->GetFirstItem(), first);
  char expected[16];
  std::snprintf(expected, sizeof expected, "SPIEL%02d", first + 1);
  EXPECT_EQ(TopRow(list), expected);
  // The knob is drawn where the first row stands.
  game.Run({Move(kListX + 40, kListY + 150), Wait(40)});
  const int knobTop = kSliderTop + (kSliderHeight - knob) * first / (kGames - 1);
  EXPECT_EQ(game.Pixel(kSliderX, knobTop + knob / 2), Scenario::Rgb(107, 125, 183));
  EXPECT_NE(game.Pixel(kSliderX, kSliderTop + 2), Scenario::Rgb(107, 125, 183)) << "the knob left the top";
  game.Shot("selection-list-scrolled");

  // A click on the third row selects that game for loading or saving.
  game.Click(kListX + 50, kListY + 2 * 18 + 9).Do(Wait(100));
  EXPECT_EQ(game.World().GetSelectedLoadSaveName(), first + 2);
  std::snprintf(expected, sizeof expected, "SPIEL%02d", first + 3);
  EXPECT_STREQ(game.World().GetLoadSaveName(), expected);
  // The bottom of the slider shows the last game on top.
  game.Click(kSliderX, kSliderTop + kSliderHeight - 2).Do(Wait(100));
  EXPECT_EQ(list->GetFirstItem(), kGames - 1);
  EXPECT_EQ(TopRow(list), "SPIEL12");
}

using towntest::Town;

// A row's mark (kind 149) lights the building on its cell for the map's
// highlight; a cell without a building leaves the highlight as it was.
TEST_F(Town, AListRowsMarkLightsTheBuildingOnItsCell) {
  const int resId = OneCell(OBJ_RESIDENTIAL);
  ASSERT_GT(resId, 0);
  ASSERT_NE(Place(OBJ_RESIDENTIAL, resId, 61, 61), nullptr);
  const auto& sel = game.Ui().selObj;
  CGuiHost::Get()->MarkBuildingAt(64, 61);
  EXPECT_EQ(sel.listX, -1);
  CGuiHost::Get()->MarkBuildingAt(61, 61);
  EXPECT_EQ(std::tuple(sel.listX, sel.listY, sel.listW, sel.listH), std::tuple(61, 61, 1, 1));
  EXPECT_EQ(sel.listStart, game.Now());
  EXPECT_EQ(sel.listBlink, game.Now());
}

}  // namespace
