// What each host interface promises, checked the same way against the
// scripted host the subsystem's own tests use and against the host the
// running game installs. A fake that answers what the game does not would
// let those tests pass against a game that fails, so every expectation here
// runs on both. An operation whose part of the game is not built yet may
// answer as its stand-in does, but then it must say so in the log once.
#include <gtest/gtest.h>

#include <SDL.h>

#include <filesystem>
#include <memory>
#include <string>

#include "framework/zor_stand_in.h"
#include "gui/gui_fakes.h"
#include "gui/screen_window.h"
#include "iso/iso_host.h"
#include "measures/measure_test_host.h"
#include "model/data_exchange.h"
#include "microsim/micro_test_host.h"
#include "model/gott_modus.h"
#include "network/network_object_host.h"
#include "support/scenario.h"
#include "ui/ui_fixture.h"
#include "ui/user_int.h"
#include "world/zor_world.h"
#include "worldbase/zor_world_obj.h"

namespace {

using zortest::Scenario;

// ---- the subjects: a scripted host, or the game's own in a started game ----

struct FakeGui {
  FakeHost host;
  std::unique_ptr<CScreenWindow> root{new CScreenWindow};
  FakeGui() {
    root->Create(0, 0, 800, 600, 1, 0, WINDOW_NORMAL, POSITION_FIXED, 0);
    root->SetActive(true);
    for (int id : {201, 247}) {
      auto* w = new CScreenWindow;
      w->Create(10, 10, 100, 80, id, 1, WINDOW_NORMAL, POSITION_FIXED, 0);
      root->AddWindow(w, 1);
    }
    host.tree = root.get();
    // The game's bar picture, as the archives hold it.
    host.pictures[50868] = {800, 140};
  }
  ~FakeGui() { root->Destroy(); }
  CGuiHost& Host() { return host; }
  CScreenWindow* Window(int id) { return root->GetWindowByID(id); }
  bool Held() { return std::find(host.calls.begin(), host.calls.end(), "SetBlocked 1") != host.calls.end(); }
};

struct GameGui {
  Scenario game;
  CGuiHost& Host() { return *CGuiHost::Get(); }
  CScreenWindow* Window(int id) { return CUserInt::topWindow->GetWindowByID(id); }
  bool Held() { return game.World().GetBlocked() != 0; }
};

template <class Subject>
struct GuiHostContract : ::testing::Test {
  Subject subject;
  CGuiHost& host = subject.Host();
  // Runs f and tells whether it reached a stand-in of the named operation.
  template <class F>
  bool StandIn(const char* op, F f) {
    const std::string name = std::string("CGuiHost::") + op;
    const int before = ZorStandInCount(name);
    f();
    return ZorStandInCount(name) != before;
  }
};

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

// ---- the interface controller's host ----

struct FakeUi {
  uitest::ScriptedUiHost host;
  FakeUi() { host.started = true; }
  CUiHost& Host() { return host; }
  void StartScenario() {
    host.modus = 2;
    host.taskPending = true;
  }
  int Tasks() { return host.tasks; }
};

struct GameUi {
  Scenario game;
  CUiHost& Host() { return *CUiHost::Get(); }
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

template <class Subject>
struct UiHostContract : ::testing::Test {
  Subject subject;
  CUiHost& host = subject.Host();
};

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

// ---- the world host of placed objects and the toolkit ----

struct FakeWorld {
  uitest::LanguageHost host;
  CWorldHost& Host() { return host; }
  void English() { host.language = 1; }
};

struct GameWorld {
  Scenario game;
  CWorldHost& Host() { return *CWorldHost::Get(); }
  void English() { game.World().ChangeLanguage(1); }
};

template <class Subject>
struct WorldHostContract : ::testing::Test {
  Subject subject;
};

using WorldSubjects = ::testing::Types<FakeWorld, GameWorld>;
TYPED_TEST_SUITE(WorldHostContract, WorldSubjects);

TYPED_TEST(WorldHostContract, TheLanguageIsTheOneTheGameRunsIn) {
  EXPECT_EQ(this->subject.Host().GetLanguage(), 0);
  this->subject.English();
  EXPECT_EQ(this->subject.Host().GetLanguage(), 1);
}

// ---- the measures' host as the service measures read the game model ----

struct FakeMeasureWorld {
  MeasureTestHost host;
  CMeasureHost& Host() { return host; }
  void Set(const char* name, double v) { host.SetValue(name, v); }
};

struct GameMeasureWorld {
  Scenario game;
  CMeasureHost& Host() { return *CMeasureHost::Get(); }
  void Set(const char* name, double v) { game.World().GetDataExchange()->DoVar(EX_SET, name, v); }
};

template <class Subject>
struct MeasureHostContract : ::testing::Test {
  Subject subject;
};

using MeasureSubjects = ::testing::Types<FakeMeasureWorld, GameMeasureWorld>;
TYPED_TEST_SUITE(MeasureHostContract, MeasureSubjects);

TYPED_TEST(MeasureHostContract, NamedValuesReadBackAndUnknownNamesReadZero) {
  CMeasureHost& host = this->subject.Host();
  this->subject.Set("PAR.PRICE.NEWCD", 20.0);
  EXPECT_EQ(host.GetExchangeValue("PAR.PRICE.NEWCD"), 20.0);
  this->subject.Set("PTA.PRICE.MONTH", 7.0);
  EXPECT_EQ(host.GetExchangeValue("PTA.PRICE.MONTH"), 7.0);
  EXPECT_EQ(host.GetExchangeValue("PAR.NO.SUCH.NAME"), 0.0);
  EXPECT_EQ(host.GetExchangeMax("W.NO.SUCH.NODE"), 0.0);
  EXPECT_GE(host.GetPeople(), 0);
  EXPECT_EQ(host.GetPeople(), host.GetPeople());
  EXPECT_FALSE(host.IsLoading()) << "no savegame is being read";
}

// ---- the map's host ----

struct FakeIso {
  NetObjectHost host;
  CIsoHost& Host() { return host; }
};

struct GameIso {
  Scenario game;
  CIsoHost& Host() { return *game.World().GetIsoHost(); }
};

template <class Subject>
struct IsoHostContract : ::testing::Test {
  Subject subject;
};

using IsoSubjects = ::testing::Types<FakeIso, GameIso>;
TYPED_TEST_SUITE(IsoHostContract, IsoSubjects);

TYPED_TEST(IsoHostContract, ObjectsAreMadeOfTheKindAskedForAndGivenUp) {
  CIsoHost& host = this->subject.Host();
  for (TObjectType kind : {OBJ_STREET_PIECE, OBJ_CROSSING, OBJ_RAIL_PIECE, OBJ_RAIL_JUNCTION}) {
    CWorldObj* object = host.CreateObject(kind);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->GetType(), kind);
    EXPECT_EQ(host.DestroyObject(object, 0), 0);
  }
}

TYPED_TEST(IsoHostContract, ATrainStopIsAStreetSideObject) {
  CIsoHost& host = this->subject.Host();
  CWorldObj* stop = host.CreateObjectAt(OBJ_STREETSIDE, 18981, CIsoRichtung(1), 10, 12);
  ASSERT_NE(stop, nullptr);
  EXPECT_EQ(stop->GetType(), OBJ_STREETSIDE);
  EXPECT_EQ(host.DestroyObject(stop, 1), 0);
}

TYPED_TEST(IsoHostContract, EmptyCellsShareOneGroundObject) {
  CIsoHost& host = this->subject.Host();
  CWorldObj* a = host.CreateObjectEmpty();
  CWorldObj* b = host.CreateObjectEmpty();
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a, b);
  EXPECT_EQ(host.DestroyObject(b, 1), 0);
  EXPECT_EQ(host.DestroyObject(a, 1), 0);
}

