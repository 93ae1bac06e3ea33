// The player saves, loads and deletes games through the game menu: opens it
// from the bar, types a name on the save page, saves, changes the town,
// chooses the game from the load page's list, loads it back after the
// question and finds the town as saved, then deletes it. A save that the
// disk refuses is reported and leaves no file. Played through the frame
// loop on the real game.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "model/data_exchange.h"
#include "gui/screen_window.h"
#include "network/str_junction_list.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "ui/user_int.h"
#include "world/game_menu_steps.h"
#include "world/zor_sound.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;
using namespace menusteps;

constexpr const char* kFile = "SaveGame/RODEWALD.GMD";

int Junctions(Scenario& game) { return static_cast<int>(game.World().GetStreetNet()->GetNumber()); }
double Account(Scenario& game) { return game.World().GetDataExchange()->GetVarValue("F.KONTO"); }

void BuildStreet(Scenario& game, int x1, int y1, int x2, int y2) {
  CStrBuildLine line(static_cast<short>(x1), static_cast<short>(y1), static_cast<short>(x2), static_cast<short>(y2));
  ASSERT_EQ(game.World().GetStreetNet()->CreateStreet(&line, STRASSE_1), STR_BUILD_OK);
}

// The menu's third tab opens the settings page.
void OpenSettingsPage(Scenario& game) {
  game.Run({Move(400, 250), Wait(40)});
  OpenGameMenu(game);
  game.ClickIn(kGameMenu, 28, 149);
  game.Do(Wait(40));
}

// The name field of the save page on the screen.
Region NameFieldRegion() {
  CScreenWindow* page = CUserInt::topWindow->GetWindowByID(kSavePage);
  const int x = page->GetRealPosX() + 12, y = page->GetRealPosY() + 244;
  return {x, y, x + 164, y + 19};
}

// The game menu's save page, with the name field taking the keys.
void OpenSavePageNameField(Scenario& game) {
  game.Run({Move(400, 250), Wait(40)});
  OpenGameMenu(game);
  game.ClickIn(kGameMenu, kSaveTab[0], kSaveTab[1]);
  game.Do(Wait(40));
  ASSERT_TRUE(game.IsOpen(kSavePage));
  game.ClickIn(kSavePage, kNameField[0], kNameField[1]);
}

// The load page lists the free game's saves, `listed` of them; the first
// row is chosen.
void ChooseFirstFreeGame(Scenario& game, int listed) {
  game.ClickIn(kLoadPage, kFreeMode[0], kFreeMode[1]);
  game.Do(Wait(100));
  ASSERT_EQ(game.World().GetLoadSaveMaxName(), listed);
  game.ClickIn(kLoadPage, kFirstRow[0], kFirstRow[1]);
  game.Do(Wait(100));
}

