// The warning and the yes/no question speak to the player and hold the
// mouse while they show: a savegame the game refuses is named in the
// warning's text, in either language; a click elsewhere does nothing while
// a question or a warning is open, and neither can be answered by a click
// that was meant for the other. Played through the frame loop on the real
// game at 800 x 600.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "gui/screen_window.h"
#include "model/gott_modus.h"
#include "model/message.h"
#include "network/str_junction_list.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "ui/user_int.h"
#include "world/zor_frame_loop.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;

constexpr int kGameMenu = 160, kLoadPage = 161;
constexpr int kWarning = 220, kYesNo = 247;
// Places inside the windows, relative to each window.
constexpr int kLoadTab[2] = {28, 106};
constexpr int kPageButton[2] = {232, 253};  // save on 162, load on 161
constexpr int kFreeMode[2] = {232, 64};
constexpr int kDelete[2] = {232, 169};
constexpr int kFirstRow[2] = {12 + 60, 55 + 9};
constexpr int kMenuClose[2] = {329, 9};
constexpr int kYes[2] = {44, 91}, kNo[2] = {243, 91};
// The warning's text item, relative to the warning window.
constexpr Region kWarningText = {43, 18, 43 + 258, 18 + 58};
// The warning's close box, which no text may cover.
constexpr Region kWarningClose = {285, 3, 285 + 14, 3 + 13};
constexpr Region kQuestionText = {19, 14, 19 + 250, 14 + 58};

constexpr const char* kEnglish = "LANGUAGE=1\n";

int Junctions(Scenario& game) { return static_cast<int>(game.World().GetStreetNet()->GetNumber()); }

void BuildStreet(Scenario& game, int x1, int y1, int x2, int y2) {
  CStrBuildLine line(static_cast<short>(x1), static_cast<short>(y1), static_cast<short>(x2), static_cast<short>(y2));
  ASSERT_EQ(game.World().GetStreetNet()->CreateStreet(&line, STRASSE_1), STR_BUILD_OK);
}

std::string WarningText(Scenario& game) {
  const char* text = game.World().GetMessage()->GetAchtungMessage();
  return text ? text : "";
}

std::string QuestionText(Scenario& game) {
  const char* text = game.World().GetMessage()->GetAchtungJaNeinText();
  return text ? text : "";
}

// A region of window `id` on the screen.
Region OnScreen(int id, const Region& r) {
  CScreenWindow* w = CUserInt::topWindow->GetWindowByID(id);
  const int x = w->GetRealPosX(), y = w->GetRealPosY();
  return {x + r.x0, y + r.y0, x + r.x1, y + r.y1};
}

// Whether the text item of window `id` shows text: its pixels differ from
// the same window drawn with an empty text, which the frame after the
// check draws; the text is put back afterwards.
bool ShowsText(Scenario& game, int id, const Region& item, bool question) {
  CMessage* message = game.World().GetMessage();
  const std::string text = question ? QuestionText(game) : WarningText(game);
  const Region r = OnScreen(id, item);
  game.Do(Frames(1));
  const uint64_t shown = game.Fingerprint(r);
  if (question)
    message->SetAchtungJaNeinText("");
  else
    message->SetAchtungMessage("");
  game.Do(Frames(1));
  const uint64_t blank = game.Fingerprint(r);
  if (question)
    message->SetAchtungJaNeinText(text.c_str());
  else
    message->SetAchtungMessage(text.c_str());
  game.Do(Frames(1));
  return shown != blank;
}

// The bar's options button opens the game menu; its load tab the load page,
// listing the free game's saves.
void OpenLoadPage(Scenario& game) {
  game.Run({Move(600, 590), Wait(40)});
  game.Click(400, 586).Do(Wait(40));
  ASSERT_TRUE(game.IsOpen(kGameMenu));
  game.ClickIn(kGameMenu, kLoadTab[0], kLoadTab[1]);
  game.Do(Wait(100));
  ASSERT_TRUE(game.IsOpen(kLoadPage));
  game.ClickIn(kLoadPage, kFreeMode[0], kFreeMode[1]);
  game.Do(Wait(100));
}

