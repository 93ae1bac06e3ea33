#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "framework/qno_log.h"
#include "gui/screen_window.h"
#include "model/data_exchange.h"
#include "sim/sim_welt.h"
#include "support/test_support.h"
#include "iso/iso_welt.h"
#include "model/gott_modus.h"
#include "ui/user_int.h"
#include "world_recorder.h"

namespace zortest {

std::vector<std::string>& CallLog() {
  static std::vector<std::string> log;
  return log;
}

std::string Hour(const STime& t) { return std::to_string(t.year) + ":" + std::to_string(t.hour); }

}  // namespace zortest

namespace {

using zortest::CallLog;

struct RecDataExchange : CDataExchange {
  int CalculateGeneral(STime now, STime last) override {
    CallLog().push_back("DataExchange.general " + zortest::Hour(now));
    return CDataExchange::CalculateGeneral(now, last);
  }
  int CalculateNextMatrix(STime now, STime last) override {
    CallLog().push_back("DataExchange.matrix " + zortest::Hour(now));
    return CDataExchange::CalculateNextMatrix(now, last);
  }
};

class TurnWorld : public zortest::RecordingWorld {
 protected:
  CDataExchange* NewDataExchange() override { return new RecDataExchange; }
};

struct WorldTurnTest : testing::Test {
  TurnWorld* world = nullptr;

  void SetUp() override {
    OpenErrorLog("errors.log");
    std::strcpy(CZorvaWorld::m_sIniFile, "ZORVANTA.INI");
    CallLog().clear();
  }
  void TearDown() override {
    if (world) {
      world->OnShutdown();
      world->Destroy();
      delete world;
    }
  }

  // Starts a world; with windows, the title and welcome windows exist and
  // hold the start-up until the test closes them, as a player would.
  void Start(const std::string& settings = "", bool windows = true) {
    zortest::WriteGameSettings(settings);
    world = new TurnWorld;
    world->Create();
    world->OnStartup();
    if (!windows) return;
    world->AddWindow(1, 0, 0, 800, 600, -1, WINDOW_ROOT, POSITION_FIXED, 0);
    for (int id : {249, 237, 246}) world->AddWindow(id, 100, 100, 400, 300, 1, WINDOW_NORMAL, POSITION_CENTERED, 0);
    CUserInt::topWindow = world->GetWindowBuilder().GetTopWindow();
  }

  // Runs the start-up phases through, closing each start-up window.
  void PassStartup() {
    for (int i = 0; i < 10 && world->GetStartupPhase() != 0; ++i) {
      world->OnPlayloopTurn();
      world->SetPause(false);
    }
    ASSERT_EQ(world->GetStartupPhase(), 0);
    world->SetPause(false);
  }

  int SimTicks() { return static_cast<int>(world->GetSimWelt()->Date()); }

  // Turns the world, 100 ms apart, until the simulation clock has moved on
  // by one hour; false when it does not within the cap.
  bool RunOneHour() {
    const int start = SimTicks();
    for (int i = 0; i < 2000; ++i) {
      zortest::Clock().Advance(100);
      world->OnPlayloopTurn();
      if (SimTicks() != start) return true;
    }
    return false;
  }

};

}  // namespace

TEST_F(WorldTurnTest, StartupPhasesWaitForEachWindow) {
  Start();
  EXPECT_TRUE(world->IsInputAccepted());
  EXPECT_EQ(world->GetStartupPhase(), 4);
  world->OnPlayloopTurn();
  // The title window holds the game until it is closed.
  EXPECT_EQ(world->GetStartupPhase(), 2);
  EXPECT_TRUE(world->IsPause());
  EXPECT_TRUE(world->IsStartupWindow());
  world->OnPlayloopTurn();
  EXPECT_EQ(world->GetStartupPhase(), 2);
  world->SetPause(false);
  world->OnPlayloopTurn();
  EXPECT_EQ(world->GetStartupPhase(), 1);
  EXPECT_FALSE(world->IsStartupWindow());
  world->OnPlayloopTurn();
  // The welcome window.
  EXPECT_EQ(world->GetStartupPhase(), 0);
  EXPECT_TRUE(world->IsPause());
}

namespace {

std::vector<std::string> ExpectedFanOut(const STime& now, bool newYear) {
  std::vector<std::string> e;
  std::string h(1, ' ');
  h += zortest::Hour(now);
  if (now.hour % 3 == 0) e.push_back("Indikatoren.messages");
  for (const char* name : {"ParkManagement", "StadtVerwaltung", "Opnv", "Carsharing", "ParkRide", "ZorviZentrale",
                           "AktiveRP", "PassiveRP", "Umland", "StadtVerwaltung", "Pta", "Indikatoren", "Finanzen"})
    e.push_back(std::string(name) + ".hour" + h);
  e.push_back("DataExchange.general" + h);
  if (now.hour == 7 || now.hour == 12 || now.hour == 17) e.push_back("DataExchange.matrix" + h);
  if (now.hour % 4 == 0) e.push_back("Statistik.hour" + h);
  if (newYear)
    for (const char* name : {"Carsharing", "AktiveRP", "PassiveRP", "Pta", "PassiveRP", "ZorviZentrale",
                             "ParkManagement", "StadtVerwaltung", "Opnv", "Finanzen"})
      e.push_back(std::string(name) + ".year" + h);
  if (now.hour % 4 == 0) e.push_back("Statistik.finances" + h);
  return e;
}

}  // namespace