TEST(ScenarioGameMenu, AGameSavedUnderATypedNameIsLoadedBackFromTheListAndDeleted) {
  Scenario game;
  game.Run({Move(400, 250), Wait(40)});
  BuildStreet(game, 60, 60, 60, 66);
  const int savedJunctions = Junctions(game);
  const double savedAccount = Account(game);

  OpenGameMenu(game);
  game.ClickIn(kGameMenu, kSaveTab[0], kSaveTab[1]);
  game.Do(Wait(40));
  ASSERT_TRUE(game.IsOpen(kSavePage));
  EXPECT_FALSE(game.IsOpen(kLoadPage));
  EXPECT_FALSE(game.IsOpen(kSettingsPage));
  // The name field takes the keys; a "/" is no part of a name.
  game.ClickIn(kSavePage, kNameField[0], kNameField[1]);
  const Region field = NameFieldRegion();
  const uint64_t empty = game.Fingerprint(field);
  Type(game, "rode/wald");
  EXPECT_STREQ(game.World().GetLoadSaveName(), "RODEWALD");
  EXPECT_NE(game.Fingerprint(field), empty) << "the typed name shows in the field";
  game.ClickIn(kSavePage, kPageButton[0], kPageButton[1]);
  game.Do(Wait(200));
  ASSERT_TRUE(std::filesystem::exists(kFile));
  EXPECT_FALSE(game.IsOpen(kYesNo)) << "a new name is saved without a question";
  game.Shot("game-menu-saved");

  // The town changes: a second street, money spent.
  BuildStreet(game, 60, 63, 66, 63);
  game.World().GetDataExchange()->VarAddValue("F.EXPENSES.BUILDINFRASTRUCTURE", 25000);
  ASSERT_GT(Junctions(game), savedJunctions);
  ASSERT_NE(Account(game), savedAccount);

  // The load page lists the free game's saves; the row chosen stays chosen
  // when the player clicks elsewhere on the page.
  game.ClickIn(kGameMenu, kLoadTab[0], kLoadTab[1]);
  game.Do(Wait(40));
  ASSERT_TRUE(game.IsOpen(kLoadPage));
  EXPECT_FALSE(game.IsOpen(kSavePage));
  game.ClickIn(kLoadPage, kFreeMode[0], kFreeMode[1]);
  game.Do(Wait(100));
  ASSERT_EQ(game.World().GetLoadSaveMaxName(), 1);
  game.ClickIn(kLoadPage, kFirstRow[0], kFirstRow[1]);
  game.Do(Wait(100));
  EXPECT_EQ(game.World().GetSelectedLoadSaveName(), 0);
  EXPECT_STREQ(game.World().GetLoadSaveName(), "RODEWALD");
  game.ClickIn(kLoadPage, 250, 200);
  game.Do(Wait(100));
  EXPECT_EQ(game.World().GetSelectedLoadSaveName(), 0) << "a click on the page keeps the choice";
  game.ClickIn(kLoadPage, kPageButton[0], kPageButton[1]);
  game.Do(Wait(100));
  if (game.IsOpen(kYesNo)) Yes(game);
  game.Do(Wait(200));
  EXPECT_FALSE(game.IsOpen(kWarning));
  EXPECT_EQ(Junctions(game), savedJunctions) << "the street built after the save is gone";
  EXPECT_EQ(Account(game), savedAccount);
  EXPECT_FALSE(game.IsOpen(kGameMenu)) << "a load closes the menu";

  // Deleted from the load page, after the question.
  OpenGameMenu(game);
  game.ClickIn(kGameMenu, kLoadTab[0], kLoadTab[1]);
  game.Do(Wait(100));
  game.ClickIn(kLoadPage, kFirstRow[0], kFirstRow[1]);
  game.Do(Wait(100));
  game.ClickIn(kLoadPage, kDelete[0], kDelete[1]);
  game.Do(Wait(100));
  EXPECT_TRUE(std::filesystem::exists(kFile)) << "nothing is deleted before the yes";
  Yes(game);
  EXPECT_FALSE(std::filesystem::exists(kFile));
  EXPECT_EQ(game.World().GetLoadSaveMaxName(), 0);
}

// The player's keyboard is a US one: the name is saved with the letters on
// its keys, the shifted minus types an underscore, and End goes back to the
// end of the name.
TEST(ScenarioGameMenu, ANameTypedOnAUsKeyboardIsSavedAsItsKeysShow) {
  Scenario game;
  OpenSavePageNameField(game);
  game.TypeOnUsKeyboard("city");
  EXPECT_STREQ(game.World().GetLoadSaveName(), "CITY");
  for (int key : {SDLK_LEFT, SDLK_LEFT, SDLK_END}) game.Key(key).Do(Wait(60));
  EXPECT_EQ(game.World().GetEingabeBuchstaben(), 4);
  game.TypeOnUsKeyboard("_1");
  EXPECT_STREQ(game.World().GetLoadSaveName(), "CITY_1");
  game.ClickIn(kSavePage, kPageButton[0], kPageButton[1]);
  game.Do(Wait(200));
  EXPECT_TRUE(std::filesystem::exists("SaveGame/CITY_1.GMD"));
  EXPECT_FALSE(std::filesystem::exists("SaveGame/CITZ_1.GMD"));
}