// Chooses the only game the load page lists and presses load, answering
// the question that may come first.
void LoadTheListedGame(Scenario& game) {
  OpenLoadPage(game);
  ASSERT_EQ(game.World().GetLoadSaveMaxName(), 1);
  game.ClickIn(kLoadPage, kFirstRow[0], kFirstRow[1]);
  game.Do(Wait(100));
  game.ClickIn(kLoadPage, kPageButton[0], kPageButton[1]);
  game.Do(Wait(100));
  if (game.IsOpen(kYesNo)) {
    game.ClickIn(kYesNo, kYes[0], kYes[1]);
    game.Do(Wait(100));
  }
  game.Do(Wait(200));
}

// Header tags of 30 bytes: the first two of a savegame.
std::string Header(const char* first, const char* second) {
  std::string header(60, '\0');
  header.replace(0, std::strlen(first), first);
  header.replace(30, std::strlen(second), second);
  return header;
}

// A file damaged behind a good header, chosen from the load page's list, is
// refused with its warning, in words, in either language; the town stays.
TEST(ScenarioWarnings, ADamagedGameChosenFromTheListIsNamedInTheWarningsTextInBothLanguages) {
  for (const bool english : {false, true}) {
    SCOPED_TRACE(english ? "English" : "German");
    std::filesystem::create_directories("SaveGame");
    WriteFile("SaveGame/KAPUTT.GMD", Header("ZORVANTA SAVEGAME", "VERSION 2.4") + std::string(200, '\x7f'));
    WriteFile("SaveGame/KAPUTT.GMM", "x");
    Scenario game(english ? kEnglish : "");
    game.Run({Move(400, 250), Wait(40)});
    BuildStreet(game, 60, 60, 60, 66);
    const int junctions = Junctions(game);
    // The game that runs is a scenario; the page lists the other kind.
    ASSERT_EQ(game.World().GetGottModus()->SetGameModus(GAME_SCENARIO), 0);
    LoadTheListedGame(game);
    ASSERT_TRUE(game.IsOpen(kWarning)) << "the player is told";
    EXPECT_EQ(game.World().GetGottModus()->m_ListingMode, GAME_NORMAL) << "the list's header names what it lists";
    EXPECT_EQ(game.World().GetLoadSaveMaxName(), 1);
    EXPECT_STREQ(game.World().GetLoadSaveName(0, false), "KAPUTT");
    EXPECT_EQ(WarningText(game), english ? "Not a Zorvanta game!!!" : "Spielstand ist kein Zorvanta-Spielstand!!!");
    EXPECT_TRUE(ShowsText(game, kWarning, kWarningText, false)) << "the words show in the window";
    EXPECT_EQ(Junctions(game), junctions) << "the town stays";
    game.Shot(std::string("warning-damaged-") + (english ? "en" : "de"));
  }
}

// The load page lists only files with a savegame's header; the load key
// reads the fast save whatever it holds. A file of an unknown version and
// one that is no savegame are refused in their own words, not as a game
// that is missing.
TEST(ScenarioWarnings, AnAutomaticGameOfNoKnownFormIsNamedInTheWarningsText) {
  const struct {
    std::string bytes;
    const char* text;
  } refusals[] = {
      {Header("ZORVANTA SAVEGAME", "VERSION 9.9"), "Game is too old and may no longer load correctly!!!"},
      {Header("ZORVANTA SPIELSTAND", "VERSION 2.4"), "Not a Zorvanta game!!!"},
  };
  for (const auto& refusal : refusals) {
    SCOPED_TRACE(refusal.text);
    std::filesystem::create_directories("SaveGame");
    WriteFile("SaveGame/FASTSAVE.AUD", refusal.bytes + std::string(200, '\0'));
    WriteFile("SaveGame/FASTSAVE.AUM", "x");
    Scenario game(kEnglish);
    game.Run({Move(400, 250), Wait(40)});
    game.Key(SDLK_F5).Do(Wait(100));
    ASSERT_TRUE(game.IsOpen(kYesNo));
    game.ClickIn(kYesNo, kYes[0], kYes[1]);
    game.Do(Wait(1500));
    ASSERT_TRUE(game.IsOpen(kWarning));
    EXPECT_EQ(WarningText(game), refusal.text);
    EXPECT_TRUE(ShowsText(game, kWarning, kWarningText, false));
  }
}