// ---- the micro simulation's host ----

struct FakeMicro {
  microtest::ScriptHost host;
  FakeMicro() { CMicroSimHost::Install(&host); }
  ~FakeMicro() { CMicroSimHost::Install(nullptr); }
  CMicroSimHost& Host() { return host; }
};

struct GameMicro {
  Scenario game;
  CMicroSimHost& Host() { return *CMicroSimHost::Get(); }
};

template <class Subject>
struct MicroHostContract : ::testing::Test {
  Subject subject;
};

using MicroSubjects = ::testing::Types<FakeMicro, GameMicro>;
TYPED_TEST_SUITE(MicroHostContract, MicroSubjects);

TYPED_TEST(MicroHostContract, UnknownStreetsAndVehiclesWithoutALineHaveNoAnswer) {
  CMicroSimHost& host = this->subject.Host();
  double velocity = -1;
  int flow = -1;
  EXPECT_FALSE(host.GetStreetVelocity(65000, velocity));
  EXPECT_FALSE(host.GetStreetFlow(65000, flow));
  EXPECT_FALSE(host.IsIsoPosHst(nullptr, 5, 5));
  EXPECT_EQ(host.GetNextHstZelle(nullptr, 5, 5, 7), nullptr);
  EXPECT_EQ(host.GetNextStreetID(nullptr), 0);
  bool flag = true;
  EXPECT_EQ(host.GetAbzwStreetID(nullptr, flag, true), -1);
  EXPECT_FALSE(flag);
}

TYPED_TEST(MicroHostContract, ACarPictureNamesAPictureAndASizeClass) {
  CMicroSimHost& host = this->subject.Host();
  SMicroCarPicture picture;
  for (int i = 0; i < 20; ++i) {
    if (!host.GetNextCarPicture(picture)) continue;
    EXPECT_GT(picture.resId, 0);
    EXPECT_GE(picture.sizeType, 0);
    EXPECT_LE(picture.sizeType, 2);
  }
}

}  // namespace