TEST(ScenarioGameMenu, ASaveTheDiskRefusesIsReportedAndLeavesNoFile) {
  Scenario game;
  OpenSavePageNameField(game);
  Type(game, "voll");
  {
    DiskLimit full(512);
    game.ClickIn(kSavePage, kPageButton[0], kPageButton[1]);
    game.Do(Wait(200));
  }
  EXPECT_TRUE(game.IsOpen(kWarning)) << "the player is told";
  EXPECT_FALSE(std::filesystem::exists("SaveGame/VOLL.GMD"));
  EXPECT_EQ(game.World().GetLoadSaveMaxName(), 0);
}

// A file that only looks like a saved game, chosen from the list, is
// refused with a warning, and the running game goes on as it was.
TEST(ScenarioGameMenu, ADamagedGameChosenFromTheListIsRefusedAndTheTownStays) {
  std::filesystem::create_directories("SaveGame");
  // A savegame's header of a known version, with its companion, and then
  // nothing a game is made of.
  std::string header(60, '\0');
  header.replace(0, 17, "ZORVANTA SAVEGAME");
  header.replace(30, 11, "VERSION 2.4");
  WriteFile("SaveGame/KAPUTT.GMD", header + std::string(200, '\x7f'));
  WriteFile("SaveGame/KAPUTT.GMM", "x");
  Scenario game;
  game.Run({Move(400, 250), Wait(40)});
  BuildStreet(game, 60, 60, 60, 66);
  const int junctions = Junctions(game);
  const double account = Account(game);
  OpenGameMenu(game);
  game.ClickIn(kGameMenu, kLoadTab[0], kLoadTab[1]);
  game.Do(Wait(100));
  ASSERT_NO_FATAL_FAILURE(ChooseFirstFreeGame(game, 1));
  ASSERT_STREQ(game.World().GetLoadSaveName(), "KAPUTT");
  PressLoad(game);
  EXPECT_TRUE(game.IsOpen(kWarning)) << "the player is told";
  EXPECT_EQ(Junctions(game), junctions);
  EXPECT_EQ(Account(game), account);
}

std::vector<int> OpenWindows(Scenario& game) {
  std::vector<int> ids;
  if (CZorvaList* open = game.Ui().GetRenderList())
    for (CZorvaPointer* n = open->GetHeadZorvaPointer(); n; n = n->GetNextZorvaPointer())
      ids.push_back(static_cast<CScreenWindow*>(n->GetZorvaObject())->GetID());
  return ids;
}

// The game menu as drawn, with the mouse away on the map.
uint64_t MenuOnScreen(Scenario& game) {
  game.Run({Move(700, 60), Wait(300)});
  CScreenWindow* menu = CUserInt::topWindow->GetWindowByID(kGameMenu);
  const int x = menu->GetRealPosX(), y = menu->GetRealPosY();
  return game.Fingerprint({x, y, x + 352, y + 305});
}

