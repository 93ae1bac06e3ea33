#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "gui/gui_host.h"
#include "framework/qno_display.h"
#include "framework/qno_log.h"
#include "framework/zor_seams.h"
#include "gui/screen_window.h"
#include "measures/miet_micro.h"
#include "measures/traffic_display.h"
#include "microsim/micro_simulation.h"
#include "model/data_exchange.h"
#include "network/rail_junction_list.h"
#include "network/str_junction_list.h"
#include "sim/sim_location_factory.h"
#include "sim/sim_welt.h"
#include "support/test_support.h"
#include "iso/iso_welt.h"
#include "measures/advice_centre.h"
#include "measures/carsharing.h"
#include "measures/pta.h"
#include "model/finanzen.h"
#include "model/gott_modus.h"
#include "ui/user_int.h"
#include "world/zor_sim_parts.h"
#include "world/zor_sound.h"
#include "world_recorder.h"

namespace zortest {

std::vector<std::string>& CallLog() {
  static std::vector<std::string> log;
  return log;
}

std::vector<std::string>& SideLog() {
  static std::vector<std::string> log;
  return log;
}

std::string Hour(const STime& t) { return std::to_string(t.year) + ":" + std::to_string(t.hour); }

}  // namespace zortest

namespace {

using zortest::CallLog;

struct RecDataExchange : CDataExchange {
  int Destroy() override {
    zortest::SideLog().push_back("DataExchange.destroy");
    return CDataExchange::Destroy();
  }
  int CalculateGeneral(STime now, STime last) override {
    CallLog().push_back("DataExchange.general " + zortest::Hour(now));
    return CDataExchange::CalculateGeneral(now, last);
  }
  int CalculateNextMatrix(STime now, STime last) override {
    CallLog().push_back("DataExchange.matrix " + zortest::Hour(now));
    return CDataExchange::CalculateNextMatrix(now, last);
  }
};

using zortest::SideLog;

// The owned objects that are no measures: each records its Destroy.
struct RecSound : CSoundObj {
  int Destroy() override {
    SideLog().push_back("Sound.destroy");
    return CSoundObj::Destroy();
  }
};
struct RecLocationFactory : CSimLocationFactory {
  bool Destroy() override {
    SideLog().push_back("LocationFactory.destroy");
    return CSimLocationFactory::Destroy();
  }
};
struct RecStreetNet : CStrJunctionList {
  using CStrJunctionList::CStrJunctionList;
  int BerechneISOAuslastung() override {
    ++evaluations;
    return CStrJunctionList::BerechneISOAuslastung();
  }
  int UpdateCarFlow24(int hour) override {
    hours.push_back(hour);
    return CStrJunctionList::UpdateCarFlow24(hour);
  }
  int UpdateCarFlow() override {
    ++pulls;
    return CStrJunctionList::UpdateCarFlow();
  }
  int evaluations = 0, pulls = 0;
  std::vector<int> hours;
  int Destroy() override {
    SideLog().push_back("StreetNet.destroy");
    return CStrJunctionList::Destroy();
  }
};
struct RecRailNet : CStrSchJuncList {
  using CStrSchJuncList::CStrSchJuncList;
  int Create() override {
    SideLog().push_back("RailNet.create");
    return CStrSchJuncList::Create();
  }
  int Destroy() override {
    SideLog().push_back("RailNet.destroy");
    return CStrSchJuncList::Destroy();
  }
};
struct RecMicroSim : CMicroSimulation {
  int Create() override {
    SideLog().push_back("MicroSim.create");
    return CMicroSimulation::Create();
  }
  int Destroy() override {
    SideLog().push_back("MicroSim.destroy");
    return CMicroSimulation::Destroy();
  }
};
struct RecUserInt : CUserInt {
  int Destroy() override {
    SideLog().push_back("UserInt.destroy");
    return CUserInt::Destroy();
  }
  int UpdateStreet24h(int hour) override {
    SideLog().push_back("UserInt.street24 " + std::to_string(hour));
    return CUserInt::UpdateStreet24h(hour);
  }
};
struct RecMessage : CMessage {
  int CheckWaitMessage() override {
    SideLog().push_back("Message.checkWait");
    return CMessage::CheckWaitMessage();
  }
};

class TurnWorld : public zortest::RecordingWorld {
 public:
  // The savegames asked for: "auto", "startup" or a file name.
  std::vector<std::string> loads;
  bool autoSaveExists = false;
  bool CheckForAutoLoadGame() override { return autoSaveExists; }
  int AutoLoadGame(bool fast) override {
    loads.push_back(fast ? "auto fast" : "auto");
    return 0;
  }
  int LoadStartupGame() override {
    loads.push_back("startup");
    return 0;
  }
  using CZorvaWorld::SerializeGameLoad;
  int SerializeGameLoad(const char* name) override {
    loads.push_back(name);
    return CZorvaWorld::SerializeGameLoad(name);
  }

