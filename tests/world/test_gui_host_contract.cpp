// What the window toolkit's host promises, checked the same way against the
// scripted host of the toolkit's tests and against the host the running
// game installs. An operation whose part of the game is not built yet may
// answer as its stand-in does, but then it must say so in the log once.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "gui/gui_fakes.h"
#include "gui/screen_window.h"
#include "measures/opnv.h"
#include "support/scenario.h"
#include "ui/user_int.h"
#include "windows/windows_scene.h"
#include "world/host_contract.h"
#include "world/zor_world.h"

namespace {

using zortest::Scenario;

// ---- the subjects: a scripted host, or the game's own in a started game ----

struct FakeGui {
  FakeHost host;
  std::unique_ptr<CScreenWindow> root{new CScreenWindow};
  FakeGui() {
    root->Create(0, 0, 800, 600, 1, 0, WINDOW_NORMAL, POSITION_FIXED, 0);
    root->SetActive(true);
    for (int id : {201, 220, 247}) {
      auto* w = new CScreenWindow;
      w->Create(10, 10, 100, 80, id, 1, WINDOW_NORMAL, POSITION_FIXED, 0);
      root->AddWindow(w, 1);
    }
    host.tree = root.get();
    // The game's bar picture, as the archives hold it, and the account
    // of a started game.
    host.pictures[50868] = {800, 140};
    host.indicators["F.KONTO"] = 1000000;
  }
  ~FakeGui() { root->Destroy(); }
  CGuiHost& Host() { return host; }
  CScreenWindow* Window(int id) { return root->GetWindowByID(id); }
  bool Held() { return std::find(host.calls.begin(), host.calls.end(), "SetBlocked 1") != host.calls.end(); }
  void EnterFleetTrade() { host.fleetTrade = true; }
};

struct GameGui {
  Scenario game;
  CGuiHost& Host() { return *CGuiHost::Get(); }
  CScreenWindow* Window(int id) { return CUserInt::topWindow->GetWindowByID(id); }
  bool Held() { return game.World().GetBlocked() != 0; }
  // Two buses entered for purchase on the fleet page.
  void EnterFleetTrade() { game.World().GetOpnv()->SetVarData("OPNV.FP.BUS.NORMAL.BUYSELL", 2.0); }
};

constexpr char kGuiHost[] = "CGuiHost";
template <class Subject>
using GuiHostContract = zortest::HostContract<Subject, CGuiHost, kGuiHost>;

using GuiSubjects = ::testing::Types<FakeGui, GameGui>;
TYPED_TEST_SUITE(GuiHostContract, GuiSubjects);

TYPED_TEST(GuiHostContract, TheScreenIsTheStandardOneWithoutAStandIn) {
  CGuiHost& host = this->host;
  EXPECT_FALSE(this->StandIn("GetScreenHeight", [&] { EXPECT_EQ(host.GetScreenHeight(), 600); }));
  EXPECT_FALSE(this->StandIn("GetScreenWidth", [&] { EXPECT_EQ(host.GetScreenWidth(), 800); }));
}

TYPED_TEST(GuiHostContract, AWindowIsOpenWhileItIsInTheRenderList) {
  CGuiHost& host = this->host;
  CScreenWindow* w = this->subject.Window(201);
  ASSERT_NE(w, nullptr);
  EXPECT_FALSE(host.IsWindowOpen(201));
  host.AddToRenderList(w);
  EXPECT_TRUE(host.IsWindowOpen(201));
  host.BringToFront(w);
  EXPECT_TRUE(host.IsWindowOpen(201));
  host.RemoveFromRenderList(w);
  EXPECT_FALSE(host.IsWindowOpen(201));
  EXPECT_FALSE(host.IsWindowOpen(99999));
}

TYPED_TEST(GuiHostContract, SettingsStayAsTheWindowsSetThem) {
  CGuiHost& host = this->host;
  EXPECT_FALSE(this->StandIn("GetGameSpeedMin", [&] { EXPECT_EQ(host.GetGameSpeedMin(), 6000); }));
  EXPECT_FALSE(this->StandIn("GetGameSpeedMax", [&] { EXPECT_EQ(host.GetGameSpeedMax(), 24000); }));
  host.SetGameSpeed(20000);
  EXPECT_EQ(host.GetGameSpeed(), 20000);
  host.SetPause(true);
  EXPECT_TRUE(host.IsPaused());
  host.SetPause(false);
  EXPECT_FALSE(host.IsPaused());
  EXPECT_FALSE(host.IsHotlineOn());
  EXPECT_FALSE(this->StandIn("SetHotlineOn", [&] { host.SetHotlineOn(); }));
  EXPECT_TRUE(host.IsHotlineOn());
}

TYPED_TEST(GuiHostContract, GameAndListingModesAreAnsweredAsSet) {
  CGuiHost& host = this->host;
  EXPECT_EQ(host.GetGameMode(), 1) << "a normal game";
  for (int mode : {0, 3, 1}) {
    EXPECT_FALSE(this->StandIn("SetGameMode", [&] { host.SetGameMode(mode); }));
    EXPECT_EQ(host.GetGameMode(), mode);
  }
  EXPECT_FALSE(this->StandIn("SetLoadSaveGameMode", [&] { host.SetLoadSaveGameMode(2); }));
  EXPECT_EQ(host.GetLoadSaveGameMode(), 2);
}

TYPED_TEST(GuiHostContract, ViewFilterZeroIsOnExactlyWhileNoOtherIs) {
  CGuiHost& host = this->host;
  EXPECT_TRUE(host.IsViewFilterOn(0));
  host.SetViewFilter(3, true);
  EXPECT_TRUE(host.IsViewFilterOn(3));
  EXPECT_FALSE(host.IsViewFilterOn(0));
  EXPECT_FALSE(host.IsViewFilterOn(5)) << "there are four filters";
  host.SetViewFilter(3, false);
  EXPECT_FALSE(host.IsViewFilterOn(3));
  EXPECT_TRUE(host.IsViewFilterOn(0));
}

TYPED_TEST(GuiHostContract, TheChosenToolIsTheCurrentOneUntilTheStandardToolComesBack) {
  CGuiHost& host = this->host;
  EXPECT_EQ(host.GetCurrentTool(), 1) << "a game starts with the selection tool";
  host.SetToolNr(2, 1, 1);
  EXPECT_EQ(host.GetCurrentTool(), 2);
  EXPECT_TRUE(host.IsTool(2, 1, 1));
  EXPECT_FALSE(host.IsTool(2, 2, 1));
  // Without a variant only the cursor changes; an unknown tool changes nothing.
  host.SetToolNr(6, 1, 0);
  host.SetToolNr(24, 1, 1);
  EXPECT_TRUE(host.IsTool(2, 1, 1));
  host.SetToolStandard();
  EXPECT_EQ(host.GetCurrentTool(), 1);
  EXPECT_TRUE(host.IsTool(1, -1, -1));
}

TYPED_TEST(GuiHostContract, AWarningShowsInItsWindow) {
  CGuiHost& host = this->host;
  EXPECT_FALSE(host.IsWindowOpen(220));
  host.SetAchtungWindow(1);
  EXPECT_TRUE(host.IsWindowOpen(220));
}

TYPED_TEST(GuiHostContract, AQuestionIsPendingOnceItsWindowShows) {
  CGuiHost& host = this->host;
  EXPECT_EQ(host.GetYesNoWarningNumber(), -1);
  host.SetAchtungWindowJaNein(80, 150);
  EXPECT_TRUE(host.IsWindowOpen(247));
  EXPECT_EQ(host.GetYesNoWarningNumber(), 80);
}

TYPED_TEST(GuiHostContract, NothingIsSavedLoadedDeletedOrRemovedThatIsNotThere) {
  CGuiHost& host = this->host;
  // Success is only reported for what happened: a fresh game in an empty
  // folder has no savegame to read or delete and no selected object.
  const int saved = host.AutoSaveGame();
  const bool written = std::filesystem::exists("SaveGame") && !std::filesystem::is_empty("SaveGame");
  EXPECT_EQ(saved == 0, written);
  EXPECT_NE(host.AutoLoadGame(), 0);
  EXPECT_EQ(host.GetSelectedLoadSaveName(), -1);
  EXPECT_NE(host.CheckForLoadGame(), 1);
  EXPECT_NE(host.DeleteGame(), 0);
  EXPECT_NE(host.RemoveSelectedObject(), 0);
  const int count = host.GetSaveGameCount();
  EXPECT_GE(count, 0);
  // The list's choice is kept as the window makes it, none being -1.
  host.SetSelectedLoadSaveName(2);
  EXPECT_EQ(host.GetSelectedLoadSaveName(), 2);
  host.SetSelectedLoadSaveName(-1);
  EXPECT_EQ(host.GetSelectedLoadSaveName(), -1);
  EXPECT_EQ(host.GetSaveSlotName(count), nullptr);
  EXPECT_EQ(host.GetSaveSlotName(-1), nullptr);
}

TYPED_TEST(GuiHostContract, WithoutLinesNoLineIsActiveAndNoNetIsShown) {
  CGuiHost& host = this->host;
  int number = -1, kind = -1;
  EXPECT_FALSE(host.GetActiveLine(&number, &kind));
  EXPECT_EQ(host.SetActiveLine(7), nullptr);
  EXPECT_FALSE(host.GetActiveLine(&number, &kind));
  EXPECT_EQ(host.GetOpnvNet(), nullptr);
}

TYPED_TEST(GuiHostContract, PicturesHaveTheSizeOfTheirResource) {
  CGuiHost& host = this->host;
  int w = 0, h = 0;
  ASSERT_TRUE(host.GetPictureSize(50868, &w, &h));
  EXPECT_EQ(w, 800);
  EXPECT_EQ(h, 140);
  EXPECT_FALSE(host.GetPictureSize(-1, &w, &h));
}

TYPED_TEST(GuiHostContract, AFleetQuestionWaitsOnlyWhileItShows) {
  CGuiHost& host = this->host;
  EXPECT_FALSE(host.IsFleetTradeEntered()) << "nothing is bought or sold yet";
  EXPECT_FALSE(host.IsConfirmationPending());
  host.SetConfirmationPending();
  EXPECT_FALSE(host.IsConfirmationPending()) << "no question shows";
  host.SetAchtungWindowJaNein(81, 117);
  host.SetConfirmationPending();
  EXPECT_TRUE(host.IsConfirmationPending());
  host.ClearPendingConfirmation();
  EXPECT_FALSE(host.IsConfirmationPending());
  // The action waiting for the answer is kept as a copy of the host's own.
  std::unique_ptr<CAction> action(MakeAction(static_cast<EActionType>(46), WHEN_LEFT_DOWN, INOUT_INSIDE, 120));
  EXPECT_EQ(host.GetConfirmationAction(), nullptr);
  host.SaveConfirmationAction(*action);
  CAction* kept = host.GetConfirmationAction();
  ASSERT_NE(kept, nullptr);
  EXPECT_NE(kept, action.get());
  action.reset();
  EXPECT_EQ(kept->m_kind, 46);
  EXPECT_EQ(host.GetConfirmationAction(), kept);
  // An entered purchase is one until it is reset, as the yes button does.
  this->subject.EnterFleetTrade();
  EXPECT_TRUE(host.IsFleetTradeEntered());
  host.ResetEinVerkauf();
  EXPECT_FALSE(host.IsFleetTradeEntered());
}

TYPED_TEST(GuiHostContract, TheNameInputShowsWhatIsSetWhileItIsOpen) {
  CGuiHost& host = this->host;
  int cursor = -1;
  bool open = true;
  EXPECT_STREQ(host.GetNameInput(&cursor, &open), "");
  EXPECT_EQ(cursor, 0);
  EXPECT_FALSE(open);
  host.SetNameInput("Flussau");
  // The cursor goes where it is put, or behind the name.
  for (const auto& [put, at] : {std::pair{3, 3}, {0, 0}, {-1, 7}, {40, 7}}) {
    host.OpenNameInput(put);
    EXPECT_STREQ(host.GetNameInput(&cursor, &open), "Flussau");
    EXPECT_EQ(cursor, at) << put;
  }
  EXPECT_TRUE(open);
  host.DeaktivateEingabe();
  EXPECT_STREQ(host.GetNameInput(&cursor, &open), "Flussau") << "closing keeps the name";
  EXPECT_FALSE(open);
  host.ClearNameInput();
  EXPECT_STREQ(host.GetNameInput(&cursor, &open), "");
  host.OpenNameInput(-1);
  host.GetNameInput(&cursor, &open);
  EXPECT_EQ(cursor, 0) << "an empty name has its cursor at the start";
  host.SetNameInput("Ringstadt");
  host.ClearNameEntry();
  EXPECT_STREQ(host.GetNameInput(&cursor, &open), "");
  EXPECT_FALSE(open);
}

// A fresh chart shows the modal split by kilometres over ten recordings.
TYPED_TEST(GuiHostContract, TheChartAnswersAsItsButtonsSwitchIt) {
  CGuiHost& host = this->host;
  EXPECT_EQ(host.GetStatKmOrTrip(), 1);
  host.SetStatKmOrTrip(false);
  EXPECT_EQ(host.GetStatKmOrTrip(), 0);
  host.SetStatKmOrTrip(true);
  EXPECT_EQ(host.GetStatKmOrTrip(), 1);
  EXPECT_FALSE(host.GetStatChartSwitch());
  host.SetStatChartSwitch(true);
  EXPECT_TRUE(host.GetStatChartSwitch());
  host.SetStatChartSwitch(false);
  EXPECT_FALSE(host.GetStatChartSwitch());
  EXPECT_EQ(host.GetStatSelectedChart(), 10);
  // The chart spans 1 to 30 recordings; a wider choice is not taken.
  for (int quarters : {5, 30}) {
    host.StatYearMax(quarters);
    EXPECT_EQ(host.GetStatSelectedChart(), quarters);
  }
  host.StatYearMax(31);
  host.StatYearMax(0);
  EXPECT_EQ(host.GetStatSelectedChart(), 30);
  EXPECT_EQ(host.GetStatView(), 0);
  host.ChangeStatistikGruppe(3);
  EXPECT_EQ(host.GetStatView(), 3);
  for (int series : {0, 5}) {
    const bool shown = host.IsStatSeriesShown(series);
    host.StatToggle(series);
    EXPECT_NE(host.IsStatSeriesShown(series), shown) << series;
    host.StatToggle(series);
    EXPECT_EQ(host.IsStatSeriesShown(series), shown) << series;
  }
  EXPECT_FALSE(host.IsStatSeriesShown(-1));
}

TYPED_TEST(GuiHostContract, EventListAndAdviserPagesAnswerAsSet) {
  CGuiHost& host = this->host;
  EXPECT_EQ(host.GetSelectedEvent(), -1) << "no event is listed yet";
  EXPECT_EQ(host.GetEventListFlag(), 1) << "events show as they come";
  host.SetEventListFlag(0);
  EXPECT_EQ(host.GetEventListFlag(), 0);
  host.SetEventListFlag(1);
  EXPECT_EQ(host.GetEventListFlag(), 1);
  EXPECT_EQ(host.GetMessagePageIndex(), 0) << "the first adviser";
  host.SetMessagePageIndex(3);
  EXPECT_EQ(host.GetMessagePageIndex(), 3);
  host.SetMessagePageIndex(0);
  EXPECT_EQ(host.GetMessagePageIndex(), 0);
  EXPECT_FALSE(host.IsMessageProcessed(0));
  EXPECT_EQ(host.GetMessageText(999), nullptr) << "no message item of that type";
  const char* title = nullptr;
  const char* text = nullptr;
  EXPECT_FALSE(host.GetHelpEntry(-1, &title, &text));
  EXPECT_EQ(host.GetHelpEntry242(), -1);
  host.SetHelpEntry242(5);
  EXPECT_EQ(host.GetHelpEntry242(), 5);
}

TYPED_TEST(GuiHostContract, SwitchesAndSettingsReadBackAsSet) {
  CGuiHost& host = this->host;
  EXPECT_FALSE(host.IsDebugInfoOn());
  EXPECT_FALSE(host.IsLeftButtonHeld());
  EXPECT_FALSE(host.GetWindow239Opened());
  host.SetWindow239Opened(true);
  EXPECT_TRUE(host.GetWindow239Opened());
  host.SetWindow239Opened(false);
  EXPECT_FALSE(host.GetWindow239Opened());
  EXPECT_FALSE(host.IsBottomPanelPinned());
  host.ToggleBottomPanelPinned();
  EXPECT_TRUE(host.IsBottomPanelPinned());
  host.ToggleBottomPanelPinned();
  EXPECT_FALSE(host.IsBottomPanelPinned());
  const int music = host.GetMusicMode();
  host.SetMusicMode(music == 2 ? 1 : 2);
  EXPECT_EQ(host.GetMusicMode(), music == 2 ? 1 : 2);
  EXPECT_EQ(host.GetEnvInt("NO.SUCH.SETTING", 7), 7);
}

// The map starts on layer 1; layers 0-23 are taken as chosen, and a layer
// outside the table is the net alone.
TYPED_TEST(GuiHostContract, TheThematicMapShowsTheChosenLayer) {
  CGuiHost& host = this->host;
  EXPECT_EQ(host.GetThematicMapLayer(), 1);
  for (int layer : {6, 23, 0}) {
    host.ChangeThematicMapFilter(layer);
    EXPECT_EQ(host.GetThematicMapLayer(), layer);
  }
  host.ChangeThematicMapFilter(25);
  EXPECT_EQ(host.GetThematicMapLayer(), 0);
}

TYPED_TEST(GuiHostContract, AFreshGameHasNothingSelectedOrPending) {
  CGuiHost& host = this->host;
  EXPECT_EQ(host.GetPendingRemovalCost(), 0.0);
  int lights = -1;
  EXPECT_FALSE(host.GetSelectedCrossingLights(&lights));
  EXPECT_EQ(host.GetLineByID(1), nullptr);
  EXPECT_FALSE(host.CheckSelectedLoadSaveName());
  EXPECT_EQ(host.CheckForSaveGame(), 0) << "no name is entered";
  const double hour = host.GetSimHour();
  EXPECT_GE(hour, 5.0);
  EXPECT_LE(hour, 20.0);
  EXPECT_GE(host.GetSimYear(), 0.0);
  EXPECT_LT(host.GetSimYear(), 1.0);
  EXPECT_EQ(host.GetTicksAfterLoad(), 0u) << "no game was loaded";
}

// The interface texts are the German ones of a fresh installation.
TYPED_TEST(GuiHostContract, LabelsAndValuesAreTheGamesOwn) {
  CGuiHost& host = this->host;
  EXPECT_STREQ(host.GetGltText(0), "Bus %i");
  EXPECT_STREQ(host.GetGltText(1), "S-Bahn %i");
  EXPECT_STREQ(host.GetGltText(3), "Station %i");
  EXPECT_STREQ(host.GetGltText(99), "Bus %i") << "an unknown label is the first";
  double value = -5;
  EXPECT_FALSE(host.GetIndicator("NO.SUCH.VALUE", &value));
  EXPECT_EQ(value, -5);
  double before = 0, after = 0;
  ASSERT_TRUE(host.GetIndicator("F.KONTO", &before));
  host.VarAddValue("F.KONTO", 4096);
  ASSERT_TRUE(host.GetIndicator("F.KONTO", &after));
  EXPECT_EQ(after - before, 4096);
  host.VarAddValue("NO.SUCH.VALUE", 1);
  EXPECT_FALSE(host.GetIndicator("NO.SUCH.VALUE", &value)) << "adding makes no value";
}

// What the window and item actions change reaches a part of the game, not a
// stand-in; the scripted host logs each of them for the toolkit's tests.
TYPED_TEST(GuiHostContract, TheActionsChangesReachTheGame) {
  CGuiHost& host = this->host;
  const std::pair<const char*, std::function<void()>> calls[] = {
      {"SetType13PressFlag", [&] { host.SetType13PressFlag(); }},
      {"SetBlocked", [&] { host.SetBlocked(false); }},
      {"MakeLoadSaveGamesFromDirectory", [&] { host.MakeLoadSaveGamesFromDirectory(true); }},
      {"SetDoLater", [&] { host.SetDoLater(6); }},
      {"DisableStandardMenues", [&] { host.DisableStandardMenues(); }},
      {"TurnBuilding", [&] { host.TurnBuilding(true); }},
      {"ActivateTwoDMap", [&] { host.ActivateTwoDMap(false); }},
      {"SetIsoCenter", [&] { host.SetIsoCenter(64, 64); }},
      {"SetBalloonHelp", [&] { host.SetBalloonHelp(nullptr, 0, 0, 0); }},
      {"ResetSelectedBuildingList", [&] { host.ResetSelectedBuildingList(); }},
      {"ClearWarningHighlight", [&] { host.ClearWarningHighlight(); }},
      {"ClearSelectedStreet", [&] { host.ClearSelectedStreet(); }},
      {"ClearSelectedCrossing", [&] { host.ClearSelectedCrossing(); }},
      {"ClearBuildingMarker", [&] { host.ClearBuildingMarker(); }},
      {"ClearAdviserSelection", [&] { host.ClearAdviserSelection(); }},
      {"ClearRemovalWord", [&] { host.ClearRemovalWord(); }},
      {"CheckForRemoveObjectSelected", [&] { host.CheckForRemoveObjectSelected(); }},
      {"RemoveBuildingSelectedBuildingList", [&] { host.RemoveBuildingSelectedBuildingList(); }},
      {"SetSelectedLine", [&] { host.SetSelectedLine(nullptr, -1); }},
      {"RemoveSelectedLine", [&] { host.RemoveSelectedLine(); }},
      {"CentreOnLine", [&] { host.CentreOnLine(nullptr); }},
      {"SetLineReopenWindow", [&] { host.SetLineReopenWindow(0); }},
      {"SetFollowUpFlag", [&] { host.SetFollowUpFlag(); }},
      {"SetAdviser", [&] { host.SetAdviser(1); }},
      {"SetDataExchangeSelection", [&] { host.SetDataExchangeSelection(9); }},
      {"ToggleGottWertActive", [&] { host.ToggleGottWertActive(3); }},
      {"SetGottActive", [&] { host.SetGottActive(); }},
      {"TakeCredit", [&] { host.TakeCredit(1000); }},
      {"RepayCredit", [&] { host.RepayCredit(1000); }},
      {"SetExpoModus", [&] { host.SetExpoModus(0); }},
      {"SetExpoTask", [&] { host.SetExpoTask(0); }},
      {"SetExpoState", [&] { host.SetExpoState(0); }},
      {"SetExpoStreetType", [&] { host.SetExpoStreetType(1); }},
      {"ExpoSetTimeRating", [&] { host.ExpoSetTimeRating(); }},
      {"ExpoBusSetTakt", [&] { host.ExpoBusSetTakt(10); }},
      {"StatYearStep", [&] { host.StatYearStep(-1); }},
      {"StatGroupAll", [&] { host.StatGroupAll(true); }},
      {"StatClearScroll", [&] { host.StatClearScroll(); }},
      {"SelectEvent", [&] { host.SelectEvent(-1); }},
      {"RemoveSelectedEvent", [&] { host.RemoveSelectedEvent(); }},
      {"GotoSelectedEvent", [&] { host.GotoSelectedEvent(); }},
      {"GotoActiveMessage", [&] { host.GotoActiveMessage(); }},
      {"GotoSelectedMessage", [&] { host.GotoSelectedMessage(0); }},
      {"ToggleMessageProcessed", [&] { host.ToggleMessageProcessed(0); }},
      {"SetLanguage", [&] { host.SetLanguage(0); }},
      {"PlaySound", [&] { host.PlaySound("KLICK"); }},
  };
  for (const auto& [op, call] : calls) EXPECT_FALSE(this->StandIn(op, call)) << op;
}

// The scripted host holds the game on the quit question exactly when the
// game does, whatever order of opening and noting the game keeps.
TEST(GuiHostContractPair, TheQuitQuestionHoldsTheGameInTheFakeAsInTheGame) {
  bool fakeHeld = false, gameHeld = false;
  {
    FakeGui fake;
    fake.host.SetAchtungWindowJaNein(79, 81);
    fakeHeld = fake.Held();
  }
  {
    GameGui game;
    game.Host().SetAchtungWindowJaNein(79, 81);
    gameHeld = game.Held();
  }
  EXPECT_EQ(fakeHeld, gameHeld);
}

// ---- the window builders' scene host, on the toolkit's host and the world's ----

struct SceneGui {
  wintest::SceneHost host;
  std::unique_ptr<CScreenWindow> root{new CScreenWindow};
  SceneGui() {
    root->Create(0, 0, 800, 600, 1, 0, WINDOW_NORMAL, POSITION_FIXED, 0);
    root->SetActive(true);
    auto* w = new CScreenWindow;
    w->Create(10, 10, 100, 80, 201, 1, WINDOW_NORMAL, POSITION_FIXED, 0);
    root->AddWindow(w, 1);
  }
  ~SceneGui() { root->Destroy(); }
  CGuiHost& Host() { return host; }
  CScreenWindow* Window(int id) { return root->GetWindowByID(id); }
};

template <class Subject>
using SceneHostContract = zortest::HostContract<Subject, CGuiHost, kGuiHost>;

using SceneSubjects = ::testing::Types<SceneGui, GameGui>;
TYPED_TEST_SUITE(SceneHostContract, SceneSubjects);

// What the windows' own tests take from their host: the render list, the
// hour of the day, the jump of an event and the measures' page hints.
TYPED_TEST(SceneHostContract, TheWindowsSceneAnswersAsTheGame) {
  CGuiHost& host = this->host;
  CScreenWindow* w = this->subject.Window(201);
  ASSERT_NE(w, nullptr);
  EXPECT_FALSE(host.IsWindowOpen(201));
  host.AddToRenderList(w);
  host.BringToFront(w);
  EXPECT_TRUE(host.IsWindowOpen(201));
  host.RemoveFromRenderList(w);
  EXPECT_FALSE(host.IsWindowOpen(201));
  const double hour = host.GetSimHour();
  EXPECT_GE(hour, 5.0);
  EXPECT_LE(hour, 20.0);
  EXPECT_FALSE(host.CheckMessageForJump(0)) << "no event is listed";
  EXPECT_FALSE(this->StandIn("UpdateMeasurePageHints", [&] { host.UpdateMeasurePageHints(); }));
  EXPECT_EQ(CWorldHost::Get()->GetLanguage(), 0);
}

}  // namespace