// A savegame in the list that GND.TXT protects: deleting it is refused with
// its warning's words.
TEST(ScenarioWarnings, AProtectedGameIsNamedInTheWarningsTextWhenItIsDeleted) {
  std::filesystem::create_directories("SaveGame");
  WriteFile("SaveGame/GND.TXT", "TOUR.GMD\n");
  WriteFile("SaveGame/TOUR.GMD", Header("ZORVANTA SAVEGAME", "VERSION 2.4"));
  WriteFile("SaveGame/TOUR.GMM", "x");
  Scenario game(kEnglish);
  game.Run({Move(400, 250), Wait(40)});
  OpenLoadPage(game);
  game.ClickIn(kLoadPage, kFirstRow[0], kFirstRow[1]);
  game.Do(Wait(100));
  ASSERT_STREQ(game.World().GetLoadSaveName(), "TOUR");
  game.ClickIn(kLoadPage, kDelete[0], kDelete[1]);
  game.Do(Wait(100));
  ASSERT_TRUE(game.IsOpen(kYesNo));
  game.ClickIn(kYesNo, kYes[0], kYes[1]);
  game.Do(Wait(200));
  ASSERT_TRUE(game.IsOpen(kWarning));
  EXPECT_EQ(WarningText(game), "Original game cannot be deleted!");
  EXPECT_TRUE(ShowsText(game, kWarning, kWarningText, false));
  EXPECT_TRUE(std::filesystem::exists("SaveGame/TOUR.GMD"));
}

// Every warning the game raises, and every question it asks, shows its
// words in the window, in German and in English.
TEST(ScenarioWarnings, EveryWarningAndQuestionShowsItsWordsInBothLanguages) {
  // The warning window shows every text of the table, which holds every
  // warning raised; the questions are those the game asks.
  const int questions[] = {69, 70, 71, 79, 80, 81, 82, 83};
  Scenario game;
  game.Run({Move(400, 250), Wait(40)});
  for (const int language : {0, 1}) {
    CZorvaWorld::m_Language = language;
    for (int id = 0; id < CUserInt::kAchtungCount; ++id) {
      SCOPED_TRACE("id " + std::to_string(id) + " language " + std::to_string(language));
      game.Ui().SetAchtungWindow(id);
      ASSERT_TRUE(game.IsOpen(kWarning));
      EXPECT_FALSE(WarningText(game).empty());
      EXPECT_TRUE(ShowsText(game, kWarning, kWarningText, false));
      EXPECT_FALSE(ShowsText(game, kWarning, kWarningClose, false)) << "the words keep clear of the close box";
      game.Ui().DeActivateWindow(kWarning, 0);
      CUserInt::selObj.warningShown = 0;
    }
    for (const int id : questions) {
      SCOPED_TRACE("question " + std::to_string(id) + " language " + std::to_string(language));
      game.Ui().SetAchtungWindowJaNein(id, -1);
      ASSERT_TRUE(game.IsOpen(kYesNo));
      EXPECT_FALSE(QuestionText(game).empty());
      EXPECT_TRUE(ShowsText(game, kYesNo, kQuestionText, true));
      game.Ui().DeActivateWindow(kYesNo, 0);
    }
  }
  CZorvaWorld::m_Language = 0;
}

// ---- questions and warnings hold the mouse ----

constexpr int kMapX = 400, kMapY = 250;
// The networks button on the bar and the menu it opens.
constexpr int kNetworks[2] = {513, 523};
constexpr int kNetworksMenu = 20;