 protected:
  CDataExchange* NewDataExchange() override { return new RecDataExchange; }
  CSoundObj* NewSoundObj() override { return new RecSound; }
  CSimLocationFactory* NewLocationFactory() override { return new RecLocationFactory; }
  CStrJunctionList* NewStreetNet() override { return new RecStreetNet(GetIsoWelt(), GetSimWelt()); }
  CStrSchJuncList* NewRailNet() override { return new RecRailNet(GetIsoWelt(), GetSimWelt()); }
  CMicroSimulation* NewMicroSim() override { return new RecMicroSim; }
  CUserInt* NewUserInt() override { return new RecUserInt; }
  CMessage* NewMessage() override { return new RecMessage; }
};

// A simulation whose slot counter stands where 16 bits end: each hour the
// turn starts reports the next of `ids` as its slot id.
struct LongRunSim : CSimWelt {
  using CSimWelt::CSimWelt;
  std::vector<int> ids;
  size_t next = 0;
  int StartNextIntervall(bool step) override {
    const int started = CSimWelt::StartNextIntervall(step);
    if (started == 0 || next >= ids.size()) return started;
    return ids[next++];
  }
};

class LongRunWorld : public TurnWorld {
 public:
  LongRunSim* Sim() { return dynamic_cast<LongRunSim*>(GetSimWelt()); }

 protected:
  CSimWelt* NewSimWelt() override {
    if (!m_pSimParts) m_pSimParts = new CZorWorldSimParts(m_pResourceManager);
    return new LongRunSim(m_pSimParts);
  }
};

// A world whose screen refuses the widths the test names.
class PickyScreenWorld : public TurnWorld {
 public:
  static std::vector<int> refused;

 protected:
  SDL_Surface* OpenScreenSurface(int width, int height, bool fullScreen, bool hardware) override {
    if (std::find(refused.begin(), refused.end(), width) != refused.end()) return nullptr;
    return TurnWorld::OpenScreenSurface(width, height, fullScreen, hardware);
  }
};
std::vector<int> PickyScreenWorld::refused;

struct WorldTurnTest : testing::Test {
  TurnWorld* world = nullptr;