// The player closed the menu the welcome opened by its close box, pauses
// with the Clear key, which opens the menu on its settings page, turns to
// the load page by its icon and loads a savegame cut short: the warning
// comes over the windows exactly as they stood, the load page in front
// with its list and the name chosen, and the menu stays where it was.
TEST(ScenarioGameMenu, ARefusedLoadLeavesTheMenuOnThePageThePlayerWasOn) {
  Scenario game;
  game.Run({Move(400, 250), Wait(40)});
  BuildStreet(game, 60, 60, 60, 66);
  game.Key(SDLK_F4).Do(Wait(200));
  const std::string binary = ReadFile("SaveGame/FASTSAVE.AUD");
  ASSERT_FALSE(binary.empty());
  WriteFile("SaveGame/KAPUTT.GMD", binary.substr(0, binary.size() * 2 / 3));
  WriteFile("SaveGame/KAPUTT.GMM", ReadFile("SaveGame/FASTSAVE.AUM"));
  WriteFile("SaveGame/ZUVOR.GMD", binary);
  WriteFile("SaveGame/ZUVOR.GMM", ReadFile("SaveGame/FASTSAVE.AUM"));
  const int junctions = Junctions(game);

  game.Key(SDLK_CLEAR).Do(Wait(40));
  ASSERT_TRUE(game.IsOpen(kSettingsPage));
  ASSERT_TRUE(game.World().IsPause());
  CScreenWindow* menu = CUserInt::topWindow->GetWindowByID(kGameMenu);
  const int menuX = menu->GetRealPosX(), menuY = menu->GetRealPosY();
  game.ClickIn(kGameMenu, kLoadTab[0], kLoadTab[1]);
  game.Do(Wait(100));
  EXPECT_EQ(menu->GetRealPosX(), menuX) << "the menu stays where it opened";
  EXPECT_EQ(menu->GetRealPosY(), menuY);
  ASSERT_TRUE(game.IsOpen(kLoadPage));
  EXPECT_FALSE(game.IsOpen(kSettingsPage)) << "the pages of the menu show one at a time";
  ASSERT_NO_FATAL_FAILURE(ChooseFirstFreeGame(game, 2));
  ASSERT_STREQ(game.World().GetLoadSaveName(), "KAPUTT");
  std::vector<int> windows = OpenWindows(game);
  ASSERT_EQ(windows.front(), kLoadPage);
  const uint64_t drawn = MenuOnScreen(game);

  PressLoad(game);
  ASSERT_TRUE(game.IsOpen(kWarning)) << "the player is told";
  EXPECT_EQ(Junctions(game), junctions) << "the town stays";
  windows.insert(windows.begin(), kWarning);
  EXPECT_EQ(OpenWindows(game), windows) << "the load page in front, under the warning";
  EXPECT_EQ(game.World().GetLoadSaveMaxName(), 2);
  EXPECT_STREQ(game.World().GetLoadSaveName(0, false), "KAPUTT");
  EXPECT_STREQ(game.World().GetLoadSaveName(1, false), "ZUVOR");
  EXPECT_EQ(game.World().GetSelectedLoadSaveName(), 0);
  EXPECT_STREQ(game.World().GetLoadSaveName(), "KAPUTT");
  EXPECT_TRUE(game.World().IsPause());
  // The click that closes the warning shows the menu as it was.
  game.Click(700, 60).Do(Wait(40));
  ASSERT_FALSE(game.IsOpen(kWarning));
  EXPECT_EQ(MenuOnScreen(game), drawn);
}

// A name half typed on the save page when a damaged game is refused: the
// name stays in the field with the typing going on.
TEST(ScenarioGameMenu, ARefusedLoadLeavesTheNameBeingTypedOnTheSavePage) {
  Scenario game;
  game.Key(SDLK_F4).Do(Wait(200));
  const std::string binary = ReadFile("SaveGame/FASTSAVE.AUD");
  ASSERT_FALSE(binary.empty());
  WriteFile("SaveGame/KAPUTT.GMD", binary.substr(0, binary.size() * 2 / 3));
  WriteFile("SaveGame/KAPUTT.GMM", ReadFile("SaveGame/FASTSAVE.AUM"));
  OpenSavePageNameField(game);
  Type(game, "rode");
  ASSERT_TRUE(game.World().IsEingabeAktiv());
  std::vector<int> windows = OpenWindows(game);
  windows.insert(windows.begin(), kWarning);
  EXPECT_EQ(game.World().SerializeGameLoad("SaveGame/KAPUTT.GMD"), 1);
  game.Do(Wait(40));
  ASSERT_TRUE(game.IsOpen(kWarning));
  EXPECT_EQ(OpenWindows(game), windows);
  EXPECT_STREQ(game.World().GetLoadSaveName(), "RODE");
  EXPECT_EQ(game.World().GetEingabeBuchstaben(), 4);
  EXPECT_TRUE(game.World().IsEingabeAktiv());
}