TEST_F(WorldTurnTest, StartupWindowsThatDoNotExistHoldNothing) {
  Start("", false);
  for (int i = 0; i < 3; ++i) world->OnPlayloopTurn();
  EXPECT_EQ(world->GetStartupPhase(), 0);
  EXPECT_FALSE(world->IsPause());
  EXPECT_FALSE(world->IsStartupWindow());
  // The game runs: the first running turn was an hour change.
  EXPECT_FALSE(CallLog().empty());
}

TEST_F(WorldTurnTest, HourlyFanOutRunsInItsFixedOrderOverSeveralDays) {
  Start();
  PassStartup();
  // The first running turn counts as an hour change.
  CallLog().clear();
  zortest::Clock().Advance(10);
  world->OnPlayloopTurn();
  EXPECT_EQ(CallLog(), ExpectedFanOut(STime::FromDate(world->GetSimWelt()->Date()), false));

  int matrices = 0, years = 0, hours = 0;
  STime last = STime::FromDate(world->GetSimWelt()->Date());
  for (int step = 0; step < 40; ++step) {
    ASSERT_TRUE(RunOneHour()) << "hour " << step;
    CallLog().clear();
    zortest::Clock().Advance(100);
    world->OnPlayloopTurn();
    const STime now = STime::FromDate(world->GetSimWelt()->Date());
    ASSERT_GE(now.hour, 5);
    ASSERT_LE(now.hour, 20);
    const bool newYear = now.year != last.year;
    EXPECT_EQ(CallLog(), ExpectedFanOut(now, newYear)) << "at " << zortest::Hour(now);
    matrices += static_cast<int>(std::count(CallLog().begin(), CallLog().end(), "DataExchange.matrix " + zortest::Hour(now)));
    years += newYear ? 1 : 0;
    ++hours;
    last = now;
  }
  // 40 hours from the start cover more than two days of 16 hours each.
  EXPECT_EQ(hours, 40);
  EXPECT_GE(years, 2);
  EXPECT_GE(matrices, 6);
}

TEST_F(WorldTurnTest, HoursAreStartedByRealTimeAtTheGameSpeed) {
  Start("GAMESPEED=12000\n");
  PassStartup();
  world->OnPlayloopTurn();
  const int start = SimTicks();
  // Not yet: 12000 ms must be exceeded.
  for (int i = 0; i < 12; ++i) {
    zortest::Clock().Advance(1000);
    world->OnPlayloopTurn();
  }
  EXPECT_EQ(world->GetCalculatedPending(), 0);
  EXPECT_EQ(SimTicks(), start);
  zortest::Clock().Advance(1);
  world->OnPlayloopTurn();
  EXPECT_GT(world->GetCalculatedPending(), 0);
  EXPECT_EQ(world->GetAccumulatedTime(), 0);
}

TEST_F(WorldTurnTest, PauseAndHoldStopTheSimulationAndTheirTimeCountsAfterwards) {
  Start("GAMESPEED=12000\n");
  PassStartup();
  world->OnPlayloopTurn();
  const int start = SimTicks();
  world->SetPause(true);
  for (int i = 0; i < 50; ++i) {
    zortest::Clock().Advance(1000);
    world->OnPlayloopTurn();
  }
  EXPECT_EQ(world->GetCalculatedPending(), 0);
  EXPECT_EQ(SimTicks(), start);
  world->SetPause(false);
  world->SetBlocked(1);
  for (int i = 0; i < 20; ++i) {
    zortest::Clock().Advance(1000);
    world->OnPlayloopTurn();
  }
  EXPECT_EQ(SimTicks(), start);
  world->SetBlocked(0);
  // The whole hold is added at the first running turn: the hour starts at once.
  zortest::Clock().Advance(1);
  world->OnPlayloopTurn();
  EXPECT_GT(world->GetCalculatedPending(), 0);
  ASSERT_TRUE(RunOneHour());
  EXPECT_EQ(SimTicks(), start + 1);
}