  void SetUp() override {
    OpenErrorLog("errors.log");
    std::strcpy(CZorvaWorld::m_sIniFile, "ZORVANTA.INI");
    CallLog().clear();
    SideLog().clear();
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
  // make builds the world once the settings are written; null makes a TurnWorld.
  void Start(const std::string& settings = "", bool windows = true, TurnWorld* (*make)() = nullptr) {
    zortest::WriteGameSettings(settings);
    world = make ? make() : new TurnWorld;
    ASSERT_EQ(world->Create(), 0);
    ASSERT_EQ(world->OnStartup(), 0);
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

  // Ends the running world as the program does.
  void End() {
    world->OnShutdown();
    world->Destroy();
    delete world;
    world = nullptr;
  }

  int SimTicks() { return static_cast<int>(world->GetSimWelt()->Date()); }

  int Count(const std::vector<std::string>& log, const std::string& prefix) {
    return static_cast<int>(
        std::count_if(log.begin(), log.end(), [&](const std::string& e) { return e.rfind(prefix, 0) == 0; }));
  }

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
  world->GetUserInt()->selObj.welcome[0] = world->GetUserInt()->selObj.welcome[1] = 1;
  world->OnPlayloopTurn();
  // The title window holds the game until it is closed; the welcome is
  // still to be answered.
  EXPECT_EQ(world->GetStartupPhase(), 2);
  EXPECT_EQ(world->GetUserInt()->selObj.welcome[0], 0);
  EXPECT_EQ(world->GetUserInt()->selObj.welcome[1], 0);
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
  // Each takes one turn an hour and closes its year once.
  for (const char* name : {"ParkManagement", "StadtVerwaltung", "Opnv", "Carsharing", "ParkRide", "ZorviZentrale",
                           "AktiveRP", "PassiveRP", "Umland", "Pta", "Indikatoren", "Finanzen"})
    e.push_back(std::string(name) + ".hour" + h);
  e.push_back("DataExchange.general" + h);
  if (now.hour == 7 || now.hour == 12 || now.hour == 17) e.push_back("DataExchange.matrix" + h);
  if (now.hour % 4 == 0) e.push_back("Statistik.hour" + h);
  if (newYear)
    for (const char* name : {"Carsharing", "AktiveRP", "PassiveRP", "Pta", "ZorviZentrale", "ParkManagement",
                             "StadtVerwaltung", "Opnv", "Finanzen"})
      e.push_back(std::string(name) + ".year" + h);
  if (now.hour % 4 == 0) e.push_back("Statistik.finances" + h);
  return e;
}

}  // namespace

TEST_F(WorldTurnTest, IntroVideoTakesThePlaceOfTheTitleWindow) {
  std::filesystem::create_directory("movies");
  zortest::WriteFile("movies/vorspann.mpg", "intro");
  Start("VIDEO=0\nMOVIEPATH=movies\n");
  world->OnPlayloopTurn();
  EXPECT_EQ(world->GetStartupPhase(), 2);
  EXPECT_FALSE(world->IsPause());
  EXPECT_FALSE(world->IsStartupWindow());
  // The start-up goes on at the next turn.
  world->OnPlayloopTurn();
  EXPECT_EQ(world->GetStartupPhase(), 1);
}

TEST_F(WorldTurnTest, TitleWindowOpensWhenTheVideoIsOffOrMissing) {
  std::filesystem::create_directory("movies");
  zortest::WriteFile("movies/vorspann.mpg", "intro");
  for (const char* settings : {"VIDEO=1\nMOVIEPATH=movies\n", "MOVIEPATH=movies\n", "VIDEO=0\nMOVIEPATH=none\n"}) {
    if (world) End();
    Start(settings);
    world->OnPlayloopTurn();
    EXPECT_EQ(world->GetStartupPhase(), 2) << settings;
    EXPECT_TRUE(world->IsPause()) << settings;
    EXPECT_TRUE(world->IsStartupWindow()) << settings;
  }
}

TEST_F(WorldTurnTest, SavedGameIsLoadedAtStartupOnlyWhenAskedFor) {
  auto loadsAtStartup = [&](const std::string& settings, bool saved) {
    if (world) End();
    Start(settings);
    world->autoSaveExists = saved;
    world->OnPlayloopTurn();
    world->SetPause(false);
    EXPECT_TRUE(world->loads.empty());
    world->OnPlayloopTurn();
    EXPECT_EQ(world->GetStartupPhase(), 1);
    return world->loads;
  };
  using Loads = std::vector<std::string>;
  EXPECT_EQ(loadsAtStartup("", true), Loads{});
  EXPECT_EQ(loadsAtStartup("AUTOLOAD=1\n", true), Loads{"auto"});
  EXPECT_EQ(loadsAtStartup("AUTOLOAD=1\n", false), Loads{"startup"});
  EXPECT_EQ(loadsAtStartup("AUTOLOAD=2\n", true), Loads{});
  EXPECT_EQ(loadsAtStartup("AUTOLOAD=yes\n", true), Loads{});
}

TEST_F(WorldTurnTest, NoTurnBeforeGodModeExists) {
  zortest::WriteGameSettings();
  world = new TurnWorld;
  ASSERT_EQ(world->Create(), 0);
  EXPECT_EQ(world->OnStartOfCycle(), 0);
  EXPECT_EQ(world->OnPlayloopTurn(), 1);
  EXPECT_TRUE(CallLog().empty());
  EXPECT_TRUE(SideLog().empty());
}

TEST_F(WorldTurnTest, StartupWindowsThatDoNotExistHoldNothing) {
  Start("", false);
  // The builders made the title and welcome windows; without them:
  for (int id : {249, 237, 246}) {
    CScreenWindow* w = CUserInt::topWindow->GetWindowByID(id);
    ASSERT_NE(w, nullptr) << id;
    ASSERT_EQ(CUserInt::topWindow->GetChildren()->DestroyElement(w), 0) << id;
  }
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
  // The clock stands still within the turn, so its budget for computing
  // never runs out: the hour is computed and made active in that turn.
  EXPECT_EQ(SimTicks(), start + 1);
  EXPECT_EQ(world->GetCalculatedPending(), 0);
  EXPECT_EQ(world->GetAccumulatedTime(), 0);
}

TEST_F(WorldTurnTest, HoursGoOnWhenTheSlotCounterOutgrowsSixteenBits) {
  Start("GAMESPEED=12000\n", true, []() -> TurnWorld* { return new LongRunWorld; });
  PassStartup();
  auto* longRun = static_cast<LongRunWorld*>(world);
  ASSERT_NE(longRun->Sim(), nullptr);
  // 32767 is the last positive 16-bit value; 65536 is 0 in 16 bits.
  longRun->Sim()->ids = {32767, 32768, 40000, 65535, 65536, 98304};
  world->OnPlayloopTurn();
  const int start = SimTicks();
  for (int hour = 1; hour <= 6; ++hour) {
    ASSERT_TRUE(RunOneHour()) << "hour " << hour << " after slot id " << longRun->Sim()->ids[hour - 1];
    EXPECT_EQ(SimTicks(), start + hour);
  }
  EXPECT_EQ(longRun->Sim()->next, 6u);
}

TEST_F(WorldTurnTest, PauseAndHoldStopTheSimulationAndTheirTimeCountsAfterwards) {
  Start("GAMESPEED=12000\n");
  PassStartup();
  world->OnPlayloopTurn();
  const int start = SimTicks();
  world->SetPause(true);
  SideLog().clear();
  for (int i = 0; i < 50; ++i) {
    zortest::Clock().Advance(1000);
    world->OnPlayloopTurn();
  }
  EXPECT_EQ(world->GetCalculatedPending(), 0);
  EXPECT_EQ(SimTicks(), start);
  // Waiting messages are not looked at while the game is held.
  EXPECT_EQ(Count(SideLog(), "Message.checkWait"), 0);
  world->SetPause(false);
  world->SetBlocked(1);
  for (int i = 0; i < 20; ++i) {
    zortest::Clock().Advance(1000);
    world->OnPlayloopTurn();
  }
  EXPECT_EQ(SimTicks(), start);
  world->SetBlocked(0);
  EXPECT_EQ(Count(SideLog(), "Message.checkWait"), 0);
  // The whole hold is added at the first running turn: the hour starts at once.
  zortest::Clock().Advance(1);
  world->OnPlayloopTurn();
  EXPECT_EQ(SimTicks(), start + 1);
  EXPECT_EQ(world->GetCalculatedPending(), 0);
  EXPECT_EQ(Count(SideLog(), "Message.checkWait"), 1);
}

TEST_F(WorldTurnTest, StreetDayViewFollowsEachHourOnce) {
  Start();
  PassStartup();
  SideLog().clear();
  std::vector<std::string> expected;
  auto hourNow = [&] { return STime::FromDate(world->GetSimWelt()->Date()).hour; };
  // The first running turn counts as an hour change.
  zortest::Clock().Advance(10);
  world->OnPlayloopTurn();
  expected.push_back("UserInt.street24 " + std::to_string(hourNow()));
  for (int step = 0; step < 3; ++step) {
    ASSERT_TRUE(RunOneHour());
    for (int i = 0; i < 5; ++i) {
      zortest::Clock().Advance(100);
      world->OnPlayloopTurn();
    }
    expected.push_back("UserInt.street24 " + std::to_string(hourNow()));
  }
  // So does the first turn after a load.
  world->ResetAfterLoad();
  for (int i = 0; i < 3; ++i) {
    zortest::Clock().Advance(10);
    world->OnPlayloopTurn();
  }
  expected.push_back("UserInt.street24 " + std::to_string(hourNow()));
  std::vector<std::string> seen;
  for (const std::string& e : SideLog())
    if (e.rfind("UserInt.street24", 0) == 0) seen.push_back(e);
  EXPECT_EQ(seen, expected);
}

TEST_F(WorldTurnTest, TheStreetNetworkEvaluatesEveryTurnAndPullsAndSmoothsEveryHour) {
  Start();
  PassStartup();
  auto* net = static_cast<RecStreetNet*>(world->GetStreetNet());
  ASSERT_NE(net, nullptr);
  auto hourNow = [&] { return STime::FromDate(world->GetSimWelt()->Date()).hour; };
  zortest::Clock().Advance(10);
  world->OnPlayloopTurn();
  net->evaluations = net->pulls = 0;
  net->hours.clear();
  std::vector<int> expectedHours;
  int turns = 0;
  for (int step = 0; step < 3; ++step) {
    const int before = net->evaluations;
    ASSERT_TRUE(RunOneHour());
    turns += net->evaluations - before;
    // The hour that just became active was pulled in the turn that
    // activated it; the next turn smooths it.
    EXPECT_EQ(net->pulls, step + 1);
    EXPECT_EQ(net->hours, expectedHours);
    zortest::Clock().Advance(100);
    world->OnPlayloopTurn();
    ++turns;
    expectedHours.push_back(hourNow());
    EXPECT_EQ(net->hours, expectedHours);
  }
  EXPECT_EQ(net->evaluations, turns);
  EXPECT_GT(turns, 3);
}

// From the start, and from 150 s before the tick count wraps (49.7 days
// of running): the pacing goes on across the wrap.
TEST_F(WorldTurnTest, AutoSaveEveryTwoMinutesUnlessPaused) {
  for (const uint32_t start : {0u, 0u - 150000u}) {
    SCOPED_TRACE(start);
    zortest::Clock().Set(start);
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
    End();
  }
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
  EXPECT_EQ(world->GetGameSpeedMs(), 3000);
  EXPECT_EQ(world->GetGottModus()->GetGameModus(), GAME_EXPO);
  EXPECT_EQ(world->GetGottModus()->m_ExpoTimeOut, 90);
  EXPECT_EQ(world->GetGottModus()->m_ExpoRatingTime, 5000);
  EXPECT_EQ(g_ZoomStufe, ISO_ZOOM_2);
  // The view opens on the exhibition town's centre.
  EXPECT_EQ(world->GetIsoWelt()->GetCenterX(), 42);
  EXPECT_EQ(world->GetIsoWelt()->GetCenterY(), 42);
  // The exhibition's game comes from the savegame folder.
  EXPECT_EQ(world->loads, std::vector<std::string>{"SaveGame/EXPO.EXD"});
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

TEST_F(WorldTurnTest, StartupCreatesEachMeasureAndModelObjectOnce) {
  Start("", false);
  const std::pair<const char*, CWorldObj*> objects[] = {
      {"AktiveRP", world->GetAktiveRP()},         {"Carsharing", world->GetCarsharing()},
      {"Finanzen", world->GetFinanzen()},         {"Indikatoren", world->GetIndikatoren()},
      {"MietMicro", world->GetMietMicro()},       {"ZorviZentrale", world->GetZorviZentrale()},
      {"Opnv", world->GetOpnv()},                 {"ParkRide", world->GetParkRide()},
      {"PassiveRP", world->GetPassiveRP()},       {"Pta", world->GetPta()},
      {"ParkManagement", world->GetParkManagement()}, {"StadtVerwaltung", world->GetStadtVerwaltung()},
      {"TrafficDisplay", world->GetTrafficDisplay()}, {"Umland", world->GetUmland()}};
  for (const auto& [name, object] : objects) {
    ASSERT_NE(object, nullptr) << name;
    EXPECT_EQ(object->GetAllocCount(), 1) << name;
    EXPECT_STREQ(object->GetSoundName(), "Wind") << name;
  }
  // The networks and the micro simulation are made once each.
  EXPECT_EQ(std::count(SideLog().begin(), SideLog().end(), "RailNet.create"), 1);
  EXPECT_EQ(std::count(SideLog().begin(), SideLog().end(), "MicroSim.create"), 1);
  // The screen size the display opened with is stored, all three keys.
  const std::string settings = zortest::ReadFile("ZORVANTA.INI");
  for (const char* line : {"AUFLOESUNG=800\n", "AUFLOESUNGX=800\n", "AUFLOESUNGY=600\n"})
    EXPECT_NE(settings.find(line), std::string::npos) << line;
  // The start-up ends with the indicators' standard message and maps.
  ASSERT_GE(SideLog().size(), 2u);
  EXPECT_EQ(std::vector<std::string>(SideLog().end() - 2, SideLog().end()),
            (std::vector<std::string>{"Indikatoren.standardMessage", "Indikatoren.maps"}));
}

TEST_F(WorldTurnTest, ShutdownDestroysTheOwnedObjectsInItsFixedOrder) {
  Start("", false);
  ASSERT_NE(world->CreateObjectEmpty(), nullptr);
  SideLog().clear();
  EXPECT_EQ(world->OnShutdown(), 0);
  EXPECT_EQ(world->GetSoundObj(), nullptr);
  EXPECT_EQ(world->Destroy(), 0);
  EXPECT_EQ(SideLog(), (std::vector<std::string>{
                           "Sound.destroy", "LocationFactory.destroy", "AktiveRP.destroy", "Carsharing.destroy",
                           "Finanzen.destroy", "Indikatoren.destroy", "ZorviZentrale.destroy", "Opnv.destroy",
                           "ParkRide.destroy", "PassiveRP.destroy", "ParkManagement.destroy", "Pta.destroy",
                           "StadtVerwaltung.destroy", "Umland.destroy", "StreetNet.destroy", "RailNet.destroy",
                           "MicroSim.destroy", "UserInt.destroy", "DataExchange.destroy"}));
  // Every object is gone, the shared ground included.
  EXPECT_EQ(world->GetGroundObject(), nullptr);
  EXPECT_EQ(world->GetObjectList(), nullptr);
  EXPECT_EQ(world->GetLocationFactory(), nullptr);
  EXPECT_EQ(world->GetStreetNet(), nullptr);
  EXPECT_EQ(world->GetRailNet(), nullptr);
  EXPECT_EQ(world->GetMicroSim(), nullptr);
  EXPECT_EQ(world->GetIsoWelt(), nullptr);
  EXPECT_EQ(world->GetSimWelt(), nullptr);
  EXPECT_EQ(world->GetUserInt(), nullptr);
  EXPECT_EQ(world->GetDataExchange(), nullptr);
  EXPECT_EQ(world->GetStatistik(), nullptr);
  EXPECT_EQ(world->GetOpnv(), nullptr);
  EXPECT_EQ(world->GetMietMicro(), nullptr);
  EXPECT_EQ(world->GetTrafficDisplay(), nullptr);
  delete world;
  world = nullptr;
}

TEST_F(WorldTurnTest, WindowModeSwitchReopensTheScreenAtTheNewSize) {
  Start("", false);
  const bool audio = world->GetSoundObj()->GetSoundInstall();
  auto size = [&] {
    int w = 0, h = 0;
    world->GetWindowSizeXY(w, h);
    return std::to_string(world->GetScreen()->w) + "x" + std::to_string(world->GetScreen()->h) + " " +
           std::to_string(world->GetDisplay()->GetScreenWidth()) + "x" +
           std::to_string(world->GetDisplay()->GetScreenHeight()) + " " + std::to_string(w) + "x" +
           std::to_string(h) + " mode " + std::to_string(world->GetWindowMode());
  };
  auto saved = [](const char* line) {
    return zortest::ReadFile("ZORVANTA.INI").find(line) != std::string::npos;
  };
  EXPECT_EQ(world->SetWindowMode(1024, 0, 0), 0);
  EXPECT_EQ(size(), "1024x768 1024x768 1024x768 mode 2");
  EXPECT_TRUE(saved("AUFLOESUNG=1024\n"));
  EXPECT_TRUE(saved("AUFLOESUNGX=1024\n"));
  EXPECT_TRUE(saved("AUFLOESUNGY=768\n"));
  EXPECT_EQ(world->GetSoundObj()->GetSoundInstall(), audio);
  // A negative mode takes the size given.
  EXPECT_EQ(world->SetWindowMode(-1, 900, 700), 0);
  EXPECT_EQ(size(), "900x700 900x700 900x700 mode 1");
  EXPECT_TRUE(saved("AUFLOESUNGX=900\n"));
  EXPECT_TRUE(saved("AUFLOESUNGY=700\n"));
  EXPECT_EQ(world->SetWindowMode(640, 0, 0), 0);
  EXPECT_EQ(size(), "640x480 640x480 640x480 mode 1");
  // Any other mode is 800 x 600, whatever size comes with it.
  EXPECT_EQ(world->SetWindowMode(333, 1280, 1024), 0);
  EXPECT_EQ(size(), "800x600 800x600 800x600 mode 0");
  EXPECT_TRUE(saved("AUFLOESUNGY=600\n"));
  // Reopening the view alone answers true and gives the new surface.
  EXPECT_TRUE(world->ReOpenView(1024, 768, 16, false, false));
  EXPECT_EQ(world->GetScreen()->w, 1024);
  EXPECT_EQ(world->GetSoundObj()->GetSoundInstall(), audio);
}

TEST_F(WorldTurnTest, AScreenModeThatCannotOpenGivesBackTheOneThatWorked) {
  PickyScreenWorld::refused = {1024};
  Start("", false, []() -> TurnWorld* { return new PickyScreenWorld; });
  ASSERT_EQ(world->SetWindowMode(640, 0, 0), 0);
  EXPECT_EQ(world->SetWindowMode(1024, 0, 0), 1);
  int w = 0, h = 0;
  world->GetWindowSizeXY(w, h);
  EXPECT_EQ(std::make_pair(w, h), std::make_pair(640, 480));
  ASSERT_NE(world->GetScreen(), nullptr);
  EXPECT_EQ(world->GetScreen()->w, 640);
  // The display draws into the surface that is open, not the freed one.
  EXPECT_EQ(world->GetDisplay()->GetRenderBuffer()->GetSurface(), world->GetScreen());
  EXPECT_EQ(world->GetDisplay()->GetScreenWidth(), 640);
  const std::string settings = zortest::ReadFile("ZORVANTA.INI");
  EXPECT_NE(settings.find("AUFLOESUNG=640\n"), std::string::npos);
  EXPECT_EQ(settings.find("AUFLOESUNG=1024"), std::string::npos) << "the failed size is not stored";
  EXPECT_EQ(world->Render(world->GetDisplay()), 0);
  // A size that opens still works afterwards.
  EXPECT_EQ(world->SetWindowMode(800, 0, 0), 0);
  EXPECT_EQ(world->GetScreen()->w, 800);
}

TEST_F(WorldTurnTest, WithoutAnyScreenTheGameEndsWithAMessageAndKeepsTheSize) {
  PickyScreenWorld::refused = {640, 800, 1024};
  Start("", false, []() -> TurnWorld* { return new PickyScreenWorld; });
  const std::string before = zortest::ReadFile("ZORVANTA.INI");
  testing::internal::CaptureStdout();
  EXPECT_ANY_THROW(world->SetWindowMode(1024, 0, 0));
  const std::string printed = testing::internal::GetCapturedStdout();
  EXPECT_NE(printed.find("Could not open X11 Display"), std::string::npos) << printed;
  EXPECT_EQ(zortest::ReadFile("ZORVANTA.INI"), before);
  EXPECT_EQ(world->GetScreen(), nullptr);
  EXPECT_EQ(world->GetDisplay()->GetRenderBuffer()->GetSurface(), nullptr);
  PickyScreenWorld::refused.clear();
}

TEST_F(WorldTurnTest, EveryStartSeedsTheRandomSourceFromTheStartupSeed) {
  Start("", false);
  const int first = zor_random();
  End();
  zor_srandom(999);  // whatever came before, the next start seeds again
  Start("", false);
  EXPECT_EQ(zor_random(), first);
}

TEST_F(WorldTurnTest, TheSystemMouseCursorHidesUnlessSdlMouseIsOn) {
  Start("", false);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE) << "the game draws its own cursor";
  world->ReOpenView(800, 600, 16, false, false);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE) << "also after a new screen";
  End();
  Start("SDLMOUSE=1\n", false);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
  world->ReOpenView(800, 600, 16, false, false);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
}

TEST_F(WorldTurnTest, WindowVariablesStartUnboundUnlessTheNameIsAnObject) {
  Start();
  world->AddItem(249, -1, 0, 0, 80, 10, 7, "@#var,INT,NULL,F.KONTO#", HO_LEFT, VO_CENTER, 3, 823, 0, 1, 2, 3,
                 nullptr);
  EXPECT_EQ(world->AddVar(249, -1, -2, VAR_INT, "NULL", "F.KONTO"), 0);
  CItem* item = CUserInt::topWindow->GetWindowByID(249)->GetItems()->GetItemByID(world->GetWindowBuilder().m_CurItem);
  ASSERT_NE(item, nullptr);
  ASSERT_EQ(item->GetVars()->GetCount(), 1);
  CWindowVar* var = item->GetVars()->GetHead();
  EXPECT_STREQ(var->GetName(), "F.KONTO");
  EXPECT_EQ(var->GetVarType(), VAR_INT);
  // A name that the data exchange owns is no window variable.
  EXPECT_EQ(world->AddVar(249, -1, -2, VAR_FLOAT, "DX.PEOPLE", "G"), 1);
  EXPECT_EQ(item->GetVars()->GetCount(), 1);
}

TEST_F(WorldTurnTest, StepSpacingFollowsTheGameSpeedWithinTheTurnsBudget) {
  // Turns from the start of an hour until it is activated, with each look
  // at the clock costing `readCost` ms.
  auto turnsToActivate = [&](int speed, uint32_t readCost) {
    if (world) End();
    Start("GAMESPEED=" + std::to_string(speed) + "\n");
    PassStartup();
    world->OnPlayloopTurn();
    zortest::Clock().Advance(speed + 1);
    const int start = SimTicks();
    zortest::Clock().SetReadCost(readCost);
    world->OnPlayloopTurn();
    int turns = 1;
    while (SimTicks() == start && turns < 100000) {
      world->OnPlayloopTurn();
      ++turns;
    }
    zortest::Clock().SetReadCost(0);
    EXPECT_EQ(world->GetCalculatedPending(), 0) << speed;
    return turns;
  };
  // A clock that stands still within a turn never ends its budget.
  for (int speed : {6999, 7000, 24000}) EXPECT_EQ(turnsToActivate(speed, 0), 1) << speed;
  // On a busy clock the budget ends each turn's computing. Above 6999 ms
  // the simulation waits 3 calls between two steps, else 1, and each call
  // looks at the clock: the slow game's hour takes more turns.
  const int fast = turnsToActivate(6999, 4);
  const int slow = turnsToActivate(7000, 4);
  EXPECT_GT(fast, 1);
  EXPECT_GT(slow, fast);
  EXPECT_EQ(turnsToActivate(24000, 4), slow);
}

TEST_F(WorldTurnTest, TheRunningGameAnswersTheWindowsThroughTheInterface) {
  Start();
  for (int id : {120, 220, 247}) world->AddWindow(id, 100, 100, 300, 100, 1, WINDOW_NORMAL, POSITION_CENTERED, 0);
  CGuiHost* host = CGuiHost::Get();
  EXPECT_FALSE(host->IsWindowOpen(120));
  CUserInt::topWindow->ActivateWindow(120, OVER_GROUP);
  EXPECT_TRUE(host->IsWindowOpen(120));
  EXPECT_EQ(world->GetUserInt()->IsWindowOpen(120), 0);

  world->GetUserInt()->SetAchtungWindow(68);
  EXPECT_TRUE(host->IsWindowOpen(220));
  ASSERT_NE(host->GetMessageText(23), nullptr);
  EXPECT_STREQ(host->GetMessageText(23), "Spielstand nicht vorhanden!");
  EXPECT_EQ(host->GetMessageText(40), nullptr);
  world->GetUserInt()->SetAchtungWindowJaNein(82);
  EXPECT_EQ(host->GetYesNoWarningNumber(), 82);
  ASSERT_NE(host->GetMessageText(40), nullptr);
  EXPECT_EQ(std::string(host->GetMessageText(40)).rfind("Wollen Sie wirklich ein neues Spiel", 0), 0u);

  EXPECT_STREQ(host->GetZorvaObjectName(2), "Flu\xDF");
  EXPECT_EQ(host->GetGameSpeed(), 30000 - world->GetGameSpeedMs());
  host->SetGameSpeed(20000);
  EXPECT_EQ(world->GetGameSpeedMs(), 10000);

  // What the windows ask of the interface reaches the running controller.
  CUserInt* ui = world->GetUserInt();
  host->SetViewFilter(3, true);
  EXPECT_EQ(ui->GetFilter(3), 1);
  host->SetDoLater(DOLATER_ZOOM_IN);
  EXPECT_EQ(CUserInt::selObj.doLater, DOLATER_ZOOM_IN);
  const unsigned char pinned = CUserInt::selObj.panelPinned;
  host->ToggleBottomPanelPinned();
  EXPECT_NE(CUserInt::selObj.panelPinned, pinned);
  host->SetBalloonHelp("Zoom", 10, 20, -1);
  EXPECT_STREQ(ui->GetBalloonText(), "Zoom");
  EXPECT_EQ(host->GetGameMode(), world->GetGottModus()->GetGameModus());
  host->SetPause(true);
  EXPECT_TRUE(world->IsPause());
  EXPECT_TRUE(host->IsPaused());

  End();
  EXPECT_FALSE(CGuiHost::Get()->IsWindowOpen(120)) << "the world's hosts leave with it";
  EXPECT_EQ(CGuiHost::Get()->GetZorvaObjectName(2), nullptr);
}

namespace {
// A window with one item that holds one variable of the game model.
CVar* WindowWithVariable(TurnWorld* world, int id) {
  world->AddWindow(id, 0, 0, 100, 100, 1, WINDOW_NORMAL, POSITION_FIXED, 0);
  world->AddItem(-2, -1, 0, 0, 10, 10, 1);
  auto* var = new CVar;
  var->Create(VAR_INTEGER, "NAME", static_cast<CVarOwner*>(nullptr));
  EXPECT_EQ(CUserInt::topWindow->AddVar(var, id, -1, 0), 0);
  return var;
}
}  // namespace

TEST_F(WorldTurnTest, WindowsOpenAndCloseWhileTheBuildersRun) {
  Start("", false);
  // The first builder made the root; a second root is refused.
  ASSERT_NE(CUserInt::topWindow, nullptr);
  EXPECT_EQ(CUserInt::topWindow, world->GetWindowBuilder().GetTopWindow());
  CScreenWindow* root = CUserInt::topWindow;
  world->AddWindow(1, 0, 0, 800, 600, -1, WINDOW_ROOT, POSITION_FIXED, 0);
  EXPECT_EQ(CUserInt::topWindow, root);
  // An id no builder uses.
  constexpr int kFreeId = 998;
  ASSERT_EQ(CUserInt::topWindow->GetWindowByID(kFreeId), nullptr);
  world->AddWindow(kFreeId, 10, 10, 100, 100, 1, WINDOW_NORMAL, POSITION_FIXED, 0);
  CScreenWindow* w = CUserInt::topWindow->GetWindowByID(kFreeId);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(world->ActivateWindow(kFreeId), 0);
  EXPECT_TRUE(w->IsActive());
  EXPECT_EQ(world->DeActivateWindow(kFreeId), 0);
  EXPECT_FALSE(w->IsActive());
  EXPECT_EQ(world->ActivateWindow(5), 0);  // no such window: nothing happens
  // An absent text or name may be written as NULL.
  world->AddDialog(kFreeId, 3, 0, 0, 50, 50, 1, NULL);
  world->AddItem(kFreeId, -1, 0, 0, 50, 12, 7, NULL, HO_LEFT, VO_CENTER, 3, 823, 0, 1, 2, 3, NULL);
  world->AddAction(kFreeId, -1, -2, 6, WHEN_LEFT_DOWN, INOUT_INSIDE, kFreeId, -1, -1, NULL, -1);
  CItem* item = w->GetItems()->GetItemByID(0);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->GetItemType(), 7);
  EXPECT_EQ(item->GetActions()->GetCount(), 1);
  EXPECT_NE(w->GetDialogs()->GetDialogByID(3), nullptr);
}