// A saved game in the load page's list: the fast save under a name of the
// free game.
void SaveListedGame(Scenario& game) {
  game.Key(SDLK_F4).Do(Wait(200));
  ASSERT_TRUE(std::filesystem::exists("SaveGame/FASTSAVE.AUD"));
  std::filesystem::copy_file("SaveGame/FASTSAVE.AUD", "SaveGame/RODEWALD.GMD");
  std::filesystem::copy_file("SaveGame/FASTSAVE.AUM", "SaveGame/RODEWALD.GMM");
}

TEST(ScenarioWarnings, WhileAQuestionShowsClicksOnTheLoadPageTheMapAndTheBarDoNothing) {
  Scenario game;
  game.Run({Move(kMapX, kMapY), Wait(40)});
  BuildStreet(game, 60, 60, 60, 66);
  SaveListedGame(game);
  BuildStreet(game, 60, 63, 66, 63);
  const int built = Junctions(game);
  // The game is chosen on the load page; the load key asks its question.
  OpenLoadPage(game);
  game.ClickIn(kLoadPage, kFirstRow[0], kFirstRow[1]);
  game.Do(Wait(100));
  ASSERT_STREQ(game.World().GetLoadSaveName(), "RODEWALD");
  game.Key(SDLK_F5).Do(Wait(40));
  ASSERT_TRUE(game.Ui().IsAchtungWindowJaNein(CUserInt::kQuestionReplaceGame));
  game.Shot("question-over-load-page");
  // The load button, beside the question, neither loads nor asks.
  game.ClickIn(kLoadPage, kPageButton[0], kPageButton[1]);
  game.Do(Wait(500));
  EXPECT_EQ(Junctions(game), built) << "nothing is loaded";
  EXPECT_TRUE(game.IsOpen(kGameMenu));
  EXPECT_TRUE(game.Ui().IsAchtungWindowJaNein(CUserInt::kQuestionReplaceGame));
  game.ClickIn(kLoadPage, kDelete[0], kDelete[1]);
  game.Do(Wait(100));
  EXPECT_TRUE(game.Ui().IsAchtungWindowJaNein(CUserInt::kQuestionReplaceGame)) << "nor is deleting asked";
  // No lets the page work again.
  game.ClickIn(kYesNo, kNo[0], kNo[1]);
  game.Do(Wait(40));
  ASSERT_FALSE(game.IsOpen(kYesNo));
  game.ClickIn(kLoadPage, kPageButton[0], kPageButton[1]);
  game.Do(Wait(100));
  if (game.IsOpen(kYesNo)) game.ClickIn(kYesNo, kYes[0], kYes[1]);
  game.Do(Wait(300));
  EXPECT_LT(Junctions(game), built) << "the game saved is back";
  const int loaded = Junctions(game);

  // The quit question over the game menu (asked as the menu's quit button
  // asks): the menu's close box, its key, the bar's buttons and the map do
  // nothing.
  game.Key(SDLK_F1).Do(Wait(100));
  ASSERT_TRUE(game.IsOpen(kGameMenu));
  game.Ui().SetAchtungWindowJaNein(CUserInt::kQuestionQuit, CUserInt::kActionQuit);
  game.Do(Wait(40));
  ASSERT_TRUE(game.Ui().IsAchtungWindowJaNein(CUserInt::kQuestionQuit));
  game.Key(SDLK_F1).Do(Wait(100));
  ASSERT_TRUE(game.IsOpen(kGameMenu)) << "the menu's key is held by the question";
  ASSERT_TRUE(game.Ui().IsAchtungWindowJaNein(CUserInt::kQuestionQuit)) << "the question stays in front";
  game.ClickIn(kGameMenu, kMenuClose[0], kMenuClose[1]);
  game.Do(Wait(40));
  EXPECT_TRUE(game.IsOpen(kGameMenu));
  game.Run({Move(600, 590), Wait(40)});
  game.Click(kNetworks[0], kNetworks[1]).Do(Wait(40));
  EXPECT_FALSE(game.IsOpen(kNetworksMenu));
  game.ChooseTool(2, 1, -1);
  game.Drag(60, 420, 180, 480, kLeft, 8).Do(Wait(40));
  EXPECT_EQ(Junctions(game), loaded) << "no street is built";
  EXPECT_TRUE(game.Ui().IsAchtungWindowJaNein(CUserInt::kQuestionQuit));
  EXPECT_EQ(Leave_Game, 0);
}