TEST_F(WorldTurnTest, AutoSaveEveryTwoMinutesUnlessPaused) {
  Start();
  PassStartup();
  world->OnPlayloopTurn();
  EXPECT_EQ(world->autoSaves, 0);
  zortest::Clock().Advance(120000);
  world->OnPlayloopTurn();
  EXPECT_EQ(world->autoSaves, 0);  // due only after more than 120000 ms
  zortest::Clock().Advance(1);
  world->OnPlayloopTurn();
  EXPECT_EQ(world->autoSaves, 1);
  world->SetPause(true);
  zortest::Clock().Advance(120001);
  world->OnPlayloopTurn();
  EXPECT_EQ(world->autoSaves, 1);  // skipped while paused...
  world->SetPause(false);
  zortest::Clock().Advance(60000);
  world->OnPlayloopTurn();
  EXPECT_EQ(world->autoSaves, 1);  // ...and the next one is due two minutes later
  zortest::Clock().Advance(60001);
  world->OnPlayloopTurn();
  EXPECT_EQ(world->autoSaves, 2);
}

TEST_F(WorldTurnTest, IndicatorsWaitTenHourChangesAfterALoad) {
  Start();
  PassStartup();
  zortest::Clock().Advance(10);
  world->OnPlayloopTurn();
  world->ResetAfterLoad();
  // The first turn after a load counts as the first hour change.
  CallLog().clear();
  zortest::Clock().Advance(10);
  world->OnPlayloopTurn();
  EXPECT_EQ(std::count(CallLog().begin(), CallLog().end(), "Finanzen.hour " + zortest::Hour(STime::FromDate(world->GetSimWelt()->Date()))), 1);
  int runs = 0;
  for (int change = 2; change <= 11; ++change) {
    CallLog().clear();
    ASSERT_TRUE(RunOneHour());
    zortest::Clock().Advance(100);
    world->OnPlayloopTurn();
    const STime now = STime::FromDate(world->GetSimWelt()->Date());
    const bool ran =
        std::count(CallLog().begin(), CallLog().end(), "Indikatoren.hour " + zortest::Hour(now)) > 0;
    runs += ran ? 1 : 0;
    EXPECT_EQ(ran, change == 11) << "hour change " << change;
  }
  EXPECT_EQ(runs, 1);
}

TEST_F(WorldTurnTest, ExhibitionModeStartsFastOnItsOwnWindow) {
  Start("EXPO=1\nLANGUAGE=1\nTIMEOUT=90\nRATING=5\n");
  EXPECT_EQ(world->GetGameSpeed(), 3000);
  EXPECT_EQ(world->GetGottModus()->GetGameModus(), GAME_EXPO);
  EXPECT_EQ(world->GetGottModus()->m_ExpoTimeOut, 90);
  EXPECT_EQ(world->GetGottModus()->m_ExpoRatingTime, 5000);
  EXPECT_EQ(g_ZoomStufe, ISO_ZOOM_2);
  g_ZoomStufe = ISO_ZOOM_1;
}

TEST_F(WorldTurnTest, HundredTurnsBetweenStartupAndShutdown) {
  // Under the sanitizer build the process end checks that nothing leaked.
  Start();
  PassStartup();
  for (int i = 0; i < 100; ++i) {
    zortest::Clock().Advance(500);
    EXPECT_EQ(world->OnPlayloopTurn(), 0);
  }
  EXPECT_GE(SimTicks(), 1);
}

TEST_F(WorldTurnTest, FreeScreenSizeNeedsBothDimensions) {
  Start("AUFLOESUNG=1280\nAUFLOESUNGX=1280\nAUFLOESUNGY=1024\nFULLSCREEN=1\n");
  EXPECT_EQ(world->GetScreen()->w, 1280);
  EXPECT_EQ(world->GetScreen()->h, 1024);
  int w = 0, h = 0;
  world->GetWindowSizeXY(w, h);
  EXPECT_EQ(w, 1280);
  EXPECT_EQ(world->GetWindowMode(), 1);
  const std::string ini = zortest::ReadFile("ZORVANTA.INI");
  EXPECT_NE(ini.find("FULLSCREEN=1\n"), std::string::npos);
  EXPECT_NE(ini.find("AUFLOESUNGY=1024\n"), std::string::npos);
}

TEST_F(WorldTurnTest, FreeScreenSizeWithoutHeightFallsBackToTheDefault) {
  Start("AUFLOESUNG=1280\nAUFLOESUNGX=1280\nAUFLOESUNGY=0\nFULLSCREEN=\n");
  EXPECT_EQ(world->GetScreen()->w, 800);
  EXPECT_EQ(world->GetScreen()->h, 600);
  EXPECT_EQ(world->GetWindowMode(), 0);
  const std::string ini = zortest::ReadFile("ZORVANTA.INI");
  EXPECT_NE(ini.find("FULLSCREEN=0\n"), std::string::npos);
  EXPECT_NE(ini.find("AUFLOESUNG=800\n"), std::string::npos);
}

TEST_F(WorldTurnTest, LanguageOtherThanEnglishIsGerman) {
  Start("LANGUAGE=2\n");
  EXPECT_EQ(CZorvaWorld::m_Language, 0);
}