TEST_F(WorldTurnTest, WindowObjectsAreBoundPastMissingWindowsExceptInTheChains) {
  Start();
  // God mode's row lacks 143; its other windows are bound all the same.
  CVar* god144 = WindowWithVariable(world, 144);
  CVar* god145 = WindowWithVariable(world, 145);
  CVar* finances = WindowWithVariable(world, 116);
  // Public transport's chain holds every page: 127, after 125, is bound.
  CVar* opnv127 = WindowWithVariable(world, 127);
  // Page 92's chain binds its dialogs in turn.
  world->AddWindow(92, 0, 0, 100, 100, 1, WINDOW_NORMAL, POSITION_FIXED, 0);
  std::vector<CVar*> page92;
  for (int d = 1; d <= 3; ++d) {
    world->AddDialog(92, d, 0, 0, 50, 50, 1, NULL);
    auto* var = new CVar;
    var->Create(VAR_INTEGER, "NAME", static_cast<CVarOwner*>(nullptr));
    ASSERT_EQ(CUserInt::topWindow->AddVar(var, 92, d, -1), 0);
    page92.push_back(var);
  }
  world->SetWindowObjects();
  EXPECT_EQ(god144->GetZorvaObject(), world->GetGottModus());
  EXPECT_EQ(god145->GetZorvaObject(), world->GetGottModus());
  EXPECT_EQ(finances->GetZorvaObject(), static_cast<CWorldObj*>(world->GetFinanzen()));
  EXPECT_EQ(opnv127->GetZorvaObject(), static_cast<CWorldObj*>(world->GetOpnv()));
  EXPECT_EQ(page92[0]->GetZorvaObject(), static_cast<CWorldObj*>(world->GetZorviZentrale()));
  EXPECT_EQ(page92[1]->GetZorvaObject(), static_cast<CWorldObj*>(world->GetPta()));
  EXPECT_EQ(page92[2]->GetZorvaObject(), static_cast<CWorldObj*>(world->GetCarsharing()));
}