// The fast save fails, the automatic save that yes makes works.
class FastSaveFails : public CZorvaWorld {
 public:
  int AutoSaveGame(bool fast) override {
    if (fast) return 1;
    ++saves;
    return 0;
  }
  int saves = 0;
};

// The warning of a failed save comes over the quit question and hides its
// words; the question's yes button stands below the warning.
TEST(ScenarioWarnings, AWarningOverTheQuitQuestionTakesTheClickAndTheQuestionIsAnsweredAfter) {
  FastSaveFails* world = nullptr;
  Scenario game([&] { return world = new FastSaveFails; }, kEnglish);
  game.Run({Move(kMapX, kMapY), Wait(40)});
  game.Key(SDLK_ESCAPE).Do(Wait(40));
  ASSERT_TRUE(game.Ui().IsAchtungWindowJaNein(CUserInt::kQuestionQuit));
  // The question holds the save key; the save comes as the key's does.
  game.Key(SDLK_F4).Do(Wait(200));
  ASSERT_FALSE(game.IsOpen(kWarning));
  game.Ui().SetDoLater(DOLATER_AUTOSAVE);
  game.Do(Wait(200));
  ASSERT_TRUE(game.IsOpen(kWarning));
  ASSERT_TRUE(game.IsOpen(kYesNo));
  game.Do(Frames(2));
  game.Shot("warning-over-question");
  // A click on the yes button, which the player takes for the warning's.
  game.ClickIn(kYesNo, kYes[0], kYes[1]);
  game.Do(Wait(40));
  EXPECT_FALSE(game.IsOpen(kWarning)) << "the click closes the warning";
  EXPECT_EQ(world->saves, 0) << "and answers nothing";
  EXPECT_EQ(Leave_Game, 0);
  ASSERT_TRUE(game.Ui().IsAchtungWindowJaNein(CUserInt::kQuestionQuit)) << "the question waits";
  // The question, now seen, is answered by the next click.
  game.ClickIn(kYesNo, kYes[0], kYes[1]);
  EXPECT_EQ(world->saves, 1);
  EXPECT_EQ(Leave_Game, 1);
}

// A question asked while a warning shows comes in front of it: the click on
// the warning's close box, which the question leaves in sight, answers
// neither, and the question is answered by its own button.
TEST(ScenarioWarnings, AQuestionOverAWarningTakesTheClicksUntilItIsAnswered) {
  FastSaveFails* world = nullptr;
  Scenario game([&] { return world = new FastSaveFails; }, kEnglish);
  game.Run({Move(kMapX, kMapY), Wait(40)});
  game.Key(SDLK_F4).Do(Wait(200));
  ASSERT_TRUE(game.IsOpen(kWarning));
  game.Key(SDLK_F5).Do(Wait(40));
  ASSERT_TRUE(game.Ui().IsAchtungWindowJaNein(CUserInt::kQuestionReplaceGame));
  game.Do(Frames(2));
  game.Shot("question-over-warning");
  game.ClickIn(kWarning, 292, 9);
  game.Do(Wait(40));
  EXPECT_TRUE(game.Ui().IsAchtungWindowJaNein(CUserInt::kQuestionReplaceGame)) << "the question still asks";
  EXPECT_TRUE(game.IsOpen(kWarning)) << "nor closes the warning the question hides";
  game.ClickIn(kYesNo, kNo[0], kNo[1]);
  game.Do(Wait(40));
  EXPECT_FALSE(game.IsOpen(kYesNo));
  // The warning, in sight again, stays for its time and goes at a click.
  game.Run({Move(kMapX, kMapY + 5), Wait(40)});
  EXPECT_TRUE(game.IsOpen(kWarning));
  game.Click(kMapX, kMapY).Do(Wait(40));
  EXPECT_FALSE(game.IsOpen(kWarning));
  EXPECT_EQ(Leave_Game, 0);
}