// The settings page: the pause, the language, the sound effects' switch.
TEST(ScenarioGameMenu, TheSettingsPagePausesSwitchesTheLanguageAndTheSoundEffects) {
  Scenario game;
  OpenSettingsPage(game);
  ASSERT_TRUE(game.IsOpen(kSettingsPage));
  CSoundObj* sound = game.World().GetSoundObj();
  double effects = -1;
  ASSERT_EQ(sound->GetVarData("MW.WAVON", &effects), 0);
  game.ClickIn(kSettingsPage, 139, 159);
  game.Do(Wait(40));
  double now = -1;
  ASSERT_EQ(sound->GetVarData("MW.WAVON", &now), 0);
  EXPECT_EQ(now, effects == 0 ? 1 : 0) << "the switch toggles the sound effects";
  const bool paused = game.World().IsPause();
  game.ClickIn(kSettingsPage, 79, 65);
  game.Do(Wait(40));
  EXPECT_NE(game.World().IsPause(), paused);
  ASSERT_EQ(CZorvaWorld::m_Language, 0);
  game.ClickIn(kSettingsPage, 255, 126);
  game.Do(Wait(100));
  EXPECT_EQ(CZorvaWorld::m_Language, 1);
  game.ClickIn(kSettingsPage, 193, 126);
  game.Do(Wait(100));
  EXPECT_EQ(CZorvaWorld::m_Language, 0);
}

// The knob of the settings page's slider at `y` on the screen: the middle
// of what stands out from the page's background a few rows above the bar;
// -1 when nothing does.
int KnobX(Scenario& game, int y) {
  CScreenWindow* page = CUserInt::topWindow->GetWindowByID(kSettingsPage);
  const int x0 = page->GetRealPosX() + 165, row = page->GetRealPosY() + y - 5;
  const uint16_t background = game.Pixel(x0 - 20, row);
  for (int x = x0 - 15; x < x0 + 101 + 11; ++x)
    if (game.Pixel(x, row) != background) return x + 5;
  return -1;
}

// Drags the knob of the slider at `y` by `dx` pixels.
void Slide(Scenario& game, int y, int dx) {
  CScreenWindow* page = CUserInt::topWindow->GetWindowByID(kSettingsPage);
  const int x = KnobX(game, y), sy = page->GetRealPosY() + y + 1;
  ASSERT_NE(x, -1) << "the knob at " << y;
  game.Drag(x, sy, x + dx, sy, kLeft, 8).Do(Wait(40));
}

// The settings page's sliders set the game speed and the effects' volume
// between their ends; its resolution buttons choose the screen's width.
TEST(ScenarioGameMenu, TheSettingsPageSlidersAndResolutionChoiceSetTheGame) {
  Scenario game;
  OpenSettingsPage(game);
  ASSERT_TRUE(game.IsOpen(kSettingsPage));
  CSoundObj* sound = game.World().GetSoundObj();
  auto volume = [&] {
    double v = -1;
    EXPECT_EQ(sound->GetVarData("MW.WAVPERCENTAGE", &v), 0);
    return v;
  };
  constexpr int kSpeedY = 65, kEffectsY = 191;
  Slide(game, kSpeedY, -200);
  EXPECT_EQ(game.World().GetGameSpeedMs(), CZorvaWorld::GetGameSpeedMax()) << "the slow end";
  Slide(game, kSpeedY, 200);
  const int fast = game.World().GetGameSpeedMs();
  EXPECT_LT(fast, 7000) << "the fast end";
  EXPECT_GE(fast, CZorvaWorld::GetGameSpeedMin());
  Slide(game, kEffectsY, -200);
  const double quiet = volume();
  Slide(game, kEffectsY, 200);
  const double loud = volume();
  EXPECT_GT(loud, quiet);
  Slide(game, kEffectsY, -50);
  EXPECT_LT(volume(), loud);
  EXPECT_GT(volume(), quiet);

  // The resolution buttons: 640, then 800 pixels wide.
  int w = 0, h = 0;
  game.ClickIn(kSettingsPage, 10 + 22, 116 + 10);
  game.Do(Wait(100));
  game.World().GetWindowSizeXY(w, h);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(game.Width(), 640);
  ASSERT_TRUE(game.IsOpen(kSettingsPage)) << "the page stays on the smaller screen";
  game.ClickIn(kSettingsPage, 59 + 22, 116 + 10);
  game.Do(Wait(100));
  game.World().GetWindowSizeXY(w, h);
  EXPECT_EQ(w, 800);
  EXPECT_EQ(game.Width(), 800);
}

}  // namespace
