// What the interface controller's host promises, checked the same way
// against the scripted host of the controller's tests and against the host
// the running game installs.
#include <gtest/gtest.h>

#include <SDL.h>

#include <filesystem>
#include <string>

#include "model/gott_modus.h"
#include "model/message.h"
#include "support/scenario.h"
#include "ui/ui_fixture.h"
#include "world/host_contract.h"
#include "world/zor_world.h"

namespace {

using zortest::Scenario;

// ---- the interface controller's host ----

struct FakeUi {
  uitest::ScriptedUiHost host;
  FakeUi() { host.started = true; }
  CUiHost& Host() { return host; }
  std::string Warning() { return host.warning; }
  std::string Question() { return host.question; }
  void StartScenario() {
    host.modus = 2;
    host.taskPending = true;
  }
  int Tasks() { return host.tasks; }
};

struct GameUi {
  Scenario game;
  CUiHost& Host() { return *CUiHost::Get(); }
  std::string Warning() { return Text(game.World().GetMessage()->GetAchtungMessage()); }
  std::string Question() { return Text(game.World().GetMessage()->GetAchtungJaNeinText()); }
  static std::string Text(const char* text) { return text ? text : "(null)"; }
  // A scenario as a debug key starts one: reach an indicator in years.
  void StartScenario() {
    CGottModus* god = game.World().GetGottModus();
    god->SetGameModus(GAME_SCENARIO);
    god->SetSzenario(0, 2, 0.6f, 3);
  }
  // The task windows shown so far: each one that is open, holding the
  // game, is counted and put away as the player's play button does.
  int Tasks() {
    if (game.IsOpen(232)) {
      EXPECT_EQ(game.World().GetBlocked(), 2) << "the task holds the game";
      ++m_tasks;
      game.World().DeActivateWindow(232);
      game.World().SetBlocked(0);
    }
    return m_tasks;
  }

 private:
  int m_tasks = 0;
};

constexpr char kUiHost[] = "CUiHost";
template <class Subject>
using UiHostContract = zortest::HostContract<Subject, CUiHost, kUiHost>;

using UiSubjects = ::testing::Types<FakeUi, GameUi>;
TYPED_TEST_SUITE(UiHostContract, UiSubjects);

TYPED_TEST(UiHostContract, AStartedNormalGameOnTheStandardScreen) {
  CUiHost& host = this->host;
  EXPECT_EQ(host.GetScreenWidth(), 800);
  EXPECT_EQ(host.GetScreenHeight(), 600);
  EXPECT_TRUE(host.IsReady());
  EXPECT_TRUE(host.IsGameStarted());
  EXPECT_EQ(host.GetGameModus(), 1);
  EXPECT_EQ(host.GetExpoHold(), 0);
  EXPECT_FALSE(host.DebugKeysAllowed()) << "the settings do not allow the debug keys";
  int month = -1, year = -1;
  host.GetDate(&month, &year);
  EXPECT_GE(month, 0);
  EXPECT_LE(month, 11);
  EXPECT_GE(year, 0);
}

TYPED_TEST(UiHostContract, LoadsAndSavesReportSuccessOnlyWhenTheyHappened) {
  CUiHost& host = this->host;
  EXPECT_NE(host.CheckForLoadGame(), 1) << "no game is selected";
  EXPECT_NE(host.LoadGame(), 0);
  EXPECT_NE(host.AutoLoadGame(), 0) << "there is no automatic savegame";
  const bool saved = host.SaveGame() == 0;
  const bool autoSaved = host.AutoSaveGame() == 0;
  const bool written = std::filesystem::exists("SaveGame") && !std::filesystem::is_empty("SaveGame");
  EXPECT_EQ(saved || autoSaved, written);
}

// The task of a scenario shows when the scenario's game is loaded: in a
// normal game there is none, and one shown is not shown again.
TYPED_TEST(UiHostContract, TheTaskShowsInAScenarioOnlyAndOnce) {
  CUiHost& host = this->host;
  host.ShowAufgabeWindow();
  EXPECT_EQ(this->subject.Tasks(), 0) << "a normal game has no task";
  this->subject.StartScenario();
  EXPECT_EQ(host.GetGameModus(), 2);
  host.ShowAufgabeWindow();
  EXPECT_EQ(this->subject.Tasks(), 1);
  host.ShowAufgabeWindow();
  EXPECT_EQ(this->subject.Tasks(), 1) << "a task is shown once";
}

// The warning windows show the texts the controller hands over.
TYPED_TEST(UiHostContract, TheWarningTextsAreTheOnesTheWindowsShow) {
  CUiHost& host = this->host;
  EXPECT_FALSE(this->StandIn("SetAchtungMessage", [&] { host.SetAchtungMessage("Kein Geld"); }));
  EXPECT_EQ(this->subject.Warning(), "Kein Geld");
  EXPECT_FALSE(this->StandIn("SetAchtungJaNeinText", [&] { host.SetAchtungJaNeinText("Wirklich?"); }));
  EXPECT_EQ(this->subject.Question(), "Wirklich?");
  host.SetAchtungMessage("");
  EXPECT_EQ(this->subject.Warning(), "");
}

// A new game reads the start game, which an empty savegame folder lacks:
// the running game goes on as it was.
TYPED_TEST(UiHostContract, ListingsFiltersAndANewGameReachTheGame) {
  CUiHost& host = this->host;
  int listed = -1;
  EXPECT_FALSE(this->StandIn("MakeLoadSaveGamesFromDirectory",
                             [&] { listed = host.MakeLoadSaveGamesFromDirectory(false); }));
  EXPECT_EQ(listed, 0);
  EXPECT_FALSE(this->StandIn("SetObjectListFilter", [&] { host.SetObjectListFilter(); }));
  int reset = -1;
  EXPECT_FALSE(this->StandIn("ResetGame", [&] { reset = host.ResetGame(); }));
  EXPECT_NE(reset, 0);
  EXPECT_TRUE(host.IsGameStarted());
  EXPECT_EQ(host.GetGameModus(), 1);
}

}  // namespace