TEST_F(WorldTurnTest, EverySingletonAnswersItsNamesThroughTheDataExchange) {
  Start("", false);
  CDataExchange* dx = world->GetDataExchange();
  ASSERT_NE(dx, nullptr);
  const std::pair<const char*, const void*> owners[] = {
      {"I.X", world->GetIndikatoren()},     {"OPNV.X", world->GetOpnv()},          {"PTA.X", world->GetPta()},
      {"F.KONTO", world->GetFinanzen()},     {"PR.X", world->GetParkRide()},        {"PRM.X", world->GetParkManagement()},
      {"U.X", world->GetUmland()},           {"SV.X", world->GetStadtVerwaltung()}, {"MS.X", world->GetMietMicro()},
      {"MZ.X", world->GetZorviZentrale()},   {"CS.X", world->GetCarsharing()},      {"TD.X", world->GetTrafficDisplay()},
      {"AR.X", world->GetAktiveRP()},        {"PAR.X", world->GetPassiveRP()}};
  for (const auto& [name, owner] : owners) {
    ASSERT_NE(owner, nullptr) << name;
    EXPECT_EQ(static_cast<const void*>(dx->GetObjectByName(name)), owner) << name;
  }
  // When the singletons are made again, the new ones answer; while they are
  // gone, nobody does.
  world->DestroyDeletePureZorvaObjects();
  EXPECT_EQ(dx->GetObjectByName("F.KONTO"), nullptr);
  EXPECT_EQ(dx->GetVarValue("F.KONTO"), 0.0);
  world->NewCreatePureZorvaObjects();
  EXPECT_EQ(static_cast<const void*>(dx->GetObjectByName("F.KONTO")), static_cast<const void*>(world->GetFinanzen()));
}

TEST_F(WorldTurnTest, StreetGraphicsAreDefinedThroughTheWorldOnItsMap) {
  TurnWorld early;
  EXPECT_EQ(early.DefineStreet(4, 1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 2400), 1);  // no map yet
  Start("", false);
  EXPECT_EQ(world->DefineStreet(4, 1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 2400), 0);
  EXPECT_EQ(world->GetIsoWelt()->GetStreetGetCapacity(STRASSE_VIERSPURIG), 2400);
}