// The names of the map's calls since call `from`.
std::vector<std::string> MapCallsSince(CUserInt& ui, int from) {
  std::vector<std::string> out;
  for (int i = from; i < ui.GetMapCallCount(); ++i) out.push_back(ui.GetMapCall(i).name);
  return out;
}

// The click that closes a warning over the map reaches the map with
// neither its press nor its release; the next click does.
TEST(ScenarioWarnings, TheClickThatClosesAWarningNeverReachesTheMap) {
  FastSaveFails* world = nullptr;
  Scenario game([&] { return world = new FastSaveFails; });
  game.Run({Move(kMapX, kMapY), Wait(40)});
  game.ChooseTool(2, 1, -1);
  game.Key(SDLK_F4).Do(Wait(200));
  ASSERT_TRUE(game.IsOpen(kWarning));
  const int from = game.Ui().GetMapCallCount();
  game.Run({Press(kMapX, kMapY + 150), Release(kMapX, kMapY + 150)});
  EXPECT_FALSE(game.IsOpen(kWarning));
  EXPECT_EQ(MapCallsSince(game.Ui(), from), std::vector<std::string>{});
  game.Run({Press(kMapX, kMapY + 150), Release(kMapX, kMapY + 150)});
  const std::vector<std::string> calls = MapCallsSince(game.Ui(), from);
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.front(), "StartBuildStreet");
}

// A warning shown long enough closes at the first move, which is often the
// move that takes the pointer to its close box. The press that follows at
// once where the warning stood was meant for it: it reaches neither the map
// (it would start a street there, and its release would warn again) nor a
// window. A press after as long as the warning stood, or away from where
// it stood, reaches the map as usual.
TEST(ScenarioWarnings, APressWhereAWarningStoodJustAfterAMoveClosedItReachesNothing) {
  Scenario game([] { return new FastSaveFails; });
  game.Run({Move(kMapX, kMapY), Wait(40)});
  game.ChooseTool(2, 1, -1);
  const auto starts = [&](int from) {
    const std::vector<std::string> calls = MapCallsSince(game.Ui(), from);
    return std::count(calls.begin(), calls.end(), "StartBuildStreet");
  };
  for (const bool elsewhere : {false, true}) {
    SCOPED_TRACE(elsewhere ? "a press away from the warning" : "a press on its close box");
    // The failed fast save warns once its deferred save has run.
    game.Key(SDLK_F4);
    for (int i = 0; i < 50 && !game.IsOpen(kWarning); ++i) game.Do(Wait(40));
    ASSERT_TRUE(game.IsOpen(kWarning));
    CScreenWindow* warning = CUserInt::topWindow->GetWindowByID(kWarning);
    const int closeX = warning->GetRealPosX() + warning->GetSizeX() - 20;
    const int closeY = warning->GetRealPosY() + 8;
    const int x = elsewhere ? kMapX : closeX;
    const int y = elsewhere ? kMapY + 150 : closeY;
    game.Do(Wait(1600));
    const int from = game.Ui().GetMapCallCount();
    game.Run({Move(x, y)});
    ASSERT_FALSE(game.IsOpen(kWarning)) << "the late move closes the warning";
    game.Run({Wait(100), Press(x, y), Release(x, y), Wait(40)});
    EXPECT_EQ(starts(from), elsewhere ? 1 : 0);
    EXPECT_EQ(CUserInt::selObj.leftButton, 0);
    if (elsewhere) continue;
    EXPECT_FALSE(game.IsOpen(kWarning)) << "no warning comes back";
    // Later, the same place is the map's again.
    game.Run({Wait(1600), Press(x, y), Release(x, y), Wait(40)});
    EXPECT_EQ(starts(from), 1);
    // The refusal's warning, if the street was refused, goes with a press.
    if (game.IsOpen(kWarning)) game.Click(closeX, closeY).Do(Wait(40));
  }
}

}  // namespace
